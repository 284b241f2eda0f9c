// CControlBarEx docked in a frame: the non-client area and sizing edge per dock
// side, hit tests and cursors, the sizing drag with its limits and its tracker,
// floating, the buttons, their commands and tips, the context menu, and the
// layouts the bar asks of its frame.
#include <string>

#include "framework/system/resources.h"
#include "settings/language.h"
#include "tests/controlbar/bar_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::CaptureWindow;

struct Side {
    UINT dockId;
    const char* name;
    CRect inset;       // client rectangle minus window rectangle: left, top, right, bottom
    DWORD borderGone;  // the border flag toward the frame's interior
    CPoint drag;       // a drag of the edge that grows the bar by 50
};

// With edgeWidth 5: the client is 2 inside on every side and 5 more on the
// sizing side; docked left or right, 6 off the bottom.
const Side kSides[] = {
    {AFX_IDW_DOCKBAR_TOP, "top", CRect(2, 2, 2, 7), CBRS_BORDER_BOTTOM, CPoint(0, 50)},
    {AFX_IDW_DOCKBAR_LEFT, "left", CRect(2, 2, 7, 6), CBRS_BORDER_RIGHT, CPoint(50, 0)},
    {AFX_IDW_DOCKBAR_RIGHT, "right", CRect(7, 2, 2, 6), CBRS_BORDER_LEFT, CPoint(-50, 0)},
    {AFX_IDW_DOCKBAR_BOTTOM, "bottom", CRect(2, 7, 2, 2), CBRS_BORDER_TOP, CPoint(0, -50)},
};

// The sizing edge, the client inset, the border style, the hit test and the
// cursor over the edge, and a drag of the edge that grows the bar, per side.
TEST_F(BarTest, EachDockSideHasItsEdgeInsetHitTestCursorAndDrag) {
    tq3::testing::Capture horzLook, vertLook;  // the pointer over a sizing edge
    for (const Side& side : kSides) {
        SCOPED_TRACE(side.name);
        Dock(side.dockId);
        const CRect window = WindowRect(bar);
        const CRect client = ClientInWindow();
        EXPECT_EQ(client.left, side.inset.left);
        EXPECT_EQ(client.top, side.inset.top);
        EXPECT_EQ(window.Width() - client.right, side.inset.right);
        EXPECT_EQ(window.Height() - client.bottom, side.inset.bottom);
        EXPECT_EQ(bar.GetBarStyle() & CBRS_BORDER_ANY, CBRS_BORDER_ANY & ~side.borderGone);

        // The edge: a 5-pixel band inside the 1-pixel margin, on the sizing side.
        CRect base(0, 0, window.Width(), window.Height());
        base.DeflateRect(1, 1);
        EXPECT_EQ(bar.rectEdge.Width() == 5 || bar.rectEdge.Height() == 5, true) << bar.rectEdge.Width();
        EXPECT_TRUE(CRect().IntersectRect(&bar.rectEdge, &base));
        EXPECT_EQ(bar.rectEdge & base, bar.rectEdge);
        const CPoint edge = ScreenOf(bar.rectEdge.CenterPoint());
        EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTSIZE);
        const CPoint inside = ScreenOf(client.CenterPoint());
        EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTCLIENT);

        desktop.MouseMove(edge);
        const bool horz = side.dockId == AFX_IDW_DOCKBAR_TOP || side.dockId == AFX_IDW_DOCKBAR_BOTTOM;
        const auto look = desktop.Pointer();
        ASSERT_FALSE(look.image.Empty()) << "an image cursor over the edge";
        (horz ? horzLook : vertLook) = look.image;

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
    // The smallest size wins over a frame too small for it.
    bar.sizeVert.cx = 200;
    frame->RecalcLayout();
    desktop.RunUntilIdle();
    bar.sizeMin = CSize(2000, 32);
    const CPoint edge = ScreenOf(bar.rectEdge.CenterPoint());
    desktop.MouseDown(edge);
    desktop.MouseUp(edge);
    desktop.RunUntilIdle();
    EXPECT_EQ(bar.sizeVert.cx, 2000);
}

// The tracker inverts a band across the frame while the edge is dragged and
// leaves no trace: at the end the frame's pixels equal a fresh paint. Another
// window taking the capture cancels with the same result.
TEST_F(BarTest, TrackerIsErasedAfterTheDragAndACaptureTakenAwayCancels) {
    Dock(AFX_IDW_DOCKBAR_LEFT);
    const auto clean = FramePixels();
    const CPoint edge = ScreenOf(bar.rectEdge.CenterPoint());
    desktop.MouseDown(edge);
    desktop.MouseMove(edge + CPoint(40, 0));
    EXPECT_NE(tq3::testing::CountDiffering(clean, FramePixels()), 0) << "the band is drawn";

    // Another window takes the mouse: the drag ends, the size stays.
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
    EXPECT_EQ(tq3::testing::CountDiffering(clean, FramePixels()), 0);

    // A completed drag: after the layout the pixels are those of a fresh paint.
    desktop.MouseDown(edge);
    desktop.MouseMove(edge + CPoint(30, 0));
    desktop.MouseMove(edge + CPoint(60, 0));
    desktop.MouseUp(edge + CPoint(60, 0));
    desktop.RunUntilIdle();
    const auto dragged = FramePixels();
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    desktop.RunUntilIdle();
    EXPECT_EQ(tq3::testing::CountDiffering(dragged, FramePixels()), 0);
}

// The gripper's two raised lines, the raised sizing edge and the system buttons
// with their glyphs: docked left the lines run across the top, left of the
// buttons; docked at the top they run down the left side, below the buttons.
TEST_F(BarTest, GripperEdgeAndButtonsArePaintedPerDockSide) {
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
        // The raised edge, on the desktop, probed across its middle (its ends
        // reach under the dock bar's border).
        const CRect e = bar.rectEdge + WindowRect(bar).TopLeft();
        const CPoint mid = e.CenterPoint();
        const POINT lit = horz ? POINT{mid.x, e.top} : POINT{e.left, mid.y};
        const POINT dark = horz ? POINT{mid.x, e.bottom - 1} : POINT{e.right - 1, mid.y};
        EXPECT_EQ(tq3::testing::DesktopPixel(lit), hi);
        EXPECT_EQ(tq3::testing::DesktopPixel(dark), shadow);
        EXPECT_EQ(tq3::testing::DesktopPixel(mid), GetSysColor(COLOR_BTNFACE));

        // Buttons: 12 x 12, close then minimise across (docked left or right) or
        // down (docked at the top or bottom), showing black ink and no green.
        CRect close, minimize;
        bar.closeButton.GetWindowRect(&close);
        bar.minimizeButton.GetWindowRect(&minimize);
        bar.ScreenToClient(&close);
        bar.ScreenToClient(&minimize);
        if (horz) {
            EXPECT_EQ(close, CRect(2, 3, 14, 15));
            EXPECT_EQ(minimize, close + CPoint(0, 14));
        } else {
            EXPECT_EQ(minimize, CRect(client.right - 31, 3, client.right - 19, 15));
            EXPECT_EQ(close, minimize + CPoint(14, 0));
        }
        for (CSysButton* b : {&bar.closeButton, &bar.minimizeButton}) {
            auto glyph = CaptureWindow(b->m_hWnd);
            EXPECT_EQ(glyph.Count(RGB(0, 255, 0)), 0);
            EXPECT_GT(glyph.Count(RGB(0, 0, 0)), 5) << glyph.Picture(RGB(0, 0, 0));
        }
    }
}

// Floating: the buttons hide, no gripper, the default hit test and no menu of
// the bar's own; docking again brings them back.
TEST_F(BarTest, FloatingHidesButtonsAndGripper) {
    Dock(AFX_IDW_DOCKBAR_LEFT);
    bar.SetMenuID(104);
    ASSERT_TRUE(frame->FloatControlBar(&bar, CPoint(300, 300)));
    desktop.RunUntilIdle();
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_FALSE(bar.closeButton.IsWindowVisible());
    EXPECT_FALSE(bar.minimizeButton.IsWindowVisible());
    EXPECT_TRUE(bar.rectEdge.IsRectEmpty());
    auto pixels = CaptureWindow(bar.m_hWnd);
    EXPECT_TRUE(pixels.FilledWith(GetSysColor(COLOR_BTNFACE))) << "no gripper";
    CRect client;
    bar.GetClientRect(&client);
    bar.ClientToScreen(&client);
    const CPoint centre = client.CenterPoint();
    EXPECT_EQ(bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), HTCLIENT);
    bool menuOpened = false;
    desktop.SetFailureHandler([&](const std::string&) { menuOpened = true; });
    desktop.Click(centre, tq3::testing::Button::Right);
    EXPECT_FALSE(menuOpened);

    ASSERT_TRUE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_RIGHT));
    desktop.RunUntilIdle();
    EXPECT_TRUE(bar.closeButton.IsWindowVisible());
    EXPECT_TRUE(bar.minimizeButton.IsWindowVisible());
}

// The buttons stay enabled through the idle update, close hides the bar (the
// frame shows it again), minimise floats it and docks it back; the tip of the
// close button shows after its delay.
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
    const DWORD initial = static_cast<DWORD>(bar.toolTip.GetDelayTime(TTDT_INITIAL));
    desktop.AdvanceClock(initial - 1);
    EXPECT_FALSE(bar.toolTip.IsWindowVisible());
    desktop.AdvanceClock(1);
    EXPECT_TRUE(bar.toolTip.IsWindowVisible());
    CString tip;
    bar.toolTip.GetText(tip, &bar.closeButton);
    CString expected;
    GetVALMExDLLString(kBarCloseTipId, expected);
    EXPECT_FALSE(expected.IsEmpty());
    EXPECT_EQ(tip, expected);

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

// Keyboard and mouse requests of the context menu: the keyboard one opens 5
// pixels inside the client's corner; with no menu id nothing opens.
TEST_F(BarTest, ContextMenuOpensAtThePointOrInsideTheCornerForTheKeyboard) {
    Dock(AFX_IDW_DOCKBAR_LEFT);
    CRect client;
    bar.GetClientRect(&client);
    bar.ClientToScreen(&client);
    bool opened = false;
    desktop.SetFailureHandler([&](const std::string&) { opened = true; });
    bar.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(-1, -1));
    EXPECT_FALSE(opened) << "menu id 0: no menu";

    bar.SetMenuID(104);
    CRect menuAt;
    auto where = [&](HWND menu) {
        ::GetWindowRect(menu, &menuAt);
        ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    desktop.QueueModalAnswer(tq3::testing::ModalAnswer{u"#32768", u"", where});
    bar.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(-1, -1));
    EXPECT_EQ(menuAt.TopLeft(), client.TopLeft() + CPoint(5, 5));

    desktop.QueueModalAnswer(tq3::testing::ModalAnswer{u"#32768", u"", where});
    const CPoint at = client.TopLeft() + CPoint(40, 60);
    desktop.Click(at, tq3::testing::Button::Right);
    EXPECT_EQ(menuAt.TopLeft(), at);
    EXPECT_EQ(desktop.PendingModalAnswers(), 0u);
}

// What the bar asks of the frame's layout in each mode.
TEST_F(BarTest, LayoutSizesFollowTheModes) {
    Dock(AFX_IDW_DOCKBAR_TOP);
    bar.sizeHorz = CSize(100, 80);
    bar.sizeVert = CSize(150, 90);
    bar.sizeFloat = CSize(220, 170);
    const CRect top = WindowRect(*frame->GetDockBar(AFX_IDW_DOCKBAR_TOP));
    const CRect left = WindowRect(*frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), CSize(top.Width() + 4, 80));
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, FALSE), CSize(150, left.Height() + 4));
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE), CSize(32767, 80));
    EXPECT_EQ(bar.CalcDynamicLayout(0, LM_MRUWIDTH), CSize(220, 170));
    EXPECT_EQ(bar.CalcDynamicLayout(10, 0), CSize(32, 170)) << "no narrower than the minimum";
    EXPECT_EQ(bar.sizeFloat, CSize(220, 170)) << "only measured";
    EXPECT_EQ(bar.CalcDynamicLayout(10, LM_LENGTHY), CSize(220, 32));
    EXPECT_EQ(bar.CalcDynamicLayout(260, LM_COMMIT), CSize(260, 32));
    EXPECT_EQ(bar.sizeFloat, CSize(260, 32));

}

// ShowFrameStuff(TRUE, FALSE) before Create: no buttons and no tips are made, and
// the gripper takes the whole width (a 2-pixel margin instead of 30).
TEST_F(BarTest, ShowFrameStuffBeforeCreateLeavesOutButtonsAndTips) {
    bar.ShowFrameStuff(TRUE, FALSE);
    Dock(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(bar.GetDlgItem(kBarCloseButtonId), nullptr);
    EXPECT_EQ(bar.GetDlgItem(kBarMinimizeButtonId), nullptr);
    EXPECT_EQ(bar.toolTip.m_hWnd, nullptr);
    CRect client;
    bar.GetClientRect(&client);
    EXPECT_EQ(bar.GetGripperRect(), CRect(4, 6, client.right - 6, 9));
    // Without a gripper the client shows the face only.
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
    desktop.RunUntilIdle();
}

}  // namespace
}  // namespace tq3::test
