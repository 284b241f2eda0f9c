// The tab-separated text functions on records of 10 and 200 fields, beside a plain
// std::u16string split and join of the same records, so that each function can be
// quoted as a ratio of the plain way in one run.
//
// Plain split: the record cut at TABs into a fresh std::vector<std::u16string>.
// Plain join: such a vector joined by TABs and ended by CR LF into a fresh string.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "framework/core/locale.h"
#include "text/tab_text.h"

namespace {

// Fields like "cell17", the last one "Needle" so that a search runs the whole way.
std::u16string MakeRecord(int fields) {
    std::u16string record;
    for (int i = 0; i < fields; ++i) {
        if (i > 0) record += u'\t';
        if (i == fields - 1) {
            record += u"Needle";
        } else {
            std::string digits = std::to_string(i);
            record += u"cell";
            record.append(digits.begin(), digits.end());
        }
    }
    return record + u"\r\n";
}

std::vector<std::u16string> PlainSplit(std::u16string_view record) {
    std::vector<std::u16string> fields;
    std::size_t from = 0;
    for (;;) {
        std::size_t tab = record.find(u'\t', from);
        std::u16string_view field = record.substr(from, tab == std::u16string_view::npos ? record.npos : tab - from);
        fields.emplace_back(field.substr(0, field.find_first_of(u"\r\n")));
        if (tab == std::u16string_view::npos) return fields;
        from = tab + 1;
    }
}

std::u16string PlainJoin(const std::vector<std::u16string>& fields) {
    std::u16string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) record += u'\t';
        record += fields[i];
    }
    return record + u"\r\n";
}

void SetFieldCounters(benchmark::State& state, const std::u16string& record) {
    state.counters["chars"] = static_cast<double>(record.size());
}

void BM_PlainSplit(benchmark::State& state) {
    const std::u16string record = MakeRecord(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(PlainSplit(record));
    SetFieldCounters(state, record);
}

void BM_PlainJoin(benchmark::State& state) {
    const auto fields = PlainSplit(MakeRecord(static_cast<int>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(PlainJoin(fields));
}

// Replacing one field the plain way: split, assign, join.
void BM_PlainReplaceField(benchmark::State& state) {
    const std::u16string record = MakeRecord(static_cast<int>(state.range(0)));
    const std::size_t at = static_cast<std::size_t>(state.range(0) / 2);
    for (auto _ : state) {
        auto fields = PlainSplit(record);
        fields[at] = u"new";
        benchmark::DoNotOptimize(PlainJoin(fields));
    }
}

// DivideString works in place, so each round first copies the record back.
void BM_DivideString(benchmark::State& state) {
    const std::u16string record = MakeRecord(static_cast<int>(state.range(0)));
    std::u16string buffer = record;
    for (auto _ : state) {
        buffer.assign(record);
        benchmark::DoNotOptimize(DivideString(buffer.data()));
    }
}

// One field out of the middle: what the view does per painted cell.
void BM_GetOneField(benchmark::State& state) {
    const std::u16string record = MakeRecord(static_cast<int>(state.range(0)));
    const int at = static_cast<int>(state.range(0) / 2);
    std::vector<WCHAR> out(record.size() + 3);
    for (auto _ : state) benchmark::DoNotOptimize(GetPartsOfTabSeparatedString(record.c_str(), out.data(), at, at));
}

// The whole record as a range: the copy of a selected line.
void BM_GetAllFields(benchmark::State& state) {
    const std::u16string record = MakeRecord(static_cast<int>(state.range(0)));
    std::vector<WCHAR> out(record.size() + 3);
    for (auto _ : state) benchmark::DoNotOptimize(GetPartsOfTabSeparatedString(record.c_str(), out.data(), 0, -1));
}

// One field replaced in the middle: what storing a cell does. Each round starts
// from the same line.
void BM_SetOneField(benchmark::State& state) {
    const std::u16string record = MakeRecord(static_cast<int>(state.range(0)));
    const int at = static_cast<int>(state.range(0) / 2);
    std::vector<WCHAR> line(record.size() + 16);
    for (auto _ : state) {
        std::copy(record.begin(), record.end() + 1, line.begin());
        benchmark::DoNotOptimize(SetPartsOfTabSeparatedString(line.data(), u"new", at));
    }
}

void BM_SearchPartialString(benchmark::State& state) {
    const std::u16string record = MakeRecord(static_cast<int>(state.range(0)));
    const DWORD flags = state.range(1) != 0 ? NORM_IGNORECASE : 0;
    int start = 0;
    int end = 0;
    for (auto _ : state) {
        SearchPartialString(record.c_str(), u"needle", flags, &start, &end);
        benchmark::DoNotOptimize(start);
    }
    if (flags != 0 && start < 0) state.SkipWithError("the pattern was not found");
}

// Typing one digit into the middle of a short entry, and pasting a long run of
// digits over most of a full one.
void BM_InsertNumString(benchmark::State& state) {
    const bool full = state.range(0) != 0;
    const std::u16string entry = full ? std::u16string(100, u'5') : u"1234.56";
    const std::u16string insert = full ? std::u16string(80, u'7') : u"9";
    WCHAR buffer[102];
    for (auto _ : state) {
        std::copy(entry.begin(), entry.end() + 1, buffer);
        InsertNumString(buffer, insert.c_str(), 0, 0, 2, full ? 90 : 2);
        benchmark::DoNotOptimize(buffer);
    }
}

}  // namespace

BENCHMARK(BM_PlainSplit)->Arg(10)->Arg(200);
BENCHMARK(BM_PlainJoin)->Arg(10)->Arg(200);
BENCHMARK(BM_PlainReplaceField)->Arg(10)->Arg(200);
BENCHMARK(BM_DivideString)->Arg(10)->Arg(200);
BENCHMARK(BM_GetOneField)->Arg(10)->Arg(200);
BENCHMARK(BM_GetAllFields)->Arg(10)->Arg(200);
BENCHMARK(BM_SetOneField)->Arg(10)->Arg(200);
BENCHMARK(BM_SearchPartialString)->Args({10, 0})->Args({10, 1})->Args({200, 0})->Args({200, 1});
BENCHMARK(BM_InsertNumString)->Arg(0)->Arg(1);

BENCHMARK_MAIN();
