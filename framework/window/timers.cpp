// Timers on the backend's clock. A due timer becomes a WM_TIMER only when the
// queue is otherwise empty, and at most one per timer however late it is, as on
// the platform; the period restarts when the message is retrieved. The window
// manager's own timers (caret blink, scroll-bar repeat, hover) run the same way
// but are handled here instead of being dispatched.
#include <algorithm>

#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

UINT ClampElapse(UINT elapse) { return std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM); }

Timer* Find(HWND hwnd, UINT_PTR id, bool system) {
    for (auto& t : S().timers) {
        if (t.hwnd == hwnd && t.id == id && t.system == system) return &t;
    }
    return nullptr;
}

UINT_PTR Add(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc, bool system) {
    State& s = S();
    ULONGLONG now = CurrentBackend().Now();
    elapse = ClampElapse(elapse);
    if (Timer* t = Find(hwnd, id, system)) {
        t->elapse = elapse;
        t->proc = proc;
        t->due = now + elapse;
        return id;
    }
    try {
        s.timers.push_back(Timer{hwnd, id, elapse, proc, now + elapse, system});
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return id;
}

bool Matches(const Timer& t, HWND filter) {
    if (filter == nullptr) return true;
    if (filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return t.hwnd == nullptr;
    return t.hwnd == filter || IsChild(filter, t.hwnd);
}

}  // namespace

UINT_PTR SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse) { return Add(hwnd, id, elapse, nullptr, true); }

void KillSystemTimer(HWND hwnd, UINT_PTR id) {
    auto& v = S().timers;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const Timer& t) { return t.system && t.hwnd == hwnd && t.id == id; }),
            v.end());
}

void KillTimersOf(HWND hwnd) {
    auto& v = S().timers;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const Timer& t) { return t.hwnd == hwnd && hwnd != nullptr; }),
            v.end());
}

void HandleSystemTimer(UINT_PTR id) {
    switch (id) {
        case kCaretTimerId: CaretBlink(); break;
        case kScrollTimerId: ScrollTrackRepeat(); break;
        case kHoverTimerId: PostMouseHover(); break;
        default: break;
    }
}

bool TakeDueTimer(HWND filter, MSG* msg, bool remove) {
    State& s = S();
    for (;;) {
        ULONGLONG now = CurrentBackend().Now();
        Timer* best = nullptr;
        for (auto& t : s.timers) {
            if (t.due > now || !Matches(t, filter)) continue;
            if (t.system && !remove) continue;
            if (best == nullptr || t.due < best->due) best = &t;
        }
        if (best == nullptr) return false;
        Timer t = *best;
        if (remove) best->due = now + best->elapse;
        if (t.system) {
            HandleSystemTimer(t.id);
            continue;
        }
        *msg = MSG{};
        msg->hwnd = t.hwnd;
        msg->message = WM_TIMER;
        msg->wParam = t.id;
        msg->lParam = reinterpret_cast<LPARAM>(t.proc);
        msg->time = static_cast<DWORD>(now);
        msg->pt = s.cursorPos;
        return true;
    }
}

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw;
using namespace tq3::fw::wm;

namespace tq3::fw {

DWORD TimeToNextTimer() {
    State& s = S();
    if (s.timers.empty()) return INFINITE;
    ULONGLONG now = CurrentBackend().Now();
    ULONGLONG best = ~ULONGLONG{0};
    for (auto& t : s.timers) best = std::min(best, t.due);
    if (best <= now) return 0;
    ULONGLONG wait = best - now;
    return wait >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(wait);
}

}  // namespace tq3::fw

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    State& s = S();
    if (hwnd != nullptr) {
        if (FromHandle(hwnd) == nullptr) return 0;
        UINT_PTR r = Add(hwnd, id, elapse, proc, false);
        return r == 0 && id == 0 ? 1 : r;
    }
    // A timer without a window gets an id of its own unless it names one it already has.
    if (id != 0 && Find(nullptr, id, false) != nullptr) return Add(nullptr, id, elapse, proc, false);
    UINT_PTR fresh = s.nextThreadTimer++;
    while (Find(nullptr, fresh, false) != nullptr) fresh = s.nextThreadTimer++;
    return Add(nullptr, fresh, elapse, proc, false);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto& v = S().timers;
    auto it = std::find_if(v.begin(), v.end(), [&](const Timer& t) { return !t.system && t.hwnd == hwnd && t.id == id; });
    if (it == v.end()) return FALSE;
    v.erase(it);
    // A WM_TIMER already retrieved is not taken back; none is queued, so nothing
    // else remains to remove.
    return TRUE;
}
