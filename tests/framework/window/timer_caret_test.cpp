// Timers on the virtual clock, the caret on the desktop surface, and the
// headless loop's refusal to hang.
#include "framework/window/gdi_seam.h"
#include "tests/framework/window/message_log.h"

namespace tq3::fw::testing {
namespace {

std::vector<std::pair<UINT_PTR, DWORD>> g_procCalls;

void CALLBACK_Record(HWND, UINT, UINT_PTR id, DWORD time) { g_procCalls.emplace_back(id, time); }

TEST_F(WindowTest, TimersFireOnTheVirtualClockOncePerPeriod) {
    HWND w = Top(WS_POPUP | WS_VISIBLE);
    desktop->RunUntilIdle();
    EXPECT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
    EXPECT_EQ(SetTimer(w, 8, 250, nullptr), 8u);
    desktop->RunUntilIdle();
    EXPECT_TRUE(log().Find(w, WM_TIMER).empty());  // nothing is due before the clock moves
    desktop->AdvanceClock(99);
    EXPECT_TRUE(log().Find(w, WM_TIMER).empty());
    desktop->AdvanceClock(1);
    ASSERT_EQ(log().Find(w, WM_TIMER).size(), 1u);
    EXPECT_EQ(log().Find(w, WM_TIMER)[0].wParam, 7u);
    log().Clear();
    desktop->AdvanceClock(400);  // to t = 500
    std::vector<WPARAM> ids;
    for (auto& e : log().Find(w, WM_TIMER)) ids.push_back(e.wParam);
    EXPECT_EQ(ids, (std::vector<WPARAM>{7, 8, 7, 7, 7, 8}));  // t = 200, 250, 300, 400, 500, 500
    // Setting an existing timer again restarts it; killing it stops it.
    EXPECT_TRUE(KillTimer(w, 8));
    EXPECT_FALSE(KillTimer(w, 8));
    log().Clear();
    desktop->AdvanceClock(1000);
    EXPECT_EQ(log().Find(w, WM_TIMER).size(), 10u);
    EXPECT_TRUE(KillTimer(w, 7));
    EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x55)), 1, 10, nullptr), 0u);
    // Destroying the window ends its timers.
    DestroyWindow(w);
    desktop->AdvanceClock(100);
    EXPECT_EQ(TimeToNextTimer(), INFINITE);
}

TEST_F(WindowTest, TimerCallbacksRunInsteadOfTheWindowProcedure) {
    HWND w = Top(WS_POPUP);
    g_procCalls.clear();
    SetTimer(w, 3, 50, CALLBACK_Record);
    UINT_PTR free1 = SetTimer(nullptr, 0, 30, CALLBACK_Record);
    UINT_PTR free2 = SetTimer(nullptr, 0, 30, CALLBACK_Record);
    EXPECT_NE(free1, 0u);
    EXPECT_NE(free1, free2);  // timers without a window get ids of their own
    log().Clear();
    desktop->AdvanceClock(50);
    EXPECT_TRUE(log().Find(w, WM_TIMER).empty());
    ASSERT_EQ(g_procCalls.size(), 3u);
    EXPECT_EQ(g_procCalls[0].first, free1);
    EXPECT_EQ(g_procCalls[0].second, 30u);  // the time the callback is told
    EXPECT_EQ(g_procCalls[2].first, 3u);
    EXPECT_TRUE(KillTimer(nullptr, free1));
    EXPECT_TRUE(KillTimer(nullptr, free2));
    EXPECT_EQ(GetTickCount(), 50u);
}

TEST_F(WindowTest, TheCaretInvertsItsRectangleAndBlinksOnTheClock) {
    HWND w = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    desktop->RunUntilIdle();
    Surface& s = DesktopSurface();
    POINT o = ScreenPoint(w, 10, 10);
    Pixel before = s.At(o.x, o.y);
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 12));
    SetCaretPos(10, 10);
    EXPECT_EQ(s.At(o.x, o.y), before);  // created hidden
    ASSERT_TRUE(ShowCaret(w));
    EXPECT_EQ(s.At(o.x, o.y), before ^ 0x00FFFFFFu);
    EXPECT_EQ(s.At(o.x + 1, o.y + 11), before ^ 0x00FFFFFFu);
    EXPECT_EQ(s.At(o.x + 2, o.y), before);  // two pixels wide
    desktop->AdvanceClock(GetCaretBlinkTime());
    EXPECT_EQ(s.At(o.x, o.y), before);  // blinked off
    desktop->AdvanceClock(GetCaretBlinkTime());
    EXPECT_EQ(s.At(o.x, o.y), before ^ 0x00FFFFFFu);
    // Painting takes the caret off the surface and puts it back afterwards.
    PAINTSTRUCT ps;
    InvalidateRect(w, nullptr, FALSE);
    BeginPaint(w, &ps);
    EXPECT_EQ(s.At(o.x, o.y), before);
    EndPaint(w, &ps);
    EXPECT_EQ(s.At(o.x, o.y), before ^ 0x00FFFFFFu);
    POINT pos;
    SetCaretPos(30, 40);
    ASSERT_TRUE(GetCaretPos(&pos));
    EXPECT_EQ(pos.x, 30);
    EXPECT_EQ(s.At(o.x, o.y), before);
    EXPECT_TRUE(HideCaret(w));
    EXPECT_TRUE(HideCaret(nullptr));
    EXPECT_TRUE(ShowCaret(w));  // still hidden once
    POINT at = ScreenPoint(w, 30, 40);
    EXPECT_EQ(s.At(at.x, at.y), before);
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_EQ(s.At(at.x, at.y), before ^ 0x00FFFFFFu);
    HWND other = Top(WS_POPUP);
    EXPECT_FALSE(ShowCaret(other));  // not its caret
    EXPECT_TRUE(DestroyCaret());
    EXPECT_EQ(s.At(at.x, at.y), before);
    EXPECT_FALSE(DestroyCaret());
    EXPECT_FALSE(SetCaretPos(1, 1));
}

TEST_F(WindowTest, AModalLoopWithNothingScriptedFailsLoudlyInsteadOfHanging) {
    Top(WS_POPUP);
    EXPECT_DEATH(
        {
            MSG m;
            while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
        },
        "waiting for input that will never come");
    // With a hook the loop gets what the hook scripts.
    HWND w = Top(WS_POPUP);
    int calls = 0;
    desktop->RunUntilIdle();
    desktop->SetIdleHook([&]() {
        ++calls;
        PostMessageW(w, WM_USER, 0, 0);
        if (calls == 2) PostQuitMessage(0);
        return true;
    });
    MSG m;
    int got = 0;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        DispatchMessageW(&m);
        ++got;
    }
    EXPECT_EQ(got, 2);
    EXPECT_EQ(calls, 2);
    desktop->SetIdleHook(nullptr);
}

}  // namespace
}  // namespace tq3::fw::testing
