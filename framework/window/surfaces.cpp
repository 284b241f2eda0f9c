// Where windows' pixels live: a surface per top-level window, the screen overlay,
// the damage waiting to be shown, and the desktop composed from them.
//
// Sections: drawing roots and their surfaces; the screen overlay; damage and
// presenting; composing the desktop.
//
// Every top-level window (a child of the desktop window) owns a surface the size
// of its window rectangle, in its window coordinates, and its children draw on it
// inside it as before. Top-level windows no longer clip one another: the native
// window system stacks them, or ComposeDesktop does for a backend that shows one
// desktop picture. What a window draws is clipped to the screen, so the part of a
// window beyond the screen's edges is never touched (its pages stay untouched
// too) and is painted when it comes onto the screen.
//
// The desktop window has no pixels of its own: the bare desktop is its colour,
// filled in by the composition (or the real screen's own background). What a
// program draws through a DC of the desktop window (the screen DC: a dock
// context's drag rectangle, a tracking band that crosses windows) goes to the
// screen overlay, a screen-sized surface that is XOR-ed over the composed
// picture. Inverting drawing (PATINVERT, DSTINVERT, R2_NOT and R2_XORPEN lines),
// which is what a program draws on the screen, therefore shows exactly as on a
// shared screen and undoes itself when drawn twice, whatever the windows below
// repaint meanwhile. Copying drawing on the screen DC shows XOR-ed too.
#include <algorithm>
#include <cstring>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

// A top-level surface reaches from the window's top-left corner to its
// bottom-right one, or to the screen's right and bottom edges when the window
// goes beyond them: nothing is ever drawn past the screen, so a host's
// 100,000-pixel window costs no more than the screen, and a window placed wholly
// off the screen's right or bottom has an empty surface until it comes back.
SIZE SurfaceSizeFor(const Window* top) {
    const SIZE screen = S().screen;
    const RECT& r = top->window;
    LONG right = std::min<LONG>(r.right, screen.cx);
    LONG bottom = std::min<LONG>(r.bottom, screen.cy);
    return SIZE{std::max<LONG>(right - r.left, 0), std::max<LONG>(bottom - r.top, 0)};
}

RECT ScreenRect() { return RECT{0, 0, S().screen.cx, S().screen.cy}; }

}  // namespace

// ============================================================================
// Drawing roots and their surfaces
// ============================================================================

Window* DrawingRoot(Window* w) {
    if (w == nullptr || w == S().desktopWindow) return w;
    return TopLevelOf(w);
}

POINT SurfaceOrigin(const Window* root) {
    if (root == nullptr || root == S().desktopWindow) return POINT{0, 0};
    RECT r = WindowRectOnScreen(root);
    return POINT{r.left, r.top};
}

Surface* SurfaceOf(Window* root) {
    State& s = S();
    if (root == nullptr) return nullptr;
    std::unique_ptr<Surface>& slot = root == s.desktopWindow ? s.overlay : root->surface;
    if (slot) return slot.get();
    SIZE size = root == s.desktopWindow ? s.screen : SurfaceSizeFor(root);
    if (root != s.desktopWindow && s.spareSurface && s.spareSurface->Width() == size.cx &&
        s.spareSurface->Height() == size.cy) {
        slot = std::move(s.spareSurface);
        return slot.get();
    }
    try {
        slot = std::make_unique<Surface>(size.cx, size.cy);
    } catch (const std::bad_alloc&) {
        slot.reset();
        return nullptr;
    }
    return slot.get();
}

Region ScreenToSurface(const Window* root, const Region& screenArea) {
    Region area = screenArea;
    POINT o = SurfaceOrigin(root);
    area.Offset(-o.x, -o.y);
    const Surface* surface = root == S().desktopWindow ? S().overlay.get() : root->surface.get();
    if (surface != nullptr) {
        area.Intersect(RECT{0, 0, surface->Width(), surface->Height()});
    } else {
        SIZE size = root == S().desktopWindow ? S().screen : SurfaceSizeFor(root);
        area.Intersect(RECT{0, 0, size.cx, size.cy});
    }
    return area;
}

void FollowWindowSize(Window* top) {
    if (!top->surface) return;
    SIZE size = SurfaceSizeFor(top);
    Surface& old = *top->surface;
    if (old.Width() == size.cx && old.Height() == size.cy) return;
    try {
        auto fresh = std::make_unique<Surface>(size.cx, size.cy);
        // What both sizes share stays, as a window system keeps a resized
        // window's bits: a window that changes size without being repainted
        // (SWP_NOREDRAW) shows its old picture rather than black.
        // A surface without width has no rows to copy from or to.
        const int width = std::min(old.Width(), size.cx);
        const int height = width > 0 ? std::min(old.Height(), size.cy) : 0;
        for (int y = 0; y < height; ++y)
            std::memcpy(fresh->Row(y), old.Row(y), static_cast<size_t>(width) * sizeof(Pixel));
        top->surface = std::move(fresh);
    } catch (const std::bad_alloc&) {
        // Made again at the new size when next drawn on; the window is repainted
        // whole after a size change anyway.
        top->surface.reset();
    }
    top->damage.Intersect(RECT{0, 0, size.cx, size.cy});
}

void DropSurface(Window* w) {
    w->surface.reset();
    w->damage.Clear();
}

// Menus, drop-down lists and dialogs open again and again at one size: the
// next one takes over the last one's surface instead of mapping fresh pages and
// touching each of them again. Its old pixels do not show: a new window is
// painted whole before it is shown on the screen. Only a modest surface is
// kept, and only one.
void KeepSpareSurface(Window* gone) {
    constexpr std::size_t kMaxSpareBytes = 4u << 20;
    State& s = S();
    if (!gone->surface) return;
    const auto bytes = static_cast<std::size_t>(gone->surface->Width()) *
                       static_cast<std::size_t>(gone->surface->Height()) * sizeof(Pixel);
    if (bytes > kMaxSpareBytes) return;
    for (const State::WindowDc& d : s.windowDcs) {
        if (d.root == gone->handle) return;  // a DC left open still draws on it
    }
    s.spareSurface = std::move(gone->surface);
}

void ScreenResized() {
    State& s = S();
    s.overlay.reset();
    s.overlayDamage.Clear();
    s.composed.reset();
    s.stale.Clear();
    s.screenDamage = Region(ScreenRect());
}

void TopLevelChanged(Window* top, const RECT& oldScreen) {
    if (top->parent != S().desktopWindow) return;
    FollowWindowSize(top);
    ScreenChanged(oldScreen);
    ScreenChanged(WindowRectOnScreen(top));
    MarkNative(top);
}

void MarkNative(Window* w) {
    State& s = S();
    if (!s.native || w == nullptr || w == s.desktopWindow) return;
    Window* top = TopLevelOf(w);
    if (top == nullptr || top->parent != s.desktopWindow) return;
    if (std::find(s.nativeDirty.begin(), s.nativeDirty.end(), top->handle) != s.nativeDirty.end()) return;
    try {
        s.nativeDirty.push_back(top->handle);
    } catch (const std::bad_alloc&) {
        // It catches up with its next change.
    }
}

bool NativelyDecorated(DWORD style) { return S().native && !(style & WS_CHILD) && (style & WS_CAPTION) == WS_CAPTION; }

// ============================================================================
// The screen overlay
// ============================================================================

void OverlayReleased() {
    State& s = S();
    if (!s.overlay) return;
    for (const State::WindowDc& d : s.windowDcs) {
        if (d.root == s.desktopWindow->handle) return;  // another screen DC still draws
    }
    // Inverting drawing done twice leaves zeroes: then nothing is left to apply
    // and the composition stops passing over a screen's worth of pixels.
    const Surface& overlay = *s.overlay;
    bool blank = true;
    for (int y = 0; y < overlay.Height() && blank; ++y) {
        const Pixel* row = overlay.Row(y);
        for (int x = 0; x < overlay.Width(); ++x) {
            if (row[x] != 0) {
                blank = false;
                break;
            }
        }
    }
    if (!blank) return;
    s.overlay.reset();
}

// ============================================================================
// Damage and presenting
// ============================================================================

void PresentDamage(Window* root, const Region& area) {
    State& s = S();
    if (root == nullptr || area.IsEmpty()) return;
    try {
        if (root == s.desktopWindow) {
            s.overlayDamage.Union(area);
            s.stale.Union(area);
        } else {
            root->damage.Union(area);
            if (s.composed) {
                Region onScreen = area;
                POINT o = SurfaceOrigin(root);
                onScreen.Offset(o.x, o.y);
                s.stale.Union(onScreen);
            }
        }
    } catch (const std::bad_alloc&) {
        // Shown with the next damage there, or the next full repaint.
    }
}

void ScreenChanged(const Region& screenArea) {
    State& s = S();
    try {
        s.screenDamage.Union(screenArea);
        if (s.composed) s.stale.Union(screenArea);
    } catch (const std::bad_alloc&) {
    }
}

void ScreenChanged(const RECT& screenRect) { ScreenChanged(Region(screenRect)); }

namespace {

// The native path: each system window catches up with its top-level window,
// then gets its own damage, and the screen DC's drawing shows in the windows it
// crosses (on the bare screen between them it does not show: see
// ComposeWindow).
void FlushNative() {
    State& s = S();
    Backend& backend = *s.backend;
    std::vector<HWND> dirty = std::move(s.nativeDirty);
    s.nativeDirty.clear();
    for (HWND h : dirty) {
        if (FromHandle(h) != nullptr) backend.NativeWindowChanged(h);
    }
    Region overlay = std::move(s.overlayDamage);
    s.overlayDamage = Region();
    s.screenDamage.Clear();
    for (Window* top : s.desktopWindow->children) {
        Region d = std::move(top->damage);
        top->damage = Region();
        if (!IsVisibleOnScreen(top) || !top->surface) continue;
        if (!overlay.IsEmpty()) {
            Region crossed = ScreenToSurface(top, overlay);
            d.Union(crossed);
        }
        d.Intersect(RECT{0, 0, top->surface->Width(), top->surface->Height()});
        if (!d.IsEmpty()) backend.PresentWindow(top->handle, d);
    }
}

}  // namespace

void FlushPresent() {
    State& s = S();
    if (!s.backend || s.desktopWindow == nullptr) return;
    if (s.native) {
        FlushNative();
        return;
    }
    Region shown = std::move(s.screenDamage);
    s.screenDamage = Region();
    Region overlay = std::move(s.overlayDamage);
    s.overlayDamage = Region();
    shown.Union(overlay);
    for (Window* top : s.desktopWindow->children) {
        if (top->damage.IsEmpty()) continue;
        Region d = std::move(top->damage);
        top->damage = Region();
        if (!IsVisibleOnScreen(top)) continue;
        POINT o = SurfaceOrigin(top);
        d.Offset(o.x, o.y);
        shown.Union(d);
    }
    shown.Intersect(ScreenRect());
    if (shown.IsEmpty()) return;
    s.backend->PresentDesktop(shown);
}

}  // namespace tq3::fw::wm

// ============================================================================
// Composing the desktop
// ============================================================================

namespace tq3::fw {

using namespace wm;

namespace {

// Copies what `top` shows of `area` (screen coordinates) into `out`.
void CopyWindow(const Window* top, const RECT& area, Pixel* out, std::ptrdiff_t stride) {
    const Surface& surface = *top->surface;
    POINT o = SurfaceOrigin(top);
    RECT part{std::max<LONG>(area.left, o.x), std::max<LONG>(area.top, o.y),
              std::min<LONG>(area.right, o.x + surface.Width()), std::min<LONG>(area.bottom, o.y + surface.Height())};
    if (part.right <= part.left || part.bottom <= part.top) return;
    const size_t bytes = static_cast<size_t>(part.right - part.left) * sizeof(Pixel);
    for (LONG y = part.top; y < part.bottom; ++y) {
        Pixel* to = out + (y - area.top) * stride + (part.left - area.left);
        std::memcpy(to, surface.Row(static_cast<int>(y - o.y)) + (part.left - o.x), bytes);
    }
}

void ApplyOverlay(const Surface& overlay, const RECT& area, Pixel* out, std::ptrdiff_t stride) {
    RECT part{area.left, area.top, std::min<LONG>(area.right, overlay.Width()),
              std::min<LONG>(area.bottom, overlay.Height())};
    for (LONG y = part.top; y < part.bottom; ++y) {
        const Pixel* from = overlay.Row(static_cast<int>(y)) + part.left;
        Pixel* to = out + (y - area.top) * stride;
        for (LONG x = 0; x < part.right - part.left; ++x) to[x] ^= from[x];
    }
}

}  // namespace

void ComposeWindow(HWND hwnd, const RECT& area, Pixel* out, std::ptrdiff_t stride) {
    State& s = S();
    Window* top = FromHandle(hwnd);
    if (top == nullptr || out == nullptr || area.right <= area.left || area.bottom <= area.top) return;
    const std::size_t width = static_cast<std::size_t>(area.right - area.left);
    const Surface* surface = top->parent == s.desktopWindow ? top->surface.get() : nullptr;
    for (LONG y = area.top; y < area.bottom; ++y) {
        Pixel* to = out + (y - area.top) * stride;
        std::fill_n(to, width, Pixel{0});
        if (surface == nullptr || y < 0 || y >= surface->Height()) continue;
        LONG from = std::max<LONG>(area.left, 0);
        LONG until = std::min<LONG>(area.right, surface->Width());
        if (until > from)
            std::memcpy(to + (from - area.left), surface->Row(static_cast<int>(y)) + from,
                        static_cast<std::size_t>(until - from) * sizeof(Pixel));
    }
    // The screen DC's drawing shows over the window where it crosses it.
    if (!s.overlay) return;
    POINT o = SurfaceOrigin(top);
    RECT onScreen{area.left + o.x, area.top + o.y, area.right + o.x, area.bottom + o.y};
    RECT part{std::max<LONG>(onScreen.left, 0), std::max<LONG>(onScreen.top, 0),
              std::min<LONG>(onScreen.right, s.overlay->Width()), std::min<LONG>(onScreen.bottom, s.overlay->Height())};
    if (part.right <= part.left || part.bottom <= part.top) return;
    ApplyOverlay(*s.overlay, part, out + (part.top - onScreen.top) * stride + (part.left - onScreen.left), stride);
}

void ComposeDesktop(const RECT& area, Pixel* out, std::ptrdiff_t stride) {
    State& s = S();
    CurrentBackend();
    EnsureDesktop();
    if (out == nullptr || area.right <= area.left || area.bottom <= area.top) return;
    const Pixel bare = ToPixel(GetSysColor(COLOR_DESKTOP));
    for (LONG y = area.top; y < area.bottom; ++y) std::fill_n(out + (y - area.top) * stride, area.right - area.left, bare);
    // Bottom to top, so that the window on top is copied last.
    const auto& tops = s.desktopWindow->children;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        const Window* top = *it;
        if (!(top->style & WS_VISIBLE) || !top->surface) continue;
        CopyWindow(top, area, out, stride);
    }
    if (s.overlay) ApplyOverlay(*s.overlay, area, out, stride);
}

const Surface& DesktopSurface() {
    State& s = S();
    CurrentBackend();
    EnsureDesktop();
    static const Surface kNone;
    if (!s.composed) {
        // Everything is behind a picture that was never made.
        try {
            s.composed = std::make_unique<Surface>(s.screen.cx, s.screen.cy);
        } catch (const std::bad_alloc&) {
            return kNone;
        }
        s.stale = Region(RECT{0, 0, s.screen.cx, s.screen.cy});
    }
    Surface& picture = *s.composed;
    s.stale.Intersect(RECT{0, 0, picture.Width(), picture.Height()});
    s.stale.ForEachRect([&](const RECT& r) {
        ComposeDesktop(r, picture.Row(static_cast<int>(r.top)) + r.left, picture.Stride());
    });
    s.stale.Clear();
    return picture;
}

}  // namespace tq3::fw
