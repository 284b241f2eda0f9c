// Painting when memory runs out: every allocation that invalidating, updating and
// painting a window tree makes is refused in turn. No failure may escape to the
// caller, the window manager must not keep asking for a paint it cannot get, and
// once memory is back the whole tree paints normally. A message posted when the
// queue has no room is refused.
#include <gtest/gtest.h>

#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/support/failing_allocator.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

constexpr LPCWSTR kClass = u"PaintOomTest";
constexpr COLORREF kPaintColor = RGB(200, 30, 40);
int paints = 0;
int userMessages = 0;

// Paints its whole client area through BeginPaint, after the class brush erased
// it: two paths into the drawing code.
LRESULT Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER) ++userMessages;
    if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wp, lp);
    ++paints;
    PAINTSTRUCT ps;
    if (HDC dc = BeginPaint(hwnd, &ps)) {
        RECT c;
        GetClientRect(hwnd, &c);
        if (HBRUSH brush = CreateSolidBrush(kPaintColor)) {
            FillRect(dc, &c, brush);
            DeleteObject(brush);
        }
    }
    EndPaint(hwnd, &ps);
    return 0;
}

TEST(PaintOutOfMemory, RefusedAllocationsNeverEscapeAndNeverLeaveAPaintPending) {
    tq3::testing::Desktop desktop(400, 300);
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = kClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND top = CreateWindowExW(0, kClass, u"top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, kClass, u"child", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 20, 100, 60, top,
                                 reinterpret_cast<HMENU>(1), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    desktop.RunUntilIdle();

    const SweepResult sweep = SweepAllocations({
        .operation =
            [&] {
                RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
                UpdateWindow(top);
                InvalidateRect(child, nullptr, TRUE);
                desktop.RunUntilIdle();
            },
        .check =
            [&](const SweepRun& run) {
                ASSERT_FALSE(run.threw) << "an allocation failure escaped after " << run.allowed << " allocations";
                // Nothing may stay pending: a window the manager keeps offering for
                // painting would spin the loop forever.
                desktop.RunUntilIdle();
                EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE)) << "after " << run.allowed << " allocations";
                EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE)) << "after " << run.allowed << " allocations";
            },
    });
    EXPECT_TRUE(sweep.completed) << "the repaint kept allocating";
    EXPECT_GT(sweep.refusedRuns, 0);

    // Memory is back: the tree repaints and the pixels show it.
    paints = 0;
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    desktop.RunUntilIdle();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(tq3::testing::WindowPixel(top, {200, 100}), kPaintColor);
    EXPECT_EQ(tq3::testing::WindowPixel(child, {50, 30}), kPaintColor);

    // A message the queue finds no room for is refused, never claimed as posted.
    int accepted = 0;
    {
        FailingAllocations refuse;
        for (int i = 0; i < 64; ++i) accepted += PostMessageW(top, WM_USER, 0, 0) ? 1 : 0;
    }
    desktop.RunUntilIdle();
    EXPECT_LT(accepted, 64);
    EXPECT_EQ(userMessages, accepted);
}

}  // namespace
}  // namespace tq3::test
