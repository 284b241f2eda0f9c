// The window manager's side of an interactive screen, on the headless desktop: the
// desktop following the OS window's size.
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
    spy.Clear();

    ASSERT_TRUE(ResizeDesktop(900, 700));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 900);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 700);
    // The maximised window's client area fills the new screen width; a normal
    // window keeps its place and size; every top-level window is told of the new
    // screen once, and everything is painted again on the new surface, the
    // uncovered desktop too.
    RECT c;
    GetClientRect(maximised, &c);
    EXPECT_EQ(c.right, 900);
    RECT normalAfter;
    GetWindowRect(normal, &normalAfter);
    EXPECT_TRUE(EqualRect(&normalBefore, &normalAfter));
    backend.ClearPresented();
    desktop.RunUntilIdle();
    for (HWND top : {maximised, normal}) {
        EXPECT_EQ(Count(top, WM_DISPLAYCHANGE), 1u);
        EXPECT_EQ(Count(top, WM_PAINT), 1u);
    }
    EXPECT_TRUE(backend.Presented().Contains(899, 699));

    // Absurd sizes are clamped, not allocated.
    EXPECT_TRUE(ResizeDesktop(-5, 0));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1);
    EXPECT_TRUE(ResizeDesktop(640, 480));
    GetClientRect(maximised, &c);
    EXPECT_EQ(c.right, 640);
}

}  // namespace
}  // namespace tq3::test
