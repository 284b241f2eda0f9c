#include "framework/app/frame_wnd.h"

#include <algorithm>
#include <new>

#include "framework/app/cmd_ui.h"
#include "framework/app/view.h"
#include "framework/app/win_app.h"
#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_CLOSE()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCWSTR, DWORD dwExStyle, CCreateContext* pContext) {
    int x = rect.left;
    int y = rect.top;
    int cx = rect.right - rect.left;
    int cy = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT) {
        x = y = cx = cy = CW_USEDEFAULT;
    }
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                    pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr, pContext);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
        if (cs.lpszClass == nullptr) return FALSE;
    }
    // The view covers the client area; the frame must not paint over it.
    cs.style |= static_cast<LONG>(WS_CLIPCHILDREN);
    return TRUE;
}

void CFrameWnd::PostNcDestroy() { delete this; }

int CFrameWnd::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (context != nullptr && (context->m_pNewView != nullptr || context->m_pNewViewClass != nullptr)) {
        if (CreateView(context) == nullptr) return -1;
    }
    RecalcLayout();
    return 0;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (pContext == nullptr) return nullptr;
    CView* view = pContext->m_pNewView;
    pContext->m_pNewView = nullptr;
    if (view == nullptr && pContext->m_pNewViewClass != nullptr) {
        CObject* object = pContext->m_pNewViewClass->CreateObject();
        view = DYNAMIC_DOWNCAST(CView, object);
        if (view == nullptr) {
            delete object;  // not a view (or none made): nothing to host
            return nullptr;
        }
    }
    if (view == nullptr) return nullptr;
    pContext->m_pCurrentFrame = this;
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext)) return nullptr;
    pContext->m_pLastView = view;
    if (m_pViewActive == nullptr) SetActiveView(view, FALSE);
    return view;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* old = m_pViewActive;
    if (pViewNew == old) return;
    m_pViewActive = pViewNew;
    if (bNotify && old != nullptr) old->OnActivateView(FALSE, pViewNew, old);
    // The old view's handler may have moved things on; read the active view again.
    if (bNotify && m_pViewActive != nullptr && m_pViewActive == pViewNew) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

void CFrameWnd::InitialUpdateFrame(BOOL bMakeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
    RecalcLayout();
    if (bMakeVisible) {
        ShowWindow(SW_SHOW);
        UpdateWindow();
    }
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (m_hWnd == nullptr) return;
    HWND pane = ::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST));
    if (pane == nullptr) return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    RECT current;
    ::GetWindowRect(pane, &current);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&current), 2);
    if (current.left != client.left || current.top != client.top || current.right != client.right ||
        current.bottom != client.bottom) {
        ::SetWindowPos(pane, nullptr, client.left, client.top, client.right - client.left, client.bottom - client.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    // Focus given to the frame belongs to the view the user works in.
    if (m_pViewActive != nullptr && ::IsWindow(m_pViewActive->m_hWnd)) {
        m_pViewActive->SetFocus();
    } else {
        CWnd::OnSetFocus(pOldWnd);
    }
}

void CFrameWnd::OnClose() { DestroyWindow(); }

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The view the user works in first, then the frame, then the application.
    if (CView* view = m_pViewActive) {
        if (view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWinApp* app = AfxGetApp()) {
        if (app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    }
    return FALSE;
}

void CFrameWnd::AddCommandUI(CCmdUI* pCmdUI) {
    if (pCmdUI == nullptr) return;
    if (std::find(cmdUIs_.begin(), cmdUIs_.end(), pCmdUI) != cmdUIs_.end()) return;
    try {
        cmdUIs_.push_back(pCmdUI);
    } catch (const std::bad_alloc&) {
        // The item simply is not refreshed.
    }
}

void CFrameWnd::RemoveCommandUI(CCmdUI* pCmdUI) {
    cmdUIs_.erase(std::remove(cmdUIs_.begin(), cmdUIs_.end(), pCmdUI), cmdUIs_.end());
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    // A handler may add or remove items; walk a copy and skip removed ones.
    std::vector<CCmdUI*> items;
    try {
        items = cmdUIs_;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    for (CCmdUI* item : items) {
        if (std::find(cmdUIs_.begin(), cmdUIs_.end(), item) == cmdUIs_.end()) continue;
        item->DoUpdate(this, static_cast<BOOL>(wParam));
    }
    return 0;
}
