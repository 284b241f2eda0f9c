// The demo's own words in the five user-interface languages: the window title,
// the status labels, the names of the sheets it builds, its menu bar and the
// title of the table's bar. The table view's own
// menus, dialogs and messages come from the library's language resources.
#pragma once

#include <string_view>

#include "framework/core/wintypes.h"

namespace tq3::demo {

struct DemoTexts {
    LPCWSTR appTitle;       // the main window's title before the status
    LPCWSTR sheetLabel;     // "sheet"
    LPCWSTR cursorLabel;    // "cursor"
    LPCWSTR changedLabel;   // "changed"
    LPCWSTR noneText;       // shown for a hook that has not reported yet
    LPCWSTR zonesSheet;     // sheet names
    LPCWSTR countriesSheet;
    LPCWSTR ioPointsSheet;
    LPCWSTR latitude;       // derived columns of the time zone and country sheets
    LPCWSTR longitude;
    LPCWSTR zoneCount;
    LPCWSTR problemTitle;   // the column of a sheet whose file could not be read
    // The menu bar: the Edit menu and its items, the View menu and its items.
    LPCWSTR editMenu;
    LPCWSTR undo;
    LPCWSTR cut;
    LPCWSTR copy;
    LPCWSTR paste;
    LPCWSTR find;
    LPCWSTR replace;
    LPCWSTR viewMenu;
    LPCWSTR font;
    LPCWSTR tableMenu;  // the View menu's item that shows and hides the table's bar
    LPCWSTR tableBar;   // the bar's title, the caption of its floating frame
};

// Language numbers: 0 English, 1 Japanese, 2 simplified Chinese, 3 traditional
// Chinese, 4 Korean. Any other number gives the English texts.
const DemoTexts& TextsFor(int language);

// "enu", "jpn", "chs", "cht", "kor" (any case) to 0-4; -1 for anything else.
int LanguageFromCode(std::string_view code);
const char* LanguageCode(int language);

}  // namespace tq3::demo
