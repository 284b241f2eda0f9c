// The text functions under an exhausted heap: each either finishes as usual or
// refuses with its failure result, leaving its output as it was.
#include "text/tab_text.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/core/locale.h"
#include "tests/support/failing_allocator.h"

namespace {

using tq3::test::FailingAllocations;

TEST(TextOutOfMemory, GetRefusesAndLeavesTheOutputAlone) {
    const std::u16string line = u"a\tb\tc\r\n";
    WCHAR out[16] = u"untouched";
    long refused = 0;
    {
        FailingAllocations failing;
        EXPECT_EQ(GetPartsOfTabSeparatedString(line.c_str(), out, 0, -1), -1);
        refused = failing.Refused();
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(std::u16string(out), u"untouched");
    EXPECT_EQ(GetPartsOfTabSeparatedString(line.c_str(), out, 0, -1), 3);
    EXPECT_EQ(std::u16string(out), u"a\tb\tc\r\n");
}

TEST(TextOutOfMemory, SetRefusesAndLeavesTheLineAsItWas) {
    WCHAR line[32] = u"a\tb\tc";
    long refused = 0;
    {
        FailingAllocations failing;
        EXPECT_EQ(SetPartsOfTabSeparatedString(line, u"longer\tparts", 1), -1);
        refused = failing.Refused();
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(std::u16string(line), u"a\tb\tc");
    EXPECT_EQ(SetPartsOfTabSeparatedString(line, u"longer\tparts", 1), 2);
    EXPECT_EQ(std::u16string(line), u"a\tlonger\tparts\r\n");
}

TEST(TextOutOfMemory, CaseInsensitiveSearchFindsNothing) {
    int start = 0;
    int end = 0;
    long refused = 0;
    {
        FailingAllocations failing;
        SearchPartialString(u"xab", u"AB", NORM_IGNORECASE, &start, &end);
        refused = failing.Refused();
    }
    EXPECT_GT(refused, 0);
    EXPECT_EQ(start, -1);
    EXPECT_EQ(end, -1);
}

TEST(TextOutOfMemory, DivideAndInsertNeedNoHeap) {
    FailingAllocations failing;
    WCHAR record[] = u"a\tb\r\n";
    EXPECT_EQ(DivideString(record), 2);
    WCHAR entry[102] = u"12";
    InsertNumString(entry, u"3", 0, 0, 2, 2);
    EXPECT_EQ(failing.Refused(), 0);
    EXPECT_EQ(std::u16string(entry), u"123");
}

}  // namespace
