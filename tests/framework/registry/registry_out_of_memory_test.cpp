// Out of memory inside the registry functions: every allocation a call makes is
// failed in turn. Each failure must give ERROR_OUTOFMEMORY, change nothing, and
// leave no transaction open that would lock other processes out.
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
        bool free = false;
        if (sqlite3_open_v2(userPath_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            free = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        sqlite3_close(db);
        return free;
    }
};

TEST_F(RegistryOutOfMemory, FailedCallsChangeNothingAndReleaseTheStore) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Oom");
    ASSERT_EQ(SetDword(key, u"kept", 11), ERROR_SUCCESS);
    HKEY child = CreateKey(key, u"Child");
    RegCloseKey(child);

    struct Case {
        const char* what;
        std::function<LSTATUS()> call;
        std::function<bool()> unchanged;  // the state after a refused call
    };
    auto missing = [key](const char16_t* name) { return Query(key, name).result == ERROR_FILE_NOT_FOUND; };
    const Case cases[] = {
        {"set a new value", [key] { return SetDword(key, u"fresh", 5); }, [=] { return missing(u"fresh"); }},
        {"create a key path",
         [key] {
             HKEY made = nullptr;
             LSTATUS rc = RegCreateKeyExW(key, u"New\\Deeper\\Deepest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made,
                                          nullptr);
             RegCloseKey(made);
             return rc;
         },
         [key] {
             HKEY probe = nullptr;
             return RegOpenKeyExW(key, u"New", 0, KEY_READ, &probe) == ERROR_FILE_NOT_FOUND;
         }},
        {"query a value",
         [key] {
             DWORD value = 0, size = 4;
             return RegQueryValueExW(key, u"kept", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
         },
         [] { return true; }},
        {"enumerate values",
         [key] {
             WCHAR name[32];
             DWORD length = 32;
             return RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
         },
         [] { return true; }},
        {"key information",
         [key] {
             DWORD count = 0;
             return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr);
         },
         [] { return true; }},
        {"delete a key",
         [key] { return RegDeleteKeyW(key, u"Child"); },
         [key] {
             HKEY probe = nullptr;
             bool there = RegOpenKeyExW(key, u"Child", 0, KEY_READ, &probe) == ERROR_SUCCESS;
             RegCloseKey(probe);
             return there;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int refusedRuns = 0;
        for (long allowed = 0; allowed < 1000; ++allowed) {
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
        EXPECT_EQ(AsDword(Query(key, u"kept").data), 11u);
    }
    RegCloseKey(key);
}

// Opening the store file is where most of the allocations happen.
TEST_F(RegistryOutOfMemory, OpeningTheStoreCanFailAndBeRetried) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Reopen");
    ASSERT_EQ(SetDword(key, u"v", 3), ERROR_SUCCESS);
    RegCloseKey(key);
    for (long allowed = 0; allowed < 1000; ++allowed) {
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
        HKEY opened = nullptr;
        LSTATUS rc;
        long refused;
        {
            tq3::test::FailingAllocations failing(allowed);
            rc = RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Reopen", 0, KEY_READ, &opened);
            refused = failing.Refused();
        }
        if (refused == 0) {
            ASSERT_EQ(rc, ERROR_SUCCESS);
            EXPECT_EQ(AsDword(Query(opened, u"v").data), 3u);
            RegCloseKey(opened);
            break;
        }
        ASSERT_EQ(rc, ERROR_OUTOFMEMORY) << "after " << allowed << " allocations";
        EXPECT_EQ(opened, nullptr);
        EXPECT_TRUE(StoreIsUnlocked());
        // The next call, with memory again, opens the store properly.
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Reopen", 0, KEY_READ, &opened), ERROR_SUCCESS);
        EXPECT_EQ(AsDword(Query(opened, u"v").data), 3u);
        RegCloseKey(opened);
    }
}

}  // namespace
