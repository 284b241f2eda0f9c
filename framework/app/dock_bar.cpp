// CDockBar: holding docked bars in rows, and placing itself and them when its
// frame lays out (WM_SIZEPARENT -> LayOutRows asks the bars their sizes and
// fits them into lines -> its own strip -> ApplyPlacements moves the bars).
#include "framework/app/dock_bar.h"

#include <algorithm>
#include <climits>
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
        if (bar != nullptr && bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
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
    if (pBar == nullptr) return -1;
    auto it = std::find(m_arrBars.begin(), m_arrBars.end(), pBar);
    return it == m_arrBars.end() ? -1 : static_cast<int>(it - m_arrBars.begin());
}

int CDockBar::GetDockedVisibleCount() const {
    return static_cast<int>(std::count_if(m_arrBars.begin(), m_arrBars.end(),
                                          [](CControlBar* bar) { return bar != nullptr && bar->IsVisible(); }));
}

int CDockBar::GetDockedCount() const {
    return static_cast<int>(std::count_if(m_arrBars.begin(), m_arrBars.end(),
                                          [](CControlBar* bar) { return bar != nullptr; }));
}

int CDockBar::GetRowCount() const {
    return static_cast<int>(std::count(m_arrBars.begin(), m_arrBars.end(), nullptr));
}

int CDockBar::GetRowOf(const CControlBar* pBar) const {
    int at = FindBar(pBar);
    if (at < 0) return -1;
    return static_cast<int>(std::count(m_arrBars.begin(), m_arrBars.begin() + at, nullptr));
}

size_t CDockBar::RowStart(size_t i) const {
    while (i > 0 && m_arrBars[i - 1] != nullptr) --i;
    return i;
}

size_t CDockBar::RowEnd(size_t i) const {
    while (i < m_arrBars.size() && m_arrBars[i] != nullptr) ++i;
    return i;
}

int CDockBar::WantedPos(const CControlBar* pBar) const {
    for (const auto& [bar, pos] : wantedPos_) {
        if (bar == pBar) return pos;
    }
    return 0;
}

void CDockBar::SetWantedPos(const CControlBar* pBar, int pos) {
    for (auto& entry : wantedPos_) {
        if (entry.first == pBar) {
            entry.second = pos;
            return;
        }
    }
    wantedPos_.emplace_back(pBar, pos);
}

void CDockBar::ForgetWantedPos(const CControlBar* pBar) {
    wantedPos_.erase(std::remove_if(wantedPos_.begin(), wantedPos_.end(),
                                    [pBar](const auto& entry) { return entry.first == pBar; }),
                     wantedPos_.end());
}

int CDockBar::EdgeLength() const {
    DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    BOOL horz = m_bFloating || (align & CBRS_ORIENT_HORZ) != 0;
    CRect r;
    GetClientRect(&r);
    int length = horz ? r.Width() : r.Height();
    if (length <= 0) {
        // Not laid out yet: the frame's client area is what the edge will be.
        if (CWnd* parent = GetParent()) {
            parent->GetClientRect(&r);
            length = horz ? r.Width() : r.Height();
        }
    }
    return length;
}

BOOL CDockBar::FillsEdge(CControlBar* pBar, int edgeLength) {
    if (m_bFloating) return TRUE;
    CSize s = pBar->CalcDynamicLayout(-1, LayoutMode());
    return ((m_dwStyle & CBRS_ORIENT_HORZ) ? s.cx : s.cy) >= edgeLength;
}

// Where a bar docked by `rect` (screen coordinates) goes: the row whose band
// holds the rectangle's middle, ordered along it by the bar's start, or a new row
// before, between or after the rows. A bar that asks for the whole edge, or a row
// holding one, never shares.
void CDockBar::PlaceByRect(CControlBar* pBar, const RECT& rect, size_t& at, bool& newRow, int& wanted) {
    const DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    const BOOL horz = (align & CBRS_ORIENT_HORZ) != 0;
    CRect client;
    GetClientRect(&client);
    CRect want(rect);
    ScreenToClient(&want);
    wanted = std::max<int>(0, horz ? want.left : want.top);
    // Distances from the frame's edge inwards, in which the rows follow each other.
    auto inward = [&](int across) {
        if (align & CBRS_ALIGN_BOTTOM) return static_cast<int>(client.bottom) - across;
        if (align & CBRS_ALIGN_RIGHT) return static_cast<int>(client.right) - across;
        return across;
    };
    const int middle = inward(horz ? want.CenterPoint().y : want.CenterPoint().x);
    const int edge = EdgeLength();
    const bool alone = FillsEdge(pBar, edge) != FALSE;
    for (size_t row = 0; row < m_arrBars.size(); row = RowEnd(row) + 1) {
        // The band of the row: from the edge-side of its visible bars to their inner side.
        int lo = INT_MAX;
        int hi = INT_MIN;
        bool shared = !alone;
        for (size_t i = row; m_arrBars[i] != nullptr; ++i) {
            CControlBar* bar = m_arrBars[i];
            if (!bar->IsVisible()) continue;
            const CRect r = PlaceOf(bar);
            int a = inward(horz ? r.top : r.left);
            int b = inward(horz ? r.bottom : r.right);
            lo = std::min({lo, a, b});
            hi = std::max({hi, a, b});
            if (FillsEdge(bar, edge)) shared = false;
        }
        if (lo > hi) continue;  // nothing of it shows: it has no band
        if (middle < lo) {
            at = row;
            break;
        }
        if (middle >= hi) continue;
        if (!shared) {
            // A row that is not shared: a row of its own before or after it.
            at = middle < (lo + hi) / 2 ? row : RowEnd(row) + 1;
            break;
        }
        // In this row, before the first bar whose middle lies beyond the bar's start.
        newRow = false;
        at = RowEnd(row);
        for (size_t i = row; m_arrBars[i] != nullptr; ++i) {
            const CRect r = PlaceOf(m_arrBars[i]);
            if ((horz ? r.CenterPoint().x : r.CenterPoint().y) > wanted) {
                at = i;
                break;
            }
        }
        break;
    }
}

// A docked bar's rectangle in this dock bar's client coordinates.
CRect CDockBar::PlaceOf(CControlBar* pBar) const {
    CRect r;
    pBar->GetWindowRect(&r);
    ScreenToClient(&r);
    return r;
}

BOOL CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr) return FALSE;
    // Room for the bar, a row's end and its place first (these may throw, and
    // nothing has changed yet); once the window has moved, nothing may fail.
    m_arrBars.reserve(m_arrBars.size() + 2);
    wantedPos_.reserve(wantedPos_.size() + 1);
    placements_.reserve(m_arrBars.size() + 1);
    line_.reserve(m_arrBars.size() + 1);
    const bool newParent = ::GetParent(pBar->m_hWnd) != m_hWnd;
    if (newParent) {
        ::SetParent(pBar->m_hWnd, m_hWnd);
        if (::GetParent(pBar->m_hWnd) != m_hWnd) return FALSE;  // the window manager had no room
    }
    // A bar moved within this dock bar leaves its old place first: its row
    // closes up behind it, and the rows are judged without it.
    if (int already = FindBar(pBar); already >= 0) RemoveAt(static_cast<size_t>(already));

    size_t at = m_arrBars.size();  // where the bar goes in m_arrBars
    bool newRow = true;            // with a row's end of its own after it
    int wanted = 0;                // its place along the edge
    if (lpRect != nullptr && !m_bFloating) PlaceByRect(pBar, *lpRect, at, newRow, wanted);
    // Reserved above: none of these allocate.
    m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(at), pBar);
    if (newRow) m_arrBars.insert(m_arrBars.begin() + static_cast<std::ptrdiff_t>(at) + 1, nullptr);
    SetWantedPos(pBar, wanted);
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

void CDockBar::RemoveAt(size_t i) {
    CControlBar* gone = m_arrBars[i];
    // The bars after it in its row move back by the room it took, as far as the
    // place it had; a hidden bar took none.
    if (gone->IsVisible() && gone->m_hWnd != nullptr && !m_bFloating) {
        CRect r;
        gone->GetWindowRect(&r);
        const BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        const int room = horz ? r.Width() : r.Height();
        const int floor = WantedPos(gone);
        for (size_t j = i + 1; m_arrBars[j] != nullptr; ++j) {
            SetWantedPos(m_arrBars[j], std::max(floor, WantedPos(m_arrBars[j]) - room));
        }
    }
    ForgetWantedPos(gone);
    m_arrBars.erase(m_arrBars.begin() + static_cast<std::ptrdiff_t>(i));
    // A row left empty goes with its end.
    if (m_arrBars[i] == nullptr && RowStart(i) == i) m_arrBars.erase(m_arrBars.begin() + static_cast<std::ptrdiff_t>(i));
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar) {
    int at = FindBar(pBar);
    if (at < 0) return FALSE;
    RemoveAt(static_cast<size_t>(at));
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
    // As thick as the rows together; as long as the edge (the whole length when stretched).
    int length = EdgeLength();
    int thickness = LayOutRows(length, false);
    if (bStretch) length = 32767;
    return bHorz ? CSize(length, thickness) : CSize(thickness, length);
}

// Appends the placements of the bars on line_, one line of a row that starts
// `inward` from the frame's edge.
void CDockBar::PlaceLine(int edgeLength, int inward) {
    if (line_.size() == 1 && line_[0].length >= edgeLength) {
        // A bar asking for a little more than the edge (its borders hang over
        // the ends) is centred on it.
        int start = std::clamp((edgeLength - line_[0].length) / 2, -2, 0);
        placements_.push_back({line_[0].bar, start, line_[0].length, inward, line_[0].thick});
    } else {
        // Each bar at its place, but never over the one before it; then,
        // from the end, each bar that runs past the edge (or into the one
        // after it) pushed back towards the start.
        size_t first = placements_.size();
        int next = 0;
        for (const LineItem& item : line_) {
            int along = std::max(item.wanted, next);
            placements_.push_back({item.bar, along, item.length, inward, item.thick});
            next = along + item.length;
        }
        int limit = edgeLength;
        for (size_t k = placements_.size(); k-- > first;) {
            Placement& p = placements_[k];
            if (p.along + p.length > limit) p.along = std::max(0, limit - p.length);
            limit = p.along;
        }
    }
}

int CDockBar::LayOutRows(int edgeLength, bool place) {
    const DWORD mode = LayoutMode();
    const BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int inward = 0;  // where the next line starts, from the frame's edge
    // One line of a row: its bars side by side. Neither vector grows here: each
    // has room for every bar held.
    std::vector<LineItem>& line = line_;
    line.clear();
    if (place) placements_.clear();
    int used = 0;  // the length of the bars on the line
    auto endLine = [&] {
        if (line.empty()) return;
        int thick = 0;
        for (const LineItem& item : line) thick = std::max(thick, item.thick);
        if (place) PlaceLine(edgeLength, inward);
        inward += thick;
        line.clear();
        used = 0;
    };
    for (CControlBar* bar : m_arrBars) {
        if (bar == nullptr) {
            endLine();  // the end of a row
            continue;
        }
        if (!bar->IsVisible() || bar->m_hWnd == nullptr) continue;
        CSize s = bar->CalcDynamicLayout(-1, mode);
        int length = horz ? s.cx : s.cy;
        if (length >= edgeLength) {
            // A bar as long as the edge has a line to itself.
            endLine();
            line.push_back({bar, length, horz ? s.cy : s.cx, 0});
            endLine();
            continue;
        }
        if (used + length > edgeLength && !line.empty()) {
            // Too long for what is left of the line: a bar of dynamic size is
            // asked for what is left (it wraps its contents), else it wraps.
            const int left = edgeLength - used;
            if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && left > 0) {
                CSize less = bar->CalcDynamicLayout(left, mode | (horz ? 0 : LM_LENGTHY));
                int shorter = horz ? less.cx : less.cy;
                if (shorter > 0 && shorter <= left) {
                    s = less;
                    length = shorter;
                }
            }
            if (used + length > edgeLength) endLine();
        }
        line.push_back({bar, length, horz ? s.cy : s.cx, WantedPos(bar)});
        used += length;
    }
    endLine();
    return inward;
}

void CDockBar::ApplyPlacements(CSize size) {
    const DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    // By index, and the placement copied: a bar's handler may lay the bars out
    // again meanwhile, which refills placements_.
    for (size_t i = 0; i < placements_.size(); ++i) {
        const Placement p = placements_[i];
        CRect r;
        if (align & CBRS_ALIGN_TOP) r.SetRect(p.along, p.inward, p.along + p.length, p.inward + p.thick);
        else if (align & CBRS_ALIGN_BOTTOM) r.SetRect(p.along, size.cy - p.inward - p.thick, p.along + p.length, size.cy - p.inward);
        else if (align & CBRS_ALIGN_LEFT) r.SetRect(p.inward, p.along, p.inward + p.thick, p.along + p.length);
        else r.SetRect(size.cx - p.inward - p.thick, p.along, size.cx - p.inward, p.along + p.length);
        const CRect now = PlaceOf(p.bar);
        if (now != r) p.bar->SetWindowPos(nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        // The bar's own handlers may have moved the bars on; stop if this one left.
        if (FindBar(p.bar) < 0) break;
    }
}

void CDockBar::PlaceBars(CSize size) {
    if (!m_bFloating) {
        LayOutRows((m_dwStyle & CBRS_ORIENT_HORZ) ? size.cx : size.cy, true);
        ApplyPlacements(size);
        return;
    }
    // A floating frame's bar fills it.
    for (size_t i = 0; i < m_arrBars.size(); ++i) {
        CControlBar* bar = m_arrBars[i];
        if (bar == nullptr || !bar->IsVisible() || bar->m_hWnd == nullptr) continue;
        const CRect now = PlaceOf(bar);
        if (now != CRect(0, 0, size.cx, size.cy)) {
            bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (i >= m_arrBars.size() || m_arrBars[i] != bar) break;
    }
}

LRESULT CDockBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (layout == nullptr) return 0;
    DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    BOOL horz = (align & CBRS_ORIENT_HORZ) != 0;
    CRect space(layout->rect);
    // The rows are laid out once, along the edge as long as the space is.
    const int thickness = LayOutRows(std::max<int>(horz ? space.Width() : space.Height(), 0), layout->hDWP != nullptr);
    CSize want = horz ? CSize(32767, thickness) : CSize(thickness, 32767);
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
    ApplyPlacements(strip.Size());
    return 0;
}

void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {
    // The docked bars hear of idle time themselves (they are descendants).
}

void CDockBar::DoPaint(CDC*) {
    // Only the background shows between bars.
}
