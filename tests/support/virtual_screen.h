// A virtual X server for the tests that drive a real window.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "framework/app/afxwin.h"

namespace tq3::test {

// Whether `program` can be started by name.
inline bool OnPath(const std::string& program) {
    return std::system(("command -v '" + program + "' >/dev/null 2>&1").c_str()) == 0;
}

// Runs the window manager's queue (and with it the interactive backend's) until
// nothing is waiting, as a host's message loop does.
inline void PumpOnce() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (!CWnd::WalkPreTranslateTree(nullptr, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
}

// Pumps until `done` holds or `seconds` pass; returns whether it held.
inline bool PumpUntil(const std::function<bool()>& done, double seconds = 5.0) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (PumpOnce(); !done() && Clock::now() < end; PumpOnce()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

// Starts the server on a display number it picks itself (-displayfd), so that
// tests running side by side never collide.
class VirtualScreen {
public:
    bool Start(const char* screenSize = "800x600x24") {
        int fds[2];
        if (pipe(fds) != 0) return false;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, 1);
            dup2(devNull, 2);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screenSize, "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c = 0;
        for (pollfd p{fds[0], POLLIN, 0}; poll(&p, 1, 20000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n';)
            number.push_back(c);
        close(fds[0]);
        display_ = ":" + number;
        return !number.empty();
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

// Another program on the virtual screen (a window manager, a client), ended
// with the test.
class Program {
public:
    explicit Program(std::vector<std::string> args) : args_(std::move(args)) { Launch(); }
    ~Program() { Stop(); }

    // Starts it again when it has ended. On a loaded machine the window manager
    // now and then ends at once, before it takes the screen; nothing of ours runs
    // on that screen yet, so a second start is the fair remedy.
    void KeepRunning() {
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) return;
        pid_ = -1;
        Launch();
    }

private:
    void Launch() {
        pid_ = fork();
        if (pid_ == 0) {
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, 1);
            dup2(devNull, 2);
            std::vector<char*> argv;
            for (std::string& a : args_) argv.push_back(a.data());
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
    }
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    std::vector<std::string> args_;
    pid_t pid_ = -1;
};

}  // namespace tq3::test
