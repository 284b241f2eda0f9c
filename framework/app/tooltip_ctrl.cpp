// CToolTipCtrl.
#include "framework/app/tooltip_ctrl.h"

#include "framework/system/resources.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    HWND owner = pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr;
    return CWnd::CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, 0, 0, 0, 0,
                          owner, nullptr);
}

TOOLINFOW CToolTipCtrl::ToolInfo(CWnd* pWnd, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    HWND hwnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
    if (nIDTool == 0) {
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = hwnd != nullptr ? ::GetParent(hwnd) : nullptr;
        ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
    } else {
        ti.hwnd = hwnd;
        ti.uId = nIDTool;
    }
    if (lpRectTool != nullptr) ti.rect = *lpRectTool;
    return ti;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFOW ti = ToolInfo(pWnd, lpRectTool, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFOW ti = ToolInfo(pWnd, lpRectTool, nIDTool);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = MAKEINTRESOURCEW(nIDText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOW ti = ToolInfo(pWnd, nullptr, nIDTool);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

int CToolTipCtrl::GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT, 0, 0)); }

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOW ti = ToolInfo(pWnd, nullptr, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
    constexpr int kRoom = 256;
    WCHAR buffer[kRoom] = {};
    TOOLINFOW ti = ToolInfo(pWnd, nullptr, nIDTool);
    ti.lpszText = buffer;
    SendMessage(TTM_GETTEXTW, kRoom, reinterpret_cast<LPARAM>(&ti));
    str = buffer;
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    TOOLINFOW ti = ToolInfo(pWnd, lpRect, nIDTool);
    SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate), 0); }

void CToolTipCtrl::RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }

void CToolTipCtrl::Pop() { SendMessage(TTM_POP, 0, 0); }

void CToolTipCtrl::SetDelayTime(UINT nDelay) {
    SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(LOWORD(nDelay)));
}

void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime) {
    SendMessage(TTM_SETDELAYTIME, dwDuration, static_cast<LPARAM>(LOWORD(static_cast<DWORD>(iTime))));
}

int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const {
    return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration, 0));
}
