#include "framework/gdi/dc_text.h"

#include <gtest/gtest.h>

#include "framework/gdi/gdi_classes.h"
#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

using tq3::test::Canvas;
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The columns and rows that hold anything but the paper colour.
RECT InkBox(const Canvas& c, COLORREF paper) { return c.Shot().InkBounds(paper); }

// What the context adds to the text engine (tested on its own): the selected font,
// the clip and the viewport.
class DcText : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(font.CreatePointFont(90, u"MS UI Gothic"));
        old = SelectObject(canvas.dc(), font);
        SetBkMode(canvas.dc(), TRANSPARENT);
    }
    void TearDown() override { SelectObject(canvas.dc(), old); }
    Canvas canvas{200, 40};
    CFont font;
    HGDIOBJ old = nullptr;
};

TEST_F(DcText, TextHonoursTheClipAndTheViewport) {
    SetViewportOrgEx(canvas.dc(), 50, 0, nullptr);
    IntersectClipRect(canvas.dc(), 0, 0, 10, 40);
    RECT r{0, 0, 150, 40};
    DrawTextW(canvas.dc(), u"WWWWWWWW", -1, &r, DT_SINGLELINE | DT_VCENTER);
    RECT ink = InkBox(canvas, kWhite);
    ASSERT_LT(ink.left, ink.right);
    EXPECT_GE(ink.left, 50);
    EXPECT_LE(ink.right, 60);
}

}  // namespace
}  // namespace tq3::test
