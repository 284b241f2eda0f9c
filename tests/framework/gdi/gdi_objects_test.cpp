#include "framework/gdi/gdi_objects.h"

#include <gtest/gtest.h>

namespace tq3::test {
namespace {

using tq3::fw::gdi::BitmapOf;

TEST(GdiObjects, DeletedAndForeignHandlesAreRefused) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(brush, nullptr);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush)) << "second delete of the same handle";
    // A slot that was reused does not answer to the old handle.
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
    // Garbage and null handles.
    for (std::uintptr_t junk : {std::uintptr_t{0}, std::uintptr_t{0x10}, ~std::uintptr_t{0}}) {
        auto h = reinterpret_cast<HGDIOBJ>(junk);
        EXPECT_FALSE(DeleteObject(h));
        EXPECT_EQ(GetObjectW(h, 0, nullptr), 0);
    }
    EXPECT_EQ(tq3::fw::gdi::BrushOf(reinterpret_cast<HBRUSH>(pen)), nullptr) << "a pen handle is not a brush";
    DeleteObject(pen);
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
    const DWORD colour[] = {0xFF123456, 0x00ABCDEF};
    HBITMAP c = CreateBitmap(2, 1, 1, 32, colour);
    EXPECT_EQ(BitmapOf(c)->surface->At(0, 0), 0x123456u) << "the unused byte is dropped";
    // Impossible sizes.
    EXPECT_EQ(CreateBitmap(-1, 5, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr), nullptr);
    EXPECT_TRUE(DeleteObject(bm));
    EXPECT_TRUE(DeleteObject(c));
}

}  // namespace
}  // namespace tq3::test
