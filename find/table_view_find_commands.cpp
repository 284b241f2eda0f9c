// The Find and Replace commands of CTableView: each opens the find/replace dialog
// on the displayed sheet, filled with the search area, the cursor cell, the
// column choices and the remembered texts, runs it, and stores the remembered
// texts again when it closes.
//
// Call flow: OnEditFind / OnEditReplace -> RunFindReplaceDialog -> FillFindDialog
// -> ReadFindReplaceHistory -> DoModal (the dialog's requests arrive meanwhile
// through OnNotify) -> WriteFindReplaceHistory -> OnCursorMoved when the cursor
// ended elsewhere.
#include <new>

#include "find/find_replace_dialog.h"
#include "settings/language.h"
#include "view/table_view.h"

namespace {

constexpr UINT kAllColumnsText = 30006;

// The view knows its dialog only while the dialog runs; whatever way the command
// is left, the pointer goes with it.
class DialogPointerScope {
public:
    DialogPointerScope(CFindReplaceDlg*& slot, CFindReplaceDlg* dialog) : slot_(slot) { slot_ = dialog; }
    ~DialogPointerScope() { slot_ = nullptr; }
    DialogPointerScope(const DialogPointerScope&) = delete;
    DialogPointerScope& operator=(const DialogPointerScope&) = delete;

private:
    CFindReplaceDlg*& slot_;
};

}  // namespace

void CTableView::OnEditFind() {
    if ((editFunctions & kEditFind) == 0) return;
    RunFindReplaceDialog(true);
}

void CTableView::OnEditReplace() {
    if ((editFunctions & kEditReplace) == 0) return;
    RunFindReplaceDialog(false);
}

void CTableView::FillFindDialog(CFindReplaceDlg& dialog, bool findOnly) {
    CSheetObj* sheet = CurrentSheet();
    // The search area is the selection in order; the sheet keeps it so, which is
    // what the requests compare the selection with.
    sheet->selection.NormalizeRect();
    dialog.findOnly = findOnly ? 1 : 0;
    dialog.area = sheet->selection;
    dialog.lineCount = sheet->GetLineCount();
    dialog.columnCount = sheet->GetColumnCount();
    dialog.line = sheet->cursor.y;
    dialog.column = sheet->cursor.x;
    dialog.findText = GetCellText(selSheet, sheet->cursor.y, sheet->cursor.x);
    if (findOnly) {
        CColumnProp all;
        all.title.LoadString(kAllColumnsText);
        all.index = kAllColumnsIndex;
        if (!dialog.AddColumnChoice(all)) throw std::bad_alloc();
    }
    for (int c = 0; c < dialog.columnCount; ++c) {
        if (CColumnProp* prop = GetColumnProp(selSheet, c); prop != nullptr && !dialog.AddColumnChoice(*prop)) {
            throw std::bad_alloc();
        }
    }
}

void CTableView::RunFindReplaceDialog(bool findOnly) {
    if (CurrentSheet() == nullptr || findReplaceDlg != nullptr) return;
    CPoint cursorBefore;
    {
        // The dialog's template and texts come from the library's language.
        CSwitchResource scope;
        SwitchToLanguageResources(scope);
        CFindReplaceDlg dialog(this);
        DialogPointerScope pointer(findReplaceDlg, &dialog);
        FillFindDialog(dialog, findOnly);
        cursorBefore = CPoint(dialog.column, dialog.line);
        ReadFindReplaceHistory(dialog.findHistory, dialog.replaceHistory);
        dialog.DoModal();
        scope.Restore();
        WriteFindReplaceHistory(dialog.findHistory, dialog.replaceHistory);
        dialog.findHistory.RemoveAll();
        dialog.replaceHistory.RemoveAll();
    }
    // The host hears where the search left the cursor, with its own resources.
    CRect selection;
    CPoint cursor;
    GetSel(selection, cursor);
    if (CurrentSheet() != nullptr && cursor != cursorBefore) {
        CSwitchAppRes appResources;
        OnCursorMoved(cursor.y, cursor.x);
    }
}
