/// \file
/// CSheetTabWnd, the strip of sheet tabs of the table view, and its ids.
#pragma once

#include <vector>

#include "framework/app/wnd.h"
#include "framework/core/cstring.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/offscreen_buffer.h"
#include "framework/gdi/image_list.h"
#include "headers/arrow_button.h"

/// Control id of the strip within its view.
constexpr UINT kSheetTabId = 30003;
constexpr UINT kFirstTabArrowId = 1017;     ///< control id of the arrow button to the first tab
constexpr UINT kPreviousTabArrowId = 1018;  ///< control id of the arrow button back by one tab
constexpr UINT kNextTabArrowId = 1019;      ///< control id of the arrow button on by one tab
constexpr UINT kLastTabArrowId = 1020;      ///< control id of the arrow button to the last tab
/// Bitmap resource with the four 14 x 14 arrow images side by side.
constexpr UINT kTabArrowsBitmapId = 139;
/// Pixels at the right end of the strip that never count as room for tabs.
constexpr int kTabRowReserve = 100;

/// The strip of sheet tabs along the bottom of a table view, one tab
/// per sheet. It keeps its own copy of the sheet names (the view inserts and deletes
/// tabs together with sheets) and the current tab; making a tab current tells the
/// view through WM_NOTIFY / TCN_SELCHANGE, and the view switches sheets from there.
///
/// Geometry, with h the tab height and A = 4 h + 1 the room of the four arrow
/// buttons at the left end: tab i's box runs from L(i) to R(i) = L(i) + w(i) + 2 h
/// (w the label's width), with L(0) = A and L(i + 1) = R(i) + 1; its shape is the
/// trapezoid wide along the top edge and narrower by h/2 at each end of the bottom.
/// The row is scrolled by `scrollPos` pixels; what falls left of A hides behind the
/// arrows, and the rightmost 100 pixels of the strip are not room for tabs.
class TQ3VIEW_API CSheetTabWnd : public CWnd {
    DECLARE_DYNAMIC(CSheetTabWnd)

public:
    /// The four arrow buttons, in their order from the left.
    enum Arrow { kFirst = 0, kPrevious = 1, kNext = 2, kLast = 3 };

    CSheetTabWnd();
    ~CSheetTabWnd() override;

    /// Creates the strip as a visible child of `parent` with id 30003.
    virtual BOOL Create(CWnd* parent);

    /// Puts a tab before tab `index`, or appends it when `index` equals the count.
    /// Returns the count before the insertion (0 for the first tab, which becomes
    /// current); -1 for a negative index or one past the count, or when memory runs out.
    int InsertItem(int index, LPCWSTR name);
    /// Removes tab `index` (1), or does nothing (0). The current tab is not adjusted.
    int DeleteItem(int index);
    /// Removes every tab; the current tab becomes 0.
    void DeleteAllItems();
    /// The number of tabs.
    int GetItemCount() const { return static_cast<int>(names.size()); }
    /// The label of tab `index`; empty for an invalid index.
    CString GetItemText(int index) const;
    /// The current tab; -1 before the first tab is inserted.
    int GetCurSel() const { return curSel; }
    /// Makes tab `index` current and notifies the parent (also when it already was);
    /// returns the previous current tab, or -1 when `index` is not less than the count.
    int SetCurSel(int index);
    /// The box of tab `index` before scrolling (empty for an invalid index).
    CRect GetItemRect(int index) const;
    /// Replaces `region` with the shape of tab `index` (1), or 0 for an invalid index.
    int GetItemRgn(int index, CRgn& region) const;

    /// The room of the arrow buttons, A = 4 h + 1.
    int ArrowAreaWidth() const { return 4 * tabHeight + 1; }
    /// T: the width of the whole tab row, every tab with the pixel after it.
    int TotalWidth() const;
    /// M(W): the largest scroll offset for a strip `width` pixels wide (the client
    /// width when negative). Below 1 the tabs fit.
    int MaxScroll(int width = -1) const;
    /// The arrow button `arrow`, for the view and for tests.
    CArrowButton& ArrowButton(Arrow arrow) { return arrows[arrow]; }

    int curSel = -1;              ///< the current tab; 0 once the first tab is inserted
    int scrollPos = 0;            ///< pixels of the tab row hidden to the left
    std::vector<CString> names;   ///< the tab labels, in tab order
    CArrowButton arrows[4];       ///< first, previous, next, last (ids 1017..1020)
    CImageList images;            ///< the four arrow images from bitmap 139
    CFont font;                   ///< the tab font: the view's cell font at 9 points
    int tabHeight = 0;            ///< height of the tabs and side of the arrow buttons

protected:
    /// WM_CREATE: makes the four arrow buttons with their icons from bitmap 139;
    /// -1 (no strip) when a button cannot be made.
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    /// WM_PAINT: the strip's face and top line, and the part of the row of tabs
    /// that shows beside the arrows, the current tab in the window colour.
    afx_msg void OnPaint();
    /// WM_ERASEBKGND: erases nothing, since painting covers the whole client area.
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    /// WM_LBUTTONDOWN: makes the tab whose shape holds the point current
    /// (SetCurSel, which notifies the view).
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    /// WM_LBUTTONUP: gives the focus back to the view.
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    /// WM_WINDOWPOSCHANGING: fits the scroll offset and the arrows' state to the
    /// new width.
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    /// WM_WINDOWPOSCHANGED: fits the scroll offset and the arrows' state to the
    /// width.
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    /// WM_DESTROY: forgets the tabs and gives the buffer back.
    afx_msg void OnDestroy();
    /// The first arrow: scrolls the row to its start.
    afx_msg void OnFirstArrow();
    /// The previous arrow: shows the tab cut by the left edge whole, or the one
    /// before the first tab shown.
    afx_msg void OnPreviousArrow();
    /// The next arrow: scrolls the tab after the first one shown to the left edge.
    afx_msg void OnNextArrow();
    /// The last arrow: scrolls the row to its end.
    afx_msg void OnLastArrow();
    DECLARE_MESSAGE_MAP()

private:
    // CWnd's general Create stays private: the strip is created with the Create above, and a
    // call that would fall to the general form does not compile.
    using CWnd::Create;
    // The boxes of all tabs (label widths measured in `font`); empty when memory runs out.
    std::vector<CRect> TabBoxes() const;
    // Makes `shape` the trapezoid of a tab box; false when the region cannot be made.
    bool MakeTabShape(const CRect& box, CRgn& shape) const;
    // M for a row `total` pixels wide in a strip `width` pixels wide (the client
    // width when negative).
    int MaxScrollOf(int total, int width = -1) const;
    // The tab whose box holds the row's left edge (scrollPos + A, 1), or -1.
    int TabAtLeftEdge(const std::vector<CRect>& boxes) const;
    void LoadArrowImages();
    void FitToWidth(int width, int currentWidth);
    void PlaceArrows();
    // First and Previous scroll back, Next and Last forward: each pair is enabled
    // together.
    void EnableArrows(bool back, bool forward);
    void DrawRow(CDC& dc, const std::vector<CRect>& boxes, int rowWidth);
    void DrawTab(CDC& dc, const CRect& box, int index, CBrush& current, CBrush& other);
    void AfterArrowScroll();
    void GiveFocusToView();

    // Measures the labels when the names or the font changed; false when memory runs out.
    bool MeasureLabels() const;

    HICON icons[4] = {};          // the arrows' icons, made from `images`, owned here
    // The labels' widths in `font`, in tab order; emptied whenever a tab comes or goes
    // (the names change only through InsertItem, DeleteItem and DeleteAllItems).
    mutable std::vector<int> labelWidths;
    mutable HGDIOBJ measuredFont = nullptr;  // the font the widths were measured in
    mutable LOGFONTW measuredLogFont{};      // and its description, in case its handle is reused
    tq3::fw::OffscreenBuffer rowBuffer;      // the visible part of the row is drawn in it, kept while the size stays
};
