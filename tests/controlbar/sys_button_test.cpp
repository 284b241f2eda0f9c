// CSysButton: the frames it draws around its glyph (raised, sunken, flat), the
// glyphs of bitmap 103 with their green drawn transparent, and the click.
// The oracle for a glyph is the bitmap resource itself, read pixel by pixel.
#include <gtest/gtest.h>

#include "controlbar/sys_button.h"
#include "framework/app/afxwin.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/image_list.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/resources.h"
#include "text/module_handle.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::CaptureWindow;

constexpr int kGlyph = 13;
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr UINT kButtonId = 1000;

// The glyph strip as the resource holds it.
tq3::testing::Capture GlyphStrip() {
    HBITMAP strip = LoadBitmapW(GetDLLModuleHandle(), MAKEINTRESOURCEW(103));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, strip);
    auto pixels = tq3::testing::CaptureDC(dc, RECT{0, 0, 3 * kGlyph, kGlyph});
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(strip);
    return pixels;
}

class SysButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        LPCWSTR cls = AfxRegisterWndClass(0, nullptr, GetSysColorBrush(COLOR_BTNFACE));
        ASSERT_TRUE(parent.CreateEx(0, cls, u"parent", WS_POPUP | WS_VISIBLE, 40, 40, 200, 100, nullptr, nullptr));
        HBITMAP strip = LoadBitmapW(GetDLLModuleHandle(), MAKEINTRESOURCEW(103));
        ASSERT_NE(strip, nullptr);
        images = ImageList_Create(kGlyph, kGlyph, ILC_COLOR32 | ILC_MASK, 3, 0);
        ASSERT_EQ(ImageList_AddMasked(images, strip, kGreen), 0);
        DeleteObject(strip);
        ASSERT_EQ(ImageList_GetImageCount(images), 3);
        strip_ = GlyphStrip();
        ASSERT_FALSE(strip_.Empty());
    }
    void TearDown() override {
        if (parent.m_hWnd != nullptr) parent.DestroyWindow();
        ImageList_Destroy(images);
    }

    // A button as the bar makes its own, glyph-sized so that the glyph is drawn
    // one to one.
    void Make(CSysButton& button, int glyph, int size = kGlyph, int x = 10) {
        ASSERT_TRUE(button.Create(u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_ICON | BS_OWNERDRAW,
                                  CRect(x, 10, x + size, 10 + size), &parent, kButtonId));
        button.SetIcon(ImageList_GetIcon(images, glyph, ILD_NORMAL), kGlyph, kGlyph);
        desktop.RunUntilIdle();
    }

    // Checks every pixel of `button`: where glyph `glyph` (shifted by `shift`)
    // is black, black; elsewhere what `frame` says lies beneath.
    template <typename Frame>
    void ExpectGlyphOver(CSysButton& button, int glyph, int shift, Frame frame) {
        auto shown = CaptureWindow(button.m_hWnd);
        int wrong = 0;
        for (int y = 0; y < kGlyph; ++y) {
            for (int x = 0; x < kGlyph; ++x) {
                const int gx = x - shift, gy = y - shift;
                const bool ink = gx >= 0 && gy >= 0 && strip_.At(glyph * kGlyph + gx, gy) != kGreen;
                const COLORREF want = ink ? strip_.At(glyph * kGlyph + gx, gy) : frame(x, y);
                wrong += shown.At(x, y) != want;
            }
        }
        EXPECT_EQ(wrong, 0) << shown.Picture(RGB(0, 0, 0));
        EXPECT_EQ(shown.Count(kGreen), 0) << "green is transparent";
    }

    // The colour of a two-ring frame at (x, y) of a kGlyph square.
    static COLORREF Ring(int x, int y, COLORREF outerTL, COLORREF outerBR, COLORREF innerTL, COLORREF innerBR) {
        const int last = kGlyph - 1;
        if (x == last || y == last) return outerBR;
        if (x == 0 || y == 0) return outerTL;
        if (x == last - 1 || y == last - 1) return innerBR;
        if (x == 1 || y == 1) return innerTL;
        return GetSysColor(COLOR_BTNFACE);
    }

    tq3::testing::Desktop desktop{400, 300};
    tq3::testing::TestApp app;
    CWnd parent;
    HIMAGELIST images = nullptr;
    tq3::testing::Capture strip_;
};

// Flat, as the bar makes them, each glyph shows on the face alone; a raised
// button while up, sunken with its glyph one pixel down and right while held,
// raised again after the click, which the parent hears of.
TEST_F(SysButtonTest, RaisedThenSunkenWhileHeldWithTheGlyphMoved) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int glyph : {1, 2}) {
        CSysButton flat;
        Make(flat, glyph, kGlyph, 10 + 20 * glyph);
        ExpectGlyphOver(flat, glyph, 0, [&](int, int) { return face; });
    }
    CSysButton button;
    Make(button, 0);
    button.flat = FALSE;
    button.Invalidate();
    desktop.RunUntilIdle();
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), dk = GetSysColor(COLOR_3DDKSHADOW);
    ExpectGlyphOver(button, 0, 0, [&](int x, int y) { return Ring(x, y, hi, dk, face, shadow); });

    tq3::testing::MessageSpy spy;
    spy.KeepOnly({WM_COMMAND});
    spy.Watch(parent.m_hWnd, "parent");
    desktop.MouseDown(button.m_hWnd, POINT{6, 6});
    EXPECT_TRUE(button.pressed);
    ExpectGlyphOver(button, 0, 1, [&](int x, int y) { return Ring(x, y, dk, hi, shadow, face); });
    EXPECT_EQ(button.iconRect, CRect(1, 1, kGlyph + 1, kGlyph + 1));
    desktop.MouseUp(button.m_hWnd, POINT{6, 6});
    EXPECT_FALSE(button.pressed);
    desktop.RunUntilIdle();
    ExpectGlyphOver(button, 0, 0, [&](int x, int y) { return Ring(x, y, hi, dk, face, shadow); });
    // BS_NOTIFY: the focus comes with the press.
    auto clicked = spy.Compare({tq3::testing::Msg(WM_COMMAND).WParam(MAKEWPARAM(kButtonId, BN_SETFOCUS)),
                                tq3::testing::Msg(WM_COMMAND).WParam(MAKEWPARAM(kButtonId, BN_CLICKED))});
    EXPECT_TRUE(clicked) << clicked.report;
}

}  // namespace
}  // namespace tq3::test
