// CControlBarEx: a control bar that docks at any edge of its frame or floats, is
// resized by dragging the sizing edge on its inner side, and draws a gripper and
// two system buttons: close (hides the bar) and minimise (toggles between docked
// and floating). The host typically puts a view inside it.
//
// Where the bar is told by the control id of its parent (`dockBarId`): the top
// and bottom dock bars dock it horizontally, the left and right ones vertically,
// anything else means floating. The sizes it keeps per place are used by the
// frame's layout through CalcFixedLayout and CalcDynamicLayout.
//
// The implementation is spread over control_bar_ex.cpp (creation, layout,
// non-client area, painting, buttons, commands, context menu) and
// control_bar_ex_tracking.cpp (the sizing drag).
#pragma once

#include "controlbar/sys_button.h"
#include "framework/app/control_bar.h"
#include "framework/app/tooltip_ctrl.h"
#include "framework/core/export.h"
#include "framework/gdi/image_list.h"

class CCmdUI;

// Control ids of the system buttons, which are also their commands.
constexpr UINT kBarCloseButtonId = 1000;
constexpr UINT kBarMinimizeButtonId = 1001;
// The bitmap of the button glyphs and the width of one glyph.
constexpr UINT kBarGlyphBitmapId = 103;
constexpr int kBarGlyphSize = 13;
// The tooltip text of the minimise button (the close button's is the dialog
// close button's text).
constexpr UINT kBarFloatTipId = 30030;
constexpr UINT kBarCloseTipId = 30031;

class TQ3VIEW_API CControlBarEx : public CControlBar {
    DECLARE_DYNAMIC(CControlBarEx)

public:
    CControlBarEx();
    ~CControlBarEx() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // Creates the bar's window in `parent` with the child id `id`. The bar style
    // is `style`'s CBRS_* part, the window style its WS_CHILD and WS_VISIBLE.
    using CWnd::Create;
    virtual BOOL Create(CWnd* parent, UINT id, LPCWSTR title, CSize sizeDefault, DWORD style);
    virtual BOOL IsFloating() const;

    // Whether the gripper is drawn and whether the system buttons (and their
    // tooltips) exist; the buttons only follow when called before Create.
    void ShowFrameStuff(int showGripper, int showButtons);
    BOOL IsHorzDocked() const;
    BOOL IsVertDocked() const;
    UINT GetMenuID() const { return menuId; }
    void SetMenuID(UINT id) { menuId = id; }

    CRect GetGripperRect();
    CRect GetButtonRect();
    void DrawGripper(CDC* pDC);

    void StartTracking();
    void StopTracking(BOOL accept);
    void OnInvertTracker(const CRect& rect);
    CPoint& ClientToWnd(CPoint& point);

    // ---- State ------------------------------------------------------------------------
    BOOL inFrameChange = FALSE;  // the bar is forcing a frame recalculation of itself
    BOOL tracking = FALSE;       // a sizing drag is in progress
    BOOL showGripper = TRUE;     // the gripper is drawn
    BOOL showButtons = TRUE;     // the system buttons and their tooltips exist and show
    int edgeWidth = 5;           // width of the sizing edge
    UINT menuId = 0;             // the context menu's resource id; 0: none
    UINT dockBarId = 0;          // control id of the window that holds the bar
    CSize sizeMin{32, 32};       // smallest width and height
    CSize sizeHorz{200, 200};    // size while docked at the top or bottom
    CSize sizeVert{200, 200};    // size while docked left or right
    CSize sizeFloat{200, 200};   // size while floating
    CRect rectEdge;              // the sizing edge, window coordinates
    CRect rectTracker;           // the tracking band of a sizing drag, window coordinates
    CPoint ptOld;                // centre of the sizing edge when the drag started
    CSysButton closeButton;      // id 1000
    CSysButton minimizeButton;   // id 1001
    CImageList images;           // the glyphs: 0 close, 1 triangle up, 2 triangle left
    CToolTipCtrl toolTip;        // the buttons' tips

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnButtonClose();
    afx_msg void OnButtonMinimize();
    afx_msg void OnUpdateButtonClose(CCmdUI* pCmdUI);
    afx_msg void OnUpdateButtonMinimize(CCmdUI* pCmdUI);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    bool LoadGlyphs();
    bool CreateButtons();
    void PlaceButtons();
    void SetMinimizeGlyph(int glyph);
    CRect EdgeOfDock(const CRect& base) const;

    int minimizeGlyph_ = -1;  // the glyph the minimise button shows now

    DECLARE_MESSAGE_MAP()
};
