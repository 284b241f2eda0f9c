// Docking in real windows on a virtual X server: the pointer, moved by xdotool,
// drags a bar out of its frame into a floating frame of its own (a native window)
// and drags it back to an edge, where it docks again. Skipped only when no
// virtual X server is installed.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include "framework/app/afxwin.h"
#include "framework/app/window_dc.h"
#include "framework/backends/headless/headless_backend.h"
#include "framework/backends/sdl/sdl_backend.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/support/virtual_screen.h"

namespace tq3::test {
namespace {

using Clock = std::chrono::steady_clock;

bool OnPath(const std::string& program) {
    return std::system(("command -v '" + program + "' >/dev/null 2>&1").c_str()) == 0;
}

void PumpOnce() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (!CWnd::WalkPreTranslateTree(nullptr, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
}

bool PumpUntil(const std::function<bool()>& done, double seconds = 5.0) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (PumpOnce(); !done() && Clock::now() < end; PumpOnce()) SDL_Delay(5);
    return done();
}

// Runs xdotool with `args`, then lets the events it made arrive.
bool Xdotool(const std::string& args) {
    bool ok = std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
    PumpUntil([] { return false; }, 0.15);
    return ok;
}

std::string At(POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

// Presses at `from`, moves in steps to `to` and releases there.
bool DragWithPointer(POINT from, POINT to) {
    bool ok = Xdotool("mousemove --sync " + At(from)) && Xdotool("mousedown 1");
    for (int step = 1; step <= 4; ++step) {
        POINT p{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4};
        ok = ok && Xdotool("mousemove --sync " + At(p));
    }
    return ok && Xdotool("mouseup 1");
}

class CPlainBar : public CControlBar {
public:
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override {
        int length = stretch ? 32767 : 200;
        return horz ? CSize(length, 40) : CSize(60, length);
    }
    CSize CalcDynamicLayout(int, DWORD mode) override {
        if (mode & (LM_HORZDOCK | LM_VERTDOCK)) return CalcFixedLayout(TRUE, (mode & LM_HORZDOCK) != 0);
        return CSize(160, 100);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

class CPlainView : public CView {
public:
    void OnDraw(CDC* dc) override {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(&r, ::GetSysColor(COLOR_WINDOW));
    }
};

UINT DockIdOf(const CControlBar& bar) { return static_cast<UINT>(::GetDlgCtrlID(::GetParent(bar.m_hWnd))); }

TEST(DockingRealWindow, DraggingABarWithThePointerFloatsItAndDraggingItBackDocksIt) {
    if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (scripts/setup.sh installs it)";
    ASSERT_TRUE(OnPath("xdotool")) << "xdotool is missing; scripts/setup.sh installs it";
    VirtualScreen screen;
    ASSERT_TRUE(screen.Start()) << "Xvfb did not start";
    setenv("DISPLAY", screen.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    ASSERT_NE(tq3::fw::SdlBackend::InstallWindows(), nullptr);

    CCreateContext context;
    context.m_pNewView = new CPlainView;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, u"Docking frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 560, 460),
                              nullptr, nullptr, 0, &context));
    ASSERT_TRUE(frame->EnableDocking(CBRS_ALIGN_ANY));
    CPlainBar bar;
    bar.SetBarStyle(CBRS_TOP | CBRS_BORDER_ANY);
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    ASSERT_TRUE(bar.Create(cls, u"Floating bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, 0xE810));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP));
    PumpUntil([] { return false; }, 0.5);  // mapped and painted

    // Out of the frame: a press on the bar, a drag to the middle of the view.
    POINT grip{12, 12};
    ::ClientToScreen(bar.m_hWnd, &grip);
    CRect client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    ASSERT_TRUE(DragWithPointer(grip, client.CenterPoint()));
    ASSERT_TRUE(PumpUntil([&] { return bar.IsFloating(); })) << "the bar did not float";
    CFrameWnd* floating = bar.GetParentFrame();
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsWindowVisible());
    EXPECT_EQ(::GetParent(floating->m_hWnd), frame->m_hWnd);  // owned by the frame
    EXPECT_EQ(::GetCapture(), nullptr);

    // Back by its client area to the frame's left edge.
    POINT inFloating{12, 12};
    ::ClientToScreen(bar.m_hWnd, &inFloating);
    ASSERT_TRUE(DragWithPointer(inFloating, POINT{client.left + 6, client.CenterPoint().y}));
    ASSERT_TRUE(PumpUntil([&] { return !bar.IsFloating() && bar.m_hWnd != nullptr; })) << "the bar did not dock";
    EXPECT_EQ(DockIdOf(bar), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(CDockContext::GetActiveDrag(), nullptr);

    frame->DestroyWindow();
    tq3::fw::HeadlessBackend::Install(640, 480);
}

}  // namespace
}  // namespace tq3::test
