// CDemoBar: the docking control bar that holds the demo's table view. The bar
// docks at any edge of the frame or floats; the window it holds (its content)
// always fills the bar's client area except the strip the gripper and the
// system buttons take while it is docked.
#pragma once

#include "controlbar/control_bar_ex.h"

namespace tq3::demo {

class CDemoBar : public CControlBarEx {
public:
    // The bar's child id, which is also the View menu's command that shows and
    // hides it.
    static constexpr UINT kId = AFX_IDW_CONTROLBAR_FIRST + 32;
    // The content's child id inside the bar.
    static constexpr UINT kContentId = AFX_IDW_PANE_FIRST;

    // The window kept filling the bar; it must be a child of the bar with kContentId.
    void SetContent(CWnd* content);
    // Where the content goes, in client coordinates: docked at the left or right
    // the gripper and buttons take a strip at the top, docked at the top or
    // bottom a strip at the left; floating, the caption of the floating frame
    // carries the title and the close box, so the content has the whole client area.
    CRect ContentRect();

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()

private:
    void PlaceContent();

    CWnd* content_ = nullptr;
};

}  // namespace tq3::demo
