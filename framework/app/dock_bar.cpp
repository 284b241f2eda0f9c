// CDockBar: holding docked bars, and placing itself and them when its frame
// lays out (WM_SIZEPARENT -> sizes asked of the bars -> its own strip -> PlaceBars).
#include "framework/app/dock_bar.h"

#include <algorithm>
#include <new>

#include "framework/app/dock_context.h"
#include "framework/app/frame_wnd.h"
#include "framework/app/window_dc.h"
#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
ON_MESSAGE(WM_SIZEPARENT, &CDockBar::OnSizeParent)
END_MESSAGE_MAP()

DWORD AfxDockAlignOfId(UINT nDockBarID) {
    switch (nDockBarID) {
        case AFX_IDW_DOCKBAR_TOP: return CBRS_ALIGN_TOP;
        case AFX_IDW_DOCKBAR_BOTTOM: return CBRS_ALIGN_BOTTOM;
        case AFX_IDW_DOCKBAR_LEFT: return CBRS_ALIGN_LEFT;
        case AFX_IDW_DOCKBAR_RIGHT: return CBRS_ALIGN_RIGHT;
        default: return 0;
    }
}

UINT AfxDockIdOfAlign(DWORD dwAlign) {
    if (dwAlign & CBRS_ALIGN_TOP) return AFX_IDW_DOCKBAR_TOP;
    if (dwAlign & CBRS_ALIGN_BOTTOM) return AFX_IDW_DOCKBAR_BOTTOM;
    if (dwAlign & CBRS_ALIGN_LEFT) return AFX_IDW_DOCKBAR_LEFT;
    if (dwAlign & CBRS_ALIGN_RIGHT) return AFX_IDW_DOCKBAR_RIGHT;
    return 0;
}

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
    // A dock bar has no borders of its own: its bars draw theirs.
    SetBorders(0, 0, 0, 0);
}

CDockBar::~CDockBar() {
    // The bars still held live on (their windows go with this one's, but the
    // objects are their owners'); they must not point here any more.
    for (CControlBar* bar : m_arrBars) {
        if (bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
    }
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    LPCWSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    if (cls == nullptr) {
        PostNcDestroy();  // as after any failed creation
        return FALSE;
    }
    return CWnd::Create(cls, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0),
                        pParentWnd, nID);
}

BOOL CDockBar::IsDockBar() const { return TRUE; }

int CDockBar::FindBar(const CControlBar* pBar) const {
    auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pBar);
    return it == m_arrBars.end() ? -1 : static_cast<int>(it - m_arrBars.begin());
}

int CDockBar::GetDockedVisibleCount() const {
    return static_cast<int>(std::count_if(m_arrBars.begin(), m_arrBars.end(),
                                          [](CControlBar* bar) { return bar->IsVisible(); }));
}

BOOL CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr) return FALSE;
    // The row: before the first visible row whose middle lies beyond the middle of
    // lpRect, counted from the frame's edge inwards.
    size_t row = m_arrBars.size();
    if (lpRect != nullptr) {
        CRect wanted(*lpRect);
        DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
        for (size_t i = 0; i < m_arrBars.size(); ++i) {
            if (m_arrBars[i] == pBar || !m_arrBars[i]->IsVisible()) continue;
            CRect r;
            m_arrBars[i]->GetWindowRect(&r);
            bool before = (align & CBRS_ALIGN_TOP)      ? wanted.CenterPoint().y < r.CenterPoint().y
                          : (align & CBRS_ALIGN_BOTTOM) ? wanted.CenterPoint().y > r.CenterPoint().y
                          : (align & CBRS_ALIGN_LEFT)   ? wanted.CenterPoint().x < r.CenterPoint().x
                          : (align & CBRS_ALIGN_RIGHT)  ? wanted.CenterPoint().x > r.CenterPoint().x
                                                        : false;
            if (before) {
                row = i;
                break;
            }
        }
    }
    // Make room first, then move the window: once it has moved, nothing may fail.
    int already = FindBar(pBar);
    if (already < 0) m_arrBars.reserve(m_arrBars.size() + 1);  // may throw: nothing changed yet
    const bool newParent = ::GetParent(pBar->m_hWnd) != m_hWnd;
    if (newParent) {
        ::SetParent(pBar->m_hWnd, m_hWnd);
        if (::GetParent(pBar->m_hWnd) != m_hWnd) return FALSE;  // the window manager had no room
    }
    if (already >= 0) {
        m_arrBars.erase(m_arrBars.begin() + already);
        if (static_cast<size_t>(already) < row) --row;
    }
    row = std::min(row, m_arrBars.size());
    m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(row), pBar);
    if (pBar->m_pDockBar != nullptr && pBar->m_pDockBar != this) pBar->m_pDockBar->RemoveControlBar(pBar);
    pBar->m_pDockBar = this;
    // A bar that sits in its new dock bar where and as large as it sat in the old
    // one (the opposite side, at the same size) is not moved by the layout that
    // follows, yet its side changed: it hears of that as of a move, and its frame
    // is calculated again.
    if (newParent) {
        ::SetWindowPos(pBar->m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return TRUE;
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar) {
    int at = FindBar(pBar);
    if (at < 0) return FALSE;
    m_arrBars.erase(m_arrBars.begin() + at);
    if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
    return TRUE;
}

CRect CDockBar::GetDropArea() const {
    CRect area;
    GetWindowRect(&area);
    const int zone = CDockContext::kDockZone;
    DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    if (align & CBRS_ALIGN_TOP) area.bottom = std::max<LONG>(area.bottom, area.top + zone);
    else if (align & CBRS_ALIGN_BOTTOM) area.top = std::min<LONG>(area.top, area.bottom - zone);
    else if (align & CBRS_ALIGN_LEFT) area.right = std::max<LONG>(area.right, area.left + zone);
    else if (align & CBRS_ALIGN_RIGHT) area.left = std::min<LONG>(area.left, area.right - zone);
    return area;
}

DWORD CDockBar::LayoutMode() const {
    if (m_bFloating) return LM_HORZ | LM_MRUWIDTH;
    if (m_dwStyle & CBRS_ORIENT_HORZ) return LM_HORZ | LM_HORZDOCK;
    return LM_VERTDOCK;
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    // As thick as the visible bars together; as long as the edge when stretched.
    int thickness = 0;
    int length = 0;
    for (CControlBar* bar : m_arrBars) {
        if (!bar->IsVisible()) continue;
        CSize s = bar->CalcDynamicLayout(-1, LayoutMode());
        thickness += bHorz ? s.cy : s.cx;
        length = std::max<int>(length, bHorz ? s.cx : s.cy);
    }
    if (bStretch) length = 32767;
    return bHorz ? CSize(length, thickness) : CSize(thickness, length);
}

void CDockBar::PlaceBars(CSize size) {
    DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    BOOL horz = m_bFloating || (align & CBRS_ORIENT_HORZ) != 0;
    int edgeLength = horz ? size.cx : size.cy;
    int along = 0;  // distance from the frame's edge, inwards
    for (size_t i = 0; i < m_arrBars.size(); ++i) {
        CControlBar* bar = m_arrBars[i];
        if (!bar->IsVisible() || bar->m_hWnd == nullptr) continue;
        CSize s = bar->CalcDynamicLayout(-1, LayoutMode());
        CRect r;
        if (m_bFloating) {
            r.SetRect(0, 0, size.cx, size.cy);
        } else {
            int thick = horz ? s.cy : s.cx;
            int length = horz ? s.cx : s.cy;
            // A bar asking for a little more than the edge (its borders hang over
            // the ends) is centred on it; a shorter one starts at the edge's start.
            int start = std::clamp((edgeLength - length) / 2, -2, 0);
            if (align & CBRS_ALIGN_TOP) r.SetRect(start, along, start + length, along + thick);
            else if (align & CBRS_ALIGN_BOTTOM) r.SetRect(start, size.cy - along - thick, start + length, size.cy - along);
            else if (align & CBRS_ALIGN_LEFT) r.SetRect(along, start, along + thick, start + length);
            else r.SetRect(size.cx - along - thick, start, size.cx - along, start + length);
            along += thick;
        }
        CRect now;
        bar->GetWindowRect(&now);
        ScreenToClient(&now);
        if (now != r) bar->SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        // The bar's own handlers may have moved the bars on; stop if this one left.
        if (i >= m_arrBars.size() || m_arrBars[i] != bar) break;
    }
}

LRESULT CDockBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (layout == nullptr) return 0;
    DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    BOOL horz = (align & CBRS_ORIENT_HORZ) != 0;
    CRect space(layout->rect);
    CSize want = CalcFixedLayout(TRUE, horz);
    CRect strip = space;
    if (align & CBRS_ALIGN_TOP) {
        strip.bottom = strip.top + std::clamp<int>(want.cy, 0, std::max(space.Height(), 0));
        layout->rect.top = strip.bottom;
        layout->sizeTotal.cy += strip.Height();
    } else if (align & CBRS_ALIGN_BOTTOM) {
        strip.top = strip.bottom - std::clamp<int>(want.cy, 0, std::max(space.Height(), 0));
        layout->rect.bottom = strip.top;
        layout->sizeTotal.cy += strip.Height();
    } else if (align & CBRS_ALIGN_LEFT) {
        strip.right = strip.left + std::clamp<int>(want.cx, 0, std::max(space.Width(), 0));
        layout->rect.left = strip.right;
        layout->sizeTotal.cx += strip.Width();
    } else if (align & CBRS_ALIGN_RIGHT) {
        strip.left = strip.right - std::clamp<int>(want.cx, 0, std::max(space.Width(), 0));
        layout->rect.right = strip.left;
        layout->sizeTotal.cx += strip.Width();
    } else {
        return 0;
    }
    if (layout->hDWP == nullptr) return 0;  // measuring only
    CRect now;
    GetWindowRect(&now);
    GetParent()->ScreenToClient(&now);
    if (now != strip) SetWindowPos(nullptr, strip.left, strip.top, strip.Width(), strip.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceBars(strip.Size());
    return 0;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {
    // The docked bars hear of idle time themselves (they are descendants).
}

void CDockBar::DoPaint(CDC*) {
    // Only the background shows between bars.
}
