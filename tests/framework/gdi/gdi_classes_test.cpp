#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/offscreen_buffer.h"

#include <gtest/gtest.h>

#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

TEST(GdiClasses, PointFontsConvertTenthsOfAPointAt96Dpi) {
    struct Case {
        int tenths;
        LONG height;
    };
    // -MulDiv(96, tenths, 720), rounded half away from zero.
    const Case cases[] = {{90, -12}, {80, -11}, {105, -14}, {75, -10}};
    for (const Case& c : cases) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.tenths, u"MS UI Gothic"));
        LOGFONTW lf{};
        ASSERT_EQ(font.GetLogFont(&lf), static_cast<int>(sizeof lf));
        EXPECT_EQ(lf.lfHeight, c.height) << c.tenths;
        EXPECT_EQ(std::u16string(lf.lfFaceName), u"MS UI Gothic");
    }
    // Through a context: its resolution, and the other fields of the record kept.
    tq3::test::Canvas canvas(4, 4);
    CDC* dc = CDC::FromHandle(canvas.dc());
    LOGFONTW in{};
    in.lfHeight = 90;
    in.lfWeight = FW_BOLD;
    in.lfItalic = 1;
    CFont font;
    ASSERT_TRUE(font.CreatePointFontIndirect(&in, dc));
    LOGFONTW out{};
    font.GetLogFont(&out);
    EXPECT_EQ(out.lfHeight, -12);
    EXPECT_EQ(out.lfWeight, FW_BOLD);
    EXPECT_EQ(out.lfItalic, 1);
    EXPECT_FALSE(font.CreatePointFontIndirect(nullptr));
    CDC::DeleteTempMap();
}

TEST(GdiClasses, ObjectsOwnTheirHandlesAndFromHandleFindsTheOwner) {
    HGDIOBJ handle = nullptr;
    {
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        handle = pen.m_hObject;
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(handle)), &pen);
        EXPECT_FALSE(pen.CreatePen(PS_SOLID, 1, 0)) << "one handle per object";
    }
    EXPECT_EQ(GetObjectType(handle), 0u) << "the destructor deleted the pen";

    HBRUSH loose = CreateSolidBrush(RGB(4, 5, 6));
    CBrush* temp = CBrush::FromHandle(loose);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hObject, loose);
    EXPECT_EQ(CBrush::FromHandle(loose), temp) << "the same wrapper until the map is emptied";
    EXPECT_EQ(CPen::FromHandle(reinterpret_cast<HPEN>(loose)), nullptr) << "a brush is not a pen";
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(GetObjectType(loose), OBJ_BRUSH) << "temporary wrappers never delete";

    CBrush owner;
    ASSERT_TRUE(owner.Attach(loose));
    EXPECT_EQ(CBrush::FromHandle(loose), &owner);
    EXPECT_EQ(owner.Detach(), loose);
    EXPECT_EQ(GetObjectType(loose), OBJ_BRUSH);
    DeleteObject(loose);

    CBrush system;
    ASSERT_TRUE(system.CreateSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ shared = system.m_hObject;
    EXPECT_TRUE(system.DeleteObject());
    EXPECT_EQ(GetObjectType(shared), OBJ_BRUSH) << "the shared system brush survives";

    CRgn a, b, c;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 0, 15, 10);
    c.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    RECT box{};
    c.GetRgnBox(&box);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(c.CopyRgn(&a), SIMPLEREGION);
    EXPECT_TRUE(c.EqualRgn(&a));
    CRgn empty;
    EXPECT_EQ(empty.CombineRgn(&a, &b, RGN_OR), ERROR) << "combining needs an existing region";
}

// What the wrappers add to the functions they call: the handle maps behind the
// objects they return, FillSolidRect's background colour, Draw3dRect's corners.
TEST(GdiClasses, DeviceContextWrapperSelectsAndDraws) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 12, 8));
    CBitmap* oldBitmap = dc.SelectObject(&bitmap);
    ASSERT_NE(oldBitmap, nullptr);
    BITMAP bm{};
    oldBitmap->GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 1) << "the default bitmap came back";
    EXPECT_EQ(dc.GetCurrentBitmap(), &bitmap);
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    ASSERT_NE(oldPen, nullptr);
    EXPECT_EQ(oldPen->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.GetCurrentPen(), &pen);
    dc.FillSolidRect(0, 0, 12, 8, RGB(0, 0, 255));
    EXPECT_EQ(dc.GetBkColor(), RGB(0, 0, 255)) << "FillSolidRect leaves the background colour set";
    dc.Draw3dRect(2, 3, 4, 3, RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetPixel(2, 3), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(5, 3), RGB(0, 0, 0)) << "top-right corner belongs to the dark side";
    EXPECT_EQ(dc.GetPixel(3, 4), RGB(0, 0, 255));
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBitmap);
    HDC handle = dc.m_hDC;
    EXPECT_EQ(CDC::FromHandle(handle), &dc);
    EXPECT_TRUE(dc.DeleteDC());
    EXPECT_EQ(GetObjectType(handle), 0u);
    EXPECT_EQ(CDC::FromHandle(handle), nullptr) << "no wrapper for a dead handle";
    CGdiObject::DeleteTempMap();
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
        {CSize(8, 6), true, kMark, CSize(32, 32)},
        {CSize(30, 20), true, kMark, CSize(32, 32)},  // one line taller, a column wider: kept
        {CSize(33, 20), true, RGB(0, 0, 0), CSize(64, 32)},
        {CSize(9, -1), false, 0, CSize()},
        {CSize(9, 6), true, RGB(0, 0, 0), CSize(32, 32)},
        {CSize(300, 200), true, RGB(0, 0, 0), CSize(320, 224)},
        {CSize(200, 150), true, kMark, CSize(320, 224)},  // a smaller window reuses it
        {CSize(100, 60), true, RGB(0, 0, 0), CSize(128, 64)},  // a much smaller one gives it back
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::Message() << step.size.cx << " x " << step.size.cy);
        CDC* dc = buffer.Prepare(screen, step.size);
        ASSERT_EQ(dc != nullptr, step.made);
        EXPECT_EQ(buffer.Size(), step.made ? step.size : CSize());
        EXPECT_EQ(buffer.BitmapSize(), step.bitmap);
        if (dc == nullptr) continue;
        EXPECT_EQ(dc->GetPixel(2, 3), step.seen);
        dc->SetPixel(2, 3, kMark);
    }
    buffer.Release();
    EXPECT_EQ(buffer.Size(), CSize());
    EXPECT_EQ(buffer.Prepare(nullptr, CSize(8, 6)), nullptr) << "no screen to suit";
    CDC::DeleteTempMap();
}

}  // namespace
}  // namespace tq3::test
