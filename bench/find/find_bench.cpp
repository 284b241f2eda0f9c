// The search over a million cells, against a plain scan of the same texts.
//
// The view holds 1,000,000 lines of 10 columns ("r<line>c<column>", as in the
// other view benchmarks), and a second sheet of 100,000 lines of 10 Japanese
// addresses. Find looks for a text that is in no cell, over the last 100,000
// lines (1,000,000 cells) and over all of them (10,000,000 cells), in part of a
// cell (ignoring case, the dialog's default) and as whole cells. The plain scan
// searches lower-cased copies of the same cell texts, made beforehand, with
// std::u16string_view::find. The million cells are the last lines' because
// their numbers have six digits, as nine in ten of all the lines' have: the
// first 100,000 lines' cells are a character shorter, and ten million cells
// would be 11 % more text than ten times those.
//
// Replace All (the dialog's request through WM_NOTIFY) works down column 0, in
// which every tenth line holds "old" (or "new": each round replaces one with the
// other), over 100,000 and 1,000,000 lines; its baseline is the plain scan of
// that column plus SetCellText on the matching cells.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/ratio_report.h"
#include "bench/view_scene.h"
#include "framework/core/locale.h"

namespace {

using tq3::bench::kViewColumns;

constexpr int kLines = 1000000;
constexpr int kLastTenth = kLines - kLines / 10;  // the first of the last 100,000 lines
constexpr int kJapaneseLines = 100000;
constexpr int kJapaneseSheet = 1;
const char16_t* const kAbsent = u"C4X";
const char16_t* const kAbsentJapanese = u"\u5927\u962A\u5E02\u5317\u533A";  // 大阪市北区

std::u16string Lowered(std::u16string text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// An address of Tokyo for line `line`, column `column`.
std::u16string JapaneseCell(int line, int column) {
    static const std::u16string wards[] = {u"\u5343\u4EE3\u7530\u533A", u"\u4E2D\u592E\u533A", u"\u6E2F\u533A",
                                           u"\u65B0\u5BBF\u533A", u"\u6587\u4EAC\u533A"};
    static const std::u16string towns[] = {u"\u4E38\u306E\u5185", u"\u65E5\u672C\u6A4B", u"\u8D64\u5742",
                                           u"\u304B\u3050\u3089\u5742", u"\u30B7\u30D6\u30E4"};
    std::string number = std::to_string(line % 97 + 1);
    number += '-';
    number += std::to_string(column + 1);
    std::u16string cell(u"\u6771\u4EAC\u90FD");
    cell += wards[line % 5];
    cell += towns[(line / 5 + column) % 5];
    cell.append(number.begin(), number.end());
    cell += u"\u756A\u5730";
    return cell;
}

// Column 0 of line `line` in the Replace All rounds.
std::u16string ReplaceCell(int line, const char16_t* word) {
    const std::string number = std::to_string(line);
    std::u16string cell(1, u'r');
    cell.append(number.begin(), number.end());
    if (line % 10 == 0) cell += word;
    return cell;
}

struct Scene : tq3::bench::ViewScene {
    Scene() : ViewScene(kLines) {
        for (int l = 0; l < kLines; l += 10) view->SetCellText(0, l, 0, ReplaceCell(l, u"old").c_str());
        for (int l = 0; l < kJapaneseLines; ++l) {
            std::u16string line;
            for (int c = 0; c < kViewColumns; ++c) {
                if (c > 0) line += u'\t';
                line += JapaneseCell(l, c);
            }
            view->InsertLine(kJapaneseSheet, l, line.c_str());
        }
    }

    // The cells' texts, lower-cased, for the plain scan.
    std::vector<std::u16string> LoweredCells(int sheet, int first, int lines, int columns) {
        std::vector<std::u16string> cells;
        cells.reserve(static_cast<size_t>(lines) * static_cast<size_t>(columns));
        for (int l = first; l < first + lines; ++l) {
            for (int c = 0; c < columns; ++c) cells.push_back(Lowered(view->GetCellText(sheet, l, c).GetString()));
        }
        return cells;
    }
    const std::vector<std::u16string>& AsciiCells() {
        static const std::vector<std::u16string> cells = LoweredCells(0, kLastTenth, kLines / 10, kViewColumns);
        return cells;
    }
    const std::vector<std::u16string>& JapaneseCells() {
        static const std::vector<std::u16string> cells = LoweredCells(kJapaneseSheet, 0, kJapaneseLines, kViewColumns);
        return cells;
    }

    // Find over `lines` lines from line `first`: the line it found, or -1.
    int Find(int sheet, int first, int lines, const char16_t* text, DWORD flags) {
        int line = first;
        int column = 0;
        RECT area{0, first, kViewColumns - 1, first + lines - 1};
        POINT match;
        view->Find(sheet, line, column, text, flags, &area, &match);
        return line;
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

// How many of `cells` hold `text` (lower-cased here, once).
long PlainScan(const std::vector<std::u16string>& cells, std::u16string_view text) {
    const std::u16string needle = Lowered(std::u16string(text));
    long found = 0;
    for (const std::u16string& cell : cells) found += std::u16string_view(cell).find(needle) != std::u16string_view::npos;
    return found;
}

void BM_PlainScanAscii1M(benchmark::State& state) {
    const auto& cells = TheScene().AsciiCells();
    for (auto _ : state) benchmark::DoNotOptimize(PlainScan(cells, kAbsent));
}
BENCHMARK(BM_PlainScanAscii1M)->Unit(benchmark::kMillisecond);

void BM_PlainScanJapanese1M(benchmark::State& state) {
    const auto& cells = TheScene().JapaneseCells();
    for (auto _ : state) benchmark::DoNotOptimize(PlainScan(cells, kAbsentJapanese));
}
BENCHMARK(BM_PlainScanJapanese1M)->Unit(benchmark::kMillisecond);

void FindBench(benchmark::State& state, int sheet, int first, int lines, const char16_t* text, DWORD flags) {
    Scene& scene = TheScene();
    for (auto _ : state) {
        if (scene.Find(sheet, first, lines, text, flags) != -1) state.SkipWithError("found");
    }
}
BENCHMARK_CAPTURE(FindBench, PartAscii1M, 0, kLastTenth, kLines / 10, kAbsent, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindBench, PartAscii10M, 0, 0, kLines, kAbsent, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindBench, WholeAscii1M, 0, kLastTenth, kLines / 10, kAbsent, kFindEntireCells)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindBench, WholeAscii10M, 0, 0, kLines, kAbsent, kFindEntireCells)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindBench, PartJapanese1M, kJapaneseSheet, 0, kJapaneseLines, kAbsentJapanese, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindBench, WholeJapanese1M, kJapaneseSheet, 0, kJapaneseLines, kAbsentJapanese, kFindEntireCells)
    ->Unit(benchmark::kMillisecond);

// Rounds of replacing "old" with "new" and back in column 0 of `lines` lines.
void BM_ReplaceAll(benchmark::State& state) {
    Scene& scene = TheScene();
    const int lines = static_cast<int>(state.range(0));
    scene.view->SetSel(CRect(0, 0, 0, lines - 1), CPoint(0, 0));
    scene.desktop.RunUntilIdle();
    const char16_t* words[2] = {u"old", u"new"};
    int round = 0;
    for (auto _ : state) {
        RECT area{0, 0, 0, lines - 1};
        FindReplaceNotify request{};
        request.hdr = NMHDR{scene.frame->m_hWnd, 0, kFindReplaceRequest};
        request.findText = words[round % 2];
        request.replaceText = words[(round + 1) % 2];
        request.flags = kFindReplaceAll;
        request.area = &area;
        scene.view->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        ++round;
    }
    // After the timed rounds: column 0 back to "old".
    if (scene.view->GetCellText(0, 0, 0) != CString(round % 2 != 0 ? u"r0new" : u"r0old")) {
        state.SkipWithError("not replaced");
    }
    if (round % 2 != 0) {
        for (int l = 0; l < kLines; l += 10) scene.view->SetCellText(0, l, 0, ReplaceCell(l, u"old").c_str());
    }
    scene.view->SetSel(CRect(0, 0, 0, 0), CPoint(0, 0));
    scene.desktop.RunUntilIdle();
}
BENCHMARK(BM_ReplaceAll)->Arg(kLines / 10)->Arg(kLines)->Unit(benchmark::kMillisecond);

// The plain scan of column 0 and SetCellText on the cells that hold the word.
void BM_ScanAndSetCellText(benchmark::State& state) {
    Scene& scene = TheScene();
    const int lines = static_cast<int>(state.range(0));
    std::vector<std::u16string> cells[2];
    for (int l = 0; l < lines; ++l) {
        cells[0].push_back(Lowered(ReplaceCell(l, u"old")));
        cells[1].push_back(Lowered(ReplaceCell(l, u"new")));
    }
    const char16_t* words[2] = {u"old", u"new"};
    int round = 0;
    for (auto _ : state) {
        const std::u16string_view needle = words[round % 2];
        const std::vector<std::u16string>& from = cells[round % 2];
        const std::vector<std::u16string>& to = cells[(round + 1) % 2];
        for (int l = 0; l < lines; ++l) {
            if (std::u16string_view(from[static_cast<size_t>(l)]).find(needle) != std::u16string_view::npos) {
                scene.view->SetCellText(0, l, 0, to[static_cast<size_t>(l)].c_str());
            }
        }
        ++round;
    }
    if (round % 2 != 0) {
        for (int l = 0; l < kLines; l += 10) scene.view->SetCellText(0, l, 0, ReplaceCell(l, u"old").c_str());
    }
}
BENCHMARK(BM_ScanAndSetCellText)->Arg(kLines / 10)->Arg(kLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Find and Replace All against a plain scan:", [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "Find, part of a cell / plain scan, ASCII", "FindBench/PartAscii1M", "BM_PlainScanAscii1M", 2.0);
        PrintRatio(r, "Find, whole cells / plain scan, ASCII", "FindBench/WholeAscii1M", "BM_PlainScanAscii1M", 2.0);
        PrintRatio(r, "Find, part of a cell / plain scan, Japanese", "FindBench/PartJapanese1M",
                   "BM_PlainScanJapanese1M", 2.0);
        PrintRatio(r, "Find, whole cells / plain scan, Japanese", "FindBench/WholeJapanese1M",
                   "BM_PlainScanJapanese1M", 2.0);
        PrintRatio(r, "Find, part: 10,000,000 / 1,000,000 cells", "FindBench/PartAscii10M", "FindBench/PartAscii1M",
                   11.0);
        PrintRatio(r, "Find, whole: 10,000,000 / 1,000,000 cells", "FindBench/WholeAscii10M",
                   "FindBench/WholeAscii1M", 11.0);
        PrintRatio(r, "Replace All / scan + SetCellText, 1,000,000", "BM_ReplaceAll/1000000",
                   "BM_ScanAndSetCellText/1000000", 2.0);
        // A hundred thousand lines fit in a large last-level cache and a million do
        // not: these two say how much of the growth below the cache makes, the
        // baseline's own included.
        tq3::bench::PrintRatioAlone(r, "Replace All / scan + SetCellText, 100,000", "BM_ReplaceAll/100000",
                                    "BM_ScanAndSetCellText/100000");
        tq3::bench::PrintRatioAlone(r, "scan + SetCellText: 1,000,000 / 100,000 lines",
                                    "BM_ScanAndSetCellText/1000000", "BM_ScanAndSetCellText/100000");
        PrintRatio(r, "Replace All: 1,000,000 / 100,000 lines", "BM_ReplaceAll/1000000", "BM_ReplaceAll/100000", 11.0);
    });
}
