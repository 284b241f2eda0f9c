// Several bars in one row of a dock bar: placing a bar by a rectangle or a drop,
// the rows laid out side by side and stacked, a row too long for a narrowed
// frame, and a row closing up when a bar leaves it.
#include "docking_fixture.h"

namespace tq3::test {
namespace {

class DockingRowsTest : public DockingTest {
protected:
    void SetUp() override {
        DockingTest::SetUp();
        ASSERT_TRUE(frame->EnableDocking(CBRS_ALIGN_ANY));
    }

    bool DockAt(CControlBar& bar, UINT dockId, int along, int across, CSize size = CSize(150, 26)) {
        CRect r = At(dockId, along, across, size);
        BOOL done = frame->DockControlBar(&bar, dockId, &r);
        desktop.RunUntilIdle();
        return done != FALSE;
    }
    // The bars of a dock bar row by row: "A B | C" with each bar as name@l,t,r,b.
    using Names = std::vector<std::pair<const CControlBar*, const char*>>;
    std::string Rows(UINT dockId, const Names& names) const {
        CDockBar* dock = frame->GetDockBar(dockId);
        std::string out;
        for (CControlBar* bar : dock->m_arrBars) {
            if (bar == nullptr) {
                out += "| ";
                continue;
            }
            const char* name = "?";
            for (auto [b, n] : names) {
                if (b == bar) name = n;
            }
            out += std::string(name) + "@" + Text(PlaceOf(bar->m_hWnd)) + " ";
        }
        return out;
    }
    // Gives the frame a client area `width` wide, its height unchanged.
    void SetClientWidth(int width) {
        CRect window;
        frame->GetWindowRect(&window);
        const int extra = window.Width() - Client().cx;
        frame->SetWindowPos(nullptr, 0, 0, width + extra, window.Height(), SWP_NOZORDER | SWP_NOMOVE);
        desktop.RunUntilIdle();
    }
    std::string R(int l, int t, int r, int b) const { return Text(RECT{l, t, r, b}); }

    CShortBar a, b, c;
    const Names abc{{&a, "A"}, {&b, "B"}, {&c, "C"}};
};

TEST_F(DockingRowsTest, TwoAndThreeBarsShareARowAtTheTopAndAtTheLeft) {
    struct Edge {
        UINT id;
        bool horz;
    };
    const Edge edges[] = {{AFX_IDW_DOCKBAR_TOP, true}, {AFX_IDW_DOCKBAR_LEFT, false}};
    UINT nextId = kBarA;
    for (const Edge& edge : edges) {
        CShortBar one, two, three;
        MakeShort(one, nextId++);
        MakeShort(two, nextId++);
        MakeShort(three, nextId++);
        three.thick = 34;  // the thickest makes the row
        three.length = 100;
        ASSERT_TRUE(frame->DockControlBar(&one, edge.id));
        desktop.RunUntilIdle();
        ASSERT_TRUE(DockAt(two, edge.id, 150, 0));
        CDockBar* dock = frame->GetDockBar(edge.id);
        // Two in the row, then a third dropped a little past the second's end
        // keeps its gap.
        ASSERT_TRUE(DockAt(three, edge.id, 320, 0, CSize(100, 34)));
        auto place = [&](int along, int len, int thick) {
            return edge.horz ? R(along, 0, along + len, thick) : R(0, along, thick, along + len);
        };
        const std::string expected =
            "A@" + place(0, 150, 26) + " B@" + place(150, 150, 26) +  " C@" + place(320, 100, 34) + " | ";
        EXPECT_EQ(Rows(edge.id, {{&one, "A"}, {&two, "B"}, {&three, "C"}}), expected) << edge.horz;
        // The view starts after the row's thickest bar.
        CRect v = PlaceOf(view->m_hWnd);
        EXPECT_EQ(edge.horz ? v.top : v.left, 34) << edge.horz;
        for (CShortBar* bar : {&one, &two, &three}) bar->DestroyWindow();
        desktop.RunUntilIdle();
        EXPECT_EQ(dock->m_arrBars.size(), 0u);
    }
}

TEST_F(DockingRowsTest, ABarDroppedBetweenTwoOthersGoesBetweenThem) {
    MakeShort(a, kBarA);
    MakeShort(b, kBarB);
    MakeShort(c, kBarB + 1);
    ASSERT_TRUE(DockAt(a, AFX_IDW_DOCKBAR_TOP, 0, 0));
    ASSERT_TRUE(DockAt(b, AFX_IDW_DOCKBAR_TOP, 300, 0));
    ASSERT_TRUE(frame->DockControlBar(&c, AFX_IDW_DOCKBAR_TOP));  // a second row
    desktop.RunUntilIdle();
    CDockBar* top = frame->GetDockBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(top->GetRowCount(), 2);

    tq3::testing::MessageSpy spy;
    spy.Watch(a.m_hWnd, "A");
    spy.Watch(b.m_hWnd, "B");
    spy.KeepOnly({WM_MOVE, WM_SIZE});
    // C is held by its left end and dropped on the first row, 10 pixels past A's end.
    Drag(ScreenPoint(c), ScreenPoint(*top, 160 + 10, 10));
    desktop.RunUntilIdle();

    EXPECT_EQ(top->GetRowCount(), 1);  // C's own row went with it
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP, abc),
              "A@" + R(0, 0, 150, 26) + " C@" + R(160, 0, 310, 26) + " B@" + R(310, 0, 460, 26) + " | ");
    // A stayed where it was; B, pushed on by C, moved and kept its size.
    EXPECT_TRUE(spy.Compare(a.m_hWnd, {})) << "A moved";
    EXPECT_TRUE(spy.Compare(b.m_hWnd, {tq3::testing::Msg(WM_MOVE)}));
    EXPECT_EQ(PlaceOf(view->m_hWnd).top, 26);
}

TEST_F(DockingRowsTest, ARowThatNoLongerFitsIsPushedBackThenShrunkOrWrapped) {
    MakeShort(a, kBarA);
    MakeShort(b, kBarB);
    MakeShort(c, kBarB + 1, CBRS_SIZE_DYNAMIC);
    SetClientWidth(640);
    ASSERT_TRUE(DockAt(a, AFX_IDW_DOCKBAR_TOP, 0, 0));
    ASSERT_TRUE(DockAt(b, AFX_IDW_DOCKBAR_TOP, 200, 0));
    ASSERT_TRUE(DockAt(c, AFX_IDW_DOCKBAR_TOP, 400, 0));
    struct Step {
        int width;
        const char* rows;  // with C of fixed size
        int viewTop;
    };
    // C asks for less when the row runs short: three buttons on two lines of two.
    const Step dynamic[] = {
        {500, "A@0,0,150,26 B@200,0,350,26 C@350,0,500,26 | ", 26},  // C pushed back
        {460, "A@0,0,150,26 B@160,0,310,26 C@310,0,460,26 | ", 26},  // B too
        {400, "A@0,0,150,26 B@150,0,300,26 C@300,0,400,52 | ", 52},  // C shrunk to two lines
        {640, "A@0,0,150,26 B@200,0,350,26 C@400,0,550,26 | ", 26},  // back as it was
    };
    for (const Step& step : dynamic) {
        SetClientWidth(step.width);
        EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP, abc), step.rows) << step.width;
        EXPECT_EQ(PlaceOf(view->m_hWnd).top, step.viewTop) << step.width;
    }
    // A bar of fixed size wraps onto a line of its own within the row instead.
    c.SetBarStyle(c.GetBarStyle() & ~CBRS_SIZE_DYNAMIC);
    const Step fixed[] = {
        {400, "A@0,0,150,26 B@200,0,350,26 C@250,26,400,52 | ", 52},
        // Each bar longer than the edge: a line each, hanging over its ends.
        {120, "A@-2,0,148,26 B@-2,26,148,52 C@-2,52,148,78 | ", 78},
    };
    for (const Step& step : fixed) {
        SetClientWidth(step.width);
        EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP, abc), step.rows) << step.width;
        EXPECT_EQ(PlaceOf(view->m_hWnd).top, step.viewTop) << step.width;
    }
    EXPECT_EQ(frame->GetDockBar(AFX_IDW_DOCKBAR_TOP)->GetRowCount(), 1);
}

TEST_F(DockingRowsTest, RemovingHidingAndFloatingABarCloseUpItsRow) {
    CTestBar wide;  // as long as the edge: a row of its own
    MakeBar(wide, kBarA, AFX_IDW_DOCKBAR_TOP);
    MakeShort(a, kBarB);
    MakeShort(b, kBarB + 1);
    MakeShort(c, kBarB + 2);
    const int t = CTestBar::kHorzThickness;
    ASSERT_TRUE(DockAt(a, AFX_IDW_DOCKBAR_TOP, 0, t));
    ASSERT_TRUE(DockAt(b, AFX_IDW_DOCKBAR_TOP, 150, t));
    ASSERT_TRUE(DockAt(c, AFX_IDW_DOCKBAR_TOP, 300, t));
    CDockBar* top = frame->GetDockBar(AFX_IDW_DOCKBAR_TOP);
    const Names names{{&wide, "W"}, {&a, "A"}, {&b, "B"}, {&c, "C"}};
    const std::string w = "W@" + R(-2, 0, 32765, t) + " | ";
    const std::string row = "A@" + R(0, t, 150, t + 26) + " B@" + R(150, t, 300, t + 26) + " C@" + R(300, t, 450, t + 26) + " | ";
    ASSERT_EQ(Rows(AFX_IDW_DOCKBAR_TOP, names), w + row);

    // Hidden, B keeps its place and C stays.
    frame->ShowControlBar(&b, FALSE, FALSE);
    EXPECT_EQ(PlaceOf(c.m_hWnd).left, 300);
    frame->ShowControlBar(&b, TRUE, FALSE);

    // Floated by a double-click on it, B leaves a gap that C closes.
    auto doubleClickB = [&] {
        desktop.AdvanceClock(1000);
        desktop.DoubleClick(ScreenPoint(b));
        desktop.RunUntilIdle();
    };
    doubleClickB();
    ASSERT_TRUE(b.IsFloating());
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP, names), w + "A@" + R(0, t, 150, t + 26) + " C@" + R(150, t, 300, t + 26) + " | ");
    // Docked back by another, B goes back between them.
    doubleClickB();
    ASSERT_FALSE(b.IsFloating());
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP, names), w + row);

    // The row emptied goes, and the dock bar is as thick as the wide bar alone.
    a.DestroyWindow();
    ASSERT_TRUE(frame->FloatControlBar(&b, CPoint(600, 400)));
    ASSERT_TRUE(frame->DockControlBar(&c, AFX_IDW_DOCKBAR_LEFT));
    desktop.RunUntilIdle();
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP, names), w);
    EXPECT_EQ(PlaceOf(top->m_hWnd).Height(), t);
}

TEST_F(DockingRowsTest, RowsStackFromTheEdgeInwardsAndAWideBarIsNeverShared) {
    MakeShort(a, kBarA);
    MakeShort(b, kBarB);
    MakeShort(c, kBarB + 1);
    c.thick = 40;
    const UINT bottom = AFX_IDW_DOCKBAR_BOTTOM;
    ASSERT_TRUE(DockAt(a, bottom, 0, 0));
    ASSERT_TRUE(DockAt(b, bottom, 150, 0));  // beside A
    ASSERT_TRUE(frame->DockControlBar(&c, bottom));  // a row inwards of theirs
    desktop.RunUntilIdle();
    // The dock bar is 66 high: A and B's row at its bottom, C's above.
    CDockBar* dock = frame->GetDockBar(bottom);
    EXPECT_EQ(PlaceOf(dock->m_hWnd).Height(), 66);
    EXPECT_EQ(Rows(bottom, abc),
              "A@" + R(0, 40, 150, 66) + " B@" + R(150, 40, 300, 66) + " | C@" + R(0, 0, 150, 40) + " | ");
    EXPECT_EQ(PlaceOf(view->m_hWnd).bottom, Client().cy - 66);

    // A bar as long as the edge dropped over A and B's row takes a row of its
    // own, on the side of the row its middle is on; so does a short bar dropped
    // over the wide bar's row.
    CTestBar wide;
    MakeBar(wide, kBarB + 2, 0);
    CRect overOuterHalf = At(bottom, 0, 50, CSize(400, 30));  // middle at 65: the outer half of A's row
    ASSERT_TRUE(frame->DockControlBar(&wide, bottom, &overOuterHalf));
    desktop.RunUntilIdle();
    EXPECT_EQ(dock->GetRowCount(), 3);
    EXPECT_EQ(dock->GetRowOf(&wide), 0);
    EXPECT_EQ(dock->GetRowOf(&a), 1);
    ASSERT_TRUE(DockAt(c, bottom, 200, -Client().cy));  // dropped inwards of all rows: stays the last
    // Over the wide bar's row (now the outermost, 30 high at the bottom).
    const int h = PlaceOf(dock->m_hWnd).Height();
    ASSERT_TRUE(DockAt(b, bottom, 200, h - 20));  // middle 7 from the edge: the outer half
    EXPECT_EQ(dock->GetRowOf(&b), 0);
    EXPECT_EQ(dock->GetRowOf(&wide), 1);
    EXPECT_EQ(dock->GetRowCount(), 4);
}

TEST_F(DockingRowsTest, OddRectanglesStillDockTheBarSomewhereSensible) {
    MakeShort(a, kBarA);
    MakeShort(b, kBarB);
    ASSERT_TRUE(DockAt(a, AFX_IDW_DOCKBAR_TOP, 0, 0));
    CDockBar* top = frame->GetDockBar(AFX_IDW_DOCKBAR_TOP);
    // Before the start of the edge and empty: in A's row, first, at the start.
    CRect empty = At(AFX_IDW_DOCKBAR_TOP, -500, 5, CSize(0, 0));
    ASSERT_TRUE(frame->DockControlBar(&b, AFX_IDW_DOCKBAR_TOP, &empty));
    desktop.RunUntilIdle();
    EXPECT_EQ(Rows(AFX_IDW_DOCKBAR_TOP, abc), "B@" + R(0, 0, 150, 26) + " A@" + R(150, 0, 300, 26) + " | ");
    // Far away from the frame, above it: a row before A's.
    CRect far = At(AFX_IDW_DOCKBAR_TOP, 100000, -100000);
    ASSERT_TRUE(frame->DockControlBar(&b, AFX_IDW_DOCKBAR_TOP, &far));
    desktop.RunUntilIdle();
    EXPECT_EQ(top->GetRowCount(), 2);
    EXPECT_EQ(top->GetRowOf(&b), 0);
    // Past the end of the edge it is pushed back to fit.
    EXPECT_EQ(Text(PlaceOf(b.m_hWnd)), R(Client().cx - 150, 0, Client().cx, 26));
    // Docking at the same place again changes nothing, and the bar is held once.
    ASSERT_TRUE(frame->DockControlBar(&b, AFX_IDW_DOCKBAR_TOP, &far));
    EXPECT_EQ(top->GetDockedCount(), 2);
    EXPECT_EQ(top->m_arrBars.size(), 4u);
    // A bar without a window is refused.
    CShortBar none;
    EXPECT_FALSE(top->DockControlBar(&none, &far));
}

}  // namespace
}  // namespace tq3::test
