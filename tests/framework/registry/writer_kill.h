// Runs a writer in a child process and kills it (SIGKILL) at a moment the child
// chooses: the child calls ReportReady() from inside its write, and the parent
// kills it `delay` after hearing that. A writer may keep writing after the
// report, so that the kill lands at an unforeseen point, or block, so that it
// lands exactly there. Used by the tests of everything that must survive a
// process dying halfway through a write.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace tq3::test {

class WriterKill {
public:
    enum class Outcome {
        Killed,       // the child was inside its work when the signal came
        ExitedFirst,  // the child ended before it could be killed
        NoReport,     // the child never reported (it failed or hung)
        ForkFailed,
    };

    // Called in the child: tells the parent the kill may come now.
    static void ReportReady() {
        char byte = 1;
        if (write(ReportFd(), &byte, 1) != 1) _exit(98);
    }

    // `writer` runs in the child; its return value is the child's exit code.
    static Outcome Run(const std::function<int()>& writer, std::chrono::microseconds delay,
                       std::chrono::milliseconds reportTimeout = std::chrono::milliseconds(20000)) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return Outcome::ForkFailed;
        pid_t child = fork();
        if (child < 0) {
            close(pipeFds[0]);
            close(pipeFds[1]);
            return Outcome::ForkFailed;
        }
        if (child == 0) {
            close(pipeFds[0]);
            ReportFd() = pipeFds[1];
            // _exit: the child must not run the parent's exit handlers or flush
            // its copies of the parent's buffers.
            _exit(writer());
        }
        close(pipeFds[1]);
        pollfd wait{pipeFds[0], POLLIN, 0};
        bool reported = false;
        if (poll(&wait, 1, static_cast<int>(reportTimeout.count())) == 1) {
            char byte = 0;
            reported = read(pipeFds[0], &byte, 1) == 1;
        }
        close(pipeFds[0]);
        if (reported && delay.count() > 0) std::this_thread::sleep_for(delay);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (!reported) return Outcome::NoReport;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? Outcome::Killed : Outcome::ExitedFirst;
    }

private:
    static int& ReportFd() {
        static int fd = -1;
        return fd;
    }
};

}  // namespace tq3::test
