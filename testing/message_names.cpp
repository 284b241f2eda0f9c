// Names of messages for the spy's reports.
#include <cstdio>

#include "tq3view/testing.h"

namespace tq3::testing {

std::string MessageName(UINT message) {
    switch (message) {
        case WM_NULL: return "WM_NULL";
        case WM_CREATE: return "WM_CREATE";
        case WM_DESTROY: return "WM_DESTROY";
        case WM_MOVE: return "WM_MOVE";
        case WM_SIZE: return "WM_SIZE";
        case WM_ACTIVATE: return "WM_ACTIVATE";
        case WM_SETFOCUS: return "WM_SETFOCUS";
        case WM_KILLFOCUS: return "WM_KILLFOCUS";
        case WM_ENABLE: return "WM_ENABLE";
        case WM_SETREDRAW: return "WM_SETREDRAW";
        case WM_SETTEXT: return "WM_SETTEXT";
        case WM_GETTEXT: return "WM_GETTEXT";
        case WM_GETTEXTLENGTH: return "WM_GETTEXTLENGTH";
        case WM_PAINT: return "WM_PAINT";
        case WM_CLOSE: return "WM_CLOSE";
        case WM_QUIT: return "WM_QUIT";
        case WM_ERASEBKGND: return "WM_ERASEBKGND";
        case WM_SHOWWINDOW: return "WM_SHOWWINDOW";
        case WM_ACTIVATEAPP: return "WM_ACTIVATEAPP";
        case WM_CANCELMODE: return "WM_CANCELMODE";
        case WM_SETCURSOR: return "WM_SETCURSOR";
        case WM_MOUSEACTIVATE: return "WM_MOUSEACTIVATE";
        case WM_CHILDACTIVATE: return "WM_CHILDACTIVATE";
        case WM_GETMINMAXINFO: return "WM_GETMINMAXINFO";
        case WM_SETFONT: return "WM_SETFONT";
        case WM_GETFONT: return "WM_GETFONT";
        case WM_WINDOWPOSCHANGING: return "WM_WINDOWPOSCHANGING";
        case WM_WINDOWPOSCHANGED: return "WM_WINDOWPOSCHANGED";
        case WM_NOTIFY: return "WM_NOTIFY";
        case WM_CONTEXTMENU: return "WM_CONTEXTMENU";
        case WM_STYLECHANGING: return "WM_STYLECHANGING";
        case WM_STYLECHANGED: return "WM_STYLECHANGED";
        case WM_GETICON: return "WM_GETICON";
        case WM_NCCREATE: return "WM_NCCREATE";
        case WM_NCDESTROY: return "WM_NCDESTROY";
        case WM_NCCALCSIZE: return "WM_NCCALCSIZE";
        case WM_NCHITTEST: return "WM_NCHITTEST";
        case WM_NCPAINT: return "WM_NCPAINT";
        case WM_NCACTIVATE: return "WM_NCACTIVATE";
        case WM_GETDLGCODE: return "WM_GETDLGCODE";
        case WM_NCMOUSEMOVE: return "WM_NCMOUSEMOVE";
        case WM_NCLBUTTONDOWN: return "WM_NCLBUTTONDOWN";
        case WM_NCLBUTTONUP: return "WM_NCLBUTTONUP";
        case WM_NCLBUTTONDBLCLK: return "WM_NCLBUTTONDBLCLK";
        case WM_KEYDOWN: return "WM_KEYDOWN";
        case WM_KEYUP: return "WM_KEYUP";
        case WM_CHAR: return "WM_CHAR";
        case WM_DEADCHAR: return "WM_DEADCHAR";
        case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
        case WM_SYSKEYUP: return "WM_SYSKEYUP";
        case WM_SYSCHAR: return "WM_SYSCHAR";
        case WM_INITDIALOG: return "WM_INITDIALOG";
        case WM_COMMAND: return "WM_COMMAND";
        case WM_SYSCOMMAND: return "WM_SYSCOMMAND";
        case WM_TIMER: return "WM_TIMER";
        case WM_HSCROLL: return "WM_HSCROLL";
        case WM_VSCROLL: return "WM_VSCROLL";
        case WM_INITMENU: return "WM_INITMENU";
        case WM_INITMENUPOPUP: return "WM_INITMENUPOPUP";
        case WM_MENUSELECT: return "WM_MENUSELECT";
        case WM_ENTERIDLE: return "WM_ENTERIDLE";
        case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
        case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
        case WM_LBUTTONUP: return "WM_LBUTTONUP";
        case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
        case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
        case WM_RBUTTONUP: return "WM_RBUTTONUP";
        case WM_RBUTTONDBLCLK: return "WM_RBUTTONDBLCLK";
        case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
        case WM_MBUTTONUP: return "WM_MBUTTONUP";
        case WM_MBUTTONDBLCLK: return "WM_MBUTTONDBLCLK";
        case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
        case WM_MOUSEHWHEEL: return "WM_MOUSEHWHEEL";
        case WM_PARENTNOTIFY: return "WM_PARENTNOTIFY";
        case WM_ENTERMENULOOP: return "WM_ENTERMENULOOP";
        case WM_EXITMENULOOP: return "WM_EXITMENULOOP";
        case WM_CAPTURECHANGED: return "WM_CAPTURECHANGED";
        case WM_IME_SETCONTEXT: return "WM_IME_SETCONTEXT";
        case WM_IME_NOTIFY: return "WM_IME_NOTIFY";
        case WM_MOUSELEAVE: return "WM_MOUSELEAVE";
        case WM_CUT: return "WM_CUT";
        case WM_COPY: return "WM_COPY";
        case WM_PASTE: return "WM_PASTE";
        case WM_CLEAR: return "WM_CLEAR";
        case WM_UNDO: return "WM_UNDO";
        case WM_DESTROYCLIPBOARD: return "WM_DESTROYCLIPBOARD";
        case WM_IDLEUPDATECMDUI: return "WM_IDLEUPDATECMDUI";
        case WM_INITIALUPDATE: return "WM_INITIALUPDATE";
        default: break;
    }
    if (message >= WM_USER && message < WM_APP) return "WM_USER+" + std::to_string(message - WM_USER);
    if (message == WM_APP) return "WM_APP";
    if (message > WM_APP && message < 0xC000) return "WM_APP+" + std::to_string(message - WM_APP);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", message);
    return buffer;
}

}  // namespace tq3::testing
