// What the menu files share: the objects behind HMENU, item lookup, layout and
// painting of a menu, and the tracking state of the menu showing now. Private
// to framework/menus/.
#pragma once

#include <string>
#include <vector>

#include "framework/menus/menu.h"

namespace tq3::fw::menus {

struct Item {
    UINT flags = 0;         // MF_ type and state bits (MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_CHECKED...)
    UINT id = 0;            // the command; 0 for separators and pop-up items
    HMENU sub = nullptr;    // the submenu a pop-up item opens
    ULONG_PTR data = 0;     // the application's value (MIIM_DATA)
    std::u16string text;    // label, with its mnemonic and, after a tab, its accelerator
    RECT rect{0, 0, 0, 0};  // where it lies in the menu's window (client coordinates) once laid out
};

struct Menu {
    std::vector<Item> items;
    bool bar = false;       // made by CreateMenu: a menu bar lays its items out in a row
    HMENU parent = nullptr; // the menu holding the pop-up item that opens this one
    HWND window = nullptr;  // the pop-up window showing it, or the window whose bar it is
    int highlight = -1;     // the item shown selected while the menu is tracked
    int firstShown = 0;     // the first item shown when the desktop is too short for all
};

// The object behind a handle; null for a handle that names no live menu.
Menu* MenuOf(HMENU menu);
HMENU HandleOf(Menu* menu);

// The item `item` names by position or by command (searching submenus); null
// when none. *holder receives the menu that holds it.
Item* FindItem(HMENU menu, UINT item, UINT flags, HMENU* holder = nullptr, int* index = nullptr);

bool IsSeparator(const Item& item);
bool IsDisabled(const Item& item);  // MF_GRAYED or MF_DISABLED: cannot be picked

// The label without its accelerator part, and the accelerator part alone.
std::u16string_view LabelOf(const Item& item);
std::u16string_view AcceleratorOf(const Item& item);
// The mnemonic letter (after '&'), lower-cased; 0 when none.
WCHAR MnemonicOf(const Item& item);

// ---- Layout and painting (menu_paint.cpp) ---------------------------------------------------
// The font menus draw with (the desktop's menu font); shared, never deleted.
HFONT MenuFont();
// Lays a pop-up menu's items out in a column and returns the window size it
// needs, capped to `maxHeight` (the menu then shows a window of its items).
SIZE LayOutPopup(Menu* menu, int maxHeight);
// Lays a bar's items out in one row of a window `width` pixels wide; returns its height.
int LayOutBar(Menu* menu, int width);
void PaintPopup(HDC dc, Menu* menu, const RECT& client);
void PaintBar(HDC dc, Menu* menu, const RECT& bar, bool underlineMnemonics);
// The item at a point of the menu's window (client coordinates); -1 for none.
int ItemAt(const Menu* menu, POINT client);
// Makes the highlighted item of a scrolled pop-up visible; true when it scrolled.
bool ScrollToHighlight(Menu* menu, int clientHeight);

// ---- The pop-up window (menu_window.cpp) --------------------------------------------------------
bool RegisterPopupClass();
HWND CreatePopupWindow(HMENU menu, HWND owner);

// Whether `window` is one of the windows of the menu tracked now (a pop-up or
// the window whose bar is tracked).
bool IsTrackingWindow(HWND window);

// ---- Menu bars (menu_bar.cpp, menu_track.cpp) ---------------------------------------------------
// The bar's row in screen coordinates, its items laid out; false when the window has none.
bool MenuBarRect(HWND window, RECT* screen);
// Runs the bar of `window` with item `item` open (from a click or a mnemonic),
// or with the first item selected and nothing open (item -1: F10 or Alt alone).
// Returns the command picked, which is also posted to the window as WM_COMMAND;
// 0 when none.
UINT TrackBar(HWND window, int item, bool byKeyboard);

}  // namespace tq3::fw::menus
