// Blocks of cells through the clipboard. Copy puts the selected block on the
// clipboard as tab-separated text, one record per line, each ended by CR LF; cut
// does the same and then empties the block; paste checks clipboard text against
// the selection and the columns' edit modes, asks where the check finds a doubtful
// case, and writes the block as often as it fits into the selection.
#include <algorithm>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/locale.h"
#include "framework/core/unit_scan.h"
#include "framework/window/winuser.h"
#include "settings/language.h"
#include "text/clipboard_text.h"
#include "text/tab_text.h"
#include "view/table_view.h"

namespace {

constexpr UINT kCannotPaste = 30008;
constexpr UINT kShapeDiffers = 30009;
constexpr UINT kFormatDiffers = 30010;
constexpr UINT kInvalidCharacters = 30011;
constexpr UINT kErrorOk = MB_ICONHAND | MB_OK;
constexpr UINT kQuestion = MB_ICONEXCLAMATION | MB_YESNO;

CRect Normalised(CRect r) {
    r.NormalizeRect();
    return r;
}

bool IsDigit(WCHAR c) { return c >= u'0' && c <= u'9'; }
bool EndsField(WCHAR c) { return c == u'\t' || c == u'\r' || c == u'\n' || c == 0; }

// Writes at `out` + `at` the cells `first` to `last` of the stored line text
// `line` as a copy gives them, moving `at` past them. A field runs from its TAB to
// the next TAB, and a CR or LF inside it ends its text. A line lacking a field of a
// range adds nothing; a line lacking the one field of a single column adds its
// CR LF alone. Never more than the line's length and 2.
void AppendCopiedLine(const WCHAR* line, int length, int first, int last, WCHAR* out, size_t& at) {
    const WCHAR* const end = line + length;
    const size_t mark = at;
    const WCHAR* p = line;
    for (int field = 0; field < first; ++field) {
        p = std::find(p, end, u'\t');
        if (p == end) {
            if (first == last) out[at++] = u'\r', out[at++] = u'\n';
            return;
        }
        ++p;
    }
    for (int field = first;; ++field) {
        const WCHAR* stop = p;
        while (stop != end && !EndsField(*stop)) ++stop;
        at = static_cast<size_t>(std::copy(p, stop, out + at) - out);
        if (field == last) break;
        p = std::find(stop, end, u'\t');
        if (p == end) {
            at = mark;
            return;
        }
        ++p;
        out[at++] = u'\t';
    }
    out[at++] = u'\r';
    out[at++] = u'\n';
}

// What a clipboard field looks like, from its first two characters: number-like
// (2) or text-like (1), and whether its first character is to be found among a
// list column's strings.
struct FieldKind {
    int fieldClass;
    bool listCheck;
};

FieldKind Classify(const WCHAR* field, int length) {
    const WCHAR first = length > 0 ? field[0] : 0;
    const WCHAR second = length > 1 ? field[1] : 0;
    if (first == u'-' || first == u'.') return {IsDigit(second) ? 2 : 1, false};
    if (IsDigit(first)) return second == u':' ? FieldKind{1, true} : FieldKind{2, false};
    return {1, true};
}

// Which field classes a column takes: numbers (2), texts (1), both (3); nothing (0)
// for a column the sheet lacks.
int ColumnAccepts(const CColumnProp* column) {
    if (column == nullptr) return 0;
    if (column->numeric == 1) return 2;
    if (!column->listStrings.empty()) return 1;
    return 3;
}

// The length in code units of the first character of a text: 0 when empty, 2 for
// a surrogate pair, 1 otherwise (a lone surrogate too).
int FirstCharacterUnits(const WCHAR* text, int length) {
    if (length == 0) return 0;
    if (length > 1 && text[0] >= 0xD800 && text[0] < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000) return 2;
    return 1;
}

bool IsAsciiAlnum(WCHAR c) { return IsDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
WCHAR AsciiUpper(WCHAR c) { return c >= u'a' && c <= u'z' ? static_cast<WCHAR>(c - 32) : c; }

// Whether a list string starting with `b` (`units` code units) could take a field
// starting with `a`: the user's locale compares them ignoring case, accents and
// symbols. Plain letters and digits, by far the usual first characters, compare
// without the collator, which gives the same answer for them.
bool SameInitial(const WCHAR* a, const WCHAR* b, int units) {
    if (units == 0) return true;
    if (units == 1 && IsAsciiAlnum(a[0]) && IsAsciiAlnum(b[0])) return AsciiUpper(a[0]) == AsciiUpper(b[0]);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS, a, units,
                          b, units) == CSTR_EQUAL;
}

// Whether a field matches a list column: the first list string, in order, whose
// initial compares equal to the field's takes it; the search gives up at the first
// string whose initial is of another length in code units than the field's.
bool MatchesList(const CColumnProp& column, const WCHAR* field, int length) {
    const int units = FirstCharacterUnits(field, length);
    for (const CString& item : column.listStrings) {
        const WCHAR* text = item.GetString();
        if (FirstCharacterUnits(text, item.GetLength()) != units) return false;
        if (SameInitial(field, text, units)) return true;
    }
    return false;
}

// A line [from, to) of a block put down with its first field in column `base` of
// `sheet`: 0 when every field suits its column, -3 at a field no string of its
// list column takes (whatever came before it on the line), -2 when a field does
// not suit. Unless the answer is -3, `fields` (when given) receives the line's
// number of fields.
int CheckPlacedLine(const CSheetObj& sheet, const WCHAR* from, const WCHAR* to, long long base,
                    int* fields = nullptr) {
    const int columnCount = sheet.GetColumnCount();
    bool fits = true;
    const WCHAR* field = from;
    for (long long column = base;; ++column) {
        const WCHAR* stop = tq3::fw::FindUnit(field, to, u'\t');
        const int length = static_cast<int>(stop - field);
        const FieldKind kind = Classify(field, length);
        const CColumnProp* prop = column < columnCount ? sheet.GetColumn(static_cast<int>(column)) : nullptr;
        if (kind.listCheck && prop != nullptr && prop->numeric != 1 && !prop->listStrings.empty() &&
            !MatchesList(*prop, field, length)) {
            return -3;
        }
        if ((kind.fieldClass & ColumnAccepts(prop)) == 0) fits = false;
        if (stop == to) {
            if (fields != nullptr) *fields = static_cast<int>(column - base) + 1;
            break;
        }
        field = stop + 1;
    }
    return fits ? 0 : -2;
}

// The lines of clipboard text as the paste check reads them: split at CR, LF and
// CR LF. Once as many lines as the sheet has are split off, what remains makes one
// more line, up to its next line break. Walking allocates nothing.
class LineWalker {
public:
    LineWalker(const WCHAR* begin, const WCHAR* end, int limit) : p_(begin), end_(end), limit_(limit) {}
    bool Next(const WCHAR*& from, const WCHAR*& to) {
        if (done_ || p_ == end_) return false;
        // The first touch of each line of a large block: read eight units at a time.
        const WCHAR* stop = tq3::fw::FindEitherUnit(p_, end_, u'\r', u'\n');
        from = p_;
        to = stop;
        if (stop == end_ || ++count_ > limit_) {
            done_ = true;
        } else {
            p_ = stop + ((stop[0] == u'\r' && stop + 1 != end_ && stop[1] == u'\n') ? 2 : 1);
        }
        return true;
    }

private:
    const WCHAR* p_;
    const WCHAR* end_;
    int limit_;
    int count_ = 0;
    bool done_ = false;
};

// The record of the writer's text that starts at `p`: it ends at a CR LF (a CR
// alone stays inside it) and is copied into `record`, each field's TAB turned
// into its end and a CR or LF inside a field ending the field's text, with
// `fields` pointing at the fields' starts. Returns where the record ends.
const WCHAR* SplitRecord(const WCHAR* p, const WCHAR* end, std::vector<WCHAR>& record,
                         std::vector<const WCHAR*>& fields) {
    const WCHAR* stop = tq3::fw::FindUnit(p, end, u'\r');
    while (stop != end && !(stop + 1 != end && stop[1] == u'\n')) stop = tq3::fw::FindUnit(stop + 1, end, u'\r');
    record.assign(p, stop);
    record.push_back(0);
    fields.assign(1, record.data());
    const WCHAR* const recordEnd = record.data() + (stop - p);
    for (const WCHAR* at = tq3::fw::FindAnyUnit(record.data(), recordEnd, u'\t', u'\r', u'\n'); at != recordEnd;
         at = tq3::fw::FindAnyUnit(at + 1, recordEnd, u'\t', u'\r', u'\n')) {
        const std::size_t place = static_cast<std::size_t>(at - record.data());
        if (*at == u'\t') fields.push_back(record.data() + place + 1);
        record[place] = 0;
    }
    return stop;
}

}  // namespace

// ---- Copy and cut ------------------------------------------------------------------

bool CTableView::InCellEditorShown() const {
    for (HWND editor : {cellEdit.m_hWnd, cellCombo.m_hWnd}) {
        if (editor != nullptr && ::IsWindowVisible(editor)) return true;
    }
    return false;
}

bool CTableView::CopySelectionText(CString& text) const {
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return false;
    const CRect sel = Normalised(sheet->selection);
    const bool oneColumn = sel.left == sel.right;
    // A line the sheet lacks reads as an empty text: it adds its CR LF alone to a
    // single column and nothing to a range, so a range skips such lines.
    const int lineCount = sheet->GetLineCount();
    const long long top = oneColumn ? sel.top : std::max(sel.top, 0);
    const long long bottom = oneColumn ? sel.bottom : std::min(sel.bottom, lineCount - 1);
    // The text is written straight into the string, sized once: no line gives more
    // than its own text and a CR LF.
    long long room = bottom >= top ? 2 * (bottom - top + 1) : 0;
    if (room > CString::kMaxLength) return false;
    for (long long line = std::max(top, 0LL); line <= bottom && line < lineCount; ++line) {
        room += sheet->GetLine(static_cast<int>(line))->text.GetLength();
        if (room > CString::kMaxLength) return false;
    }
    try {
        WCHAR* out = text.GetBuffer(static_cast<int>(room));
        size_t at = 0;
        for (long long line = top; line <= bottom; ++line) {
            const bool stored = line >= 0 && line < lineCount;
            if (sel.left < 0 || !stored) {
                // No line has a negative field; a missing line has an empty field 0.
                if (oneColumn) out[at++] = u'\r', out[at++] = u'\n';
                continue;
            }
            const CString& lineText = sheet->GetLine(static_cast<int>(line))->text;
            AppendCopiedLine(lineText.GetString(), lineText.GetLength(), sel.left, sel.right, out, at);
        }
        text.ReleaseBuffer(static_cast<int>(at));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CTableView::CopySelection() {
    if ((editFunctions & kEditCopy) == 0 || InCellEditorShown() || CurrentSheet() == nullptr) return true;
    CString text;
    if (!CopySelectionText(text)) return false;
    SetClipboardText(m_hWnd, text);
    return true;
}

void CTableView::OnEditCopy() { CopySelection(); }

void CTableView::OnEditCut() {
    if ((editFunctions & kEditCut) == 0 || CurrentSheet() == nullptr) return;
    CWaitCursor wait;
    // A copy that ran out of memory puts nothing on the clipboard, and emptying the
    // cells then would lose their texts: the cut stops.
    if (!CopySelection()) return;
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const CRect sel = Normalised(sheet->selection);
    if (sel.left >= 0) {
        try {
            // (right - left + 1) empty fields.
            std::u16string parts(static_cast<size_t>(sel.right - sel.left), u'\t');
            parts += u"\r\n";
            std::vector<WCHAR> buffer;
            for (int line = std::max(sel.top, 0); line <= sel.bottom && line < sheet->GetLineCount(); ++line) {
                CLineProp* l = sheet->GetLine(line);
                const int length = l->text.GetLength();
                buffer.assign(static_cast<size_t>(length) + parts.size() + 10, 0);
                std::copy(l->text.GetString(), l->text.GetString() + length, buffer.begin());
                if (SetPartsOfTabSeparatedString(buffer.data(), parts.c_str(), sel.left) < 0) continue;
                SetTabbedString(selSheet, line, buffer.data());
            }
        } catch (const std::bad_alloc&) {
            // The lines emptied so far stay empty; the others keep their texts.
        }
    }
    Invalidate(TRUE);
}

// ---- Paste ------------------------------------------------------------------------

// The check's field classes and column classes are kept per field as each line is
// walked rather than in tables indexed by column, so no column number is out of
// reach: a field landing past the sheet's last column, at whatever number, meets a
// column that takes nothing and makes the block not fit, and a sheet of any width
// is checked whole.
int CTableView::IsEnableToPaste(const CString& text, int& blockLines, int& blockColumns, int& timesDown,
                                int& timesAcross) {
    blockLines = blockColumns = timesDown = timesAcross = 0;
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return 0;
    const CRect sel = Normalised(sheet->selection);
    const int lineCount = sheet->GetLineCount();
    const int columnCount = sheet->GetColumnCount();
    if (sel.left < 0 || sel.left >= columnCount || sel.top < 0 || sel.bottom >= lineCount) return 0;

    const WCHAR* const begin = text.GetString();
    const WCHAR* const end = begin + text.GetLength();
    // The lines are counted and the first block across checked in the same walk, so
    // a large text is read from memory once for both; the first line that fails
    // gives the verdict, as a check after the count would find it.
    int verdict = 0;
    LineWalker walk(begin, end, lineCount);
    for (const WCHAR *from, *to; walk.Next(from, to);) {
        ++blockLines;
        // The check counts the fields as it goes; once it has spoken they are counted alone.
        int fields = 0;
        if (verdict == 0) verdict = CheckPlacedLine(*sheet, from, to, sel.left, &fields);
        if (fields == 0) fields = static_cast<int>(std::count(from, to, u'\t')) + 1;
        blockColumns = std::max(blockColumns, fields);
    }
    if (blockLines == 0) return 0;  // no text: nothing to check against

    const int selLines = sel.bottom - sel.top + 1;
    const int selColumns = sel.right - sel.left + 1;
    timesDown = std::max(selLines / blockLines, 1);
    timesAcross = std::max(selColumns / blockColumns, 1);

    // A block lands in the same columns on every repetition down, so each
    // repetition across is checked once.
    for (int a = 1; verdict == 0 && a < timesAcross; ++a) {
        const long long base = static_cast<long long>(sel.left) + static_cast<long long>(a) * blockColumns;
        LineWalker block(begin, end, lineCount);
        for (const WCHAR *from, *to; verdict == 0 && block.Next(from, to);) {
            verdict = CheckPlacedLine(*sheet, from, to, base);
        }
    }
    if (verdict == -2) timesDown = timesAcross = 0;
    if (verdict != 0) return verdict;
    if (selLines > 1 && selLines % blockLines != 0) return -1;
    if (selColumns > 1 && selColumns % blockColumns != 0) return -1;
    return 1;
}

int CTableView::PasteString(CString text, CRect area) {
    if (CurrentSheet() == nullptr || text.IsEmpty()) return 0;
    const int sheetIndex = selSheet;
    const int firstColumn = std::min(area.left, area.right);
    int line = std::min(area.top, area.bottom);
    const WCHAR* const begin = text.GetString();
    const WCHAR* const end = begin + text.GetLength();
    try {
        std::vector<WCHAR> record;
        std::vector<const WCHAR*> fields;
        for (const WCHAR* p = begin; p != end;) {
            // The host's hook may change the sheet under the paste: it is read anew
            // for every record.
            const CSheetObj* sheet = GetSheetObj(sheetIndex);
            if (sheet == nullptr) return 0;
            if (line >= sheet->GetLineCount()) break;
            // A large block's lines are far from the cache: the next line's text and
            // the record of the one after are asked for now, so that memory fetches
            // them while this line is written.
            if (const CLineProp* next = sheet->GetLine(line + 1)) __builtin_prefetch(next->text.GetString());
            __builtin_prefetch(sheet->GetLine(line + 2));

            const WCHAR* const stop = SplitRecord(p, end, record, fields);

            if (line >= 0) {
                for (size_t k = 0; k < fields.size(); ++k) {
                    const long long column = static_cast<long long>(firstColumn) + static_cast<long long>(k);
                    if (column < 0) continue;
                    if (column >= GetColumnCount(sheetIndex)) break;
                    const CColumnProp* prop = GetColumnProp(sheetIndex, static_cast<int>(column));
                    if (prop->numeric == 1 && prop->decimals == 0 &&
                        std::char_traits<char16_t>::find(fields[k], std::char_traits<char16_t>::length(fields[k]),
                                                         u'.') != nullptr) {
                        MessageBeep(0xFFFFFFFF);
                        return 0;
                    }
                    SetCellText(sheetIndex, line, static_cast<int>(column), fields[k]);
                }
            }
            ++line;
            p = stop == end ? end : stop + 2;
        }
    } catch (const std::bad_alloc&) {
        // Every cell written so far is whole (SetCellText stores a text in one step);
        // the paste goes no further.
        return 0;
    }
    return 1;
}

void CTableView::OnEditPaste() {
    if ((editFunctions & kEditPaste) == 0 || CurrentSheet() == nullptr) return;
    const CRect oldSel = CurrentSheet()->selection;
    const CPoint oldCursor = CurrentSheet()->cursor;
    CWaitCursor wait;

    CString text;
    if (!GetClipboardText(m_hWnd, text)) return;
    int blockLines = 0, blockColumns = 0, timesDown = 0, timesAcross = 0;
    switch (IsEnableToPaste(text, blockLines, blockColumns, timesDown, timesAcross)) {
        case 1:
            break;
        case 0:
            VALMExMessageBox(kCannotPaste, kErrorOk, nullptr);
            return;
        case -1:
            if (VALMExMessageBox(kShapeDiffers, kQuestion, nullptr) != IDYES) return;
            break;
        case -2:
            VALMExMessageBox(kFormatDiffers, kErrorOk, nullptr);
            return;
        default:
            if (VALMExMessageBox(kInvalidCharacters, kQuestion, nullptr) != IDYES) return;
            break;
    }

    // The message box ran the host's messages: the sheet is taken again.
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const CRect sel = Normalised(sheet->selection);
    for (int d = 0; d < timesDown; ++d) {
        for (int a = 0; a < timesAcross; ++a) {
            const CRect area(sel.left + a * blockColumns, sel.top + d * blockLines, sel.left + a * blockColumns,
                             sel.top + d * blockLines);
            // The last block takes the text itself: a copy of a large text costs
            // as much as reading it from the clipboard.
            const bool last = d == timesDown - 1 && a == timesAcross - 1;
            if (PasteString(last ? std::move(text) : text, area) == 0) return;
        }
    }
    sheet = CurrentSheet();
    if (sheet == nullptr) return;
    // The pasted area, not clipped to the sheet; the cursor stays where it was.
    CRect pasted(sel.left, sel.top, sel.left + blockColumns * timesAcross - 1, sel.top + blockLines * timesDown - 1);
    sheet->selection = pasted;
    CPoint cursor = sheet->cursor;
    CRect before = oldSel;
    CPoint cursorBefore = oldCursor;
    DrawCursor(&pasted, &cursor, &before, &cursorBefore);
    Invalidate(TRUE);
}
