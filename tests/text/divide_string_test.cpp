#include "text/tab_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DivideCase {
    std::u16string text;
    int fields;
};

TEST(DivideString, CountsTabsPlusOneIgnoringLineEnds) {
    const DivideCase cases[] = {
        {u"", 1}, {u"\t\t", 3}, {u"a\tb\tc", 3}, {u"a\tb\tc\r\n", 3}, {u"a\rb\nc", 1},
    };
    for (const auto& c : cases) {
        std::u16string buffer = c.text;
        EXPECT_EQ(DivideString(buffer.data()), c.fields) << "text of length " << c.text.size();
    }
}

TEST(DivideString, ReplacesSeparatorsAndLineEndsWithZeros) {
    std::u16string buffer = u"ab\tc\r\n";
    DivideString(buffer.data());
    EXPECT_EQ(buffer, std::u16string(u"ab\0c\0\0", 6));
}

}  // namespace
