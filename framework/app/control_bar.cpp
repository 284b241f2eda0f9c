// CControlBar: styles, borders, the default layout and painting of a bar, its
// idle update, and the mouse handling that starts a drag of a dockable bar.
//
// Sections: life (creation joins the docking frame's list, destruction leaves
// it); styles and borders; layout (CalcFixedLayout, CalcDynamicLayout and
// WM_SIZEPARENT for a bar that is a plain child of its frame); painting
// (DrawBorders, DrawGripper, DoPaint); idle update; mouse.
#include "framework/app/control_bar.h"

#include <algorithm>
#include <new>

#include "framework/app/dock_bar.h"
#include "framework/app/dock_context.h"
#include "framework/app/frame_wnd.h"
#include "framework/app/mini_frame.h"
#include "framework/app/window_dc.h"
#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_MESSAGE(WM_SIZEPARENT, &CControlBar::OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

// A gripper is two raised lines this far apart, kept this far from the edge.
constexpr int kGripperLine = 3;
constexpr int kGripperWidth = 8;  // room the gripper takes from the inside

}  // namespace

// ============================================================================
// Life
// ============================================================================

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
    // The window may outlive nothing that points at this object.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
    delete m_pDockContext;
    m_pDockContext = nullptr;
}

BOOL CControlBar::DestroyWindow() {
    // A floating bar goes with its floating frame, which has nothing else to show.
    if (m_hWnd != nullptr && IsFloating()) {
        if (CFrameWnd* floating = GetParentFrame()) {
            if (floating->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) return floating->DestroyWindow();
        }
    }
    return CWnd::DestroyWindow();
}

void CControlBar::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}

int CControlBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (IsDockBar()) return 0;  // dock bars belong to their frame, not to its list
    CFrameWnd* site = GetParentFrame();
    if (site != nullptr && site->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) site = site->GetParentFrame();
    m_pDockSite = site;
    if (m_pDockSite != nullptr) m_pDockSite->AddControlBar(this);
    return 0;
}

void CControlBar::OnDestroy() {
    if (CDockContext* drag = CDockContext::GetActiveDrag(); drag != nullptr && drag->m_pBar == this) drag->CancelDrag();
    if (m_pDockBar != nullptr) {
        m_pDockBar->RemoveControlBar(this);
        m_pDockBar = nullptr;
    }
    if (m_pDockSite != nullptr) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite->DelayRecalcLayout();
    }
    CWnd::OnDestroy();
}

// ============================================================================
// Styles and borders
// ============================================================================

void CControlBar::SetBarStyle(DWORD dwStyle) {
    DWORD old = m_dwStyle;
    m_dwStyle = dwStyle;
    if (old != dwStyle) OnBarStyleChange(old, dwStyle);
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::SetBorders(LPCRECT lpRect) {
    if (lpRect != nullptr) SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

CRect CControlBar::GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }

CFrameWnd* CControlBar::GetDockingFrame() const {
    if (m_pDockSite != nullptr) return m_pDockSite;
    CFrameWnd* frame = GetParentFrame();
    if (frame != nullptr && frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) frame = frame->GetParentFrame();
    return frame;
}

BOOL CControlBar::IsFloating() const { return m_pDockBar != nullptr && m_pDockBar->m_bFloating; }

int CControlBar::GetCount() const {
    int count = 0;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) ++count;
    return count;
}

BOOL CControlBar::IsDockBar() const { return FALSE; }

BOOL CControlBar::IsVisible() const {
    if (m_nStateFlags & delayHide) return FALSE;
    if (m_nStateFlags & delayShow) return TRUE;
    return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::DelayShow(BOOL bShow) {
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL shown = m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !shown) m_nStateFlags |= delayShow;
    if (!bShow && shown) m_nStateFlags |= delayHide;
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    if (m_dwDockStyle == 0) {
        delete m_pDockContext;
        m_pDockContext = nullptr;
        return;
    }
    // Without memory for a dock context the bar simply cannot be dragged.
    if (m_pDockContext == nullptr) m_pDockContext = new (std::nothrow) CDockContext(this);
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

// ============================================================================
// Layout
// ============================================================================

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size;
    // Room for the borders and the gripper at least; a bar with contents says more.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    size.cx = -inside.Width();
    size.cy = -inside.Height();
    if (bStretch) {
        if (bHorz) size.cx = 32767;
        else size.cy = 32767;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode) {
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    DWORD style = m_dwStyle;
    if (style & CBRS_BORDER_LEFT) rect.left += (style & CBRS_BORDER_3D) ? 2 : 1;
    if (style & CBRS_BORDER_TOP) rect.top += (style & CBRS_BORDER_3D) ? 2 : 1;
    if (style & CBRS_BORDER_RIGHT) rect.right -= (style & CBRS_BORDER_3D) ? 2 : 1;
    if (style & CBRS_BORDER_BOTTOM) rect.bottom -= (style & CBRS_BORDER_3D) ? 2 : 1;
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
    if ((style & CBRS_GRIPPER) && !IsFloating()) {
        // The gripper lies across the start of the bar: at the left of a
        // horizontal bar, at the top of a vertical one.
        if (bHorz) rect.left += kGripperWidth;
        else rect.top += kGripperWidth;
    }
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    if (layout == nullptr || align == 0 || !IsVisible()) return 0;
    // A bar that is a plain child of its frame (no docking) takes a strip of the
    // edge its style names, as thick as it asks and as long as the edge.
    BOOL horz = (align & CBRS_ORIENT_HORZ) != 0;
    CRect space(layout->rect);
    CSize size = CalcFixedLayout(layout->bStretch, horz);
    CRect strip = space;
    if (align & CBRS_ALIGN_TOP) {
        strip.bottom = strip.top + std::min<int>(size.cy, space.Height());
        layout->rect.top = strip.bottom;
        layout->sizeTotal.cy += strip.Height();
    } else if (align & CBRS_ALIGN_BOTTOM) {
        strip.top = strip.bottom - std::min<int>(size.cy, space.Height());
        layout->rect.bottom = strip.top;
        layout->sizeTotal.cy += strip.Height();
    } else if (align & CBRS_ALIGN_LEFT) {
        strip.right = strip.left + std::min<int>(size.cx, space.Width());
        layout->rect.left = strip.right;
        layout->sizeTotal.cx += strip.Width();
    } else {
        strip.left = strip.right - std::min<int>(size.cx, space.Width());
        layout->rect.right = strip.left;
        layout->sizeTotal.cx += strip.Width();
    }
    if (!layout->bStretch) {
        if (horz) strip.right = strip.left + std::min<int>(size.cx, strip.Width());
        else strip.bottom = strip.top + std::min<int>(size.cy, strip.Height());
    }
    if (layout->hDWP != nullptr) {
        CRect now;
        GetWindowRect(&now);
        GetParent()->ScreenToClient(&now);
        if (now != strip) SetWindowPos(nullptr, strip.left, strip.top, strip.Width(), strip.Height(),
                                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

// ============================================================================
// Painting
// ============================================================================

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
    DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY) || pDC == nullptr) return;
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    // A plain border is one shadow line; a 3-D one is etched: a shadow line with
    // a highlight line inside it.
    auto side = [&](DWORD flag, int x, int y, int cx, int cy, int dx, int dy) {
        if (!(style & flag)) return;
        pDC->FillSolidRect(x, y, cx, cy, shadow);
        if (style & CBRS_BORDER_3D) pDC->FillSolidRect(x + dx, y + dy, cx, cy, light);
    };
    CRect r = rect;
    side(CBRS_BORDER_TOP, r.left, r.top, r.Width(), 1, 0, 1);
    side(CBRS_BORDER_BOTTOM, r.left, r.bottom - 1, r.Width(), 1, 0, -1);
    side(CBRS_BORDER_LEFT, r.left, r.top, 1, r.Height(), 1, 0);
    side(CBRS_BORDER_RIGHT, r.right - 1, r.top, 1, r.Height(), -1, 0);
    int width = (style & CBRS_BORDER_3D) ? 2 : 1;
    if (style & CBRS_BORDER_TOP) rect.top += width;
    if (style & CBRS_BORDER_BOTTOM) rect.bottom -= width;
    if (style & CBRS_BORDER_LEFT) rect.left += width;
    if (style & CBRS_BORDER_RIGHT) rect.right -= width;
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
    if (!(m_dwStyle & CBRS_GRIPPER) || IsFloating() || pDC == nullptr) return;
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    // Two raised lines across the start of the bar.
    for (int i = 0; i < 2; ++i) {
        int offset = m_cxLeftBorder / 2 + i * (kGripperLine + 1);
        if (horz) {
            pDC->Draw3dRect(rect.left + offset, rect.top + m_cyTopBorder, kGripperLine,
                            rect.Height() - m_cyTopBorder - m_cyBottomBorder, light, shadow);
        } else {
            pDC->Draw3dRect(rect.left + m_cyTopBorder, rect.top + offset,
                            rect.Width() - m_cyTopBorder - m_cyBottomBorder, kGripperLine, light, shadow);
        }
    }
}

void CControlBar::DoPaint(CDC* pDC) {
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
    DrawGripper(pDC, rect);
}

void CControlBar::OnPaint() {
    CPaintDC dc(this);
    DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC) {
    if (pDC == nullptr) return FALSE;
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

// ============================================================================
// Idle update
// ============================================================================

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (!IsVisible()) return 0;
    if (CFrameWnd* target = GetDockingFrame()) OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
    return 0;
}

// ============================================================================
// Mouse
// ============================================================================

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
    // A press on a dockable bar that sits in a dock bar starts dragging it.
    if (m_pDockContext != nullptr && m_pDockBar != nullptr) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_pDockContext != nullptr && m_pDockBar != nullptr) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}
