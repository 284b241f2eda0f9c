// The dialog class "#32770" and its default procedure: what a dialog does with
// the messages its dialog procedure leaves to it.
//
// Call flow: CreateDialogWindow -> CreateWindowExW -> DefDlgProcW(WM_NCCREATE)
// takes the pending dialog procedure and makes the state; every later message:
// DefDlgProcW -> the dialog procedure -> (unless it took the message) DefaultAction
// -> Activation / DefaultId / NextControl / DefWindowProcW. The state goes at
// WM_NCDESTROY, with the font when the dialog made it.
#include <new>
#include <string_view>
#include <utility>

#include "framework/controls/button.h"
#include "framework/controls/edit.h"
#include "framework/dialogs/dialogs_internal.h"
#include "framework/dialogs/message_box.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"

namespace tq3::fw::dialogs {
namespace {

constexpr WCHAR kDialogClass[] = u"#32770";
constexpr int kStateSlot = DLGWINDOWEXTRA - static_cast<int>(sizeof(LONG_PTR));

// The procedure and user data of the dialog CreateDialogWindow is making, taken
// by its first message.
DLGPROC pendingProc = nullptr;
LPARAM pendingUser = 0;

bool IsDialogClass(HWND hwnd) {
    WCHAR name[16] = {};
    return GetClassNameW(hwnd, name, 16) > 0 && std::u16string_view(name) == kDialogClass;
}

// Messages whose answer is the dialog procedure's return value itself rather
// than what it left in DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: return true;
        default: return false;
    }
}

bool IsPushButton(HWND control) {
    return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// DM_SETDEFID: the ring leaves the old default button for the new one.
LRESULT SetDefaultId(HWND dialog, DialogState* st, int id) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0 && GetDlgCtrlID(c) != id)
            SendMessageW(c, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    st->defId = id;
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && IsPushButton(button)) SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    return TRUE;
}

// The control that takes the focus when the dialog gets it: the one that had it
// last, else the first tab stop.
HWND FocusTarget(HWND dialog, const DialogState* st) {
    if (st->focus != nullptr && IsWindow(st->focus) && IsChild(dialog, st->focus)) return st->focus;
    return GetNextDlgTabItem(dialog, nullptr, FALSE);
}

void RestoreFocus(HWND dialog, DialogState* st) {
    HWND to = FocusTarget(dialog, st);
    if (to != nullptr) SetFocus(to);
}

LRESULT Activation(HWND dialog, DialogState* st, WPARAM wParam) {
    if (LOWORD(static_cast<DWORD_PTR>(wParam)) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(dialog, focus)) st->focus = focus;
        return 0;
    }
    RestoreFocus(dialog, st);
    return 0;
}

// WM_NEXTDLGCTL: lParam TRUE names the control in wParam; otherwise wParam
// nonzero goes back a tab stop and zero goes on.
LRESULT NextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND to = lParam != 0 ? reinterpret_cast<HWND>(wParam)
                          : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0 ? TRUE : FALSE);
    if (to == nullptr || !IsChild(dialog, to)) return 0;
    SetFocus(to);
    SelectAllIfEdit(to);
    FollowFocusWithDefault(dialog, to);
    return 0;
}

// The close box and Alt+F4 mean Cancel, unless a Cancel button is there and disabled.
LRESULT Close(HWND dialog) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel != nullptr && !IsWindowEnabled(cancel)) return 0;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    return 0;
}

LRESULT DefaultAction(HWND dialog, DialogState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE: return Activation(dialog, st, wParam);
        case WM_SETFOCUS: RestoreFocus(dialog, st); return 0;
        case WM_CLOSE: return Close(dialog);
        case DM_GETDEFID: return st->defId != 0 ? MAKELRESULT(st->defId, DC_HASDEFID) : 0;
        case DM_SETDEFID: return SetDefaultId(dialog, st, static_cast<int>(wParam));
        case WM_NEXTDLGCTL: return NextControl(dialog, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_SETFONT: st->font = reinterpret_cast<HFONT>(wParam); return 0;
        default: return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

LRESULT Create(HWND dialog, WPARAM wParam, LPARAM lParam) {
    auto* st = new (std::nothrow) DialogState;
    if (st == nullptr) return FALSE;
    SetWindowLongPtrW(dialog, kStateSlot, reinterpret_cast<LONG_PTR>(st));
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(pendingProc));
    SetWindowLongPtrW(dialog, DWLP_USER, pendingUser);
    pendingProc = nullptr;
    pendingUser = 0;
    return DefWindowProcW(dialog, WM_NCCREATE, wParam, lParam);
}

void Destroy(HWND dialog, DialogState* st) {
    SetWindowLongPtrW(dialog, kStateSlot, 0);
    // Destroyed under its modal loop (its owner went, say): the loop may be
    // waiting for input and must see that the dialog is gone.
    if (st->modal) PostMessageW(nullptr, WM_NULL, 0, 0);
    if (st->ownsFont && st->font != nullptr) DeleteObject(st->font);
    delete st;
}

}  // namespace

DialogState* StateOf(HWND dialog) {
    if (dialog == nullptr || !IsDialogClass(dialog)) return nullptr;
    return reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, kStateSlot));
}

bool RegisterDialogClass() {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_GLOBALCLASS;
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_3DFACE + 1));
    wc.lpszClassName = kDialogClass;
    return RegisterClassW(&wc) != 0;
}

namespace {
// The dialog class is there from the moment the framework is loaded, like the
// standard controls, and survives window-manager resets.
const bool kRegistered = RegisterDialogClass();
}  // namespace

HWND CreateDialogWindow(DWORD exStyle, LPCWSTR title, DWORD style, const RECT& frame, HWND owner, DLGPROC proc,
                        LPARAM userData) {
    if (!kRegistered) return nullptr;
    pendingProc = proc;
    pendingUser = userData;
    HWND hwnd = CreateWindowExW(exStyle, kDialogClass, title, style, frame.left, frame.top, frame.right - frame.left,
                                frame.bottom - frame.top, owner, nullptr, nullptr, nullptr);
    pendingProc = nullptr;
    pendingUser = 0;
    return hwnd;
}

void FollowFocusWithDefault(HWND dialog, HWND to) {
    DialogState* st = StateOf(dialog);
    if (st == nullptr) return;
    HWND ring = to != nullptr && IsPushButton(to) ? to : GetDlgItem(dialog, st->defId);
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c != ring && (SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0)
            SendMessageW(c, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    if (ring != nullptr && IsPushButton(ring) && (SendMessageW(ring, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) == 0)
        SendMessageW(ring, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void SelectAllIfEdit(HWND control) {
    if (control != nullptr && (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
        SendMessageW(control, EM_SETSEL, 0, -1);
}

}  // namespace tq3::fw::dialogs

using tq3::fw::dialogs::DialogState;

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) return tq3::fw::dialogs::Create(dialog, wParam, lParam);
    DialogState* st = tq3::fw::dialogs::StateOf(dialog);
    if (st == nullptr) return DefWindowProcW(dialog, message, wParam, lParam);
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
    if (proc != nullptr) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        INT_PTR taken = proc(dialog, message, wParam, lParam);
        // The procedure may have destroyed the dialog, and the state with it.
        st = tq3::fw::dialogs::StateOf(dialog);
        if (st == nullptr) return message == WM_NCDESTROY ? 0 : taken;
        if (tq3::fw::dialogs::AnswersDirectly(message)) {
            if (taken != 0 || message == WM_INITDIALOG) return taken;
        } else if (taken != 0) {
            return GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
        }
    }
    if (message == WM_NCDESTROY) {
        tq3::fw::dialogs::Destroy(dialog, st);
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
    return tq3::fw::dialogs::DefaultAction(dialog, st, message, wParam, lParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogState* st = tq3::fw::dialogs::StateOf(dialog);
    if (st == nullptr) return FALSE;
    if (!st->ended) {
        st->ended = true;
        st->result = result;
    }
    // A modal dialog leaves the screen at once and its owner takes input again,
    // before the loop winds down: a message the procedure shows next stands on
    // its own, not over the finished dialog.
    if (st->disabledOwner != nullptr) {
        const HWND owner = std::exchange(st->disabledOwner, nullptr);
        if (IsWindow(owner)) EnableWindow(owner, TRUE);
        SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    // The loop may be waiting: give it something to wake up for.
    PostMessageW(dialog, WM_NULL, 0, 0);
    return TRUE;
}
