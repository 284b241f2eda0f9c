// The window manager's tests: a fresh headless desktop, two window classes the
// harness's spy watches from creation on (one with double clicks), and per-window
// overrides of single messages; everything else goes to DefWindowProc.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/winuser.h"
#include "tests/support/spy_expect.h"
#include "tq3view/testing.h"

namespace tq3::test {

using tq3::testing::Msg;
using Button = tq3::fw::InputEvent::Button;

class WindowTest : public ::testing::Test {
protected:
    using Handler = std::function<LRESULT(HWND, WPARAM, LPARAM)>;

    void SetUp() override {
        Handlers().clear();
        Register(kClass, 0);
        Register(kDblClass, CS_DBLCLKS);
        ASSERT_TRUE(spy.WatchClass(kClass));
        ASSERT_TRUE(spy.WatchClass(kDblClass));
        // Asked of every window as it is made, moved or drawn: noise here.
        spy.Ignore({WM_GETMINMAXINFO, WM_GETTEXT, WM_GETTEXTLENGTH, WM_CTLCOLORSTATIC});
    }

    // Registers a class whose procedure runs the overrides; `cursor` and
    // `background` as WNDCLASS takes them.
    static void Register(LPCWSTR name, UINT style, HCURSOR cursor = LoadCursorW(nullptr, IDC_ARROW),
                         HBRUSH background = nullptr) {
        WNDCLASSW wc{};
        if (GetClassInfoW(nullptr, name, &wc)) return;
        wc.style = style;
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = name;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        ASSERT_NE(RegisterClassW(&wc), 0);
    }

    HWND Top(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT r = {10, 10, 310, 210}, LPCWSTR cls = kClass) {
        return CreateWindowExW(0, cls, u"top", style, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
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
    // `f` answers message `m` in window `h` (any window of the classes when null).
    static void On(HWND h, UINT m, Handler f) { Handlers()[{h, m}] = std::move(f); }

    // What the spy recorded for one window, as a list of messages.
    std::vector<UINT> Of(HWND h) const {
        std::vector<UINT> messages;
        for (const auto& record : spy.LogOf(h)) messages.push_back(record.message);
        return messages;
    }
    size_t Count(HWND h, UINT m) const { return spy.Find(h, m).size(); }

    static constexpr const WCHAR* kClass = u"TestWindow";
    static constexpr const WCHAR* kDblClass = u"TestDblWindow";
    tq3::testing::Desktop desktop{640, 480};
    tq3::fw::HeadlessBackend& backend = desktop.Backend();
    tq3::testing::MessageSpy spy;

private:
    static std::map<std::pair<HWND, UINT>, Handler>& Handlers() {
        static std::map<std::pair<HWND, UINT>, Handler> handlers;
        return handlers;
    }
    static LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto& handlers = Handlers();
        auto it = handlers.find({h, m});
        if (it == handlers.end()) it = handlers.find({nullptr, m});
        if (it != handlers.end()) return it->second(h, w, l);
        return DefWindowProcW(h, m, w, l);
    }
};

}  // namespace tq3::test
