// A menu bar on a top-level window: SetMenu, GetMenu and DrawMenuBar, the bar
// painted in the row the window manager leaves under the caption, and the
// bar run from a click on it, F10, Alt alone or Alt with a mnemonic letter.
#include <cwctype>

#include "framework/core/geometry.h"
#include "framework/gdi/dc.h"
#include "framework/menus/menus_internal.h"
#include "framework/window/menu_bar_hooks.h"

namespace tq3::fw::menus {
namespace {

void PaintHook(HWND window, HDC dc, const RECT& bar) {
    Menu* m = MenuOf(GetMenu(window));
    if (m == nullptr) {
        return;
    }
    LayOutBar(m, bar.right - bar.left);
    // Mnemonics are underlined while the bar is worked from the keyboard.
    PaintBar(dc, m, bar, m->highlight >= 0);
}

int ItemWithMnemonic(HMENU menu, WCHAR key) {
    Menu* m = MenuOf(menu);
    if (m == nullptr) return -1;
    key = static_cast<WCHAR>(std::towlower(key));
    for (size_t i = 0; i < m->items.size(); ++i) {
        if (MnemonicOf(m->items[i]) == key) return static_cast<int>(i);
    }
    return -1;
}

void TrackHook(HWND window, POINT screen, bool keyboard, WCHAR key) {
    HMENU menu = GetMenu(window);
    if (!keyboard) {
        Menu* m = MenuOf(menu);
        RECT bar{};
        if (m == nullptr || !MenuBarRect(window, &bar)) return;
        int item = ItemAt(m, POINT{screen.x - bar.left, screen.y - bar.top});
        if (item >= 0) TrackBar(window, item, false);
        return;
    }
    if (key != 0) {
        int item = ItemWithMnemonic(menu, key);
        if (item >= 0) TrackBar(window, item, true);
        return;
    }
    TrackBar(window, -1, true);
}

const bool kHooked = [] {
    SetMenuBarHooks(MenuBarHooks{PaintHook, TrackHook});
    return true;
}();

}  // namespace

bool MenuBarRect(HWND window, RECT* screen) {
    RECT bar{}, frame{};
    if (!GetMenuBarRect(window, &bar) || !GetWindowRect(window, &frame)) return false;
    if (Menu* m = MenuOf(GetMenu(window))) LayOutBar(m, bar.right - bar.left);
    OffsetRect(&bar, frame.left, frame.top);
    *screen = bar;
    return true;
}

}  // namespace tq3::fw::menus

using namespace tq3::fw::menus;

BOOL SetMenu(HWND window, HMENU menu) {
    if (!IsWindow(window) || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) return FALSE;
    Menu* m = MenuOf(menu);
    if (menu != nullptr && (m == nullptr || !m->bar)) return FALSE;
    if (Menu* old = MenuOf(GetMenu(window)); old != nullptr && old != m) old->window = nullptr;
    if (m != nullptr) m->window = window;
    // A top-level window's id is its menu; the frame changes height with it.
    SetWindowLongPtrW(window, GWLP_ID, reinterpret_cast<LONG_PTR>(menu));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

HMENU GetMenu(HWND window) {
    if (!IsWindow(window) || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) return nullptr;
    auto menu = reinterpret_cast<HMENU>(GetWindowLongPtrW(window, GWLP_ID));
    return MenuOf(menu) != nullptr ? menu : nullptr;
}

BOOL DrawMenuBar(HWND window) {
    if (GetMenu(window) == nullptr) return FALSE;
    HDC dc = GetWindowDC(window);
    if (dc == nullptr) return FALSE;
    RECT bar{};
    if (tq3::fw::GetMenuBarRect(window, &bar)) PaintHook(window, dc, bar);
    ReleaseDC(window, dc);
    return TRUE;
}
