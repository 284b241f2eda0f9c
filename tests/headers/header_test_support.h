// What the strip tests share: a plain parent window that records the header
// notifications it receives (with the fields the message spy does not keep), and
// reference pictures the strips' pixels are compared with.
#pragma once

#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include <string>
#include <vector>

#include "framework/controls/commctrl.h"
#include "tests/support/test_output.h"

namespace tq3::test {

// One WM_NOTIFY as the parent saw it.
struct Heard {
    HWND from = nullptr;
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
    BOOL OnNotify(WPARAM /*wParam*/, LPARAM lParam, LRESULT* pResult) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        Heard h;
        h.from = header->hwndFrom;
        if (header->code != TCN_SELCHANGE) {
            const auto* record = reinterpret_cast<const NMHEADERW*>(lParam);
            h.button = record->iButton;
            EXPECT_EQ(record->pitem, nullptr);
        }
        heard.push_back(h);
        if (pResult != nullptr) *pResult = 0;
        return TRUE;
    }
};

// A reference picture drawn by the test itself in a memory context of the given
// size, read back pixel by pixel: the oracle the strips' pixels are compared to.
class Reference {
public:
    Reference(int width, int height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateBitmap(width, height, 1, 32, nullptr);
        // The context's first bitmap is kept by handle: its wrapper is a temporary
        // one that idle time deletes.
        previous_ = dc.SelectObject(&bitmap)->GetSafeHandle();
        CRect all(0, 0, width, height);
        dc.FillSolidRect(&all, GetSysColor(COLOR_BTNFACE));
    }
    ~Reference() { ::SelectObject(dc.m_hDC, previous_); }
    // Pixels of the reference that differ from the window's in `rect` (client
    // coordinates of the window, and the same coordinates of the reference).
    int Differs(HWND window, const RECT& rect) const {
        return tq3::testing::CountDiffering(tq3::testing::CaptureWindow(window, rect),
                                            tq3::testing::CaptureDC(dc.m_hDC, rect));
    }
    CDC dc;

private:
    CBitmap bitmap;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace tq3::test
