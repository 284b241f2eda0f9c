// The tooltip control ("tooltips_class32"): a small top-level window that shows a
// line of text for a tool (a window, or a rectangle of one) after the pointer has
// rested on it. The owner relays its mouse messages with TTM_RELAYEVENT; the
// delays run on the window's timers.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/window/messages.h"

constexpr const WCHAR* TOOLTIPS_CLASSW = u"tooltips_class32";
#define TOOLTIPS_CLASS TOOLTIPS_CLASSW

// ---- Styles ----------------------------------------------------------------------
constexpr DWORD TTS_ALWAYSTIP = 0x01;  // accepted; tips show whether or not the owner is active
constexpr DWORD TTS_NOPREFIX = 0x02;   // '&' is shown as it stands

// ---- Tool flags (TOOLINFOW::uFlags) ------------------------------------------------
constexpr UINT TTF_IDISHWND = 0x0001;    // uId is a window handle: the tool is that whole window
constexpr UINT TTF_CENTERTIP = 0x0002;   // the tip is centred below the tool, not below the pointer
constexpr UINT TTF_RTLREADING = 0x0004;
constexpr UINT TTF_SUBCLASS = 0x0010;    // not supported: the owner relays its messages itself
constexpr UINT TTF_TRANSPARENT = 0x0100;

// ---- Delays (TTM_SETDELAYTIME / TTM_GETDELAYTIME) ----------------------------------
constexpr WPARAM TTDT_AUTOMATIC = 0;  // set: initial = t, autopop = 10 t, reshow = t / 5
constexpr WPARAM TTDT_RESHOW = 1;     // from one tool's tip to the next one's
constexpr WPARAM TTDT_AUTOPOP = 2;    // how long a tip stays while the pointer rests
constexpr WPARAM TTDT_INITIAL = 3;    // how long the pointer rests before the first tip

// ---- Messages ----------------------------------------------------------------------
constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_ADDTOOLW = WM_USER + 50;
constexpr UINT TTM_DELTOOLW = WM_USER + 51;
constexpr UINT TTM_NEWTOOLRECTW = WM_USER + 52;
constexpr UINT TTM_GETTEXTW = WM_USER + 56;
constexpr UINT TTM_UPDATETIPTEXTW = WM_USER + 57;
constexpr UINT TTM_ADDTOOL = TTM_ADDTOOLW;
constexpr UINT TTM_DELTOOL = TTM_DELTOOLW;
constexpr UINT TTM_NEWTOOLRECT = TTM_NEWTOOLRECTW;
constexpr UINT TTM_GETTEXT = TTM_GETTEXTW;
constexpr UINT TTM_UPDATETIPTEXT = TTM_UPDATETIPTEXTW;

// ---- Notifications (WM_NOTIFY to the tool's window) ----------------------------------
constexpr UINT TTN_FIRST = 0U - 520U;
constexpr UINT TTN_SHOW = TTN_FIRST - 1;
constexpr UINT TTN_POP = TTN_FIRST - 2;
constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
constexpr UINT TTN_GETDISPINFO = TTN_GETDISPINFOW;
constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;
constexpr UINT TTN_NEEDTEXT = TTN_GETDISPINFOW;

// The text of a tool whose window answers TTN_GETDISPINFO each time the tip shows.
#define LPSTR_TEXTCALLBACKW (reinterpret_cast<LPWSTR>(static_cast<LONG_PTR>(-1)))
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKW

// A tool, named by its window and id. The text is a string (copied by the
// control), a string resource id of `hinst` (MAKEINTRESOURCE), or LPSTR_TEXTCALLBACK.
struct TOOLINFOW {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;        // the window holding the tool; it receives the notifications
    UINT_PTR uId;     // the tool's id, or its window with TTF_IDISHWND
    RECT rect;        // the tool in hwnd's client coordinates (without TTF_IDISHWND)
    HINSTANCE hinst;  // where a resource id in lpszText is loaded from
    LPWSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
};
using TOOLINFO = TOOLINFOW;
using LPTOOLINFOW = TOOLINFOW*;
using LPTOOLINFO = TOOLINFOW*;
constexpr UINT TTTOOLINFOW_V2_SIZE = sizeof(TOOLINFOW) - sizeof(void*);

// TTN_GETDISPINFO: the window answers in lpszText (a string that outlives the
// call, or a resource id of hinst) or in szText.
struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText;
    WCHAR szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
using NMTTDISPINFO = NMTTDISPINFOW;
using LPNMTTDISPINFOW = NMTTDISPINFOW*;
using LPNMTTDISPINFO = NMTTDISPINFOW*;
using TOOLTIPTEXTW = NMTTDISPINFOW;
