// CView: the window that shows data inside a frame and takes the user's input.
// A derived view draws in OnDraw; the frame routes commands to the active view
// before itself. The printing hooks exist so that a view written for printing
// compiles and runs: on screen nothing calls them, and their defaults do nothing.
#pragma once

#include "framework/app/frame_wnd.h"
#include "framework/app/wnd.h"


// The first update of a view, sent by the frame to its descendants.
constexpr UINT WM_INITIALUPDATE = 0x0364;

// State of a print job, as the printing hooks receive it.
struct CPrintInfo {
    BOOL m_bPreview = FALSE;   // print preview rather than printing
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    CRect m_rectDraw;          // the printable area of the current page
    LPVOID m_lpUserData = nullptr;
};

class TQ3FW_API CView : public CWnd {
    DECLARE_DYNAMIC(CView)

public:
    CView();
    ~CView() override;

    // Draws the view's content on `pDC`.
    virtual void OnDraw(CDC* pDC) = 0;
    // The first update after the frame made the view; calls OnUpdate.
    virtual void OnInitialUpdate();
    // The data changed: repaints the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // The frame made this view active or inactive; an activated view takes the focus.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

protected:
    void PostNcDestroy() override;  // views own themselves

    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
