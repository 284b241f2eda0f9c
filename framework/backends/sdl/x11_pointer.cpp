// A press whose release the display layer never saw.
//
// While a button is held the display layer holds the pointer, so the release
// comes back to the window that saw the press. But it lets the pointer go as
// soon as another program takes the keyboard, and a release made after that
// goes to whatever window is under the pointer: the display layer then believes
// the button is still held, and drops the next press of it as a repeat, so the
// user's next click or drag in our windows does nothing. The backend asks the
// server here whether the button really is still down and, when it is not,
// hands the display layer the release it missed.
//
// Kept apart from the backend for the reason x11_errors.cpp gives: Xlib's header
// defines names the rest of the backend uses as its own.
#include "framework/backends/sdl/x11_pointer.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace tq3::fw::sdl {
namespace {

bool XWindowOf(SDL_Window* window, Display** display, Window* xwindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    *display = info.info.x11.display;
    *xwindow = info.info.x11.window;
    return *display != nullptr && *xwindow != 0;
}

// SDL's buttons 1-3 are X's buttons 1-3 (left, middle, right).
struct ButtonPair {
    int sdl;
    unsigned int xMask;
};
constexpr ButtonPair kButtons[] = {
    {SDL_BUTTON_LEFT, Button1Mask},
    {SDL_BUTTON_MIDDLE, Button2Mask},
    {SDL_BUTTON_RIGHT, Button3Mask},
};

}  // namespace

int ButtonsHeldNow(SDL_Window* window) {
    Display* display = nullptr;
    Window xwindow = 0;
    if (!XWindowOf(window, &display, &xwindow)) return -1;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display, xwindow, &root, &child, &rootX, &rootY, &x, &y, &mask)) {
        // The pointer is on another screen of the display; the mask is still the
        // buttons' state.
    }
    int held = 0;
    for (const ButtonPair& b : kButtons) {
        if (mask & b.xMask) held |= static_cast<int>(SDL_BUTTON(b.sdl));
    }
    return held;
}

bool SendButtonRelease(SDL_Window* window, int button) {
    Display* display = nullptr;
    Window xwindow = 0;
    if (!XWindowOf(window, &display, &xwindow) || button < SDL_BUTTON_LEFT || button > SDL_BUTTON_RIGHT) return false;
    XEvent event{};
    XButtonEvent& release = event.xbutton;
    release.type = ButtonRelease;
    release.display = display;
    release.window = xwindow;
    release.root = DefaultRootWindow(display);
    release.time = CurrentTime;
    release.same_screen = True;
    // SDL numbers the middle button 2 and the right 3, as X does.
    release.button = static_cast<unsigned int>(button);
    for (const ButtonPair& b : kButtons) {
        if (b.sdl == button) release.state = b.xMask;
    }
    const bool sent = XSendEvent(display, xwindow, False, ButtonReleaseMask, &event) != 0;
    XFlush(display);
    return sent;
}

}  // namespace tq3::fw::sdl
