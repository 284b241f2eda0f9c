// Several processes on one store: two writers at once lose nothing. A writer
// killed halfway through a transaction is tested where the view writes its
// column widths in one.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "tests/framework/registry/registry_test_support.h"

namespace {

using tq3::test::AsDword;
using tq3::test::IntegrityOf;
using tq3::test::Query;
using tq3::test::SetDword;

std::u16string Name(const char16_t* prefix, int number) {
    std::string digits = std::to_string(number);
    return prefix + std::u16string(digits.begin(), digits.end());
}

class RegistryProcesses : public tq3::test::RegistryFixture, public ::testing::WithParamInterface<bool> {
protected:
    HKEY Root() const { return GetParam() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
    const std::string& StorePath() const { return GetParam() ? machinePath_ : userPath_; }
};

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
            for (int i = 0; i < kWrites; ++i) {
                HKEY key = nullptr;
                failures += RegCreateKeyExW(Root(), u"Software\\Race\\Both", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                            &key, nullptr) != ERROR_SUCCESS;
                failures += SetDword(key, Name(w == 0 ? u"A_" : u"B_", i).c_str(), i) != ERROR_SUCCESS;
                failures += SetDword(key, u"Shared", w * kWrites + i) != ERROR_SUCCESS;
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
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed calls in a writer";
    }
    ASSERT_EQ(IntegrityOf(StorePath()), "ok");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(Root(), u"Software\\Race\\Both", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u * kWrites + 1);
    int missing = 0;
    for (int i = 0; i < kWrites; ++i)
        for (const char16_t* tag : {u"A_", u"B_"}) missing += AsDword(Query(key, Name(tag, i).c_str()).data) != DWORD(i);
    EXPECT_EQ(missing, 0);
    // The shared value holds the last write of one of the two writers.
    const DWORD shared = AsDword(Query(key, u"Shared").data);
    EXPECT_TRUE(shared == kWrites - 1 || shared == 2 * kWrites - 1) << shared;
    RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(Roots, RegistryProcesses, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Machine" : "User"; });

}  // namespace
