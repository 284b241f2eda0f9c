// CMiniFrameWnd: a small top-level frame with a tool-window caption, owned by
// another frame; CMiniDockFrameWnd: the one a floating control bar lives in.
//
// A floating bar sits in the dock bar (AFX_IDW_DOCKBAR_FLOAT) that fills the
// floating frame's client area, and the frame takes the size the bar asks for
// (CalcDynamicLayout with LM_MRUWIDTH). When the user resizes the frame, the bar
// is told its new floating size (LM_COMMIT for the width, LM_LENGTHY for the
// height). Dragging the caption drags the bar (it may dock again); closing the
// frame (its close box, WM_CLOSE) hides the bar, which the docking frame shows
// again through ShowControlBar. Destroying the frame takes the bar's window with
// it; the docking frame then forgets the bar.
#pragma once

#include "framework/app/dock_bar.h"
#include "framework/app/frame_wnd.h"

class TQ3FW_API CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)

public:
    CMiniFrameWnd();
    ~CMiniFrameWnd() override;

    // A popup owned by pParentWnd, with a small caption showing lpszWindowName.
    BOOL Create(LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = nullptr, UINT nID = 0);

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
};

class TQ3FW_API CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)

public:
    CMiniDockFrameWnd();
    ~CMiniDockFrameWnd() override;

    // Makes the floating frame owned by pParent, with its dock bar.
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    // Gives the frame the size its bar asks for, its client area at `clientTopLeft`
    // (screen), kept on the screen.
    void SizeToBar(CPoint clientTopLeft);
    void RecalcLayout(BOOL bNotify = TRUE) override;

    CDockBar m_wndDockBar;  // holds the floating bar

protected:
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    CControlBar* FloatingBar() const;
    BOOL sizingToBar_ = FALSE;  // the frame sizes itself: no size to hand back to the bar
    CSize barClient_;           // the client size it last gave itself or was given
};
