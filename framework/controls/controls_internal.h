// What the standard controls share: the one shape of their window procedure
// (ControlProc, with the state behind the window's extra bytes), the font they
// draw with, the colours their parent chooses for them, and the notifications
// they send it. Private to framework/controls/.
//
// A new control starts from button_control.cpp: a state struct with a comment on
// every field, typed handlers, and a Dispatch that is one flat switch into them.
#pragma once

#include <new>
#include <string>

#include "framework/core/wintypes.h"
#include "framework/window/winuser.h"

namespace tq3::fw::controls {

// The window's extra bytes hold one pointer to the control's state.
constexpr int kStateBytes = static_cast<int>(sizeof(LONG_PTR));

// The control's state; null before WM_NCCREATE and after WM_NCDESTROY. A handler
// reads it again after a call that may have destroyed the control.
template <typename State>
State* StateOf(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, 0));
}

// The window procedure of every control. The state is made at WM_NCCREATE and
// freed at WM_NCDESTROY, and in between `Dispatch` sees every message, WM_NCCREATE
// included, with the state at hand (never null):
//
//     LRESULT Dispatch(HWND hwnd, State* st, UINT message, WPARAM wParam, LPARAM lParam);
//
// When memory runs out for the state, WM_NCCREATE answers FALSE and the window
// is not created (CreateWindowExW returns null). Messages with no state (none
// reach a child control before WM_NCCREATE) go to DefWindowProcW. The state's
// destructor releases what the control owns. A handler that notifies the parent
// does so last: the parent may destroy the control, and `st` with it, in answer.
template <typename State, LRESULT (*Dispatch)(HWND, State*, UINT, WPARAM, LPARAM)>
LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        State* made = nullptr;
        try {
            made = new State;
        } catch (const std::bad_alloc&) {
            return FALSE;
        }
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(made));
    }
    State* st = StateOf<State>(hwnd);
    if (st == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        delete st;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return Dispatch(hwnd, st, message, wParam, lParam);
}

inline DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

// WM_SETFONT: keeps the font in `*font` (null: the dialog font) and repaints
// when asked to. WM_GETFONT answers `*font`.
LRESULT SetFont(HWND hwnd, HFONT* font, WPARAM wParam, LPARAM lParam);

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

// The procedures of the standard classes, which are registered once per process
// when the framework loads. "ComboLBox" is the list a combo box drops down: a
// list box whose notifications and mouse belong to the combo box.
LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ToolTipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The class of a combo box's dropped list; it is made with the combo box's handle
// as its creation parameter.
constexpr const WCHAR* kComboListClass = u"ComboLBox";

// Between a combo box and its dropped list, in a range the platform leaves free.
// To the combo box: the user ended the drop with the mouse; wParam TRUE when an
// item was chosen, FALSE when the list was left (a press outside, a lost capture).
constexpr UINT kComboListClosed = 0x0398;
// To the list: it has just been shown, and starts tracking the mouse afresh.
constexpr UINT kComboListOpened = 0x0399;

}  // namespace tq3::fw::controls
