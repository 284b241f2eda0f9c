// Shared pieces of the registry tests: a fixture that points both roots at files
// in a fresh temporary folder, and short helpers for typed values.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/system/registry.h"

namespace tq3::test {

inline std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tq3reg-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    return made != nullptr ? std::string(made) : std::string();
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

inline LSTATUS SetString(HKEY key, const char16_t* name, const std::u16string& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
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

}  // namespace tq3::test
