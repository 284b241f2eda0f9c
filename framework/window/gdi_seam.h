// Where windows draw: the seam between the window manager and the drawing layer.
//
// The window manager decides *where* a window may draw (its top-level window's
// surface, the window's origin on it, and its visible region cut down to the
// update region while painting); the drawing layer decides *how* (device contexts, brushes,
// regions as HRGN handles): a window DC is one of its surface contexts
// (CreateSurfaceDC) made for the target below.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/gdi/region.h"
#include "framework/gdi/surface.h"

namespace tq3::fw {

// Everything a window DC needs: draw on `surface`, with logical (0, 0) at
// `origin`, never outside `clip` (both in the surface's coordinates: the
// top-level window's top-left corner is (0, 0); for the desktop window, whose DC
// draws on the screen overlay, they are screen coordinates).
struct WindowDrawTarget {
    Surface* surface = nullptr;
    HWND hwnd = nullptr;
    POINT origin{0, 0};
    Region clip;
    bool client = true;  // false for GetWindowDC (origin is the window's top-left corner)
};

// The target of a DC for `hwnd`: the client area (client = true) or the whole
// window, clipped to what is visible of it on the screen. False for a bad handle,
// or when its surface cannot be had.
TQ3FW_API bool GetWindowDrawTarget(HWND hwnd, bool client, WindowDrawTarget* target);

// The desktop as it shows, in one picture of the screen's size: the top-level
// windows' surfaces composed in z-order over the bare desktop, brought up to
// date where anything changed since it was last asked for. An empty surface
// when the picture cannot be had.
TQ3FW_API const Surface& DesktopSurface();

}  // namespace tq3::fw
