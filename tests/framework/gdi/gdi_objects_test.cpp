#include "framework/gdi/gdi_objects.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tq3::test {
namespace {

using tq3::fw::gdi::BitmapOf;

TEST(GdiObjects, StockObjectsAreSharedAndSurviveDeletion) {
    struct Case {
        int index;
        DWORD type;
    };
    const Case cases[] = {{WHITE_BRUSH, OBJ_BRUSH}, {NULL_PEN, OBJ_PEN}, {DEFAULT_GUI_FONT, OBJ_FONT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        HGDIOBJ h = GetStockObject(c.index);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(GetStockObject(c.index), h);
        EXPECT_EQ(GetObjectType(h), c.type);
        EXPECT_TRUE(DeleteObject(h));
        EXPECT_EQ(GetObjectType(h), c.type) << "a stock object is never freed";
    }
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(9), nullptr);  // no stock object has this index
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -12);
}

TEST(GdiObjects, DeletedAndForeignHandlesAreRefused) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(brush, nullptr);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush)) << "second delete of the same handle";
    EXPECT_EQ(GetObjectType(brush), 0u);
    LOGBRUSH lb{};
    EXPECT_EQ(GetObjectW(brush, sizeof lb, &lb), 0);

    // A slot that was reused does not answer to the old handle.
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    EXPECT_NE(static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(brush));
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);

    // Garbage and null handles.
    for (std::uintptr_t junk : {std::uintptr_t{0}, std::uintptr_t{1}, std::uintptr_t{0x10}, ~std::uintptr_t{0},
                                std::uintptr_t{0xDEADBEEF0}}) {
        auto h = reinterpret_cast<HGDIOBJ>(junk);
        EXPECT_FALSE(DeleteObject(h));
        EXPECT_EQ(GetObjectType(h), 0u);
        EXPECT_EQ(GetObjectW(h, 0, nullptr), 0);
    }
    // A pen handle is not a brush.
    EXPECT_EQ(tq3::fw::gdi::BrushOf(reinterpret_cast<HBRUSH>(pen)), nullptr);
    DeleteObject(pen);
}

TEST(GdiObjects, GetObjectReportsWhatWasCreated) {
    HPEN pen = CreatePen(PS_DOT, 5, RGB(10, 20, 30));
    LOGPEN lp{};
    EXPECT_EQ(GetObjectW(pen, 0, nullptr), static_cast<int>(sizeof lp));
    ASSERT_EQ(GetObjectW(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DOT));
    EXPECT_EQ(lp.lopnWidth.x, 1) << "styled pens are one pixel wide";
    EXPECT_EQ(lp.lopnColor, RGB(10, 20, 30));

    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(1, 1, 1));
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(hatch, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
    EXPECT_EQ(CreateHatchBrush(77, 0), nullptr);

    LOGFONTW in{};
    in.lfHeight = -15;
    in.lfWeight = FW_BOLD;
    std::memcpy(in.lfFaceName, u"MS Shell Dlg", sizeof(u"MS Shell Dlg"));
    HFONT font = CreateFontIndirectW(&in);
    LOGFONTW out{};
    // A short buffer gets a prefix only.
    EXPECT_EQ(GetObjectW(font, 4, &out), 4);
    EXPECT_EQ(out.lfHeight, -15);
    EXPECT_EQ(out.lfWeight, 0);
    ASSERT_EQ(GetObjectW(font, sizeof out, &out), static_cast<int>(sizeof out));
    EXPECT_EQ(std::memcmp(&in, &out, sizeof in), 0);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);

    HFONT byArgs = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 1, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"MS UI Gothic");
    ASSERT_EQ(GetObjectW(byArgs, sizeof out, &out), static_cast<int>(sizeof out));
    EXPECT_EQ(out.lfItalic, 1);
    EXPECT_EQ(std::u16string(out.lfFaceName), u"MS UI Gothic");

    for (HGDIOBJ h : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(hatch), static_cast<HGDIOBJ>(font),
                      static_cast<HGDIOBJ>(byArgs)}) {
        EXPECT_TRUE(DeleteObject(h));
    }
}

TEST(GdiObjects, BitmapsDecodeTheirBits) {
    // One-bit rows are padded to 16 bits: 0b1010'0000 then padding.
    const BYTE mono[] = {0xA0, 0x00, 0x50, 0x00};
    HBITMAP bm = CreateBitmap(4, 2, 1, 1, mono);
    ASSERT_NE(bm, nullptr);
    const tq3::fw::Surface& s = *BitmapOf(bm)->surface;
    const tq3::fw::Pixel expected[2][4] = {{0xFFFFFF, 0, 0xFFFFFF, 0}, {0, 0xFFFFFF, 0, 0xFFFFFF}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(s.At(x, y), expected[y][x]) << x << "," << y;
    BITMAP info{};
    ASSERT_EQ(GetObjectW(bm, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);

    const DWORD colour[] = {0xFF123456, 0x00ABCDEF};
    HBITMAP c = CreateBitmap(2, 1, 1, 32, colour);
    EXPECT_EQ(BitmapOf(c)->surface->At(0, 0), 0x123456u) << "the unused byte is dropped";
    EXPECT_EQ(BitmapOf(c)->surface->At(1, 0), 0xABCDEFu);

    // Degenerate and impossible sizes.
    HBITMAP empty = CreateBitmap(0, 0, 1, 1, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(BitmapOf(empty)->surface->Width(), 1);
    EXPECT_EQ(CreateBitmap(-1, 5, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(5, 5, 1, 7, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr), nullptr);

    // A pattern brush from a 2x2 bitmap tiles it over 8x8.
    HBRUSH pattern = CreatePatternBrush(bm);
    ASSERT_NE(pattern, nullptr);
    auto* data = tq3::fw::gdi::BrushOf(pattern);
    EXPECT_TRUE(data->monochrome);
    EXPECT_EQ(data->pattern[4], 0xFFFFFFu);  // x 4 -> bitmap x 0
    EXPECT_EQ(data->pattern[8 + 5], 0xFFFFFFu);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 3;
    bi.bmiHeader.biHeight = -2;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    static_cast<DWORD*>(bits)[4] = 0x00FF00;
    EXPECT_EQ(BitmapOf(dib)->surface->At(1, 1), 0x00FF00u);
    bi.bmiHeader.biHeight = 2;  // bottom-up sections are not offered
    EXPECT_EQ(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);

    for (HGDIOBJ h : {static_cast<HGDIOBJ>(bm), static_cast<HGDIOBJ>(c), static_cast<HGDIOBJ>(empty),
                      static_cast<HGDIOBJ>(pattern), static_cast<HGDIOBJ>(dib)}) {
        EXPECT_TRUE(DeleteObject(h));
    }
}

}  // namespace
}  // namespace tq3::test
