// Tracking a menu: the modal loop that shows pop-up menus (TrackPopupMenuEx, or
// a menu bar's pop-ups) and works them with the keyboard and the mouse.
//
// Sections: the tracking state; notifications; opening and closing pop-ups;
// highlighting and picking; the mouse; the keyboard; the loop; the entries.
//
// Call flow: TrackPopupMenuEx / TrackBar -> Run: Begin (WM_ENTERMENULOOP,
// WM_INITMENU) -> Open (WM_INITMENUPOPUP, layout, placement, show) -> loop:
// OnMouse / OnKey / OnChar -> Highlight (WM_MENUSELECT) / Open / CloseFrom /
// Pick -> End (WM_MENUSELECT 0xFFFF, WM_EXITMENULOOP) -> WM_COMMAND posted.
//
// One menu is tracked at a time. The owner's handlers run inside the loop
// (WM_INITMENUPOPUP may change or destroy the menu, WM_MENUSELECT may do
// anything), so every step reads the menus again through their handles and
// ends the loop when the menu or the owner is gone.
#include <algorithm>
#include <cwctype>
#include <vector>

#include "framework/core/failure_value.h"
#include "framework/core/geometry.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/menus/menus_internal.h"
#include "framework/window/messages.h"
#include "framework/window/virtual_keys.h"

namespace tq3::fw::menus {
namespace {

// ============================================================================
// The tracking state
// ============================================================================

struct Tracker {
    HWND owner = nullptr;        // hears the notifications and the command
    UINT flags = 0;              // TPM_* of the call
    HMENU bar = nullptr;         // tracking a menu bar: its menu; null for a pop-up menu
    HWND barWindow = nullptr;    // the window the bar belongs to
    std::vector<HMENU> open;     // the pop-ups showing, outermost first
    UINT picked = 0;             // the command chosen; 0 for none
    bool done = false;           // the loop ends at its next turn
    bool ownerGone = false;      // the owner or the menu went while tracking
};

Tracker* current = nullptr;

bool Notifies(const Tracker& t) { return !(t.flags & TPM_NONOTIFY); }
bool Alive(const Tracker& t) { return IsWindow(t.owner) != FALSE; }

// ============================================================================
// Notifications
// ============================================================================

void SendSelect(Tracker& t, HMENU menu, int index, bool byMouse) {
    Menu* m = MenuOf(menu);
    if (!Notifies(t) || m == nullptr || index < 0 || index >= static_cast<int>(m->items.size())) return;
    const Item& item = m->items[static_cast<size_t>(index)];
    UINT flags = (item.flags & (MF_POPUP | MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED)) | MF_HILITE |
                 (byMouse ? MF_MOUSESELECT : 0);
    UINT id = (item.flags & MF_POPUP) ? static_cast<UINT>(index) : item.id;
    SendMessageW(t.owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(flags)),
                 reinterpret_cast<LPARAM>(menu));
}

// ============================================================================
// Opening and closing pop-ups
// ============================================================================

HMENU Innermost(const Tracker& t) { return t.open.empty() ? t.bar : t.open.back(); }

void Redraw(HMENU menu) {
    Menu* m = MenuOf(menu);
    if (m == nullptr || m->window == nullptr) return;
    if (m->bar) {
        DrawMenuBar(m->window);
    } else {
        InvalidateRect(m->window, nullptr, FALSE);
    }
}

// Closes the pop-ups from level `level` on (0: all of them). The capture moves
// to the pop-up that stays before the others go, so that it never falls to
// nobody while the menu still runs.
void CloseFrom(Tracker& t, size_t level) {
    if (t.open.size() <= level) return;
    if (level > 0) {
        if (Menu* m = MenuOf(t.open[level - 1]); m != nullptr && m->window != nullptr) SetCapture(m->window);
    } else if (t.barWindow != nullptr && !t.done) {
        SetCapture(t.barWindow);
    }
    while (t.open.size() > level) {
        HMENU menu = t.open.back();
        t.open.pop_back();
        if (Menu* m = MenuOf(menu)) {
            HWND window = m->window;
            m->window = nullptr;
            m->highlight = -1;
            m->firstShown = 0;
            if (window != nullptr) DestroyWindow(window);
        }
    }
}

// Where a pop-up of `size` goes for the point and the TPM_* alignment, flipped
// to the other side of the point (or of `exclude`) when it would leave the
// desktop there, and kept on the desktop.
POINT Place(SIZE size, POINT at, UINT flags, const RECT* exclude) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    POINT p = at;
    if (flags & TPM_RIGHTALIGN) {
        p.x -= size.cx;
    } else if (flags & TPM_CENTERALIGN) {
        p.x -= size.cx / 2;
    }
    if (flags & TPM_BOTTOMALIGN) {
        p.y -= size.cy;
    } else if (flags & TPM_VCENTERALIGN) {
        p.y -= size.cy / 2;
    }
    if (exclude != nullptr && (flags & TPM_VERTICAL)) {
        // Below the excluded area, or above it when there is no room below.
        p.y = exclude->bottom;
        if (p.y + size.cy > screenH && exclude->top - size.cy >= 0) p.y = exclude->top - size.cy;
    } else if (exclude != nullptr) {
        // Beside the excluded area: right of it, or left when there is no room.
        p.x = exclude->right;
        if (p.x + size.cx > screenW && exclude->left - size.cx >= 0) p.x = exclude->left - size.cx;
    }
    if (p.x + size.cx > screenW && at.x - size.cx >= 0 && exclude == nullptr) p.x = at.x - size.cx;
    if (p.y + size.cy > screenH && at.y - size.cy >= 0 && exclude == nullptr) p.y = at.y - size.cy;
    p.x = std::max(0, std::min<int>(p.x, screenW - size.cx));
    p.y = std::max(0, std::min<int>(p.y, screenH - size.cy));
    return p;
}

// Shows `menu` as the next level. False when the menu is gone or empty, or its
// window cannot be made.
bool Open(Tracker& t, HMENU menu, POINT at, UINT placeFlags, const RECT* exclude, int indexInParent, bool selectFirst) {
    if (Notifies(t)) {
        SendMessageW(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                     MAKELPARAM(static_cast<WORD>(indexInParent), FALSE));
    }
    Menu* m = MenuOf(menu);
    if (m == nullptr || m->items.empty() || m->window != nullptr || !Alive(t)) return false;
    SIZE size = LayOutPopup(m, GetSystemMetrics(SM_CYSCREEN));
    POINT p = Place(size, at, placeFlags, exclude);
    HWND window = CreatePopupWindow(menu, GetAncestor(t.owner, GA_ROOT));
    if (window == nullptr) return false;
    t.open.push_back(menu);  // may throw: the window is then destroyed by the caller's cleanup
    m->window = window;
    m->highlight = -1;
    SetWindowPos(window, HWND_TOPMOST, p.x, p.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetCapture(window);
    if (selectFirst) {
        for (size_t i = 0; i < m->items.size(); ++i) {
            if (IsSeparator(m->items[i])) continue;
            m->highlight = static_cast<int>(i);
            SendSelect(t, menu, m->highlight, false);
            break;
        }
    }
    return true;
}

// Opens the submenu of item `index` of the pop-up at `level`, beside the item.
void OpenSubmenu(Tracker& t, size_t level, int index, bool selectFirst) {
    Menu* m = MenuOf(t.open[level]);
    if (m == nullptr || index < 0) return;
    const Item& item = m->items[static_cast<size_t>(index)];
    if (!(item.flags & MF_POPUP) || IsDisabled(item) || MenuOf(item.sub) == nullptr) return;
    if (level + 1 < t.open.size() && t.open[level + 1] == item.sub) return;  // already open
    CloseFrom(t, level + 1);
    RECT r{};
    GetMenuItemRect(nullptr, t.open[level], static_cast<UINT>(index), &r);
    RECT beside{r.left, r.top - 3, r.right, r.bottom};
    Open(t, item.sub, POINT{r.right, r.top - 3}, 0, &beside, index, selectFirst);
}

// Opens the pop-up of bar item `index` under it (above when the desktop's
// bottom is too near).
void OpenBarItem(Tracker& t, int index, bool selectFirst) {
    Menu* bar = MenuOf(t.bar);
    if (bar == nullptr || index < 0 || index >= static_cast<int>(bar->items.size())) return;
    CloseFrom(t, 0);
    bar->highlight = index;
    Redraw(t.bar);
    SendSelect(t, t.bar, index, !selectFirst);
    const Item& item = bar->items[static_cast<size_t>(index)];
    if (!(item.flags & MF_POPUP) || IsDisabled(item)) {
        SetCapture(t.barWindow);
        return;
    }
    RECT r{};
    GetMenuItemRect(t.barWindow, t.bar, static_cast<UINT>(index), &r);
    if (!Open(t, item.sub, POINT{r.left, r.bottom}, TPM_VERTICAL, &r, index, selectFirst)) SetCapture(t.barWindow);
}

// ============================================================================
// Highlighting and picking
// ============================================================================

void Highlight(Tracker& t, HMENU menu, int index, bool byMouse) {
    Menu* m = MenuOf(menu);
    if (m == nullptr || m->highlight == index) return;
    m->highlight = index;
    if (!m->bar && m->window != nullptr) {
        RECT client{};
        GetClientRect(m->window, &client);
        ScrollToHighlight(m, client.bottom);
    }
    Redraw(menu);
    SendSelect(t, menu, index, byMouse);
}

// The user chose item `index` of `menu`: a command ends the loop with it, a
// pop-up item opens its submenu, a disabled item or a separator does nothing.
void Choose(Tracker& t, HMENU menu, int index, bool byKeyboard) {
    Menu* m = MenuOf(menu);
    if (m == nullptr || index < 0 || index >= static_cast<int>(m->items.size())) return;
    const Item& item = m->items[static_cast<size_t>(index)];
    if (IsSeparator(item) || IsDisabled(item)) return;
    if (item.flags & MF_POPUP) {
        if (m->bar) {
            OpenBarItem(t, index, byKeyboard);
        } else {
            auto level = static_cast<size_t>(std::find(t.open.begin(), t.open.end(), menu) - t.open.begin());
            if (level < t.open.size()) OpenSubmenu(t, level, index, byKeyboard);
        }
        return;
    }
    t.picked = item.id;
    t.done = true;
}

// The next item from `from` in direction `step` that is no separator; -1 when none.
int NextSelectable(const Menu* m, int from, int step) {
    const int count = static_cast<int>(m->items.size());
    for (int n = 1; n <= count; ++n) {
        int i = ((from < 0 ? (step > 0 ? -1 : 0) : from) + step * n + count * 2) % count;
        if (!IsSeparator(m->items[static_cast<size_t>(i)])) return i;
    }
    return -1;
}

// ============================================================================
// The mouse
// ============================================================================

struct Hit {
    HMENU menu = nullptr;  // the menu under the pointer; null outside every menu
    int index = -1;        // the item; -1 on the frame or between items
    size_t level = 0;      // its pop-up level
};

Hit HitTest(const Tracker& t, POINT screen) {
    for (size_t level = t.open.size(); level-- > 0;) {
        Menu* m = MenuOf(t.open[level]);
        RECT r{};
        if (m == nullptr || m->window == nullptr || !GetWindowRect(m->window, &r) || !PtInRect(&r, screen)) continue;
        return Hit{t.open[level], ItemAt(m, POINT{screen.x - r.left, screen.y - r.top}), level};
    }
    if (Menu* bar = MenuOf(t.bar)) {
        for (size_t i = 0; i < bar->items.size(); ++i) {
            RECT r{};
            if (GetMenuItemRect(t.barWindow, t.bar, static_cast<UINT>(i), &r) && PtInRect(&r, screen)) {
                return Hit{t.bar, static_cast<int>(i), 0};
            }
        }
    }
    return Hit{};
}

void OnMouseMove(Tracker& t, POINT screen) {
    Hit hit = HitTest(t, screen);
    if (hit.menu == nullptr || hit.index < 0) return;
    if (hit.menu == t.bar) {
        // Moving along the bar while one of its pop-ups shows opens the next one.
        Menu* bar = MenuOf(t.bar);
        if (!t.open.empty() && bar->highlight != hit.index) OpenBarItem(t, hit.index, false);
        return;
    }
    Highlight(t, hit.menu, hit.index, true);
    Menu* m = MenuOf(hit.menu);
    if (m != nullptr && (m->items[static_cast<size_t>(hit.index)].flags & MF_POPUP)) {
        OpenSubmenu(t, hit.level, hit.index, false);
    } else {
        CloseFrom(t, hit.level + 1);
    }
}

void OnButtonDown(Tracker& t, POINT screen) {
    Hit hit = HitTest(t, screen);
    if (hit.menu == nullptr) {
        t.done = true;  // a click outside every menu leaves it
        return;
    }
    if (hit.menu == t.bar) {
        Menu* bar = MenuOf(t.bar);
        if (bar->highlight == hit.index && !t.open.empty()) {
            t.done = true;  // a second click on the open bar item closes it
        } else {
            OpenBarItem(t, hit.index, false);
        }
        return;
    }
    OnMouseMove(t, screen);
}

void OnButtonUp(Tracker& t, POINT screen) {
    Hit hit = HitTest(t, screen);
    if (hit.menu == nullptr || hit.menu == t.bar || hit.index < 0) return;
    Menu* m = MenuOf(hit.menu);
    if (m != nullptr && !(m->items[static_cast<size_t>(hit.index)].flags & MF_POPUP)) Choose(t, hit.menu, hit.index, false);
}

// ============================================================================
// The keyboard
// ============================================================================

void OnKey(Tracker& t, int vk) {
    HMENU menu = Innermost(t);
    Menu* m = MenuOf(menu);
    if (m == nullptr) {
        t.done = true;
        return;
    }
    Menu* bar = MenuOf(t.bar);
    switch (vk) {
        case VK_UP:
        case VK_DOWN:
            if (m->bar) {
                OpenBarItem(t, std::max(0, m->highlight), true);
            } else {
                Highlight(t, menu, NextSelectable(m, m->highlight, vk == VK_DOWN ? 1 : -1), false);
            }
            break;
        case VK_RIGHT:
            if (!m->bar && m->highlight >= 0 && (m->items[static_cast<size_t>(m->highlight)].flags & MF_POPUP)) {
                OpenSubmenu(t, t.open.size() - 1, m->highlight, true);
            } else if (bar != nullptr) {
                OpenBarItem(t, NextSelectable(bar, bar->highlight, 1), !t.open.empty() || m->bar);
            }
            break;
        case VK_LEFT:
            if (t.open.size() > 1) {
                CloseFrom(t, t.open.size() - 1);
            } else if (bar != nullptr) {
                OpenBarItem(t, NextSelectable(bar, bar->highlight, -1), !t.open.empty());
            }
            break;
        case VK_RETURN:
            if (m->bar && m->highlight >= 0) {
                OpenBarItem(t, m->highlight, true);
            } else {
                Choose(t, menu, m->highlight, true);
            }
            break;
        case VK_ESCAPE:
            if (t.open.size() > 1 || (bar != nullptr && !t.open.empty())) {
                // Back one level; from a bar's pop-up back to the bar item.
                CloseFrom(t, t.open.size() - 1);
                if (t.open.empty()) SetCapture(t.barWindow);
            } else {
                t.done = true;
            }
            break;
        case VK_MENU:
        case VK_F10:
            t.done = true;
            break;
        default:
            break;
    }
}

// A typed letter picks the item whose mnemonic it is; when several share it,
// each press moves the highlight to the next of them.
void OnChar(Tracker& t, WCHAR ch) {
    HMENU menu = Innermost(t);
    Menu* m = MenuOf(menu);
    if (m == nullptr || ch == 0) return;
    const WCHAR key = static_cast<WCHAR>(std::towlower(ch));
    std::vector<int> matches;
    for (size_t i = 0; i < m->items.size(); ++i) {
        if (!IsSeparator(m->items[i]) && MnemonicOf(m->items[i]) == key) matches.push_back(static_cast<int>(i));
    }
    if (matches.empty()) return;
    if (matches.size() == 1) {
        Highlight(t, menu, matches[0], false);
        Choose(t, menu, matches[0], true);
        return;
    }
    auto next = std::upper_bound(matches.begin(), matches.end(), m->highlight);
    Highlight(t, menu, next != matches.end() ? *next : matches.front(), false);
}

// ============================================================================
// The loop
// ============================================================================

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

void HandleInput(Tracker& t, MSG& msg) {
    const DWORD pos = GetMessagePos();
    POINT screen{static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))};
    const bool rightPicks = (t.flags & TPM_RIGHTBUTTON) != 0 || t.bar != nullptr;
    switch (msg.message) {
        case WM_MOUSEMOVE: OnMouseMove(t, screen); break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK: OnButtonDown(t, screen); break;
        case WM_LBUTTONUP: OnButtonUp(t, screen); break;
        case WM_RBUTTONUP:
            if (rightPicks) OnButtonUp(t, screen);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_UP || msg.wParam == VK_DOWN || msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT ||
                msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_MENU || msg.wParam == VK_F10) {
                OnKey(t, static_cast<int>(msg.wParam));
            } else {
                TranslateMessage(&msg);  // letters come back as WM_CHAR for the mnemonics
            }
            break;
        case WM_CHAR:
        case WM_SYSCHAR: OnChar(t, static_cast<WCHAR>(msg.wParam)); break;
        default: break;
    }
}

// Runs until the user picks or leaves, the owner goes or the application quits.
void Loop(Tracker& t) {
    while (!t.done) {
        if (!Alive(t) || (t.bar == nullptr && t.open.empty())) break;
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns it
            break;
        }
        if (got < 0) break;
        const bool input = IsMouseMessage(msg.message) ||
                           (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST);
        if (input) {
            HandleInput(t, msg);
        } else {
            DispatchMessageW(&msg);
        }
    }
}

// Everything the loop opened goes, whichever way it ended.
struct Cleanup {
    Tracker& t;
    ~Cleanup() {
        t.done = true;
        CloseFrom(t, 0);
        if (Menu* bar = MenuOf(t.bar)) {
            bar->highlight = -1;
            Redraw(t.bar);
        }
        ReleaseCapture();
        current = nullptr;
    }
};

void Begin(Tracker& t, HMENU menu) {
    SendMessageW(t.owner, WM_ENTERMENULOOP, t.bar == nullptr ? TRUE : FALSE, 0);
    if (Notifies(t) && Alive(t)) SendMessageW(t.owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
}

void End(Tracker& t) {
    if (!Alive(t)) return;
    if (Notifies(t)) SendMessageW(t.owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    if (Alive(t)) SendMessageW(t.owner, WM_EXITMENULOOP, t.bar == nullptr ? TRUE : FALSE, 0);
}

}  // namespace

bool IsTrackingWindow(HWND window) {
    if (current == nullptr || window == nullptr) return false;
    if (window == current->barWindow) return true;
    for (HMENU menu : current->open) {
        if (Menu* m = MenuOf(menu); m != nullptr && m->window == window) return true;
    }
    return false;
}

// ============================================================================
// The entries
// ============================================================================

UINT TrackBar(HWND window, int item, bool byKeyboard) {
    HMENU menu = GetMenu(window);
    Menu* bar = MenuOf(menu);
    if (current != nullptr || bar == nullptr || bar->items.empty()) return 0;
    return GuardAllocations<UINT>(0, [&]() -> UINT {
        Tracker t;
        t.owner = window;
        t.bar = menu;
        t.barWindow = window;
        bar->window = window;
        current = &t;
        {
            Cleanup cleanup{t};
            Begin(t, menu);
            if (!IsMenu(menu) || !Alive(t)) return 0;
            if (item < 0) {
                // The keyboard (Alt, F10) selects the first item without opening it.
                bar->highlight = NextSelectable(bar, -1, 1);
                Redraw(menu);
                SendSelect(t, menu, bar->highlight, false);
                SetCapture(window);
            } else {
                OpenBarItem(t, item, byKeyboard);
            }
            Loop(t);
            End(t);
        }
        if (t.picked != 0 && IsWindow(window)) PostMessageW(window, WM_COMMAND, MAKEWPARAM(t.picked, 0), 0);
        return t.picked;
    });
}

}  // namespace tq3::fw::menus

using namespace tq3::fw::menus;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    Menu* m = MenuOf(menu);
    if (m == nullptr || m->bar || m->items.empty() || m->window != nullptr || current != nullptr || !IsWindow(owner)) {
        return FALSE;
    }
    const RECT* exclude = params != nullptr && params->cbSize >= sizeof(TPMPARAMS) ? &params->rcExclude : nullptr;
    return tq3::fw::GuardAllocations<BOOL>(FALSE, [&]() -> BOOL {
        Tracker t;
        t.owner = owner;
        t.flags = flags;
        t.open.reserve(4);
        bool shown = false;
        current = &t;
        {
            Cleanup cleanup{t};
            Begin(t, menu);
            shown = Open(t, menu, POINT{x, y}, flags, exclude, 0, false);
            if (shown) Loop(t);
            End(t);
        }
        if (!shown) return FALSE;
        if (flags & TPM_RETURNCMD) return static_cast<BOOL>(t.picked);
        if (t.picked != 0 && !(flags & TPM_NONOTIFY) && IsWindow(owner)) {
            PostMessageW(owner, WM_COMMAND, MAKEWPARAM(t.picked, 0), 0);
        }
        return TRUE;
    });
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    if (current == nullptr || current->done) return FALSE;
    current->done = true;
    // Wake the loop so that it sees the request.
    PostMessageW(current->owner, WM_NULL, 0, 0);
    return TRUE;
}

BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, LPRECT rect) {
    Menu* m = MenuOf(menu);
    if (m == nullptr || rect == nullptr || position >= m->items.size()) return FALSE;
    RECT r = m->items[position].rect;
    if (m->bar) {
        RECT bar{};
        if (window == nullptr || !MenuBarRect(window, &bar)) return FALSE;
        OffsetRect(&r, bar.left, bar.top);
    } else {
        if (m->window == nullptr) return FALSE;
        POINT origin{0, 0};
        ClientToScreen(m->window, &origin);
        int shift = m->items[static_cast<size_t>(m->firstShown)].rect.top - m->items[0].rect.top;
        OffsetRect(&r, origin.x, origin.y - shift);
    }
    *rect = r;
    return TRUE;
}
