// The window manager's compatibility surface: window classes, windows, the message
// queue, painting, input state, timers, carets, cursors and window scroll bars,
// with the platform's names, values and structures.
//
// Functions are declared once with their wide names (`CreateWindowExW`) and exported
// unmangled; the undecorated names a host writes (`CreateWindowEx`, `SendMessage`)
// are inline forwarders at the end of the file rather than macros, so that class
// members of the same name (`CWnd::SendMessage`) stay untouched.
//
// Sections: styles and flags; structures; classes and windows; geometry;
// messages and the queue; painting; input state; timers, carets and cursors;
// scroll bars; undecorated forwarders.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/window/messages.h"
#include "framework/window/virtual_keys.h"

// ============================================================================
// Styles and flags
// ============================================================================

// ---- Window styles ----------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_TILED = WS_OVERLAPPED;
constexpr DWORD WS_ICONIC = WS_MINIMIZE;
constexpr DWORD WS_SIZEBOX = WS_THICKFRAME;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_TILEDWINDOW = WS_OVERLAPPEDWINDOW;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr DWORD WS_CHILDWINDOW = WS_CHILD;

// ---- Extended window styles -------------------------------------------------
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_MDICHILD = 0x00000040;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
constexpr DWORD WS_EX_RIGHT = 0x00001000;
constexpr DWORD WS_EX_LEFT = 0x00000000;
constexpr DWORD WS_EX_RTLREADING = 0x00002000;
constexpr DWORD WS_EX_LTRREADING = 0x00000000;
constexpr DWORD WS_EX_LEFTSCROLLBAR = 0x00004000;
constexpr DWORD WS_EX_RIGHTSCROLLBAR = 0x00000000;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_LAYERED = 0x00080000;
constexpr DWORD WS_EX_NOINHERITLAYOUT = 0x00100000;
constexpr DWORD WS_EX_LAYOUTRTL = 0x00400000;
constexpr DWORD WS_EX_COMPOSITED = 0x02000000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;
constexpr DWORD WS_EX_OVERLAPPEDWINDOW = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
constexpr DWORD WS_EX_PALETTEWINDOW = WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// ---- Class styles -----------------------------------------------------------
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_NOCLOSE = 0x0200;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_BYTEALIGNCLIENT = 0x1000;
constexpr UINT CS_BYTEALIGNWINDOW = 0x2000;
constexpr UINT CS_GLOBALCLASS = 0x4000;
constexpr UINT CS_DROPSHADOW = 0x00020000;

// ---- ShowWindow commands ----------------------------------------------------
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;
constexpr int SW_FORCEMINIMIZE = 11;

// ---- SetWindowPos flags -----------------------------------------------------
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
constexpr UINT SWP_NOREPOSITION = SWP_NOOWNERZORDER;
constexpr UINT SWP_DEFERERASE = 0x2000;
constexpr UINT SWP_ASYNCWINDOWPOS = 0x4000;

// Special insert-after handles of SetWindowPos and special parents.
#define HWND_TOP (reinterpret_cast<HWND>(static_cast<LONG_PTR>(0)))
#define HWND_BOTTOM (reinterpret_cast<HWND>(static_cast<LONG_PTR>(1)))
#define HWND_TOPMOST (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-2)))
#define HWND_MESSAGE (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-3)))
#define HWND_DESKTOP (reinterpret_cast<HWND>(static_cast<LONG_PTR>(0)))
#define HWND_BROADCAST (reinterpret_cast<HWND>(static_cast<LONG_PTR>(0xFFFF)))

// CreateWindowEx: let the system choose the position or size.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// ---- RedrawWindow flags -----------------------------------------------------
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

// ---- ScrollWindowEx flags ---------------------------------------------------
constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;

// ---- Window and class long indexes ------------------------------------------
constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWLP_USERDATA = -21;
constexpr int GCLP_MENUNAME = -8;
constexpr int GCLP_HBRBACKGROUND = -10;
constexpr int GCLP_HCURSOR = -12;
constexpr int GCLP_HICON = -14;
constexpr int GCLP_HMODULE = -16;
constexpr int GCL_CBWNDEXTRA = -18;
constexpr int GCL_CBCLSEXTRA = -20;
constexpr int GCLP_WNDPROC = -24;
constexpr int GCL_STYLE = -26;
constexpr int GCW_ATOM = -32;
constexpr int GCLP_HICONSM = -34;

// ---- GetWindow / GetAncestor relations --------------------------------------
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
constexpr UINT GW_ENABLEDPOPUP = 6;
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;

// ---- ChildWindowFromPointEx flags -------------------------------------------
constexpr UINT CWP_ALL = 0x0000;
constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
constexpr UINT CWP_SKIPDISABLED = 0x0002;
constexpr UINT CWP_SKIPTRANSPARENT = 0x0004;

// ---- Scroll bars ------------------------------------------------------------
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;
constexpr UINT ESB_DISABLE_LEFT = 0x0001;
constexpr UINT ESB_DISABLE_RIGHT = 0x0002;
constexpr UINT ESB_DISABLE_UP = 0x0001;
constexpr UINT ESB_DISABLE_DOWN = 0x0002;
constexpr UINT ESB_DISABLE_LTUP = ESB_DISABLE_LEFT;
constexpr UINT ESB_DISABLE_RTDN = ESB_DISABLE_RIGHT;
// Scroll-bar control messages; SetScrollInfo and its kin forward SB_CTL to them.
constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETRANGE = 0x00E2;
constexpr UINT SBM_GETRANGE = 0x00E3;
constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;
constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
constexpr UINT SBM_GETSCROLLINFO = 0x00EA;
constexpr UINT SBM_GETSCROLLBARINFO = 0x00EB;
// GetScrollBarInfo object ids and part states.
constexpr LONG OBJID_HSCROLL = -6;
constexpr LONG OBJID_VSCROLL = -5;
constexpr LONG OBJID_CLIENT = -4;
constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x00000001;
constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
constexpr DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;
constexpr DWORD STATE_SYSTEM_OFFSCREEN = 0x00010000;

// ---- Standard cursors (LoadCursorW with a null instance) --------------------
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_CROSS MAKEINTRESOURCEW(32515)
#define IDC_UPARROW MAKEINTRESOURCEW(32516)
#define IDC_SIZE MAKEINTRESOURCEW(32640)
#define IDC_ICON MAKEINTRESOURCEW(32641)
#define IDC_SIZENWSE MAKEINTRESOURCEW(32642)
#define IDC_SIZENESW MAKEINTRESOURCEW(32643)
#define IDC_SIZEWE MAKEINTRESOURCEW(32644)
#define IDC_SIZENS MAKEINTRESOURCEW(32645)
#define IDC_SIZEALL MAKEINTRESOURCEW(32646)
#define IDC_NO MAKEINTRESOURCEW(32648)
#define IDC_HAND MAKEINTRESOURCEW(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEW(32650)
#define IDC_HELP MAKEINTRESOURCEW(32651)
#define MAKEINTATOM(a) (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(a))))

// ---- TrackMouseEvent --------------------------------------------------------
constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_NONCLIENT = 0x00000010;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

// ---- Timers -----------------------------------------------------------------
constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;
constexpr DWORD INFINITE = 0xFFFFFFFF;

// ============================================================================
// Structures
// ============================================================================

struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};
using WNDCLASS = WNDCLASSW;
using LPWNDCLASSW = WNDCLASSW*;

struct WNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
    HICON hIconSm;
};
using WNDCLASSEX = WNDCLASSEXW;
using LPWNDCLASSEXW = WNDCLASSEXW*;

struct CREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};
using CREATESTRUCT = CREATESTRUCTW;
using LPCREATESTRUCTW = CREATESTRUCTW*;
using LPCREATESTRUCT = CREATESTRUCTW*;

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};
using LPWINDOWPOS = WINDOWPOS*;
using PWINDOWPOS = WINDOWPOS*;

struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    PWINDOWPOS lppos;
};
using LPNCCALCSIZE_PARAMS = NCCALCSIZE_PARAMS*;

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};
using LPMINMAXINFO = MINMAXINFO*;

struct STYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};
using LPSTYLESTRUCT = STYLESTRUCT*;

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

struct SCROLLBARINFO {
    DWORD cbSize;
    RECT rcScrollBar;   // screen coordinates
    int dxyLineButton;  // arrow button length
    int xyThumbTop;     // thumb start, relative to rcScrollBar
    int xyThumbBottom;  // thumb end, relative to rcScrollBar
    int reserved;
    DWORD rgstate[6];   // bar, top arrow, page up, thumb, page down, bottom arrow
};
using PSCROLLBARINFO = SCROLLBARINFO*;

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
using LPTRACKMOUSEEVENT = TRACKMOUSEEVENT*;

using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

// ============================================================================
// Classes and windows
// ============================================================================

TQ3FW_EXPORT_C ATOM RegisterClassW(const WNDCLASSW* wc);
TQ3FW_EXPORT_C ATOM RegisterClassExW(const WNDCLASSEXW* wc);
TQ3FW_EXPORT_C BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
TQ3FW_EXPORT_C BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc);
TQ3FW_EXPORT_C BOOL GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* wc);
TQ3FW_EXPORT_C int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount);
TQ3FW_EXPORT_C ULONG_PTR GetClassLongPtrW(HWND hwnd, int index);
TQ3FW_EXPORT_C ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value);
TQ3FW_EXPORT_C DWORD GetClassLongW(HWND hwnd, int index);

TQ3FW_EXPORT_C HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                                    LPVOID param);
TQ3FW_EXPORT_C BOOL DestroyWindow(HWND hwnd);
TQ3FW_EXPORT_C BOOL IsWindow(HWND hwnd);
TQ3FW_EXPORT_C BOOL IsChild(HWND parent, HWND hwnd);
TQ3FW_EXPORT_C HWND GetDesktopWindow();
TQ3FW_EXPORT_C HWND GetParent(HWND hwnd);
TQ3FW_EXPORT_C HWND SetParent(HWND hwnd, HWND newParent);
TQ3FW_EXPORT_C HWND GetAncestor(HWND hwnd, UINT flags);
TQ3FW_EXPORT_C HWND GetWindow(HWND hwnd, UINT relation);
TQ3FW_EXPORT_C HWND GetTopWindow(HWND hwnd);
TQ3FW_EXPORT_C HWND GetDlgItem(HWND dialog, int id);
TQ3FW_EXPORT_C int GetDlgCtrlID(HWND hwnd);
TQ3FW_EXPORT_C BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param);
TQ3FW_EXPORT_C HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);

TQ3FW_EXPORT_C BOOL ShowWindow(HWND hwnd, int command);
TQ3FW_EXPORT_C BOOL IsWindowVisible(HWND hwnd);
TQ3FW_EXPORT_C BOOL EnableWindow(HWND hwnd, BOOL enable);
TQ3FW_EXPORT_C BOOL IsWindowEnabled(HWND hwnd);
TQ3FW_EXPORT_C BOOL IsIconic(HWND hwnd);
TQ3FW_EXPORT_C BOOL IsZoomed(HWND hwnd);
TQ3FW_EXPORT_C BOOL BringWindowToTop(HWND hwnd);
TQ3FW_EXPORT_C HWND GetActiveWindow();
TQ3FW_EXPORT_C HWND SetActiveWindow(HWND hwnd);
TQ3FW_EXPORT_C HWND GetForegroundWindow();
TQ3FW_EXPORT_C BOOL SetForegroundWindow(HWND hwnd);

TQ3FW_EXPORT_C BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
TQ3FW_EXPORT_C int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount);
TQ3FW_EXPORT_C int GetWindowTextLengthW(HWND hwnd);
// The text the window keeps, copied without sending it WM_GETTEXT.
TQ3FW_EXPORT_C int InternalGetWindowText(HWND hwnd, LPWSTR buffer, int maxCount);

TQ3FW_EXPORT_C LONG GetWindowLongW(HWND hwnd, int index);
TQ3FW_EXPORT_C LONG SetWindowLongW(HWND hwnd, int index, LONG value);
TQ3FW_EXPORT_C LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
TQ3FW_EXPORT_C LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
TQ3FW_EXPORT_C BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data);
TQ3FW_EXPORT_C HANDLE GetPropW(HWND hwnd, LPCWSTR name);
TQ3FW_EXPORT_C HANDLE RemovePropW(HWND hwnd, LPCWSTR name);

TQ3FW_EXPORT_C LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
TQ3FW_EXPORT_C LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ============================================================================
// Geometry
// ============================================================================

TQ3FW_EXPORT_C BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
TQ3FW_EXPORT_C BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
TQ3FW_EXPORT_C BOOL GetWindowRect(HWND hwnd, LPRECT rect);   // screen coordinates
TQ3FW_EXPORT_C BOOL GetClientRect(HWND hwnd, LPRECT rect);   // (0, 0, width, height)
TQ3FW_EXPORT_C BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
TQ3FW_EXPORT_C BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
TQ3FW_EXPORT_C BOOL ClientToScreen(HWND hwnd, LPPOINT point);
TQ3FW_EXPORT_C BOOL ScreenToClient(HWND hwnd, LPPOINT point);
TQ3FW_EXPORT_C int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
TQ3FW_EXPORT_C HWND WindowFromPoint(POINT point);
TQ3FW_EXPORT_C HWND ChildWindowFromPoint(HWND parent, POINT point);
TQ3FW_EXPORT_C HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);

// ============================================================================
// Messages and the queue
// ============================================================================

TQ3FW_EXPORT_C LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
TQ3FW_EXPORT_C BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
TQ3FW_EXPORT_C BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
TQ3FW_EXPORT_C BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
TQ3FW_EXPORT_C BOOL TranslateMessage(const MSG* msg);
TQ3FW_EXPORT_C LRESULT DispatchMessageW(const MSG* msg);
TQ3FW_EXPORT_C void PostQuitMessage(int exitCode);
TQ3FW_EXPORT_C BOOL WaitMessage();
TQ3FW_EXPORT_C BOOL InSendMessage();
TQ3FW_EXPORT_C LONG GetMessageTime();
TQ3FW_EXPORT_C DWORD GetMessagePos();  // screen point of the last retrieved message, packed as x | y << 16
TQ3FW_EXPORT_C DWORD GetTickCount();
TQ3FW_EXPORT_C ULONGLONG GetTickCount64();

// ============================================================================
// Painting
// ============================================================================

TQ3FW_EXPORT_C BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
TQ3FW_EXPORT_C BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
TQ3FW_EXPORT_C BOOL ValidateRect(HWND hwnd, const RECT* rect);
TQ3FW_EXPORT_C BOOL ValidateRgn(HWND hwnd, HRGN region);
TQ3FW_EXPORT_C BOOL UpdateWindow(HWND hwnd);
TQ3FW_EXPORT_C BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
TQ3FW_EXPORT_C BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
TQ3FW_EXPORT_C int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);
TQ3FW_EXPORT_C HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
TQ3FW_EXPORT_C BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
TQ3FW_EXPORT_C HDC GetDC(HWND hwnd);
TQ3FW_EXPORT_C HDC GetWindowDC(HWND hwnd);
TQ3FW_EXPORT_C int ReleaseDC(HWND hwnd, HDC dc);
// GetDCEx: DCX_WINDOW for the whole window; the clip flags (or DCX_USESTYLE, which
// takes them from the window's styles) say whether children and siblings are cut
// out; DCX_INTERSECTRGN/DCX_EXCLUDERGN narrow the DC by `clip` (window or client
// coordinates as DCX_WINDOW says; the DC takes the region over and deletes it).
// DCX_LOCKWINDOWUPDATE draws even inside a window locked by LockWindowUpdate.
// DCX_CACHE is accepted: every window DC here is a cache DC.
constexpr DWORD DCX_WINDOW = 0x00000001;
constexpr DWORD DCX_CACHE = 0x00000002;
constexpr DWORD DCX_NORESETATTRS = 0x00000004;
constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
constexpr DWORD DCX_PARENTCLIP = 0x00000020;
constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;
constexpr DWORD DCX_USESTYLE = 0x00010000;
TQ3FW_EXPORT_C HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
// Locks drawing in `hwnd` and its descendants (one window at a time): their DCs
// draw nothing, except those asked for with DCX_LOCKWINDOWUPDATE, and what they
// would have drawn is repainted when LockWindowUpdate(nullptr) unlocks. FALSE
// when another window is locked or the handle is bad.
TQ3FW_EXPORT_C BOOL LockWindowUpdate(HWND hwnd);
TQ3FW_EXPORT_C HWND WindowFromDC(HDC dc);
TQ3FW_EXPORT_C BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect);
TQ3FW_EXPORT_C int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect,
                                  HRGN updateRegion, LPRECT updateRect, UINT flags);

// ============================================================================
// Input state: focus, capture, keyboard and mouse
// ============================================================================

TQ3FW_EXPORT_C HWND SetFocus(HWND hwnd);
TQ3FW_EXPORT_C HWND GetFocus();
TQ3FW_EXPORT_C HWND SetCapture(HWND hwnd);
TQ3FW_EXPORT_C BOOL ReleaseCapture();
TQ3FW_EXPORT_C HWND GetCapture();
TQ3FW_EXPORT_C SHORT GetKeyState(int virtualKey);
TQ3FW_EXPORT_C SHORT GetAsyncKeyState(int virtualKey);
// The sound that goes with a refused input (0xFFFFFFFF: the simple beep, or an
// MB_ICON* type); the backend plays it, or counts it.
TQ3FW_EXPORT_C BOOL MessageBeep(UINT type);
TQ3FW_EXPORT_C BOOL GetKeyboardState(BYTE* keyState256);
TQ3FW_EXPORT_C UINT MapVirtualKeyW(UINT code, UINT mapType);
TQ3FW_EXPORT_C BOOL GetCursorPos(LPPOINT point);
TQ3FW_EXPORT_C BOOL SetCursorPos(int x, int y);
TQ3FW_EXPORT_C UINT GetDoubleClickTime();
TQ3FW_EXPORT_C BOOL SetDoubleClickTime(UINT milliseconds);
TQ3FW_EXPORT_C BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track);

// ============================================================================
// Timers, carets and cursors
// ============================================================================

TQ3FW_EXPORT_C UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
TQ3FW_EXPORT_C BOOL KillTimer(HWND hwnd, UINT_PTR id);

TQ3FW_EXPORT_C BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
TQ3FW_EXPORT_C BOOL DestroyCaret();
TQ3FW_EXPORT_C BOOL ShowCaret(HWND hwnd);
TQ3FW_EXPORT_C BOOL HideCaret(HWND hwnd);
TQ3FW_EXPORT_C BOOL SetCaretPos(int x, int y);
TQ3FW_EXPORT_C BOOL GetCaretPos(LPPOINT point);
TQ3FW_EXPORT_C UINT GetCaretBlinkTime();
TQ3FW_EXPORT_C BOOL SetCaretBlinkTime(UINT milliseconds);

TQ3FW_EXPORT_C HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
TQ3FW_EXPORT_C HCURSOR SetCursor(HCURSOR cursor);
TQ3FW_EXPORT_C HCURSOR GetCursor();
TQ3FW_EXPORT_C int ShowCursor(BOOL show);
TQ3FW_EXPORT_C BOOL DestroyCursor(HCURSOR cursor);

// ============================================================================
// Scroll bars of a window (SB_HORZ, SB_VERT)
// ============================================================================

TQ3FW_EXPORT_C int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
TQ3FW_EXPORT_C BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
TQ3FW_EXPORT_C int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
TQ3FW_EXPORT_C int GetScrollPos(HWND hwnd, int bar);
TQ3FW_EXPORT_C BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
TQ3FW_EXPORT_C BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
TQ3FW_EXPORT_C BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
TQ3FW_EXPORT_C BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);
TQ3FW_EXPORT_C BOOL GetScrollBarInfo(HWND hwnd, LONG objectId, PSCROLLBARINFO info);

// ============================================================================
// Undecorated forwarders
// ============================================================================

#ifdef __cplusplus
inline ATOM RegisterClass(const WNDCLASSW* wc) { return RegisterClassW(wc); }
inline ATOM RegisterClassEx(const WNDCLASSEXW* wc) { return RegisterClassExW(wc); }
inline BOOL UnregisterClass(LPCWSTR c, HINSTANCE i) { return UnregisterClassW(c, i); }
inline BOOL GetClassInfo(HINSTANCE i, LPCWSTR c, WNDCLASSW* wc) { return GetClassInfoW(i, c, wc); }
inline BOOL GetClassInfoEx(HINSTANCE i, LPCWSTR c, WNDCLASSEXW* wc) { return GetClassInfoExW(i, c, wc); }
inline int GetClassName(HWND h, LPWSTR b, int n) { return GetClassNameW(h, b, n); }
inline ULONG_PTR GetClassLongPtr(HWND h, int i) { return GetClassLongPtrW(h, i); }
inline ULONG_PTR SetClassLongPtr(HWND h, int i, LONG_PTR v) { return SetClassLongPtrW(h, i, v); }
inline DWORD GetClassLong(HWND h, int i) { return GetClassLongW(h, i); }
inline HWND CreateWindowEx(DWORD ex, LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int w, int h, HWND parent,
                           HMENU menu, HINSTANCE inst, LPVOID param) {
    return CreateWindowExW(ex, cls, name, style, x, y, w, h, parent, menu, inst, param);
}
inline HWND CreateWindowW(LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int w, int h, HWND parent, HMENU menu,
                          HINSTANCE inst, LPVOID param) {
    return CreateWindowExW(0, cls, name, style, x, y, w, h, parent, menu, inst, param);
}
inline HWND CreateWindow(LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int w, int h, HWND parent, HMENU menu,
                         HINSTANCE inst, LPVOID param) {
    return CreateWindowExW(0, cls, name, style, x, y, w, h, parent, menu, inst, param);
}
inline HWND FindWindow(LPCWSTR c, LPCWSTR n) { return FindWindowW(c, n); }
inline BOOL SetWindowText(HWND h, LPCWSTR t) { return SetWindowTextW(h, t); }
inline int GetWindowText(HWND h, LPWSTR b, int n) { return GetWindowTextW(h, b, n); }
inline int GetWindowTextLength(HWND h) { return GetWindowTextLengthW(h); }
inline LONG GetWindowLong(HWND h, int i) { return GetWindowLongW(h, i); }
inline LONG SetWindowLong(HWND h, int i, LONG v) { return SetWindowLongW(h, i, v); }
inline LONG_PTR GetWindowLongPtr(HWND h, int i) { return GetWindowLongPtrW(h, i); }
inline LONG_PTR SetWindowLongPtr(HWND h, int i, LONG_PTR v) { return SetWindowLongPtrW(h, i, v); }
inline BOOL SetProp(HWND h, LPCWSTR n, HANDLE d) { return SetPropW(h, n, d); }
inline HANDLE GetProp(HWND h, LPCWSTR n) { return GetPropW(h, n); }
inline HANDLE RemoveProp(HWND h, LPCWSTR n) { return RemovePropW(h, n); }
inline LRESULT DefWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
inline LRESULT CallWindowProc(WNDPROC p, HWND h, UINT m, WPARAM w, LPARAM l) { return CallWindowProcW(p, h, m, w, l); }
inline LRESULT SendMessage(HWND h, UINT m, WPARAM w, LPARAM l) { return SendMessageW(h, m, w, l); }
inline BOOL PostMessage(HWND h, UINT m, WPARAM w, LPARAM l) { return PostMessageW(h, m, w, l); }
inline BOOL GetMessage(LPMSG msg, HWND h, UINT lo, UINT hi) { return GetMessageW(msg, h, lo, hi); }
inline BOOL PeekMessage(LPMSG msg, HWND h, UINT lo, UINT hi, UINT f) { return PeekMessageW(msg, h, lo, hi, f); }
inline LRESULT DispatchMessage(const MSG* msg) { return DispatchMessageW(msg); }
inline UINT MapVirtualKey(UINT c, UINT t) { return MapVirtualKeyW(c, t); }
inline HCURSOR LoadCursor(HINSTANCE i, LPCWSTR n) { return LoadCursorW(i, n); }
#endif
