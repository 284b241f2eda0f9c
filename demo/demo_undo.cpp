// The demo's undo: how a host is meant to use the view's undo buffer. The view
// only counts the entries (the Undo command's state) and deletes them on request;
// the host makes them and carries them out.
//
// Before a command that may change cells runs, the texts of every cell it could
// touch are read; the cell-changed hook then names the cells it really changed
// (and a comparison afterwards those written without the hook), and only those
// keep their old texts in the entry. Undo writes them back.
#include <algorithm>

#include "demo/demo_view.h"
#include "framework/app/frame_wnd.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/edit.h"
#include "text/clipboard_text.h"

namespace tq3::demo {

namespace {

// The newest entries kept; older ones are dropped.
constexpr INT_PTR kMostUndoEntries = 100;

CRect Normalised(const CRect& r) {
    return CRect(std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                 std::max(r.top, r.bottom));
}

}  // namespace

// One undoable step: the cells it changed with their texts before it, in the order
// they changed, and the selection and cursor before it.
class DemoUndoEntry : public CObject {
public:
    struct Cell {
        int line;
        int column;
        CString oldText;
    };
    int sheet = -1;
    CRect selection;
    CPoint cursor;
    std::vector<Cell> cells;

    // While recording: the texts of the area the command may change, and which of
    // its cells are recorded already.
    CRect area;
    std::vector<CString> before;
    std::vector<bool> recorded;
    // The index of a cell in `before`, or -1 outside the area.
    long Index(int line, int column) const {
        if (line < area.top || line > area.bottom || column < area.left || column > area.right) return -1;
        return (line - area.top) * (area.Width() + 1) + (column - area.left);
    }
    void Record(int line, int column) {
        const long index = Index(line, column);
        // A cell outside the area read beforehand has no known old text: it is left out.
        if (index < 0 || recorded[static_cast<size_t>(index)]) return;
        recorded[static_cast<size_t>(index)] = true;
        cells.push_back({line, column, before[static_cast<size_t>(index)]});
    }
};

BEGIN_MESSAGE_MAP(CDemoView, CTableView)
ON_MESSAGE(WM_INITMENUPOPUP, &CDemoView::OnInitMenuPopup)
ON_COMMAND(kFontCommand, &CDemoView::OnViewFont)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CDemoView::CDemoView() = default;

LRESULT CDemoView::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    if (CFrameWnd* frame = GetParentFrame()) return frame->SendMessage(WM_INITMENUPOPUP, wParam, lParam);
    return Default();
}
CDemoView::~CDemoView() { RemoveUndoBuffer(); }

CRect CDemoView::AreaChangedBy(UINT nID, int nCode) {
    const int sheet = GetSelSheet();
    CSheetObj* sheetObj = GetSheetObj(sheet);
    const CRect none(0, 0, -1, -1);
    if (sheetObj == nullptr) return none;
    const CRect sel = Normalised(sheetObj->selection);
    CRect area = none;
    const bool editCommit = (nCode == EN_KILLFOCUS && ::IsWindow(GetCellEdit().m_hWnd) &&
                             static_cast<int>(nID) == GetCellEdit().GetDlgCtrlID()) ||
                            ((nCode == CBN_KILLFOCUS || nCode == CBN_SELENDOK) && ::IsWindow(GetCellCombo().m_hWnd) &&
                             static_cast<int>(nID) == GetCellCombo().GetDlgCtrlID());
    if (editCommit) {
        // An editor writes its text into the cursor column of every selected line.
        const CPoint cursor = sheetObj->cursor;
        area = CRect(cursor.x, std::min<int>(sel.top, cursor.y), cursor.x, std::max<int>(sel.bottom, cursor.y));
    } else if (nCode == CN_COMMAND && nID == ID_EDIT_CUT) {
        area = sel;
    } else if (nCode == CN_COMMAND && nID == ID_EDIT_PASTE) {
        // The pasted block starts at the selection's top left corner and repeats as
        // often as the selection holds it.
        CString text;
        int lines = 0, columns = 0, down = 0, across = 0;
        if (GetClipboardText(m_hWnd, text) == 0 || IsEnableToPaste(text, lines, columns, down, across) == 0) {
            return none;
        }
        area = CRect(sel.left, sel.top, sel.left + std::max(columns * across, 1) - 1,
                     sel.top + std::max(lines * down, 1) - 1);
    } else {
        return none;
    }
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, GetColumnCount(sheet) - 1);
    area.bottom = std::min<LONG>(area.bottom, GetLineCount(sheet) - 1);
    return area;
}

BOOL CDemoView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // A question for a handler (pHandlerInfo) and a state update run no command.
    if (pHandlerInfo != nullptr || nCode == CN_UPDATE_COMMAND_UI) {
        return CTableView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    if (nCode == CN_COMMAND && nID == ID_EDIT_UNDO) {
        // The library's own handler does nothing: undo is the host's to carry out.
        UndoLast();
        return TRUE;
    }
    // A commit nested in a recorded command (a paste ending an edit) joins its entry.
    const CRect area = recording_ == nullptr ? AreaChangedBy(nID, nCode) : CRect(0, 0, -1, -1);
    if (area.right < area.left || area.bottom < area.top) {
        return CTableView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

    auto entry = std::make_unique<DemoUndoEntry>();
    const int sheet = GetSelSheet();
    entry->sheet = sheet;
    GetSel(entry->selection, entry->cursor);
    entry->area = area;
    entry->before.reserve(static_cast<size_t>(area.Width() + 1) * static_cast<size_t>(area.Height() + 1));
    for (int line = area.top; line <= area.bottom; ++line) {
        for (int column = area.left; column <= area.right; ++column) {
            entry->before.push_back(GetCellText(sheet, line, column));
        }
    }
    entry->recorded.assign(entry->before.size(), false);
    recording_ = std::move(entry);
    const BOOL handled = CTableView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    entry = std::move(recording_);
    // A cut empties whole lines' fields in one step, which the cell-changed hook
    // does not hear of: the area is compared with what it held, so that every
    // changed cell is in the entry however it was written.
    if (GetSelSheet() == entry->sheet) {
        size_t index = 0;
        for (int line = area.top; line <= area.bottom; ++line) {
            for (int column = area.left; column <= area.right; ++column, ++index) {
                if (!entry->recorded[index] && GetCellText(sheet, line, column) != entry->before[index]) {
                    entry->Record(line, column);
                }
            }
        }
    }
    entry->recorded.clear();
    entry->before.clear();
    entry->before.shrink_to_fit();
    if (!entry->cells.empty()) {
        undoBuffer.AddTail(entry.release());
        while (undoBuffer.GetCount() > kMostUndoEntries) delete undoBuffer.RemoveHead();
    }
    return handled;
}

void CDemoView::RecordChange(int line, int column) {
    if (recording_ != nullptr && recording_->sheet == GetSelSheet()) recording_->Record(line, column);
}

bool CDemoView::UndoLast() {
    if (undoBuffer.IsEmpty()) return false;
    std::unique_ptr<DemoUndoEntry> entry(static_cast<DemoUndoEntry*>(undoBuffer.RemoveTail()));
    if (entry == nullptr) return false;
    if (GetSelSheet() != entry->sheet) SetSelSheet(entry->sheet);
    // Newest first, so a cell changed twice ends with the text it had at the start.
    for (auto cell = entry->cells.rbegin(); cell != entry->cells.rend(); ++cell) {
        SetCellText(entry->sheet, cell->line, cell->column, cell->oldText);
    }
    if (GetSelSheet() == entry->sheet) SetSel(entry->selection, entry->cursor);
    Invalidate(TRUE);
    return true;
}

}  // namespace tq3::demo
