// Out of memory inside the registry functions: every allocation a call makes is
// failed in turn. Each failure must give ERROR_OUTOFMEMORY, change nothing, and
// leave no transaction open that would lock other processes out; opening the
// store may fail that way and succeed at the next call.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
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
    RegCloseKey(CreateKey(key, u"Child"));
    auto exists = [key](const char16_t* path) {
        HKEY probe = nullptr;
        LSTATUS rc = RegOpenKeyExW(key, path, 0, KEY_READ, &probe);
        RegCloseKey(probe);
        return rc == ERROR_SUCCESS;
    };
    struct Case {
        const char* what;
        std::function<LSTATUS()> call;
        std::function<bool()> unchanged;  // the state after a refused call
        bool reopen;                      // the store is opened by the call itself
    };
    auto OpenAndClose = [] {
        HKEY opened = nullptr;
        LSTATUS rc = RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Oom", 0, KEY_READ, &opened);
        RegCloseKey(opened);
        return rc;
    };
    DWORD count = 0;
    WCHAR name[32];
    const Case cases[] = {
        {"set a new value", [key] { return SetDword(key, u"fresh", 5); },
         [key] { return Query(key, u"fresh").result == ERROR_FILE_NOT_FOUND; }, false},
        {"create a key path",
         [key] {
             HKEY made = nullptr;
             LSTATUS rc = RegCreateKeyExW(key, u"New\\Deeper", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made, nullptr);
             RegCloseKey(made);
             return rc;
         },
         [&] { return !exists(u"New"); }, false},
        {"query a value",
         [&] { return RegQueryValueExW(key, u"kept", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &(count = 4)); },
         [] { return true; }, false},
        {"delete a key", [key] { return RegDeleteKeyW(key, u"Child"); }, [&] { return exists(u"Child"); }, false},
        // After a refused open the next call opens the store properly.
        {"open the store", [&] { return OpenAndClose(); }, [&] { return OpenAndClose() == ERROR_SUCCESS; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int refusedRuns = 0;
        for (long allowed = 0; allowed < 1000; ++allowed) {
            if (c.reopen) {
                ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
            }
            LSTATUS rc;
            long refused;
            {
                tq3::test::FailingAllocations failing(allowed);
                rc = c.call();
                refused = failing.Refused();
            }
            if (refused == 0) {
                EXPECT_EQ(rc, ERROR_SUCCESS);
                break;
            }
            ++refusedRuns;
            ASSERT_EQ(rc, ERROR_OUTOFMEMORY) << "after " << allowed << " allocations";
            EXPECT_TRUE(c.unchanged()) << "after " << allowed << " allocations";
            EXPECT_TRUE(StoreIsUnlocked()) << "after " << allowed << " allocations";
        }
        EXPECT_GT(refusedRuns, 0) << "the call allocated nothing, so nothing was tested";
        if (c.reopen) {
            RegCloseKey(key);  // the store was reopened: a new handle
            key = CreateKey(HKEY_CURRENT_USER, u"Software\\Oom");
        }
        EXPECT_EQ(AsDword(Query(key, u"kept").data), 11u);
    }
    RegCloseKey(key);
}

}  // namespace
