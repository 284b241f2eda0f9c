// A picture of the simple controls together, as a dialog would show them, saved
// as PNG in the test output for a person to look at; the group box, which no
// other test draws, is checked in it.
#include <cstdio>

#include "framework/controls/combo_box.h"
#include "tests/framework/controls/controls_fixture.h"
#include "tests/support/test_output.h"

namespace tq3::test {
namespace {

TEST_F(ControlsTest, SimpleControlsTogether) {
    Make(u"Static", u"Static text, left aligned:", SS_LEFT, RECT{12, 12, 250, 30}, 1);
    Make(u"Static", u"right aligned", SS_RIGHT, RECT{250, 12, 388, 30}, 2);
    HWND group = Make(u"Button", u"&Options", BS_GROUPBOX, RECT{12, 40, 250, 140}, 3);
    HWND check = Make(u"Button", u"&Checked check box", BS_AUTOCHECKBOX | WS_TABSTOP, RECT{24, 62, 240, 82}, 4);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    Make(u"Button", u"Unchecked", BS_AUTOCHECKBOX, RECT{24, 86, 240, 106}, 5);
    Make(u"Button", u"Disabled", BS_AUTOCHECKBOX | WS_DISABLED, RECT{24, 110, 240, 130}, 6);
    Make(u"Button", u"Owner drawn", BS_OWNERDRAW, RECT{262, 48, 388, 78}, 7);
    Make(u"Button", u"Disabled", BS_PUSHBUTTON | WS_DISABLED, RECT{262, 88, 388, 114}, 8);
    Make(u"Button", u"Cancel", BS_PUSHBUTTON, RECT{200, 250, 288, 276}, 10);
    Make(u"Button", u"OK", BS_DEFPUSHBUTTON, RECT{300, 250, 388, 276}, 9);
    SetFocus(check);
    desktop.RunUntilIdle();
    // The group box's etched frame: a shadow line with a highlight beside it on
    // the left, the highlight alone along the bottom; its title is drawn.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(WindowPixel(group, {0, 60}), shadow);
    EXPECT_EQ(WindowPixel(group, {1, 60}), light);
    EXPECT_EQ(WindowPixel(group, {120, 99}), light);
    EXPECT_GT(CountDark(group, RECT{8, 0, 80, 14}), 10) << "the title";

    const std::string path = OutputPath("controls", "simple_controls.png");
    ASSERT_TRUE(tq3::testing::SaveScreenshot(parent, path));
    std::printf("screenshot: %s\n", path.c_str());
}

}  // namespace
}  // namespace tq3::test

namespace tq3::test {
namespace {

// The list and combo boxes in their states, as a small dialog shows them: plain,
// focused, disabled, with several items selected, owner-drawn, a combo box's
// field focused and disabled, and one combo box dropped down over the others.
// Saved as PNG of the desktop, since the dropped list is a window of its own.
TEST_F(ControlsTest, ListsAndCombosInTheirStates) {
    const auto fill = [](HWND hwnd, UINT add, int n) {
        static const WCHAR* kWords[] = {u"Alpha", u"Bravo", u"Charlie", u"Delta", u"Echo", u"Foxtrot", u"Golf"};
        for (int i = 0; i < n; ++i) SendMessageW(hwnd, add, 0, reinterpret_cast<LPARAM>(kWords[i % 7]));
    };
    Make(u"Static", u"Lists:", SS_LEFT, RECT{12, 8, 200, 24}, 1);
    HWND plain = Make(WC_LISTBOXW, nullptr, WS_BORDER | WS_VSCROLL | LBS_NOTIFY, RECT{12, 26, 102, 110}, 2);
    fill(plain, LB_ADDSTRING, 7);
    SendMessageW(plain, LB_SETCURSEL, 1, 0);
    HWND extended = Make(WC_LISTBOXW, nullptr, WS_BORDER | LBS_EXTENDEDSEL, RECT{108, 26, 198, 110}, 3);
    fill(extended, LB_ADDSTRING, 5);
    SendMessageW(extended, LB_SELITEMRANGE, TRUE, MAKELPARAM(1, 3));
    HWND disabled = Make(WC_LISTBOXW, nullptr, WS_BORDER | WS_DISABLED, RECT{204, 26, 294, 110}, 4);
    fill(disabled, LB_ADDSTRING, 4);
    SendMessageW(disabled, LB_SETCURSEL, 0, 0);
    HWND owner = Make(WC_LISTBOXW, nullptr, WS_BORDER | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, RECT{300, 26, 390, 110}, 5);
    fill(owner, LB_ADDSTRING, 3);
    SendMessageW(owner, LB_SETCURSEL, 2, 0);

    Make(u"Static", u"Combo boxes:", SS_LEFT, RECT{12, 120, 200, 136}, 6);
    HWND focused = Make(WC_COMBOBOXW, nullptr, CBS_DROPDOWNLIST, RECT{12, 138, 140, 240}, 7);
    fill(focused, CB_ADDSTRING, 5);
    SendMessageW(focused, CB_SETCURSEL, 2, 0);
    HWND off = Make(WC_COMBOBOXW, nullptr, CBS_DROPDOWNLIST | WS_DISABLED, RECT{150, 138, 278, 240}, 8);
    fill(off, CB_ADDSTRING, 2);
    SendMessageW(off, CB_SETCURSEL, 0, 0);
    HWND dropped = Make(WC_COMBOBOXW, nullptr, CBS_DROPDOWNLIST | CBS_SORT, RECT{12, 180, 140, 280}, 9);
    fill(dropped, CB_ADDSTRING, 7);
    SendMessageW(dropped, CB_SETCURSEL, 3, 0);
    SetFocus(plain);
    SetFocus(focused);
    desktop.RunUntilIdle();
    SendMessageW(dropped, CB_SHOWDROPDOWN, TRUE, 0);
    desktop.RunUntilIdle();
    EXPECT_NE(SendMessageW(dropped, CB_GETDROPPEDSTATE, 0, 0), 0);

    const std::string path = OutputPath("controls", "lists_and_combos.png");
    ASSERT_TRUE(tq3::testing::SaveScreenshot(path));
    std::printf("screenshot: %s\n", path.c_str());
}

}  // namespace
}  // namespace tq3::test
