// The sheet tab strip: the tab list, tab geometry and shapes, scrolling by the
// arrow buttons and by size changes, and its pixels (the current tab open towards
// the sheet, the arrows and their greyed look). A tab click is the view's to check.
#include <algorithm>
#include <string>

#include "headers/sheet_tab_wnd.h"
#include "tests/headers/header_test_support.h"
#include "tests/support/spy_expect.h"

namespace tq3::test {
namespace {

using tq3::testing::Notify;

constexpr int kTabHeight = 18;
constexpr int kArrows = 4 * kTabHeight + 1;

class SheetTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Make(CRect(0, 0, 700, 400)));
        strip.font.CreatePointFont(90, u"MS UI Gothic");
        strip.tabHeight = kTabHeight;
        ASSERT_TRUE(strip.Create(&parent));
        desktop.RunUntilIdle();
    }
    void TearDown() override {
        if (parent.m_hWnd != nullptr) parent.DestroyWindow();
    }

    void AddTabs(int count) {
        for (int i = 0; i < count; ++i) {
            std::u16string name = u"Sheet " + std::u16string(1, static_cast<char16_t>(u'A' + i));
            strip.InsertItem(strip.GetItemCount(), name.c_str());
        }
    }
    void Place(int width) {
        strip.MoveWindow(0, 300, width, kTabHeight + 2);
        desktop.RunUntilIdle();
    }
    int LabelWidth(int index) {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CFont* old = dc.SelectObject(&strip.font);
        const int w = dc.GetTextExtent(strip.GetItemText(index)).cx;
        dc.SelectObject(old);
        return w;
    }
    // The enabled states of first, previous, next and last as "1100".
    std::string ArrowStates() {
        std::string s;
        for (int i = 0; i < 4; ++i) s += strip.arrows[i].IsWindowEnabled() ? '1' : '0';
        return s;
    }
    void Press(CSheetTabWnd::Arrow arrow) {
        CRect r;
        strip.arrows[arrow].GetClientRect(&r);
        desktop.Click(strip.arrows[arrow].m_hWnd, r.CenterPoint());
    }
    int Left(int index) { return strip.GetItemRect(index).left - kArrows; }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    NotifyParent parent;
    CSheetTabWnd strip;
    tq3::testing::MessageSpy spy;
};

TEST_F(SheetTabTest, InsertionResultsAndTheSelectionNotice) {
    EXPECT_EQ(strip.InsertItem(5, u"first"), 0);  // any index takes the first tab, which becomes current
    EXPECT_EQ(strip.GetCurSel(), 0);
    EXPECT_EQ(strip.InsertItem(1, u"third"), 1);
    EXPECT_EQ(strip.InsertItem(1, u"second"), 2);
    EXPECT_EQ(strip.InsertItem(4, u"too far"), -1);
    EXPECT_EQ(strip.GetItemText(2), CString(u"third"));

    spy.Watch(parent.m_hWnd, "parent");
    spy.KeepOnly({WM_NOTIFY});
    EXPECT_EQ(strip.SetCurSel(2), 0);
    EXPECT_EQ(strip.SetCurSel(2), 2);   // already current: the view is told again
    EXPECT_EQ(strip.SetCurSel(3), -1);  // no such tab: nothing is sent
    EXPECT_TRUE(Same(spy.Compare({Notify(TCN_SELCHANGE, kSheetTabId), Notify(TCN_SELCHANGE, kSheetTabId)})));
    ASSERT_EQ(parent.heard.size(), 2u);
    EXPECT_EQ(parent.heard[0].from, strip.m_hWnd);
}

TEST_F(SheetTabTest, GeometryAndShapes) {
    AddTabs(3);
    int left = kArrows;
    for (int i = 0; i < 3; ++i) {
        const int w = LabelWidth(i);
        EXPECT_EQ(strip.GetItemRect(i), CRect(left, 0, left + w + 2 * kTabHeight, kTabHeight)) << "tab " << i;
        left += w + 2 * kTabHeight + 1;
    }
    EXPECT_EQ(strip.TotalWidth(), left - kArrows);
    EXPECT_TRUE(strip.GetItemRect(3).IsRectNull());

    // The shape is wide at the top and narrower by h/2 at each end of the bottom.
    const CRect box = strip.GetItemRect(1);
    CRgn shape;
    ASSERT_EQ(strip.GetItemRgn(1, shape), 1);
    struct Case {
        int x, y;
        bool inside;
    };
    const Case cases[] = {
        {box.left, 0, true}, {box.left + 2, kTabHeight - 1, false}, {box.left + 9 + 1, kTabHeight - 1, true},
        {box.right - 9 - 2, kTabHeight - 1, true}, {box.right - 2, kTabHeight - 1, false},
    };
    for (const Case& c : cases) EXPECT_EQ(shape.PtInRegion(c.x, c.y) != FALSE, c.inside) << c.x << "," << c.y;
    EXPECT_EQ(strip.GetItemRgn(3, shape), 0);
}

TEST_F(SheetTabTest, ArrowsScrollTheRow) {
    AddTabs(8);
    const int width = 400;
    Place(width);
    const int most = strip.MaxScroll(width);
    ASSERT_GT(most, Left(3));
    EXPECT_EQ(strip.scrollPos, 0);
    EXPECT_EQ(ArrowStates(), "0011");

    struct Step {
        CSheetTabWnd::Arrow arrow;
        int scrollPos;
        const char* states;
    };
    const Step steps[] = {
        {CSheetTabWnd::kNext, Left(1), "1111"},
        {CSheetTabWnd::kPrevious, 0, "0011"},
        {CSheetTabWnd::kLast, most, "1100"},
        {CSheetTabWnd::kFirst, 0, "0011"},
    };
    parent.SetFocus();
    for (const Step& s : steps) {
        Press(s.arrow);
        // The keyboard stays with the view.
        EXPECT_EQ(CWnd::GetFocus(), &parent) << "arrow " << s.arrow;
        EXPECT_EQ(strip.scrollPos, s.scrollPos) << "arrow " << s.arrow;
        EXPECT_EQ(ArrowStates(), s.states) << "arrow " << s.arrow;
    }

    // Previous with the left-edge tab cut by the edge shows that tab whole; the
    // next Previous goes to the tab before it.
    for (int i = 0; i < 3; ++i) Press(CSheetTabWnd::kNext);
    ASSERT_EQ(strip.scrollPos, Left(3));
    strip.scrollPos += 5;
    Press(CSheetTabWnd::kPrevious);
    EXPECT_EQ(strip.scrollPos, Left(3));
    Press(CSheetTabWnd::kPrevious);
    EXPECT_EQ(strip.scrollPos, Left(2));

    // Next never passes the end: from the last tab at the left edge it goes to M.
    strip.scrollPos = Left(7);
    Press(CSheetTabWnd::kNext);
    EXPECT_EQ(strip.scrollPos, most);
}

TEST_F(SheetTabTest, SizeChangesFitTheRow) {
    // Sheets added after the strip was placed: the view's next layout places the
    // strip again at the same size, which fits the new row.
    Place(400);
    EXPECT_EQ(ArrowStates(), "0000");
    AddTabs(8);
    Place(400);
    EXPECT_EQ(ArrowStates(), "0011");
    // Wide enough: the row goes back to its start, every arrow disabled.
    strip.scrollPos = 7;
    Place(strip.TotalWidth() + kArrows + 100);
    EXPECT_EQ(strip.scrollPos, 0);
    EXPECT_EQ(ArrowStates(), "0000");

    // Scrolled to its end, the row stays at its end while the strip grows.
    Place(300);
    Press(CSheetTabWnd::kLast);
    Place(360);
    EXPECT_EQ(strip.scrollPos, strip.MaxScroll(360));
    EXPECT_EQ(ArrowStates(), "1100");
}

TEST_F(SheetTabTest, PaintsTheCurrentTabOpenAndGreysDisabledArrows) {
    AddTabs(8);
    Place(450);
    strip.SetCurSel(1);
    desktop.RunUntilIdle();
    tq3::testing::SaveScreenshot(strip.m_hWnd, OutputPath("headers", "sheet_tabs.png"));

    const COLORREF black = RGB(0, 0, 0);
    const CRect open = strip.GetItemRect(1);
    const CRect closed = strip.GetItemRect(2);
    // No line under the sheet along the current tab: its top row is the window
    // colour; a closed tab and the strip left of the current one have a black top.
    auto topRow = [&](int from, int to) { return tq3::testing::CaptureWindow(strip.m_hWnd, CRect(from, 0, to, 1)); };
    EXPECT_TRUE(Same(topRow(open.left + 2, open.right - 2).FilledWith(GetSysColor(COLOR_WINDOW))));
    EXPECT_TRUE(Same(topRow(closed.left + 1, closed.right - 1).FilledWith(black)));
    EXPECT_TRUE(Same(topRow(kArrows, open.left).FilledWith(black)));
    // The current tab is filled light, the others with the button face; both
    // have a bottom edge.
    EXPECT_EQ(tq3::testing::WindowPixel(strip.m_hWnd, {open.left + kTabHeight / 2 + 2, kTabHeight / 2}),
              GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(tq3::testing::WindowPixel(strip.m_hWnd, {closed.left + kTabHeight / 2 + 2, kTabHeight / 2}),
              GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(tq3::testing::WindowPixel(strip.m_hWnd, {open.CenterPoint().x + 30, kTabHeight - 1}), black);
    // A closed tab's right slant is two pixels thick all the way down, as if it
    // cast a shadow: on every row between its top and bottom edges, exactly two
    // black pixels side by side.
    for (int y = 1; y < kTabHeight - 1; ++y) {
        const CRect slant(closed.right - kTabHeight / 2 - 2, y, closed.right + 1, y + 1);
        const std::string row = tq3::testing::CaptureWindow(strip.m_hWnd, slant).Picture(black);
        EXPECT_EQ(std::count(row.begin(), row.end(), '#'), 2) << "row " << y << ": " << row;
        EXPECT_NE(row.find("##"), std::string::npos) << "row " << y << ": " << row;
    }
    // An enabled arrow shows a black arrow; a disabled one only the embossed grey.
    auto blackIn = [&](CArrowButton& button) {
        CRect r;
        button.GetClientRect(&r);
        r.DeflateRect(2, 2);
        return tq3::testing::CaptureWindow(button.m_hWnd, r).Count(black);
    };
    ASSERT_EQ(ArrowStates(), "0011");
    EXPECT_EQ(blackIn(strip.arrows[CSheetTabWnd::kFirst]), 0);
    EXPECT_GT(blackIn(strip.arrows[CSheetTabWnd::kLast]), 10);

}

}  // namespace
}  // namespace tq3::test
