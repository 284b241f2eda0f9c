// A headless desktop with a plain parent window for control tests: the parent
// keeps a copy of every WM_DRAWITEM record it gets (the record lives only during
// the call), paints owner-drawn buttons and makes owner-drawn items 21 pixels
// tall; everything else goes to the default procedure, so notifications are
// watched with the harness's message spy.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls/button.h"
#include "framework/controls/list_box.h"
#include "framework/controls/static_control.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/icons.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/support/spy_expect.h"
#include "tq3view/testing.h"

namespace tq3::test {

using tq3::testing::CaptureWindow;
using tq3::testing::WindowPixel;

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = ParentProc;
            wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
            wc.lpszClassName = u"ControlsTestParent";
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        drawn().clear();
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

    // Pixels of `r` darker than `limit` in every channel (black ink), or with
    // `brighter`, lighter than it in every channel.
    static int CountBeyond(HWND hwnd, RECT r, int limit, bool brighter = false) {
        return CaptureWindow(hwnd, r).CountIf([=](COLORREF c) {
            const int lo = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
            const int hi = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
            return brighter ? lo > limit : hi < limit;
        });
    }
    static int CountDark(HWND hwnd, RECT r) { return CountBeyond(hwnd, r, 80); }

    static std::vector<DRAWITEMSTRUCT>& drawn() {
        static std::vector<DRAWITEMSTRUCT> items;
        return items;
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

    static constexpr UINT kOwnerItemHeight = 21;

    tq3::testing::Desktop desktop{640, 480};
    HWND parent = nullptr;

private:
    // An owner-drawn button as the parent paints it: a tinted face, sunken while
    // pressed, with its text.
    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_MEASUREITEM) {
            // Owner-drawn lists get items of a height no font gives.
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kOwnerItemHeight;
            return TRUE;
        }
        if (message != WM_DRAWITEM) return DefWindowProcW(hwnd, message, wParam, lParam);
        const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        drawn().push_back(item);
        RECT r = item.rcItem;
        const bool pressed = (item.itemState & ODS_SELECTED) != 0;
        DrawEdge(item.hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        HBRUSH tint = CreateSolidBrush(pressed ? RGB(170, 200, 240) : RGB(200, 225, 255));
        FillRect(item.hDC, &r, tint);
        DeleteObject(tint);
        WCHAR text[64] = {};
        GetWindowTextW(item.hwndItem, text, 64);
        SetBkMode(item.hDC, TRANSPARENT);
        DrawTextW(item.hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return TRUE;
    }
};

// A square icon of one opaque colour.
inline HICON SolidIcon(int size, COLORREF color) {
    std::vector<DWORD> pixels(static_cast<size_t>(size * size), tq3::fw::ToPixel(color));
    std::vector<BYTE> mask(static_cast<size_t>((size + 15) / 16 * 2 * size), 0);  // all opaque
    HBITMAP c = CreateBitmap(size, size, 1, 32, pixels.data());
    HBITMAP m = CreateBitmap(size, size, 1, 1, mask.data());
    ICONINFO info{TRUE, 0, 0, m, c};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(c);
    DeleteObject(m);
    return icon;
}

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

// A WM_COMMAND notification from the control `id`.
inline tq3::testing::Expect Command(WORD code, WORD id = 100) {
    return tq3::testing::Msg(WM_COMMAND).WParam(MAKEWPARAM(id, code));
}

}  // namespace tq3::test
