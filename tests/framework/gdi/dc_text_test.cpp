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

TEST_F(DcText, NinePointFontHasTheTwelvePixelCharacterHeight) {
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(canvas.dc(), &tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc(), u"Cell", 4, &size));
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(size.cy, tm.tmHeight);
    SIZE empty{};
    EXPECT_TRUE(GetTextExtentPoint32W(canvas.dc(), u"", 0, &empty));
    EXPECT_EQ(empty.cx, 0);
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), nullptr, 3, &empty));
    WCHAR face[LF_FACESIZE];
    EXPECT_EQ(GetTextFaceW(canvas.dc(), LF_FACESIZE, face), 12);
    EXPECT_EQ(std::u16string(face), u"MS UI Gothic");
    // DT_CALCRECT measures with the selected font without drawing. (Layout itself,
    // alignment and the ellipsis, is the text engine's and tested there.)
    RECT calc{0, 0, 0, 0};
    EXPECT_EQ(DrawTextW(canvas.dc(), u"Cell", 4, &calc, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(calc.right, size.cx);
    EXPECT_EQ(canvas.Count(kWhite), 200 * 40);
}

TEST_F(DcText, TextOutFollowsAlignmentAndUpdatesThePosition) {
    SIZE size{};
    GetTextExtentPoint32W(canvas.dc(), u"AB", 2, &size);
    SetTextAlign(canvas.dc(), TA_RIGHT | TA_TOP);
    ASSERT_TRUE(TextOutW(canvas.dc(), 100, 5, u"AB", 2));
    RECT ink = InkBox(canvas, kWhite);
    EXPECT_LE(ink.right, 100);
    EXPECT_GE(ink.left, 100 - size.cx);
    canvas.Fill(kWhite);
    SetTextAlign(canvas.dc(), TA_LEFT | TA_UPDATECP);
    MoveToEx(canvas.dc(), 10, 5, nullptr);
    TextOutW(canvas.dc(), 0, 0, u"AB", 2);
    POINT p{};
    GetCurrentPositionEx(canvas.dc(), &p);
    EXPECT_EQ(p.x, 10 + size.cx);
    SetTextAlign(canvas.dc(), TA_LEFT | TA_TOP);

    // Opaque background: the cell box is filled with the background colour.
    canvas.Fill(kWhite);
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), RGB(0, 0, 255));
    TextOutW(canvas.dc(), 0, 0, u"AB", 2);
    EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 255));
    // ExtTextOut with ETO_OPAQUE and no text fills the rectangle.
    RECT fill{150, 0, 160, 10};
    ExtTextOutW(canvas.dc(), 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr);
    EXPECT_EQ(canvas.at(155, 5), RGB(0, 0, 255));
    EXPECT_FALSE(TextOutW(canvas.dc(), 0, 0, u"A", -1));
    EXPECT_FALSE(TextOutW(nullptr, 0, 0, u"A", 1));
    EXPECT_EQ(DrawTextW(canvas.dc(), nullptr, 3, &fill, 0), 0);
}

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
