// A small per-test message log for window-manager tests: a window class whose
// procedure records every message it sees (and lets a test override single
// messages), so tests can state the order in which messages arrive.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/winuser.h"

namespace tq3::fw::testing {

struct LoggedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageLog {
public:
    static MessageLog& Get() {
        static MessageLog log;
        return log;
    }
    std::vector<LoggedMessage> entries;
    // Per window (or nullptr for every window) overrides: return true to skip DefWindowProc.
    std::map<std::pair<HWND, UINT>, std::function<LRESULT(HWND, WPARAM, LPARAM)>> handlers;
    static std::vector<UINT> Noise() {
        return {WM_NCHITTEST, WM_SETCURSOR, WM_GETMINMAXINFO, WM_NCPAINT, WM_ERASEBKGND,
                WM_PAINT,     WM_GETTEXT,   WM_GETTEXTLENGTH, WM_CTLCOLORSTATIC};
    }
    std::vector<UINT> ignored = Noise();

    void Clear() { entries.clear(); }
    // Messages of one window, in order, without the noisy ones.
    std::vector<UINT> Of(HWND h) const {
        std::vector<UINT> out;
        for (auto& e : entries) {
            if (e.hwnd == h && !IsIgnored(e.message)) out.push_back(e.message);
        }
        return out;
    }
    // Messages of all windows, as (window, message), without the noisy ones.
    std::vector<std::pair<HWND, UINT>> All() const {
        std::vector<std::pair<HWND, UINT>> out;
        for (auto& e : entries) {
            if (!IsIgnored(e.message)) out.emplace_back(e.hwnd, e.message);
        }
        return out;
    }
    std::vector<LoggedMessage> Find(HWND h, UINT msg) const {
        std::vector<LoggedMessage> out;
        for (auto& e : entries) {
            if (e.hwnd == h && e.message == msg) out.push_back(e);
        }
        return out;
    }
    bool IsIgnored(UINT m) const {
        for (UINT i : ignored) {
            if (i == m) return true;
        }
        return false;
    }

    static LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        MessageLog& log = Get();
        log.entries.push_back(LoggedMessage{h, m, w, l});
        auto it = log.handlers.find({h, m});
        if (it == log.handlers.end()) it = log.handlers.find({nullptr, m});
        if (it != log.handlers.end()) return it->second(h, w, l);
        return DefWindowProcW(h, m, w, l);
    }
};

// Installs a fresh headless desktop and registers the logging classes.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop = HeadlessBackend::Install(640, 480);
        MessageLog::Get().entries.clear();
        MessageLog::Get().handlers.clear();
        MessageLog::Get().ignored = MessageLog::Noise();
        Register(kClass, 0);
        Register(kDblClass, CS_DBLCLKS);
    }
    void TearDown() override { ResetWindowManager(); }

    static void Register(LPCWSTR name, UINT style) {
        WNDCLASSW wc{};
        if (GetClassInfoW(nullptr, name, &wc)) return;
        wc.style = style;
        wc.lpfnWndProc = MessageLog::Proc;
        wc.lpszClassName = name;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        ASSERT_NE(RegisterClassW(&wc), 0);
    }

    HWND Top(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT r = {10, 10, 310, 210}) {
        return CreateWindowExW(0, kClass, u"top", style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                               nullptr, nullptr, nullptr);
    }
    HWND Child(HWND parent, RECT r, DWORD style = WS_CHILD | WS_VISIBLE, int id = 1, LPCWSTR cls = kClass) {
        return CreateWindowExW(0, cls, u"child", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }
    static POINT ScreenPoint(HWND h, int x, int y) {
        POINT p{x, y};
        ClientToScreen(h, &p);
        return p;
    }
    MessageLog& log() { return MessageLog::Get(); }
    void On(HWND h, UINT m, std::function<LRESULT(HWND, WPARAM, LPARAM)> f) { log().handlers[{h, m}] = std::move(f); }

    static constexpr const WCHAR* kClass = u"TestWindow";
    static constexpr const WCHAR* kDblClass = u"TestDblWindow";
    HeadlessBackend* desktop = nullptr;
};

}  // namespace tq3::fw::testing
