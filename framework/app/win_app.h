// CWinApp: the application object. There is at most one; the constructor makes it
// the one AfxGetApp returns. It runs the message loop with idle processing, offers
// every queued message to PreTranslateMessage of its window and parents, is the
// last stop of command routing, and keeps the application's name, registry key,
// instance handle and wait cursor.
#pragma once

#include <string>

#include "framework/app/cmd_target.h"
#include "framework/core/cstring.h"
#include "framework/window/winuser.h"

class CWnd;

class TQ3FW_API CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)

public:
    // `lpszAppName` null: the name of the running program.
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCWSTR m_pszAppName = nullptr;      // the application's name (message-box captions)
    LPCWSTR m_pszRegistryKey = nullptr;  // the company key given to SetRegistryKey, or null
    LPCWSTR m_pszProfileName = nullptr;  // the application's key below it
    HINSTANCE m_hInstance = nullptr;     // the program's own module
    CWnd* m_pMainWnd = nullptr;          // the main window; its end ends Run
    int m_nWaitCursorCount = 0;          // nesting of BeginWaitCursor
    HCURSOR m_hcurWaitCursorRestore = nullptr;  // the cursor the wait cursor replaced

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Runs the message loop until WM_QUIT; returns ExitInstance's result.
    virtual int Run();
    // Retrieves, pre-translates and dispatches one message; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // Idle work while the queue is empty: lCount 0 updates the command-state items
    // of the main window; later rounds drop temporary objects. TRUE asks for
    // another round.
    virtual BOOL OnIdle(LONG lCount);
    // Whether a message ends idle time (mouse moves that change nothing do not).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Settings go to the per-user registry below "Software\<key>\<app name>".
    void SetRegistryKey(LPCWSTR lpszRegistryKey);

    // The profile store: each section is the key of that name directly below the
    // per-user base key "Software\<registry key>\", created by its first write.
    // Without a registry key reads give the default and writes fail. A read
    // gives the default when the entry is missing or of another type.
    virtual UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault);
    virtual BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue);
    virtual CString GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);
    // A null entry removes the whole section; a null value removes the entry.
    virtual BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);

    // nCode 1 begins (or nests) the wait cursor, -1 ends one level, 0 shows it again
    // after something else changed the cursor.
    virtual void DoWaitCursor(int nCode);

    // The exit code of the WM_QUIT that ended Run.
    int m_nExitCode = 0;

private:
    std::u16string appName_;
    std::u16string registryKey_;
    std::u16string profileName_;
    POINT lastMousePoint_{-1, -1};
    UINT lastMouseMessage_ = 0;
};

TQ3FW_API CWinApp* AfxGetApp();
TQ3FW_API CWnd* AfxGetMainWnd();
TQ3FW_API HINSTANCE AfxGetInstanceHandle();
// Pre-translation of a queued message, through the application when there is one,
// otherwise through the target window and its parents.
TQ3FW_API BOOL AfxPreTranslateMessage(MSG* pMsg);
// Retrieves and handles one message as the application's loop would; FALSE on WM_QUIT.
TQ3FW_API BOOL AfxPumpMessage();
