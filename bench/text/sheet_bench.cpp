// A sheet of many lines: finding line k by position, and what a line of 10 cells
// costs in memory.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <random>
#include <vector>

#include "model/sheet_obj.h"

namespace {

// A line of 10 short cells, as a host fills a table.
const char16_t kTenCells[] = u"cell0\tcell1\tcell2\tcell3\tcell4\tcell5\tcell6\tcell7\tcell8\tcell9\r\n";

std::unique_ptr<CSheetObj> MakeSheet(int lines) {
    auto sheet = std::make_unique<CSheetObj>();
    struct Source : CLineProp {
        Source() { SetText(kTenCells); }
    } source;
    for (int i = 0; i < lines; ++i) {
        source.SetData(static_cast<DWORD>(i));
        sheet->InsertLine(i, source);
    }
    return sheet;
}

void BM_SheetLineLookup(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    auto sheet = MakeSheet(lines);
    std::mt19937 random(7);
    std::vector<int> positions(4096);
    for (int& p : positions) p = static_cast<int>(random() % static_cast<unsigned>(lines));
    std::size_t next = 0;
    for (auto _ : state) {
        CLineProp* line = sheet->GetLine(positions[next]);
        benchmark::DoNotOptimize(line->data);
        next = (next + 1) & (positions.size() - 1);
    }
}

// Heap bytes per line of a sheet of 10-cell lines, the record, its text and its
// slot in the list included.
void BM_SheetBuildTenCellLines(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    double bytesPerLine = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        auto sheet = MakeSheet(lines);
        const std::size_t after = mallinfo2().uordblks;
        bytesPerLine = static_cast<double>(after - before) / lines;
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_line"] = bytesPerLine;
    state.counters["record_bytes"] = static_cast<double>(sizeof(CLineProp));
}

}  // namespace

BENCHMARK(BM_SheetLineLookup)->Arg(1'000)->Arg(1'000'000);
BENCHMARK(BM_SheetBuildTenCellLines)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
