// The find/replace dialog's requests to the view.
//
// The dialog keeps the search state (the current cell and the search area) and
// sends each request as a FindReplaceNotify record with WM_NOTIFY; the view
// searches with Find, replaces through SetCellText, moves the selection and the
// cursor, and answers in the record's line and column (-1 and -1: nothing more).
//
// OnNotify -> OnButtonFindNext | OnButtonFindReplace | OnButtonFindReplaceAll
//          -> ChooseSearchColumn (the dialog narrowed the search to one column)
// Each request makes one CellMatcher for its text and flags and searches with it
// through SearchFrom (Find from the record's cell) and StepPast (to the next cell
// of the area); the replacing ones build each new text with ReplaceInCell.
#include <algorithm>
#include <string_view>

#include "find/find_replace_dialog.h"
#include "find/table_view_find_matcher.h"
#include "framework/app/wait_cursor.h"
#include "text/field_scan.h"
#include "view/table_view.h"

namespace {

FindReplaceNotify& RequestOf(NMHDR* header) { return *reinterpret_cast<FindReplaceNotify*>(header); }

bool IsSingleCell(const CRect& r) { return r.left == r.right && r.top == r.bottom; }

// A request names cells only with its area and a text to look for; an empty
// text would find the cell it starts from again and again.
bool CanSearch(const FindReplaceNotify& request) {
    return request.area != nullptr && request.findText != nullptr && request.findText[0] != 0;
}

void FoundNothing(FindReplaceNotify& request) {
    request.line = request.column = -1;
    request.match = POINT{-1, -1};
}

// The next cell of the area after the request's one: the next column, or the
// area's first column on the next line.
void StepPast(FindReplaceNotify& request) {
    if (request.column >= request.area->right) {
        request.column = request.area->left;
        ++request.line;
    } else {
        ++request.column;
    }
}

// The text of field `column` of a line as GetCellText reads it, where it stands
// in the line: nothing is copied, so nothing can fail and be taken for an empty
// cell.
std::u16string_view StoredCellText(const CLineProp* line, int column) {
    if (line == nullptr || column < 0) return {};
    const tq3::FieldStart found = tq3::LocateField(line->text.GetString(), static_cast<std::size_t>(column));
    if (found.start == nullptr) return {};
    return std::u16string_view(found.start, static_cast<std::size_t>(tq3::FieldTextEnd(found.start) - found.start));
}

}  // namespace

BOOL CTableView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (pResult != nullptr) *pResult = 0;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == kFindReplaceRequest) {
        switch (HIWORD(RequestOf(header).flags)) {
            case HIWORD(kFindReplace):
                OnButtonFindReplace(header);
                break;
            case HIWORD(kFindReplaceAll):
                OnButtonFindReplaceAll(header);
                break;
            default:
                OnButtonFindNext(header);
                break;
        }
    }
    if (header->code == kFindColumnChosen && IsFindReplaceDlg(header->hwndFrom)) {
        ChooseSearchColumn(static_cast<int>(header->idFrom));
    }
    return CView::OnNotify(wParam, lParam, pResult);
}

bool CTableView::IsFindReplaceDlg(HWND window) const {
    return findReplaceDlg != nullptr && window != nullptr && findReplaceDlg->m_hWnd == window;
}

void CTableView::ChooseSearchColumn(int column) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    CRect selection = sheet->selection;
    selection.left = selection.right = column;
    SetSel(selection, CPoint(column, sheet->cursor.y));
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) RedrawNow(*this);
}

void CTableView::SearchFrom(FindReplaceNotify& request, tq3::CellMatcher& matcher, FoundCellUse use) {
    FindWith(matcher, selSheet, request.line, request.column, request.area, &request.match, use);
}

void CTableView::OnButtonFindNext(NMHDR* pNMHDR) {
    FindReplaceNotify& request = RequestOf(pNMHDR);
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    if (!CanSearch(request)) return FoundNothing(request);
    const bool singleCell = IsSingleCell(sheet->selection);
    tq3::CellMatcher matcher(request.findText, request.flags);
    StepPast(request);
    SearchFrom(request, matcher);
    if (request.line < 0) return;

    // The whole area stays selected with the cursor walking through it, unless the
    // area is the whole sheet or the user had one cell selected.
    const RECT& area = *request.area;
    const bool wholeSheet = area.left == 0 && area.right == sheet->GetColumnCount() - 1 &&
                            area.bottom == sheet->GetLineCount() - 1;
    const CPoint cursor(request.column, request.line);
    const CRect selection = singleCell || wholeSheet ? CRect(cursor, cursor) : CRect(area);
    SetSel(selection, cursor);
}

void CTableView::OnButtonFindReplace(NMHDR* pNMHDR) {
    FindReplaceNotify& request = RequestOf(pNMHDR);
    if (CurrentSheet() == nullptr) return;
    if (!CanSearch(request)) return FoundNothing(request);
    tq3::CellMatcher matcher(request.findText, request.flags);
    SearchFrom(request, matcher);
    if (request.line < 0) return;
    std::u16string text;
    ReplaceInCell(request, text);
    Invalidate(TRUE);

    StepPast(request);
    SearchFrom(request, matcher);
    // The cell's hook may have taken the sheet away.
    const CSheetObj* sheet = CurrentSheet();
    if (request.line < 0 || sheet == nullptr) return;
    const CPoint cursor(request.column, request.line);
    SetSel(IsSingleCell(sheet->selection) ? CRect(cursor, cursor) : sheet->selection, cursor);
}

void CTableView::OnButtonFindReplaceAll(NMHDR* pNMHDR) {
    FindReplaceNotify& request = RequestOf(pNMHDR);
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    if (!CanSearch(request)) return FoundNothing(request);
    CWaitCursor wait;
    RECT& area = *request.area;
    const CRect selection = sheet->selection;
    if (IsSingleCell(selection)) {
        request.line = 0;
        area.top = 0;
        area.bottom = sheet->GetLineCount() - 1;
    } else {
        request.line = std::min(selection.top, selection.bottom);
    }
    // The cells are painted once, at the end; the repaint runs however the loop
    // ends, so that cells replaced before a failure show their new texts.
    struct RepaintAtEnd {
        CWnd& view;
        ~RepaintAtEnd() {
            if (view.m_hWnd != nullptr && ::IsWindow(view.m_hWnd)) view.Invalidate(TRUE);
        }
    } repaint{*this};

    tq3::CellMatcher matcher(request.findText, request.flags);
    std::u16string text;
    SearchFrom(request, matcher, FoundCellUse::kRewrite);
    while (request.line >= 0 && request.line <= area.bottom) {
        ReplaceInCell(request, text);
        // The dialog searches one column; were the area wider, the next cell of
        // the line comes first, so that every round moves on.
        if (request.column >= area.right) {
            ++request.line;
        } else {
            ++request.column;
        }
        SearchFrom(request, matcher, FoundCellUse::kRewrite);
    }
}

void CTableView::ReplaceInCell(const FindReplaceNotify& request, std::u16string& text) {
    const std::u16string_view replacement = request.replaceText != nullptr ? request.replaceText : u"";
    // A whole cell that matched takes the replacement as it is.
    const bool wholeCell = (request.flags & kFindEntireCells) != 0;
    const std::u16string_view cell =
        wholeCell ? std::u16string_view() : StoredCellText(GetLineProp(selSheet, request.line), request.column);
    if (cell.empty()) {
        text.assign(replacement);
    } else {
        // Every occurrence, left to right, compared exactly: a cell found by a
        // search that ignored case may keep its text. The search stopped where the
        // text first occurs in the cell case aside, and no exact occurrence can
        // stand before that place.
        const std::u16string_view find = request.findText;
        const auto found = static_cast<std::size_t>(std::max(request.match.x, 0));
        const std::size_t first = found < cell.size() ? found : 0;
        text.clear();
        std::size_t from = 0;
        for (std::size_t at = cell.find(find, first); at != std::u16string_view::npos; at = cell.find(find, from)) {
            text.append(cell.substr(from, at - from));
            text.append(replacement);
            from = at + find.size();
        }
        text.append(cell.substr(from));
    }
    // A text the column's edit mode refuses leaves the cell as it was.
    SetCellText(selSheet, request.line, request.column, text.c_str());
}
