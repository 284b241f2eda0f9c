#include "headers/arrow_button.h"

#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/icons.h"
#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNAMIC(CArrowButton, CButton)

BEGIN_MESSAGE_MAP(CArrowButton, CButton)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CArrowButton::CArrowButton() = default;
CArrowButton::~CArrowButton() = default;

BOOL CArrowButton::Create(const RECT& rect, CWnd* parent, UINT id) {
    return CButton::Create(u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect, parent, id);
}

void CArrowButton::SetArrowIcon(HICON icon, int width, int height) {
    SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    iconWidth = width;
    iconHeight = height;
}

bool CArrowButton::CursorInside() const {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return false;
    ScreenToClient(&cursor);
    CRect client;
    GetClientRect(&client);
    return client.PtInRect(cursor) != FALSE;
}

void CArrowButton::DrawItem(LPDRAWITEMSTRUCT item) {
    if (item == nullptr) return;
    CDC* dc = CDC::FromHandle(item->hDC);
    if (dc == nullptr) return;
    CRect box = item->rcItem;
    dc->FillSolidRect(&box, GetSysColor(COLOR_BTNFACE));

    CRect client;
    GetClientRect(&client);
    iconRect = client;
    iconRect.DeflateRect(2, 2);
    // The arrow sinks with the button while the pointer holds it down.
    if (pressed == 1 && CursorInside()) iconRect.OffsetRect(1, 1);

    CRect inner = box;
    inner.DeflateRect(1, 1);
    if ((item->itemState & ODS_SELECTED) != 0) {
        dc->Draw3dRect(&box, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        dc->Draw3dRect(&inner, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE));
    } else {
        dc->Draw3dRect(&box, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        dc->Draw3dRect(&inner, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW));
    }

    const auto icon = reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON, 0));
    if (icon == nullptr) return;
    const int previousMode = dc->SetBkMode(TRANSPARENT);
    UINT flags = DST_ICON;
    if ((item->itemState & ODS_DISABLED) != 0) flags |= DSS_DISABLED;
    dc->DrawState(iconRect.TopLeft(), CSize(iconWidth, iconHeight), icon, flags);
    dc->SetBkMode(previousMode);
}

void CArrowButton::OnLButtonDown(UINT nFlags, CPoint point) {
    pressed = 1;
    CButton::OnLButtonDown(nFlags, point);
}

void CArrowButton::OnLButtonUp(UINT nFlags, CPoint point) {
    pressed = 0;
    CButton::OnLButtonUp(nFlags, point);
}
