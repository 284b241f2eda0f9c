// CDemoView: the demo's table view. It overrides the three hooks of the view and
// keeps what they reported: the current sheet, the cursor cell and the last
// changed cell. The frame shows them in its title, and a script can ask for the
// log of every report.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "view/table_view.h"

namespace tq3::demo {

// What the hooks reported so far; -1 where a hook has not spoken yet.
struct HookState {
    int sheet = -1;
    int cursorLine = -1;
    int cursorColumn = -1;
    int changedLine = -1;
    int changedColumn = -1;
};

class DemoUndoEntry;

// The View menu's Font... item: the font dialog for the cells and headers.
constexpr UINT kFontCommand = 0x8100;

class CDemoView : public CTableView {
public:
    CDemoView();
    // The view leaves the host's undo entries alone; the demo deletes its own.
    ~CDemoView() override;

    // Cut, paste and the commits of the cell editors are each recorded as one undo
    // entry (the old texts of the cells they changed); Undo is carried out here.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Restores the old texts of the newest entry and selects what it changed:
    // false when there is nothing to undo.
    bool UndoLast();
    int UndoCount() const { return static_cast<int>(undoBuffer.GetCount()); }

    void OnSheetChanged(int sheet) override;
    void OnCellChanged(int line, int column) override;
    void OnCursorMoved(int line, int column) override;

    const HookState& Hooks() const { return state_; }
    // Every report in order, as "sheet 2", "cursor 10 3", "changed 4 1"; taken by
    // the script's reports, which empty it.
    std::vector<std::string> TakeHookLog() { return std::move(log_); }
    // Called after each report, to refresh the status the user sees, and after
    // a change of font.
    void SetReportListener(std::function<void()> listener) { listener_ = std::move(listener); }
    // Called when the view's window is about to go, while its sheets are whole:
    // the view may go before its frame does (with a floating bar) or after it.
    void SetClosingListener(std::function<void()> listener) { closing_ = std::move(listener); }

    // The displayed sheet's selection (columns left..right, lines top..bottom) and
    // cursor cell as the sheet stores them; false without a displayed sheet.
    bool Selection(CRect* selection, CPoint* cursor) const;

protected:
    // The view's context menu asks the frame's command-state routing, as the menu
    // bar does, so its items are greyed alike.
    afx_msg LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    // The user's choice of font, stored for the next start by the view itself.
    afx_msg void OnViewFont();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void Report(std::string entry);
    // The cells a command may change, on the displayed sheet (columns left..right,
    // lines top..bottom, clipped to it); empty when it changes none.
    CRect AreaChangedBy(UINT nID, int nCode);
    // Keeps the old text of a cell a recorded command changed.
    void RecordChange(int line, int column);

    // The entry being filled while a recorded command runs, or null.
    std::unique_ptr<DemoUndoEntry> recording_;

    HookState state_;
    std::vector<std::string> log_;
    std::function<void()> listener_;
    std::function<void()> closing_;
};

}  // namespace tq3::demo
