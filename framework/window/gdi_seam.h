// Where windows draw: the seam between the window manager and the drawing layer.
//
// The window manager decides *where* a window may draw (the desktop surface, the
// window's origin on it, and its visible region cut down to the update region
// while painting); the drawing layer decides *how* (device contexts, brushes,
// regions as HRGN handles): a window DC is one of its surface contexts
// (CreateSurfaceDC) made for the target below.
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

// The target of a DC for `hwnd`: the client area (client = true) or the whole
// window, clipped to what is visible on the desktop. False for a bad handle.
TQ3FW_API bool GetWindowDrawTarget(HWND hwnd, bool client, WindowDrawTarget* target);

// The desktop surface every window draws on.
TQ3FW_API Surface& DesktopSurface();

}  // namespace tq3::fw
