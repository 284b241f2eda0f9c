// The edit commands' state, the view's context menu and its undo buffer.
//
// The commands reach the view by their standard ids through command routing: from
// the host's menus and accelerators and from the context menu, which the view
// loads from its language's resources and trims to the commands the host allows.
#include "framework/menus/menu.h"
#include "framework/system/resources.h"
#include "settings/language.h"
#include "framework/system/clipboard.h"
#include "view/table_view.h"

IMPLEMENT_DYNAMIC(CUndoList, CObList)

namespace {

constexpr UINT kContextMenuId = 104;

// The edit-function mask's bits and the commands whose items they keep.
constexpr struct {
    DWORD bit;
    UINT command;
} kMaskedCommands[] = {
    {kEditCopy, ID_EDIT_COPY},       {kEditCut, ID_EDIT_CUT},   {kEditPaste, ID_EDIT_PASTE},
    {kEditClear, ID_EDIT_CLEAR},     {kEditFind, ID_EDIT_FIND}, {kEditReplace, ID_EDIT_REPLACE},
    {kEditUndo, ID_EDIT_UNDO},
};

// Whether the clipboard holds text that GetClipboardText would return: it opens
// for `owner` and its CF_UNICODETEXT block starts with a character other than the
// terminating zero. Only that character is read, so asking costs the same for a
// clipboard holding a hundred megabytes.
bool ClipboardHoldsText(HWND owner) {
    if (!::OpenClipboard(owner)) return false;
    bool holds = false;
    if (HANDLE block = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const WCHAR*>(::GlobalLock(block))) {
            holds = ::GlobalSize(block) >= sizeof(WCHAR) && units[0] != 0;
            ::GlobalUnlock(block);
        }
    }
    ::CloseClipboard();
    return holds;
}

}  // namespace

// ---- Command state ----------------------------------------------------------------

// Copy and cut are always available: their state handlers leave the item alone,
// and the framework enables a command that has a handler.
void CTableView::OnUpdateEditCopy(CCmdUI* /*pCmdUI*/) {}
void CTableView::OnUpdateEditCut(CCmdUI* /*pCmdUI*/) {}

// The state is asked for before every command the view is sent and whenever a
// menu opens, so it looks at the clipboard's first character rather than copying
// its text, which may run to a hundred megabytes.
void CTableView::OnUpdateEditPaste(CCmdUI* pCmdUI) { pCmdUI->Enable(ClipboardHoldsText(m_hWnd)); }

void CTableView::OnUpdateEditFind(CCmdUI* pCmdUI) {
    const CSheetObj* sheet = CurrentSheet();
    pCmdUI->Enable(sheet != nullptr && sheet->GetLineCount() > 0);
}

void CTableView::OnUpdateEditUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(!undoBuffer.IsEmpty()); }

// ---- Undo buffer --------------------------------------------------------------------

void CTableView::OnEditUndo() {}

int CTableView::RemoveUndoBuffer() {
    const INT_PTR count = undoBuffer.GetCount();
    for (INT_PTR i = 0; i < count; ++i) {
        if (undoBuffer.IsEmpty()) return 0;
        CObject* entry = undoBuffer.RemoveTail();
        if (entry == nullptr) return 0;
        delete entry;
    }
    return 1;
}

// ---- Context menu -------------------------------------------------------------------

void CTableView::OnContextMenu(CWnd* /*pWnd*/, CPoint point) {
    if (CurrentSheet() == nullptr) return;
    SetFocus();  // ends an edit in place
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();

    // Only a menu asked for with the mouse where the pointer still is: one asked for
    // from the keyboard, or after the pointer moved on, goes its default way.
    POINT pointer{};
    ::GetCursorPos(&pointer);
    if (pointer.x != point.x || pointer.y != point.y) {
        Default();
        return;
    }
    CPoint client = point;
    ScreenToClient(&client);
    int line = -1, column = -1;
    if (!PointToCellPos(client, line, column)) return;
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;

    // A click outside the selection moves it, and the cursor, to the clicked cell.
    const CRect& s = sheet->selection;
    const bool inside = column >= std::min(s.left, s.right) && column <= std::max(s.left, s.right) &&
                        line >= std::min(s.top, s.bottom) && line <= std::max(s.top, s.bottom);
    if (!inside) SetSel(CRect(column, line, column, line), CPoint(column, line));
    TrackContextMenu(point);
}

void CTableView::TrackContextMenu(CPoint point) {
    HMENU menu = nullptr;
    {
        CSwitchResource scope;
        SwitchToLanguageResources(scope);
        const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(kContextMenuId), RT_MENU);
        if (module != nullptr) menu = ::LoadMenuW(module, MAKEINTRESOURCEW(kContextMenuId));
    }
    if (menu == nullptr) return;
    HMENU popup = ::GetSubMenu(menu, 0);
    if (popup != nullptr) {
        if ((editFunctions & kEditPaste) != 0 && !ClipboardHoldsText(m_hWnd)) {
            ::EnableMenuItem(popup, ID_EDIT_PASTE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
        }
        for (const auto& item : kMaskedCommands) {
            if ((editFunctions & item.bit) == 0) ::RemoveMenu(popup, item.command, MF_BYCOMMAND);
        }
        while (::GetMenuItemCount(popup) > 0 && ::GetMenuItemID(popup, 0) == 0) ::RemoveMenu(popup, 0, MF_BYPOSITION);
        // The view owns the menu, so the chosen command is routed to its handlers.
        ::TrackPopupMenu(popup, 0, point.x, point.y, 0, m_hWnd, nullptr);
    }
    ::DestroyMenu(menu);
}
