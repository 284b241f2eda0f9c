// CString cost: memory for a million-line table (one string per line) next to
// std::u16string, and the speed of the operations the library leans on.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <string>
#include <vector>

#include "framework/core/cstring.h"

namespace {

// A line of `fields` tab-separated fields, like a table record.
std::u16string MakeLine(int index, int fields) {
    std::u16string line;
    for (int f = 0; f < fields; ++f) {
        if (f) line += u'\t';
        std::string field = std::to_string(index * 7 + f);
        line.append(field.begin(), field.end());
    }
    return line;
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

constexpr int kLines = 1000000;

// Arg: fields per line (1 gives short lines of about 6 units, 8 about 60).
template <typename Store>
void TableMemory(benchmark::State& state, Store store) {
    const int fields = static_cast<int>(state.range(0));
    std::vector<std::u16string> source;
    source.reserve(kLines);
    for (int i = 0; i < kLines; ++i) source.push_back(MakeLine(i, fields));
    double bytesPerLine = 0;
    double unitsPerLine = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto table = store(source);
        benchmark::DoNotOptimize(table.data());
        bytesPerLine = static_cast<double>(HeapInUse() - before) / kLines;
        state.PauseTiming();
        table = {};
        state.ResumeTiming();
    }
    for (const auto& s : source) unitsPerLine += static_cast<double>(s.size());
    state.counters["heap_bytes_per_line"] = bytesPerLine;  // the vector's slots included
    state.counters["text_units_per_line"] = unitsPerLine / kLines;
}

void BM_TableOfCString(benchmark::State& state) {
    TableMemory(state, [](const std::vector<std::u16string>& src) {
        std::vector<CString> table;
        table.reserve(src.size());
        for (const auto& s : src) table.emplace_back(s.data(), static_cast<int>(s.size()));
        return table;
    });
    state.counters["sizeof"] = sizeof(CString);
}
BENCHMARK(BM_TableOfCString)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TableOfU16String(benchmark::State& state) {
    TableMemory(state, [](const std::vector<std::u16string>& src) {
        std::vector<std::u16string> table;
        table.reserve(src.size());
        for (const auto& s : src) table.emplace_back(s);
        return table;
    });
    state.counters["sizeof"] = sizeof(std::u16string);
}
BENCHMARK(BM_TableOfU16String)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CopyLine(benchmark::State& state) {
    const std::u16string text = MakeLine(12345, 8);
    const CString line(text.data(), static_cast<int>(text.size()));
    for (auto _ : state) {
        CString copy(line);
        benchmark::DoNotOptimize(copy.GetString());
    }
}
BENCHMARK(BM_CopyLine);

void BM_FindTab(benchmark::State& state) {
    const std::u16string text = MakeLine(12345, 200);
    const CString line(text.data(), static_cast<int>(text.size()));
    for (auto _ : state) {
        int count = 0;
        for (int pos = line.Find(u'\t'); pos >= 0; pos = line.Find(u'\t', pos + 1)) ++count;
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_FindTab);

void BM_ReplaceTabs(benchmark::State& state) {
    const std::u16string text = MakeLine(12345, 200);
    const CString line(text.data(), static_cast<int>(text.size()));
    for (auto _ : state) {
        CString work(line);
        benchmark::DoNotOptimize(work.Replace(u"\t", u", "));
    }
}
BENCHMARK(BM_ReplaceTabs);

void BM_AppendChars(benchmark::State& state) {
    for (auto _ : state) {
        CString s;
        for (int i = 0; i < 1000; ++i) s += static_cast<WCHAR>(u'a' + i % 26);
        benchmark::DoNotOptimize(s.GetString());
    }
}
BENCHMARK(BM_AppendChars);

void BM_FormatNumber(benchmark::State& state) {
    CString s;
    double value = 1234.5678;
    for (auto _ : state) {
        s.Format(u"%.*f", 2, value);
        benchmark::DoNotOptimize(s.GetString());
    }
}
BENCHMARK(BM_FormatNumber);

void BM_FormatMixed(benchmark::State& state) {
    CString s;
    for (auto _ : state) {
        s.Format(u"%s %05d %08x", u"line", 42, 0xBEEFu);
        benchmark::DoNotOptimize(s.GetString());
    }
}
BENCHMARK(BM_FormatMixed);

}  // namespace

BENCHMARK_MAIN();
