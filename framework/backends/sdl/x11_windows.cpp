// Kept apart from the backend for the reason x11_errors.cpp gives: Xlib's header
// defines names the rest of the backend uses as its own.
#include "framework/backends/sdl/x11_windows.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace tq3::fw::sdl {
namespace {

struct XTarget {
    Display* display = nullptr;
    Window window = 0;
};

bool TargetOf(SDL_Window* window, XTarget* target) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    target->display = info.info.x11.display;
    target->window = info.info.x11.window;
    return target->display != nullptr && target->window != 0;
}

// The window a running manager names on the root (_NET_SUPPORTING_WM_CHECK),
// when that window names itself back: a manager that ended leaves the root's
// property behind, pointing at a window that is gone or no longer answers.
Window SupportingWindow(Display* display, Window holder, Atom check) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    Window named = 0;
    if (XGetWindowProperty(display, holder, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
            Success &&
        type == XA_WINDOW && format == 32 && count == 1 && data != nullptr) {
        named = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data != nullptr) XFree(data);
    return named;
}

bool WindowManagerRuns(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0) return false;
    const Window named = SupportingWindow(display, DefaultRootWindow(display), check);
    // A window that has gone answers BadWindow, which the tolerant error handler
    // drops; the property then reads as absent.
    return named != 0 && SupportingWindow(display, named, check) == named;
}

}  // namespace

bool MapWithoutWaiting(SDL_Window* window) {
    XTarget target;
    if (!TargetOf(window, &target) || !WindowManagerRuns(target.display)) return false;
    XMapRaised(target.display, target.window);
    XFlush(target.display);
    return true;
}

bool WithdrawWithoutWaiting(SDL_Window* window) {
    XTarget target;
    if (!TargetOf(window, &target)) return false;
    XWithdrawWindow(target.display, target.window, DefaultScreen(target.display));
    XFlush(target.display);
    return true;
}

}  // namespace tq3::fw::sdl
