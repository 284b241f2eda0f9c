// tq3demo: the table view in a host application, with the system's time zone and
// country tables, a generated list of 100,000 process I/O points and a Japanese
// equipment list. Without --headless it opens a window on the desktop; with
// --headless (or --script) it runs on the in-memory desktop, plays a script and
// writes reports and screenshots.
//
// Exit codes: 0 done, 1 a script or start-up error (the message names it), 2 wrong
// usage, 3 no window can be opened here (no display, or a build without the
// interactive backend): nothing was shown, so a caller may run it headless instead.
#include <tq3view/testing.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "demo/demo_frame.h"
#include "demo/live_report.h"
#include "demo/options.h"
#include "demo/script_player.h"
#include "framework/system/registry.h"
#include "framework/window/interactive.h"
#include "settings/language.h"
#include "settings/registry_location.h"


namespace {

using tq3::demo::CDemoFrame;
using tq3::demo::Options;
using Clock = std::chrono::steady_clock;

constexpr int kUsage = 2;
constexpr int kFailed = 1;
constexpr int kNoWindow = 3;

class CDemoApp : public CWinApp {
public:
    CDemoApp() : CWinApp(u"TQ3View Demo") { SetRegistryKey(u"TQ3View"); }
};

// What an installation would have made: the machine-wide product key that holds
// the language (the view never creates it, and stores no language without it).
void EnsureProductKey() {
    HKEY key = nullptr;
    CString product = MakeRegistryKeyName();
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, product, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegCloseKey(key);
    }
}

// The registry language, after storing the one asked for on the command line.
int ChooseLanguage(int requested) {
    if (requested >= 0) SetLanguageRegistry(requested);
    const int stored = GetLanguageRegistry();
    return stored >= 0 ? stored : 0;
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

tq3::demo::SheetSources SourcesFor(const Options& options) {
    tq3::demo::SheetSources sources;
    if (!options.dataDir.empty()) {
        sources.zoneFile = options.dataDir + "/zone1970.tab";
        sources.olderZoneFile = options.dataDir + "/zone.tab";
        sources.countryFile = options.dataDir + "/iso3166.tab";
    }
    sources.ioPointLines = options.ioPointLines;
    return sources;
}

// Writes to standard output and, when a folder was given, to its report.txt.
class ReportSink : public std::stringbuf {
public:
    explicit ReportSink(const std::string& outDir) {
        if (!outDir.empty()) file_.open(std::filesystem::path(outDir) / "report.txt", std::ios::trunc);
    }
    bool FileFailed(const std::string& outDir) const { return !outDir.empty() && !file_.is_open(); }

protected:
    int sync() override {
        const std::string text = str();
        std::cout << text << std::flush;
        if (file_.is_open()) file_ << text << std::flush;
        str(std::string());
        return 0;
    }

private:
    std::ofstream file_;
};

bool MakeOutFolder(const Options& options) {
    if (options.outDir.empty()) return true;
    std::error_code error;
    std::filesystem::create_directories(options.outDir, error);
    if (!error) return true;
    std::cerr << "tq3demo: cannot make " << options.outDir << ": " << error.message() << "\n";
    return false;
}

int RunHeadless(const Options& options, int language, Clock::time_point started) {
    if (!MakeOutFolder(options)) return kFailed;
    std::string scriptText;
    if (!options.script.empty()) {
        std::ifstream in(options.script, std::ios::binary);
        if (!in) {
            std::cerr << "tq3demo: cannot read the script " << options.script << "\n";
            return kFailed;
        }
        scriptText.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Parsed before anything is shown, so a typing error costs no start-up.
    tq3::demo::ParsedScript script = tq3::demo::ParseScript(scriptText);
    if (!script.error.empty()) {
        std::cerr << options.script << ": " << script.error << "\n";
        return kFailed;
    }

    tq3::testing::Desktop desktop(options.width, options.height);
    std::vector<std::string> problems;
    const Clock::time_point filling = Clock::now();
    CDemoFrame* frame =
        CDemoFrame::Open(language, SourcesFor(options), RECT{0, 0, options.width, options.height}, &problems);
    for (const std::string& problem : problems) std::cerr << "tq3demo: " << problem << "\n";
    if (frame == nullptr) {
        std::cerr << "tq3demo: the main window could not be made\n";
        return kFailed;
    }
    desktop.RunUntilIdle();
    const Clock::time_point painted = Clock::now();
    if (options.measure) {
        std::cout << "startup to first complete paint: " << Milliseconds(painted - started) << " ms (sheets and window "
                  << Milliseconds(painted - filling) << " ms), " << frame->View()->GetLineCount(2)
                  << " lines on the I/O points sheet; resident memory after start: " << ResidentKiB() << " kB\n";
    }

    ReportSink sink(options.outDir);
    if (sink.FileFailed(options.outDir)) {
        std::cerr << "tq3demo: cannot write " << options.outDir << "/report.txt\n";
        return kFailed;
    }
    std::ostream report(&sink);
    int result = 0;
    if (!options.script.empty()) {
        tq3::demo::ScriptPlayer player(desktop, *frame, options.outDir, report);
        // A modal window that the script gave no answer for would wait forever.
        desktop.SetFailureHandler([&](const std::string& description) {
            report.flush();
            std::cerr << options.script << ": line " << player.CurrentLine() << ": " << description << "\n";
            std::cerr.flush();
            std::_Exit(kFailed);
        });
        std::string error;
        if (!player.Run(script, &error)) {
            std::cerr << options.script << ": " << error << "\n";
            result = kFailed;
        }
    } else if (!options.outDir.empty()) {
        const std::string path = (std::filesystem::path(options.outDir) / "demo.png").string();
        if (!tq3::testing::SaveScreenshot(frame->m_hWnd, path)) {
            std::cerr << "tq3demo: cannot write " << path << "\n";
            result = kFailed;
        }
    }
    report.flush();
    if (IsWindow(frame->m_hWnd)) frame->DestroyWindow();
    desktop.RunUntilIdle();
    return result;
}

int RunInteractive(CDemoApp& app, const Options& options, int language) {
    const bool virtualDesktop = options.virtualDesktop || tq3::fw::VirtualDesktopAsked();
    if (!tq3::fw::InstallInteractiveBackend(virtualDesktop, options.width, options.height,
                                            tq3::demo::TextsFor(language).appTitle)) {
        return kNoWindow;  // the framework said why
    }
    if (!MakeOutFolder(options)) return kFailed;
    std::vector<std::string> problems;
    CDemoFrame* frame =
        CDemoFrame::Open(language, SourcesFor(options), RECT{0, 0, options.width, options.height}, &problems);
    for (const std::string& problem : problems) std::cerr << "tq3demo: " << problem << "\n";
    if (frame == nullptr) {
        std::cerr << "tq3demo: the main window could not be made\n";
        return kFailed;
    }
    // On a virtual desktop the frame fills the one window; as a system window of
    // its own it keeps the size asked for, placed by the system's window manager.
    frame->ShowWindow(virtualDesktop ? SW_SHOWMAXIMIZED : SW_SHOW);
    std::ofstream reportFile;
    std::optional<tq3::demo::LiveReport> live;
    if (!options.outDir.empty()) {
        reportFile.open(std::filesystem::path(options.outDir) / "report.txt", std::ios::trunc);
        if (!reportFile) {
            std::cerr << "tq3demo: cannot write " << options.outDir << "/report.txt\n";
            return kFailed;
        }
        live.emplace(*frame, reportFile);
    }
    return app.Run();
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point started = Clock::now();
    Options options;
    std::string error;
    if (!tq3::demo::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        std::cerr << "tq3demo: " << error << "\n" << tq3::demo::UsageText();
        return kUsage;
    }
    if (options.help) {
        std::cout << tq3::demo::UsageText();
        return 0;
    }
    if (!options.settingsDir.empty()) {
        std::error_code made;
        std::filesystem::create_directories(options.settingsDir, made);
        tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, options.settingsDir + "/user-registry.db");
        tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, options.settingsDir + "/machine-registry.db");
    }
    CDemoApp app;
    EnsureProductKey();
    const int language = ChooseLanguage(options.language);
    if (options.headless) return RunHeadless(options, language, started);
    return RunInteractive(app, options, language);
}
