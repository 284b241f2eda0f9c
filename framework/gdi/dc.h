// Device contexts: where drawing goes, through which clip, with which objects.
//
// A context draws onto a Surface: the desktop (window contexts, made by the window
// manager through CreateSurfaceDC) or a bitmap (memory contexts). Coordinates go
//   logical  --(- window origin + viewport origin)-->  device  --(+ origin)-->  surface
// where `origin` is the window's place on the desktop. What may be painted is the
// system region (the window's visible part, or its update region while painting)
// intersected with the context's own clip region, which is kept in device units.
#pragma once

#include <memory>
#include <vector>

#include "framework/core/wintypes.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/region.h"
#include "framework/gdi/surface.h"
#include "framework/gdi/text/font_engine.h"

// ---- Contexts ------------------------------------------------------------------
// A memory context with a 1x1 one-bit bitmap selected; `dc` may be NULL.
TQ3FW_EXPORT_C HDC CreateCompatibleDC(HDC dc);
TQ3FW_EXPORT_C BOOL DeleteDC(HDC dc);
// A 32-bit bitmap; a zero size gives a 1x1 one-bit bitmap, as on the platform.
TQ3FW_EXPORT_C HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Returns the previously selected object of the same kind, NULL on failure. For a
// region, copies it as the clip region and returns the region type cast to a handle.
TQ3FW_EXPORT_C HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
TQ3FW_EXPORT_C HGDIOBJ GetCurrentObject(HDC dc, UINT type);
// Returns the new save level (1, 2, ...), 0 on failure.
TQ3FW_EXPORT_C int SaveDC(HDC dc);
// A positive level restores that level; a negative one counts back from the top.
TQ3FW_EXPORT_C BOOL RestoreDC(HDC dc, int level);
TQ3FW_EXPORT_C int GetDeviceCaps(HDC dc, int index);

// ---- Attributes ---------------------------------------------------------------------
TQ3FW_EXPORT_C COLORREF SetTextColor(HDC dc, COLORREF color);
TQ3FW_EXPORT_C COLORREF GetTextColor(HDC dc);
TQ3FW_EXPORT_C COLORREF SetBkColor(HDC dc, COLORREF color);
TQ3FW_EXPORT_C COLORREF GetBkColor(HDC dc);
TQ3FW_EXPORT_C int SetBkMode(HDC dc, int mode);
TQ3FW_EXPORT_C int GetBkMode(HDC dc);
TQ3FW_EXPORT_C int SetROP2(HDC dc, int rop2);
TQ3FW_EXPORT_C int GetROP2(HDC dc);
TQ3FW_EXPORT_C int SetPolyFillMode(HDC dc, int mode);
TQ3FW_EXPORT_C int GetPolyFillMode(HDC dc);
TQ3FW_EXPORT_C UINT SetTextAlign(HDC dc, UINT align);
TQ3FW_EXPORT_C UINT GetTextAlign(HDC dc);
TQ3FW_EXPORT_C BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
TQ3FW_EXPORT_C BOOL GetBrushOrgEx(HDC dc, LPPOINT origin);
TQ3FW_EXPORT_C BOOL GetCurrentPositionEx(HDC dc, LPPOINT position);

// ---- Coordinates ---------------------------------------------------------------------
TQ3FW_EXPORT_C BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
TQ3FW_EXPORT_C BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);
TQ3FW_EXPORT_C BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
TQ3FW_EXPORT_C BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
TQ3FW_EXPORT_C BOOL GetWindowOrgEx(HDC dc, LPPOINT origin);
TQ3FW_EXPORT_C BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
TQ3FW_EXPORT_C BOOL LPtoDP(HDC dc, LPPOINT points, int count);
TQ3FW_EXPORT_C BOOL DPtoLP(HDC dc, LPPOINT points, int count);
// The context's origin on its surface (a window's place on the desktop).
TQ3FW_EXPORT_C BOOL GetDCOrgEx(HDC dc, LPPOINT origin);

// ---- Clipping ---------------------------------------------------------------------
// Region arguments are in device units; rectangles of Intersect/Exclude are
// logical. Results are NULLREGION, SIMPLEREGION, COMPLEXREGION or ERROR.
TQ3FW_EXPORT_C int SelectClipRgn(HDC dc, HRGN region);
TQ3FW_EXPORT_C int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
TQ3FW_EXPORT_C int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
TQ3FW_EXPORT_C int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
TQ3FW_EXPORT_C int OffsetClipRgn(HDC dc, int dx, int dy);
// The bounding box of what can be painted, in logical units.
TQ3FW_EXPORT_C int GetClipBox(HDC dc, LPRECT rect);
// Copies the context's own clip region (device units): 1, 0 when there is none, -1
// on error.
TQ3FW_EXPORT_C int GetClipRgn(HDC dc, HRGN region);
TQ3FW_EXPORT_C BOOL PtVisible(HDC dc, int x, int y);
TQ3FW_EXPORT_C BOOL RectVisible(HDC dc, const RECT* rect);

constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;

namespace tq3::fw {

// What SaveDC keeps and RestoreDC brings back.
struct DcAttributes {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;  // memory contexts
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    UINT textAlign = 0;
    POINT brushOrg{0, 0};
    POINT viewportOrg{0, 0};
    POINT windowOrg{0, 0};
    POINT position{0, 0};  // MoveToEx / LineTo
    bool hasClip = false;  // the context's own clip region, device units
    Region clip;
};

namespace gdi {

struct DcState {
    bool memory = false;
    Surface* surface = nullptr;          // where pixels go
    std::shared_ptr<Surface> keepAlive;  // memory contexts: the selected bitmap's pixels
    POINT origin{0, 0};                  // device (0,0) on the surface
    Region system;                       // surface units: what the owner lets us paint
    DcAttributes at;
    std::vector<DcAttributes> saved;
    // The realised form of the selected font, as last looked up. Weak: the text
    // engine owns realised fonts; this only spares the lookup while the same font
    // stays selected.
    std::weak_ptr<text::Font> realized;
    HFONT realizedFor = nullptr;

    // Surface units: system region, clip region and surface bounds together.
    const Region& Clip();
    void InvalidateClip() { clipValid_ = false; }
    // logical + Offset() = surface
    POINT Offset() const {
        return POINT{at.viewportOrg.x - at.windowOrg.x + origin.x, at.viewportOrg.y - at.windowOrg.y + origin.y};
    }
    // Device units: the area a missing clip region stands for.
    RECT DeviceBounds() const;

private:
    Region clip_;
    bool clipValid_ = false;
};

TQ3FW_API DcState* DcOf(HDC dc);

}  // namespace gdi

// For the window manager: a context on `surface` whose device origin is `origin`
// and which may paint `visible` (surface units, already the window's visible part
// and, while painting, its update region). Released with ReleaseSurfaceDC.
TQ3FW_API HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region& visible);
// Moves an existing surface context (a cached one being handed out again): new
// origin and visible region, attributes back to their defaults.
TQ3FW_API BOOL ResetSurfaceDC(HDC dc, Surface* surface, POINT origin, const Region& visible);
TQ3FW_API BOOL ReleaseSurfaceDC(HDC dc);
// Region type of a region: NULLREGION, SIMPLEREGION or COMPLEXREGION.
TQ3FW_API int RegionType(const Region& region);

}  // namespace tq3::fw
