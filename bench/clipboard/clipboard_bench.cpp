// Blocks of cells through the clipboard in the 1,000,000-line view.
//
// Copy of a 10,000 x 10 block (the Copy command, clipboard included) against
// joining the same cell texts, already at hand, into one tab-separated string.
// Paste of that block (the Paste command: clipboard, check, writing) against
// splitting the same text into fields and storing each with SetCellText. Paste of
// 1,000,000 x 10 against 100,000 x 10, for linear growth, and the same for the
// writer alone, for the reading of the clipboard, for the check alone and for the
// SetCellText loop. Each paste writes texts
// that differ from the stored ones, alternating between two blocks, so that every
// cell is rebuilt and the change hook runs for each.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "bench/ratio_report.h"
#include "bench/view_scene.h"
#include "text/clipboard_text.h"

namespace {

using tq3::bench::kViewColumns;

struct Scene : tq3::bench::ViewScene {
    Scene() : ViewScene(1000000) { view->SetFocus(); }

    void Select(int lines) {
        view->SetSel(CRect(0, 0, kViewColumns - 1, lines - 1), CPoint(0, 0));
        desktop.RunUntilIdle();
    }
    void Command(UINT id) { view->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

// A block of `lines` lines whose cells read "<mark><line>c<column>".
std::u16string Block(int lines, char16_t mark) {
    std::u16string text;
    for (int l = 0; l < lines; ++l) {
        for (int c = 0; c < kViewColumns; ++c) {
            const std::string cell = std::to_string(l) + 'c' + std::to_string(c);
            text += mark;
            text.append(cell.begin(), cell.end());
            text += c + 1 < kViewColumns ? u"\t" : u"\r\n";
        }
    }
    return text;
}

void BM_JoinCellTexts10k(benchmark::State& state) {
    Scene& scene = TheScene();
    std::vector<CString> cells;
    for (int l = 0; l < 10000; ++l) {
        for (int c = 0; c < kViewColumns; ++c) cells.push_back(scene.view->GetCellText(0, l, c));
    }
    for (auto _ : state) {
        CString text;
        for (size_t i = 0; i < cells.size(); ++i) {
            text += cells[i];
            text += (i + 1) % kViewColumns != 0 ? u"\t" : u"\r\n";
        }
        benchmark::DoNotOptimize(text.GetString());
    }
}
BENCHMARK(BM_JoinCellTexts10k)->Unit(benchmark::kMicrosecond);

void BM_Copy10k(benchmark::State& state) {
    Scene& scene = TheScene();
    scene.Select(10000);
    for (auto _ : state) scene.Command(ID_EDIT_COPY);
    if (scene.desktop.ClipboardText().value_or(u"").size() < 10000 * kViewColumns * 5) state.SkipWithError("no copy");
}
BENCHMARK(BM_Copy10k)->Unit(benchmark::kMicrosecond);

void SplitAndSetCellText(benchmark::State& state, int lines) {
    Scene& scene = TheScene();
    const std::u16string blocks[2] = {Block(lines, u'a'), Block(lines, u'b')};
    int turn = 0;
    for (auto _ : state) {
        const std::u16string& text = blocks[turn++ % 2];
        std::u16string field;
        int line = 0, column = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            const char16_t ch = text[i];
            if (ch == u'\t' || ch == u'\r') {
                scene.view->SetCellText(0, line, column, field.c_str());
                field.clear();
                if (ch == u'\t') {
                    ++column;
                } else {
                    ++line, column = 0, ++i;
                }
            } else {
                field += ch;
            }
        }
    }
}
void BM_SplitAndSetCellText10k(benchmark::State& state) { SplitAndSetCellText(state, 10000); }
BENCHMARK(BM_SplitAndSetCellText10k)->Unit(benchmark::kMillisecond);
void BM_SplitAndSetCellText100k(benchmark::State& state) { SplitAndSetCellText(state, 100000); }
BENCHMARK(BM_SplitAndSetCellText100k)->Unit(benchmark::kMillisecond)->Iterations(4);
void BM_SplitAndSetCellText1M(benchmark::State& state) { SplitAndSetCellText(state, 1000000); }
BENCHMARK(BM_SplitAndSetCellText1M)->Unit(benchmark::kMillisecond)->Iterations(2);

void PasteBlock(benchmark::State& state, int lines) {
    Scene& scene = TheScene();
    std::u16string blocks[2] = {Block(lines, u'p'), Block(lines, u'q')};
    scene.Select(lines);
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        scene.desktop.SetClipboardText(blocks[turn++ % 2]);
        state.ResumeTiming();
        scene.Command(ID_EDIT_PASTE);
    }
    // The last pasted block's last cell.
    const std::string number = std::to_string(lines - 1) + 'c' + std::to_string(kViewColumns - 1);
    const std::u16string want = (turn % 2 == 1 ? u"p" : u"q") + std::u16string(number.begin(), number.end());
    if (scene.view->GetCellText(0, lines - 1, kViewColumns - 1) != want.c_str()) {
        state.SkipWithError("the paste did not reach the block's last cell");
    }
}

// The writer alone, given the text as the command has it after reading the
// clipboard: the part of a paste that grows with the block, without the one copy
// of the clipboard's text.
void PasteStringBlock(benchmark::State& state, int lines) {
    Scene& scene = TheScene();
    const CString blocks[2] = {CString(Block(lines, u'm').c_str()), CString(Block(lines, u'n').c_str())};
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CString text = blocks[turn++ % 2];
        state.ResumeTiming();
        scene.view->PasteString(std::move(text), CRect(0, 0, 0, 0));
    }
}
void BM_PasteString100k(benchmark::State& state) { PasteStringBlock(state, 100000); }
BENCHMARK(BM_PasteString100k)->Unit(benchmark::kMillisecond)->Iterations(4);
void BM_PasteString1M(benchmark::State& state) { PasteStringBlock(state, 1000000); }
BENCHMARK(BM_PasteString1M)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Paste10k(benchmark::State& state) { PasteBlock(state, 10000); }
BENCHMARK(BM_Paste10k)->Unit(benchmark::kMillisecond);
void BM_Paste100k(benchmark::State& state) { PasteBlock(state, 100000); }
BENCHMARK(BM_Paste100k)->Unit(benchmark::kMillisecond)->Iterations(4);
void BM_Paste1M(benchmark::State& state) { PasteBlock(state, 1000000); }
BENCHMARK(BM_Paste1M)->Unit(benchmark::kMillisecond)->Iterations(2);

// The paste's first step alone: the clipboard's text copied out into a string of
// the command's own, which is then let go.
void ReadBlock(benchmark::State& state, int lines) {
    Scene& scene = TheScene();
    scene.desktop.SetClipboardText(Block(lines, u'r'));
    for (auto _ : state) {
        CString text;
        if (GetClipboardText(scene.view->m_hWnd, text) == 0) state.SkipWithError("no clipboard text");
        benchmark::DoNotOptimize(text.GetString());
    }
}
void BM_Read100k(benchmark::State& state) { ReadBlock(state, 100000); }
BENCHMARK(BM_Read100k)->Unit(benchmark::kMillisecond)->Iterations(4);
void BM_Read1M(benchmark::State& state) { ReadBlock(state, 1000000); }
BENCHMARK(BM_Read1M)->Unit(benchmark::kMillisecond)->Iterations(2);

// The paste's second step alone: the block checked against the selection and the
// columns, which here it fits.
void CheckBlock(benchmark::State& state, int lines) {
    Scene& scene = TheScene();
    scene.Select(lines);
    const CString text(Block(lines, u'r').c_str());
    for (auto _ : state) {
        int blockLines = 0, blockColumns = 0, timesDown = 0, timesAcross = 0;
        if (scene.view->IsEnableToPaste(text, blockLines, blockColumns, timesDown, timesAcross) != 1) {
            state.SkipWithError("the block does not fit");
        }
    }
}
void BM_Check100k(benchmark::State& state) { CheckBlock(state, 100000); }
BENCHMARK(BM_Check100k)->Unit(benchmark::kMillisecond)->Iterations(4);
void BM_Check1M(benchmark::State& state) { CheckBlock(state, 1000000); }
BENCHMARK(BM_Check1M)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    const char* title = "Ratios of processor time per iteration, blocks of 10 columns in the 1,000,000-line view:";
    return tq3::bench::RunAndPrintRatios(argc, argv, title, [](const auto& r) {
        tq3::bench::PrintRatio(r, "copy 10,000 lines / joining their texts", "BM_Copy10k", "BM_JoinCellTexts10k", 1.5);
        tq3::bench::PrintRatio(r, "paste 10,000 lines / split and SetCellText", "BM_Paste10k",
                               "BM_SplitAndSetCellText10k", 2.0);
        tq3::bench::PrintRatio(r, "paste 1,000,000 lines / 100,000 lines", "BM_Paste1M/iterations:2",
                               "BM_Paste100k/iterations:4", 11.0);
        tq3::bench::PrintRatio(r, "(writer alone 1,000,000 lines / 100,000 lines)", "BM_PasteString1M/iterations:2",
                               "BM_PasteString100k/iterations:4", 11.0);
        tq3::bench::PrintRatio(r, "(reading the clipboard 1,000,000 lines / 100,000 lines)", "BM_Read1M/iterations:2",
                               "BM_Read100k/iterations:4", 11.0);
        tq3::bench::PrintRatio(r, "(the check 1,000,000 lines / 100,000 lines)", "BM_Check1M/iterations:2",
                               "BM_Check100k/iterations:4", 11.0);
        tq3::bench::PrintRatio(r, "(SetCellText 1,000,000 lines / 100,000 lines)", "BM_SplitAndSetCellText1M/iterations:2",
                               "BM_SplitAndSetCellText100k/iterations:4", 11.0);
    });
}
