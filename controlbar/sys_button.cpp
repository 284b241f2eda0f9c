// CSysButton: drawing, and the hover watch that a 10 ms timer keeps while the
// pointer moves over a flat button (the button sees no message when the pointer
// leaves it, so it looks for the pointer itself).
#include "controlbar/sys_button.h"

#include "framework/app/window_dc.h"
#include "framework/gdi/icons.h"
#include "framework/gdi/sysmetrics.h"

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverPeriod = 10;

}  // namespace

BOOL CSysButton::hot = FALSE;

IMPLEMENT_DYNAMIC(CSysButton, CButton)

BEGIN_MESSAGE_MAP(CSysButton, CButton)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSysButton::CSysButton() = default;

CSysButton::~CSysButton() {
    if (ownIcon_ != nullptr) DestroyIcon(ownIcon_);
}

void CSysButton::SetIcon(HICON icon, int cx, int cy) {
    iconCx = cx;
    iconCy = cy;
    if (m_hWnd != nullptr) SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    if (ownIcon_ != nullptr && ownIcon_ != icon) DestroyIcon(ownIcon_);
    ownIcon_ = icon;
}

bool CSysButton::PointerInside() const {
    POINT pointer{0, 0};
    ::GetCursorPos(&pointer);
    CRect window;
    GetWindowRect(&window);
    return window.PtInRect(pointer) != FALSE;
}

void CSysButton::DrawGlyph(CDC* dc, const CRect& rect) const {
    auto icon = reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON, 0));
    if (icon == nullptr) return;
    DrawIconEx(dc->GetSafeHdc(), rect.left, rect.top, icon, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
}

void CSysButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect item(lpDrawItemStruct->rcItem);
    const bool selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    dc->FillSolidRect(&item, GetSysColor(COLOR_BTNFACE));
    GetClientRect(&iconRect);
    if (pressed && PointerInside()) iconRect.OffsetRect(1, 1);
    if (!flat) {
        CRect inner = item;
        inner.DeflateRect(1, 1);
        if (selected) {
            dc->Draw3dRect(&item, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
            dc->Draw3dRect(&inner, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE));
        } else {
            dc->Draw3dRect(&item, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
            dc->Draw3dRect(&inner, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW));
        }
    } else if (selected) {
        dc->Draw3dRect(&item, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    } else {
        dc->Draw3dRect(&item, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    }
    DrawGlyph(dc, iconRect);
}

void CSysButton::OnLButtonDown(UINT nFlags, CPoint point) {
    pressed = TRUE;
    CButton::OnLButtonDown(nFlags, point);
}

void CSysButton::OnLButtonUp(UINT nFlags, CPoint point) {
    pressed = FALSE;
    CButton::OnLButtonUp(nFlags, point);
}

void CSysButton::OnMouseMove(UINT nFlags, CPoint point) {
    SetTimer(kHoverTimer, kHoverPeriod, nullptr);
    CButton::OnMouseMove(nFlags, point);
}

// The hover frame goes: the button is pressed or the pointer has left it.
void CSysButton::EndHover() {
    KillTimer(kHoverTimer);
    if (!hot) return;
    hot = FALSE;
    Invalidate();
}

void CSysButton::PaintHover() {
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    DrawGlyph(&dc, client);
    dc.Draw3dRect(&client, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    hot = TRUE;
}

void CSysButton::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kHoverTimer) {
        CButton::OnTimer(nIDEvent);
        return;
    }
    if (pressed || !PointerInside()) {
        EndHover();
        return;
    }
    if (flat && !hot) PaintHover();
}

void CSysButton::OnDestroy() {
    KillTimer(kHoverTimer);
    CButton::OnDestroy();
}
