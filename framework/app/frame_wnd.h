// CFrameWnd: a top-level window hosting a view (the child with id
// AFX_IDW_PANE_FIRST), which it keeps filling its client area (RecalcLayout).
// Commands reaching the frame go to the active view first, then to the frame,
// then to the application. At idle time the frame refreshes the command-state
// items registered with it.
//
// A frame may carry a menu bar (the menu named at Create) and an accelerator
// table (LoadAccelTable), which it translates in PreTranslateMessage, so its keys
// work wherever the focus is inside the frame. Before one of its pop-ups shows,
// the frame asks the command targets for each item's state (ON_UPDATE_COMMAND_UI):
// an item nobody handles is greyed.
//
// Control bars (control_bar.h) take their strips of the client area before the
// view gets the rest. EnableDocking gives the frame its four dock bars; the bars
// it docks (DockControlBar), floats (FloatControlBar) or holds as plain children
// are in m_listControlBars, found by id with GetControlBar, shown and hidden
// with ShowControlBar. RecalcLayout runs again whenever the frame's size
// changes, and DelayRecalcLayout asks for it at the next idle time.
#pragma once

#include <vector>

#include "framework/app/control_bar.h"
#include "framework/app/wnd.h"

class CView;
class CCmdUI;
class CControlBar;
class CDockBar;

// What a frame needs to make its view while it is being created.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;  // a view class to make by dynamic creation
    CView* m_pNewView = nullptr;               // or a constructed view object; it takes precedence
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// Default style of a frame's view.
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE;

class TQ3FW_API CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Lets the window manager choose the position and size.
    static const CRect rectDefault;

    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCWSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the view the context holds (or makes one of its class) as the child
    // `nID`. Null on failure (the view object then deletes itself, as after any
    // failed creation).
    virtual CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    CView* GetActiveView() const { return m_pViewActive; }
    // Makes `pViewNew` the view that commands go to; with bNotify, the old and the
    // new view hear of it through OnActivateView.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // Sends the first update to the views and shows the frame.
    void InitialUpdateFrame(BOOL bMakeVisible = TRUE);
    // Lays out the control bars along the edges, then gives the view what is
    // left of the client area. Calls made while it runs are absorbed.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Asks for RecalcLayout at the next idle time.
    void DelayRecalcLayout(BOOL bNotify = TRUE);

    // ---- Control bars and docking -------------------------------------------------
    // Gives the frame the dock bars of the edges in dwDockStyle (CBRS_ALIGN_*)
    // and lets bars float. FALSE when a dock bar could not be made (the ones made
    // stay). Calling it again adds the edges not there yet.
    BOOL EnableDocking(DWORD dwDockStyle);
    // The dock bar of an edge (AFX_IDW_DOCKBAR_*), or null when docking is not
    // enabled there.
    CDockBar* GetDockBar(UINT nDockBarID) const;
    // Docks pBar in the dock bar nDockBarID (0: the first edge both the bar and
    // the frame allow, in the order top, bottom, left, right), at the row nearest
    // lpRect (screen) or after the last one. FALSE, with the bar left where it
    // was, when the frame has no such dock bar (docking not enabled), the bar may
    // not dock there, or memory runs out.
    BOOL DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    BOOL DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Floats pBar in a mini frame whose client area starts at `point` (screen).
    // FALSE, with the bar left where it was, when docking is not enabled or the
    // floating frame cannot be made.
    BOOL FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // Shows or hides a bar (with its floating frame); bDelay leaves it to the
    // next layout.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The bar with the child id nID that this frame docks; null if none.
    CControlBar* GetControlBar(UINT nID);
    // Whether a bar with dwDockStyle could dock with its rectangle rect (screen),
    // and in which dock bar (the first one rect meets).
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
    // The bars this frame docks or holds; not owned. Bars add themselves when
    // created in the frame and leave when their windows are destroyed.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    // For a host's View menu: the command nID shows or hides the bar with that
    // id (ON_COMMAND_EX), and its menu item is checked while the bar shows
    // (ON_UPDATE_COMMAND_UI).
    BOOL OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

    std::vector<CControlBar*> m_listControlBars;  // the bars, in the order they came; not owned
    // The class of the floating frames this frame makes (CMiniDockFrameWnd).
    CRuntimeClass* m_pFloatingFrameClass = nullptr;
    CRect m_rectBorder;  // space kept free around the view inside the bars

    // Items refreshed at every idle time (toolbar slots, status panes...). The
    // frame does not own them; remove an item before it dies.
    void AddCommandUI(CCmdUI* pCmdUI);
    void RemoveCommandUI(CCmdUI* pCmdUI);

    // Loads the accelerator table `lpszResourceName` (through the resource search)
    // in place of the one the frame had. FALSE when there is none of that name.
    BOOL LoadAccelTable(LPCWSTR lpszResourceName);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HACCEL m_hAccelTable = nullptr;  // translated in PreTranslateMessage; destroyed with the frame
    HMENU m_hMenuDefault = nullptr;  // the menu bar loaded at Create; destroyed with the frame

protected:
    void PostNcDestroy() override;  // frames own themselves

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnClose();
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);

    CView* m_pViewActive = nullptr;  // the view commands go to first

    DECLARE_MESSAGE_MAP()

private:
    // CWnd's general Create stays private: a frame is created with the Create above, and a
    // call that would fall to the general form does not compile.
    using CWnd::Create;
    std::vector<CCmdUI*> cmdUIs_;  // items refreshed at idle time, not owned
    BOOL inRecalcLayout_ = FALSE;  // RecalcLayout is running: calls meanwhile are absorbed
    BOOL layoutPending_ = FALSE;   // DelayRecalcLayout asked for a layout at idle time
    BOOL layoutNotify_ = FALSE;    // ... and with notification
    friend class CView;
};
