// CColumnHeaderWnd: the strip above the cell area with the titles of the selected
// sheet's columns. It refers to the sheet's column records (the sheet owns them) and
// keeps their geometry in the records themselves: a column's `extent` is its box in
// header coordinates before horizontal scrolling.
#pragma once

#include <vector>

#include "framework/app/wnd.h"
#include "framework/gdi/gdi_classes.h"
#include "model/column_prop.h"

// Control id of the strip within its view.
constexpr UINT kColumnHeaderId = 30002;

class TQ3VIEW_API CColumnHeaderWnd : public CWnd {
    DECLARE_DYNAMIC(CColumnHeaderWnd)

public:
    CColumnHeaderWnd();
    ~CColumnHeaderWnd() override;

    // Creates the strip as a visible child of `parent` with id 30002.
    BOOL Create(CWnd* parent);

    // Forgets every column and the scroll offsets.
    void ResetColumns();
    int GetColumnCount() const { return static_cast<int>(columns.size()); }
    // The record at `position`, or null.
    CColumnProp* GetColumn(int position) const;
    // Appends (returning the old count) when `position` is at least the count, or
    // puts the record before the entry at `position` (returning `position`); -1 when
    // memory runs out.
    int InsertColumn(int position, CColumnProp* column);
    // Drops the reference at `position`; the record stays with its sheet.
    BOOL DeleteColumn(int position);
    // The column's box, laying every column out from its title first when this one
    // has never been laid out. FALSE (and a zeroed rect) for a position past the end.
    BOOL GetColumnRect(int position, RECT* rect);
    // Gives one column a new width and moves the columns behind it.
    void SetColumnWidth(int position, int width);

    std::vector<CColumnProp*> columns;  // the selected sheet's columns, in order (not owned)
    int scrollX = 0;                    // the view's horizontal scroll offset in pixels
    int paintedScrollX = 0;             // the offset the window's pixels were last scrolled to
    int pressState = 0;                 // 1 after a press, counting moves until the release
    CFont font;                         // the title font, made by the view
    int titleMargin = 0;                // pixels added to a title's width when laying out

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void LayOutFromTitles();
};
