// CDockContext: dragging a control bar to another edge of its frame or out of it
// into a floating frame, and the double-click that toggles between the two.
//
// StartDrag (at a screen point, from a press on the bar) takes the mouse; while
// the button is held, a rectangle shows where the bar would go: the bar's docked
// shape, drawn thin, when the pointer is over one of the frame's dock bars or
// within kDockZone pixels inside an edge of the frame's client area where the
// bar may dock; its floating shape, drawn thick, anywhere else or while Ctrl is
// held. The rectangle is drawn on the screen by inversion with the halftone
// brush, so drawing it again erases it whatever is below. Releasing the button
// docks or floats the bar there; Escape, another window taking the capture or
// WM_CANCELMODE end the drag and leave the bar where it was.
//
// The drag does not run a loop of its own: the context's tracking window holds
// the capture and the frames hand it the keys (CFrameWnd::PreTranslateMessage),
// so the application's message loop runs on meanwhile.
#pragma once

#include "framework/app/control_bar.h"

class CDockBar;

class TQ3FW_API CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Starts dragging the bar from `pt` (screen coordinates). Nothing happens when
    // the bar has no docking frame or the mouse cannot be captured.
    virtual void StartDrag(CPoint pt);
    // Floats a docked bar where it floated last (or beside its place), or docks a
    // floating bar back at the edge it came from.
    virtual void ToggleDocking();

    // While dragging: the pointer moved to `pt` (screen), the button went up
    // there, or the drag is given up.
    void Move(CPoint pt);
    void EndDrag(CPoint pt);
    void CancelDrag();
    // Whether the drag shows the floating shape now.
    BOOL IsFloatingTarget() const { return m_pTargetDockBar == nullptr; }

    // The drag under way, if any (one at a time: the mouse has one capture).
    static CDockContext* GetActiveDrag();
    // Keys during a drag: Escape cancels, Ctrl switches docking off. TRUE when
    // the message was the drag's.
    static BOOL PreTranslateDragMessage(MSG* pMsg);

    // Pixels inside an edge of the frame's client area that count as that edge.
    static constexpr int kDockZone = 24;

    CControlBar* m_pBar;             // the bar dragged (not owned)
    CFrameWnd* m_pDockSite;          // its docking frame, during a drag
    DWORD m_dwDockStyle = 0;         // edges the bar may dock at (CBRS_ALIGN_*)
    DWORD m_dwStyle = 0;             // the bar's style when the drag began
    CPoint m_ptStart;                // where the drag began (screen)
    CPoint m_ptLast;                 // where the pointer was last (screen)
    CRect m_rectLast;                // the rectangle shown now (screen)
    CRect m_rectDragHorz;            // the bar's shape docked at the top or bottom, at the start (screen)
    CRect m_rectDragVert;            // docked at the left or right
    CRect m_rectFrameDragHorz;       // floating (with its frame)
    BOOL m_bDragging = FALSE;
    BOOL m_bForceFrame = FALSE;      // Ctrl held: no docking
    CDockBar* m_pTargetDockBar = nullptr;  // where the bar would dock now; null: floating
    UINT m_uMRUDockID = 0;           // the dock bar the bar floated from last
    CRect m_rectMRUDockPos;          // its place there (screen)
    CPoint m_ptMRUFloatPos{-1, -1};  // where it floated last (screen); (-1, -1): not yet

private:
    void ComputeShapes();
    CDockBar* DockBarUnder(CPoint pt) const;
    CRect TargetRect(CPoint pt) const;
    void DrawDragRect(const CRect& rect, BOOL thick);
    void MoveDragRect(const CRect& next, BOOL thick);  // from m_rectLast to `next`
    void Finish();
    void RememberFloatPos();  // the floating frame's client corner, for the next toggle

    BOOL m_bShownThick = FALSE;      // the rectangle shown now is the floating shape
    BOOL m_bSystemFrame = FALSE;     // the backend shows it as an outline over the screen
    CWnd* m_pTracker = nullptr;      // the hidden window that holds the capture
};
