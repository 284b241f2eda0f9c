#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>

#include "framework/core/cstring.h"
#include "framework/core/utf.h"

inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << tq3::fw::ToUtf8(s) << '"'; }

namespace tq3::test {
namespace {

struct Case {
    const char* what;
    void (*format)(CString&);
    LPCWSTR expected;
};

TEST(CStringFormat, IntegersFloatingPointTextAndCharacters) {
    static const Case cases[] = {
        {"int min", [](CString& s) { s.Format(u"%i", INT_MIN); }, u"-2147483648"},
        {"negative width argument", [](CString& s) { s.Format(u"[%*d]", -4, 7); }, u"[7   ]"},
        {"hex of a negative int is 32-bit", [](CString& s) { s.Format(u"%x", -1); }, u"ffffffff"},
        {"64-bit platform form", [](CString& s) { s.Format(u"%I64u", static_cast<unsigned long long>(ULLONG_MAX)); },
         u"18446744073709551615"},
        {"arguments stay in step", [](CString& s) { s.Format(u"%d-%lld-%d", 1, 2LL, 3); }, u"1-2-3"},
        // The stored binary values lie just below the decimal halves.
        {"2.675 rounds down", [](CString& s) { s.Format(u"%.*f", 2, 2.675); }, u"2.67"},
        // Exact halves go to the even neighbour.
        {"half to even, down", [](CString& s) { s.Format(u"%.*f", 0, 2.5); }, u"2"},
        {"negative precision means default", [](CString& s) { s.Format(u"%.*f", -3, 0.5); }, u"0.500000"},
        {"size letters keep arguments in step", [](CString& s) { s.Format(u"%lf|%Lf|%d", 0.5, 1.5, 7); },
         u"0.500000|1.500000|7"},
        {"null string", [](CString& s) { s.Format(u"%s", static_cast<LPCWSTR>(nullptr)); }, u"(null)"},
        {"non-Latin text", [](CString& s) { s.Format(u"%s=%d", u"\u884C\U00020B9F", 1); }, u"\u884C\U00020B9F=1"},
        {"narrow UTF-8", [](CString& s) { s.Format(u"%S!", "h\xC3\xA9llo"); }, u"h\u00E9llo!"},
        {"narrow invalid byte", [](CString& s) { s.Format(u"%S", "a\xFF"); }, u"a\uFFFD"},
        {"character", [](CString& s) { s.Format(u"%c%c", u'x', u'\u3042'); }, u"x\u3042"},
        {"null format", [](CString& s) { s.Format(nullptr); }, u""},
        // Unknown conversions are kept as written and take no argument.
        {"unknown conversion", [](CString& s) { s.Format(u"%y%d", 5); }, u"%y5"},
        {"no write-back conversion", [](CString& s) { s.Format(u"%n%d", 5); }, u"%n5"},
    };
    for (const Case& c : cases) {
        CString s(u"previous");
        c.format(s);
        EXPECT_EQ(s, c.expected) << c.what;
    }
}

TEST(CStringFormat, AppendAndSelfReference) {
    CString s(u"x=");
    s.AppendFormat(u"%d", 5);
    s.AppendFormat(u",%s", u"y");
    EXPECT_EQ(s, u"x=5,y");
    // The string itself as an argument.
    s.Format(u"[%s]", s.GetString());
    EXPECT_EQ(s, u"[x=5,y]");
    // A long result grows past any small buffer.
    s.Format(u"%0300d", 1);
    EXPECT_EQ(s.GetLength(), 300);
    EXPECT_EQ(s.Right(2), u"01");
}

}  // namespace
}  // namespace tq3::test
