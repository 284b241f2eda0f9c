// Input through the headless backend: focus, capture, clicks and double clicks,
// key state, the wheel, context menus, cursors and disabled windows.
#include "framework/window/cursor.h"
#include "tests/framework/window/message_log.h"

namespace tq3::fw::testing {
namespace {

using Seq = std::vector<UINT>;
using Button = InputEvent::Button;

TEST_F(WindowTest, FocusMovesWithKillFocusThenSetFocusNamingTheOtherWindow) {
    HWND top = Top();
    HWND a = Child(top, {0, 0, 50, 50}, WS_CHILD | WS_VISIBLE, 1);
    HWND b = Child(top, {60, 0, 110, 50}, WS_CHILD | WS_VISIBLE, 2);
    EXPECT_EQ(SetFocus(a), top);
    log().Clear();
    EXPECT_EQ(SetFocus(b), a);
    auto all = log().All();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], std::make_pair(a, static_cast<UINT>(WM_KILLFOCUS)));
    EXPECT_EQ(all[1], std::make_pair(b, static_cast<UINT>(WM_SETFOCUS)));
    EXPECT_EQ(reinterpret_cast<HWND>(log().Find(a, WM_KILLFOCUS)[0].wParam), b);
    EXPECT_EQ(reinterpret_cast<HWND>(log().Find(b, WM_SETFOCUS)[0].wParam), a);
    log().Clear();
    EXPECT_EQ(SetFocus(b), b);  // already there: no messages
    EXPECT_TRUE(log().All().empty());
    EXPECT_EQ(SetFocus(nullptr), b);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x4321))), nullptr);
    // Hiding the focused window hands the focus to its parent.
    SetFocus(a);
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
    // Focusing a window of another top-level window activates that one first.
    HWND other = Top();
    HWND inOther = Child(other, {0, 0, 10, 10});
    SetActiveWindow(top);
    log().Clear();
    SetFocus(inOther);
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetFocus(), inOther);
    EXPECT_EQ(LOWORD(log().Find(top, WM_ACTIVATE)[0].wParam), WA_INACTIVE);
}

TEST_F(WindowTest, CaptureTakesTheMouseAndReportsWhenItIsLost) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND a = Child(top, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE, 1);
    HWND b = Child(top, {150, 150, 250, 250}, WS_CHILD | WS_VISIBLE, 2);
    desktop->RunUntilIdle();
    EXPECT_EQ(SetCapture(a), nullptr);
    log().Clear();
    desktop->MouseMove(POINT{200, 200});  // over b, but a holds the capture
    desktop->RunUntilIdle();
    auto moves = log().Find(a, WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(200, 200));  // a's client coordinates, beyond its edges
    EXPECT_TRUE(log().Find(b, WM_MOUSEMOVE).empty());
    EXPECT_TRUE(log().Find(a, WM_SETCURSOR).empty());  // no cursor negotiation under capture
    EXPECT_EQ(SetCapture(b), a);
    auto changed = log().Find(a, WM_CAPTURECHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(changed[0].lParam), b);
    EXPECT_TRUE(ReleaseCapture());
    ASSERT_EQ(log().Find(b, WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(log().Find(b, WM_CAPTURECHANGED)[0].lParam, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(a);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowTest, ClicksBecomeDoubleClicksOnlyWithTheClassStyleInTimeAndPlace) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
    HWND plain = Child(top, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE, 1, kClass);
    HWND dbl = Child(top, {200, 0, 300, 100}, WS_CHILD | WS_VISIBLE, 2, kDblClass);
    desktop->RunUntilIdle();
    int half = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    struct Case {
        HWND target;
        int dx;          // offset of the second click
        DWORD wait;      // milliseconds between the clicks
        UINT second;     // message of the second press
    } cases[] = {
        {dbl, 0, 10, WM_LBUTTONDBLCLK},
        {dbl, half, 100, WM_LBUTTONDBLCLK},
        {dbl, half + 1, 100, WM_LBUTTONDOWN},
        {dbl, 0, GetDoubleClickTime() + 1, WM_LBUTTONDOWN},
        {plain, 0, 10, WM_LBUTTONDOWN},
    };
    for (const Case& c : cases) {
        desktop->AdvanceClock(1000);  // no earlier click counts
        POINT p = ScreenPoint(c.target, 20, 20);
        desktop->Click(Button::Left, p);
        desktop->RunUntilIdle();
        desktop->AdvanceClock(c.wait);
        log().Clear();
        desktop->Click(Button::Left, POINT{p.x + c.dx, p.y});
        desktop->RunUntilIdle();
        Seq got = log().Of(c.target);
        EXPECT_EQ(got, (Seq{WM_MOUSEMOVE, WM_MOUSEACTIVATE, c.second, WM_LBUTTONUP}))
            << "dx " << c.dx << " wait " << c.wait;
    }
    // A third quick click starts over.
    desktop->AdvanceClock(1000);
    POINT p = ScreenPoint(dbl, 30, 30);
    log().Clear();
    for (int i = 0; i < 3; ++i) {
        desktop->MouseDown(Button::Left, p);
        desktop->MouseUp(Button::Left, p);
    }
    desktop->RunUntilIdle();
    Seq presses;
    for (UINT m : log().Of(dbl)) {
        if (m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK) presses.push_back(m);
    }
    EXPECT_EQ(presses, (Seq{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

TEST_F(WindowTest, MouseMessagesCarryButtonAndModifierFlags) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    desktop->RunUntilIdle();
    desktop->KeyDown(VK_CONTROL);
    desktop->MouseDown(Button::Left, POINT{10, 10});
    desktop->MouseMove(POINT{20, 20});
    desktop->MouseDown(Button::Right, POINT{20, 20});
    desktop->MouseUp(Button::Left, POINT{20, 20});
    desktop->KeyUp(VK_CONTROL);
    log().Clear();
    desktop->RunUntilIdle();
    auto flags = [&](UINT m) { return log().Find(w, m).at(0).wParam; };
    EXPECT_EQ(flags(WM_LBUTTONDOWN), MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(flags(WM_MOUSEMOVE), MK_LBUTTON | MK_CONTROL);
    EXPECT_EQ(flags(WM_RBUTTONDOWN), MK_LBUTTON | MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(flags(WM_LBUTTONUP), MK_RBUTTON | MK_CONTROL);
    EXPECT_EQ(log().Find(w, WM_MOUSEMOVE)[0].lParam, MAKELPARAM(20, 20));
}

TEST_F(WindowTest, KeyStateIsSynchronousForGetKeyStateAndImmediateForAsync) {
    HWND w = Top();
    SetFocus(w);
    desktop->RunUntilIdle();
    SHORT seenInHandler = 0;
    On(w, WM_KEYDOWN, [&](HWND, WPARAM wp, LPARAM) -> LRESULT {
        if (wp == 'X') seenInHandler = GetKeyState(VK_SHIFT);
        return 0;
    });
    desktop->KeyDown(VK_SHIFT);
    desktop->KeyDown('X');
    desktop->KeyUp('X');
    desktop->KeyUp(VK_SHIFT);
    // Delivered but not yet retrieved: only the asynchronous state knows.
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);  // already released again
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
    desktop->KeyDown(VK_SHIFT);
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
    desktop->RunUntilIdle();
    EXPECT_LT(seenInHandler, 0);  // shift was down when the X was pressed
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetKeyState(VK_LSHIFT), 0);
    EXPECT_EQ(GetKeyState(VK_RSHIFT), 0);
    desktop->KeyUp(VK_SHIFT);
    desktop->RunUntilIdle();
    // Toggle keys keep their low bit between presses.
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    desktop->KeyPress(VK_CAPITAL);
    desktop->RunUntilIdle();
    EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);
    desktop->KeyPress(VK_NUMLOCK);
    desktop->KeyPress(VK_NUMLOCK);
    desktop->RunUntilIdle();
    EXPECT_EQ(GetKeyState(VK_NUMLOCK), 0);
    EXPECT_EQ(GetKeyState(-1), 0);
    EXPECT_EQ(GetKeyState(1000), 0);
    // Alt turns keys into system keys.
    log().Clear();
    desktop->KeyDown(VK_MENU);
    desktop->KeyPress('F');
    desktop->KeyUp(VK_MENU);
    desktop->RunUntilIdle();
    EXPECT_EQ(log().Of(w), (Seq{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP}));
}

TEST_F(WindowTest, WheelGoesToTheFocusAndClimbsToParentsThatWantIt) {
    HWND top = Top();
    HWND child = Child(top, {0, 0, 50, 50});
    HWND elsewhere = Child(top, {100, 100, 150, 150}, WS_CHILD | WS_VISIBLE, 2);
    SetFocus(child);
    desktop->RunUntilIdle();
    log().Clear();
    desktop->Wheel(-WHEEL_DELTA, ScreenPoint(elsewhere, 5, 5));
    desktop->RunUntilIdle();
    auto atChild = log().Find(child, WM_MOUSEWHEEL);
    ASSERT_EQ(atChild.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(atChild[0].wParam), -WHEEL_DELTA);
    POINT sp = ScreenPoint(elsewhere, 5, 5);
    EXPECT_EQ(atChild[0].lParam, MAKELPARAM(static_cast<WORD>(sp.x), static_cast<WORD>(sp.y)));  // screen point
    EXPECT_EQ(log().Find(top, WM_MOUSEWHEEL).size(), 1u);  // DefWindowProc passed it up
    EXPECT_TRUE(log().Find(elsewhere, WM_MOUSEWHEEL).empty());
}

TEST_F(WindowTest, ContextMenuComesFromRightButtonUpAndFromTheKeyboard) {
    HWND top = Top();
    HWND child = Child(top, {0, 0, 50, 50});
    SetFocus(child);
    desktop->RunUntilIdle();
    log().Clear();
    POINT p = ScreenPoint(child, 7, 8);
    desktop->Click(Button::Right, p);
    desktop->RunUntilIdle();
    auto menus = log().Find(child, WM_CONTEXTMENU);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(menus[0].wParam), child);
    EXPECT_EQ(menus[0].lParam, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    ASSERT_EQ(log().Find(top, WM_CONTEXTMENU).size(), 1u);  // unhandled: the parent is asked
    struct Case {
        std::vector<int> keys;
    } cases[] = {{{VK_APPS}}, {{VK_SHIFT, VK_F10}}};
    for (const Case& c : cases) {
        log().Clear();
        for (int k : c.keys) desktop->KeyDown(k);
        for (auto it = c.keys.rbegin(); it != c.keys.rend(); ++it) desktop->KeyUp(*it);
        desktop->RunUntilIdle();
        auto k = log().Find(child, WM_CONTEXTMENU);
        ASSERT_EQ(k.size(), 1u) << c.keys.back();
        EXPECT_EQ(k[0].lParam, -1);
    }
    log().Clear();
    desktop->KeyPress(VK_F10);  // F10 alone is no context key
    desktop->RunUntilIdle();
    EXPECT_TRUE(log().Find(child, WM_CONTEXTMENU).empty());
}

TEST_F(WindowTest, SetCursorPicksTheClassCursorAndParentsCanOverride) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MessageLog::Proc;
    wc.lpszClassName = u"IBeamWindow";
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND edit = Child(top, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE, 1, u"IBeamWindow");
    desktop->RunUntilIdle();
    desktop->MouseMove(ScreenPoint(edit, 10, 10));
    desktop->RunUntilIdle();
    EXPECT_EQ(desktop->CursorShapeShown(), CursorShape::IBeam);
    auto sc = log().Find(edit, WM_SETCURSOR);
    ASSERT_FALSE(sc.empty());
    EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(sc.back().lParam)), HTCLIENT);
    EXPECT_EQ(HIWORD(static_cast<DWORD_PTR>(sc.back().lParam)), WM_MOUSEMOVE);
    desktop->MouseMove(ScreenPoint(top, 200, 200));
    desktop->RunUntilIdle();
    EXPECT_EQ(desktop->CursorShapeShown(), CursorShape::Arrow);
    On(top, WM_SETCURSOR, [](HWND, WPARAM, LPARAM) -> LRESULT {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    });
    desktop->MouseMove(ScreenPoint(edit, 20, 20));
    desktop->RunUntilIdle();
    EXPECT_EQ(desktop->CursorShapeShown(), CursorShape::Wait);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(CurrentCursorShape(), CursorShape::None);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    POINT pos;
    GetCursorPos(&pos);
    EXPECT_EQ(pos.x, ScreenPoint(edit, 20, 20).x);
}

TEST_F(WindowTest, ClicksOnDisabledWindowsGoNowhereOrToTheParent) {
    HWND owner = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = Child(owner, {0, 0, 100, 100});
    desktop->RunUntilIdle();
    EnableWindow(child, FALSE);
    log().Clear();
    desktop->Click(Button::Left, POINT{10, 10});
    desktop->RunUntilIdle();
    EXPECT_TRUE(log().Find(child, WM_LBUTTONDOWN).empty());
    EXPECT_EQ(log().Find(owner, WM_LBUTTONDOWN).size(), 1u);
    EnableWindow(owner, FALSE);  // as under a modal dialog
    log().Clear();
    desktop->Click(Button::Left, POINT{150, 150});
    desktop->RunUntilIdle();
    EXPECT_TRUE(log().Find(owner, WM_LBUTTONDOWN).empty());
    auto sc = log().Find(owner, WM_SETCURSOR);
    ASSERT_FALSE(sc.empty());
    EXPECT_EQ(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(sc[0].lParam))), HTERROR);
}

TEST_F(WindowTest, ClickActivatesAnInactiveTopLevelWindowUnlessItDeclines) {
    HWND a = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND b = Top(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
    EXPECT_EQ(GetActiveWindow(), b);
    desktop->RunUntilIdle();
    log().Clear();
    desktop->Click(Button::Left, POINT{10, 10});
    desktop->RunUntilIdle();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(LOWORD(log().Find(a, WM_ACTIVATE).at(0).wParam), WA_CLICKACTIVE);
    EXPECT_EQ(log().Find(a, WM_LBUTTONDOWN).size(), 1u);
    On(b, WM_MOUSEACTIVATE, [](HWND, WPARAM, LPARAM) -> LRESULT { return MA_NOACTIVATEANDEAT; });
    log().Clear();
    desktop->Click(Button::Left, POINT{210, 10});
    desktop->RunUntilIdle();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_TRUE(log().Find(b, WM_LBUTTONDOWN).empty());
    EXPECT_EQ(log().Find(b, WM_LBUTTONUP).size(), 1u);
}

TEST_F(WindowTest, TrackMouseEventReportsLeavingAndHovering) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND a = Child(top, {0, 0, 100, 100});
    desktop->MouseMove(POINT{10, 10});
    desktop->RunUntilIdle();
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_HOVER, a, HOVER_DEFAULT};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    log().Clear();
    desktop->AdvanceClock(500);
    EXPECT_EQ(log().Find(a, WM_MOUSEHOVER).size(), 1u);
    desktop->MouseMove(POINT{200, 200});
    desktop->RunUntilIdle();
    EXPECT_EQ(log().Find(a, WM_MOUSELEAVE).size(), 1u);
    tme.cbSize = 3;
    EXPECT_FALSE(TrackMouseEvent(&tme));
}

}  // namespace
}  // namespace tq3::fw::testing

namespace tq3::fw::testing {
namespace {

TEST_F(WindowTest, APressInAChildIsReportedToItsParentsUnlessTheyOptOut) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND mid = Child(top, {10, 10, 210, 210}, WS_CHILD | WS_VISIBLE, 1);
    HWND leaf = Child(mid, {20, 20, 120, 120}, WS_CHILD | WS_VISIBLE, 2);
    desktop->RunUntilIdle();
    log().Clear();
    desktop->Click(InputEvent::Button::Left, ScreenPoint(leaf, 5, 5));
    desktop->RunUntilIdle();
    auto atMid = log().Find(mid, WM_PARENTNOTIFY);
    auto atTop = log().Find(top, WM_PARENTNOTIFY);
    ASSERT_EQ(atMid.size(), 1u);
    ASSERT_EQ(atTop.size(), 1u);
    EXPECT_EQ(LOWORD(atMid[0].wParam), WM_LBUTTONDOWN);
    EXPECT_EQ(atMid[0].lParam, MAKELPARAM(25, 25));  // in mid's client coordinates
    EXPECT_EQ(atTop[0].lParam, MAKELPARAM(35, 35));
    SetWindowLongW(leaf, GWL_EXSTYLE, WS_EX_NOPARENTNOTIFY);
    log().Clear();
    desktop->Click(InputEvent::Button::Left, ScreenPoint(leaf, 5, 5));
    desktop->RunUntilIdle();
    EXPECT_TRUE(log().Find(mid, WM_PARENTNOTIFY).empty());
    EXPECT_TRUE(log().Find(top, WM_PARENTNOTIFY).empty());
}

}  // namespace
}  // namespace tq3::fw::testing
