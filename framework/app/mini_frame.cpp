// CMiniFrameWnd and CMiniDockFrameWnd: the floating frame of a control bar.
#include "framework/app/mini_frame.h"

#include <algorithm>

#include "framework/app/dock_context.h"
#include "framework/gdi/sysmetrics.h"

// ============================================================================
// CMiniFrameWnd
// ============================================================================

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

CMiniFrameWnd::CMiniFrameWnd() = default;
CMiniFrameWnd::~CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT) {
    // A popup owned by the frame it belongs to, with a tool window's small caption.
    DWORD style = (dwStyle & ~WS_CHILD) | WS_POPUP;
    return CreateEx(WS_EX_TOOLWINDOW, lpClassName, lpWindowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr, nullptr);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
        if (cs.lpszClass == nullptr) return FALSE;
    }
    return CFrameWnd::PreCreateWindow(cs);
}

// ============================================================================
// CMiniDockFrameWnd
// ============================================================================

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}
CMiniDockFrameWnd::~CMiniDockFrameWnd() = default;

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    // A frame that fails here has deleted itself (PostNcDestroy), as frames do.
    if (!CMiniFrameWnd::Create(nullptr, nullptr, style, CRect(0, 0, 0, 0), pParent)) return FALSE;
    if (!m_wndDockBar.Create(this, CBRS_FLOATING | (dwBarStyle & CBRS_ALIGN_ANY), AFX_IDW_DOCKBAR_FLOAT)) {
        DestroyWindow();
        return FALSE;
    }
    m_wndDockBar.m_pDockSite = DYNAMIC_DOWNCAST(CFrameWnd, pParent);
    return TRUE;
}

CControlBar* CMiniDockFrameWnd::FloatingBar() const {
    for (CControlBar* bar : m_wndDockBar.m_arrBars) {
        if (bar != nullptr && bar->m_hWnd != nullptr) return bar;
    }
    return nullptr;
}

void CMiniDockFrameWnd::SizeToBar(CPoint clientTopLeft) {
    CControlBar* bar = FloatingBar();
    if (bar == nullptr) return;
    CSize size = bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    size.cx = std::max<int>(size.cx, 0);
    size.cy = std::max<int>(size.cy, 0);
    RECT r{clientTopLeft.x, clientTopLeft.y, clientTopLeft.x + size.cx, clientTopLeft.y + size.cy};
    ::AdjustWindowRectEx(&r, GetStyle(), FALSE, GetExStyle());
    // Kept on the screen, so that its caption can always be reached (the top-left
    // corner wins when the frame is larger than the screen).
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    int dx = 0;
    int dy = 0;
    if (r.right > cx) dx = cx - r.right;
    if (r.left + dx < 0) dx = -r.left;
    if (r.bottom > cy) dy = cy - r.bottom;
    if (r.top + dy < 0) dy = -r.top;
    ::OffsetRect(&r, dx, dy);
    sizingToBar_ = TRUE;
    barClient_ = size;
    SetWindowPos(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    sizingToBar_ = FALSE;
    RecalcLayout();
}

void CMiniDockFrameWnd::RecalcLayout(BOOL) {
    if (m_hWnd == nullptr || m_wndDockBar.m_hWnd == nullptr) return;
    // The dock bar fills the client area, and its bar fills the dock bar.
    CRect client;
    GetClientRect(&client);
    CRect now;
    m_wndDockBar.GetWindowRect(&now);
    ScreenToClient(&now);
    if (now != client) {
        m_wndDockBar.SetWindowPos(nullptr, 0, 0, client.Width(), client.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    try {
        m_wndDockBar.PlaceBars(client.Size());
    } catch (const std::bad_alloc&) {
        DelayRecalcLayout();  // the bar could not say its size now; at the next idle time
    }
}

void CMiniDockFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CMiniFrameWnd::OnSize(nType, cx, cy);
    CControlBar* bar = FloatingBar();
    if (sizingToBar_ || bar == nullptr || nType == SIZE_MINIMIZED || CSize(cx, cy) == barClient_) return;
    // The user resized the frame: that is the bar's floating size from now on.
    barClient_ = CSize(cx, cy);
    bar->CalcDynamicLayout(cx, LM_HORZ | LM_COMMIT);
    bar->CalcDynamicLayout(cy, LM_HORZ | LM_LENGTHY);
    RecalcLayout();
}

void CMiniDockFrameWnd::OnClose() {
    // Closing hides the bar; the frame that docks it can show it again.
    CControlBar* bar = FloatingBar();
    CFrameWnd* site = bar != nullptr ? bar->GetDockingFrame() : nullptr;
    if (site != nullptr) {
        site->ShowControlBar(bar, FALSE, FALSE);
    } else {
        ShowWindow(SW_HIDE);
    }
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    CControlBar* bar = FloatingBar();
    if (nHitTest == HTCAPTION && bar != nullptr && bar->m_pDockContext != nullptr) {
        // Dragging the caption drags the bar: it may dock again where it is dropped.
        bar->m_pDockContext->StartDrag(point);
        return;
    }
    CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
    CControlBar* bar = FloatingBar();
    if (nHitTest == HTCAPTION && bar != nullptr && bar->m_pDockContext != nullptr) {
        bar->m_pDockContext->ToggleDocking();
        return;
    }
    CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}
