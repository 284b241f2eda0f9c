// A frame with a plain view and docking at every edge, and a CControlBarEx made in
// it and docked where a test asks; pixel helpers for the bar's window.
#pragma once

#include <gtest/gtest.h>

#include "controlbar/control_bar_ex.h"
#include "framework/app/afxwin.h"
#include "framework/app/dock_bar.h"
#include "framework/app/window_dc.h"
#include "framework/gdi/sysmetrics.h"
#include "tq3view/testing.h"

namespace tq3::test {

constexpr UINT kBarId = AFX_IDW_CONTROLBAR_FIRST + 32;

class CPlainView : public CView {
public:
    void OnDraw(CDC* dc) override {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(&r, RGB(250, 250, 240));
    }
};

class BarTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = new CPlainView;
        frame = tq3::testing::CreateFrameWithView(view, RECT{20, 20, 820, 620}, u"bar test");
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(frame->EnableDocking(CBRS_ALIGN_ANY));
    }

    // Creates the bar (unless done) and docks it at `dockId`.
    void Dock(UINT dockId) {
        if (bar.m_hWnd == nullptr) {
            ASSERT_TRUE(bar.Create(frame, kBarId, u"Bar", CSize(200, 200), WS_CHILD | WS_VISIBLE | CBRS_LEFT));
            bar.EnableDocking(CBRS_ALIGN_ANY);
        }
        ASSERT_TRUE(frame->DockControlBar(&bar, dockId));
        desktop.RunUntilIdle();
        ASSERT_EQ(bar.dockBarId, dockId);
    }

    CRect WindowRect(CWnd& wnd) const {
        CRect r;
        wnd.GetWindowRect(&r);
        return r;
    }
    // A point of the bar's window (window coordinates) on the screen.
    CPoint ScreenOf(CPoint windowPoint) const {
        CRect window;
        bar.GetWindowRect(&window);
        return windowPoint + window.TopLeft();
    }

    tq3::testing::Desktop desktop{1024, 768};
    tq3::testing::TestApp app;
    CFrameWnd* frame = nullptr;
    CPlainView* view = nullptr;
    CControlBarEx bar;
};

}  // namespace tq3::test
