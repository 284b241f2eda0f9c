// CWnd: a C++ object standing for one window handle.
//
// A permanent CWnd is bound to its HWND in the handle map from before the first
// message of the window it creates (or from Attach/SubclassWindow) until WM_NCDESTROY;
// FromHandle gives a short-lived temporary object for any other handle, deleted
// when the application goes idle. Messages reach WindowProc, which dispatches
// through the message map (OnWndMsg) and hands what no entry takes to
// DefWindowProc: the window's original procedure when it was subclassed, the
// platform's default procedure otherwise.
//
// Windows of classes whose procedure is AfxWndProc (AfxRegisterWndClass) see
// every message from WM_NCCREATE on. Windows of other classes (the standard
// controls) are subclassed as soon as CreateWindowEx returns, so their creation
// messages go to the class procedure alone.
#pragma once

#include "framework/app/cmd_target.h"
#include "framework/core/cstring.h"
#include "framework/core/geometry.h"
#include "framework/window/winuser.h"

class CFrameWnd;
class CDC;
class CScrollBar;
class CRgn;

// Child window id of a frame's main view.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
constexpr UINT AFX_IDW_PANE_LAST = 0xE9FF;

// Sent to a frame and its descendants when the application goes idle, so that
// command-state items refresh (wParam: TRUE to disable items without a handler).
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;

// The procedure of every window a CWnd created through a framework class.
TQ3FW_EXPORT_C LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) and returns the name of a window class with AfxWndProc as its
// procedure and the given class style, cursor, background and icon.
TQ3FW_API LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                                      HICON hIcon = nullptr);

class TQ3FW_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)

public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // ---- Handle map -------------------------------------------------------------
    // The permanent object of `hwnd`, or a temporary one (null for a null or dead handle).
    static CWnd* FromHandle(HWND hwnd);
    // The permanent object of `hwnd`, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);
    // Deletes the temporary objects FromHandle made (done at idle time).
    static void DeleteTempMap();

    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Routes the messages of an existing window through this object; the window's
    // own procedure becomes what DefWindowProc calls.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    // Called when the object is bound to its window, before the window's messages
    // come here: by Create before the window's first message (WM_NCCREATE, so the
    // window has no state of its class yet), by SubclassWindow for a window that
    // exists. The place to adjust the window or take what the object needs of it.
    virtual void PreSubclassWindow();

    // ---- Creation and destruction -------------------------------------------------
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                          int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    // Last chance to change the class, styles and geometry; FALSE cancels creation.
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual BOOL DestroyWindow();
    // Called after the window's last message; objects that own themselves delete here.
    virtual void PostNcDestroy();

    // ---- Message handling ---------------------------------------------------------
    // Sees a queued message before it is translated and dispatched; TRUE eats it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers `pMsg` to PreTranslateMessage of its target window and each parent up
    // to `hWndStop` (included) or to the top-level window. TRUE when one took it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks `message` up in the message map; TRUE with *pResult when an entry took it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification this control sent to its parent, offered back to it first
    // (reflection). TRUE when the control handled it itself.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The default processing of the message being handled now.
    LRESULT Default();
    // The message being handled now (null outside a handler).
    static const MSG* GetCurrentMessage();

    // ---- Relations ----------------------------------------------------------------
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    CFrameWnd* GetParentFrame() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    BOOL IsChild(const CWnd* pWnd) const;
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE);
    CWnd* SetParent(CWnd* pWndNewParent);

    // ---- Control bars ---------------------------------------------------------------
    // Lays out the child bars with ids nIDFirst..nIDLast (WM_SIZEPARENT, in z-order)
    // from the client area (or lpRectClient), then gives the child nIDLeftOver
    // what is left. nFlag: reposDefault places them; reposQuery only measures into
    // lpRectParam; reposExtra also keeps lpRectParam's borders around what is left.
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);
    // Enables or disables the child controls (and sets their check state) as the
    // command handlers of pTarget say (ON_UPDATE_COMMAND_UI by control id); with
    // bDisableIfNoHndler, a control nobody handles is disabled. Buttons that send
    // no command (group boxes, check boxes and radio buttons with automatic state)
    // are left alone.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // ---- Messages -----------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // ---- Painting -----------------------------------------------------------------
    // Device contexts of the window, given back with ReleaseDC (temporary objects).
    CDC* GetDC();
    CDC* GetWindowDC();
    CDC* GetDCEx(CRgn* prgnClip, DWORD flags);  // the DC takes a copy of the region
    int ReleaseDC(CDC* pDC);
    // Keeps the window and its children from drawing until UnlockWindowUpdate
    // (DCs asked for with DCX_LOCKWINDOWUPDATE still draw); one window at a time.
    BOOL LockWindowUpdate();
    void UnlockWindowUpdate();
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

    // ---- Geometry -----------------------------------------------------------------
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);

    // ---- State --------------------------------------------------------------------
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes then adds style bits; with nFlags, also calls SetWindowPos with them
    // (plus SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE). TRUE when the
    // style changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // ---- Text ---------------------------------------------------------------------
    void SetWindowText(LPCWSTR lpszString);
    int GetWindowText(LPWSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;

    // ---- Timers and scroll bars ---------------------------------------------------
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);

    // ---- Handlers: each does the message's default processing --------------------
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnMouseLeave();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg UINT OnGetDlgCode();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;

    // Asks the control `hWndChild` to handle the notification being processed now.
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);

    // The procedure DefWindowProc calls; null means the platform's default one.
    WNDPROC m_pfnSuper = nullptr;

private:
    friend LRESULT AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend struct CWndAccess;
};

#include "framework/app/message_map_entries.h"
