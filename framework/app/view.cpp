#include "framework/app/view.h"

#include "framework/app/window_dc.h"
#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_WM_DESTROY()
ON_MESSAGE(WM_INITIALUPDATE, &CView::OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView() = default;
CView::~CView() = default;

BOOL CView::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
        if (cs.lpszClass == nullptr) return FALSE;
    }
    // Child controls of the view paint themselves.
    cs.style |= static_cast<LONG>(WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    return TRUE;
}

void CView::PostNcDestroy() { delete this; }

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
    if (!bActivate || pActivateView != this) return;
    HWND focus = ::GetFocus();
    // Keep the focus where it is when it already sits in the view or one of its
    // controls (an in-place editor).
    if (focus != m_hWnd && !::IsChild(m_hWnd, focus)) SetFocus();
}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

BOOL CView::OnPreparePrinting(CPrintInfo*) { return FALSE; }
void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnPrint(CDC*, CPrintInfo*) {}
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (result == static_cast<int>(MA_NOACTIVATE) || result == static_cast<int>(MA_NOACTIVATEANDEAT)) return result;
    // A click in the view makes it the frame's active view and gives it the focus.
    if (CFrameWnd* frame = GetParentFrame()) {
        HWND focus = ::GetFocus();
        if (frame->GetActiveView() == this && focus != m_hWnd && !::IsChild(m_hWnd, focus)) {
            OnActivateView(TRUE, this, this);
        } else {
            frame->SetActiveView(this);
        }
    }
    return result;
}

void CView::OnDestroy() {
    if (CFrameWnd* frame = GetParentFrame()) {
        if (frame->GetActiveView() == this) frame->SetActiveView(nullptr, FALSE);
    }
    CWnd::OnDestroy();
}
