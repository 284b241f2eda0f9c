// The window manager's side of an interactive screen, on the headless desktop: the
// desktop following the OS window's size, lock toggles learnt from the system,
// and the pointer leaving the desktop.
#include "framework/core/geometry.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/framework/window/message_log.h"

namespace tq3::fw::testing {
namespace {

using Seq = std::vector<UINT>;

TEST_F(WindowTest, ResizedDesktopStretchesMaximisedWindowsAndTellsEveryTopLevelWindow) {
    HWND maximised = Top();
    ShowWindow(maximised, SW_SHOWMAXIMIZED);
    HWND normal = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {20, 30, 220, 130});
    desktop->RunUntilIdle();
    RECT normalBefore;
    GetWindowRect(normal, &normalBefore);
    log().Clear();

    ASSERT_TRUE(ResizeDesktop(900, 700));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 900);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 700);
    RECT d;
    GetWindowRect(GetDesktopWindow(), &d);
    EXPECT_EQ(d.right, 900);
    EXPECT_EQ(d.bottom, 700);

    // The maximised window's client area fills the new screen width; it hears of
    // its new size as a maximised one.
    RECT c;
    GetClientRect(maximised, &c);
    EXPECT_EQ(c.right, 900);
    auto sizes = log().Find(maximised, WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
    EXPECT_EQ(LOWORD(sizes[0].lParam), 900);
    // A normal window keeps its place and size.
    RECT normalAfter;
    GetWindowRect(normal, &normalAfter);
    EXPECT_TRUE(EqualRect(&normalBefore, &normalAfter));
    EXPECT_TRUE(log().Find(normal, WM_SIZE).empty());
    for (HWND h : {maximised, normal}) {
        auto changes = log().Find(h, WM_DISPLAYCHANGE);
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].wParam, 32u);
        EXPECT_EQ(changes[0].lParam, MAKELPARAM(900, 700));
    }
    // Everything is painted again on the new surface, the uncovered desktop too.
    desktop->ClearPresented();
    desktop->RunUntilIdle();
    EXPECT_FALSE(log().Find(maximised, WM_PAINT).empty());
    EXPECT_FALSE(log().Find(normal, WM_PAINT).empty());
    EXPECT_TRUE(desktop->Presented().Contains(899, 699));

    // The same size again changes nothing; absurd sizes are clamped, not allocated.
    log().Clear();
    EXPECT_TRUE(ResizeDesktop(900, 700));
    EXPECT_TRUE(log().Find(maximised, WM_DISPLAYCHANGE).empty());
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
    desktop->RunUntilIdle();
    // Num Lock was on before the program started: a keypad digit types.
    SetKeyToggle(VK_NUMLOCK, true);
    EXPECT_EQ(GetKeyState(VK_NUMLOCK) & 1, 1);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    log().Clear();
    desktop->KeyPress(VK_NUMPAD4);
    desktop->RunUntilIdle();
    auto chars = log().Find(top, WM_CHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(u'4'));
    // Caps Lock on from the system makes letters upper case; off again, lower.
    SetKeyToggle(VK_CAPITAL, true);
    log().Clear();
    desktop->KeyPress('Q');
    desktop->RunUntilIdle();
    chars = log().Find(top, WM_CHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(u'Q'));
    SetKeyToggle(VK_CAPITAL, false);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
    // Keys outside the table are ignored.
    SetKeyToggle(0, true);
    SetKeyToggle(300, true);
    EXPECT_EQ(GetKeyState(0), 0);
}

TEST_F(WindowTest, PointerLeavingTheDesktopEndsMouseTracking) {
    HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    desktop->MouseMove(POINT{50, 50});
    desktop->RunUntilIdle();
    TRACKMOUSEEVENT t{};
    t.cbSize = sizeof(t);
    t.dwFlags = TME_LEAVE;
    t.hwndTrack = top;
    ASSERT_TRUE(TrackMouseEvent(&t));
    log().Clear();
    desktop->MouseMove(POINT{-32768, -32768});
    desktop->RunUntilIdle();
    EXPECT_EQ(log().Of(top), (Seq{WM_MOUSELEAVE}));
}

}  // namespace
}  // namespace tq3::fw::testing
