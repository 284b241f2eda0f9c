// Matching the cells of a line against the search text.
//
// Part of a cell: a filter first reads the line eight units at a time for the
// search text's first units (MayHold), and only a line that has them gets the
// pass that counts the fields as it goes and compares case-folded code units
// through a table (PartFoldTable); neither the line nor its fields are copied.
// Whole cells: each field of the range is compared through the collation table
// (CollationTable) when both texts are covered by it, through the locale
// functions otherwise.
//
// FindInLine -> MayHold, then ScanParts (part of a cell)
//            | FindWholeInLine -> CompareByTables, or MatchCellByLocale for a
//              field the tables do not cover
// Matches and EqualByTables answer for one cell through the same functions.
#include "find/table_view_find_matcher.h"

#include <algorithm>
#include <climits>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "find/table_view_find_tables.h"
#include "framework/core/locale.h"
#include "framework/core/unit_scan.h"
#include "text/field_scan.h"
#include "text/tab_text.h"
#include "view/table_view.h"

namespace tq3 {
namespace {

bool IgnoresCase(DWORD flags) { return (flags & kFindMatchCase) == 0; }

// The locale comparison's style: symbols and non-spacing marks never count, case
// counts only when it must match.
DWORD CompareStyle(DWORD flags) {
    return NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS | (IgnoresCase(flags) ? NORM_IGNORECASE : 0);
}

bool FitsInt(std::size_t n) { return n <= static_cast<std::size_t>(INT_MAX); }

// The text of a field never holds these.
bool EndsField(char16_t c) { return c == 0 || c == u'\t' || c == u'\r' || c == u'\n'; }

// The TAB or zero that closes the field in which `p` stands, reading no further
// than `end`, the line's terminating zero.
const WCHAR* FieldEndBefore(const WCHAR* p, const WCHAR* end) { return tq3::fw::FindEitherUnit(p, end, u'\t', 0); }

struct Identity {
    char16_t operator[](char16_t c) const { return c; }
};

// Whether `line` may hold a match in its fields up to field `last`: whether the
// first `count` (1 to 3) units of the folded search text stand anywhere in a row
// in that part of it. A field's text is part of its line, so a line without them
// holds no match, and the scan that tells fields apart reads only the lines that
// have them. `want[k]` holds the code units that fold to search unit k (places may
// repeat one), each written eight times over. The line is read eight starting
// places at a time until the TAB that ends field `last` has gone by, the last
// eight of the line taken so that they end at its end, overlapping the ones
// before; a line too short for eight says yes.
#if defined(__SSE2__)
bool MayHold(const char16_t (*want)[3][8], int count, const WCHAR* line, std::size_t length, int last) {
    if (length < static_cast<std::size_t>(count) + 7) return true;
    const auto load = [](const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    __m128i units[3][3];
    for (int k = 0; k < 3; ++k) {
        for (int v = 0; v < 3; ++v) units[k][v] = load(want[k][v]);
    }
    const auto is = [&](__m128i v, int k) {
        return _mm_or_si128(_mm_cmpeq_epi16(v, units[k][0]),
                            _mm_or_si128(_mm_cmpeq_epi16(v, units[k][1]), _mm_cmpeq_epi16(v, units[k][2])));
    };
    const __m128i tab = _mm_set1_epi16(u'\t');
    const std::size_t lastBlock = length - static_cast<std::size_t>(count) - 7;  // its first place
    // TABs are counted lane by lane as the blocks go and summed after each of the
    // first four blocks (a search of the first field or two ends there), then
    // every fourth, which costs less than a look at each: the filter may read up
    // to 31 units past the TAB that ends the fields searched.
    const auto tabsAllowed = static_cast<std::size_t>(last);
    std::size_t tabsSeen = 0;
    __m128i lanes = _mm_setzero_si128();
    for (std::size_t at = 0, block = 1;; at += 8, ++block) {
        const bool closing = at >= lastBlock;
        if (closing) at = lastBlock;
        const __m128i v = load(line + at);
        __m128i hit = is(v, 0);
        if (count > 1) hit = _mm_and_si128(hit, is(load(line + at + 1), 1));
        if (count > 2) hit = _mm_and_si128(hit, is(load(line + at + 2), 2));
        if (_mm_movemask_epi8(hit) != 0) return true;
        if (closing) return false;
        lanes = _mm_sub_epi16(lanes, _mm_cmpeq_epi16(v, tab));  // a TAB's lane is all ones: -1
        if (block <= 4 || block % 4 == 0) {
            const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
            tabsSeen += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                        static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
            lanes = _mm_setzero_si128();
            if (tabsSeen > tabsAllowed) return false;
        }
    }
}
#else
bool MayHold(const char16_t (*)[3][8], int, const WCHAR*, std::size_t, int) { return true; }
#endif

// The first match of `folded` (not empty, free of TAB, CR, LF and NUL) in the
// fields `from`..`last` of `line`, each code unit of the line put through `fold`
// first. A field's text ends at a CR or LF; what follows up to the next TAB is
// not part of it. The comparison of the rest of the text stops at the field's end
// by itself: no folded code unit equals a TAB, CR, LF or NUL.
template <typename Fold>
int ScanParts(const WCHAR* line, int from, int last, std::u16string_view folded, const Fold& fold, CellMatch& match) {
    const char16_t first = folded[0];
    const std::size_t length = folded.size();
    int column = 0;
    const WCHAR* fieldStart = line;
    bool inText = column >= from;  // in the text of a field of the range
    for (const WCHAR* p = line;; ++p) {
        const WCHAR c = *p;
        if (c <= u'\r' && EndsField(c)) {
            if (c == 0) return -1;
            if (c == u'\t') {
                if (++column > last) return -1;
                fieldStart = p + 1;
                inText = column >= from;
            } else {
                inText = false;
            }
            continue;
        }
        if (!inText || fold[c] != first) continue;
        std::size_t i = 1;
        while (i < length && fold[p[i]] == folded[i]) ++i;
        if (i == length) {
            const int x = static_cast<int>(p - fieldStart);
            match = {x, x + static_cast<int>(length) - 1};
            return column;
        }
    }
}

}  // namespace

bool MatchCellByLocale(std::u16string_view cell, std::u16string_view text, DWORD flags, CellMatch& match) {
    if (text.empty() || !FitsInt(cell.size()) || !FitsInt(text.size())) return false;
    std::u16string foldedCell(cell);
    std::u16string foldedText(text);
    if (IgnoresCase(flags)) {
        CharLowerBuffW(foldedCell.data(), static_cast<DWORD>(foldedCell.size()));
        CharLowerBuffW(foldedText.data(), static_cast<DWORD>(foldedText.size()));
    }
    const DWORD style = CompareStyle(flags);
    if ((flags & kFindEntireCells) != 0) {
        if (CompareStringW(LOCALE_USER_DEFAULT, style, foldedCell.c_str(), static_cast<int>(foldedCell.size()),
                           foldedText.c_str(), static_cast<int>(foldedText.size())) != CSTR_EQUAL) {
            return false;
        }
        match = {0, static_cast<int>(text.size())};
        return true;
    }
    int start = -1;
    int end = -1;
    SearchPartialString(foldedCell.c_str(), foldedText.c_str(), style, &start, &end);
    if (start < 0 || end < 0) return false;
    match = {start, end};
    return true;
}

CellMatcher::CellMatcher(std::u16string_view searchText, DWORD searchFlags)
    : text(searchText), flags(searchFlags & (kFindEntireCells | kFindMatchCase)), ignoreCase(IgnoresCase(searchFlags)) {
    if ((flags & kFindEntireCells) == 0) {
        folded = text;
        if (ignoreCase) {
            fold = PartFoldTable();
            for (char16_t& c : folded) c = fold[c];
        }
        for (char16_t c : folded) partImpossible = partImpossible || EndsField(c);
        partImpossible = partImpossible || folded.empty() || !FitsInt(folded.size());
        if (!partImpossible) PrepareLineFilter();
        return;
    }
    table = CollationTable::For(ignoreCase);
    tableCovered = table != nullptr && !text.empty();
    for (std::size_t i = 0; tableCovered && i < text.size(); ++i) {
        const UnitInfo& info = table->Info(text[i]);
        if (info.state != UnitInfo::kCovered) {
            tableCovered = false;
            break;
        }
        for (int k = 0; k < info.count; ++k) units.push_back(info.Unit(k));
        if (info.mark != UnitInfo::kNoMark) marks.push_back(info.mark);
    }
    if (tableCovered) PrepareFirstUnits();
}

// Most cells differ from the search text at their first character, and most
// first characters are ASCII: for those the table's answer is worked out once
// here, so that a field costs one look into this small array and a skip to its
// end rather than a full comparison. A character the comparison ignores, one the
// table does not cover and the ones that end a field are left to CompareByTables.
void CellMatcher::PrepareFirstUnits() {
    if (units.empty()) return;
    for (char16_t c = 0; c < 128; ++c) {
        if (EndsField(c)) continue;
        const UnitInfo& info = table->Info(c);
        differsFromItsStart[c] = info.state == UnitInfo::kCovered && info.count > 0 && info.Unit(0) != units[0];
    }
}

void CellMatcher::PrepareLineFilter() {
    const int count = static_cast<int>(std::min<std::size_t>(folded.size(), 3));
    for (int k = 0; k < count; ++k) {
        char16_t sources[3] = {folded[static_cast<std::size_t>(k)]};
        const int found = ignoreCase ? UnitsFoldingTo(sources[0], sources, 3) : 1;
        if (found <= 0) return;  // more than three fold to it: no filter
        for (int v = 0; v < 3; ++v) std::fill_n(filterUnits[k][v], 8, sources[std::min(v, found - 1)]);
    }
    filterCount = count;
}

bool CellMatcher::Matches(std::u16string_view cell, CellMatch& match) {
    if ((flags & kFindEntireCells) != 0) return MatchesWhole(cell, match);
    if (partImpossible || cell.size() < folded.size()) return false;
    // A field holds no TAB, CR or LF; the scan reads it as a line of one field.
    std::u16string line(cell);
    return FindPartInLine(line.c_str(), line.size(), 0, 0, match) == 0;
}

int CellMatcher::FindInLine(const WCHAR* line, std::size_t length, int from, int last, CellMatch& match) {
    if (from > last || last < 0) return -1;
    return (flags & kFindEntireCells) != 0 ? FindWholeInLine(line, length, from, last, match)
                                           : FindPartInLine(line, length, from, last, match);
}

int CellMatcher::FindPartInLine(const WCHAR* line, std::size_t length, int from, int last, CellMatch& match) const {
    if (partImpossible) return -1;
    if (filterCount > 0 && !MayHold(filterUnits, filterCount, line, length, last)) return -1;
    if (fold != nullptr) return ScanParts(line, from, last, folded, fold, match);
    return ScanParts(line, from, last, folded, Identity{}, match);
}

int CellMatcher::FindWholeInLine(const WCHAR* line, std::size_t length, int from, int last, CellMatch& match) {
    const WCHAR* const lineEnd = line + length;
    const WCHAR* field = line;
    for (int column = 0; column < from; ++column) {
        field = FieldEndBefore(field, lineEnd);
        if (*field == 0) return -1;
        ++field;
    }
    for (int column = from; column <= last; ++column) {
        const WCHAR* stop = field;
        const WCHAR first = *field;
        const Verdict verdict = !tableCovered                                  ? Verdict::kUncovered
                                : first < 128 && differsFromItsStart[first] ? Verdict::kNotEqual
                                                                               : CompareByTables(field, stop);
        bool equal = verdict == Verdict::kEqual;
        if (verdict == Verdict::kUncovered) {
            stop = FieldTextEnd(field);
            equal = MatchCellByLocale(std::u16string_view(field, static_cast<std::size_t>(stop - field)), text, flags,
                                      match);
        }
        if (equal) {
            match = {0, static_cast<int>(text.size())};
            return column;
        }
        const WCHAR* end = FieldEndBefore(stop, lineEnd);
        if (*end == 0) break;
        field = end + 1;
    }
    return -1;
}

CellMatcher::Verdict CellMatcher::CompareByTables(const WCHAR* p, const WCHAR*& stop) {
    const std::uint64_t* const unitsBegin = units.data();
    const std::uint64_t* const unitsEnd = unitsBegin + units.size();
    const std::uint8_t* const marksBegin = marks.data();
    const std::uint8_t* const marksEnd = marksBegin + marks.size();
    const std::uint64_t* unit = unitsBegin;
    const std::uint8_t* mark = marksBegin;
    for (;; ++p) {
        const WCHAR c = *p;
        if (c <= u'\r' && EndsField(c)) {
            stop = p;
            return unit == unitsEnd && mark == marksEnd ? Verdict::kEqual : Verdict::kNotEqual;
        }
        const UnitInfo& info = table->Info(c);
        if (info.state != UnitInfo::kCovered) return Verdict::kUncovered;
        // The units of the characters read so far begin the field's sequence
        // whatever follows, so a difference here settles it.
        for (int k = 0; k < info.count; ++k, ++unit) {
            if (unit == unitsEnd || *unit != info.Unit(k)) {
                stop = p;
                return Verdict::kNotEqual;
            }
        }
        if (info.mark != UnitInfo::kNoMark) {
            if (mark == marksEnd || *mark != info.mark) {
                stop = p;
                return Verdict::kNotEqual;
            }
            ++mark;
        }
    }
}

std::optional<bool> CellMatcher::EqualByTables(std::u16string_view cell) {
    if (!tableCovered) return std::nullopt;
    // The comparison reads up to the end of a field's text.
    const std::u16string field(cell);
    const WCHAR* stop = nullptr;
    const Verdict verdict = CompareByTables(field.c_str(), stop);
    if (verdict == Verdict::kUncovered || FieldTextEnd(stop) != field.c_str() + field.size()) return std::nullopt;
    return verdict == Verdict::kEqual;
}

bool CellMatcher::MatchesWhole(std::u16string_view cell, CellMatch& match) {
    if (text.empty()) return false;
    const std::optional<bool> equal = EqualByTables(cell);
    if (!equal) return MatchCellByLocale(cell, text, flags, match);
    if (*equal) match = {0, static_cast<int>(text.size())};
    return *equal;
}

}  // namespace tq3
