// The interactive backend through SDL2, with the system's keyboard, text input
// (input methods included), mouse, cursors, clipboard and clock. It runs in one of
// two ways:
//
// - Native windows (InstallWindows): every top-level window the program shows is
//   a system window of its own. Windows with a caption get the system's
//   decoration (their own caption and frame are not drawn); what the decoration
//   does comes back as WM_MOVE, WM_SIZE, WM_WINDOWPOSCHANGED, WM_SYSCOMMAND
//   (SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE), WM_ACTIVATE and the focus
//   messages. Captionless pop-ups are the system's pop-up menu kind (a tooltip
//   kind for tool windows that never activate), placed in screen coordinates
//   without decoration. A window owned by a disabled window (a modal dialog, a
//   message box) is modal for its owner. The desktop is the display's bounds.
//   When another program takes the keyboard, the active window is told to cancel
//   its modes (WM_CANCELMODE) and loses the capture, which closes open menus and
//   dropped lists.
//   A bar dragged out of its frame shows its rectangle over the whole screen,
//   other programs' windows included (ShowDragFrame, x11_drag_frame.cpp).
// - A virtual desktop (Install): the whole desktop in one resizable OS window.
//
// The backend is built as a module of its own (libtq3sdl.so). A host does not
// link it: it asks the framework for it at run time (framework/window/
// interactive.h), which loads the module only then:
//
//   if (!tq3::fw::InstallInteractiveBackend(tq3::fw::VirtualDesktopAsked(), 1280, 800, u"My program"))
//       tq3::fw::HeadlessBackend::Install(1280, 800);
//   ... create the main window, run the message loop ...
//
// Programs that need the class itself (its tests, a host that wants SDL's own
// window) link the module and call Install or InstallWindows directly.
//
// On a virtual desktop, the OS window's size is the desktop's: when the user resizes it the desktop
// follows (ResizeDesktop), maximised top-level windows with it, so a host whose
// main frame is shown maximised fills the window at any size. The OS window's
// title follows the caption of the active top-level window. Closing the OS window
// sends WM_CLOSE to the top-level windows (WM_QUIT when there are none).
//
// One SdlBackend exists at a time; it owns SDL's video subsystem while installed.
#pragma once

#include <memory>
#include <string>

#include "framework/window/backend.h"

struct SDL_Window;

namespace tq3::fw {

class TQ3FW_API SdlBackend : public Backend {
public:
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    // Opens the OS window (client area `width` x `height`, caption `title`, null
    // for none) and installs it as the current backend, destroying all windows and
    // resetting the window manager, as InstallBackend does. Returns null, with the
    // reason on standard error, when no display can be opened; the current backend
    // is then left as it was.
    static SdlBackend* Install(int width, int height, LPCWSTR title);
    // Installs the backend with a system window per top-level window. Returns
    // null, with the reason on standard error, when no display can be opened.
    static SdlBackend* InstallWindows();
    // The system window showing top-level window `top` (native windows only;
    // null when it has none yet).
    SDL_Window* NativeWindowOf(HWND top) const;
    // The installed backend when it is an SdlBackend, otherwise null.
    static SdlBackend* Current();

    // The OS window, for a host that needs SDL's own calls (its position on the
    // screen, its native handle).
    SDL_Window* NativeWindow() const;

    // ---- Backend -----------------------------------------------------------
    SIZE DesktopSize() const override;
    void PresentDesktop(const Region& damage) override;
    bool WaitForInput(DWORD timeoutMs) override;
    ULONGLONG Now() const override;
    void SetCursorShape(CursorShape shape, const CursorImage* image) override;
    bool WriteSystemClipboardText(std::u16string_view text) override;
    bool ReadSystemClipboardText(std::u16string* text) override;
    ULONGLONG SystemClipboardSequence() const override;
    bool ShowsNativeWindows() const override;
    void NativeWindowChanged(HWND top) override;
    void NativeWindowDestroyed(HWND top) override;
    void PresentWindow(HWND top, const Region& damage) override;
    void SetTextInput(bool on, const RECT& caret) override;
    bool ShowDragFrame(const RECT* rect, int thickness) override;

private:
    struct State;
    explicit SdlBackend(std::unique_ptr<State> state);
    static SdlBackend* Open(int width, int height, LPCWSTR title, bool native);
    static SdlBackend* Adopt(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace tq3::fw
