// Scripted answers that work a dialog's controls: clicks, check boxes, typing
// and list picks, each played as input or as the control's own messages.
#include <string>

#include "framework/backends/headless/headless_backend.h"
#include "framework/controls/button.h"
#include "framework/dialogs/dialog.h"
#include "testing/run_until_idle.h"
#include "tq3view/testing.h"

namespace tq3::testing {
namespace {

// The control messages the answers send (the platform's numbers).
constexpr UINT kEditSetSel = 0x00B1;       // EM_SETSEL
constexpr UINT kComboSetEditSel = 0x0142;  // CB_SETEDITSEL
constexpr UINT kComboSetCurSel = 0x014E;   // CB_SETCURSEL
constexpr UINT kListSetCurSel = 0x0186;    // LB_SETCURSEL
constexpr WORD kSelChange = 1;             // CBN_SELCHANGE and LBN_SELCHANGE

std::string Describe(int id, const char* what) { return "control " + std::to_string(id) + ": " + what; }

// The control `id` of `window` if a user could work it now; reported otherwise.
HWND UsableControl(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    if (control == nullptr) {
        detail::Fail(Describe(id, "the answer names a control the dialog does not have"));
    } else if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
        detail::Fail(Describe(id, "the answer works a control that is hidden or disabled"));
        control = nullptr;
    }
    return control;
}

bool IsClass(HWND hwnd, std::u16string_view name) {
    WCHAR buffer[32] = {};
    int length = GetClassNameW(hwnd, buffer, 32);
    if (length != static_cast<int>(name.size())) return false;
    for (int i = 0; i < length; ++i) {
        auto lower = [](WCHAR c) { return c >= u'A' && c <= u'Z' ? static_cast<WCHAR>(c + 32) : c; };
        if (lower(buffer[i]) != lower(name[static_cast<size_t>(i)])) return false;
    }
    return true;
}

void ClickCentre(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    tq3::fw::HeadlessBackend::Current()->Click(tq3::fw::InputEvent::Button::Left,
                                               POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

}  // namespace

ModalAnswer AnswerClick(int id, std::u16string className, std::u16string title) {
    return ModalAnswer{std::move(className), std::move(title), [id](HWND window) {
                           if (HWND control = UsableControl(window, id)) ClickCentre(control);
                       }};
}

ModalAnswer AnswerCheck(int id, bool checked, std::u16string className, std::u16string title) {
    return ModalAnswer{std::move(className), std::move(title), [id, checked](HWND window) {
                           HWND control = UsableControl(window, id);
                           if (control == nullptr) return;
                           bool shows = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
                           if (shows != checked) {
                               ClickCentre(control);
                           } else {
                               PostMessageW(window, WM_NULL, 0, 0);  // looked, found it right: go on
                           }
                       }};
}

ModalAnswer AnswerType(int id, std::u16string text, std::u16string className, std::u16string title) {
    return ModalAnswer{std::move(className), std::move(title), [id, text](HWND window) {
                           HWND control = UsableControl(window, id);
                           if (control == nullptr) return;
                           SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
                           if (IsClass(control, u"ComboBox")) {
                               SendMessageW(control, kComboSetEditSel, 0, MAKELPARAM(0, 0xFFFF));
                           } else {
                               SendMessageW(control, kEditSetSel, 0, -1);
                           }
                           tq3::fw::HeadlessBackend* backend = tq3::fw::HeadlessBackend::Current();
                           for (WCHAR ch : text) {
                               int vk = 0;
                               bool shift = false;
                               if (!detail::KeyForChar(ch, &vk, &shift)) {
                                   backend->TypeChar(ch);
                                   continue;
                               }
                               if (shift) backend->KeyDown(VK_SHIFT);
                               backend->KeyPress(vk);
                               if (shift) backend->KeyUp(VK_SHIFT);
                           }
                           PostMessageW(window, WM_NULL, 0, 0);  // an empty text still lets the loop go on
                       }};
}

ModalAnswer AnswerChoose(int id, int index, std::u16string className, std::u16string title) {
    return ModalAnswer{std::move(className), std::move(title), [id, index](HWND window) {
                           HWND control = UsableControl(window, id);
                           if (control == nullptr) return;
                           bool combo = IsClass(control, u"ComboBox");
                           UINT select = combo ? kComboSetCurSel : kListSetCurSel;
                           if (SendMessageW(control, select, static_cast<WPARAM>(index), 0) != index) {
                               detail::Fail(Describe(id, "the answer picks a list entry that does not exist"));
                               return;
                           }
                           PostMessageW(GetParent(control), WM_COMMAND,
                                        MAKEWPARAM(static_cast<WORD>(id), kSelChange),
                                        reinterpret_cast<LPARAM>(control));
                       }};
}

}  // namespace tq3::testing
