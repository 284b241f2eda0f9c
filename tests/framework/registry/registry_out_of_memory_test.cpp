// Out of memory inside the registry functions: every allocation a call makes is
// failed in turn. Each failure must give ERROR_OUTOFMEMORY, change nothing, and
// leave no transaction open that would lock other processes out; opening the
// store may fail that way and succeed at the next call.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "tests/framework/registry/registry_test_support.h"
#include "tests/support/failing_allocator.h"

namespace {

using tq3::test::AsDword;
using tq3::test::CreateKey;
using tq3::test::Query;
using tq3::test::SetDword;

class RegistryOutOfMemory : public tq3::test::RegistryFixture {
protected:
    // Whether another connection can take the write lock at once.
    bool StoreIsUnlocked() const {
        sqlite3* db = nullptr;
        bool free = sqlite3_open_v2(userPath_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                    sqlite3_exec(db, "BEGIN IMMEDIATE; ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return free;
    }
};

TEST_F(RegistryOutOfMemory, FailedCallsChangeNothingAndReleaseTheStore) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Oom");
    ASSERT_EQ(SetDword(key, u"kept", 11), ERROR_SUCCESS);
    auto openAndClose = [] {
        HKEY opened = nullptr;
        LSTATUS rc = RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Oom", 0, KEY_READ, &opened);
        RegCloseKey(opened);
        return rc;
    };
    for (const bool reopen : {false, true}) {
        SCOPED_TRACE(reopen ? "open the store" : "set a new value");
        LSTATUS rc = ERROR_SUCCESS;
        const tq3::test::SweepResult result = tq3::test::SweepAllocations({
            .prepare =
                [&] {
                    if (reopen) {
                        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
                    }
                },
            .operation = [&] { rc = reopen ? openAndClose() : SetDword(key, u"fresh", 5); },
            .check =
                [&](const tq3::test::SweepRun& run) {
                    if (run.refused == 0) {
                        EXPECT_EQ(rc, ERROR_SUCCESS);
                        return;
                    }
                    ASSERT_EQ(rc, ERROR_OUTOFMEMORY) << "after " << run.allowed << " allocations";
                    // Nothing changed; after a refused open the next call opens the store.
                    EXPECT_TRUE(reopen ? openAndClose() == ERROR_SUCCESS
                                       : Query(key, u"fresh").result == ERROR_FILE_NOT_FOUND);
                    EXPECT_TRUE(StoreIsUnlocked()) << "after " << run.allowed << " allocations";
                },
            .limit = 1000,
        });
        EXPECT_TRUE(result.completed);
        EXPECT_GT(result.refusedRuns, 0) << "the call allocated nothing, so nothing was tested";
        RegCloseKey(key);  // the store was reopened: a new handle
        key = CreateKey(HKEY_CURRENT_USER, u"Software\\Oom");
        EXPECT_EQ(AsDword(Query(key, u"kept").data), 11u);
    }
    RegCloseKey(key);
}

}  // namespace
