// A demo in a window on the desktop can be asked from outside what it shows; the
// tests of the real window read it this way. Hook reports are written as they
// happen; SIGUSR1 adds the current sheet, the title, the cursor cell, the
// clipboard's text, the first line shown and where the view and the sheet tabs
// are on the screen, ending with "end of report"; SIGTERM and SIGINT close the main window as the user would,
// so the settings are saved on the way out.
#pragma once

#include <ostream>

namespace tq3::demo {

class CDemoFrame;

class LiveReport {
public:
    // Installs the signal handlers and starts watching for them from the frame's
    // message loop; reports go to `out`.
    LiveReport(CDemoFrame& frame, std::ostream& out);
    ~LiveReport();
    LiveReport(const LiveReport&) = delete;
    LiveReport& operator=(const LiveReport&) = delete;

private:
    void Poll();

    CDemoFrame& frame_;
    std::ostream& out_;
};

}  // namespace tq3::demo
