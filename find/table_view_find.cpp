// CTableView::Find: the search over the cells of one sheet.
//
// Find -> RangeFor (the lines and columns to walk) -> SearchLines, which hands
// each line's text as it is stored to the CellMatcher
// (find/table_view_find_matcher.h): no line is copied.
#include <algorithm>
#include <climits>
#include <new>
#include <string_view>

#include "find/table_view_find_matcher.h"
#include "text/field_scan.h"
#include "view/table_view.h"

namespace {

// The cells a search walks: lines firstLine..lastLine, columns firstColumn..
// lastColumn, starting at (startLine, startColumn).
struct SearchRange {
    int startLine = 0;
    int startColumn = 0;
    int firstLine = 0;
    int lastLine = -1;
    int firstColumn = 0;
    int lastColumn = -1;
};

int FieldCount(const CString& text) {
    return static_cast<int>(std::min<std::size_t>(tq3::MeasureRecord(text.GetString()).fields, INT_MAX));
}

// The range from the request's area, or without one from the start line to the
// sheet's end over the fields of the start line. Lines the sheet does not have
// hold no cells: the last line is never past the sheet's last one.
SearchRange RangeFor(const CSheetObj& sheet, int line, int column, const RECT* area) {
    SearchRange range;
    range.startLine = line;
    range.startColumn = column;
    const int lastSheetLine = sheet.GetLineCount() - 1;
    if (area != nullptr) {
        range.firstColumn = std::max(0, static_cast<int>(area->left));
        range.firstLine = std::max(0, static_cast<int>(area->top));
        range.lastColumn = std::max(0, static_cast<int>(area->right));
        range.lastLine = std::min(std::max(0, static_cast<int>(area->bottom)), lastSheetLine);
        return range;
    }
    // A start line the sheet does not have leaves nothing to search.
    const CLineProp* first = line >= 0 ? sheet.GetLine(line) : nullptr;
    if (first == nullptr) return range;
    range.firstLine = line;
    range.lastLine = lastSheetLine;
    range.lastColumn = FieldCount(first->text) - 1;
    return range;
}

// Asks for the rest of a line's text, whose start was asked for earlier: its
// length, in front of it, has come in by now. Only the first kilobyte: lines
// are shorter than that as a rule, and asking for all of a very long line that
// may not match would cost more than reading it in order when it does.
void PrefetchRestOf(const CString& text) {
    constexpr std::size_t kMostBytes = 1024;
    const auto* start = reinterpret_cast<const char*>(text.GetString());
    const char* end = start + std::min(static_cast<std::size_t>(text.GetLength()) * sizeof(WCHAR), kMostBytes);
    for (const char* p = start + 64; p < end; p += 64) __builtin_prefetch(p);
}

// Walks the range; true with (`line`, `column`) on the first cell that matches.
// `wholeTexts`: the caller reads the whole line of each cell found.
bool SearchLines(const CSheetObj& sheet, const SearchRange& range, tq3::CellMatcher& matcher, bool wholeTexts,
                 int& line, int& column, tq3::CellMatch& match) {
    if (range.startLine < range.firstLine) return false;
    for (int l = range.startLine; l <= range.lastLine; ++l) {
        const CLineProp* record = sheet.GetLine(l);
        if (record == nullptr) continue;
        // The lines' records and texts lie scattered over the heap, and a line
        // is scanned in a fraction of the time its text takes to arrive from
        // memory. So the walk asks for records 32 lines ahead and for texts 16
        // ahead (whose records came in by then): many fetches are under way at
        // once. The distance matters most to Replace All, which starts a walk
        // after each match: only lines fetched before the match are ready when
        // the next walk begins, and with four lines ahead a million-line
        // Replace All took three times as long on a machine with slow memory.
        if (l + 32 <= range.lastLine) __builtin_prefetch(sheet.GetLine(l + 32));
        if (l + 16 <= range.lastLine) __builtin_prefetch(sheet.GetLine(l + 16)->text.GetString());
        // A replacement reads the whole line of the cell it changes, to store the
        // new text where the old one stood, and misses the cache on each of its
        // parts the search did not read. So a walk for replacing asks for whole
        // lines, the rest of each 8 lines ahead; that took a third to a half off
        // a million-line Replace All. A search alone asks for starts only: it
        // reads the rest of a line only when searching the line's later fields,
        // and then in order, which the processor fetches ahead by itself.
        if (wholeTexts && l + 8 <= range.lastLine) PrefetchRestOf(sheet.GetLine(l + 8)->text);
        const int from = l == range.startLine ? range.startColumn : range.firstColumn;
        // A line without text is one empty field.
        const CString& text = record->text;
        const int found = matcher.FindInLine(text.GetString(), static_cast<std::size_t>(text.GetLength()),
                                             std::max(from, 0), range.lastColumn, match);
        if (found >= 0) {
            line = l;
            column = found;
            return true;
        }
    }
    return false;
}

}  // namespace

void CTableView::Find(int& sheet, int& line, int& column, LPCWSTR text, DWORD flags, RECT* area, POINT* match) {
    if (text == nullptr) {
        line = column = -1;
        return;
    }
    if (text[0] == 0) {
        if (match != nullptr) *match = POINT{0, 0};
        return;
    }
    try {
        tq3::CellMatcher matcher(text, flags);
        FindWith(matcher, sheet, line, column, area, match);
    } catch (const std::bad_alloc&) {
        // Without memory to compare with, nothing is found.
        line = column = -1;
        if (match != nullptr) *match = POINT{-1, -1};
    }
}

void CTableView::FindWith(tq3::CellMatcher& matcher, int sheet, int& line, int& column, const RECT* area,
                          POINT* match, FoundCellUse use) {
    const int startLine = line;
    const int startColumn = column;
    line = column = -1;
    if (match != nullptr) *match = POINT{-1, -1};
    const CSheetObj* sheetObj = GetSheetObj(sheet);
    if (sheetObj == nullptr) return;

    const SearchRange range = RangeFor(*sheetObj, startLine, startColumn, area);
    try {
        tq3::CellMatch found;
        int foundLine = -1;
        int foundColumn = -1;
        const bool wholeTexts = use == FoundCellUse::kRewrite;
        if (!SearchLines(*sheetObj, range, matcher, wholeTexts, foundLine, foundColumn, found)) return;
        line = foundLine;
        column = foundColumn;
        if (match != nullptr) *match = POINT{found.x, found.y};
    } catch (const std::bad_alloc&) {
        // A comparison without memory finds nothing.
    }
}
