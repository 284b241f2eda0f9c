// What the strip tests share: a plain parent window that records the header
// notifications it receives (with the fields the message spy does not keep), and
// pixel helpers that read the desktop surface in a window's client coordinates.
#pragma once

#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/controls/commctrl.h"
#include "framework/gdi/png_image.h"
#include "framework/gdi/surface.h"
#include "framework/window/gdi_seam.h"

namespace tq3::test {

// One WM_NOTIFY as the parent saw it.
struct Heard {
    UINT code = 0;
    UINT_PTR id = 0;
    HWND from = nullptr;
    int item = 0;
    int button = 0;
};

class NotifyParent : public CWnd {
public:
    BOOL Make(const RECT& rect) {
        LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_WINDOW));
        return CreateEx(0, cls, u"parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
    }

    std::vector<Heard> heard;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        Heard h;
        h.code = header->code;
        h.id = wParam;
        h.from = header->hwndFrom;
        if (header->code != TCN_SELCHANGE) {
            const auto* record = reinterpret_cast<const NMHEADERW*>(lParam);
            h.item = record->iItem;
            h.button = record->iButton;
            EXPECT_EQ(record->pitem, nullptr);
        }
        heard.push_back(h);
        if (pResult != nullptr) *pResult = 0;
        return TRUE;
    }
};

// The desktop pixel at a client point of `window`.
inline tq3::fw::Pixel PixelAt(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return tq3::fw::DesktopSurface().At(p.x, p.y);
}

inline tq3::fw::Pixel SysPixel(int index) { return tq3::fw::ToPixel(GetSysColor(index)); }

// Pixels of `rect` (client coordinates of `window`) that differ from `background`.
inline int InkIn(HWND window, const RECT& rect, tq3::fw::Pixel background) {
    int ink = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) ink += PixelAt(window, x, y) != background ? 1 : 0;
    }
    return ink;
}

struct Span {
    int first = -1;
    int last = -1;
};

// The leftmost and rightmost columns of `rect` holding a pixel unlike `background`
// ({-1, -1} when there is none).
inline Span InkSpan(HWND window, const RECT& rect, tq3::fw::Pixel background) {
    int first = -1;
    int last = -1;
    for (int x = rect.left; x < rect.right; ++x) {
        for (int y = rect.top; y < rect.bottom; ++y) {
            if (PixelAt(window, x, y) != background) {
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
    }
    return Span{first, last};
}

// Saves the window's client area as a PNG into the test output folder and
// returns its path (empty when it could not be written).
inline std::string SaveClientPng(HWND window, const std::string& name) {
    const char* env = std::getenv("TQ3_TEST_OUTPUT");
    std::filesystem::path dir = env != nullptr ? env : ".";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    const std::string path = (dir / name).string();
    return tq3::fw::SavePng(tq3::fw::DesktopSurface(), &client, path) ? path : std::string();
}

// A reference picture drawn by the test itself in a memory context of the given
// size, read back pixel by pixel: the oracle the strips' pixels are compared to.
class Reference {
public:
    Reference(int width, int height) : width_(width), height_(height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(width, height, 1, 32, nullptr);
        // The context's first bitmap is kept by handle: its wrapper is a temporary
        // one that idle time deletes.
        previous_ = dc.SelectObject(&bitmap)->GetSafeHandle();
        CRect all(0, 0, width, height);
        dc.FillSolidRect(&all, GetSysColor(COLOR_BTNFACE));
    }
    ~Reference() { ::SelectObject(dc.m_hDC, previous_); }
    tq3::fw::Pixel At(int x, int y) const { return tq3::fw::ToPixel(dc.GetPixel(x, y)); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    CDC dc;

private:
    CBitmap bitmap;
    HGDIOBJ previous_ = nullptr;
    int width_;
    int height_;
};

// Pixels of `rect` (client coordinates) that differ between the window and the
// reference, whose (0, 0) lies at the window's client `origin`.
inline int DiffersFromReference(HWND window, const Reference& ref, const RECT& rect, POINT origin = {0, 0}) {
    int differing = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            differing += PixelAt(window, x, y) != ref.At(x - origin.x, y - origin.y) ? 1 : 0;
        }
    }
    return differing;
}

}  // namespace tq3::test
