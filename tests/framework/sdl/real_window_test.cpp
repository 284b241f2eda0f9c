// The interactive backend in a real window on a virtual X server: synthetic pointer
// and keyboard input from xdotool arrive as the platform's messages, the clipboard
// crosses to and from xclip, the screen shows what the desktop surface holds, the
// desktop follows the window's size and closing the window asks the windows to
// close. Skipped only when no virtual X server is installed.
#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/backends/sdl/sdl_backend.h"
#include "framework/core/utf.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/clipboard.h"
#include "framework/system/global_memory.h"
#include "framework/window/winuser.h"

namespace tq3::test {
namespace {

using tq3::fw::SdlBackend;
using Clock = std::chrono::steady_clock;

constexpr COLORREF kBackground = RGB(0x20, 0x80, 0xC0);
constexpr COLORREF kMarker = RGB(0xE0, 0x30, 0x40);
constexpr RECT kMarkerRect{40, 40, 120, 100};

// ---- Programs ----------------------------------------------------------------

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return false;
    std::string all = path;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(':', start);
        if (end == std::string::npos) end = all.size();
        std::string candidate = all.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Runs the window manager's queue (and with it SDL's) until nothing is waiting.
void PumpOnce() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// Pumps until `done` holds or `seconds` pass; returns whether it held.
bool PumpUntil(const std::function<bool()>& done, double seconds = 5.0) {
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        PumpOnce();
        if (done()) return true;
        SDL_Delay(5);
    }
    PumpOnce();
    return done();
}

// Runs a program while the queue keeps being pumped (the program may be asking
// this process for the clipboard). Returns its standard output when `capture`,
// feeds it `input` on standard input; `status` gets its exit status.
std::string RunPumping(std::vector<std::string> args, bool capture, const std::string& input, int* status) {
    int out[2] = {-1, -1};
    int in[2] = {-1, -1};
    if (pipe(out) != 0 || pipe(in) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        if (capture) {
            dup2(out[1], 1);
        } else {
            // A program that stays behind (xclip serving its selection) must not
            // hold our pipe open.
            int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, 1);
        }
        close(in[0]);
        close(in[1]);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    if (!input.empty()) {
        ssize_t written = write(in[1], input.data(), input.size());
        (void)written;
    }
    close(in[1]);
    fcntl(out[0], F_SETFL, O_NONBLOCK);
    std::string text;
    bool open = true;
    bool exited = false;
    *status = -1;
    auto end = Clock::now() + std::chrono::seconds(15);
    while ((open || !exited) && Clock::now() < end) {
        PumpOnce();
        if (open) {
            pollfd p{out[0], POLLIN, 0};
            poll(&p, 1, 5);
            char buffer[4096];
            ssize_t n;
            while ((n = read(out[0], buffer, sizeof(buffer))) > 0) text.append(buffer, static_cast<size_t>(n));
            if (n == 0) open = false;
        } else {
            SDL_Delay(5);
        }
        if (!exited && waitpid(pid, status, WNOHANG) == pid) exited = true;
        if (!capture && exited) open = false;
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
    RunPumping(std::move(args), false, {}, &status);
    return status;
}

// ---- The virtual X server ------------------------------------------------------

class VirtualScreen {
public:
    // Starts the server on a display number it picks itself (-displayfd), so that
    // tests running side by side never collide.
    bool Start() {
        int fds[2];
        if (pipe(fds) != 0) return false;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, 1);
            dup2(devNull, 2);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        auto end = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < end) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char c;
            ssize_t n = read(fds[0], &c, 1);
            if (n <= 0) break;
            if (c == '\n') break;
            number.push_back(c);
        }
        close(fds[0]);
        if (number.empty()) return false;
        display_ = ":" + number;
        return true;
    }
    ~VirtualScreen() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// ---- The window under test -------------------------------------------------------

struct Logged {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Logged> g_log;

LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    g_log.push_back(Logged{m, w, l});
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        HBRUSH marker = CreateSolidBrush(kMarker);
        FillRect(dc, &kMarkerRect, marker);
        DeleteObject(marker);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

std::vector<Logged> Find(UINT message) {
    std::vector<Logged> out;
    for (const Logged& e : g_log) {
        if (e.message == message) out.push_back(e);
    }
    return out;
}

bool Seen(UINT message, WPARAM wParam) {
    for (const Logged& e : g_log) {
        if (e.message == message && e.wParam == wParam) return true;
    }
    return false;
}

// The key and character messages of a log, for a failure report.
std::string Describe(const std::vector<Logged>& log) {
    std::string out;
    char line[64];
    for (const Logged& e : log) {
        const char* name = e.message == WM_KEYDOWN ? "KEYDOWN" : e.message == WM_KEYUP ? "KEYUP"
                           : e.message == WM_CHAR  ? "CHAR" : e.message == WM_SYSKEYDOWN ? "SYSKEYDOWN"
                                                                                          : nullptr;
        if (name == nullptr) continue;
        std::snprintf(line, sizeof(line), "%s 0x%lX\n", name, static_cast<unsigned long>(e.wParam));
        out += line;
    }
    return out;
}

std::u16string CharsTyped() {
    std::u16string out;
    for (const Logged& e : Find(WM_CHAR)) out.push_back(static_cast<char16_t>(e.wParam));
    return out;
}

bool SetClipboard(HWND owner, const std::u16string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(WCHAR));
    auto* p = static_cast<WCHAR*>(GlobalLock(h));
    std::memcpy(p, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
    GlobalUnlock(h);
    bool ok = SetClipboardData(CF_UNICODETEXT, h) != nullptr;
    CloseClipboard();
    return ok;
}

std::u16string ClipboardText(HWND owner) {
    std::u16string text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const WCHAR*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

// The colour of a screen pixel in a binary PPM of the whole screen.
bool PixelOf(const std::string& ppm, int x, int y, COLORREF* color) {
    // Header: "P6", width, height, maximum value, each after white space; one
    // white-space byte before the pixels.
    if (ppm.compare(0, 2, "P6") != 0) return false;
    size_t pos = 2;
    long fields[3];
    for (long& f : fields) {
        while (pos < ppm.size() && std::isspace(static_cast<unsigned char>(ppm[pos]))) ++pos;
        size_t start = pos;
        while (pos < ppm.size() && std::isdigit(static_cast<unsigned char>(ppm[pos]))) ++pos;
        if (start == pos) return false;
        f = std::stol(ppm.substr(start, pos - start));
    }
    ++pos;
    long width = fields[0], height = fields[1];
    if ((fields[2] != 255 && fields[2] != 65535) || x < 0 || y < 0 || x >= width || y >= height) return false;
    // Samples are one byte, or two (most significant first) above 255.
    size_t bytes = fields[2] == 255 ? 1 : 2;
    size_t at = pos + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3 * bytes;
    if (at + 3 * bytes > ppm.size()) return false;
    auto sample = [&](int i) { return static_cast<BYTE>(ppm[at + static_cast<size_t>(i) * bytes]); };
    *color = RGB(sample(0), sample(1), sample(2));
    return true;
}

class RealWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Back to a headless desktop: the OS window closes with the backend, while
        // the X server is still there to see it go.
        tq3::fw::HeadlessBackend::Install(640, 480);
        g_log.clear();
    }
    VirtualScreen screen;
};

TEST_F(RealWindowTest, InputClipboardScreenAndSizeOnAVirtualXServer) {
    if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (scripts/setup.sh installs it)";
    for (const char* tool : {"xdotool", "xclip", "import", "setxkbmap"}) {
        ASSERT_TRUE(OnPath(tool)) << tool << " is missing; scripts/setup.sh installs it";
    }
    ASSERT_TRUE(screen.Start()) << "Xvfb did not start";
    setenv("DISPLAY", screen.Display().c_str(), 1);
    // The real X driver or a loud failure, never SDL's silent off-screen driver.
    setenv("SDL_VIDEODRIVER", "x11", 1);

    SdlBackend* backend = SdlBackend::Install(320, 240, u"real window test");
    ASSERT_NE(backend, nullptr);
    ASSERT_EQ(SdlBackend::Current(), backend);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);

    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = u"RealWindowRecorder";
    wc.hbrBackground = CreateSolidBrush(kBackground);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    WNDCLASSW existing;
    if (!GetClassInfoW(nullptr, wc.lpszClassName, &existing)) {
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, u"Recorder", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    SetFocus(hwnd);

    SDL_Window* window = backend->NativeWindow();
    ASSERT_TRUE(PumpUntil([&] { return !Find(WM_PAINT).empty(); }));
    // The OS window's caption follows the active window's; X knows it by it.
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Recorder");
    int status = -1;
    std::string xid = RunPumping({"xdotool", "search", "--name", "^Recorder$"}, true, {}, &status);
    ASSERT_EQ(status, 0);
    while (!xid.empty() && std::isspace(static_cast<unsigned char>(xid.back()))) xid.pop_back();
    ASSERT_FALSE(xid.empty());
    ASSERT_EQ(RunTool({"xdotool", "windowfocus", "--sync", xid}), 0);
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(window, &wx, &wy);

    // ---- A click lands at its client point.
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "mousemove", "--sync", std::to_string(wx + 50), std::to_string(wy + 60)}), 0);
    ASSERT_EQ(RunTool({"xdotool", "click", "1"}), 0);
    ASSERT_TRUE(PumpUntil([] { return !Find(WM_LBUTTONUP).empty(); }));
    auto downs = Find(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(50, 60));
    EXPECT_EQ(downs[0].wParam & MK_LBUTTON, static_cast<WPARAM>(MK_LBUTTON));
    // Two quick clicks are a press and a double click, found by the window manager.
    PumpUntil([] { return false; }, 0.7);  // beyond the double-click time of the click above
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "click", "--repeat", "2", "--delay", "60", "1"}), 0);
    ASSERT_TRUE(PumpUntil([] { return Find(WM_LBUTTONUP).size() == 2; }));
    EXPECT_EQ(Find(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Find(WM_LBUTTONDBLCLK).size(), 1u);

    // ---- The wheel: one notch down is -WHEEL_DELTA.
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "click", "5"}), 0);
    ASSERT_TRUE(PumpUntil([] { return !Find(WM_MOUSEWHEEL).empty(); }));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Find(WM_MOUSEWHEEL)[0].wParam), -WHEEL_DELTA);

    // ---- Keys: each typed character once, whether the key or the text brings it.
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "key", "a"}), 0);
    ASSERT_TRUE(PumpUntil([] { return Seen(WM_KEYUP, 'A'); }));
    std::vector<UINT> keyMessages;
    for (const Logged& e : g_log) {
        if (e.message == WM_KEYDOWN || e.message == WM_CHAR || e.message == WM_KEYUP) keyMessages.push_back(e.message);
    }
    EXPECT_EQ(keyMessages, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
    EXPECT_TRUE(Seen(WM_KEYDOWN, 'A'));
    EXPECT_EQ(CharsTyped(), u"a");
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "key", "shift+h", "ctrl+b", "KP_Enter", "Left"}), 0);
    ASSERT_TRUE(PumpUntil([] { return Seen(WM_KEYUP, VK_LEFT); }));
    EXPECT_TRUE(Seen(WM_KEYDOWN, VK_SHIFT));
    EXPECT_TRUE(Seen(WM_KEYDOWN, VK_CONTROL));
    EXPECT_EQ(CharsTyped(), std::u16string(u"H\x02\r"));
    for (const Logged& e : Find(WM_KEYDOWN)) {
        if (e.wParam == VK_RETURN || e.wParam == VK_LEFT) {
            EXPECT_NE(e.lParam & (1 << 24), 0) << "extended flag of " << e.wParam;
        }
    }
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "type", "--delay", "20", "Hi!"}), 0);
    PumpUntil([] { return CharsTyped().size() >= 3; });
    PumpUntil([] { return false; }, 0.2);  // nothing more may come
    EXPECT_EQ(CharsTyped(), u"Hi!") << Describe(g_log);
    // On a German layout the u-umlaut sits on the US [ key: the US table would
    // type '[', so the key goes in as VK_PROCESSKEY and the text brings the
    // letter; its Z sits on the US Y key and is VK_Z, typing through the key.
    ASSERT_EQ(RunTool({"setxkbmap", "de"}), 0);
    PumpUntil([] { return false; }, 0.3);
    g_log.clear();
    ASSERT_EQ(RunTool({"xdotool", "key", "udiaeresis", "z"}), 0);
    PumpUntil([] { return Seen(WM_KEYUP, 'Z'); });
    PumpUntil([] { return false; }, 0.2);
    EXPECT_EQ(CharsTyped(), u"\u00FCz") << Describe(g_log);
    EXPECT_TRUE(Seen(WM_KEYDOWN, VK_PROCESSKEY)) << Describe(g_log);
    EXPECT_TRUE(Seen(WM_KEYDOWN, 'Z')) << Describe(g_log);
    ASSERT_EQ(RunTool({"setxkbmap", "us"}), 0);

    // ---- The clipboard, both ways, CRLF and non-ASCII kept.
    const std::u16string out = u"cell\tnext\r\n\u65E5\u672C \u00FC";
    ASSERT_TRUE(SetClipboard(hwnd, out));
    std::string read = RunPumping({"xclip", "-o", "-selection", "clipboard"}, true, {}, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read, tq3::fw::ToUtf8(out));
    const std::string in = "from another program\r\n\xC3\x84";
    RunPumping({"xclip", "-i", "-selection", "clipboard"}, false, in, &status);
    EXPECT_EQ(status, 0);
    const std::u16string expected = tq3::fw::Utf8ToU16(in);
    EXPECT_TRUE(PumpUntil([&] { return ClipboardText(hwnd) == expected; }))
        << "the framework's clipboard still has " << tq3::fw::ToUtf8(ClipboardText(hwnd));

    // ---- The screen shows the surface: the marker and the class background.
    PumpOnce();
    std::string ppm = RunPumping({"import", "-window", "root", "-depth", "8", "ppm:-"}, true, {}, &status);
    ASSERT_EQ(status, 0);
    COLORREF c = 0;
    ASSERT_TRUE(PixelOf(ppm, wx + 80, wy + 70, &c));
    EXPECT_EQ(c, kMarker);
    ASSERT_TRUE(PixelOf(ppm, wx + 200, wy + 200, &c));
    EXPECT_EQ(c, kBackground);

    // ---- The desktop follows the window's size.
    SDL_SetWindowSize(window, 400, 300);
    EXPECT_TRUE(PumpUntil([] { return GetSystemMetrics(SM_CXSCREEN) == 400; }));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 300);
    EXPECT_EQ(backend->DesktopSize().cx, 400);
    EXPECT_FALSE(Find(WM_DISPLAYCHANGE).empty());

    // ---- Closing the OS window asks the main window to close.
    g_log.clear();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_TRUE(PumpUntil([] { return !Find(WM_CLOSE).empty(); }));
    EXPECT_FALSE(IsWindow(hwnd));  // DefWindowProc destroys it
    DeleteObject(wc.hbrBackground);
}

}  // namespace

namespace {

// Sets an environment variable (null: removes it) for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            setenv(name_.c_str(), old_.c_str(), 1);
        else
            unsetenv(name_.c_str());
    }

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

TEST(SdlBackendWithoutDisplay, InstallRefusesAndKeepsTheCurrentDesktop) {
    tq3::fw::HeadlessBackend* headless = tq3::fw::HeadlessBackend::Install(300, 200);
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
    ::testing::internal::CaptureStderr();
    SdlBackend* backend = SdlBackend::Install(320, 240, u"nowhere");
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(backend, nullptr);
    EXPECT_NE(said.find("no display"), std::string::npos) << said;
    EXPECT_EQ(SdlBackend::Current(), nullptr);
    EXPECT_EQ(tq3::fw::HeadlessBackend::Current(), headless);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 300);
}

}  // namespace
}  // namespace tq3::test
