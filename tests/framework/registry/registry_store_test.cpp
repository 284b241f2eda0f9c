// The store files: where they are made and with which permissions; damaged files
// kept aside for a fresh store; newer or misplaced files refused and left alone;
// stores that cannot be written answering reads; the user's copy of a machine
// store that the user may not write.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/framework/registry/registry_test_support.h"

namespace {

using tq3::test::AsDword;
using tq3::test::CreateKey;
using tq3::test::Query;
using tq3::test::ReadDword;
using tq3::test::ReadFile;
using tq3::test::SetDword;
using tq3::test::WriteFile;

class RegistryStoreFiles : public tq3::test::RegistryFixture {
public:
    // A store at `path` with enough values to span many pages, closed again.
    void MakeFilledStore(const std::string& path) {
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path), ERROR_SUCCESS);
        HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Filled");
        ASSERT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
        for (DWORD i = 0; i < 400; ++i)
            ASSERT_EQ(SetDword(key, (u"value" + std::u16string(i / 26 + 1, u'a' + i % 26)).c_str(), i), ERROR_SUCCESS);
        ASSERT_EQ(tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
        RegCloseKey(key);
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
    }
    // The files set aside for `path`.
    std::vector<std::string> AsideFiles(const std::string& path) const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
            const std::string name = entry.path().string();
            const std::string tail = name.substr(name.size() - 4);
            if (name.rfind(path + ".damaged-", 0) == 0 && tail != "-wal" && tail != "-shm") found.push_back(name);
        }
        return found;
    }
};

std::string Sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    std::string answer;
    if (sqlite3_open(path.c_str(), &db) == SQLITE_OK)
        sqlite3_exec(
            db, sql,
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) = values[0] != nullptr ? values[0] : "";
                return 0;
            },
            &answer, nullptr);
    sqlite3_close(db);
    return answer;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST_F(RegistryStoreFiles, UserStoreIsPrivateAndMachineStoreShared) {
    const std::string config = dir_ + "/config";
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old != nullptr ? old : "";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, ""), ERROR_SUCCESS);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) RegCloseKey(CreateKey(root, u"Software\\Made"));
    const std::string file = config + "/tq3view/user-registry.db";
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER), file);
    EXPECT_EQ(ModeOf(config + "/tq3view"), 0700u);
    EXPECT_EQ(ModeOf(file), 0600u);
    EXPECT_EQ(Sql(file, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(ModeOf(machinePath_), 0644u);
    EXPECT_EQ(Sql(machinePath_, "PRAGMA journal_mode"), "delete");
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
    old != nullptr ? setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

// However a file was damaged, its bytes (and its journal) are kept under a new
// name beside it, a fresh store takes its place, and stderr says so once.
TEST_F(RegistryStoreFiles, DamagedFilesAreKeptAsideForAFreshStore) {
    struct Case {
        const char* what;
        std::string (*make)(RegistryStoreFiles* test, const std::string& path);
    };
    const Case cases[] = {
        {"random bytes",
         [](RegistryStoreFiles*, const std::string&) {
             std::string bytes(6000, 0);
             for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7919 % 251);
             return bytes;
         }},
        {"cut short",
         [](RegistryStoreFiles* test, const std::string& path) {
             test->MakeFilledStore(path);
             std::string bytes = ReadFile(path);
             return bytes.substr(0, bytes.size() / 2 + 100);
         }},
        {"another program's database",
         [](RegistryStoreFiles*, const std::string& path) {
             Sql(path, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('mine')");
             return ReadFile(path);
         }},
        {"a store with a trigger added",
         [](RegistryStoreFiles* test, const std::string& path) {
             test->MakeFilledStore(path);
             Sql(path, "CREATE TRIGGER spy AFTER INSERT ON reg_values BEGIN DELETE FROM reg_keys; END");
             return ReadFile(path);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir_ + "/" + std::to_string(&c - cases) + ".db";
        const std::string bytes = c.make(this, path);
        WriteFile(path, bytes);
        WriteFile(path + "-wal", "the journal goes with it");
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path), ERROR_SUCCESS);
        ::testing::internal::CaptureStderr();
        HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Fresh");
        EXPECT_EQ(SetDword(key, u"v", 5), ERROR_SUCCESS);
        RegCloseKey(key);
        const std::string said = ::testing::internal::GetCapturedStderr();
        const std::vector<std::string> aside = AsideFiles(path);
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(ReadFile(aside[0]), bytes) << "the user's file must be kept exactly as it was";
        EXPECT_EQ(ReadFile(aside[0] + "-wal"), "the journal goes with it");
        EXPECT_NE(said.find("kept as " + aside[0]), std::string::npos) << said;
        // The fresh store is a store like any other, also after reopening it.
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path), ERROR_SUCCESS);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, u"Software\\Fresh", u"v"), 5u);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, u"Software\\Filled", u"valuea"), 0xDEADBEEF);
    }
}

// Processes that meet one damaged file at once set it aside once, and both
// write into the same fresh store.
TEST_F(RegistryStoreFiles, ProcessesMeetingADamagedFileAgree) {
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        const std::string path = dir_ + "/shared" + std::to_string(round) + ".db";
        WriteFile(path, std::string(5000, 'x'));
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, path), ERROR_SUCCESS);
        int go[2];
        ASSERT_EQ(pipe(go), 0);
        pid_t children[2];
        for (int w = 0; w < 2; ++w) {
            children[w] = fork();
            ASSERT_GE(children[w], 0);
            if (children[w] == 0) {
                close(go[1]);
                char byte;
                if (read(go[0], &byte, 1) != 0) _exit(2);
                std::freopen("/dev/null", "w", stderr);  // the message about the damaged file is not this test's
                HKEY key = nullptr;
                if (RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Both", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr) != ERROR_SUCCESS)
                    _exit(3);
                _exit(SetDword(key, w == 0 ? u"first" : u"second", 1) == ERROR_SUCCESS ? 0 : 4);
            }
        }
        close(go[0]);
        close(go[1]);
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
        EXPECT_EQ(AsideFiles(path).size(), 1u);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, u"Software\\Both", u"first"), 1u);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, u"Software\\Both", u"second"), 1u);
    }
}

TEST_F(RegistryStoreFiles, NewerOrMisplacedFilesAreRefusedAndLeftAlone) {
    MakeFilledStore(dir_ + "/newer.db");
    Sql(dir_ + "/newer.db", "PRAGMA user_version=2");
    mkdir((dir_ + "/a-folder.db").c_str(), 0700);
    WriteFile(dir_ + "/plain-file", "x");
    struct Case {
        const char* what;
        std::string path;
        LSTATUS expected;
        const char* said;
    };
    const Case cases[] = {
        {"a newer version's store", dir_ + "/newer.db", ERROR_REVISION_MISMATCH, "written by a newer version"},
        {"a folder where the file should be", dir_ + "/a-folder.db", ERROR_CANTREAD, "is not a file"},
        {"a folder that does not exist", dir_ + "/missing/store.db", ERROR_CANTWRITE, ""},
        {"a file where a folder should be", dir_ + "/plain-file/store.db", ERROR_CANTWRITE, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = ReadFile(c.path);
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, c.path), ERROR_SUCCESS);
        ::testing::internal::CaptureStderr();
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &key), c.expected);
        EXPECT_EQ(SetDword(HKEY_CURRENT_USER, u"v", 1), c.expected);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(ReadFile(c.path), before);
        EXPECT_TRUE(AsideFiles(c.path).empty());
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir_ + "/a-folder.db"));
    EXPECT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CLASSES_ROOT, userPath_), ERROR_INVALID_HANDLE);
}

// Read-only files and folders, WAL stores whose shared memory cannot be made,
// with and without changes waiting in their journal: every read is answered,
// every write refused, nothing is changed.
TEST_F(RegistryStoreFiles, StoresThatCannotBeWrittenAnswerReads) {
    const std::string shared = dir_ + "/shared", bare = dir_ + "/bare", journal = dir_ + "/journal";
    const std::string damaged = dir_ + "/damaged";
    for (const std::string& folder : {shared, bare, journal, damaged}) mkdir(folder.c_str(), 0755);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, shared + "/machine.db"), ERROR_SUCCESS);
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Kept");
    ASSERT_EQ(SetDword(key, u"v", 5), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, bare + "/user.db"), ERROR_SUCCESS);
    key = CreateKey(HKEY_CURRENT_USER, u"Software\\Kept");
    ASSERT_EQ(SetDword(key, u"v", 5), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"late", 6), ERROR_SUCCESS);
    // With the connection open the last change is in the journal only.
    std::filesystem::copy_file(bare + "/user.db", journal + "/user.db");
    std::filesystem::copy_file(bare + "/user.db-wal", journal + "/user.db-wal");
    ASSERT_GT(std::filesystem::file_size(journal + "/user.db-wal"), 0u);
    RegCloseKey(key);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
    ASSERT_FALSE(std::filesystem::exists(bare + "/user.db-wal"));
    WriteFile(damaged + "/user.db", std::string(3000, 'z'));
    for (const std::string& folder : {shared, bare, journal, damaged}) {
        for (const auto& file : std::filesystem::directory_iterator(folder)) chmod(file.path().c_str(), 0444);
        chmod(folder.c_str(), 0555);
    }
    chmod(dir_.c_str(), 0755);
    const std::string before = ReadFile(journal + "/user.db") + ReadFile(journal + "/user.db-wal");
    int failures = tq3::test::RunUnprivileged([&] {
        int failures = 0;
        for (const std::string& store : {shared + "/machine.db", bare + "/user.db", journal + "/user.db"}) {
            std::fprintf(stderr, "store %s\n", store.c_str());
            tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, store);
            HKEY opened = nullptr;
            CHILD_CHECK(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Kept", 0, KEY_READ, &opened) == ERROR_SUCCESS);
            CHILD_CHECK(AsDword(Query(opened, u"v").data) == 5);
            CHILD_CHECK(store != journal + "/user.db" || AsDword(Query(opened, u"late").data) == 6);
            CHILD_CHECK(SetDword(opened, u"v", 1) == ERROR_ACCESS_DENIED);
            RegCloseKey(opened);
            CHILD_CHECK(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Kept", 0, KEY_WRITE, &opened) ==
                        ERROR_ACCESS_DENIED);
            CHILD_CHECK(SetDword(HKEY_CURRENT_USER, u"v", 1) == ERROR_ACCESS_DENIED);
            CHILD_CHECK(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER) == ERROR_ACCESS_DENIED);
        }
        // A damaged file that may not be moved stays as it is.
        tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, damaged + "/user.db");
        CHILD_CHECK(SetDword(HKEY_CURRENT_USER, u"v", 1) == ERROR_BADDB);
        return failures;
    });
    for (const std::string& folder : {shared, bare, journal, damaged}) chmod(folder.c_str(), 0755);
    chmod(dir_.c_str(), 0700);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(ReadFile(journal + "/user.db") + ReadFile(journal + "/user.db-wal"), before);
    EXPECT_EQ(ReadFile(damaged + "/user.db"), std::string(3000, 'z'));
}

// A full disk refuses each write with ERROR_DISK_FULL and leaves the store as it
// was: reads go on, and writes work again once there is room.
TEST_F(RegistryStoreFiles, FullDiskRefusesWritesAndKeepsReading) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        SCOPED_TRACE(root == HKEY_CURRENT_USER ? "user" : "machine");
        HKEY key = CreateKey(root, u"Software\\Full");
        ASSERT_EQ(SetDword(key, u"kept", 1), ERROR_SUCCESS);
        {
            tq3::test::FullDisk full;
            EXPECT_EQ(SetDword(key, u"kept", 2), ERROR_DISK_FULL);
            HKEY made = nullptr;
            EXPECT_EQ(RegCreateKeyExW(key, u"New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made, nullptr),
                      ERROR_DISK_FULL);
            EXPECT_EQ(made, nullptr);
            ASSERT_EQ(tq3::fw::BeginRegistryTransaction(root), ERROR_SUCCESS);
            EXPECT_NE(SetDword(key, u"inside", 3) == ERROR_SUCCESS &&
                          tq3::fw::CommitRegistryTransaction(root) == ERROR_SUCCESS,
                      true);
            tq3::fw::RollbackRegistryTransaction(root);
            EXPECT_EQ(AsDword(Query(key, u"kept").data), 1u);
        }
        EXPECT_EQ(Query(key, u"inside").result, ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(SetDword(key, u"kept", 2), ERROR_SUCCESS);
        EXPECT_EQ(AsDword(Query(key, u"kept").data), 2u);
        RegCloseKey(key);
    }
}

// The machine file cannot be created: its folder would have to be a plain file.
TEST_F(RegistryStoreFiles, UncreatableMachineStoreFallsBackToTheUsersCopy) {
    WriteFile(dir_ + "/etc", "not a folder");
    const std::string fallback = dir_ + "/fallback.db";
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, dir_ + "/etc/machine.db", fallback), ERROR_SUCCESS);
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Fallback");
    EXPECT_EQ(SetDword(key, u"v", 3), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE), fallback);
    EXPECT_EQ(ModeOf(fallback), 0600u);
}

// The machine file exists and is readable but not writable by this user: the
// user's copy starts with its contents and takes the writes; the machine file is
// not touched.
TEST_F(RegistryStoreFiles, UnwritableMachineStoreIsCopiedForTheUser) {
    HKEY seed = CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Shared");
    ASSERT_EQ(SetDword(seed, u"installed", 42), ERROR_SUCCESS);
    RegCloseKey(seed);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, dir_ + "/gone.db"), ERROR_SUCCESS);
    const std::string before = ReadFile(machinePath_);
    const std::string userDir = dir_ + "/user";
    ASSERT_EQ(mkdir(userDir.c_str(), 0777), 0);
    chmod(userDir.c_str(), 0777);
    chmod(machinePath_.c_str(), 0444);
    chmod(dir_.c_str(), 0555);
    const std::string fallback = userDir + "/machine.db";
    int failures = tq3::test::RunUnprivileged([&] {
        int failures = 0;
        CHILD_CHECK(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, machinePath_, fallback) == ERROR_SUCCESS);
        HKEY key = nullptr;
        CHILD_CHECK(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Shared", 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS);
        CHILD_CHECK(AsDword(Query(key, u"installed").data) == 42);
        CHILD_CHECK(SetDword(key, u"mine", 7) == ERROR_SUCCESS);
        CHILD_CHECK(tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE) == fallback);
        return failures;
    });
    chmod(dir_.c_str(), 0700);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(ReadFile(machinePath_), before);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, fallback), ERROR_SUCCESS);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Shared", u"mine"), 7u);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, machinePath_), ERROR_SUCCESS);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Shared", u"mine"), 0xDEADBEEFu);
}

}  // namespace
