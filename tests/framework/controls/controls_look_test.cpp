// The three text controls side by side in their states, saved as one picture for a
// person to look at (controls_states.png in the test output's controls folder):
// edit boxes focused with a selection, read-only, disabled, with a password and
// with several lines; list boxes with one and with several items selected and a
// disabled one; drop-down combo boxes of both kinds, a disabled one and one with
// its list dropped. The assertions hold what the picture must show.
#include <string>

#include "framework/controls/combo_box.h"
#include "framework/controls/edit.h"
#include "tests/framework/controls/controls_fixture.h"
#include "tests/support/test_output.h"

namespace tq3::test {
namespace {

using tq3::testing::CaptureDesktop;

class ControlsLookTest : public ControlsTest {};

TEST_F(ControlsLookTest, EveryStateOfTheTextControlsShowsInOnePicture) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);

    HWND focused = Make(WC_EDITW, u"Selected words", ES_AUTOHSCROLL | WS_BORDER, RECT{10, 10, 130, 32}, 1);
    Make(WC_EDITW, u"Read-only", ES_READONLY | WS_BORDER, RECT{10, 40, 130, 62}, 2);
    HWND disabled = Make(WC_EDITW, u"Disabled", WS_BORDER | WS_DISABLED, RECT{10, 70, 130, 92}, 3);
    HWND password = Make(WC_EDITW, u"secret", ES_PASSWORD | WS_BORDER, RECT{10, 100, 130, 122}, 4);
    Make(WC_EDITW, u"Notes of\r\nseveral\r\nlines,\r\nmore than\r\nthe box\r\nshows",
         ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | WS_BORDER, RECT{10, 130, 130, 200}, 5);

    const RECT listBox{140, 10, 260, 90};
    HWND single = Make(WC_LISTBOXW, nullptr, WS_BORDER | WS_VSCROLL | LBS_NOTIFY, listBox, 6);
    HWND extended = Make(WC_LISTBOXW, nullptr, WS_BORDER | LBS_EXTENDEDSEL, RECT{140, 100, 260, 160}, 7);
    HWND off = Make(WC_LISTBOXW, nullptr, WS_BORDER | WS_DISABLED, RECT{140, 170, 260, 210}, 8);
    for (HWND list : {single, extended, off}) {
        for (const char16_t* item : {u"Alpha", u"Bravo", u"Charlie", u"Delta", u"Echo", u"Foxtrot"}) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
    }
    SendMessageW(single, LB_SETCURSEL, 2, 0);
    SendMessageW(extended, LB_SETSEL, TRUE, 0);
    SendMessageW(extended, LB_SETSEL, TRUE, 2);

    HWND pick = Make(WC_COMBOBOXW, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, RECT{270, 10, 390, 150}, 9);
    HWND typed = Make(WC_COMBOBOXW, nullptr, CBS_DROPDOWN | WS_VSCROLL, RECT{270, 40, 390, 180}, 10);
    HWND greyed = Make(WC_COMBOBOXW, nullptr, CBS_DROPDOWNLIST | WS_DISABLED, RECT{270, 70, 390, 210}, 11);
    HWND dropped = Make(WC_COMBOBOXW, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, RECT{270, 100, 390, 240}, 12);
    for (HWND combo : {pick, typed, greyed, dropped}) {
        for (const char16_t* item : {u"North", u"East", u"South", u"West"}) {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
    }
    SetWindowTextW(typed, u"Typed text");

    SetFocus(focused);
    SendMessageW(focused, EM_SETSEL, 0, 8);
    SendMessageW(dropped, CB_SHOWDROPDOWN, TRUE, 0);
    desktop.RunUntilIdle();

    // What the other tests do not look at: several rows of a list highlighted at
    // once, and a disabled list, edit box and combo box in grey without highlight.
    for (int item = 0; item < 3; ++item) {
        RECT row;
        SendMessageW(extended, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&row));
        EXPECT_EQ(WindowPixel(extended, POINT{row.right - 3, row.top + 1}) == highlight, item != 1) << item;
    }
    EXPECT_EQ(CaptureWindow(off).Count(highlight), 0);
    EXPECT_GT(CaptureWindow(disabled).Count(grey), 0);
    EXPECT_GT(CaptureWindow(greyed).Count(grey), 0);
    const auto mask = static_cast<WCHAR>(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0));
    ASSERT_NE(mask, 0);
    RECT list;
    SendMessageW(dropped, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));

    RECT whole;
    GetWindowRect(parent, &whole);
    whole.bottom = std::max(whole.bottom, list.bottom);
    EXPECT_TRUE(CaptureDesktop(whole).SavePng(OutputPath("controls", "controls_states.png")));

    // Beside the picture: a plain box holding six of the password character looks
    // exactly like the password box.
    HWND masked = Make(WC_EDITW, std::u16string(6, mask).c_str(), WS_BORDER, RECT{10, 250, 130, 272}, 13);
    EXPECT_EQ(CaptureWindow(masked).Picture(0), CaptureWindow(password).Picture(0));
}

}  // namespace
}  // namespace tq3::test
