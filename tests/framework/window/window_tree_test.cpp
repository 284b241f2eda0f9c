// Windows as a tree: creation and destruction sequences, handles, classes, text,
// styles and properties; the non-client layout, point mapping, hit testing,
// SetWindowPos and ShowWindow sequences, and clipping of visible regions.
#include <string>

#include "framework/window/gdi_seam.h"
#include "framework/window/hooks.h"
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
    // Overlapped windows always have a caption and clip their siblings.
    const auto style = static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_CLIPSIBLINGS), WS_CAPTION | WS_CLIPSIBLINGS);

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
    EXPECT_FALSE(IsWindow(aa));
    EXPECT_EQ(SendMessageW(a, WM_USER, 0, 0), 0);
    EXPECT_FALSE(DestroyWindow(a));
    EXPECT_FALSE(SetWindowPos(b, nullptr, 0, 0, 1, 1, SWP_NOZORDER));
    // When the active window goes, the next top-level window takes over.
    HWND first = Top();
    HWND second = Top();
    ASSERT_EQ(GetActiveWindow(), second);
    DestroyWindow(second);
    EXPECT_EQ(GetActiveWindow(), first);
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
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
    const UINT still = SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, still);
    EXPECT_EQ(order(), (std::vector<HWND>{c, a, b}));
    SetWindowPos(c, a, 0, 0, 0, 0, still);
    EXPECT_EQ(order(), (std::vector<HWND>{a, c, b}));
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, still);
    EXPECT_EQ(order(), (std::vector<HWND>{c, b, a}));
    HWND top2 = Top(WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetTopWindow(nullptr), top2) << "new top-level windows come out on top";
}

TEST_F(WindowTest, CreationFailuresLeaveNoWindow) {
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    HWND dead = Child(top, {0, 0, 1, 1});
    DestroyWindow(dead);
    EXPECT_EQ(Child(dead, {0, 0, 1, 1}), nullptr);
    EXPECT_EQ(Child(nullptr, {0, 0, 1, 1}), nullptr);
    // A procedure refusing WM_NCCREATE or WM_CREATE: the half-made window goes again.
    struct Case {
        UINT refuses;
        LRESULT answer;
        std::vector<UINT> sequence;
    };
    for (const Case& c : {Case{WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
                          Case{WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}}}) {
        On(nullptr, c.refuses, [&c](HWND, WPARAM, LPARAM) { return c.answer; });
        spy.Clear();
        spy.KeepOnly({WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY});
        EXPECT_EQ(Child(top, {0, 0, 1, 1}), nullptr);
        EXPECT_TRUE(Same(spy.Compare(Msgs(c.sequence))));
        Off(nullptr, c.refuses);
    }
    // A window that destroys itself before it is made: its parent hears of its
    // destruction, never of its creation.
    On(nullptr, WM_MOVE, [](HWND h, WPARAM, LPARAM) -> LRESULT {
        DestroyWindow(h);
        return 0;
    });
    spy.Clear();
    spy.KeepOnly({WM_PARENTNOTIFY});
    EXPECT_EQ(Child(top, {0, 0, 1, 1}), nullptr);
    EXPECT_TRUE(Same(spy.Compare(top, {Msg(WM_PARENTNOTIFY).WParam(MAKEWPARAM(WM_DESTROY, 1))})));
    Off(nullptr, WM_MOVE);
}

std::function<void(char, HWND, const CBT_CREATEWNDW*)> g_hookSeen;
LRESULT g_hookRefuses = 0;
HHOOK g_hookTakesItselfOut = nullptr;

LRESULT OlderHook(int code, WPARAM w, LPARAM l) {
    g_hookSeen('A', reinterpret_cast<HWND>(w), reinterpret_cast<const CBT_CREATEWNDW*>(l));
    return CallNextHookEx(nullptr, code, w, l);
}
LRESULT NewerHook(int code, WPARAM w, LPARAM l) {
    g_hookSeen('B', reinterpret_cast<HWND>(w), reinterpret_cast<const CBT_CREATEWNDW*>(l));
    if (g_hookTakesItselfOut != nullptr) UnhookWindowsHookEx(std::exchange(g_hookTakesItselfOut, nullptr));
    return g_hookRefuses != 0 ? g_hookRefuses : CallNextHookEx(nullptr, code, w, l);
}

// Creation hooks run newest first, once the window exists and before its first
// message; a refusal stops the chain and the window goes with WM_NCDESTROY alone.
TEST_F(WindowTest, CreationHooksRunNewestFirstBeforeTheFirstMessage) {
    HWND top = Top(WS_OVERLAPPEDWINDOW);
    std::string order;
    size_t messagesBefore = 99;
    std::u16string name;
    g_hookSeen = [&](char who, HWND h, const CBT_CREATEWNDW* info) {
        order += who;
        messagesBefore = spy.LogOf(h).size();
        name = info->lpcs->lpszName;
    };
    EXPECT_EQ(SetWindowsHookExW(WH_CBT + 1, &OlderHook, nullptr, 0), nullptr);  // a kind not kept
    HHOOK older = SetWindowsHookExW(WH_CBT, &OlderHook, nullptr, 0);
    HHOOK newer = SetWindowsHookExW(WH_CBT, &NewerHook, nullptr, 0);
    ASSERT_NE(older, nullptr);
    ASSERT_NE(newer, nullptr);
    EXPECT_NE(Child(top, {0, 0, 1, 1}), nullptr);
    EXPECT_EQ(order, "BA");
    EXPECT_EQ(messagesBefore, 0u);
    EXPECT_EQ(name, u"child");

    order.clear();
    g_hookRefuses = 1;
    spy.Clear();
    spy.KeepOnly({WM_NCCREATE, WM_CREATE, WM_NCDESTROY});
    EXPECT_EQ(Child(top, {0, 0, 1, 1}), nullptr);
    EXPECT_EQ(order, "B");
    EXPECT_TRUE(Same(spy.Compare(Msgs({WM_NCDESTROY}))));
    g_hookRefuses = 0;

    // A hook that takes itself out while it runs still passes the event on.
    order.clear();
    g_hookTakesItselfOut = newer;
    EXPECT_NE(Child(top, {0, 0, 1, 1}), nullptr);
    EXPECT_EQ(order, "BA");
    order.clear();
    EXPECT_NE(Child(top, {0, 0, 1, 1}), nullptr);
    EXPECT_EQ(order, "A");
    EXPECT_FALSE(UnhookWindowsHookEx(newer));
    EXPECT_TRUE(UnhookWindowsHookEx(older));
    order.clear();
    EXPECT_NE(Child(top, {0, 0, 1, 1}), nullptr);
    EXPECT_EQ(order, "");
    g_hookSeen = nullptr;
}

TEST_F(WindowTest, ClassesTextStylesAndPropertiesFollowThePlatform) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"testwindow";  // names compare without regard to case
    EXPECT_EQ(RegisterClassW(&wc), 0);
    EXPECT_EQ(RegisterClassW(nullptr), 0);
    wc.lpszClassName = u"Extra";
    wc.cbWndExtra = 16;
    ASSERT_NE(RegisterClassW(&wc), 0);
    WNDCLASSW info{};
    EXPECT_TRUE(GetClassInfoW(nullptr, u"extra", &info));
    EXPECT_EQ(info.cbWndExtra, 16);
    HWND w = CreateWindowExW(0, u"EXTRA", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    WCHAR name[16];
    EXPECT_EQ(GetClassNameW(w, name, 3), 2);  // cut to the buffer, zero-terminated
    EXPECT_EQ(std::u16string(name), u"Ex");
    EXPECT_EQ(SetWindowLongPtrW(w, 8, 1234), 0);
    EXPECT_EQ(GetWindowLongPtrW(w, 8), 1234);
    EXPECT_EQ(GetWindowLongPtrW(w, 9), 0);  // past the extra bytes
    EXPECT_FALSE(UnregisterClassW(u"Extra", nullptr));  // a window still uses it
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassW(u"Extra", nullptr));

    HWND top = Top(WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(SetWindowTextW(top, u"Hello"));
    EXPECT_EQ(GetWindowTextLengthW(top), 5);
    WCHAR buf[4];
    EXPECT_EQ(GetWindowTextW(top, buf, 4), 3);  // cut to the buffer, zero-terminated
    EXPECT_EQ(std::u16string(buf), u"Hel");
    spy.Ignore({});
    spy.Clear();
    EXPECT_EQ(InternalGetWindowText(top, buf, 4), 3);  // the same text, without WM_GETTEXT
    EXPECT_EQ(std::u16string(buf), u"Hel");
    EXPECT_TRUE(spy.Log().empty());
    LONG old = SetWindowLongW(top, GWL_STYLE, GetWindowLongW(top, GWL_STYLE) | WS_VSCROLL);
    EXPECT_EQ(old & WS_VSCROLL, 0);
    EXPECT_TRUE(Same(spy.Compare(top, {Msg(WM_STYLECHANGING).WParam(GWL_STYLE), Msg(WM_STYLECHANGED).WParam(GWL_STYLE)})));
    // The frame only takes the new style on SWP_FRAMECHANGED.
    RECT before, after;
    GetClientRect(top, &before);
    SetWindowPos(top, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    GetClientRect(top, &after);
    EXPECT_EQ(before.right - after.right, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_TRUE(SetPropW(top, u"Key", reinterpret_cast<HANDLE>(7)));
    EXPECT_EQ(GetPropW(top, u"KEY"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(RemovePropW(top, u"key"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(GetPropW(top, u"Key"), nullptr);
}

TEST_F(WindowTest, EnableWindowCancelsModeFirstAndDropsTheFocus) {
    HWND top = Top();
    HWND child = Child(top, {0, 0, 50, 50});
    HWND other = Child(top, {60, 0, 50, 50});
    SetFocus(child);
    EXPECT_FALSE(EnableWindow(other, FALSE));
    EXPECT_EQ(GetFocus(), child) << "another window disabled leaves the focus alone";
    spy.Clear();
    EXPECT_FALSE(EnableWindow(child, FALSE));  // was enabled
    EXPECT_TRUE(Same(spy.Compare(child, Msgs({WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}))));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(EnableWindow(child, TRUE));  // was disabled
    EXPECT_TRUE(IsWindowEnabled(child));
}

// ---- Geometry ------------------------------------------------------------------------

TEST_F(WindowTest, NonClientAreaTakesTheRoomOfFramesCaptionsEdgesAndScrollBars) {
    const int border = GetSystemMetrics(SM_CXBORDER), dlg = GetSystemMetrics(SM_CXDLGFRAME);
    const int frame = GetSystemMetrics(SM_CXFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
    const int edge = GetSystemMetrics(SM_CXEDGE), vs = GetSystemMetrics(SM_CXVSCROLL);
    const int hs = GetSystemMetrics(SM_CYHSCROLL);
    struct Case {
        DWORD style;
        DWORD exStyle;
        RECT insets;  // left, top, right, bottom of the client inside the window
    } cases[] = {
        {WS_CHILD, 0, {0, 0, 0, 0}},
        {WS_CHILD | WS_BORDER, 0, {border, border, border, border}},
        {WS_CHILD | WS_HSCROLL | WS_VSCROLL, 0, {0, 0, vs, hs}},
        {WS_CHILD | WS_CAPTION, 0, {dlg, dlg + caption, dlg, dlg}},
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
        // AdjustWindowRectEx goes the other way for the same frame (scroll bars aside).
        CRect adj(0, 0, 10, 10);
        EXPECT_TRUE(AdjustWindowRectEx(&adj, c.style & ~(WS_VSCROLL | WS_HSCROLL), FALSE, c.exStyle));
        EXPECT_EQ(-adj.TopLeft(), CPoint(c.insets.left, c.insets.top));
        DestroyWindow(h);
    }
}

TEST_F(WindowTest, PointsMapAndHitTestsFindTheRightWindowAndPart) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {100, 50, 400, 350});
    HWND child = Child(top, {10, 20, 110, 120});
    HWND grand = Child(child, {5, 5, 50, 50});
    CPoint p = ScreenPoint(grand, 1, 2);
    EXPECT_EQ(p, CPoint(100 + 10 + 5 + 1, 50 + 20 + 5 + 2));
    ScreenToClient(child, &p);
    EXPECT_EQ(p, CPoint(6, 7));
    CPoint pts[2] = {{0, 0}, {3, 4}};
    MapWindowPoints(grand, top, pts, 2);
    EXPECT_EQ(pts[1], CPoint(18, 29));

    HWND frame = Top(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE, {100, 100, 400, 300});
    RECT wr;
    GetWindowRect(frame, &wr);
    const int side = GetSystemMetrics(SM_CXFRAME);
    struct Case {
        POINT pt;
        LRESULT hit;
    } cases[] = {
        {ScreenPoint(frame, 5, 5), HTCLIENT},
        {{wr.left + 1, wr.top + 100}, HTLEFT},
        {{wr.left + 1, wr.top + side + GetSystemMetrics(SM_CYCAPTION) - 1}, HTTOPLEFT},  // the corner's last row
        {{wr.left + 1, wr.top + side + GetSystemMetrics(SM_CYCAPTION)}, HTLEFT},
        {{wr.right - 1, wr.bottom - 1}, HTBOTTOMRIGHT},
        {{wr.left + 100, wr.top + side}, HTCAPTION},  // the caption's first row
        {{wr.right - side - 5, wr.top + 100}, HTVSCROLL},
        {{wr.left - 5, wr.top}, HTNOWHERE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(c.pt.x, c.pt.y)), c.hit) << c.pt.x << "," << c.pt.y;
    }
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
        {{50, 50}, CWP_ALL, hidden},          {{50, 50}, CWP_SKIPINVISIBLE, plain},
        {{150, 50}, CWP_ALL, disabled},       {{150, 50}, CWP_SKIPDISABLED, plain},
        {{150, 200}, CWP_ALL, top},           {{500, 500}, CWP_ALL, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChildWindowFromPointEx(top, c.pt, c.flags), c.expected) << c.pt.x << "," << c.pt.y;
    }
    // WindowFromPoint passes over hidden windows, and a disabled child gives way to its parent.
    EXPECT_EQ(WindowFromPoint(POINT{50, 50}), plain);
    EXPECT_EQ(WindowFromPoint(POINT{150, 150}), top);
}

TEST_F(WindowTest, SetWindowPosAndShowWindowSendTheirMessagesOnlyOnChange) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND child = Child(top, {0, 0, 100, 100});
    struct Case {
        int x, y, cx, cy;
        UINT flags;
        std::vector<UINT> expected;
    } cases[] = {
        {10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE}},
        {0, 0, 50, 60, SWP_NOMOVE | SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
        {20, 20, 70, 70, SWP_NOZORDER,
         {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}},
        // Nothing changes: no client messages.
        {20, 20, 70, 70, SWP_NOZORDER, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}},
        {0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOSENDCHANGING, {WM_WINDOWPOSCHANGED}},
    };
    for (const Case& c : cases) {
        spy.Clear();
        EXPECT_TRUE(SetWindowPos(child, nullptr, c.x, c.y, c.cx, c.cy, c.flags));
        EXPECT_TRUE(Same(spy.Compare(child, Msgs(c.expected)))) << c.x << " " << c.cx << " " << std::hex << c.flags;
    }
    CRect r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r, CRect(20, 20, 90, 90));
    // WM_WINDOWPOSCHANGING may change the request.
    On(child, WM_WINDOWPOSCHANGING, [](HWND, WPARAM, LPARAM lp) -> LRESULT {
        reinterpret_cast<WINDOWPOS*>(lp)->cx = 33;
        return 0;
    });
    MoveWindow(child, 0, 0, 80, 80, TRUE);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.Size(), CSize(33, 80));

    const std::vector<UINT> shown{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED};
    HWND hidden = Child(top, {0, 0, 100, 100}, WS_CHILD);
    spy.Clear();
    EXPECT_FALSE(ShowWindow(hidden, SW_SHOW));  // was hidden
    EXPECT_TRUE(ShowWindow(hidden, SW_SHOW));   // nothing to do: no messages
    EXPECT_TRUE(Same(spy.Compare(hidden, Msgs(shown))));
    spy.Clear();
    EXPECT_TRUE(ShowWindow(hidden, SW_HIDE));
    EXPECT_TRUE(Same(spy.Compare(hidden, {Msg(WM_SHOWWINDOW).WParam(FALSE), Msg(WM_WINDOWPOSCHANGING),
                                          Msg(WM_WINDOWPOSCHANGED)})));
    // A child is visible only while its parent is.
    ShowWindow(hidden, SW_SHOW);
    ShowWindow(top, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_NE(GetWindowLongW(hidden, GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(WindowTest, VisibleRegionsAreClippedBySiblingsAndChildrenOnRequest) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND under = Child(top, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 1);
    HWND over = Child(top, {50, 50, 150, 150}, WS_CHILD | WS_VISIBLE, 2);
    SetWindowPos(over, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    tq3::fw::WindowDrawTarget t;
    ASSERT_TRUE(GetWindowDrawTarget(under, true, &t));
    EXPECT_TRUE(t.clip.Contains(10, 10));
    EXPECT_FALSE(t.clip.Contains(60, 60));  // under the sibling on top
    ASSERT_TRUE(GetWindowDrawTarget(top, true, &t));
    EXPECT_TRUE(t.clip.Contains(10, 10));  // no WS_CLIPCHILDREN: the parent draws under its children
    SetWindowLongW(top, GWL_STYLE, GetWindowLongW(top, GWL_STYLE) | WS_CLIPCHILDREN);
    ASSERT_TRUE(GetWindowDrawTarget(top, true, &t));
    EXPECT_FALSE(t.clip.Contains(10, 10));
    EXPECT_TRUE(t.clip.Contains(200, 200));
    // A child never draws outside its parent's client area.
    HWND wide = Child(under, {-20, -20, 500, 500}, WS_CHILD | WS_VISIBLE, 3);
    ASSERT_TRUE(GetWindowDrawTarget(wide, true, &t));
    EXPECT_EQ(t.clip.Bounds().right, 100);
    EXPECT_FALSE(GetWindowDrawTarget(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x12345)), true, &t));
}

}  // namespace
}  // namespace tq3::test
