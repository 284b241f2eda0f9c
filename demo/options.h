// The demo's command line.
#pragma once

#include <string>
#include <vector>

#include "demo/demo_sheets.h"

namespace tq3::demo {

struct Options {
    bool headless = false;     // run on the headless backend (no window on screen)
    bool virtualDesktop = false;  // the whole desktop in one window, not a window per window
    std::string script;        // a script to play (headless)
    std::string outDir;        // where reports and screenshots go
    int language = -1;         // 0-4 from --language; -1 keeps the registry language
    int width = 1024;          // size of the headless desktop and the main window
    int height = 768;
    bool measure = false;      // print the startup time and resident memory
    std::string settingsDir;   // keep both settings stores in this folder
    std::string dataDir;       // where the time zone and country tables are read from
    int ioPointLines = kIoPointLines;
    bool help = false;
};

// False with `error` set for an unknown option, a missing or bad value.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);
const char* UsageText();

}  // namespace tq3::demo
