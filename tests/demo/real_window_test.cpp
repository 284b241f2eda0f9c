// The demo in a real window on a virtual X server, driven from outside the way a
// user would: a synthetic pointer clicks a sheet tab and turns the wheel, a real
// clipboard client sets the system clipboard and the demo reads it back, and a
// screenshot of the X display shows the window. The demo's own report (hooks as
// they happen; a report on SIGUSR1) tells what it saw.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "framework/gdi/png_image.h"
#include "tests/demo/temp_folder.h"
#include "tests/support/virtual_screen.h"

extern char** environ;

namespace tq3::test {
namespace {

using Clock = std::chrono::steady_clock;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A child program; ended (by its id) when the object goes.
class Child {
public:
    Child(std::vector<std::string> argv, std::vector<std::string> extraEnv = {}, const std::string& input = {},
          const std::string& output = {}) {
        std::vector<char*> args;
        for (std::string& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        std::vector<std::string> env = extraEnv;
        for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, input.empty() ? "/dev/null" : input.c_str(), O_RDONLY, 0);
        if (!output.empty()) {
            posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            posix_spawn_file_actions_adddup2(&actions, 1, 2);
        }
        if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
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
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (pid_ > 0 && Clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
};

// Runs a program to its end; its exit code and output.
int RunProgram(const std::vector<std::string>& argv, const std::vector<std::string>& env, const TempFolder& folder,
               std::string* output) {
    Child child(argv, env, {}, folder.File("program-output"));
    const int code = child.Wait(20);
    if (output != nullptr) *output = ReadFile(folder.File("program-output"));
    return code;
}

bool WaitFor(const std::function<bool()>& done, double seconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
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

// The two numbers after `prefix` in the last report line that starts with it.
bool PointAfter(const std::string& report, const std::string& prefix, int* x, int* y) {
    const size_t at = report.rfind("\n" + prefix);
    if (at == std::string::npos) return false;
    return std::sscanf(report.c_str() + at + 1 + prefix.size(), "%d %d", x, y) == 2;
}

// The value after `prefix` in the last report line that starts with it.
std::string LineAfter(const std::string& report, const std::string& prefix) {
    const size_t at = report.rfind("\n" + prefix);
    if (at == std::string::npos) return {};
    const size_t end = report.find('\n', at + 1);
    return report.substr(at + 1 + prefix.size(), end - at - 1 - prefix.size());
}

// Asks the demo for a report (SIGUSR1) and waits until it is written.
bool AskReport(pid_t pid, const std::string& report) {
    const size_t before = Count(ReadFile(report), "end of report\n");
    kill(pid, SIGUSR1);
    return WaitFor([&] { return Count(ReadFile(report), "end of report\n") > before; }, 10);
}

// The X id of the screen's root window, or empty when xwininfo cannot tell.
std::string RootWindowId(const std::vector<std::string>& env, const TempFolder& folder) {
    std::string rootInfo;
    if (RunProgram({"xwininfo", "-root"}, env, folder, &rootInfo) != 0) return {};
    const size_t idAt = rootInfo.find("Window id: ");
    if (idAt == std::string::npos) return {};
    return rootInfo.substr(idAt + 11, rootInfo.find(' ', idAt + 11) - idAt - 11);
}

TEST(RealWindowTest, PointerWheelAndClipboardFromOutsideReachTheDemo) {
    TempFolder folder;
    tq3::test::VirtualScreen screen;
    ASSERT_TRUE(screen.Start("1280x800x24")) << "Xvfb did not start";
    const std::string display = screen.Display();
    const std::vector<std::string> env = {"DISPLAY=" + display, "SDL_VIDEODRIVER=x11"};

    const std::string out = folder.File("out");
    const std::string report = out + "/report.txt";
    // The whole desktop in one window: the window's coordinates are the desktop's.
    Child demo({TQ3DEMO_PROGRAM, "--virtual-desktop", "--size", "1024x700", "--out", out, "--settings-dir",
                folder.File("settings")},
               env, {}, folder.File("demo.log"));
    ASSERT_TRUE(WaitFor([&] { return ReadFile(report).find("hook sheet 0\n") != std::string::npos; }, 20))
        << "the demo did not start: " << ReadFile(folder.File("demo.log"));

    auto askReport = [&] { return AskReport(demo.Pid(), report); };
    ASSERT_TRUE(askReport());
    std::string text = ReadFile(report);
    int tabX = 0;
    int tabY = 0;
    int viewX = 0;
    int viewY = 0;
    ASSERT_TRUE(PointAfter(text, "tab 2 at ", &tabX, &tabY)) << text;
    ASSERT_TRUE(PointAfter(text, "view at ", &viewX, &viewY)) << text;

    // The OS window, found by the demo's process.
    std::string windowId;
    ASSERT_EQ(RunProgram({"xdotool", "search", "--sync", "--onlyvisible", "--pid", std::to_string(demo.Pid())}, env,
                         folder, &windowId),
              0)
        << windowId;
    windowId = windowId.substr(0, windowId.find('\n'));

    // A click on the third tab switches to the I/O points sheet.
    ASSERT_EQ(RunProgram({"xdotool", "mousemove", "--sync", "--window", windowId, std::to_string(tabX),
                          std::to_string(tabY), "click", "1"},
                         env, folder, nullptr),
              0);
    ASSERT_TRUE(WaitFor([&] { return ReadFile(report).find("hook sheet 2\n") != std::string::npos; }, 10))
        << ReadFile(report);

    // Two notches of the wheel towards the user scroll three lines each.
    ASSERT_EQ(RunProgram({"xdotool", "mousemove", "--sync", "--window", windowId, std::to_string(viewX),
                          std::to_string(viewY), "click", "5", "click", "5"},
                         env, folder, nullptr),
              0);
    // The system clipboard, set by a real clipboard client.
    { std::ofstream(folder.File("clip.txt"), std::ios::binary) << "TT-A00-0001\tfrom xclip"; }
    Child xclip({"xclip", "-quiet", "-selection", "clipboard", "-i"}, env, folder.File("clip.txt"),
                folder.File("xclip.log"));
    ASSERT_GT(xclip.Pid(), 0);
    // The user who copied in another program comes back to the demo: the focus
    // leaves its window (to the root window, there being no window manager) and
    // returns, and the demo then reads what the other program copied.
    const std::string rootId = RootWindowId(env, folder);
    ASSERT_FALSE(rootId.empty());
    ASSERT_TRUE(WaitFor(
        [&] {
            RunProgram({"xdotool", "windowfocus", rootId}, env, folder, nullptr);
            RunProgram({"xdotool", "windowfocus", windowId}, env, folder, nullptr);
            askReport();
            return LineAfter(ReadFile(report), "clipboard ") == "\"TT-A00-0001\\tfrom xclip\"";
        },
        10))
        << ReadFile(report);
    text = ReadFile(report);
    EXPECT_EQ(LineAfter(text, "scroll top line "), "6 x 0") << text;
    EXPECT_NE(LineAfter(text, "title ").find("I/O points"), std::string::npos) << text;

    // What the X display shows.
    const std::string shot = folder.File("screen.png");
    ASSERT_EQ(RunProgram({"import", "-window", "root", shot}, env, folder, nullptr), 0);
    tq3::fw::Surface image;
    ASSERT_TRUE(tq3::fw::LoadPng(shot, &image));
    std::set<tq3::fw::Pixel> colours;
    for (int y = 0; y < image.Height(); y += 2) {
        for (int x = 0; x < image.Width(); x += 2) colours.insert(image.At(x, y));
    }
    EXPECT_GT(colours.size(), 16u) << "the screen looks blank";

    // Closing from outside saves and ends as the user's close would.
    kill(demo.Pid(), SIGTERM);
    EXPECT_EQ(demo.Wait(15), 0) << ReadFile(folder.File("demo.log"));
}

// The demo on its own virtual X server, started on a short I/O points sheet and
// switched to it by a click on its tab, for the tests that type on the real
// keyboard; `viewX`, `viewY` is a point of its cell area.
struct IoPointsDemo {
    TempFolder folder;
    tq3::test::VirtualScreen screen;
    std::vector<std::string> env;
    std::string report;
    std::optional<Child> demo;
    std::string windowId;
    int viewX = 0, viewY = 0;
    int ioLines = 200;

    // Fails the test (fatally) when the demo cannot be brought there.
    void Start() {
        ASSERT_TRUE(screen.Start("1280x800x24")) << "Xvfb did not start";
        env = {"DISPLAY=" + screen.Display(), "SDL_VIDEODRIVER=x11"};
        report = folder.File("out") + "/report.txt";
        demo.emplace(std::vector<std::string>{TQ3DEMO_PROGRAM, "--virtual-desktop", "--size", "1024x700",
                                              "--io-lines", std::to_string(ioLines), "--out", folder.File("out"), "--settings-dir",
                                              folder.File("settings")},
                     env, std::string{}, folder.File("demo.log"));
        ASSERT_TRUE(WaitFor([&] { return Report().find("hook sheet 0\n") != std::string::npos; }, 20))
            << "the demo did not start: " << ReadFile(folder.File("demo.log"));
        ASSERT_TRUE(AskReport(demo->Pid(), report));
        int tabX = 0, tabY = 0;
        ASSERT_TRUE(PointAfter(Report(), "tab 2 at ", &tabX, &tabY));
        ASSERT_TRUE(PointAfter(Report(), "view at ", &viewX, &viewY));
        ASSERT_EQ(RunProgram({"xdotool", "search", "--sync", "--onlyvisible", "--pid", std::to_string(demo->Pid())},
                             env, folder, &windowId),
                  0);
        windowId = windowId.substr(0, windowId.find('\n'));
        ASSERT_EQ(Xdotool({"mousemove", "--sync", "--window", windowId, std::to_string(tabX), std::to_string(tabY),
                           "click", "1"}),
                  0);
        ASSERT_TRUE(WaitFor([&] { return Report().find("hook sheet 2\n") != std::string::npos; }, 10));
    }
    std::string Report() const { return ReadFile(report); }
    int Xdotool(std::vector<std::string> args) {
        args.insert(args.begin(), "xdotool");
        return RunProgram(args, env, folder, nullptr);
    }
    // Ends the demo as the system would and expects it to exit cleanly.
    void Stop() {
        kill(demo->Pid(), SIGTERM);
        EXPECT_EQ(demo->Wait(15), 0) << ReadFile(folder.File("demo.log"));
    }
};

// Text typed on the X server's keyboard, first with the US layout and then with
// a Russian one (switched with setxkbmap, whose keysyms xdotool then types), starts
// an edit on the cell under the pointer, and Enter writes it into that cell once.
TEST(RealWindowTest, TextTypedInTwoLayoutsCommitsIntoACellOnce) {
    IoPointsDemo d;
    d.Start();
    if (::testing::Test::HasFatalFailure()) return;
    const std::pair<const char*, const char*> typings[] = {{"us", "Pump 7a"}, {"ru", "Насос 5"}};
    for (int i = 0; i < 2; ++i) {
        const auto& [layout, typed] = typings[i];
        ASSERT_EQ(RunProgram({"setxkbmap", "-layout", layout}, d.env, d.folder, nullptr), 0) << layout;
        // A line further down each time: two presses in one place would be a double click.
        ASSERT_EQ(d.Xdotool({"mousemove", "--sync", "--window", d.windowId, std::to_string(d.viewX),
                             std::to_string(d.viewY + 40 * i), "click", "1", "key", "Home"}),
                  0);
        ASSERT_EQ(d.Xdotool({"type", "--delay", "60", typed}), 0);
        ASSERT_EQ(d.Xdotool({"key", "Return"}), 0);
        ASSERT_TRUE(WaitFor([&] { return Count(d.Report(), "hook changed ") == static_cast<size_t>(i + 1); }, 10))
            << layout << ": " << d.Report();
        ASSERT_TRUE(AskReport(d.demo->Pid(), d.report));
        const std::string changed = LineAfter(d.Report(), "changed cell ");
        EXPECT_NE(changed.find(std::string(" 0 \"") + typed + "\""), std::string::npos) << layout << ": " << changed;
    }
    EXPECT_EQ(Count(d.Report(), "hook changed "), 2u) << d.Report();
    d.Stop();
}

// Ctrl+F from the real keyboard opens the find dialog over the I/O points; the
// text typed goes into its Find what box, Enter (its default button, Find Next)
// moves the cursor to the tag that holds it, and Escape closes it, so that the
// next key reaches the cells again.
TEST(RealWindowTest, CtrlFFindsTheTypedTextAndEscapeClosesTheDialog) {
    IoPointsDemo d;
    d.Start();
    if (::testing::Test::HasFatalFailure()) return;
    // The tag column of a line near the top, then the dialog.
    ASSERT_EQ(d.Xdotool({"mousemove", "--sync", "--window", d.windowId, std::to_string(d.viewX),
                         std::to_string(d.viewY), "click", "1", "key", "Home", "key", "ctrl+f"}),
              0);
    ASSERT_EQ(d.Xdotool({"type", "--delay", "40", "A00-0150"}), 0);
    ASSERT_EQ(d.Xdotool({"key", "Return"}), 0);
    ASSERT_TRUE(WaitFor([&] { return d.Report().find("hook cursor 150 0\n") != std::string::npos; }, 10))
        << d.Report();
    // While the dialog is open the cells take no keys; once Escape has closed it,
    // Down moves the cursor on.
    ASSERT_EQ(d.Xdotool({"key", "Escape", "key", "Down"}), 0);
    EXPECT_TRUE(WaitFor([&] { return d.Report().find("hook cursor 151 0\n") != std::string::npos; }, 10))
        << d.Report();
    d.Stop();
}

// A block of more than a megabyte put on the clipboard by another program pastes
// into the demo whole: 24,000 tags and descriptions, read from xclip (whose
// transfer of that much text goes in increments) and written from the top left
// cell down the two columns, each text within its column's length.
TEST(RealWindowTest, ABlockOfMoreThanAMegabyteFromAnotherProgramPastesWhole) {
    IoPointsDemo d;
    d.ioLines = 24000;
    d.Start();
    if (::testing::Test::HasFatalFailure()) return;
    std::string block;
    for (int line = 0; line < d.ioLines; ++line) {
        char tag[80];
        std::snprintf(tag, sizeof tag, "XC-%05d\tpasted from another program, line %05d\n", line, line);
        block += tag;
    }
    ASSERT_GT(block.size(), 1u << 20);
    { std::ofstream(d.folder.File("block.txt"), std::ios::binary) << block; }
    Child xclip({"xclip", "-quiet", "-selection", "clipboard", "-i"}, d.env, d.folder.File("block.txt"),
                d.folder.File("xclip.log"));
    ASSERT_GT(xclip.Pid(), 0);
    // As a user who copied in another program: the focus leaves the demo and comes
    // back, and the demo then knows of the new clipboard text.
    const std::string rootId = RootWindowId(d.env, d.folder);
    ASSERT_FALSE(rootId.empty());
    ASSERT_TRUE(WaitFor(
        [&] {
            d.Xdotool({"windowfocus", rootId});
            d.Xdotool({"windowfocus", d.windowId});
            AskReport(d.demo->Pid(), d.report);
            return LineAfter(d.Report(), "clipboard ").rfind("\"XC-00000\\tpasted", 0) == 0;
        },
        20))
        << "the demo does not see the clipboard text";
    ASSERT_EQ(d.Xdotool({"mousemove", "--sync", "--window", d.windowId, std::to_string(d.viewX),
                         std::to_string(d.viewY), "click", "1", "key", "ctrl+Home", "key", "ctrl+v"}),
              0);
    EXPECT_TRUE(WaitFor(
        [&] {
            return d.Report().find("hook changed " + std::to_string(d.ioLines - 1) + " 1\n") != std::string::npos;
        },
        30))
        << "the last line of the block was not written: " << [&] {
               AskReport(d.demo->Pid(), d.report);
               const std::string all = d.Report();
               const size_t at = all.rfind("\ntitle ");
               return at == std::string::npos ? all : all.substr(at, 600);
           }();
    ASSERT_TRUE(AskReport(d.demo->Pid(), d.report));
    const std::string changed = LineAfter(d.Report(), "changed cell ");
    EXPECT_EQ(changed, "23999 1 \"pasted from another program, line 23999\"");
    EXPECT_EQ(Count(d.Report(), "hook changed "), static_cast<size_t>(2 * d.ioLines)) << "one change a cell, no more";
    d.Stop();
}

// The widths of the current sheet's columns, from the report's "columns" line.
std::vector<int> ColumnWidths(const std::string& report) {
    std::vector<int> widths;
    std::istringstream in(LineAfter(report, "columns "));
    for (int width = 0; in >> width;) widths.push_back(width);
    return widths;
}

// A drag of a column divider with the real pointer: pressed on the right edge of
// the first column's header item, moved 60 pixels right in steps as a hand moves,
// released; the column now ends at the release point (its last pixel just left
// of it) and the other columns keep their widths.
TEST(RealWindowTest, DraggingADividerWithThePointerResizesItsColumn) {
    IoPointsDemo d;
    d.Start();
    if (::testing::Test::HasFatalFailure()) return;
    ASSERT_TRUE(AskReport(d.demo->Pid(), d.report));
    const std::vector<int> before = ColumnWidths(d.Report());
    ASSERT_GE(before.size(), 3u) << d.Report();
    int x = 0, y = 0;
    ASSERT_TRUE(PointAfter(d.Report(), "divider 0 at ", &x, &y)) << d.Report();
    std::vector<std::string> drag = {"mousemove", "--sync", "--window", d.windowId, std::to_string(x),
                                     std::to_string(y), "mousedown", "1"};
    for (int step = 1; step <= 6; ++step) {
        for (const std::string& arg : {std::string("mousemove"), std::string("--sync"), std::string("--window"),
                                       d.windowId, std::to_string(x + 10 * step), std::to_string(y)}) {
            drag.push_back(arg);
        }
    }
    drag.push_back("mouseup");
    drag.push_back("1");
    ASSERT_EQ(d.Xdotool(drag), 0);
    std::vector<int> after;
    EXPECT_TRUE(WaitFor(
        [&] {
            if (!AskReport(d.demo->Pid(), d.report)) return false;
            after = ColumnWidths(d.Report());
            return !after.empty() && after[0] != before[0];
        },
        10))
        << d.Report();
    ASSERT_EQ(after.size(), before.size());
    int newX = 0, newY = 0;
    ASSERT_TRUE(PointAfter(d.Report(), "divider 0 at ", &newX, &newY)) << d.Report();
    EXPECT_EQ(newX, x + 60 - 1) << "the column's last pixel is just left of the release point";
    EXPECT_EQ(after[0], before[0] + 60 - 1) << "pressed one pixel inside the edge, dropped 60 pixels right of that";
    for (size_t column = 1; column < before.size(); ++column) EXPECT_EQ(after[column], before[column]) << column;
    d.Stop();
}

// The number after `field` in `text` (xwininfo's "Absolute upper-left X:" and the like).
long NumberAfter(const std::string& text, const std::string& field) {
    size_t at = text.find(field);
    return at == std::string::npos ? -1 : std::strtol(text.c_str() + at + field.size(), nullptr, 10);
}

TEST(RealWindowTest, TheDemosFrameUnderAWindowManagerHasOneTitleBar) {
    TempFolder folder;
    tq3::test::VirtualScreen screen;
    ASSERT_TRUE(screen.Start("1280x800x24")) << "Xvfb did not start";
    const std::string display = screen.Display();
    const std::vector<std::string> env = {"DISPLAY=" + display, "SDL_VIDEODRIVER=x11"};
    Child wm({"openbox"}, env, {}, folder.File("openbox.log"));
    ASSERT_TRUE(WaitFor(
        [&] {
            std::string root;
            RunProgram({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, env, folder, &root);
            return root.find("window id") != std::string::npos;
        },
        30))  // the wait ends as soon as it is up; a loaded machine may take long to start it
        << "openbox did not start: " << ReadFile(folder.File("openbox.log"));

    const std::string out = folder.File("out");
    Child demo({TQ3DEMO_PROGRAM, "--size", "900x600", "--out", out, "--settings-dir", folder.File("settings")}, env, {},
               folder.File("demo.log"));
    ASSERT_TRUE(WaitFor([&] { return ReadFile(out + "/report.txt").find("hook sheet 0\n") != std::string::npos; }, 20))
        << "the demo did not start: " << ReadFile(folder.File("demo.log"));
    std::string ids;
    ASSERT_EQ(RunProgram({"xdotool", "search", "--sync", "--onlyvisible", "--pid", std::to_string(demo.Pid())}, env,
                         folder, &ids),
              0)
        << ids;
    EXPECT_EQ(Count(ids, "\n"), 1u) << "one system window for the one top-level window: " << ids;
    const std::string frameId = ids.substr(0, ids.find('\n'));

    // The window manager decorates it: a title bar above the demo's window...
    std::string extents;
    RunProgram({"xprop", "-id", frameId, "_NET_FRAME_EXTENTS"}, env, folder, &extents);
    const size_t equals = extents.find('=');
    ASSERT_NE(equals, std::string::npos) << extents;
    int left = 0, right = 0, top = 0, bottom = 0;
    ASSERT_EQ(std::sscanf(extents.c_str() + equals + 1, " %d, %d, %d, %d", &left, &right, &top, &bottom), 4) << extents;
    EXPECT_GT(top, 10) << "no title bar from the window manager: " << extents;
    std::string info;
    ASSERT_EQ(RunProgram({"xwininfo", "-id", frameId}, env, folder, &info), 0);
    const long x = NumberAfter(info, "Absolute upper-left X:");
    const long y = NumberAfter(info, "Absolute upper-left Y:");
    EXPECT_EQ(NumberAfter(info, "Width:"), 900);
    EXPECT_EQ(NumberAfter(info, "Height:"), 600);

    // ...and inside it no caption of the demo's own: the top rows of the window
    // hold none of the colours of the framework's caption.
    const std::string shot = folder.File("screen.png");
    ASSERT_EQ(RunProgram({"import", "-window", "root", shot}, env, folder, nullptr), 0);
    tq3::fw::Surface image;
    ASSERT_TRUE(tq3::fw::LoadPng(shot, &image));
    ASSERT_GE(image.Width(), x + 900);
    const tq3::fw::Pixel captionStart = 0x99B4D1;  // the active caption's colours, 0x00RRGGBB
    const tq3::fw::Pixel captionEnd = 0xB9D1EA;
    int captionPixels = 0;
    for (long row = y; row < y + 18; ++row) {
        for (long col = x; col < x + 900; ++col) {
            const tq3::fw::Pixel p = image.At(static_cast<int>(col), static_cast<int>(row)) & 0xFFFFFF;
            captionPixels += p == captionStart || p == captionEnd;
        }
    }
    EXPECT_EQ(captionPixels, 0);

    kill(demo.Pid(), SIGTERM);
    EXPECT_EQ(demo.Wait(15), 0) << ReadFile(folder.File("demo.log"));
}

}  // namespace
}  // namespace tq3::test
