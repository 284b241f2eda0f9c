// The demo in a real window on a virtual X server, driven from outside the way a
// user would: a synthetic pointer and keyboard (xdotool), a real clipboard client
// (xclip) and a screenshot of the X display. The demo's own report (hooks as they
// happen; a report on SIGUSR1) tells what it saw.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "framework/gdi/png_image.h"
#include "tests/demo/temp_folder.h"
#include "tests/support/virtual_screen.h"

extern char** environ;

namespace tq3::test {
namespace {

bool WaitFor(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The value after `prefix` in the last report line that starts with it.
std::string LineAfter(const std::string& report, const std::string& prefix) {
    const size_t at = report.rfind("\n" + prefix);
    if (at == std::string::npos) return {};
    const size_t end = report.find('\n', at + 1);
    return report.substr(at + 1 + prefix.size(), end - at - 1 - prefix.size());
}

bool PointAfter(const std::string& report, const std::string& prefix, int* x, int* y) {
    return std::sscanf(LineAfter(report, prefix).c_str(), "%d %d", x, y) == 2;
}

// The number after `field` in `text` (xwininfo's "Absolute upper-left X:" and the like).
long NumberAfter(const std::string& text, const std::string& field) {
    size_t at = text.find(field);
    return at == std::string::npos ? -1 : std::strtol(text.c_str() + at + field.size(), nullptr, 10);
}

// Runs a shell command to its end (at most 20 seconds); its exit code and output.
int Sh(const std::string& command, std::string* output = nullptr) {
    FILE* pipe = popen(("timeout 20 " + command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    const int status = pclose(pipe);
    if (output != nullptr) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A program in the background, reading `input` and writing to `output`; ended
// (by its id) when the object goes.
class Child {
public:
    Child(std::vector<std::string> argv, const std::string& output, const std::string& input = "/dev/null") {
        std::vector<char*> args;
        for (std::string& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    pid_t Pid() const { return pid_; }
    // The exit code once it ended within `seconds`; -1 otherwise.
    int Wait(double seconds) {
        int code = -1;
        WaitFor(
            [&] {
                int status = 0;
                if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) return false;
                pid_ = -1;
                code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return true;
            },
            seconds);
        return code;
    }

private:
    pid_t pid_ = -1;
};

// The demo on a virtual X server of its own, its report and settings in the
// test's folder.
class RealWindowTest : public ::testing::Test {
protected:
    void StartScreen() {
        ASSERT_TRUE(screen.Start("1280x800x24")) << "Xvfb did not start";
        setenv("DISPLAY", screen.Display().c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    void Launch(std::vector<std::string> args) {
        args.insert(args.begin(), TQ3DEMO_PROGRAM);
        args.insert(args.end(), {"--out", folder.File("out"), "--settings-dir", folder.File("settings")});
        demo.emplace(args, folder.File("demo.log"));
        ASSERT_TRUE(WaitFor([&] { return Has("hook sheet 0\n"); }, 20)) << "the demo did not start: " << Log();
    }
    // The X windows of the demo's process, one id a line.
    std::string Windows() {
        std::string ids;
        EXPECT_EQ(Sh("xdotool search --sync --onlyvisible --pid " + std::to_string(demo->Pid()), &ids), 0) << ids;
        return ids;
    }
    // The whole desktop in one window (its coordinates are the desktop's) with
    // `ioLines` I/O points, switched to them by a click on their tab; `viewX`,
    // `viewY` is then a point of the cell area.
    void Start(int ioLines = 200) {
        ASSERT_NO_FATAL_FAILURE(StartScreen());
        ASSERT_NO_FATAL_FAILURE(
            Launch({"--virtual-desktop", "--size", "1024x700", "--io-lines", std::to_string(ioLines)}));
        ASSERT_TRUE(AskReport());
        int tabX = 0, tabY = 0;
        ASSERT_TRUE(PointAfter(Report(), "tab 2 at ", &tabX, &tabY)) << Report();
        ASSERT_TRUE(PointAfter(Report(), "view at ", &viewX, &viewY)) << Report();
        windowId = Windows();
        windowId = windowId.substr(0, windowId.find('\n'));
        ASSERT_EQ(PointerAt(tabX, tabY, "click 1"), 0);
        ASSERT_TRUE(WaitFor([&] { return Has("hook sheet 2\n"); }, 10)) << Report();
    }
    std::string Report() const { return ReadFile(folder.File("out/report.txt")); }
    bool Has(const std::string& text) const { return Report().find(text) != std::string::npos; }
    std::string Log() const { return ReadFile(folder.File("demo.log")); }
    // Asks the demo for a report (SIGUSR1) and waits until it is written.
    bool AskReport() {
        const size_t before = Count(Report(), "end of report\n");
        kill(demo->Pid(), SIGUSR1);
        return WaitFor([&] { return Count(Report(), "end of report\n") > before; }, 10);
    }
    // Moves the pointer to (x, y) of the demo's window and does `then` there.
    int PointerAt(int x, int y, const std::string& then) {
        return Sh("xdotool mousemove --sync --window " + windowId + " " + std::to_string(x) + " " +
                  std::to_string(y) + " " + then);
    }
    // Another program (xclip) puts `text` on the system clipboard. As a user who
    // copied there comes back, the focus leaves the demo's window (to the root
    // window, there being no window manager) and returns, until the demo's
    // clipboard report starts with `shown`.
    void CopyElsewhere(const std::string& text, const std::string& shown) {
        { std::ofstream(folder.File("clip.txt"), std::ios::binary) << text; }
        xclip.emplace(std::vector<std::string>{"xclip", "-quiet", "-selection", "clipboard", "-i"},
                      folder.File("xclip.log"), folder.File("clip.txt"));
        std::string root;
        ASSERT_EQ(Sh("xwininfo -root", &root), 0);
        const size_t at = root.find("Window id: ");
        ASSERT_NE(at, std::string::npos) << root;
        const std::string rootId = root.substr(at + 11, root.find(' ', at + 11) - at - 11);
        ASSERT_TRUE(WaitFor(
            [&] {
                Sh("xdotool windowfocus " + rootId);
                Sh("xdotool windowfocus " + windowId);
                AskReport();
                return LineAfter(Report(), "clipboard ").rfind(shown, 0) == 0;
            },
            20))
            << "the demo does not see the clipboard text: " << LineAfter(Report(), "clipboard ");
    }
    // Ends the demo as the system would and expects it to exit cleanly.
    void Stop() {
        kill(demo->Pid(), SIGTERM);
        EXPECT_EQ(demo->Wait(15), 0) << Log();
    }

    TempFolder folder;
    VirtualScreen screen;
    std::optional<Child> demo, xclip;
    std::string windowId;
    int viewX = 0, viewY = 0;
};

// The tab click of the start and two notches of the wheel reach the demo, and a
// block copied in the demo reads back in another program as tab-separated lines;
// SIGTERM saves and ends it cleanly.
TEST_F(RealWindowTest, PointerWheelAndClipboardCrossBetweenTheDemoAndOtherPrograms) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(PointerAt(viewX, viewY, "click 5 click 5"), 0);  // three lines a notch
    ASSERT_TRUE(WaitFor([&] { return AskReport() && LineAfter(Report(), "scroll top line ") == "6 x 0"; }, 10))
        << Report();
    // Two cells on two lines copied with Ctrl+C: the demo's clipboard holds them as
    // "a\tb\r\nc\td\r\n"; the clipboard client reads the same with LF line ends.
    ASSERT_EQ(PointerAt(viewX, viewY, "click 1 key shift+Right shift+Down ctrl+c"), 0);
    std::string held;
    ASSERT_TRUE(WaitFor(
        [&] {
            held = AskReport() ? LineAfter(Report(), "clipboard ") : "";
            return Count(held, "\\t") == 2;
        },
        10))
        << Report();
    ASSERT_EQ(Count(held, "\\r\\n"), 2u) << held;
    auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
        return text;
    };
    const std::string expected = replaced(replaced(held.substr(1, held.size() - 2), "\\t", "\t"), "\\r\\n", "\n");
    std::string copied;
    EXPECT_EQ(Sh("xclip -o -selection clipboard", &copied), 0);
    EXPECT_EQ(copied, expected);
    EXPECT_NE(LineAfter(Report(), "title ").find("I/O points"), std::string::npos) << Report();
    Stop();
}

// Text typed on the X server's keyboard, with the US layout and then a Russian
// one (switched with setxkbmap), starts an edit on the cell under the pointer,
// and Enter writes it into that cell once; typed text finds a tag.
TEST_F(RealWindowTest, TextTypedInTwoLayoutsCommitsIntoACellOnceAndFinds) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::pair<std::string, std::string> typings[] = {{"us", "Pump 7a"}, {"ru", "Насос 5"}};
    for (int i = 0; i < 2; ++i) {
        const auto& [layout, typed] = typings[i];
        ASSERT_EQ(Sh("setxkbmap -layout " + layout), 0) << layout;
        // A line further down each time: two presses in one place would be a double click.
        ASSERT_EQ(PointerAt(viewX, viewY + 40 * i, "click 1 key Home"), 0);
        ASSERT_EQ(Sh("xdotool type --delay 60 '" + typed + "'"), 0);
        ASSERT_EQ(Sh("xdotool key Return"), 0);
        ASSERT_TRUE(WaitFor([&] { return Count(Report(), "hook changed ") == static_cast<size_t>(i + 1); }, 10))
            << layout << ": " << Report();
        ASSERT_TRUE(AskReport());
        EXPECT_NE(LineAfter(Report(), "changed cell ").find(" 0 \"" + typed + "\""), std::string::npos) << layout;
    }
    EXPECT_EQ(Count(Report(), "hook changed "), 2u) << Report();

    // Ctrl+F opens the find dialog; the typed text goes into Find what, Enter (Find
    // Next) moves the cursor to the tag holding it, and once Escape has closed the
    // dialog the next key reaches the cells again.
    ASSERT_EQ(Sh("setxkbmap -layout us"), 0);
    ASSERT_EQ(PointerAt(viewX, viewY + 80, "click 1 key ctrl+Home key ctrl+f"), 0);
    ASSERT_EQ(Sh("xdotool type --delay 40 A00-0150"), 0);
    ASSERT_EQ(Sh("xdotool key Return"), 0);
    ASSERT_TRUE(WaitFor([&] { return Has("hook cursor 150 0\n"); }, 10)) << Report();
    ASSERT_EQ(Sh("xdotool key Escape key Down"), 0);
    EXPECT_TRUE(WaitFor([&] { return Has("hook cursor 151 0\n"); }, 10)) << Report();
    Stop();
}

// More than a megabyte on the clipboard of another program (xclip hands that
// much over in increments) pastes whole from the top left cell down two columns.
TEST_F(RealWindowTest, ABlockOfMoreThanAMegabyteFromAnotherProgramPastesWhole) {
    constexpr int kLines = 24000;
    ASSERT_NO_FATAL_FAILURE(Start(kLines));
    std::string block;
    for (int line = 0; line < kLines; ++line) {
        char tag[80];
        std::snprintf(tag, sizeof tag, "XC-%05d\tpasted from another program, line %05d\n", line, line);
        block += tag;
    }
    ASSERT_GT(block.size(), 1u << 20);
    ASSERT_NO_FATAL_FAILURE(CopyElsewhere(block, "\"XC-00000\\tpasted"));
    ASSERT_EQ(PointerAt(viewX, viewY, "click 1 key ctrl+Home key ctrl+v"), 0);
    EXPECT_TRUE(WaitFor([&] { return Has("hook changed 23999 1\n"); }, 30)) << "the block's last line not written";
    ASSERT_TRUE(AskReport());
    EXPECT_EQ(LineAfter(Report(), "changed cell "), "23999 1 \"pasted from another program, line 23999\"");
    EXPECT_EQ(Count(Report(), "hook changed "), 2u * kLines) << "one change a cell, no more";
    Stop();
}

// Under a window manager the frame is one system window with the manager's title
// bar, and no caption of the demo's own is drawn inside it.
TEST_F(RealWindowTest, TheDemosFrameUnderAWindowManagerHasOneTitleBar) {
    ASSERT_NO_FATAL_FAILURE(StartScreen());
    Child wm({"openbox"}, folder.File("openbox.log"));
    ASSERT_TRUE(WaitFor(
        [&] {
            std::string root;
            Sh("xprop -root _NET_SUPPORTING_WM_CHECK", &root);
            return root.find("window id") != std::string::npos;
        },
        30))  // the wait ends as soon as it is up; a loaded machine may take long to start it
        << "openbox did not start: " << ReadFile(folder.File("openbox.log"));
    ASSERT_NO_FATAL_FAILURE(Launch({"--size", "900x600"}));
    const std::string ids = Windows();
    EXPECT_EQ(Count(ids, "\n"), 1u) << "one system window for the one top-level window: " << ids;
    const std::string frameId = ids.substr(0, ids.find('\n'));

    std::string extents, info;
    Sh("xprop -id " + frameId + " _NET_FRAME_EXTENTS", &extents);
    int left = 0, right = 0, top = 0, bottom = 0;
    const size_t equals = extents.find('=');
    ASSERT_NE(equals, std::string::npos) << extents;
    ASSERT_EQ(std::sscanf(extents.c_str() + equals + 1, " %d, %d, %d, %d", &left, &right, &top, &bottom), 4) << extents;
    EXPECT_GT(top, 10) << "no title bar from the window manager: " << extents;
    ASSERT_EQ(Sh("xwininfo -id " + frameId, &info), 0);
    const long x = NumberAfter(info, "Absolute upper-left X:"), y = NumberAfter(info, "Absolute upper-left Y:");
    EXPECT_EQ(NumberAfter(info, "Width:"), 900);
    EXPECT_EQ(NumberAfter(info, "Height:"), 600);

    // The top rows of the window hold none of the colours of the framework's caption.
    ASSERT_EQ(Sh("import -window root '" + folder.File("screen.png") + "'"), 0);
    tq3::fw::Surface image;
    ASSERT_TRUE(tq3::fw::LoadPng(folder.File("screen.png"), &image));
    ASSERT_GE(image.Width(), x + 900);
    int captionPixels = 0;
    for (long row = y; row < y + 18; ++row) {
        for (long col = x; col < x + 900; ++col) {
            const tq3::fw::Pixel p = image.At(static_cast<int>(col), static_cast<int>(row)) & 0xFFFFFF;
            captionPixels += p == 0x99B4D1 || p == 0xB9D1EA;  // the active caption's colours, 0x00RRGGBB
        }
    }
    EXPECT_EQ(captionPixels, 0);
    Stop();
}

}  // namespace
}  // namespace tq3::test
