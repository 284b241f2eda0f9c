// Icons (HICON) and DrawState: images with a transparency mask, drawn normally or
// in the greyed, embossed look of disabled commands.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/gdi/gdi_defs.h"

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;   // one-bit: set bits are transparent
    HBITMAP hbmColor;  // may be null: then the mask holds both halves, as on the platform
};
using PICONINFO = ICONINFO*;

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;

constexpr UINT DST_COMPLEX = 0x0000;
constexpr UINT DST_TEXT = 0x0001;
constexpr UINT DST_PREFIXTEXT = 0x0002;
constexpr UINT DST_ICON = 0x0003;
constexpr UINT DST_BITMAP = 0x0004;
constexpr UINT DSS_NORMAL = 0x0000;
constexpr UINT DSS_UNION = 0x0010;
constexpr UINT DSS_DISABLED = 0x0020;
constexpr UINT DSS_MONO = 0x0080;
constexpr UINT DSS_HIDEPREFIX = 0x0200;
constexpr UINT DSS_PREFIXONLY = 0x0400;
constexpr UINT DSS_RIGHT = 0x8000;

using DRAWSTATEPROC = BOOL (*)(HDC dc, LPARAM data, WPARAM wData, int cx, int cy);

// Copies the bitmaps: the caller may delete them afterwards. NULL on bad input.
TQ3FW_EXPORT_C HICON CreateIconIndirect(PICONINFO info);
TQ3FW_EXPORT_C BOOL DestroyIcon(HICON icon);
TQ3FW_EXPORT_C HICON CopyIcon(HICON icon);
// Fills *info with new bitmaps the caller deletes.
TQ3FW_EXPORT_C BOOL GetIconInfo(HICON icon, PICONINFO info);
// cx or cy 0: the icon's own size, or SM_CXICON/SM_CYICON with DI_DEFAULTSIZE.
// With a flicker-free brush the icon is composed off-screen over that brush.
TQ3FW_EXPORT_C BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree,
                               UINT flags);
TQ3FW_EXPORT_C BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
// DST_ICON and DST_BITMAP (lData is the handle) and DST_TEXT / DST_PREFIXTEXT
// (lData the text, wData its length or 0), normal, DSS_DISABLED (embossed in the
// highlight and shadow colours) or DSS_MONO (images: the shape in the brush's
// colour). Complex images drawn by a callback are not offered: FALSE.
TQ3FW_EXPORT_C BOOL DrawStateW(HDC dc, HBRUSH brush, DRAWSTATEPROC output, LPARAM lData, WPARAM wData, int x, int y,
                               int cx, int cy, UINT flags);
inline BOOL DrawState(HDC dc, HBRUSH brush, DRAWSTATEPROC output, LPARAM lData, WPARAM wData, int x, int y, int cx,
                      int cy, UINT flags) {
    return DrawStateW(dc, brush, output, lData, wData, x, y, cx, cy, flags);
}

namespace tq3::fw::gdi {

struct IconData;
// A new icon handle holding a copy of `data`, or NULL.
TQ3FW_API HICON NewIcon(const IconData& data);
// Draws an icon-like image (colour and mask) at (x, y) of `dc` scaled to cx x cy.
TQ3FW_API void PaintMasked(HDC dc, int x, int y, int cx, int cy, const IconData& image, UINT flags);

}  // namespace tq3::fw::gdi
