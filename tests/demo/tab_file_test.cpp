// The loaders of the time zone and country tables: titles from the comment block,
// malformed records, files that are missing or unusable, and ISO 6709 positions.
#include <gtest/gtest.h>

#include <filesystem>

#include "demo/coordinates.h"
#include "demo/tab_file.h"
#include "framework/core/utf.h"
#include "tests/demo/temp_folder.h"

namespace tq3::test {
namespace {

using tq3::demo::LoadTabFile;
using tq3::demo::ParseTabText;

std::vector<std::string> Narrow(const std::vector<std::u16string>& texts) {
    std::vector<std::string> out;
    for (const auto& text : texts) out.push_back(tq3::fw::ToUtf8(text));
    return out;
}

TEST(TabFileTest, TitlesComeFromTheCommentAboveTheData) {
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {"hyphenated first title", "# header\n#country-\n#codes\tcoordinates\tTZ\tcomments\nAD\t+4230+00131\tEurope/Andorra\n",
         {"country-codes", "coordinates", "TZ", "comments"}},
        {"TABs lining titles up", "#code\tcoordinates\tTZ\t\t\tcomments\nAD\t+4230+00131\tEurope/Andorra\n",
         {"code", "coordinates", "TZ", "comments"}},
        {"no hyphen before", "# just words\n#code\tname\nAD\tAndorra\n", {"code", "name"}},
        {"comment with TABs after the data", "AD\tAndorra\n#@AQ\tAntarctica/\n", {}},
        {"no titles at all", "# words only\nAD\tAndorra\n", {}},
        {"first titled comment wins", "#a\tb\n#c\td\nAD\tAndorra\n", {"a", "b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Narrow(ParseTabText(c.text, 2).titles), c.titles) << c.name;
    }
}

TEST(TabFileTest, RecordsKeepTheirFieldsAndShortOnesAreRejectedByLine) {
    const char* text =
        "#code\tname\r\n"
        "AD\tAndorra\r\n"       // line 2, CR LF ending
        "\n"                    // line 3, empty: skipped, not rejected
        "AE\r\n"                // line 4, one field: rejected
        "AF\tAfghanistan\textra\n"  // line 5, more fields than needed: kept
        "# late comment\n"
        "JP\t日本\n"             // line 7, UTF-8
        "bad line without tabs";   // line 8, no newline at the end
    demo::TabTable table = ParseTabText(text, 2);
    ASSERT_TRUE(table.error.empty());
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(Narrow(table.rows[0]), (std::vector<std::string>{"AD", "Andorra"}));
    EXPECT_EQ(Narrow(table.rows[1]), (std::vector<std::string>{"AF", "Afghanistan", "extra"}));
    EXPECT_EQ(Narrow(table.rows[2]), (std::vector<std::string>{"JP", "日本"}));
    EXPECT_EQ(table.rejectedLines, (std::vector<int>{4, 8}));
}

TEST(TabFileTest, UnusableFilesGiveAMessageNamingTheFile) {
    TempFolder folder;
    const std::string empty = folder.Write("empty.tab", "# only a comment\n");
    const std::string big = folder.File("big.tab");
    { std::ofstream(big) << "x"; }
    std::filesystem::resize_file(big, demo::kMaxTabFileBytes + 1);
    struct Case {
        std::string path;
        const char* reason;
    };
    const Case cases[] = {
        {folder.File("missing.tab"), "No such file"},
        {empty, "holds no records"},
        {big, "larger than"},
        {folder.Path(), ""},  // a folder: refused with some reason
    };
    for (const Case& c : cases) {
        demo::TabTable table = LoadTabFile(c.path, 2);
        EXPECT_TRUE(table.rows.empty()) << c.path;
        EXPECT_NE(table.error.find(c.path), std::string::npos) << table.error;
        EXPECT_NE(table.error.find(c.reason), std::string::npos) << table.error;
    }
    const std::string good = folder.Write("good.tab", "#code\tname\nAD\tAndorra\n");
    demo::TabTable table = LoadTabFile(good, 2);
    EXPECT_TRUE(table.error.empty()) << table.error;
    EXPECT_EQ(table.rows.size(), 1u);
}

TEST(TabFileTest, Iso6709PositionsBecomeDecimalDegrees) {
    struct Case {
        const char16_t* text;
        bool valid;
        double latitude;
        double longitude;
    };
    const Case cases[] = {
        {u"+4230+00131", true, 42.5, 1 + 31 / 60.0},
        {u"-334752+0183900", true, -(33 + 47 / 60.0 + 52 / 3600.0), 18 + 39 / 60.0},
        {u"+9000-18000", true, 90, -180},
        {u"+9001+00000", false, 0, 0},    // beyond the pole
        {u"+0000+18001", false, 0, 0},    // beyond the date line
        {u"+4260+00131", false, 0, 0},    // 60 minutes
        {u"+423060+0013100", false, 0, 0},  // 60 seconds
        {u"4230+00131", false, 0, 0},     // no sign
        {u"+4230+0013", false, 0, 0},     // short
        {u"+4230+001310", false, 0, 0},   // seconds on one half only
        {u"+42a0+00131", false, 0, 0},
        {u"", false, 0, 0},
    };
    for (const Case& c : cases) {
        std::optional<demo::GeoPosition> at = demo::ParseIso6709(c.text);
        ASSERT_EQ(at.has_value(), c.valid) << tq3::fw::ToUtf8(c.text);
        if (!c.valid) continue;
        EXPECT_NEAR(at->latitude, c.latitude, 1e-9) << tq3::fw::ToUtf8(c.text);
        EXPECT_NEAR(at->longitude, c.longitude, 1e-9) << tq3::fw::ToUtf8(c.text);
    }
}

}  // namespace
}  // namespace tq3::test
