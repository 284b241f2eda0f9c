// Relations between windows: parents, owners, ancestors, siblings in z-order,
// dialog items by id, and the walks over them (EnumChildWindows, FindWindowW).
//
// A child's parent is the window it lies in; a top-level window's parent is the
// desktop and its owner (if any) the top-level window it belongs to. GetParent
// answers the owner for a popup, as on the platform.
#include <algorithm>

#include <new>

#include "framework/window/wm_internal.h"

using namespace tq3::fw;
using namespace tq3::fw::wm;

HWND GetDesktopWindow() {
    CurrentBackend();
    EnsureDesktop();
    return S().desktopWindow->handle;
}

HWND GetParent(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return nullptr;
    if (IsChildStyle(w)) return w->parent ? w->parent->handle : nullptr;
    if (w->style & WS_POPUP) return w->owner ? w->owner->handle : nullptr;
    return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || w == S().desktopWindow) return nullptr;
    switch (flags) {
        case GA_PARENT: return w->parent ? w->parent->handle : nullptr;
        case GA_ROOT: return TopLevelOf(w)->handle;
        case GA_ROOTOWNER: {
            Window* r = TopLevelOf(w);
            while (r->owner != nullptr && !r->owner->dead) r = r->owner;
            return r->handle;
        }
        default: return nullptr;
    }
}

HWND SetParent(HWND hwnd, HWND newParent) {
    State& s = S();
    Window* w = FromHandle(hwnd);
    if (w == nullptr || w == s.desktopWindow) return nullptr;
    EnsureDesktop();
    Window* p = newParent ? FromHandle(newParent) : s.desktopWindow;
    if (p == nullptr) return nullptr;
    for (Window* a = p; a != nullptr; a = a->parent) {
        if (a == w) return nullptr;  // would make a cycle
    }
    HWND old = w->parent ? w->parent->handle : nullptr;
    // Room in the new parent's list first: once unlinked, the window must be linked again.
    try {
        p->children.reserve(p->children.size() + 1);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    bool visible = (w->style & WS_VISIBLE) != 0;
    RECT before = WindowRectOnScreen(w);
    bool wasTop = w->parent == s.desktopWindow;
    Unlink(w);
    Link(p, w, true);
    // A top-level window that becomes a child draws on its new top-level from
    // now on; a child that becomes top-level gets a surface when next drawn.
    if (wasTop && p != s.desktopWindow) {
        DropSurface(w);
        ScreenChanged(before);
    } else if (!wasTop && p == s.desktopWindow) {
        ScreenChanged(WindowRectOnScreen(w));
    }
    if (visible) {
        ExposeArea(w, before);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return old;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Window* p = FromHandle(parent);
    Window* w = FromHandle(hwnd);
    if (p == nullptr || w == nullptr) return FALSE;
    while (w != nullptr && IsChildStyle(w)) {
        w = w->parent;
        if (w == p) return TRUE;
    }
    return FALSE;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return nullptr;
    if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (relation == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
    if (relation == GW_ENABLEDPOPUP) {
        for (auto& slot : S().slots) {
            Window* o = slot.get();
            if (o && !o->dead && o->owner == w && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED))
                return o->handle;
        }
        return nullptr;
    }
    if (w->parent == nullptr) return nullptr;
    auto& list = w->parent->children;
    auto it = std::find(list.begin(), list.end(), w);
    switch (relation) {
        case GW_HWNDFIRST: return list.front()->handle;
        case GW_HWNDLAST: return list.back()->handle;
        case GW_HWNDNEXT: return (it + 1 != list.end()) ? (*(it + 1))->handle : nullptr;
        case GW_HWNDPREV: return (it != list.begin()) ? (*(it - 1))->handle : nullptr;
        default: return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    if (hwnd == nullptr) hwnd = GetDesktopWindow();
    return GetWindow(hwnd, GW_CHILD);
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* w = FromHandle(dialog);
    if (w == nullptr) return nullptr;
    for (Window* c : w->children) {
        if (static_cast<int>(c->id) == id) return c->handle;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || !IsChildStyle(w)) return 0;
    return static_cast<int>(w->id);
}

namespace {

bool EnumDescendants(Window* w, WNDENUMPROC proc, LPARAM param) {
    std::vector<HWND> kids;
    for (Window* c : w->children) kids.push_back(c->handle);
    for (HWND h : kids) {
        Window* c = FromHandle(h);
        if (c == nullptr) continue;
        if (!proc(h, param)) return false;
        c = FromHandle(h);
        if (c != nullptr && !EnumDescendants(c, proc, param)) return false;
    }
    return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
    if (proc == nullptr) return FALSE;
    Window* w = parent ? FromHandle(parent) : (EnsureDesktop(), S().desktopWindow);
    if (w == nullptr) return FALSE;
    CallScope scope;
    EnumDescendants(w, proc, param);
    return TRUE;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    EnsureDesktop();
    WindowClass* cls = className ? FindClass(className) : nullptr;
    if (className != nullptr && cls == nullptr) return nullptr;
    for (Window* w : S().desktopWindow->children) {
        if (cls != nullptr && w->cls != cls) continue;
        if (windowName != nullptr && w->text != CopyString(windowName)) continue;
        return w->handle;
    }
    return nullptr;
}
