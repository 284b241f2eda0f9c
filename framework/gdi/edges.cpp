// Edges, frame controls and focus rectangles.
//
// Sections: solid fills and 3D frames; DrawEdge; glyphs (check mark, arrows,
// caption symbols); DrawFrameControl by type; DrawFocusRect.
//
// Call flow: DrawFrameControl -> Button/Scroll/Caption/Menu -> DrawEdge for the
// frame -> FillSolid for every line; glyphs are small pixel patterns painted with
// FillSolid one run at a time.
#include "framework/gdi/edges.h"

#include <algorithm>

#include "framework/gdi/dc.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/raster.h"
#include "framework/gdi/sysmetrics.h"

using namespace tq3::fw;
using namespace tq3::fw::gdi;

namespace tq3::fw {

// ---- Solid fills and 3D frames -------------------------------------------------------
void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    DcState* s = DcOf(dc);
    if (!s || !s->surface) return;
    POINT off = s->Offset();
    RECT r{rect.left + off.x, rect.top + off.y, rect.right + off.x, rect.bottom + off.y};
    PatRect(*s->surface, s->Clip(), r, SolidPaint(ToPixel(color)), Rop3Code(PATCOPY));
}

void Draw3dFrame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    FillSolid(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

}  // namespace tq3::fw

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

// ---- DrawEdge ---------------------------------------------------------------------------
struct Layer {
    COLORREF light;  // top and left
    COLORREF dark;   // bottom and right
};

// One line layer on the flagged sides of r; the dark lines own the corners they share.
void DrawLayer(HDC dc, const RECT& r, UINT sides, const Layer& c) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    int topEnd = (sides & BF_RIGHT) ? r.right - 1 : r.right;
    int leftEnd = (sides & BF_BOTTOM) ? r.bottom - 1 : r.bottom;
    if (sides & BF_TOP) FillSolid(dc, RECT{r.left, r.top, topEnd, r.top + 1}, c.light);
    if (sides & BF_LEFT) FillSolid(dc, RECT{r.left, r.top, r.left + 1, leftEnd}, c.light);
    if (sides & BF_BOTTOM) FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, c.dark);
    if (sides & BF_RIGHT) FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, c.dark);
}

void Shrink(RECT& r, UINT sides) {
    if (sides & BF_LEFT) ++r.left;
    if (sides & BF_TOP) ++r.top;
    if (sides & BF_RIGHT) --r.right;
    if (sides & BF_BOTTOM) --r.bottom;
}

Layer OuterLayer(UINT edge, UINT flags) {
    if (flags & BF_MONO) return {Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOWFRAME)};
    if (flags & BF_FLAT) return {Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW)};
    if (edge & BDR_RAISEDOUTER)
        return {Sys((flags & BF_SOFT) ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW)};
    return {Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)};
}

Layer InnerLayer(UINT edge, UINT flags) {
    if (flags & BF_MONO) return {Sys(COLOR_WINDOW), Sys(COLOR_WINDOW)};
    if (flags & BF_FLAT) return {Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE)};
    if (edge & BDR_RAISEDINNER)
        return {Sys((flags & BF_SOFT) ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW)};
    return {Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT)};
}

// ---- Glyphs ---------------------------------------------------------------------------------
// Paints the '#' cells of a small picture with its top-left corner at (x, y).
void PaintGlyph(HDC dc, int x, int y, const char* const* rows, int count, COLORREF color) {
    for (int j = 0; j < count; ++j) {
        const char* row = rows[j];
        for (int i = 0; row[i]; ++i) {
            if (row[i] != '#') continue;
            int run = i;
            while (row[run] == '#') ++run;
            FillSolid(dc, RECT{x + i, y + j, x + run, y + j + 1}, color);
            i = run - 1;
        }
    }
}

const char* const kCheckMark[] = {
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
};

const char* const kCloseGlyph[] = {
    "##....##",
    ".##..##.",
    "..####..",
    "...##...",
    "..####..",
    ".##..##.",
    "##....##",
};

const char* const kMinGlyph[] = {
    "......",
    "......",
    "......",
    "......",
    "......",
    "######",
    "######",
};

const char* const kMaxGlyph[] = {
    "#########",
    "#########",
    "#.......#",
    "#.......#",
    "#.......#",
    "#.......#",
    "#.......#",
    "#########",
};

const char* const kRestoreGlyph[] = {
    "..######",
    "..######",
    "..#....#",
    "######.#",
    "######.#",
    "#....###",
    "#....#..",
    "#....#..",
    "######..",
};

// A filled triangle pointing in `direction` (DFCS_SCROLLUP ... RIGHT), centred in r.
// `size` is the triangle's height in rows; its base is 2 * size - 1 pixels.
void PaintArrow(HDC dc, const RECT& r, UINT direction, int size, COLORREF color) {
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    int cx = r.left + w / 2;
    int cy = r.top + h / 2;
    for (int i = 0; i < size; ++i) {
        int half = i;  // row i of the triangle, counted from its point
        switch (direction) {
            case DFCS_SCROLLUP:
                FillSolid(dc, RECT{cx - half, cy - size / 2 + i, cx + half + 1, cy - size / 2 + i + 1}, color);
                break;
            case DFCS_SCROLLDOWN:
            case DFCS_SCROLLCOMBOBOX:
                FillSolid(dc, RECT{cx - half, cy + size / 2 - i, cx + half + 1, cy + size / 2 - i + 1}, color);
                break;
            case DFCS_SCROLLLEFT:
                FillSolid(dc, RECT{cx - size / 2 + i, cy - half, cx - size / 2 + i + 1, cy + half + 1}, color);
                break;
            default:  // right
                FillSolid(dc, RECT{cx + size / 2 - i, cy - half, cx + size / 2 - i + 1, cy + half + 1}, color);
                break;
        }
    }
}

// Disabled glyphs are etched: a highlight copy one pixel down-right under a grey one.
template <typename Paint>
void PaintStateGlyph(bool inactive, Paint&& paint) {
    if (inactive) {
        paint(1, Sys(COLOR_BTNHIGHLIGHT));
        paint(0, Sys(COLOR_GRAYTEXT));
    } else {
        paint(0, Sys(COLOR_BTNTEXT));
    }
}

// ---- DrawFrameControl by type ------------------------------------------------------------------
UINT FlatFlags(UINT state) { return (state & DFCS_FLAT ? BF_FLAT : 0) | (state & DFCS_MONO ? BF_MONO : 0); }

// The raised (or, pushed, sunken) square every button-like control starts from.
// Returns the inside, where the glyph goes.
RECT ButtonFace(HDC dc, const RECT& r, UINT state) {
    RECT inside = r;
    bool down = state & (DFCS_PUSHED | DFCS_CHECKED);
    UINT flags = BF_RECT | BF_ADJUST | FlatFlags(state);
    if (down && (state & DFCS_PUSHED) == 0) {
        // Checked but not held: sunken, with the dithered face of a latched button.
        DrawEdge(dc, &inside, EDGE_SUNKEN, flags);
        HDC target = dc;
        int saved = SaveDC(target);
        SetTextColor(target, Sys(COLOR_BTNFACE));
        SetBkColor(target, Sys(COLOR_BTNHIGHLIGHT));
        FillRect(target, &inside, HalftoneBrush());
        RestoreDC(target, saved);
        return inside;
    }
    DrawEdge(dc, &inside, down ? EDGE_SUNKEN : EDGE_RAISED, flags | BF_SOFT | BF_MIDDLE);
    return inside;
}

BOOL DrawCheckBox(HDC dc, const RECT& r, UINT state) {
    // The box is the largest square that fits, at the left, centred vertically.
    int size = std::min(r.right - r.left, r.bottom - r.top);
    if (size <= 0) return TRUE;
    RECT box{r.left, r.top + (r.bottom - r.top - size) / 2, 0, 0};
    box.right = box.left + size;
    box.bottom = box.top + size;
    bool grey = state & (DFCS_PUSHED | DFCS_INACTIVE);
    if ((state & 0xFF) == DFCS_BUTTONRADIO) {
        SaveDC(dc);
        HBRUSH face = CreateSolidBrush(grey ? Sys(COLOR_BTNFACE) : Sys(COLOR_WINDOW));
        HPEN rim = CreatePen(PS_SOLID, 1, Sys(COLOR_BTNSHADOW));
        SelectObject(dc, face);
        SelectObject(dc, rim);
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
        if (state & DFCS_CHECKED) {
            HBRUSH dot = CreateSolidBrush(Sys(state & DFCS_INACTIVE ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
            SelectObject(dc, dot);
            SelectObject(dc, GetStockObject(NULL_PEN));
            int q = size / 3;
            Ellipse(dc, box.left + q, box.top + q, box.right - q + 1, box.bottom - q + 1);
            RestoreDC(dc, -1);
            DeleteObject(dot);
        } else {
            RestoreDC(dc, -1);
        }
        DeleteObject(face);
        DeleteObject(rim);
        return TRUE;
    }
    RECT inside = box;
    DrawEdge(dc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST | FlatFlags(state));
    FillSolid(dc, inside, grey ? Sys(COLOR_BTNFACE) : Sys(COLOR_WINDOW));
    if (state & DFCS_CHECKED) {
        int gx = inside.left + (inside.right - inside.left - 7) / 2;
        int gy = inside.top + (inside.bottom - inside.top - 7) / 2;
        COLORREF ink = Sys(state & DFCS_INACTIVE ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        PaintGlyph(dc, gx, gy, kCheckMark, 7, ink);
    }
    return TRUE;
}

BOOL DrawButton(HDC dc, LPRECT rect, UINT state) {
    if ((state & 0xFF) == DFCS_BUTTONPUSH) {
        RECT inside = ButtonFace(dc, *rect, state);
        if (state & DFCS_ADJUSTRECT) *rect = inside;
        return TRUE;
    }
    return DrawCheckBox(dc, *rect, state);
}

BOOL DrawScroll(HDC dc, LPRECT rect, UINT state) {
    UINT part = state & 0xFF;
    if (part == DFCS_SCROLLSIZEGRIP) {
        FillSolid(dc, *rect, Sys(COLOR_BTNFACE));
        // Three pairs of diagonal lines in the bottom-right corner.
        for (int k = 0; k < 3; ++k) {
            for (int i = 0; i < 2; ++i) {
                int d = 3 + k * 4 + i;
                COLORREF c = i == 0 ? Sys(COLOR_BTNHIGHLIGHT) : Sys(COLOR_BTNSHADOW);
                for (int j = 0; j < d && j < rect->right - rect->left && j < rect->bottom - rect->top; ++j) {
                    FillSolid(dc, RECT{rect->right - d + j, rect->bottom - 1 - j, rect->right - d + j + 1, rect->bottom - j},
                              c);
                }
            }
        }
        return TRUE;
    }
    if (part > DFCS_SCROLLRIGHT && part != DFCS_SCROLLCOMBOBOX) return FALSE;
    // The triangle grows with the button: 4 rows on a 17-pixel scroll bar.
    int size = std::max(1, (std::min(rect->right - rect->left, rect->bottom - rect->top) - 1) / 4);
    RECT inside = *rect;
    bool pushed = state & DFCS_PUSHED;
    if (pushed) {
        // A held arrow is flat, framed in the shadow colour, its glyph one pixel down-right.
        FillSolid(dc, inside, Sys(COLOR_BTNFACE));
        DrawEdge(dc, &inside, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST | BF_FLAT);
        inside.left += 1;
        inside.top += 1;
        inside.right += 1;
        inside.bottom += 1;
    } else {
        inside = ButtonFace(dc, *rect, state & ~DFCS_CHECKED);
    }
    PaintStateGlyph(state & DFCS_INACTIVE, [&](int shift, COLORREF c) {
        RECT g{inside.left + shift, inside.top + shift, inside.right + shift, inside.bottom + shift};
        PaintArrow(dc, g, part, size, c);
    });
    return TRUE;
}

BOOL DrawCaptionButton(HDC dc, LPRECT rect, UINT state) {
    UINT part = state & 0xFF;
    const char* const* glyph = nullptr;
    int rows = 0;
    switch (part) {
        case DFCS_CAPTIONCLOSE:
            glyph = kCloseGlyph;
            rows = 7;
            break;
        case DFCS_CAPTIONMIN:
            glyph = kMinGlyph;
            rows = 7;
            break;
        case DFCS_CAPTIONMAX:
            glyph = kMaxGlyph;
            rows = 8;
            break;
        case DFCS_CAPTIONRESTORE:
            glyph = kRestoreGlyph;
            rows = 9;
            break;
        case DFCS_CAPTIONHELP:
            break;
        default:
            return FALSE;
    }
    RECT inside = ButtonFace(dc, *rect, state & ~DFCS_CHECKED);
    if (!glyph) return TRUE;
    int gw = static_cast<int>(std::char_traits<char>::length(glyph[0]));
    int gx = inside.left + (inside.right - inside.left - gw) / 2 + ((state & DFCS_PUSHED) ? 1 : 0);
    int gy = inside.top + (inside.bottom - inside.top - rows) / 2 + ((state & DFCS_PUSHED) ? 1 : 0);
    PaintStateGlyph(state & DFCS_INACTIVE,
                    [&](int shift, COLORREF c) { PaintGlyph(dc, gx + shift, gy + shift, glyph, rows, c); });
    return TRUE;
}

// Menu glyphs are masks: black on white, for the menu code to blit in its colours.
BOOL DrawMenuGlyph(HDC dc, LPRECT rect, UINT state) {
    FillSolid(dc, *rect, RGB(255, 255, 255));
    RECT& r = *rect;
    switch (state & 0xFF) {
        case DFCS_MENUCHECK:
            PaintGlyph(dc, r.left + (r.right - r.left - 7) / 2, r.top + (r.bottom - r.top - 7) / 2, kCheckMark, 7, 0);
            return TRUE;
        case DFCS_MENUBULLET: {
            int q = std::min(r.right - r.left, r.bottom - r.top) / 3;
            SaveDC(dc);
            SelectObject(dc, GetStockObject(BLACK_BRUSH));
            SelectObject(dc, GetStockObject(NULL_PEN));
            Ellipse(dc, r.left + q, r.top + q, r.right - q + 1, r.bottom - q + 1);
            RestoreDC(dc, -1);
            return TRUE;
        }
        case DFCS_MENUARROW:
            PaintArrow(dc, r, DFCS_SCROLLRIGHT, std::max(1, std::min(r.right - r.left, r.bottom - r.top) / 4), 0);
            return TRUE;
        case DFCS_MENUARROWRIGHT:
            PaintArrow(dc, r, DFCS_SCROLLLEFT, std::max(1, std::min(r.right - r.left, r.bottom - r.top) / 4), 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
    if (!DcOf(dc) || !rect) return FALSE;
    if (flags & BF_DIAGONAL) return FALSE;
    RECT r = *rect;
    UINT sides = flags & BF_RECT;
    if (edge & BDR_OUTER) {
        DrawLayer(dc, r, sides, OuterLayer(edge, flags));
        Shrink(r, sides);
    }
    if (edge & BDR_INNER) {
        DrawLayer(dc, r, sides, InnerLayer(edge, flags));
        Shrink(r, sides);
    }
    if (flags & BF_MIDDLE) FillSolid(dc, r, (flags & (BF_MONO | BF_FLAT)) ? Sys(COLOR_WINDOW) : Sys(COLOR_BTNFACE));
    if (flags & BF_ADJUST) *rect = r;
    return TRUE;
}

BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state) {
    if (!DcOf(dc) || !rect) return FALSE;
    switch (type) {
        case DFC_BUTTON:
            return DrawButton(dc, rect, state);
        case DFC_SCROLL:
            return DrawScroll(dc, rect, state);
        case DFC_CAPTION:
            return DrawCaptionButton(dc, rect, state);
        case DFC_MENU:
            return DrawMenuGlyph(dc, rect, state);
        default:
            return FALSE;
    }
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
    DcState* s = DcOf(dc);
    if (!s || !rect) return FALSE;
    if (!s->surface || rect->right <= rect->left || rect->bottom <= rect->top) return TRUE;
    POINT off = s->Offset();
    RECT r{rect->left + off.x, rect->top + off.y, rect->right + off.x, rect->bottom + off.y};
    // The one-pixel border as up to four rectangles that never overlap, so that no
    // pixel is flipped twice (which would undo it) however thin the rectangle is.
    RECT sides[4];
    int count = 0;
    sides[count++] = RECT{r.left, r.top, r.right, r.top + 1};
    if (r.bottom - r.top > 1) sides[count++] = RECT{r.left, r.bottom - 1, r.right, r.bottom};
    if (r.bottom - r.top > 2) {
        sides[count++] = RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1};
        if (r.right - r.left > 1) sides[count++] = RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1};
    }
    // A checkerboard: the pixels whose x + y is even, counted from the context's
    // device origin so that a rectangle drawn twice lands on the same pixels, are
    // inverted (a white square of the pattern); the others are kept (a black one).
    const int phase = s->origin.x + s->origin.y;
    for (int i = 0; i < count; ++i) {
        ForEachClipped(s->Clip(), sides[i], [&](int left, int top, int right, int bottom) {
            for (int y = top; y < bottom; ++y) {
                Pixel* row = s->surface->Row(y);
                for (int x = left + ((left + y - phase) & 1); x < right; x += 2) row[x] ^= 0xFFFFFFu;
            }
        });
    }
    return TRUE;
}
