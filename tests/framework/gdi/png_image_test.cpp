#include "framework/gdi/png_image.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>


namespace tq3::test {
namespace {

namespace fs = std::filesystem;
using tq3::fw::Surface;

fs::path OutputDir() {
    const char* env = std::getenv("TQ3_TEST_OUTPUT");
    fs::path dir = env ? fs::path(env) / "gdi" : fs::temp_directory_path() / "tq3-gdi-tests";
    fs::create_directories(dir);
    return dir;
}

Surface Pattern(int w, int h) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.Set(x, y, static_cast<tq3::fw::Pixel>((x * 37) << 16 | (y * 11) << 8 | (x ^ y)));
    return s;
}

TEST(Png, SavesAndLoadsExactPixelsOfAnArea) {
    Surface s = Pattern(40, 30);
    fs::path file = OutputDir() / "roundtrip.png";
    RECT area{5, 7, 25, 17};
    ASSERT_TRUE(tq3::fw::SavePng(s, &area, file.string()));
    Surface back;
    ASSERT_TRUE(tq3::fw::LoadPng(file.string(), &back));
    ASSERT_EQ(back.Width(), 20);
    ASSERT_EQ(back.Height(), 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(back.At(x, y), s.At(x + 5, y + 7) & 0xFFFFFF) << x << "," << y;
    // Areas are clipped to the surface; an empty one is refused.
    RECT beyond{30, 20, 100, 100};
    ASSERT_TRUE(tq3::fw::SavePng(s, &beyond, file.string()));
    ASSERT_TRUE(tq3::fw::LoadPng(file.string(), &back));
    EXPECT_EQ(back.Width(), 10);
    RECT outside{50, 50, 60, 60};
    EXPECT_FALSE(tq3::fw::SavePng(s, &outside, file.string()));
    EXPECT_FALSE(tq3::fw::SavePng(s, nullptr, (OutputDir() / "no-such-dir" / "x.png").string()));
}

TEST(Png, BadFilesAreRefusedAndLeaveTheTargetAlone) {
    fs::path dir = OutputDir();
    Surface target(3, 3, 0x123456);
    EXPECT_FALSE(tq3::fw::LoadPng((dir / "missing.png").string(), &target));
    {
        std::ofstream junk(dir / "junk.png", std::ios::binary);
        junk << "this is not a picture at all";
    }
    EXPECT_FALSE(tq3::fw::LoadPng((dir / "junk.png").string(), &target));
    // A real PNG cut in half.
    Surface s = Pattern(64, 64);
    ASSERT_TRUE(tq3::fw::SavePng(s, nullptr, (dir / "whole.png").string()));
    auto size = fs::file_size(dir / "whole.png");
    fs::copy_file(dir / "whole.png", dir / "cut.png", fs::copy_options::overwrite_existing);
    fs::resize_file(dir / "cut.png", size / 2);
    EXPECT_FALSE(tq3::fw::LoadPng((dir / "cut.png").string(), &target));
    EXPECT_FALSE(tq3::fw::LoadPng((dir / "whole.png").string(), nullptr));
    EXPECT_EQ(target.Width(), 3);
    EXPECT_EQ(target.At(1, 1), 0x123456u);
}

TEST(Png, GoldenComparisonToleratesSmallDifferencesAndWritesTheActualImage) {
    fs::path dir = OutputDir();
    Surface s = Pattern(20, 20);
    RECT all{0, 0, 20, 20};
    fs::path golden = dir / "golden.png";
    fs::path actual = dir / "golden.actual.png";
    ASSERT_TRUE(tq3::fw::SavePng(s, nullptr, golden.string()));
    fs::remove(actual);
    EXPECT_TRUE(tq3::fw::CompareWithGolden(s, all, golden.string(), 0).match);
    EXPECT_FALSE(fs::exists(actual));

    // A slight change within the tolerance still matches; a larger one does not.
    s.Set(3, 3, s.At(3, 3) ^ 0x000003);
    auto near = tq3::fw::CompareWithGolden(s, all, golden.string(), 4);
    EXPECT_TRUE(near.match);
    EXPECT_EQ(near.largestDifference, 3);
    s.Set(4, 4, s.At(4, 4) ^ 0x800000);
    auto off = tq3::fw::CompareWithGolden(s, all, golden.string(), 4);
    EXPECT_FALSE(off.match);
    EXPECT_EQ(off.differingPixels, 1);
    EXPECT_TRUE(fs::exists(actual)) << off.message;
    EXPECT_TRUE(tq3::fw::CompareWithGolden(s, all, golden.string(), 4, 1).match) << "one pixel allowed";

    // A different size or a missing golden file is a mismatch with the reason given.
    RECT part{0, 0, 10, 20};
    auto sized = tq3::fw::CompareWithGolden(s, part, golden.string(), 255);
    EXPECT_FALSE(sized.match);
    EXPECT_NE(sized.message.find("size"), std::string::npos);
    auto missing = tq3::fw::CompareWithGolden(s, all, (dir / "nothing.png").string(), 0);
    EXPECT_FALSE(missing.match);
    EXPECT_TRUE(fs::exists(dir / "nothing.actual.png"));
}

}  // namespace
}  // namespace tq3::test
