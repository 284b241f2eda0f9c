// Windows as a tree: creation and destruction sequences, handles, classes and
// properties; the non-client layout, hit testing, and the SetWindowPos sequences.
#include "framework/window/gdi_seam.h"
#include "tests/framework/window/window_fixture.h"

namespace tq3::test {
namespace {

TEST_F(WindowTest, CreationSendsTheCreateSequenceTellsTheParentAndShows) {
    HWND top = Top();
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(GetFocus(), top);  // DefWindowProc's WM_ACTIVATE gives the focus to the window
    const std::vector<UINT> made = Of(top);
    ASSERT_GE(made.size(), 5u);
    EXPECT_EQ(std::vector<UINT>(made.begin(), made.begin() + 5),
              (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
    ASSERT_EQ(Count(top, WM_ACTIVATE), 1u);
    EXPECT_EQ(LOWORD(spy.Find(top, WM_ACTIVATE)[0].wParam), WA_ACTIVE);

    spy.Clear();
    HWND child = Child(top, {5, 6, 105, 56});
    ASSERT_NE(child, nullptr);
    // The parent hears of the new child between the child's WM_MOVE and its showing.
    EXPECT_TRUE(Same(spy.Compare({
        Msg(WM_NCCREATE).In(child), Msg(WM_NCCALCSIZE).In(child), Msg(WM_CREATE).In(child),
        Msg(WM_SIZE).In(child).LParam(MAKELPARAM(100, 50)), Msg(WM_MOVE).In(child).Point(5, 6),
        Msg(WM_PARENTNOTIFY).In(top).WParam(MAKEWPARAM(WM_CREATE, 1)).LParam(reinterpret_cast<LPARAM>(child)),
        Msg(WM_SHOWWINDOW).In(child), Msg(WM_WINDOWPOSCHANGING).In(child), Msg(WM_WINDOWPOSCHANGED).In(child),
    })));
    EXPECT_EQ(GetDlgItem(top, 1), child);
}

TEST_F(WindowTest, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    HWND a = Child(top, {0, 0, 10, 10}, WS_CHILD | WS_VISIBLE, 1);
    HWND aa = Child(a, {0, 0, 5, 5}, WS_CHILD | WS_VISIBLE, 2);
    HWND b = Child(top, {20, 0, 30, 10}, WS_CHILD, 3);
    SetFocus(a);
    spy.Clear();
    spy.KeepOnly({WM_DESTROY, WM_NCDESTROY});
    ASSERT_TRUE(DestroyWindow(a));
    EXPECT_EQ(GetFocus(), top) << "the focus goes to the parent of the focused window";
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_TRUE(Same(spy.Compare({
        Msg(WM_DESTROY).In(a), Msg(WM_DESTROY).In(aa), Msg(WM_NCDESTROY).In(aa), Msg(WM_NCDESTROY).In(a),
        Msg(WM_DESTROY).In(top), Msg(WM_DESTROY).In(b), Msg(WM_NCDESTROY).In(b), Msg(WM_NCDESTROY).In(top),
    })));
    // A stale handle is refused everywhere, never followed.
    EXPECT_EQ(SendMessageW(a, WM_USER, 0, 0), 0);
    EXPECT_FALSE(SetWindowPos(b, nullptr, 0, 0, 1, 1, SWP_NOZORDER));
}

TEST(FreshDesktop, InheritsNoWindowsHandlesOrSettings) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"FreshDesktopWindow";
    auto make = [](DWORD style, int x) {
        return CreateWindowExW(0, u"FreshDesktopWindow", u"w", style, x, x, x == CW_USEDEFAULT ? x : 10,
                               x == CW_USEDEFAULT ? x : 10, nullptr, nullptr, nullptr, nullptr);
    };
    auto placedByDefault = [&] {
        RECT r{};
        GetWindowRect(make(WS_OVERLAPPED, CW_USEDEFAULT), &r);
        return r.left;
    };
    HWND old = nullptr;
    {
        tq3::testing::Desktop first(640, 480);
        ASSERT_NE(RegisterClassW(&wc), 0);
        old = make(WS_POPUP, 0);
        ASSERT_TRUE(IsWindow(old));
        placedByDefault();
        SetCaretBlinkTime(200);
        SetDoubleClickTime(900);
    }
    tq3::testing::Desktop second(320, 200);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_NE(make(WS_POPUP, 0), old);
    EXPECT_EQ(tq3::fw::DesktopSurface().Width(), 320);
    EXPECT_EQ(std::pair(GetCaretBlinkTime(), GetDoubleClickTime()), std::pair(530u, 500u));
    EXPECT_EQ(placedByDefault(), 0);  // the cascade of default positions starts again
    EXPECT_EQ(placedByDefault(), 26);
}

TEST_F(WindowTest, ChildrenStackInCreationOrderAndZOrderCanChange) {
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    HWND a = Child(top, {0, 0, 10, 10}, WS_CHILD, 1);
    HWND b = Child(top, {0, 0, 10, 10}, WS_CHILD, 2);
    HWND c = Child(top, {0, 0, 10, 10}, WS_CHILD, 3);
    auto order = [&] {
        std::vector<HWND> out;
        for (HWND h = GetWindow(top, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) out.push_back(h);
        return out;
    };
    EXPECT_EQ(order(), (std::vector<HWND>{a, b, c}));
    const UINT still = SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, still);
    EXPECT_EQ(order(), (std::vector<HWND>{c, a, b}));
    SetWindowPos(c, a, 0, 0, 0, 0, still);
    EXPECT_EQ(order(), (std::vector<HWND>{a, c, b}));
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, still);
    EXPECT_EQ(order(), (std::vector<HWND>{c, b, a}));
}

TEST_F(WindowTest, ClassNamesAndPropertyKeysIgnoreCase) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"testwindow";  // names compare without regard to case
    EXPECT_EQ(RegisterClassW(&wc), 0);
    EXPECT_EQ(RegisterClassW(nullptr), 0);
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(SetPropW(top, u"Key", reinterpret_cast<HANDLE>(7)));
    EXPECT_EQ(GetPropW(top, u"KEY"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(RemovePropW(top, u"key"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(GetPropW(top, u"Key"), nullptr);
}

TEST_F(WindowTest, EnableWindowCancelsModeFirstAndDropsTheFocus) {
    HWND top = Top();
    HWND child = Child(top, {0, 0, 50, 50});
    SetFocus(child);
    spy.Clear();
    EXPECT_FALSE(EnableWindow(child, FALSE));  // was enabled
    EXPECT_TRUE(Same(spy.Compare(child, Msgs({WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}))));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(EnableWindow(child, TRUE));  // was disabled
}

// ---- Geometry ------------------------------------------------------------------------

TEST_F(WindowTest, NonClientAreaTakesTheRoomOfFramesCaptionsEdgesAndScrollBars) {
    const int frame = GetSystemMetrics(SM_CXFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
    const int edge = GetSystemMetrics(SM_CXEDGE), vs = GetSystemMetrics(SM_CXVSCROLL);
    const int hs = GetSystemMetrics(SM_CYHSCROLL);
    struct Case {
        DWORD style;
        DWORD exStyle;
        RECT insets;  // left, top, right, bottom of the client inside the window
    } cases[] = {
        {WS_CHILD, 0, {0, 0, 0, 0}},
        {WS_CHILD | WS_HSCROLL | WS_VSCROLL, 0, {0, 0, vs, hs}},
        {WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_VSCROLL, WS_EX_CLIENTEDGE,
         {frame + edge, frame + caption + edge, frame + edge + vs, frame + edge}},
    };
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.style << " " << c.exStyle);
        HWND h = CreateWindowExW(c.exStyle, kClass, nullptr, c.style, 10, 20, 200, 100, top, nullptr, nullptr, nullptr);
        ASSERT_NE(h, nullptr);
        RECT wr, cr;
        GetWindowRect(h, &wr);
        GetClientRect(h, &cr);
        const POINT o = ScreenPoint(h, 0, 0);
        EXPECT_EQ(CRect(o.x - wr.left, o.y - wr.top, wr.right - o.x - cr.right, wr.bottom - o.y - cr.bottom),
                  CRect(c.insets));
        DestroyWindow(h);
    }
}

TEST_F(WindowTest, HitTestsFindThePartOfTheFrame) {
    HWND frame = Top(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE, {100, 100, 400, 300});
    RECT wr;
    GetWindowRect(frame, &wr);
    const int side = GetSystemMetrics(SM_CXFRAME);
    struct Case {
        POINT pt;
        LRESULT hit;
    } cases[] = {
        {ScreenPoint(frame, 5, 5), HTCLIENT},
        {{wr.left + 1, wr.top + side + GetSystemMetrics(SM_CYCAPTION) - 1}, HTTOPLEFT},  // the corner's last row
        {{wr.right - 1, wr.bottom - 1}, HTBOTTOMRIGHT},
        {{wr.left + 100, wr.top + side}, HTCAPTION},  // the caption's first row
        {{wr.right - side - 5, wr.top + 100}, HTVSCROLL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(c.pt.x, c.pt.y)), c.hit) << c.pt.x << "," << c.pt.y;
    }
}

TEST_F(WindowTest, SetWindowPosSendsTheClientMessagesOnlyOnChange) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND child = Child(top, {0, 0, 100, 100});
    struct Case {
        int x, y, cx, cy;
        UINT flags;
        std::vector<UINT> expected;
    } cases[] = {
        {10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE}},
        {20, 20, 70, 70, SWP_NOZORDER,
         {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}},
        // Nothing changes: no client messages.
        {20, 20, 70, 70, SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}},
    };
    for (const Case& c : cases) {
        spy.Clear();
        EXPECT_TRUE(SetWindowPos(child, nullptr, c.x, c.y, c.cx, c.cy, c.flags));
        EXPECT_TRUE(Same(spy.Compare(child, Msgs(c.expected)))) << c.x << " " << c.cx << " " << std::hex << c.flags;
    }
    CRect r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r, CRect(20, 20, 90, 90));
}

}  // namespace
}  // namespace tq3::test
