// CWinApp: the message loop (Run -> PumpMessage -> PreTranslateMessage ->
// TranslateMessage/DispatchMessage, with OnIdle rounds whenever the queue runs
// dry), the application's identity and the wait cursor.
#include "framework/app/win_app.h"

#include <dlfcn.h>
#include <sys/auxv.h>

#include <cerrno>
#include <new>

#include "framework/app/afx_menu.h"
#include "framework/app/wnd.h"
#include "framework/core/utf.h"
#include "framework/gdi/gdi_classes.h"

namespace {

CWinApp* theApp = nullptr;

// The running program's module handle: the load base of the main executable.
HINSTANCE ProgramModule() {
    Dl_info info{};
    auto* headers = reinterpret_cast<const void*>(getauxval(AT_PHDR));
    if (headers == nullptr || dladdr(headers, &info) == 0) return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

constexpr UINT kSystemTimer = 0x0118;  // the caret's blink timer

}  // namespace

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

CWinApp* AfxGetApp() { return theApp; }
CWnd* AfxGetMainWnd() { return theApp != nullptr ? theApp->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle() { return theApp != nullptr ? theApp->m_hInstance : nullptr; }

CWinApp::CWinApp(LPCWSTR lpszAppName) {
    try {
        if (lpszAppName != nullptr) {
            appName_ = lpszAppName;
        } else {
            appName_ = tq3::fw::Utf8ToU16(program_invocation_short_name);
        }
    } catch (const std::bad_alloc&) {
        appName_.clear();
    }
    m_pszAppName = appName_.c_str();
    m_hInstance = ProgramModule();
    theApp = this;
}

CWinApp::~CWinApp() {
    if (theApp == this) theApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return m_nExitCode; }

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
    if (lpszRegistryKey == nullptr) return;
    try {
        registryKey_ = lpszRegistryKey;
        profileName_ = appName_;
    } catch (const std::bad_alloc&) {
        return;
    }
    m_pszRegistryKey = registryKey_.c_str();
    m_pszProfileName = profileName_.c_str();
}

int CWinApp::Run() {
    bool idle = true;
    LONG idleCount = 0;
    MSG peeked;
    for (;;) {
        while (idle && !::PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&peeked)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PumpMessage() {
    MSG msg;
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
        // WM_QUIT, or a queue that can never deliver again.
        m_nExitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
        return FALSE;
    }
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        CWnd* main = m_pMainWnd;
        if (main != nullptr && ::IsWindow(main->m_hWnd)) {
            main->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
        }
        return TRUE;
    }
    if (lCount == 1) {
        CWnd::DeleteTempMap();
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
        CMenu::DeleteTempMap();
    }
    return FALSE;
}

BOOL CWinApp::IsIdleMessage(MSG* pMsg) {
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // A move to where the mouse already was changes nothing on screen.
        bool same = pMsg->message == lastMouseMessage_ && pMsg->pt.x == lastMousePoint_.x &&
                    pMsg->pt.y == lastMousePoint_.y;
        lastMouseMessage_ = pMsg->message;
        lastMousePoint_ = pMsg->pt;
        return same ? FALSE : TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != kSystemTimer;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::WalkPreTranslateTree(nullptr, pMsg)) return TRUE;
    // The main window also sees what reaches top-level windows outside it (a
    // floating bar, a modeless dialog), so that its accelerators work there.
    CWnd* main = m_pMainWnd;
    if (main != nullptr && pMsg->hwnd != nullptr && ::IsWindow(main->m_hWnd) &&
        ::GetAncestor(pMsg->hwnd, GA_ROOT) != main->m_hWnd) {
        return main->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

void CWinApp::DoWaitCursor(int nCode) {
    // A restore or an end without a begin changes nothing.
    if (nCode <= 0 && m_nWaitCursorCount <= 0) return;
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1) m_hcurWaitCursorRestore = previous;
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitCursorRestore);
    }
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    if (CWinApp* app = AfxGetApp()) return app->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL AfxPumpMessage() {
    if (CWinApp* app = AfxGetApp()) return app->PumpMessage();
    MSG msg;
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) return FALSE;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}
