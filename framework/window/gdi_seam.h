// The seam between the window manager and the drawing layer.
//
// The window manager decides *where* a window may draw (the desktop surface, the
// window's origin on it, and its visible region cut down to the update region
// while painting); the drawing layer decides *how* (device contexts, brushes,
// regions as HRGN handles). Window DCs are the drawing layer's surface contexts
// (CreateSurfaceDC) unless hooks registered here say otherwise; the non-client
// painter is a hook, since frames and scroll bars are drawn by the drawing layer.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/gdi/region.h"
#include "framework/gdi/surface.h"

namespace tq3::fw {

// Everything a window DC needs: draw on `surface`, with logical (0, 0) at
// `origin` (screen = desktop coordinates), never outside `clip` (screen coordinates).
struct WindowDrawTarget {
    Surface* surface = nullptr;
    HWND hwnd = nullptr;
    POINT origin{0, 0};
    Region clip;
    bool client = true;  // false for GetWindowDC (origin is the window's top-left corner)
};

struct GdiHooks {
    // Makes a DC drawing into `target`. Null on failure.
    HDC (*createWindowDc)(const WindowDrawTarget& target) = nullptr;
    // Releases a DC made by createWindowDc.
    void (*releaseWindowDc)(HDC dc) = nullptr;
    // Fills `rect` (logical coordinates of `dc`) with `brush`; a brush value of
    // COLOR_* + 1 names a system colour, as in a window class.
    void (*fillRect)(HDC dc, const RECT& rect, HBRUSH brush) = nullptr;
    // Draws the non-client area of `hwnd` (borders, caption, window scroll bars)
    // into `dc`, a window DC.
    void (*drawNonClient)(HWND hwnd, HDC dc) = nullptr;
};

// Registers (or, with a default-constructed value, removes) the drawing layer's hooks.
TQ3FW_API void SetGdiHooks(const GdiHooks& hooks);
TQ3FW_API const GdiHooks& GetGdiHooks();

// The target of a DC for `hwnd`: the client area (client = true) or the whole
// window, clipped to what is visible on the desktop. False for a bad handle.
TQ3FW_API bool GetWindowDrawTarget(HWND hwnd, bool client, WindowDrawTarget* target);

// The desktop surface every window draws on.
TQ3FW_API Surface& DesktopSurface();

}  // namespace tq3::fw
