// A picture of the simple controls together, as a dialog would show them, saved
// as PNG in the test output for a person to look at; the parts a program can
// judge are checked here too.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "framework/gdi/png_image.h"
#include "framework/gdi/rgn.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

class ControlsScreenshotTest : public ControlsTest {};

TEST_F(ControlsScreenshotTest, SimpleControlsTogether) {
    Make(u"Static", u"Static text, left aligned:", SS_LEFT, RECT{12, 12, 250, 30}, 1);
    HWND right = Make(u"Static", u"right aligned", SS_RIGHT, RECT{250, 12, 388, 30}, 2);
    Make(u"Button", u"&Options", BS_GROUPBOX, RECT{12, 40, 250, 140}, 3);
    HWND check = Make(u"Button", u"&Checked check box", BS_AUTOCHECKBOX | WS_TABSTOP, RECT{24, 62, 240, 82}, 4);
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    Make(u"Button", u"Unchecked", BS_AUTOCHECKBOX, RECT{24, 86, 240, 106}, 5);
    Make(u"Button", u"Disabled", BS_AUTOCHECKBOX | WS_DISABLED, RECT{24, 110, 240, 130}, 6);
    HWND owner = Make(u"Button", u"Owner drawn", BS_OWNERDRAW, RECT{262, 48, 388, 78}, 7);
    Make(u"Button", u"Disabled", BS_PUSHBUTTON | WS_DISABLED, RECT{262, 88, 388, 114}, 8);
    HWND push = Make(u"Button", u"Cancel", BS_PUSHBUTTON, RECT{200, 250, 288, 276}, 10);
    HWND def = Make(u"Button", u"OK", BS_DEFPUSHBUTTON, RECT{300, 250, 388, 276}, 9);
    SetFocus(check);
    desktop.RunUntilIdle();
    (void)push;
    (void)def;
    (void)owner;

    // An inverted region drawn over the window: two overlapping rectangles
    // combined by XOR, so their overlap keeps its colours.
    HDC dc = GetDC(parent);
    HRGN a = CreateRectRgn(12, 160, 140, 230);
    HRGN b = CreateRectRgn(90, 190, 220, 240);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(both, a, b, RGN_XOR);
    COLORREF before = PixelAt(parent, 20, 170);
    InvertRgn(dc, both);
    ReleaseDC(parent, dc);
    EXPECT_EQ(PixelAt(parent, 20, 170), before ^ 0x00FFFFFF) << "inside one rectangle: inverted";
    EXPECT_EQ(PixelAt(parent, 100, 200), GetSysColor(COLOR_BTNFACE)) << "the overlap: flipped twice";

    // What can be judged by a program: the right-aligned label ends at its edge,
    // the check box is checked, the default button is ringed.
    auto ink = InkColumns(right, RECT{0, 0, 138, 18}, GetSysColor(COLOR_BTNFACE));
    EXPECT_GE(ink.second, 135);
    EXPECT_GT(CountDark(check, RECT{2, 5, 11, 14}), 6);
    EXPECT_EQ(PixelAt(def, 0, 0), GetSysColor(COLOR_WINDOWFRAME));

    const char* env = std::getenv("TQ3_TEST_OUTPUT");
    std::filesystem::path folder =
        (env ? std::filesystem::path(env) : std::filesystem::temp_directory_path()) / "controls";
    std::filesystem::create_directories(folder);
    std::filesystem::path file = folder / "simple_controls.png";
    RECT area;
    GetWindowRect(parent, &area);
    ASSERT_TRUE(tq3::fw::SavePng(tq3::fw::DesktopSurface(), &area, file.string()));
    std::printf("screenshot: %s\n", file.string().c_str());
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(both);
}

}  // namespace
}  // namespace tq3::test
