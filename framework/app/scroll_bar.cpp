#include "framework/app/scroll_bar.h"

#include <memory>
#include <new>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

// Scroll-bar objects made for controls that have no permanent object; they live
// as long as the process, one per handle, and are dropped when their window dies.
std::unordered_map<HWND, std::unique_ptr<CScrollBar>>& TemporaryBars() {
    static std::unordered_map<HWND, std::unique_ptr<CScrollBar>> bars;
    return bars;
}

}  // namespace

CScrollBar* tq3::fw::msgmap::ScrollBarFromParam(LPARAM value) {
    auto hwnd = reinterpret_cast<HWND>(value);
    if (hwnd == nullptr || !::IsWindow(hwnd)) return nullptr;
    if (auto* bar = dynamic_cast<CScrollBar*>(CWnd::FromHandlePermanent(hwnd))) return bar;
    auto& bars = TemporaryBars();
    for (auto it = bars.begin(); it != bars.end();) {
        if (!::IsWindow(it->first)) {
            it->second->m_hWnd = nullptr;
            it = bars.erase(it);
        } else {
            ++it;
        }
    }
    auto found = bars.find(hwnd);
    if (found != bars.end()) return found->second.get();
    try {
        auto bar = std::make_unique<CScrollBar>();
        bar->m_hWnd = hwnd;
        return bars.emplace(hwnd, std::move(bar)).first->second.get();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
