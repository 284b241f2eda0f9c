// A writer killed halfway through a transaction leaves all or nothing of it, in
// the user's store (write-ahead journal) and the machine's (rollback journal).
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/framework/registry/registry_test_support.h"
#include "tests/framework/registry/writer_kill.h"

namespace {

using tq3::test::AsDword;
using tq3::test::IntegrityOf;
using tq3::test::Query;
using tq3::test::SetDword;
using tq3::test::WriterKill;

constexpr int kValuesPerTransaction = 40;
constexpr int kKillRounds = 50;

std::u16string Name(const char16_t* prefix, int number) {
    std::string digits = std::to_string(number);
    return prefix + std::u16string(digits.begin(), digits.end());
}

enum class Halfway { Continue, Report, Stop };  // write on; report and write on; report and stop

// One transaction writing every column width and a generation stamp.
bool WriteGeneration(HKEY root, DWORD generation, Halfway halfway) {
    HKEY key = nullptr;
    if (tq3::fw::BeginRegistryTransaction(root) != ERROR_SUCCESS ||
        RegCreateKeyExW(root, u"Software\\Kill\\WidthOfColumns", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    for (int column = 1; column <= kValuesPerTransaction; ++column) {
        if (SetDword(key, Name(u"ColumnWidth_", column).c_str(), generation) != ERROR_SUCCESS) return false;
        if (halfway != Halfway::Continue && column == kValuesPerTransaction / 2) {
            WriterKill::ReportReady();
            while (halfway == Halfway::Stop) pause();
        }
    }
    if (SetDword(key, u"Stamp", generation) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return tq3::fw::CommitRegistryTransaction(root) == ERROR_SUCCESS;
}

// The one generation all values carry; -1 when nothing was committed, -2 when
// they disagree (a torn transaction), -3 when the key cannot be read.
long long CommittedGeneration(HKEY root) {
    HKEY key = nullptr;
    LSTATUS rc = RegOpenKeyExW(root, u"Software\\Kill\\WidthOfColumns", 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS) return rc == ERROR_FILE_NOT_FOUND ? -1 : -3;
    const long long seen = AsDword(Query(key, u"Stamp").data);
    bool torn = seen == 0xDEADBEEF;
    for (int column = 1; column <= kValuesPerTransaction; ++column)
        torn = torn || AsDword(Query(key, Name(u"ColumnWidth_", column).c_str()).data) != seen;
    RegCloseKey(key);
    return torn ? -2 : seen;
}

class RegistryProcesses : public tq3::test::RegistryFixture, public ::testing::WithParamInterface<bool> {
protected:
    HKEY Root() const { return GetParam() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
    const std::string& StorePath() const { return GetParam() ? machinePath_ : userPath_; }
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
        WriterKill::Outcome outcome =
            WriterKill::Run(writer, std::chrono::microseconds(blocking ? 0 : (round * 397) % 4000));
        ASSERT_NE(outcome, WriterKill::Outcome::NoReport);
        ASSERT_NE(outcome, WriterKill::Outcome::ForkFailed);
        killedInside += outcome == WriterKill::Outcome::Killed;
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

INSTANTIATE_TEST_SUITE_P(Roots, RegistryProcesses, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Machine" : "User"; });

}  // namespace
