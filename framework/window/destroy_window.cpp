// Window destruction: DestroyWindow, what a dying window lets go of, and the
// watchers above the window manager that hear of it.
//
// Sections: destruction; watchers.
//
// Call flow of DestroyWindow: owned windows -> WM_PARENTNOTIFY -> hide -> focus,
// capture and activation move away (FocusLost, ActivateAnother) -> SendDestroy
// (WM_DESTROY, parent first) -> SendNcDestroy (WM_NCDESTROY, children first) ->
// Release (timers, caret, watchers, input state, owned windows, Unlink) -> Bury.
#include <algorithm>

#include "framework/window/wm_internal.h"

using namespace tq3::fw;
using namespace tq3::fw::wm;

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
    if (s.focus == w->handle) {
        s.focus = nullptr;
        SyncTextInput();
    }
    if (s.active == w->handle) s.active = nullptr;
    if (s.trackWindow == w->handle) s.trackWindow = nullptr;
    if (s.scrollTrack.hwnd == w->handle) s.scrollTrack = ScrollTrack{};
    // Posted messages for a dead window are dropped when retrieved; owned windows
    // lose their owner.
    for (auto& slot : s.slots) {
        if (slot && slot->owner == w) slot->owner = nullptr;
    }
    if (s.native && w->parent == s.desktopWindow && s.backend) s.backend->NativeWindowDestroyed(w->handle);
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

// ============================================================================
// Watchers
// ============================================================================

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
