// CWnd members that serve control bars: RepositionBars, which lays bars out along
// a window's edges, and UpdateDialogControls, which brings a bar's (or a
// dialog's) controls up to date with the command handlers.
#include <string_view>

#include "framework/app/cmd_ui.h"
#include "framework/app/control_bar.h"

namespace {

// Any non-null value tells the bars to move; a null one (reposQuery) that they
// are only measured.
HANDLE PlaceNow() {
    static int marker = 0;
    return &marker;
}

}  // namespace

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
    if (m_hWnd == nullptr) return;
    AFX_SIZEPARENTPARAMS layout;
    if (lpRectClient != nullptr) {
        layout.rect = *lpRectClient;
    } else {
        ::GetClientRect(m_hWnd, &layout.rect);
    }
    layout.bStretch = bStretch;
    const bool query = (nFlag & ~reposNoPosLeftOver) == reposQuery;
    layout.hDWP = query ? nullptr : PlaceNow();
    HWND leftOver = nullptr;
    // The bars in z-order: each takes its strip of what the ones before it left.
    // A bar's handler may create or destroy windows; the next sibling is read after it.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id == nIDLeftOver) {
            leftOver = child;
        } else if (id >= nIDFirst && id <= nIDLast) {
            ::SendMessageW(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
        }
        if (!::IsWindow(child)) break;
    }
    if (query) {
        if (lpRectParam != nullptr) {
            if (bStretch) {
                *lpRectParam = layout.rect;
            } else {
                lpRectParam->left = lpRectParam->top = 0;
                lpRectParam->right = layout.sizeTotal.cx;
                lpRectParam->bottom = layout.sizeTotal.cy;
            }
        }
        return;
    }
    if ((nFlag & reposExtra) && lpRectParam != nullptr) {
        layout.rect.left += lpRectParam->left;
        layout.rect.top += lpRectParam->top;
        layout.rect.right -= lpRectParam->right;
        layout.rect.bottom -= lpRectParam->bottom;
    }
    if (leftOver == nullptr || (nFlag & reposNoPosLeftOver)) return;
    RECT r = layout.rect;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    RECT now;
    ::GetWindowRect(leftOver, &now);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&now), 2);
    if (now.left != r.left || now.top != r.top || now.right != r.right || now.bottom != r.bottom) {
        ::SetWindowPos(leftOver, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

namespace {

constexpr UINT kGetDlgCode = 0x0087;       // WM_GETDLGCODE
constexpr LRESULT kDlgcButton = 0x2000;    // DLGC_BUTTON
constexpr DWORD kButtonTypeMask = 0x000F;  // BS_TYPEMASK
constexpr DWORD kGroupBox = 0x0007;
constexpr DWORD kAutoCheckBox = 0x0003;
constexpr DWORD kAutoRadio = 0x0009;
constexpr DWORD kAuto3State = 0x0006;

// Whether `control` is a button. A group box answers WM_GETDLGCODE as a static
// control does, so the class tells buttons apart too.
bool IsButton(HWND control) {
    WCHAR name[16] = {};
    ::GetClassNameW(control, name, 16);
    const std::u16string_view cls(name);
    const bool button = cls.size() == 6 && (cls[0] == u'B' || cls[0] == u'b') &&
                        (cls.substr(1) == u"UTTON" || cls.substr(1) == u"utton");
    return button || (::SendMessageW(control, kGetDlgCode, 0, 0) & kDlgcButton) != 0;
}

// A button whose state the user sets (automatic check boxes and radio buttons)
// or that sends nothing (a group box): no command handler decides for it.
bool SelfStatedButton(HWND control) {
    if (!IsButton(control)) return false;
    DWORD type = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE)) & kButtonTypeMask;
    return type == kGroupBox || type == kAutoCheckBox || type == kAutoRadio || type == kAuto3State;
}

}  // namespace

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (m_hWnd == nullptr || pTarget == nullptr) return;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id == 0 || id == 0xFFFF || SelfStatedButton(child)) continue;
        CCmdUI state;
        state.m_nID = id;
        state.m_pOther = CWnd::FromHandle(child);
        // The control itself may handle its state, then this window, then the target.
        if (state.m_pOther != nullptr && state.m_pOther->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
        if (!::IsWindow(child)) break;
        // Only a button is greyed for want of a handler: it stands for a command.
        // Another child (a list, an edit box, a view held in a bar) has none behind
        // it, and nothing would ever enable it again.
        state.DoUpdate(pTarget, bDisableIfNoHndler && IsButton(child));
        if (!::IsWindow(child)) break;
    }
}
