// The headless backend: a desktop kept in memory, input injected by the caller,
// and a virtual clock that moves only when asked. Tests, screenshots and hosts
// that test their own user interface run on it.
//
// Injected input goes through DeliverInput, the same path an interactive backend
// feeds, so it meets hit testing, capture, focus, double-click detection and the
// host's message filter like real input.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/window/backend.h"
#include "framework/window/winuser.h"

namespace tq3::fw {

class TQ3FW_API HeadlessBackend : public Backend {
public:
    HeadlessBackend(int width, int height);

    // Installs a fresh headless desktop of the given size as the current backend
    // (destroying all windows and resetting the window manager) and returns it.
    static HeadlessBackend* Install(int width, int height);
    // The installed backend when it is a headless one, otherwise null.
    static HeadlessBackend* Current();

    // ---- Backend -----------------------------------------------------------
    SIZE DesktopSize() const override;
    void PresentDesktop(const Region& damage) override;
    bool WaitForInput(DWORD timeoutMs) override;
    ULONGLONG Now() const override;
    void SetCursorShape(CursorShape shape, const CursorImage* image) override;
    bool WriteSystemClipboardText(std::u16string_view text) override;
    bool ReadSystemClipboardText(std::u16string* text) override;
    void Beep(UINT /*type*/) override { ++beeps_; }
    void SetTextInput(bool on, const RECT& caret) override {
        textInputOn_ = on;
        textInputArea_ = caret;
    }

    // ---- Input injection (screen points) ----------------------------------
    // A key press or release by virtual-key code. A scan code of 0 takes the US
    // layout's; `extended` marks the right-hand and navigation-block keys.
    void KeyDown(int vk, UINT scanCode = 0, bool extended = false);
    void KeyUp(int vk, UINT scanCode = 0, bool extended = false);
    // Down and up of one key.
    void KeyPress(int vk);
    // A character that arrives without a key (an input method's result): WM_CHAR only.
    void TypeChar(WCHAR ch);
    void MouseMove(POINT pt);
    void MouseDown(InputEvent::Button button, POINT pt);
    void MouseUp(InputEvent::Button button, POINT pt);
    // Move, press and release at `pt`.
    void Click(InputEvent::Button button, POINT pt);
    // `delta` in wheel units (WHEEL_DELTA per notch), positive away from the user.
    void Wheel(int delta, POINT pt, bool horizontal = false);

    // ---- Running ------------------------------------------------------------
    // Retrieves, translates and dispatches messages (generated paints and due
    // timers included) until nothing is left to do now. Before dispatching, each
    // message goes to the message filter, which may consume it (the application
    // layer's PreTranslateMessage). Stops after a WM_QUIT and leaves it retrieved
    // (see QuitReceived). Returns the number of messages dispatched.
    int RunUntilIdle();
    // Advances the virtual clock by `ms`, stopping at each timer's due time on the
    // way to run until idle there, so a repeating timer fires once per period.
    void AdvanceClock(DWORD ms);
    // Whether RunUntilIdle met WM_QUIT, and its exit code; cleared by ClearQuit.
    bool QuitReceived() const { return quitReceived_; }
    int QuitCode() const { return quitCode_; }
    void ClearQuit() { quitReceived_ = false; quitCode_ = 0; }

    // Returns true when it consumed the message (it is then not dispatched).
    using MessageFilter = std::function<bool(MSG&)>;
    void SetMessageFilter(MessageFilter filter) { filter_ = std::move(filter); }

    // Called when a loop (a modal dialog's, a menu's, a drag's) would block on an
    // empty queue with nothing due: the hook scripts what a user would do next
    // (inject input, advance the clock, post a message) and returns true, or
    // returns false when it has nothing more to give. With no hook, or when the
    // hook gives up, the backend reports the stall on standard error and aborts,
    // so a test fails loudly instead of hanging.
    using IdleHook = std::function<bool()>;
    void SetIdleHook(IdleHook hook) { idleHook_ = std::move(hook); }

    // ---- Observation -----------------------------------------------------------
    // The shape the pointer would show, and for an image cursor its image (null
    // for the standard shapes).
    CursorShape CursorShapeShown() const { return cursor_; }
    const CursorImage* CursorImageShown() const { return cursor_ == CursorShape::Custom ? &cursorImage_ : nullptr; }
    // Union of everything presented since the last ClearPresented.
    const Region& Presented() const { return presented_; }
    // How many times MessageBeep sounded.
    int Beeps() const { return beeps_; }
    // Whether text input is switched on, as the window manager last said, and the
    // caret (screen coordinates) where a candidate window would open.
    bool TextInputOn() const { return textInputOn_; }
    const RECT& TextInputArea() const { return textInputArea_; }
    void ClearPresented() { presented_.Clear(); }

private:
    void Deliver(const InputEvent& event);

    int width_;
    int height_;
    ULONGLONG clock_ = 0;
    CursorShape cursor_ = CursorShape::Arrow;
    CursorImage cursorImage_;
    Region presented_;
    MessageFilter filter_;
    IdleHook idleHook_;
    bool quitReceived_ = false;
    int quitCode_ = 0;
    int beeps_ = 0;
    bool textInputOn_ = true;
    RECT textInputArea_{0, 0, 0, 0};
};

}  // namespace tq3::fw
