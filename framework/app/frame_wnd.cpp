#include "framework/app/frame_wnd.h"

#include <algorithm>
#include <new>

#include "framework/app/cmd_ui.h"
#include "framework/app/dock_context.h"
#include "framework/app/mini_frame.h"
#include "framework/app/view.h"
#include "framework/app/win_app.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/menus/accelerator.h"
#include "framework/menus/menu.h"
#include "framework/system/resources.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_CLOSE()
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
ON_MESSAGE(WM_INITMENUPOPUP, &CFrameWnd::OnInitMenuPopup)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    // Bars that outlive the frame (host objects) must not point at it.
    for (CControlBar* bar : m_listControlBars) {
        if (bar->m_pDockSite == this) bar->m_pDockSite = nullptr;
    }
    if (m_hAccelTable != nullptr) DestroyAcceleratorTable(m_hAccelTable);
    if (m_hMenuDefault != nullptr) DestroyMenu(m_hMenuDefault);
}

BOOL CFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCWSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    int x = rect.left;
    int y = rect.top;
    int cx = rect.right - rect.left;
    int cy = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT) {
        x = y = cx = cy = CW_USEDEFAULT;
    }
    HMENU menu = nullptr;
    if (lpszMenuName != nullptr) {
        menu = ::LoadMenuW(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
        if (menu == nullptr) return FALSE;  // a frame named a menu that does not exist
    }
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                  pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, menu, pContext)) {
        if (menu != nullptr) DestroyMenu(menu);
        return FALSE;
    }
    m_hMenuDefault = menu;
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCWSTR lpszResourceName) {
    HACCEL table = LoadAcceleratorsW(AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR), lpszResourceName);
    if (table == nullptr) return FALSE;
    if (m_hAccelTable != nullptr) DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = table;
    return TRUE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    // While a bar is dragged its keys are the drag's, wherever the focus is.
    if (CDockContext::PreTranslateDragMessage(pMsg)) return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr &&
        ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg)) {
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

namespace {

// A menu item asking the command targets for its state.
class MenuItemUI : public CCmdUI {
public:
    explicit MenuItemUI(HMENU menu) : menu_(menu) {}
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        ::EnableMenuItem(menu_, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_GRAYED | MF_DISABLED)));
    }
    void SetCheck(int nCheck) override {
        ::CheckMenuItem(menu_, m_nIndex, MF_BYPOSITION | (nCheck != 0 ? MF_CHECKED : MF_UNCHECKED));
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCWSTR lpszText) override {
        UINT state = ::GetMenuState(menu_, m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        ::ModifyMenuW(menu_, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
    }

private:
    HMENU menu_;
};

}  // namespace

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM) {
    auto menu = reinterpret_cast<HMENU>(wParam);
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(menu, i);
        if (id == 0 || id == 0xFFFFFFFFu) continue;  // separators and submenus
        MenuItemUI state(menu);
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(this, TRUE);
        if (!::IsMenu(menu)) break;  // a handler destroyed it
    }
    return 0;
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
    if (m_hWnd == nullptr || inRecalcLayout_) return;
    inRecalcLayout_ = TRUE;
    // Bars shown or hidden "at the next layout" change now, before they are measured.
    for (size_t i = 0; i < m_listControlBars.size(); ++i) {
        CControlBar* bar = m_listControlBars[i];
        int pending = bar->m_nStateFlags & (CControlBar::delayHide | CControlBar::delayShow);
        if (pending == 0 || bar->m_hWnd == nullptr) continue;
        bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
        bar->ShowWindow((pending & CControlBar::delayShow) ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    try {
        // The bars take their strips along the edges, the view gets the rest.
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    } catch (const std::bad_alloc&) {
        // A bar could not say its size: the layout is done again at the next idle time.
        inRecalcLayout_ = FALSE;
        layoutPending_ = TRUE;
        return;
    }
    inRecalcLayout_ = FALSE;
    // What the bars asked for while being laid out is done.
    layoutPending_ = FALSE;
    layoutNotify_ = FALSE;
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
    if (layoutPending_) RecalcLayout(layoutNotify_);
    // Floating frames are top-level windows of their own: they hear of idle time
    // from the frame that docks their bars.
    if (!IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        std::vector<HWND> floating;
        try {
            for (CControlBar* bar : m_listControlBars) {
                if (!bar->IsFloating()) continue;
                if (CFrameWnd* holder = bar->GetParentFrame()) floating.push_back(holder->m_hWnd);
            }
        } catch (const std::bad_alloc&) {
            floating.clear();
        }
        for (HWND holder : floating) {
            CWnd* frame = CWnd::FromHandlePermanent(holder);
            if (frame == nullptr) continue;
            frame->SendMessage(WM_IDLEUPDATECMDUI, wParam, 0);
            if (CWnd* again = CWnd::FromHandlePermanent(holder)) again->SendMessageToDescendants(WM_IDLEUPDATECMDUI, wParam, 0, TRUE);
        }
    }
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
