// CColumnHeaderWnd
//
// Sections: creation and the column list; layout and widths; hit tests and
// cursors; mouse (move, press, release, double-click, right press); painting;
// scrolling and size changes.
//
// Which drag a held button performs is not stored: the cursor shown when the
// button went down says it (the arrow drags over columns, the divider cursor
// resizes), and the mouse capture says whether a drag is in progress. So the press
// handler reads the cursor that the last move chose, and the release handler reads
// it again to know which end notification to send.
#include "headers/column_header_wnd.h"

#include <new>

#include "framework/app/window_dc.h"
#include "framework/controls/commctrl.h"
#include "headers/strip_internal.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/resources.h"

IMPLEMENT_DYNAMIC(CColumnHeaderWnd, CWnd)

BEGIN_MESSAGE_MAP(CColumnHeaderWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_HSCROLL()
ON_WM_WINDOWPOSCHANGING()
ON_WM_WINDOWPOSCHANGED()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CColumnHeaderWnd::CColumnHeaderWnd() = default;
CColumnHeaderWnd::~CColumnHeaderWnd() = default;

// ---- Creation and the column list ----------------------------------------------

BOOL CColumnHeaderWnd::Create(CWnd* parent) {
    columns.clear();
    arrowCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (dividerCursor == nullptr) {
        LPCWSTR name = MAKEINTRESOURCEW(kDividerCursorId);
        dividerCursor = LoadCursorW(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
        ownsDividerCursor = dividerCursor != nullptr;
        // Without the library's resources the strip still resizes, with the
        // platform's own left-right arrows.
        if (dividerCursor == nullptr) dividerCursor = LoadCursorW(nullptr, IDC_SIZEWE);
    }
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, arrowCursor, GetSysColorBrush(COLOR_BTNFACE));
    return CWnd::Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), parent, kColumnHeaderId);
}

void CColumnHeaderWnd::ResetColumns() {
    columns.clear();
    scrollX = 0;
    paintedScrollX = 0;
}

CColumnProp* CColumnHeaderWnd::GetColumn(int position) const {
    if (position < 0 || position >= GetColumnCount()) return nullptr;
    return columns[static_cast<size_t>(position)];
}

int CColumnHeaderWnd::InsertColumn(int position, CColumnProp* column) {
    const int count = GetColumnCount();
    try {
        if (position < 0 || position >= count) {
            columns.push_back(column);
            return count;
        }
        columns.insert(columns.begin() + position, column);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return position;
}

BOOL CColumnHeaderWnd::DeleteColumn(int position) {
    if (position < 0 || position >= GetColumnCount()) return FALSE;
    columns.erase(columns.begin() + position);
    return TRUE;
}

// ---- Layout and widths ---------------------------------------------------------

BOOL CColumnHeaderWnd::GetColumnRect(int position, RECT* rect) {
    CColumnProp* column = GetColumn(position);
    if (column == nullptr) {
        if (rect != nullptr) *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    // A column never laid out (or given no width) makes the whole row take the
    // widths of its titles again, so the columns stay side by side.
    if (column->extent.IsRectEmpty() && m_hWnd != nullptr) LayOutFromTitles();
    if (rect != nullptr) *rect = column->extent;
    return TRUE;
}

void CColumnHeaderWnd::LayOutFromTitles() {
    CRect client;
    GetClientRect(&client);
    // Titles are measured in the title font, as the strip draws them; a memory
    // context measures without touching the screen.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* previousFont = font.GetSafeHandle() != nullptr ? dc.SelectObject(&font) : nullptr;
    int left = client.left;
    for (CColumnProp* column : columns) {
        const int width = dc.GetTextExtent(column->title).cx + titleMargin;
        const int right = tq3::MoveColumnEdge(left, width);
        column->extent = CRect(left, client.top, right, client.bottom);
        column->defaultWidth = width;
        left = right;
    }
    if (previousFont != nullptr) dc.SelectObject(previousFont);
}

void CColumnHeaderWnd::SetColumnWidth(int position, int width) {
    CColumnProp* column = GetColumn(position);
    if (column == nullptr) return;
    // Edges stop at the farthest edge the geometry allows, however wide a width.
    const int oldRight = column->extent.right;
    column->extent.right = tq3::MoveColumnEdge(column->extent.left, width);
    const long long shift = static_cast<long long>(column->extent.right) - oldRight;
    for (size_t i = static_cast<size_t>(position) + 1; i < columns.size(); ++i) {
        CRect& extent = columns[i]->extent;
        extent.left = tq3::MoveColumnEdge(extent.left, shift);
        extent.right = tq3::MoveColumnEdge(extent.right, shift);
    }
    if (m_hWnd != nullptr) Invalidate(TRUE);
}

// ---- Hit tests and cursors -------------------------------------------------------

int CColumnHeaderWnd::ColumnAt(int contentX) const {
    for (size_t i = 0; i < columns.size(); ++i) {
        const CRect& e = columns[i]->extent;
        if (e.left < contentX && contentX <= e.right) return static_cast<int>(i);
    }
    return -1;
}

int CColumnHeaderWnd::DividerAt(int contentX) const {
    for (size_t i = 0; i < columns.size(); ++i) {
        const int right = columns[i]->extent.right;
        if (right - kDividerReach <= contentX && contentX <= right + kDividerReach) return static_cast<int>(i);
    }
    return -1;
}

bool CColumnHeaderWnd::ShowsArrow() const { return ::GetCursor() == arrowCursor; }

bool CColumnHeaderWnd::ShowsDivider() const { return dividerCursor != nullptr && ::GetCursor() == dividerCursor; }

void CColumnHeaderWnd::ShowArrow() { ::SetCursor(arrowCursor); }

void CColumnHeaderWnd::ShowDivider() {
    if (!ShowsDivider() && dividerCursor != nullptr) ::SetCursor(dividerCursor);
}

BOOL CColumnHeaderWnd::OnSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*message*/) {
    // The move handler chooses the cursor; letting the class cursor in here would
    // undo the divider cursor on every move.
    return TRUE;
}

void CColumnHeaderWnd::Notify(UINT code, int item, int button) {
    tq3::NotifyStripParent(*this, kColumnHeaderId, code, item, button);
}

// ---- Mouse -------------------------------------------------------------------------

void CColumnHeaderWnd::OnMouseMove(UINT nFlags, CPoint point) {
    const int x = point.x + scrollX;
    if ((nFlags & MK_LBUTTON) == 0) {
        for (int i = 0; i < GetColumnCount(); ++i) {
            CRect box;
            GetColumnRect(i, &box);
            if (box.right - kDividerReach <= x && x <= box.right + kDividerReach) {
                ShowDivider();
                return;
            }
        }
        ShowArrow();
        return;
    }
    if (HoldsCapture()) {
        if (ShowsArrow()) {
            const int column = ColumnAt(x);
            if (column >= 0) Notify(HDN_TRACKW, column);
        } else if (ShowsDivider()) {
            Notify(HDN_TRACKW, -1);
        }
    }
    ++pressState;
}

void CColumnHeaderWnd::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    const int x = point.x + scrollX;
    // The view may open a window of its own while it handles the notification, so
    // the capture is taken after it, on this strip's own decision.
    if (ShowsArrow()) {
        const int column = ColumnAt(x);
        if (column >= 0) {
            Notify(HDN_BEGINDRAG, column);
            SetCapture();
        }
    } else if (ShowsDivider()) {
        const int divider = DividerAt(x);
        if (divider >= 0) {
            Notify(HDN_BEGINTRACKW, divider);
            SetCapture();
        }
    }
    pressState = 1;
}

void CColumnHeaderWnd::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    const int x = point.x + scrollX;
    if (pressState == 1) {
        const int column = ColumnAt(x);
        if (column >= 0) Notify(HDN_ITEMCLICKW, column);
    }
    if (ShowsArrow() && HoldsCapture()) {
        ReleaseCapture();
        // The column under the release point ends the drag, whether it is the
        // clicked one or another the pointer was dragged to.
        const int column = ColumnAt(x);
        if (column >= 0) Notify(HDN_ENDDRAG, column);
    } else if (ShowsDivider() && HoldsCapture()) {
        ReleaseCapture();
        ShowArrow();
        Notify(HDN_ENDTRACKW, -1);
    }
    pressState = 0;
}

void CColumnHeaderWnd::OnLButtonDblClk(UINT /*nFlags*/, CPoint point) {
    if (HoldsCapture()) ReleaseCapture();
    const int divider = DividerAt(point.x + scrollX);
    if (divider >= 0) Notify(HDN_DIVIDERDBLCLICKW, divider);
}

void CColumnHeaderWnd::OnRButtonDown(UINT /*nFlags*/, CPoint point) {
    if (ShowsDivider()) ShowArrow();
    const int column = ColumnAt(point.x + scrollX);
    if (column >= 0) Notify(HDN_ITEMCLICKW, column, 1);
}

// ---- Painting --------------------------------------------------------------------

BOOL CColumnHeaderWnd::OnEraseBkgnd(CDC* /*pDC*/) {
    return TRUE;  // painting covers the whole client area
}

void CColumnHeaderWnd::OnPaint() {
    CPaintDC paintDC(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty()) return;
    tq3::PaintStripOffScreen(paintDC, client, buffer, font, [&](CDC& dc) { DrawColumns(dc, client); });
}

void CColumnHeaderWnd::DrawColumns(CDC& dc, const CRect& client) {
    CRect last;
    bool drewAny = false;
    for (CColumnProp* column : columns) {
        if (column->extent.IsRectEmpty()) continue;
        // The records learn the strip's height here, so that the view's cell
        // geometry and the header agree after a size change.
        column->extent.top = client.top;
        column->extent.bottom = client.bottom;
        CRect button = column->extent;
        button.OffsetRect(-scrollX, 0);
        last = button;
        drewAny = true;
        if (button.right < client.left || button.left > client.right) continue;  // scrolled out of sight
        dc.DrawFrameControl(&button, DFC_BUTTON, DFCS_BUTTONPUSH);
        CRect text(button.left + 6, button.top + 1, button.right - 6, button.bottom - 1);
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
        format |= column->numeric != 0 ? DT_RIGHT : DT_LEFT;
        dc.DrawText(column->title, &text, format);
    }
    if (!drewAny) return;  // the filler takes the last button's height: none without one
    // The filler closes the row after the last column, so the strip never ends in
    // bare background.
    CRect filler(last.right + 1, last.top, client.right, last.bottom);
    if (filler.left < filler.right) dc.DrawFrameControl(&filler, DFC_BUTTON, DFCS_BUTTONPUSH);
}

// ---- Scrolling and size changes ----------------------------------------------------

void CColumnHeaderWnd::OnHScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* /*pScrollBar*/) {
    if (nSBCode == SB_ENDSCROLL) return;
    CRect client;
    GetClientRect(&client);
    // Moving the pixels already on the screen leaves only the uncovered strip to
    // paint; the strip paints its own background, so no erase is asked for.
    ScrollWindowEx(m_hWnd, paintedScrollX - scrollX, 0, &client, &client, nullptr, nullptr, SW_INVALIDATE);
    paintedScrollX = scrollX;
    // The filler does not move with the columns: it always reaches the right edge.
    // The moved pixels carry its old right border into the row, so it is drawn
    // again from the last column on.
    int lastRight = client.left;
    for (const CColumnProp* column : columns) {
        if (!column->extent.IsRectEmpty()) lastRight = column->extent.right - scrollX;
    }
    CRect filler(lastRight > client.left ? lastRight : client.left, client.top, client.right, client.bottom);
    if (!filler.IsRectEmpty()) InvalidateRect(&filler, FALSE);
}

void CColumnHeaderWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    CWnd::OnWindowPosChanging(lpwndpos);
    Invalidate(TRUE);
}

void CColumnHeaderWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CWnd::OnWindowPosChanged(lpwndpos);
    Invalidate(TRUE);
}

void CColumnHeaderWnd::OnDestroy() {
    CWnd::OnDestroy();
    columns.clear();
    buffer.Release();
    if (dividerCursor != nullptr) {
        if (::GetCursor() == dividerCursor) ::SetCursor(arrowCursor);
        if (ownsDividerCursor) DestroyCursor(dividerCursor);
        dividerCursor = nullptr;
        ownsDividerCursor = false;
    }
}
