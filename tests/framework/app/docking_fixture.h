// Shared by the docking tests: a frame with a view and dockable bars of known
// sizes, and the layout written out as text.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/window_dc.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/resources.h"
#include "tq3view/testing.h"

namespace tq3::test {

// A bar of fixed thickness: 30 pixels tall docked at the top or bottom, 50 wide
// at the left or right, as long as the edge; `floating` while it floats.
class CTestBar : public CControlBar {
public:
    static constexpr int kHorzThickness = 30;
    static constexpr int kVertThickness = 50;

    CSize floating{120, 80};
    int updates = 0;                     // OnUpdateCmdUI calls
    CFrameWnd* lastTarget = nullptr;     // the target of the last one

    using CWnd::Create;
    BOOL Create(CWnd* parent, UINT id, DWORD style, LPCWSTR title = u"Bar") {
        m_dwStyle = style & CBRS_ALL;
        LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
        return CWnd::Create(cls, title, WS_CHILD | (style & WS_VISIBLE), CRect(0, 0, 0, 0), parent, id);
    }
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override {
        if (horz) return CSize(stretch ? 32767 : 200, kHorzThickness);
        return CSize(kVertThickness, stretch ? 32767 : 200);
    }
    CSize CalcDynamicLayout(int length, DWORD mode) override {
        if (mode & (LM_HORZDOCK | LM_VERTDOCK)) return CalcFixedLayout(TRUE, (mode & LM_HORZDOCK) != 0);
        if (mode & LM_COMMIT) floating.cx = length;
        if (mode & LM_LENGTHY) floating.cy = length;
        return floating;
    }
    void OnUpdateCmdUI(CFrameWnd* target, BOOL) override {
        ++updates;
        lastTarget = target;
    }
};

// A view that paints itself plain.
class CPlainView : public CView {
public:
    void OnDraw(CDC* dc) override {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(&r, ::GetSysColor(COLOR_WINDOW));
    }
};

// A rectangle as "l,t,r,b".
inline std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A window's rectangle in its parent's client coordinates (screen for top-level ones).
inline CRect PlaceOf(HWND hwnd) {
    CRect r;
    ::GetWindowRect(hwnd, &r);
    if (HWND parent = ::GetParent(hwnd); parent != nullptr && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) {
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&r), 2);
    }
    return r;
}

class DockingTest : public ::testing::Test {
protected:
    static constexpr UINT kBarA = 0xE810;
    static constexpr UINT kBarB = 0xE811;

    void SetUp() override {
        view = new CPlainView;
        frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, 640, 480});
        ASSERT_NE(frame, nullptr);
        frameWindow = frame->m_hWnd;
    }
    void TearDown() override {
        if (::IsWindow(frameWindow)) ::DestroyWindow(frameWindow);
        desktop.RunUntilIdle();
    }

    // A dockable bar made in the frame and docked at `dockId` (0: leave it a plain child).
    CTestBar& MakeBar(CTestBar& bar, UINT id, UINT dockId, DWORD style = WS_VISIBLE | CBRS_TOP) {
        EXPECT_TRUE(bar.Create(frame, id, style));
        bar.EnableDocking(CBRS_ALIGN_ANY);
        if (dockId != 0) {
            EXPECT_TRUE(frame->DockControlBar(&bar, dockId));
        }
        desktop.RunUntilIdle();
        return bar;
    }

    CSize Client() const {
        CRect r;
        frame->GetClientRect(&r);
        return r.Size();
    }
    // A point of a window's client area on the screen.
    static POINT ScreenPoint(const CWnd& wnd, int x = 10, int y = 10) {
        POINT p{x, y};
        ::ClientToScreen(wnd.m_hWnd, &p);
        return p;
    }
    // The id of the dock bar that holds `bar` (AFX_IDW_DOCKBAR_FLOAT while it floats).
    static UINT DockId(const CControlBar& bar) { return static_cast<UINT>(::GetDlgCtrlID(::GetParent(bar.m_hWnd))); }
    // Presses at `from`, moves in two steps to `to`, and releases there when asked.
    void Drag(POINT from, POINT to, bool release = true) {
        desktop.AdvanceClock(1000);  // no double-click with the press before
        desktop.MouseDown(from);
        desktop.MouseMove(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
        desktop.MouseMove(to);
        if (release) desktop.MouseUp(to);
    }

    // The dock bars and the view as "top l,t,r,b | ... | view l,t,r,b".
    std::string Layout() const {
        std::string out;
        static constexpr std::pair<UINT, const char*> kDocks[] = {{AFX_IDW_DOCKBAR_TOP, "top"},
                                                                   {AFX_IDW_DOCKBAR_BOTTOM, "bottom"},
                                                                   {AFX_IDW_DOCKBAR_LEFT, "left"},
                                                                   {AFX_IDW_DOCKBAR_RIGHT, "right"}};
        for (auto [id, name] : kDocks) {
            CDockBar* dock = frame->GetDockBar(id);
            if (dock != nullptr) out += std::string(name) + " " + Text(PlaceOf(dock->m_hWnd)) + " | ";
        }
        return out + "view " + Text(PlaceOf(view->m_hWnd));
    }

    tq3::testing::Desktop desktop{1024, 768};
    tq3::testing::TestApp app;
    CPlainView* view = nullptr;
    CFrameWnd* frame = nullptr;
    HWND frameWindow = nullptr;  // the frame object deletes itself with its window
};

}  // namespace tq3::test
