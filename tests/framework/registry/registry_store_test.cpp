// The store files: damaged files kept aside for a fresh store; newer or misplaced
// files refused and left alone; stores that cannot be written answering reads.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

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

void Sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) == SQLITE_OK) sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
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
        {"a damaged page",
         [](RegistryStoreFiles* test, const std::string& path) {
             test->MakeFilledStore(path);
             std::string bytes = ReadFile(path);
             for (std::size_t i = 4096 + 8; i < 4096 + 2000 && i < bytes.size(); ++i) bytes[i] = '\x5A';
             return bytes;
         }},
        {"another program's database",
         [](RegistryStoreFiles*, const std::string& path) {
             Sql(path, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('mine')");
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
    struct Case {
        const char* what;
        std::string path;
        LSTATUS expected;
        const char* said;
    };
    const Case cases[] = {
        {"a newer version's store", dir_ + "/newer.db", ERROR_REVISION_MISMATCH, "written by a newer version"},
        {"a folder where the file should be", dir_ + "/a-folder.db", ERROR_CANTREAD, "is not a file"},
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
}

// Read-only WAL stores whose shared memory cannot be made, with and without
// changes waiting in their journal: every read is answered, every write refused
// with ERROR_ACCESS_DENIED, nothing is changed.
TEST_F(RegistryStoreFiles, StoresThatCannotBeWrittenAnswerReads) {
    const std::string bare = dir_ + "/bare", journal = dir_ + "/journal";
    for (const std::string& folder : {bare, journal}) mkdir(folder.c_str(), 0755);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, bare + "/user.db"), ERROR_SUCCESS);
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Kept");
    ASSERT_EQ(SetDword(key, u"v", 5), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"late", 6), ERROR_SUCCESS);
    // With the connection open the last change is in the journal only.
    std::filesystem::copy_file(bare + "/user.db", journal + "/user.db");
    std::filesystem::copy_file(bare + "/user.db-wal", journal + "/user.db-wal");
    ASSERT_GT(std::filesystem::file_size(journal + "/user.db-wal"), 0u);
    RegCloseKey(key);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
    ASSERT_FALSE(std::filesystem::exists(bare + "/user.db-wal"));
    for (const std::string& folder : {bare, journal}) {
        for (const auto& file : std::filesystem::directory_iterator(folder)) chmod(file.path().c_str(), 0444);
        chmod(folder.c_str(), 0555);
    }
    chmod(dir_.c_str(), 0755);
    const std::string before = ReadFile(journal + "/user.db") + ReadFile(journal + "/user.db-wal");
    int failures = tq3::test::RunUnprivileged([&] {
        int failures = 0;
        for (const std::string& store : {bare + "/user.db", journal + "/user.db"}) {
            std::fprintf(stderr, "store %s\n", store.c_str());
            tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, store);
            HKEY opened = nullptr;
            CHILD_CHECK(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Kept", 0, KEY_READ, &opened) == ERROR_SUCCESS);
            CHILD_CHECK(AsDword(Query(opened, u"v").data) == 5);
            CHILD_CHECK(store != journal + "/user.db" || AsDword(Query(opened, u"late").data) == 6);
            CHILD_CHECK(SetDword(opened, u"v", 1) == ERROR_ACCESS_DENIED);
            RegCloseKey(opened);
            CHILD_CHECK(SetDword(HKEY_CURRENT_USER, u"v", 1) == ERROR_ACCESS_DENIED);
            CHILD_CHECK(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER) == ERROR_ACCESS_DENIED);
        }
        return failures;
    });
    for (const std::string& folder : {bare, journal}) chmod(folder.c_str(), 0755);
    chmod(dir_.c_str(), 0700);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(ReadFile(journal + "/user.db") + ReadFile(journal + "/user.db-wal"), before);
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

}  // namespace
