// A picture of the simple controls together, as a dialog would show them, saved
// as PNG in the test output for a person to look at; the group box, which no
// other test draws, is checked in it.
#include <cstdio>

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
