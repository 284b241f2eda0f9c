// A table view on a headless desktop whose host keeps its settings in the test
// application's temporary store, with the settings base key already made, and
// short helpers to look at the store directly.
#pragma once

#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include <string>
#include <vector>

#include "tests/framework/registry/registry_test_support.h"
#include "tests/support/table_view_support.h"
#include "view/table_view.h"

namespace tq3::test {

// Opens the view's protected settings members to the tests.
class SettingsView : public CTableView {
public:
    SettingsView() = default;
    using CTableView::DeleteRegKey;
    using CTableView::ReadFindReplaceHistory;
    using CTableView::WriteFindReplaceHistory;
};

inline constexpr const char16_t* kBaseKey = u"Software\\Settings Vendor";

// The path of a section below the base key.
inline std::u16string Section(const std::u16string& name) { return std::u16string(kBaseKey) + u"\\" + name; }

// The values of a key as "name=type:bytes" lines in the order they were set,
// or "<missing>" when the key does not exist.
inline std::vector<std::string> Dump(const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {"<missing>"};
    std::vector<std::string> lines;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256] = {};
        DWORD nameLength = 256;
        BYTE data[256] = {};
        DWORD size = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        std::string line(name, name + nameLength);
        line += '=';
        line += std::to_string(type);
        line += ':';
        static const char* hex = "0123456789abcdef";
        for (DWORD b = 0; b < size; ++b) {
            line += hex[data[b] >> 4];
            line += hex[data[b] & 15];
        }
        lines.push_back(line);
    }
    RegCloseKey(key);
    return lines;
}

inline std::string DwordBytes(DWORD value) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (int b = 0; b < 4; ++b) {
        BYTE byte = static_cast<BYTE>(value >> (8 * b));
        out += hex[byte >> 4];
        out += hex[byte & 15];
    }
    return out;
}

class SettingsViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(app.SettingsFolder().empty());
        RegCloseKey(CreateKey(HKEY_CURRENT_USER, kBaseKey));
    }

    // A view in a frame; it reads the stored font as it is made.
    SettingsView* MakeView() {
        auto* view = new SettingsView;
        if (tq3::testing::CreateFrameWithView(view) == nullptr) return nullptr;
        return view;
    }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app{u"Settings Test", u"Settings Vendor"};
};

}  // namespace tq3::test
