// Plays a parsed script on the headless desktop against the demo's main window:
// input goes in through the backend's queue like a user's, targets given as cells,
// tabs and header items are found through the view's own geometry, and reports
// and screenshots are written as the script asks.
#pragma once

#include <ostream>
#include <string>

#include "demo/script.h"

namespace tq3::testing {
class Desktop;
}

namespace tq3::demo {

class CDemoFrame;

class ScriptPlayer {
public:
    // Reports go to `report`; screenshots into `outDir` (none allowed when empty).
    ScriptPlayer(tq3::testing::Desktop& desktop, CDemoFrame& frame, std::string outDir, std::ostream& report);

    // Runs every command in order. False at the first command that cannot be
    // carried out, with `error` as "line N: what went wrong".
    bool Run(const ParsedScript& script, std::string* error);

    // The line of the command running now (0 before the first), for messages
    // raised from inside a modal loop.
    int CurrentLine() const { return line_; }

private:
    bool Play(const Command& command, std::string* error);
    bool Report(const Command& command, std::string* error);
    bool Screenshot(const std::u16string& name, std::string* error);

    tq3::testing::Desktop& desktop_;
    CDemoFrame& frame_;
    std::string outDir_;
    std::ostream& report_;
    int line_ = 0;
};

}  // namespace tq3::demo
