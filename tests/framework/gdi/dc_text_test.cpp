#include "framework/gdi/dc_text.h"

#include <gtest/gtest.h>

#include "framework/gdi/gdi_classes.h"
#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

// What a context adds to the text engine (tested on its own): the selected font, the
// clip and the viewport.
TEST(DcText, TextHonoursTheClipAndTheViewport) {
    Canvas canvas(200, 40);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, u"MS UI Gothic"));
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetViewportOrgEx(canvas.dc(), 50, 0, nullptr);
    IntersectClipRect(canvas.dc(), 0, 0, 10, 40);
    RECT r{0, 0, 150, 40};
    DrawTextW(canvas.dc(), u"WWWWWWWW", -1, &r, DT_SINGLELINE | DT_VCENTER);
    const RECT ink = canvas.Shot().InkBounds(RGB(255, 255, 255));
    ASSERT_LT(ink.left, ink.right);
    EXPECT_GE(ink.left, 50);
    EXPECT_LE(ink.right, 60);
    SelectObject(canvas.dc(), old);
}

}  // namespace
}  // namespace tq3::test
