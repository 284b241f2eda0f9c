#include "text/tab_text.h"

#include "tests/text/plain_fields.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The caller's buffer is exactly as long as the line plus 3 characters, on the
// heap, so that the address sanitizer sees any write past that promise.
struct GetResult {
    int fields;
    std::u16string out;
};

GetResult Get(const std::u16string& line, int first, int last) {
    std::vector<WCHAR> out(line.size() + 3, u'#');
    int fields = GetPartsOfTabSeparatedString(line.c_str(), out.data(), first, last);
    if (fields < 0) {
        // A refusal leaves the output untouched.
        for (WCHAR c : out) EXPECT_EQ(c, u'#');
        return {fields, {}};
    }
    return {fields, std::u16string(out.data())};
}

struct GetCase {
    std::u16string line;
    int first;
    int last;
    int fields;
    std::u16string out;
};

TEST(GetPartsOfTabSeparatedString, CopiesOneFieldOrARange) {
    const GetCase cases[] = {
        // One field: no separator, no line end.
        {u"a\tb\tc", 1, 1, 1, u"b"},
        {u"a\t\tc", 1, 1, 1, u""},
        // A range: joined by TAB and ended by CR LF. (The random records below cover
        // every index pair of short lines; these rows show the rules.)
        {u"a\tb\tc", 1, -1, 2, u"b\tc\r\n"},
        {u"a\tb\tc\r\n", 0, -1, 3, u"a\tb\tc\r\n"},
        // A CR or LF drops the rest of its field, not the fields behind it.
        {u"a\rx\tb", 0, -1, 2, u"a\tb\r\n"},
        // Indexes naming no field.
        {u"a\tb\tc", 0, 3, -1, u""},
        {u"a\tb\tc", -5, -1, -1, u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "first " << c.first << " last " << c.last << " line length "
                                        << c.line.size());
        GetResult r = Get(c.line, c.first, c.last);
        EXPECT_EQ(r.fields, c.fields);
        EXPECT_EQ(r.out, c.out);
    }
}

// Null pointers are refused; the output may be the line itself; a huge record
// reaches its last field.
TEST(GetPartsOfTabSeparatedString, NullsTheLineItselfAndHugeRecords) {
    WCHAR out[8] = u"keep";
    EXPECT_EQ(GetPartsOfTabSeparatedString(nullptr, out, 0, -1), -1);
    EXPECT_EQ(std::u16string(out), u"keep");
    EXPECT_EQ(GetPartsOfTabSeparatedString(u"a\tb", nullptr, 0, -1), -1);
    std::u16string buffer = u"a\tbb\tccc";
    buffer.resize(buffer.size() + 3, 0);
    EXPECT_EQ(GetPartsOfTabSeparatedString(buffer.data(), buffer.data(), 1, -1), 2);
    EXPECT_EQ(std::u16string(buffer.c_str()), u"bb\tccc\r\n");

    std::u16string line;
    for (int i = 0; i < 100'000; ++i) line += u"cell\t";
    line += u"last";
    GetResult r = Get(line, 100'000, 100'000);
    EXPECT_EQ(r.fields, 1);
    EXPECT_EQ(r.out, u"last");
    EXPECT_EQ(Get(line, 100'001, -1).fields, -1);
}

TEST(GetPartsOfTabSeparatedString, AgreesWithASplitOnRandomRecords) {
    std::mt19937 random(20261205);
    const char16_t alphabet[] = u"ab\t\t\r\n\u00E9";
    for (int round = 0; round < 2000; ++round) {
        std::u16string line;
        int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) line += alphabet[random() % 7];
        auto fields = tq3::test::PlainFields(line);
        int n = static_cast<int>(fields.size());
        int first = static_cast<int>(random() % (n + 2)) - 1;
        int last = static_cast<int>(random() % (n + 3)) - 2;
        SCOPED_TRACE(testing::Message() << "round " << round << " first " << first << " last " << last);

        GetResult r = Get(line, first, last);
        if (first < 0 || first >= n || last >= n) {
            EXPECT_EQ(r.fields, -1);
            continue;
        }
        if (last >= 0 && last <= first) {
            EXPECT_EQ(r.fields, 1);
            EXPECT_EQ(r.out, fields[first]);
            continue;
        }
        int end = last < 0 ? n - 1 : last;
        std::u16string joined;
        for (int i = first; i <= end; ++i) joined += (i > first ? u"\t" : u"") + fields[i];
        EXPECT_EQ(r.fields, end - first + 1);
        EXPECT_EQ(r.out, joined + u"\r\n");
    }
}

}  // namespace
