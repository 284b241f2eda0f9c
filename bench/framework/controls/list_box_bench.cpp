// The list box with 100,000 strings: adding them to a sorted list against sorting
// the same strings in a std::vector with the collator the list sorts by
// (CompareStringW, case ignored), and a Page Down with its repaint against
// painting the list once. The Page Down is also timed in a list whose strings
// were added in their sorted order, so that each item's memory follows the one
// shown above it: what the scattered memory of randomly ordered additions costs
// a page.
//
// At the end the program prints the ratios the list box is held to: the sorted
// additions within 1.5 times the sort, the Page Down within 1.2 times the paint.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "framework/controls/list_box.h"
#include "framework/core/locale.h"
#include "bench/ratio_report.h"
#include "tq3view/testing.h"

namespace {

constexpr int kStrings = 100000;

// Words of 4 to 12 letters, upper and lower case, the same on every run.
const std::vector<std::u16string>& Strings() {
    static const std::vector<std::u16string> strings = [] {
        std::vector<std::u16string> made;
        made.reserve(kStrings);
        unsigned seed = 12345;
        const auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) & 0x7FFF;
        };
        for (int i = 0; i < kStrings; ++i) {
            std::u16string word;
            const unsigned length = 4 + next() % 9;
            for (unsigned c = 0; c < length; ++c) {
                const auto letter = static_cast<char16_t>(u'a' + next() % 26);
                word.push_back(next() % 5 == 0 ? static_cast<char16_t>(letter - u'a' + u'A') : letter);
            }
            made.push_back(word);
        }
        return made;
    }();
    return strings;
}

struct Scene {
    tq3::testing::Desktop desktop{800, 600};
    HWND list = nullptr;

    explicit Scene(bool fill) {
        list = CreateWindowExW(0, WC_LISTBOXW, nullptr, WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_SORT, 20,
                               20, 300, 400, nullptr, nullptr, nullptr, nullptr);
        if (fill) Fill();
        SetFocus(list);
        desktop.RunUntilIdle();
    }
    void Fill() {
        for (const auto& s : Strings()) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
};

void SortAsTheList(std::vector<std::u16string>& strings) {
    std::sort(strings.begin(), strings.end(), [](const std::u16string& a, const std::u16string& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size())) == CSTR_LESS_THAN;
    });
}

void BM_SortInVector(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::u16string> copy = Strings();
        state.ResumeTiming();
        SortAsTheList(copy);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_SortInVector)->Unit(benchmark::kMillisecond);

void BM_AddToSortedList(benchmark::State& state) {
    Scene scene(false);
    for (auto _ : state) {
        state.PauseTiming();
        SendMessageW(scene.list, LB_RESETCONTENT, 0, 0);
        scene.desktop.RunUntilIdle();
        state.ResumeTiming();
        scene.Fill();
        scene.desktop.RunUntilIdle();
    }
}
BENCHMARK(BM_AddToSortedList)->Unit(benchmark::kMillisecond);

void BM_PaintList(benchmark::State& state) {
    Scene scene(true);
    for (auto _ : state) RedrawWindow(scene.list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
BENCHMARK(BM_PaintList)->Unit(benchmark::kMicrosecond);

void PageDownThrough(benchmark::State& state, Scene& scene) {
    for (auto _ : state) {
        if (SendMessageW(scene.list, LB_GETCURSEL, 0, 0) >= kStrings - 1) {
            // At the end a Page Down moves nothing: back to the top outside the timing.
            state.PauseTiming();
            SendMessageW(scene.list, WM_KEYDOWN, VK_HOME, 0);
            UpdateWindow(scene.list);
            state.ResumeTiming();
        }
        SendMessageW(scene.list, WM_KEYDOWN, VK_NEXT, 0);
        UpdateWindow(scene.list);
    }
}

void BM_PageDownAndRepaint(benchmark::State& state) {
    Scene scene(true);
    PageDownThrough(state, scene);
}
BENCHMARK(BM_PageDownAndRepaint)->Unit(benchmark::kMicrosecond);

void BM_PageDownInDisplayOrder(benchmark::State& state) {
    Scene scene(false);
    std::vector<std::u16string> sorted = Strings();
    SortAsTheList(sorted);
    for (const auto& s : sorted) SendMessageW(scene.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    scene.desktop.RunUntilIdle();
    PageDownThrough(state, scene);
}
BENCHMARK(BM_PageDownInDisplayOrder)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "100,000 sorted additions / vector sort", "BM_AddToSortedList", "BM_SortInVector", 1.5);
        PrintRatio(r, "page down + repaint / paint", "BM_PageDownAndRepaint", "BM_PaintList", 1.2);
    });
}
