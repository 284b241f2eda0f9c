// A table view on a headless desktop whose host keeps its settings in the test
// application's temporary store, with the settings base key already made, and
// short helpers to look at the store directly.
#pragma once

#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include <string>
#include <vector>

#include "framework/core/utf.h"
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

// The values of a key in the order they were set, as "name=type:data": a 4-byte
// REG_DWORD as a signed decimal, a terminated REG_SZ as its text, anything else
// in hex; {"<missing>"} when the key does not exist.
inline std::vector<std::string> Dump(const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {"<missing>"};
    std::vector<std::string> lines;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256] = {};
        DWORD nameLength = 256;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const ReadValue value = Query(key, name);
        const std::vector<BYTE>& data = value.data;
        std::string line = tq3::fw::ToUtf8(std::u16string_view(name, nameLength)) + "=" + std::to_string(value.type) + ":";
        const size_t units = data.size() / 2;
        if (value.type == REG_DWORD && data.size() == 4) {
            line += std::to_string(static_cast<int>(AsDword(data)));
        } else if (value.type == REG_SZ && data.size() % 2 == 0 && units > 0 && data[units * 2 - 2] == 0 &&
                   data[units * 2 - 1] == 0) {
            line += tq3::fw::ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(data.data()), units - 1));
        } else {
            for (BYTE b : data) line += "0123456789abcdef"[b >> 4], line += "0123456789abcdef"[b & 15];
        }
        lines.push_back(line);
    }
    RegCloseKey(key);
    return lines;
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
