// The window table: the window manager's one state, windows by handle, the
// desktop window at the root of the tree, the tree's links, and message calls.
//
// Sections: state and handles; the desktop window; links; message calls.
//
// A handle carries a slot and a generation: NewHandle hands out the slot's next
// generation, so a handle from a destroyed window (or an earlier desktop) never
// names a later one. Bury makes the handle invalid at once and leaves the memory
// to the graveyard until no message call is running (CallScope, Send).
#include <algorithm>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

// ============================================================================
// State and handles
// ============================================================================

namespace {

constexpr unsigned kSlotBits = 20;
constexpr ULONG_PTR kSlotMask = (ULONG_PTR{1} << kSlotBits) - 1;

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

void CollectGraveyard() {
    State& s = S();
    for (auto& w : s.graveyard) {
        if (w && w->surface) KeepSpareSurface(w.get());
    }
    s.graveyard.clear();
}

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
// The desktop window
// ============================================================================

namespace {

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
        RegisterClassExW(&wc);
        cls = FindClass(kDesktopClass);
    }
    auto w = std::make_unique<Window>();
    Window* raw = w.get();
    raw->cls = cls;
    raw->proc = cls->proc;
    raw->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    raw->window = RECT{0, 0, s.screen.cx, s.screen.cy};
    raw->client = raw->window;
    raw->created = true;
    NewHandle(std::move(w));
    ++cls->windows;
    s.desktopWindow = raw;
}

// ============================================================================
// Links
// ============================================================================

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

bool InTree(HWND h, const Window* root) {
    for (Window* a = FromHandle(h); a != nullptr; a = a->parent) {
        if (a == root) return true;
    }
    return false;
}

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

BOOL IsWindow(HWND hwnd) { return FromHandle(hwnd) != nullptr ? TRUE : FALSE; }

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
