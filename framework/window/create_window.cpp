// Window creation: CreateWindowExW and the steps it takes.
//
// Sections: where a window goes (parent, owner, implied styles, default
// placement); the new window; the creation messages; CreateWindowExW.
//
// Call flow of CreateWindowExW: FindClass -> FindParentAndOwner -> AddImpliedStyles
// -> DefaultPlacement -> NewWindow (NewHandle) -> LimitToTrackSize (WM_GETMINMAXINFO)
// -> Link -> RunCreationHooks -> SendCreateMessages (WM_NCCREATE -> RecalcClient (WM_NCCALCSIZE) ->
// WM_CREATE -> WM_SIZE, WM_MOVE -> WM_PARENTNOTIFY) -> ShowWindow when WS_VISIBLE
// was asked for. Any message may destroy the window: each step after one checks.
#include <algorithm>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

// WM_PARENTNOTIFY climbs the chain of parents until one is not a child window.
void NotifyParents(Window* w, UINT event) {
    if (!IsChildStyle(w) || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
    Window* p = w->parent;
    while (p != nullptr && p != S().desktopWindow) {
        Send(p, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(w->id)),
             reinterpret_cast<LPARAM>(w->handle));
        if (!IsChildStyle(p) || (p->exStyle & WS_EX_NOPARENTNOTIFY)) break;
        p = p->parent;
    }
}

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

namespace {

// ============================================================================
// Where a window goes
// ============================================================================

// A child's parent is `parentHandle`; a top-level window's parent is the desktop
// and its owner the top-level window of `parentHandle` (none for a message-only
// window). False for a bad handle.
bool FindParentAndOwner(HWND parentHandle, DWORD style, Window** parent, Window** owner) {
    *owner = nullptr;
    if (style & WS_CHILD) {
        *parent = FromHandle(parentHandle);
        return *parent != nullptr;
    }
    *parent = S().desktopWindow;
    if (parentHandle == nullptr || parentHandle == HWND_MESSAGE) return true;
    *owner = FromHandle(parentHandle);
    if (*owner == nullptr) return false;
    *owner = TopLevelOf(*owner);
    return true;
}

// Overlapped windows always have a caption, every top-level window clips its
// siblings, and a dialog or sizing frame brings the raised window edge.
void AddImpliedStyles(DWORD* style, DWORD* exStyle) {
    if (!(*style & WS_CHILD)) {
        if (!(*style & WS_POPUP)) *style |= WS_CAPTION;
        *style |= WS_CLIPSIBLINGS;
    }
    if ((*style & (WS_DLGFRAME | WS_THICKFRAME)) || (*exStyle & WS_EX_DLGMODALFRAME)) *exStyle |= WS_EX_WINDOWEDGE;
}

// CW_USEDEFAULT: children at (0, 0) with no size; top-level windows cascade down
// the desktop at three quarters of its size.
void DefaultPlacement(bool child, int* x, int* y, int* cx, int* cy) {
    State& s = S();
    if (*x == CW_USEDEFAULT) {
        if (child) {
            *x = 0;
            *y = 0;
        } else {
            *x = 26 * (s.cascade % 8);
            *y = 26 * (s.cascade % 8);
            ++s.cascade;
        }
    }
    if (*cx == CW_USEDEFAULT) {
        if (child) {
            *cx = 0;
            *cy = 0;
        } else {
            *cx = s.screen.cx * 3 / 4;
            *cy = s.screen.cy * 3 / 4;
        }
    }
}

// ============================================================================
// The new window
// ============================================================================

// The window's record, registered under a new handle and counted in its class;
// null when memory or handles run out.
Window* NewWindow(WindowClass* cls, LPCWSTR windowName, DWORD style, DWORD exStyle, Window* owner,
                  HINSTANCE instance, HMENU menuOrId) {
    std::unique_ptr<Window> owned;
    try {
        owned = std::make_unique<Window>();
        owned->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
        owned->text = CopyString(windowName != nullptr && !IS_INTRESOURCE(windowName) ? windowName : nullptr);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Window* w = owned.get();
    w->cls = cls;
    w->owner = owner;
    w->style = style;
    w->exStyle = exStyle;
    w->instance = instance;
    w->proc = cls->proc;
    w->id = reinterpret_cast<UINT_PTR>(menuOrId);
    w->hbar.max = (style & WS_HSCROLL) ? 100 : 0;
    w->vbar.max = (style & WS_VSCROLL) ? 100 : 0;
    if (NewHandle(std::move(owned)) == nullptr) return nullptr;
    ++cls->windows;
    return w;
}

// WM_GETMINMAXINFO for a top-level window: the size asked for is cut to the
// largest tracking size it answers. The window is not linked yet; the message
// still reaches its procedure.
void LimitToTrackSize(Window* w, Window* parent, int x, int y, int* width, int* height) {
    State& s = S();
    MINMAXINFO mmi{};
    mmi.ptMaxSize = POINT{s.screen.cx, s.screen.cy};
    mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    w->window = RECT{x, y, x + *width, y + *height};
    w->client = w->window;
    w->parent = parent;
    Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (*width > mmi.ptMaxTrackSize.x) *width = mmi.ptMaxTrackSize.x;
    if (*height > mmi.ptMaxTrackSize.y) *height = mmi.ptMaxTrackSize.y;
}

// ============================================================================
// The creation messages
// ============================================================================

// A window whose WM_NCCREATE refused: it gets its WM_NCDESTROY and goes, unless
// its procedure destroyed it already.
void Abandon(Window* w) {
    if (w->dead) return;
    Send(w, WM_NCDESTROY, 0, 0);
    if (w->dead) return;
    Unlink(w);
    --w->cls->windows;
    Bury(w);
}

// WM_NCCREATE to WM_PARENTNOTIFY. False when creation failed or a procedure
// destroyed the window meanwhile.
bool SendCreateMessages(Window* w, CREATESTRUCTW& cs) {
    if (!Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        Abandon(w);
        return false;
    }
    if (w->dead) return false;
    w->created = true;
    RecalcClient(w);
    if (w->dead) return false;
    if (Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(w->handle);
        return false;
    }
    if (w->dead) return false;
    Send(w, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(static_cast<WORD>(w->client.right - w->client.left),
                    static_cast<WORD>(w->client.bottom - w->client.top)));
    if (w->dead) return false;
    Send(w, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w->client.left), static_cast<WORD>(w->client.top)));
    if (w->dead) return false;
    NotifyParents(w, WM_CREATE);
    return !w->dead;
}

}  // namespace

// ============================================================================
// CreateWindowExW
// ============================================================================

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parentHandle, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
    CurrentBackend();
    EnsureDesktop();
    WindowClass* cls = FindClass(className);
    if (cls == nullptr) return nullptr;
    Window* parent = nullptr;
    Window* owner = nullptr;
    if (!FindParentAndOwner(parentHandle, style, &parent, &owner)) return nullptr;
    AddImpliedStyles(&style, &exStyle);
    bool wantVisible = (style & WS_VISIBLE) && parentHandle != HWND_MESSAGE;
    style &= ~WS_VISIBLE;
    DefaultPlacement(IsChildStyle(parent) || (style & WS_CHILD), &x, &y, &width, &height);

    Window* w = NewWindow(cls, windowName, style, exStyle, owner, instance, menuOrId);
    if (w == nullptr) return nullptr;
    HWND hwnd = w->handle;
    CallScope scope;
    if (!(style & WS_CHILD)) LimitToTrackSize(w, parent, x, y, &width, &height);
    width = std::max(width, 0);
    height = std::max(height, 0);
    w->window = RECT{x, y, x + width, y + height};
    w->client = w->window;
    // New top-level windows go on top of their kind; new children go below their
    // siblings, so the first child created is the first in z-order (and in a
    // dialog's tab order).
    Link(parent, w, !(style & WS_CHILD));

    CREATESTRUCTW cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menuOrId;
    cs.hwndParent = (style & WS_CHILD) ? parent->handle : (owner ? owner->handle : nullptr);
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    // A refused window goes as one whose WM_NCCREATE refused: with its
    // WM_NCDESTROY alone, so that whoever bound itself to it in a hook lets go.
    if (!RunCreationHooks(w, &cs)) {
        Abandon(w);
        return nullptr;
    }
    if (w->dead || !SendCreateMessages(w, cs)) return nullptr;
    if (wantVisible) {
        int show = (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW;
        ShowWindow(hwnd, show);
    }
    return w->dead ? nullptr : hwnd;
}
