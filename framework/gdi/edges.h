// Three-dimensional edges, frame controls and focus rectangles in the platform's
// classic look, painted with the system colours.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/gdi/gdi_defs.h"

// Menu glyphs of DrawFrameControl(DFC_MENU).
constexpr UINT DFCS_MENUARROW = 0x0000;
constexpr UINT DFCS_MENUCHECK = 0x0001;
constexpr UINT DFCS_MENUBULLET = 0x0002;
constexpr UINT DFCS_MENUARROWRIGHT = 0x0004;

// Draws the outer and/or inner line of `edge` on the sides named in `flags`.
// Top and left lines take the light colour of their layer, bottom and right lines
// the dark one; the bottom-left and top-right corners belong to the dark lines.
// BF_MIDDLE fills what is inside; BF_ADJUST shrinks *rect past the drawn lines.
// FALSE for BF_DIAGONAL, which is not offered.
TQ3FW_EXPORT_C BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
// Push buttons, check boxes, radio buttons, scroll arrows, caption buttons and menu
// glyphs, in the states DFCS_PUSHED, DFCS_CHECKED, DFCS_INACTIVE, DFCS_FLAT.
TQ3FW_EXPORT_C BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);
// Inverts every other pixel of the rectangle's one-pixel border, each once, so
// that drawing it again removes it.
TQ3FW_EXPORT_C BOOL DrawFocusRect(HDC dc, const RECT* rect);

namespace tq3::fw {

// Fills a rectangle (logical units) with a colour, whatever brush is selected.
TQ3FW_API void FillSolid(HDC dc, const RECT& rect, COLORREF color);
// The frame of CDC::Draw3dRect: top and left lines in `topLeft`, bottom and
// right lines in `bottomRight`, which own the top-right and bottom-left corners.
TQ3FW_API void Draw3dFrame(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);

}  // namespace tq3::fw
