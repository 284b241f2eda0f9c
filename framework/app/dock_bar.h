// CDockBar: the strip along one edge of a frame (or the inside of a floating
// frame) that holds docked control bars.
//
// A frame that called EnableDocking has four of them, children of the frame with
// the ids AFX_IDW_DOCKBAR_TOP, _LEFT, _RIGHT and _BOTTOM; a floating mini frame
// has one with AFX_IDW_DOCKBAR_FLOAT. The bars docked in it are its children,
// kept in m_arrBars in rows, from the frame's edge inwards: each row is its bars
// in their order along the edge followed by a null that ends the row. A row is
// as thick as its thickest visible bar; the bars of a row sit side by side, each
// as near as it can to the place along the edge it was docked at (a bar never
// overlaps the one before it; a row too long for the edge pushes its bars back
// towards the start, asks bars of dynamic size (CBRS_SIZE_DYNAMIC) for less, and
// wraps the rest onto further lines of the same row). A bar that asks for the
// whole length of the edge has a row to itself. The dock bar is as thick as its
// rows together, and nothing when it shows no bar; its frame's layout gives it
// its place (WM_SIZEPARENT), and it places its bars in the same step.
#pragma once

#include <utility>
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

    // Takes pBar in: the bar becomes its child. With lpRect (screen coordinates)
    // it goes into the row whose band holds the middle of lpRect, at lpRect's
    // place along the edge, or into a new row of its own where the middle lies
    // before, after or between the rows or over a row that cannot be shared;
    // without it, into a new row after the last. FALSE when out of memory, and
    // then nothing changed.
    BOOL DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    // Lets go of pBar (it stays a child until someone else takes it): the bars
    // after it in its row close up, and a row left empty goes. FALSE when it was
    // not here.
    BOOL RemoveControlBar(CControlBar* pBar);
    // Where pBar is in m_arrBars; -1 when not here.
    int FindBar(const CControlBar* pBar) const;
    // Visible bars held.
    int GetDockedVisibleCount() const;
    // Bars held, visible or not.
    int GetDockedCount() const;
    // Rows held (a row of hidden bars counts), and the row pBar is in (-1: none).
    int GetRowCount() const;
    int GetRowOf(const CControlBar* pBar) const;

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
    // Bars held, row by row from the frame's edge inwards, each row ended by a
    // null; not owned.
    std::vector<CControlBar*> m_arrBars;

protected:
    // Where one visible bar goes: its rectangle in the dock bar's client area.
    // `along` and `length` run along the edge, `inward` and `thick` across it,
    // from the frame's edge inwards.
    struct Placement {
        CControlBar* bar;
        int along;
        int length;
        int inward;
        int thick;
    };
    // One bar on the line being laid out.
    struct LineItem {
        CControlBar* bar;
        int length;
        int thick;
        int wanted;
    };
    // Lays the rows out along an edge `edgeLength` long: the placements (into
    // placements_, when asked for) and the thickness of all the rows together.
    int LayOutRows(int edgeLength, bool place);
    // Appends to placements_ the bars of one line (line_) `inward` from the edge.
    void PlaceLine(int edgeLength, int inward);
    // Moves the bars to placements_ in a dock bar of `size`.
    void ApplyPlacements(CSize size);
    // Takes the bar at index i out of its row (see RemoveControlBar).
    void RemoveAt(size_t i);
    // The length of the edge the bars are laid out along now.
    int EdgeLength() const;
    // Whether pBar, docked here, asks for the whole length of the edge.
    BOOL FillsEdge(CControlBar* pBar, int edgeLength);
    // Where the row holding index i of m_arrBars starts and ends (its null).
    size_t RowStart(size_t i) const;
    size_t RowEnd(size_t i) const;
    // Where DockControlBar puts a bar docked by a rectangle: its index in
    // m_arrBars, whether it starts a row, and its place along the edge.
    void PlaceByRect(CControlBar* pBar, const RECT& rect, size_t& at, bool& newRow, int& wanted);
    // A docked bar's rectangle in this dock bar's client coordinates.
    CRect PlaceOf(CControlBar* pBar) const;

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // The place along the edge each bar asked for (client coordinates of this
    // dock bar), kept apart from where the layout put it, so that a row pushed
    // back by a narrow frame spreads out again when the frame widens.
    std::vector<std::pair<const CControlBar*, int>> wantedPos_;
    // Room for laying out, kept as large as the bars held need, so that a layout
    // never has to ask for memory.
    std::vector<Placement> placements_;
    std::vector<LineItem> line_;
    int WantedPos(const CControlBar* pBar) const;
    void SetWantedPos(const CControlBar* pBar, int pos);  // room reserved beforehand
    void ForgetWantedPos(const CControlBar* pBar);
};

// The CBRS_ALIGN_* edge a dock bar id stands for (0 for the floating one or
// another id), and back.
TQ3FW_API DWORD AfxDockAlignOfId(UINT nDockBarID);
TQ3FW_API UINT AfxDockIdOfAlign(DWORD dwAlign);
