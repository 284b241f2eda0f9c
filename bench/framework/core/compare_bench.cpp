// CompareStringW on the comparisons the library makes: first characters of list
// strings, and short cell texts, with the flag combinations it passes.
#include <benchmark/benchmark.h>

#include "framework/core/locale.h"

namespace {

void BM_CompareFirstCharacters(benchmark::State& state) {
    const DWORD flags = static_cast<DWORD>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(CompareStringW(LOCALE_USER_DEFAULT, flags, u"\u00C9", 1, u"e", 1));
    }
}

void BM_CompareCellTexts(benchmark::State& state) {
    const DWORD flags = static_cast<DWORD>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            CompareStringW(LOCALE_USER_DEFAULT, flags, u"Stock item 1042-B", -1, u"stock item 1042b", -1));
    }
}

}  // namespace

// 0: nothing ignored; 6: marks and symbols; 7: case, marks and symbols;
// 0x30007: also kana type and width (folded copies).
BENCHMARK(BM_CompareFirstCharacters)->Arg(0)->Arg(6)->Arg(7)->Arg(0x30007);
BENCHMARK(BM_CompareCellTexts)->Arg(0)->Arg(6)->Arg(7)->Arg(0x30007);

BENCHMARK_MAIN();
