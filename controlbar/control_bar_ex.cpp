// CControlBarEx: creation, layout, the non-client area, painting, the system
// buttons and their tips, the commands and the context menu. The sizing drag is
// in control_bar_ex_tracking.cpp.
//
// Sections: creation; where the bar sits; layout; non-client area; painting;
// buttons and tips; mouse in the client area; commands; context menu.
//
// Call flow: every move of the bar ends in OnWindowPosChanged, which learns the
// place from the parent's id (dockBarId), forces WM_NCCALCSIZE (OnNcCalcSize:
// border style, sizing edge, client inset for that place), places or hides the
// buttons (PlaceButtons) and asks the frame for a layout. OnPaint draws the
// gripper while docked; OnNcPaint the borders and the raised sizing edge.
#include "controlbar/control_bar_ex.h"

#include <algorithm>

#include "framework/app/afx_menu.h"
#include "framework/app/cmd_ui.h"
#include "framework/app/dock_bar.h"
#include "framework/app/dock_context.h"
#include "framework/app/frame_wnd.h"
#include "framework/app/window_dc.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/resources.h"
#include "settings/language.h"

namespace {

constexpr COLORREF kGlyphMask = RGB(0, 255, 0);  // the glyphs' transparent colour
constexpr int kButtonSize = 12;
constexpr int kButtonStep = 14;  // from one system button to the next

HCURSOR SplitCursor(UINT id) {
    LPCWSTR name = MAKEINTRESOURCEW(id);
    return LoadCursorW(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name);
}

}  // namespace

IMPLEMENT_DYNAMIC(CControlBarEx, CControlBar)

BEGIN_MESSAGE_MAP(CControlBarEx, CControlBar)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_NCCALCSIZE()
ON_WM_NCHITTEST()
ON_WM_NCPAINT()
ON_WM_NCLBUTTONDOWN()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_CAPTURECHANGED()
ON_WM_CONTEXTMENU()
ON_WM_WINDOWPOSCHANGED()
ON_COMMAND(kBarCloseButtonId, &CControlBarEx::OnButtonClose)
ON_COMMAND(kBarMinimizeButtonId, &CControlBarEx::OnButtonMinimize)
ON_UPDATE_COMMAND_UI(kBarCloseButtonId, &CControlBarEx::OnUpdateButtonClose)
ON_UPDATE_COMMAND_UI(kBarMinimizeButtonId, &CControlBarEx::OnUpdateButtonMinimize)
END_MESSAGE_MAP()

// ============================================================================
// Creation
// ============================================================================

CControlBarEx::CControlBarEx() { LoadGlyphs(); }

CControlBarEx::~CControlBarEx() = default;

// The glyph strip is cut into 13-pixel images with pure green transparent. A bar
// made before the library's resources joined the search tries again at creation.
bool CControlBarEx::LoadGlyphs() {
    if (images.GetSafeHandle() != nullptr) return true;
    LPCWSTR name = MAKEINTRESOURCEW(kBarGlyphBitmapId);
    CBitmap strip;
    if (!strip.Attach(LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name))) return false;
    return images.Create(&strip, kBarGlyphSize, 0, kGlyphMask) != FALSE;
}

BOOL CControlBarEx::Create(CWnd* parent, UINT id, LPCWSTR title, CSize sizeDefault, DWORD style) {
    m_dwStyle = style & CBRS_ALL;
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    sizeHorz = sizeDefault;
    sizeVert = sizeDefault;
    sizeFloat = sizeDefault;
    return CWnd::Create(cls, title, style & (WS_CHILD | WS_VISIBLE), CRect(0, 0, 0, 0), parent, id);
}

void CControlBarEx::ShowFrameStuff(int gripper, int buttons) {
    showGripper = gripper != 0;
    showButtons = buttons != 0;
}

bool CControlBarEx::CreateButtons() {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_ICON | BS_OWNERDRAW;
    if (!closeButton.Create(u"", style, CRect(0, 0, 0, 0), this, kBarCloseButtonId)) return false;
    if (!minimizeButton.Create(u"", style, CRect(0, 0, 0, 0), this, kBarMinimizeButtonId)) return false;
    closeButton.flat = FALSE;
    minimizeButton.flat = FALSE;
    closeButton.SetIcon(images.ExtractIcon(0), kBarGlyphSize, kBarGlyphSize);
    return true;
}

int CControlBarEx::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CControlBar::OnCreate(lpCreateStruct) == -1) return -1;
    if (!showButtons) return 0;
    LoadGlyphs();
    if (!CreateButtons()) return -1;
    // The tips answer with the library language's texts when they show
    // (TTN_GETDISPINFO in OnNotify), so a change of language reaches them.
    if (toolTip.Create(this)) {
        toolTip.AddTool(&closeButton);
        toolTip.AddTool(&minimizeButton);
        toolTip.Activate(TRUE);
    }
    return 0;
}

// ============================================================================
// Where the bar sits
// ============================================================================

BOOL CControlBarEx::IsHorzDocked() const {
    return dockBarId == AFX_IDW_DOCKBAR_TOP || dockBarId == AFX_IDW_DOCKBAR_BOTTOM;
}

BOOL CControlBarEx::IsVertDocked() const {
    return dockBarId == AFX_IDW_DOCKBAR_LEFT || dockBarId == AFX_IDW_DOCKBAR_RIGHT;
}

BOOL CControlBarEx::IsFloating() const { return !IsHorzDocked() && !IsVertDocked(); }

// ============================================================================
// Layout
// ============================================================================

CSize CControlBarEx::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    int length = 32767;
    if (!bStretch) {
        // Along the dock: as long as the dock bar the bar would share, and the two
        // pixels of border at each end that the dock bar takes off again.
        CFrameWnd* frame = GetDockingFrame();
        CWnd* dock = frame != nullptr ? frame->GetDockBar(bHorz ? AFX_IDW_DOCKBAR_TOP : AFX_IDW_DOCKBAR_LEFT)
                                      : nullptr;
        CRect r(0, 0, 0, 0);
        if (dock != nullptr) dock->GetWindowRect(&r);
        length = (bHorz ? r.Width() : r.Height()) + 4;
    }
    return bHorz ? CSize(length, sizeHorz.cy) : CSize(sizeVert.cx, length);
}

CSize CControlBarEx::CalcDynamicLayout(int nLength, DWORD nMode) {
    if (nMode & (LM_HORZDOCK | LM_VERTDOCK)) {
        if (nLength == -1) {
            if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
        }
        return CControlBar::CalcDynamicLayout(nLength, nMode);
    }
    if (nMode & LM_MRUWIDTH) return sizeFloat;
    if (nMode & LM_COMMIT) {
        sizeFloat.cx = nLength;
        return CSize(nLength, sizeFloat.cy);
    }
    if (nMode & LM_LENGTHY) {
        sizeFloat.cy = std::max<int>(nLength, sizeMin.cy);
        return sizeFloat;
    }
    return CSize(std::max<int>(nLength, sizeMin.cx), sizeFloat.cy);
}

// ============================================================================
// Non-client area
// ============================================================================

// The sizing edge: a band of edgeWidth along the side toward the frame's
// interior, within `base`; empty while floating.
CRect CControlBarEx::EdgeOfDock(const CRect& base) const {
    CRect edge = base;
    switch (dockBarId) {
        case AFX_IDW_DOCKBAR_TOP: edge.top = edge.bottom - edgeWidth; break;
        case AFX_IDW_DOCKBAR_BOTTOM: edge.bottom = edge.top + edgeWidth; break;
        case AFX_IDW_DOCKBAR_LEFT: edge.left = edge.right - edgeWidth; break;
        case AFX_IDW_DOCKBAR_RIGHT: edge.right = edge.left + edgeWidth; break;
        default: edge.SetRectEmpty(); break;
    }
    return edge;
}

void CControlBarEx::OnNcCalcSize(BOOL /*bCalcValidRects*/, NCCALCSIZE_PARAMS* lpncsp) {
    CRect client(lpncsp->rgrc[0]);
    CRect base(0, 0, client.Width(), client.Height());
    base.DeflateRect(1, 1);
    rectEdge = EdgeOfDock(base);
    DWORD style = m_dwStyle | CBRS_BORDER_ANY;
    switch (dockBarId) {
        case AFX_IDW_DOCKBAR_TOP:
            style &= ~CBRS_BORDER_BOTTOM;
            client.DeflateRect(2, 2, 2, 2 + edgeWidth);
            break;
        case AFX_IDW_DOCKBAR_BOTTOM:
            style &= ~CBRS_BORDER_TOP;
            client.DeflateRect(2, 2 + edgeWidth, 2, 2);
            break;
        case AFX_IDW_DOCKBAR_LEFT:
            style &= ~CBRS_BORDER_RIGHT;
            client.DeflateRect(2, 2, 2 + edgeWidth, 6);
            break;
        case AFX_IDW_DOCKBAR_RIGHT:
            style &= ~CBRS_BORDER_LEFT;
            client.DeflateRect(2 + edgeWidth, 2, 2, 6);
            break;
        default: style = m_dwStyle; break;  // floating: the borders as they are
    }
    SetBarStyle(style);
    lpncsp->rgrc[0] = client;
}

CPoint& CControlBarEx::ClientToWnd(CPoint& point) {
    point.x += 2;
    point.y += 2;
    if (dockBarId == AFX_IDW_DOCKBAR_BOTTOM) point.y += edgeWidth;
    if (dockBarId == AFX_IDW_DOCKBAR_RIGHT) point.x += edgeWidth;
    return point;
}

LRESULT CControlBarEx::OnNcHitTest(CPoint point) {
    if (IsFloating()) return CControlBar::OnNcHitTest(point);
    CRect window;
    GetWindowRect(&window);
    point.Offset(-window.left, -window.top);
    return rectEdge.PtInRect(point) ? HTSIZE : HTCLIENT;
}

BOOL CControlBarEx::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest == static_cast<UINT>(HTSIZE) && !tracking) {
        HCURSOR cursor = SplitCursor(IsHorzDocked() ? AFX_IDC_VSPLITBAR : AFX_IDC_HSPLITBAR);
        if (cursor != nullptr) {
            ::SetCursor(cursor);
            return TRUE;
        }
    }
    return CControlBar::OnSetCursor(pWnd, nHitTest, message);
}

void CControlBarEx::OnNcPaint() {
    CWindowDC dc(this);
    CRect client, bar;
    GetClientRect(&client);
    ClientToScreen(&client);
    GetWindowRect(&bar);
    client.OffsetRect(-bar.left, -bar.top);
    bar.OffsetRect(-bar.left, -bar.top);
    dc.ExcludeClipRect(&client);
    CRect rest = bar;
    DrawBorders(&dc, rest);
    dc.FillSolidRect(&rest, GetSysColor(COLOR_BTNFACE));
    if (!rectEdge.IsRectEmpty()) {
        dc.Draw3dRect(&rectEdge, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
}

// ============================================================================
// Painting
// ============================================================================

CRect CControlBarEx::GetGripperRect() {
    CRect r;
    GetClientRect(&r);
    if (IsHorzDocked()) {
        // A vertical strip at the left, below the buttons.
        r.DeflateRect(3, 3);
        r.left += 1;
        r.bottom -= 1;
        r.right = r.left + 3;
        r.top += showButtons ? 30 : 1;
    } else {
        // A horizontal strip at the top, left of the buttons.
        r.DeflateRect(4, 4);
        r.top += 2;
        r.bottom = r.top + 3;
        r.right -= showButtons ? 30 : 2;
    }
    return r;
}

void CControlBarEx::DrawGripper(CDC* pDC) {
    if (showGripper) {
        CRect r = GetGripperRect();
        const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
        pDC->Draw3dRect(&r, hi, shadow);
        r.OffsetRect(IsHorzDocked() ? CPoint(4, 0) : CPoint(0, 4));
        pDC->Draw3dRect(&r, hi, shadow);
    }
    if (CFrameWnd* frame = GetDockingFrame()) frame->RecalcLayout(TRUE);
}

void CControlBarEx::OnPaint() {
    CPaintDC dc(this);
    if (!IsFloating()) DrawGripper(&dc);
}

// ============================================================================
// Buttons and tips
// ============================================================================

CRect CControlBarEx::GetButtonRect() {
    CRect r;
    GetClientRect(&r);
    r.top += 3;
    r.bottom = r.top + kButtonSize;
    if (IsHorzDocked()) {
        r.left = 2;
    } else {
        r.left = r.right - 31;
    }
    r.right = r.left + kButtonSize;
    return r;
}

void CControlBarEx::SetMinimizeGlyph(int glyph) {
    if (glyph == minimizeGlyph_) return;
    HICON icon = images.ExtractIcon(glyph);
    if (icon == nullptr) return;
    minimizeButton.SetIcon(icon, kBarGlyphSize, kBarGlyphSize);
    minimizeGlyph_ = glyph;
}

void CControlBarEx::PlaceButtons() {
    if (closeButton.m_hWnd == nullptr || minimizeButton.m_hWnd == nullptr) return;
    if (IsFloating()) {
        // The floating frame's caption has its own close box.
        closeButton.ShowWindow(SW_HIDE);
        minimizeButton.ShowWindow(SW_HIDE);
        return;
    }
    closeButton.ShowWindow(SW_SHOW);
    minimizeButton.ShowWindow(SW_SHOW);
    CRect r = GetButtonRect();
    if (IsHorzDocked()) {
        closeButton.MoveWindow(&r);
        r.OffsetRect(0, kButtonStep);
        minimizeButton.MoveWindow(&r);
    } else {
        minimizeButton.MoveWindow(&r);
        r.OffsetRect(kButtonStep, 0);
        closeButton.MoveWindow(&r);
    }
    SetMinimizeGlyph(IsHorzDocked() ? 2 : 1);
}

void CControlBarEx::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    CControlBar::OnWindowPosChanged(lpwndpos);
    CWnd* parent = GetParent();
    dockBarId = parent != nullptr ? static_cast<UINT>(parent->GetDlgCtrlID()) : 0;
    if (!inFrameChange) {
        inFrameChange = TRUE;
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        inFrameChange = FALSE;
    }
    if (showButtons && IsFloating()) {
        PlaceButtons();
        return;
    }
    if (showButtons) PlaceButtons();
    if (CFrameWnd* frame = GetDockingFrame()) frame->RecalcLayout(TRUE);
    // The whole bar, its borders and sizing edge included: they move with the place.
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

BOOL CControlBarEx::PreTranslateMessage(MSG* pMsg) {
    if (showButtons && toolTip.m_hWnd != nullptr) toolTip.RelayEvent(pMsg);
    return CControlBar::PreTranslateMessage(pMsg);
}

BOOL CControlBarEx::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr != nullptr && hdr->code == TTN_GETDISPINFOW && hdr->hwndFrom == toolTip.m_hWnd) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const bool close = reinterpret_cast<HWND>(hdr->idFrom) == closeButton.m_hWnd;
        CString text;
        GetVALMExDLLString(close ? kBarCloseTipId : kBarFloatTipId, text);
        const int count = std::min(text.GetLength(), 79);
        std::copy_n(static_cast<LPCWSTR>(text), count, info->szText);
        info->szText[count] = 0;
        info->lpszText = info->szText;
        *pResult = 0;
        return TRUE;
    }
    return CControlBar::OnNotify(wParam, lParam, pResult);
}

// ============================================================================
// Mouse in the client area
// ============================================================================

void CControlBarEx::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_pDockBar != nullptr && m_pDockContext != nullptr) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    CControlBar::OnLButtonDown(nFlags, point);
}

void CControlBarEx::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_pDockBar != nullptr && m_pDockContext != nullptr) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CControlBar::OnLButtonDblClk(nFlags, point);
}

// ============================================================================
// Commands
// ============================================================================

void CControlBarEx::OnButtonClose() {
    if (CFrameWnd* frame = GetDockingFrame()) frame->ShowControlBar(this, FALSE, FALSE);
}

void CControlBarEx::OnButtonMinimize() {
    if (m_pDockContext != nullptr) m_pDockContext->ToggleDocking();
}

void CControlBarEx::OnUpdateButtonClose(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void CControlBarEx::OnUpdateButtonMinimize(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

// The buttons' commands are the bar's own, so the bar is their command target.
void CControlBarEx::OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL bDisableIfNoHndler) {
    UpdateDialogControls(this, bDisableIfNoHndler);
}

// ============================================================================
// Context menu
// ============================================================================

void CControlBarEx::OnContextMenu(CWnd* pWnd, CPoint point) {
    if (IsFloating()) {
        CControlBar::OnContextMenu(pWnd, point);
        return;
    }
    if (menuId == 0) return;
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: just inside the bar's client corner.
        CRect client;
        GetClientRect(&client);
        ClientToScreen(&client);
        point = client.TopLeft() + CPoint(5, 5);
    }
    CMenu menu;
    if (!menu.LoadMenu(menuId)) return;
    CMenu* popup = menu.GetSubMenu(0);
    CWnd* target = this;
    while (target != nullptr && (target->GetStyle() & WS_CHILD) != 0) target = target->GetParent();
    if (popup != nullptr && target != nullptr) popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, target);
    menu.DestroyMenu();
}
