/// \file
/// CLineHeaderWnd, the line header strip of the table view, and its ids.
#pragma once

#include "framework/app/wnd.h"
#include "framework/core/cstring.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/offscreen_buffer.h"

/// Control id of the strip within its view.
constexpr UINT kLineHeaderId = 30001;
/// The narrowest the strip gets, whatever its caption.
constexpr int kMinLineHeaderWidth = 60;

/// The strip on the left of the cell area, a caption box on top and
/// one numbered row per visible line below it. The view tells it which line is at the
/// top and how many lines the sheet has; it never scrolls by itself.
///
/// Like the column header it only reports what the mouse does: presses, drags,
/// clicks and double-clicks reach the view as WM_NOTIFY messages with an NMHEADERW
/// record (id 30001), whose item is a line index or -1 for the caption box.
class TQ3VIEW_API CLineHeaderWnd : public CWnd {
    DECLARE_DYNAMIC(CLineHeaderWnd)

public:
    /// What a point of the strip stands for.
    static constexpr int kCorner = -1;   ///< the caption box
    static constexpr int kNoItem = -2;   ///< a row past the sheet's last line

    CLineHeaderWnd();
    ~CLineHeaderWnd() override;

    /// Creates the strip as a visible child of `parent` with id 30001.
    BOOL Create(CWnd* parent);

    /// The width the strip asks for: the caption's width in `font` plus two line
    /// heights and one pixel, at least 60 (and 60 before the window or font exists).
    int GetLineHeaderWidth();

    /// The line of a client y, without the caption box: the rows continue above the
    /// strip while the mouse is captured, down to line 0.
    int LineAt(int y) const;
    /// kCorner on the caption box, the line under y, or kNoItem past the last line.
    int ItemAt(int y) const;

    int topLine = 0;            ///< the line shown in the first row under the caption box
    int previousTopLine = -1;   ///< the top line before the view's last change; -1 repaints all rows
    int headerLineCount = 0;    ///< the selected sheet's line count; rows past it are blank
    int pressState = 0;         ///< 1 after a press, counting moves until the release
    CFont font;                 ///< the label font, made by the view
    int lineHeight = 0;         ///< row pitch in pixels, the view's line height
    CString caption;            ///< the text of the caption box

protected:
    /// WM_PAINT: draws the caption box and the numbered rows that fit, from
    /// `topLine` on (rows past the last line blank), through an off-screen buffer.
    afx_msg void OnPaint();
    /// WM_ERASEBKGND: erases nothing, since painting covers the whole client area.
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    /// WM_LBUTTONDOWN: HDN_BEGINDRAG with the item under the pointer; a line's
    /// press captures the mouse for a drag. The strip answers the mouse only while
    /// the pointer shows the arrow, here and below.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    /// WM_MOUSEMOVE: while a drag holds the mouse, HDN_TRACKW with the item under
    /// the pointer.
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    /// WM_LBUTTONUP: HDN_ITEMCLICKW for a press and release without a move, then,
    /// after a drag, HDN_ENDDRAG with the line under the pointer.
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    /// WM_LBUTTONDBLCLK: HDN_ITEMDBLCLICKW with the item under the pointer.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    /// WM_RBUTTONDOWN: HDN_ITEMCLICKW with button 1 (the right button) for the item
    /// under the pointer.
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    /// WM_WINDOWPOSCHANGING: the whole strip is painted again.
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    /// WM_WINDOWPOSCHANGED: the whole strip is painted again.
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    /// WM_DESTROY: gives the off-screen buffer back.
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // CWnd's general Create stays private: the strip is created with the Create above, and a
    // call that would fall to the general form does not compile.
    using CWnd::Create;
    void DrawRows(CDC& dc, const CRect& client);
    void Notify(UINT code, int item, int button = 0);
    bool HoldsCapture() const { return ::GetCapture() == m_hWnd; }
    // The strip answers the mouse only while the pointer shows the arrow, so a
    // drag the view runs with a cursor of its own passes over it unnoticed.
    bool ShowsArrow() const { return ::GetCursor() == LoadCursorW(nullptr, IDC_ARROW); }

    tq3::fw::OffscreenBuffer buffer;  // the strip is painted through it, kept while the size stays
};
