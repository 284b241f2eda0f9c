// Persisted column widths and font of a table view, against the test
// application's temporary store: where the widths are stored and in which format,
// what reading gives back, and what damaged or missing settings give. (The font
// written and read back is checked with the font choice.)

#include <tuple>
#include <variant>

#include "model/column_prop.h"
#include "settings/registry_location.h"
#include "tests/settings/settings_view_fixture.h"
#include "text/system_font.h"

namespace tq3::test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(SettingsViewTest, WidthsAreStoredPerDataWordAndReadBackEdgeToEdge) {
    SettingsView* view = MakeView();
    ASSERT_NE(view, nullptr);
    AddSheets(view, {{0x1A, 3}, {0xDEADBEEF, 2}});
    SetWidths(view, 0, {80, 0, 1234}, 17);
    SetWidths(view, 1, {5, 60});
    EXPECT_TRUE(view->WriteWidthOfColumns());
    EXPECT_EQ(Dump(Section(u"WidthOfColumns\\Info_0000001a")),
              (Strings{"ColumnWidth_00001=4:80", "ColumnWidth_00002=4:0",
                       "ColumnWidth_00003=4:1234"}));
    EXPECT_EQ(Dump(Section(u"WIDTHOFCOLUMNS\\INFO_DEADBEEF")),
              (Strings{"ColumnWidth_00001=4:5", "ColumnWidth_00002=4:60"}));

    // The sheets come back in another order: each finds its widths by data word,
    // laid out from 0, one line high, with its natural width set to match.
    view->DeleteAllSheets();
    AddSheets(view, {{0xDEADBEEF, 3}, {0x1A, 3}});
    SetWidths(view, 0, {1, 2, 3}, 50);
    EXPECT_EQ(view->ReadWidthOfColumns(), 0);
    EXPECT_EQ(Widths(view, 0), (std::vector<int>{5, 60, 0})) << "a column without an entry gets 0";
    EXPECT_EQ(Widths(view, 1), (std::vector<int>{80, 0, 1234}));
    const int h = view->GetLineHeight();
    EXPECT_EQ(view->GetColumnProp(1, 0)->extent, CRect(0, 0, 80, h));
    EXPECT_EQ(view->GetColumnProp(1, 1)->extent, CRect(80, 0, 80, h));
    EXPECT_EQ(view->GetColumnProp(1, 2)->extent, CRect(80, 0, 1314, h));
    EXPECT_EQ(view->GetColumnProp(1, 2)->defaultWidth, 1234);
    EXPECT_EQ(view->GetColumnProp(0, 2)->defaultWidth, 0);
}

// Widths are taken as stored, whatever a damaged store holds; only the edges they
// make stop at the farthest edge, so that a view showing them still lays out,
// paints, scrolls and hit-tests without its arithmetic overflowing.
TEST_F(SettingsViewTest, StoredWidthsAreTakenAsStoredAndTheirEdgesBounded) {
    SettingsView* view = MakeView();
    ASSERT_NE(view, nullptr);
    AddSheets(view, {{0x42, 6}, {0x43, 2}});
    HKEY key = CreateKey(HKEY_CURRENT_USER, Section(u"WidthOfColumns\\Info_00000042").c_str());
    const BYTE two[2] = {0x40, 0x00};
    ASSERT_EQ(SetDword(key, u"ColumnWidth_00001", 64), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, u"ColumnWidth_00002", u"90"), ERROR_SUCCESS);                       // text, not a number
    ASSERT_EQ(RegSetValueExW(key, u"ColumnWidth_00003", 0, REG_BINARY, two, 2), ERROR_SUCCESS);  // too short
    ASSERT_EQ(SetDword(key, u"ColumnWidth_00004", 0xFFFFFFF6), ERROR_SUCCESS);                   // -10
    ASSERT_EQ(SetDword(key, u"ColumnWidth_00005", 0x7FFFFFFF), ERROR_SUCCESS);                   // absurdly wide
    ASSERT_EQ(RegSetValueExW(key, u"ColumnWidth_00006", 0, REG_DWORD, two, 2), ERROR_SUCCESS);   // short dword
    RegCloseKey(key);
    key = CreateKey(HKEY_CURRENT_USER, Section(u"WidthOfColumns\\Info_00000043").c_str());
    ASSERT_EQ(SetDword(key, u"ColumnWidth_00001", 100), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"ColumnWidth_00002", 0x7FFFFFFF), ERROR_SUCCESS);
    RegCloseKey(key);
    const Strings before = Dump(Section(u"WidthOfColumns\\Info_00000042"));
    EXPECT_EQ(view->ReadWidthOfColumns(), 0);
    constexpr int kFar = tq3::kFarthestColumnEdge;
    const struct {
        int defaultWidth, left, right;
    } expected[] = {{64, 0, 64}, {0, 64, 64}, {0, 64, 64}, {-10, 64, 54}, {0x7FFFFFFF, 54, kFar}, {0, kFar, kFar}};
    for (int c = 0; c < 6; ++c) {
        const CColumnProp* column = view->GetColumnProp(0, c);
        EXPECT_EQ(column->defaultWidth, expected[c].defaultWidth) << "column " << c;
        EXPECT_EQ(column->extent.left, expected[c].left) << "column " << c;
        EXPECT_EQ(column->extent.right, expected[c].right) << "column " << c;
    }
    EXPECT_EQ(Dump(Section(u"WidthOfColumns\\Info_00000042")), before) << "reading changes nothing";

    // The sheet whose last column reaches the farthest edge, shown and used.
    for (int line = 0; line < 3; ++line) ASSERT_GE(view->InsertLine(1, line, u"a\tb"), 0);
    view->SetSelSheet(1);
    desktop.RunUntilIdle();
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
    view->EnsureVisible(2, 1);
    view->SetSel(CRect(0, 0, 1, 2), CPoint(1, 2));
    desktop.RunUntilIdle();
    const CRect cell = view->GetCellRect(2, 1);
    EXPECT_FALSE(cell.IsRectEmpty());
    int line = -1;
    int column = -1;
    EXPECT_TRUE(view->PointToCellPos(CPoint(cell.left + 1, cell.top + 1), line, column));
    EXPECT_EQ(CPoint(column, line), CPoint(1, 2));
    view->GetColumnHeader().SetColumnWidth(0, 0x7FFFFFFF);
    EXPECT_EQ(view->GetColumnProp(1, 1)->extent, CRect(kFar, 0, kFar, view->GetLineHeight()));
    EXPECT_TRUE(view->WriteWidthOfColumns());
    EXPECT_EQ(Dump(Section(u"WidthOfColumns\\Info_00000043")),
              (Strings{"ColumnWidth_00001=4:" + std::to_string(kFar), "ColumnWidth_00002=4:0"}));
}

// Each damaged entry is passed over for its default, the others read as stored;
// the stored entries add up from row to row.
TEST_F(SettingsViewTest, MissingAndDamagedFontEntriesTakeTheirDefaults) {
    SettingsView* view = MakeView();
    ASSERT_NE(view, nullptr);
    // What reading gives: "height width weight charset italic [face] size".
    auto read = [view] {
        LOGFONTW f{};
        int n = 0;
        EXPECT_TRUE(view->ReadLogFont(&f, n));
        return std::to_string(f.lfHeight) + " " + std::to_string(f.lfWidth) + " " + std::to_string(f.lfWeight) + " " +
               std::to_string(f.lfCharSet) + " " + std::to_string(f.lfItalic) + " [" +
               tq3::fw::ToUtf8(std::u16string(f.lfFaceName)) + "] " + std::to_string(n);
    };
    EXPECT_EQ(read(), "-12 0 400 1 0 [MS UI Gothic] 90") << "an empty base key still counts";

    HKEY key = CreateKey(HKEY_CURRENT_USER, Section(u"LogFont").c_str());
    const BYTE shortSize[3] = {0x78, 0, 0};
    const std::u16string face40 = u"0123456789012345678901234567890123456789";
    const std::tuple<const char*, const char16_t*, std::variant<DWORD, std::u16string>, std::string> cases[] = {
        {"a byte field keeps its low 8 bits", u"lfItalic", DWORD{0x1234}, "-12 0 400 1 52 [MS UI Gothic] 90"},
        {"a number stored as text", u"lfWeight", u"700", "-12 0 400 1 52 [MS UI Gothic] 90"},
        {"a face stored as a number", u"lfFaceName", DWORD{5}, "-12 0 400 1 52 [MS UI Gothic] 90"},
        {"a face of 40 characters", u"lfFaceName", face40, "-12 0 400 1 52 [0123456789012345678901234567890] 90"},
        {"a size of 0", u"iPointSize", DWORD{0}, "-12 0 400 1 52 [0123456789012345678901234567890] 90"},
        {"a negative size", u"iPointSize", DWORD{0xFFFFFF00}, "-12 0 400 1 52 [0123456789012345678901234567890] 90"},
        {"an absurd size, taken as stored", u"iPointSize", DWORD{0x7FFFFFFF},
         "-12 0 400 1 52 [0123456789012345678901234567890] 2147483647"},
        {"a short size", nullptr, DWORD{0}, "-12 0 400 1 52 [0123456789012345678901234567890] 90"},
    };
    for (const auto& [what, name, value, expected] : cases) {
        SCOPED_TRACE(what);
        if (name == nullptr) {  // the size, stored three bytes long
            RegSetValueExW(key, u"iPointSize", 0, REG_DWORD, shortSize, 3);
        } else if (value.index() == 0) {
            SetDword(key, name, std::get<DWORD>(value));
        } else {
            SetString(key, name, std::get<std::u16string>(value));
        }
        const Strings stored = Dump(Section(u"LogFont"));
        EXPECT_EQ(read(), expected);
        EXPECT_EQ(Dump(Section(u"LogFont")), stored) << "reading changes nothing";
    }
    RegCloseKey(key);
}

TEST_F(SettingsViewTest, ANewViewTakesTheStoredFontAndItsLineHeight) {
    struct Case {
        const char* what;
        DWORD pointSize;  // 0xFFFFFFFF: no settings base key at all
        int pointSizeSeen;
        int lineHeight;  // -1: from the system font
    } cases[] = {
        {"12 points", 120, 120, 24},
        {"a stored size of 0", 0, 90, 18},
        {"an absurd size draws at 720 points", 0x7FFFFFFF, 0x7FFFFFFF, 1440},
        {"no base key", 0xFFFFFFFF, 90, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tq3::DeleteRegKey(kBaseKey);
        if (c.pointSize != 0xFFFFFFFF) {
            HKEY key = CreateKey(HKEY_CURRENT_USER, Section(u"LogFont").c_str());
            SetDword(key, u"iPointSize", c.pointSize);
            SetString(key, u"lfFaceName", u"DejaVu Sans");
            SetDword(key, u"lfItalic", 1);
            RegCloseKey(key);
        }
        SettingsView* view = MakeView();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->GetPointSize(), c.pointSizeSeen);
        int expectedHeight = c.lineHeight;
        LOGFONTW system{};
        if (expectedHeight < 0) expectedHeight = GetSystemLogFont(&system) + 2;
        EXPECT_EQ(view->GetLineHeight(), expectedHeight);
        LOGFONTW made{};
        ASSERT_TRUE(view->GetFont()->GetLogFont(&made));
        if (c.pointSize != 0xFFFFFFFF) {
            EXPECT_EQ(std::u16string(made.lfFaceName), u"DejaVu Sans");
            EXPECT_EQ(made.lfItalic, 1);
        } else {
            EXPECT_EQ(std::u16string(made.lfFaceName), std::u16string(system.lfFaceName));
        }
        view->GetParentFrame()->DestroyWindow();
    }
}

}  // namespace
}  // namespace tq3::test
