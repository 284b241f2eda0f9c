// CControlBarEx docked in a frame: the non-client area and sizing edge per dock
// side, hit tests and cursors, the sizing drag with its limits and its tracker,
// the gripper and the buttons, their commands and tips, floating, a move to the
// opposite side, and a frame without docking.
#include <string>

#include "tests/controlbar/bar_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::CaptureWindow;

struct Side {
    UINT dockId;
    CRect inset;       // client rectangle minus window rectangle: left, top, right, bottom
    DWORD borderGone;  // the border flag toward the frame's interior
    CPoint drag;       // a drag of the edge that grows the bar by 50
};

// With edgeWidth 5: the client is 2 inside on every side and 5 more on the
// sizing side; docked left or right, 6 off the bottom.
const Side kSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CRect(2, 2, 2, 7), CBRS_BORDER_BOTTOM, CPoint(0, 50)},
    {AFX_IDW_DOCKBAR_LEFT, CRect(2, 2, 7, 6), CBRS_BORDER_RIGHT, CPoint(50, 0)},
    {AFX_IDW_DOCKBAR_RIGHT, CRect(7, 2, 2, 6), CBRS_BORDER_LEFT, CPoint(-50, 0)},
    {AFX_IDW_DOCKBAR_BOTTOM, CRect(2, 7, 2, 2), CBRS_BORDER_TOP, CPoint(0, -50)},
};

// Per side: the client inset, the border style, the sizing edge (a 5-pixel band
// inside the 1-pixel margin) with its hit test and split cursor, and a drag of
// the edge that grows the bar.
TEST_F(BarTest, EachDockSideHasItsEdgeInsetHitTestCursorAndDrag) {
    tq3::testing::Capture horzLook, vertLook;  // the pointer over a sizing edge
    for (const Side& side : kSides) {
        SCOPED_TRACE(side.dockId);
        Dock(side.dockId);
        const CRect window = WindowRect(bar);
        CRect client;
        bar.GetClientRect(&client);
        bar.ClientToScreen(&client);
        EXPECT_EQ(CRect(client.left - window.left, client.top - window.top, window.right - client.right,
                        window.bottom - client.bottom), side.inset);
        EXPECT_EQ(bar.GetBarStyle() & CBRS_BORDER_ANY, CBRS_BORDER_ANY & ~side.borderGone);

        const CRect base(1, 1, window.Width() - 1, window.Height() - 1);
        EXPECT_TRUE(bar.rectEdge.Width() == 5 || bar.rectEdge.Height() == 5) << bar.rectEdge.Width();
        EXPECT_TRUE(CRect().IntersectRect(&bar.rectEdge, &base));
        EXPECT_EQ(bar.rectEdge & base, bar.rectEdge);
        const CPoint edge = ScreenOf(bar.rectEdge.CenterPoint()), inside = client.CenterPoint();
        EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTSIZE);
        EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);

        desktop.MouseMove(edge);
        const bool horz = side.drag.x == 0;
        ASSERT_FALSE(desktop.Pointer().image.Empty()) << "an image cursor over the edge";
        (horz ? horzLook : vertLook) = desktop.Pointer().image;
        const int before = horz ? window.Height() : window.Width();
        desktop.MouseDown(edge);
        EXPECT_TRUE(bar.tracking);
        desktop.MouseMove(edge + side.drag);
        desktop.MouseUp(edge + side.drag);
        desktop.RunUntilIdle();
        EXPECT_FALSE(bar.tracking);
        const CRect after = WindowRect(bar);
        EXPECT_EQ(horz ? after.Height() : after.Width(), before + 50);
        EXPECT_EQ(horz ? bar.sizeHorz.cy : bar.sizeVert.cx, before + 50);
        bar.sizeHorz = bar.sizeVert = CSize(200, 200);
    }
    EXPECT_NE(tq3::testing::CountDiffering(horzLook, vertLook), 0) << "up-down and left-right split cursors";
}

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

// The tracker inverts a band across the frame while the edge is dragged and
// leaves no trace: the frame's pixels equal a fresh paint after a drag, and are
// back as they were when another window takes the capture, which cancels.
TEST_F(BarTest, TrackerIsErasedAfterTheDragAndACaptureTakenAwayCancels) {
    Dock(AFX_IDW_DOCKBAR_LEFT);
    auto framePixels = [&] { return tq3::testing::CaptureDesktop(WindowRect(*frame)); };
    const auto clean = framePixels();
    const CPoint edge = ScreenOf(bar.rectEdge.CenterPoint());
    desktop.MouseDown(edge);
    desktop.MouseMove(edge + CPoint(40, 0));
    EXPECT_NE(tq3::testing::CountDiffering(clean, framePixels()), 0) << "the band is drawn";
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), u"other", WS_POPUP | WS_VISIBLE, 900, 700, 20, 20, nullptr,
                               nullptr));
    other.SetCapture();
    desktop.RunUntilIdle();
    EXPECT_FALSE(bar.tracking);
    EXPECT_EQ(bar.sizeVert.cx, 200);
    ::ReleaseCapture();
    other.DestroyWindow();
    desktop.RunUntilIdle();
    EXPECT_EQ(tq3::testing::CountDiffering(clean, framePixels()), 0);

    desktop.MouseDown(edge);
    desktop.MouseMove(edge + CPoint(30, 0));
    desktop.MouseMove(edge + CPoint(60, 0));
    desktop.MouseUp(edge + CPoint(60, 0));
    desktop.RunUntilIdle();
    const auto dragged = framePixels();
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    desktop.RunUntilIdle();
    EXPECT_EQ(tq3::testing::CountDiffering(dragged, framePixels()), 0);
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

// Floating: the buttons hide, no gripper, the default hit test and no menu of
// the bar's own; docking again brings the buttons back.
TEST_F(BarTest, FloatingHidesButtonsAndGripper) {
    Dock(AFX_IDW_DOCKBAR_LEFT);
    bar.SetMenuID(104);
    ASSERT_TRUE(frame->FloatControlBar(&bar, CPoint(300, 300)));
    desktop.RunUntilIdle();
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_FALSE(bar.closeButton.IsWindowVisible() || bar.minimizeButton.IsWindowVisible());
    EXPECT_TRUE(bar.rectEdge.IsRectEmpty());
    EXPECT_TRUE(CaptureWindow(bar.m_hWnd).FilledWith(GetSysColor(COLOR_BTNFACE))) << "no gripper";
    CRect client;
    bar.GetClientRect(&client);
    bar.ClientToScreen(&client);
    const CPoint centre = client.CenterPoint();
    EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), HTCLIENT);
    bool menuOpened = false;
    desktop.SetFailureHandler([&](const std::string&) { menuOpened = true; });
    desktop.Click(centre, tq3::testing::Button::Right);
    EXPECT_FALSE(menuOpened);

    Dock(AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_TRUE(bar.closeButton.IsWindowVisible() && bar.minimizeButton.IsWindowVisible());
}

// ShowFrameStuff(TRUE, FALSE) before Create: no buttons and no tips are made, and
// the gripper takes the whole width (a 2-pixel margin instead of 30); without a
// gripper the client shows the face only.
TEST_F(BarTest, ShowFrameStuffBeforeCreateLeavesOutButtonsAndTips) {
    bar.ShowFrameStuff(TRUE, FALSE);
    Dock(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(bar.GetDlgItem(kBarCloseButtonId), nullptr);
    EXPECT_EQ(bar.GetDlgItem(kBarMinimizeButtonId), nullptr);
    EXPECT_EQ(bar.toolTip.m_hWnd, nullptr);
    CRect client;
    bar.GetClientRect(&client);
    EXPECT_EQ(bar.GetGripperRect(), CRect(4, 6, client.right - 6, 9));
    bar.ShowFrameStuff(FALSE, FALSE);
    bar.Invalidate();
    desktop.RunUntilIdle();
    EXPECT_TRUE(CaptureWindow(bar.m_hWnd).FilledWith(GetSysColor(COLOR_BTNFACE)));
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
