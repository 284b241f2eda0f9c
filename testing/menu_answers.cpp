// Scripted answers for pop-up menus: the user clicks an item found by its
// command or by the text it shows.
#include <string>

#include "framework/backends/headless/headless_backend.h"
#include "framework/menus/menu.h"
#include "tq3view/testing.h"

namespace tq3::testing {
namespace {

// The text an item shows: its label without the mnemonic's '&' and without the
// accelerator after the tab.
std::u16string Shown(std::u16string_view text) {
    text = text.substr(0, text.find(u'\t'));
    std::u16string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

std::u16string ItemText(HMENU menu, int position) {
    int length = GetMenuStringW(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    GetMenuStringW(menu, static_cast<UINT>(position), text.data(), length + 1, MF_BYPOSITION);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Clicks the first item of the menu `window` shows for which `matches` holds.
ModalAnswer ClickItem(std::function<bool(HMENU, int)> matches, std::string what) {
    return ModalAnswer{kPopupMenuClass, {}, [matches = std::move(matches), what = std::move(what)](HWND window) {
                           auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
                           for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                               RECT r{};
                               if (!matches(menu, i) || !GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r)) continue;
                               tq3::fw::HeadlessBackend::Current()->Click(
                                   tq3::fw::InputEvent::Button::Left,
                                   POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
                               return;
                           }
                           detail::Fail("the menu showing has no item " + what);
                       }};
}

}  // namespace

ModalAnswer AnswerMenuItem(UINT id) {
    return ClickItem(
        [id](HMENU menu, int i) {
            return !(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_POPUP | MF_SEPARATOR)) &&
                   GetMenuItemID(menu, i) == id;
        },
        "with the command " + std::to_string(id));
}

ModalAnswer AnswerMenuItem(std::u16string text) {
    std::string what = "showing \"" + Narrow(text) + "\"";
    return ClickItem(
        [text = std::move(text)](HMENU menu, int i) {
            std::u16string full = ItemText(menu, i);
            return !full.empty() && (full == text || Shown(full) == text);
        },
        std::move(what));
}

}  // namespace tq3::testing
