// CDockContext: the drag of a bar and the docking toggle.
//
// Call flow: StartDrag -> ComputeShapes (the bar's docked and floating shapes at
// the start) -> the tracking window takes the capture -> Move on each mouse move
// (DockBarUnder decides the target, TargetRect the shape, MoveDragRect takes the
// rectangle there) -> EndDrag on the release (Finish, then DockControlBar or
// FloatControlBar) or CancelDrag (Finish only). Finish erases the rectangle
// before the capture goes, so that nothing the capture change sets off can see
// it half drawn.
//
// The rectangle shows in one of two ways, chosen when the drag begins: the
// backend's own outline over the whole screen when it has one (ShowSystemFrame),
// otherwise inverted on the screen DC (DrawDragRect).
#include "framework/app/dock_context.h"

#include <algorithm>
#include <new>

#include "framework/app/dock_bar.h"
#include "framework/app/frame_wnd.h"
#include "framework/app/mini_frame.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/backend.h"
#include "framework/window/virtual_keys.h"

namespace {

CDockContext* activeDrag = nullptr;

// Width of the rectangle's frame: thin for a docked shape, thick for a floating one.
constexpr int kThinFrame = 2;
constexpr int kThickFrame = 4;

// The style of the floating frames, to size their shape from a bar's.
constexpr DWORD kFloatStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kFloatExStyle = WS_EX_TOOLWINDOW;

// Holds the capture during a drag and passes the mouse to the drag.
class CDockTracker : public CWnd {
public:
    explicit CDockTracker(CDockContext* context) : context_(context) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_MOUSEMOVE: context_->Move(ScreenPoint(lParam)); return 0;
            case WM_LBUTTONUP: context_->EndDrag(ScreenPoint(lParam)); return 0;
            case WM_RBUTTONDOWN:
            case WM_CANCELMODE: context_->CancelDrag(); return 0;
            case WM_CAPTURECHANGED:
                // Another window took the mouse: the drag is over, nothing moves.
                if (reinterpret_cast<HWND>(lParam) != m_hWnd) context_->CancelDrag();
                return 0;
            default: return CWnd::WindowProc(message, wParam, lParam);
        }
    }

private:
    CPoint ScreenPoint(LPARAM lParam) const {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(m_hWnd, &p);
        return CPoint(p);
    }

    CDockContext* context_;
};

// The width of the rectangle's sides: a shape too small for them is filled.
int SideWidth(const CRect& rect, BOOL thick) {
    return std::min<int>(thick ? kThickFrame : kThinFrame, std::min(rect.Width(), rect.Height()) / 2);
}

// The backend's outline at `rect` (null: none); FALSE when it has none to show.
// Where each top-level window is a system window of its own, the screen DC
// reaches only the pixels of our windows, so an inverted rectangle would vanish
// wherever it crosses the bare screen or another program's window; the
// backend's outline shows there too.
BOOL ShowSystemFrame(const CRect* rect, BOOL thick) {
    if (rect == nullptr) return tq3::fw::CurrentBackend().ShowDragFrame(nullptr, 0);
    RECT r = *rect;
    return tq3::fw::CurrentBackend().ShowDragFrame(&r, SideWidth(*rect, thick));
}

// The frame's non-client size around a floating client area of `client`.
CRect FloatingFrameRect(const CRect& client) {
    RECT r = client;
    ::AdjustWindowRectEx(&r, kFloatStyle, FALSE, kFloatExStyle);
    return CRect(r);
}

}  // namespace

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(nullptr) {}

CDockContext::~CDockContext() {
    if (activeDrag == this) CancelDrag();
    if (m_pTracker != nullptr && m_pTracker->m_hWnd != nullptr) m_pTracker->DestroyWindow();
    delete m_pTracker;
}

CDockContext* CDockContext::GetActiveDrag() { return activeDrag; }

// ============================================================================
// Shapes and targets
// ============================================================================

void CDockContext::ComputeShapes() {
    CRect bar;
    m_pBar->GetWindowRect(&bar);
    CSize offset = m_ptStart - bar.TopLeft();
    CRect client;
    m_pDockSite->GetClientRect(&client);
    m_pDockSite->ClientToScreen(&client);
    // Each shape keeps the pointer where it held the bar, as far as the shape reaches.
    auto place = [&](CSize size) {
        int ox = std::clamp<int>(offset.cx, 0, std::max<int>(size.cx - 1, 0));
        int oy = std::clamp<int>(offset.cy, 0, std::max<int>(size.cy - 1, 0));
        return CRect(CPoint(m_ptStart.x - ox, m_ptStart.y - oy), size);
    };
    CSize horz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    m_rectDragHorz = place(horz);
    if (horz.cx >= client.Width()) {
        // A bar as long as the edge shows over the frame's whole width.
        m_rectDragHorz.left = client.left;
        m_rectDragHorz.right = client.right;
    }
    CSize vert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    m_rectDragVert = place(vert);
    if (vert.cy >= client.Height()) {
        m_rectDragVert.top = client.top;
        m_rectDragVert.bottom = client.bottom;
    }
    CSize floating = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
    m_rectFrameDragHorz = FloatingFrameRect(place(floating));
}

CDockBar* CDockContext::DockBarUnder(CPoint pt) const {
    if (m_bForceFrame || m_pDockSite == nullptr) return nullptr;
    static constexpr UINT kOrder[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                      AFX_IDW_DOCKBAR_RIGHT};
    for (UINT id : kOrder) {
        if (!(m_dwDockStyle & AfxDockAlignOfId(id))) continue;
        CDockBar* dock = m_pDockSite->GetDockBar(id);
        if (dock == nullptr || !dock->IsWindowVisible()) continue;
        if (dock->GetDropArea().PtInRect(pt)) return dock;
    }
    return nullptr;
}

CRect CDockContext::TargetRect(CPoint pt) const {
    CSize delta = pt - m_ptStart;
    CRect shape;
    if (m_pTargetDockBar == nullptr) {
        shape = m_rectFrameDragHorz;
    } else if (m_pTargetDockBar->m_dwStyle & CBRS_ORIENT_HORZ) {
        shape = m_rectDragHorz;
    } else {
        shape = m_rectDragVert;
    }
    shape.OffsetRect(delta);
    return shape;
}

// ============================================================================
// Drawing
// ============================================================================

void CDockContext::DrawDragRect(const CRect& rect, BOOL thick) {
    // On the screen, by inversion: drawn twice, it is gone.
    HDC dc = ::GetDCEx(nullptr, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (dc == nullptr) return;
    CBrush* halftone = CDC::GetHalftoneBrush();
    HGDIOBJ old = halftone != nullptr ? ::SelectObject(dc, halftone->m_hObject) : nullptr;
    int w = SideWidth(rect, thick);
    if (w > 0) {
        ::PatBlt(dc, rect.left, rect.top, rect.Width(), w, PATINVERT);
        ::PatBlt(dc, rect.left, rect.bottom - w, rect.Width(), w, PATINVERT);
        ::PatBlt(dc, rect.left, rect.top + w, w, rect.Height() - 2 * w, PATINVERT);
        ::PatBlt(dc, rect.right - w, rect.top + w, w, rect.Height() - 2 * w, PATINVERT);
    }
    if (old != nullptr) ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
}

void CDockContext::MoveDragRect(const CRect& next, BOOL thick) {
    if (m_bSystemFrame) {
        // The outline alone: it covers the band the inversion would take, and
        // the inversion, which reaches the screen only with our windows' next
        // update, would trail behind it as it moves.
        ShowSystemFrame(&next, thick);
    } else {
        DrawDragRect(m_rectLast, m_bShownThick);
        DrawDragRect(next, thick);
    }
    m_rectLast = next;
    m_bShownThick = thick;
}

// ============================================================================
// The drag
// ============================================================================

void CDockContext::StartDrag(CPoint pt) {
    if (m_bDragging || activeDrag != nullptr || m_pBar == nullptr || m_pBar->m_hWnd == nullptr) return;
    m_pDockSite = m_pBar->GetDockingFrame();
    if (m_pDockSite == nullptr || m_pDockSite->m_hWnd == nullptr) return;
    // The tracking window lives in the docking frame, which outlasts any floating frame.
    if (m_pTracker != nullptr && (m_pTracker->m_hWnd == nullptr || ::GetParent(m_pTracker->m_hWnd) != m_pDockSite->m_hWnd)) {
        if (m_pTracker->m_hWnd != nullptr) m_pTracker->DestroyWindow();
        delete m_pTracker;
        m_pTracker = nullptr;
    }
    if (m_pTracker == nullptr) {
        auto* tracker = new (std::nothrow) CDockTracker(this);
        if (tracker == nullptr) return;
        LPCWSTR cls = AfxRegisterWndClass(0);
        if (cls == nullptr ||
            !tracker->CreateEx(0, cls, nullptr, WS_CHILD, 0, 0, 0, 0, m_pDockSite->m_hWnd, nullptr, nullptr)) {
            delete tracker;
            return;
        }
        m_pTracker = tracker;
    }
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->m_dwStyle;
    m_ptStart = m_ptLast = pt;
    ComputeShapes();
    m_bForceFrame = ::GetKeyState(VK_CONTROL) < 0;
    m_pTargetDockBar = DockBarUnder(pt);
    m_rectLast = TargetRect(pt);
    m_bShownThick = IsFloatingTarget();
    m_bDragging = TRUE;
    activeDrag = this;
    m_bSystemFrame = ShowSystemFrame(&m_rectLast, m_bShownThick);
    if (!m_bSystemFrame) DrawDragRect(m_rectLast, m_bShownThick);
    ::SetCapture(m_pTracker->m_hWnd);
}

void CDockContext::Move(CPoint pt) {
    if (!m_bDragging) return;
    m_ptLast = pt;
    m_pTargetDockBar = DockBarUnder(pt);
    CRect next = TargetRect(pt);
    BOOL thick = IsFloatingTarget();
    if (next == m_rectLast && thick == m_bShownThick) return;
    MoveDragRect(next, thick);
}

void CDockContext::Finish() {
    if (m_bSystemFrame) {
        ShowSystemFrame(nullptr, FALSE);
    } else {
        DrawDragRect(m_rectLast, m_bShownThick);
    }
    m_bSystemFrame = FALSE;
    m_bDragging = FALSE;
    activeDrag = nullptr;
    if (m_pTracker != nullptr && ::GetCapture() == m_pTracker->m_hWnd) ::ReleaseCapture();
}

void CDockContext::CancelDrag() {
    if (!m_bDragging) return;
    Finish();
}

void CDockContext::EndDrag(CPoint pt) {
    if (!m_bDragging) return;
    Move(pt);
    BOOL moved = pt != m_ptStart;
    CDockBar* target = m_pTargetDockBar;
    CRect rect = m_rectLast;
    Finish();
    if (!moved || m_pBar->m_hWnd == nullptr || m_pDockSite == nullptr) return;  // a click is no drag
    CFrameWnd* site = m_pDockSite;
    if (target != nullptr) {
        if (m_pBar->IsFloating()) RememberFloatPos();
        site->DockControlBar(m_pBar, target, &rect);
        return;
    }
    // Floating: the client area goes where the shape's client area is.
    CRect frame = FloatingFrameRect(CRect(0, 0, 0, 0));
    CPoint clientTopLeft(rect.left - frame.left, rect.top - frame.top);
    BOOL wasDocked = !m_pBar->IsFloating() && m_pBar->m_pDockBar != nullptr;
    UINT from = wasDocked ? static_cast<UINT>(m_pBar->m_pDockBar->GetDlgCtrlID()) : 0;
    CRect place;
    m_pBar->GetWindowRect(&place);
    if (!site->FloatControlBar(m_pBar, clientTopLeft, m_dwStyle & CBRS_ALIGN_ANY)) return;
    if (wasDocked) {
        m_uMRUDockID = from;
        m_rectMRUDockPos = place;
    }
    RememberFloatPos();
}

void CDockContext::RememberFloatPos() {
    if (!m_pBar->IsFloating()) return;
    if (CFrameWnd* floating = m_pBar->GetParentFrame()) {
        CRect c;
        floating->GetClientRect(&c);
        floating->ClientToScreen(&c);
        m_ptMRUFloatPos = c.TopLeft();
    }
}

BOOL CDockContext::PreTranslateDragMessage(MSG* pMsg) {
    CDockContext* drag = activeDrag;
    if (drag == nullptr || pMsg == nullptr) return FALSE;
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        drag->CancelDrag();
    } else if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_CONTROL) {
        // Ctrl keeps the bar from docking for as long as it is held.
        drag->m_bForceFrame = pMsg->message == WM_KEYDOWN;
        CPoint last = drag->m_ptLast;
        drag->m_ptLast = CPoint(last.x + 1, last.y);  // Move redraws only for a change
        drag->Move(last);
    }
    return TRUE;  // every key belongs to the drag while it lasts
}

// ============================================================================
// Toggling
// ============================================================================

void CDockContext::ToggleDocking() {
    if (m_bDragging || m_pBar == nullptr || m_pBar->m_hWnd == nullptr) return;
    CFrameWnd* site = m_pBar->GetDockingFrame();
    if (site == nullptr) return;
    if (m_pBar->IsFloating()) {
        RememberFloatPos();
        // Back where it came from, or at the first edge it may dock at.
        UINT id = (m_uMRUDockID != 0 && (m_pBar->m_dwDockStyle & AfxDockAlignOfId(m_uMRUDockID))) ? m_uMRUDockID : 0;
        site->DockControlBar(m_pBar, id, m_rectMRUDockPos.IsRectEmpty() ? nullptr : &m_rectMRUDockPos);
        return;
    }
    if (m_pBar->m_pDockBar == nullptr) return;
    CRect bar;
    m_pBar->GetWindowRect(&bar);
    CPoint at = m_ptMRUFloatPos;
    if (at.x == -1 && at.y == -1) {
        // Never floated yet: just inside the place it leaves.
        at = bar.TopLeft() + CPoint(::GetSystemMetrics(SM_CXSIZE), ::GetSystemMetrics(SM_CYSIZE));
    }
    UINT from = static_cast<UINT>(m_pBar->m_pDockBar->GetDlgCtrlID());
    if (site->FloatControlBar(m_pBar, at, m_pBar->m_dwStyle & CBRS_ALIGN_ANY)) {
        m_uMRUDockID = from;
        m_rectMRUDockPos = bar;
    }
}
