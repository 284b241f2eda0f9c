// Top-level windows on surfaces of their own, composed in z-order into the
// desktop picture: stacking, moving, resizing and scrolling read through the
// pixel probes; windows larger than the screen or off it.
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/window/gdi_seam.h"
#include "tests/framework/window/window_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::CaptureDesktop;

constexpr COLORREF kRed = RGB(0xE0, 0x20, 0x20);
constexpr COLORREF kBlue = RGB(0x20, 0x40, 0xE0);

// Fills the whole client area of `h` through a client DC, outside WM_PAINT.
void Fill(HWND h, COLORREF colour) {
    RECT r;
    GetClientRect(h, &r);
    HDC dc = GetDC(h);
    ASSERT_NE(dc, nullptr);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(h, dc);
}

class SurfacesTest : public WindowTest {
protected:
    // Two borderless pop-ups overlapping in (100..200, 100..150); `upper` on top.
    void SetUp() override {
        WindowTest::SetUp();
        lower = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 150});
        upper = Top(WS_POPUP | WS_VISIBLE, {100, 100, 300, 250});
        backend.RunUntilIdle();
        Fill(lower, kRed);
        Fill(upper, kBlue);
    }
    HWND lower = nullptr;
    HWND upper = nullptr;
};

TEST_F(SurfacesTest, WindowsKeepTheirPixelsAndTheDesktopShowsThemInZOrder) {
    const COLORREF bare = GetSysColor(COLOR_DESKTOP);
    EXPECT_EQ(CaptureDesktop().At(150, 120), kBlue) << "the window on top shows where both are";
    // Drawing on the covered window changes nothing that shows...
    Fill(lower, RGB(0, 0xA0, 0));
    EXPECT_EQ(CaptureDesktop().At(150, 120), kBlue);
    // ...until it comes on top: then its own picture shows without a repaint, and
    // the other window's pixels stay as they were when they come back.
    spy.Clear();
    SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
    EXPECT_EQ(CaptureDesktop().At(150, 120), RGB(0, 0xA0, 0));
    SetWindowPos(lower, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    EXPECT_EQ(CaptureDesktop().At(150, 120), kBlue);
    EXPECT_EQ(CaptureDesktop().At(50, 50), bare) << "the place it left is the bare desktop";
    EXPECT_EQ(CaptureDesktop().At(450, 350), RGB(0, 0xA0, 0));
    EXPECT_EQ(Count(upper, WM_PAINT) + Count(upper, WM_ERASEBKGND), 0u)
        << "a window uncovered by another is not asked to paint again";
    // Hidden windows leave the picture.
    ShowWindow(upper, SW_HIDE);
    EXPECT_EQ(CaptureDesktop().At(250, 200), bare);
}

TEST_F(SurfacesTest, AWindowResizedThroughNoSizeDrawsAgainAndScrollsOnlyItsOwnPixels) {
    // Through no width at all and back (resizing to no width once copied rows of a
    // surface that had none): nothing shows, then the window draws again.
    for (SIZE size : {SIZE{0, 80}, SIZE{100, 0}, SIZE{0, 0}}) {
        SetWindowPos(upper, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        backend.RunUntilIdle();
        EXPECT_EQ(CaptureDesktop().At(250, 120), GetSysColor(COLOR_DESKTOP)) << size.cx << "x" << size.cy;
    }
    SetWindowPos(upper, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    backend.RunUntilIdle();
    // Scrolling the upper window moves its own pixels only: the window below,
    // covered there, is not scrolled with it.
    Fill(upper, kBlue);
    HDC dc = GetDC(upper);
    RECT stripe{0, 0, 200, 10};
    HBRUSH brush = CreateSolidBrush(kRed);
    FillRect(dc, &stripe, brush);
    DeleteObject(brush);
    ReleaseDC(upper, dc);
    ScrollWindowEx(upper, 0, 20, nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(CaptureDesktop().At(150, 125), kRed) << "the stripe moved down 20 pixels";
    EXPECT_EQ(CaptureDesktop().At(150, 135), kBlue);
    EXPECT_EQ(CaptureDesktop().At(50, 125), kRed) << "the lower window's own pixels";
}

TEST_F(WindowTest, WindowsLargerThanTheScreenOrOffItDrawOnlyWhatShows) {
    // Sixty thousand pixels square: the window keeps its size, its surface stays
    // bounded and nothing beyond the screen is drawn.
    HWND huge = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    ASSERT_NE(huge, nullptr);
    SetWindowPos(huge, nullptr, -100, -100, 60100, 60100, SWP_NOZORDER);
    RECT r;
    GetWindowRect(huge, &r);
    EXPECT_EQ(r.right, 60000);
    backend.RunUntilIdle();
    Fill(huge, kRed);
    EXPECT_TRUE(CaptureDesktop().FilledWith(kRed).ok);
    DestroyWindow(huge);

    HWND away = Top(WS_POPUP | WS_VISIBLE, {5000, 5000, 5200, 5100});
    ASSERT_NE(away, nullptr);
    backend.RunUntilIdle();
    Fill(away, kBlue);
    EXPECT_EQ(CaptureDesktop().Count(kBlue), 0);
    // Brought onto the screen it is painted there (its class has no background:
    // the test fills it after the move, as its WM_PAINT would).
    SetWindowPos(away, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    backend.RunUntilIdle();
    Fill(away, kBlue);
    EXPECT_EQ(CaptureDesktop().At(25, 35), kBlue);
    EXPECT_EQ(CaptureDesktop().Count(kBlue), 200 * 100);
}

// A window the size of one that went takes over its surface (menus and lists
// open again and again at one size); what shows is still only its own picture.
TEST_F(SurfacesTest, AWindowTakingOverAGoneWindowsSurfaceShowsOnlyItsOwnPicture) {
    constexpr WCHAR kBrushed[] = u"BrushedWindow";
    Register(kBrushed, 0, LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    const RECT place{300, 200, 460, 330};
    for (int round = 0; round < 2; ++round) {
        HWND shown = Top(WS_POPUP | WS_BORDER | WS_VISIBLE, place, kBrushed);
        backend.RunUntilIdle();
        const auto picture = CaptureDesktop(place);
        EXPECT_EQ(picture.Count(kRed), 0) << "round " << round;
        EXPECT_EQ(picture.At(380, 265), GetSysColor(COLOR_WINDOW)) << "round " << round;
        Fill(shown, kRed);
        DestroyWindow(shown);
        backend.RunUntilIdle();
    }
}

}  // namespace
}  // namespace tq3::test
