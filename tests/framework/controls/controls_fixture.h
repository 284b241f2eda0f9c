// A headless desktop with a plain parent window for control tests, whose
// notifications are watched with the harness's message spy.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls/list_box.h"
#include "framework/gdi/sysmetrics.h"
#include "tq3view/testing.h"

namespace tq3::test {

using tq3::testing::CaptureWindow;
using tq3::testing::WindowPixel;

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
            wc.lpszClassName = u"ControlsTestParent";
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        parent = CreateWindowExW(0, u"ControlsTestParent", u"Parent", WS_POPUP | WS_VISIBLE, 20, 20, 400, 300,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        desktop.RunUntilIdle();
    }

    // A child control of the parent, shown and painted.
    HWND Make(LPCWSTR cls, LPCWSTR text, DWORD style, RECT r, int id = 100) {
        HWND hwnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                                    r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(id)),
                                    nullptr, nullptr);
        desktop.RunUntilIdle();
        return hwnd;
    }

    // Pixels of `r` darker than 80 in every channel: black ink.
    static int CountDark(HWND hwnd, RECT r) {
        return CaptureWindow(hwnd, r).CountIf([](COLORREF c) {
            return std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) < 80;
        });
    }

    // `spy` keeps the notifications (WM_COMMAND) the parent receives from now on.
    void WatchCommands(tq3::testing::MessageSpy& spy) const {
        spy.Watch(parent, "parent");
        spy.KeepOnly({WM_COMMAND});
    }
    // The notification codes the parent received, in order.
    std::vector<WORD> Heard(const tq3::testing::MessageSpy& spy) const {
        std::vector<WORD> codes;
        for (const auto& r : spy.Find(parent, WM_COMMAND)) codes.push_back(HIWORD(r.wParam));
        return codes;
    }

    tq3::testing::Desktop desktop{640, 480};
    HWND parent = nullptr;
};

// A key and the modifiers held with it.
struct Key {
    int vk;
    UINT modifiers = tq3::testing::kNoModifiers;
};

// A table row's action: the control takes the focus and `keys` are pressed in turn.
inline std::function<void(tq3::testing::Desktop&, HWND)> Keys(std::vector<Key> keys) {
    return [keys](tq3::testing::Desktop& d, HWND hwnd) {
        SetFocus(hwnd);
        for (const Key& k : keys) d.KeyPress(k.vk, k.modifiers);
    };
}

// A table row's action: the control takes the focus, `keys` are pressed and `text` is typed.
inline std::function<void(tq3::testing::Desktop&, HWND)> Typed(std::u16string text, std::vector<Key> keys = {}) {
    return [text, keys](tq3::testing::Desktop& d, HWND hwnd) {
        Keys(keys)(d, hwnd);
        d.Type(text);
    };
}

}  // namespace tq3::test
