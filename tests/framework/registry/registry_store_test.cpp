// The store files: where they are made and with which permissions, damaged or
// foreign files refused and left untouched, an unwritable machine-wide file
// replaced by the user's copy.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/framework/registry/registry_test_support.h"

namespace {

using tq3::test::AsDword;
using tq3::test::CreateKey;
using tq3::test::Query;
using tq3::test::SetDword;

class RegistryStoreFiles : public tq3::test::RegistryFixture {};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

std::string JournalMode(const std::string& path) {
    sqlite3* db = nullptr;
    std::string mode;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return mode;
}

void AlterStore(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// A store with enough values to span many pages, so damage can land mid-file.
void FillStore() {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Filled");
    ASSERT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    for (int i = 0; i < 400; ++i) {
        std::u16string name = u"value" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                              std::u16string(static_cast<std::size_t>(i / 26 + 1), u'x');
        ASSERT_EQ(SetDword(key, name.c_str(), static_cast<DWORD>(i)), ERROR_SUCCESS);
    }
    ASSERT_EQ(tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryStoreFiles, DamagedOrForeignFilesAreRefusedAndKept) {
    struct Case {
        const char* what;
        std::string (*make)(const std::string& path);
    };
    const Case cases[] = {
        {"text instead of a database", [](const std::string&) { return std::string(5000, 'x'); }},
        {"a database of another program",
         [](const std::string& path) {
             sqlite3* db = nullptr;
             sqlite3_open(path.c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('mine')", nullptr, nullptr,
                          nullptr);
             sqlite3_close(db);
             return ReadFile(path);
         }},
        {"a store with a damaged page",
         [](const std::string& path) {
             FillStore();
             tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path + ".elsewhere");  // close it
             std::string bytes = ReadFile(path);
             for (std::size_t i = 4096 + 8; i < 4096 + 2000 && i < bytes.size(); ++i) bytes[i] = '\x5A';
             return bytes;
         }},
        {"a store with a trigger added",
         [](const std::string& path) {
             FillStore();
             tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path + ".elsewhere");
             AlterStore(path, "CREATE TRIGGER spy AFTER INSERT ON reg_values BEGIN DELETE FROM reg_keys; END");
             return ReadFile(path);
         }},
        {"a store whose values table has another shape",
         [](const std::string& path) {
             FillStore();
             tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path + ".elsewhere");
             AlterStore(path, "DROP TABLE reg_values; CREATE TABLE reg_values(key, name, folded, type, data)");
             return ReadFile(path);
         }},
        {"a store cut short",
         [](const std::string& path) {
             FillStore();
             tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path + ".elsewhere");
             std::string bytes = ReadFile(path);
             return bytes.substr(0, bytes.size() / 2 + 100);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir_ + "/damaged.db";
        std::remove(path.c_str());
        std::remove((path + "-wal").c_str());
        std::remove((path + "-shm").c_str());
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path), ERROR_SUCCESS);
        std::string bytes = c.make(path);
        WriteFile(path, bytes);
        std::remove((path + "-wal").c_str());
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path), ERROR_SUCCESS);

        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Filled", 0, KEY_READ, &key), ERROR_BADDB);
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_BADDB);
        EXPECT_EQ(SetDword(HKEY_CURRENT_USER, u"v", 1), ERROR_BADDB);
        EXPECT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_BADDB);
        EXPECT_EQ(ReadFile(path), bytes) << "the file must be left exactly as it was";
    }
}

TEST_F(RegistryStoreFiles, UnusableLocationsGiveErrors) {
    struct Case {
        const char* what;
        std::string path;
        LSTATUS expected;
    };
    mkdir((dir_ + "/a-folder.db").c_str(), 0700);
    WriteFile(dir_ + "/plain-file", "x");
    const Case cases[] = {
        {"a folder where the file should be", dir_ + "/a-folder.db", ERROR_CANTREAD},
        {"a folder that does not exist", dir_ + "/missing/store.db", ERROR_CANTWRITE},
        {"a file where a folder should be", dir_ + "/plain-file/store.db", ERROR_CANTWRITE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, c.path), ERROR_SUCCESS);
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &key), c.expected);
        EXPECT_EQ(SetDword(HKEY_CURRENT_USER, u"v", 1), c.expected);
    }
    // Other roots cannot be pointed anywhere.
    EXPECT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CLASSES_ROOT, userPath_), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryStoreFiles, DefaultUserStoreIsPrivateUnderTheConfigFolder) {
    const std::string config = dir_ + "/config";
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old != nullptr ? old : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, ""), ERROR_SUCCESS);
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Defaults");
    EXPECT_EQ(SetDword(key, u"v", 1), ERROR_SUCCESS);
    RegCloseKey(key);
    const std::string file = config + "/tq3view/user-registry.db";
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER), file);
    EXPECT_EQ(ModeOf(config + "/tq3view"), 0700u);
    EXPECT_EQ(ModeOf(file), 0600u);
    EXPECT_EQ(JournalMode(file), "wal");
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
    if (old != nullptr)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST_F(RegistryStoreFiles, MachineStoreIsReadableByOthers) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Machine");
    EXPECT_EQ(SetDword(key, u"v", 1), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(ModeOf(machinePath_), 0644u);
    EXPECT_EQ(JournalMode(machinePath_), "delete");
}

// The machine file cannot be created: its folder would have to be a plain file.
TEST_F(RegistryStoreFiles, UncreatableMachineStoreFallsBackToTheUsersCopy) {
    WriteFile(dir_ + "/etc", "not a folder");
    const std::string machine = dir_ + "/etc/machine.db";
    const std::string fallback = dir_ + "/fallback.db";
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, machine, fallback), ERROR_SUCCESS);
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Fallback");
    EXPECT_EQ(SetDword(key, u"v", 3), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE), fallback);
    EXPECT_EQ(ModeOf(fallback), 0600u);
}

// The machine file exists and is readable but not writable by this user: the
// user's copy starts with its contents and takes the writes; the machine file
// is not touched. Needs an unprivileged user, so a root run drops to "nobody" in
// a child process.
TEST_F(RegistryStoreFiles, UnwritableMachineStoreIsCopiedForTheUser) {
    HKEY seed = CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Shared");
    ASSERT_EQ(SetDword(seed, u"installed", 42), ERROR_SUCCESS);
    RegCloseKey(seed);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, dir_ + "/gone.db"), ERROR_SUCCESS);
    const std::string before = ReadFile(machinePath_);
    const std::string userDir = dir_ + "/user";
    ASSERT_EQ(mkdir(userDir.c_str(), 0700), 0);
    const uid_t nobody = 65534;
    if (geteuid() == 0) {
        ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
        ASSERT_EQ(chown(userDir.c_str(), nobody, nobody), 0);
    } else {
        ASSERT_EQ(chmod(machinePath_.c_str(), 0444), 0);
        ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    }
    const std::string fallback = userDir + "/machine.db";

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0)) _exit(10);
        int failures = 0;
        if (tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, machinePath_, fallback) != ERROR_SUCCESS) failures |= 1;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Shared", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            failures |= 2;
        else if (AsDword(Query(key, u"installed").data) != 42)
            failures |= 4;
        else if (SetDword(key, u"mine", 7) != ERROR_SUCCESS)
            failures |= 8;
        if (tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE) != fallback) failures |= 16;
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod(dir_.c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bits: 1 set path, 2 open, 4 copied value, 8 write, 16 fallback in use";
    EXPECT_EQ(ReadFile(machinePath_), before);

    // Back as the owner: the value written went to the user's copy only.
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, fallback), ERROR_SUCCESS);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Shared", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(AsDword(Query(key, u"mine").data), 7u);
    RegCloseKey(key);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, machinePath_), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Shared", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"mine").result, ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

// Without a fallback an unwritable file is still read, and a handle asking for
// write rights is refused.
TEST_F(RegistryStoreFiles, ReadOnlyStoreRefusesWriteRights) {
    HKEY seed = CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\ReadOnly");
    ASSERT_EQ(SetDword(seed, u"v", 5), ERROR_SUCCESS);
    RegCloseKey(seed);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, dir_ + "/gone.db"), ERROR_SUCCESS);
    const uid_t nobody = 65534;
    chmod(dir_.c_str(), 0755);
    chmod(machinePath_.c_str(), 0444);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0)) _exit(10);
        int failures = 0;
        tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, machinePath_);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\ReadOnly", 0, KEY_READ, &key) != ERROR_SUCCESS)
            failures |= 1;
        else if (AsDword(Query(key, u"v").data) != 5)
            failures |= 2;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\ReadOnly", 0, KEY_WRITE, &key) != ERROR_ACCESS_DENIED)
            failures |= 4;
        if (SetDword(HKEY_LOCAL_MACHINE, u"v", 1) != ERROR_CANTWRITE) failures |= 8;
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod(dir_.c_str(), 0700);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bits: 1 open, 2 read, 4 write rights refused, 8 write refused";
}

}  // namespace
