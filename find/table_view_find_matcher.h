// How a search compares the cells of a line with the search text.
//
// A whole cell equals the search text when the locale comparison says so, with
// symbols and non-spacing marks ignored and case too unless it must match; part of
// a cell matches where the search text occurs in it character for character, case
// folded unless it must match. When case is ignored both texts are lower-cased
// first, one code unit for one, so positions in the folded cell are positions in
// the cell.
//
// MatchCellByLocale asks the locale functions for every cell. CellMatcher gives
// the same answers faster: it prepares the search text once, folds case through a
// table, and compares whole cells through tables of what the locale comparison
// makes of each character (find/table_view_find_tables.cpp), asking the locale
// functions only about cells with characters the tables do not cover.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/wintypes.h"

namespace tq3 {

class CollationTable;

// Where a cell matched: (0, length of the search text) for a whole cell, or the
// first and last position of the text in the cell.
struct CellMatch {
    int x = -1;
    int y = -1;
};

// The comparison as the locale functions make it. `flags` holds kFindEntireCells
// and kFindMatchCase. An empty `text` matches nothing. Throws std::bad_alloc.
TQ3VIEW_API bool MatchCellByLocale(std::u16string_view cell, std::u16string_view text, DWORD flags,
                                   CellMatch& match);

class TQ3VIEW_API CellMatcher {
public:
    // Throws std::bad_alloc.
    CellMatcher(std::u16string_view text, DWORD flags);

    // Whether `cell` (the text of one field: no TAB, CR or LF) matches, and where.
    // Throws std::bad_alloc.
    bool Matches(std::u16string_view cell, CellMatch& match);

    // The first field of the record `line` from field `from` to field `last` that
    // matches: its index, or -1. The record is `length` units long and a zero
    // follows them (as a string's terminator does); a zero within it ends it too.
    // A field's text ends at a CR or LF. Throws std::bad_alloc.
    int FindInLine(const WCHAR* line, std::size_t length, int from, int last, CellMatch& match);

    // What the tables alone say of a whole cell: equal, not equal, or nothing
    // (nullopt) when the cell or the search text has a character they do not
    // cover. For the checks that hold the tables to the locale comparison.
    std::optional<bool> EqualByTables(std::u16string_view cell);

private:
    enum class Verdict { kEqual, kNotEqual, kUncovered };
    // Compares the field whose text starts at `p` through the tables; leaves
    // `stop` at the end of the field's text when equal, at the unit that made the
    // difference when not, and as it was when the verdict is kUncovered.
    Verdict CompareByTables(const WCHAR* p, const WCHAR*& stop);
    // Fills filterUnits from the folded search text (part of a cell only).
    void PrepareLineFilter();
    // Fills differsFromItsStart (whole cells only).
    void PrepareFirstUnits();
    int FindPartInLine(const WCHAR* line, std::size_t length, int from, int last, CellMatch& match) const;
    int FindWholeInLine(const WCHAR* line, std::size_t length, int from, int last, CellMatch& match);
    bool MatchesWhole(std::u16string_view cell, CellMatch& match);

    std::u16string text;           // the search text as given
    DWORD flags;                   // kFindEntireCells, kFindMatchCase
    bool ignoreCase;               // kFindMatchCase is clear
    const char16_t* fold = nullptr;  // how a part of a cell folds its case (null: it does not)
    std::u16string folded;         // the search text so folded
    bool partImpossible = false;   // the search text holds a TAB, CR or LF: no field can hold it
    // The line filter's search units: for each of the folded text's first three
    // (fewer in a shorter text), the code units that fold to it, each written
    // eight times over for compares of eight units at once. `filterCount` is how
    // many are in use; 0 (no filter) when more than three units fold to one.
    alignas(16) char16_t filterUnits[3][3][8] = {};
    int filterCount = 0;
    // Whole cells: the search text's collation units and marks as the table
    // gives them; valid when `tableCovered`.
    CollationTable* table = nullptr;
    bool tableCovered = false;
    std::vector<std::uint64_t> units;
    std::vector<std::uint8_t> marks;
    // For each ASCII code unit, whether a field that begins with it differs from
    // the search text by its first collation unit alone; valid when `tableCovered`.
    bool differsFromItsStart[128] = {};
};

}  // namespace tq3
