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

TEST(CString, ConstructionAndAssignment) {
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString(u"abc", 2), u"ab");
    EXPECT_TRUE(CString(u"abc", -1).IsEmpty());
    EXPECT_EQ(CString(u'x', 3), u"xxx");
    EXPECT_TRUE(CString(u'x', 0).IsEmpty());

    // Embedded zeros are part of the text.
    const CString zeros(u"a\0b", 3);
    EXPECT_EQ(zeros.GetLength(), 3);
    EXPECT_EQ(zeros.GetAt(2), u'b');
    EXPECT_NE(zeros, CString(u"a\0c", 3));

    CString s(u"hello");
    CString moved(std::move(s));
    EXPECT_EQ(moved, u"hello");
    EXPECT_TRUE(s.IsEmpty());  // a moved-from string is empty
    const CString& itself = moved;
    moved = itself;  // assigned to itself, through another name
    EXPECT_EQ(moved, u"hello");
    // Assigning a part of the string to itself.
    moved = moved.GetString() + 2;
    EXPECT_EQ(moved, u"llo");
    moved = u'z';
    EXPECT_EQ(moved, u"z");
    moved = static_cast<LPCWSTR>(nullptr);
    EXPECT_TRUE(moved.IsEmpty());

    // Characters out of range read as zero and are not written.
    s = u"abc";
    EXPECT_EQ(s.GetAt(3), 0);
    EXPECT_EQ(s.GetAt(-1), 0);
    s.SetAt(0, u'Z');
    s.SetAt(3, u'!');
    s.SetAt(-1, u'!');
    EXPECT_EQ(s, u"Zbc");

    // Every operand order; appending itself, or a part of itself while it grows.
    EXPECT_EQ(u"c" + s + u'!', u"cZbc!");
    EXPECT_EQ(u'!' + s + u"c" + s, u"!ZbccZbc");
    s += s;
    s.Append(s.GetString() + 1, 2);
    s += static_cast<LPCWSTR>(nullptr);
    EXPECT_EQ(s, u"ZbcZbcbc");
    // Many small appends keep their order and terminator.
    CString big;
    std::u16string reference;
    for (int i = 0; i < 1000; ++i) {
        const WCHAR ch = static_cast<WCHAR>(u'a' + i % 26);
        big += ch;
        reference += ch;
    }
    EXPECT_EQ(std::u16string(big.GetString(), big.GetLength()), reference);
    EXPECT_EQ(big.GetString()[1000], 0);
}

TEST(CString, BufferAccess) {
    CString s;
    LPWSTR p = s.GetBuffer(10);
    ASSERT_GE(s.GetAllocLength(), 10);
    std::char_traits<WCHAR>::copy(p, u"hello", 6);
    s.ReleaseBuffer();
    EXPECT_EQ(s, u"hello");
    EXPECT_EQ(s.GetLength(), 5);

    s.GetBuffer()[0] = u'j';
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, u"jel");

    // A length beyond the room given out is clamped; so is a buffer without a zero.
    p = s.GetBuffer(4);
    const int room = s.GetAllocLength();
    for (int i = 0; i <= room; ++i) p[i] = u'q';
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), room);
    s.ReleaseBuffer(room + 100);
    EXPECT_EQ(s.GetLength(), room);
    EXPECT_EQ(s.GetString()[room], 0);

    p = s.GetBufferSetLength(2);
    EXPECT_EQ(s, u"qq");
    p[1] = u'r';
    EXPECT_EQ(s, u"qr");
    s.FreeExtra();
    EXPECT_EQ(s.GetAllocLength(), 2);
    s.Truncate(1);
    s.Truncate(5);  // only shortens
    EXPECT_EQ(s, u"q");

    // An empty string still hands out a writable block.
    CString e;
    e.GetBuffer(0)[0] = 0;
    e.ReleaseBuffer();
    e.GetBufferSetLength(-4);
    EXPECT_TRUE(e.IsEmpty());
}

TEST(CString, Comparison) {
    struct Case {
        LPCWSTR a;
        LPCWSTR b;
        int exact;
        int noCase;
    } cases[] = {
        {u"abc", u"abc", 0, 0},
        {u"abc", u"abd", -1, -1},
        {u"abc", u"ab", 1, 1},
        {u"", u"a", -1, -1},
        {u"ABC", u"abc", -1, 0},
        {u"a", u"B", 1, -1},
        // Folding to upper case puts letters before '_' (0x5F), unlike folding to lower.
        {u"a", u"_", 1, -1},
        {u"\u03C3", u"\u03A3", 1, 0},                 // Greek sigma
        {u"\u00E4x", u"\u00C4X", 1, 0},               // a-umlaut
        {u"stra\u00DFe", u"STRASSE", 1, 1},          // sharp s stays one unit
        {u"\uFF41", u"\uFF21", 1, 0},                 // full-width a
    };
    for (const auto& c : cases) {
        const CString a(c.a);
        EXPECT_EQ(a.Compare(c.b), c.exact) << tq3::fw::ToUtf8(c.a) << " vs " << tq3::fw::ToUtf8(c.b);
        EXPECT_EQ(a.CompareNoCase(c.b), c.noCase) << tq3::fw::ToUtf8(c.a) << " vs " << tq3::fw::ToUtf8(c.b);
        EXPECT_EQ(a.Compare(CString(c.b)), c.exact);
        EXPECT_EQ(a.CompareNoCase(CString(c.b)), c.noCase);
        EXPECT_EQ(a == c.b, c.exact == 0);
        EXPECT_EQ(a < CString(c.b), c.exact < 0);
    }
    EXPECT_EQ(CString(u"a").Compare(static_cast<LPCWSTR>(nullptr)), 1);
    EXPECT_EQ(CString().Compare(static_cast<LPCWSTR>(nullptr)), 0);
    EXPECT_EQ(CString(u"a\0b", 3).Compare(CString(u"a\0a", 3)), 1);

    // Collation orders letters alphabetically where code units do not.
    EXPECT_EQ(CString(u"B").Collate(u"a"), 1);
    EXPECT_NE(CString(u"abc").Collate(u"ABC"), 0);
    EXPECT_EQ(CString(u"abc").CollateNoCase(u"ABC"), 0);
    EXPECT_EQ(CString(u"\u00E9").Collate(u"f"), -1);  // e-acute sorts with e, before f
    EXPECT_EQ(CString(u"x").Collate(static_cast<LPCWSTR>(nullptr)), 1);
}

TEST(CString, Searching) {
    const CString s(u"abcabc");
    struct Case {
        int got;
        int expected;
    } cases[] = {
        {s.Find(u'c'), 2},
        {s.Find(u'c', 6), -1},          // start at the end
        {s.Find(u'a', -1), -1},
        {s.Find(u"bc", 2), 4},
        {s.Find(u"bc", 5), -1},
        {s.Find(u"", 6), 6},            // empty pattern at the end
        {s.Find(u"", 7), -1},
        {s.Find(u"abcabcabc"), -1},
        {s.Find(static_cast<LPCWSTR>(nullptr), 2), 2},
        {s.ReverseFind(u'a'), 3},
        {s.ReverseFind(u'z'), -1},
        {s.FindOneOf(u"xc"), 2},
        {s.FindOneOf(u""), -1},
        {CString(u"a\0b", 3).Find(u'b'), 2},  // searches past an embedded zero
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;
}

TEST(CString, EditsInPlace) {
    struct Case {
        LPCWSTR start;
        Edit edit;
        LPCWSTR expected;
    } cases[] = {
        // Replace: left to right, non-overlapping, replacement text is not searched again.
        {u"aaa", [](CString& s) { EXPECT_EQ(s.Replace(u"aa", u"b"), 1); }, u"ba"},
        {u"abab", [](CString& s) { EXPECT_EQ(s.Replace(u"ab", u"abab"), 2); }, u"abababab"},
        {u"abc", [](CString& s) { EXPECT_EQ(s.Replace(u"b", nullptr), 1); }, u"ac"},
        {u"abcabc", [](CString& s) { EXPECT_EQ(s.Replace(u"abc", u""), 2); }, u""},
        {u"abc", [](CString& s) { EXPECT_EQ(s.Replace(u"", u"x"), 0); }, u"abc"},
        {u"abc", [](CString& s) { EXPECT_EQ(s.Replace(nullptr, u"x"), 0); }, u"abc"},
        {u"ab", [](CString& s) { EXPECT_EQ(s.Replace(u"b", s.GetString()), 1); }, u"aab"},  // from itself
        {u"a.b.c", [](CString& s) { EXPECT_EQ(s.Replace(u'.', u'/'), 2); }, u"a/b/c"},
        {u"a.b", [](CString& s) { EXPECT_EQ(s.Replace(u'.', u'.'), 0); }, u"a.b"},
        {u"banana", [](CString& s) { EXPECT_EQ(s.Remove(u'a'), 3); }, u"bnn"},
        // Insert clamps the position.
        {u"bc", [](CString& s) { EXPECT_EQ(s.Insert(-5, u"a"), 3); }, u"abc"},
        {u"ab", [](CString& s) { EXPECT_EQ(s.Insert(99, u'c'), 3); }, u"abc"},
        {u"ab", [](CString& s) { EXPECT_EQ(s.Insert(1, s.GetString()), 4); }, u"aabb"},  // from itself
        {u"ab", [](CString& s) { EXPECT_EQ(s.Insert(1, u""), 2); }, u"ab"},
        // Delete clamps too.
        {u"abcdef", [](CString& s) { EXPECT_EQ(s.Delete(4, 100), 4); }, u"abcd"},
        {u"abcdef", [](CString& s) { EXPECT_EQ(s.Delete(-3, 2), 4); }, u"cdef"},
        {u"abcdef", [](CString& s) { EXPECT_EQ(s.Delete(6), 6); }, u"abcdef"},
        {u"abcdef", [](CString& s) { EXPECT_EQ(s.Delete(2, -1), 6); }, u"abcdef"},
        {u"abcdef", [](CString& s) { EXPECT_EQ(s.Delete(0, INT_MAX), 0); }, u""},
        // Case mapping and trimming.
        {u"a\u00E4\u03C3\u00DFz", [](CString& s) { s.MakeUpper(); }, u"A\u00C4\u03A3\u00DFZ"},
        {u"A\u00C4\u03A3Z", [](CString& s) { s.MakeLower(); }, u"a\u00E4\u03C3z"},
        {u"ab\U0001F600c", [](CString& s) { s.MakeReverse(); }, u"c\U0001F600ba"},  // pairs stay in order
        {u" \t\r\n x y \u3000\u00A0", [](CString& s) { s.Trim(); }, u"x y"},
        {u"  x  ", [](CString& s) { s.TrimLeft(); }, u"x  "},
        {u"  x  ", [](CString& s) { s.TrimRight(); }, u"  x"},
        {u" \u2003 ", [](CString& s) { s.Trim(); }, u""},
        {u"xxaxx", [](CString& s) { s.Trim(u'x'); }, u"a"},
        {u"xxaxx", [](CString& s) { s.TrimLeft(u'x'); }, u"axx"},
        {u"-=a=-", [](CString& s) { s.Trim(u"=-"); }, u"a"},
        {u"-=a=-", [](CString& s) { s.TrimRight(u"-"); }, u"-=a="},
        {u"abc", [](CString& s) { s.Trim(static_cast<LPCWSTR>(nullptr)); }, u"abc"},
        {u"", [](CString& s) { s.Trim(); s.MakeUpper(); s.MakeReverse(); }, u""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CString s(cases[i].start);
        cases[i].edit(s);
        EXPECT_EQ(s, cases[i].expected) << "case " << i;
        EXPECT_EQ(s.GetString()[s.GetLength()], 0) << "case " << i;
    }
}

TEST(CString, ExtractionClampsCounts) {
    const CString s(u"abcdef");
    struct Case {
        CString got;
        LPCWSTR expected;
    } cases[] = {
        {s.Left(-1), u""},          {s.Left(100), u"abcdef"},   {s.Right(2), u"ef"},
        {s.Right(100), u"abcdef"},  {s.Right(-2), u""},         {s.Mid(2), u"cdef"},
        {s.Mid(2, 2), u"cd"},       {s.Mid(-2, 3), u"abc"},     {s.Mid(4, 100), u"ef"},
        {s.Mid(100, 2), u""},       {s.Mid(1, -1), u""},        {s.Mid(2, INT_MAX), u"cdef"},
        {s.SpanIncluding(u"bca"), u"abc"}, {s.SpanIncluding(u"x"), u""},
        {s.SpanIncluding(nullptr), u""},   {s.SpanExcluding(u"dx"), u"abc"},
        {s.SpanExcluding(u""), u"abcdef"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;
}

TEST(CString, Tokenize) {
    struct Case {
        LPCWSTR text;
        LPCWSTR delimiters;
        int start;
        std::vector<std::u16string> tokens;
    } cases[] = {
        {u"  a, b,,c  ", u" ,", 0, {u"a", u"b", u"c"}},
        {u",,,", u",", 0, {}},
        {u"one two", u" ", 3, {u"two"}},
        {u"a,b,", u",", 0, {u"a", u"b"}},
        {u"", u",", 0, {}},
        {u"one two", u" ", 7, {}},
        {u"one two", u" ", 99, {}},
        {u"one two", u" ", -1, {}},
        {u"one two", u"", 0, {u"one two"}},  // no delimiters: the rest is one token
        {u"one two", nullptr, 4, {u"two"}},
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
    EXPECT_EQ(s.Tokenize(u",", pos), u"bc");
    EXPECT_EQ(pos, 6);
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
    // Growing past the block, shrinking to the text and a small string beside.
    next += CString(lower.data(), kUnits / 2);
    EXPECT_TRUE(Holds(next, upper + lower.substr(0, kUnits / 2)));
    next.FreeExtra();
    next.Truncate(kUnits);
    next.FreeExtra();
    EXPECT_TRUE(Holds(next, upper));
    CString small(u"small");
    EXPECT_EQ(small, u"small");

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
