#include "framework/gdi/icons.h"

#include <gtest/gtest.h>

#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/image_list.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

using tq3::test::Canvas;
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kBlue = RGB(0, 0, 200);

// A 4x4 icon: a blue 2x2 square in the middle, the rest transparent.
HICON SquareIcon() {
    DWORD color[16] = {};
    BYTE mask[8];  // four rows of 16 bits
    for (int y = 0; y < 4; ++y) {
        bool mid = y == 1 || y == 2;
        mask[2 * y] = mid ? 0x90 : 0xF0;  // 1001 for middle rows: columns 1 and 2 opaque
        mask[2 * y + 1] = 0;
        if (mid) color[y * 4 + 1] = color[y * 4 + 2] = 0x0000C8;  // 0x00RRGGBB blue
    }
    CBitmap m, c;
    m.CreateBitmap(4, 4, 1, 1, mask);
    c.CreateBitmap(4, 4, 1, 32, color);
    ICONINFO info{TRUE, 0, 0, m, c};
    return CreateIconIndirect(&info);  // copies: the bitmaps may go
}

TEST(Icons, DrawKeepsTransparentPixelsAndScales) {
    HICON icon = SquareIcon();
    ASSERT_NE(icon, nullptr);
    Canvas canvas(10, 10, kGreen);
    ASSERT_TRUE(DrawIcon(canvas.dc(), 2, 2, icon));
    EXPECT_EQ(canvas.Picture(kBlue),
              "..........\n..........\n..........\n"
              "...##.....\n...##.....\n"
              "..........\n..........\n..........\n..........\n..........\n");
    EXPECT_EQ(canvas.Count(kGreen), 96);

    // Twice the size: each pixel becomes 2x2.
    canvas.Fill(kGreen);
    DrawIconEx(canvas.dc(), 0, 0, icon, 8, 8, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.Count(kBlue), 16);
    EXPECT_EQ(canvas.at(2, 2), kBlue);
    EXPECT_EQ(canvas.at(1, 1), kGreen);

    // Over a flicker-free brush the icon is opaque.
    canvas.Fill(kGreen);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, white, DI_NORMAL);
    EXPECT_EQ(canvas.at(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.at(1, 1), kBlue);

    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon) << "made as an icon, not a cursor";
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 4);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    HICON copy = CopyIcon(icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIcon(canvas.dc(), 0, 0, icon));
    EXPECT_TRUE(DrawIcon(canvas.dc(), 0, 0, copy)) << "a copy outlives its original";
    DestroyIcon(copy);
}

TEST(Icons, OneBitIconsAndBadInput) {
    // Mask bitmap twice as tall: AND half (all opaque) over XOR half (a white top row).
    BYTE bits[4 * 2] = {0x00, 0, 0x00, 0, 0xF0, 0, 0x00, 0};
    CBitmap mono;
    mono.CreateBitmap(4, 4, 1, 1, bits);
    ICONINFO info{TRUE, 0, 0, mono, nullptr};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    Canvas canvas(4, 2, kGreen);
    DrawIcon(canvas.dc(), 0, 0, icon);
    EXPECT_EQ(canvas.Picture(RGB(255, 255, 255)), "####\n....\n");
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0)), 4);
    DestroyIcon(icon);

    CBitmap small, big;
    small.CreateBitmap(2, 2, 1, 1, nullptr);
    big.CreateBitmap(3, 3, 1, 32, nullptr);
    ICONINFO mismatched{TRUE, 0, 0, small, big};
    EXPECT_EQ(CreateIconIndirect(&mismatched), nullptr);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
    ICONINFO noMask{TRUE, 0, 0, nullptr, big};
    EXPECT_EQ(CreateIconIndirect(&noMask), nullptr);
    EXPECT_FALSE(DestroyIcon(reinterpret_cast<HICON>(static_cast<HBITMAP>(big))));
    EXPECT_EQ(GetObjectType(big), OBJ_BITMAP) << "a bitmap handle is not an icon";
}

TEST(ImageLists, MaskedStripsDrawAndExtractTheSamePixels) {
    // A strip of three 4x4 images on magenta; image i has a blue column at x = i.
    CBitmap strip;
    DWORD px[12 * 4];
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 12; ++x) px[y * 12 + x] = (x % 4 == x / 4) ? 0x0000C8 : 0xFF00FF;
    strip.CreateBitmap(12, 4, 1, 32, px);
    CImageList list;
    ASSERT_TRUE(list.Create(&strip, 4, 1, kMagenta));
    EXPECT_EQ(list.GetImageCount(), 3);
    int cx = 0, cy = 0;
    list.GetIconSize(&cx, &cy);
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 4);

    Canvas a(4, 4, kGreen);
    ASSERT_TRUE(list.Draw(CDC::FromHandle(a.dc()), 1, POINT{0, 0}, ILD_TRANSPARENT));
    EXPECT_EQ(a.Picture(kBlue), ".#..\n.#..\n.#..\n.#..\n");
    EXPECT_EQ(a.Count(kGreen), 12) << "the mask colour shows the background";

    HICON icon = list.ExtractIcon(1);
    ASSERT_NE(icon, nullptr);
    Canvas b(4, 4, kGreen);
    DrawIcon(b.dc(), 0, 0, icon);
    EXPECT_EQ(b.Picture(kBlue), a.Picture(kBlue));
    EXPECT_EQ(b.Count(kGreen), 12);
    DestroyIcon(icon);

    // An icon added to the list comes back out the same.
    EXPECT_EQ(list.Add(SquareIcon()), 3);
    Canvas c(4, 4, kGreen);
    list.Draw(CDC::FromHandle(c.dc()), 3, POINT{0, 0}, ILD_NORMAL);
    EXPECT_EQ(c.Count(kBlue), 4);

    // Out of range and bad handles.
    EXPECT_FALSE(list.Draw(CDC::FromHandle(c.dc()), 4, POINT{0, 0}, ILD_NORMAL));
    EXPECT_FALSE(list.Draw(CDC::FromHandle(c.dc()), -1, POINT{0, 0}, ILD_NORMAL));
    EXPECT_EQ(list.ExtractIcon(99), nullptr);
    EXPECT_FALSE(list.Remove(7));
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(list.GetImageCount(), 3);
    EXPECT_TRUE(list.Remove(-1));
    EXPECT_EQ(list.GetImageCount(), 0);
    EXPECT_EQ(ImageList_Create(0, 4, ILC_MASK, 1, 1), nullptr);
    EXPECT_EQ(ImageList_Add(nullptr, strip, nullptr), -1);
    CBitmap narrow;
    narrow.CreateBitmap(3, 4, 1, 32, nullptr);
    EXPECT_EQ(list.Add(&narrow, kMagenta), -1) << "narrower than one image";
    CDC::DeleteTempMap();
}

TEST(DrawStateLook, DisabledIconsAreEmbossedInTheSystemColours) {
    HICON icon = SquareIcon();
    Canvas canvas(8, 8, RGB(240, 240, 240));
    ASSERT_TRUE(DrawStateW(canvas.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 2, 2, 0, 0,
                           DST_ICON | DSS_DISABLED));
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW), light = GetSysColor(COLOR_3DHILIGHT);
    EXPECT_EQ(canvas.Count(kBlue), 0) << "no original colour in the disabled look";
    EXPECT_EQ(canvas.Picture(shadow),
              "........\n........\n........\n...##...\n...##...\n........\n........\n........\n");
    EXPECT_EQ(canvas.at(5, 5), light) << "the highlight copy peeks out down and right";
    EXPECT_EQ(canvas.at(5, 4), light);

    canvas.Fill(RGB(240, 240, 240));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    EXPECT_TRUE(DrawStateW(canvas.dc(), red, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, 0, 0, DST_ICON | DSS_MONO));
    EXPECT_EQ(canvas.Count(RGB(255, 0, 0)), 4);
    canvas.Fill(RGB(240, 240, 240));
    EXPECT_TRUE(DrawStateW(canvas.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, 0, 0, DST_ICON));
    EXPECT_EQ(canvas.Count(kBlue), 4);
    EXPECT_FALSE(DrawStateW(canvas.dc(), nullptr, nullptr, 0, 0, 0, 0, 0, 0, DST_TEXT));
    EXPECT_FALSE(DrawStateW(canvas.dc(), nullptr, nullptr, 12345, 0, 0, 0, 0, 0, DST_ICON));
    DeleteObject(red);
    DestroyIcon(icon);
}

}  // namespace
}  // namespace tq3::test
