// The hook chains (see hooks.h).
//
// Call flow: CreateWindowExW -> RunCreationHooks -> CallFrom(newest) -> a hook
// -> CallNextHookEx -> CallFrom(the next older) -> ... -> 0 past the oldest.
#include "framework/window/hooks.h"

#include <algorithm>
#include <new>

#include "framework/window/wm_internal.h"

using namespace tq3::fw::wm;

namespace {

// The place in the chain (oldest first) of the hook now running, -1 when none
// runs, and how many hook calls are in progress. A hook taken out while calls
// are in progress only loses its procedure, so that every place stays valid;
// the chain is compacted when the outermost call ends.
int g_running = -1;
int g_depth = 0;

void Compact() {
    auto& chain = S().creationHooks;
    chain.erase(std::remove_if(chain.begin(), chain.end(), [](const CreationHook& h) { return h.proc == nullptr; }),
                chain.end());
}

// Calls the newest hook still in the chain at or below `place`; 0 when none.
LRESULT CallFrom(int place, int code, WPARAM wParam, LPARAM lParam) {
    auto& chain = S().creationHooks;
    place = std::min(place, static_cast<int>(chain.size()) - 1);
    while (place >= 0 && chain[static_cast<size_t>(place)].proc == nullptr) --place;
    if (place < 0) return 0;
    HOOKPROC proc = chain[static_cast<size_t>(place)].proc;
    int saved = g_running;
    g_running = place;
    ++g_depth;
    LRESULT result = proc(code, wParam, lParam);
    g_running = saved;
    if (--g_depth == 0) Compact();
    return result;
}

}  // namespace

namespace tq3::fw::wm {

bool RunCreationHooks(Window* w, CREATESTRUCTW* cs) {
    if (S().creationHooks.empty()) return true;
    CBT_CREATEWNDW info{cs, HWND_TOP};
    return CallFrom(static_cast<int>(S().creationHooks.size()) - 1, HCBT_CREATEWND,
                    reinterpret_cast<WPARAM>(w->handle), reinterpret_cast<LPARAM>(&info)) == 0;
}

}  // namespace tq3::fw::wm

HHOOK SetWindowsHookExW(int kind, HOOKPROC proc, HINSTANCE, DWORD) {
    if (kind != WH_CBT || proc == nullptr) return nullptr;
    static UINT_PTR lastId = 0;
    try {
        HHOOK hook = reinterpret_cast<HHOOK>(++lastId);
        S().creationHooks.push_back(CreationHook{hook, proc});
        return hook;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    auto& chain = S().creationHooks;
    auto found = std::find_if(chain.begin(), chain.end(),
                              [hook](const CreationHook& h) { return h.hook == hook && h.proc != nullptr; });
    if (hook == nullptr || found == chain.end()) return FALSE;
    found->proc = nullptr;
    if (g_depth == 0) Compact();
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK, int code, WPARAM wParam, LPARAM lParam) {
    return g_running < 0 ? 0 : CallFrom(g_running - 1, code, wParam, lParam);
}
