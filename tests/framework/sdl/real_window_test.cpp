// The interactive backend in real windows on a virtual X server: every top-level
// window under a window manager is a system window of its own, placed, titled,
// moved, sized, closed and painted as the framework's, a combo box's list opening
// and closing by a synthetic pointer from xdotool; a modal dialog keeps the input
// from its owner until Escape ends it; an X error for a window that went ends
// nothing; no display gives a clear error.
// Skipped only when no virtual X server is installed.
#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <string>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/backends/sdl/sdl_backend.h"
#include "framework/window/interactive.h"
#include "framework/controls/combo_box.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/message_box.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/winuser.h"
#include "tests/support/virtual_screen.h"

namespace tq3::test {

bool SendToAGoneWindow();  // x_requests.cpp: Xlib's names stay out of this file

namespace {

using tq3::fw::SdlBackend;
using Clock = std::chrono::steady_clock;

// ---- Programs ----------------------------------------------------------------

void PumpFor(double seconds) { PumpUntil([] { return false; }, seconds); }

// Runs a program while the queue keeps being pumped (the program may be asking
// this process about its windows); gives its standard output when `capture` and
// sets `status` to its exit status.
std::string RunTool(std::vector<std::string> args, int* status, bool capture = true) {
    int out[2] = {-1, -1};
    *status = -1;
    if (pipe(out) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(capture ? out[1] : open("/dev/null", O_WRONLY), 1);
        for (int fd : {out[0], out[1]}) close(fd);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    fcntl(out[0], F_SETFL, O_NONBLOCK);
    std::string text;
    bool reading = capture, exited = false;
    for (const auto end = Clock::now() + std::chrono::seconds(15); (reading || !exited) && Clock::now() < end;) {
        PumpOnce();
        pollfd p{out[0], POLLIN, 0};
        poll(&p, 1, 5);
        char buffer[4096];
        ssize_t n;
        while (reading && (n = read(out[0], buffer, sizeof(buffer))) >= 0) {
            if (n == 0) reading = false;
            text.append(buffer, static_cast<size_t>(n));
        }
        exited = exited || waitpid(pid, status, WNOHANG) == pid;
    }
    close(out[0]);
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, status, 0);
    }
    return text;
}
int RunTool(std::vector<std::string> args) {
    int status;
    RunTool(std::move(args), &status, false);
    return status;
}

// ---- The window under test -------------------------------------------------------

constexpr COLORREF kBackground = RGB(0x20, 0x80, 0xC0);  // "#2080C0" on the screen
constexpr COLORREF kMarker = RGB(0xE0, 0x30, 0x40);      // "#E03040"

std::vector<MSG> g_log;  // what the window received: message, wParam, lParam

LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    g_log.push_back(MSG{h, m, w, l, 0, {}});
    if (m != WM_PAINT) return DefWindowProcW(h, m, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HBRUSH marker = CreateSolidBrush(kMarker);
    const RECT rect{40, 40, 120, 100};
    FillRect(dc, &rect, marker);
    DeleteObject(marker);
    EndPaint(h, &ps);
    return 0;
}

std::vector<MSG> Find(UINT message) {
    std::vector<MSG> out;
    std::copy_if(g_log.begin(), g_log.end(), std::back_inserter(out), [&](const MSG& m) { return m.message == message; });
    return out;
}
bool Seen(UINT message, WPARAM wParam) {
    return std::any_of(g_log.begin(), g_log.end(), [&](const MSG& m) { return m.message == message && m.wParam == wParam; });
}
// The colour of a screen pixel as "#RRGGBB", read by ImageMagick from the X server.
std::string ScreenPixel(int x, int y) {
    int status = -1;
    const std::string crop = "1x1+" + std::to_string(x) + "+" + std::to_string(y);
    const std::string text = RunTool({"import", "-window", "root", "-crop", crop, "-depth", "8", "txt:-"}, &status);
    const size_t hash = text.find('#', text.find('\n'));
    return status == 0 && hash != std::string::npos ? text.substr(hash, 7) : "failed: " + text;
}

class RealWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Back to a headless desktop: the OS window closes with the backend, while
        // the X server is still there to see it go.
        tq3::fw::HeadlessBackend::Install(640, 480);
        g_log.clear();
    }
    // Starts the virtual X server for SDL's real X driver (a loud failure, never
    // SDL's silent off-screen driver); false when the test cannot run here.
    bool Start(std::initializer_list<const char*> tools) {
        if (!OnPath("Xvfb")) return false;
        for (const char* tool : tools) EXPECT_TRUE(OnPath(tool)) << tool << " is missing; scripts/setup.sh installs it";
        EXPECT_TRUE(screen.Start()) << "Xvfb did not start";
        setenv("DISPLAY", screen.Display().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        return !::testing::Test::HasFailure();
    }
    VirtualScreen screen;
};

#if defined(TQ3_WITH_XLIB)
// An X request naming a window that has gone (another client's, or one of ours
// raced by a second connection) ends nothing: Xlib's default would end the program.
TEST_F(RealWindowTest, AnXErrorForAWindowThatWentEndsNothing) {
    if (!Start({})) {
        if (HasFailure()) return;
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup.sh installs it)";
    }
    ASSERT_NE(SdlBackend::Install(320, 240, u"gone windows"), nullptr);
    EXPECT_TRUE(SendToAGoneWindow());
    HWND after = CreateWindowExW(0, u"Static", u"after", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_TRUE(IsWindow(after));
    DestroyWindow(after);
}
#endif

TEST(SdlBackendWithoutDisplay, InstallRefusesAndKeepsTheCurrentDesktop) {
    tq3::fw::HeadlessBackend* headless = tq3::fw::HeadlessBackend::Install(300, 200);
    // No display of any kind for the time of the test.
    std::vector<std::pair<const char*, std::string>> saved;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        if (const char* value = std::getenv(name)) saved.emplace_back(name, value);
        unsetenv(name);
    }
    // Asked through the framework, as a host asks, which opens the backend's module.
    ::testing::internal::CaptureStderr();
    const bool installed = tq3::fw::InstallInteractiveBackend(false, 320, 240, nullptr);
    const std::string said = ::testing::internal::GetCapturedStderr();
    for (const auto& [name, value] : saved) setenv(name, value.c_str(), 1);
    EXPECT_FALSE(installed);
    EXPECT_NE(said.find("no display"), std::string::npos) << said;
    EXPECT_EQ(SdlBackend::Current(), nullptr);
    EXPECT_EQ(tq3::fw::HeadlessBackend::Current(), headless);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 300);
}

// ---- Native windows under a window manager -------------------------------------

// The first X window id (decimal) whose name is exactly `name`, or "".
std::string XWindowNamed(const std::string& name) {
    int status = -1;
    std::string ids = RunTool({"xdotool", "search", "--name", "^" + name + "$"}, &status);
    return status == 0 ? ids.substr(0, ids.find('\n')) : std::string();
}

// Ends on Cancel (Escape), or with 99 when nothing came in time: a lost key
// fails the test instead of hanging it.
INT_PTR EndOnCancelOrTimeout(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) SetTimer(dialog, 1, 15000, nullptr);
    if (message == WM_TIMER) EndDialog(dialog, 99);
    if (message == WM_COMMAND && LOWORD(static_cast<DWORD>(wParam)) == IDCANCEL) EndDialog(dialog, IDCANCEL);
    return message == WM_INITDIALOG;
}

TEST_F(RealWindowTest, AModalDialogBlocksItsOwnerAndEndsOnEscape) {
    if (!Start({"xdotool"})) {
        if (HasFailure()) return;
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup.sh installs it)";
    }
    SdlBackend* backend = SdlBackend::Install(320, 240, u"dialog test");
    ASSERT_NE(backend, nullptr);
    const WNDCLASSW wc{0, RecordingProc, 0, 0, nullptr, nullptr, LoadCursorW(nullptr, IDC_ARROW),
                       static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), nullptr, u"RealWindowDialogOwner"};
    ASSERT_NE(RegisterClassW(&wc), 0);
    // The owner fills the one-window desktop, whose OS window takes its caption
    // and, here, the X input focus.
    HWND owner = CreateWindowExW(0, wc.lpszClassName, u"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                                 nullptr, nullptr, nullptr);
    SetFocus(owner);
    ASSERT_TRUE(PumpUntil([] { return !Find(WM_PAINT).empty(); }));
    ASSERT_EQ(RunTool({"xdotool", "windowfocus", "--sync", XWindowNamed("Owner")}), 0);
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(backend->NativeWindow(), &wx, &wy);

    // The dialog sits at the right; the user clicks the owner's left part, then
    // presses Escape. A child process plays the user while this thread runs the
    // dialog's loop.
    static constexpr DLGITEMTEMPLATEW items[] = {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 10, 10, 50, 14, IDOK, u"Button", u"OK"},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 10, 30, 50, 14, IDCANCEL, u"Button", u"Cancel"},
    };
    static constexpr DLGTEMPLATEW dialog = {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_ABSALIGN,
                                            0, 150, 40, 70, 50, u"Modal", 8, u"MS Shell Dlg", 2, items};
    const std::string user = "sleep 0.6; xdotool mousemove --sync " + std::to_string(wx + 30) + " " +
                             std::to_string(wy + 200) + " click 1; sleep 0.3; xdotool key Escape";
    g_log.clear();
    const pid_t child = fork();
    if (child == 0) {
        execlp("sh", "sh", "-c", user.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(child, 0);
    const INT_PTR result = DialogBoxIndirectParamW(nullptr, &dialog, owner, EndOnCancelOrTimeout, 0);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(Find(WM_LBUTTONDOWN).empty()) << "the owner took a click while the dialog ran";
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    // With the dialog gone, the owner takes clicks again.
    ASSERT_EQ(RunTool({"xdotool", "click", "1"}), 0);
    EXPECT_TRUE(PumpUntil([] { return !Find(WM_LBUTTONDOWN).empty(); }));
    DestroyWindow(owner);
}

// A value of xwininfo's report for window `id`, e.g. "Absolute upper-left X".
long XWindowInfo(const std::string& id, const std::string& field) {
    int status = -1;
    std::string info = RunTool({"xwininfo", "-id", id}, &status);
    size_t at = info.find(field + ":");
    return at == std::string::npos ? -99999 : std::strtol(info.c_str() + at + field.size() + 1, nullptr, 10);
}

bool OverrideRedirect(const std::string& id) {
    int status = -1;
    return RunTool({"xwininfo", "-id", id}, &status).find("Override Redirect State: yes") != std::string::npos;
}

RECT WindowRectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

bool NativePlaceAgrees(HWND h, const std::string& id) {
    RECT r = WindowRectOf(h);
    return XWindowInfo(id, "Absolute upper-left X") == r.left && XWindowInfo(id, "Absolute upper-left Y") == r.top &&
           XWindowInfo(id, "Width") == r.right - r.left && XWindowInfo(id, "Height") == r.bottom - r.top;
}

// A pop-up as a menu runs it: it holds the capture and goes when it loses it.
LRESULT PopupProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CAPTURECHANGED || m == WM_CANCELMODE) DestroyWindow(h);
    return RecordingProc(h, m, w, l);
}

TEST_F(RealWindowTest, EveryTopLevelWindowIsANativeWindowUnderAWindowManager) {
    if (!Start({"openbox", "xdotool", "xwininfo", "xprop", "xlogo", "import"})) {
        if (HasFailure()) return;
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup.sh installs it)";
    }
    Program wm({"openbox"});
    ASSERT_TRUE(PumpUntil(
        [&wm] {
            wm.KeepRunning();
            int status = -1;
            return RunTool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, &status).find("window id") != std::string::npos;
        },
        30))  // the wait ends as soon as it is up; a loaded machine may take long to start it
        << "openbox did not start";
    SdlBackend* backend = SdlBackend::InstallWindows();
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800) << "the desktop is the display";
    WNDCLASSW wc{0, RecordingProc, 0, 0, nullptr, nullptr, LoadCursorW(nullptr, IDC_ARROW),
                 CreateSolidBrush(kBackground), nullptr, u"NativeRecorder"};
    ASSERT_NE(RegisterClassW(&wc), 0);

    // ---- One system window per top-level window, placed and titled as ours; the
    // frame's caption is the system's, so its client area is its whole window.
    HWND frame = CreateWindowExW(0, wc.lpszClassName, u"Native frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80,
                                 360, 240, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    RECT client{};
    GetClientRect(frame, &client);
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 240);
    std::string frameId;
    ASSERT_TRUE(PumpUntil([&] { return !(frameId = XWindowNamed("Native frame")).empty(); }));
    ASSERT_TRUE(PumpUntil([&] { return NativePlaceAgrees(frame, frameId); }))
        << "at " << XWindowInfo(frameId, "Absolute upper-left X") << "," << XWindowInfo(frameId, "Absolute upper-left Y");
    EXPECT_FALSE(OverrideRedirect(frameId));
    SetWindowTextW(frame, u"Renamed frame");
    EXPECT_TRUE(PumpUntil([&] { return XWindowNamed("Renamed frame") == frameId; }));

    // ---- The window manager moves and sizes it: the framework hears of it and
    // the window is repainted at its new size.
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "windowmove", "--sync", frameId, "220", "150"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return !Find(WM_MOVE).empty() && NativePlaceAgrees(frame, frameId); }));
    EXPECT_FALSE(Find(WM_WINDOWPOSCHANGED).empty());
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "windowsize", "--sync", frameId, "420", "300"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return !Find(WM_SIZE).empty() && !Find(WM_PAINT).empty(); }));
    EXPECT_EQ(Find(WM_SIZE).back().lParam, MAKELPARAM(420, 300));
    RECT r = WindowRectOf(frame);
    PumpFor(0.3);
    EXPECT_EQ(ScreenPixel(r.left + 60, r.top + 60), "#E03040") << "the marker painted at its place";
    EXPECT_EQ(ScreenPixel(r.left + 400, r.top + 280), "#2080C0") << "the area the resize added is painted";

    // ---- A pop-up opened at the pointer is a pop-up kind of system window and
    // closes when another program is clicked.
    Program other({"xlogo", "-geometry", "120x120+600+400"});
    ASSERT_TRUE(PumpUntil([] { return !XWindowNamed("xlogo").empty(); }));
    ASSERT_EQ(RunTool({"xdotool", "windowactivate", "--sync", frameId}), 0);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == frame; }));
    WNDCLASSW pc = wc;
    pc.lpfnWndProc = PopupProc;
    pc.lpszClassName = u"NativePopup";
    ASSERT_NE(RegisterClassW(&pc), 0);
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "--sync", "300", "250"}), 0);
    PumpFor(0.2);
    POINT at{};
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 300);
    HWND popup = CreateWindowExW(WS_EX_TOPMOST, pc.lpszClassName, u"Native popup", WS_POPUP | WS_VISIBLE, at.x, at.y,
                                 100, 80, frame, nullptr, nullptr, nullptr);
    ASSERT_NE(popup, nullptr);
    SetCapture(popup);
    std::string popupId;
    ASSERT_TRUE(PumpUntil([&] { return !(popupId = XWindowNamed("Native popup")).empty() && NativePlaceAgrees(popup, popupId); }));
    EXPECT_TRUE(OverrideRedirect(popupId));
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "--sync", "660", "460", "click", "1"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(popup); })) << "the pop-up stays after a click on another program";
    EXPECT_TRUE(PumpUntil([&] { return XWindowNamed("Native popup").empty(); }));

    // ---- A message box is transient for its owner and modal; the window manager
    // closes it while its modal loop runs.
    ASSERT_EQ(RunTool({"xdotool", "windowactivate", "--sync", frameId}), 0);
    std::string transientFor;
    std::string boxId;
    static std::function<void()> inLoop;
    int ticks = 0;
    bool forced = false, busy = false, done = false;
    const auto deadline = Clock::now() + std::chrono::seconds(25);
    inLoop = [&] {
        // The tools run below pump the queue, and this timer with it: one visit
        // at a time.
        if (busy || done) return;
        busy = true;
        // A loop that the window manager failed to end is ended here, at the box
        // itself, and the test fails, rather than waiting for ever.
        ++ticks;
        if (Clock::now() > deadline) {
            forced = done = true;
            HWND box = FindWindowW(nullptr, u"Native question");
            PostMessageW(box != nullptr ? box : GetActiveWindow(), WM_CLOSE, 0, 0);
        } else {
            if (boxId.empty() && !(boxId = XWindowNamed("Native question")).empty()) {
                int status = -1;
                transientFor = RunTool({"xprop", "-id", boxId, "WM_TRANSIENT_FOR"}, &status);
            }
            if (!boxId.empty() && ticks % 20 == 0) {
                RunTool({"xdotool", "windowactivate", "--sync", boxId});
                RunTool({"xdotool", "key", "alt+F4"});
            }
        }
        busy = false;
    };
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        if (inLoop) inLoop();
    });
    const int answer = MessageBoxW(frame, u"Close me", u"Native question", MB_OKCANCEL);
    inLoop = nullptr;
    EXPECT_FALSE(forced) << "the window manager's close did not end the message box";
    EXPECT_EQ(answer, IDCANCEL) << "the system's close box answers as Cancel";
    ASSERT_FALSE(boxId.empty()) << "the message box never showed natively";
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%lx", std::strtoul(frameId.c_str(), nullptr, 10));
    EXPECT_NE(transientFor.find(hex), std::string::npos) << transientFor << " (frame " << hex << ")";
    EXPECT_TRUE(IsWindowEnabled(frame));

    // ---- A window larger than any screen, placed off it: the system window is
    // made (no larger than a system window can be), the window manager fits it
    // to the screen as it does any window, and the framework follows it there.
    HWND huge = CreateWindowExW(0, wc.lpszClassName, u"Huge window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, -3000, 5000,
                                40000, 30000, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(huge, nullptr);
    std::string hugeId;
    EXPECT_TRUE(PumpUntil([&] { return !(hugeId = XWindowNamed("Huge window")).empty(); }));
    if (!hugeId.empty()) {
        EXPECT_TRUE(PumpUntil([&] { return NativePlaceAgrees(huge, hugeId); }));
        const long width = XWindowInfo(hugeId, "Width");
        EXPECT_LE(width, 16384);
    }
    DestroyWindow(huge);
    EXPECT_TRUE(PumpUntil([] { return XWindowNamed("Huge window").empty(); }));
    EXPECT_TRUE(IsWindow(frame));

    // ---- A click on a combo box drops its list; a click on an item chooses it
    // and closes the list.
    ASSERT_EQ(RunTool({"xdotool", "windowactivate", "--sync", frameId}), 0);
    HWND combo = CreateWindowExW(0, WC_COMBOBOXW, nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 150, 20, 140, 150,
                                 frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(5)), nullptr, nullptr);
    ASSERT_NE(combo, nullptr);
    for (const WCHAR* item : {u"north", u"east", u"south", u"west"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    const auto clickAt = [](int x, int y) {
        return RunTool({"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"});
    };
    const auto dropped = [&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE; };
    PumpFor(0.2);
    const RECT box = WindowRectOf(combo);
    ASSERT_EQ(clickAt(box.left + 30, (box.top + box.bottom) / 2), 0);
    ASSERT_TRUE(PumpUntil(dropped)) << "a click on the box drops the list";
    HWND list = FindWindowW(u"ComboLBox", nullptr);
    ASSERT_NE(list, nullptr);
    RECT item;
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    g_log.clear();
    ASSERT_EQ(clickAt((item.left + item.right) / 2, (item.top + item.bottom) / 2), 0);
    ASSERT_TRUE(PumpUntil([&] { return !dropped(); })) << "a click on an item closes the list";
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_TRUE(Seen(WM_COMMAND, MAKEWPARAM(5, CBN_SELENDOK)));

    DestroyWindow(frame);
    DeleteObject(wc.hbrBackground);
}

}  // namespace
}  // namespace tq3::test
