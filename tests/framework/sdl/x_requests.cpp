// Raw X requests for the real-window tests, kept apart because Xlib's header
// defines names (KeyPress, None, Bool...) that the harness uses as its own.
#include <X11/Xlib.h>

namespace tq3::test {

// Makes a window on a connection of its own, destroys it and then sends it a
// message, which the server answers with BadWindow; true when the program is
// still running afterwards.
bool SendToAGoneWindow() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(display, gone);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = gone;
    message.xclient.format = 32;
    XSendEvent(display, gone, False, NoEventMask, &message);
    XSync(display, False);  // the error arrives here
    XCloseDisplay(display);
    return true;
}

}  // namespace tq3::test
