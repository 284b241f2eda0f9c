// The dialog keyboard: IsDialogMessageW and the walks along tab stops and groups
// it moves the focus with.
//
// Call flow: IsDialogMessageW -> WM_GETDLGCODE of the focused control (what it
// keeps for itself) -> KeyDown (Tab -> WM_NEXTDLGCTL, arrows -> MoveInGroup,
// Enter -> PressDefault, Escape -> Cancel) or Mnemonic (ControlForMnemonic ->
// Activate); everything else is translated and dispatched.
#include <string>
#include <vector>

#include "framework/controls/button.h"
#include "framework/controls/static_control.h"
#include "framework/dialogs/dialogs_internal.h"
#include "framework/dialogs/message_box.h"

namespace tq3::fw::dialogs {
namespace {

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

// The dialog's controls in creation order, which is the tab order.
std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    return out;
}

// By their own style: a dialog that is not shown yet still has a first tab stop.
bool Usable(HWND c) { return (StyleOf(c) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE; }

int IndexOf(const std::vector<HWND>& list, HWND c) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == c) return static_cast<int>(i);
    }
    return -1;
}

// The first usable control after (or before) position `from` for which `fits`
// holds, going round once; null when none does.
template <typename Fits>
HWND Step(const std::vector<HWND>& list, int from, bool previous, Fits fits) {
    auto n = static_cast<int>(list.size());
    for (int k = 1; k <= n; ++k) {
        int i = ((from + (previous ? -k : k)) % n + n) % n;
        if (Usable(list[static_cast<size_t>(i)]) && fits(list[static_cast<size_t>(i)])) return list[static_cast<size_t>(i)];
    }
    return nullptr;
}

WCHAR Upper(WCHAR c) { return c >= u'a' && c <= u'z' ? static_cast<WCHAR>(c - u'a' + u'A') : c; }

// The character after the text's single '&' ("&&" is a plain '&'), or 0.
WCHAR MnemonicOf(const std::u16string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        return Upper(text[i + 1]);
    }
    return 0;
}

std::u16string TextOf(HWND c) {
    int length = GetWindowTextLengthW(c);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(c, text.data(), length + 1)));
    return text;
}

// Labels show a mnemonic; pictures, frames and controls that draw no prefix do not.
bool ShowsMnemonic(HWND c, LRESULT code) {
    DWORD style = StyleOf(c);
    if ((code & DLGC_STATIC) != 0 && (code & DLGC_BUTTON) == 0) {
        DWORD kind = style & SS_TYPEMASK;
        bool textKind = kind <= SS_RIGHT || kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP;
        return textKind && (style & SS_NOPREFIX) == 0;
    }
    return (code & DLGC_BUTTON) != 0;
}

HWND ControlForMnemonic(HWND dialog, WCHAR ch) {
    std::vector<HWND> list = Controls(dialog);
    if (list.empty()) return nullptr;
    int from = IndexOf(list, GetFocus());
    if (from < 0) from = static_cast<int>(list.size()) - 1;
    return Step(list, from, false, [ch](HWND c) {
        LRESULT code = SendMessageW(c, WM_GETDLGCODE, 0, 0);
        return ShowsMnemonic(c, code) && MnemonicOf(TextOf(c)) == Upper(ch);
    });
}

void FocusOn(HWND dialog, HWND c) { SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE); }

// A label or group box hands its mnemonic to the control after it; a push
// button is pressed; a check box or radio button takes the focus and is clicked.
void Activate(HWND dialog, HWND c) {
    LRESULT code = SendMessageW(c, WM_GETDLGCODE, 0, 0);
    if ((code & DLGC_STATIC) != 0) {
        std::vector<HWND> list = Controls(dialog);
        HWND next = Step(list, IndexOf(list, c), false, [](HWND n) {
            return (SendMessageW(n, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) == 0;
        });
        if (next != nullptr) FocusOn(dialog, next);
        return;
    }
    if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) FocusOn(dialog, c);
    SendMessageW(c, BM_CLICK, 0, 0);
}

bool Mnemonic(HWND dialog, const MSG& msg) {
    HWND c = ControlForMnemonic(dialog, static_cast<WCHAR>(msg.wParam));
    if (c == nullptr) return msg.message == WM_SYSCHAR;  // no menu to open: Alt+key is spent
    Activate(dialog, c);
    return true;
}

void MoveInGroup(HWND dialog, HWND from, bool previous) {
    HWND to = GetNextDlgGroupItem(dialog, from, previous ? TRUE : FALSE);
    if (to == nullptr || to == from) return;
    FocusOn(dialog, to);
    // An automatic radio button is chosen by moving onto it.
    if ((StyleOf(to) & BS_TYPEMASK) == BS_AUTORADIOBUTTON && (SendMessageW(to, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
        SendMessageW(to, BM_CLICK, 0, 0);
}

void Command(HWND dialog, int id, HWND control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// Enter: the focused push button, else the dialog's default one, else IDOK.
void PressDefault(HWND dialog, HWND focus, LRESULT code) {
    if (focus != nullptr && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0) {
        Command(dialog, GetDlgCtrlID(focus), focus);
        return;
    }
    LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    int id = HIWORD(static_cast<DWORD>(defId)) == DC_HASDEFID ? LOWORD(static_cast<DWORD>(defId)) : IDOK;
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && !IsWindowEnabled(button)) return;
    Command(dialog, id, button);
}

bool KeyDown(HWND dialog, const MSG& msg, LRESULT code) {
    if ((code & DLGC_WANTALLKEYS) != 0) return false;
    HWND focus = msg.hwnd != dialog ? msg.hwnd : nullptr;
    switch (msg.wParam) {
        case VK_TAB:
            if ((code & DLGC_WANTTAB) != 0) return false;
            SendMessageW(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, FALSE);
            return true;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if ((code & DLGC_WANTARROWS) != 0) return false;
            MoveInGroup(dialog, focus, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
            return true;
        case VK_RETURN: PressDefault(dialog, focus, code); return true;
        case VK_ESCAPE: {
            HWND cancel = GetDlgItem(dialog, IDCANCEL);
            if (cancel == nullptr || IsWindowEnabled(cancel)) Command(dialog, IDCANCEL, cancel);
            return true;
        }
        default: return false;
    }
}

}  // namespace
}  // namespace tq3::fw::dialogs

using namespace tq3::fw::dialogs;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog)) return nullptr;
    std::vector<HWND> list = Controls(dialog);
    if (list.empty()) return nullptr;
    int from = IndexOf(list, control);
    if (from < 0) from = previous ? 0 : static_cast<int>(list.size()) - 1;
    return Step(list, from, previous != FALSE, [](HWND c) { return (StyleOf(c) & WS_TABSTOP) != 0; });
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog)) return nullptr;
    std::vector<HWND> list = Controls(dialog);
    int at = IndexOf(list, control);
    if (at < 0) return GetNextDlgTabItem(dialog, nullptr, previous);
    // The group: from the nearest WS_GROUP control at or before `at` to the next one.
    int first = at;
    while (first > 0 && (StyleOf(list[static_cast<size_t>(first)]) & WS_GROUP) == 0) --first;
    int end = at + 1;
    while (end < static_cast<int>(list.size()) && (StyleOf(list[static_cast<size_t>(end)]) & WS_GROUP) == 0) ++end;
    std::vector<HWND> group(list.begin() + first, list.begin() + end);
    HWND to = Step(group, at - first, previous != FALSE, [](HWND) { return true; });
    return to != nullptr ? to : control;
}

BOOL IsDialogMessageW(HWND dialog, MSG* msg) {
    if (msg == nullptr || !IsWindow(dialog)) return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
    bool key = msg->message == WM_KEYDOWN || msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
    if (key) {
        LRESULT code = SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        if (msg->message == WM_KEYDOWN && KeyDown(dialog, *msg, code)) return TRUE;
        bool wantsChars = (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) != 0;
        if (msg->message == WM_SYSCHAR || (msg->message == WM_CHAR && !wantsChars)) {
            if (Mnemonic(dialog, *msg)) return TRUE;
        }
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}
