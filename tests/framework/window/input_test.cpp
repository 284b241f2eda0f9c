// Input through the headless backend: focus, capture, clicks and double clicks,
// key state, the wheel, context menus, cursors, disabled and inactive windows.
#include "framework/window/cursor.h"
#include "framework/window/imm.h"
#include "tests/framework/window/window_fixture.h"

namespace tq3::test {
namespace {

LPARAM Packed(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

TEST_F(WindowTest, FocusMovesWithKillFocusThenSetFocusNamingTheOtherWindow) {
    HWND top = Top();
    HWND a = Child(top, {0, 0, 50, 50}, WS_CHILD | WS_VISIBLE, 1);
    HWND b = Child(top, {60, 0, 110, 50}, WS_CHILD | WS_VISIBLE, 2);
    EXPECT_EQ(SetFocus(a), top);
    spy.Clear();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(SetFocus(b), b);  // already there: no messages
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_KILLFOCUS).In(a).WParam(reinterpret_cast<WPARAM>(b)),
                                  Msg(WM_SETFOCUS).In(b).WParam(reinterpret_cast<WPARAM>(a))})));
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
    spy.Clear();
    SetFocus(inOther);
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetFocus(), inOther);
    EXPECT_EQ(LOWORD(spy.Find(top, WM_ACTIVATE).at(0).wParam), WA_INACTIVE);
}

TEST_F(WindowTest, CaptureTakesTheMouseAndReportsWhenItIsLost) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND a = Child(top, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE, 1);
    HWND b = Child(top, {150, 150, 250, 250}, WS_CHILD | WS_VISIBLE, 2);
    desktop.RunUntilIdle();
    EXPECT_EQ(SetCapture(a), nullptr);
    spy.IncludeNoise(true);
    spy.KeepOnly({WM_MOUSEMOVE, WM_SETCURSOR, WM_CAPTURECHANGED});
    spy.Clear();
    // Over b, but a holds the capture: a's client coordinates beyond its edges, and
    // no cursor negotiation.
    desktop.MouseMove(POINT{200, 200});
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_MOUSEMOVE).In(a).Point(200, 200),
                                  Msg(WM_CAPTURECHANGED).In(a).LParam(reinterpret_cast<LPARAM>(b)),
                                  Msg(WM_CAPTURECHANGED).In(b).LParam(0)})));
    EXPECT_EQ(GetCapture(), nullptr);
    // Destroying another window leaves the capture where it is; destroying its
    // holder ends it.
    SetCapture(a);
    DestroyWindow(b);
    EXPECT_EQ(GetCapture(), a);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WindowTest, ClicksBecomeDoubleClicksOnlyWithTheClassStyleInTimeAndPlace) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 400, 300});
    HWND plain = Child(top, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE, 1, kClass);
    HWND dbl = Child(top, {200, 0, 300, 100}, WS_CHILD | WS_VISIBLE, 2, kDblClass);
    desktop.RunUntilIdle();
    const int half = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    struct Case {
        HWND target;
        int dx;      // offset of the second click
        DWORD wait;  // milliseconds between the clicks
        UINT second;  // message of the second press
    } cases[] = {
        {dbl, 0, 10, WM_LBUTTONDBLCLK},
        {dbl, half, 100, WM_LBUTTONDBLCLK},
        {dbl, half + 1, 100, WM_LBUTTONDOWN},
        {dbl, 0, GetDoubleClickTime() + 1, WM_LBUTTONDOWN},
        {plain, 0, 10, WM_LBUTTONDOWN},
    };
    for (const Case& c : cases) {
        desktop.AdvanceClock(1000);  // no earlier click counts
        const POINT p = ScreenPoint(c.target, 20, 20);
        desktop.Click(p);
        desktop.AdvanceClock(c.wait);
        spy.Clear();
        desktop.Click(POINT{p.x + c.dx, p.y});
        // The pointer moves only for a click elsewhere.
        EXPECT_TRUE(Same(spy.Compare(c.target, {Msg(WM_MOUSEMOVE).Optional(), Msg(WM_MOUSEACTIVATE), Msg(c.second),
                                                Msg(WM_LBUTTONUP)})))
            << "dx " << c.dx << " wait " << c.wait;
    }
    // A third quick click starts over.
    desktop.AdvanceClock(1000);
    spy.KeepOnly({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK});
    spy.Clear();
    for (int i = 0; i < 3; ++i) desktop.Click(ScreenPoint(dbl, 30, 30));
    EXPECT_TRUE(Same(spy.Compare(dbl, Msgs({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}))));
}

TEST_F(WindowTest, MouseMessagesCarryButtonsModifiersAndGoToParentsThatWantThem) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND mid = Child(w, {10, 10, 210, 210}, WS_CHILD | WS_VISIBLE, 1);
    HWND leaf = Child(mid, {20, 20, 120, 120}, WS_CHILD | WS_VISIBLE, 2);
    desktop.RunUntilIdle();
    spy.KeepOnly({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONUP});
    spy.Clear();
    backend.KeyDown(VK_CONTROL);
    backend.MouseDown(Button::Left, POINT{240, 240});
    backend.MouseMove(POINT{250, 250});
    backend.MouseDown(Button::Right, POINT{250, 250});
    backend.MouseUp(Button::Left, POINT{250, 250});
    backend.KeyUp(VK_CONTROL);
    desktop.RunUntilIdle();
    EXPECT_TRUE(Same(spy.Compare(w, {Msg(WM_LBUTTONDOWN).WParam(MK_LBUTTON | MK_CONTROL),
                                     Msg(WM_MOUSEMOVE).WParam(MK_LBUTTON | MK_CONTROL).Point(250, 250),
                                     Msg(WM_RBUTTONDOWN).WParam(MK_LBUTTON | MK_RBUTTON | MK_CONTROL),
                                     Msg(WM_LBUTTONUP).WParam(MK_RBUTTON | MK_CONTROL)})));

    // A press in a child is reported to each parent in its own coordinates,
    // unless the child opts out.
    spy.KeepOnly({WM_PARENTNOTIFY});
    for (bool optOut : {false, true}) {
        SetWindowLongW(leaf, GWL_EXSTYLE, optOut ? WS_EX_NOPARENTNOTIFY : 0);
        desktop.AdvanceClock(1000);
        spy.Clear();
        desktop.Click(ScreenPoint(leaf, 5, 5));
        if (optOut) {
            EXPECT_TRUE(spy.Log().empty());
        } else {
            EXPECT_TRUE(Same(spy.Compare({Msg(WM_PARENTNOTIFY).In(mid).WParam(WM_LBUTTONDOWN).Point(25, 25),
                                          Msg(WM_PARENTNOTIFY).In(w).WParam(WM_LBUTTONDOWN).Point(35, 35)})));
        }
    }
}

TEST_F(WindowTest, KeyStateIsSynchronousForGetKeyStateAndImmediateForAsync) {
    HWND w = Top();
    SetFocus(w);
    desktop.RunUntilIdle();
    SHORT seenInHandler = 0;
    On(w, WM_KEYDOWN, [&](HWND, WPARAM wp, LPARAM) -> LRESULT {
        if (wp == 'X') seenInHandler = GetKeyState(VK_SHIFT);
        return 0;
    });
    backend.KeyDown(VK_SHIFT);
    backend.KeyPress('X');
    backend.KeyUp(VK_SHIFT);
    // Delivered but not yet retrieved: only the asynchronous state knows.
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);  // already released again
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
    backend.KeyDown(VK_SHIFT);
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
    desktop.RunUntilIdle();
    EXPECT_LT(seenInHandler, 0);  // shift was down when the X was pressed
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetKeyState(VK_LSHIFT), 0);
    EXPECT_EQ(GetKeyState(VK_RSHIFT), 0);
    desktop.KeyUp(VK_SHIFT);
    // Toggle keys keep their low bit between presses.
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    desktop.KeyPress(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL), 1);
    desktop.KeyPress(VK_NUMLOCK);
    desktop.KeyPress(VK_NUMLOCK);
    EXPECT_EQ(GetKeyState(VK_NUMLOCK), 0);
    EXPECT_EQ(GetKeyState(-1), 0);
    EXPECT_EQ(GetKeyState(1000), 0);
    // Alt turns keys into system keys.
    spy.Clear();
    desktop.KeyPress('F', tq3::testing::kAlt);
    EXPECT_TRUE(Same(spy.Compare(w, Msgs({WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP}))));
}

TEST_F(WindowTest, WindowsWithoutInputContextGetNoComposedTextAndSwitchTextInputOff) {
    HWND top = Top();
    HWND a = Child(top, {10, 10, 110, 40}, WS_CHILD | WS_VISIBLE, 1);
    HWND b = Child(top, {10, 50, 110, 80}, WS_CHILD | WS_VISIBLE, 2);
    HIMC initial = ImmGetContext(a);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(ImmGetContext(nullptr), nullptr);
    EXPECT_EQ(ImmAssociateContext(b, nullptr), initial);
    EXPECT_EQ(ImmGetContext(b), nullptr);

    auto chars = [&](HWND h) { return spy.Find(h, WM_CHAR).size(); };
    SetFocus(a);
    desktop.RunUntilIdle();
    EXPECT_TRUE(backend.TextInputOn());
    RECT client{};
    GetClientRect(a, &client);
    MapWindowPoints(a, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(EqualRect(&backend.TextInputArea(), &client));
    desktop.TypeChar(u'\u00E9');
    EXPECT_EQ(chars(a), 1u);
    // The caret is where a candidate window opens.
    CreateCaret(a, nullptr, 1, 10);
    SetCaretPos(5, 3);
    EXPECT_EQ(CRect(backend.TextInputArea()).TopLeft(), CPoint(client.left + 5, client.top + 3));
    DestroyCaret();

    SetFocus(b);
    desktop.RunUntilIdle();
    EXPECT_FALSE(backend.TextInputOn());
    desktop.TypeChar(u'\u00E9');
    EXPECT_EQ(chars(b), 0u);  // composed text is dropped
    desktop.KeyPress('5');
    ASSERT_EQ(chars(b), 1u);  // keys still type
    EXPECT_EQ(spy.Find(b, WM_CHAR)[0].wParam, static_cast<WPARAM>('5'));

    // Giving the context back while the window holds the focus turns input on.
    EXPECT_EQ(ImmAssociateContext(b, initial), nullptr);
    EXPECT_TRUE(backend.TextInputOn());
    EXPECT_TRUE(ImmReleaseContext(b, initial));
    EXPECT_FALSE(ImmReleaseContext(nullptr, initial));

    // A whole tree at once, and back to the contexts the windows started with.
    EXPECT_TRUE(ImmAssociateContextEx(top, nullptr, IACE_CHILDREN));
    EXPECT_EQ(ImmGetContext(a), nullptr);
    EXPECT_FALSE(backend.TextInputOn());
    EXPECT_TRUE(ImmAssociateContextEx(top, nullptr, IACE_CHILDREN | IACE_DEFAULT));
    EXPECT_EQ(ImmGetContext(a), initial);
    EXPECT_TRUE(backend.TextInputOn());
    // Destroying the focused window without a context leaves input on for the next.
    ImmAssociateContext(b, nullptr);
    EXPECT_FALSE(backend.TextInputOn());
    DestroyWindow(b);
    EXPECT_TRUE(backend.TextInputOn());
}

TEST_F(WindowTest, WheelAndContextMenusGoToTheFocusAndClimbToParents) {
    HWND top = Top();
    HWND child = Child(top, {0, 0, 50, 50});
    HWND elsewhere = Child(top, {100, 100, 150, 150}, WS_CHILD | WS_VISIBLE, 2);
    SetFocus(child);
    desktop.RunUntilIdle();
    spy.KeepOnly({WM_MOUSEWHEEL, WM_CONTEXTMENU});
    spy.Clear();
    // The wheel goes to the focus wherever the pointer is, with a screen point,
    // and DefWindowProc passes it up.
    const POINT there = ScreenPoint(elsewhere, 5, 5);
    desktop.Wheel(there, -WHEEL_DELTA);
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_MOUSEWHEEL).In(child).WParam(MAKEWPARAM(0, -WHEEL_DELTA)).LParam(Packed(there)),
                                  Msg(WM_MOUSEWHEEL).In(top)})));
    // A context menu comes from the right button's release (unhandled: the parent
    // is asked) and from the keyboard (at -1), never from F10 alone.
    spy.Clear();
    const POINT p = ScreenPoint(child, 7, 8);
    desktop.Click(p, tq3::testing::Button::Right);
    desktop.KeyPress(VK_APPS);
    desktop.KeyPress(VK_F10, tq3::testing::kShift);
    desktop.KeyPress(VK_F10);
    EXPECT_TRUE(Same(spy.Compare({
        Msg(WM_CONTEXTMENU).In(child).WParam(reinterpret_cast<WPARAM>(child)).LParam(Packed(p)),
        Msg(WM_CONTEXTMENU).In(top), Msg(WM_CONTEXTMENU).In(child).LParam(-1), Msg(WM_CONTEXTMENU).In(top),
        Msg(WM_CONTEXTMENU).In(child).LParam(-1), Msg(WM_CONTEXTMENU).In(top),
    })));
}

TEST_F(WindowTest, SetCursorPicksTheClassCursorAndParentsCanOverride) {
    constexpr WCHAR kIBeam[] = u"IBeamWindow";
    Register(kIBeam, 0, LoadCursorW(nullptr, IDC_IBEAM));
    ASSERT_TRUE(spy.WatchClass(kIBeam));
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND edit = Child(top, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE, 1, kIBeam);
    desktop.RunUntilIdle();
    spy.IncludeNoise(true);
    spy.KeepOnly({WM_SETCURSOR});
    desktop.MouseMove(ScreenPoint(edit, 10, 10));
    EXPECT_EQ(desktop.Pointer().shape, tq3::fw::CursorShape::IBeam);
    EXPECT_EQ(spy.Find(edit, WM_SETCURSOR).back().lParam, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    desktop.MouseMove(ScreenPoint(top, 200, 200));
    EXPECT_EQ(desktop.Pointer().shape, tq3::fw::CursorShape::Arrow);
    On(top, WM_SETCURSOR, [](HWND, WPARAM, LPARAM) -> LRESULT {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    });
    desktop.MouseMove(ScreenPoint(edit, 20, 20));
    EXPECT_EQ(desktop.Pointer().shape, tq3::fw::CursorShape::Wait);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(tq3::fw::CurrentCursorShape(), tq3::fw::CursorShape::None);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    CPoint pos;
    ASSERT_TRUE(GetCursorPos(&pos));
    EXPECT_EQ(pos, ScreenPoint(edit, 20, 20));
    EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST_F(WindowTest, ClicksOnDisabledOrDecliningWindowsGoElsewhere) {
    HWND owner = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = Child(owner, {0, 0, 100, 100});
    HWND b = Top(WS_POPUP | WS_VISIBLE, {300, 0, 400, 100});
    desktop.RunUntilIdle();
    // A disabled child gives the click to its parent; a disabled top-level window
    // (as under a modal dialog) takes none and answers the cursor with HTERROR.
    EnableWindow(child, FALSE);
    spy.KeepOnly({WM_LBUTTONDOWN});
    spy.Clear();
    desktop.Click(POINT{10, 10});
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_LBUTTONDOWN).In(owner)})));
    EnableWindow(owner, FALSE);
    spy.IncludeNoise(true);
    spy.KeepOnly({WM_LBUTTONDOWN, WM_SETCURSOR});
    spy.Clear();
    desktop.Click(POINT{150, 150});
    const WORD error = static_cast<WORD>(HTERROR);
    EXPECT_TRUE(Same(spy.Compare(owner, {Msg(WM_SETCURSOR).LParam(MAKELPARAM(error, WM_MOUSEMOVE)),
                                         Msg(WM_SETCURSOR).LParam(MAKELPARAM(error, WM_LBUTTONDOWN)),
                                         Msg(WM_SETCURSOR).LParam(MAKELPARAM(error, WM_LBUTTONUP))})));
    EnableWindow(owner, TRUE);

    // A click activates an inactive top-level window, unless it declines and eats it.
    SetActiveWindow(b);
    spy.IncludeNoise(false);
    spy.KeepOnly({WM_ACTIVATE, WM_LBUTTONDOWN, WM_LBUTTONUP});
    desktop.AdvanceClock(1000);
    spy.Clear();
    desktop.Click(POINT{150, 150});
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_ACTIVATE).In(b).WParam(WA_INACTIVE).Optional(),
                                  Msg(WM_ACTIVATE).In(owner).WParam(WA_CLICKACTIVE), Msg(WM_LBUTTONDOWN).In(owner),
                                  Msg(WM_LBUTTONUP).In(owner)})));
    On(b, WM_MOUSEACTIVATE, [](HWND, WPARAM, LPARAM) -> LRESULT { return MA_NOACTIVATEANDEAT; });
    spy.Clear();
    desktop.Click(POINT{310, 10});
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_LBUTTONUP).In(b)})));
}

TEST_F(WindowTest, TrackMouseEventReportsHoveringAndLeaving) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
    HWND a = Child(top, {0, 0, 100, 100});
    desktop.MouseMove(POINT{10, 10});
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_HOVER, a, HOVER_DEFAULT};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    spy.KeepOnly({WM_MOUSEHOVER, WM_MOUSELEAVE});
    spy.Clear();
    desktop.AdvanceClock(500);
    desktop.MouseMove(POINT{200, 200});
    EXPECT_TRUE(Same(spy.Compare(a, Msgs({WM_MOUSEHOVER, WM_MOUSELEAVE}))));
    // Cancelled, tracking reports nothing; asked while the pointer is already
    // elsewhere, the leave comes at once.
    spy.Clear();
    tme.dwFlags = TME_LEAVE;
    desktop.MouseMove(POINT{10, 10});
    EXPECT_TRUE(TrackMouseEvent(&tme));
    tme.dwFlags = TME_LEAVE | TME_CANCEL;
    EXPECT_TRUE(TrackMouseEvent(&tme));
    desktop.MouseMove(POINT{200, 200});
    tme.dwFlags = TME_LEAVE;
    EXPECT_TRUE(TrackMouseEvent(&tme));
    desktop.RunUntilIdle();
    EXPECT_TRUE(Same(spy.Compare(a, Msgs({WM_MOUSELEAVE}))));
    tme.cbSize = 3;
    EXPECT_FALSE(TrackMouseEvent(&tme));
}

}  // namespace
}  // namespace tq3::test
