// Enumeration by index while the store changes. (Values' exact types and bytes
// show in the settings tests, which read back what the view stored; transactions
// in the killed-writer tests and the settings tool's all-or-nothing import.)
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/framework/registry/registry_test_support.h"

namespace {

using tq3::test::CreateKey;

class RegistryApi : public tq3::test::RegistryFixture {
protected:
    // The name of subkey `index` of `key`, or "<n>" with the last digit of the failure.
    static std::u16string SubkeyAt(HKEY key, DWORD index) {
        WCHAR name[32];
        DWORD length = 32;
        LSTATUS rc = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        const char16_t failed[] = {u'<', static_cast<char16_t>(u'0' + rc % 10), u'>', 0};
        return rc == ERROR_SUCCESS ? std::u16string(name, length) : std::u16string(failed);
    }
};

// An enumeration by index goes on from the last name answered, and reflects
// every change made between two calls, by this process or by another one.
TEST_F(RegistryApi, EnumerationSeesChangesBetweenCalls) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Walk");
    for (const char16_t* name : {u"b", u"d", u"f"}) RegCloseKey(CreateKey(key, name));
    // Another process waits to add a key until the walk below is under way (it
    // is started first: a fork closes this process's connection).
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(go[1]);
        char byte;
        if (read(go[0], &byte, 1) != 0) _exit(2);
        HKEY other = nullptr;
        _exit(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Walk\\a", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &other,
                              nullptr) == ERROR_SUCCESS
                  ? 0
                  : 1);
    }
    close(go[0]);
    EXPECT_EQ(SubkeyAt(key, 0), u"b");
    RegCloseKey(CreateKey(key, u"c"));  // lands between the answered name and the next
    EXPECT_EQ(SubkeyAt(key, 1), u"c");
    EXPECT_EQ(SubkeyAt(key, 2), u"d");
    EXPECT_EQ(SubkeyAt(key, 4), u"<9>");  // ERROR_NO_MORE_ITEMS (259): b c d f only
    EXPECT_EQ(SubkeyAt(key, 3), u"f");
    close(go[1]);  // the other process adds "a" now
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(SubkeyAt(key, 4), u"f");  // everything moved one place on
    EXPECT_EQ(SubkeyAt(key, 0), u"a");
    RegCloseKey(key);
}

}  // namespace
