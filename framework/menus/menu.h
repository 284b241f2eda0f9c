// Menus: pop-up menus and menu bars as objects behind HMENU handles, loaded from
// the readable menu tables resource libraries carry, shown by TrackPopupMenu(Ex)
// as "#32768" pop-up windows and worked with the keyboard and the mouse.
//
// A menu is a list of items: a command (id and text), a separator, or a pop-up
// item that opens a submenu. Items are addressed by position (MF_BYPOSITION) or
// by command (MF_BYCOMMAND, searched through the submenus depth first). An item
// text may carry a mnemonic ("&Copy") and, after a tab, the accelerator shown at
// the right ("&Copy\tCtrl+C").
//
// Failure values are the platform's: null handles, FALSE, 0 from GetMenuStringW,
// and -1 (as the UINT 0xFFFFFFFF where the result is unsigned) from the queries.
#pragma once

#include "framework/core/export.h"
#include "framework/core/wintypes.h"
#include "framework/system/resource_table.h"
#include "framework/window/winuser.h"

using MENUTEMPLATEW = TQ3MenuData;
using LPCMENUTEMPLATEW = const MENUTEMPLATEW*;

// ---- Item flags (MF_*) ---------------------------------------------------------------
constexpr UINT MF_INSERT = 0x0000;
constexpr UINT MF_CHANGE = 0x0080;
constexpr UINT MF_APPEND = 0x0100;
constexpr UINT MF_DELETE = 0x0200;
constexpr UINT MF_REMOVE = 0x1000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_UNHILITE = 0x0000;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_HELP = 0x4000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;
constexpr UINT MF_END = 0x0080;

// ---- TrackPopupMenu flags (TPM_*) --------------------------------------------------------
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_RECURSE = 0x0001;
constexpr UINT TPM_NOANIMATION = 0x4000;

// An area the menu must not cover (TrackPopupMenuEx): the menu goes beside it.
struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;

// ---- Item information (GetMenuItemInfoW / SetMenuItemInfoW) ----------------------------
constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_FTYPE = 0x0100;
constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

struct MENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
};
using LPMENUITEMINFOW = MENUITEMINFOW*;
using LPCMENUITEMINFOW = const MENUITEMINFOW*;

// The menu a "#32768" pop-up window shows.
constexpr UINT MN_GETHMENU = 0x01E1;
// The class of pop-up menu windows.
constexpr WCHAR kPopupMenuClass[] = u"#32768";

// ---- Making and destroying ------------------------------------------------------------------
TQ3FW_EXPORT_C HMENU CreateMenu();
TQ3FW_EXPORT_C HMENU CreatePopupMenu();
// Destroys the menu and the submenus its pop-up items open. FALSE for a bad handle.
TQ3FW_EXPORT_C BOOL DestroyMenu(HMENU menu);
TQ3FW_EXPORT_C BOOL IsMenu(HMENU menu);
// A menu bar made from a table; null for a null, empty or malformed table.
TQ3FW_EXPORT_C HMENU LoadMenuIndirectW(LPCMENUTEMPLATEW menuTemplate);
// The table `name` (MAKEINTRESOURCEW id) of `instance`, or of the resource search
// for a null instance. Null when no module has it.
TQ3FW_EXPORT_C HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);

// ---- Items -----------------------------------------------------------------------------------
// `item` is the id, or the submenu's handle with MF_POPUP; `text` the label
// (ignored for separators). FALSE for a bad menu, a submenu that is not a menu or
// already belongs to another, or when memory runs out (nothing changes then).
TQ3FW_EXPORT_C BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
// Inserts before the item `position` names (by position past the end: appends).
TQ3FW_EXPORT_C BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
TQ3FW_EXPORT_C BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
// RemoveMenu keeps the submenu of a pop-up item alive; DeleteMenu destroys it.
TQ3FW_EXPORT_C BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
TQ3FW_EXPORT_C BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// Both return the previous state (MF_GRAYED/MF_DISABLED, MF_CHECKED) or -1.
TQ3FW_EXPORT_C BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
TQ3FW_EXPORT_C DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);

TQ3FW_EXPORT_C int GetMenuItemCount(HMENU menu);
// -1 (0xFFFFFFFF) for a pop-up item, a bad position or a bad menu; 0 for a separator.
TQ3FW_EXPORT_C UINT GetMenuItemID(HMENU menu, int position);
TQ3FW_EXPORT_C HMENU GetSubMenu(HMENU menu, int position);
// Copies at most bufferMax - 1 units and a zero; with a null buffer returns the
// length. 0 for a missing item.
TQ3FW_EXPORT_C int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int bufferMax, UINT flags);
// The item's MF_* flags (for a pop-up item the submenu's item count in the high
// byte); -1 (0xFFFFFFFF) for a missing item.
TQ3FW_EXPORT_C UINT GetMenuState(HMENU menu, UINT item, UINT flags);
TQ3FW_EXPORT_C BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
TQ3FW_EXPORT_C BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
// The item's rectangle in screen coordinates while its menu shows (`window` may be
// null for a pop-up menu; for a menu bar it names the window).
TQ3FW_EXPORT_C BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, LPRECT rect);

// ---- Showing a pop-up menu --------------------------------------------------------------------
// Shows `menu` at (x, y) in screen coordinates, aligned as the TPM_* flags ask and
// flipped to the other side of the point (or of TPMPARAMS' rectangle) where the
// desktop's edge is too near, then runs a modal loop until the user picks an item
// or leaves the menu. `owner` hears WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP, WM_MENUSELECT and WM_EXITMENULOOP (TPM_NONOTIFY leaves out
// all but the first and the last); the pick is posted to it as WM_COMMAND, unless
// TPM_RETURNCMD returns it instead or TPM_NONOTIFY keeps it back. Returns the
// command id with TPM_RETURNCMD (0 when nothing was picked), otherwise TRUE once
// the menu was shown; 0 for a bad menu or owner, an empty menu, a menu already
// showing, or when memory runs out (nothing is left open then).
//
// A menu taller than the desktop shows the items that fit and scrolls them so
// that the item the keyboard highlights is always in view.
TQ3FW_EXPORT_C BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
TQ3FW_EXPORT_C BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                   const RECT* ignored);
// Closes the menu showing now, as if the user left it.
TQ3FW_EXPORT_C BOOL EndMenu();

// ---- Menu bars ------------------------------------------------------------------------------
// The menu bar of a top-level window. SetMenu(window, null) removes it; the old
// menu is not destroyed. FALSE for a child window or a menu that is no bar.
TQ3FW_EXPORT_C BOOL SetMenu(HWND window, HMENU menu);
TQ3FW_EXPORT_C HMENU GetMenu(HWND window);
TQ3FW_EXPORT_C BOOL DrawMenuBar(HWND window);

inline BOOL AppendMenu(HMENU m, UINT f, UINT_PTR i, LPCWSTR t) { return AppendMenuW(m, f, i, t); }
inline BOOL InsertMenu(HMENU m, UINT p, UINT f, UINT_PTR i, LPCWSTR t) { return InsertMenuW(m, p, f, i, t); }
inline BOOL ModifyMenu(HMENU m, UINT p, UINT f, UINT_PTR i, LPCWSTR t) { return ModifyMenuW(m, p, f, i, t); }
inline HMENU LoadMenu(HINSTANCE i, LPCWSTR n) { return LoadMenuW(i, n); }
inline int GetMenuString(HMENU m, UINT i, LPWSTR b, int n, UINT f) { return GetMenuStringW(m, i, b, n, f); }
