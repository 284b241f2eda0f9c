// The table model at scale: 1,000,000 lines x 10 columns of texts "r<line>c<col>".
//
// Fill (InsertLine + SetLineText), SetCellText on every cell of text columns with a
// host hook that counts, GetCellText at random positions, DeleteLine at the front,
// line lookup by position at 100 ... 1,000,000 lines, and the resident memory per
// cell. The baseline beside SetCellText replaces one field of a plain
// std::u16string per line the simplest way, over the same texts.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "view/table_view.h"

namespace {

constexpr int kColumns = 10;

class CountingView : public CTableView {
public:
    CountingView() = default;
    void OnCellChanged(int, int) override { ++changes; }
    long changes = 0;
};

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string LineText(int line) {
    std::string text;
    for (int c = 0; c < kColumns; ++c) {
        if (c > 0) text += '\t';
        text += 'r';
        text += std::to_string(line);
        text += 'c';
        text += std::to_string(c);
    }
    return Ascii(text);
}

long ResidentKiB() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return 0;
    char line[256];
    long kib = 0;
    while (std::fgets(line, sizeof line, f) != nullptr) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) std::sscanf(line + 6, "%ld", &kib);
    }
    std::fclose(f);
    return kib;
}

CountingView* MakeView(int lines) {
    auto* view = new CountingView;
    view->InsertSheet(0, u"bench");
    for (int c = 0; c < kColumns; ++c) view->InsertColumn(0, c, u"c", 0);
    for (int l = 0; l < lines; ++l) {
        view->InsertLine(0, l, u"");
        view->SetLineText(0, l, LineText(l).c_str(), nullptr, 0);
    }
    return view;
}

void BM_Fill(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const long before = ResidentKiB();
        CountingView* view = MakeView(lines);
        const long after = ResidentKiB();
        long textBytes = 0;
        for (int l = 0; l < lines; ++l) textBytes += 2L * view->GetTabbedString(0, l).GetLength();
        state.counters["resident_bytes_per_cell"] =
            static_cast<double>(after - before) * 1024.0 / (static_cast<double>(lines) * kColumns);
        state.counters["resident_over_utf16_text"] = static_cast<double>(after - before) * 1024.0 / textBytes;
        state.PauseTiming();
        delete view;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_Fill)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SetCellTextEveryCell(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    CountingView* view = MakeView(lines);
    std::vector<std::u16string> values;
    for (int c = 0; c < kColumns; ++c) values.push_back(Ascii(std::string(1, 'v').append(std::to_string(c))));
    for (auto _ : state) {
        for (int l = 0; l < lines; ++l) {
            for (int c = 0; c < kColumns; ++c) view->SetCellText(0, l, c, values[static_cast<size_t>(c)].c_str());
        }
    }
    state.counters["hook_calls"] = static_cast<double>(view->changes);
    state.SetItemsProcessed(state.iterations() * lines * kColumns);
    delete view;
}
BENCHMARK(BM_SetCellTextEveryCell)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The baseline: the same field replacements on plain strings, one per line.
void BM_PlainFieldReplaceEveryCell(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    std::vector<std::u16string> texts;
    texts.reserve(static_cast<size_t>(lines));
    for (int l = 0; l < lines; ++l) texts.push_back(LineText(l) + u"\r\n");
    std::vector<std::u16string> values;
    for (int c = 0; c < kColumns; ++c) values.push_back(Ascii(std::string(1, 'v').append(std::to_string(c))));
    long changes = 0;
    for (auto _ : state) {
        for (auto& text : texts) {
            for (int c = 0; c < kColumns; ++c) {
                size_t start = 0;
                for (int i = 0; i < c; ++i) start = text.find(u'\t', start) + 1;
                size_t end = text.find_first_of(u"\t\r", start);
                std::u16string updated = text.substr(0, start) + values[static_cast<size_t>(c)] + text.substr(end);
                if (updated != text) {
                    text = std::move(updated);
                    ++changes;
                }
            }
        }
    }
    benchmark::DoNotOptimize(changes);
    state.SetItemsProcessed(state.iterations() * lines * kColumns);
}
BENCHMARK(BM_PlainFieldReplaceEveryCell)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GetCellTextRandom(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    static CountingView* view = nullptr;
    static int viewLines = 0;
    if (viewLines != lines) {
        delete view;
        view = MakeView(lines);
        viewLines = lines;
    }
    std::mt19937 random(42);
    std::uniform_int_distribution<int> line(0, lines - 1), column(0, kColumns - 1);
    for (auto _ : state) {
        CString text = view->GetCellText(0, line(random), column(random));
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetCellTextRandom)->Arg(100)->Arg(10000)->Arg(1000000);

void BM_LineLookupByPosition(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    CountingView* view = MakeView(lines);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> line(0, lines - 1);
    for (auto _ : state) benchmark::DoNotOptimize(view->GetLineProp(0, line(random)));
    state.SetItemsProcessed(state.iterations());
    delete view;
}
BENCHMARK(BM_LineLookupByPosition)->Arg(100)->Arg(10000)->Arg(1000000);

void BM_DeleteLineAtFront(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    CountingView* view = MakeView(lines);
    for (auto _ : state) {
        if (view->GetLineCount(0) == 0) {
            state.PauseTiming();
            delete view;
            view = MakeView(lines);
            state.ResumeTiming();
        }
        view->DeleteLine(0, 0);
    }
    state.SetItemsProcessed(state.iterations());
    delete view;
}
BENCHMARK(BM_DeleteLineAtFront)->Arg(1000000)->Iterations(10000);

}  // namespace

BENCHMARK_MAIN();
