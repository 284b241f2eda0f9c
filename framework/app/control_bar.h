// CControlBar: a strip of controls that a frame lays out along one of its edges,
// or that floats in a small frame of its own.
//
// A bar is a child of its frame until docking moves it: a frame that called
// EnableDocking holds four dock bars (CDockBar, ids AFX_IDW_DOCKBAR_TOP/LEFT/
// RIGHT/BOTTOM) along its edges, and DockControlBar makes the bar a child of one
// of them; FloatControlBar makes it a child of the dock bar inside a floating
// mini frame (AFX_IDW_DOCKBAR_FLOAT). Wherever it sits, the frame that docks it
// (GetDockingFrame) keeps it in its list of bars and lays it out in RecalcLayout.
//
// Sizes are asked of the bar, never imposed: CalcFixedLayout for a bar of one
// size, CalcDynamicLayout (with the LM_* modes below) for a bar whose size
// depends on where it sits. At idle time the bar refreshes the state of its
// child controls through OnUpdateCmdUI, with its frame as the command target.
#pragma once

#include "framework/app/wnd.h"

class CDC;
class CDockBar;
class CDockContext;

// ---- Bar styles (SetBarStyle) ---------------------------------------------------
constexpr DWORD CBRS_NOALIGN = 0x00000000;
constexpr DWORD CBRS_FLOATING = 0x00000001;      // set while the bar floats
constexpr DWORD CBRS_SIZE_FIXED = 0x00000002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x00000004;  // floating size through CalcDynamicLayout
constexpr DWORD CBRS_HIDE_INPLACE = 0x00000008;
constexpr DWORD CBRS_TOOLTIPS = 0x00000010;
constexpr DWORD CBRS_FLYBY = 0x00000020;
constexpr DWORD CBRS_FLOAT_MULTI = 0x00000040;
constexpr DWORD CBRS_BORDER_3D = 0x00000080;     // borders as etched double lines
constexpr DWORD CBRS_BORDER_LEFT = 0x00000100;
constexpr DWORD CBRS_BORDER_TOP = 0x00000200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x00000400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x00000800;
constexpr DWORD CBRS_BORDER_ANY = 0x00000F00;
constexpr DWORD CBRS_ALIGN_LEFT = 0x00001000;
constexpr DWORD CBRS_ALIGN_TOP = 0x00002000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x00004000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x00008000;
constexpr DWORD CBRS_ALIGN_ANY = 0x0000F000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ALL = 0x0040FFFF;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_ORIENT_ANY = CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// ---- CalcDynamicLayout modes ------------------------------------------------------
constexpr DWORD LM_STRETCH = 0x01;    // fill the whole length of the frame
constexpr DWORD LM_HORZ = 0x02;       // horizontal orientation
constexpr DWORD LM_MRUWIDTH = 0x04;   // the size last used while floating
constexpr DWORD LM_HORZDOCK = 0x08;   // docked at the top or bottom
constexpr DWORD LM_VERTDOCK = 0x10;   // docked at the left or right
constexpr DWORD LM_LENGTHY = 0x20;    // the length given is a height, not a width
constexpr DWORD LM_COMMIT = 0x40;     // keep the size as the floating size

// ---- Child window ids of a frame's bars --------------------------------------------
constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;     // 59419
constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;    // 59420
constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;   // 59421
constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;  // 59422
constexpr UINT AFX_IDW_DOCKBAR_FLOAT = 0xE81F;   // 59423: the dock bar inside a floating frame

// ---- Laying out bars around a window (CWnd::RepositionBars) ------------------------
// Sent by RepositionBars to each child bar: take your strip from `rect`, which
// shrinks by it (lParam: AFX_SIZEPARENTPARAMS*).
constexpr UINT WM_SIZEPARENT = 0x0361;
struct AFX_SIZEPARENTPARAMS {
    HANDLE hDWP = nullptr;  // unused: bars are moved at once
    RECT rect{};            // the space left, in the parent's client coordinates
    SIZE sizeTotal{0, 0};   // the space taken so far (the width of left and right bars, the height of the others)
    BOOL bStretch = TRUE;   // bars stretch over the whole length of their edge
};

class TQ3FW_API CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)

public:
    CControlBar();
    ~CControlBar() override;

    // ---- Attributes ----------------------------------------------------------------
    // The CBRS_* style; SetBarStyle tells OnBarStyleChange what changed.
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // Space kept free inside the bar along each side (the gripper comes on top).
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect);
    CRect GetBorders() const;
    // The frame whose docking holds the bar (its parent frame when never docked).
    CFrameWnd* GetDockingFrame() const;
    // Whether the bar sits in a floating frame.
    BOOL IsFloating() const;
    // The bar's child windows, for the bars that count items.
    int GetCount() const;

    // ---- Layout ----------------------------------------------------------------------
    // Size of a bar that does not depend on its place: the whole length of its edge
    // with bStretch (the length 32767), else what its contents need.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Size for a place or a length (LM_* modes); by default CalcFixedLayout with
    // LM_STRETCH and LM_HORZ.
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    // The client rectangle minus borders and gripper.
    void CalcInsideRect(CRect& rect, BOOL bHorz) const;

    // ---- Docking ----------------------------------------------------------------------
    // Lets the user dock the bar at the edges in dwDockStyle (CBRS_ALIGN_*; 0 turns
    // docking off) and drag it (the bar gets a dock context). The frame must have
    // docking enabled for a drag to dock anywhere.
    void EnableDocking(DWORD dwDockStyle);

    // ---- Overridables ------------------------------------------------------------------
    // Brings the bar's controls up to date with the command handlers of pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    // Paints the bar: borders, then the gripper with CBRS_GRIPPER.
    virtual void DoPaint(CDC* pDC);
    // TRUE only for the frame's dock bars.
    virtual BOOL IsDockBar() const;
    virtual BOOL IsVisible() const;
    // Shows or hides the bar at the frame's next layout.
    virtual void DelayShow(BOOL bShow);

    // Draws the CBRS_BORDER_* edges inside rect and shrinks rect by them.
    void DrawBorders(CDC* pDC, CRect& rect);
    void DrawGripper(CDC* pDC, const CRect& rect);

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- State (public as hosts of this framework expect) ---------------------------
    BOOL m_bAutoDelete = FALSE;           // delete the object when its window goes
    int m_cxLeftBorder = 6;               // space kept free inside, per side
    int m_cxRightBorder = 0;
    int m_cyTopBorder = 2;
    int m_cyBottomBorder = 2;
    int m_cxDefaultGap = 2;               // gap between items of bars that have them
    int m_nMRUWidth = 32767;              // width last used while floating
    DWORD m_dwStyle = 0;                  // CBRS_* style
    DWORD m_dwDockStyle = 0;              // edges it may dock at (CBRS_ALIGN_*), from EnableDocking
    CFrameWnd* m_pDockSite = nullptr;     // the frame that docks it
    CDockBar* m_pDockBar = nullptr;       // the dock bar holding it, or null
    CDockContext* m_pDockContext = nullptr;  // made by EnableDocking; owned by the bar
    int m_nStateFlags = 0;                // delayHide / delayShow

    enum StateFlags { delayHide = 1, delayShow = 2 };

protected:
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
