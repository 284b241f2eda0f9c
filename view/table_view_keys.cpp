// The keyboard of a CTableView: navigation keys, the sheet switch with
// Ctrl+Page Up/Down, and the keys that start editing the cursor cell.
//
// The keys are taken in PreTranslateMessage, before TranslateMessage makes
// characters of them, and only when they are addressed to the view itself (an
// editor or a strip holding the focus keeps its keys). A key the view does not
// take goes on to the framework, and so to the accelerators of the host's frame:
// Ctrl+C stays a command while Ctrl with a punctuation key is typed into a cell.
//
// Call order: PreTranslateMessage -> TakeKey -> OnKey... (view/table_view_cursor.cpp);
// F2 -> OnLButtonDblClk (view/table_view_mouse.cpp) -> ShowCellEditCtrl; a
// typing key -> EnsureVisible, ShowCellEditCtrl (view/table_view_edit.cpp), the
// key posted to the editor.
#include <new>

#include "view/table_view.h"

namespace {

bool Down(int vk) { return GetKeyState(vk) < 0; }
bool Toggled(int vk) { return (GetKeyState(vk) & 0x01) != 0; }

}  // namespace

BOOL CTableView::PreTranslateMessage(MSG* pMsg) {
    if (pMsg == nullptr || m_hWnd == nullptr || pMsg->message != WM_KEYDOWN || pMsg->hwnd != m_hWnd) {
        return CView::PreTranslateMessage(pMsg);
    }
    // The keys are handled here, outside any window procedure, so this is where
    // running out of memory stops: what was stored stays, and the view is painted
    // again from it.
    try {
        return TakeKey(pMsg);
    } catch (const std::bad_alloc&) {
        if (::IsWindow(m_hWnd)) Invalidate(FALSE);
        return TRUE;
    }
}

BOOL CTableView::TakeKey(MSG* pMsg) {
    const BOOL shift = Down(VK_SHIFT) ? TRUE : FALSE;
    const bool ctrl = Down(VK_CONTROL);
    const UINT vk = static_cast<UINT>(pMsg->wParam);
    switch (vk) {
    case VK_TAB:
        if (shift) {
            OnKeyLeftArrow(FALSE);
        } else {
            OnKeyRightArrow(FALSE);
        }
        return TRUE;
    case VK_RETURN:
        OnKeyReturn(shift);
        // The cursor moved inside the selection, which repaints the view: paint
        // it now rather than after the next keys.
        if (const CSheetObj* sheet = CurrentSheet(); sheet != nullptr && ::IsWindow(m_hWnd)) {
            CRgn region;
            CalcInvertRgn(region, sheet->selection, sheet->cursor);
            RedrawWindow(nullptr, &region, RDW_ERASE | RDW_UPDATENOW);
        }
        return TRUE;
    case VK_PRIOR:
        if (!ctrl) {
            OnKeyPageUp(shift);
            return TRUE;
        }
        if (sheetTab.GetCurSel() >= 1) sheetTab.SetCurSel(sheetTab.GetCurSel() - 1);
        // The host's frame may have a use for the key too.
        return CView::PreTranslateMessage(pMsg);
    case VK_NEXT:
        if (!ctrl) {
            OnKeyPageDown(shift);
            return TRUE;
        }
        if (sheetTab.GetCurSel() + 1 < sheetTab.GetItemCount()) sheetTab.SetCurSel(sheetTab.GetCurSel() + 1);
        return CView::PreTranslateMessage(pMsg);
    case VK_END: OnKeyEnd(shift); return TRUE;
    case VK_HOME: OnKeyHome(shift); return TRUE;
    case VK_LEFT: OnKeyLeftArrow(shift); return TRUE;
    case VK_UP: OnKeyUpArrow(shift); return TRUE;
    case VK_RIGHT: OnKeyRightArrow(shift); return TRUE;
    case VK_DOWN: OnKeyDownArrow(shift); return TRUE;
    case VK_F2: {
        // As a double click in the middle of the cursor cell. A cursor the host
        // placed outside the sheet has no cell, and the middle of an empty
        // rectangle would name whatever cell lies at the client's origin: F2 then
        // does nothing.
        const CSheetObj* sheet = CurrentSheet();
        if (sheet == nullptr || sheet->cursor.x < 0) return TRUE;
        const CRect cell = GetCellRect(sheet->cursor.y, sheet->cursor.x);
        if (cell.IsRectEmpty() || sheet->cursor.y < 0) return TRUE;
        OnLButtonDblClk(0, CPoint((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
        return TRUE;
    }
    default: break;
    }
    const CSheetObj* sheet = CurrentSheet();
    if (sheet != nullptr && sheet->cursor.x >= 0 && IsTypingKey(*sheet, vk)) {
        const CPoint cursor = sheet->cursor;
        EnsureVisible(cursor.y, cursor.x);
        ShowCellEditCtrl(cursor.y, cursor.x, FALSE);
        // The key becomes the editor's first input: it replaces the edit box's
        // selected text, or picks the list's first entry starting with it.
        if (cellEdit.m_hWnd != nullptr && cellEdit.IsWindowVisible()) {
            cellEdit.PostMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
        }
        if (cellCombo.m_hWnd != nullptr && cellCombo.IsWindowVisible()) {
            cellCombo.PostMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
        }
        return TRUE;
    }
    return CView::PreTranslateMessage(pMsg);
}

bool CTableView::IsTypingKey(const CSheetObj& sheet, UINT vk) const {
    const bool numLock = Toggled(VK_NUMLOCK);
    const bool typing = (vk >= 0x30 && vk <= 0x5A && !Down(VK_CONTROL))  // digits and letters, not Ctrl+letter
                        || (vk >= 0x60 && vk <= 0x6F && numLock)          // the numeric keypad
                        || (vk >= 0xB0 && vk <= 0xEF)                     // punctuation, also with Ctrl
                        || vk == VK_SPACE;
    if (!typing) return false;
    const CColumnProp* column = sheet.GetColumn(sheet.cursor.x);
    if (column == nullptr || !column->IsNumericColumn()) return true;
    // A number starts with a digit or a minus sign. With NumLock off the keypad
    // keys are not typing keys anyway, and any other key is left to the number
    // editor's own filter.
    return (vk >= '0' && vk <= '9') || (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) || vk == VK_OEM_MINUS ||
           vk == VK_SUBTRACT || !numLock;
}
