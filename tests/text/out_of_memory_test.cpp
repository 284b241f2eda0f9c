// The text functions under an exhausted heap: each either finishes as usual or
// refuses with its failure result, leaving its output as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <tq3view/testing.h>

#include "framework/core/locale.h"
#include "framework/gdi/gdi_objects.h"
#include "tests/support/failing_allocator.h"
#include "text/clipboard_text.h"
#include "text/tab_text.h"

namespace tq3::test {
namespace {

TEST(TextOutOfMemory, RefusalsLeaveTheOutputAlone) {
    WCHAR out[32];
    int start = 0;
    int end = 0;
    struct Case {
        const char* what;
        const char16_t* before;
        std::function<int()> call;  // its result, once with no memory and once with memory
        int refused;
        int done;
        const char16_t* after;
    } cases[] = {
        {"get", u"untouched", [&] { return GetPartsOfTabSeparatedString(u"a\tb\tc\r\n", out, 0, -1); }, -1, 3,
         u"a\tb\tc\r\n"},
        {"set", u"a\tb\tc", [&] { return SetPartsOfTabSeparatedString(out, u"longer\tparts", 1); }, -1, 2,
         u"a\tlonger\tparts\r\n"},
        {"case-insensitive search",
         u"",
         [&] {
             SearchPartialString(u"xab", u"AB", NORM_IGNORECASE, &start, &end);
             return start * 10 + end;
         },
         -11, 12, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::char_traits<char16_t>::copy(out, c.before, std::char_traits<char16_t>::length(c.before) + 1);
        long refused = 0;
        {
            FailingAllocations failing;
            EXPECT_EQ(c.call(), c.refused);
            refused = failing.Refused();
        }
        EXPECT_GT(refused, 0);
        EXPECT_EQ(std::u16string(out), c.before);
        EXPECT_EQ(c.call(), c.done);
        EXPECT_EQ(std::u16string(out), c.after);
    }

    // Dividing a record and typing into a numeric entry need no heap at all.
    FailingAllocations failing;
    WCHAR record[] = u"a\tb\r\n";
    EXPECT_EQ(DivideString(record), 2);
    WCHAR entry[102] = u"12";
    InsertNumString(entry, u"3", 0, 0, 2, 2);
    EXPECT_EQ(failing.Refused(), 0);
    EXPECT_EQ(std::u16string(entry), u"123");
}

// Reading the clipboard with each allocation refused in turn: a read that cannot
// copy the text reports nothing read and leaves the caller's string alone.
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
