// CLineHeaderWnd
//
// Sections: creation and width; hit tests; mouse (press, move, release,
// double-click, right press); painting; size changes and destruction.
#include "headers/line_header_wnd.h"

#include <cstdio>

#include "framework/app/window_dc.h"
#include "framework/controls/commctrl.h"
#include "headers/strip_internal.h"
#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNAMIC(CLineHeaderWnd, CWnd)

BEGIN_MESSAGE_MAP(CLineHeaderWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_WINDOWPOSCHANGING()
ON_WM_WINDOWPOSCHANGED()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CLineHeaderWnd::CLineHeaderWnd() = default;
CLineHeaderWnd::~CLineHeaderWnd() = default;

// ---- Creation and width ------------------------------------------------------------

BOOL CLineHeaderWnd::Create(CWnd* parent) {
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    return CWnd::Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 10, 60, 100), parent, kLineHeaderId);
}

int CLineHeaderWnd::GetLineHeaderWidth() {
    if (m_hWnd == nullptr || font.GetSafeHandle() == nullptr) return kMinLineHeaderWidth;
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return kMinLineHeaderWidth;
    CFont* previous = dc.SelectObject(&font);
    const int width = dc.GetTextExtent(caption).cx + 2 * lineHeight + 1;
    dc.SelectObject(previous);
    return width > kMinLineHeaderWidth ? width : kMinLineHeaderWidth;
}

// ---- Hit tests -----------------------------------------------------------------------

int CLineHeaderWnd::LineAt(int y) const {
    if (lineHeight <= 0) return topLine;
    // Truncating toward zero keeps a point just above the strip on the line before
    // the top one, so dragging upwards past the strip keeps extending a selection.
    const int line = (y - lineHeight) / lineHeight + topLine;
    return line < 0 ? 0 : line;
}

int CLineHeaderWnd::ItemAt(int y) const {
    if (y >= 0 && y < lineHeight) return kCorner;
    const int line = LineAt(y);
    return line < headerLineCount ? line : kNoItem;
}

void CLineHeaderWnd::Notify(UINT code, int item, int button) {
    tq3::NotifyStripParent(*this, kLineHeaderId, code, item, button);
}

// ---- Mouse -------------------------------------------------------------------------

void CLineHeaderWnd::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    if (!ShowsArrow()) return;
    const int item = ItemAt(point.y);
    if (item != kNoItem) {
        Notify(HDN_BEGINDRAG, item);
        // The caption box selects everything at once: there is nothing to drag.
        if (item >= 0) SetCapture();
    }
    pressState = 1;
}

void CLineHeaderWnd::OnMouseMove(UINT /*nFlags*/, CPoint point) {
    if (!ShowsArrow() || !HoldsCapture()) return;
    const int item = ItemAt(point.y);
    if (item == kNoItem) return;
    Notify(HDN_TRACKW, item);
    ++pressState;
}

void CLineHeaderWnd::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    if (pressState == 1) {
        CRect client;
        GetClientRect(&client);
        const CRect corner(client.left, client.top, client.right, client.top + lineHeight);
        const int line = LineAt(point.y);
        const int item = corner.PtInRect(point) ? kCorner : (line < headerLineCount ? line : kNoItem);
        if (item == kNoItem) {
            // A press that never left its row past the last line sent nothing;
            // one that began on a line and was dragged there without a reported
            // move still holds the mouse, which must not outlive the button.
            if (HoldsCapture()) ReleaseCapture();
            pressState = 0;
            return;
        }
        Notify(HDN_ITEMCLICKW, item);
    }
    if (HoldsCapture()) {
        ReleaseCapture();
        const int line = LineAt(point.y);
        if (line >= headerLineCount) return;
        Notify(HDN_ENDDRAG, line);
    }
    pressState = 0;
}

void CLineHeaderWnd::OnLButtonDblClk(UINT /*nFlags*/, CPoint point) {
    if (!ShowsArrow()) return;
    const int item = ItemAt(point.y);
    if (item != kNoItem) Notify(HDN_ITEMDBLCLICKW, item);
    if (HoldsCapture()) ReleaseCapture();
}

void CLineHeaderWnd::OnRButtonDown(UINT /*nFlags*/, CPoint point) {
    if (!ShowsArrow()) return;
    const int item = ItemAt(point.y);
    if (item == kNoItem) {
        pressState = 1;
        return;
    }
    Notify(HDN_ITEMCLICKW, item, 1);
}

// ---- Painting --------------------------------------------------------------------

BOOL CLineHeaderWnd::OnEraseBkgnd(CDC* /*pDC*/) {
    return TRUE;  // painting covers the whole client area
}

void CLineHeaderWnd::OnPaint() {
    CPaintDC paintDC(this);
    CRect clip;
    // Nothing was invalidated and the rows did not move: the screen is right.
    if (paintDC.GetClipBox(&clip) == NULLREGION && topLine == previousTopLine) return;
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty()) return;
    tq3::PaintStripOffScreen(paintDC, client, buffer, font, [&](CDC& dc) { DrawRows(dc, client); });
}

void CLineHeaderWnd::DrawRows(CDC& dc, const CRect& client) {
    constexpr UINT kFormat = DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    CRect box(client.left, 0, client.right, lineHeight);
    dc.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONPUSH);
    dc.DrawText(caption, &box, kFormat);
    if (lineHeight <= 0) return;
    // Only the rows that fit are drawn, however long the sheet: one more than the
    // client height holds, for the part-row at the bottom.
    const int lastLine = topLine + client.Height() / lineHeight;
    for (int line = topLine; line <= lastLine; ++line) {
        box.OffsetRect(0, lineHeight);
        dc.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONPUSH);
        if (line >= headerLineCount) continue;
        char digits[16];
        const int length = std::snprintf(digits, sizeof digits, "%d", line + 1);
        WCHAR label[16];
        for (int i = 0; i < length; ++i) label[i] = static_cast<WCHAR>(digits[i]);
        CRect text = box;
        text.DeflateRect(1, 1);
        dc.DrawText(label, length, &text, kFormat);
    }
}

// ---- Size changes and destruction ------------------------------------------------

void CLineHeaderWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    CWnd::OnWindowPosChanging(lpwndpos);
    Invalidate(TRUE);
}

void CLineHeaderWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CWnd::OnWindowPosChanged(lpwndpos);
    Invalidate(TRUE);
}

void CLineHeaderWnd::OnDestroy() {
    CWnd::OnDestroy();
    buffer.Release();
}
