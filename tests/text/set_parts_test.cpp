#include "text/tab_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/text/plain_fields.h"

namespace {

// The line sits in a heap buffer exactly as long as the promised bound (old line
// plus parts plus CR LF plus the zero), so the address sanitizer sees any write
// beyond it.
struct SetResult {
    int replaced;
    std::u16string line;
};

SetResult Set(const std::u16string& line, const std::u16string& parts, int at) {
    std::vector<WCHAR> buffer(line.size() + parts.size() + 3, u'#');
    std::copy(line.begin(), line.end(), buffer.begin());
    buffer[line.size()] = 0;
    int replaced = SetPartsOfTabSeparatedString(buffer.data(), parts.c_str(), at);
    return {replaced, std::u16string(buffer.data())};
}

// A refusal leaves the line as it was; the parts may lie inside the line.
TEST(SetPartsOfTabSeparatedString, RefusalsAndPartsInsideTheLine) {
    WCHAR refused[16] = u"a\tb";
    EXPECT_EQ(SetPartsOfTabSeparatedString(refused, u"x", -1), -1);
    EXPECT_EQ(SetPartsOfTabSeparatedString(refused, nullptr, 0), -1);
    EXPECT_EQ(std::u16string(refused), u"a\tb");
    EXPECT_EQ(SetPartsOfTabSeparatedString(nullptr, u"x", 0), -1);
    std::u16string buffer = u"a\tb\tc";
    buffer.resize(32, 0);
    // The parts are the line's own fields 1 and 2, moved to the front.
    EXPECT_EQ(SetPartsOfTabSeparatedString(buffer.data(), buffer.data() + 2, 0), 2);
    EXPECT_EQ(std::u16string(buffer.c_str()), u"b\tc\tc\r\n");
}

// Parts replace fields from `at` on; parts past the last field are dropped, an index
// past it only adds the line end; a CR or LF drops the rest of its field.
TEST(SetPartsOfTabSeparatedString, AgreesWithASplitAndJoinOnRandomRecords) {
    std::mt19937 random(5122026);
    const char16_t alphabet[] = u"ab\t\t\r\n\u00E9";
    auto randomRecord = [&] {
        std::u16string s;
        int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) s += alphabet[random() % 7];
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        std::u16string line = randomRecord();
        std::u16string parts = randomRecord();
        auto own = tq3::test::PlainFields(line);
        auto replacement = tq3::test::PlainFields(parts);
        int n = static_cast<int>(own.size());
        int at = static_cast<int>(random() % (n + 2));
        SCOPED_TRACE(testing::Message() << "round " << round << " at " << at);

        int replaced = 0;
        std::u16string expected;
        for (int i = 0; i < n; ++i) {
            bool fromParts = i >= at && i - at < static_cast<int>(replacement.size());
            replaced += fromParts;
            expected += (i > 0 ? u"\t" : u"") + (fromParts ? replacement[i - at] : own[i]);
        }
        SetResult r = Set(line, parts, at);
        EXPECT_EQ(r.replaced, replaced);
        EXPECT_EQ(r.line, expected + u"\r\n");
    }
}

}  // namespace
