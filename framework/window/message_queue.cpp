// The message queue: posting, retrieving, translating and dispatching, and the
// backend that feeds it.
//
// Retrieval order, as on the platform: posted messages, then input, then WM_QUIT
// once both are empty, then a generated WM_PAINT, then a due WM_TIMER. A loop that
// finds nothing shows what was drawn (FlushPresent) and asks the backend to wait.
//
// Sections: the backend; posting; retrieval (PeekOne); the public loop functions;
// translation and dispatch.
#include <algorithm>
#include <cstdio>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw {
// Provided by the headless backend: the desktop used when a program installs none.
std::unique_ptr<Backend> CreateDefaultBackend();
}  // namespace tq3::fw

using namespace tq3::fw;
using namespace tq3::fw::wm;

// ============================================================================
// The backend
// ============================================================================

namespace tq3::fw {

void ResetWindowManager() {
    State& s = S();
    if (s.desktopWindow != nullptr) {
        std::vector<HWND> tops;
        for (Window* w : s.desktopWindow->children) tops.push_back(w->handle);
        for (HWND h : tops) DestroyWindow(h);
        // Windows whose procedures refused to go are dropped without messages.
        std::vector<Window*> rest;
        for (auto& slot : s.slots) {
            if (slot && !slot->dead) rest.push_back(slot.get());
        }
        for (Window* w : rest) {
            w->dead = true;
            --w->cls->windows;
        }
    }
    // Slots are emptied but their generations kept, so a handle from before the
    // reset never names a window made after it.
    s.graveyard.clear();
    s.freeSlots.clear();
    for (size_t i = 0; i < s.slots.size(); ++i) {
        s.slots[i].reset();
        s.freeSlots.push_back(i);
    }
    s.desktopWindow = nullptr;
    s.posted.clear();
    s.input.clear();
    s.timers.clear();
    s.windowDcs.clear();
    s.lockedWindow = nullptr;
    s.lockedArea.Clear();
    s.nativeDirty.clear();
    s.creationHooks.clear();
    s.spareSurface.reset();
    ScreenResized();
    static_cast<Session&>(s) = Session{};
    for (size_t i = 0; i < s.watchers.size(); ++i) s.watchers[i]->WindowManagerReset();
    // Classes survive: a host registers them once per process.
    for (auto& c : s.classes) c->windows = 0;
}

Backend* InstallBackend(std::unique_ptr<Backend> backend) {
    State& s = S();
    if (!backend) return nullptr;
    ResetWindowManager();
    s.backend = std::move(backend);
    SIZE size = s.backend->DesktopSize();
    s.screen = SIZE{std::clamp<LONG>(size.cx, 1, 16384), std::clamp<LONG>(size.cy, 1, 16384)};
    s.native = s.backend->ShowsNativeWindows();
    ScreenResized();
    SetScreenSize(s.screen.cx, s.screen.cy);
    EnsureDesktop();
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return s.backend.get();
}

bool ResizeDesktop(int width, int height) {
    State& s = S();
    CurrentBackend();
    width = std::clamp(width, 1, 16384);
    height = std::clamp(height, 1, 16384);
    if (width == s.screen.cx && height == s.screen.cy) return true;
    s.screen = SIZE{width, height};
    ScreenResized();
    SetScreenSize(width, height);
    EnsureDesktop();
    s.desktopWindow->window = RECT{0, 0, width, height};
    s.desktopWindow->client = s.desktopWindow->window;
    CallScope scope;
    std::vector<HWND> tops;
    for (Window* w : s.desktopWindow->children) tops.push_back(w->handle);
    for (HWND h : tops) {
        Window* w = FromHandle(h);
        if (w == nullptr || !(w->style & WS_MAXIMIZE)) continue;
        // The same placement ShowWindow gives a maximised window: its frame just
        // beyond the screen's edges.
        RECT in = NonClientInsets(w->style & ~(WS_VSCROLL | WS_HSCROLL), w->exStyle, false);
        SetWindowPos(h, nullptr, -in.left, -in.left, width + 2 * in.left, height + 2 * in.left,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (HWND h : tops) {
        if (Window* w = FromHandle(h)) Send(w, WM_DISPLAYCHANGE, 32, MAKELPARAM(static_cast<WORD>(width), static_cast<WORD>(height)));
    }
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return true;
}

Backend& CurrentBackend() {
    State& s = S();
    if (!s.backend) InstallBackend(CreateDefaultBackend());
    return *s.backend;
}

bool HasPendingWork() {
    State& s = S();
    if (!s.posted.empty() || !s.input.empty() || s.quitPosted) return true;
    if (FindWindowToPaint(nullptr) != nullptr) return true;
    return TimeToNextTimer() == 0;
}

}  // namespace tq3::fw

// ============================================================================
// Posting
// ============================================================================

namespace {

bool MatchesFilter(const MSG& m, HWND filter, UINT lo, UINT hi) {
    if (lo != 0 || hi != 0) {
        if (lo <= hi) {
            if (m.message < lo || m.message > hi) return false;
        } else if (m.message < lo && m.message > hi) {
            return false;
        }
    }
    if (filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return m.hwnd == nullptr;
    if (filter == nullptr) return true;
    return m.hwnd == filter || IsChild(filter, m.hwnd);
}

bool WantsMessage(UINT message, UINT lo, UINT hi) {
    if (lo == 0 && hi == 0) return true;
    if (lo <= hi) return message >= lo && message <= hi;
    return message >= lo || message <= hi;
}

DWORD PackPoint(POINT p) {
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

}  // namespace

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    State& s = S();
    if (hwnd != nullptr && hwnd != HWND_BROADCAST && FromHandle(hwnd) == nullptr) return FALSE;
    MSG m{};
    m.hwnd = hwnd == HWND_BROADCAST ? nullptr : hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(CurrentBackend().Now());
    m.pt = s.cursorPos;
    try {
        if (hwnd == HWND_BROADCAST) {
            EnsureDesktop();
            for (Window* w : s.desktopWindow->children) {
                m.hwnd = w->handle;
                s.posted.push_back(m);
            }
        } else {
            s.posted.push_back(m);
        }
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    State& s = S();
    s.quitPosted = true;
    s.quitCode = exitCode;
}

// ============================================================================
// Retrieval
// ============================================================================

namespace {

bool TakePosted(MSG* out, HWND filter, UINT lo, UINT hi, bool remove) {
    State& s = S();
    for (auto it = s.posted.begin(); it != s.posted.end();) {
        // Messages for windows destroyed since they were posted are dropped.
        if (it->hwnd != nullptr && FromHandle(it->hwnd) == nullptr) {
            it = s.posted.erase(it);
            continue;
        }
        if (MatchesFilter(*it, filter, lo, hi)) {
            *out = *it;
            if (remove) s.posted.erase(it);
            return true;
        }
        ++it;
    }
    return false;
}

bool TakeInput(MSG* out, HWND filter, UINT lo, UINT hi, bool remove) {
    State& s = S();
    for (size_t i = 0; i < s.input.size();) {
        QueuedInput& q = s.input[i];
        if (!q.converted) {
            q.converted = true;
            q.dropped = !ConvertInput(s.input[i]);
        }
        QueuedInput& cur = s.input[i];
        if (cur.dropped || (cur.msg.hwnd != nullptr && FromHandle(cur.msg.hwnd) == nullptr)) {
            if (i == 0) {
                CommitInput(cur);
                s.input.pop_front();
            } else {
                ++i;
            }
            continue;
        }
        if (MatchesFilter(cur.msg, filter, lo, hi)) {
            *out = cur.msg;
            if (remove) {
                QueuedInput taken = cur;
                s.input.erase(s.input.begin() + static_cast<std::ptrdiff_t>(i));
                CommitInput(taken);
            }
            return true;
        }
        ++i;
    }
    return false;
}

// One attempt at a message, in the platform's order of priority.
bool PeekOne(MSG* msg, HWND filter, UINT lo, UINT hi, bool remove) {
    State& s = S();
    CurrentBackend();
    if (TakePosted(msg, filter, lo, hi, remove)) return true;
    if (TakeInput(msg, filter, lo, hi, remove)) return true;
    if (s.quitPosted && WantsMessage(WM_QUIT, lo, hi)) {
        *msg = MSG{};
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(s.quitCode);
        msg->time = static_cast<DWORD>(s.backend->Now());
        msg->pt = s.cursorPos;
        if (remove) s.quitPosted = false;
        return true;
    }
    if (WantsMessage(WM_PAINT, lo, hi)) {
        Window* w = FindWindowToPaint(filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)) ? nullptr : filter);
        if (w != nullptr && filter != reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) {
            *msg = MSG{};
            msg->hwnd = w->handle;
            msg->message = WM_PAINT;
            msg->time = static_cast<DWORD>(s.backend->Now());
            msg->pt = s.cursorPos;
            return true;
        }
    }
    if (WantsMessage(WM_TIMER, lo, hi) && TakeDueTimer(filter, msg, remove)) return true;
    return false;
}

}  // namespace

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    State& s = S();
    if (msg == nullptr) return FALSE;
    CallScope scope;
    Backend& backend = CurrentBackend();
    if (PeekOne(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) {
        s.messageTime = static_cast<LONG>(msg->time);
        s.messagePos = PackPoint(msg->pt);
        return TRUE;
    }
    // Nothing waiting: show what was drawn and let the backend hand over input.
    FlushPresent();
    backend.WaitForInput(0);
    if (PeekOne(msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) {
        s.messageTime = static_cast<LONG>(msg->time);
        s.messagePos = PackPoint(msg->pt);
        return TRUE;
    }
    return FALSE;
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) return -1;
    for (;;) {
        if (PeekMessageW(msg, hwnd, filterMin, filterMax, PM_REMOVE)) return msg->message == WM_QUIT ? FALSE : TRUE;
        if (!CurrentBackend().WaitForInput(tq3::fw::TimeToNextTimer())) return -1;
    }
}

BOOL WaitMessage() {
    MSG m;
    if (PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE)) return TRUE;
    return CurrentBackend().WaitForInput(tq3::fw::TimeToNextTimer()) ? TRUE : FALSE;
}

LONG GetMessageTime() { return S().messageTime; }
DWORD GetMessagePos() { return S().messagePos; }
DWORD GetTickCount() { return static_cast<DWORD>(CurrentBackend().Now()); }
ULONGLONG GetTickCount64() { return CurrentBackend().Now(); }

// ============================================================================
// Translation and dispatch
// ============================================================================

BOOL TranslateMessage(const MSG* msg) {
    if (msg == nullptr) return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return FALSE;
    WCHAR ch = CharForKey(static_cast<int>(msg->wParam), S().syncKeys);
    if (ch == 0) return FALSE;
    UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // The character goes ahead of anything posted later, as the platform queues it
    // right behind the key.
    MSG m = *msg;
    m.message = charMessage;
    m.wParam = ch;
    try {
        S().posted.push_front(m);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (msg == nullptr) return 0;
    CallScope scope;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // A timer with a callback calls it instead of the window procedure.
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, WM_TIMER, static_cast<UINT_PTR>(msg->wParam), GetTickCount());
        return 0;
    }
    if (msg->hwnd == nullptr) return 0;
    Window* w = FromHandle(msg->hwnd);
    if (w == nullptr) return 0;
    if (msg->message == WM_PAINT) {
        w->paintValidated = false;
        LRESULT r = Send(w, WM_PAINT, msg->wParam, msg->lParam);
        // A procedure that neither begins painting nor validates would be asked
        // again forever; its region counts as painted.
        w = FromHandle(msg->hwnd);
        if (w != nullptr && !w->paintValidated && NeedsPaint(w)) {
            w->update.Clear();
            w->internalPaint = false;
            w->ncPaint = false;
            w->erase = false;
        }
        return r;
    }
    return Send(w, msg->message, msg->wParam, msg->lParam);
}
