// CDockBar: the strip along one edge of a frame (or the inside of a floating
// frame) that holds docked control bars.
//
// A frame that called EnableDocking has four of them, children of the frame with
// the ids AFX_IDW_DOCKBAR_TOP, _LEFT, _RIGHT and _BOTTOM; a floating mini frame
// has one with AFX_IDW_DOCKBAR_FLOAT. The bars docked in it are its children,
// kept in m_arrBars in their order from the frame's edge inwards: each bar has a
// row of its own, as long as the edge (a bar that asks for less keeps its size).
// The dock bar is as thick as its visible bars together, and nothing when it has
// none; its frame's layout gives it its place (WM_SIZEPARENT), and it places its
// bars in the same step.
#pragma once

#include <vector>

#include "framework/app/control_bar.h"

class TQ3FW_API CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)

public:
    explicit CDockBar(BOOL bFloating = FALSE);
    ~CDockBar() override;

    // Makes the dock bar's window: a child of pParentWnd with the id that says its
    // edge (a CBRS_ALIGN_* bit in dwStyle, or none for a floating frame's).
    using CWnd::Create;
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // Takes pBar in: the bar becomes its child at the row nearest to lpRect
    // (screen coordinates; null: after the last row). FALSE when out of memory,
    // and then nothing changed.
    BOOL DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Lets go of pBar (it stays a child until someone else takes it). FALSE when
    // it was not here.
    BOOL RemoveControlBar(CControlBar* pBar);
    // Where pBar is in m_arrBars; -1 when not here.
    int FindBar(const CControlBar* pBar) const;
    // Visible bars held.
    int GetDockedVisibleCount() const;
    // Bars held, visible or not.
    int GetDockedCount() const { return static_cast<int>(m_arrBars.size()); }

    BOOL IsDockBar() const override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DoPaint(CDC* pDC) override;

    // Where a dragged bar counts as over this dock bar (screen): its window
    // rectangle, made at least CDockContext::kDockZone thick inwards so that an
    // empty dock bar still catches a bar brought to its edge.
    CRect GetDropArea() const;
    // The mode in which the bars are asked for their size here.
    DWORD LayoutMode() const;
    // Places the held bars inside a dock bar of `size` (client coordinates).
    void PlaceBars(CSize size);

    BOOL m_bFloating;                      // the dock bar of a floating frame
    std::vector<CControlBar*> m_arrBars;   // bars held, from the frame's edge inwards; not owned

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The CBRS_ALIGN_* edge a dock bar id stands for (0 for the floating one or
// another id), and back.
TQ3FW_API DWORD AfxDockAlignOfId(UINT nDockBarID);
TQ3FW_API UINT AfxDockIdOfAlign(DWORD dwAlign);
