// Input through the headless backend: focus, capture, clicks and double clicks,
// input contexts, disabled and inactive windows, hovering and leaving.
#include "framework/window/imm.h"
#include "tests/framework/window/window_fixture.h"

namespace tq3::test {
namespace {

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
    // Hiding the focused window hands the focus to its parent.
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
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
}

TEST_F(WindowTest, MouseMessagesCarryTheButtonsAndModifiersHeld) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
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
}

TEST_F(WindowTest, WindowsWithoutInputContextGetNoComposedTextAndSwitchTextInputOff) {
    HWND top = Top();
    HWND a = Child(top, {10, 10, 110, 40}, WS_CHILD | WS_VISIBLE, 1);
    HWND b = Child(top, {10, 50, 110, 80}, WS_CHILD | WS_VISIBLE, 2);
    HIMC initial = ImmGetContext(a);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(ImmAssociateContext(b, nullptr), initial);
    EXPECT_EQ(ImmGetContext(b), nullptr);

    auto chars = [&](HWND h) { return spy.Find(h, WM_CHAR).size(); };
    SetFocus(a);
    desktop.RunUntilIdle();
    EXPECT_TRUE(backend.TextInputOn());
    desktop.TypeChar(u'\u00E9');
    EXPECT_EQ(chars(a), 1u);

    SetFocus(b);
    desktop.RunUntilIdle();
    EXPECT_FALSE(backend.TextInputOn());
    desktop.TypeChar(u'\u00E9');
    EXPECT_EQ(chars(b), 0u);  // composed text is dropped

    // A whole tree at once, and back to the contexts the windows started with.
    EXPECT_TRUE(ImmAssociateContextEx(top, nullptr, IACE_CHILDREN));
    EXPECT_EQ(ImmGetContext(a), nullptr);
    EXPECT_FALSE(backend.TextInputOn());
    EXPECT_TRUE(ImmAssociateContextEx(top, nullptr, IACE_CHILDREN | IACE_DEFAULT));
    EXPECT_EQ(ImmGetContext(a), initial);
    EXPECT_TRUE(backend.TextInputOn());
}

TEST_F(WindowTest, ClicksOnDisabledOrDecliningWindowsGoElsewhere) {
    HWND owner = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND child = Child(owner, {0, 0, 100, 100});
    HWND b = Top(WS_POPUP | WS_VISIBLE, {300, 0, 400, 100});
    desktop.RunUntilIdle();
    // A disabled child gives the click to its parent; a disabled top-level window
    // (as under a modal dialog) takes none.
    EnableWindow(child, FALSE);
    spy.KeepOnly({WM_LBUTTONDOWN});
    spy.Clear();
    desktop.Click(POINT{10, 10});
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_LBUTTONDOWN).In(owner)})));
    EnableWindow(owner, FALSE);
    spy.Clear();
    desktop.Click(POINT{150, 150});
    EXPECT_TRUE(spy.Log().empty());
    EnableWindow(owner, TRUE);

    // A click activates an inactive top-level window, unless it declines and eats it.
    SetActiveWindow(b);
    spy.KeepOnly({WM_LBUTTONDOWN, WM_LBUTTONUP});
    desktop.AdvanceClock(1000);
    desktop.Click(POINT{150, 150});
    EXPECT_EQ(GetActiveWindow(), owner);
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
    // Cancelled, tracking reports nothing.
    spy.Clear();
    tme.dwFlags = TME_LEAVE;
    desktop.MouseMove(POINT{10, 10});
    EXPECT_TRUE(TrackMouseEvent(&tme));
    tme.dwFlags = TME_LEAVE | TME_CANCEL;
    EXPECT_TRUE(TrackMouseEvent(&tme));
    desktop.MouseMove(POINT{200, 200});
    desktop.RunUntilIdle();
    EXPECT_TRUE(spy.Log().empty());
}

}  // namespace
}  // namespace tq3::test
