#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/sheet_obj.h"

namespace {

// Records cannot be copied, only assigned, so a source line is made in place.
struct Line : CLineProp {
    explicit Line(const char16_t* t, DWORD d = 0) {
        SetText(t);
        SetData(d);
    }
};

std::vector<std::u16string> Texts(const CSheetObj& sheet) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < sheet.GetLineCount(); ++i) texts.emplace_back(sheet.GetLine(i)->text.GetString());
    return texts;
}

std::vector<int> Indexes(const CSheetObj& sheet) {
    std::vector<int> indexes;
    for (int i = 0; i < sheet.GetColumnCount(); ++i) indexes.push_back(sheet.GetColumn(i)->index);
    return indexes;
}

std::vector<std::u16string> Titles(const CSheetObj& sheet) {
    std::vector<std::u16string> titles;
    for (int i = 0; i < sheet.GetColumnCount(); ++i) titles.emplace_back(sheet.GetColumn(i)->title.GetString());
    return titles;
}

void AddLines(CSheetObj& sheet, std::initializer_list<const char16_t*> texts) {
    for (const char16_t* t : texts) sheet.InsertLine(sheet.GetLineCount(), Line(t));
}

struct InsertLineCase {
    int existing;
    int at;
    int result;
    std::vector<std::u16string> texts;
};

TEST(SheetLines, InsertReturnsThePositionOrTheNewCount) {
    const InsertLineCase cases[] = {
        {3, 3, 4, {u"0", u"1", u"2", u"new"}},
        {3, 99, 4, {u"0", u"1", u"2", u"new"}},
        {3, 1, 1, {u"0", u"new", u"1", u"2"}},
        {3, 0, 0, {u"new", u"0", u"1", u"2"}},
        {0, 0, 1, {u"new"}},
        {0, 5, 1, {u"new"}},
        {3, -1, -1, {u"0", u"1", u"2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "existing " << c.existing << " at " << c.at);
        CSheetObj sheet;
        for (int i = 0; i < c.existing; ++i) {
            std::u16string t(1, static_cast<char16_t>(u'0' + i));
            sheet.InsertLine(i, Line(t.c_str()));
        }
        Line source(u"new", 9);
        EXPECT_EQ(sheet.InsertLine(c.at, source), c.result);
        EXPECT_EQ(Texts(sheet), c.texts);
        EXPECT_EQ(sheet.headerLineCount, sheet.GetLineCount());
        if (c.result < 0) continue;
        // The sheet keeps a copy of the source record.
        const CLineProp* made = sheet.GetLine(c.at > c.existing ? c.existing : c.at);
        source.SetText(u"changed");
        EXPECT_NE(made, &source);
        EXPECT_EQ(made->text, u"new");
        EXPECT_EQ(made->data, 9u);
    }
}

TEST(SheetLines, DeleteRemovesValidLinesOnly) {
    CSheetObj sheet;
    AddLines(sheet, {u"a", u"b", u"c"});
    CLineProp* kept = sheet.GetLine(2);
    EXPECT_EQ(sheet.DeleteLine(1), 1);
    EXPECT_EQ(Texts(sheet), (std::vector<std::u16string>{u"a", u"c"}));
    EXPECT_EQ(sheet.headerLineCount, 2);
    // A record keeps its address while it stays in the sheet.
    EXPECT_EQ(sheet.GetLine(1), kept);
    for (int bad : {-1, 2, 1000}) {
        EXPECT_EQ(sheet.DeleteLine(bad), 0);
        EXPECT_EQ(sheet.GetLine(bad), nullptr);
    }
    EXPECT_EQ(sheet.GetLineCount(), 2);

    sheet.headerLineCount = 17;
    EXPECT_EQ(sheet.UpdateLineCount(), 2);
    EXPECT_EQ(sheet.headerLineCount, 2);

    sheet.DeleteAllLines();
    EXPECT_EQ(sheet.GetLineCount(), 0);
    EXPECT_EQ(sheet.headerLineCount, 0);
    EXPECT_EQ(sheet.DeleteLine(0), 0);
}

TEST(SheetLines, MillionLinesAreReachedByPosition) {
    CSheetObj sheet;
    CLineProp line;
    for (int i = 0; i < 1'000'000; ++i) {
        line.SetData(static_cast<DWORD>(i));
        ASSERT_EQ(sheet.InsertLine(i, line), i + 1);
    }
    EXPECT_EQ(sheet.GetLine(0)->data, 0u);
    EXPECT_EQ(sheet.GetLine(765'432)->data, 765'432u);
    EXPECT_EQ(sheet.GetLine(999'999)->data, 999'999u);
    EXPECT_EQ(sheet.InsertLine(500'000, Line(u"middle")), 500'000);
    EXPECT_EQ(sheet.GetLine(500'000)->text, u"middle");
    EXPECT_EQ(sheet.GetLine(500'001)->data, 500'000u);
    EXPECT_EQ(sheet.headerLineCount, 1'000'001);
}

struct InsertColumnCase {
    int existing;
    int at;
    int reported;  // `at` afterwards
    std::vector<std::u16string> titles;
};

TEST(SheetColumns, InsertNumbersByPositionAndReportsThroughAt) {
    const InsertColumnCase cases[] = {
        {3, 1, 3, {u"0", u"new", u"1", u"2"}},
        {3, 0, 3, {u"new", u"0", u"1", u"2"}},
        {3, 3, 3, {u"0", u"1", u"2", u"new"}},
        {0, 5, 5, {u"new"}},
        {0, 0, 0, {u"new"}},
        {2, 100, 100, {u"0", u"1", u"new"}},
        {2, -1, -1, {u"0", u"1"}},  // refused
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "existing " << c.existing << " at " << c.at);
        CSheetObj sheet;
        for (int i = 0; i < c.existing; ++i) {
            CColumnProp column;
            std::u16string t(1, static_cast<char16_t>(u'0' + i));
            column.title = t.c_str();
            int at = i;
            ASSERT_NE(sheet.InsertColumn(at, column), nullptr);
        }
        CColumnProp source;
        source.title = u"new";
        source.index = 77;  // replaced by the position
        source.extent = CRect(1, 2, 3, 4);
        int at = c.at;
        CColumnProp* made = sheet.InsertColumn(at, source);
        EXPECT_EQ(at, c.reported);
        EXPECT_EQ(Titles(sheet), c.titles);
        std::vector<int> positions;
        for (int i = 0; i < sheet.GetColumnCount(); ++i) positions.push_back(i);
        EXPECT_EQ(Indexes(sheet), positions);
        if (c.at < 0) {
            EXPECT_EQ(made, nullptr);
            continue;
        }
        ASSERT_NE(made, nullptr);
        EXPECT_NE(made, &source);
        EXPECT_EQ(made->extent, CRect(1, 2, 3, 4));
    }
}

TEST(SheetColumns, DeleteRenumbersTheColumnsBehind) {
    CSheetObj sheet;
    for (const char16_t* t : {u"a", u"b", u"c", u"d"}) {
        CColumnProp column;
        column.title = t;
        int at = sheet.GetColumnCount();
        sheet.InsertColumn(at, column);
    }
    EXPECT_EQ(sheet.DeleteColumn(1), 1);
    EXPECT_EQ(Titles(sheet), (std::vector<std::u16string>{u"a", u"c", u"d"}));
    EXPECT_EQ(Indexes(sheet), (std::vector<int>{0, 1, 2}));
    for (int bad : {-1, 3, 50}) {
        EXPECT_EQ(sheet.DeleteColumn(bad), 0);
        EXPECT_EQ(sheet.GetColumn(bad), nullptr);
    }
    EXPECT_EQ(sheet.GetColumnCount(), 3);
    sheet.DeleteAllColumns();
    EXPECT_EQ(sheet.GetColumnCount(), 0);
    EXPECT_EQ(sheet.GetColumn(0), nullptr);
}

}  // namespace
