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

struct SetCase {
    std::u16string line;
    std::u16string parts;
    int at;
    int replaced;
    std::u16string result;
};

TEST(SetPartsOfTabSeparatedString, ReplacesFieldsKeepingTheFieldCount) {
    const SetCase cases[] = {
        {u"a\tb\tc", u"x", 2, 1, u"a\tb\tx\r\n"},
        // Parts past the line's last field are dropped.
        {u"a\tb\tc", u"x\ty\tz\tw", 0, 3, u"x\ty\tz\r\n"},
        // An index past the last field only adds the line end.
        {u"a\tb\tc", u"x", 5, 0, u"a\tb\tc\r\n"},
        // Line ends of either record are not fields.
        {u"a\tb\tc\r\n", u"x\r\n", 1, 1, u"a\tx\tc\r\n"},
        {u"a\tb", u"", 1, 1, u"a\t\r\n"},  // empty parts
        // Fields grow and shrink.
        {u"a\tb\tc", u"xxxxxxxx\tyyyyyy", 1, 2, u"a\txxxxxxxx\tyyyyyy\r\n"},
        // A lone CR or LF drops the rest of its field, wherever it stands.
        {u"a\rjunk\tb", u"x", 1, 1, u"a\tx\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.at << " line length " << c.line.size() << " parts length "
                                        << c.parts.size());
        SetResult r = Set(c.line, c.parts, c.at);
        EXPECT_EQ(r.replaced, c.replaced);
        EXPECT_EQ(r.line, c.result);
    }
}

// A refusal leaves the line as it was; the parts may lie inside the line; a huge
// record has its last field replaced.
TEST(SetPartsOfTabSeparatedString, RefusalsPartsInsideTheLineAndHugeRecords) {
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

    std::u16string line;
    for (int i = 0; i < 100'000; ++i) line += u"cell\t";
    line += u"last";
    SetResult r = Set(line, u"new\tdropped", 100'000);
    EXPECT_EQ(r.replaced, 1);
    // "last" became "new" and the line end was added.
    EXPECT_EQ(r.line.size(), line.size() - 1 + 2);
    EXPECT_EQ(r.line.substr(r.line.size() - 10), u"cell\tnew\r\n");
}

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
