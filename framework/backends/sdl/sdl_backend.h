// The interactive backend: the desktop surface shown in one resizable OS window
// through SDL2, with the system's keyboard, text input (input methods included),
// mouse, cursors, clipboard and clock.
//
//   auto* backend = tq3::fw::SdlBackend::Install(1280, 800, u"My program");
//   if (backend == nullptr) tq3::fw::HeadlessBackend::Install(1280, 800);
//   ... create the main window, run the message loop ...
//
// The OS window's size is the desktop's: when the user resizes it the desktop
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
    bool WriteSystemClipboardText(const std::u16string& text) override;
    bool ReadSystemClipboardText(std::u16string* text) override;
    ULONGLONG SystemClipboardSequence() const override;

private:
    struct State;
    explicit SdlBackend(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace tq3::fw
