// Docking in real windows on a virtual X server: the pointer, moved by xdotool,
// drags a bar out of its frame into a floating frame of its own (a native window)
// and drags it back to an edge, where it docks again; the drag's outline shows on
// the bare screen and goes without a trace when Escape ends the drag. Skipped
// only when no virtual X server is installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/app/window_dc.h"
#include "framework/backends/headless/headless_backend.h"
#include "framework/backends/sdl/sdl_backend.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/support/virtual_screen.h"

namespace tq3::test {
namespace {

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

// The whole X screen as ImageMagick reads it from the server: 0xRRGGBB a pixel.
struct Screenshot {
    int width = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

Screenshot TakeScreenshot(int width, int height) {
    Screenshot shot;
    FILE* pipe = popen("import -window root -depth 8 rgb:- 2>/dev/null", "r");
    if (pipe == nullptr) return shot;
    std::vector<unsigned char> bytes(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), pipe);
    pclose(pipe);
    if (got != bytes.size()) return shot;
    shot.width = width;
    for (size_t i = 0; i < bytes.size(); i += 3)
        shot.pixels.push_back(uint32_t{bytes[i]} << 16 | uint32_t{bytes[i + 1]} << 8 | bytes[i + 2]);
    return shot;
}

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// A frame with `bar` docked at its top, shown and painted.
CFrameWnd* ShowFrameWithBar(CPlainBar& bar) {
    CCreateContext context;
    context.m_pNewView = new CPlainView;
    auto* frame = new CFrameWnd;
    if (!frame->Create(nullptr, u"Docking frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 560, 460), nullptr,
                       nullptr, 0, &context) ||
        !frame->EnableDocking(CBRS_ALIGN_ANY))
        return nullptr;
    bar.SetBarStyle(CBRS_TOP | CBRS_BORDER_ANY);
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    if (!bar.Create(cls, u"Floating bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, 0xE810)) return nullptr;
    bar.EnableDocking(CBRS_ALIGN_ANY);
    if (!frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP)) return nullptr;
    PumpUntil([] { return false; }, 0.5);  // mapped and painted
    return frame;
}

int DifferentPixels(const Screenshot& a, const Screenshot& b) {
    int count = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i];
    return count;
}

class DockingRealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (scripts/setup.sh installs it)";
        ASSERT_TRUE(OnPath("xdotool")) << "xdotool is missing; scripts/setup.sh installs it";
        ASSERT_TRUE(screen.Start()) << "Xvfb did not start";
        setenv("DISPLAY", screen.Display().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        ASSERT_NE(tq3::fw::SdlBackend::InstallWindows(), nullptr);
        frame = ShowFrameWithBar(bar);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override {
        if (frame != nullptr && frame->m_hWnd != nullptr) frame->DestroyWindow();
        // While the X server is still there to see the windows go.
        tq3::fw::HeadlessBackend::Install(640, 480);
    }
    POINT Grip() const {
        POINT grip{12, 12};
        ::ClientToScreen(bar.m_hWnd, &grip);
        return grip;
    }

    VirtualScreen screen;
    CFrameWnd* frame = nullptr;
    CPlainBar bar;
};

TEST_F(DockingRealWindow, DraggingABarWithThePointerFloatsItAndDraggingItBackDocksIt) {
    // Out of the frame: a press on the bar, a drag to the middle of the view.
    POINT grip = Grip();
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
}

// The outline of a bar dragged out of the frame shows on the bare screen in black
// and white, and Escape ends the drag with the screen as it was before it.
TEST_F(DockingRealWindow, TheDragOutlineShowsOnTheScreenAndEscapeLeavesNoTrace) {
    ASSERT_TRUE(OnPath("import")) << "imagemagick is missing; scripts/setup.sh installs it";
    const Screenshot before = TakeScreenshot(kScreenWidth, kScreenHeight);
    ASSERT_NE(before.width, 0);
    const POINT grip = Grip(), outside{620, 460};
    ASSERT_TRUE(Xdotool("mousemove --sync " + At(grip)) && Xdotool("mousedown 1"));
    for (int step = 1; step <= 4; ++step)
        ASSERT_TRUE(Xdotool("mousemove --sync " + At(POINT{grip.x + (outside.x - grip.x) * step / 4,
                                                            grip.y + (outside.y - grip.y) * step / 4})));
    CDockContext* drag = CDockContext::GetActiveDrag();
    ASSERT_NE(drag, nullptr) << "no drag under way";
    const CRect rect = drag->m_rectLast;
    ASSERT_TRUE(rect.PtInRect(outside));
    const Screenshot during = TakeScreenshot(kScreenWidth, kScreenHeight);
    ASSERT_NE(during.width, 0);
    // The top side (4 pixels, the floating shape's), where it lies on the screen.
    int side = 0, blackOrWhite = 0;
    for (int y = rect.top; y < rect.top + 4; ++y)
        for (int x = std::max(0, int{rect.left}); x < std::min(kScreenWidth, int{rect.right}); ++x) {
            ++side;
            blackOrWhite += during.At(x, y) == 0x000000 || during.At(x, y) == 0xFFFFFF;
        }
    EXPECT_GT(side, 100);
    EXPECT_EQ(blackOrWhite, side);
    EXPECT_GT(DifferentPixels(during, before), side / 4);
    ASSERT_TRUE(Xdotool("key Escape") && Xdotool("mouseup 1"));
    ASSERT_TRUE(PumpUntil([] { return CDockContext::GetActiveDrag() == nullptr; })) << "the drag did not end";
    EXPECT_EQ(DockIdOf(bar), AFX_IDW_DOCKBAR_TOP);
    PumpUntil([] { return false; }, 0.3);
    EXPECT_EQ(DifferentPixels(TakeScreenshot(kScreenWidth, kScreenHeight), before), 0) << "pixels changed by the drag";
}

}  // namespace
}  // namespace tq3::test
