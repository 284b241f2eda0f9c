#include "headers/sheet_tab_wnd.h"

#include <new>

#include "framework/controls/commctrl.h"
#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNAMIC(CSheetTabWnd, CWnd)

BEGIN_MESSAGE_MAP(CSheetTabWnd, CWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSheetTabWnd::CSheetTabWnd() = default;
CSheetTabWnd::~CSheetTabWnd() = default;

BOOL CSheetTabWnd::Create(CWnd* parent) {
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    return CWnd::Create(cls, u"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), parent, kSheetTabId);
}

int CSheetTabWnd::InsertItem(int index, LPCWSTR name) {
    const int count = GetItemCount();
    if (index < 0 || (count >= 1 && index > count)) return -1;
    try {
        CString label(name != nullptr ? name : u"");
        if (count == 0) {
            names.push_back(std::move(label));
            curSel = 0;
            return 0;
        }
        names.insert(names.begin() + (index < count ? index : count), std::move(label));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return count;
}

int CSheetTabWnd::DeleteItem(int index) {
    if (index < 0 || index >= GetItemCount()) return 0;
    names.erase(names.begin() + index);
    return 1;
}

void CSheetTabWnd::DeleteAllItems() {
    names.clear();
    curSel = 0;
}

CString CSheetTabWnd::GetItemText(int index) const {
    if (index < 0 || index >= GetItemCount()) return CString();
    return names[static_cast<size_t>(index)];
}

int CSheetTabWnd::SetCurSel(int index) {
    if (index >= GetItemCount()) return -1;
    const int previous = curSel;
    curSel = index;
    if (m_hWnd != nullptr) {
        InvalidateRect(nullptr, FALSE);
        // The view switches sheets when it hears of the change, so it is told even
        // when the tab was already current: selecting a sheet again refreshes it.
        NMHDR header{m_hWnd, kSheetTabId, TCN_SELCHANGE};
        if (CWnd* parent = GetParent()) {
            parent->SendMessage(WM_NOTIFY, kSheetTabId, reinterpret_cast<LPARAM>(&header));
        }
    }
    return previous;
}

void CSheetTabWnd::OnDestroy() {
    CWnd::OnDestroy();
    names.clear();
}
