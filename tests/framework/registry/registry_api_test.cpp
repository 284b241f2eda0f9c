// The registry functions' results: sizes, names, paths, rights, handles,
// enumeration, deletion and transactions, against stores in a temporary folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/framework/registry/registry_test_support.h"

namespace {

using tq3::test::AsDword;
using tq3::test::CreateKey;
using tq3::test::Query;
using tq3::test::SetDword;
using tq3::test::SetString;
using tq3::test::Utf16z;

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

// Every value reads back with its type and exact bytes, whether asked for its
// size, with a buffer one byte short, with a larger one, or by enumeration.
TEST_F(RegistryApi, ValuesKeepTypeAndBytes) {
    struct Case {
        const char16_t* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {u"dword", REG_DWORD, {0x2A, 0, 0, 0}},
        {u"text", REG_SZ, Utf16z(u"abc")},     // (3 + 1) * 2 bytes
        {u"empty text", REG_SZ, Utf16z(u"")},  // the terminating zero alone
        {u"no bytes", REG_BINARY, {}},
        {u"", REG_SZ, Utf16z(u"default")},
    };
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Sizes");
    for (const Case& c : cases)
        ASSERT_EQ(RegSetValueExW(key, c.name, 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS);
    for (DWORD i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        const DWORD size = static_cast<DWORD>(c.data.size());
        DWORD type = 99, asked = 12345;
        EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, nullptr, &asked), ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(asked, size);
        std::vector<BYTE> big(size + 8, 0xCC);
        DWORD given = size - 1;
        if (size > 0) {
            EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, big.data(), &given), ERROR_MORE_DATA);
            EXPECT_EQ(given, size);
        }
        given = static_cast<DWORD>(big.size());
        EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, nullptr, big.data(), &given), ERROR_SUCCESS);
        EXPECT_EQ(std::vector<BYTE>(big.begin(), big.begin() + size), c.data);
        EXPECT_EQ(big[size], 0xCC);  // nothing written past the value
        // Enumeration gives the values in the order they were set, sizes alone
        // without a buffer, and ERROR_MORE_DATA with a short one.
        WCHAR name[32];
        DWORD length = 32;
        type = 99, asked = 12345;
        EXPECT_EQ(RegEnumValueW(key, i, name, &length, nullptr, &type, nullptr, &asked), ERROR_SUCCESS);
        EXPECT_EQ(std::u16string(name, length), c.name);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(asked, size);
        length = 32, given = size - 1;
        if (size > 0) {
            EXPECT_EQ(RegEnumValueW(key, i, name, &length, nullptr, nullptr, big.data(), &given), ERROR_MORE_DATA);
        }
    }
    EXPECT_EQ(Query(key, nullptr).data, Utf16z(u"default"));  // a null name is the default value
    EXPECT_EQ(Query(key, u"missing").result, ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(RegistryApi, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
    struct Case {
        const char16_t* created;
        const char16_t* opened;
        bool same;
    };
    const Case cases[] = {
        {u"Software", u"SOFTWARE", true},
        {u"\u00C4rger", u"\u00E4RGER", true},                                                      // Ä / ä
        {u"\u039A\u03CC\u03C3\u03BC\u03BF\u03C2", u"\u039A\u038C\u03A3\u039C\u039F\u03A3", true},  // final sigma
        {u"stra\u00DFe", u"STRASSE", false},  // one code unit never becomes two
        {u"i", u"\u0130", false},              // dotted capital I is its own letter
        {u"Abc", u"Abd", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        HKEY parent = CreateKey(HKEY_CURRENT_USER, u"Software\\Names");
        HKEY made = CreateKey(parent, c.created);
        ASSERT_EQ(SetDword(made, c.created, 7), ERROR_SUCCESS);
        ASSERT_EQ(SetDword(made, c.opened, 8), ERROR_SUCCESS);  // overwrites when the names fold alike
        RegCloseKey(made);
        DWORD disposition = 0;
        HKEY again = nullptr;
        ASSERT_EQ(RegCreateKeyExW(parent, c.opened, 0, nullptr, 0, KEY_READ, nullptr, &again, &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(disposition, c.same ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY);
        RegCloseKey(again);
        // Enumeration shows the first spelling of the key and of the value.
        if (c.same) { EXPECT_EQ(SubkeyAt(parent, 0), c.created); }
        HKEY key = CreateKey(parent, c.created);
        WCHAR name[32];
        DWORD length = 32;
        ASSERT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(std::u16string(name, length), c.created);
        EXPECT_EQ(AsDword(Query(key, c.created).data), c.same ? 8u : 7u);
        RegCloseKey(key);
        RegCloseKey(parent);
        ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Names"), ERROR_SUCCESS);
    }
}

TEST_F(RegistryApi, PathsCountRunsOfBackslashesAsOne) {
    RegCloseKey(CreateKey(HKEY_CURRENT_USER, u"Software\\Vendor\\App\\\\Section"));
    const std::pair<const char16_t*, LSTATUS> cases[] = {
        {u"Software\\\\Vendor\\App", ERROR_SUCCESS},
        {u"software\\VENDOR\\app\\\\Section\\\\", ERROR_SUCCESS},
        {u"", ERROR_SUCCESS},
        {nullptr, ERROR_SUCCESS},
        {u"\\Software\\Vendor", ERROR_BAD_PATHNAME},
        {u"Software\\Vendor\\Ap", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto& [path, expected] = c;
        HKEY key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(1));
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key), expected);
        // An empty path gives the root itself back; a failure no handle at all.
        if (path == nullptr || path[0] == 0) { EXPECT_EQ(key, HKEY_CURRENT_USER); }
        if (expected != ERROR_SUCCESS) { EXPECT_EQ(key, nullptr); }
        RegCloseKey(key);
    }
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"\\X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
}

TEST_F(RegistryApi, HandleRightsGateEachOperation) {
    RegCloseKey(CreateKey(HKEY_CURRENT_USER, u"Software\\Rights\\Child"));
    // Allowed: query, set, enumerate subkeys, key information, delete a value.
    const std::pair<REGSAM, std::vector<bool>> cases[] = {
        {KEY_READ, {true, false, true, true, false}},
        {KEY_WRITE, {false, true, false, false, true}},
        {KEY_QUERY_VALUE, {true, false, false, true, false}},
        {KEY_ENUMERATE_SUB_KEYS, {false, false, true, false, false}},
        {MAXIMUM_ALLOWED, {true, true, true, true, true}},
    };
    for (const auto& [rights, allowed] : cases) {
        SCOPED_TRACE(::testing::Message() << "rights 0x" << std::hex << rights);
        HKEY key = nullptr, sub = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Rights", 0, rights, &key), ERROR_SUCCESS);
        WCHAR name[64];
        DWORD length = 64, count = 0;
        const LSTATUS results[] = {
            RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            SetDword(key, u"x", 9),
            RegEnumKeyExW(key, 0, name, &(length = 64), nullptr, nullptr, nullptr, nullptr),
            RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr),
            RegDeleteValueW(key, u"x"),
        };
        for (std::size_t i = 0; i < allowed.size(); ++i)
            EXPECT_EQ(results[i] == ERROR_ACCESS_DENIED, !allowed[i]) << "operation " << i << ": " << results[i];
        EXPECT_EQ(Query(key, u"x").result == ERROR_ACCESS_DENIED, !allowed[0]);
        // Creating a subkey is checked against the key's owner, not the handle.
        EXPECT_EQ(RegCreateKeyExW(key, u"Made", 0, nullptr, 0, KEY_READ, nullptr, &sub, nullptr), ERROR_SUCCESS);
        RegCloseKey(sub);
        RegCloseKey(key);
    }
}

// Refused calls answer their error and change nothing; handles to deleted keys
// say so even once a key of the same name exists again.
TEST_F(RegistryApi, RefusedCallsAndDeletedKeys) {
    HKEY parent = CreateKey(HKEY_CURRENT_USER, u"Software\\Gone");
    HKEY child = CreateKey(parent, u"Child");
    HKEY grandchild = CreateKey(child, u"Grandchild");
    ASSERT_EQ(SetDword(parent, u"v", 1), ERROR_SUCCESS);
    BYTE buffer[8];
    DWORD size = 8, reserved = 0, length = 4;
    WCHAR name[4];
    HKEY out = nullptr;
    const std::u16string longName(256, u'n');
    const char16_t loneSurrogate[] = {u'a', 0xD800, u'b', 0};
    auto create = [&](HKEY key, const char16_t* path) {
        return RegCreateKeyExW(key, path, 0, nullptr, 0, 0, nullptr, &out, nullptr);
    };
    const std::tuple<const char*, std::function<LSTATUS()>, LSTATUS> cases[] = {
        {"key with a subkey", [&] { return RegDeleteKeyW(parent, u"Child"); }, ERROR_ACCESS_DENIED},
        {"missing key", [&] { return RegDeleteKeyW(parent, u"Nothing"); }, ERROR_FILE_NOT_FOUND},
        {"null subkey", [&] { return RegDeleteKeyW(parent, nullptr); }, ERROR_INVALID_PARAMETER},
        {"a root", [&] { return RegDeleteKeyW(HKEY_CURRENT_USER, u""); }, ERROR_ACCESS_DENIED},
        {"data without size", [&] { return RegQueryValueExW(parent, u"v", nullptr, nullptr, buffer, nullptr); },
         ERROR_INVALID_PARAMETER},
        {"reserved", [&] { return RegQueryValueExW(parent, u"v", &reserved, nullptr, buffer, &size); },
         ERROR_INVALID_PARAMETER},
        {"size without data", [&] { return RegSetValueExW(parent, u"v", 0, REG_BINARY, nullptr, 4); }, 998},
        {"no result", [&] { return RegOpenKeyExW(parent, u"x", 0, KEY_READ, nullptr); }, ERROR_INVALID_PARAMETER},
        {"null path", [&] { return create(parent, nullptr); }, ERROR_INVALID_PARAMETER},
        {"256 characters", [&] { return create(parent, longName.c_str()); }, ERROR_INVALID_PARAMETER},
        {"255 characters", [&] { return RegCloseKey(CreateKey(parent, longName.substr(1).c_str())); }, ERROR_SUCCESS},
        {"lone surrogate", [&] { return create(parent, loneSurrogate); }, ERROR_INVALID_PARAMETER},
        {"value name too long",
         [&] { return RegSetValueExW(parent, std::u16string(16384, u'v').c_str(), 0, REG_BINARY, buffer, 1); },
         ERROR_INVALID_PARAMETER},
        {"no name buffer",
         [&] { return RegEnumKeyExW(parent, 0, nullptr, &length, nullptr, nullptr, nullptr, nullptr); },
         ERROR_INVALID_PARAMETER},
        {"another root", [&] { return RegOpenKeyExW(HKEY_CLASSES_ROOT, u"x", 0, KEY_READ, &out); },
         ERROR_INVALID_HANDLE},
        {"never given", [&] { return SetDword(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7777)), u"v", 1); },
         ERROR_INVALID_HANDLE},
        // Now the child goes; every use of its handles says so.
        {"delete grandchild", [&] { return RegDeleteKeyW(child, u"GRANDCHILD"); }, ERROR_SUCCESS},
        {"delete child", [&] { return RegDeleteKeyW(parent, u"child"); }, ERROR_SUCCESS},
        {"made again", [&] { return RegCloseKey(CreateKey(parent, u"Child")); }, ERROR_SUCCESS},
        {"query deleted", [&] { return RegQueryValueExW(child, u"v", nullptr, nullptr, buffer, &size); },
         ERROR_KEY_DELETED},
        {"set deleted", [&] { return SetDword(child, u"v", 3); }, ERROR_KEY_DELETED},
        {"enumerate deleted",
         [&] { return RegEnumKeyExW(child, 0, name, &length, nullptr, nullptr, nullptr, nullptr); },
         ERROR_KEY_DELETED},
        {"create below deleted", [&] { return create(child, u"X"); }, ERROR_KEY_DELETED},
        {"open deleted", [&] { return RegOpenKeyExW(grandchild, nullptr, 0, KEY_READ, &out); }, ERROR_KEY_DELETED},
        {"close deleted", [&] { return RegCloseKey(child); }, ERROR_SUCCESS},
        {"close again", [&] { return RegCloseKey(child); }, ERROR_INVALID_HANDLE},
    };
    for (const auto& [what, call, expected] : cases) EXPECT_EQ(call(), expected) << what;
    EXPECT_EQ(AsDword(Query(parent, u"v").data), 1u);
    RegCloseKey(grandchild);
    RegCloseKey(parent);
}

// A held key is closed when its holder goes or takes another key.
TEST_F(RegistryApi, HeldKeysCloseOnEveryWayOut) {
    HKEY first = nullptr;
    {
        tq3::fw::UniqueRegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"A", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
                  ERROR_SUCCESS);
        first = key.Get();
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"A", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
        EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);  // Put closed it
        first = key.Get();
        tq3::fw::UniqueRegKey root(HKEY_CURRENT_USER);  // a root is never closed
    }
    EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
    tq3::fw::UniqueRegKey kept(CreateKey(HKEY_CURRENT_USER, u"B"));
    HKEY released = kept.Release();
    EXPECT_FALSE(kept);
    EXPECT_EQ(RegCloseKey(released), ERROR_SUCCESS);
}

TEST_F(RegistryApi, SubkeysEnumerateByFoldedNameAndInfoCountsCharacters) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Order");
    for (const char16_t* name : {u"b", u"\u00E4pfel", u"C", u"a", u"Zebra", u"\u00C4\u00D6\u00DC\u00C4\u00D6\u00DC"})
        RegCloseKey(CreateKey(key, name));
    std::vector<std::u16string> names;
    for (DWORD i = 0; i < 7; ++i) names.push_back(SubkeyAt(key, i));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"a", u"b", u"C", u"Zebra", u"\u00E4pfel",
                                                   u"\u00C4\u00D6\u00DC\u00C4\u00D6\u00DC", u"<9>"}));  // 259: no more
    WCHAR name[8];
    DWORD length = 5;  // room for "Zebra" but not for its terminating zero
    EXPECT_EQ(RegEnumKeyExW(key, 3, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    ASSERT_EQ(SetDword(key, u"zeta", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, u"alpha", u"\u00C4\u00D6"), ERROR_SUCCESS);
    DWORD info[5] = {};  // subkeys, longest subkey, values, longest value name, largest value
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &info[0], &info[1], nullptr, &info[2], &info[3],
                               &info[4], nullptr, nullptr),
              ERROR_SUCCESS);
    // Lengths in characters, not the 12 bytes of the longest name's UTF-8 form.
    EXPECT_EQ(std::vector<DWORD>(info, info + 5), (std::vector<DWORD>{6, 6, 2, 5, 6}));
    RegCloseKey(key);
}

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
    ASSERT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    RegCloseKey(CreateKey(key, u"e"));  // not yet committed, already visible here
    EXPECT_EQ(SubkeyAt(key, 3), u"e");
    ASSERT_EQ(tq3::fw::RollbackRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
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

TEST_F(RegistryApi, DeleteTreeEmptiesOrRemovesAKeyInItsRootOnly) {
    HKEY deep = CreateKey(HKEY_CURRENT_USER, u"Software\\Tree\\A\\B");
    ASSERT_EQ(SetDword(deep, u"v", 1), ERROR_SUCCESS);
    RegCloseKey(deep);
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Tree"));
    HKEY tree = CreateKey(HKEY_CURRENT_USER, u"Software\\Tree");
    ASSERT_EQ(SetDword(tree, u"top", 1), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(tree, nullptr), ERROR_SUCCESS);  // the contents go, the key stays
    DWORD subKeys = 9, values = 9;
    ASSERT_EQ(RegQueryInfoKeyW(tree, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys + values, 0u);
    RegCloseKey(tree);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Tree"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Tree"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"Software\\Tree"), ERROR_SUCCESS);  // the other root's own
}

TEST_F(RegistryApi, TransactionsApplyAllOrNothing) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Tx");
    ASSERT_EQ(SetDword(key, u"before", 1), ERROR_SUCCESS);
    ASSERT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(SetDword(key, u"a", 1), ERROR_SUCCESS);
    HKEY child = CreateKey(key, u"Child");
    EXPECT_EQ(RegDeleteKeyW(key, u"Missing"), ERROR_FILE_NOT_FOUND);  // a failed call inside changes nothing
    EXPECT_EQ(AsDword(Query(key, u"a").data), 1u);                    // visible inside the transaction
    ASSERT_EQ(tq3::fw::RollbackRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"a").result, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SetDword(child, u"x", 1), ERROR_KEY_DELETED);  // its creation was undone
    RegCloseKey(child);
    ASSERT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"a", 10), ERROR_SUCCESS);
    ASSERT_EQ(tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_USERS), ERROR_INVALID_HANDLE);
    // Pointing the root at its file again reopens it, as a new process would: the
    // values stay, the handles do not.
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"x", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(tq3::test::ReadDword(HKEY_CURRENT_USER, u"SOFTWARE\\TX", u"A"), 10u);
    EXPECT_EQ(tq3::test::ReadDword(HKEY_CURRENT_USER, u"SOFTWARE\\TX", u"before"), 1u);
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER), userPath_);
}

}  // namespace
