// Invalid regions, painting and window device contexts.
//
// Sections: visible regions; invalidation (RedrawArea, the one routine every
// invalidating and validating function goes through); painting now; BeginPaint
// and window DCs; scrolling. Surfaces and presenting are in surfaces.cpp.
//
// A window's update region is kept in window coordinates, so that the frame can be
// invalid too. WM_PAINT is never queued: the queue makes it when nothing else is
// waiting (FindWindowToPaint), and it keeps coming until the region is validated.
#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

#include "framework/gdi/dc.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

RECT ClientInWindow(const Window* w) {
    return RECT{w->client.left - w->window.left, w->client.top - w->window.top, w->client.right - w->window.left,
                w->client.bottom - w->window.top};
}

RECT WholeWindow(const Window* w) {
    return RECT{0, 0, w->window.right - w->window.left, w->window.bottom - w->window.top};
}

// What a child covers of its parent: its window rectangle cut to the parent's client
// area, so that a child reaching past that area never hides the parent's frame or
// scroll bars.
Region ShownPartOf(const Window* c) {
    Region part(WindowRectOnScreen(c));
    if (c->parent != nullptr && c->parent != S().desktopWindow) part.Intersect(ClientRectOnScreen(c->parent));
    return part;
}

// What an invalidation of the desktop asks of its top-level windows: each one
// is invalidated where the area touches it (RDW_ALLCHILDREN only).
void RedrawTopLevels(Window* desktop, const Region* area, UINT flags) {
    if (!(flags & RDW_ALLCHILDREN)) return;
    for (Window* c : desktop->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        if (area == nullptr) {
            RedrawArea(c, nullptr, flags | RDW_FRAME);
            continue;
        }
        Region ca = *area;
        ca.Offset(-c->window.left, -c->window.top);
        ca.Intersect(WholeWindow(c));
        if (!ca.IsEmpty()) RedrawArea(c, &ca, flags | RDW_FRAME);
    }
}

}  // namespace

// ============================================================================
// Visible regions
// ============================================================================

Region VisibleRegion(const Window* w, bool client) {
    return VisibleRegion(w, client, (w->style & WS_CLIPCHILDREN) != 0);
}

Region VisibleRegion(const Window* w, bool client, bool clipChildren) {
    State& s = S();
    if (!IsVisibleOnScreen(w)) return Region();
    Region r(client ? ClientRectOnScreen(w) : WindowRectOnScreen(w));
    r.Intersect(RECT{0, 0, s.screen.cx, s.screen.cy});
    // The screen DC draws over every window.
    if (w == s.desktopWindow) return r;
    // Clip to every ancestor's client area, and to the siblings above each level
    // when that level clips its siblings. Top-level windows have surfaces of their
    // own and do not clip one another.
    for (const Window* a = w; a->parent != nullptr && a->parent != s.desktopWindow; a = a->parent) {
        const Window* p = a->parent;
        r.Intersect(ClientRectOnScreen(p));
        if (a->style & WS_CLIPSIBLINGS) {
            for (const Window* sib : p->children) {
                if (sib == a) break;
                if (sib->style & WS_VISIBLE) r.Subtract(ShownPartOf(sib));
            }
        }
    }
    if (clipChildren) {
        for (const Window* c : w->children) {
            if (c->style & WS_VISIBLE) r.Subtract(ShownPartOf(c));
        }
    }
    return r;
}

// ============================================================================
// Invalidation
// ============================================================================

// `area` is in `w`'s window coordinates; null means the whole client area (or the
// whole window with RDW_FRAME).
void RedrawArea(Window* w, const Region* area, UINT flags) {
    if (!IsVisibleOnScreen(w) || w->redrawOff) return;
    // The desktop paints nothing of its own (the bare screen is its colour); an
    // invalidation of it only reaches its top-level windows.
    if (w == S().desktopWindow) {
        if (flags & RDW_INVALIDATE) ScreenChanged(area ? *area : Region(WholeWindow(w)));
        if (flags & (RDW_ALLCHILDREN | RDW_INVALIDATE)) RedrawTopLevels(w, area, flags);
        return;
    }
    Region a;
    if (area == nullptr) {
        a.SetRect((flags & RDW_FRAME) ? WholeWindow(w) : ClientInWindow(w));
    } else {
        a = *area;
        a.Intersect((flags & RDW_FRAME) ? WholeWindow(w) : ClientInWindow(w));
    }
    RECT client = ClientInWindow(w);
    if (flags & RDW_INVALIDATE) {
        if (!a.IsEmpty()) {
            w->update.Union(a);
            if (flags & RDW_ERASE) w->erase = true;
        }
        // Only an invalidation with RDW_FRAME reaches past the client area (the
        // area was cut to it otherwise), and that one marks the frame anyway.
        if (flags & RDW_FRAME) w->ncPaint = true;
        if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    } else if (flags & RDW_VALIDATE) {
        w->update.Subtract(a);
        w->paintValidated = true;
        if (flags & RDW_NOFRAME) w->ncPaint = false;
        if (flags & RDW_NOERASE) w->erase = false;
        if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
        if (w->update.IsEmpty()) w->erase = false;
    }
    bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (!children || w->children.empty()) return;
    Region inClient = a;
    inClient.Intersect(client);
    if (inClient.IsEmpty()) return;
    for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE)) continue;
        Region ca = inClient;
        ca.Offset(-(client.left + c->window.left), -(client.top + c->window.top));
        ca.Intersect(WholeWindow(c));
        if (ca.IsEmpty()) continue;
        RedrawArea(c, &ca, flags | RDW_FRAME);
    }
}

void ExposeArea(Window* w, const RECT& screenRect) {
    Window* p = w->parent ? w->parent : S().desktopWindow;
    if (p == nullptr) return;
    if (p == S().desktopWindow) {
        ScreenChanged(screenRect);
        return;
    }
    RECT pw = WindowRectOnScreen(p);
    Region area(screenRect);
    area.Offset(-pw.left, -pw.top);
    RedrawArea(p, &area, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void InvalidateScreenArea(Window* root, const Region& screenArea) {
    RECT rw = WindowRectOnScreen(root);
    Region area = screenArea;
    area.Offset(-rw.left, -rw.top);
    RedrawArea(root, &area, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool NeedsPaint(const Window* w) {
    if (w->dead || w->redrawOff || !IsVisibleOnScreen(w)) return false;
    return !w->update.IsEmpty() || w->internalPaint || w->ncPaint;
}

namespace {

Window* FindPaint(Window* w) {
    if (NeedsPaint(w)) return w;
    if (!(w->style & WS_VISIBLE)) return nullptr;
    for (Window* c : w->children) {
        Window* found = FindPaint(c);
        if (found != nullptr) return found;
    }
    return nullptr;
}

}  // namespace

Window* FindWindowToPaint(HWND filter) {
    EnsureDesktop();
    Window* root = filter ? FromHandle(filter) : S().desktopWindow;
    if (root == nullptr) return nullptr;
    return FindPaint(root);
}

// ============================================================================
// Painting now
// ============================================================================

namespace {

// Sends WM_PAINT straight to `w`; a procedure that neither begins painting nor
// validates would otherwise be asked forever, so its region is validated here.
void PaintNow(Window* w) {
    w->paintValidated = false;
    HWND h = w->handle;
    Send(w, WM_PAINT, 0, 0);
    w = FromHandle(h);
    if (w != nullptr && !w->paintValidated && NeedsPaint(w)) {
        w->update.Clear();
        w->internalPaint = false;
        w->ncPaint = false;
        w->erase = false;
    }
}

void EraseNow(Window* w) {
    if (w->ncPaint) {
        w->ncPaint = false;
        Send(w, WM_NCPAINT, 1, 0);
        if (w->dead) return;
    }
    if (w->erase) {
        w->erase = false;
        HDC dc = GetDC(w->handle);
        Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        if (dc != nullptr) ReleaseDC(w->handle, dc);
    }
}

void UpdateNow(Window* w, UINT flags) {
    HWND h = w->handle;
    if ((flags & RDW_UPDATENOW) && NeedsPaint(w)) {
        PaintNow(w);
    } else if (flags & (RDW_ERASENOW | RDW_UPDATENOW)) {
        EraseNow(w);
    }
    w = FromHandle(h);
    if (w == nullptr) return;
    bool children = (flags & RDW_ALLCHILDREN) || !(flags & RDW_NOCHILDREN);
    if (!children) return;
    // Walked by position and looked up again after every child, without a copy of
    // the list: painting a child may destroy windows, and an update must not fail
    // for want of memory. A child skipped because an earlier one vanished keeps
    // its update region and is painted from the queue.
    for (std::size_t i = 0;; ++i) {
        w = FromHandle(h);
        if (w == nullptr || i >= w->children.size()) break;
        Window* c = w->children[i];
        if (IsVisibleOnScreen(c)) UpdateNow(c, flags);
    }
}

}  // namespace

// ============================================================================
// Filling without a DC
// ============================================================================

namespace {

// Fills `clip` (screen coordinates) of the surface of `root` with `color`.
void FillSurface(Window* root, const Region& screenClip, Pixel color) {
    Surface* surface = SurfaceOf(root);
    if (surface == nullptr) return;
    Region clip = ScreenToSurface(root, screenClip);
    clip.ForEachRect([&](const RECT& r) {
        for (LONG y = r.top; y < r.bottom; ++y) std::fill(surface->Row(y) + r.left, surface->Row(y) + r.right, color);
    });
    PresentDamage(root, clip);
}

}  // namespace

void FillWithClassBrush(Window* w, HDC dc, const RECT& clientRect) {
    HBRUSH brush = w->cls->background;
    if (brush == nullptr) return;
    if (dc != nullptr) {
        FillRect(dc, &clientRect, brush);
        return;
    }
    // No context to draw with: fill the surface ourselves with the brush's colour.
    COLORREF color;
    auto value = reinterpret_cast<ULONG_PTR>(brush);
    if (value <= 31) {
        color = GetSysColor(static_cast<int>(value) - 1);
    } else {
        gdi::BrushData* b = gdi::BrushOf(brush);
        if (b == nullptr || b->style != BS_SOLID) return;
        color = b->color;
    }
    Region clip = VisibleRegion(w, true);
    Region upd = w->update;
    RECT wr = WindowRectOnScreen(w);
    upd.Offset(wr.left, wr.top);
    if (!upd.IsEmpty()) clip.Intersect(upd);
    POINT o = ClientOriginOnScreen(w);
    RECT r{clientRect.left + o.x, clientRect.top + o.y, clientRect.right + o.x, clientRect.bottom + o.y};
    clip.Intersect(r);
    FillSurface(DrawingRoot(w), clip, ToPixel(color));
}

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

namespace tq3::fw {

bool GetWindowDrawTarget(HWND hwnd, bool client, WindowDrawTarget* target) {
    if (target == nullptr) return false;
    CurrentBackend();
    EnsureDesktop();
    Window* w = hwnd ? FromHandle(hwnd) : S().desktopWindow;
    if (w == nullptr) return false;
    Window* root = DrawingRoot(w);
    Surface* surface = SurfaceOf(root);
    if (surface == nullptr) return false;
    target->surface = surface;
    target->hwnd = w->handle;
    target->client = client;
    POINT o = SurfaceOrigin(root);
    if (client) {
        target->origin = ClientOriginOnScreen(w);
    } else {
        RECT r = WindowRectOnScreen(w);
        target->origin = POINT{r.left, r.top};
    }
    target->origin.x -= o.x;
    target->origin.y -= o.y;
    target->clip = ScreenToSurface(root, VisibleRegion(w, client));
    return true;
}

}  // namespace tq3::fw

// ============================================================================
// Invalidation functions
// ============================================================================

namespace {

Window* TargetOf(HWND hwnd) {
    if (hwnd == nullptr) {
        CurrentBackend();
        EnsureDesktop();
        return S().desktopWindow;
    }
    return FromHandle(hwnd);
}

}  // namespace

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
    Window* w = TargetOf(hwnd);
    if (w == nullptr) return FALSE;
    CallScope scope;
    if (hwnd == nullptr) flags |= RDW_ALLCHILDREN;
    RECT c = ClientInWindow(w);
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE)) {
        if (region != nullptr) {
            Region* r = gdi::RegionOf(region);
            if (r == nullptr) return FALSE;
            Region a = *r;
            a.Offset(c.left, c.top);
            RedrawArea(w, &a, flags);
        } else if (rect != nullptr) {
            Region a(*rect);
            a.Offset(c.left, c.top);
            RedrawArea(w, &a, flags);
        } else {
            RedrawArea(w, nullptr, flags);
        }
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateNow(w, flags);
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
    if (region == nullptr) return InvalidateRect(hwnd, nullptr, erase);
    return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
    if (region == nullptr) return ValidateRect(hwnd, nullptr);
    return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    RECT c = ClientInWindow(w);
    Region r = w->update;
    r.Intersect(c);
    r.Offset(-c.left, -c.top);
    if (rect != nullptr) *rect = r.Bounds();
    bool any = !r.IsEmpty();
    if (erase && any) {
        CallScope scope;
        EraseNow(w);
    }
    return any ? TRUE : FALSE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
    Window* w = FromHandle(hwnd);
    Region* out = gdi::RegionOf(region);
    if (w == nullptr || out == nullptr) return ERROR;
    RECT c = ClientInWindow(w);
    Region r = w->update;
    r.Intersect(c);
    r.Offset(-c.left, -c.top);
    *out = r;
    if (erase && !r.IsEmpty()) {
        CallScope scope;
        EraseNow(w);
    }
    if (out->IsEmpty()) return NULLREGION;
    return out->RectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// ============================================================================
// BeginPaint and window DCs
// ============================================================================

namespace {

// Whether `w` lies in the window LockWindowUpdate locked (itself included).
bool InLockedTree(const Window* w) {
    State& s = S();
    Window* locked = FromHandle(s.lockedWindow);
    if (locked == nullptr) return false;
    for (const Window* a = w; a != nullptr; a = a->parent) {
        if (a == locked) return true;
    }
    return false;
}

// How a DC is cut: `limit` (screen coordinates) narrows it, `clipChildren` says
// whether the children are left out, `lockExempt` lets it draw in a locked window.
struct DcRequest {
    bool client = true;
    const Region* limit = nullptr;
    std::optional<bool> clipChildren;  // unset: as the window's style says
    bool lockExempt = false;
};

HDC MakeDc(Window* w, const DcRequest& request) {
    State& s = S();
    WindowDrawTarget t;
    if (!GetWindowDrawTarget(w->handle, request.client, &t)) return nullptr;
    Window* root = DrawingRoot(w);
    if (request.clipChildren.has_value()) {
        t.clip = ScreenToSurface(root, VisibleRegion(w, request.client, *request.clipChildren));
    }
    if (request.limit != nullptr) t.clip.Intersect(ScreenToSurface(root, *request.limit));
    if (!request.lockExempt && InLockedTree(w)) {
        // Kept from drawing now; the area is painted again when the lock goes.
        Region kept = t.clip;
        POINT o = SurfaceOrigin(root);
        kept.Offset(o.x, o.y);
        s.lockedArea.Union(kept);
        t.clip.Clear();
    }
    HDC dc = CreateSurfaceDC(t.surface, t.origin, t.clip);
    if (dc != nullptr) {
        try {
            s.windowDcs.push_back(State::WindowDc{dc, w->handle, root->handle, t.clip});
        } catch (const std::bad_alloc&) {
            ReleaseSurfaceDC(dc);
            return nullptr;
        }
    }
    CaretBeforePaint(w->handle);
    return dc;
}

HDC MakeDc(Window* w, bool client, const Region* limit) {
    DcRequest request;
    request.client = client;
    request.limit = limit;
    return MakeDc(w, request);
}

bool DropDc(HDC dc) {
    State& s = S();
    for (auto it = s.windowDcs.begin(); it != s.windowDcs.end(); ++it) {
        if (it->dc == dc) {
            HWND h = it->hwnd;
            Window* root = FromHandleAny(it->root);
            if (root != nullptr) PresentDamage(root, it->clip);
            bool screen = root != nullptr && root == s.desktopWindow;
            s.windowDcs.erase(it);
            ReleaseSurfaceDC(dc);
            if (screen) OverlayReleased();
            CaretAfterPaint(h);
            return true;
        }
    }
    return false;
}

}  // namespace

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || paint == nullptr) return nullptr;
    CallScope scope;
    std::memset(paint, 0, sizeof(*paint));
    if (w->ncPaint) {
        w->ncPaint = false;
        Send(w, WM_NCPAINT, 1, 0);
        if (w->dead) return nullptr;
    }
    RECT c = ClientInWindow(w);
    Region upd = w->update;
    upd.Intersect(c);
    w->update.Clear();
    w->internalPaint = false;
    w->paintValidated = true;
    bool erase = w->erase;
    w->erase = false;
    RECT wr = WindowRectOnScreen(w);
    Region limit = upd;
    limit.Offset(wr.left, wr.top);
    upd.Offset(-c.left, -c.top);
    paint->rcPaint = upd.Bounds();
    w->inPaint = true;
    HDC dc = MakeDc(w, true, &limit);
    if (dc == nullptr) {
        // Without a drawing layer the area still counts as drawn.
        Window* root = DrawingRoot(w);
        PresentDamage(root, ScreenToSurface(root, limit));
    }
    paint->hdc = dc;
    if (erase) {
        LRESULT done = Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        paint->fErase = done ? FALSE : TRUE;
    }
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    Window* w = FromHandleAny(hwnd);
    if (w != nullptr) w->inPaint = false;
    if (paint != nullptr && paint->hdc != nullptr) DropDc(paint->hdc);
    else CaretAfterPaint(hwnd);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    Window* w = TargetOf(hwnd);
    if (w == nullptr) return nullptr;
    return MakeDc(w, true, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
    Window* w = TargetOf(hwnd);
    if (w == nullptr) return nullptr;
    return MakeDc(w, false, nullptr);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
    Window* w = TargetOf(hwnd);
    Region* given = (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) ? gdi::RegionOf(clip) : nullptr;
    if (w == nullptr) {
        if (clip != nullptr && given != nullptr) DeleteObject(clip);
        return nullptr;
    }
    DcRequest request;
    request.client = !(flags & DCX_WINDOW);
    if (flags & DCX_USESTYLE) {
        request.clipChildren = request.client && (w->style & WS_CLIPCHILDREN) != 0;
    } else {
        request.clipChildren = (flags & DCX_CLIPCHILDREN) != 0;
    }
    request.lockExempt = (flags & DCX_LOCKWINDOWUPDATE) != 0;
    Region limit;
    if (given != nullptr) {
        RECT origin = request.client ? ClientRectOnScreen(w) : WindowRectOnScreen(w);
        Region area = *given;
        area.Offset(origin.left, origin.top);
        if (flags & DCX_INTERSECTRGN) {
            limit = area;
        } else {
            limit.SetRect(RECT{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2});
            limit.Subtract(area);
        }
        request.limit = &limit;
        DeleteObject(clip);  // the DC owns the region it was given
    }
    return MakeDc(w, request);
}

BOOL LockWindowUpdate(HWND hwnd) {
    State& s = S();
    if (hwnd != nullptr) {
        if (FromHandle(hwnd) == nullptr) return FALSE;
        if (FromHandle(s.lockedWindow) != nullptr) return FALSE;  // one lock at a time
        s.lockedWindow = hwnd;
        s.lockedArea.Clear();
        return TRUE;
    }
    Window* locked = FromHandle(s.lockedWindow);
    Region kept = std::move(s.lockedArea);
    s.lockedWindow = nullptr;
    s.lockedArea.Clear();
    if (locked != nullptr && !kept.IsEmpty()) {
        // What the locked windows could not draw is drawn now.
        RECT wr = WindowRectOnScreen(locked);
        kept.Offset(-wr.left, -wr.top);
        CallScope scope;
        RedrawArea(locked, &kept, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return TRUE;
}

int ReleaseDC(HWND, HDC dc) {
    if (dc == nullptr) return 0;
    return DropDc(dc) ? 1 : 0;
}

HWND WindowFromDC(HDC dc) {
    for (auto& d : S().windowDcs) {
        if (d.dc == dc) return d.hwnd;
    }
    return nullptr;
}

// ============================================================================
// Scrolling
// ============================================================================

namespace {

// Moves the pixels of `screenDest` (screen coordinates) on the surface of `root`
// from there offset by -dx, -dy, through a copy so that overlapping areas move
// correctly in any direction.
void MovePixels(Window* root, const Region& screenDest, int dx, int dy) {
    Surface* target = SurfaceOf(root);
    if (target == nullptr) return;
    Surface& surface = *target;
    Region dest = ScreenToSurface(root, screenDest);
    RECT b = dest.Bounds();
    if (b.right <= b.left || b.bottom <= b.top) return;
    const int width = b.right - b.left;
    const int height = b.bottom - b.top;
    // The source rows go aside whole (what lies off the surface stays black), then
    // each rectangle of the destination takes its part of them, a row at a time.
    std::vector<Pixel> copy(static_cast<size_t>(width) * height, 0);
    const int fromX = std::max(b.left, dx);
    const int toX = std::min(b.right, surface.Width() + dx);
    for (int y = 0; y < height && fromX < toX; ++y) {
        const int sy = b.top + y - dy;
        if (sy < 0 || sy >= surface.Height()) continue;
        std::copy_n(surface.Row(sy) + (fromX - dx), toX - fromX,
                    copy.data() + static_cast<size_t>(y) * width + (fromX - b.left));
    }
    dest.ForEachRect([&](const RECT& r) {
        const int left = std::max<int>(r.left, 0);
        const int right = std::min<int>(r.right, surface.Width());
        for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, surface.Height()) && left < right; ++y) {
            std::copy_n(copy.data() + static_cast<size_t>(y - b.top) * width + (left - b.left), right - left,
                        surface.Row(y) + left);
        }
    });
    PresentDamage(root, dest);
}

}  // namespace

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect, HRGN updateRegion,
                   LPRECT updateRect, UINT flags) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return ERROR;
    CallScope scope;
    RECT cr{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    RECT area = scrollRect ? *scrollRect : cr;
    Region clip(area);
    clip.Intersect(cr);
    if (clipRect != nullptr) clip.Intersect(*clipRect);
    POINT o = ClientOriginOnScreen(w);
    clip.Offset(o.x, o.y);                // screen coordinates from here on
    Region visible = VisibleRegion(w, true);
    Region source(area);
    source.Offset(o.x, o.y);
    source.Intersect(visible);
    Region dest = source;
    dest.Offset(dx, dy);
    dest.Intersect(clip);
    dest.Intersect(visible);
    CaretBeforePaint(hwnd);
    try {
        MovePixels(DrawingRoot(w), dest, dx, dy);
    } catch (const std::bad_alloc&) {
        dest.Clear();
    }
    Region exposed = clip;
    exposed.Intersect(visible);
    exposed.Subtract(dest);
    // The pending invalid area inside the scrolled rectangle moves with the pixels.
    RECT cw = ClientInWindow(w);
    RECT wr = WindowRectOnScreen(w);
    Region moved = w->update;
    moved.Offset(wr.left, wr.top);
    Region inArea = moved;
    Region areaScreen(area);
    areaScreen.Offset(o.x, o.y);
    inArea.Intersect(areaScreen);
    if (!inArea.IsEmpty()) {
        moved.Subtract(areaScreen);
        inArea.Offset(dx, dy);
        inArea.Intersect(clip);
        moved.Union(inArea);
        moved.Offset(-wr.left, -wr.top);
        w->update = moved;
    }
    if (flags & SW_SCROLLCHILDREN) {
        for (Window* c : w->children) {
            RECT cwnd = c->window;
            bool hit = scrollRect == nullptr ||
                       (cwnd.left < area.right && cwnd.right > area.left && cwnd.top < area.bottom &&
                        cwnd.bottom > area.top);
            if (!hit) continue;
            c->window.left += dx;
            c->window.right += dx;
            c->window.top += dy;
            c->window.bottom += dy;
            c->client.left += dx;
            c->client.right += dx;
            c->client.top += dy;
            c->client.bottom += dy;
            Send(c, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(c->client.left), static_cast<WORD>(c->client.top)));
        }
    }
    Region exposedClient = exposed;
    exposedClient.Offset(-o.x, -o.y);
    if (updateRegion != nullptr) {
        Region* out = gdi::RegionOf(updateRegion);
        if (out != nullptr) *out = exposedClient;
    }
    if (updateRect != nullptr) *updateRect = exposedClient.Bounds();
    if (flags & SW_INVALIDATE) {
        Region inv = exposedClient;
        inv.Offset(cw.left, cw.top);
        RedrawArea(w, &inv, RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) |
                               ((flags & SW_SCROLLCHILDREN) ? RDW_ALLCHILDREN : 0));
    }
    CaretAfterPaint(hwnd);
    if (exposedClient.IsEmpty()) return NULLREGION;
    return exposedClient.RectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect) {
    UINT flags = SW_INVALIDATE | SW_ERASE | (scrollRect == nullptr ? SW_SCROLLCHILDREN : 0);
    return ScrollWindowEx(hwnd, dx, dy, scrollRect, clipRect, nullptr, nullptr, flags) != ERROR ? TRUE : FALSE;
}
