// The demo's sheets built from small sample tables: titles from the comment block,
// malformed records skipped and reported, positions read as ISO 6709 into derived
// columns, list columns, and the message shown when a table is missing.
#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include "demo/demo_sheets.h"
#include "demo/demo_view.h"
#include "framework/core/utf.h"
#include "tests/demo/temp_folder.h"

namespace tq3::test {
namespace {

using tq3::demo::CDemoView;

constexpr const char* kZones =
    "# tz table\n"
    "#country-\n"
    "#codes\tcoordinates\tTZ\tcomments\n"
    "AD\t+4230+00131\tEurope/Andorra\n"
    "AE,OM\t+2518+05518\tAsia/Dubai\tGulf\n"
    "broken line\n"
    "ZA,LS\t-2615+02800\tAfrica/Johannesburg\n"
    "XX\tnowhere\tEtc/Nowhere\n";

constexpr const char* kCountries =
    "#country-\n"
    "#code\tname of country\n"
    "AD\tAndorra\n"
    "AE\tUnited Arab Emirates\n"
    "LS\tLesotho\n"
    "OM\tOman\n"
    "ZA\tSouth Africa\n";

class DemoSheetsTest : public ::testing::Test {
protected:
    void TearDown() override {
        view->DeleteAllSheets();  // a view without a window leaves its sheets to its owner
        delete view;
    }

    std::string Cell(int sheet, int line, int column) {
        CString text = view->GetCellText(sheet, line, column);
        return tq3::fw::ToUtf8(std::u16string_view(text.GetString(), text.GetLength()));
    }
    std::string Title(int sheet, int column) { return tq3::fw::ToUtf8(view->GetColumnProp(sheet, column)->title); }
    // A line's cells, or the column titles for line -1, joined by '|'.
    std::string Line(int sheet, int line) {
        std::string text;
        for (int column = 0; column < view->GetColumnCount(sheet); ++column)
            text += (column > 0 ? "|" : "") + (line < 0 ? Title(sheet, column) : Cell(sheet, line, column));
        return text;
    }

    tq3::testing::Desktop desktop{640, 480};
    tq3::testing::TestApp app;
    CDemoView* view = new CDemoView;
    TempFolder folder;
};

TEST_F(DemoSheetsTest, TablesBecomeSheetsWithDerivedColumns) {
    demo::SheetSources sources;
    sources.zoneFile = folder.Write("zone1970.tab", kZones);
    sources.olderZoneFile.clear();
    sources.countryFile = folder.Write("iso3166.tab", kCountries);
    sources.ioPointLines = 50;
    std::vector<std::string> problems = demo::AddDemoSheets(*view, demo::TextsFor(0), sources);

    ASSERT_EQ(view->GetSheetCount(), 4);
    EXPECT_EQ(std::u16string_view(view->GetSheetName(0).GetString()), u"Time zones");
    // The malformed record is skipped and reported by its line number.
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("1 malformed line(s) skipped (line 6)"), std::string::npos) << problems[0];

    // Time zones: titles from the comments, then latitude and longitude, empty
    // where a position does not read. Countries: how many zones each shares in.
    EXPECT_EQ(Line(0, -1), "country-codes|coordinates|TZ|comments|latitude|longitude");
    ASSERT_EQ(view->GetLineCount(0), 4);
    EXPECT_EQ(Line(0, 0), "AD|+4230+00131|Europe/Andorra||42.5000|1.5167");
    EXPECT_EQ(Line(0, 2), "ZA,LS|-2615+02800|Africa/Johannesburg||-26.2500|28.0000");
    EXPECT_EQ(Line(0, 3), "XX|nowhere|Etc/Nowhere|||");
    EXPECT_EQ(view->GetColumnProp(0, 0)->listStrings.size(), 5u) << "the country table's codes";
    EXPECT_EQ(Line(1, -1), "country-code|name of country|time zones");
    ASSERT_EQ(view->GetLineCount(1), 5);
    EXPECT_EQ(Line(1, 0), "AD|Andorra|1");
    EXPECT_EQ(Line(1, 3), "OM|Oman|1") << "OM shares Asia/Dubai";
    EXPECT_TRUE(view->GetColumnProp(1, 2)->IsNumericColumn());

    // Columns are fitted to their widest text.
    const auto width = [&](int sheet, int column) { return view->GetColumnProp(sheet, column)->extent.Width(); };
    EXPECT_GT(width(0, 2), width(0, 3)) << "\"Africa/Johannesburg\" is wider than the title \"comments\"";
    EXPECT_GT(width(1, 1), width(1, 0)) << "\"United Arab Emirates\" is wider than a code";
}

// Neither zone table: the sheet says which file is missing and where tzdata is.
TEST_F(DemoSheetsTest, MissingTablesSayWhy) {
    demo::SheetSources sources;
    sources.zoneFile = folder.File("missing.tab");
    sources.olderZoneFile = folder.File("none.tab");
    sources.countryFile = folder.Write("iso3166.tab", kCountries);
    sources.ioPointLines = 0;
    const std::vector<std::string> problems = demo::AddDemoSheets(*view, demo::TextsFor(1), sources);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("missing.tab"), std::string::npos) << problems[0];
    EXPECT_NE(problems[0].find("tzdata"), std::string::npos) << problems[0];
    EXPECT_EQ(std::u16string_view(view->GetSheetName(0).GetString()), u"タイムゾーン");
    EXPECT_EQ(view->GetColumnCount(0), 1);
    EXPECT_EQ(Cell(0, 0, 0), problems[0]);
}

}  // namespace
}  // namespace tq3::test
