// Several processes on one store: a writer killed halfway through a transaction
// leaves all or nothing of it, and two writers at once lose nothing.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <string>

#include "tests/framework/registry/registry_test_support.h"
#include "tests/framework/registry/writer_kill.h"

namespace {

using tq3::test::AsDword;
using tq3::test::Query;
using tq3::test::SetDword;
using tq3::test::SetString;
using tq3::test::WriterKill;

constexpr int kValuesPerTransaction = 40;
constexpr int kKillRounds = 50;

std::u16string ColumnName(int column) {
    std::string text = "ColumnWidth_" + std::to_string(100000 + column).substr(1);
    return std::u16string(text.begin(), text.end());
}

std::string IntegrityOf(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return result;
}

enum class Halfway {
    Continue,  // write on
    Report,    // report to the parent and write on
    Stop,      // report to the parent and stop inside the transaction
};

// One transaction writing every column width and a generation stamp.
bool WriteGeneration(HKEY root, DWORD generation, Halfway halfway) {
    if (tq3::fw::BeginRegistryTransaction(root) != ERROR_SUCCESS) return false;
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, u"Software\\Kill\\WidthOfColumns", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    for (int column = 1; column <= kValuesPerTransaction; ++column) {
        if (SetDword(key, ColumnName(column).c_str(), generation) != ERROR_SUCCESS) return false;
        if (halfway != Halfway::Continue && column == kValuesPerTransaction / 2) {
            WriterKill::ReportReady();
            while (halfway == Halfway::Stop) pause();
        }
    }
    std::string stamp = std::to_string(generation);
    if (SetString(key, u"Stamp", std::u16string(stamp.begin(), stamp.end())) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return tq3::fw::CommitRegistryTransaction(root) == ERROR_SUCCESS;
}

// What a reader finds: -1 when nothing was ever committed, the one generation
// all values carry, or -2 when they disagree (a torn transaction).
long long CommittedGeneration(HKEY root) {
    HKEY key = nullptr;
    LSTATUS rc = RegOpenKeyExW(root, u"Software\\Kill\\WidthOfColumns", 0, KEY_READ, &key);
    if (rc == ERROR_FILE_NOT_FOUND) return -1;
    if (rc != ERROR_SUCCESS) return -3;
    long long seen = -1;
    bool torn = false;
    for (int column = 1; column <= kValuesPerTransaction; ++column) {
        auto value = Query(key, ColumnName(column).c_str());
        long long generation = value.result == ERROR_SUCCESS ? AsDword(value.data) : -1;
        if (column == 1) seen = generation;
        torn = torn || generation != seen;
    }
    auto stamp = Query(key, u"Stamp");
    std::string expected = std::to_string(seen);
    std::u16string wide(expected.begin(), expected.end());
    std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(wide.c_str()),
                            reinterpret_cast<const BYTE*>(wide.c_str() + wide.size() + 1));
    if (seen >= 0 && stamp.data != bytes) torn = true;
    if (seen < 0 && stamp.result != ERROR_FILE_NOT_FOUND) torn = true;
    RegCloseKey(key);
    return torn ? -2 : seen;
}

struct RootCase {
    const char* name;
    HKEY root;
    bool machine;
};

void PrintTo(const RootCase& c, std::ostream* out) { *out << c.name; }

class RegistryProcesses : public tq3::test::RegistryFixture, public ::testing::WithParamInterface<RootCase> {
protected:
    HKEY Root() const { return GetParam().root; }
    const std::string& StorePath() const { return GetParam().machine ? machinePath_ : userPath_; }
};

// Even rounds: the child commits generation g, starts g + 1, reports halfway and
// stops there, so the kill surely lands inside g + 1, which must leave no trace.
// Odd rounds: the child reports halfway through its first transaction and writes
// on, transaction after transaction, until the kill lands wherever it lands.
TEST_P(RegistryProcesses, KilledWriterLeavesWholeTransactions) {
    long long lastSeen = -1;
    int killedInside = 0;
    for (int round = 0; round < kKillRounds; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        const DWORD base = static_cast<DWORD>(round) * 100000u + 1;
        const bool blocking = round % 2 == 0;
        auto writer = [&]() -> int {
            if (blocking) {
                if (!WriteGeneration(Root(), base, Halfway::Continue)) return 1;
                WriteGeneration(Root(), base + 1, Halfway::Stop);
                return 3;
            }
            for (DWORD generation = base; generation < base + 50000; ++generation)
                if (!WriteGeneration(Root(), generation, generation == base ? Halfway::Report : Halfway::Continue))
                    return 2;
            return 0;
        };
        auto delay = std::chrono::microseconds(blocking ? 0 : (round * 397) % 4000);
        WriterKill::Outcome outcome = WriterKill::Run(writer, delay);
        ASSERT_NE(outcome, WriterKill::Outcome::NoReport);
        ASSERT_NE(outcome, WriterKill::Outcome::ForkFailed);
        if (outcome == WriterKill::Outcome::Killed) ++killedInside;

        ASSERT_EQ(IntegrityOf(StorePath()), "ok");
        long long seen = CommittedGeneration(Root());
        ASSERT_GE(seen, 0) << "-1 nothing committed, -2 a torn transaction, -3 unreadable";
        if (blocking)
            EXPECT_EQ(seen, base) << "the transaction in progress must leave no trace";
        else
            EXPECT_TRUE(seen == lastSeen || (seen >= base && seen < base + 50000)) << seen;
        EXPECT_GE(seen, lastSeen) << "a committed transaction was lost";
        lastSeen = seen;
    }
    EXPECT_EQ(killedInside, kKillRounds);
}

// Two processes write their own values into one key at the same time, each value
// in its own transaction, and both overwrite one shared value.
TEST_P(RegistryProcesses, TwoWritersLoseNothing) {
    constexpr int kWrites = 200;
    int startPipe[2];
    ASSERT_EQ(pipe(startPipe), 0);
    pid_t children[2];
    for (int w = 0; w < 2; ++w) {
        children[w] = fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            close(startPipe[1]);
            char go = 0;
            if (read(startPipe[0], &go, 1) != 0) _exit(90);  // waits until the parent closes the pipe
            int failures = 0;
            const char16_t tag = w == 0 ? u'A' : u'B';
            for (int i = 0; i < kWrites; ++i) {
                HKEY key = nullptr;
                if (RegCreateKeyExW(Root(), u"Software\\Race\\Both", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr) != ERROR_SUCCESS) {
                    ++failures;
                    continue;
                }
                std::string number = std::to_string(i);
                std::u16string name = std::u16string(1, tag) + u"_" + std::u16string(number.begin(), number.end());
                if (SetDword(key, name.c_str(), static_cast<DWORD>(i)) != ERROR_SUCCESS) ++failures;
                if (SetString(key, u"Shared", name) != ERROR_SUCCESS) ++failures;
                RegCloseKey(key);
            }
            _exit(failures > 80 ? 80 : failures);
        }
    }
    close(startPipe[0]);
    close(startPipe[1]);  // both start now
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "failed calls in a writer";
    }

    ASSERT_EQ(IntegrityOf(StorePath()), "ok");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(Root(), u"Software\\Race\\Both", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD subKeys = 0, values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u * kWrites + 1);
    int missing = 0;
    for (char16_t tag : {u'A', u'B'}) {
        for (int i = 0; i < kWrites; ++i) {
            std::string number = std::to_string(i);
            std::u16string name = std::u16string(1, tag) + u"_" + std::u16string(number.begin(), number.end());
            auto value = Query(key, name.c_str());
            if (value.result != ERROR_SUCCESS || AsDword(value.data) != static_cast<DWORD>(i)) ++missing;
        }
    }
    EXPECT_EQ(missing, 0);
    // The shared value holds the last write of one of the two writers.
    auto shared = Query(key, u"Shared");
    std::string last = std::to_string(kWrites - 1);
    auto asBytes = [](const std::u16string& text) {
        return std::vector<BYTE>(reinterpret_cast<const BYTE*>(text.c_str()),
                                 reinterpret_cast<const BYTE*>(text.c_str() + text.size() + 1));
    };
    std::u16string a = u"A_" + std::u16string(last.begin(), last.end());
    std::u16string b = u"B_" + std::u16string(last.begin(), last.end());
    EXPECT_TRUE(shared.data == asBytes(a) || shared.data == asBytes(b));
    RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(Roots, RegistryProcesses,
                         ::testing::Values(RootCase{"User", HKEY_CURRENT_USER, false},
                                           RootCase{"Machine", HKEY_LOCAL_MACHINE, true}),
                         [](const ::testing::TestParamInfo<RootCase>& info) { return std::string(info.param.name); });

}  // namespace
