// CControlBarEx: the sizing drag. A press on the sizing edge takes the mouse and
// locks the frame's drawing; a band (the tracker) inverted with the halftone
// brush follows the pointer across the dock; the release sizes the bar by how
// far the band moved, within its limits, and another window taking the capture
// gives the drag up. Drawing the band twice erases it, so whatever the frame
// shows beneath comes back unchanged.
//
// Call flow: OnNcLButtonDown -> StartTracking -> OnInvertTracker; OnMouseMove ->
// OnInvertTracker (old band, new band); OnLButtonUp -> StopTracking(TRUE);
// OnCaptureChanged -> StopTracking(FALSE).
#include <algorithm>

#include "controlbar/control_bar_ex.h"
#include "framework/app/frame_wnd.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/gdi_objects.h"

namespace {

// The middle of a rectangle, rounded down also where the band has moved to
// negative coordinates (beyond the bar's window origin), so that every step of
// the band counts whole and the same on either side of the origin.
CPoint Middle(const CRect& r) {
    auto half = [](int a, int b) { return (a + b) >> 1; };
    return CPoint(half(r.left, r.right), half(r.top, r.bottom));
}

}  // namespace

void CControlBarEx::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (!IsFloating() && nHitTest == static_cast<UINT>(HTSIZE) && !tracking) {
        StartTracking();
        return;
    }
    CControlBar::OnNcLButtonDown(nHitTest, point);
}

void CControlBarEx::StartTracking() {
    CFrameWnd* frame = GetDockingFrame();
    if (frame == nullptr) return;
    SetCapture();
    // Paint what is pending now: the frame's drawing stays locked until the end.
    RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    frame->LockWindowUpdate();
    ptOld = Middle(rectEdge);
    rectTracker = rectEdge;
    if (!IsHorzDocked()) rectTracker.bottom -= 4;
    tracking = TRUE;
    OnInvertTracker(rectTracker);
}

void CControlBarEx::OnMouseMove(UINT nFlags, CPoint point) {
    if (!tracking || IsFloating()) {
        CControlBar::OnMouseMove(nFlags, point);
        return;
    }
    ClientToWnd(point);
    const CRect old = rectTracker;
    const CPoint centre = Middle(rectTracker);
    if (IsHorzDocked()) {
        rectTracker.OffsetRect(0, point.y - centre.y);
    } else {
        rectTracker.OffsetRect(point.x - centre.x, 0);
    }
    if (rectTracker == old) return;
    OnInvertTracker(old);
    OnInvertTracker(rectTracker);
}

void CControlBarEx::OnLButtonUp(UINT nFlags, CPoint point) {
    if (!tracking) {
        CControlBar::OnLButtonUp(nFlags, point);
        return;
    }
    StopTracking(TRUE);
    Invalidate();
}

void CControlBarEx::OnCaptureChanged(CWnd* pWnd) {
    if (tracking && pWnd != this) StopTracking(FALSE);
    CControlBar::OnCaptureChanged(pWnd);
}

void CControlBarEx::OnInvertTracker(const CRect& rect) {
    CFrameWnd* frame = GetDockingFrame();
    if (frame == nullptr) return;
    CRect band = rect;
    CRect bar, frameRect;
    GetWindowRect(&bar);
    frame->GetWindowRect(&frameRect);
    band.OffsetRect(bar.left - frameRect.left, bar.top - frameRect.top);
    band.DeflateRect(1, 1);
    CDC* dc = frame->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (dc == nullptr) return;
    CBrush* old = dc->SelectObject(CDC::GetHalftoneBrush());
    dc->PatBlt(band.left, band.top, band.Width(), band.Height(), PATINVERT);
    dc->SelectObject(old);
    frame->ReleaseDC(dc);
}

void CControlBarEx::StopTracking(BOOL accept) {
    if (!tracking) return;
    OnInvertTracker(rectTracker);
    CFrameWnd* frame = GetDockingFrame();
    if (frame != nullptr) frame->UnlockWindowUpdate();
    tracking = FALSE;
    ReleaseCapture();
    if (!accept || frame == nullptr) return;

    const bool horz = IsHorzDocked() != FALSE;
    const int size = horz ? sizeHorz.cy : sizeVert.cx;
    const CPoint centre = Middle(rectTracker);
    const CPoint moved(centre.x - ptOld.x, centre.y - ptOld.y);
    int change = 0;
    switch (dockBarId) {
        case AFX_IDW_DOCKBAR_TOP: change = moved.y; break;
        case AFX_IDW_DOCKBAR_BOTTOM: change = -moved.y; break;
        case AFX_IDW_DOCKBAR_LEFT: change = moved.x; break;
        case AFX_IDW_DOCKBAR_RIGHT: change = -moved.x; break;
        default: break;
    }
    CRect room;
    frame->GetClientRect(&room);
    // The smallest size is applied last, so it wins when the frame is too small
    // for it.
    int sized = std::min(size + change, (horz ? room.Height() : room.Width()) + size);
    sized = std::max<int>(sized, horz ? sizeMin.cy : sizeMin.cx);
    if (horz) {
        sizeHorz.cy = sized;
    } else {
        sizeVert.cx = sized;
    }
    frame->DelayRecalcLayout();
}
