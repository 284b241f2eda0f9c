#include "text/tab_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DivideCase {
    std::u16string text;
    int fields;
    std::u16string divided;  // the buffer afterwards, zeros included
};

TEST(DivideString, CountsTabsPlusOneAndZeroesEverySeparator) {
    using namespace std::string_literals;
    const DivideCase cases[] = {
        {u"", 1, u""},
        {u"a\tb\tc\r\n", 3, u"a\0b\0c\0\0"s},
        // A lone CR or LF ends a field's text but is not a separator.
        {u"a\rb\nc", 1, u"a\0b\0c"s},
    };
    for (const auto& c : cases) {
        std::u16string buffer = c.text;
        EXPECT_EQ(DivideString(buffer.data()), c.fields) << "text of length " << c.text.size();
        EXPECT_EQ(buffer, c.divided) << "text of length " << c.text.size();
    }
    EXPECT_EQ(DivideString(nullptr), 1);
}

}  // namespace
