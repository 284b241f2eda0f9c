// A pop-up menu in real windows on a virtual X server: a right click opens it at
// the pointer as a system window of its own, and a click outside closes it
// without a pick. Skipped only when no virtual X server is installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/backends/headless/headless_backend.h"
#include "framework/backends/sdl/sdl_backend.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/menus/menu.h"
#include "tests/support/virtual_screen.h"

namespace tq3::test {
namespace {

struct Seen {
    POINT pointer{-1, -1};  // where the right click was
    RECT menu{};            // the menu window while it showed
    BOOL result = -1;       // what TrackPopupMenu returned
    bool closed = false;
};
Seen seen;

LRESULT HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RBUTTONUP) {
        GetCursorPos(&seen.pointer);
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 1, u"&Copy");
        AppendMenuW(menu, MF_STRING, 2, u"&Paste");
        // The timer looks at the menu from inside its loop; the user's click
        // outside is already on its way from the script started before.
        SetTimer(hwnd, 1, 400, nullptr);
        seen.result = TrackPopupMenu(menu, TPM_RETURNCMD, seen.pointer.x, seen.pointer.y, 0, hwnd, nullptr);
        seen.closed = FindWindowW(kPopupMenuClass, nullptr) == nullptr;
        DestroyMenu(menu);
        return 0;
    }
    if (message == WM_TIMER) {
        KillTimer(hwnd, 1);
        GetWindowRect(FindWindowW(kPopupMenuClass, nullptr), &seen.menu);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(RealWindowMenu, OpensAtThePointerAndClosesOnAClickOutside) {
    if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (scripts/setup.sh installs it)";
    ASSERT_TRUE(OnPath("xdotool")) << "xdotool is missing; scripts/setup.sh installs it";
    VirtualScreen screen;
    ASSERT_TRUE(screen.Start()) << "Xvfb did not start";
    setenv("DISPLAY", screen.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    ASSERT_NE(tq3::fw::SdlBackend::InstallWindows(), nullptr);

    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = u"MenuHost";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND host = CreateWindowExW(0, wc.lpszClassName, u"MenuHost", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    PumpUntil([] { return false; }, 0.5);
    // The user: a right click in the window, then, once the menu shows, a click
    // far from it.
    const std::string user =
        "xdotool mousemove --sync 220 180 click 3; sleep 1.0; xdotool mousemove --sync 460 380 click 1";
    ASSERT_EQ(std::system(("(" + user + ") >/dev/null 2>&1 &").c_str()), 0);
    ASSERT_TRUE(PumpUntil([] { return seen.closed; }, 8.0)) << "the menu did not open and close in time";
    EXPECT_EQ(seen.pointer.x, 220);
    EXPECT_EQ(seen.pointer.y, 180);
    EXPECT_EQ(seen.menu.left, seen.pointer.x) << "the menu's corner at the pointer";
    EXPECT_EQ(seen.menu.top, seen.pointer.y);
    EXPECT_GT(seen.menu.right, seen.menu.left);
    EXPECT_EQ(seen.result, 0) << "closed by the click outside, nothing picked";
    DestroyWindow(host);
    tq3::fw::HeadlessBackend::Install(640, 480);
}

}  // namespace
}  // namespace tq3::test
