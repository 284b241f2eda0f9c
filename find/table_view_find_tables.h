// Tables through which a search compares texts without asking the locale
// functions about every cell: case folding, and what the locale comparison makes
// of each character of a whole cell.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/wintypes.h"

namespace tq3 {

// The lower case of every code unit as CharLowerW gives it. Throws std::bad_alloc.
const char16_t* LowerCaseTable();
// CharLowerW applied twice: how a part of a cell and the search text fold when
// case is ignored. Throws std::bad_alloc.
const char16_t* PartFoldTable();
// The code units that PartFoldTable folds to `folded`, put into `units` when there are at most `room` of them: their number, or -1 when
// there are more. Throws std::bad_alloc.
int UnitsFoldingTo(char16_t folded, char16_t* units, int room);

// What the locale comparison that ignores symbols and non-spacing marks (and case,
// for a table made to ignore it) makes of one code unit of a text: up to three
// collation units, each a primary weight and, when case counts, the case of that
// weight; and the mark by which kana type (and, when case counts, width) still
// tell equal texts apart.
struct UnitInfo {
    static constexpr std::uint8_t kUnknown = 0;  // not yet worked out
    static constexpr std::uint8_t kUncovered = 1;  // the locale functions must compare
    static constexpr std::uint8_t kCovered = 2;
    static constexpr std::uint8_t kNoMark = 0xFF;  // not a letter or digit

    std::uint8_t state = kUnknown;
    std::uint8_t count = 0;       // collation units; 0 for a character the comparison ignores
    std::uint8_t mark = kNoMark;  // kana type and width of a letter or digit
    std::uint8_t cases = 0;       // the case of unit i in bits 2i and 2i + 1
    std::uint32_t primary[3] = {};

    // Unit i as one number: equal numbers, equal units.
    std::uint64_t Unit(int i) const {
        return (static_cast<std::uint64_t>(primary[i]) << 2) | ((cases >> (2 * i)) & 3u);
    }
};

// The per-character facts for one comparison style in the user's locale, worked
// out from the collator the first time each code unit is met.
class CollationTable {
public:
    // The table for the comparison that ignores case or the one that does not;
    // null when no collator can be had for the user's locale. The table is made
    // again when the locale changed. Throws std::bad_alloc.
    static CollationTable* For(bool ignoreCase);
    ~CollationTable();

    // A code unit of the text as given (case is folded here when it is ignored).
    const UnitInfo& Info(char16_t c) {
        const UnitInfo& info = infos[c];
        return info.state != UnitInfo::kUnknown ? info : WorkOut(c);
    }

private:
    struct Collator;
    CollationTable(bool ignoreCase, std::string locale, std::unique_ptr<Collator> collator);
    const UnitInfo& WorkOut(char16_t c);

    bool ignoreCase;
    std::string locale;                  // the ICU locale it was made for
    std::unique_ptr<Collator> collator;  // the collator and what it knows of contractions
    std::unique_ptr<UnitInfo[]> infos;   // one per code unit
};

}  // namespace tq3
