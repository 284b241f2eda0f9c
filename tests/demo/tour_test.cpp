// The demo program itself on the headless desktop: the tour script end to end
// (the hooks report the sheet switches, the screenshots exist and show a window),
// and the exit codes and messages of scripts that cannot be played.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "framework/gdi/png_image.h"
#include "framework/system/registry.h"
#include "tests/demo/temp_folder.h"

namespace tq3::test {
namespace {

struct DemoRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

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

size_t DistinctColours(const tq3::fw::Surface& image, int top, int bottom) {
    std::set<tq3::fw::Pixel> colours;
    for (int y = top; y < bottom && y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) colours.insert(image.At(x, y));
    }
    return colours.size();
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
    EXPECT_NE(report.find("hook sheet 2\nhook cursor 0 0\n"), std::string::npos) << report;
    // The title follows the hooks and the language.
    EXPECT_NE(report.find("title \"TQ3View デモ - シート: 設備一覧 | カーソル: 0, 0 | 変更: -\""), std::string::npos)
        << report;
    EXPECT_NE(report.find("title \"TQ3View demo - Sheet: Time zones | Cursor: 0, 0 | Changed: -\"\n"),
              std::string::npos)
        << report;
    // Ten notches of the wheel, three lines each, on the I/O points sheet, whose
    // tags carry their line number.
    const size_t scrolled = report.find("scroll top line 30 x 0\ncell 30 0 \"");
    ASSERT_NE(scrolled, std::string::npos) << report;
    EXPECT_NE(report.find("-A00-0030\"\n", scrolled), std::string::npos) << report;
    EXPECT_NE(report.find("cell 0 1 \"原料供給ポンプ\""), std::string::npos) << report;
    // The mouse selects and the keyboard walks, selects to the end and changes sheets.
    EXPECT_NE(report.find("hook cursor 32 1\ncursor line 32 column 1\nselection lines 32-36 columns 1-4\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("cursor line 33 column 1\nselection lines 34-99999 columns 1-8\n"
                          "title \"TQ3View demo - Sheet: I/O points | Cursor: 34, 1 | Changed: -\"\n"
                          "hook cursor 33 1\nhook cursor 34 1\nhook sheet 1\nhook cursor 0 0\n"),
              std::string::npos)
        << report;

    // Edits of each kind: typed text, a number whose letter and third decimal are
    // refused, a unit picked from the dropped list, and one number for four lines.
    EXPECT_NE(report.find("cell 2 1 \"Feed pump 2\"\ncell 4 4 \"12.34\"\nscreenshot 06-drop-down.png\n"
                          "cell 3 6 \"bar\"\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("hook cursor 6 7\nhook changed 6 7\nhook changed 7 7\nhook changed 8 7\nhook changed 9 7\n"
                          "hook cursor 7 7\ncell 9 7 \"250\"\n"
                          "title \"TQ3View demo - Sheet: I/O points | Cursor: 7, 7 | Changed: 9, 7\"\n"),
              std::string::npos)
        << report;

    // A block copied with Ctrl+C pastes three times over six lines; over five lines
    // the view asks first. Ctrl+Z undoes the demo's own undo entries newest first:
    // the second paste, the first, then the edit written to four lines.
    EXPECT_NE(report.find("clipboard \"Reactor R101 speed\\tAI\\r\\nHeat exchanger E152 hand switch\\tDI\\r\\n\"\n"
                          "selection lines 10-15 columns 1-2\ncell 14 1 \"Reactor R101 speed\"\ncell 15 2 \"DI\"\n"
                          "cell 22 1 \"Reactor R101 speed\"\n"
                          "cell 22 1 \"Tank T145 closed limit switch\"\nselection lines 20-24 columns 1-1\n"
                          "cell 14 1 \"Boiler B104 closed limit switch\"\ncell 9 7 \"500\"\n"
                          "screenshot 07-context-menu.png\n"),
              std::string::npos)
        << report;

    // The headers: a divider dragged wider and fitted back by a double click;
    // whole columns, lines and all cells selected; a right click selecting the
    // column under it. Then a larger font makes taller lines.
    const size_t headers = report.find("screenshot 07-context-menu.png\n");
    std::vector<std::string> widths = LinesStarting(report.substr(headers), "columns");
    ASSERT_EQ(widths.size(), 3u) << report;
    auto description = [](const std::string& line) {
        std::istringstream in(line.substr(std::string("columns").size()));
        int tag = 0, width = 0;
        in >> tag >> width;
        return width;
    };
    EXPECT_GT(description(widths[1]), description(widths[0])) << "the drag widens the column";
    EXPECT_EQ(widths[2], widths[0]) << "the double click fits it to its texts again";
    EXPECT_NE(report.find("selection lines 0-99999 columns 3-3\nselection lines 0-99999 columns 4-6\n"
                          "selection lines 3-8 columns 0-8\nselection lines 0-99999 columns 0-8\n"
                          "screenshot 09-header-menu.png\nselection lines 0-99999 columns 5-5\n"),
              std::string::npos)
        << report;
    std::vector<std::string> fonts = LinesStarting(report, "font");
    ASSERT_EQ(fonts.size(), 2u) << report;
    auto lineHeight = [](const std::string& line) { return std::atoi(line.c_str() + line.rfind(' ') + 1); };
    EXPECT_GT(lineHeight(fonts[1]), lineHeight(fonts[0])) << fonts[0] << " / " << fonts[1];

    // Find: the typed name found down the TZ column and copied; All columns
    // finding a comment, then the message; a number found in the latitude column;
    // Yes to the one-column question narrowing the selection. Replace All changes
    // every description that names a compressor.
    const std::string findShot = "screenshot 11-find-dialog.png\ncursor line ";
    const size_t found = report.find(findShot);
    ASSERT_NE(found, std::string::npos) << report;
    const size_t lineAt = found + findShot.size();
    const std::string parisLine = report.substr(lineAt, report.find(' ', lineAt) - lineAt);
    EXPECT_NE(report.find("cursor line " + parisLine + " column 2\nclipboard \"Europe/Paris\\r\\n\"\n"
                          "screenshot 12-find-no-more.png\ncursor line 1 column 3\nscreenshot 13-find-number.png\n"
                          "cursor line " + parisLine + " column 4\nselection lines 0-5 columns 2-2\n"
                          "cursor line 1 column 2\nscreenshot 14-replace-dialog.png\n"
                          "cell 23 1 \"Blower K122 pressure valve position\"\ncell 28 1 \"Blower K155 flow\"\n"
                          "screenshot 15-replace-jpn.png\n"),
              std::string::npos)
        << report;

    // The table's bar: docked by its gripper at every side, floated and docked
    // back by its floating frame's caption, made narrower by its sizing edge,
    // closed and shown again from the View menu; the pane shows the cursor's line.
    std::vector<std::string> bars = LinesStarting(report, "bar ");
    ASSERT_EQ(bars.size(), 9u) << report;
    const char* places[] = {"left", "top", "right", "bottom", "floating", "left", "left", "left", "left"};
    for (size_t i = 0; i < bars.size(); ++i) {
        EXPECT_EQ(bars[i].substr(4, bars[i].find(' ', 4) - 4), places[i]) << bars[i];
        const bool shown = i != 7;
        EXPECT_NE(bars[i].find(shown ? " shown menu checked" : " hidden menu unchecked"), std::string::npos) << bars[i];
    }
    auto barWidth = [](const std::string& line) { return std::atoi(line.c_str() + line.find(" width ") + 7); };
    EXPECT_EQ(barWidth(bars[5]), barWidth(bars[0])) << "docked back, the bar has its width at the left again";
    EXPECT_LT(barWidth(bars[6]), barWidth(bars[5])) << "the sizing edge dragged to the left narrows it";
    EXPECT_EQ(barWidth(bars[8]), barWidth(bars[6])) << "shown again, it keeps that width";
    std::vector<std::string> panes = LinesStarting(report, "pane ");
    ASSERT_EQ(panes.size(), 3u) << report;
    for (size_t i = 0; i < panes.size(); ++i) {
        EXPECT_EQ(panes[i].rfind("pane \"I/O points\" | ", 0), 0u) << panes[i];
        EXPECT_NE(panes[i].find(i < 2 ? "-0002\"" : "-0003\""), std::string::npos) << panes[i];
    }

    const char* shots[] = {"01-time-zones.png",  "02-countries.png",   "03-io-points.png",   "04-equipment-jpn.png",
                           "05-edit-box.png",    "06-drop-down.png",   "07-context-menu.png", "08-tracking-line.png",
                           "09-header-menu.png", "10-larger-font.png", "11-find-dialog.png", "12-find-no-more.png",
                           "13-find-number.png", "14-replace-dialog.png", "15-replace-jpn.png",
                           "16-bar-left.png", "17-bar-top.png", "18-bar-right.png", "19-bar-bottom.png",
                           "20-bar-floating.png", "21-bar-docked-again.png", "22-bar-sizing.png",
                           "23-bar-narrower.png", "24-bar-closed.png", "25-bar-shown.png"};
    std::vector<tq3::fw::Surface> images;
    for (const char* shot : shots) {
        tq3::fw::Surface image;
        ASSERT_TRUE(tq3::fw::LoadPng(folder.File(std::string("tour/") + shot), &image)) << shot;
        EXPECT_EQ(image.Width(), 1024) << shot;
        EXPECT_EQ(image.Height(), 768) << shot;
        // The caption holds anti-aliased text: many shades, not one flat colour.
        EXPECT_GT(DistinctColours(image, 0, 24), 8u) << shot;
        images.push_back(std::move(image));
    }
    // The Japanese title is drawn differently from the English one.
    bool titlesDiffer = false;
    for (int y = 0; y < 24 && !titlesDiffer; ++y) {
        for (int x = 0; x < 1024 && !titlesDiffer; ++x) titlesDiffer = images[0].At(x, y) != images[3].At(x, y);
    }
    EXPECT_TRUE(titlesDiffer);
}

TEST(TourTest, TheBarsPlaceSizeAndVisibilityOutliveTheRun) {
    TempFolder folder;
    const std::string report = folder.Write("report.script", "report bar\n");
    const DemoRun fresh = RunDemo(folder, "--io-lines 10 --script '" + report + "'");
    ASSERT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_EQ(fresh.out.rfind("bar left width ", 0), 0u) << fresh.out;
    // Each run changes the bar and reports it; the next start shows it so.
    struct Step {
        const char* what;
        const char* script;
        const char* place;
    };
    const Step steps[] = {
        {"docked at the top and made lower",
         "drag gripper to frame top\nwait 1000\npress edge\nmove frame 400 150\nrelease frame 400 150\n", "bar top "},
        {"floating", "drag gripper to frame 700 400\n", "bar floating "},
        {"docked at the right and closed", "drag caption to frame right\nclick close\n", "bar right "},
    };
    std::string before = fresh.out;
    for (const Step& step : steps) {
        const std::string change = folder.Write("change.script", std::string(step.script) + "report bar\n");
        const DemoRun changed = RunDemo(folder, "--io-lines 10 --script '" + change + "'");
        ASSERT_EQ(changed.exitCode, 0) << step.what << ": " << changed.err;
        EXPECT_EQ(changed.out.rfind(step.place, 0), 0u) << step.what << ": " << changed.out;
        EXPECT_NE(changed.out, before) << step.what;
        const DemoRun next = RunDemo(folder, "--io-lines 10 --script '" + report + "'");
        ASSERT_EQ(next.exitCode, 0) << step.what << ": " << next.err;
        EXPECT_EQ(next.out, changed.out) << step.what;
        before = changed.out;
    }
    EXPECT_NE(before.find(" hidden menu unchecked"), std::string::npos) << before;
}

TEST(TourTest, ScriptsThatCannotBePlayedStopWithTheirLine) {
    struct Case {
        const char* name;
        const char* script;
        const char* extra;  // more arguments
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"typing error", "report sheet\nkey ctrl+Nothing\n", "", 1, "line 2: unknown key 'Nothing'"},
        {"no such sheet", "report sheet\n\nsheet #9\nreport sheet\n", "", 1, "line 3: there is no sheet #9"},
        {"no sheet of that name", "sheet \"Planets\"\n", "", 1, "line 1: there is no sheet named \"Planets\""},
        {"cell off the sheet", "report cell 5000 0\n", "--io-lines 10", 1, "line 1: cell 5000 0 is not on this sheet"},
        {"screenshot without folder", "screenshot a\n", "", 1, "line 1: screenshot needs an output folder"},
        {"unknown option", "", "--colour", 2, "unknown option '--colour'"},
        {"bad language", "", "--language xx", 2, "unknown language 'xx'"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string script = folder.Write("s.script", c.script);
        const DemoRun run = RunDemo(folder, "--io-lines 100 --script '" + script + "' " + c.extra);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    }
}

TEST(TourTest, MissingTablesAreReportedAndTheDemoStillRuns) {
    TempFolder folder;
    const std::string script = folder.Write("s.script", "report sheet\nreport cell 0 0\n");
    const DemoRun run = RunDemo(folder, "--io-lines 10 --data-dir '" + folder.File("nothing") + "' --script '" + script + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("time zones not shown"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("countries not shown"), std::string::npos) << run.err;
    // The sheet itself tells the user what is missing.
    EXPECT_NE(run.out.find("cell 0 0 \"time zones not shown: "), std::string::npos) << run.out;
}

TEST(TourTest, LanguageChosenOnTheCommandLineIsKeptForTheNextStart) {
    TempFolder folder;
    const std::string script = folder.Write("s.script", "report title\n");
    DemoRun first = RunDemo(folder, "--io-lines 10 --language kor --script '" + script + "'");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.out.find("TQ3View 데모"), std::string::npos) << first.out;
    DemoRun second = RunDemo(folder, "--io-lines 10 --script '" + script + "'");
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_NE(second.out.find("TQ3View 데모"), std::string::npos) << second.out;
}

TEST(TourTest, ColumnWidthsAndFontOutliveTheRun) {
    // A start with fewer I/O points fits narrower columns...
    TempFolder fresh;
    const std::string script = fresh.Write("s.script", "click tab #2\nreport columns\nreport font\n");
    const DemoRun narrow = RunDemo(fresh, "--io-lines 3 --script '" + script + "'");
    ASSERT_EQ(narrow.exitCode, 0) << narrow.err;

    // ...but a start after one that saved its widths and chose a 14-point font
    // through the View menu shows those widths in that font.
    TempFolder folder;
    const std::string choose = folder.Write("choose.script",
                                            "click tab #2\n"
                                            "answer item \"Font...\"\n"
                                            "answer type 1138 14\n"
                                            "answer ok\n"
                                            "key alt+v\n"
                                            "report columns\n"
                                            "report font\n");
    const DemoRun first = RunDemo(folder, "--io-lines 400 --script '" + choose + "'");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const DemoRun second = RunDemo(folder, "--io-lines 3 --script '" + script + "'");
    ASSERT_EQ(second.exitCode, 0) << second.err;
    ASSERT_NE(first.out.find("columns "), std::string::npos) << first.out;
    EXPECT_NE(narrow.out, first.out) << "the sample is too small to tell the runs apart";
    EXPECT_EQ(second.out, first.out);
    // The larger font makes taller lines than the first start's default font.
    auto lineHeight = [](const std::string& out) {
        const size_t at = out.find(" line ");
        return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + 6);
    };
    EXPECT_GT(lineHeight(first.out), lineHeight(narrow.out)) << first.out << narrow.out;

    // The view's font was stored when its window closed.
    const std::string previous = tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, folder.File("settings/user-registry.db")),
              ERROR_SUCCESS);
    HKEY key = nullptr;
    DWORD pointSize = 0;
    DWORD size = sizeof pointSize;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\TQ3View\\LogFont", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(key, u"iPointSize", nullptr, nullptr, reinterpret_cast<BYTE*>(&pointSize), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(pointSize, 140u) << "tenths of a point, as the font dialog gives them";
    RegCloseKey(key);
    tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, previous);
}

}  // namespace
}  // namespace tq3::test
