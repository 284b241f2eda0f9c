/// \file
/// CColumnHeaderWnd, the column header strip of the table view, and its ids.
#pragma once

#include <vector>

#include "framework/app/wnd.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/offscreen_buffer.h"
#include "model/column_prop.h"

/// Control id of the strip within its view.
constexpr UINT kColumnHeaderId = 30002;
/// Resource id of the divider cursor (a vertical bar between a left and a right arrow).
constexpr UINT kDividerCursorId = 130;
/// Half the width of the zone around a column's right edge where the divider is caught.
constexpr int kDividerReach = 6;

/// The strip above the cell area with the titles of the selected
/// sheet's columns. It refers to the sheet's column records (the sheet owns them) and
/// keeps their geometry in the records themselves: a column's `extent` is its box in
/// header coordinates before horizontal scrolling.
///
/// The strip speaks the header control's language without being one: presses,
/// drags, divider drags and divider double-clicks reach the view as WM_NOTIFY
/// messages with an NMHEADERW record (id 30002). It never resizes a column while the
/// user drags; the view decides and calls SetColumnWidth.
class TQ3VIEW_API CColumnHeaderWnd : public CWnd {
    DECLARE_DYNAMIC(CColumnHeaderWnd)

public:
    CColumnHeaderWnd();
    ~CColumnHeaderWnd() override;

    /// Creates the strip as a visible child of `parent` with id 30002.
    BOOL Create(CWnd* parent);

    /// Forgets every column and the scroll offsets.
    void ResetColumns();
    /// The number of columns the strip shows.
    int GetColumnCount() const { return static_cast<int>(columns.size()); }
    /// The record at `position`, or null.
    CColumnProp* GetColumn(int position) const;
    /// Appends (returning the old count) when `position` is at least the count, or
    /// puts the record before the entry at `position` (returning `position`); -1 when
    /// memory runs out.
    int InsertColumn(int position, CColumnProp* column);
    /// Drops the reference at `position`; the record stays with its sheet.
    BOOL DeleteColumn(int position);
    /// The column's box, laying every column out from its title first when this one
    /// has never been laid out. FALSE (and a zeroed rect) for a position past the end.
    BOOL GetColumnRect(int position, RECT* rect);
    /// Gives one column a new width and moves the columns behind it.
    void SetColumnWidth(int position, int width);

    /// Hit tests in content coordinates (client x + scrollX), first match in column
    /// order; -1 when nothing is there. A column owns the x of its right edge, not
    /// that of its left edge; a divider reaches kDividerReach pixels either side.
    int ColumnAt(int contentX) const;
    /// The column whose right edge lies within kDividerReach pixels of
    /// `contentX` (content coordinates), or -1.
    int DividerAt(int contentX) const;

    std::vector<CColumnProp*> columns;  ///< the selected sheet's columns, in order (not owned)
    int scrollX = 0;                    ///< the view's horizontal scroll offset in pixels
    int paintedScrollX = 0;             ///< the offset the window's pixels were last scrolled to
    int pressState = 0;                 ///< 1 after a press, counting moves until the release
    CFont font;                         ///< the title font, made by the view
    int titleMargin = 0;                ///< pixels added to a title's width when laying out

    /// Whether the pointer shows the divider cursor: a drag along the strip with it
    /// resizes a column, with the arrow it selects columns.
    bool ShowsDivider() const;
    /// Puts the arrow back, as when a divider drag ends.
    void ShowArrow();

protected:
    /// WM_PAINT: draws the titles in `font`, each in its raised box, and the filler
    /// to the right edge, through an off-screen buffer.
    afx_msg void OnPaint();
    /// WM_ERASEBKGND: erases nothing, since painting covers the whole client area.
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    /// WM_SETCURSOR: leaves the cursor the last move chose.
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    /// WM_MOUSEMOVE: without a button, shows the divider cursor near a column's
    /// right edge and the arrow elsewhere; while a drag holds the mouse, sends
    /// HDN_TRACKW with the column under the pointer (arrow) or -1 (divider).
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    /// WM_LBUTTONDOWN: HDN_BEGINDRAG with the column under the pointer (arrow) or
    /// HDN_BEGINTRACKW with the divider's column (divider cursor), then captures
    /// the mouse.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    /// WM_LBUTTONUP: HDN_ITEMCLICKW for a press and release without a move, then
    /// HDN_ENDDRAG with the column under the pointer or HDN_ENDTRACKW with -1.
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    /// WM_LBUTTONDBLCLK: HDN_DIVIDERDBLCLICKW on a divider.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    /// WM_RBUTTONDOWN: HDN_ITEMCLICKW with button 1 (the right button) for the
    /// column under the pointer.
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    /// WM_HSCROLL, sent by the view after it changed `scrollX`: moves the pixels on
    /// screen and repaints what they uncovered.
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    /// WM_WINDOWPOSCHANGING: the whole strip is painted again.
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    /// WM_WINDOWPOSCHANGED: the whole strip is painted again.
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    /// WM_DESTROY: forgets the columns and gives the buffer and cursor back.
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
