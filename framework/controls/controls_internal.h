// What the standard controls share: their state behind the window's extra bytes,
// the font they draw with, the colours their parent chooses for them, and the
// notifications they send it. Private to framework/controls/.
#pragma once

#include <new>
#include <string>

#include "framework/core/wintypes.h"
#include "framework/window/winuser.h"

namespace tq3::fw::controls {

// The window's extra bytes hold one pointer to the control's state.
constexpr int kStateBytes = static_cast<int>(sizeof(LONG_PTR));

template <typename State>
State* StateOf(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, 0));
}

// Makes the state at WM_NCCREATE; false when memory runs out (creation then fails).
template <typename State>
bool CreateState(HWND hwnd) {
    State* state = new (std::nothrow) State;
    if (state == nullptr) return false;
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
    return true;
}

template <typename State>
void DestroyState(HWND hwnd) {
    delete StateOf<State>(hwnd);
    SetWindowLongPtrW(hwnd, 0, 0);
}

// The font set with WM_SETFONT, or the dialog font when none was.
HFONT FontOrDefault(HFONT font);

// Asks the parent for the background brush with `ctlColorMessage`
// (WM_CTLCOLORBTN, WM_CTLCOLORSTATIC), after giving the context the usual text
// and background colours so that a parent may keep or change them. Falls back to
// the button face when the parent answers nothing.
HBRUSH ParentBrush(HWND hwnd, HDC dc, UINT ctlColorMessage);

// Sends WM_COMMAND with the control's id and `code` to its parent.
void NotifyParent(HWND hwnd, WORD code);

// The window's text, empty on failure.
std::u16string WindowText(HWND hwnd);

// Width and height of an icon's image; {0, 0} for a bad handle.
SIZE IconSize(HICON icon);

// Registers the "Button" and "Static" classes; called once per process when the
// framework loads.
LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tq3::fw::controls
