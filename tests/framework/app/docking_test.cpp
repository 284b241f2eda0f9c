// The frame's docking: dock bars along the edges and the view between them,
// short bars sharing a row, floating frames made, closed and destroyed, a locked
// frame drawn on only through the exempt DC, the idle update of a bar's controls,
// and a frame that never enabled docking.
#include "docking_fixture.h"

namespace tq3::test {
namespace {

TEST_F(DockingTest, BarsTakeTheirEdgesAndTheViewGetsTheRestAlsoAfterAResize) {
    ASSERT_TRUE(frame->EnableDocking(CBRS_ALIGN_ANY));
    CTestBar top, left, bottom, right, second;
    MakeBar(top, kBarA, AFX_IDW_DOCKBAR_TOP);
    struct Step {
        const char* what;
        std::function<void()> act;
        std::function<std::string(int w, int h)> expected;
    };
    const int t = CTestBar::kHorzThickness;
    const int v = CTestBar::kVertThickness;
    auto S = [](int a, int b, int c, int d) { return Text(RECT{a, b, c, d}); };
    auto twoTopRows = [&](int w, int h) {
        return "top " + S(0, 0, w, 2 * t) + " | bottom " + S(0, h - t, w, h) + " | left " + S(0, 2 * t, v, h - t) +
               " | right " + S(w - v, 2 * t, w, h - t) + " | view " + S(v, 2 * t, w - v, h - t);
    };
    const Step steps[] = {
        {"top only", [] {},
         [&](int w, int h) {
             return "top " + S(0, 0, w, t) + " | bottom " + S(0, h, w, h) + " | left " + S(0, t, 0, h) + " | right " +
                    S(w, t, w, h) + " | view " + S(0, t, w, h);
         }},
        {"all four edges",
         [&] {
             MakeBar(left, kBarB, AFX_IDW_DOCKBAR_LEFT);
             MakeBar(bottom, kBarB + 1, AFX_IDW_DOCKBAR_BOTTOM);
             MakeBar(right, kBarB + 2, AFX_IDW_DOCKBAR_RIGHT);
         },
         [&](int w, int h) {
             return "top " + S(0, 0, w, t) + " | bottom " + S(0, h - t, w, h) + " | left " + S(0, t, v, h - t) +
                    " | right " + S(w - v, t, w, h - t) + " | view " + S(v, t, w - v, h - t);
         }},
        {"a second row at the top", [&] { MakeBar(second, kBarB + 3, AFX_IDW_DOCKBAR_TOP); }, twoTopRows},
        {"the frame made smaller",
         [&] { frame->SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE); }, twoTopRows},
    };
    for (const Step& step : steps) {
        step.act();
        desktop.RunUntilIdle();
        CSize c = Client();
        EXPECT_EQ(Layout(), step.expected(c.cx, c.cy)) << step.what;
    }
    // A bar as long as the edge hangs over both its ends by 2 pixels: its
    // borders are not seen there.
    EXPECT_EQ(Text(PlaceOf(right.m_hWnd)), Text(RECT{0, -2, v, 32765}));
}

// A bar of fixed size, as a toolbar is: 150 pixels along its edge, 26 across.
class CShortBar : public CControlBar {
public:
    using CWnd::Create;
    BOOL Create(CWnd* parent, UINT id) {
        m_dwStyle = CBRS_TOP;
        return CWnd::Create(AfxRegisterWndClass(0), u"Short", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent, id);
    }
    CSize CalcFixedLayout(BOOL, BOOL horz) override { return horz ? CSize(150, 26) : CSize(26, 150); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

TEST_F(DockingTest, ShortBarsShareARowThatIsPushedBackAndWrappedAsTheFrameNarrows) {
    ASSERT_TRUE(frame->EnableDocking(CBRS_ALIGN_ANY));
    CDockBar* top = frame->GetDockBar(AFX_IDW_DOCKBAR_TOP);
    CShortBar bars[3];
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(bars[i].Create(frame, kBarA + static_cast<UINT>(i)));
        bars[i].EnableDocking(CBRS_ALIGN_ANY);
        CRect at(200 * i, 0, 200 * i + 150, 26);  // dropped 50 pixels apart
        top->ClientToScreen(&at);
        ASSERT_TRUE(frame->DockControlBar(&bars[i], AFX_IDW_DOCKBAR_TOP, &at));
        desktop.RunUntilIdle();
    }
    CRect window;
    frame->GetWindowRect(&window);
    const int border = window.Width() - Client().cx;
    struct Step {
        int clientWidth;
        const char* places;  // the three bars', then the view's top
    };
    const Step steps[] = {
        {640, "0,0,150,26 200,0,350,26 400,0,550,26 26"},
        {549, "0,0,150,26 200,0,350,26 399,0,549,26 26"},  // the last pushed back
        {460, "0,0,150,26 160,0,310,26 310,0,460,26 26"},  // the middle one too
        {400, "0,0,150,26 200,0,350,26 250,26,400,52 52"},  // the last on a line of its own
        {640, "0,0,150,26 200,0,350,26 400,0,550,26 26"},  // each back where it was dropped
    };
    for (const Step& step : steps) {
        frame->SetWindowPos(nullptr, 0, 0, step.clientWidth + border, window.Height(), SWP_NOZORDER | SWP_NOMOVE);
        desktop.RunUntilIdle();
        std::string places;
        for (const CShortBar& bar : bars) places += Text(PlaceOf(bar.m_hWnd)) + " ";
        EXPECT_EQ(places + std::to_string(PlaceOf(view->m_hWnd).top), step.places) << step.clientWidth;
    }
    EXPECT_EQ(top->GetRowCount(), 1);
}

TEST_F(DockingTest, WithoutDockingEnabledABarStaysAPlainChildAndNothingDocksOrFloats) {
    CTestBar bar;
    ASSERT_TRUE(bar.Create(frame, kBarA, WS_VISIBLE | CBRS_LEFT));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_EQ(frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT), nullptr);
    EXPECT_FALSE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT));
    EXPECT_FALSE(frame->FloatControlBar(&bar, CPoint(300, 300)));
    frame->RecalcLayout();
    // It still takes its edge, as a bar that never docks does.
    CSize c = Client();
    EXPECT_EQ(Text(PlaceOf(bar.m_hWnd)), Text(RECT{0, 0, CTestBar::kVertThickness, c.cy}));
    EXPECT_EQ(PlaceOf(view->m_hWnd).left, CTestBar::kVertThickness);
    // A double-click floats nothing.
    desktop.DoubleClick(bar.m_hWnd, {10, 10});
    EXPECT_EQ(::GetParent(bar.m_hWnd), frame->m_hWnd);
}

TEST_F(DockingTest, FloatingPutsTheBarInAMiniFrameAndDockingBringsItBack) {
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CTestBar bar;
    MakeBar(bar, kBarA, AFX_IDW_DOCKBAR_LEFT);
    ASSERT_TRUE(frame->FloatControlBar(&bar, CPoint(600, 300)));
    desktop.RunUntilIdle();
    EXPECT_EQ(DockId(bar), AFX_IDW_DOCKBAR_FLOAT);
    CFrameWnd* floating = bar.GetParentFrame();
    ASSERT_NE(floating, nullptr);
    HWND mini = floating->m_hWnd;
    EXPECT_EQ(::GetWindow(mini, GW_OWNER), frame->m_hWnd);
    // Its client area starts where asked and has the bar's floating size; the bar fills it.
    CRect client;
    floating->GetClientRect(&client);
    floating->ClientToScreen(&client);
    EXPECT_EQ(Text(client), Text(RECT{600, 300, 720, 380}));
    EXPECT_EQ(Text(PlaceOf(bar.m_hWnd)), Text(RECT{0, 0, 120, 80}));
    EXPECT_EQ(PlaceOf(view->m_hWnd).left, 0);  // the left edge is free again
    // Floating, the bar hears of idle time with the docking frame as its target.
    bar.updates = 0;
    desktop.KeyPress(VK_SHIFT);  // any input makes an idle time
    EXPECT_GT(bar.updates, 0);
    EXPECT_EQ(bar.lastTarget, frame);

    // The user makes the floating frame larger: that is the bar's size from now on.
    CRect outer;
    floating->GetWindowRect(&outer);
    floating->SetWindowPos(nullptr, 0, 0, outer.Width() + 30, outer.Height() + 10, SWP_NOZORDER | SWP_NOMOVE);
    desktop.RunUntilIdle();
    EXPECT_EQ(bar.floating, CSize(150, 90));
    EXPECT_EQ(Text(PlaceOf(bar.m_hWnd)), Text(RECT{0, 0, 150, 90}));

    ASSERT_TRUE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_RIGHT));
    desktop.RunUntilIdle();
    EXPECT_FALSE(::IsWindow(mini));  // an empty floating frame goes
    EXPECT_EQ(bar.GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_FLOATING), CBRS_ALIGN_RIGHT);
}

TEST_F(DockingTest, AFloatingFrameClosedOrDestroyedByTheHost) {
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CTestBar bar;
    MakeBar(bar, kBarA, AFX_IDW_DOCKBAR_TOP);
    ASSERT_TRUE(frame->FloatControlBar(&bar, CPoint(500, 200)));
    desktop.RunUntilIdle();
    CFrameWnd* floating = bar.GetParentFrame();
    HWND mini = floating->m_hWnd;

    // Closing hides the bar with its frame; the docking frame shows both again.
    ::SendMessageW(mini, WM_CLOSE, 0, 0);
    desktop.RunUntilIdle();
    EXPECT_FALSE(::IsWindowVisible(mini));
    EXPECT_FALSE(bar.IsVisible());
    frame->ShowControlBar(&bar, TRUE, FALSE);
    desktop.RunUntilIdle();
    EXPECT_TRUE(::IsWindowVisible(mini));
    EXPECT_TRUE(bar.IsWindowVisible());

    // Destroying it takes the bar's window along; the frame forgets the bar and
    // goes on laying out and answering.
    ::DestroyWindow(mini);
    desktop.RunUntilIdle();
    EXPECT_EQ(bar.m_pDockBar, nullptr);
    EXPECT_EQ(frame->GetControlBar(kBarA), nullptr);
    EXPECT_FALSE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP));
    frame->SetWindowPos(nullptr, 0, 0, 600, 400, SWP_NOZORDER | SWP_NOMOVE);
    desktop.RunUntilIdle();
    CSize c = Client();
    EXPECT_EQ(Text(PlaceOf(view->m_hWnd)), Text(RECT{0, 0, c.cx, c.cy}));
}

// A locked frame draws nothing but through a DC asked for with
// DCX_LOCKWINDOWUPDATE, as a drag rectangle is drawn, and catches up once unlocked.
TEST_F(DockingTest, ALockedFrameDrawsOnlyThroughTheExemptDcAndCatchesUpWhenUnlocked) {
    const COLORREF red = RGB(255, 0, 0);
    auto viewPixel = [&] { return tq3::testing::WindowPixel(view->m_hWnd, POINT{20, 20}); };
    auto fillFrame = [&](DWORD flags) {
        HDC dc = ::GetDCEx(frame->m_hWnd, nullptr, flags);
        ASSERT_NE(dc, nullptr);
        CRect r;
        frame->GetWindowRect(&r);
        CDC::FromHandle(dc)->FillSolidRect(0, 0, r.Width(), r.Height(), red);
        ::ReleaseDC(frame->m_hWnd, dc);
    };
    const COLORREF plain = viewPixel();
    ASSERT_TRUE(::LockWindowUpdate(frame->m_hWnd));
    EXPECT_FALSE(::LockWindowUpdate(view->m_hWnd));  // one lock at a time
    view->Invalidate();
    desktop.RunUntilIdle();
    fillFrame(DCX_WINDOW | DCX_CACHE);
    EXPECT_EQ(viewPixel(), plain);
    fillFrame(DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    EXPECT_EQ(viewPixel(), red);
    EXPECT_TRUE(::LockWindowUpdate(nullptr));
    desktop.RunUntilIdle();
    EXPECT_EQ(viewPixel(), plain);  // the paint kept from drawing is drawn now
}

// A bar whose handlers decide for one of its buttons and leave another alone.
class CCommandBar : public CTestBar {
public:
    BOOL allowFirst = TRUE;
    afx_msg void OnFirst() {}
    afx_msg void OnUpdateFirst(CCmdUI* ui) { ui->Enable(allowFirst); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL disableIfNoHandler) override { UpdateDialogControls(this, disableIfNoHandler); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandBar, CTestBar)
ON_COMMAND(1000, &CCommandBar::OnFirst)
ON_UPDATE_COMMAND_UI(1000, &CCommandBar::OnUpdateFirst)
END_MESSAGE_MAP()

TEST_F(DockingTest, TheIdleUpdateSetsABarsControlsAsItsHandlersSay) {
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CCommandBar bar;
    MakeBar(bar, kBarA, AFX_IDW_DOCKBAR_TOP);
    CButton first, unhandled, group;
    CStatic label;
    ASSERT_TRUE(first.Create(u"1", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 20, 20), &bar, 1000));
    ASSERT_TRUE(unhandled.Create(u"2", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 0, 40, 20), &bar, 1001));
    ASSERT_TRUE(group.Create(u"3", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(40, 0, 60, 20), &bar, 1002));
    ASSERT_TRUE(label.Create(u"4", WS_CHILD | WS_VISIBLE, CRect(60, 0, 80, 20), &bar, 1003));
    struct Case {
        BOOL allowFirst;
        bool first, unhandled;
    };
    for (const Case& c : {Case{FALSE, false, false}, Case{TRUE, true, false}}) {
        bar.allowFirst = c.allowFirst;
        desktop.KeyPress(VK_SHIFT);  // an idle time
        EXPECT_EQ(first.IsWindowEnabled() != FALSE, c.first);
        EXPECT_EQ(unhandled.IsWindowEnabled() != FALSE, c.unhandled);  // no handler: disabled
        EXPECT_TRUE(group.IsWindowEnabled());                          // sends nothing: left alone
        EXPECT_TRUE(label.IsWindowEnabled());                          // no button: no command to want
    }
    // Without disabling unhandled controls, nobody's opinion leaves them as they are.
    unhandled.EnableWindow(TRUE);
    bar.UpdateDialogControls(&bar, FALSE);
    EXPECT_TRUE(unhandled.IsWindowEnabled());
}

}  // namespace
}  // namespace tq3::test
