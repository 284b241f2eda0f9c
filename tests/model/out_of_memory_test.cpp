// Record operations under an exhausted heap: an insertion either completes or
// adds nothing and reports failure; a failed assignment leaves its target as it
// was.
#include <gtest/gtest.h>

#include "model/sheet_obj.h"
#include "tests/support/failing_allocator.h"

namespace tq3::test {
namespace {

TEST(ModelOutOfMemory, InsertionsAddNothingWhenMemoryRunsOut) {
    CSheetObj sheet;
    CLineProp line;
    line.SetText(u"a long enough line text to need its own block\tb\tc\r\n");
    CColumnProp column;
    column.title = u"a title long enough for a block";
    column.listStrings = {CString(u"first choice of the list"), CString(u"second choice of the list")};
    // Four of each fill the lists' storage, so the insertions must also grow it.
    for (int i = 0; i < 4; ++i) {
        int at = i;
        sheet.InsertLine(i, line);
        sheet.InsertColumn(at, column);
    }
    const CLineProp* first = sheet.GetLine(0);
    int result = 0;
    // The record, its text and the list's larger storage.
    SweepResult sweep = SweepAllocations({
        .operation = [&] { result = sheet.InsertLine(1, line); },
        .check =
            [&](const SweepRun& run) {
                EXPECT_FALSE(run.threw);
                if (run.refused == 0) return;
                EXPECT_EQ(result, -1);
                EXPECT_EQ(sheet.GetLineCount(), 4);
                EXPECT_EQ(sheet.headerLineCount, 4);
                EXPECT_EQ(sheet.GetLine(0), first);
            },
    });
    EXPECT_EQ(sweep.refusedRuns, 3);
    EXPECT_EQ(sheet.GetLineCount(), 5);
    EXPECT_EQ(sheet.GetLine(1)->text, line.text);

    // The record, its list storage, two list strings, the title and the list's
    // larger storage.
    CColumnProp* made = nullptr;
    int at = 0;
    sweep = SweepAllocations({
        .prepare = [&] { at = 1; },
        .operation = [&] { made = sheet.InsertColumn(at, column); },
        .check =
            [&](const SweepRun& run) {
                EXPECT_FALSE(run.threw);
                if (run.refused == 0) return;
                EXPECT_EQ(made, nullptr);
                EXPECT_EQ(at, 1);
                EXPECT_EQ(sheet.GetColumnCount(), 4);
                for (int i = 0; i < 4; ++i) EXPECT_EQ(sheet.GetColumn(i)->index, i);
            },
    });
    EXPECT_EQ(sweep.refusedRuns, 6);
    ASSERT_EQ(sheet.GetColumnCount(), 5);
    EXPECT_EQ(made->listStrings.size(), 2u);
    EXPECT_EQ(at, 4);
}

TEST(ModelOutOfMemory, FailedAssignmentsLeaveTheTargetAsItWas) {
    CColumnProp source;
    source.title = u"the new title, long enough for a block";
    source.listStrings = {CString(u"a new choice, also long enough")};
    source.digits = 3;
    CColumnProp target;
    const SweepResult sweep = SweepAllocations({
        .prepare =
            [&] {
                target.title = u"old";
                target.listStrings = {CString(u"old one"), CString(u"old two")};
                target.digits = 7;
            },
        .operation = [&] { target = source; },
        .check =
            [&](const SweepRun& run) {
                if (run.refused == 0) return;
                EXPECT_TRUE(run.threw);
                EXPECT_EQ(target.title, u"old");
                EXPECT_EQ(target.listStrings.size(), 2u);
                EXPECT_EQ(target.digits, 7);
            },
    });
    EXPECT_TRUE(sweep.completed);
    EXPECT_EQ(target.title, source.title);

    CLineProp line;
    line.SetText(u"kept");
    {
        FailingAllocations failing;
        EXPECT_FALSE(line.SetText(u"a replacement text long enough to need memory"));
    }
    EXPECT_EQ(line.text, u"kept");
}

}  // namespace
}  // namespace tq3::test
