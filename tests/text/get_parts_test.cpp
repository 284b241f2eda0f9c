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

// Null pointers are refused; the output may be the line itself.
TEST(GetPartsOfTabSeparatedString, NullsAndTheLineItself) {
    WCHAR out[8] = u"keep";
    EXPECT_EQ(GetPartsOfTabSeparatedString(nullptr, out, 0, -1), -1);
    EXPECT_EQ(std::u16string(out), u"keep");
    EXPECT_EQ(GetPartsOfTabSeparatedString(u"a\tb", nullptr, 0, -1), -1);
    std::u16string buffer = u"a\tbb\tccc";
    buffer.resize(buffer.size() + 3, 0);
    EXPECT_EQ(GetPartsOfTabSeparatedString(buffer.data(), buffer.data(), 1, -1), 2);
    EXPECT_EQ(std::u16string(buffer.c_str()), u"bb\tccc\r\n");
}

// One field comes alone; a range is joined by TAB and ended by CR LF; a CR or LF
// drops the rest of its field; indexes naming no field are refused.
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
