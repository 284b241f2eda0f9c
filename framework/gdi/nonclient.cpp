// Non-client painting: frames, captions, client edges and scroll bars.
//
// Sections: style values and metrics; frames; caption and its buttons; scroll bars.
// Call flow: DrawNonClientFrame -> DrawFrameRing -> DrawCaption (-> CaptionButtonRect,
// DrawFrameControl, the caption text) -> the client edge.
#include "framework/gdi/nonclient.h"

#include <algorithm>

#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"

namespace tq3::fw {

namespace {

// ---- Style values and metrics -------------------------------------------------------
constexpr DWORD kBorder = 0x00800000;
constexpr DWORD kDlgFrame = 0x00400000;
constexpr DWORD kCaption = kBorder | kDlgFrame;
constexpr DWORD kSysMenu = 0x00080000;
constexpr DWORD kThickFrame = 0x00040000;
constexpr DWORD kMinimizeBox = 0x00020000;
constexpr DWORD kMaximizeBox = 0x00010000;
constexpr DWORD kMaximized = 0x01000000;
constexpr DWORD kExDlgModalFrame = 0x00000001;
constexpr DWORD kExToolWindow = 0x00000080;
constexpr DWORD kExClientEdge = 0x00000200;
constexpr DWORD kExStaticEdge = 0x00020000;
constexpr int kHitMin = 8;
constexpr int kHitMax = 9;
constexpr int kHitClose = 20;

int FrameWidth(const NonClientLook& look) {
    if (look.style & kThickFrame) return GetSystemMetrics(SM_CXFRAME);
    if ((look.style & kDlgFrame) || (look.exStyle & kExDlgModalFrame)) return GetSystemMetrics(SM_CXDLGFRAME);
    if (look.style & kBorder) return GetSystemMetrics(SM_CXBORDER);
    return 0;
}

bool HasCaption(const NonClientLook& look) { return (look.style & kCaption) == kCaption; }

int CaptionHeight(const NonClientLook& look) {
    return (look.exStyle & kExToolWindow) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
}

// ---- Frames -------------------------------------------------------------------------------
// The frame ring: a raised edge with the face colour inside it, or a plain line.
void DrawFrameRing(HDC dc, RECT r, int width) {
    if (width <= 0) return;
    if (width == 1) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        return;
    }
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    for (int i = 2; i < width; ++i) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
}

// ---- Caption ---------------------------------------------------------------------------------
// The caption bar fades from the caption colour at the left to its gradient colour
// at the right, in vertical stripes.
void FillCaptionBar(HDC dc, const RECT& r, bool active) {
    COLORREF a = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    COLORREF b = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    int w = r.right - r.left;
    if (w <= 0) return;
    for (int x = 0; x < w; ++x) {
        auto mix = [&](BYTE p, BYTE q) { return static_cast<BYTE>(p + (q - p) * x / std::max(1, w - 1)); };
        COLORREF c = RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
        FillSolid(dc, RECT{r.left + x, r.top, r.left + x + 1, r.bottom}, c);
    }
}

void DrawCaption(HDC dc, const NonClientLook& look, const RECT& bar) {
    // The bar, less the one-pixel line under it that separates it from the menu or client.
    RECT fill{bar.left, bar.top, bar.right, bar.bottom - 1};
    FillCaptionBar(dc, fill, look.active);
    FillSolid(dc, RECT{bar.left, bar.bottom - 1, bar.right, bar.bottom}, GetSysColor(COLOR_BTNFACE));
    int textRight = bar.right;
    for (int hit : {kHitClose, kHitMax, kHitMin}) {
        RECT b = CaptionButtonRect(look, hit);
        if (b.right <= b.left) continue;
        textRight = std::min<int>(textRight, b.left);
        UINT state = hit == kHitClose ? DFCS_CAPTIONCLOSE
                     : hit == kHitMin ? DFCS_CAPTIONMIN
                                      : ((look.style & kMaximized) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX);
        if (look.pressedButton == hit) state |= DFCS_PUSHED;
        DrawFrameControl(dc, &b, DFC_CAPTION, state);
    }
    if (look.caption) {
        RECT text{fill.left + 4, fill.top, textRight - 2, fill.bottom};
        DrawCaptionText(dc, text, look.caption, look.captionLength, look.active);
    }
}

// ---- Scroll bars -------------------------------------------------------------------------------
// The classic track is a dither of the face and highlight colours; a page part held
// down shows in the dark shadow colour.
void FillTrack(HDC dc, const RECT& r, bool pressed) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (pressed) {
        FillSolid(dc, r, GetSysColor(COLOR_3DDKSHADOW));
        return;
    }
    int saved = SaveDC(dc);
    SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    FillRect(dc, &r, gdi::HalftoneBrush());
    RestoreDC(dc, saved);
}

}  // namespace

RECT CaptionButtonRect(const NonClientLook& look, int hitCode) {
    if (!HasCaption(look) || !(look.style & kSysMenu)) return RECT{0, 0, 0, 0};
    int f = FrameWidth(look);
    int cap = CaptionHeight(look);
    // Buttons are two pixels narrower than the caption is tall, two pixels in from
    // its top, right and bottom.
    int bh = cap - 1 - 4;
    int bw = bh + 2;
    int right = look.window.cx - f - 2;
    int top = f + 2;
    RECT close{right - bw, top, right, top + bh};
    if (hitCode == kHitClose) return close;
    if ((look.exStyle & kExToolWindow) || !(look.style & (kMinimizeBox | kMaximizeBox))) return RECT{0, 0, 0, 0};
    RECT max{close.left - 2 - bw, top, close.left - 2, top + bh};
    if (hitCode == kHitMax) return max;
    if (hitCode == kHitMin) return RECT{max.left - bw, top, max.left, top + bh};
    return RECT{0, 0, 0, 0};
}

void DrawNonClientFrame(HDC dc, const NonClientLook& look) {
    if (!gdi::DcOf(dc) || look.window.cx <= 0 || look.window.cy <= 0) return;
    RECT r{0, 0, look.window.cx, look.window.cy};
    int f = FrameWidth(look);
    DrawFrameRing(dc, r, f);
    r = RECT{r.left + f, r.top + f, r.right - f, r.bottom - f};
    if (HasCaption(look)) {
        int cap = CaptionHeight(look);
        DrawCaption(dc, look, RECT{r.left, r.top, r.right, r.top + cap});
        r.top += cap;
    }
    if (look.hasMenu) r.top += GetSystemMetrics(SM_CYMENU);
    if (look.exStyle & kExClientEdge) {
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    if (look.exStyle & kExStaticEdge) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
}

void DrawScrollBarLook(HDC dc, const ScrollBarLook& bar) {
    if (!gdi::DcOf(dc)) return;
    UINT start = bar.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
    UINT end = bar.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
    RECT a = bar.arrowStart;
    RECT b = bar.arrowEnd;
    if (!bar.arrowStartEnabled) start |= DFCS_INACTIVE;
    if (!bar.arrowEndEnabled) end |= DFCS_INACTIVE;
    if (bar.pressed == 1) start |= DFCS_PUSHED;
    if (bar.pressed == 5) end |= DFCS_PUSHED;
    if (a.right > a.left && a.bottom > a.top) DrawFrameControl(dc, &a, DFC_SCROLL, start);
    if (b.right > b.left && b.bottom > b.top) DrawFrameControl(dc, &b, DFC_SCROLL, end);
    const RECT& t = bar.track;
    const RECT& th = bar.thumb;
    bool thumb = th.right > th.left && th.bottom > th.top;
    if (!thumb) {
        FillTrack(dc, t, false);
        return;
    }
    // The track on either side of the thumb, then the thumb as a raised button.
    RECT before = bar.vertical ? RECT{t.left, t.top, t.right, th.top} : RECT{t.left, t.top, th.left, t.bottom};
    RECT after = bar.vertical ? RECT{t.left, th.bottom, t.right, t.bottom} : RECT{th.right, t.top, t.right, t.bottom};
    FillTrack(dc, before, bar.pressed == 2);
    FillTrack(dc, after, bar.pressed == 4);
    RECT button = th;
    DrawEdge(dc, &button, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
}

void DrawSizeBox(HDC dc, const RECT& box, bool grip) {
    if (!gdi::DcOf(dc)) return;
    RECT r = box;
    if (grip) {
        DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    } else {
        FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    }
}

}  // namespace tq3::fw
