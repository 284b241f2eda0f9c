// CWnd (2 of 3): dispatch. A message goes through the message map (OnWndMsg);
// WM_COMMAND and WM_NOTIFY are first offered back to the control that sent them
// (reflection), then routed as commands and notifications through OnCmdMsg, which
// frames extend to their active view and to the application. Queued messages pass
// PreTranslateMessage of their window and its parents before they are dispatched.
#include <new>

#include "framework/app/cmd_ui.h"
#include "framework/app/win_app.h"
#include "framework/app/wnd.h"
#include "framework/controls/button.h"

namespace {

// Collects the state a command's update handler gives, without showing it anywhere:
// a command from a menu or an accelerator is carried out only while enabled.
class CommandStateProbe : public CCmdUI {
public:
    BOOL enabled = TRUE;
    void Enable(BOOL bOn) override {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetText(LPCWSTR) override {}
};

}  // namespace

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    CWinApp* app = AfxGetApp();
    if (message == WM_SETCURSOR && app != nullptr && app->m_nWaitCursorCount > 0) {
        // While a long operation runs, every window keeps showing the wait cursor.
        app->DoWaitCursor(0);
        result = TRUE;
    } else if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        result = 1;
    } else if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header == nullptr || header->hwndFrom == nullptr || !OnNotify(wParam, lParam, &result)) return FALSE;
    } else {
        const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), message, 0, 0);
        if (entry == nullptr) {
            // An owner-drawn control whose parent leaves the drawing alone draws itself.
            auto* item = message == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam) : nullptr;
            if (item == nullptr || item->CtlType == ODT_MENU || !ReflectLastMsg(item->hwndItem, &result)) return FALSE;
            if (pResult != nullptr) *pResult = result;
            return TRUE;
        }
        tq3::fw::MsgCall call;
        call.message = message;
        call.wParam = wParam;
        call.lParam = lParam;
        DispatchEntry(*entry, call);
        result = call.result;
    }
    if (pResult != nullptr) *pResult = result;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(static_cast<DWORD_PTR>(wParam));
    int code = HIWORD(static_cast<DWORD_PTR>(wParam));
    auto control = reinterpret_cast<HWND>(lParam);
    if (control == nullptr) {
        // From a menu or an accelerator: ask the targets first whether the command
        // is enabled now; a disabled command is swallowed.
        if (id == 0) return FALSE;
        CommandStateProbe probe;
        probe.m_nID = id;
        probe.DoUpdate(this, FALSE);
        if (!probe.enabled) return TRUE;
        code = CN_COMMAND;
    } else if (ReflectLastMsg(control)) {
        return TRUE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectLastMsg(header->hwndFrom, pResult)) return TRUE;
    tq3::fw::NotifyCall notify{header, pResult};
    return OnCmdMsg(static_cast<UINT>(header->idFrom),
                    static_cast<int>(MAKELONG(static_cast<WORD>(header->code), static_cast<WORD>(WM_NOTIFY))),
                    &notify, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* child = FromHandlePermanent(hWndChild);
    const MSG* msg = GetCurrentMessage();
    if (child == nullptr || msg == nullptr) return FALSE;
    return child->OnChildNotify(msg->message, msg->wParam, msg->lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // The control's own table gets the notification under the reflected message
    // id, where its parent's entries can never match. A command notification
    // goes through the virtual OnCmdMsg, so a control class can answer it in code.
    LRESULT ignored = 0;
    if (pResult == nullptr) pResult = &ignored;
    if (message == WM_COMMAND) {
        WORD code = HIWORD(static_cast<DWORD_PTR>(wParam));
        if (!OnCmdMsg(0, static_cast<int>(MAKELONG(code, static_cast<WORD>(TQ3_WM_REFLECT_BASE + WM_COMMAND))), nullptr,
                      nullptr)) {
            return FALSE;
        }
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        tq3::fw::NotifyCall notify{header, pResult};
        return CCmdTarget::OnCmdMsg(
            0, static_cast<int>(MAKELONG(static_cast<WORD>(header->code), static_cast<WORD>(TQ3_WM_REFLECT_BASE + WM_NOTIFY))),
            &notify, nullptr);
    }
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hwnd = pMsg->hwnd; hwnd != nullptr;) {
        // Read the way up before the call: a handler may destroy the window.
        bool topLevel = (static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)) & WS_CHILD) == 0;
        HWND parent = topLevel ? nullptr : ::GetParent(hwnd);
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(pMsg)) return TRUE;
        if (hwnd == hWndStop) break;
        hwnd = parent != nullptr && ::IsWindow(parent) ? parent : nullptr;
    }
    return FALSE;
}
