/// \file
/// CArrowButton, the arrow buttons of the sheet tab strip.
#pragma once

#include "framework/app/afxwin.h"

/// The small owner-drawn push button of the sheet tab strip's arrows (first,
/// previous, next, last). It draws a classic raised or pushed frame and its icon,
/// embossed grey while the button is disabled; a click reaches the strip as
/// BN_CLICKED with the button's id.
class TQ3VIEW_API CArrowButton : public CButton {
    DECLARE_DYNAMIC(CArrowButton)

public:
    CArrowButton();
    ~CArrowButton() override;

    /// An owner-drawn, visible child tab stop at `rect`.
    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    /// Gives the button its icon (BM_SETIMAGE) and records its size. The button does
    /// not own the icon.
    void SetArrowIcon(HICON icon, int width, int height);

    /// Draws the button: its face, a raised frame (sunken while pushed) and the icon
    /// two pixels in from the top left, one more while the pointer holds it down,
    /// embossed grey while disabled.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    int iconWidth = 0;     ///< width of the icon, recorded with it
    int iconHeight = 0;    ///< height of the icon, recorded with it
    CRect iconRect;        ///< where the icon was last drawn, in client coordinates
    int pressed = 0;       ///< 1 while the left button is held down on the button

protected:
    /// WM_LBUTTONDOWN: sets `pressed`, then the button's own handling.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    /// WM_LBUTTONUP: clears `pressed`, then the button's own handling.
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    bool CursorInside() const;
};
