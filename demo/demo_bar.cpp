#include "demo/demo_bar.h"

#include <algorithm>

namespace tq3::demo {

namespace {
// The strip the gripper and the system buttons take: the buttons end 15 pixels
// into the client area, and two more keep the content off them.
constexpr int kFrameStuff = 17;
}  // namespace

BEGIN_MESSAGE_MAP(CDemoBar, CControlBarEx)
ON_WM_SIZE()
ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

void CDemoBar::SetContent(CWnd* content) {
    content_ = content;
    PlaceContent();
}

CRect CDemoBar::ContentRect() {
    CRect r;
    GetClientRect(&r);
    if (IsVertDocked()) {
        r.top = std::min<LONG>(r.bottom, r.top + kFrameStuff);
    } else if (IsHorzDocked()) {
        r.left = std::min<LONG>(r.right, r.left + kFrameStuff);
    }
    return r;
}

void CDemoBar::PlaceContent() {
    if (m_hWnd == nullptr || content_ == nullptr || content_->m_hWnd == nullptr) return;
    CRect now;
    content_->GetWindowRect(&now);
    ScreenToClient(&now);
    const CRect wanted = ContentRect();
    // Moving it to where it is would still repaint the whole table.
    if (now != wanted) content_->MoveWindow(&wanted);
}

void CDemoBar::OnSize(UINT nType, int cx, int cy) {
    CControlBarEx::OnSize(nType, cx, cy);
    PlaceContent();
}

// A move to another dock changes the client area through the frame's
// recalculation alone, without a size of the window to report.
void CDemoBar::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CControlBarEx::OnWindowPosChanged(lpwndpos);
    PlaceContent();
}

}  // namespace tq3::demo
