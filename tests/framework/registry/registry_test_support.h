// Shared pieces of the registry and settings-tool tests: a fixture that points
// both roots at files in a fresh temporary folder, short helpers for typed
// values, a child process without privileges, and a full disk on demand.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "framework/system/registry.h"
#include "tests/support/file_bytes.h"

namespace tq3::test {

inline std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tq3reg-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    return made != nullptr ? std::filesystem::canonical(made).string() : std::string();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class RegistryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = MakeTempDir();
        ASSERT_FALSE(dir_.empty());
        userPath_ = dir_ + "/user.db";
        machinePath_ = dir_ + "/machine.db";
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
        ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, machinePath_), ERROR_SUCCESS);
    }
    void TearDown() override {
        // Leave the roots on files that no longer exist rather than on the user's
        // real settings, then remove the folder.
        tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, dir_ + "/gone/user.db");
        tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, dir_ + "/gone/machine.db");
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::string dir_;
    std::string userPath_;
    std::string machinePath_;
};

inline HKEY CreateKey(HKEY root, const char16_t* path, REGSAM rights = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, rights, nullptr, &key, nullptr), ERROR_SUCCESS);
    return key;
}

inline LSTATUS SetDword(HKEY key, const char16_t* name, DWORD value) {
    BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                     static_cast<BYTE>(value >> 24)};
    return RegSetValueExW(key, name, 0, REG_DWORD, bytes, 4);
}

// A string's bytes as REG_SZ holds them: UTF-16LE with the terminating zero.
inline std::vector<BYTE> Utf16z(const std::u16string& text) {
    std::vector<BYTE> out;
    for (char16_t c : text) {
        out.push_back(static_cast<BYTE>(c & 0xFF));
        out.push_back(static_cast<BYTE>(c >> 8));
    }
    out.insert(out.end(), {0, 0});
    return out;
}

inline LSTATUS SetString(HKEY key, const char16_t* name, const std::u16string& text) {
    std::vector<BYTE> bytes = Utf16z(text);
    return RegSetValueExW(key, name, 0, REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size()));
}

// Reads a value whole: its type and bytes, or the failing result.
struct ReadValue {
    LSTATUS result = ERROR_SUCCESS;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

inline ReadValue Query(HKEY key, const char16_t* name) {
    ReadValue out;
    DWORD size = 0;
    out.result = RegQueryValueExW(key, name, nullptr, &out.type, nullptr, &size);
    if (out.result != ERROR_SUCCESS) return out;
    out.data.resize(size);
    out.result = RegQueryValueExW(key, name, nullptr, &out.type, out.data.data(), &size);
    out.data.resize(size);
    return out;
}

inline DWORD AsDword(const std::vector<BYTE>& data) {
    if (data.size() != 4) return 0xDEADBEEF;
    return static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) | (static_cast<DWORD>(data[2]) << 16) |
           (static_cast<DWORD>(data[3]) << 24);
}

// The DWORD stored at `path`\`name` below `root`, or 0xDEADBEEF.
inline DWORD ReadDword(HKEY root, const char16_t* path, const char16_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0xDEADBEEF;
    DWORD value = AsDword(Query(key, name).data);
    RegCloseKey(key);
    return value;
}

// SQLite's own check of the store file: "ok" when it is whole.
inline std::string IntegrityOf(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

// Runs `body` in a child process that file permissions apply to (a root run drops
// to "nobody"); gives its exit code, or -1 when it did not exit. Checks inside use
// CHILD_CHECK and the body returns `failures`.
inline int RunUnprivileged(const std::function<int()>& body) {
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(99);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#define CHILD_CHECK(condition)                                                     \
    do {                                                                           \
        if (!(condition)) {                                                        \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                            \
        }                                                                          \
    } while (0)

// While alive, SQLite's writes fail as on a full disk: all of them, or those to
// files whose path starts with `prefix`.
class FullDisk {
public:
    explicit FullDisk(std::string prefix = {}) {
        Prefix() = std::move(prefix);
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        for (const Hook& hook : kHooks)
            if (vfs->xGetSystemCall(vfs, hook.name) != nullptr) vfs->xSetSystemCall(vfs, hook.name, hook.call);
    }
    ~FullDisk() {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        for (const Hook& hook : kHooks)
            if (vfs->xGetSystemCall(vfs, hook.name) == hook.call) vfs->xSetSystemCall(vfs, hook.name, nullptr);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    static std::string& Prefix() {
        static std::string prefix;
        return prefix;
    }
    static bool Refuse(int fd) {
        if (Prefix().empty()) return true;
        char link[64], target[4096];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        ssize_t n = readlink(link, target, sizeof target);
        return n > 0 && std::string(target, static_cast<std::size_t>(n)).rfind(Prefix(), 0) == 0;
    }
    static ssize_t Write(int fd, const void* data, size_t size) {
        if (Refuse(fd)) return errno = ENOSPC, -1;
        return write(fd, data, size);
    }
    static ssize_t Pwrite(int fd, const void* data, size_t size, off_t at) {
        if (Refuse(fd)) return errno = ENOSPC, -1;
        return pwrite(fd, data, size, at);
    }
    static ssize_t Pwrite64(int fd, const void* data, size_t size, off64_t at) {
        if (Refuse(fd)) return errno = ENOSPC, -1;
        return pwrite64(fd, data, size, at);
    }
    struct Hook {
        const char* name;
        sqlite3_syscall_ptr call;
    };
    static inline const Hook kHooks[] = {
        {"write", reinterpret_cast<sqlite3_syscall_ptr>(&Write)},
        {"pwrite", reinterpret_cast<sqlite3_syscall_ptr>(&Pwrite)},
        {"pwrite64", reinterpret_cast<sqlite3_syscall_ptr>(&Pwrite64)},
    };
};

}  // namespace tq3::test
