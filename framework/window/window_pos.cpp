// Moving, sizing, stacking and showing windows: SetWindowPos and ShowWindow,
// with the minimised and maximised states.
//
// Sections: SetWindowPos (its steps, then the function); ShowWindow and window
// states.
//
// Call flow of SetWindowPos: Normalise -> WM_WINDOWPOSCHANGING -> Normalise ->
// Recalc (WM_NCCALCSIZE) -> Reorder, show or hide -> Repaint (expose the old
// area, invalidate the new one) -> LeaveHidden (focus, capture) ->
// WM_WINDOWPOSCHANGED (DefWindowProc: WM_MOVE, WM_SIZE) -> ActivateShownOrHidden.
// Call flow of ShowWindow: Hide, or Minimise / Maximise / Restore -> WM_SHOWWINDOW
// -> SetWindowPos.
#include <algorithm>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

using namespace tq3::fw;
using namespace tq3::fw::wm;

// ============================================================================
// SetWindowPos
// ============================================================================

namespace {

void Reorder(Window* w, HWND after) {
    auto& list = w->parent->children;
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
    if (after == HWND_TOPMOST) {
        w->exStyle |= IsChildStyle(w) ? 0 : WS_EX_TOPMOST;
        after = HWND_TOP;
    } else if (after == HWND_NOTOPMOST) {
        w->exStyle &= ~WS_EX_TOPMOST;
        after = HWND_TOP;
    }
    auto firstNormal = [&]() {
        auto it = list.begin();
        if (!(w->exStyle & WS_EX_TOPMOST)) {
            while (it != list.end() && ((*it)->exStyle & WS_EX_TOPMOST)) ++it;
        }
        return it;
    };
    if (after == HWND_TOP) {
        list.insert(firstNormal(), w);
    } else if (after == HWND_BOTTOM) {
        list.push_back(w);
    } else {
        Window* a = FromHandle(after);
        auto it = a ? std::find(list.begin(), list.end(), a) : list.end();
        if (it == list.end())
            list.insert(firstNormal(), w);
        else
            list.insert(it + 1, w);
    }
}

// Fills in what the flags leave out, and drops the flags of changes that would
// change nothing.
void Normalise(const Window* w, WINDOWPOS* wp) {
    if (wp->flags & SWP_NOMOVE) {
        wp->x = w->window.left;
        wp->y = w->window.top;
    }
    if (wp->flags & SWP_NOSIZE) {
        wp->cx = w->window.right - w->window.left;
        wp->cy = w->window.bottom - w->window.top;
    }
    if (wp->cx < 0) wp->cx = 0;
    if (wp->cy < 0) wp->cy = 0;
    if (wp->x == w->window.left && wp->y == w->window.top) wp->flags |= SWP_NOMOVE;
    if (wp->cx == w->window.right - w->window.left && wp->cy == w->window.bottom - w->window.top)
        wp->flags |= SWP_NOSIZE;
    if ((wp->flags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE)) wp->flags &= ~SWP_SHOWWINDOW;
    if ((wp->flags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE)) wp->flags &= ~SWP_HIDEWINDOW;
    if (!(wp->flags & SWP_NOZORDER) && wp->hwndInsertAfter == w->handle) wp->flags |= SWP_NOZORDER;
    if (IsChildStyle(w) && (wp->hwndInsertAfter == HWND_TOPMOST || wp->hwndInsertAfter == HWND_NOTOPMOST))
        wp->hwndInsertAfter = HWND_TOP;
}

// Takes the new window rectangle and asks the window for its client area
// (WM_NCCALCSIZE). False when the window died meanwhile.
bool Recalc(Window* w, WINDOWPOS* wp, const RECT& oldWin, const RECT& oldClient) {
    RECT newWin{wp->x, wp->y, wp->x + wp->cx, wp->y + wp->cy};
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = newWin;
    params.rgrc[1] = oldWin;
    params.rgrc[2] = oldClient;
    params.lppos = wp;
    w->window = newWin;
    Send(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (w->dead) return false;
    RECT c = params.rgrc[0];
    if (c.right < c.left) c.right = c.left;
    if (c.bottom < c.top) c.bottom = c.top;
    w->client = c;
    return true;
}

// The flags that tell DefWindowProc's WM_WINDOWPOSCHANGED the client area kept
// its size or its place.
UINT ClientKeptFlags(const Window* w, const RECT& oldClient) {
    UINT f = 0;
    if (w->client.right - w->client.left == oldClient.right - oldClient.left &&
        w->client.bottom - w->client.top == oldClient.bottom - oldClient.top)
        f |= kSwpNoClientSize;
    if (w->client.left == oldClient.left && w->client.top == oldClient.top) f |= kSwpNoClientMove;
    return f;
}

// What the change uncovered is repainted, and the window where it now shows.
struct Change {
    bool geometry = false;  // moved, sized or framed anew
    bool any = false;       // that, or restacked, shown or hidden
    bool wasVisible = false;
    bool nowVisible = false;
    RECT oldScreen{};       // where the window was on the screen
};

void Repaint(Window* w, UINT f, const Change& c) {
    if (f & SWP_NOREDRAW) {
        if (f & SWP_FRAMECHANGED) w->ncPaint = true;
        return;
    }
    if (c.wasVisible && c.any && ((f & SWP_HIDEWINDOW) || c.geometry)) ExposeArea(w, c.oldScreen);
    if (c.nowVisible && c.any)
        RedrawWindow(w->handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// A window that disappeared gives up the focus (to its parent) and the capture
// held in it. False when the window died meanwhile.
bool LeaveHidden(Window* w) {
    State& s = S();
    if (InTree(s.focus, w)) {
        Window* p = w->parent;
        SetFocus(p != nullptr && p != s.desktopWindow ? p->handle : nullptr);
    }
    if (w->dead) return false;
    if (InTree(s.capture, w)) ReleaseCapture();
    return true;
}

// A top-level window shown becomes active unless asked not to; one hidden while
// active passes activation to its owner or the next visible enabled window.
void ActivateShownOrHidden(Window* w, UINT f) {
    State& s = S();
    if (IsChildStyle(w) || w->parent != s.desktopWindow) return;
    if ((f & SWP_SHOWWINDOW) && !(f & SWP_NOACTIVATE) && !(w->exStyle & WS_EX_NOACTIVATE)) {
        SetActiveWindow(w->handle);
        return;
    }
    if (!(f & SWP_HIDEWINDOW) || s.active != w->handle) return;
    Window* next = nullptr;
    if (w->owner && IsVisibleOnScreen(w->owner)) next = w->owner;
    for (Window* c : s.desktopWindow->children) {
        if (next) break;
        if (c != w && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED)) next = c;
    }
    SetActiveWindow(next ? next->handle : nullptr);
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    State& s = S();
    Window* w = FromHandle(hwnd);
    if (w == nullptr || w == s.desktopWindow) return FALSE;
    CallScope scope;
    RECT oldWin = w->window;
    RECT oldClient = w->client;
    Change change;
    change.wasVisible = IsVisibleOnScreen(w);
    change.oldScreen = WindowRectOnScreen(w);
    WINDOWPOS wp{hwnd, after, x, y, cx, cy, flags & ~(kSwpNoClientSize | kSwpNoClientMove)};
    Normalise(w, &wp);
    if (!(wp.flags & SWP_NOSENDCHANGING)) {
        Send(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (w->dead) return FALSE;
        wp.hwnd = hwnd;
        Normalise(w, &wp);
    }
    UINT f = wp.flags;
    change.geometry = !(f & SWP_NOMOVE) || !(f & SWP_NOSIZE) || (f & SWP_FRAMECHANGED);
    if (change.geometry && !Recalc(w, &wp, oldWin, oldClient)) return FALSE;
    f |= ClientKeptFlags(w, oldClient);
    bool zorder = !(f & SWP_NOZORDER) && w->parent != nullptr;
    if (zorder) Reorder(w, wp.hwndInsertAfter);
    if (f & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (f & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    change.nowVisible = IsVisibleOnScreen(w);
    change.any = change.geometry || zorder || (f & (SWP_SHOWWINDOW | SWP_HIDEWINDOW));
    if (change.any) TopLevelChanged(w, change.oldScreen);
    Repaint(w, f, change);
    if (change.wasVisible && !change.nowVisible && !LeaveHidden(w)) return TRUE;
    wp.flags = f;
    Send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (w->dead) return TRUE;
    ActivateShownOrHidden(w, f);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ============================================================================
// ShowWindow and window states
// ============================================================================

namespace {

void SaveRestore(Window* w) {
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        w->restore = w->window;
        w->hasRestore = true;
    }
}

// Where ShowWindow puts the window, and how (SetWindowPos flags).
struct Placement {
    UINT flags = SWP_NOZORDER | SWP_NOSIZE | SWP_NOMOVE;
    RECT target{};
    bool stateChange = false;  // minimised, maximised or restored: moved and framed anew
};

// SW_HIDE: FALSE when the window was hidden already.
BOOL Hide(Window* w) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
    Send(w, WM_SHOWWINDOW, FALSE, 0);
    if (w->dead) return TRUE;
    SetWindowPos(w->handle, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE | SWP_NOMOVE);
    return TRUE;
}

// A minimised window is an icon-sized box at the bottom left of its parent.
void Minimise(Window* w, int command, Placement* p) {
    if (!(w->style & WS_MINIMIZE)) {
        SaveRestore(w);
        w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        int cx = GetSystemMetrics(SM_CXMIN);
        int cy = GetSystemMetrics(SM_CYMIN);
        int ph = w->parent ? w->parent->client.bottom - w->parent->client.top : 0;
        p->target = RECT{0, ph - cy, cx, ph};
        p->stateChange = true;
    }
    if (command != SW_SHOWMINIMIZED) p->flags |= SWP_NOACTIVATE;
}

// A maximised window fills its parent's client area, a top-level window's frame
// just beyond the edges.
void Maximise(Window* w, Placement* p) {
    if (w->style & WS_MAXIMIZE) return;
    SaveRestore(w);
    w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    Window* parent = w->parent;
    RECT in = NonClientInsets(w->style & ~(WS_VSCROLL | WS_HSCROLL), w->exStyle, false);
    int pw = parent ? parent->client.right - parent->client.left : 0;
    int ph = parent ? parent->client.bottom - parent->client.top : 0;
    int frameX = IsChildStyle(w) ? 0 : in.left;
    p->target = RECT{-frameX, -frameX, pw + frameX, ph + frameX};
    p->stateChange = true;
}

void Restore(Window* w, Placement* p) {
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)) || !w->hasRestore) return;
    w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    p->target = w->restore;
    p->stateChange = true;
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int command) {
    State& s = S();
    Window* w = FromHandle(hwnd);
    if (w == nullptr || w == s.desktopWindow) return FALSE;
    CallScope scope;
    if (command == SW_HIDE) return Hide(w);
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    bool child = IsChildStyle(w);
    Placement p;
    p.target = w->window;
    switch (command) {
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
        case SW_FORCEMINIMIZE: Minimise(w, command, &p); break;
        case SW_SHOWMAXIMIZED: Maximise(w, &p); break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
        case SW_SHOWDEFAULT: Restore(w, &p); break;
        case SW_SHOWNA:
        case SW_SHOWNOACTIVATE: p.flags |= SWP_NOACTIVATE; break;
        default: break;
    }
    if (child) p.flags |= SWP_NOACTIVATE;
    if (!child && !(p.flags & SWP_NOACTIVATE)) p.flags &= ~SWP_NOZORDER;
    if (wasVisible && !p.stateChange) {
        if (!child && !(p.flags & SWP_NOACTIVATE) && s.active != hwnd) SetActiveWindow(hwnd);
        return TRUE;
    }
    if (!wasVisible) {
        Send(w, WM_SHOWWINDOW, TRUE, 0);
        if (w->dead) return FALSE;
        p.flags |= SWP_SHOWWINDOW;
    }
    if (p.stateChange) {
        p.flags &= ~(SWP_NOSIZE | SWP_NOMOVE);
        p.flags |= SWP_FRAMECHANGED;
    }
    const RECT& t = p.target;
    SetWindowPos(hwnd, HWND_TOP, t.left, t.top, t.right - t.left, t.bottom - t.top, p.flags);
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return (w != nullptr && IsVisibleOnScreen(w)) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return (w != nullptr && (w->style & WS_MINIMIZE)) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return (w != nullptr && (w->style & WS_MAXIMIZE)) ? TRUE : FALSE;
}
