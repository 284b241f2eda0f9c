// The menu objects and the calls that make, change and query them.
//
// Sections: the live menus; item lookup; making and destroying; loading from a
// table; changing items; queries.
//
// A handle is the address of its Menu; a handle is only trusted once the set of
// live menus knows it, so a stale or made-up handle fails like the platform's.
// Every call that allocates runs under GuardAllocations and allocates before it
// changes anything, so running out of memory leaves the menu as it was.
#include <algorithm>
#include <cwctype>
#include <memory>
#include <unordered_set>

#include "framework/core/failure_value.h"
#include "framework/menus/menus_internal.h"
#include "framework/system/resources.h"

namespace tq3::fw::menus {
namespace {

std::unordered_set<Menu*>& Live() {
    static std::unordered_set<Menu*> live;
    return live;
}

constexpr UINT kFailure = 0xFFFFFFFFu;

}  // namespace

// ============================================================================
// The live menus and item lookup
// ============================================================================

Menu* MenuOf(HMENU menu) {
    auto* m = reinterpret_cast<Menu*>(menu);
    return m != nullptr && Live().count(m) != 0 ? m : nullptr;
}

HMENU HandleOf(Menu* menu) { return reinterpret_cast<HMENU>(menu); }

Item* FindItem(HMENU handle, UINT item, UINT flags, HMENU* holder, int* index) {
    Menu* m = MenuOf(handle);
    if (m == nullptr) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size()) return nullptr;
        if (holder) *holder = handle;
        if (index) *index = static_cast<int>(item);
        return &m->items[item];
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        Item& it = m->items[i];
        if (it.flags & MF_POPUP) {
            if (Item* found = FindItem(it.sub, item, flags, holder, index)) return found;
        } else if (!IsSeparator(it) && it.id == item) {
            if (holder) *holder = handle;
            if (index) *index = static_cast<int>(i);
            return &it;
        }
    }
    return nullptr;
}

bool IsSeparator(const Item& item) { return (item.flags & MF_SEPARATOR) != 0; }
bool IsDisabled(const Item& item) { return (item.flags & (MF_GRAYED | MF_DISABLED)) != 0; }

std::u16string_view LabelOf(const Item& item) {
    std::u16string_view text = item.text;
    return text.substr(0, text.find(u'\t'));
}

std::u16string_view AcceleratorOf(const Item& item) {
    std::u16string_view text = item.text;
    size_t tab = text.find(u'\t');
    return tab == std::u16string_view::npos ? std::u16string_view{} : text.substr(tab + 1);
}

WCHAR MnemonicOf(const Item& item) {
    std::u16string_view label = LabelOf(item);
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != u'&') continue;
        if (label[i + 1] == u'&') {
            ++i;  // "&&" shows one ampersand
            continue;
        }
        return static_cast<WCHAR>(std::towlower(label[i + 1]));
    }
    return 0;
}

namespace {

// ============================================================================
// Making and destroying
// ============================================================================

HMENU NewMenu(bool bar) {
    auto menu = std::make_unique<Menu>();
    menu->bar = bar;
    Live().insert(menu.get());
    return HandleOf(menu.release());
}

void Destroy(Menu* m) {
    Live().erase(m);
    for (Item& item : m->items) {
        if (Menu* sub = (item.flags & MF_POPUP) ? MenuOf(item.sub) : nullptr) Destroy(sub);
    }
    if (m->window != nullptr && !m->bar) DestroyWindow(m->window);
    delete m;
}

// ============================================================================
// Changing items
// ============================================================================

// The item an AppendMenu, InsertMenu or ModifyMenu call describes; false when a
// pop-up item names no menu, or one that already sits in another menu.
bool MakeItem(HMENU owner, UINT flags, UINT_PTR id, LPCWSTR text, Item* out) {
    out->flags = flags & ~(MF_BYPOSITION | MF_CHANGE | MF_APPEND | MF_DELETE | MF_REMOVE | MF_BITMAP | MF_OWNERDRAW);
    if (flags & MF_POPUP) {
        Menu* sub = MenuOf(reinterpret_cast<HMENU>(id));
        if (sub == nullptr || reinterpret_cast<HMENU>(id) == owner) return false;
        if (sub->parent != nullptr && sub->parent != owner) return false;
        out->sub = reinterpret_cast<HMENU>(id);
        out->id = 0;
    } else {
        out->id = (flags & MF_SEPARATOR) ? 0 : static_cast<UINT>(id);
    }
    if (!(flags & MF_SEPARATOR) && text != nullptr) out->text = text;
    return true;
}

BOOL Insert(HMENU menu, int at, UINT flags, UINT_PTR id, LPCWSTR text) {
    Menu* m = MenuOf(menu);
    if (m == nullptr) return FALSE;
    return GuardAllocations<BOOL>(FALSE, [&] {
        Item item;
        if (!MakeItem(menu, flags, id, text, &item)) return FALSE;
        size_t pos = at < 0 ? m->items.size() : std::min(m->items.size(), static_cast<size_t>(at));
        m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(pos), std::move(item));
        if (Menu* sub = MenuOf(m->items[pos].sub)) sub->parent = menu;
        return TRUE;
    });
}

BOOL Take(HMENU menu, UINT position, UINT flags, bool destroySubmenu) {
    HMENU holder = nullptr;
    int index = -1;
    if (FindItem(menu, position, flags, &holder, &index) == nullptr) return FALSE;
    Menu* m = MenuOf(holder);
    Item item = std::move(m->items[static_cast<size_t>(index)]);
    m->items.erase(m->items.begin() + index);
    if (m->highlight >= static_cast<int>(m->items.size())) m->highlight = -1;
    if (Menu* sub = MenuOf(item.sub)) {
        sub->parent = nullptr;
        if (destroySubmenu) Destroy(sub);
    }
    return TRUE;
}

// ============================================================================
// Loading from a table
// ============================================================================

// Adds the items of `data` from `*next` up to the one marked TQ3_MENU_END to
// `menu`, recursing into pop-up items. False for a table that ends early.
bool AddFromTable(HMENU menu, const TQ3MenuData& data, size_t* next) {
    while (*next < data.count) {
        const TQ3MenuItemData& d = data.items[(*next)++];
        UINT flags = d.flags & (TQ3_MENU_GRAYED | MF_DISABLED | MF_CHECKED | TQ3_MENU_SEPARATOR | MF_MENUBARBREAK |
                                MF_MENUBREAK | MF_HELP);
        if (d.flags & TQ3_MENU_POPUP) {
            // The submenu goes again however its filling fails, thrown out of
            // memory included, until its pop-up item holds it.
            struct Pending {
                HMENU menu;
                ~Pending() {
                    if (menu != nullptr) Destroy(MenuOf(menu));
                }
            } sub{NewMenu(false)};
            if (!AddFromTable(sub.menu, data, next) ||
                !Insert(menu, -1, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.menu), d.text)) {
                return false;
            }
            sub.menu = nullptr;
        } else if (!Insert(menu, -1, flags, d.id, d.text)) {
            return false;
        }
        if (d.flags & TQ3_MENU_END) return true;
    }
    return false;
}

}  // namespace
}  // namespace tq3::fw::menus

using namespace tq3::fw::menus;
using tq3::fw::GuardAllocations;

HMENU CreateMenu() { return GuardAllocations<HMENU>(nullptr, [] { return NewMenu(true); }); }
HMENU CreatePopupMenu() { return GuardAllocations<HMENU>(nullptr, [] { return NewMenu(false); }); }

BOOL DestroyMenu(HMENU menu) {
    Menu* m = MenuOf(menu);
    if (m == nullptr) return FALSE;
    // A submenu destroyed on its own leaves its pop-up item without a menu.
    if (Menu* parent = MenuOf(m->parent)) {
        for (Item& item : parent->items) {
            if (item.sub == menu) item.sub = nullptr;
        }
    }
    Destroy(m);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return MenuOf(menu) != nullptr; }

HMENU LoadMenuIndirectW(LPCMENUTEMPLATEW menuTemplate) {
    if (menuTemplate == nullptr || menuTemplate->count == 0 || menuTemplate->items == nullptr) return nullptr;
    return GuardAllocations<HMENU>(nullptr, [&]() -> HMENU {
        HMENU menu = NewMenu(true);
        size_t next = 0;
        // A bad table (or memory running out half-way) leaves nothing behind.
        struct Undo {
            HMENU menu;
            ~Undo() {
                if (menu != nullptr) Destroy(MenuOf(menu));
            }
        } undo{menu};
        if (!AddFromTable(menu, *menuTemplate, &next)) return nullptr;
        undo.menu = nullptr;
        return menu;
    });
}

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    if (instance == nullptr) instance = AfxFindResourceHandle(name, RT_MENU);
    HRSRC resource = FindResourceW(instance, name, RT_MENU);
    if (resource == nullptr) return nullptr;
    return LoadMenuIndirectW(static_cast<LPCMENUTEMPLATEW>(LockResource(LoadResource(instance, resource))));
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) { return Insert(menu, -1, flags, item, text); }

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text) {
    if (MenuOf(menu) == nullptr) return FALSE;
    if (flags & MF_BYPOSITION) {
        return Insert(menu, position == 0xFFFFFFFFu ? -1 : static_cast<int>(std::min<UINT>(position, 0x7FFFFFFF)),
                      flags, item, text);
    }
    HMENU holder = nullptr;
    int index = -1;
    if (FindItem(menu, position, MF_BYCOMMAND, &holder, &index) == nullptr) return FALSE;
    return Insert(holder, index, flags, item, text);
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text) {
    HMENU holder = nullptr;
    Item* item = FindItem(menu, position, flags & MF_BYPOSITION, &holder);
    if (item == nullptr) return FALSE;
    return GuardAllocations<BOOL>(FALSE, [&] {
        Item changed;
        if (!MakeItem(holder, flags, id, text, &changed)) return FALSE;
        if (item->sub != changed.sub) {
            if (Menu* old = MenuOf(item->sub)) Destroy(old);  // the platform destroys a replaced submenu
            if (Menu* sub = MenuOf(changed.sub)) sub->parent = holder;
        }
        changed.rect = item->rect;
        changed.data = item->data;
        *item = std::move(changed);
        return TRUE;
    });
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Take(menu, position, flags, false); }
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Take(menu, position, flags, true); }

BOOL EnableMenuItem(HMENU menu, UINT position, UINT enable) {
    Item* item = FindItem(menu, position, enable & MF_BYPOSITION);
    if (item == nullptr) return -1;
    UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(previous);
}

DWORD CheckMenuItem(HMENU menu, UINT position, UINT check) {
    Item* item = FindItem(menu, position, check & MF_BYPOSITION);
    if (item == nullptr) return kFailure;
    DWORD previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

int GetMenuItemCount(HMENU menu) {
    Menu* m = MenuOf(menu);
    return m != nullptr ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    Item* item = position < 0 ? nullptr : FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    if (item == nullptr || (item->flags & MF_POPUP)) return kFailure;
    return item->id;
}

HMENU GetSubMenu(HMENU menu, int position) {
    Item* item = position < 0 ? nullptr : FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return item != nullptr && (item->flags & MF_POPUP) ? item->sub : nullptr;
}

int GetMenuStringW(HMENU menu, UINT position, LPWSTR buffer, int bufferMax, UINT flags) {
    Item* item = FindItem(menu, position, flags & MF_BYPOSITION);
    if (item == nullptr) return 0;
    int length = static_cast<int>(item->text.size());
    if (buffer == nullptr) return length;
    if (bufferMax <= 0) return 0;
    int copied = std::min(length, bufferMax - 1);
    std::copy_n(item->text.data(), copied, buffer);
    buffer[copied] = 0;
    return copied;
}

UINT GetMenuState(HMENU menu, UINT position, UINT flags) {
    Item* item = FindItem(menu, position, flags & MF_BYPOSITION);
    if (item == nullptr) return kFailure;
    UINT state = item->flags & 0xFFFF & ~MF_MOUSESELECT;
    if (item->flags & MF_POPUP) {
        int count = GetMenuItemCount(item->sub);
        state = (state & 0xFF) | (static_cast<UINT>(std::max(count, 0)) << 8);
    }
    return state;
}

BOOL GetMenuItemInfoW(HMENU menu, UINT position, BOOL byPosition, LPMENUITEMINFOW info) {
    Item* item = FindItem(menu, position, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (item == nullptr || info == nullptr) return FALSE;
    if (info->fMask & MIIM_FTYPE) info->fType = item->flags & MF_SEPARATOR;
    if (info->fMask & MIIM_STATE) info->fState = item->flags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
    if (info->fMask & MIIM_ID) info->wID = item->id;
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = (item->flags & MF_POPUP) ? item->sub : nullptr;
    if (info->fMask & MIIM_DATA) info->dwItemData = item->data;
    if (info->fMask & MIIM_STRING) {
        UINT length = static_cast<UINT>(item->text.size());
        if (info->dwTypeData != nullptr && info->cch > 0) {
            UINT copied = std::min(length, info->cch - 1);
            std::copy_n(item->text.data(), copied, info->dwTypeData);
            info->dwTypeData[copied] = 0;
        }
        info->cch = length;
    }
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFOW info) {
    HMENU holder = nullptr;
    Item* item = FindItem(menu, position, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, &holder);
    if (item == nullptr || info == nullptr) return FALSE;
    if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu != nullptr && MenuOf(info->hSubMenu) == nullptr) return FALSE;
    return GuardAllocations<BOOL>(FALSE, [&] {
        std::u16string text = item->text;
        if ((info->fMask & MIIM_STRING) && info->dwTypeData != nullptr) text = info->dwTypeData;
        item->text = std::move(text);
        if (info->fMask & MIIM_FTYPE) item->flags = (item->flags & ~MF_SEPARATOR) | (info->fType & MF_SEPARATOR);
        if (info->fMask & MIIM_STATE) {
            item->flags = (item->flags & ~(MFS_GRAYED | MFS_CHECKED | MFS_DEFAULT)) |
                          (info->fState & (MFS_GRAYED | MFS_CHECKED | MFS_DEFAULT));
        }
        if (info->fMask & MIIM_ID) item->id = info->wID;
        if (info->fMask & MIIM_DATA) item->data = info->dwItemData;
        if (info->fMask & MIIM_SUBMENU) {
            item->sub = info->hSubMenu;
            item->flags = info->hSubMenu != nullptr ? (item->flags | MF_POPUP) : (item->flags & ~MF_POPUP);
            if (Menu* sub = MenuOf(info->hSubMenu)) sub->parent = holder;
        }
        return TRUE;
    });
}
