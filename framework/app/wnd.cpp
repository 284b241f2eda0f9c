// CWnd (1 of 3): the handle map, creation and destruction, and the window procedure
// that carries every message of a permanent CWnd into WindowProc.
//
// Call flow of one message: AfxWndProc -> CallWndProc (records the current message,
// catches what a handler throws) -> CWnd::WindowProc -> OnWndMsg (wnd_dispatch.cpp)
// -> a handler, or DefWindowProc. After WM_NCDESTROY, CallWndProc unbinds the object
// and calls PostNcDestroy.
#include "framework/app/wnd.h"

#include <cstdio>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <unordered_map>

#include "framework/app/win_app.h"
#include "framework/window/hooks.h"

namespace {

struct HandleMaps {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
};

HandleMaps& Maps() {
    static HandleMaps maps;
    return maps;
}

// The object whose CreateEx is running, waiting for its window to exist.
CWnd* pendingCreate = nullptr;

// Binds the object whose CreateEx runs to the window just made, before any
// message reaches it: the object takes the window over as SubclassWindow does.
// Refuses the window when the binding itself fails (no memory for the map).
LRESULT CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && pendingCreate != nullptr) {
        CWnd* wnd = pendingCreate;
        if (!wnd->SubclassWindow(reinterpret_cast<HWND>(wParam))) return 1;
        pendingCreate = nullptr;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The message each nested handler is working on, innermost last.
const MSG* currentMessage = nullptr;

// The window's answer when a handler throws: creation fails, anything else gets 0.
LRESULT FailedResult(UINT message) { return message == WM_CREATE || message == WM_NCCREATE ? -1 : 0; }

}  // namespace

struct CWndAccess {
    static LRESULT CallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        MSG msg{hwnd, message, wParam, lParam, 0, {0, 0}};
        const MSG* saved = currentMessage;
        currentMessage = &msg;
        LRESULT result = 0;
        try {
            result = wnd->WindowProc(message, wParam, lParam);
        } catch (const std::bad_alloc&) {
            result = FailedResult(message);
        } catch (...) {
            // An exception must not unwind through the window manager; the message
            // fails instead, and so does creation.
            std::fprintf(stderr, "tq3view: a handler of message 0x%04X threw; the message failed\n", message);
            result = FailedResult(message);
        }
        currentMessage = saved;
        if (message == WM_NCDESTROY) FinishDestroy(wnd, hwnd);
        return result;
    }

    // The window is gone: unbind the object and let it clean up after itself (a
    // frame or a view deletes itself here).
    static void FinishDestroy(CWnd* wnd, HWND hwnd) {
        if (CWnd::FromHandlePermanent(hwnd) != wnd) return;
        if (wnd->m_pfnSuper != nullptr &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &AfxWndProc) {
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
        }
        wnd->m_pfnSuper = nullptr;
        CWinApp* app = AfxGetApp();
        bool wasMain = app != nullptr && app->m_pMainWnd == wnd;
        wnd->Detach();
        if (wasMain) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        wnd->PostNcDestroy();
    }

    static const MSG* Current() { return currentMessage; }
};

LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return CWndAccess::CallWndProc(wnd, hwnd, message, wParam, lParam);
}

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static std::set<std::u16string> registered;
    char name[96];
    std::snprintf(name, sizeof name, "Afx:%x:%llx:%llx:%llx", nClassStyle,
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hCursor)),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hbrBackground)),
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hIcon)));
    try {
        std::u16string wide(name, name + std::char_traits<char>::length(name));
        auto found = registered.find(wide);
        if (found != registered.end()) return found->c_str();
        WNDCLASSW wc{};
        wc.style = nClassStyle;
        wc.lpfnWndProc = &AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = wide.c_str();
        if (::RegisterClassW(&wc) == 0) return nullptr;
        return registered.insert(wide).first->c_str();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

// ---- Construction and the handle map ----------------------------------------------

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        // Destroyed while its window lives: the window goes too, as the owner of the
        // object asked for its end.
        ::DestroyWindow(m_hWnd);
        if (m_hWnd != nullptr) Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    auto& map = Maps().permanent;
    auto found = map.find(hwnd);
    return found == map.end() ? nullptr : found->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hwnd)) return permanent;
    if (!::IsWindow(hwnd)) return nullptr;
    auto& temp = Maps().temporary;
    auto found = temp.find(hwnd);
    if (found != temp.end()) return found->second.get();
    try {
        auto wnd = std::make_unique<CWnd>();
        wnd->m_hWnd = hwnd;
        return temp.emplace(hwnd, std::move(wnd)).first->second.get();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CWnd::DeleteTempMap() {
    auto temp = std::move(Maps().temporary);
    Maps().temporary.clear();
    for (auto& entry : temp) entry.second->m_hWnd = nullptr;  // not the window's owner
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWndNew) != nullptr) return FALSE;
    try {
        Maps().permanent[hWndNew] = this;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    // A temporary object for the same handle would now stand for a window it does
    // not own; drop it.
    auto& temp = Maps().temporary;
    auto found = temp.find(hWndNew);
    if (found != temp.end()) {
        found->second->m_hWnd = nullptr;
        temp.erase(found);
    }
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd != nullptr) {
        auto& map = Maps().permanent;
        auto found = map.find(hwnd);
        if (found != map.end() && found->second == this) map.erase(found);
    }
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!::IsWindow(hwnd) || !Attach(hwnd)) return FALSE;
    PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    m_pfnSuper = old == &AfxWndProc ? nullptr : old;
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr) return FALSE;
    HWND item = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return item != nullptr && SubclassWindow(item);
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd == nullptr) return nullptr;
    if (m_pfnSuper != nullptr) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// ---- Creation and destruction -------------------------------------------------------

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd != nullptr) return FALSE;
    CREATESTRUCTW cs{lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
                     static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // The creation hook binds the object to the window before its first message,
    // whatever its class, so that the object sees WM_NCCREATE and WM_CREATE.
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, &CreationHook, nullptr, 0);
    if (hook == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    CWnd* savedPending = pendingCreate;
    pendingCreate = this;
    HWND hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    bool neverBound = pendingCreate == this;
    pendingCreate = savedPending;
    ::UnhookWindowsHookEx(hook);
    if (hwnd == nullptr) {
        // A bound window was destroyed again and has had its PostNcDestroy (which
        // may have deleted the object); one that never was bound gets it now.
        if (neverBound) PostNcDestroy();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW));
        if (cs.lpszClass == nullptr) return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    if (FromHandlePermanent(m_hWnd) == this) return ::DestroyWindow(m_hWnd);
    HWND hwnd = m_hWnd;
    Detach();
    return ::DestroyWindow(hwnd);
}

void CWnd::PostNcDestroy() {}

// ---- The procedure ------------------------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG* msg = CWndAccess::Current();
    if (msg == nullptr || msg->hwnd != m_hWnd) return 0;
    return DefWindowProc(msg->message, msg->wParam, msg->lParam);
}

const MSG* CWnd::GetCurrentMessage() { return CWndAccess::Current(); }
