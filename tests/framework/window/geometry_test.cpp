// Window geometry: non-client layout, point mapping, hit testing, SetWindowPos
// and ShowWindow sequences, clipping of visible regions.
#include "framework/window/gdi_seam.h"
#include "tests/framework/window/message_log.h"

namespace tq3::fw::testing {
namespace {

using Seq = std::vector<UINT>;

TEST_F(WindowTest, NonClientAreaTakesTheRoomOfFramesCaptionsEdgesAndScrollBars) {
    int border = GetSystemMetrics(SM_CXBORDER);
    int dlg = GetSystemMetrics(SM_CXDLGFRAME);
    int frame = GetSystemMetrics(SM_CXFRAME);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    int edge = GetSystemMetrics(SM_CXEDGE);
    int vs = GetSystemMetrics(SM_CXVSCROLL);
    int hs = GetSystemMetrics(SM_CYHSCROLL);
    struct Case {
        DWORD style;
        DWORD exStyle;
        RECT insets;  // left, top, right, bottom of the client inside a 200x100 window
    } cases[] = {
        {WS_CHILD, 0, {0, 0, 0, 0}},
        {WS_CHILD | WS_BORDER, 0, {border, border, border, border}},
        {WS_CHILD, WS_EX_CLIENTEDGE, {edge, edge, edge, edge}},
        {WS_CHILD | WS_VSCROLL, 0, {0, 0, vs, 0}},
        {WS_CHILD | WS_HSCROLL | WS_VSCROLL, 0, {0, 0, vs, hs}},
        {WS_CHILD | WS_CAPTION, 0, {dlg, dlg + caption, dlg, dlg}},
        {WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_VSCROLL, WS_EX_CLIENTEDGE,
         {frame + edge, frame + caption + edge, frame + edge + vs, frame + edge}},
    };
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    for (const Case& c : cases) {
        HWND h = CreateWindowExW(c.exStyle, kClass, nullptr, c.style, 10, 20, 200, 100, top, nullptr, nullptr, nullptr);
        ASSERT_NE(h, nullptr);
        RECT wr, cr;
        GetWindowRect(h, &wr);
        GetClientRect(h, &cr);
        POINT origin{0, 0};
        ClientToScreen(h, &origin);
        EXPECT_EQ(origin.x - wr.left, c.insets.left) << std::hex << c.style;
        EXPECT_EQ(origin.y - wr.top, c.insets.top) << std::hex << c.style;
        EXPECT_EQ(wr.right - (origin.x + cr.right), c.insets.right) << std::hex << c.style;
        EXPECT_EQ(wr.bottom - (origin.y + cr.bottom), c.insets.bottom) << std::hex << c.style;
        // AdjustWindowRectEx goes the other way for the same frame (scroll bars aside).
        RECT adj{0, 0, 10, 10};
        AdjustWindowRectEx(&adj, c.style & ~(WS_VSCROLL | WS_HSCROLL), FALSE, c.exStyle);
        EXPECT_EQ(-adj.left, c.insets.left);
        EXPECT_EQ(-adj.top, c.insets.top);
        DestroyWindow(h);
    }
}

TEST_F(WindowTest, PointsMapBetweenClientAreasAndTheScreen) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {100, 50, 400, 350});
    HWND child = Child(top, {10, 20, 110, 120});
    HWND grand = Child(child, {5, 5, 50, 50});
    POINT p{1, 2};
    ClientToScreen(grand, &p);
    EXPECT_EQ(p.x, 100 + 10 + 5 + 1);
    EXPECT_EQ(p.y, 50 + 20 + 5 + 2);
    ScreenToClient(child, &p);
    EXPECT_EQ(p.x, 6);
    EXPECT_EQ(p.y, 7);
    POINT pts[2] = {{0, 0}, {3, 4}};
    MapWindowPoints(grand, top, pts, 2);
    EXPECT_EQ(pts[1].x, 18);
    EXPECT_EQ(pts[1].y, 29);
    EXPECT_FALSE(ClientToScreen(nullptr, &p));
}

TEST_F(WindowTest, ChildWindowFromPointExHonoursItsSkipFlags) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND hidden = Child(top, {0, 0, 100, 100}, WS_CHILD, 1);
    HWND disabled = Child(top, {100, 0, 200, 100}, WS_CHILD | WS_VISIBLE | WS_DISABLED, 2);
    HWND plain = Child(top, {0, 0, 300, 100}, WS_CHILD | WS_VISIBLE, 3);
    struct Case {
        POINT pt;
        UINT flags;
        HWND expected;
    } cases[] = {
        {{50, 50}, CWP_ALL, hidden},
        {{50, 50}, CWP_SKIPINVISIBLE, plain},
        {{150, 50}, CWP_ALL, disabled},
        {{150, 50}, CWP_SKIPDISABLED, plain},
        {{150, 200}, CWP_ALL, top},
        {{500, 500}, CWP_ALL, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChildWindowFromPointEx(top, c.pt, c.flags), c.expected) << c.pt.x << "," << c.pt.y;
    }
    // WindowFromPoint passes over hidden windows, and a disabled child gives way to its parent.
    EXPECT_EQ(WindowFromPoint(POINT{50, 50}), plain);
    EXPECT_EQ(WindowFromPoint(POINT{150, 150}), top);
}

TEST_F(WindowTest, SetWindowPosSendsChangingCalcChangedThenMoveAndSize) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND child = Child(top, {0, 0, 100, 100});
    struct Case {
        int x, y, cx, cy;
        UINT flags;
        Seq expected;
    } cases[] = {
        {10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER,
         {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE}},
        {0, 0, 50, 60, SWP_NOMOVE | SWP_NOZORDER,
         {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
        {20, 20, 70, 70, SWP_NOZORDER,
         {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}},
        // Nothing changes: no client messages.
        {20, 20, 70, 70, SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}},
        {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOSENDCHANGING, {WM_WINDOWPOSCHANGED}},
    };
    for (const Case& c : cases) {
        log().Clear();
        EXPECT_TRUE(SetWindowPos(child, nullptr, c.x, c.y, c.cx, c.cy, c.flags));
        EXPECT_EQ(log().Of(child), c.expected) << c.x << " " << c.cx << " " << std::hex << c.flags;
    }
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.right, 90);
    // WM_WINDOWPOSCHANGING may change the request.
    On(child, WM_WINDOWPOSCHANGING, [](HWND, WPARAM, LPARAM lp) -> LRESULT {
        reinterpret_cast<WINDOWPOS*>(lp)->cx = 33;
        return 0;
    });
    MoveWindow(child, 0, 0, 80, 80, TRUE);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.right - r.left, 33);
    EXPECT_EQ(r.bottom - r.top, 80);
}

TEST_F(WindowTest, ShowAndHideSendTheirMessagesOnlyOnChange) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND child = Child(top, {0, 0, 100, 100}, WS_CHILD);
    log().Clear();
    EXPECT_FALSE(ShowWindow(child, SW_SHOW));  // was hidden
    EXPECT_EQ(log().Of(child), (Seq{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
    log().Clear();
    EXPECT_TRUE(ShowWindow(child, SW_SHOW));
    EXPECT_TRUE(log().Of(child).empty());
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));
    EXPECT_EQ(log().Of(child), (Seq{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
    EXPECT_EQ(log().Find(child, WM_SHOWWINDOW)[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_FALSE(IsWindowVisible(child));
    // A child is visible only while its parent is.
    ShowWindow(child, SW_SHOW);
    ShowWindow(top, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_NE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(WindowTest, VisibleRegionsAreClippedBySiblingsAndChildrenOnRequest) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND under = Child(top, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 1);
    HWND over = Child(top, {50, 50, 150, 150}, WS_CHILD | WS_VISIBLE, 2);
    SetWindowPos(over, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    WindowDrawTarget t;
    ASSERT_TRUE(GetWindowDrawTarget(under, true, &t));
    EXPECT_TRUE(t.clip.Contains(10, 10));
    EXPECT_FALSE(t.clip.Contains(60, 60));  // under the sibling on top
    ASSERT_TRUE(GetWindowDrawTarget(top, true, &t));
    EXPECT_TRUE(t.clip.Contains(10, 10));  // no WS_CLIPCHILDREN: the parent draws under its children
    SetWindowLongW(top, GWL_STYLE, GetWindowLongW(top, GWL_STYLE) | WS_CLIPCHILDREN);
    ASSERT_TRUE(GetWindowDrawTarget(top, true, &t));
    EXPECT_FALSE(t.clip.Contains(10, 10));
    EXPECT_TRUE(t.clip.Contains(200, 200));
    EXPECT_EQ(t.origin.x, 0);
    // A child never draws outside its parent's client area.
    HWND wide = Child(under, {-20, -20, 500, 500}, WS_CHILD | WS_VISIBLE, 3);
    ASSERT_TRUE(GetWindowDrawTarget(wide, true, &t));
    EXPECT_EQ(t.clip.Bounds().right, 100);
    EXPECT_FALSE(GetWindowDrawTarget(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x12345)), true, &t));
}

TEST_F(WindowTest, DefaultHitTestNamesTheFrameParts) {
    HWND top = Top(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE, {100, 100, 400, 300});
    RECT wr;
    GetWindowRect(top, &wr);
    auto hit = [&](int x, int y) {
        return SendMessageW(top, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    };
    POINT c = ScreenPoint(top, 5, 5);
    EXPECT_EQ(hit(c.x, c.y), HTCLIENT);
    EXPECT_EQ(hit(wr.left + 1, wr.top + 100), HTLEFT);
    EXPECT_EQ(hit(wr.right - 1, wr.bottom - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(wr.left + 100, wr.top + GetSystemMetrics(SM_CXFRAME) + 3), HTCAPTION);
    EXPECT_EQ(hit(wr.right - GetSystemMetrics(SM_CXFRAME) - 5, wr.top + 100), HTVSCROLL);
    EXPECT_EQ(hit(wr.left - 5, wr.top), HTNOWHERE);
}

}  // namespace
}  // namespace tq3::fw::testing
