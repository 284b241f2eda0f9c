// Costs of the registry calls on stores in a temporary folder: one value written
// or read per call, a group of values in one transaction, walking many subkeys,
// listing a key whose values include a large one, and opening a store file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "framework/system/registry.h"
#include "tools/tq3reg/reg_store_io.h"

namespace {

std::string TempDir() {
    static std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tq3reg-bench-XXXXXX").string();
        return std::string(mkdtemp(pattern.data()));
    }();
    return dir;
}

// Points the root at a fresh file named after the benchmark.
HKEY FreshStore(HKEY root, const std::string& name) {
    std::string path = TempDir() + "/" + name + ".db";
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    std::filesystem::remove(path + "-shm");
    tq3::fw::SetRegistryStorePath(root, path);
    HKEY key = nullptr;
    RegCreateKeyExW(root, u"Software\\Bench", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

std::u16string Numbered(const char16_t* prefix, int n) {
    std::string digits = std::to_string(100000 + n).substr(1);
    return prefix + std::u16string(digits.begin(), digits.end());
}

void SetOneValue(benchmark::State& state, HKEY root, const char* name) {
    HKEY key = FreshStore(root, name);
    DWORD value = 0;
    for (auto _ : state) {
        ++value;
        if (RegSetValueExW(key, u"ColumnWidth_00001", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4) !=
            ERROR_SUCCESS)
            state.SkipWithError("write failed");
    }
    RegCloseKey(key);
}
void BM_SetValueUserStore(benchmark::State& state) { SetOneValue(state, HKEY_CURRENT_USER, "set-user"); }
void BM_SetValueMachineStore(benchmark::State& state) { SetOneValue(state, HKEY_LOCAL_MACHINE, "set-machine"); }
BENCHMARK(BM_SetValueUserStore);
BENCHMARK(BM_SetValueMachineStore)->Iterations(200);

void BM_QueryValue(benchmark::State& state) {
    HKEY key = FreshStore(HKEY_CURRENT_USER, "query");
    DWORD value = 42;
    RegSetValueExW(key, u"Language", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    for (auto _ : state) {
        DWORD out = 0, size = 4;
        RegQueryValueExW(key, u"language", nullptr, nullptr, reinterpret_cast<BYTE*>(&out), &size);
        benchmark::DoNotOptimize(out);
    }
    RegCloseKey(key);
}
BENCHMARK(BM_QueryValue);

// All the column widths of one sheet in one transaction.
void BM_WriteWidthsInOneTransaction(benchmark::State& state) {
    HKEY key = FreshStore(HKEY_CURRENT_USER, "widths");
    const int columns = static_cast<int>(state.range(0));
    DWORD width = 0;
    for (auto _ : state) {
        tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER);
        for (int c = 1; c <= columns; ++c) {
            ++width;
            std::u16string name = Numbered(u"ColumnWidth_", c);
            RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&width), 4);
        }
        tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER);
    }
    state.SetItemsProcessed(state.iterations() * columns);
    RegCloseKey(key);
}
BENCHMARK(BM_WriteWidthsInOneTransaction)->Arg(16)->Arg(256);

// Enumerating subkeys one index at a time, as a recursive delete does.
void BM_EnumerateSubkeys(benchmark::State& state) {
    HKEY key = FreshStore(HKEY_CURRENT_USER, "enumerate-" + std::to_string(state.range(0)));
    tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER);
    for (int i = 0; i < state.range(0); ++i) {
        HKEY child = nullptr;
        RegCreateKeyExW(key, Numbered(u"Info_", i).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr);
        RegCloseKey(child);
    }
    tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER);
    for (auto _ : state) {
        WCHAR name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = 256;
            if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    RegCloseKey(key);
}
BENCHMARK(BM_EnumerateSubkeys)->Arg(100)->Arg(1000);

// A key of 50 small strings, and with Arg(1) one more string of 10 MB among
// them. Enumerating names, types and sizes, and listing the key as tq3reg does,
// must cost about the same either way: the data of a value is read only when it
// is asked for.
HKEY KeyWithLargeValue(bool large) {
    HKEY key = FreshStore(HKEY_CURRENT_USER, large ? "list-large" : "list-small");
    tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER);
    for (int i = 0; i < 50; ++i) {
        const std::u16string text = Numbered(u"text ", i);
        RegSetValueExW(key, Numbered(u"Value_", i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * 2));
        if (large && i == 25) {
            const std::u16string big(5 * 1024 * 1024 - 1, u'x');
            RegSetValueExW(key, u"Large", 0, REG_SZ, reinterpret_cast<const BYTE*>(big.c_str()),
                           static_cast<DWORD>((big.size() + 1) * 2));
        }
    }
    tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER);
    return key;
}

void BM_EnumerateValues(benchmark::State& state) {
    HKEY key = KeyWithLargeValue(state.range(0) != 0);
    for (auto _ : state) {
        WCHAR name[64];
        for (DWORD index = 0;; ++index) {
            DWORD length = 64, type = 0, size = 0;
            if (RegEnumValueW(key, index, name, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
            benchmark::DoNotOptimize(size);
        }
    }
    RegCloseKey(key);
}
BENCHMARK(BM_EnumerateValues)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ListKey(benchmark::State& state) {
    RegCloseKey(KeyWithLargeValue(state.range(0) != 0));
    for (auto _ : state) {
        std::u16string listing;
        std::string error;
        if (!tq3::reg::ListKey(tq3::reg::RootKind::CurrentUser, u"Software\\Bench", &listing, &error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(listing);
    }
}
BENCHMARK(BM_ListKey)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Reopening a store of 2000 values: the file's integrity check dominates.
void BM_OpenStore(benchmark::State& state) {
    HKEY key = FreshStore(HKEY_CURRENT_USER, "open");
    tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER);
    for (int i = 0; i < 2000; ++i) {
        DWORD value = static_cast<DWORD>(i);
        RegSetValueExW(key, Numbered(u"Value", i).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    }
    tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER);
    const std::string path = tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER);
    for (auto _ : state) {
        tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path);
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Bench", 0, KEY_READ, &opened) != ERROR_SUCCESS)
            state.SkipWithError("open failed");
        RegCloseKey(opened);
    }
}
BENCHMARK(BM_OpenStore);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, TempDir() + "/gone/user.db");
    tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, TempDir() + "/gone/machine.db");
    std::error_code ignored;
    std::filesystem::remove_all(TempDir(), ignored);
    return 0;
}
