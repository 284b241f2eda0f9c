// Setting cells with the view on screen, against the least a program must do to
// change one field of a line kept as a plain string.
//
// The view is the benchmarks' 1920x1080 scene (10 columns) at 100,000 and at
// 1,000,000 lines, its lines already ended with CR LF as set lines are. Every pass
// sets every cell once, alternating between two texts of the same length so that
// every call stores a change and calls OnCellChanged. The yardstick does the same
// to a std::u16string per line: scan to the field, compare it, replace it.
//
// Printed at the end: a million cells set through the view within 1.5 times the
// yardstick, and ten times the cells within 11 times the time.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/ratio_report.h"
#include "bench/view_scene.h"

namespace {

using tq3::bench::kViewColumns;

// Two texts per column, of one length, which each pass alternates between.
std::u16string Value(int pass, int column) {
    return std::u16string(1, pass % 2 == 0 ? u'a' : u'b') + static_cast<char16_t>(u'0' + column);
}

std::vector<std::u16string> Values(int pass) {
    std::vector<std::u16string> values;
    for (int c = 0; c < kViewColumns; ++c) values.push_back(Value(pass, c));
    return values;
}

class CountingView : public tq3::bench::BenchView {
public:
    void OnCellChanged(int, int) override { ++changes; }
    long changes = 0;
};

void BM_SetCellTextViewAttached(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0)) / kViewColumns;
    auto* view = new CountingView;
    tq3::bench::ViewScene scene(0, view);
    for (int l = 0; l < lines; ++l) {
        scene.view->InsertLine(0, l, (tq3::bench::BenchLineText(l) + u"\r\n").c_str());
    }
    int pass = 0;
    for (auto _ : state) {
        const std::vector<std::u16string> values = Values(pass++);
        for (int l = 0; l < lines; ++l) {
            for (int c = 0; c < kViewColumns; ++c) scene.view->SetCellText(0, l, c, values[static_cast<size_t>(c)].c_str());
        }
    }
    state.counters["hook_calls_per_cell"] =
        static_cast<double>(view->changes) / (static_cast<double>(state.iterations()) * lines * kViewColumns);
    state.SetItemsProcessed(state.iterations() * lines * kViewColumns);
}
BENCHMARK(BM_SetCellTextViewAttached)->Arg(1'000'000)->Arg(10'000'000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_PlainFieldReplace(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0)) / kViewColumns;
    std::vector<std::u16string> texts;
    texts.reserve(static_cast<size_t>(lines));
    for (int l = 0; l < lines; ++l) texts.push_back(tq3::bench::BenchLineText(l) + u"\r\n");
    long changes = 0;
    int pass = 0;
    for (auto _ : state) {
        const std::vector<std::u16string> values = Values(pass++);
        for (std::u16string& text : texts) {
            for (int c = 0; c < kViewColumns; ++c) {
                size_t start = 0;
                for (int i = 0; i < c; ++i) start = text.find(u'\t', start) + 1;
                const size_t end = text.find_first_of(u"\t\r", start);
                const std::u16string& value = values[static_cast<size_t>(c)];
                if (text.compare(start, end - start, value) != 0) {
                    text.replace(start, end - start, value);
                    ++changes;
                }
            }
        }
    }
    benchmark::DoNotOptimize(changes);
    state.SetItemsProcessed(state.iterations() * lines * kViewColumns);
}
BENCHMARK(BM_PlainFieldReplace)->Arg(1'000'000)->Arg(10'000'000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "SetCellText, 1,000,000 cells / plain replace", "BM_SetCellTextViewAttached/1000000/iterations:3",
                   "BM_PlainFieldReplace/1000000/iterations:3", 1.5);
        PrintRatio(r, "SetCellText, 10,000,000 cells / 1,000,000", "BM_SetCellTextViewAttached/10000000/iterations:3",
                   "BM_SetCellTextViewAttached/1000000/iterations:3", 11.0);
        PrintRatio(r, "plain replace, 10,000,000 cells / 1,000,000", "BM_PlainFieldReplace/10000000/iterations:3",
                   "BM_PlainFieldReplace/1000000/iterations:3", 11.0);
    });
}
