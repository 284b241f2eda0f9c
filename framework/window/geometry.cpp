// Window geometry: rectangles, the non-client layout, hit testing, point mapping,
// enabling. Moving, sizing and showing windows is in window_pos.cpp.
//
// Sections: coordinates; non-client layout; hit testing; rectangle and point
// functions; enabling.
#include <algorithm>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/menu_bar_hooks.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

// ============================================================================
// Coordinates
// ============================================================================

POINT ClientOriginOnScreen(const Window* w) {
    POINT p{0, 0};
    for (const Window* a = w; a != nullptr && a->parent != nullptr; a = a->parent) {
        p.x += a->client.left;
        p.y += a->client.top;
    }
    return p;
}

RECT WindowRectOnScreen(const Window* w) {
    POINT o = w->parent ? ClientOriginOnScreen(w->parent) : POINT{0, 0};
    return RECT{w->window.left + o.x, w->window.top + o.y, w->window.right + o.x, w->window.bottom + o.y};
}

RECT ClientRectOnScreen(const Window* w) {
    POINT o = w->parent ? ClientOriginOnScreen(w->parent) : POINT{0, 0};
    return RECT{w->client.left + o.x, w->client.top + o.y, w->client.right + o.x, w->client.bottom + o.y};
}

bool IsVisibleOnScreen(const Window* w) {
    for (const Window* a = w; a != nullptr; a = a->parent) {
        if (!(a->style & WS_VISIBLE) || a->dead) return false;
    }
    return true;
}

namespace {

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool HasMenuBar(const Window* w) { return !IsChildStyle(w) && w->id != 0 && w->parent == S().desktopWindow; }

}  // namespace

// ============================================================================
// Non-client layout
// ============================================================================

RECT NonClientInsets(DWORD style, DWORD exStyle, bool menu) {
    // The system's decoration lies outside the window: only the menu bar and the
    // edges are ours.
    if (NativelyDecorated(style)) {
        style &= ~(WS_CAPTION | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER);
        exStyle &= ~WS_EX_DLGMODALFRAME;
    }
    int frame = 0;
    if (style & WS_THICKFRAME)
        frame = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        frame = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        frame = GetSystemMetrics(SM_CXBORDER);
    RECT in{frame, frame, frame, frame};
    if ((style & WS_CAPTION) == WS_CAPTION) {
        in.top += (exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
    }
    if (menu) in.top += GetSystemMetrics(SM_CYMENU);
    int edge = 0;
    if (exStyle & WS_EX_CLIENTEDGE) edge += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE) edge += GetSystemMetrics(SM_CXBORDER);
    in.left += edge;
    in.top += edge;
    in.right += edge;
    in.bottom += edge;
    return in;
}

namespace {

// The rectangle inside the frame, caption, menu and edges, in window coordinates.
RECT InnerRect(const Window* w) {
    RECT in = NonClientInsets(w->style, w->exStyle, HasMenuBar(w));
    int width = w->window.right - w->window.left;
    int height = w->window.bottom - w->window.top;
    RECT r{in.left, in.top, width - in.right, height - in.bottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

struct BarLayout {
    RECT vbar{};
    RECT hbar{};
    RECT corner{};
    bool v = false;
    bool h = false;
    RECT client{};
};

BarLayout LayoutBars(const Window* w) {
    BarLayout l;
    RECT r = InnerRect(w);
    int cx = GetSystemMetrics(SM_CXVSCROLL);
    int cy = GetSystemMetrics(SM_CYHSCROLL);
    l.v = (w->style & WS_VSCROLL) && (r.right - r.left) >= cx;
    l.h = (w->style & WS_HSCROLL) && (r.bottom - r.top) >= cy;
    RECT inner = r;
    if (l.v) inner.right -= cx;
    if (l.h) inner.bottom -= cy;
    if (l.v) l.vbar = RECT{inner.right, r.top, r.right, inner.bottom};
    if (l.h) l.hbar = RECT{r.left, inner.bottom, inner.right, r.bottom};
    if (l.v && l.h) l.corner = RECT{inner.right, inner.bottom, r.right, r.bottom};
    l.client = inner;
    return l;
}

}  // namespace

bool ScrollBarPartsOf(const Window* w, int bar, ScrollBarParts* parts) {
    if (bar != SB_HORZ && bar != SB_VERT) return false;
    *parts = ScrollBarParts{};
    BarLayout l = LayoutBars(w);
    bool vertical = bar == SB_VERT;
    if (vertical ? !l.v : !l.h) return true;
    const ScrollBar& sb = vertical ? w->vbar : w->hbar;
    parts->visible = true;
    RECT b = vertical ? l.vbar : l.hbar;
    parts->bar = b;
    int start = vertical ? b.top : b.left;
    int end = vertical ? b.bottom : b.right;
    int length = end - start;
    int arrow = vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL);
    if (2 * arrow > length) arrow = length / 2;
    auto span = [&](int a, int z) {
        return vertical ? RECT{b.left, a, b.right, z} : RECT{a, b.top, z, b.bottom};
    };
    parts->arrowStart = span(start, start + arrow);
    parts->arrowEnd = span(end - arrow, end);
    parts->track = span(start + arrow, end - arrow);
    int range = sb.max - sb.min;
    bool scrollable = sb.page == 0 ? range > 0 : static_cast<long long>(sb.page) <= range;
    bool enabled = !(w->style & WS_DISABLED) && scrollable;
    parts->arrowStartEnabled = enabled && !(sb.disabledArrows & ESB_DISABLE_LTUP);
    parts->arrowEndEnabled = enabled && !(sb.disabledArrows & ESB_DISABLE_RTDN);
    int trackLength = length - 2 * arrow;
    if (!enabled || sb.disabledArrows == ESB_DISABLE_BOTH || trackLength <= 0) return true;
    int thumb;
    if (sb.page == 0) {
        thumb = vertical ? GetSystemMetrics(SM_CYVTHUMB) : GetSystemMetrics(SM_CXHTHUMB);
    } else {
        thumb = static_cast<int>(static_cast<long long>(trackLength) * sb.page / (static_cast<long long>(range) + 1));
        thumb = std::max(thumb, 8);
    }
    if (thumb > trackLength) return true;
    long long maxPos = static_cast<long long>(sb.max) - std::max<long long>(static_cast<long long>(sb.page) - 1, 0);
    long long span64 = maxPos - sb.min;
    int pos = sb.tracking ? sb.trackPos : sb.pos;
    int offset = span64 > 0 ? static_cast<int>((static_cast<long long>(trackLength - thumb) * (pos - sb.min) +
                                                span64 / 2) / span64)
                            : 0;
    offset = std::clamp(offset, 0, trackLength - thumb);
    parts->thumb = span(start + arrow + offset, start + arrow + offset + thumb);
    const ScrollTrack& t = S().scrollTrack;
    if (t.active && t.hwnd == w->handle && t.bar == bar && t.inside) parts->pressed = t.part;
    return true;
}

void RecalcClient(Window* w) {
    RECT r = w->window;
    Send(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    if (w->dead) return;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    w->client = r;
}

// The default WM_NCCALCSIZE: `r` is the window rectangle in the parent's client
// coordinates on entry and the client rectangle on return.
void DefaultCalcSize(Window* w, RECT* r) {
    if (w->style & WS_MINIMIZE) {
        r->right = r->left;
        r->bottom = r->top;
        return;
    }
    Window probe = Window{};
    probe.style = w->style;
    probe.exStyle = w->exStyle;
    probe.id = w->id;
    probe.parent = w->parent;
    probe.window = RECT{0, 0, r->right - r->left, r->bottom - r->top};
    BarLayout l = LayoutBars(&probe);
    RECT out{r->left + l.client.left, r->top + l.client.top, r->left + l.client.right, r->top + l.client.bottom};
    *r = out;
}

// ============================================================================
// Hit testing
// ============================================================================

LRESULT DefaultHitTest(const Window* w, POINT screen) {
    RECT wr = WindowRectOnScreen(w);
    if (!Inside(wr, screen)) return HTNOWHERE;
    if (w->style & WS_MINIMIZE) return HTCAPTION;
    if (Inside(ClientRectOnScreen(w), screen)) return HTCLIENT;
    POINT p{screen.x - wr.left, screen.y - wr.top};  // window coordinates
    BarLayout l = LayoutBars(w);
    if (l.v && Inside(l.vbar, p)) return HTVSCROLL;
    if (l.h && Inside(l.hbar, p)) return HTHSCROLL;
    if (l.v && l.h && Inside(l.corner, p)) return (w->style & WS_THICKFRAME) ? HTGROWBOX : HTNOWHERE;
    // Caption, borders and their buttons belong to the system's decoration.
    if (NativelyDecorated(w->style)) return HasMenuBar(w) && p.y < InnerRect(w).top ? HTMENU : HTBORDER;
    int width = wr.right - wr.left;
    int height = wr.bottom - wr.top;
    RECT frameless = NonClientInsets(w->style & ~(WS_CAPTION | WS_VSCROLL | WS_HSCROLL) & (WS_THICKFRAME | WS_DLGFRAME | WS_BORDER),
                                     w->exStyle & WS_EX_DLGMODALFRAME, false);
    int f = frameless.left;
    bool onLeft = p.x < f, onRight = p.x >= width - f, onTop = p.y < f, onBottom = p.y >= height - f;
    if (onLeft || onRight || onTop || onBottom) {
        if (!(w->style & WS_THICKFRAME)) return HTBORDER;
        int corner = GetSystemMetrics(SM_CYCAPTION) + f;
        bool nearLeft = p.x < corner, nearRight = p.x >= width - corner;
        bool nearTop = p.y < corner, nearBottom = p.y >= height - corner;
        if (onTop) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
        if (onBottom) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (onLeft) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
        return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
        int cap = (w->exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
        if (p.y >= f && p.y < f + cap) {
            int button = GetSystemMetrics(SM_CXSIZE);
            if ((w->style & WS_SYSMENU) && p.x >= width - f - button - 2) return HTCLOSE;
            if ((w->style & WS_SYSMENU) && p.x < f + button && !(w->exStyle & WS_EX_TOOLWINDOW)) return HTSYSMENU;
            return HTCAPTION;
        }
        if (HasMenuBar(w) && p.y >= f + cap && p.y < f + cap + GetSystemMetrics(SM_CYMENU)) return HTMENU;
    } else if (HasMenuBar(w) && p.y >= f && p.y < f + GetSystemMetrics(SM_CYMENU)) {
        return HTMENU;
    }
    return HTBORDER;
}

namespace {

// Deepest window at `pt` below `container`'s children. `stop` is set when a
// disabled child covers the point: the container itself takes the input then.
Window* HitChildren(Window* container, POINT pt, LRESULT* hit, bool* stop) {
    std::vector<HWND> kids;
    for (Window* c : container->children) kids.push_back(c->handle);
    for (HWND h : kids) {
        Window* c = FromHandle(h);
        if (c == nullptr || !(c->style & WS_VISIBLE)) continue;
        if (!Inside(WindowRectOnScreen(c), pt)) continue;
        if ((c->style & WS_DISABLED) && IsChildStyle(c)) {
            *stop = true;
            return nullptr;
        }
        if (Inside(ClientRectOnScreen(c), pt) && !(c->style & WS_DISABLED)) {
            bool innerStop = false;
            Window* deeper = HitChildren(c, pt, hit, &innerStop);
            if (deeper != nullptr) return deeper;
        }
        LRESULT r = Send(c, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        if (FromHandle(h) == nullptr) continue;
        if (r == HTTRANSPARENT) continue;
        *hit = r;
        return c;
    }
    return nullptr;
}

}  // namespace

Window* WindowAtPoint(POINT screen, LRESULT* hit) {
    EnsureDesktop();
    bool stop = false;
    *hit = HTNOWHERE;
    Window* w = HitChildren(S().desktopWindow, screen, hit, &stop);
    return w;
}

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

// ============================================================================
// Rectangle and point functions
// ============================================================================

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || rect == nullptr) return FALSE;
    *rect = WindowRectOnScreen(w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || rect == nullptr) return FALSE;
    *rect = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (rect == nullptr) return FALSE;
    RECT in = NonClientInsets(style, exStyle, menu != FALSE);
    rect->left -= in.left;
    rect->top -= in.top;
    rect->right += in.right;
    rect->bottom += in.bottom;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

BOOL tq3::fw::GetMenuBarRect(HWND hwnd, RECT* bar) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || bar == nullptr || !HasMenuBar(w)) return FALSE;
    // The row lies just above the client edges (or the client area).
    RECT without = NonClientInsets(w->style, w->exStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), true);
    int width = w->window.right - w->window.left;
    int bottom = without.top;
    *bar = RECT{without.left, bottom - GetSystemMetrics(SM_CYMENU), width - without.right, bottom};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || point == nullptr) return FALSE;
    POINT o = ClientOriginOnScreen(w);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || point == nullptr) return FALSE;
    POINT o = ClientOriginOnScreen(w);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT a{0, 0}, b{0, 0};
    if (from != nullptr) {
        Window* w = FromHandle(from);
        if (w == nullptr) return 0;
        a = ClientOriginOnScreen(w);
    }
    if (to != nullptr) {
        Window* w = FromHandle(to);
        if (w == nullptr) return 0;
        b = ClientOriginOnScreen(w);
    }
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND WindowFromPoint(POINT point) {
    LRESULT hit;
    CallScope scope;
    Window* w = WindowAtPoint(point, &hit);
    return w ? w->handle : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
    Window* p = FromHandle(parent);
    if (p == nullptr) return nullptr;
    RECT own{p->window.left - p->client.left, p->window.top - p->client.top, p->window.right - p->client.left,
             p->window.bottom - p->client.top};
    if (!Inside(own, point)) return nullptr;
    for (Window* c : p->children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE)) continue;
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED)) continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
        if (Inside(c->window, point)) return c->handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) { return ChildWindowFromPointEx(parent, point, CWP_ALL); }

// ============================================================================
// Enabling
// ============================================================================

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    State& s = S();
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    CallScope scope;
    bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        Send(w, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        Send(w, WM_CANCELMODE, 0, 0);
        if (w->dead) return FALSE;
        w->style |= WS_DISABLED;
        if (s.focus != nullptr && InTree(s.focus, w)) SetFocus(nullptr);
        if (w->dead) return FALSE;
        Send(w, WM_ENABLE, FALSE, 0);
    }
    if (!w->dead && w->style & WS_VSCROLL) w->ncPaint = true;
    if (!w->dead && w->parent == s.desktopWindow && s.native) {
        // A disabled owner makes the windows it owns modal for it.
        MarkNative(w);
        for (Window* top : s.desktopWindow->children) {
            if (top->owner == w) MarkNative(top);
        }
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    return (w != nullptr && !(w->style & WS_DISABLED)) ? TRUE : FALSE;
}
