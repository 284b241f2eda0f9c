// Docking in real windows on a virtual X server: the pointer, moved by xdotool,
// drags a bar out of its frame into a floating frame of its own (a native window)
// and drags it back to an edge, where it docks again; the drag's rectangle shows
// over another program's window and the bare screen, and goes without a trace
// however the drag ends. Skipped only when no virtual X server is installed.
#include <SDL.h>
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

using Clock = std::chrono::steady_clock;

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

// Real windows on the virtual screen `screen`, started already: false when they
// cannot be had.
bool InstallRealWindows(const VirtualScreen& screen) {
    setenv("DISPLAY", screen.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    return tq3::fw::SdlBackend::InstallWindows() != nullptr;
}

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
        ASSERT_TRUE(InstallRealWindows(screen));
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

// The rectangle of a bar dragged out of the frame, with the pointer over the
// bare screen and over another program's window, shows there as an outline of
// black and white pixels; the drag ends with the screen as it was before it,
// whether it is cancelled by Escape, by another program taking the keyboard,
// or dropped back where the bar was docked.
TEST_F(DockingRealWindow, TheDragRectangleShowsOverTheWholeScreenAndLeavesNoTrace) {
    ASSERT_TRUE(OnPath("xlogo") && OnPath("import")) << "x11-apps and imagemagick are missing; scripts/setup.sh installs them";
    const CRect other(640, 380, 750, 580);  // under the right part of the rectangle
    Program logo({"xlogo", "-geometry", "110x200+640+380", "-bg", "#2080C0", "-fg", "#E03040"});
    ASSERT_TRUE(PumpUntil(
        [&] {
            Screenshot s = TakeScreenshot(kScreenWidth, kScreenHeight);
            return s.width != 0 && s.At(other.left + 2, other.top + 2) == 0x2080C0;
        },
        10.0))
        << "xlogo did not show";
    CRect frameRect;
    frame->GetWindowRect(&frameRect);
    const Screenshot before = TakeScreenshot(kScreenWidth, kScreenHeight);
    ASSERT_NE(before.width, 0);

    const POINT outside{620, 460};
    struct Ending {
        const char* how;
        std::function<bool()> end;
    };
    const Ending endings[] = {
        {"Escape", [] { return Xdotool("key Escape") && Xdotool("mouseup 1"); }},
        // The release goes to the other program; the user then comes back to
        // the frame (with a window manager, by a click), and the next press
        // there must still reach us and start a drag.
        {"another program takes the keyboard",
         [] {
             return Xdotool("search --name '^xlogo$' windowfocus --sync") && Xdotool("mouseup 1") &&
                    Xdotool("search --name '^Docking frame$' windowfocus --sync");
         }},
        {"dropped where it was docked",
         [&] { return Xdotool("mousemove --sync " + At(Grip())) && Xdotool("mouseup 1"); }},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.how);
        const POINT grip = Grip();
        ASSERT_TRUE(Xdotool("mousemove --sync " + At(grip)) && Xdotool("mousedown 1"));
        for (int step = 1; step <= 4; ++step)
            ASSERT_TRUE(Xdotool("mousemove --sync " + At(POINT{grip.x + (outside.x - grip.x) * step / 4,
                                                                grip.y + (outside.y - grip.y) * step / 4})));
        CDockContext* drag = CDockContext::GetActiveDrag();
        ASSERT_NE(drag, nullptr) << "no drag under way";
        ASSERT_TRUE(drag->IsFloatingTarget());
        const CRect rect = drag->m_rectLast;
        ASSERT_TRUE(rect.PtInRect(outside));
        CRect crossed;
        ASSERT_FALSE(crossed.IntersectRect(&rect, &frameRect)) << "the rectangle must lie outside our windows";
        ASSERT_TRUE(rect.left < other.left && rect.right > other.right && rect.top < other.bottom);

        // Mid-drag: the sides (4 pixels, the floating shape's) are black and
        // white over both; every other pixel of the screen is as it was.
        const Screenshot during = TakeScreenshot(kScreenWidth, kScreenHeight);
        ASSERT_NE(during.width, 0);
        int sides[2] = {0, 0}, changed[2] = {0, 0}, coloured = 0, colouredChanged = 0, blackOrWhite = 0, elsewhere = 0;
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                const bool inside = rect.PtInRect(POINT{x, y});
                const bool side = inside && (x < rect.left + 4 || x >= rect.right - 4 || y < rect.top + 4 ||
                                             y >= rect.bottom - 4);
                const uint32_t now = during.At(x, y);
                if (!side) {
                    elsewhere += now != before.At(x, y);
                    continue;
                }
                const int over = other.PtInRect(POINT{x, y}) ? 1 : 0;
                ++sides[over];
                changed[over] += now != before.At(x, y);
                blackOrWhite += now == 0x000000 || now == 0xFFFFFF;
                if (before.At(x, y) != 0x000000 && before.At(x, y) != 0xFFFFFF) {
                    ++coloured;
                    colouredChanged += now != before.At(x, y);
                }
            }
        }
        EXPECT_EQ(elsewhere, 0);
        EXPECT_EQ(blackOrWhite, sides[0] + sides[1]);
        EXPECT_GT(sides[0], 100);
        EXPECT_GT(sides[1], 100);
        EXPECT_GE(changed[1] * 10, sides[1] * 9) << "over the other program's window";
        EXPECT_GE(changed[0] * 10, sides[0] * 4) << "over the bare screen";
        EXPECT_EQ(colouredChanged, coloured);

        ASSERT_TRUE(ending.end());
        ASSERT_TRUE(PumpUntil([] { return CDockContext::GetActiveDrag() == nullptr; })) << "the drag did not end";
        EXPECT_EQ(DockIdOf(bar), AFX_IDW_DOCKBAR_TOP);
        PumpUntil([] { return false; }, 0.3);
        const Screenshot after = TakeScreenshot(kScreenWidth, kScreenHeight);
        ASSERT_NE(after.width, 0);
        EXPECT_EQ(DifferentPixels(after, before), 0) << "pixels changed by the drag";
    }
}

// A program killed in the middle of a drag takes the outline with it: the X
// server clears everything it showed, and the screen is bare again.
TEST(DockingRealWindowKilled, AProgramKilledMidDragLeavesNothingOnTheScreen) {
    if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (scripts/setup.sh installs it)";
    ASSERT_TRUE(OnPath("import")) << "imagemagick is missing; scripts/setup.sh installs it";
    VirtualScreen screen;
    ASSERT_TRUE(screen.Start()) << "Xvfb did not start";
    setenv("DISPLAY", screen.Display().c_str(), 1);
    const Screenshot bare = TakeScreenshot(kScreenWidth, kScreenHeight);
    ASSERT_NE(bare.width, 0);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t program = fork();
    if (program == 0) {
        // The program: its frame, a drag out of it, then waiting to be killed.
        close(ready[0]);
        CPlainBar bar;
        if (!InstallRealWindows(screen) || ShowFrameWithBar(bar) == nullptr) _exit(2);
        POINT grip{12, 12};
        ::ClientToScreen(bar.m_hWnd, &grip);
        bar.m_pDockContext->StartDrag(CPoint(grip));
        bar.m_pDockContext->Move(CPoint(650, 500));
        PumpOnce();
        const RECT shown = bar.m_pDockContext->m_rectLast;
        if (write(ready[1], &shown, sizeof shown) != static_cast<ssize_t>(sizeof shown)) _exit(3);
        for (;;) PumpUntil([] { return false; }, 1.0);
    }
    close(ready[1]);
    RECT shown{};
    pollfd wait{ready[0], POLLIN, 0};
    const bool dragging = poll(&wait, 1, 30000) == 1 && read(ready[0], &shown, sizeof shown) == sizeof shown;
    close(ready[0]);
    Screenshot during;
    if (dragging) during = TakeScreenshot(kScreenWidth, kScreenHeight);
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    ASSERT_TRUE(dragging) << "the program did not start its drag";
    ASSERT_NE(during.width, 0);
    // The outline showed over the bare screen: its top side is black and white.
    int white = 0;
    for (int x = shown.left; x < std::min<int>(shown.right, kScreenWidth); ++x) white += during.At(x, shown.top + 1) == 0xFFFFFF;
    EXPECT_GT(white, (shown.right - shown.left) / 4);
    ASSERT_TRUE(PumpUntil([&] { return DifferentPixels(TakeScreenshot(kScreenWidth, kScreenHeight), bare) == 0; }))
        << "the killed program left pixels on the screen";
}

}  // namespace
}  // namespace tq3::test
