// The demo program itself on the headless desktop: the tour script end to end
// (the hooks report the sheet switches, the screenshots exist and show a window),
// and the exit codes and messages of scripts that cannot be played.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#include "framework/gdi/png_image.h"
#include "tests/demo/temp_folder.h"

namespace tq3::test {
namespace {

struct DemoRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the demo with `arguments` (already quoted where needed), settings kept in
// the folder so the user's own are never touched.
DemoRun RunDemo(const TempFolder& folder, const std::string& arguments) {
    const std::string command = std::string("'") + TQ3DEMO_PROGRAM + "' --settings-dir '" + folder.File("settings") +
                                "' " + arguments + " >'" + folder.File("stdout") + "' 2>'" + folder.File("stderr") + "'";
    DemoRun run;
    const int status = std::system(command.c_str());
    if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.out = ReadFile(folder.File("stdout"));
    run.err = ReadFile(folder.File("stderr"));
    return run;
}

// Lines of `text` that start with `prefix`, in order.
std::vector<std::string> LinesStarting(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    }
    return lines;
}

// The number after the last `word ` of `line`.
int NumberAfter(const std::string& line, const std::string& word) {
    const size_t at = line.rfind(word + " ");
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + word.size() + 1);
}

TEST(TourTest, TourReportsSheetSwitchesAndWritesScreenshots) {
    TempFolder folder;
    const DemoRun run = RunDemo(folder, std::string("--script '") + TQ3DEMO_TOUR + "' --out '" + folder.File("tour") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string report = ReadFile(folder.File("tour/report.txt"));
    EXPECT_EQ(report, run.out) << "the report file and standard output differ";

    // Every switch reaches the host's hook, the cursor hook following it.
    EXPECT_EQ(LinesStarting(report, "hook sheet"),
              (std::vector<std::string>{"hook sheet 0", "hook sheet 1", "hook sheet 2", "hook sheet 1", "hook sheet 3",
                                        "hook sheet 0", "hook sheet 2"}));
    // Where the Find dialog stopped on Europe/Paris depends on the time zone table.
    const std::string findShot = "screenshot 11-find-dialog.png\ncursor line ";
    const size_t found = report.find(findShot);
    ASSERT_NE(found, std::string::npos) << report;
    const size_t lineAt = found + findShot.size();
    const std::string paris = report.substr(lineAt, report.find(' ', lineAt) - lineAt);
    const std::string pieces[] = {
        "hook sheet 2\nhook cursor 0 0\n",
        // The title follows the hooks and the language.
        "title \"TQ3View デモ - シート: 設備一覧 | カーソル: 0, 0 | 変更: -\"",
        "title \"TQ3View demo - Sheet: Time zones | Cursor: 0, 0 | Changed: -\"\n",
        // Ten notches of the wheel, three lines each; the tags carry their line.
        "scroll top line 30 x 0\ncell 30 0 \"",
        "-A00-0030\"\n",
        "cell 0 1 \"原料供給ポンプ\"",
        // The mouse selects and the keyboard walks, selects to the end and changes sheets.
        "hook cursor 32 1\ncursor line 32 column 1\nselection lines 32-36 columns 1-4\n",
        "cursor line 33 column 1\nselection lines 34-99999 columns 1-8\n"
        "title \"TQ3View demo - Sheet: I/O points | Cursor: 34, 1 | Changed: -\"\n"
        "hook cursor 33 1\nhook cursor 34 1\nhook sheet 1\nhook cursor 0 0\n",
        // Typed text, a number whose letter and third decimal are refused, a unit
        // from the dropped list, and one number for four lines.
        "cell 2 1 \"Feed pump 2\"\ncell 4 4 \"12.34\"\nscreenshot 06-drop-down.png\ncell 3 6 \"bar\"\n",
        "hook cursor 6 7\nhook changed 6 7\nhook changed 7 7\nhook changed 8 7\nhook changed 9 7\n"
        "hook cursor 7 7\ncell 9 7 \"250\"\n"
        "title \"TQ3View demo - Sheet: I/O points | Cursor: 7, 7 | Changed: 9, 7\"\n",
        // A copied block pastes three times over six lines; over five lines the view
        // asks first. Ctrl+Z undoes the demo's own entries newest first.
        "clipboard \"Reactor R101 speed\\tAI\\r\\nHeat exchanger E152 hand switch\\tDI\\r\\n\"\n"
        "selection lines 10-15 columns 1-2\ncell 14 1 \"Reactor R101 speed\"\ncell 15 2 \"DI\"\n"
        "cell 22 1 \"Reactor R101 speed\"\n"
        "cell 22 1 \"Tank T145 closed limit switch\"\nselection lines 20-24 columns 1-1\n"
        "cell 14 1 \"Boiler B104 closed limit switch\"\ncell 9 7 \"500\"\nscreenshot 07-context-menu.png\n",
        // Whole columns, lines and all cells selected from the headers; a right
        // click selecting the column under it.
        "selection lines 0-99999 columns 3-3\nselection lines 0-99999 columns 4-6\n"
        "selection lines 3-8 columns 0-8\nselection lines 0-99999 columns 0-8\n"
        "screenshot 09-header-menu.png\nselection lines 0-99999 columns 5-5\n",
        // Find down the TZ column, copied; All columns finding a comment, then the
        // message; a number; Yes to the one-column question; Replace All.
        "cursor line " + paris + " column 2\nclipboard \"Europe/Paris\\r\\n\"\n"
            "screenshot 12-find-no-more.png\ncursor line 1 column 3\nscreenshot 13-find-number.png\n"
            "cursor line " + paris + " column 4\nselection lines 0-5 columns 2-2\n"
            "cursor line 1 column 2\nscreenshot 14-replace-dialog.png\n"
            "cell 23 1 \"Blower K122 pressure valve position\"\ncell 28 1 \"Blower K155 flow\"\n"
            "screenshot 15-replace-jpn.png\n",
    };
    for (const std::string& piece : pieces) EXPECT_NE(report.find(piece), std::string::npos) << piece;

    // A divider dragged wider and fitted back by a double click; a larger font
    // makes taller lines.
    const std::vector<std::string> widths =
        LinesStarting(report.substr(report.find("screenshot 07-context-menu.png\n")), "columns");
    ASSERT_EQ(widths.size(), 3u) << report;
    auto width = [](const std::string& line) { return std::atoi(line.c_str() + line.find(' ', 8)); };  // columns TAG W
    EXPECT_GT(width(widths[1]), width(widths[0])) << "the drag widens the column";
    EXPECT_EQ(widths[2], widths[0]) << "the double click fits it to its texts again";
    const std::vector<std::string> fonts = LinesStarting(report, "font");
    ASSERT_EQ(fonts.size(), 2u) << report;
    EXPECT_GT(NumberAfter(fonts[1], "line"), NumberAfter(fonts[0], "line")) << fonts[0] << " / " << fonts[1];

    // The table's bar: docked by its gripper at every side, floated and docked
    // back, narrowed by its sizing edge, closed and shown again; the pane shows
    // the cursor's line.
    const std::vector<std::string> bars = LinesStarting(report, "bar ");
    ASSERT_EQ(bars.size(), 9u) << report;
    const char* places[] = {"left", "top", "right", "bottom", "floating", "left", "left", "left", "left"};
    for (size_t i = 0; i < bars.size(); ++i) {
        EXPECT_EQ(bars[i].substr(4, bars[i].find(' ', 4) - 4), places[i]) << bars[i];
        const char* shown = i != 7 ? " shown menu checked" : " hidden menu unchecked";
        EXPECT_NE(bars[i].find(shown), std::string::npos) << bars[i];
    }
    EXPECT_EQ(NumberAfter(bars[5], "width"), NumberAfter(bars[0], "width")) << "docked back at its width";
    EXPECT_LT(NumberAfter(bars[6], "width"), NumberAfter(bars[5], "width")) << "the sizing edge narrows it";
    EXPECT_EQ(NumberAfter(bars[8], "width"), NumberAfter(bars[6], "width")) << "shown again at that width";
    const std::vector<std::string> panes = LinesStarting(report, "pane ");
    ASSERT_EQ(panes.size(), 3u) << report;
    for (size_t i = 0; i < panes.size(); ++i) {
        EXPECT_EQ(panes[i].rfind("pane \"I/O points\" | ", 0), 0u) << panes[i];
        EXPECT_NE(panes[i].find(i < 2 ? "-0002\"" : "-0003\""), std::string::npos) << panes[i];
    }

    const char* shots[] = {"01-time-zones",  "02-countries",   "03-io-points",   "04-equipment-jpn",  "05-edit-box",
                           "06-drop-down",   "07-context-menu", "08-tracking-line", "09-header-menu", "10-larger-font",
                           "11-find-dialog", "12-find-no-more", "13-find-number", "14-replace-dialog", "15-replace-jpn",
                           "16-bar-left",    "17-bar-top",      "18-bar-right",   "19-bar-bottom",    "20-bar-floating",
                           "21-bar-docked-again", "22-bar-sizing", "23-bar-narrower", "24-bar-closed", "25-bar-shown"};
    for (const char* shot : shots) {
        tq3::fw::Surface image;
        ASSERT_TRUE(tq3::fw::LoadPng(folder.File(std::string("tour/") + shot + ".png"), &image)) << shot;
        EXPECT_EQ(image.Width(), 1024) << shot;
        EXPECT_EQ(image.Height(), 768) << shot;
        // The caption holds anti-aliased text: many shades, not one flat colour.
        std::set<tq3::fw::Pixel> colours;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < image.Width(); ++x) colours.insert(image.At(x, y));
        EXPECT_GT(colours.size(), 8u) << shot;
    }
}

TEST(TourTest, ScriptsThatCannotBePlayedStopWithTheirLine) {
    const std::tuple<const char*, const char*, int, const char*> cases[] = {
        {"report sheet\nkey ctrl+Nothing\n", "", 1, "line 2: unknown key 'Nothing'"},
        {"", "--colour", 2, "unknown option '--colour'"},
    };
    for (const auto& [script, extra, exitCode, message] : cases) {
        TempFolder folder;
        const DemoRun run =
            RunDemo(folder, "--io-lines 100 --script '" + folder.Write("s.script", script) + "' " + extra);
        EXPECT_EQ(run.exitCode, exitCode) << message << ": " << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace tq3::test
