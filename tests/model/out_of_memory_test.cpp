// Record operations under an exhausted heap: an insertion either completes or
// adds nothing and reports failure; a failed assignment leaves its target as it
// was.
#include <gtest/gtest.h>

#include <string>

#include "model/sheet_obj.h"
#include "tests/support/failing_allocator.h"

namespace {

using tq3::test::FailingAllocations;

// Runs `attempt` with the first 0, 1, 2, ... allocations allowed, until one run
// meets no refusal; `check` sees the result of each run that did. Returns how
// many runs met a refusal: one per allocation the operation makes.
template <typename Attempt, typename Check>
long WithEachAllocationFailing(Attempt attempt, Check checkRefused) {
    for (long allowed = 0;; ++allowed) {
        SCOPED_TRACE(testing::Message() << allowed << " allocations allowed");
        long refused = 0;
        bool done = false;
        {
            FailingAllocations failing(allowed);
            done = attempt();
            refused = failing.Refused();
        }
        if (refused == 0) {
            EXPECT_TRUE(done);
            return allowed;
        }
        checkRefused(done);
        if (allowed >= 100) {
            ADD_FAILURE() << "the operation never got through";
            return allowed;
        }
    }
}

TEST(ModelOutOfMemory, InsertLineAddsNothingWhenMemoryRunsOut) {
    CSheetObj sheet;
    CLineProp source;
    source.SetText(u"a long enough line text to need its own block\tb\tc\r\n");
    // Four lines fill the list's storage, so the insertion must also grow it.
    for (int i = 0; i < 4; ++i) sheet.InsertLine(i, source);
    CLineProp* first = sheet.GetLine(0);

    int result = 0;
    // The record, its text and the list's larger storage.
    long failures = WithEachAllocationFailing([&] { return (result = sheet.InsertLine(1, source)) == 1; },
                              [&](bool done) {
                                  EXPECT_FALSE(done);
                                  EXPECT_EQ(result, -1);
                                  EXPECT_EQ(sheet.GetLineCount(), 4);
                                  EXPECT_EQ(sheet.headerLineCount, 4);
                                  EXPECT_EQ(sheet.GetLine(0), first);
                              });
    EXPECT_EQ(failures, 3);
    EXPECT_EQ(sheet.GetLineCount(), 5);
    EXPECT_EQ(sheet.GetLine(1)->text, source.text);
}

TEST(ModelOutOfMemory, InsertColumnAddsNothingWhenMemoryRunsOut) {
    CSheetObj sheet;
    CColumnProp source;
    source.title = u"a title long enough for a block";
    source.listStrings = {CString(u"first choice of the list"), CString(u"second choice of the list")};
    for (int i = 0; i < 4; ++i) {
        int at = i;
        sheet.InsertColumn(at, source);
    }

    CColumnProp* made = nullptr;
    int at = 0;
    // The record, its list storage, two list strings, the title and the list's
    // larger storage.
    long failures = WithEachAllocationFailing(
        [&] {
            at = 1;
            return (made = sheet.InsertColumn(at, source)) != nullptr;
        },
        [&](bool done) {
            EXPECT_FALSE(done);
            EXPECT_EQ(at, 1);
            EXPECT_EQ(sheet.GetColumnCount(), 4);
            for (int i = 0; i < 4; ++i) EXPECT_EQ(sheet.GetColumn(i)->index, i);
        });
    EXPECT_EQ(failures, 6);
    EXPECT_EQ(sheet.GetColumnCount(), 5);
    EXPECT_EQ(made->listStrings.size(), 2u);
    EXPECT_EQ(at, 4);
}

TEST(ModelOutOfMemory, FailedAssignmentsLeaveTheTargetAsItWas) {
    CColumnProp source;
    source.title = u"the new title, long enough for a block";
    source.listStrings = {CString(u"a new choice, also long enough")};
    source.digits = 3;
    CColumnProp target;
    target.title = u"old";
    target.listStrings = {CString(u"old one"), CString(u"old two")};
    WithEachAllocationFailing(
        [&] {
            try {
                target = source;
                return true;
            } catch (const std::bad_alloc&) {
                return false;
            }
        },
        [&](bool done) {
            EXPECT_FALSE(done);
            EXPECT_EQ(target.title, u"old");
            EXPECT_EQ(target.listStrings.size(), 2u);
            EXPECT_EQ(target.digits, 7);
        });
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
