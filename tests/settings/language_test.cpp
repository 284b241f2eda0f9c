// Language selection: the registry language and the installed-language list in
// the machine-wide product key, the resource switch between language libraries,
// and the strings of every language.
#include <gtest/gtest.h>

#include <string>

#include "framework/system/module.h"
#include "framework/system/resources.h"
#include "settings/language.h"
#include "settings/registry_location.h"
#include "tests/framework/registry/registry_test_support.h"
#include "tq3view/testing.h"

namespace {

using tq3::test::CreateKey;
using tq3::test::SetString;

class LanguageRegistry : public tq3::test::RegistryFixture {
protected:
    HKEY Product() { return CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3"); }
    std::u16string StoredLanguage() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\almadon control\\orvin qt5\\tq3", 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return u"<no key>";
        }
        WCHAR text[64] = {};
        DWORD size = sizeof(text);
        DWORD type = 0;
        LSTATUS rc = RegQueryValueExW(key, u"Language", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        return rc != ERROR_SUCCESS ? u"<no value>" : type != REG_SZ ? u"<not text>" : text;
    }
};

TEST_F(LanguageRegistry, RegistryNamesMatchWithoutRegardToCase) {
    EXPECT_EQ(GetLanguageRegistry(), -1) << "no product key";
    HKEY key = Product();
    EXPECT_EQ(GetLanguageRegistry(), -1) << "no value";
    struct Case {
        const char16_t* stored;
        int expected;
    } cases[] = {
        {u"japanese", 1}, {u"Chinese_T", 3}, {u"ENGLISH", 0}, {u"korean", 4}, {u"chinese_s", 2},
        {u"German", -1},  {u"", -1},
        // 64 characters: longer than the 128-byte buffer, so it counts as missing.
        {u"Japanese________________________________________________________", -1},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SetString(key, u"Language", c.stored), ERROR_SUCCESS);
        EXPECT_EQ(GetLanguageRegistry(), c.expected) << std::string(c.stored, c.stored + std::u16string(c.stored).size());
    }
    RegCloseKey(key);
}

TEST_F(LanguageRegistry, SetStoresTheNameOrEnglish) {
    SetLanguageRegistry(2);
    EXPECT_EQ(StoredLanguage(), u"<no key>") << "the key is never created";
    RegCloseKey(Product());
    struct Case {
        int language;
        const char16_t* stored;
    } cases[] = {{1, u"Japanese"}, {7, u"English"}, {2, u"Chinese_s"}, {0, u"English"},
                 {3, u"Chinese_t"}, {-1, u"English"}, {4, u"Korean"}};
    for (const Case& c : cases) {
        SetLanguageRegistry(c.language);
        EXPECT_EQ(StoredLanguage(), c.stored) << c.language;
    }
    EXPECT_EQ(GetLanguageRegistry(), 4);
}

TEST_F(LanguageRegistry, ListWalkAndCount) {
    DWORD cookie = 0xFFFFFFFF;
    // One call's answer and the cookie it leaves.
    using Step = std::pair<int, DWORD>;
    auto call = [&cookie](BOOL count) {
        const int answer = GetLanguageListRegistry(&cookie, count);
        return Step(answer, cookie);
    };
    EXPECT_EQ(call(FALSE), Step(-1, 0xFFFFFFFF)) << "no product key";
    HKEY key = Product();
    EXPECT_EQ(call(TRUE).first, 0) << "no LangMax: a count of 0";
    EXPECT_EQ(call(FALSE).first, -1) << "no LangMax: nothing to walk";

    SetString(key, u"LangMax", u"3");
    SetString(key, u"Lang1", u"English");
    SetString(key, u"Lang2", u"Korean");
    SetString(key, u"Lang3", u"Latin");
    EXPECT_EQ(call(FALSE), Step(0, 0x00030001));
    EXPECT_EQ(call(FALSE), Step(4, 0x00030002));
    EXPECT_EQ(call(FALSE), Step(-1, 0xFFFFFFFF));
    // A missing entry gives -1 and the walk goes on.
    SetString(key, u"LangMax", u"2");
    RegDeleteValueW(key, u"Lang1");
    cookie = 0xFFFFFFFF;
    EXPECT_EQ(call(FALSE), Step(-1, 0x00020001));
    EXPECT_EQ(call(FALSE), Step(4, 0xFFFFFFFF));

    SetString(key, u"LangMax", u"many");
    EXPECT_EQ(call(TRUE).first, 0) << "not a number";
    RegCloseKey(key);
}

// Whether a resource library of `language` can be loaded from the library's folder.
std::u16string LanguageString(int language, UINT id) {
    VALMExSetLanguage(language);
    CString text(u"stale");
    GetVALMExDLLString(id, text);
    return std::u16string(text.GetString(), static_cast<size_t>(text.GetLength()));
}

TEST(LanguageResources, EveryLanguageHasItsOwnTexts) {
    const std::pair<int, const char16_t*> cases[] = {
        {0, u"Find"}, {1, u"検索"}, {2, u"查找"}, {3, u"尋找"}, {4, u"찾기"},
        {9, u"Find"},  // no language library: the built-in texts
    };
    HINSTANCE before = AfxGetResourceHandle();
    int loadedBefore = tq3::fw::LoadedLibraryCount();
    ::testing::internal::CaptureStderr();
    for (const auto& [language, find] : cases) {
        EXPECT_EQ(LanguageString(language, 30004), find) << language;
        EXPECT_EQ(LanguageString(language, 29999), u"") << "no such string";
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "libraries that load are not reported missing";
    EXPECT_EQ(AfxGetResourceHandle(), before) << "every switch was undone";
    EXPECT_EQ(tq3::fw::LoadedLibraryCount(), loadedBefore) << "every library was given back";
    VALMExSetLanguage(1);
}

TEST(LanguageResources, SwitchAndRestore) {
    HINSTANCE start = AfxGetResourceHandle();
    {
        CSwitchResource scope;
        ASSERT_TRUE(scope.Switch(1));
        EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleW(u"TQ3VwJpn.dll"));
        ASSERT_TRUE(scope.Switch(4)) << "a second switch gives the first library back";
        EXPECT_EQ(GetModuleHandleW(u"TQ3VwJpn.dll"), nullptr);
        ASSERT_TRUE(scope.Switch(7));
        EXPECT_EQ(AfxGetResourceHandle(), tq3::OwnModule());
        EXPECT_EQ(GetModuleHandleW(u"TQ3VwKor.dll"), nullptr);
    }
    EXPECT_EQ(AfxGetResourceHandle(), start) << "the destructor restores";

    // A library the caller holds is lent, not loaded again or given back.
    CSwitchResource holder;
    ASSERT_TRUE(holder.Switch(3));
    const int loaded = tq3::fw::LoadedLibraryCount();
    {
        CSwitchResource lent;
        ASSERT_TRUE(lent.SwitchHeld(3, holder.library));
        EXPECT_FALSE(lent.switched) << "already current: nothing to do";
        AfxSetResourceHandle(start);
        CSwitchResource again;
        ASSERT_TRUE(again.SwitchHeld(3, holder.library));
        EXPECT_TRUE(again.switched);
        EXPECT_EQ(AfxGetResourceHandle(), holder.library);
    }
    EXPECT_EQ(AfxGetResourceHandle(), start);
    EXPECT_EQ(tq3::fw::LoadedLibraryCount(), loaded);
    EXPECT_NE(GetModuleHandleW(u"TQ3VwCht.dll"), nullptr) << "still the holder's";
}

}  // namespace
