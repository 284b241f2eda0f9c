// Window classes, the window table and window lifetime.
//
// Sections: state and handles; classes; creation; destruction; relations;
// text, longs and properties; message calls.
//
// Call flow of CreateWindowExW: FindClass -> NewHandle -> Link -> WM_GETMINMAXINFO
// -> WM_NCCREATE -> RecalcClient (WM_NCCALCSIZE) -> WM_CREATE -> WM_SIZE, WM_MOVE
// -> WM_PARENTNOTIFY -> ShowWindow when WS_VISIBLE was asked for.
// Call flow of DestroyWindow: owned windows -> WM_PARENTNOTIFY -> hide -> focus,
// capture and activation move away -> SendDestroy (WM_DESTROY, parent first) ->
// SendNcDestroy (WM_NCDESTROY, children first) -> Unlink -> Bury.
#include <algorithm>
#include <cstring>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

// ============================================================================
// State and handles
// ============================================================================

namespace {

constexpr unsigned kSlotBits = 20;
constexpr ULONG_PTR kSlotMask = (ULONG_PTR{1} << kSlotBits) - 1;

LRESULT DesktopProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        Window* w = FromHandle(hwnd);
        if (w != nullptr) FillWithClassBrush(w, reinterpret_cast<HDC>(wp), rc);
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

State& S() {
    static State state;
    return state;
}

Window* FromHandleAny(HWND hwnd) {
    auto value = reinterpret_cast<ULONG_PTR>(hwnd);
    if (value == 0) return nullptr;
    size_t slot = (value & kSlotMask);
    if (slot == 0) return nullptr;
    --slot;
    State& s = S();
    if (slot >= s.slots.size() || !s.slots[slot]) return nullptr;
    if ((value >> kSlotBits) != s.generations[slot]) return nullptr;
    return s.slots[slot].get();
}

Window* FromHandle(HWND hwnd) {
    Window* w = FromHandleAny(hwnd);
    return (w != nullptr && !w->dead) ? w : nullptr;
}

HWND NewHandle(std::unique_ptr<Window> w) {
    State& s = S();
    size_t slot;
    if (!s.freeSlots.empty()) {
        slot = s.freeSlots.back();
        s.freeSlots.pop_back();
    } else {
        slot = s.slots.size();
        if (slot >= kSlotMask) return nullptr;
        try {
            s.slots.emplace_back();
            s.generations.push_back(0);
            // Burying a window must not allocate (it happens on failure paths too):
            // the lists it feeds have room for every slot from the start.
            s.graveyard.reserve(s.slots.size());
            s.freeSlots.reserve(s.slots.size());
        } catch (const std::bad_alloc&) {
            // No room for another slot: no handle, and both tables as they were.
            if (s.slots.size() > slot) s.slots.pop_back();
            if (s.generations.size() > slot) s.generations.pop_back();
            return nullptr;
        }
    }
    ++s.generations[slot];
    auto value = (static_cast<ULONG_PTR>(s.generations[slot]) << kSlotBits) | (slot + 1);
    HWND h = reinterpret_cast<HWND>(value);
    w->handle = h;
    s.slots[slot] = std::move(w);
    return h;
}

void Bury(Window* w) {
    State& s = S();
    auto value = reinterpret_cast<ULONG_PTR>(w->handle);
    size_t slot = (value & kSlotMask) - 1;
    w->dead = true;
    s.graveyard.push_back(std::move(s.slots[slot]));
    s.freeSlots.push_back(slot);
    if (s.callDepth == 0) CollectGraveyard();
}

void CollectGraveyard() { S().graveyard.clear(); }

LRESULT Send(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
    if (w == nullptr || w->dead) return 0;
    CallScope scope;
    WNDPROC proc = w->proc;
    if (proc == nullptr) return DefWindowProcW(w->handle, msg, wp, lp);
    return proc(w->handle, msg, wp, lp);
}

bool IsChildStyle(const Window* w) { return (w->style & WS_CHILD) != 0; }

Window* TopLevelOf(Window* w) {
    while (w != nullptr && w->parent != nullptr && w->parent != S().desktopWindow) w = w->parent;
    return w;
}

// ============================================================================
// Classes
// ============================================================================

namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool SameName(const std::u16string& a, LPCWSTR b) {
    size_t i = 0;
    for (; b[i] != 0; ++i) {
        if (i >= a.size() || FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return i == a.size();
}

std::u16string CopyString(LPCWSTR text) {
    std::u16string out;
    if (text != nullptr) {
        for (size_t i = 0; text[i] != 0; ++i) out.push_back(text[i]);
    }
    return out;
}

}  // namespace

WindowClass* FindClass(LPCWSTR name) {
    if (name == nullptr) return nullptr;
    for (auto& c : S().classes) {
        if (IS_INTRESOURCE(name)) {
            if (c->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name))) return c.get();
        } else if (SameName(c->name, name)) {
            return c.get();
        }
    }
    return nullptr;
}

namespace {

ATOM Register(const WNDCLASSEXW& wc) {
    State& s = S();
    if (wc.lpszClassName == nullptr || IS_INTRESOURCE(wc.lpszClassName) || wc.lpszClassName[0] == 0) return 0;
    if (FindClass(wc.lpszClassName) != nullptr) return 0;
    if (wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > 40000 || wc.cbWndExtra > 40000) return 0;
    if (s.nextAtom == 0xFFFF) return 0;
    try {
        auto c = std::make_unique<WindowClass>();
        c->name = CopyString(wc.lpszClassName);
        c->atom = s.nextAtom++;
        c->style = wc.style;
        c->proc = wc.lpfnWndProc;
        c->wndExtra = wc.cbWndExtra;
        c->instance = wc.hInstance;
        c->icon = wc.hIcon;
        c->iconSmall = wc.hIconSm;
        c->cursor = wc.hCursor;
        c->background = wc.hbrBackground;
        if (wc.lpszMenuName != nullptr && IS_INTRESOURCE(wc.lpszMenuName))
            c->menuId = reinterpret_cast<ULONG_PTR>(wc.lpszMenuName);
        else
            c->menuName = CopyString(wc.lpszMenuName);
        c->classExtra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
        ATOM atom = c->atom;
        s.classes.push_back(std::move(c));
        return atom;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

void FillClassInfo(const WindowClass& c, WNDCLASSEXW* wc) {
    wc->style = c.style;
    wc->lpfnWndProc = c.proc;
    wc->cbClsExtra = static_cast<int>(c.classExtra.size());
    wc->cbWndExtra = c.wndExtra;
    wc->hInstance = c.instance;
    wc->hIcon = c.icon;
    wc->hCursor = c.cursor;
    wc->hbrBackground = c.background;
    wc->lpszMenuName = c.menuId != 0 ? reinterpret_cast<LPCWSTR>(c.menuId)
                                     : (c.menuName.empty() ? nullptr : c.menuName.c_str());
    wc->lpszClassName = c.name.c_str();
    wc->hIconSm = c.iconSmall;
}

}  // namespace

void EnsureDesktop() {
    State& s = S();
    if (s.desktopWindow != nullptr) return;
    static const WCHAR kDesktopClass[] = u"#32769";
    WindowClass* cls = FindClass(kDesktopClass);
    if (cls == nullptr) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DesktopProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_DESKTOP + 1));
        wc.lpszClassName = kDesktopClass;
        Register(wc);
        cls = FindClass(kDesktopClass);
    }
    auto w = std::make_unique<Window>();
    Window* raw = w.get();
    raw->cls = cls;
    raw->proc = cls->proc;
    raw->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    raw->window = RECT{0, 0, s.desktop.Width(), s.desktop.Height()};
    raw->client = raw->window;
    raw->created = true;
    NewHandle(std::move(w));
    ++cls->windows;
    s.desktopWindow = raw;
}

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

// ============================================================================
// Class functions
// ============================================================================

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (wc == nullptr) return 0;
    WNDCLASSEXW ex{};
    ex.cbSize = sizeof(ex);
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return Register(ex);
}

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
    if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEXW)) return 0;
    return Register(*wc);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    State& s = S();
    WindowClass* c = FindClass(className);
    if (c == nullptr || c->windows > 0) return FALSE;
    s.classes.erase(std::remove_if(s.classes.begin(), s.classes.end(), [c](auto& p) { return p.get() == c; }),
                    s.classes.end());
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* wc) {
    WindowClass* c = FindClass(className);
    if (c == nullptr || wc == nullptr) return FALSE;
    FillClassInfo(*c, wc);
    return c->atom;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc) {
    if (wc == nullptr) return FALSE;
    WNDCLASSEXW ex{};
    BOOL ok = GetClassInfoExW(instance, className, &ex);
    if (!ok) return FALSE;
    wc->style = ex.style;
    wc->lpfnWndProc = ex.lpfnWndProc;
    wc->cbClsExtra = ex.cbClsExtra;
    wc->cbWndExtra = ex.cbWndExtra;
    wc->hInstance = ex.hInstance;
    wc->hIcon = ex.hIcon;
    wc->hCursor = ex.hCursor;
    wc->hbrBackground = ex.hbrBackground;
    wc->lpszMenuName = ex.lpszMenuName;
    wc->lpszClassName = ex.lpszClassName;
    return ok;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || buffer == nullptr || maxCount <= 0) return 0;
    int n = std::min<int>(static_cast<int>(w->cls->name.size()), maxCount - 1);
    std::copy_n(w->cls->name.data(), n, buffer);
    buffer[n] = 0;
    return n;
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    WindowClass* c = w->cls;
    switch (index) {
        case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->background);
        case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->cursor);
        case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c->icon);
        case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(c->iconSmall);
        case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(c->instance);
        case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c->proc);
        case GCLP_MENUNAME: return c->menuId != 0 ? c->menuId : reinterpret_cast<ULONG_PTR>(c->menuName.c_str());
        case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c->wndExtra);
        case GCL_CBCLSEXTRA: return c->classExtra.size();
        case GCL_STYLE: return c->style;
        case GCW_ATOM: return c->atom;
        default: break;
    }
    if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= c->classExtra.size()) {
        ULONG_PTR v;
        std::memcpy(&v, c->classExtra.data() + index, sizeof(v));
        return v;
    }
    return 0;
}

DWORD GetClassLongW(HWND hwnd, int index) { return static_cast<DWORD>(GetClassLongPtrW(hwnd, index)); }

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    WindowClass* c = w->cls;
    ULONG_PTR old = GetClassLongPtrW(hwnd, index);
    switch (index) {
        case GCLP_HBRBACKGROUND: c->background = reinterpret_cast<HBRUSH>(value); return old;
        case GCLP_HCURSOR: c->cursor = reinterpret_cast<HCURSOR>(value); return old;
        case GCLP_HICON: c->icon = reinterpret_cast<HICON>(value); return old;
        case GCLP_HICONSM: c->iconSmall = reinterpret_cast<HICON>(value); return old;
        case GCLP_WNDPROC: c->proc = reinterpret_cast<WNDPROC>(value); return old;
        case GCL_STYLE: c->style = static_cast<UINT>(value); return old;
        default: break;
    }
    if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= c->classExtra.size()) {
        std::memcpy(c->classExtra.data() + index, &value, sizeof(value));
        return old;
    }
    return 0;
}

// ============================================================================
// Creation
// ============================================================================

namespace {

void Link(Window* parent, Window* w, bool atTop) {
    auto& list = parent->children;
    if (atTop) {
        // Topmost windows stay above the others.
        auto it = list.begin();
        if (!(w->exStyle & WS_EX_TOPMOST)) {
            while (it != list.end() && ((*it)->exStyle & WS_EX_TOPMOST)) ++it;
        }
        list.insert(it, w);
    } else {
        list.push_back(w);
    }
    w->parent = parent;
}

void Unlink(Window* w) {
    if (w->parent == nullptr) return;
    auto& list = w->parent->children;
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

void NotifyParents(Window* w, UINT event) {
    // WM_PARENTNOTIFY climbs the chain of parents until one is not a child window.
    if (!IsChildStyle(w) || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
    Window* p = w->parent;
    while (p != nullptr && p != S().desktopWindow) {
        Send(p, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(w->id)),
             reinterpret_cast<LPARAM>(w->handle));
        if (!IsChildStyle(p) || (p->exStyle & WS_EX_NOPARENTNOTIFY)) break;
        p = p->parent;
    }
}

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
            *cx = s.desktop.Width() * 3 / 4;
            *cy = s.desktop.Height() * 3 / 4;
        }
    }
}

}  // namespace

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parentHandle, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
    State& s = S();
    CurrentBackend();
    EnsureDesktop();
    WindowClass* cls = FindClass(className);
    if (cls == nullptr) return nullptr;
    Window* parent = nullptr;
    Window* owner = nullptr;
    bool messageOnly = parentHandle == HWND_MESSAGE;
    if (style & WS_CHILD) {
        parent = FromHandle(parentHandle);
        if (parent == nullptr) return nullptr;
    } else {
        parent = s.desktopWindow;
        if (parentHandle != nullptr && !messageOnly) {
            owner = FromHandle(parentHandle);
            if (owner == nullptr) return nullptr;
            owner = TopLevelOf(owner);
        }
        // Overlapped windows always have a caption, and every top-level window
        // clips its siblings.
        if (!(style & WS_POPUP)) style |= WS_CAPTION;
        style |= WS_CLIPSIBLINGS;
    }
    if ((style & (WS_DLGFRAME | WS_THICKFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) exStyle |= WS_EX_WINDOWEDGE;
    bool wantVisible = (style & WS_VISIBLE) && !messageOnly;
    style &= ~WS_VISIBLE;
    DefaultPlacement(IsChildStyle(parent) || (style & WS_CHILD), &x, &y, &width, &height);

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
    HWND hwnd = NewHandle(std::move(owned));
    if (hwnd == nullptr) return nullptr;
    ++cls->windows;
    CallScope scope;

    if (!(style & WS_CHILD)) {
        MINMAXINFO mmi{};
        mmi.ptMaxSize = POINT{s.desktop.Width(), s.desktop.Height()};
        mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
        mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        // The window is not linked yet; the message still reaches its procedure.
        w->window = RECT{x, y, x + width, y + height};
        w->client = w->window;
        w->parent = parent;
        Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        if (width > mmi.ptMaxTrackSize.x) width = mmi.ptMaxTrackSize.x;
        if (height > mmi.ptMaxTrackSize.y) height = mmi.ptMaxTrackSize.y;
    }
    if (width < 0) width = 0;
    if (height < 0) height = 0;
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
    if (!Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (!w->dead) {
            Send(w, WM_NCDESTROY, 0, 0);
            if (!w->dead) {
                Unlink(w);
                --cls->windows;
                Bury(w);
            }
        }
        return nullptr;
    }
    if (w->dead) return nullptr;
    w->created = true;
    RecalcClient(w);
    if (w->dead) return nullptr;
    if (Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (w->dead) return nullptr;
    Send(w, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(static_cast<WORD>(w->client.right - w->client.left),
                    static_cast<WORD>(w->client.bottom - w->client.top)));
    if (w->dead) return nullptr;
    Send(w, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w->client.left), static_cast<WORD>(w->client.top)));
    if (w->dead) return nullptr;
    NotifyParents(w, WM_CREATE);
    if (w->dead) return nullptr;
    if (wantVisible) {
        int show = (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW;
        ShowWindow(hwnd, show);
    }
    return w->dead ? nullptr : hwnd;
}

// ============================================================================
// Destruction
// ============================================================================

namespace {

// The children of `w` as they are now, for a walk during which the list may
// change. Without memory for a copy the live list is walked instead, from the
// end, so that a window is never skipped and nothing is allocated.
template <typename Visit>
void ForEachChild(Window* w, Visit visit) {
    std::vector<Window*> kids;
    try {
        kids = w->children;
    } catch (const std::bad_alloc&) {
        for (size_t i = w->children.size(); i-- > 0;) {
            if (i < w->children.size()) visit(w->children[i]);
        }
        return;
    }
    for (Window* c : kids) visit(c);
}

void SendDestroy(Window* w) {
    if (w->dead) return;
    Send(w, WM_DESTROY, 0, 0);
    ForEachChild(w, [](Window* c) {
        if (c->dead) return;
        c->destroying = true;
        SendDestroy(c);
    });
}

void Release(Window* w) {
    State& s = S();
    KillTimersOf(w->handle);
    DestroyCaretOf(w->handle);
    for (size_t i = 0; i < s.watchers.size(); ++i) s.watchers[i]->WindowDestroyed(w->handle);
    if (s.capture == w->handle) s.capture = nullptr;
    if (s.focus == w->handle) s.focus = nullptr;
    if (s.active == w->handle) s.active = nullptr;
    if (s.trackWindow == w->handle) s.trackWindow = nullptr;
    if (s.scrollTrack.hwnd == w->handle) s.scrollTrack = ScrollTrack{};
    // Posted messages for a dead window are dropped when retrieved; owned windows
    // lose their owner.
    for (auto& slot : s.slots) {
        if (slot && slot->owner == w) slot->owner = nullptr;
    }
    Unlink(w);
    --w->cls->windows;
}

void SendNcDestroy(Window* w) {
    if (w->dead) return;
    ForEachChild(w, [](Window* c) { SendNcDestroy(c); });
    if (w->dead) return;
    Send(w, WM_NCDESTROY, 0, 0);
    if (w->dead) return;
    Release(w);
    Bury(w);
}

void ActivateAnother(Window* leaving) {
    State& s = S();
    // The owner first, as the platform does, then the top-most visible enabled
    // top-level window.
    Window* next = nullptr;
    if (leaving->owner != nullptr && !leaving->owner->dead && IsVisibleOnScreen(leaving->owner)) next = leaving->owner;
    if (next == nullptr && s.desktopWindow != nullptr) {
        for (Window* c : s.desktopWindow->children) {
            if (c == leaving || c->dead || c->destroying) continue;
            if ((c->style & WS_VISIBLE) && !(c->style & WS_DISABLED) && !(c->exStyle & WS_EX_NOACTIVATE)) {
                next = c;
                break;
            }
        }
    }
    if (next != nullptr)
        SetActiveWindow(next->handle);
    else
        SetActiveWindow(nullptr);
}

}  // namespace

BOOL DestroyWindow(HWND hwnd) {
    State& s = S();
    Window* w = FromHandle(hwnd);
    if (w == nullptr || w == s.desktopWindow) return FALSE;
    if (w->destroying) return TRUE;
    CallScope scope;
    w->destroying = true;
    // Owned windows go first.
    for (size_t i = 0; i < s.slots.size(); ++i) {
        Window* o = s.slots[i].get();
        if (o != nullptr && !o->dead && o->owner == w && !o->destroying) DestroyWindow(o->handle);
    }
    if (w->dead) return TRUE;
    NotifyParents(w, WM_DESTROY);
    if (w->dead) return TRUE;
    bool wasActive = s.active == hwnd;
    if (w->style & WS_VISIBLE) {
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
    if (w->dead) return TRUE;
    FocusLost(w);
    if (w->dead) return TRUE;
    if (wasActive || s.active == hwnd) ActivateAnother(w);
    if (w->dead) return TRUE;
    SendDestroy(w);
    SendNcDestroy(w);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return FromHandle(hwnd) != nullptr ? TRUE : FALSE; }

namespace tq3::fw {

bool AddWindowWatcher(WindowWatcher* watcher) {
    std::vector<WindowWatcher*>& list = S().watchers;
    if (watcher == nullptr || std::find(list.begin(), list.end(), watcher) != list.end()) return true;
    try {
        list.push_back(watcher);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void RemoveWindowWatcher(WindowWatcher* watcher) {
    std::vector<WindowWatcher*>& list = S().watchers;
    list.erase(std::remove(list.begin(), list.end(), watcher), list.end());
}

}  // namespace tq3::fw

// ============================================================================
// Relations
// ============================================================================

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
    bool visible = (w->style & WS_VISIBLE) != 0;
    RECT before = WindowRectOnScreen(w);
    Unlink(w);
    Link(p, w, true);
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

// ============================================================================
// Text, longs and properties
// ============================================================================

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    return Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || buffer == nullptr || maxCount <= 0) return 0;
    return static_cast<int>(Send(w, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int InternalGetWindowText(HWND hwnd, LPWSTR buffer, int maxCount) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || buffer == nullptr || maxCount <= 0) return 0;
    return static_cast<int>(DefaultText(w, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    return static_cast<int>(Send(w, WM_GETTEXTLENGTH, 0, 0));
}

namespace tq3::fw::wm {

// The default handling of the text messages, used by DefWindowProcW.
LRESULT DefaultText(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETTEXT:
            try {
                w->text = CopyString(reinterpret_cast<LPCWSTR>(lp));
            } catch (const std::bad_alloc&) {
                return FALSE;
            }
            if ((w->style & WS_CAPTION) == WS_CAPTION) {
                w->ncPaint = true;
            }
            return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<LPWSTR>(lp);
            int max = static_cast<int>(wp);
            if (buffer == nullptr || max <= 0) return 0;
            int n = std::min<int>(static_cast<int>(w->text.size()), max - 1);
            std::copy_n(w->text.data(), n, buffer);
            buffer[n] = 0;
            return n;
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        default:
            return 0;
    }
}

}  // namespace tq3::fw::wm

namespace {

bool ExtraInRange(const Window* w, int index, size_t size) {
    return index >= 0 && static_cast<size_t>(index) + size <= w->extra.size();
}

LONG_PTR ReadLong(Window* w, int index, size_t size, bool* ok) {
    *ok = true;
    switch (index) {
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT:
            if (IsChildStyle(w)) return reinterpret_cast<LONG_PTR>(w->parent ? w->parent->handle : nullptr);
            return reinterpret_cast<LONG_PTR>(w->owner ? w->owner->handle : nullptr);
        case GWLP_ID: return static_cast<LONG_PTR>(w->id);
        case GWL_STYLE: return static_cast<LONG>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
        case GWLP_USERDATA: return w->userData;
        default: break;
    }
    if (ExtraInRange(w, index, size)) {
        if (size == sizeof(LONG)) {
            LONG v;
            std::memcpy(&v, w->extra.data() + index, sizeof(v));
            return v;
        }
        LONG_PTR v;
        std::memcpy(&v, w->extra.data() + index, sizeof(v));
        return v;
    }
    *ok = false;
    return 0;
}

void ChangeStyle(Window* w, int index, DWORD value) {
    STYLESTRUCT ss{index == GWL_STYLE ? w->style : w->exStyle, value};
    Send(w, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    if (w->dead) return;
    DWORD old = index == GWL_STYLE ? w->style : w->exStyle;
    if (index == GWL_STYLE)
        w->style = ss.styleNew;
    else
        w->exStyle = ss.styleNew;
    ss.styleOld = old;
    Send(w, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
}

LONG_PTR WriteLong(Window* w, int index, LONG_PTR value, size_t size) {
    bool ok;
    LONG_PTR old = ReadLong(w, index, size, &ok);
    if (!ok) return 0;
    switch (index) {
        case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); return old;
        case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return old;
        case GWLP_HWNDPARENT:
            if (IsChildStyle(w)) return old;  // the parent is changed with SetParent
            w->owner = value ? FromHandle(reinterpret_cast<HWND>(value)) : nullptr;
            return old;
        case GWLP_ID: w->id = static_cast<UINT_PTR>(value); return old;
        case GWL_STYLE:
        case GWL_EXSTYLE: ChangeStyle(w, index, static_cast<DWORD>(value)); return old;
        case GWLP_USERDATA: w->userData = value; return old;
        default: break;
    }
    if (size == sizeof(LONG)) {
        auto v = static_cast<LONG>(value);
        std::memcpy(w->extra.data() + index, &v, sizeof(v));
    } else {
        std::memcpy(w->extra.data() + index, &value, sizeof(value));
    }
    return old;
}

}  // namespace

LONG GetWindowLongW(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    bool ok;
    return static_cast<LONG>(ReadLong(w, index, sizeof(LONG), &ok));
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    CallScope scope;
    return static_cast<LONG>(WriteLong(w, index, value, sizeof(LONG)));
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    bool ok;
    return ReadLong(w, index, sizeof(LONG_PTR), &ok);
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return 0;
    CallScope scope;
    return WriteLong(w, index, value, sizeof(LONG_PTR));
}

namespace {

std::u16string PropKey(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        auto atom = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        return std::u16string(u"#") + static_cast<char16_t>(atom);
    }
    std::u16string key = CopyString(name);
    for (auto& c : key) c = FoldAscii(c);
    return key;
}

}  // namespace

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || name == nullptr) return FALSE;
    try {
        w->props[PropKey(name)] = data;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || name == nullptr) return nullptr;
    auto it = w->props.find(PropKey(name));
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr || name == nullptr) return nullptr;
    auto it = w->props.find(PropKey(name));
    if (it == w->props.end()) return nullptr;
    HANDLE h = it->second;
    w->props.erase(it);
    return h;
}

// ============================================================================
// Message calls
// ============================================================================

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        EnsureDesktop();
        std::vector<HWND> tops;
        for (Window* w : S().desktopWindow->children) tops.push_back(w->handle);
        for (HWND h : tops) Send(FromHandle(h), message, wParam, lParam);
        return 0;
    }
    return Send(FromHandle(hwnd), message, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (proc == nullptr) return 0;
    CallScope scope;
    return proc(hwnd, message, wParam, lParam);
}

BOOL InSendMessage() { return FALSE; }  // one thread: no message comes from another
