// CWnd (3 of 3): the thin wrappers over the window manager's functions, and the
// default handlers, each of which gives the message its default processing.
#include <vector>

#include "framework/app/frame_wnd.h"
#include "framework/app/wnd.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/rgn.h"

// ---- Relations --------------------------------------------------------------------

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::GetTopLevelParent() const {
    HWND hwnd = m_hWnd;
    while (hwnd != nullptr && (static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)) & WS_CHILD) != 0) {
        HWND parent = ::GetParent(hwnd);
        if (parent == nullptr) break;
        hwnd = parent;
    }
    return FromHandle(hwnd);
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(hwnd))) return frame;
    }
    return nullptr;
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, nID)); }
BOOL CWnd::IsChild(const CWnd* pWnd) const { return pWnd != nullptr && ::IsChild(m_hWnd, pWnd->m_hWnd); }

namespace {

void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, bool deep) {
    // Collect first: a handler may create or destroy siblings.
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    for (HWND child : children) {
        if (!::IsWindow(child)) continue;
        ::SendMessageW(child, message, wParam, lParam);
        if (deep && ::IsWindow(child)) SendToDescendants(child, message, wParam, lParam, true);
    }
}

}  // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep != FALSE);
}

// ---- Messages, painting, geometry ---------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, HRGN hrgnUpdate, UINT flags) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
}

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

// ---- State ----------------------------------------------------------------------------

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }

namespace {

BOOL ModifyStyleBits(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
    DWORD style = static_cast<DWORD>(::GetWindowLongW(hwnd, index));
    DWORD changed = (style & ~remove) | add;
    if (style == changed) return FALSE;
    ::SetWindowLongW(hwnd, index, static_cast<LONG>(changed));
    if (flags != 0) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    }
    return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleBits(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleBits(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

// ---- Text ------------------------------------------------------------------------------

void CWnd::SetWindowText(LPCWSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
int CWnd::GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
void CWnd::GetWindowText(CString& rString) const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) {
        rString.Empty();
        return;
    }
    int copied = ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer(copied < 0 ? 0 : copied);
}

// ---- Timers and scroll bars ----------------------------------------------------------

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
int CWnd::GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}
void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}
void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }

// ---- Default handlers -----------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCTW) { return static_cast<int>(Default()); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCTW) { return static_cast<BOOL>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }

// ---- Device contexts ----------------------------------------------------------------

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }

CDC* CWnd::GetDCEx(CRgn* prgnClip, DWORD flags) {
    HRGN copy = nullptr;
    if (prgnClip != nullptr && prgnClip->m_hObject != nullptr) {
        // The DC deletes the region it is given; the caller keeps its own.
        copy = ::CreateRectRgn(0, 0, 0, 0);
        if (copy == nullptr) return nullptr;
        ::CombineRgn(copy, static_cast<HRGN>(prgnClip->m_hObject), nullptr, RGN_COPY);
    }
    return CDC::FromHandle(::GetDCEx(m_hWnd, copy, flags));
}

int CWnd::ReleaseDC(CDC* pDC) { return pDC != nullptr ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }
BOOL CWnd::LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
void CWnd::UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }

CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
    return FromHandle(::SetParent(m_hWnd, pWndNewParent != nullptr ? pWndNewParent->m_hWnd : nullptr));
}

// ---- Arguments of the ON_WM_* entries ------------------------------------------------

CWnd* tq3::fw::msgmap::WndFromParam(UINT_PTR value) { return CWnd::FromHandle(reinterpret_cast<HWND>(value)); }
CDC* tq3::fw::msgmap::DcFromParam(WPARAM value) { return CDC::FromHandle(reinterpret_cast<HDC>(value)); }
