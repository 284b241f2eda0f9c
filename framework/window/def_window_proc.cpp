// DefWindowProcW: what a window does with a message its procedure leaves alone.
//
// Messages that climb to the parent when a child does not handle them
// (WM_SETCURSOR, WM_MOUSEACTIVATE, WM_MOUSEWHEEL, WM_CONTEXTMENU) ask the parent
// first or only, as on the platform; the non-client messages lay out, hit test
// and draw the frame and the window's scroll bars.
#include "framework/gdi/sysmetrics.h"
#include "framework/window/menu_bar_hooks.h"
#include "framework/window/virtual_keys.h"
#include "framework/window/wm_internal.h"

using namespace tq3::fw;
using namespace tq3::fw::wm;

namespace {

MenuBarHooks menuBarHooks;
// Alt went down and no other key since: its release opens the menu bar.
bool altAlone = false;

Window* ParentOfChild(Window* w) {
    return (IsChildStyle(w) && w->parent != nullptr && w->parent != S().desktopWindow) ? w->parent : nullptr;
}

POINT PointOf(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

LPARAM PackPoint(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

LRESULT OnSetCursor(Window* w, WPARAM wp, LPARAM lp) {
    if (Window* p = ParentOfChild(w)) {
        if (Send(p, WM_SETCURSOR, wp, lp)) return TRUE;
    }
    auto hit = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lp)));
    LPCWSTR shape = nullptr;
    switch (hit) {
        case HTCLIENT: {
            auto cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(reinterpret_cast<HWND>(wp), GCLP_HCURSOR));
            if (cursor == nullptr) return FALSE;
            SetCursor(cursor);
            return TRUE;
        }
        case HTLEFT:
        case HTRIGHT: shape = IDC_SIZEWE; break;
        case HTTOP:
        case HTBOTTOM: shape = IDC_SIZENS; break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: shape = IDC_SIZENWSE; break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: shape = IDC_SIZENESW; break;
        case HTERROR: return FALSE;
        default: shape = IDC_ARROW; break;
    }
    SetCursor(LoadCursorW(nullptr, shape));
    return TRUE;
}

LRESULT OnWindowPosChanged(Window* w, const WINDOWPOS* wp) {
    if (wp == nullptr) return 0;
    if (!(wp->flags & kSwpNoClientMove)) {
        Send(w, WM_MOVE, 0, PackPoint(POINT{w->client.left, w->client.top}));
        if (w->dead) return 0;
    }
    if (!(wp->flags & kSwpNoClientSize)) {
        WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        Send(w, WM_SIZE, kind,
             PackPoint(POINT{w->client.right - w->client.left, w->client.bottom - w->client.top}));
    }
    return 0;
}

LRESULT OnNcCalcSize(Window* w, WPARAM wp, LPARAM lp) {
    if (lp == 0) return 0;
    RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
    DefaultCalcSize(w, r);
    return 0;
}

LRESULT OnNcPaint(Window* w) {
    HDC dc = GetWindowDC(w->handle);
    if (dc == nullptr) return 0;
    DrawNonClient(w->handle, dc);
    RECT bar{};
    if (menuBarHooks.paint != nullptr && GetMenuBarRect(w->handle, &bar)) menuBarHooks.paint(w->handle, dc, bar);
    ReleaseDC(w->handle, dc);
    return 0;
}

LRESULT OnEraseBackground(Window* w, HDC dc) {
    if (w->cls->background == nullptr) return 0;
    RECT rc{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    FillWithClassBrush(w, dc, rc);
    return 1;
}

void ContextMenuFromKeyboard(Window* w) {
    Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w->handle), static_cast<LPARAM>(-1));
}

// The bar of the window's top-level window runs (a child's Alt key reaches its
// frame's bar); SC_MOUSEMENU carries the clicked point, SC_KEYMENU the letter.
void StartMenuBar(Window* w, WPARAM wp, LPARAM lp) {
    HWND top = GetAncestor(w->handle, GA_ROOT);
    RECT bar{};
    if (menuBarHooks.track == nullptr || !GetMenuBarRect(top, &bar)) return;
    if ((wp & 0xFFF0) == SC_MOUSEMENU) {
        menuBarHooks.track(top, PointOf(lp), false, 0);
    } else {
        menuBarHooks.track(top, POINT{0, 0}, true, static_cast<WCHAR>(lp));
    }
}

// The system keys that reach the menu bar: F10 and Alt released alone open it,
// Alt with a letter opens the item of that mnemonic.
void OnSystemKey(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
    // Only a window whose top-level window has a bar hears SC_KEYMENU.
    RECT bar{};
    const bool hasBar = GetMenuBarRect(GetAncestor(w->handle, GA_ROOT), &bar) != FALSE;
    if (msg == WM_SYSKEYDOWN) {
        bool alt = wp == static_cast<WPARAM>(VK_MENU);
        if (alt && !(lp & (1 << 30))) altAlone = true;
        if (!alt) altAlone = false;
        bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (wp == static_cast<WPARAM>(VK_F10) && shift) ContextMenuFromKeyboard(w);
        if (wp == static_cast<WPARAM>(VK_F10) && !shift && hasBar) Send(w, WM_SYSCOMMAND, SC_KEYMENU, 0);
    } else if (msg == WM_SYSKEYUP && wp == static_cast<WPARAM>(VK_MENU) && altAlone) {
        altAlone = false;
        if (hasBar) Send(w, WM_SYSCOMMAND, SC_KEYMENU, 0);
    } else if (msg == WM_SYSCHAR && wp >= 0x20) {
        altAlone = false;
        if (hasBar) Send(w, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wp));
    }
}

LRESULT OnSysCommand(Window* w, WPARAM wp, LPARAM lp) {
    switch (wp & 0xFFF0) {
        case SC_CLOSE: Send(w, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(w->handle, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(w->handle, SW_SHOWMAXIMIZED); break;
        case SC_RESTORE: ShowWindow(w->handle, SW_RESTORE); break;
        case SC_KEYMENU:
        case SC_MOUSEMENU: StartMenuBar(w, wp, lp); break;
        default: break;
    }
    return 0;
}

LRESULT OnNonClientButton(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
    auto hit = static_cast<LRESULT>(wp);
    if ((msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK) && (hit == HTVSCROLL || hit == HTHSCROLL)) {
        StartScrollTrack(w, hit == HTVSCROLL ? SB_VERT : SB_HORZ, hit, PointOf(lp));
        return 0;
    }
    if (msg == WM_NCLBUTTONUP && hit == HTCLOSE) return Send(w, WM_SYSCOMMAND, SC_CLOSE, lp);
    if (msg == WM_NCLBUTTONDOWN && hit == HTMENU) return Send(w, WM_SYSCOMMAND, SC_MOUSEMENU, lp);
    if (msg == WM_NCRBUTTONUP) {
        Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w->handle), lp);
    }
    return 0;
}

LRESULT OnCtlColor(UINT msg) {
    int index = (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW
                : (msg == WM_CTLCOLORSCROLLBAR)                       ? COLOR_SCROLLBAR
                                                                      : COLOR_BTNFACE;
    return reinterpret_cast<LRESULT>(GetSysColorBrush(index));
}

}  // namespace

void tq3::fw::SetMenuBarHooks(const MenuBarHooks& hooks) { menuBarHooks = hooks; }

void tq3::fw::wm::EndAltAlone() { altAlone = false; }

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    CallScope scope;
    switch (msg) {
        case WM_NCCREATE: return TRUE;
        case WM_NCCALCSIZE: return OnNcCalcSize(w, wp, lp);
        case WM_NCHITTEST: return DefaultHitTest(w, PointOf(lp));
        case WM_NCPAINT: return OnNcPaint(w);
        case WM_NCACTIVATE:
            if ((w->style & WS_CAPTION) == WS_CAPTION) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
            return TRUE;
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH: return DefaultText(w, msg, wp, lp);
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return OnEraseBackground(w, reinterpret_cast<HDC>(wp));
        case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(w, reinterpret_cast<const WINDOWPOS*>(lp));
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_SYSCOMMAND: return OnSysCommand(w, wp, lp);
        case WM_SETCURSOR: return OnSetCursor(w, wp, lp);
        case WM_MOUSEACTIVATE:
            if (Window* p = ParentOfChild(w)) {
                LRESULT r = Send(p, WM_MOUSEACTIVATE, wp, lp);
                if (r != 0) return r;
            }
            return MA_ACTIVATE;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
        case WM_CONTEXTMENU:
            if (Window* p = ParentOfChild(w)) return Send(p, msg, wp, lp);
            return 0;
        case WM_RBUTTONUP: {
            POINT pt = PointOf(lp);
            ClientToScreen(hwnd, &pt);
            Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), PackPoint(pt));
            return 0;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (wp == static_cast<WPARAM>(VK_APPS)) ContextMenuFromKeyboard(w);
            if (msg == WM_SYSKEYUP) OnSystemKey(w, msg, wp, lp);
            return 0;
        case WM_SYSKEYDOWN:
        case WM_SYSCHAR:
            OnSystemKey(w, msg, wp, lp);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && HIWORD(wp) == 0) SetFocus(hwnd);
            return 0;
        case WM_CANCELMODE:
            if (S().scrollTrack.active && S().scrollTrack.hwnd == hwnd) CancelScrollTrack();
            if (GetCapture() == hwnd) ReleaseCapture();
            return 0;
        case WM_SETREDRAW:
            w->redrawOff = wp == 0;
            return 0;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP: return OnNonClientButton(w, msg, wp, lp);
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: return OnCtlColor(msg);
        default: return 0;
    }
}
