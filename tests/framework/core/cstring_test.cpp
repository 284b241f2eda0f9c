#include "framework/core/cstring.h"

#include <gtest/gtest.h>

#include <climits>
#include <new>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "framework/core/utf.h"

// Failure messages show the text as UTF-8.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << tq3::fw::ToUtf8(s) << '"'; }

namespace tq3::test {
namespace {

using Edit = void (*)(CString&);

TEST(CString, ConstructionAssignmentAndSelfReference) {
    // Embedded zeros are part of the text.
    const CString zeros(u"a\0b", 3);
    EXPECT_EQ(zeros.GetLength(), 3);
    EXPECT_NE(zeros, CString(u"a\0c", 3));
    // Assigning a part of the string to itself.
    CString s(u"hello");
    s = s.GetString() + 2;
    EXPECT_EQ(s, u"llo");
    // Characters out of range read as zero and are not written.
    s = u"abc";
    EXPECT_EQ(s.GetAt(3), 0);
    s.SetAt(0, u'Z');
    s.SetAt(3, u'!');
    EXPECT_EQ(s, u"Zbc");
    // Every operand order; appending itself, or a part of itself while it grows.
    EXPECT_EQ(u'!' + s + u"c" + s, u"!ZbccZbc");
    s += s;
    s.Append(s.GetString() + 1, 2);
    s += static_cast<LPCWSTR>(nullptr);
    EXPECT_EQ(s, u"ZbcZbcbc");
}

TEST(CString, BufferAccess) {
    CString s;
    LPWSTR p = s.GetBuffer(10);
    ASSERT_GE(s.GetAllocLength(), 10);
    std::char_traits<WCHAR>::copy(p, u"hello", 6);
    s.ReleaseBuffer();
    EXPECT_EQ(s, u"hello");
    // A length beyond the room given out is clamped; so is a buffer without a zero.
    p = s.GetBuffer(4);
    const int room = s.GetAllocLength();
    for (int i = 0; i <= room; ++i) p[i] = u'q';
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), room);
    s.ReleaseBuffer(room + 100);
    EXPECT_EQ(s.GetLength(), room);
    EXPECT_EQ(s.GetString()[room], 0);
}

TEST(CString, Comparison) {
    struct Case {
        LPCWSTR a;
        LPCWSTR b;
        int exact;
        int noCase;
    } cases[] = {
        // Folding to upper case puts letters before '_' (0x5F), unlike folding to lower.
        {u"a", u"_", 1, -1},
        {u"\u03C3", u"\u03A3", 1, 0},                 // Greek sigma
        {u"stra\u00DFe", u"STRASSE", 1, 1},          // sharp s stays one unit
    };
    for (const auto& c : cases) {
        const CString a(c.a);
        EXPECT_EQ(a.Compare(c.b), c.exact) << tq3::fw::ToUtf8(c.a) << " vs " << tq3::fw::ToUtf8(c.b);
        EXPECT_EQ(a.CompareNoCase(c.b), c.noCase) << tq3::fw::ToUtf8(c.a) << " vs " << tq3::fw::ToUtf8(c.b);
    }
    // Collation orders letters alphabetically where code units do not.
    EXPECT_EQ(CString(u"B").Collate(u"a"), 1);
    EXPECT_EQ(CString(u"abc").CollateNoCase(u"ABC"), 0);
}

TEST(CString, SearchesAndExtractionsClampTheirPositions) {
    const CString s(u"abcabc");
    EXPECT_EQ(s.Find(u"", 6), 6) << "an empty pattern at the end";
    EXPECT_EQ(s.ReverseFind(u'a'), 3);
    EXPECT_EQ(CString(u"a\0b", 3).Find(u'b'), 2) << "searches past an embedded zero";
    EXPECT_EQ(s.Mid(-2, 3), u"abc");
    EXPECT_EQ(s.Mid(100, 2), u"");
    EXPECT_EQ(s.Mid(2, INT_MAX), u"cabc");
}

TEST(CString, EditsInPlace) {
    struct Case {
        LPCWSTR start;
        Edit edit;
        LPCWSTR expected;
    } cases[] = {
        // Replace: left to right, non-overlapping, replacement text is not searched again.
        {u"aaa", [](CString& s) { EXPECT_EQ(s.Replace(u"aa", u"b"), 1); }, u"ba"},
        {u"ab", [](CString& s) { EXPECT_EQ(s.Replace(u"b", s.GetString()), 1); }, u"aab"},  // from itself
        // Insert and Delete clamp the position.
        {u"bc", [](CString& s) { EXPECT_EQ(s.Insert(-5, u"a"), 3); }, u"abc"},
        {u"ab", [](CString& s) { EXPECT_EQ(s.Insert(1, s.GetString()), 4); }, u"aabb"},  // from itself
        {u"abcdef", [](CString& s) { EXPECT_EQ(s.Delete(4, 100), 4); }, u"abcd"},
        {u"abcdef", [](CString& s) { EXPECT_EQ(s.Delete(0, INT_MAX), 0); }, u""},
        // Case mapping and trimming.
        {u"a\u00E4\u03C3\u00DFz", [](CString& s) { s.MakeUpper(); }, u"A\u00C4\u03A3\u00DFZ"},
        {u"ab\U0001F600c", [](CString& s) { s.MakeReverse(); }, u"c\U0001F600ba"},  // pairs stay in order
        {u" \t\r\n x y \u3000\u00A0", [](CString& s) { s.Trim(); }, u"x y"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CString s(cases[i].start);
        cases[i].edit(s);
        EXPECT_EQ(s, cases[i].expected) << "case " << i;
        EXPECT_EQ(s.GetString()[s.GetLength()], 0) << "case " << i;
    }
}

TEST(CString, Tokenize) {
    struct Case {
        LPCWSTR text;
        LPCWSTR delimiters;
        int start;
        std::vector<std::u16string> tokens;
    } cases[] = {
        {u"  a, b,,c  ", u" ,", 0, {u"a", u"b", u"c"}},
        {u"one two", u" ", 99, {}},
        {u"one two", u"", 0, {u"one two"}},  // no delimiters: the rest is one token
    };
    for (const auto& c : cases) {
        const CString s(c.text);
        int pos = c.start;
        std::vector<std::u16string> got;
        CString token = s.Tokenize(c.delimiters, pos);
        for (int guard = 0; pos != -1 && guard < 20; ++guard, token = s.Tokenize(c.delimiters, pos)) {
            got.emplace_back(token.GetString(), token.GetLength());
        }
        EXPECT_TRUE(token.IsEmpty() && pos == -1) << "the end is an empty token at -1";
        EXPECT_EQ(got, c.tokens) << tq3::fw::ToUtf8(c.text);
    }
    // The position steps over exactly one delimiter after each token.
    const CString s(u"a,,bc");
    int pos = 0;
    EXPECT_EQ(s.Tokenize(u",", pos), u"a");
    EXPECT_EQ(pos, 2);
}

TEST(CString, RequestsBeyondTheLimitThrowAndKeepTheText) {
    CString s(u"keep");
    EXPECT_THROW(s.GetBuffer(INT_MAX), std::bad_alloc);
    EXPECT_THROW(s.Preallocate(CString::kMaxLength + 1), std::bad_alloc);
    EXPECT_THROW(s.Format(u"%2000000000d", 1), std::bad_alloc);
    EXPECT_THROW(s.AppendFormat(u"%.2000000000f", 1.0), std::bad_alloc);
    EXPECT_EQ(s, u"keep");
    EXPECT_THROW(CString(u'x', CString::kMaxLength + 1), std::bad_alloc);
}

// Strings of tens of megabytes live in blocks of their own, and a freed one is
// kept for the next large string: whichever string a block passes to, the text
// that string holds is its own, whole, through making, copying, growing,
// shrinking and dropping, and from several threads at once.
TEST(CString, LargeStringsKeepTheirOwnTextAsTheirBlocksPassOn) {
    constexpr int kUnits = 20 << 20;  // 40 MB of text
    const auto Text = [](char16_t first, int units) {
        std::u16string text(static_cast<std::size_t>(units), u' ');
        for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(first + i % 26);
        return text;
    };
    const auto Holds = [](const CString& s, const std::u16string& text) {
        return std::u16string_view(s.GetString(), static_cast<std::size_t>(s.GetLength())) == text &&
               s.GetString()[s.GetLength()] == 0;
    };
    const std::u16string lower = Text(u'a', kUnits);
    const std::u16string upper = Text(u'A', kUnits);

    LPCWSTR dropped = nullptr;
    {
        CString first(lower.data(), kUnits);
        {
            const CString copy(first);
            EXPECT_TRUE(Holds(copy, lower));
        }
        dropped = first.GetString();  // dropped after the copy
    }
    CString next;
    next.SetString(upper.data(), kUnits);
    EXPECT_TRUE(Holds(next, upper));
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(next.GetString(), dropped) << "the block of the string dropped last was not taken over";
#endif
    // Growing past the block and shrinking to the text again.
    next += CString(lower.data(), kUnits / 2);
    next.Truncate(kUnits);
    next.FreeExtra();
    EXPECT_TRUE(Holds(next, upper));

    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&Text, &Holds, t] {
            const std::u16string own = Text(static_cast<char16_t>(u'a' + 7 * t), kUnits + t * 1000);
            for (int round = 0; round < 4; ++round) {
                CString s(own.data(), static_cast<int>(own.size()));
                EXPECT_TRUE(Holds(s, own)) << "thread " << t << ", round " << round;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
}

}  // namespace
}  // namespace tq3::test
