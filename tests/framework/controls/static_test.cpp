// The "STATIC" class: text placement, prefixes, repainting on change, icons, and
// clicks that pass through a label to its parent.
#include <string>
#include <tuple>
#include <vector>

#include "framework/app/afxwin.h"
#include "tests/framework/controls/controls_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Msg;

class StaticTest : public ControlsTest {
protected:
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
};

TEST_F(StaticTest, TextIsPlacedAsTheAlignmentStyleSays) {
    const int width = 300;
    struct Case {
        DWORD style;
        const char* name;
    };
    std::vector<std::pair<int, int>> inks;
    for (const Case& c : {Case{SS_LEFT, "left"}, Case{SS_CENTER, "centre"}, Case{SS_RIGHT, "right"}}) {
        HWND s = Make(u"STATIC", u"Label text", c.style, RECT{10, 10, 10 + width, 30});
        inks.push_back(InkColumns(s, RECT{0, 0, width, 20}, face));
        DestroyWindow(s);
        desktop.RunUntilIdle();
    }
    auto [left, centre, right] = std::tuple(inks[0], inks[1], inks[2]);
    ASSERT_GE(left.first, 0);
    EXPECT_LE(left.first, 2);
    EXPECT_GE(right.second, width - 3);
    EXPECT_LE(right.second, width - 1);
    EXPECT_NEAR(centre.first, width - 1 - centre.second, 2);
    // The same text, the same width of ink, wherever it goes.
    EXPECT_EQ(left.second - left.first, right.second - right.first);
    EXPECT_EQ(left.second - left.first, centre.second - centre.first);
}

TEST_F(StaticTest, LongTextWrapsUnlessTheStyleSaysOtherwise) {
    const std::u16string text = u"one two three four five six seven eight nine ten";
    HWND wrap = Make(u"Static", text.c_str(), SS_LEFT, RECT{10, 10, 110, 110});
    HWND simple = Make(u"Static", text.c_str(), SS_SIMPLE, RECT{120, 10, 220, 110});
    auto lines = [&](HWND s) {
        int rows = 0;
        for (int y = 0; y < 100; ++y) rows += CountDark(s, RECT{0, y, 100, y + 1}) > 0;
        return rows;
    };
    EXPECT_GT(lines(wrap), 2 * lines(simple));
}

TEST_F(StaticTest, PrefixesAreMarksUnlessNoPrefix) {
    HWND marked = Make(u"Static", u"&&&&&&", SS_LEFT, RECT{10, 10, 200, 30});
    HWND plain = Make(u"Static", u"&&&&&&", SS_LEFT | SS_NOPREFIX, RECT{10, 40, 200, 60});
    auto a = InkColumns(marked, RECT{0, 0, 190, 20}, face);
    auto b = InkColumns(plain, RECT{0, 0, 190, 20}, face);
    ASSERT_GE(a.first, 0);
    // Doubled ampersands draw one each with prefixes on: half as many glyphs.
    EXPECT_GT(b.second - b.first, 2 * (a.second - a.first) - 4);
}

TEST_F(StaticTest, TextFontAndEnableChangesRepaint) {
    HWND s = Make(u"Static", u"i", SS_LEFT, RECT{10, 10, 210, 50});
    const RECT all{0, 0, 200, 40};
    int before = CountDark(s, all);
    ASSERT_GT(before, 0);
    SetWindowTextW(s, u"Much longer text");
    desktop.RunUntilIdle();
    int longer = CountDark(s, all);
    EXPECT_GT(longer, before);

    LOGFONTW lf = tq3::fw::DefaultGuiLogFont();
    lf.lfHeight = -26;
    HFONT big = CreateFontIndirectW(&lf);
    SendMessageW(s, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    desktop.RunUntilIdle();
    EXPECT_EQ(CountDark(s, all), longer) << "no redraw asked";
    EXPECT_EQ(SendMessageW(s, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
    InvalidateRect(s, nullptr, TRUE);
    desktop.RunUntilIdle();
    EXPECT_GT(CountDark(s, all), longer);

    EnableWindow(s, FALSE);
    desktop.RunUntilIdle();
    EXPECT_EQ(CountDark(s, all), 0);
    EXPECT_GT(CountBeyond(s, all, 200), 0) << "grey text instead";
    DestroyWindow(s);
    DeleteObject(big);
}

TEST_F(StaticTest, IconStaticTakesItsIconsSize) {
    const COLORREF green = RGB(0, 160, 0);
    HICON icon = SolidIcon(32, green);
    HICON other = SolidIcon(32, RGB(0, 0, 160));
    HWND s = Make(u"Static", u"", SS_ICON, RECT{10, 10, 20, 20});
    EXPECT_EQ(SendMessageW(s, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0), 0);
    desktop.RunUntilIdle();
    RECT rc;
    GetClientRect(s, &rc);
    EXPECT_EQ(rc.right, 32);
    EXPECT_EQ(rc.bottom, 32);
    EXPECT_EQ(CountIn(s, rc, green), 32 * 32);
    EXPECT_EQ(SendMessageW(s, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageW(s, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(other)), 0) << "not an icon";
    EXPECT_EQ(SendMessageW(s, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(other)),
              reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageW(s, STM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(other));

    // A text static ignores icons; CStatic speaks the same messages.
    CStatic label;
    ASSERT_TRUE(label.Create(u"Text", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(50, 10, 150, 30),
                             CWnd::FromHandle(parent)));
    EXPECT_EQ(label.SetIcon(icon), nullptr);
    EXPECT_EQ(label.GetIcon(), nullptr);
    label.DestroyWindow();
    DestroyWindow(s);
    DestroyIcon(icon);
    DestroyIcon(other);
}

TEST_F(StaticTest, ClicksPassThroughALabelUnlessItNotifies) {
    HWND label = Make(u"Static", u"Label", SS_LEFT, RECT{10, 10, 110, 30}, 200);
    HWND notifying = Make(u"Static", u"Link", SS_LEFT | SS_NOTIFY, RECT{10, 40, 110, 60}, 201);
    tq3::testing::MessageSpy spy;
    spy.Watch(parent, "parent");
    spy.KeepOnly({WM_LBUTTONDOWN, WM_COMMAND});
    desktop.Click(label, POINT{5, 5});
    desktop.Click(notifying, POINT{5, 5});
    auto result = spy.Compare({Msg(WM_LBUTTONDOWN).Point(15, 15), Command(STN_CLICKED, 201)});
    EXPECT_TRUE(result) << result.report;
    EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

}  // namespace
}  // namespace tq3::test
