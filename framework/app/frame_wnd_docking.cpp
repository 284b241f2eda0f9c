// CFrameWnd (docking): the dock bars, docking and floating bars, showing and
// finding them, and the delayed layout.
//
// Call flow: EnableDocking -> one CDockBar per edge (children of the frame, in the
// order top, bottom, left, right, which is the order RecalcLayout lays them out).
// DockControlBar -> CDockBar::DockControlBar (the bar becomes its child) -> the
// floating frame it left is destroyed -> RecalcLayout. FloatControlBar -> a
// CMiniDockFrameWnd -> its dock bar takes the bar -> the frame sizes itself to
// the bar -> the frame's own layout.
#include <algorithm>
#include <new>

#include "framework/app/cmd_ui.h"
#include "framework/app/dock_bar.h"
#include "framework/app/dock_context.h"
#include "framework/app/frame_wnd.h"
#include "framework/app/mini_frame.h"

namespace {

struct Edge {
    DWORD align;
    UINT id;
};
// The order of the edges: dock bars are made, chosen and laid out in it.
constexpr Edge kEdges[] = {
    {CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
    {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
    {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
    {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
};

// The floating frame holding `bar`, if it floats.
CMiniDockFrameWnd* FloatingFrameOf(const CControlBar* bar) {
    if (bar == nullptr || bar->m_pDockBar == nullptr || !bar->m_pDockBar->m_bFloating) return nullptr;
    return DYNAMIC_DOWNCAST(CMiniDockFrameWnd, bar->m_pDockBar->GetParentFrame());
}

}  // namespace

BOOL CFrameWnd::EnableDocking(DWORD dwDockStyle) {
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const Edge& edge : kEdges) {
        if (!(dwDockStyle & edge.align) || GetDockBar(edge.id) != nullptr) continue;
        auto* dock = new (std::nothrow) CDockBar(FALSE);
        if (dock == nullptr) return FALSE;
        // Owned by its window from now on: a failed creation deletes it too.
        dock->m_bAutoDelete = TRUE;
        if (!dock->Create(this, edge.align, edge.id)) return FALSE;
        dock->m_pDockSite = this;
    }
    return TRUE;
}

CDockBar* CFrameWnd::GetDockBar(UINT nDockBarID) const {
    if (m_hWnd == nullptr || AfxDockAlignOfId(nDockBarID) == 0) return nullptr;
    HWND child = ::GetDlgItem(m_hWnd, static_cast<int>(nDockBarID));
    return DYNAMIC_DOWNCAST(CDockBar, CWnd::FromHandlePermanent(child));
}

BOOL CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
    if (pBar == nullptr) return FALSE;
    CDockBar* dock = nullptr;
    if (nDockBarID != 0) {
        dock = GetDockBar(nDockBarID);
    } else {
        // The edge the bar's style names when it may dock there, else the first
        // edge it may dock at.
        DWORD named = pBar->m_dwStyle & pBar->m_dwDockStyle & CBRS_ALIGN_ANY;
        if (named != 0) dock = GetDockBar(AfxDockIdOfAlign(named));
        for (const Edge& edge : kEdges) {
            if (dock != nullptr) break;
            if (pBar->m_dwDockStyle & edge.align) dock = GetDockBar(edge.id);
        }
    }
    return DockControlBar(pBar, dock, lpRect);
}

BOOL CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr || pDockBar == nullptr || pDockBar->m_hWnd == nullptr) return FALSE;
    DWORD align = pDockBar->m_dwStyle & CBRS_ALIGN_ANY;
    if (!pDockBar->m_bFloating && !(pBar->m_dwDockStyle & align)) return FALSE;  // not allowed at that edge
    CMiniDockFrameWnd* leftFrame = FloatingFrameOf(pBar);
    const bool newSite = pBar->m_pDockSite != this;
    try {
        // Room in the list of bars before anything moves.
        if (newSite) m_listControlBars.reserve(m_listControlBars.size() + 1);
        if (!pDockBar->DockControlBar(pBar, lpRect)) return FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;  // the dock bar made its room before it took the bar: nothing moved
    }
    if (newSite) {
        if (pBar->m_pDockSite != nullptr) pBar->m_pDockSite->RemoveControlBar(pBar);
        m_listControlBars.push_back(pBar);  // reserved above
        pBar->m_pDockSite = this;
    }
    DWORD style = pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    style |= pDockBar->m_bFloating ? (CBRS_FLOATING | (pBar->m_dwStyle & CBRS_ALIGN_ANY)) : align;
    pBar->SetBarStyle(style);
    // The floating frame the bar came from holds nothing now.
    if (leftFrame != nullptr && leftFrame != pDockBar->GetParentFrame()) leftFrame->DestroyWindow();
    if (CFrameWnd* holder = pDockBar->GetParentFrame(); holder != nullptr && holder != this) holder->RecalcLayout();
    RecalcLayout();
    return TRUE;
}

BOOL CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr || m_pFloatingFrameClass == nullptr) return FALSE;
    if (CMiniDockFrameWnd* floating = FloatingFrameOf(pBar)) {
        // Already floating: the frame moves.
        floating->SizeToBar(point);
        return TRUE;
    }
    // Everything that needs memory comes before the bar moves.
    CString title;
    try {
        pBar->GetWindowText(title);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    CObject* made = m_pFloatingFrameClass->CreateObject();  // null when out of memory
    auto* frame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, made);
    if (frame == nullptr) {
        delete made;
        return FALSE;
    }
    // A frame that fails to be made has deleted itself.
    if (!frame->Create(this, dwStyle)) return FALSE;
    frame->SetWindowText(title);
    if (!DockControlBar(pBar, &frame->m_wndDockBar, nullptr)) {
        frame->DestroyWindow();
        return FALSE;
    }
    frame->SizeToBar(point);
    if (pBar->GetStyle() & WS_VISIBLE) frame->ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr) return;
    if (bDelay) {
        pBar->DelayShow(bShow);
        DelayRecalcLayout();
        return;
    }
    pBar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    // A floating bar shows and hides with its frame.
    if (CMiniDockFrameWnd* floating = FloatingFrameOf(pBar)) {
        floating->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
        if (bShow) floating->RecalcLayout();
    }
    RecalcLayout();
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    if (nID == 0) return nullptr;
    for (CControlBar* bar : m_listControlBars) {
        if (bar->m_hWnd != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == nID) return bar;
    }
    // The dock bars are the frame's too (their ids are known to hosts).
    return GetDockBar(nID);
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
    for (const Edge& edge : kEdges) {
        if (!(dwDockStyle & edge.align)) continue;
        CDockBar* dock = GetDockBar(edge.id);
        if (dock == nullptr) continue;
        CRect area = dock->GetDropArea();
        CRect meet;
        if (meet.IntersectRect(&rect, &area)) {
            if (ppDockBar != nullptr) *ppDockBar = dock;
            return edge.align;
        }
    }
    if (ppDockBar != nullptr) *ppDockBar = nullptr;
    return 0;
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    if (pBar == nullptr || std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) != m_listControlBars.end()) {
        return;
    }
    try {
        m_listControlBars.push_back(pBar);
    } catch (const std::bad_alloc&) {
        // The bar is laid out as a child all the same; only GetControlBar misses it.
    }
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                            m_listControlBars.end());
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* bar = GetControlBar(nID);
    if (bar == nullptr) return FALSE;
    ShowControlBar(bar, !bar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    if (pCmdUI == nullptr) return;
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (bar == nullptr) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) {
    layoutPending_ = TRUE;
    if (bNotify) layoutNotify_ = TRUE;
}
