// A picture of the simple controls together, as a dialog would show them, saved
// as PNG in the test output for a person to look at, with an inverted region
// drawn over them.
#include <cstdio>

#include "framework/gdi/rgn.h"
#include "tests/framework/controls/controls_fixture.h"
#include "tests/support/test_output.h"

namespace tq3::test {
namespace {

TEST_F(ControlsTest, SimpleControlsTogether) {
    Make(u"Static", u"Static text, left aligned:", SS_LEFT, RECT{12, 12, 250, 30}, 1);
    Make(u"Static", u"right aligned", SS_RIGHT, RECT{250, 12, 388, 30}, 2);
    Make(u"Button", u"&Options", BS_GROUPBOX, RECT{12, 40, 250, 140}, 3);
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

    // Two overlapping rectangles combined by XOR and inverted: their overlap keeps
    // its colours.
    HDC dc = GetDC(parent);
    HRGN a = CreateRectRgn(12, 160, 140, 230);
    HRGN b = CreateRectRgn(90, 190, 220, 240);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(both, a, b, RGN_XOR);
    const COLORREF before = WindowPixel(parent, {20, 170});
    InvertRgn(dc, both);
    ReleaseDC(parent, dc);
    EXPECT_EQ(WindowPixel(parent, {20, 170}), tq3::testing::Inverted(before)) << "inside one rectangle: inverted";
    EXPECT_EQ(WindowPixel(parent, {100, 200}), GetSysColor(COLOR_BTNFACE)) << "the overlap: flipped twice";

    const std::string path = OutputPath("controls", "simple_controls.png");
    ASSERT_TRUE(tq3::testing::SaveScreenshot(parent, path));
    std::printf("screenshot: %s\n", path.c_str());
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(both);
}

}  // namespace
}  // namespace tq3::test
