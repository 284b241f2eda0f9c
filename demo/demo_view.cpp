#include "demo/demo_view.h"

namespace tq3::demo {

void CDemoView::OnSheetChanged(int sheet) {
    // The library's implementation performs the switch (and reports the cursor of
    // the new sheet through OnCursorMoved), so the sheet is recorded first.
    state_.sheet = sheet;
    Report("sheet " + std::to_string(sheet));
    CTableView::OnSheetChanged(sheet);
}

void CDemoView::OnCellChanged(int line, int column) {
    state_.changedLine = line;
    state_.changedColumn = column;
    RecordChange(line, column);
    Report("changed " + std::to_string(line) + " " + std::to_string(column));
}

void CDemoView::OnCursorMoved(int line, int column) {
    state_.cursorLine = line;
    state_.cursorColumn = column;
    Report("cursor " + std::to_string(line) + " " + std::to_string(column));
}

bool CDemoView::Selection(CRect* selection, CPoint* cursor) const {
    CSheetObj* sheet = GetSheetObj(GetSelSheet());
    if (sheet == nullptr) return false;
    *selection = sheet->selection;
    *cursor = sheet->cursor;
    return true;
}

void CDemoView::OnViewFont() {
    ChangeDrawingElements();
    if (listener_) listener_();
}

void CDemoView::OnDestroy() {
    if (closing_) {
        // Once: the listener may hold what goes with the window.
        std::function<void()> closing = std::move(closing_);
        closing_ = nullptr;
        closing();
    }
    CTableView::OnDestroy();
}

void CDemoView::Report(std::string entry) {
    log_.push_back(std::move(entry));
    if (listener_) listener_();
}

}  // namespace tq3::demo
