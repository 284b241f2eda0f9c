// The display layer asks for the clipboard's text and takes what comes in one
// property; a program offering a large text announces an incremental transfer
// instead (the property's type is INCR) and then hands the text over in pieces,
// each put in the property after the reader deleted the one before. This reader
// does both, on a connection and a window of its own, so that the events of the
// transfer never meet the display layer's event loop.
//
// Kept apart from the backend for the reason x11_errors.cpp gives.
#include "framework/backends/sdl/x11_clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <climits>
#include <memory>

namespace tq3::fw::sdl {
namespace {

using Clock = std::chrono::steady_clock;

// A program that is busy may take a moment to answer; one that does not answer
// at all must not hang the paste for long.
constexpr auto kAnswerTime = std::chrono::seconds(3);

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// Waits for an event on `window` of `type` (and, for PropertyNotify, a new value
// of `property`), until `deadline`. False when it does not come in time.
bool WaitFor(Display* display, Window window, int type, Atom property, Clock::time_point deadline, XEvent* event) {
    for (;;) {
        while (XPending(display) > 0) {
            XNextEvent(display, event);
            if (event->xany.window != window || event->type != type) continue;
            if (type != PropertyNotify) return true;
            if (event->xproperty.atom == property && event->xproperty.state == PropertyNewValue) return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd wait{ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, static_cast<int>(left));
    }
}

// Takes the whole property off `window` (deleting it, which tells an owner
// sending in pieces that the next one may come) and appends its bytes to `out`.
// `type` receives the property's type; false when it cannot be read or the text
// would pass `limit`.
bool TakeProperty(Display* display, Window window, Atom property, std::string* out, size_t limit, Atom* type) {
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, type, &format, &count,
                           &after, &data) != Success) {
        return false;
    }
    std::unique_ptr<unsigned char, int (*)(void*)> owned(data, XFree);
    const size_t bytes = count * static_cast<size_t>(format / 8);
    if (bytes > limit - out->size()) return false;
    if (bytes > 0 && data != nullptr) out->append(reinterpret_cast<const char*>(data), bytes);
    return true;
}

}  // namespace

unsigned long ClipboardOwnerOverX() {
    // A connection per question: the program may move to another display
    // between two (a test starts a server of its own for each case), and asking
    // is rare (a copy, a paste, the window getting the focus).
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (display == nullptr) return 0;
    return XGetSelectionOwner(display.get(), XInternAtom(display.get(), "CLIPBOARD", False));
}

bool ReadClipboardOverX(std::string* utf8, size_t limit) {
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (display == nullptr) return false;
    Display* d = display.get();
    const Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(d, window, PropertyChangeMask);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    const Atom utf8Text = XInternAtom(d, "UTF8_STRING", False);
    const Atom incremental = XInternAtom(d, "INCR", False);
    const Atom property = XInternAtom(d, "TQ3_CLIPBOARD", False);
    if (XGetSelectionOwner(d, clipboard) == None) return false;
    XConvertSelection(d, clipboard, utf8Text, property, window, CurrentTime);
    XFlush(d);

    XEvent event;
    if (!WaitFor(d, window, SelectionNotify, None, Clock::now() + kAnswerTime, &event) ||
        event.xselection.property == None) {
        return false;  // no owner answered, or it has no text
    }
    std::string text;
    Atom type = None;
    if (!TakeProperty(d, window, property, &text, limit, &type)) return false;
    if (type == incremental) {
        type = None;
        // The property held only the announced size; the deletion above asked for
        // the first piece. An empty piece ends the transfer.
        text.clear();
        for (;;) {
            if (!WaitFor(d, window, PropertyNotify, property, Clock::now() + kAnswerTime, &event)) return false;
            const size_t before = text.size();
            if (!TakeProperty(d, window, property, &text, limit, &type)) return false;
            if (text.size() == before) break;
        }
    }
    if (type == XA_STRING) {
        // An owner that has only Latin-1 answers with it: each byte is one
        // character, which takes two bytes in UTF-8 from 0x80 on.
        std::string converted;
        converted.reserve(text.size());
        for (unsigned char c : text) {
            if (c < 0x80) {
                converted.push_back(static_cast<char>(c));
            } else {
                converted.push_back(static_cast<char>(0xC0 | (c >> 6)));
                converted.push_back(static_cast<char>(0x80 | (c & 0x3F)));
            }
        }
        text = std::move(converted);
    } else if (type != utf8Text) {
        return false;
    }
    *utf8 = std::move(text);
    return true;
}

}  // namespace tq3::fw::sdl
