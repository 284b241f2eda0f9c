/// \file
/// CControlBarEx, the docking control bar, and its ids.
///
/// The implementation is spread over control_bar_ex.cpp (creation, layout,
/// non-client area, painting, buttons, commands, context menu) and
/// control_bar_ex_tracking.cpp (the sizing drag).
#pragma once

#include "controlbar/sys_button.h"
#include "framework/app/control_bar.h"
#include "framework/app/tooltip_ctrl.h"
#include "framework/core/export.h"
#include "framework/gdi/image_list.h"

class CCmdUI;

/// Control id of the close button, which is also its command.
constexpr UINT kBarCloseButtonId = 1000;
/// Control id of the minimise button, which is also its command.
constexpr UINT kBarMinimizeButtonId = 1001;
/// The bitmap resource of the button glyphs: close, triangle up, triangle left.
constexpr UINT kBarGlyphBitmapId = 103;
/// The width and height of one glyph, in pixels.
constexpr int kBarGlyphSize = 13;
/// The string resource of the minimise button's tip, in the library language.
constexpr UINT kBarFloatTipId = 30030;
/// The string resource of the close button's tip, in the library language.
constexpr UINT kBarCloseTipId = 30031;

/// A control bar that docks at any edge of its frame or floats, is
/// resized by dragging the sizing edge on its inner side, and draws a gripper and
/// two system buttons: close (hides the bar) and minimise (toggles between docked
/// and floating). The host typically puts a view inside it.
///
/// A frame that has called EnableDocking docks the bar with DockControlBar; a
/// press in the bar's client area drags it, a double click toggles between docked
/// and floating (the frame's dock context does both).
///
/// Where the bar is told by the control id of its parent (`dockBarId`): the top
/// and bottom dock bars dock it horizontally, the left and right ones vertically,
/// anything else means floating. The sizes it keeps per place are used by the
/// frame's layout through CalcFixedLayout and CalcDynamicLayout.
class TQ3VIEW_API CControlBarEx : public CControlBar {
    DECLARE_DYNAMIC(CControlBarEx)

public:
    CControlBarEx();
    ~CControlBarEx() override;

    /// Lets the buttons' tooltip control see the mouse messages, then the control
    /// bar's own handling.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    /// The size docked: as long as the dock bar (`bStretch` FALSE) or 32767 across,
    /// and `sizeHorz`'s height (`bHorz`) or `sizeVert`'s width across the dock.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    /// The size while docked as the control bar computes it; while floating,
    /// `sizeFloat`, which a resize of the floating frame changes (never below
    /// `sizeMin`).
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
    /// Updates the state of the bar's own buttons, whose commands the bar handles.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    /// Creates the bar's window in `parent` with the child id `id`. The bar style
    /// is `style`'s CBRS_* part, the window style its WS_CHILD and WS_VISIBLE.
    using CWnd::Create;
    /// `sizeDefault` becomes the size in every place (docked either way and
    /// floating). FALSE when the window, or a system button, cannot be made.
    virtual BOOL Create(CWnd* parent, UINT id, LPCWSTR title, CSize sizeDefault, DWORD style);
    /// Whether the bar floats: it is docked neither horizontally nor vertically.
    virtual BOOL IsFloating() const;

    /// Whether the gripper is drawn and whether the system buttons (and their
    /// tooltips) exist; the buttons only follow when called before Create.
    void ShowFrameStuff(int showGripper, int showButtons);
    /// Whether the bar is docked at the top or the bottom of the frame.
    BOOL IsHorzDocked() const;
    /// Whether the bar is docked at the left or the right of the frame.
    BOOL IsVertDocked() const;
    /// The resource id of the bar's context menu; 0: none.
    UINT GetMenuID() const { return menuId; }
    /// Sets the resource id of the menu whose first pop-up the bar shows on a right
    /// click while docked; 0: no menu.
    void SetMenuID(UINT id) { menuId = id; }

    /// Where the gripper lies, in client coordinates: a vertical strip at the left
    /// while docked horizontally, a horizontal strip at the top otherwise.
    CRect GetGripperRect();
    /// Where the first system button lies, in client coordinates (the second
    /// follows it down or to the right).
    CRect GetButtonRect();
    /// Draws the gripper (when shown) into `pDC` and has the frame lay out again.
    void DrawGripper(CDC* pDC);

    /// Starts a sizing drag: captures the mouse, locks the frame's drawing and
    /// shows the tracking band over the sizing edge. Nothing without a frame.
    void StartTracking();
    /// Ends a sizing drag: erases the band, unlocks the frame's drawing and, with
    /// `accept`, gives the bar the size the band was dragged to, within `sizeMin`
    /// and the frame's room, and lays the frame out again.
    void StopTracking(BOOL accept);
    /// Inverts the halftone band `rect` (window coordinates of the bar) on the
    /// frame: drawn once, erased by drawing again.
    void OnInvertTracker(const CRect& rect);
    /// Turns a client point into window coordinates of the bar, past the border
    /// and the sizing edge; returns `point`.
    CPoint& ClientToWnd(CPoint& point);

    // ---- State ------------------------------------------------------------------------
    BOOL inFrameChange = FALSE;  ///< the bar is forcing a frame recalculation of itself
    BOOL tracking = FALSE;       ///< a sizing drag is in progress
    BOOL showGripper = TRUE;     ///< the gripper is drawn
    BOOL showButtons = TRUE;     ///< the system buttons and their tooltips exist and show
    int edgeWidth = 5;           ///< width of the sizing edge
    UINT menuId = 0;             ///< the context menu's resource id; 0: none
    UINT dockBarId = 0;          ///< control id of the window that holds the bar
    CSize sizeMin{32, 32};       ///< smallest width and height
    CSize sizeHorz{200, 200};    ///< size while docked at the top or bottom
    CSize sizeVert{200, 200};    ///< size while docked left or right
    CSize sizeFloat{200, 200};   ///< size while floating
    CRect rectEdge;              ///< the sizing edge, window coordinates
    CRect rectTracker;           ///< the tracking band of a sizing drag, window coordinates
    CPoint ptOld;                ///< centre of the sizing edge when the drag started
    CSysButton closeButton;      ///< id 1000
    CSysButton minimizeButton;   ///< id 1001
    CImageList images;           ///< the glyphs: 0 close, 1 triangle up, 2 triangle left
    CToolTipCtrl toolTip;        ///< the buttons' tips

protected:
    /// WM_CREATE: with `showButtons`, makes the two system buttons with their
    /// glyphs and their tips; -1 (no bar) when a button cannot be made.
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    /// WM_PAINT: the gripper while docked.
    afx_msg void OnPaint();
    /// WM_NCCALCSIZE: keeps room for the borders and, docked, for the sizing edge on
    /// the side toward the frame's interior.
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    /// WM_NCHITTEST: docked, HTSIZE on the sizing edge and HTCLIENT elsewhere.
    afx_msg LRESULT OnNcHitTest(CPoint point);
    /// WM_NCPAINT: the borders, the face and the raised sizing edge.
    afx_msg void OnNcPaint();
    /// WM_NCLBUTTONDOWN: a press on the sizing edge starts a sizing drag.
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    /// WM_SETCURSOR: the split cursor (up and down, or left and right) over the
    /// sizing edge.
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    /// WM_LBUTTONDOWN: a press in the client area starts dragging the bar to
    /// another place (the dock context's drag).
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    /// WM_LBUTTONUP: ends a sizing drag, accepting the size.
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    /// WM_LBUTTONDBLCLK: toggles between docked and floating.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    /// WM_MOUSEMOVE: during a sizing drag, moves the tracking band with the pointer
    /// across the dock.
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    /// WM_CAPTURECHANGED: another window taking the mouse ends a sizing drag
    /// without a change.
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    /// WM_CONTEXTMENU: docked, shows the first pop-up of the menu `menuId` (at the
    /// client corner when asked from the keyboard), its commands for the top-level
    /// window; floating, the control bar's own handling.
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    /// WM_WINDOWPOSCHANGED: reads the new place from the parent's id, places and
    /// shows the buttons (hidden while floating, whose frame has a close box),
    /// lays the frame out again and repaints the whole bar.
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    /// The close button's command: hides the bar (the frame's ShowControlBar).
    afx_msg void OnButtonClose();
    /// The minimise button's command: toggles between docked and floating.
    afx_msg void OnButtonMinimize();
    /// The close button's state: always enabled.
    afx_msg void OnUpdateButtonClose(CCmdUI* pCmdUI);
    /// The minimise button's state: always enabled.
    afx_msg void OnUpdateButtonMinimize(CCmdUI* pCmdUI);
    /// Answers the tips' TTN_GETDISPINFO with the texts kBarCloseTipId and
    /// kBarFloatTipId of the library language, so that a change of language reaches
    /// them; other notifications go the control bar's way.
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
