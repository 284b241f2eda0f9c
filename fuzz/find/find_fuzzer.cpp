// Holds the search's fast comparison to the locale functions: for arbitrary
// search texts and lines, under every combination of the two search flags, the
// CellMatcher (case folding and collation tables) must report exactly what the
// field-by-field comparison through CharLowerW, CompareStringW and
// SearchPartialString reports: the same field and the same match position.
//
// Input: one byte that splits the rest into the search text and the line, one
// byte for the field range, then characters. A byte below 0xC0 picks one of the
// characters below, which gather what a collator treats specially (letters with
// and without marks, combining marks, kana with their length and iteration marks,
// wide and narrow forms, ligatures, contractions, symbols that are ignored,
// surrogates, field separators); any other byte takes the next two as a raw code
// unit. Besides the line's own fields, variants of the search text (other case,
// a symbol or a mark put in, kana type or width changed) are compared as whole
// cells, so that equal texts are met as often as unequal ones.
#include <unicode/uchar.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "find/table_view_find_matcher.h"
#include "framework/core/locale.h"
#include "view/table_view.h"

namespace {

const char16_t kAlphabet[] =
    u" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"
    u"\t\r\n\u00A0\u00AD\u00B7\u00C0\u00C5\u00C6\u00C9\u00D6\u00DF\u00E0\u00E5\u00E6\u00E9\u00F6\u00FF\u0130\u0131"
    u"\u0149\u01C5\u0300\u0301\u0308\u0323\u0387\u03A3\u03C2\u03C3\u1100\u1161\u11A8\u200D\u2126\u212A\u212B"
    u"\u2163\u2460\u3005\u3003\u3041\u3042\u304B\u304C\u3099\u309A\u309D\u309E\u30A2\u30AB\u30AC\u30FC\u30FD"
    u"\u30FE\u3231\u4EAC\u6771\uAC00\uFB01\uFDD1\uFF01\uFF21\uFF41\uFF11\uFF76\uFF9E\uFF70\uFFFD\uFFFE\u0E40"
    u"\u0E01\u0915\u094D\u0937\u20AC\u00A5\u2103\xD800\xDC00\xD83D\xDE00";
constexpr std::size_t kAlphabetSize = sizeof kAlphabet / sizeof kAlphabet[0] - 1;

std::u16string Decode(const std::uint8_t* data, std::size_t size) {
    std::u16string s;
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t tag = data[i++];
        char16_t c;
        if (tag < 0xC0) {
            c = kAlphabet[tag % kAlphabetSize];
        } else if (i + 2 <= size) {
            c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
            i += 2;
        } else {
            break;
        }
        if (c != 0) s.push_back(c);
    }
    return s;
}

void Fail(const char* what, std::u16string_view text, std::u16string_view cell, DWORD flags) {
    std::fprintf(stderr, "%s (flags %u)\n  text:", what, static_cast<unsigned>(flags));
    for (char16_t c : text) std::fprintf(stderr, " %04X", static_cast<unsigned>(c));
    std::fprintf(stderr, "\n  cell:");
    for (char16_t c : cell) std::fprintf(stderr, " %04X", static_cast<unsigned>(c));
    std::fprintf(stderr, "\n");
    std::abort();
}

// How often the tables decided a whole cell, for the run's report.
long tableDecisions = 0;
long wholeComparisons = 0;

struct Report {
    ~Report() {
        if (wholeComparisons > 0) {
            std::fprintf(stderr, "whole cells decided by the tables: %ld of %ld\n", tableDecisions, wholeComparisons);
        }
    }
} report;

void CompareCell(tq3::CellMatcher& matcher, std::u16string_view text, std::u16string_view cell, DWORD flags) {
    tq3::CellMatch fast;
    tq3::CellMatch slow;
    const bool byMatcher = matcher.Matches(cell, fast);
    const bool byLocale = tq3::MatchCellByLocale(cell, text, flags, slow);
    if (byMatcher != byLocale) Fail("the matcher and the locale disagree", text, cell, flags);
    if (byMatcher && (fast.x != slow.x || fast.y != slow.y)) Fail("the match positions differ", text, cell, flags);
    if ((flags & kFindEntireCells) != 0) {
        ++wholeComparisons;
        const std::optional<bool> byTables = matcher.EqualByTables(cell);
        if (byTables) {
            ++tableDecisions;
            if (*byTables != byLocale) Fail("the tables and the locale disagree", text, cell, flags);
        }
    }
}

// The fields of a record as the view reads them: split at TAB, each field's text
// ending at a CR or LF.
std::vector<std::u16string> Fields(const std::u16string& line) {
    std::vector<std::u16string> fields(1);
    bool ended = false;
    for (char16_t c : line) {
        if (c == u'\t') {
            fields.emplace_back();
            ended = false;
        } else if (c == u'\r' || c == u'\n') {
            ended = true;
        } else if (!ended) {
            fields.back().push_back(c);
        }
    }
    return fields;
}

// The search text changed the ways the comparison should see through or not.
std::vector<std::u16string> Variants(const std::u16string& text, std::uint8_t seed) {
    std::vector<std::u16string> variants;
    std::u16string upper = text;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    variants.push_back(upper);
    std::u16string lower = text;
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    variants.push_back(lower);
    const std::size_t at = text.empty() ? 0 : seed % (text.size() + 1);
    for (const char16_t* insert : {u"-", u"\u0301", u" ", u"\u3099", u"$"}) {
        std::u16string v = text;
        v.insert(at, insert);
        variants.push_back(v);
    }
    std::u16string kana = text;
    std::u16string width = text;
    for (char16_t& c : kana) {
        if (c >= 0x3041 && c <= 0x3096) c = static_cast<char16_t>(c + 0x60);
        else if (c >= 0x30A1 && c <= 0x30F6) c = static_cast<char16_t>(c - 0x60);
    }
    for (char16_t& c : width) {
        if (c >= 0x21 && c <= 0x7E) c = static_cast<char16_t>(c + 0xFEE0);
        else if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFEE0);
    }
    variants.push_back(kana);
    variants.push_back(width);
    if (!text.empty()) variants.push_back(text.substr(0, text.size() - 1));
    return variants;
}

int ReferenceFindInLine(const std::u16string& line, std::u16string_view text, DWORD flags, int from, int last,
                        tq3::CellMatch& match) {
    const std::vector<std::u16string> fields = Fields(line);
    for (int c = from; c <= last && c < static_cast<int>(fields.size()); ++c) {
        if (tq3::MatchCellByLocale(fields[static_cast<std::size_t>(c)], text, flags, match)) return c;
    }
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::u16string units = Decode(data + 2, size - 2);
    const std::size_t split = units.empty() ? 0 : data[0] % (units.size() + 1);
    const std::u16string line = units.substr(split);
    const int from = data[1] & 7;
    const int last = (data[1] >> 3) & 7;
    // The search text of the view is one line of the dialog's box: a TAB, CR or
    // LF in it is taken as it stands (no field can hold it).
    const std::u16string text = units.substr(0, split);
    if (text.empty()) return 0;
    const std::vector<std::u16string> fields = Fields(line);

    for (const DWORD flags : {DWORD{0}, kFindEntireCells, kFindMatchCase, kFindEntireCells | kFindMatchCase}) {
        tq3::CellMatcher matcher(text, flags);
        tq3::CellMatch fast;
        tq3::CellMatch slow;
        const int byMatcher = matcher.FindInLine(line.c_str(), line.size(), from, last, fast);
        const int byLocale = ReferenceFindInLine(line, text, flags, from, last, slow);
        if (byMatcher != byLocale) Fail("the matcher finds another field", text, line, flags);
        if (byMatcher >= 0 && (fast.x != slow.x || fast.y != slow.y)) Fail("the line's match differs", text, line, flags);
        for (const std::u16string& field : fields) CompareCell(matcher, text, field, flags);
        if ((flags & kFindEntireCells) != 0) {
            for (const std::u16string& variant : Variants(text, data[0])) {
                if (variant.find_first_of(u"\t\r\n") == std::u16string::npos) CompareCell(matcher, text, variant, flags);
            }
        }
    }
    return 0;
}
