// CColumnHeaderWnd: the strip above the cell area with the titles of the selected
// sheet's columns. It refers to the sheet's column records (the sheet owns them) and
// keeps their geometry in the records themselves: a column's `extent` is its box in
// header coordinates before horizontal scrolling.
//
// The strip speaks the header control's language without being one: presses,
// drags, divider drags and divider double-clicks reach the view as WM_NOTIFY
// messages with an NMHEADERW record (id 30002). It never resizes a column while the
// user drags; the view decides and calls SetColumnWidth.
#pragma once

#include <vector>

#include "framework/app/wnd.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/offscreen_buffer.h"
#include "model/column_prop.h"

// Control id of the strip within its view.
constexpr UINT kColumnHeaderId = 30002;
// Resource id of the divider cursor (a vertical bar between a left and a right arrow).
constexpr UINT kDividerCursorId = 130;
// Half the width of the zone around a column's right edge where the divider is caught.
constexpr int kDividerReach = 6;

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

    // Hit tests in content coordinates (client x + scrollX), first match in column
    // order; -1 when nothing is there. A column owns the x of its right edge, not
    // that of its left edge; a divider reaches kDividerReach pixels either side.
    int ColumnAt(int contentX) const;
    int DividerAt(int contentX) const;

    std::vector<CColumnProp*> columns;  // the selected sheet's columns, in order (not owned)
    int scrollX = 0;                    // the view's horizontal scroll offset in pixels
    int paintedScrollX = 0;             // the offset the window's pixels were last scrolled to
    int pressState = 0;                 // 1 after a press, counting moves until the release
    CFont font;                         // the title font, made by the view
    int titleMargin = 0;                // pixels added to a title's width when laying out

    // Whether the pointer shows the divider cursor: a drag along the strip with it
    // resizes a column, with the arrow it selects columns.
    bool ShowsDivider() const;
    // Puts the arrow back, as when a divider drag ends.
    void ShowArrow();

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // CWnd's general Create stays private: the strip is created with the Create above, and a
    // call that would fall to the general form does not compile.
    using CWnd::Create;
    void LayOutFromTitles();
    void DrawColumns(CDC& dc, const CRect& client);
    // Sends the view one header notification from this strip.
    void Notify(UINT code, int item, int button = 0);
    bool HoldsCapture() const { return ::GetCapture() == m_hWnd; }
    bool ShowsArrow() const;
    void ShowDivider();

    HCURSOR arrowCursor = nullptr;    // the standard arrow
    HCURSOR dividerCursor = nullptr;  // resource 130, or the platform's west-east arrows without it
    bool ownsDividerCursor = false;   // the resource's cursor is this strip's to destroy
    tq3::fw::OffscreenBuffer buffer;  // the strip is painted through it, kept while the size stays
};
