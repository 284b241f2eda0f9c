#include "headers/line_header_wnd.h"

#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNAMIC(CLineHeaderWnd, CWnd)

CLineHeaderWnd::CLineHeaderWnd() = default;
CLineHeaderWnd::~CLineHeaderWnd() = default;

BOOL CLineHeaderWnd::Create(CWnd* parent) {
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    return CWnd::Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 10, 60, 100), parent, kLineHeaderId);
}
