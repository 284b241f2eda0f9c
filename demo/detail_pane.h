// CDetailPane: the view beside the table in the demo's frame. It shows the
// cursor's line of the displayed sheet, one row per column: the column's title
// and the cell's text. The frame hands it the line whenever the table's hooks
// report (a cursor move, a sheet change, a changed cell), and it draws in the
// table's font, so Japanese titles and a larger chosen font look alike in both.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/gdi/gdi_classes.h"

class CTableView;

namespace tq3::demo {

struct DetailRow {
    std::u16string title;  // the column's title
    std::u16string text;   // the cell's text as the table shows it
};

// The rows of `line` of `sheet`: every column's title and text. Empty when the
// sheet or the line does not exist.
std::vector<DetailRow> LineDetails(CTableView& view, int sheet, int line);

class CDetailPane : public CView {
public:
    CDetailPane() = default;

    // Shows `heading` (the sheet's name) above `rows`, repainting only on a change.
    void ShowLine(std::u16string heading, std::vector<DetailRow> rows);
    const std::u16string& Heading() const { return heading_; }
    const std::vector<DetailRow>& Rows() const { return rows_; }
    // The font the pane draws in, asked at every paint (null: the GUI font).
    void SetFontSource(std::function<CFont*()> source) { fontSource_ = std::move(source); }
    // The band row `row` is drawn in (-1: the heading), in client coordinates.
    CRect RowRect(int row);

    void OnDraw(CDC* pDC) override;

protected:
    // The pane only shows what the table's cursor points at: a click on it
    // leaves the table the active view, so the menu's keys still reach the cells.
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    // Selects the pane's font into `dc`; the old one, to put back.
    HGDIOBJ SelectFont(CDC& dc);
    int RowHeight();

    std::u16string heading_;
    std::vector<DetailRow> rows_;
    std::function<CFont*()> fontSource_;
};

}  // namespace tq3::demo
