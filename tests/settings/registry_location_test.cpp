// The settings base key, the integer helpers, deleting key trees and the host's
// profile store, against the temporary store of the test application.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "framework/app/win_app.h"
#include "framework/system/registry.h"
#include "framework/system/resources.h"
#include "settings/language.h"
#include "settings/registry_location.h"
#include "tq3view/testing.h"

namespace {

HKEY Create(const char16_t* path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
}

bool Exists(const char16_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

TEST(RegistryLocation, ProductKeyAndBasePath) {
    CString product = MakeRegistryKeyName();
    EXPECT_EQ(std::u16string(product.GetString()), u"SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3");

    CString path(u"stale");
    EXPECT_EQ(CanOpenRegistory(path), 0) << "no application object";
    EXPECT_TRUE(path.IsEmpty());

    tq3::testing::TestApp app(u"Viewer", u"Acme Tools");
    EXPECT_EQ(CanOpenRegistory(path), 0) << "the base key does not exist yet";
    EXPECT_EQ(std::u16string(path.GetString()), u"Software\\Acme Tools\\");
    RegCloseKey(Create(u"SOFTWARE\\ACME TOOLS"));
    EXPECT_NE(CanOpenRegistory(path), 0) << "key names compare without regard to case";
    app.SetRegistryKey(u"Other");
    EXPECT_EQ(CanOpenRegistory(path), 0) << "the key name is read afresh";
    EXPECT_EQ(std::u16string(path.GetString()), u"Software\\Other\\");
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<tq3::testing::TestApp>(u"Viewer", u"Acme");
        ASSERT_FALSE(app_->SettingsFolder().empty());
        RegCloseKey(Create(u"Software\\Acme"));
    }
    std::unique_ptr<tq3::testing::TestApp> app_;
};

TEST_F(SettingsStore, IntegersInTheBaseKeyAndExistingSections) {
    // A null and an empty section both mean the base key itself.
    EXPECT_TRUE(VALMExWriteProfileInt(nullptr, u"Width", 120));
    EXPECT_TRUE(VALMExWriteProfileInt(u"", u"Height", -1));
    EXPECT_EQ(VALMExReadProfileInt(nullptr, u"width", 7), 120);
    EXPECT_EQ(VALMExReadProfileInt(u"", u"Height", 7), -1) << "-1 survives as 0xFFFFFFFF";

    // A missing section is never created and nothing is written.
    EXPECT_FALSE(VALMExWriteProfileInt(u"Missing", u"X", 5));
    EXPECT_FALSE(Exists(u"Software\\Acme\\Missing"));
    EXPECT_EQ(VALMExReadProfileInt(u"Missing", u"X", 7), 7);
}

TEST_F(SettingsStore, NoBaseKeyOrNoApplicationMeansNoSettings) {
    app_->SetRegistryKey(u"Nobody");
    EXPECT_FALSE(VALMExWriteProfileInt(nullptr, u"X", 1));
    EXPECT_FALSE(Exists(u"Software\\Nobody"));
    EXPECT_EQ(VALMExReadProfileInt(nullptr, u"X", 7), 7);
    app_.reset();
    EXPECT_FALSE(VALMExWriteProfileInt(nullptr, u"X", 1));
    EXPECT_EQ(VALMExReadProfileInt(nullptr, u"X", 7), 7);
}

TEST_F(SettingsStore, DeleteRegKeyRemovesWholeTrees) {
    EXPECT_EQ(tq3::DeleteRegKey(u"Software\\Acme\\Nothing"), -1);
    const char16_t* tree[] = {u"Software\\Acme\\Tree\\A\\A1\\A1x", u"Software\\Acme\\Tree\\B"};
    for (const char16_t* path : tree) {
        HKEY key = Create(path);
        DWORD one = 1;
        RegSetValueExW(key, u"v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
        RegCloseKey(key);
    }
    RegCloseKey(Create(u"Software\\Acme\\Treetop"));
    EXPECT_EQ(tq3::DeleteRegKey(u"Software\\Acme\\Tree"), 0);
    EXPECT_FALSE(Exists(u"Software\\Acme\\Tree"));
    EXPECT_TRUE(Exists(u"Software\\Acme\\Treetop")) << "a sibling with a longer name stays";
    EXPECT_TRUE(Exists(u"Software\\Acme"));

    // A subkey that is listed but cannot be opened (another program stored a
    // backslash in its name) stops the descent: the key above it stays and the
    // call returns the failed delete instead of trying that subkey for ever.
    RegCloseKey(Create(u"Software\\Acme\\Odd\\Inner"));
    sqlite3* store = nullptr;
    ASSERT_EQ(sqlite3_open(tq3::fw::GetRegistryStorePath(HKEY_CURRENT_USER).c_str(), &store), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(store, "UPDATE reg_keys SET name = 'In\\ner', folded = 'IN\\NER' WHERE folded = 'INNER'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_changes(store), 1);
    sqlite3_close(store);
    EXPECT_GT(tq3::DeleteRegKey(u"Software\\Acme\\Odd"), 0);
    EXPECT_TRUE(Exists(u"Software\\Acme\\Odd"));
}

TEST_F(SettingsStore, ProfileSectionsAreKeysBelowTheBaseKey) {
    EXPECT_EQ(app_->GetProfileInt(u"Section", u"Count", 42), 42u);
    EXPECT_TRUE(app_->WriteProfileInt(u"Section", u"Count", -3));
    EXPECT_TRUE(app_->WriteProfileString(u"Section", u"Name", u"日本語 text"));
    EXPECT_TRUE(Exists(u"Software\\Acme\\Section")) << "created by the first write, directly below the base";
    EXPECT_EQ(static_cast<int>(app_->GetProfileInt(u"SECTION", u"count", 42)), -3);
    EXPECT_EQ(std::u16string(app_->GetProfileString(u"Section", u"Name").GetString()), u"日本語 text");
    // The integer helpers and the profile store see the same values.
    EXPECT_EQ(VALMExReadProfileInt(u"Section", u"Count", 7), -3);
    // Of the wrong type: the default.
    EXPECT_EQ(app_->GetProfileInt(u"Section", u"Name", 42), 42u);
    EXPECT_TRUE(app_->WriteProfileString(u"Section", nullptr, nullptr));
    EXPECT_FALSE(Exists(u"Software\\Acme\\Section"));
}

}  // namespace

namespace {

// The application's resources around the host's code: switched in only when the
// view's own or language resources are current.
TEST(SwitchAppRes, SwitchesFromTheViewsResourcesToTheApplications) {
    HINSTANCE start = AfxGetResourceHandle();
    {
        CSwitchResource own;
        ASSERT_TRUE(own.Switch(9));
        CSwitchAppRes none;
        EXPECT_FALSE(none.switched) << "no application object";
        EXPECT_EQ(AfxGetResourceHandle(), tq3::OwnModule());
    }
    tq3::testing::TestApp app(u"Viewer", u"Acme");
    // The machine-wide store too lives in the test's folder.
    std::string machineBefore = tq3::fw::GetRegistryStorePath(HKEY_LOCAL_MACHINE);
    ASSERT_EQ(tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, app.SettingsFolder() + "/machine.db"), ERROR_SUCCESS);
    {
        CSwitchAppRes elsewhere;
        EXPECT_FALSE(elsewhere.switched) << "the application's resources are already current";
    }
    {
        CSwitchResource own;
        ASSERT_TRUE(own.Switch(9));
        {
            CSwitchAppRes scope;
            EXPECT_TRUE(scope.switched);
            EXPECT_EQ(scope.previous, tq3::OwnModule());
            // No registry language (no machine store entry): the application's own module.
            EXPECT_EQ(AfxGetResourceHandle(), app.m_hInstance);
        }
        EXPECT_EQ(AfxGetResourceHandle(), tq3::OwnModule());
    }
    // Registry language Japanese: its view library counts as the view's resources;
    // the application has no Japanese resource library here, so its own module
    // stands in.
    HKEY product = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Almadon Control\\ORVIN QT5\\TQ3", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &product, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(product);
    SetLanguageRegistry(1);
    ASSERT_EQ(GetLanguageRegistry(), 1);
    {
        CSwitchResource japanese;
        ASSERT_TRUE(japanese.Switch(1));
        EXPECT_EQ(tq3::RegistryLanguageViewResources(), japanese.library);
        CSwitchAppRes scope;
        EXPECT_TRUE(scope.switched);
        EXPECT_EQ(AfxGetResourceHandle(), app.m_hInstance);
    }
    EXPECT_EQ(AfxGetResourceHandle(), start);
    tq3::fw::SetRegistryStorePath(HKEY_LOCAL_MACHINE, machineBefore);
}

}  // namespace
