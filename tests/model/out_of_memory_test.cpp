// Record operations under an exhausted heap: an insertion either completes or
// adds nothing and reports failure.
#include <gtest/gtest.h>

#include "model/sheet_obj.h"
#include "tests/support/failing_allocator.h"

namespace tq3::test {
namespace {

TEST(ModelOutOfMemory, InsertionsAddNothingWhenMemoryRunsOut) {
    CSheetObj sheet;
    CLineProp line;
    line.SetText(u"a long enough line text to need its own block\tb\tc\r\n");
    // Four lines fill the list's storage, so the insertion must also grow it.
    for (int i = 0; i < 4; ++i) sheet.InsertLine(i, line);
    const CLineProp* first = sheet.GetLine(0);
    int result = 0;
    // The record, its text and the list's larger storage.
    const SweepResult sweep = SweepAllocations({
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
}

}  // namespace
}  // namespace tq3::test
