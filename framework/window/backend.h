// The backend interface: what the window manager needs from the world outside the
// process. A backend shows what the windows drew (or keeps it in memory),
// delivers input events, tells the time, shows the pointer shape and reaches the
// system clipboard. The headless backend lives in framework/backends/headless, the
// interactive one in framework/backends/sdl; nothing else knows which one runs.
//
// Every top-level window draws on a surface of its own. A backend that shows the
// desktop as one picture (the headless one, a virtual desktop in one OS window)
// composes those surfaces in z-order with ComposeDesktop wherever PresentDesktop
// says the picture changed.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/wintypes.h"
#include "framework/gdi/region.h"
#include "framework/gdi/surface.h"

namespace tq3::fw {

// One raw input event as a backend reports it, before hit testing, capture and
// focus turn it into a window message. Points are desktop (screen) coordinates.
struct InputEvent {
    enum class Kind {
        KeyDown,     // vk, scanCode, extended; repeats are further KeyDowns
        KeyUp,       // vk, scanCode, extended
        Char,        // ch: a character typed through an input method, no key
        MouseMove,   // pt
        ButtonDown,  // button, pt
        ButtonUp,    // button, pt
        Wheel,       // delta (multiples of WHEEL_DELTA), pt; horizontal for a tilt wheel
    };
    enum class Button { Left, Right, Middle };

    Kind kind = Kind::MouseMove;
    int vk = 0;
    UINT scanCode = 0;  // 0: taken from the US layout's table
    bool extended = false;
    WCHAR ch = 0;
    Button button = Button::Left;
    POINT pt{0, 0};
    int delta = 0;
    bool horizontal = false;
};

// Shapes of the standard cursors; the backend maps them to what it can show.
enum class CursorShape {
    None,  // hidden
    Arrow,
    IBeam,
    Wait,
    Cross,
    UpArrow,
    SizeNWSE,
    SizeNESW,
    SizeWE,
    SizeNS,
    SizeAll,
    No,
    Hand,
    AppStarting,
    Help,
    Custom,  // an image cursor; see CursorImage
};

// An image cursor (from a resource): ARGB pixels and the hot spot.
struct CursorImage {
    int width = 0;
    int height = 0;
    POINT hotSpot{0, 0};
    std::vector<Pixel> argb;
};

class TQ3FW_API Backend {
public:
    virtual ~Backend() = default;

    // Size of the desktop, in pixels. Asked once when the backend is installed.
    virtual SIZE DesktopSize() const = 0;
    // The composed desktop changed in `damage` (screen coordinates, within the
    // desktop): windows drew there, or moved, were restacked, shown or hidden.
    virtual void PresentDesktop(const Region& damage) = 0;
    // Waits for input: at most `timeoutMs` milliseconds (INFINITE: no limit),
    // handing each event to DeliverInput. Returns false when no input can ever
    // come (a headless desktop with nothing scripted), so that a loop waiting for
    // it stops instead of hanging.
    virtual bool WaitForInput(DWORD timeoutMs) = 0;
    // Milliseconds since an arbitrary start; wraps like the platform's tick count.
    virtual ULONGLONG Now() const = 0;
    // Shows `shape` as the pointer (`image` only for CursorShape::Custom).
    virtual void SetCursorShape(CursorShape shape, const CursorImage* image) = 0;
    // The system clipboard's text, when the backend has one: Write replaces it,
    // Read fetches it (false when there is none or it cannot be read). A backend
    // without a system clipboard answers false to both and the process keeps its own.
    virtual bool WriteSystemClipboardText(std::u16string_view text) = 0;
    virtual bool ReadSystemClipboardText(std::u16string* text) = 0;
    // A counter that changes whenever another program changes the system clipboard.
    virtual ULONGLONG SystemClipboardSequence() const { return 0; }

    // ---- Native windows ---------------------------------------------------------
    // A backend that shows each top-level window in a system window of its own
    // answers true (asked once, when it is installed). The window manager then
    // leaves the caption and frame of captioned top-level windows to the system's
    // decoration and hands each surface's damage to PresentWindow instead of
    // calling PresentDesktop.
    virtual bool ShowsNativeWindows() const { return false; }
    // The top-level window `top` was shown, hidden, moved, sized, restacked,
    // retitled, enabled or disabled: the backend reads its state (GetWindowRect,
    // styles, owner, text) and makes its system window agree, making it on the
    // first showing. Called when the queue runs dry, before the damage is shown.
    virtual void NativeWindowChanged(HWND /*top*/) {}
    // `top` is being destroyed: its system window goes.
    virtual void NativeWindowDestroyed(HWND /*top*/) {}
    // The part `damage` (surface coordinates) of `top`'s surface changed. The
    // backend fills its own pixels of it with ComposeWindow.
    virtual void PresentWindow(HWND /*top*/, const Region& /*damage*/) {}
    // The sound of a refused input (MessageBeep); a desktop without sound ignores it.
    virtual void Beep(UINT /*type*/) {}
    // Text input (input methods) is wanted (`on`) or not for the window with the
    // focus; `caret` is its caret, or its client area when it has none (screen
    // coordinates), where a candidate window should open. Called on changes only.
    virtual void SetTextInput(bool /*on*/, const RECT& /*caret*/) {}
    // The outline of a drag that crosses the screen (a bar dragged out of its frame),
    // at `rect` (screen coordinates) with sides `thickness` pixels wide, shown
    // over everything on the screen until the next call moves it; a null `rect`
    // takes it away. A backend that shows one desktop picture answers false: the
    // screen DC's inverted drawing shows in that picture already, and the caller
    // draws the outline that way instead. So does a backend whose system windows
    // cannot show it over the bare screen. Once it answered true for a drag, the
    // drag's later calls only move or hide the outline.
    virtual bool ShowDragFrame(const RECT* /*rect*/, int /*thickness*/) { return false; }
};

// Installs `backend` as the one the window manager talks to, after destroying all
// windows and resetting the queue, timers, input state and clipboard (a fresh
// desktop of the backend's size). Returns the installed backend.
TQ3FW_API Backend* InstallBackend(std::unique_ptr<Backend> backend);
// The installed backend; when none is, a headless desktop of 1024 x 768 is
// installed first, so that the window manager always has one.
TQ3FW_API Backend& CurrentBackend();

// Hands one input event to the window manager: it updates the asynchronous key and
// button state at once and queues the event; hit testing, capture, focus and
// double-click detection happen when the message is retrieved, as on the platform.
TQ3FW_API void DeliverInput(const InputEvent& event);

// The desktop as it shows: the rectangle `area` (screen coordinates, which must
// lie within the desktop) of the bare desktop's colour with every visible
// top-level window's surface over it in z-order and the screen DC's drawing
// applied, written to `out` (the pixel of area's top-left corner) with rows
// `stride` pixels apart. Touches nothing else.
TQ3FW_API void ComposeDesktop(const RECT& area, Pixel* out, std::ptrdiff_t stride);
// What the top-level window `top` shows in `area` (its surface coordinates,
// within its window): its surface with the screen DC's drawing over it, written
// to `out` as ComposeDesktop does. Pixels it never drew are black.
TQ3FW_API void ComposeWindow(HWND top, const RECT& area, Pixel* out, std::ptrdiff_t stride);

// Destroys every window and clears all window-manager state (the backend stays).
TQ3FW_API void ResetWindowManager();

// The backend's screen changed size (its OS window was resized): the desktop
// takes the new size (sizes are clamped to 1..16384), maximised top-level
// windows are stretched over it, every top-level window is sent WM_DISPLAYCHANGE
// (32 bits per pixel, the new size), the screen DC's drawing is dropped and
// every window is repainted. True (a size is always taken).
TQ3FW_API bool ResizeDesktop(int width, int height);

// The toggle state of a lock key (VK_CAPITAL, VK_NUMLOCK, VK_SCROLL) as the
// hardware reports it, for a backend that learns it from the system rather than
// from the key presses it delivered (the lock may have been on before the program
// started). Key state already queued with input keeps what it had.
TQ3FW_API void SetKeyToggle(int vk, bool on);

// The character TranslateMessage will make of `vk` if it is pressed now, with the
// keys held and the locks as they are now; 0 when it types none. A backend whose
// system also reports typed text asks it to tell which of its two reports of a
// key to deliver, so that each character reaches the window once.
TQ3FW_API WCHAR CharOfKeyPressedNow(int vk);

// A loop that would block (GetMessage or WaitMessage with an empty queue and no
// paint or timer due) asks the backend to wait; this reports whether there is work
// now, for the headless backend's "run until idle".
TQ3FW_API bool HasPendingWork();
// Milliseconds until the next timer is due (0 when one is due now, INFINITE when none).
TQ3FW_API DWORD TimeToNextTimer();

}  // namespace tq3::fw
