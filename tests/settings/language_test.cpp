// Language selection: the registry language and the installed-language list in
// the machine-wide product key, the resource switch between language libraries,
// the library's built-in resources, and the strings of every language.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/dialogs/dialog.h"
#include "framework/gdi/gdi_objects.h"
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
        if (rc != ERROR_SUCCESS) return u"<no value>";
        EXPECT_EQ(type, REG_SZ);
        EXPECT_EQ(size, (std::u16string(text).size() + 1) * 2);
        return text;
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
        {u"German", -1},  {u"", -1},         {u"Chinese s", -1}, {u"Japanese ", -1},
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
    cookie = 0x00020002;
    EXPECT_EQ(call(FALSE), Step(-1, 0xFFFFFFFF)) << "a cookie whose index has reached its count ends the walk";
    // A missing entry gives -1 and the walk goes on.
    SetString(key, u"LangMax", u"2");
    RegDeleteValueW(key, u"Lang1");
    cookie = 0xFFFFFFFF;
    EXPECT_EQ(call(FALSE), Step(-1, 0x00020001));
    EXPECT_EQ(call(FALSE), Step(4, 0xFFFFFFFF));

    SetString(key, u"LangMax", u"12");
    cookie = 0x00050001;
    EXPECT_EQ(call(TRUE), Step(12, 0x00050001)) << "a count leaves the cookie alone";
    SetString(key, u"LangMax", u"many");
    EXPECT_EQ(call(TRUE).first, 0) << "not a number";
    RegCloseKey(key);

    for (int i : {-5, 0, 1, 4, 99}) EXPECT_TRUE(IsLanguageListRegistry(i));
}

// Whether a resource library of `language` can be loaded from the library's folder.
std::u16string LanguageString(int language, UINT id) {
    VALMExSetLanguage(language);
    CString text(u"stale");
    GetVALMExDLLString(id, text);
    return std::u16string(text.GetString(), static_cast<size_t>(text.GetLength()));
}

TEST(LanguageResources, EveryLanguageHasItsOwnTexts) {
    struct Case {
        int language;
        const char16_t* find;
        const char16_t* cannotPaste;
    } cases[] = {
        {0, u"Find", u"Can't be pasted."},
        {1, u"検索", u"貼り付けできません。"},
        {2, u"查找", u"无法粘贴。"},
        {3, u"尋找", u"無法貼上。"},
        {4, u"찾기", u"붙여 넣을 수 없습니다."},
        {9, u"Find", u"Can't be pasted."},  // no language library: the built-in texts
    };
    HINSTANCE before = AfxGetResourceHandle();
    int loadedBefore = tq3::fw::LoadedLibraryCount();
    ::testing::internal::CaptureStderr();
    for (const Case& c : cases) {
        EXPECT_EQ(LanguageString(c.language, 30004), c.find) << c.language;
        EXPECT_EQ(LanguageString(c.language, 30008), c.cannotPaste) << c.language;
        EXPECT_EQ(LanguageString(c.language, 29999), u"") << "no such string";
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "libraries that load are not reported missing";
    EXPECT_EQ(AfxGetResourceHandle(), before) << "every switch was undone";
    EXPECT_EQ(tq3::fw::LoadedLibraryCount(), loadedBefore) << "every library was given back";
    VALMExSetLanguage(1);
}

TEST(LanguageResources, BuiltInResourcesAreInTheSearchFromLoad) {
    HMODULE own = tq3::OwnModule();
    ASSERT_NE(own, nullptr);
    auto chain = tq3::fw::ExtensionResourceModules();
    EXPECT_NE(std::find(chain.begin(), chain.end(), own), chain.end()) << "joined the search at load";
    CString text;
    EXPECT_TRUE(text.LoadString(30006));
    EXPECT_EQ(std::u16string(text.GetString()), u"All columns");

    // The find dialog, the cell menu, the divider cursor and the arrow bitmap.
    EXPECT_NE(tq3::fw::FindDialogResource(102), nullptr);
    const TQ3MenuData* menu = tq3::fw::FindMenuResource(104);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->count, 9);
    EXPECT_NE(tq3::fw::FindImageResource(own, 130, RT_GROUP_CURSOR), nullptr);
    HBITMAP arrows = LoadBitmapW(own, MAKEINTRESOURCEW(139));
    EXPECT_NE(arrows, nullptr);
    if (arrows != nullptr) DeleteObject(arrows);
}

TEST(LanguageResources, SwitchAndRestore) {
    HINSTANCE start = AfxGetResourceHandle();
    {
        CSwitchResource scope;
        EXPECT_TRUE(scope.ok);
        EXPECT_FALSE(scope.switched);
        EXPECT_EQ(scope.previous, start);
        ASSERT_TRUE(scope.Switch(1));
        EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleW(u"TQ3VwJpn.dll"));
        ASSERT_TRUE(scope.Switch(4)) << "a second switch gives the first library back";
        EXPECT_EQ(GetModuleHandleW(u"TQ3VwJpn.dll"), nullptr);
        EXPECT_EQ(scope.language, 4);
        ASSERT_TRUE(scope.Switch(7));
        EXPECT_EQ(AfxGetResourceHandle(), tq3::OwnModule());
        EXPECT_EQ(GetModuleHandleW(u"TQ3VwKor.dll"), nullptr);
    }
    EXPECT_EQ(AfxGetResourceHandle(), start) << "the destructor restores";

    CSwitchResource scope;
    ASSERT_TRUE(scope.Switch(2));
    EXPECT_TRUE(scope.Restore());
    EXPECT_FALSE(scope.switched);
    EXPECT_EQ(scope.previous, nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), start);
    EXPECT_EQ(GetModuleHandleW(u"TQ3VwChs.dll"), nullptr);

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
