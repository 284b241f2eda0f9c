// The outline of a drag over the whole X screen.
//
// Where every top-level window is a system window of its own, the screen DC
// reaches only our windows' pixels; a rectangle dragged out of a frame must also
// show over the bare screen and over other programs' windows. It is made of four
// override-redirect windows, one per side, moved with the rectangle:
//
// - They show the same with or without a window manager (which leaves
//   override-redirect windows alone) and under a compositing manager, which
//   shows them like any other window. Inverting the root window's pixels
//   through a GC that includes inferiors (the rubber band of old) does neither:
//   a compositor never shows the root's pixels where windows are, and a window
//   that repaints under the band breaks the pairing of the two inversions, so
//   the second one leaves a trace instead of erasing the first.
// - A program that dies mid-drag leaves nothing behind: the server destroys a
//   client's windows when its connection closes, and what they covered is
//   exposed and repainted by its owners. Drawing on the root would stay there.
//
// An outline of windows cannot invert what lies under it, so it is drawn in a
// fine black and white check, which shows on light and dark backgrounds alike
// and reads as the halftone of the inverted rectangle it stands for. The server
// paints it from the windows' background pixmap, so no expose event has to be
// answered and the windows ask for no events at all.
//
// Kept apart from the backend for the reason x11_errors.cpp gives: Xlib's header
// defines names the rest of the backend uses as its own.
#include "framework/backends/sdl/x11_drag_frame.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

namespace tq3::fw::sdl {

struct DragFrame::Parts {
    Display* display = nullptr;  // SDL's connection, which the windows belong to
    Window sides[4] = {};        // top, bottom, left, right
    Pixmap check = 0;            // the 2 x 2 black and white tile the sides show
    bool shown = false;

    bool Make(Display* d);
    void Place(int side, int x, int y, int width, int height);
    void Destroy();
};

namespace {

Display* DisplayOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    return info.info.x11.display;
}

// Tells a compositing manager that the windows belong to a drag, so that it
// gives them no shadow or animation of their own.
void MarkAsDrag(Display* display, Window window) {
    const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom dnd = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DND", False);
    XChangeProperty(display, window, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&dnd),
                    1);
}

}  // namespace

bool DragFrame::Parts::Make(Display* d) {
    display = d;
    const int screen = DefaultScreen(d);
    const Window root = RootWindow(d, screen);
    static const char kCheck[] = {0x01, 0x02};  // rows of the tile, low bit first: set bits are black
    check = XCreatePixmapFromBitmapData(d, root, const_cast<char*>(kCheck), 2, 2, BlackPixel(d, screen),
                                        WhitePixel(d, screen), static_cast<unsigned>(DefaultDepth(d, screen)));
    if (check == 0) return false;
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixmap = check;
    for (Window& side : sides) {
        side = XCreateWindow(d, root, 0, 0, 1, 1, 0, CopyFromParent, InputOutput, CopyFromParent,
                             CWOverrideRedirect | CWBackPixmap, &attributes);
        if (side == 0) return false;
        MarkAsDrag(d, side);
    }
    return true;
}

void DragFrame::Parts::Place(int side, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) {
        XUnmapWindow(display, sides[side]);
        return;
    }
    XWindowChanges changes{};
    changes.x = x;
    changes.y = y;
    changes.width = width;
    changes.height = height;
    changes.stack_mode = Above;  // over a window of ours raised meanwhile, too
    XConfigureWindow(display, sides[side], CWX | CWY | CWWidth | CWHeight | CWStackMode, &changes);
    XMapWindow(display, sides[side]);
}

void DragFrame::Parts::Destroy() {
    if (display == nullptr) return;
    for (Window& side : sides) {
        if (side != 0) XDestroyWindow(display, side);
        side = 0;
    }
    if (check != 0) XFreePixmap(display, check);
    check = 0;
    XFlush(display);
}

DragFrame::DragFrame() = default;

DragFrame::~DragFrame() {
    if (parts_) parts_->Destroy();
}

bool DragFrame::Show(SDL_Window* any, int left, int top, int right, int bottom, int thickness) {
    if (!parts_) {
        Display* display = DisplayOf(any);
        if (display == nullptr) return false;
        auto parts = std::make_unique<Parts>();
        if (!parts->Make(display)) {
            parts->Destroy();
            return false;
        }
        parts_ = std::move(parts);
    }
    const int width = right - left;
    const int height = bottom - top;
    const int t = std::max(0, std::min({thickness, width / 2, height / 2}));
    if (t == 0) {
        Hide();
        return true;
    }
    Parts& p = *parts_;
    p.Place(0, left, top, width, t);
    p.Place(1, left, bottom - t, width, t);
    p.Place(2, left, top + t, t, height - 2 * t);
    p.Place(3, right - t, top + t, t, height - 2 * t);
    p.shown = true;
    XFlush(p.display);
    return true;
}

void DragFrame::Hide() {
    if (!parts_ || !parts_->shown) return;
    for (Window side : parts_->sides) XUnmapWindow(parts_->display, side);
    parts_->shown = false;
    // Sent now: the drop that follows may block on other work before the
    // queue next runs dry, and the outline must not linger over it.
    XFlush(parts_->display);
}

}  // namespace tq3::fw::sdl
