// Adding a string when memory runs out: each allocation of the addition is
// refused in turn, and every time the list answers LB_ERRSPACE and keeps exactly
// the items it had.
#include <string>
#include <vector>

#include "tests/framework/controls/controls_fixture.h"
#include "tests/support/failing_allocator.h"

namespace tq3::test {
namespace {

class ListOutOfMemoryTest : public ControlsTest {};

TEST_F(ListOutOfMemoryTest, AFailedAdditionLeavesTheListAsItWas) {
    // Long enough that neither the text nor its key fits a small buffer, and
    // enough items that the sorted insert splits a chunk.
    const std::u16string added(300, u'm');
    for (DWORD style : {DWORD{0}, DWORD{LBS_SORT}}) {
        SCOPED_TRACE(style == 0 ? "in order" : "sorted");
        HWND list = Make(WC_LISTBOXW, nullptr, style | WS_VSCROLL, RECT{10, 10, 160, 110});
        for (int i = 0; i < 512; ++i) {
            const std::u16string text = u"item " + std::u16string(1, static_cast<char16_t>(u'a' + i % 26));
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        const auto before = SendMessageW(list, LB_GETCOUNT, 0, 0);
        LRESULT result = 0;
        const auto sweep = SweepAllocations({
            .prepare = [&] { SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(added.c_str()))), 0); },
            .operation = [&] { result = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(added.c_str())); },
            .check =
                [&](const SweepRun& run) {
                    EXPECT_FALSE(run.threw);
                    if (run.refused == 0) return;
                    EXPECT_EQ(result, LB_ERRSPACE);
                    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), before);
                    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(added.c_str())),
                              LB_ERR);
                },
            .limit = 200,
        });
        EXPECT_TRUE(sweep.completed);
        EXPECT_GE(sweep.refusedRuns, style == 0 ? 1 : 2) << "the text, and in a sorted list its key";
        EXPECT_GE(result, 0) << "the run with memory enough adds it";
        EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), before + 1);
        DestroyWindow(list);
    }
}

}  // namespace
}  // namespace tq3::test
