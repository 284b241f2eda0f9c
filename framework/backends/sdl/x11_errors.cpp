// Xlib's default answer to any error is to end the program. On X, a window can go
// between a request being made and its arrival: another client destroys it, or
// a second connection of the display layer (which wakes the event wait with a
// message to one of our windows) races our own destruction of it. A BadWindow
// then says nothing worse than "already gone", as toolkits on X treat it. Kept
// apart from the backend because Xlib's header defines names (Bool, Status,
// None, KeyPress...) that the rest of the backend uses as its own.
#include "framework/backends/sdl/x11_errors.h"

#include <X11/Xlib.h>

namespace tq3::fw::sdl {
namespace {

XErrorHandler g_previous = nullptr;

int TolerantHandler(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow) return 0;
    return g_previous != nullptr ? g_previous(display, error) : 0;
}

}  // namespace

void TolerateGoneWindows() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    g_previous = XSetErrorHandler(&TolerantHandler);
}

}  // namespace tq3::fw::sdl
