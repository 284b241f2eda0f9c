// Reading the clipboard under an exhausted heap: the read either finishes as
// usual or answers 0 and leaves the caller's string as it was.
#include <gtest/gtest.h>

#include <tq3view/testing.h>

#include "framework/gdi/gdi_objects.h"
#include "tests/support/failing_allocator.h"
#include "text/clipboard_text.h"

namespace tq3::test {
namespace {

TEST(TextOutOfMemory, AClipboardReadThatRunsOutOfMemoryReadsNothing) {
    tq3::testing::Desktop desktop{320, 240};
    HWND owner = CreateWindowExW(0, AfxRegisterWndClass(0), u"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    const CString text(u"a clipboard text long enough to need a block of its own\tsecond field");
    ASSERT_EQ(SetClipboardText(owner, text), 1);
    CString got;
    int result = 0;
    const SweepResult sweep = SweepAllocations({
        .prepare = [&] { got = u"previous"; },
        .operation = [&] { result = GetClipboardText(owner, got); },
        .check =
            [&](const SweepRun& run) {
                EXPECT_FALSE(run.threw);
                EXPECT_EQ(result, run.refused == 0 ? 1 : 0) << "after " << run.allowed << " allocations";
                EXPECT_EQ(got, run.refused == 0 ? text : CString(u"previous"));
            },
    });
    EXPECT_TRUE(sweep.completed);
    EXPECT_GT(sweep.refusedRuns, 0);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace tq3::test
