// CDemoView: the demo's table view. It overrides the three hooks of the view and
// keeps what they reported: the current sheet, the cursor cell and the last
// changed cell. The frame shows them in its title, and a script can ask for the
// log of every report.
#pragma once

#include <functional>
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

class CDemoView : public CTableView {
public:
    CDemoView() = default;

    void OnSheetChanged(int sheet) override;
    void OnCellChanged(int line, int column) override;
    void OnCursorMoved(int line, int column) override;

    const HookState& Hooks() const { return state_; }
    // Every report in order, as "sheet 2", "cursor 10 3", "changed 4 1"; taken by
    // the script's reports, which empty it.
    std::vector<std::string> TakeHookLog() { return std::move(log_); }
    // Called after each report, to refresh the status the user sees.
    void SetReportListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // The displayed sheet's selection (columns left..right, lines top..bottom) and
    // cursor cell as the sheet stores them; false without a displayed sheet.
    bool Selection(CRect* selection, CPoint* cursor) const;

private:
    void Report(std::string entry);

    HookState state_;
    std::vector<std::string> log_;
    std::function<void()> listener_;
};

}  // namespace tq3::demo
