// A window's own scroll bars (WS_HSCROLL, WS_VSCROLL): their values, their room in
// the non-client area, and the mouse: arrows and page areas repeat on a timer
// while held, the thumb reports SB_THUMBTRACK as it is dragged and
// SB_THUMBPOSITION when let go, and every action ends with SB_ENDSCROLL.
//
// Sections: values; the functions; mouse tracking.
//
// The drag runs as a state of the window manager rather than a nested message
// loop: the window holds the capture and the mouse events go to the tracker, so a
// headless test can press, move and release with the queue running in between.
#include <algorithm>
#include <climits>

#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

constexpr UINT kFirstRepeatDelay = 200;
constexpr UINT kRepeatDelay = 50;

long long MaxPos(const ScrollBar& b) {
    long long m = static_cast<long long>(b.max) - std::max<long long>(static_cast<long long>(b.page) - 1, 0);
    return std::max<long long>(m, b.min);
}

void Clamp(ScrollBar& b) { b.pos = static_cast<int>(std::clamp<long long>(b.pos, b.min, MaxPos(b))); }

bool Scrollable(const ScrollBar& b) {
    long long range = static_cast<long long>(b.max) - b.min;
    return b.page == 0 ? range > 0 : static_cast<long long>(b.page) <= range;
}

DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

void RedrawBar(Window* w, int bar) {
    ScrollBarParts p;
    if (!ScrollBarPartsOf(w, bar, &p) || !p.visible) return;
    Region area(p.bar);
    RedrawArea(w, &area, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

void ShowBar(Window* w, int bar, bool show) {
    DWORD bit = StyleBit(bar);
    bool shown = (w->style & bit) != 0;
    if (shown == show) return;
    if (show)
        w->style |= bit;
    else
        w->style &= ~bit;
    SetWindowPos(w->handle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Whether a bar with these parts draws the same pixels as one with those.
bool SameLook(const ScrollBarParts& a, const ScrollBarParts& b) {
    return a.visible == b.visible && a.arrowStartEnabled == b.arrowStartEnabled &&
           a.arrowEndEnabled == b.arrowEndEnabled && a.pressed == b.pressed && SameRect(a.bar, b.bar) &&
           SameRect(a.arrowStart, b.arrowStart) && SameRect(a.arrowEnd, b.arrowEnd) && SameRect(a.track, b.track) &&
           SameRect(a.thumb, b.thumb);
}

bool ValidInfoSize(UINT size) { return size == sizeof(SCROLLINFO) || size == sizeof(SCROLLINFO) - sizeof(int); }

}  // namespace

ScrollBar* BarOf(Window* w, int bar) {
    if (w == nullptr) return nullptr;
    if (bar == SB_HORZ) return &w->hbar;
    if (bar == SB_VERT) return &w->vbar;
    return nullptr;
}

bool BarVisible(const Window* w, int bar) { return (w->style & StyleBit(bar)) != 0; }

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw;
using namespace tq3::fw::wm;

// ============================================================================
// The functions
// ============================================================================

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    if (bar == SB_CTL) return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
    Window* w = FromHandle(hwnd);
    ScrollBar* b = BarOf(w, bar);
    if (b == nullptr || info == nullptr || !ValidInfoSize(info->cbSize)) return 0;
    CallScope scope;
    ScrollBarParts before;
    ScrollBarPartsOf(w, bar, &before);
    UINT mask = info->fMask;
    if (mask & SIF_RANGE) {
        b->min = info->nMin;
        b->max = std::max(info->nMin, info->nMax);
    }
    if (mask & SIF_PAGE) b->page = info->nPage;
    long long span = static_cast<long long>(b->max) - b->min + 1;
    if (static_cast<long long>(b->page) > span) b->page = static_cast<UINT>(span);
    if (mask & SIF_POS) b->pos = info->nPos;
    Clamp(*b);
    int pos = b->pos;
    if (mask & (SIF_RANGE | SIF_PAGE)) {
        if (!Scrollable(*b)) {
            if (mask & SIF_DISABLENOSCROLL) {
                b->disabledArrows = ESB_DISABLE_BOTH;
                ShowBar(w, bar, true);
            } else {
                ShowBar(w, bar, false);
            }
        } else {
            if (mask & SIF_DISABLENOSCROLL) b->disabledArrows = ESB_ENABLE_BOTH;
            ShowBar(w, bar, true);
        }
    }
    if (FromHandle(hwnd) == nullptr) return pos;
    // The bar is drawn again only when its look changed: a list of 100,000 items
    // moves its thumb by a pixel every few hundred items added or scrolled.
    ScrollBarParts after;
    ScrollBarPartsOf(w, bar, &after);
    const bool changed = !SameLook(before, after);
    if (!redraw) {
        b->stale = b->stale || changed;
    } else if (changed || b->stale) {
        b->stale = false;
        RedrawBar(w, bar);
    }
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    if (bar == SB_CTL) return static_cast<BOOL>(SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
    Window* w = FromHandle(hwnd);
    ScrollBar* b = BarOf(w, bar);
    if (b == nullptr || info == nullptr || !ValidInfoSize(info->cbSize)) return FALSE;
    UINT mask = info->fMask;
    if (!(mask & SIF_ALL)) return FALSE;
    if (mask & SIF_RANGE) {
        info->nMin = b->min;
        info->nMax = b->max;
    }
    if (mask & SIF_PAGE) info->nPage = b->page;
    if (mask & SIF_POS) info->nPos = b->pos;
    if ((mask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO)) info->nTrackPos = b->tracking ? b->trackPos : b->pos;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    if (bar == SB_CTL) return static_cast<int>(SendMessageW(hwnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw));
    Window* w = FromHandle(hwnd);
    ScrollBar* b = BarOf(w, bar);
    if (b == nullptr) return 0;
    int old = b->pos;
    SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(hwnd, bar, &si, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar) {
    if (bar == SB_CTL) return static_cast<int>(SendMessageW(hwnd, SBM_GETPOS, 0, 0));
    ScrollBar* b = BarOf(FromHandle(hwnd), bar);
    return b ? b->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    if (static_cast<long long>(maxPos) - minPos > INT_MAX) return FALSE;
    if (bar == SB_CTL) {
        SendMessageW(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
        return TRUE;
    }
    if (BarOf(FromHandle(hwnd), bar) == nullptr) return FALSE;
    SCROLLINFO si{sizeof(si), SIF_RANGE, minPos, maxPos, 0, 0, 0};
    SetScrollInfo(hwnd, bar, &si, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
    if (minPos == nullptr || maxPos == nullptr) return FALSE;
    if (bar == SB_CTL) {
        SendMessageW(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
        return TRUE;
    }
    ScrollBar* b = BarOf(FromHandle(hwnd), bar);
    if (b == nullptr) return FALSE;
    *minPos = b->min;
    *maxPos = b->max;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    if (bar == SB_CTL) {
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) return FALSE;
    CallScope scope;
    if (bar == SB_BOTH) {
        DWORD bits = WS_HSCROLL | WS_VSCROLL;
        DWORD want = show ? bits : 0;
        if ((w->style & bits) == want) return TRUE;
        w->style = (w->style & ~bits) | want;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    ShowBar(w, bar, show != FALSE);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
    if (bar == static_cast<UINT>(SB_CTL)) return static_cast<BOOL>(SendMessageW(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    arrows &= ESB_DISABLE_BOTH;
    bool changed = false;
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar != static_cast<UINT>(SB_BOTH) && bar != static_cast<UINT>(b)) continue;
        ScrollBar* sb = BarOf(w, b);
        if (sb->disabledArrows != arrows) {
            sb->disabledArrows = arrows;
            changed = true;
            RedrawBar(w, b);
        }
    }
    return changed ? TRUE : FALSE;
}

BOOL GetScrollBarInfo(HWND hwnd, LONG objectId, PSCROLLBARINFO info) {
    if (objectId == OBJID_CLIENT)
        return static_cast<BOOL>(SendMessageW(hwnd, SBM_GETSCROLLBARINFO, 0, reinterpret_cast<LPARAM>(info)));
    Window* w = FromHandle(hwnd);
    if (w == nullptr || info == nullptr || info->cbSize != sizeof(SCROLLBARINFO)) return FALSE;
    int bar = objectId == OBJID_VSCROLL ? SB_VERT : objectId == OBJID_HSCROLL ? SB_HORZ : -1;
    if (bar < 0) return FALSE;
    ScrollBarParts p;
    ScrollBarPartsOf(w, bar, &p);
    RECT wr = WindowRectOnScreen(w);
    bool vertical = bar == SB_VERT;
    info->rcScrollBar = RECT{p.bar.left + wr.left, p.bar.top + wr.top, p.bar.right + wr.left, p.bar.bottom + wr.top};
    info->dxyLineButton = vertical ? p.arrowStart.bottom - p.arrowStart.top : p.arrowStart.right - p.arrowStart.left;
    bool hasThumb = p.thumb.right > p.thumb.left && p.thumb.bottom > p.thumb.top;
    info->xyThumbTop = hasThumb ? (vertical ? p.thumb.top - p.bar.top : p.thumb.left - p.bar.left) : 0;
    info->xyThumbBottom = hasThumb ? (vertical ? p.thumb.bottom - p.bar.top : p.thumb.right - p.bar.left) : 0;
    info->reserved = 0;
    for (auto& s : info->rgstate) s = 0;
    if (!p.visible) info->rgstate[0] = STATE_SYSTEM_INVISIBLE;
    if (p.visible && !p.arrowStartEnabled && !p.arrowEndEnabled) info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
    if (!p.arrowStartEnabled) info->rgstate[1] = STATE_SYSTEM_UNAVAILABLE;
    if (!p.arrowEndEnabled) info->rgstate[5] = STATE_SYSTEM_UNAVAILABLE;
    if (!hasThumb) info->rgstate[3] = STATE_SYSTEM_INVISIBLE;
    return TRUE;
}

namespace tq3::fw {

bool GetWindowScrollBarParts(HWND hwnd, int bar, ScrollBarParts* parts) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || parts == nullptr) return false;
    return ScrollBarPartsOf(w, bar, parts);
}

RECT GetWindowScrollBarCorner(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return RECT{};
    ScrollBarParts v, h;
    ScrollBarPartsOf(w, SB_VERT, &v);
    ScrollBarPartsOf(w, SB_HORZ, &h);
    if (!v.visible || !h.visible) return RECT{};
    return RECT{v.bar.left, h.bar.top, v.bar.right, h.bar.bottom};
}

}  // namespace tq3::fw

// ============================================================================
// Mouse tracking
// ============================================================================

namespace tq3::fw::wm {

namespace {

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

void SendScroll(Window* w, int bar, WORD code, int pos) {
    Send(w, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
}

WORD CodeOf(ScrollBarPart part) {
    switch (part) {
        case ScrollBarPart::ArrowStart: return SB_LINEUP;
        case ScrollBarPart::ArrowEnd: return SB_LINEDOWN;
        case ScrollBarPart::PageStart: return SB_PAGEUP;
        case ScrollBarPart::PageEnd: return SB_PAGEDOWN;
        default: return SB_ENDSCROLL;
    }
}

// Which part of the bar a window-coordinate point is on.
ScrollBarPart PartAt(const ScrollBarParts& p, int bar, POINT pt) {
    if (!Inside(p.bar, pt)) return ScrollBarPart::None;
    if (Inside(p.arrowStart, pt)) return ScrollBarPart::ArrowStart;
    if (Inside(p.arrowEnd, pt)) return ScrollBarPart::ArrowEnd;
    bool hasThumb = p.thumb.right > p.thumb.left && p.thumb.bottom > p.thumb.top;
    if (!hasThumb) return ScrollBarPart::None;
    if (Inside(p.thumb, pt)) return ScrollBarPart::Thumb;
    bool before = bar == SB_VERT ? pt.y < p.thumb.top : pt.x < p.thumb.left;
    return before ? ScrollBarPart::PageStart : ScrollBarPart::PageEnd;
}

POINT ToWindow(const Window* w, POINT screen) {
    RECT wr = WindowRectOnScreen(w);
    return POINT{screen.x - wr.left, screen.y - wr.top};
}

bool StillOnPart(Window* w, POINT screen) {
    ScrollTrack& t = S().scrollTrack;
    ScrollBarParts p;
    ScrollBarPartsOf(w, t.bar, &p);
    return PartAt(p, t.bar, ToWindow(w, screen)) == t.part;
}

void EndTrack(Window* w) {
    State& s = S();
    ScrollTrack t = s.scrollTrack;
    KillSystemTimer(t.hwnd, kScrollTimerId);
    s.scrollTrack = ScrollTrack{};
    if (w != nullptr) {
        if (ScrollBar* b = BarOf(w, t.bar)) b->tracking = false;
        RedrawBar(w, t.bar);
    }
    if (s.capture == t.hwnd) ReleaseCapture();
}

}  // namespace

bool ScrollTrackActive() {
    State& s = S();
    if (!s.scrollTrack.active) return false;
    if (s.capture != s.scrollTrack.hwnd || FromHandle(s.scrollTrack.hwnd) == nullptr) {
        CancelScrollTrack();
        return false;
    }
    return true;
}

void CancelScrollTrack() {
    State& s = S();
    if (!s.scrollTrack.active) return;
    Window* w = FromHandle(s.scrollTrack.hwnd);
    KillSystemTimer(s.scrollTrack.hwnd, kScrollTimerId);
    if (w != nullptr) {
        if (ScrollBar* b = BarOf(w, s.scrollTrack.bar)) b->tracking = false;
    }
    s.scrollTrack = ScrollTrack{};
}

void StartScrollTrack(Window* w, int bar, LRESULT, POINT screen) {
    State& s = S();
    ScrollBarParts p;
    if (!ScrollBarPartsOf(w, bar, &p) || !p.visible) return;
    POINT pt = ToWindow(w, screen);
    ScrollBarPart part = PartAt(p, bar, pt);
    if (part == ScrollBarPart::None) return;
    if (part == ScrollBarPart::ArrowStart && !p.arrowStartEnabled) return;
    if (part == ScrollBarPart::ArrowEnd && !p.arrowEndEnabled) return;
    CancelScrollTrack();
    HWND h = w->handle;
    SetCapture(h);
    if ((w = FromHandle(h)) == nullptr) return;
    ScrollTrack t;
    t.hwnd = h;
    t.bar = bar;
    t.part = part;
    t.active = true;
    t.inside = true;
    ScrollBar* b = BarOf(w, bar);
    if (part == ScrollBarPart::Thumb) {
        t.grabOffset = bar == SB_VERT ? pt.y - p.thumb.top : pt.x - p.thumb.left;
        b->tracking = true;
        b->trackPos = b->pos;
        s.scrollTrack = t;
        RedrawBar(w, bar);
        return;
    }
    s.scrollTrack = t;
    RedrawBar(w, bar);
    SendScroll(w, bar, CodeOf(part), 0);
    if (S().scrollTrack.active) SetSystemTimer(h, kScrollTimerId, kFirstRepeatDelay);
}

void ScrollTrackRepeat() {
    State& s = S();
    ScrollTrack& t = s.scrollTrack;
    if (!t.active || t.part == ScrollBarPart::Thumb) return;
    Window* w = FromHandle(t.hwnd);
    if (w == nullptr) {
        CancelScrollTrack();
        return;
    }
    SetSystemTimer(t.hwnd, kScrollTimerId, kRepeatDelay);
    // A page area ends where the thumb has come to meet the pointer.
    t.inside = StillOnPart(w, s.cursorPos);
    if (t.inside) SendScroll(w, t.bar, CodeOf(t.part), 0);
}

void ScrollTrackMouse(UINT msg, POINT screen) {
    State& s = S();
    ScrollTrack& t = s.scrollTrack;
    Window* w = FromHandle(t.hwnd);
    if (w == nullptr) {
        CancelScrollTrack();
        return;
    }
    int bar = t.bar;
    ScrollBar* b = BarOf(w, bar);
    if (msg == WM_MOUSEMOVE) {
        if (t.part == ScrollBarPart::Thumb) {
            ScrollBarParts p;
            ScrollBarPartsOf(w, bar, &p);
            POINT pt = ToWindow(w, screen);
            bool vertical = bar == SB_VERT;
            int trackStart = vertical ? p.track.top : p.track.left;
            int trackLength = vertical ? p.track.bottom - p.track.top : p.track.right - p.track.left;
            int thumb = vertical ? p.thumb.bottom - p.thumb.top : p.thumb.right - p.thumb.left;
            int avail = trackLength - thumb;
            int pixel = std::clamp((vertical ? pt.y : pt.x) - trackStart - t.grabOffset, 0, std::max(avail, 0));
            long long span = MaxPos(*b) - b->min;
            int pos = avail > 0 ? static_cast<int>(b->min + (static_cast<long long>(pixel) * span + avail / 2) / avail)
                                : b->min;
            if (pos != b->trackPos) {
                b->trackPos = pos;
                RedrawBar(w, bar);
                SendScroll(w, bar, SB_THUMBTRACK, pos);
            }
        } else {
            bool inside = StillOnPart(w, screen);
            if (inside != t.inside) {
                t.inside = inside;
                RedrawBar(w, bar);
            }
        }
        return;
    }
    if (msg == WM_LBUTTONUP) {
        HWND h = t.hwnd;
        if (t.part == ScrollBarPart::Thumb) {
            int pos = b->trackPos;
            SendScroll(w, bar, SB_THUMBPOSITION, pos);
            if ((w = FromHandle(h)) == nullptr) {
                CancelScrollTrack();
                return;
            }
            if ((b = BarOf(w, bar)) != nullptr) b->tracking = false;
        }
        KillSystemTimer(h, kScrollTimerId);
        s.scrollTrack.active = false;
        SendScroll(w, bar, SB_ENDSCROLL, 0);
        EndTrack(FromHandle(h));
    }
}

}  // namespace tq3::fw::wm
