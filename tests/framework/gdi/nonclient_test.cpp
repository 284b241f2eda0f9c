// The non-client area of a real window on the headless desktop: frame, caption,
// client edge and scroll bars painted by the window manager's non-client painter.
#include "framework/gdi/nonclient.h"

#include <gtest/gtest.h>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/scroll_bar_parts.h"
#include "framework/window/winuser.h"
#include "tests/support/test_output.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::fw::CaptionButtonRect;
using tq3::fw::NonClientLook;
using tq3::testing::CaptureDesktop;
using tq3::testing::DesktopPixel;

RECT Moved(RECT r, POINT by) { return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

TEST(NonClient, TopLevelWindowFrameCaptionEdgeAndScrollBars) {
    tq3::testing::Desktop desktop(400, 300);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"GdiFrameTest";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND w = CreateWindowExW(WS_EX_CLIENTEDGE, u"GdiFrameTest", u"Sheet1 - Table",
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 20, 30, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    SetScrollRange(w, SB_VERT, 0, 100, FALSE);
    SetScrollPos(w, SB_VERT, 30, FALSE);
    const SCROLLINFO nothing{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 9, 10, 0, 0};
    SetScrollInfo(w, SB_HORZ, &nothing, FALSE);
    SetActiveWindow(w);
    desktop.RunUntilIdle();
    const POINT at{20, 30};
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);

    // Frame: the raised edge, light at the top-left corner, dark at the bottom-right.
    EXPECT_EQ(DesktopPixel({20, 30}), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(DesktopPixel({20 + 299, 30 + 199}), GetSysColor(COLOR_3DDKSHADOW));
    const int f = GetSystemMetrics(SM_CXFRAME);
    const int cap = GetSystemMetrics(SM_CYCAPTION);
    // Caption: starts in the active caption colour; its text is drawn in the caption text colour.
    EXPECT_EQ(DesktopPixel({20 + f, 30 + f + 2}), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_GT(CaptureDesktop(RECT{20 + f + 2, 30 + f, 20 + 150, 30 + f + cap - 1}).Count(GetSysColor(COLOR_CAPTIONTEXT)),
              20)
        << "caption text";
    // The close button and its cross.
    NonClientLook look;
    look.window = SIZE{300, 200};
    look.style = WS_OVERLAPPEDWINDOW;
    const RECT close = Moved(CaptionButtonRect(look, 20), at);
    ASSERT_LT(close.left, close.right);
    EXPECT_GT(CaptureDesktop(close).Count(text), 10);
    // Scroll bars: an up arrow with its glyph, a thumb, a dithered track.
    tq3::fw::ScrollBarParts v;
    ASSERT_TRUE(tq3::fw::GetWindowScrollBarParts(w, SB_VERT, &v));
    ASSERT_TRUE(v.visible);
    EXPECT_GT(CaptureDesktop(Moved(v.arrowStart, at)).Count(text), 5);
    ASSERT_LT(v.thumb.top, v.thumb.bottom);
    const RECT thumb = Moved(v.thumb, at);
    EXPECT_EQ(DesktopPixel({thumb.left, thumb.top}), GetSysColor(COLOR_BTNHIGHLIGHT));
    const RECT track = Moved(v.track, at);
    EXPECT_NE(DesktopPixel({track.left + 3, track.bottom - 3}), DesktopPixel({track.left + 4, track.bottom - 3}))
        << "the track is dithered";
    // The horizontal bar has nothing to scroll but stays: grey arrows.
    tq3::fw::ScrollBarParts h;
    ASSERT_TRUE(tq3::fw::GetWindowScrollBarParts(w, SB_HORZ, &h));
    ASSERT_TRUE(h.visible && !h.arrowStartEnabled);
    EXPECT_GT(CaptureDesktop(Moved(h.arrowStart, at)).Count(GetSysColor(COLOR_GRAYTEXT)), 3);
    EXPECT_EQ(CaptureDesktop(Moved(h.arrowStart, at)).Count(text), 0);
    EXPECT_TRUE(tq3::testing::SaveScreenshot(OutputPath("gdi", "window_frame.png")));
}

}  // namespace
}  // namespace tq3::test
