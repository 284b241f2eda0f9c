// CArrowButton: the small owner-drawn push button of the sheet tab strip's arrows
// (first, previous, next, last). It draws a classic raised or pushed frame and its
// icon, embossed grey while the button is disabled.
#pragma once

#include "framework/app/afxwin.h"

class TQ3VIEW_API CArrowButton : public CButton {
    DECLARE_DYNAMIC(CArrowButton)

public:
    CArrowButton();
    ~CArrowButton() override;

    // An owner-drawn, visible child tab stop at `rect`.
    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    // Gives the button its icon (BM_SETIMAGE) and records its size. The button does
    // not own the icon.
    void SetArrowIcon(HICON icon, int width, int height);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    int iconWidth = 0;     // size of the icon, recorded with it
    int iconHeight = 0;
    CRect iconRect;        // where the icon was last drawn, in client coordinates
    int pressed = 0;       // 1 while the left button is held down on the button

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    bool CursorInside() const;
};
