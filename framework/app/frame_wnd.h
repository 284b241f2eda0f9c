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
#pragma once

#include <vector>

#include "framework/app/wnd.h"

class CView;
class CCmdUI;

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
    // Gives the view the whole client area.
    virtual void RecalcLayout(BOOL bNotify = TRUE);

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
    friend class CView;
};
