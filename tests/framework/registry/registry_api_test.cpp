// The registry functions' results: sizes, names, paths, rights, deleted keys,
// enumeration and transactions, against stores in a temporary folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/framework/registry/registry_test_support.h"

namespace {

using tq3::test::AsDword;
using tq3::test::CreateKey;
using tq3::test::Query;
using tq3::test::SetDword;
using tq3::test::SetString;

class RegistryApi : public tq3::test::RegistryFixture {};

std::vector<BYTE> Bytes(std::initializer_list<int> list) {
    std::vector<BYTE> out;
    for (int b : list) out.push_back(static_cast<BYTE>(b));
    return out;
}

std::vector<BYTE> Utf16z(const std::u16string& text) {
    std::vector<BYTE> out;
    for (char16_t c : text) {
        out.push_back(static_cast<BYTE>(c & 0xFF));
        out.push_back(static_cast<BYTE>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

TEST_F(RegistryApi, QueryReportsTypeAndSizeAndMoreData) {
    struct Case {
        const char16_t* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Case cases[] = {
        {u"dword", REG_DWORD, Bytes({0x2A, 0, 0, 0})},
        {u"minus one", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {u"text", REG_SZ, Utf16z(u"abc")},            // (3 + 1) * 2 bytes
        {u"empty text", REG_SZ, Utf16z(u"")},         // the terminating zero alone
        {u"japanese", REG_SZ, Utf16z(u"\u65E5\u672C")},
        {u"binary", REG_BINARY, Bytes({1, 0, 2, 0, 3})},
        {u"no bytes", REG_BINARY, {}},
        {u"multi", REG_MULTI_SZ, Utf16z(std::u16string(u"a\0b\0", 4))},
        {u"qword", REG_QWORD, Bytes({1, 2, 3, 4, 5, 6, 7, 8})},
        {u"", REG_SZ, Utf16z(u"default")},
    };
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Sizes");
    for (const Case& c : cases)
        ASSERT_EQ(RegSetValueExW(key, c.name, 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
        const DWORD size = static_cast<DWORD>(c.data.size());
        // A null data pointer asks for the size.
        DWORD type = 99, asked = 12345;
        EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, nullptr, &asked), ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(asked, size);
        // One byte short: ERROR_MORE_DATA with the size needed, type still given.
        if (size > 0) {
            std::vector<BYTE> small(size - 1, 0xCC);
            DWORD given = size - 1;
            type = 99;
            EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, small.data(), &given), ERROR_MORE_DATA);
            EXPECT_EQ(given, size);
            EXPECT_EQ(type, c.type);
        }
        // A larger buffer: the exact bytes and their count.
        std::vector<BYTE> big(size + 8, 0xCC);
        DWORD given = static_cast<DWORD>(big.size());
        EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, nullptr, big.data(), &given), ERROR_SUCCESS);
        EXPECT_EQ(given, size);
        EXPECT_EQ(std::vector<BYTE>(big.begin(), big.begin() + size), c.data);
        EXPECT_EQ(big[size], 0xCC);  // nothing written past the value
    }
    // A null name is the default value, like the empty one.
    EXPECT_EQ(Query(key, nullptr).data, Utf16z(u"default"));
    EXPECT_EQ(Query(key, u"missing").result, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryApi, NamesCompareWithoutCaseAcrossScripts) {
    struct Case {
        const char16_t* created;
        const char16_t* opened;
        bool same;
    };
    const Case cases[] = {
        {u"Software", u"SOFTWARE", true},
        {u"Software", u"software", true},
        {u"\u00C4rger", u"\u00E4RGER", true},                                   // Ä / ä
        {u"\u039A\u03CC\u03C3\u03BC\u03BF\u03C2", u"\u039A\u038C\u03A3\u039C\u039F\u03A3", true},  // Greek, final sigma
        {u"\u0436\u0443\u043A", u"\u0416\u0423\u041A", true},                   // Cyrillic
        {u"stra\u00DFe", u"STRASSE", false},  // one code unit never becomes two
        {u"i", u"\u0130", false},              // dotted capital I is its own letter
        {u"Abc", u"Abd", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
        HKEY parent = CreateKey(HKEY_CURRENT_USER, u"Software\\Names");
        HKEY made = CreateKey(parent, c.created);
        ASSERT_EQ(SetDword(made, c.created, 7), ERROR_SUCCESS);
        RegCloseKey(made);
        HKEY opened = nullptr;
        LSTATUS rc = RegOpenKeyExW(parent, c.opened, 0, KEY_READ, &opened);
        EXPECT_EQ(rc, c.same ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
        if (rc == ERROR_SUCCESS) {
            // The value name folds the same way.
            EXPECT_EQ(AsDword(Query(opened, c.opened).data), 7u);
            RegCloseKey(opened);
        }
        // Creating with the other spelling opens or creates accordingly.
        DWORD disposition = 0;
        HKEY again = nullptr;
        ASSERT_EQ(RegCreateKeyExW(parent, c.opened, 0, nullptr, 0, KEY_READ, nullptr, &again, &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(disposition, c.same ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY);
        RegCloseKey(again);
        RegCloseKey(parent);
        ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Names"), ERROR_SUCCESS);
    }
}

TEST_F(RegistryApi, NamesKeepTheirFirstSpelling) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Spelling");
    HKEY child = CreateKey(key, u"MixedCase");
    RegCloseKey(child);
    child = CreateKey(key, u"MIXEDCASE");  // opens the existing key
    RegCloseKey(child);
    ASSERT_EQ(SetDword(key, u"Width", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"WIDTH", 2), ERROR_SUCCESS);  // overwrites, keeps the name

    WCHAR name[64];
    DWORD length = 64;
    ASSERT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, length), u"MixedCase");
    length = 64;
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, length), u"Width");
    EXPECT_EQ(AsDword(Query(key, u"width").data), 2u);
    length = 64;
    EXPECT_EQ(RegEnumValueW(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryApi, PathsCountEmptyComponentsAsOneSeparator) {
    HKEY made = CreateKey(HKEY_CURRENT_USER, u"Software\\Vendor\\App");
    ASSERT_EQ(SetDword(made, u"v", 5), ERROR_SUCCESS);
    RegCloseKey(made);
    struct Case {
        const char16_t* path;
        LSTATUS expected;
    };
    const Case cases[] = {
        {u"Software\\Vendor\\App", ERROR_SUCCESS},
        {u"Software\\\\Vendor\\App", ERROR_SUCCESS},
        {u"Software\\Vendor\\\\\\App", ERROR_SUCCESS},
        {u"Software\\Vendor\\App\\", ERROR_SUCCESS},
        {u"software\\VENDOR\\app\\\\", ERROR_SUCCESS},
        {u"\\Software\\Vendor\\App", ERROR_BAD_PATHNAME},
        {u"Software\\Vendor\\Ap", ERROR_FILE_NOT_FOUND},
        {u"Software\\Vendor\\App\\Deeper", ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, c.path, 0, KEY_READ, &key), c.expected);
        if (c.expected == ERROR_SUCCESS) {
            EXPECT_EQ(AsDword(Query(key, u"v").data), 5u);
            RegCloseKey(key);
        } else {
            EXPECT_EQ(key, nullptr);
        }
    }
    // A base path ending in a backslash plus "\" plus a section reaches the section.
    HKEY section = CreateKey(HKEY_CURRENT_USER, u"Software\\Vendor\\App\\\\Section");
    RegCloseKey(section);
    HKEY direct = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Vendor\\App\\Section", 0, KEY_READ, &direct),
              ERROR_SUCCESS);
    RegCloseKey(direct);
    // Creation refuses a leading backslash too; an empty or null path names the key itself.
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"\\X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(key, HKEY_CURRENT_USER);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(key, HKEY_CURRENT_USER);
}

TEST_F(RegistryApi, HandleRightsGateEachOperation) {
    HKEY setup = CreateKey(HKEY_CURRENT_USER, u"Software\\Rights\\Child");
    ASSERT_EQ(SetDword(setup, u"v", 1), ERROR_SUCCESS);
    RegCloseKey(setup);
    struct Case {
        REGSAM rights;
        bool query, set, enumKeys, enumValues, info, deleteValue;
    };
    const Case cases[] = {
        {KEY_READ, true, false, true, true, true, false},
        {KEY_WRITE, false, true, false, false, false, true},
        {KEY_QUERY_VALUE, true, false, false, true, true, false},
        {KEY_SET_VALUE, false, true, false, false, false, true},
        {KEY_ENUMERATE_SUB_KEYS, false, false, true, false, false, false},
        {KEY_CREATE_SUB_KEY, false, false, false, false, false, false},
        {KEY_ALL_ACCESS, true, true, true, true, true, true},
        {MAXIMUM_ALLOWED, true, true, true, true, true, true},
    };
    auto expect = [](bool allowed, LSTATUS rc) {
        if (allowed)
            EXPECT_NE(rc, ERROR_ACCESS_DENIED);
        else
            EXPECT_EQ(rc, ERROR_ACCESS_DENIED);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "rights 0x" << std::hex << c.rights);
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Rights", 0, c.rights, &key), ERROR_SUCCESS);
        DWORD size = 4, value = 0;
        expect(c.query, RegQueryValueExW(key, u"x", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size));
        expect(c.set, SetDword(key, u"x", 9));
        WCHAR name[64];
        DWORD length = 64;
        expect(c.enumKeys, RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
        length = 64;
        expect(c.enumValues, RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
        DWORD count = 0;
        expect(c.info, RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr));
        expect(c.deleteValue, RegDeleteValueW(key, u"x"));
        // Creating a subkey is checked against the key's owner, not the handle.
        HKEY sub = nullptr;
        EXPECT_EQ(RegCreateKeyExW(key, u"Made", 0, nullptr, 0, KEY_READ, nullptr, &sub, nullptr), ERROR_SUCCESS);
        RegCloseKey(sub);
        RegCloseKey(key);
    }
}

TEST_F(RegistryApi, DeletedKeysAndBadHandles) {
    HKEY parent = CreateKey(HKEY_CURRENT_USER, u"Software\\Gone");
    HKEY child = CreateKey(parent, u"Child");
    HKEY grandchild = CreateKey(child, u"Grandchild");
    ASSERT_EQ(SetDword(child, u"v", 1), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteKeyW(parent, u"Child"), ERROR_ACCESS_DENIED);  // it has a subkey
    EXPECT_EQ(RegDeleteKeyW(parent, u"Nothing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(parent, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteKeyW(child, u"GRANDCHILD"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(parent, u"child"), ERROR_SUCCESS);

    // Every use of a handle to a deleted key says so, also once a key of the same
    // name exists again.
    HKEY reborn = CreateKey(parent, u"Child");
    ASSERT_EQ(SetDword(reborn, u"v", 2), ERROR_SUCCESS);
    WCHAR name[16];
    DWORD length = 16, size = 4, value = 0;
    HKEY sub = nullptr;
    EXPECT_EQ(RegQueryValueExW(child, u"v", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_KEY_DELETED);
    EXPECT_EQ(SetDword(child, u"v", 3), ERROR_KEY_DELETED);
    EXPECT_EQ(RegEnumKeyExW(child, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCreateKeyExW(child, u"X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(RegOpenKeyExW(grandchild, nullptr, 0, KEY_READ, &sub), ERROR_KEY_DELETED);
    EXPECT_EQ(AsDword(Query(reborn, u"v").data), 2u);  // the old handle reached nothing
    EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);       // a deleted key's handle still closes
    EXPECT_EQ(RegCloseKey(grandchild), ERROR_SUCCESS);

    // Handles that were never given, already closed, or of another root.
    EXPECT_EQ(RegCloseKey(child), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7777)), u"v", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"x", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    // A root cannot be deleted.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED);
    RegCloseKey(reborn);
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

TEST_F(RegistryApi, BadArgumentsAreRefused) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Args");
    ASSERT_EQ(SetDword(key, u"v", 1), ERROR_SUCCESS);
    BYTE buffer[8];
    DWORD size = 8, reserved = 0;
    HKEY out = nullptr;
    const std::u16string longName(256, u'n');
    const std::u16string longestName(255, u'n');
    const char16_t loneSurrogate[] = {u'a', 0xD800, u'b', 0};

    EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key, u"v", &reserved, nullptr, buffer, &size), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(key, u"v", 0, REG_BINARY, nullptr, 4), 998);  // no data behind a size
    EXPECT_EQ(RegOpenKeyExW(key, u"x", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(key, nullptr, 0, nullptr, 0, KEY_READ, nullptr, &out, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(key, longName.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &out, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(key, loneSurrogate, 0, nullptr, 0, KEY_READ, nullptr, &out, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(key, std::u16string(16384, u'v').c_str(), 0, REG_BINARY, buffer, 1),
              ERROR_INVALID_PARAMETER);
    WCHAR name[4];
    DWORD length = 4;
    EXPECT_EQ(RegEnumKeyExW(key, 0, nullptr, &length, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, nullptr, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);

    // The longest allowed name works, and a value with no bytes is kept as such.
    HKEY longest = CreateKey(key, longestName.c_str());
    EXPECT_NE(longest, nullptr);
    RegCloseKey(longest);
    EXPECT_EQ(RegSetValueExW(key, u"empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    auto empty = Query(key, u"empty");
    EXPECT_EQ(empty.result, ERROR_SUCCESS);
    EXPECT_EQ(empty.type, REG_BINARY);
    EXPECT_TRUE(empty.data.empty());
    // None of the refusals touched what was stored.
    EXPECT_EQ(AsDword(Query(key, u"v").data), 1u);
    RegCloseKey(key);
}

TEST_F(RegistryApi, EnumerationOrderAndInfo) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Order");
    // Subkeys come back by folded name; the capital and small letters interleave.
    for (const char16_t* name : {u"b", u"\u00E4pfel", u"C", u"a", u"Zebra", u"\u00C4\u00D6\u00DC\u00C4\u00D6\u00DC"}) {
        HKEY child = CreateKey(key, name);
        RegCloseKey(child);
    }
    const std::u16string expectedKeys[] = {u"a", u"b", u"C", u"Zebra", u"\u00E4pfel",
                                           u"\u00C4\u00D6\u00DC\u00C4\u00D6\u00DC"};
    for (DWORD i = 0; i < 6; ++i) {
        WCHAR name[32];
        DWORD length = 32;
        ASSERT_EQ(RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(std::u16string(name, length), expectedKeys[i]) << "index " << i;
    }
    WCHAR name[32];
    DWORD length = 32;
    EXPECT_EQ(RegEnumKeyExW(key, 6, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    // Room for the name but not for its terminating zero.
    length = 5;
    EXPECT_EQ(RegEnumKeyExW(key, 3, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    length = 6;
    EXPECT_EQ(RegEnumKeyExW(key, 3, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(length, 5u);

    // Values come back in the order they were first set.
    ASSERT_EQ(SetDword(key, u"zeta", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, u"alpha", u"\u00C4\u00D6"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"mu", 3), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"ZETA", 4), ERROR_SUCCESS);
    const std::u16string expectedValues[] = {u"zeta", u"alpha", u"mu"};
    for (DWORD i = 0; i < 3; ++i) {
        length = 32;
        BYTE data[2];
        DWORD size = sizeof data, type = 0;
        LSTATUS rc = RegEnumValueW(key, i, name, &length, nullptr, &type, data, &size);
        EXPECT_EQ(std::u16string(name, length), expectedValues[i]);
        // "alpha" holds 6 bytes: the two-byte buffer is too small and the size is given.
        EXPECT_EQ(rc, ERROR_MORE_DATA);
        EXPECT_EQ(size, i == 1 ? 6u : 4u);
        EXPECT_EQ(type, i == 1 ? REG_SZ : REG_DWORD);
    }

    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxValueName,
                               &maxValue, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 6u);
    EXPECT_EQ(maxSubKey, 6u);  // characters, not the 12 bytes of its UTF-8 form
    EXPECT_EQ(values, 3u);
    EXPECT_EQ(maxValueName, 5u);
    EXPECT_EQ(maxValue, 6u);
    RegCloseKey(key);
}

// An enumeration by index reflects every change made between two calls, by this
// process or by another one.
TEST_F(RegistryApi, EnumerationSeesChangesBetweenCalls) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Walk");
    for (const char16_t* name : {u"b", u"d", u"f"}) RegCloseKey(CreateKey(key, name));
    auto at = [key](DWORD index) {
        WCHAR name[16];
        DWORD length = 16;
        LSTATUS rc = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        return rc == ERROR_SUCCESS ? std::u16string(name, length) : u"<" + std::u16string(1, u'0' + rc % 10) + u">";
    };
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
        LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Walk\\a", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                     &other, nullptr);
        _exit(rc == ERROR_SUCCESS ? 0 : 1);
    }
    close(go[0]);

    EXPECT_EQ(at(0), u"b");
    RegCloseKey(CreateKey(key, u"c"));  // lands between the answered name and the next
    EXPECT_EQ(at(1), u"c");
    EXPECT_EQ(at(2), u"d");
    ASSERT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    RegCloseKey(CreateKey(key, u"e"));  // not yet committed, already visible here
    EXPECT_EQ(at(3), u"e");
    ASSERT_EQ(tq3::fw::RollbackRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(at(4), u"<9>");  // ERROR_NO_MORE_ITEMS (259): b c d f only
    EXPECT_EQ(at(3), u"f");

    close(go[1]);  // the other process adds "a" now
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(at(4), u"f");  // everything moved one place on
    EXPECT_EQ(at(0), u"a");
    RegCloseKey(key);
}

TEST_F(RegistryApi, DeleteTreeAndRootsAreSeparate) {
    HKEY deep = CreateKey(HKEY_CURRENT_USER, u"Software\\Tree\\A\\B\\C");
    ASSERT_EQ(SetDword(deep, u"v", 1), ERROR_SUCCESS);
    RegCloseKey(deep);
    HKEY keep = CreateKey(HKEY_CURRENT_USER, u"Software\\TreeSibling");
    RegCloseKey(keep);
    HKEY tree = CreateKey(HKEY_CURRENT_USER, u"Software\\Tree");
    ASSERT_EQ(SetDword(tree, u"top", 1), ERROR_SUCCESS);

    // With no subkey name only the contents go; the key stays.
    ASSERT_EQ(RegDeleteTreeW(tree, nullptr), ERROR_SUCCESS);
    DWORD subKeys = 9, values = 9;
    ASSERT_EQ(RegQueryInfoKeyW(tree, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 0u);
    RegCloseKey(tree);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Tree"), ERROR_SUCCESS);
    HKEY probe = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Tree", 0, KEY_READ, &probe), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\TreeSibling", 0, KEY_READ, &probe), ERROR_SUCCESS);
    RegCloseKey(probe);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\Tree"), ERROR_FILE_NOT_FOUND);

    // The two roots are two stores.
    HKEY machine = CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3");
    ASSERT_EQ(SetString(machine, u"Language", u"Japanese"), ERROR_SUCCESS);
    RegCloseKey(machine);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Almadon Control", 0, KEY_READ, &probe),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3\\", 0, KEY_QUERY_VALUE,
                            &probe),
              ERROR_SUCCESS);
    EXPECT_EQ(Query(probe, u"language").data, Utf16z(u"Japanese"));
    RegCloseKey(probe);
}

TEST_F(RegistryApi, TransactionsApplyAllOrNothing) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Tx");
    ASSERT_EQ(SetDword(key, u"before", 1), ERROR_SUCCESS);

    ASSERT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(SetDword(key, u"a", 1), ERROR_SUCCESS);
    HKEY child = CreateKey(key, u"Child");
    EXPECT_EQ(RegDeleteKeyW(key, u"Missing"), ERROR_FILE_NOT_FOUND);  // a failed call inside changes nothing
    ASSERT_EQ(SetDword(key, u"b", 2), ERROR_SUCCESS);
    EXPECT_EQ(AsDword(Query(key, u"a").data), 1u);  // visible inside the transaction
    ASSERT_EQ(tq3::fw::RollbackRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"a").result, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Query(key, u"b").result, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SetDword(child, u"x", 1), ERROR_KEY_DELETED);  // its creation was undone
    RegCloseKey(child);

    ASSERT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"a", 10), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"b", 20), ERROR_SUCCESS);
    ASSERT_EQ(tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(tq3::fw::CommitRegistryTransaction(HKEY_CURRENT_USER), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(AsDword(Query(key, u"a").data), 10u);
    EXPECT_EQ(AsDword(Query(key, u"b").data), 20u);
    EXPECT_EQ(AsDword(Query(key, u"before").data), 1u);
    EXPECT_EQ(tq3::fw::BeginRegistryTransaction(HKEY_USERS), ERROR_INVALID_HANDLE);
    RegCloseKey(key);
}

TEST_F(RegistryApi, ValuesOutliveTheConnectionButHandlesDoNot) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Kept");
    ASSERT_EQ(SetString(key, u"s", u"text"), ERROR_SUCCESS);
    // Pointing the root at its file again reopens it, as a new process would.
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_CURRENT_USER, userPath_), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"x", 1), ERROR_INVALID_HANDLE);
    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\KEPT", 0, KEY_READ, &again), ERROR_SUCCESS);
    EXPECT_EQ(Query(again, u"S").data, Utf16z(u"text"));
    EXPECT_EQ(tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER), userPath_);
    RegCloseKey(again);
}

}  // namespace
