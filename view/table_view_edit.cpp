// In-cell editing of CTableView: which editor a cell gets, placing and filling
// it, and ending the edit with a commit to the cursor column of every selected
// line, or without one.
//
// An edit is the time an editor holds the focus. It ends when the editor loses
// it; the key that made it lose it (`lastKey`, kept by the editor, or set to
// Enter by a click in the view) decides whether the text is written. Scrolling,
// resizing, a sheet change or a sheet removed hide the editor, which ends the
// edit with no key and so without a commit.
//
// Call order: ShowCellEditCtrl (from view/table_view_keys.cpp and
// view/table_view_mouse.cpp) -> the editor has the focus; the editor's focus loss
// -> EN_KILLFOCUS -> OnEditCellKillfocus -> CommitLines -> SetCellText, then the
// move (view/table_view_cursor.cpp); CBN_KILLFOCUS -> OnComboCellKillfocus ->
// the move, then CommitLines; CBN_SELENDOK -> OnComboCellSelendok ->
// CommitLines; CBN_DROPDOWN -> OnComboDropDown.
#include <algorithm>
#include <new>

#include "framework/app/window_dc.h"
#include "view/table_view.h"

namespace {

bool Down(int vk) { return GetKeyState(vk) < 0; }
bool DownNow(int vk) { return GetAsyncKeyState(vk) < 0; }

// The text of the list's current entry; empty without one.
CString CurrentChoice(const CCellCombo& combo) {
    CString text;
    const int current = combo.GetCurSel();
    if (current != CB_ERR) combo.GetLBText(current, text);
    return text;
}

// The key that ended an edit, and forgotten so that it cannot end another.
MSG TakeEndingKey(MSG& lastKey) {
    const MSG key = lastKey;
    lastKey = MSG{};
    return key;
}

}  // namespace

// ============================================================================
// The editors' life
// ============================================================================

BOOL CTableView::CreateEditors() {
    // Each editor draws in its own copy of the cell font.
    LOGFONTW font{};
    int points = 0;
    GetLogFont(&font, points);
    font.lfHeight = std::min(pointSize, 7200);
    if (cellEdit.font.m_hObject == nullptr) cellEdit.font.CreatePointFontIndirect(&font);
    if (cellCombo.font.m_hObject == nullptr) cellCombo.font.CreatePointFontIndirect(&font);
    const CRect none(0, 0, 0, 0);
    if (!cellEdit.Create(WS_CHILD | ES_AUTOHSCROLL, none, this, kCellEditId)) return FALSE;
    return cellCombo.Create(WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, none, this, kCellComboId);
}

void CTableView::HideEditors() {
    if (cellEdit.m_hWnd != nullptr && cellEdit.IsWindowVisible()) cellEdit.ShowWindow(SW_HIDE);
    if (cellCombo.m_hWnd != nullptr && cellCombo.IsWindowVisible()) cellCombo.ShowWindow(SW_HIDE);
}

// ============================================================================
// Opening
// ============================================================================

void CTableView::ShowCellEditCtrl(int line, int column, BOOL arrowsMoveCaret) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr || column < 0) return;
    const CColumnProp* prop = sheet->GetColumn(column);
    // A line the sheet lacks has no cell to edit (a cursor the host put there).
    if (prop == nullptr || line < 0 || line >= sheet->GetLineCount()) return;
    if (cellEdit.m_hWnd == nullptr || cellCombo.m_hWnd == nullptr) return;
    const CRect cell = GetCellRect(line, column);
    const CString text = GetCellText(selSheet, line, column);

    if (!prop->IsListColumn()) {
        cellEdit.textMode = prop->IsNumericColumn() ? 0 : 1;
        cellEdit.digits = prop->digits;
        cellEdit.decimals = prop->decimals;
        // A column without a limit of its own keeps the one an earlier cell set.
        if (prop->maxLength >= 0) cellEdit.SetLimitText(static_cast<UINT>(prop->maxLength));
        cellEdit.arrowsMoveCaret = arrowsMoveCaret;
        cellEdit.SetEditText(text);
        cellEdit.startText = text;
        cellEdit.MoveWindow(cell.left, cell.top, cell.Width(), cell.Height());
        cellEdit.ShowWindow(SW_SHOW);
        cellEdit.SetFocus();
        return;
    }

    cellCombo.ResetContent();
    cellCombo.SetWindowText(text);
    for (const CString& choice : prop->listStrings) cellCombo.AddString(choice);
    // A text that is none of the choices shows the first one.
    int current = cellCombo.FindStringExact(-1, text);
    if (current == CB_ERR) current = 0;
    cellCombo.SetCurSel(current);
    cellCombo.startIndex = current;
    // The height beyond the field's is the room of the dropped list.
    cellCombo.MoveWindow(cell.left, cell.top, cell.Width(), cell.Height() + 100);
    cellCombo.ShowWindow(SW_SHOW);
    cellCombo.SetFocus();
}

// ============================================================================
// Writing the text
// ============================================================================

// A commit that runs out of memory stops at the line it reached: the lines
// before it hold the new text, that line and the ones after it their old one
// (SetCellText replaces a line's text in one step or not at all), and the view
// is painted again from what is stored.
void CTableView::CommitLines(int from, int to, int column, LPCWSTR text) {
    // Lines the sheet lacks would refuse the text anyway; a selection the host
    // stretched far past them must not cost a call for each.
    const CSheetObj* sheet = CurrentSheet();
    const int lines = sheet != nullptr ? sheet->GetLineCount() : 0;
    if (lines == 0) return;
    from = std::clamp(from, 0, lines - 1);
    to = std::clamp(to, 0, lines - 1);
    const int step = from <= to ? 1 : -1;
    try {
        for (int line = from;; line += step) {
            SetCellText(selSheet, line, column, text);
            if (line == to) break;
        }
    } catch (const std::bad_alloc&) {
    }
    if (m_hWnd != nullptr) Invalidate(TRUE);
}

// ============================================================================
// Ending the edit box
// ============================================================================

void CTableView::OnEditCellKillfocus() {
    // The focus comes back to the view, unless the user took it to another
    // top-level window (another application's, or a dialog's).
    const HWND focus = ::GetFocus();
    if (focus == nullptr || ::GetAncestor(focus, GA_ROOT) == ::GetAncestor(m_hWnd, GA_ROOT)) SetFocus();
    CWaitCursor wait;
    const MSG key = TakeEndingKey(cellEdit.lastKey);
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr || key.message != WM_KEYDOWN) return;
    const WPARAM vk = key.wParam;
    if (vk != VK_TAB && vk != VK_RETURN && vk != VK_LEFT && vk != VK_UP && vk != VK_RIGHT && vk != VK_DOWN) return;

    CString text;
    cellEdit.GetWindowText(text);
    CommitLines(sheet->selection.top, sheet->selection.bottom, sheet->cursor.x, text);
    // The hooks are the host's; the sheet may be gone once they return.
    if (CurrentSheet() != sheet) return;
    switch (vk) {
    case VK_TAB:
        if (DownNow(VK_SHIFT)) {
            OnKeyLeftArrow(FALSE);
        } else {
            OnKeyRightArrow(FALSE);
        }
        break;
    case VK_RETURN: OnKeyReturn(Down(VK_SHIFT) ? TRUE : FALSE); break;
    case VK_LEFT: OnKeyLeftArrow(FALSE); break;
    case VK_UP: OnKeyUpArrow(FALSE); break;
    case VK_RIGHT: OnKeyRightArrow(FALSE); break;
    default: OnKeyDownArrow(FALSE); break;
    }
}

// ============================================================================
// Ending the drop-down list
// ============================================================================

void CTableView::OnComboCellKillfocus() {
    const MSG key = TakeEndingKey(cellCombo.lastKey);
    if (key.message != WM_KEYDOWN) return;
    const BOOL shift = Down(VK_SHIFT) ? TRUE : FALSE;
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    // The lines and the column are taken before the key moves the cursor.
    const CRect& s = sheet->selection;
    int first = std::min(s.top, s.bottom);
    int last = std::max(s.top, s.bottom);
    const int column = sheet->cursor.x;
    CString text;
    switch (key.wParam) {
    case VK_TAB:
        if (DownNow(VK_SHIFT)) {
            OnKeyLeftArrow(FALSE);
        } else {
            OnKeyRightArrow(FALSE);
        }
        text = CurrentChoice(cellCombo);
        break;
    case VK_RETURN:
        text = CurrentChoice(cellCombo);
        OnKeyReturn(shift);
        break;
    case VK_ESCAPE:
        // Escape gives the cursor cell back the value it had when the list
        // opened; the other selected lines keep theirs, as with the edit box.
        if (cellCombo.startIndex >= 0) cellCombo.GetLBText(cellCombo.startIndex, text);
        first = last = sheet->cursor.y;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        if (key.wParam == VK_LEFT) {
            OnKeyLeftArrow(FALSE);
        } else {
            OnKeyRightArrow(FALSE);
        }
        text = CurrentChoice(cellCombo);
        break;
    default: return;
    }
    SetFocus();
    if (CurrentSheet() != sheet || sheet->selection.top > sheet->selection.bottom) return;
    CWaitCursor wait;
    CommitLines(first, last, column, text);
}

void CTableView::OnComboCellSelendok() {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    // A list dropped by a key (F4, Alt+Down) or stepped through with Up and Down
    // keeps that key: a pick with the mouse then only closes the list, and Enter
    // or a click in the view writes the entry picked.
    const MSG& key = cellCombo.lastKey;
    if (key.message == WM_KEYDOWN && key.wParam != VK_RETURN && key.wParam != VK_LEFT && key.wParam != VK_RIGHT) {
        return;
    }
    SetFocus();
    const int current = cellCombo.GetCurSel();
    if (current == CB_ERR || CurrentSheet() != sheet) return;
    CString text;
    cellCombo.GetLBText(current, text);
    CWaitCursor wait;
    CommitLines(sheet->selection.top, sheet->selection.bottom, sheet->cursor.x, text);
}

void CTableView::OnComboDropDown() {
    int widest = 0;
    CClientDC dc(&cellCombo);
    CFont* old = dc.SelectObject(&cellFont);
    const int count = cellCombo.GetCount();
    for (int i = 0; i < count; ++i) {
        CString text;
        cellCombo.GetLBText(i, text);
        widest = std::max(widest, static_cast<int>(dc.GetTextExtent(text).cx));
    }
    dc.SelectObject(old);
    cellCombo.SetDroppedWidth(static_cast<UINT>(std::max(widest + 20, 20)));
}
