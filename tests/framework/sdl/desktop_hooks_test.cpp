// The window manager's side of an interactive screen, on the headless desktop: the
// desktop following the OS window's size, lock toggles learnt from the system,
// and the pointer leaving the desktop.
#include "framework/core/geometry.h"
#include "framework/window/backend.h"
#include "tests/framework/window/window_fixture.h"

namespace tq3::test {
namespace {

using tq3::fw::ResizeDesktop;

TEST_F(WindowTest, ResizedDesktopStretchesMaximisedWindowsAndTellsEveryTopLevelWindow) {
    HWND maximised = Top();
    ShowWindow(maximised, SW_SHOWMAXIMIZED);
    HWND normal = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {20, 30, 220, 130});
    desktop.RunUntilIdle();
    RECT normalBefore;
    GetWindowRect(normal, &normalBefore);
    spy.IncludeNoise(true);
    spy.KeepOnly({WM_SIZE, WM_DISPLAYCHANGE, WM_PAINT});
    spy.Clear();

    ASSERT_TRUE(ResizeDesktop(900, 700));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 900);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 700);
    RECT d;
    GetWindowRect(GetDesktopWindow(), &d);
    EXPECT_EQ(CRect(d), CRect(0, 0, 900, 700));
    // The maximised window's client area fills the new screen width and it hears
    // of its new size as a maximised one; a normal window keeps its place and
    // size; every top-level window is told of the new screen, and everything is
    // painted again on the new surface, the uncovered desktop too.
    RECT c;
    GetClientRect(maximised, &c);
    EXPECT_EQ(c.right, 900);
    RECT normalAfter;
    GetWindowRect(normal, &normalAfter);
    EXPECT_TRUE(EqualRect(&normalBefore, &normalAfter));
    backend.ClearPresented();
    desktop.RunUntilIdle();
    const LPARAM screen = MAKELPARAM(900, 700);
    EXPECT_TRUE(Same(spy.Compare({
        Msg(WM_SIZE).In(maximised).WParam(SIZE_MAXIMIZED).LParam(MAKELPARAM(900, c.bottom)),
        Msg(WM_DISPLAYCHANGE).In(maximised).WParam(32).LParam(screen).Optional(),
        Msg(WM_DISPLAYCHANGE).In(normal).WParam(32).LParam(screen),
        Msg(WM_DISPLAYCHANGE).In(maximised).WParam(32).LParam(screen).Optional(),
        Msg(WM_PAINT).In(normal).Optional(), Msg(WM_PAINT).In(maximised), Msg(WM_PAINT).In(normal).Optional(),
    })));
    EXPECT_EQ(Count(maximised, WM_DISPLAYCHANGE), 1u);
    EXPECT_EQ(Count(normal, WM_PAINT), 1u);
    EXPECT_TRUE(backend.Presented().Contains(899, 699));

    // The same size again changes nothing; absurd sizes are clamped, not allocated.
    spy.Clear();
    EXPECT_TRUE(ResizeDesktop(900, 700));
    EXPECT_EQ(Count(maximised, WM_DISPLAYCHANGE), 0u);
    EXPECT_TRUE(ResizeDesktop(-5, 0));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1);
    EXPECT_TRUE(ResizeDesktop(640, 480));
    GetClientRect(maximised, &c);
    EXPECT_EQ(c.right, 640);
}

TEST_F(WindowTest, LockTogglesSetFromTheSystemShowInKeyStateAndTranslation) {
    HWND top = Top();
    SetFocus(top);
    desktop.RunUntilIdle();
    spy.KeepOnly({WM_CHAR});
    spy.Clear();
    // Num Lock was on before the program started: a keypad digit types. Caps Lock
    // on from the system makes letters upper case.
    tq3::fw::SetKeyToggle(VK_NUMLOCK, true);
    EXPECT_EQ(GetKeyState(VK_NUMLOCK) & 1, 1);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    desktop.KeyPress(VK_NUMPAD4);
    tq3::fw::SetKeyToggle(VK_CAPITAL, true);
    desktop.KeyPress('Q');
    EXPECT_TRUE(Same(spy.Compare(top, {Msg(WM_CHAR).WParam(u'4'), Msg(WM_CHAR).WParam(u'Q')})));
    tq3::fw::SetKeyToggle(VK_CAPITAL, false);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    // Keys outside the table are ignored.
    tq3::fw::SetKeyToggle(0, true);
    tq3::fw::SetKeyToggle(300, true);
    EXPECT_EQ(GetKeyState(0), 0);
}

TEST_F(WindowTest, PointerLeavingTheDesktopEndsMouseTracking) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    desktop.MouseMove(POINT{50, 50});
    TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, top, 0};
    ASSERT_TRUE(TrackMouseEvent(&t));
    spy.Clear();
    desktop.MouseMove(POINT{-32768, -32768});
    EXPECT_TRUE(Same(spy.Compare(top, Msgs({WM_MOUSELEAVE}))));
}

}  // namespace
}  // namespace tq3::test
