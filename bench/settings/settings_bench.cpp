// Storing and reading a view's settings in a store file of its own: the column
// widths of 10 sheets of 10 and 100 columns, and the font. The baseline writes
// the same widths one by one through the profile store, each write committed
// on its own, as a view would without grouping a section's rewrite into one
// transaction.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "framework/app/win_app.h"
#include "framework/system/registry.h"
#include "view/table_view.h"

namespace {

constexpr int kSheets = 10;

class BenchView : public CTableView {
public:
    BenchView() = default;
};

// An application whose settings live in a fresh file that goes away with it.
class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp(u"Settings bench") {
        std::string pattern = (std::filesystem::temp_directory_path() / "tq3view-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) folder = pattern;
        tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, folder + "/user.db");
        SetRegistryKey(u"Bench Vendor");
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Bench Vendor", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        RegCloseKey(key);
    }
    ~BenchApp() override {
        tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, folder + "/gone/user.db");
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
};

BenchView* MakeView(int columns) {
    auto* view = new BenchView;
    for (int s = 0; s < kSheets; ++s) {
        view->InsertSheet(s, u"sheet");
        view->SetSheetData(s, static_cast<DWORD>(s));
        for (int c = 0; c < columns; ++c) {
            view->InsertColumn(s, c, u"c", 0);
            view->GetColumnProp(s, c)->extent = CRect(c * 60, 0, c * 60 + 60, 18);
        }
    }
    return view;
}

void BM_WriteWidthOfColumns(benchmark::State& state) {
    BenchApp app;
    BenchView* view = MakeView(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(view->WriteWidthOfColumns());
    state.SetItemsProcessed(state.iterations() * kSheets * state.range(0));
    delete view;
}
BENCHMARK(BM_WriteWidthOfColumns)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_WriteWidthsOneByOne(benchmark::State& state) {
    BenchApp app;
    const int columns = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int s = 0; s < kSheets; ++s) {
            CString section;
            section.Format(u"WidthOfColumns\\Info_%08x", s);
            for (int c = 0; c < columns; ++c) {
                CString entry;
                entry.Format(u"ColumnWidth_%05d", c + 1);
                app.WriteProfileInt(section, entry, 60);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kSheets * columns);
}
BENCHMARK(BM_WriteWidthsOneByOne)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_ReadWidthOfColumns(benchmark::State& state) {
    BenchApp app;
    BenchView* view = MakeView(static_cast<int>(state.range(0)));
    view->WriteWidthOfColumns();
    for (auto _ : state) benchmark::DoNotOptimize(view->ReadWidthOfColumns());
    state.SetItemsProcessed(state.iterations() * kSheets * state.range(0));
    delete view;
}
BENCHMARK(BM_ReadWidthOfColumns)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_WriteAndReadLogFont(benchmark::State& state) {
    BenchApp app;
    BenchView* view = MakeView(0);
    LOGFONTW font{};
    int size = 0;
    view->ReadLogFont(&font, size);
    for (auto _ : state) {
        benchmark::DoNotOptimize(view->WriteLogFont(font, 100));
        benchmark::DoNotOptimize(view->ReadLogFont(&font, size));
    }
    delete view;
}
BENCHMARK(BM_WriteAndReadLogFont)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
