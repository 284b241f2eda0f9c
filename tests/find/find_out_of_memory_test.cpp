// Replace All running out of memory: every cell keeps either its old text or its
// new one, whole; nothing else of the sheet changes; the wait cursor goes; and
// once memory is back the view searches and replaces as before.
#include <string>
#include <vector>

#include "tests/find/find_request_fixture.h"
#include "tests/support/failing_allocator.h"

namespace tq3::test {
namespace {

std::u16string Numbered(const char* stem, int n) {
    const std::string text = stem + std::to_string(n) + " and some more text to need a block of its own";
    return std::u16string(text.begin(), text.end());
}

TEST_F(FindRequestTest, ReplaceAllOutOfMemoryKeepsEveryCellWhole) {
    constexpr int kLines = 12;
    std::vector<std::u16string> lines;
    for (int l = 0; l < kLines; ++l) lines.push_back(Numbered("old ", l) + u"\tkeep");
    auto replaceAll = [&] {
        RECT area{0, 0, 0, 0};
        FindReplaceNotify request = Request(0, 0, u"old", kFindReplaceAll, &area, u"new");
        Send(request);
    };
    int mixed = 0;
    const SweepResult sweep = SweepAllocations({
        .prepare = [&] { Fill(lines); },
        .operation = replaceAll,
        .check =
            [&](const SweepRun& run) {
                EXPECT_EQ(AfxGetApp()->m_nWaitCursorCount, 0);
                ASSERT_EQ(view->GetLineCount(0), kLines);
                int replaced = 0;
                for (int l = 0; l < kLines; ++l) {
                    const std::u16string cell = Cell(l, 0);
                    const bool isNew = cell == Numbered("new ", l);
                    EXPECT_TRUE(isNew || cell == Numbered("old ", l)) << "line " << l << " after " << run.allowed;
                    EXPECT_EQ(Cell(l, 1), u"keep");
                    replaced += isNew;
                }
                mixed += replaced > 0 && replaced < kLines;
                if (run.refused == 0) {
                    EXPECT_EQ(replaced, kLines);
                    return;
                }
                // The view goes on working: the rest is replaced now.
                replaceAll();
                for (int l = 0; l < kLines; ++l) EXPECT_EQ(Cell(l, 0), Numbered("new ", l));
            },
        .sparse = true,
    });
    EXPECT_TRUE(sweep.completed);
    EXPECT_GT(sweep.refusedRuns, 0);
    EXPECT_GT(mixed, 0) << "no run stopped half way";
}

}  // namespace
}  // namespace tq3::test
