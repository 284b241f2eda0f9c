// The "#32768" class: the window a pop-up menu shows in. It only paints its
// menu and answers MN_GETHMENU; the tracking loop (menu_track.cpp) reads the
// input and changes the menu. The window is a top-level pop-up in screen
// coordinates, owned by the owner's top-level window and never activated, so
// the owner keeps the focus and its caption stays active while the menu shows.
#include "framework/gdi/dc.h"
#include "framework/menus/menus_internal.h"
#include "framework/window/messages.h"

namespace tq3::fw::menus {
namespace {

constexpr int kMenuSlot = 0;  // the window's extra bytes hold its HMENU

LRESULT PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, kMenuSlot, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
            break;
        }
        case MN_GETHMENU:
            return GetWindowLongPtrW(hwnd, kMenuSlot);
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_CANCELMODE:
            // The system takes the input away (a click on another program's
            // window, a window manager's grab): the menu closes unpicked.
            EndMenu();
            return 0;
        case WM_CAPTURECHANGED:
            // Passing the capture between the menu's own windows is no leaving.
            if (!IsTrackingWindow(reinterpret_cast<HWND>(lParam))) EndMenu();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            Menu* m = MenuOf(reinterpret_cast<HMENU>(GetWindowLongPtrW(hwnd, kMenuSlot)));
            RECT client{};
            GetClientRect(hwnd, &client);
            if (dc != nullptr && m != nullptr) PaintPopup(dc, m, client);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Registered when the framework loads, like the dialog class and the controls.
const bool kRegistered = RegisterPopupClass();

}  // namespace

bool RegisterPopupClass() {
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS | CS_GLOBALCLASS;
    wc.lpfnWndProc = PopupProc;
    wc.cbWndExtra = static_cast<int>(sizeof(LONG_PTR));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPopupMenuClass;
    return RegisterClassW(&wc) != 0 || GetClassInfoW(nullptr, kPopupMenuClass, &wc);
}

HWND CreatePopupWindow(HMENU menu, HWND owner) {
    if (!kRegistered) return nullptr;
    return CreateWindowExW(WS_EX_TOOLWINDOW, kPopupMenuClass, nullptr, WS_POPUP | WS_CLIPSIBLINGS, 0, 0, 1, 1, owner,
                           nullptr, nullptr, menu);
}

}  // namespace tq3::fw::menus
