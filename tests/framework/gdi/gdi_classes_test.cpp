#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/offscreen_buffer.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

TEST(GdiClasses, PointFontsConvertTenthsOfAPointAt96Dpi) {
    // -MulDiv(96, tenths, 720), rounded half away from zero.
    for (auto [tenths, height] : {std::pair{90, -12}, std::pair{105, -14}}) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(tenths, u"MS UI Gothic"));
        LOGFONTW lf{};
        ASSERT_EQ(font.GetLogFont(&lf), static_cast<int>(sizeof lf));
        EXPECT_EQ(lf.lfHeight, height) << tenths;
    }
}

TEST(GdiClasses, ObjectsOwnTheirHandlesAndFromHandleFindsTheOwner) {
    HGDIOBJ handle = nullptr;
    {
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        handle = pen.m_hObject;
        EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(handle)), &pen);
    }
    EXPECT_EQ(GetObjectType(handle), 0u) << "the destructor deleted the pen";

    HBRUSH loose = CreateSolidBrush(RGB(4, 5, 6));
    CBrush* temp = CBrush::FromHandle(loose);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CBrush::FromHandle(loose), temp) << "the same wrapper until the map is emptied";
    EXPECT_EQ(CPen::FromHandle(reinterpret_cast<HPEN>(loose)), nullptr) << "a brush is not a pen";
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(GetObjectType(loose), OBJ_BRUSH) << "temporary wrappers never delete";
}

// A kept buffer shows itself by its pixels: what one paint drew is still there at
// the next paint whose size fits the bitmap (made with some room to grow), and
// gone once the size outgrew it or shrank to a small part of it.
TEST(GdiClasses, AnOffscreenBufferKeepsItsBitmapWhileTheSizeFits) {
    tq3::test::Canvas canvas(4, 4);
    CDC* screen = CDC::FromHandle(canvas.dc());
    tq3::fw::OffscreenBuffer buffer;
    constexpr COLORREF kMark = RGB(200, 10, 30);
    struct Step {
        CSize size;
        bool made;      // a context comes back
        COLORREF seen;  // the pixel at (2, 3) before marking it
        CSize bitmap;   // the bitmap held afterwards
    } steps[] = {
        {CSize(0, 5), false, 0, CSize()},
        {CSize(8, 6), true, RGB(0, 0, 0), CSize(32, 32)},
        {CSize(30, 20), true, kMark, CSize(32, 32)},  // larger, but it fits: kept
        {CSize(33, 20), true, RGB(0, 0, 0), CSize(64, 32)},
        {CSize(300, 200), true, RGB(0, 0, 0), CSize(320, 224)},
        {CSize(200, 150), true, kMark, CSize(320, 224)},  // a smaller window reuses it
        {CSize(100, 60), true, RGB(0, 0, 0), CSize(128, 64)},  // a much smaller one gives it back
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::Message() << step.size.cx << " x " << step.size.cy);
        CDC* dc = buffer.Prepare(screen, step.size);
        ASSERT_EQ(dc != nullptr, step.made);
        EXPECT_EQ(buffer.BitmapSize(), step.bitmap);
        if (dc == nullptr) continue;
        EXPECT_EQ(dc->GetPixel(2, 3), step.seen);
        dc->SetPixel(2, 3, kMark);
    }
    CDC::DeleteTempMap();
}

}  // namespace
}  // namespace tq3::test
