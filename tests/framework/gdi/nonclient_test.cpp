// The non-client area of a real window on the headless desktop: frame, caption,
// client edge and scroll bars painted through the window manager's seam.
#include "framework/gdi/nonclient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "framework/backends/headless/headless_backend.h"
#include "framework/gdi/png_image.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/gdi_seam.h"
#include "framework/window/scroll_bar_parts.h"
#include "framework/window/winuser.h"

namespace {

using namespace tq3::fw;

int CountIn(const Surface& s, RECT r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += s.At(x, y) == ToPixel(c);
    return n;
}

RECT Moved(RECT r, POINT by) { return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

TEST(NonClient, TopLevelWindowFrameCaptionEdgeAndScrollBars) {
    HeadlessBackend::Install(400, 300);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"GdiFrameTest";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
    WNDCLASSW existing{};
    if (!GetClassInfoW(nullptr, wc.lpszClassName, &existing)) {
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    HWND w = CreateWindowExW(WS_EX_CLIENTEDGE, u"GdiFrameTest", u"Sheet1 - Table",
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 20, 30, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    SetScrollRange(w, SB_VERT, 0, 100, FALSE);
    SetScrollPos(w, SB_VERT, 30, FALSE);
    SetActiveWindow(w);
    HeadlessBackend::Current()->RunUntilIdle();
    const Surface& s = DesktopSurface();
    POINT at{20, 30};

    // Frame: the raised edge, light at the top-left corner, dark at the bottom-right.
    EXPECT_EQ(s.At(20, 30), ToPixel(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(s.At(20 + 299, 30 + 199), ToPixel(GetSysColor(COLOR_3DDKSHADOW)));
    int f = GetSystemMetrics(SM_CXFRAME);
    int cap = GetSystemMetrics(SM_CYCAPTION);
    // Caption: starts in the active caption colour; its text is drawn in the caption text colour.
    ASSERT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(s.At(20 + f, 30 + f + 2), ToPixel(GetSysColor(COLOR_ACTIVECAPTION)));
    RECT titleArea{20 + f + 2, 30 + f, 20 + 150, 30 + f + cap - 1};
    EXPECT_GT(CountIn(s, titleArea, GetSysColor(COLOR_CAPTIONTEXT)), 20) << "caption text";
    // The close button and its cross.
    NonClientLook look;
    look.window = SIZE{300, 200};
    look.style = WS_OVERLAPPEDWINDOW;
    RECT close = Moved(CaptionButtonRect(look, 20), at);
    ASSERT_LT(close.left, close.right);
    EXPECT_GT(CountIn(s, close, GetSysColor(COLOR_BTNTEXT)), 10);
    EXPECT_EQ(s.At(close.left, close.top), ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)));
    // The client edge, just below the caption: sunken, shadow at its top-left.
    EXPECT_EQ(s.At(20 + f, 30 + f + cap), ToPixel(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(s.At(20 + f + 1, 30 + f + cap + 1), ToPixel(GetSysColor(COLOR_3DDKSHADOW)));
    // Scroll bars: an up arrow with its glyph, a thumb, a dithered track.
    ScrollBarParts v;
    ASSERT_TRUE(GetWindowScrollBarParts(w, SB_VERT, &v));
    ASSERT_TRUE(v.visible);
    EXPECT_GT(CountIn(s, Moved(v.arrowStart, at), GetSysColor(COLOR_BTNTEXT)), 5);
    ASSERT_LT(v.thumb.top, v.thumb.bottom);
    RECT thumb = Moved(v.thumb, at);
    EXPECT_EQ(s.At(thumb.left, thumb.top), ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(s.At(thumb.right - 1, thumb.bottom - 1), ToPixel(GetSysColor(COLOR_3DDKSHADOW)));
    RECT track = Moved(v.track, at);
    int y = track.bottom - 3;
    EXPECT_NE(s.At(track.left + 3, y), s.At(track.left + 4, y)) << "the track is dithered";
    // The horizontal bar has nothing to scroll: grey arrows.
    ScrollBarParts h;
    ASSERT_TRUE(GetWindowScrollBarParts(w, SB_HORZ, &h));
    if (h.visible && !h.arrowStartEnabled) {
        EXPECT_GT(CountIn(s, Moved(h.arrowStart, at), GetSysColor(COLOR_GRAYTEXT)), 3);
        EXPECT_EQ(CountIn(s, Moved(h.arrowStart, at), GetSysColor(COLOR_BTNTEXT)), 0);
    }

    const char* env = std::getenv("TQ3_TEST_OUTPUT");
    std::filesystem::path dir = env ? std::filesystem::path(env) / "gdi" : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(dir);
    RECT shot{0, 0, 400, 300};
    EXPECT_TRUE(SavePng(s, &shot, (dir / "window_frame.png").string()));
    DestroyWindow(w);
    ResetWindowManager();
}

TEST(NonClient, CaptionButtonsFollowTheStyles) {
    NonClientLook look;
    look.window = SIZE{200, 100};
    look.style = WS_CAPTION | WS_SYSMENU;  // a dialog: close only
    RECT close = CaptionButtonRect(look, 20);
    EXPECT_LT(close.left, close.right);
    RECT none = CaptionButtonRect(look, 9);
    EXPECT_EQ(none.right - none.left, 0);
    look.style |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    RECT max = CaptionButtonRect(look, 9), min = CaptionButtonRect(look, 8);
    EXPECT_EQ(max.right, close.left - 2);
    EXPECT_EQ(min.right, max.left);
    look.style = WS_POPUP;
    EXPECT_EQ(CaptionButtonRect(look, 20).right, 0) << "no caption, no buttons";
}

}  // namespace
