// With no usable font every call reports failure and nothing crashes. The engine reads
// its configuration once per process: this program points it, before the first call,
// at a configuration that lists no font folders. (A configuration file that is missing
// altogether is not this case: fontconfig then falls back to its built-in folders.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <string>

#include "framework/gdi/text/draw_text.h"

namespace tq3::test {
namespace {

using namespace tq3::fw;
using namespace tq3::fw::text;

TEST(TextWithoutFonts, EveryCallFailsCleanly) {
    const char* outputDir = std::getenv("TQ3_TEST_OUTPUT");
    std::string dir = outputDir ? outputDir : "/tmp";
    std::string config = dir + "/no-fonts.conf";
    std::string command = "mkdir -p '" + dir + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    FILE* file = std::fopen(config.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", file);
    std::fclose(file);
    ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfFaceName[0] = u'A';

    TextStatus status = TextStatus::kOk;
    FontRef font = RealizeFont(lf, &status);
    EXPECT_FALSE(font);
    EXPECT_EQ(status, TextStatus::kNoUsableFont);

    Surface s(40, 20, 0xFFFFFF);
    RECT rect{0, 0, 40, 20};
    EXPECT_EQ(DrawTextRun(font, TextTarget{&s, nullptr}, u"abc", 3, &rect, DT_SINGLELINE, TextColors{0, 0, false}), 0);
    EXPECT_EQ(DrawRun(font, TextTarget{&s, nullptr}, 0, 0, u"abc", 3, TextColors{0, 0, true}),
              TextStatus::kInvalidArgument);
    EXPECT_EQ(GetTextExtent(font, u"abc", 3).cx, 0);
    // Asking again gives the same answer.
    EXPECT_FALSE(RealizeFont(lf, &status));
}

}  // namespace
}  // namespace tq3::test
