// Painting when memory runs out: every allocation that invalidating, updating and
// painting a window tree makes is refused in turn. No failure may escape to the
// caller, the window manager must not keep asking for a paint it cannot get, and
// once memory is back the whole tree paints normally.
#include <gtest/gtest.h>

#include <new>

#include "framework/backends/headless/headless_backend.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/surface.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/backend.h"
#include "framework/window/gdi_seam.h"
#include "framework/window/winuser.h"
#include "tests/support/failing_allocator.h"

namespace tq3::fw {
namespace {

constexpr LPCWSTR kClass = u"PaintOomTest";
constexpr COLORREF kPaintColor = RGB(200, 30, 40);
int paints = 0;

// Paints its whole client area red through BeginPaint, with a window DC in the
// background erase as a second path into the DC code.
LRESULT Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        ++paints;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc != nullptr) {
            RECT c;
            GetClientRect(hwnd, &c);
            HBRUSH brush = CreateSolidBrush(kPaintColor);
            if (brush != nullptr) {
                FillRect(dc, &c, brush);
                DeleteObject(brush);
            }
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

COLORREF DesktopPixel(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    Pixel p = DesktopSurface().At(pt.x, pt.y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TEST(PaintOutOfMemory, RefusedAllocationsNeverEscapeAndNeverLeaveAPaintPending) {
    HeadlessBackend* desktop = HeadlessBackend::Install(400, 300);
    WNDCLASSW wc{};
    if (!GetClassInfoW(nullptr, kClass, &wc)) {
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = kClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    HWND top = CreateWindowExW(0, kClass, u"top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(top, nullptr);
    HWND child = CreateWindowExW(0, kClass, u"child", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 20, 100, 60, top,
                                 reinterpret_cast<HMENU>(1), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    desktop->RunUntilIdle();

    long refused = 1;
    for (long succeed = 0; refused > 0 && succeed < 5000; ++succeed) {
        bool escaped = false;
        {
            test::FailingAllocations failing(succeed);
            try {
                RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
                UpdateWindow(top);
                InvalidateRect(child, nullptr, TRUE);
                desktop->RunUntilIdle();
            } catch (const std::bad_alloc&) {
                escaped = true;
            }
            refused = failing.Refused();
        }
        ASSERT_FALSE(escaped) << "an allocation failure escaped after " << succeed << " allocations";
        // Nothing may stay pending: a window the manager keeps offering for
        // painting would spin the loop forever.
        desktop->RunUntilIdle();
        EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE)) << "after " << succeed << " allocations";
        EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE)) << "after " << succeed << " allocations";
    }
    EXPECT_EQ(refused, 0) << "the loop never ran the whole repaint without a refusal";

    // Memory is back: the tree repaints and the pixels show it.
    paints = 0;
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    desktop->RunUntilIdle();
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(DesktopPixel(top, 200, 100), kPaintColor);
    EXPECT_EQ(DesktopPixel(child, 50, 30), kPaintColor);
    ResetWindowManager();
}

}  // namespace
}  // namespace tq3::fw
