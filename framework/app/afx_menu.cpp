// CMenu and its handle maps: the permanent map knows the object that owns each
// attached menu; FromHandle makes temporaries for the rest.
#include "framework/app/afx_menu.h"

#include <map>
#include <memory>
#include <new>

#include "framework/app/wnd.h"
#include "framework/core/cstring.h"
#include "framework/system/resources.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

struct MenuMaps {
    std::map<HMENU, CMenu*> permanent;
    std::map<HMENU, std::unique_ptr<CMenu>> temporary;
};

MenuMaps& Maps() {
    static MenuMaps maps;
    return maps;
}

}  // namespace

CMenu::~CMenu() {
    if (m_hMenu == nullptr) return;
    HMENU menu = Detach();
    ::DestroyMenu(menu);
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr) return nullptr;
    auto& maps = Maps();
    if (auto found = maps.permanent.find(hMenu); found != maps.permanent.end()) return found->second;
    auto& temp = maps.temporary[hMenu];
    if (!temp) {
        temp = std::make_unique<CMenu>();
        temp->m_hMenu = hMenu;
    }
    return temp.get();
}

void CMenu::DeleteTempMap() {
    auto temp = std::move(Maps().temporary);
    Maps().temporary.clear();
    for (auto& entry : temp) entry.second->m_hMenu = nullptr;  // the menu is not theirs to destroy
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (hMenu == nullptr || m_hMenu != nullptr || !::IsMenu(hMenu)) return FALSE;
    try {
        Maps().permanent[hMenu] = this;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    if (menu != nullptr) Maps().permanent.erase(menu);
    m_hMenu = nullptr;
    return menu;
}

namespace {

// A menu just made becomes the object's, or is destroyed when it cannot be.
BOOL Adopt(CMenu* menu, HMENU made) {
    if (made == nullptr) return FALSE;
    if (menu->Attach(made)) return TRUE;
    ::DestroyMenu(made);
    return FALSE;
}

}  // namespace

BOOL CMenu::CreateMenu() { return m_hMenu == nullptr && Adopt(this, ::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return m_hMenu == nullptr && Adopt(this, ::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(LPCWSTR lpszResourceName) {
    return m_hMenu == nullptr && Adopt(this, ::LoadMenuW(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}
BOOL CMenu::LoadMenuIndirect(const void* lpMenuTemplate) {
    return m_hMenu == nullptr && Adopt(this, ::LoadMenuIndirectW(static_cast<LPCMENUTEMPLATEW>(lpMenuTemplate)));
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr) return FALSE;
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
int CMenu::GetMenuString(UINT nIDItem, LPWSTR lpString, int nMaxCount, UINT nFlags) const {
    return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (length <= 0) {
        rString.Empty();
        return 0;
    }
    LPWSTR buffer = rString.GetBuffer(length + 1);
    int copied = ::GetMenuStringW(m_hMenu, nIDItem, buffer, length + 1, nFlags);
    rString.ReleaseBuffer(copied);
    return copied;
}
BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT) {
    return ::TrackPopupMenuEx(m_hMenu, nFlags, x, y, pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr, nullptr);
}
BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
    return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr, lptpm);
}
