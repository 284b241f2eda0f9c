// The search's tables: case folding, and per character what the locale
// comparison of whole cells makes of it.
//
// The comparison (CompareStringW with symbols and non-spacing marks ignored, and
// case unless it must match) is a collator of primary strength with variable
// characters shifted up to the currency symbols, the case level on when case
// counts, and a tie-break on the kana type (and the width, when case counts) of
// each letter and digit. For most characters the collator's answer for a text is
// the sequence of the collation elements of its characters, one after another:
// two texts are equal when the primary weights that survive (neither ignorable
// nor variable) are equal in order, with their cases when case counts. The table
// keeps those weights per character, read once from the collator's element
// iterator. A character is left to the locale functions (kUncovered) when
// its elements can depend on its neighbours: it takes part in a contraction or a
// prefix rule of the collator, it is a combining mark, its canonical
// decomposition starts with one, or it is a surrogate. A text made only of
// covered characters compares through the table; any other goes to the locale
// functions. The two must agree, and a differential fuzz target holds them to it.
//
// CollationTable::For -> OpenCollator (as the locale comparison opens its own)
//                     -> ExcludedCharacters (contractions and prefix rules)
// CollationTable::Info -> WorkOut -> ReadUnits, MarkOf
#include "find/table_view_find_tables.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/core/collation.h"
#include "framework/core/locale.h"

namespace tq3 {
namespace {

constexpr int kUnits = 0x10000;

// A table of every code unit put through CharLowerBuffW `times` times.
std::unique_ptr<char16_t[]> MakeFoldTable(int times) {
    std::unique_ptr<char16_t[]> table(new char16_t[kUnits]);
    for (int c = 0; c < kUnits; ++c) table[c] = static_cast<char16_t>(c);
    for (int i = 0; i < times; ++i) CharLowerBuffW(table.get(), kUnits);
    return table;
}

bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

// The collator of the whole-cell comparison, the one the locale comparison uses
// for its flags.
CollatorPtr OpenCollator(const std::string& locale, bool ignoreCase) {
    const DWORD flags = NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS | (ignoreCase ? NORM_IGNORECASE : 0);
    return CollatorPtr(tq3::fw::OpenCompareCollator(locale.c_str(), flags));
}

struct SetCloser {
    void operator()(USet* s) const { uset_close(s); }
};
using SetPtr = std::unique_ptr<USet, SetCloser>;

// The strings of a contraction or a prefix rule of the collator.
SetPtr ContextStrings(const UCollator* collator, bool prefixes) {
    SetPtr strings(uset_openEmpty());
    UErrorCode status = U_ZERO_ERROR;
    ucol_getContractionsAndExpansions(collator, strings.get(), nullptr, prefixes, &status);
    return U_SUCCESS(status) ? std::move(strings) : nullptr;
}

// Every BMP code unit whose collation elements may depend on its neighbours: the
// first character of a contraction (it may take the characters after it into one
// element) and the last of a prefix rule (its elements depend on the characters
// before it). The other characters of such strings keep their own elements.
std::vector<bool> ExcludedCharacters(const UCollator* collator) {
    std::vector<bool> excluded(kUnits, false);
    const SetPtr all = ContextStrings(collator, true);
    const SetPtr contractions = ContextStrings(collator, false);
    if (!all || !contractions) return std::vector<bool>(kUnits, true);
    const int32_t items = uset_getItemCount(all.get());
    std::vector<UChar> string(64);
    for (int32_t i = 0; i < items; ++i) {
        UChar32 start = 0;
        UChar32 end = 0;
        UErrorCode status = U_ZERO_ERROR;
        int32_t length = uset_getItem(all.get(), i, &start, &end, string.data(), static_cast<int32_t>(string.size()),
                                      &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            string.resize(static_cast<std::size_t>(length) + 1);
            status = U_ZERO_ERROR;
            length = uset_getItem(all.get(), i, &start, &end, string.data(), static_cast<int32_t>(string.size()),
                                  &status);
        }
        if (U_FAILURE(status)) return std::vector<bool>(kUnits, true);
        if (length == 0) {
            for (UChar32 c = start; c <= end && c < kUnits; ++c) excluded[static_cast<std::size_t>(c)] = true;
            continue;
        }
        UChar32 c;
        if (uset_containsString(contractions.get(), string.data(), length)) {
            U16_GET(string.data(), 0, 0, length, c);
        } else {
            U16_GET(string.data(), 0, length - 1, length, c);
        }
        if (c < kUnits) excluded[static_cast<std::size_t>(c)] = true;
    }
    return excluded;
}

// The tie-break's mark of a letter or digit: its kana type, and its width when
// case counts.
std::uint8_t MarkOf(char16_t c, bool ignoreCase) {
    if (!u_isalnum(c)) return UnitInfo::kNoMark;
    return static_cast<std::uint8_t>(tq3::fw::KanaWidthMark(c, true, !ignoreCase));
}

// Whether the canonical decomposition of `c` is free of combining marks at its
// start and of characters with context rules: then the elements of `c` stay the
// same next to any neighbour.
bool DecompositionStandsAlone(char16_t c, const std::vector<bool>& excluded) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    if (U_FAILURE(status)) return false;
    UChar decomposition[32];
    const int32_t length = unorm2_getDecomposition(nfd, c, decomposition, 32, &status);
    if (U_FAILURE(status)) return false;
    if (length <= 0) return true;
    for (int32_t i = 0; i < length;) {
        UChar32 d;
        U16_NEXT(decomposition, i, length, d);
        if (d >= kUnits || excluded[static_cast<std::size_t>(d)]) return false;
        if (i == U16_LENGTH(d) && u_getCombiningClass(d) != 0) return false;
    }
    return true;
}

struct ElementsCloser {
    void operator()(UCollationElements* e) const { ucol_closeElements(e); }
};

}  // namespace

struct CollationTable::Collator {
    CollatorPtr collator;
    std::vector<bool> excluded;  // code units in contractions and prefix rules
    std::uint32_t variableTop = 0;

    // Reads the units of `c` from the element iterator into `info`: false when
    // they do not fit the table. The iterator gives a long primary weight as two
    // elements, the second marked as a continuation (0xC0 where the case bits
    // stand), and the case of a primary in the two bits below the marker.
    bool ReadUnits(char16_t c, bool ignoreCase, UnitInfo& info) const;
};

bool CollationTable::Collator::ReadUnits(char16_t c, bool ignoreCase, UnitInfo& info) const {
    UErrorCode status = U_ZERO_ERROR;
    const UChar text[1] = {c};
    std::unique_ptr<UCollationElements, ElementsCloser> elements(ucol_openElements(collator.get(), text, 1, &status));
    if (U_FAILURE(status) || !elements) return false;
    std::uint32_t primaries[8];
    std::uint8_t cases[8];
    int count = 0;
    bool lastHadPrimary = false;
    for (;;) {
        const int32_t element = ucol_next(elements.get(), &status);
        if (U_FAILURE(status)) return false;
        if (element == UCOL_NULLORDER) break;
        const auto e = static_cast<std::uint32_t>(element);
        if ((e & 0xC0) == 0xC0) {  // the low half of the element before
            if (lastHadPrimary) primaries[count - 1] |= e >> 16;
            continue;
        }
        lastHadPrimary = (e & 0xFFFF0000u) != 0;
        if (!lastHadPrimary) continue;  // ignorable at primary strength, case level included
        if (count == 8) return false;
        primaries[count] = e & 0xFFFF0000u;
        cases[count] = static_cast<std::uint8_t>((e >> 6) & 3u);
        ++count;
    }
    info.count = 0;
    info.cases = 0;
    for (int i = 0; i < count; ++i) {
        // Weights at the very bottom are the collator's separators, not letters.
        if (primaries[i] < 0x03000000u) return false;
        if (primaries[i] <= variableTop) continue;  // a shifted symbol: ignored
        if (info.count == 3) return false;
        info.primary[info.count] = primaries[i];
        if (!ignoreCase) info.cases = static_cast<std::uint8_t>(info.cases | (cases[i] << (2 * info.count)));
        ++info.count;
    }
    // What the units say of the character alone must be what the collator says:
    // nothing when it is ignored, something when it is not.
    const bool ignored = ucol_strcoll(collator.get(), text, 1, text, 0) == UCOL_EQUAL;
    return ignored == (info.count == 0);
}

const char16_t* LowerCaseTable() {
    static const std::unique_ptr<char16_t[]> table = MakeFoldTable(1);
    return table.get();
}

const char16_t* PartFoldTable() {
    static const std::unique_ptr<char16_t[]> table = MakeFoldTable(2);
    return table.get();
}

int UnitsFoldingTo(char16_t folded, char16_t* units, int room) {
    // The units that fold to another, as (folded, unit) pairs in order: about
    // twelve hundred of the 65,536, so a search finds those of its first
    // characters without walking the whole table.
    static const std::vector<std::pair<char16_t, char16_t>> moved = [] {
        const char16_t* fold = PartFoldTable();
        std::vector<std::pair<char16_t, char16_t>> pairs;
        for (int c = 0; c < kUnits; ++c) {
            if (fold[c] != c) pairs.emplace_back(fold[c], static_cast<char16_t>(c));
        }
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }();
    int count = 0;
    const auto put = [&](char16_t unit) {
        if (count < room) units[count] = unit;
        ++count;
    };
    // A unit that folds to another is not among those that fold to it.
    if (PartFoldTable()[folded] == folded) put(folded);
    auto it = std::lower_bound(moved.begin(), moved.end(), std::make_pair(folded, char16_t{0}));
    for (; it != moved.end() && it->first == folded; ++it) put(it->second);
    return count <= room ? count : -1;
}

CollationTable::CollationTable(bool ignores, std::string name, std::unique_ptr<Collator> made)
    : ignoreCase(ignores), locale(std::move(name)), collator(std::move(made)), infos(new UnitInfo[kUnits]) {}

CollationTable::~CollationTable() = default;

CollationTable* CollationTable::For(bool ignoreCase) {
    static std::unique_ptr<CollationTable> tables[2];
    std::unique_ptr<CollationTable>& table = tables[ignoreCase ? 1 : 0];
    std::string locale = tq3::fw::DefaultCollationLocale();
    if (table && table->locale == locale) return table.get();
    table.reset();
    auto collator = std::make_unique<Collator>();
    collator->collator = OpenCollator(locale, ignoreCase);
    if (!collator->collator) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    collator->variableTop = ucol_getVariableTop(collator->collator.get(), &status);
    if (U_FAILURE(status)) return nullptr;
    collator->excluded = ExcludedCharacters(collator->collator.get());
    table.reset(new CollationTable(ignoreCase, std::move(locale), std::move(collator)));
    return table.get();
}

const UnitInfo& CollationTable::WorkOut(char16_t c) {
    UnitInfo info;
    info.state = UnitInfo::kUncovered;
    // The comparison that ignores case sees the text lower-cased.
    const char16_t x = ignoreCase ? LowerCaseTable()[c] : c;
    if (!IsSurrogate(x) && !collator->excluded[x] && u_getCombiningClass(x) == 0 &&
        DecompositionStandsAlone(x, collator->excluded) && collator->ReadUnits(x, ignoreCase, info)) {
        info.state = UnitInfo::kCovered;
        info.mark = MarkOf(x, ignoreCase);
    }
    infos[c] = info;
    return infos[c];
}

}  // namespace tq3
