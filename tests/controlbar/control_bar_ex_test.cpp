// CControlBarEx docked in a frame: the sizing drag with its limits, the gripper
// and the buttons, their commands and tips, a move to the opposite side, and a
// frame without docking.
#include "tests/controlbar/bar_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::CaptureWindow;

// Docked left at 200: 50 to the right makes 250; 300 to the left stops at the
// smallest width; far beyond the frame stops at the frame's width plus the size.
TEST_F(BarTest, SizingDragKeepsWithinItsLimits) {
    Dock(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_EQ(WindowRect(bar).Width(), 200);
    struct Case {
        int dx;
        int width;
    };
    CRect frameClient;
    frame->GetClientRect(&frameClient);
    for (const Case& c : {Case{50, 250}, Case{-300, 32}, Case{5000, frameClient.Width() + 32}}) {
        SCOPED_TRACE(c.dx);
        const CPoint edge = ScreenOf(bar.rectEdge.CenterPoint());
        desktop.MouseDown(edge);
        desktop.MouseMove(edge + CPoint(c.dx, 0));
        desktop.MouseUp(edge + CPoint(c.dx, 0));
        desktop.RunUntilIdle();
        EXPECT_EQ(bar.sizeVert.cx, c.width);
    }
}

// The gripper's two raised lines and the system buttons with their glyphs:
// docked left the lines run across the top, left of the buttons; docked at the
// top they run down the left side, below the buttons.
TEST_F(BarTest, GripperAndButtonsArePaintedPerDockSide) {
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    for (UINT dockId : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_TOP}) {
        SCOPED_TRACE(dockId);
        Dock(dockId);
        const bool horz = dockId == AFX_IDW_DOCKBAR_TOP;
        CRect client;
        bar.GetClientRect(&client);
        const CRect grip = bar.GetGripperRect();
        if (horz) {
            EXPECT_EQ(grip, CRect(4, 33, 7, client.bottom - 4));
        } else {
            EXPECT_EQ(grip, CRect(4, 6, client.right - 34, 9));
        }
        auto pixels = CaptureWindow(bar.m_hWnd);
        for (const CPoint step : {CPoint(0, 0), horz ? CPoint(4, 0) : CPoint(0, 4)}) {
            CRect line = grip + step;
            EXPECT_EQ(pixels.At(line.left, line.top), hi);
            EXPECT_EQ(pixels.At(line.right - 1, line.bottom - 1), shadow);
            EXPECT_EQ(pixels.At(line.left, line.bottom - 1), shadow);
        }
        // The 12-pixel buttons show their shrunk glyphs: black ink, no green.
        for (CSysButton* b : {&bar.closeButton, &bar.minimizeButton}) {
            auto glyph = CaptureWindow(b->m_hWnd);
            EXPECT_EQ(glyph.Count(RGB(0, 255, 0)), 0);
            EXPECT_GT(glyph.Count(RGB(0, 0, 0)), 5) << glyph.Picture(RGB(0, 0, 0));
        }
    }
}

// The buttons stay enabled through the idle update, close hides the bar (the
// frame shows it again), minimise floats it and docks it back; the close
// button's tip shows after its delay.
TEST_F(BarTest, ButtonsCloseAndFloatTheBarAndShowTheirTips) {
    Dock(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_TRUE(bar.closeButton.IsWindowEnabled());
    EXPECT_TRUE(bar.minimizeButton.IsWindowEnabled());
    CCmdUI state;
    state.m_nID = kBarCloseButtonId;
    state.m_pOther = &bar.closeButton;
    EXPECT_TRUE(bar.OnCmdMsg(kBarCloseButtonId, CN_UPDATE_COMMAND_UI, &state, nullptr));

    CRect close;
    bar.closeButton.GetWindowRect(&close);
    desktop.MouseMove(close.CenterPoint());
    desktop.AdvanceClock(static_cast<DWORD>(bar.toolTip.GetDelayTime(TTDT_INITIAL)));
    EXPECT_TRUE(bar.toolTip.IsWindowVisible());

    desktop.Click(close.CenterPoint());
    EXPECT_FALSE(bar.IsWindowVisible());
    frame->ShowControlBar(&bar, TRUE, FALSE);
    desktop.RunUntilIdle();
    EXPECT_TRUE(bar.IsWindowVisible());

    CRect minimize;
    bar.minimizeButton.GetWindowRect(&minimize);
    desktop.Click(minimize.CenterPoint());
    desktop.RunUntilIdle();
    EXPECT_TRUE(bar.IsFloating());
    bar.OnCmdMsg(kBarMinimizeButtonId, CN_COMMAND, nullptr, nullptr);
    desktop.RunUntilIdle();
    EXPECT_EQ(bar.dockBarId, AFX_IDW_DOCKBAR_LEFT);
}

// Moved from one side to the opposite one, the bar may sit in its new dock bar
// exactly as it sat in the old one: its window's place relative to its parent
// and its size stay, yet it docks elsewhere, and its edge and buttons follow.
TEST_F(BarTest, MovedToTheOppositeSideAtTheSameSizeTheBarKnowsItsNewSide) {
    for (UINT from : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_TOP}) {
        const UINT to = from == AFX_IDW_DOCKBAR_LEFT ? AFX_IDW_DOCKBAR_RIGHT : AFX_IDW_DOCKBAR_BOTTOM;
        Dock(from);
        const CRect edgeBefore = bar.rectEdge;
        ASSERT_TRUE(frame->DockControlBar(&bar, to));
        desktop.RunUntilIdle();
        EXPECT_EQ(bar.dockBarId, to) << from;
        EXPECT_NE(bar.rectEdge, edgeBefore) << from;
    }
}

// A bar in a frame that never enabled docking: it cannot be docked, counts as
// floating, paints and answers its layout questions without a dock bar.
TEST_F(BarTest, BarInAFrameWithoutDockingStaysUsable) {
    auto* plainView = new CPlainView;
    CFrameWnd* plain = tq3::testing::CreateFrameWithView(plainView, RECT{100, 100, 500, 400}, u"plain");
    ASSERT_NE(plain, nullptr);
    ASSERT_TRUE(bar.Create(plain, kBarId, u"Bar", CSize(120, 90), WS_CHILD | WS_VISIBLE | CBRS_TOP));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_FALSE(plain->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP));
    desktop.RunUntilIdle();
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), CSize(4, 90));
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, FALSE), CSize(120, 4));
    bar.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(-1, -1));
    bar.DestroyWindow();
    plain->DestroyWindow();
}

}  // namespace
}  // namespace tq3::test
