#include "framework/core/locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace tq3::test {
namespace {

// Simple case mapping, in place: every character keeps its length, so the dotted
// capital I lowers to a plain i, the sharp s stays as it is (it would be "SS"
// under full mapping) and a surrogate pair passes untouched.
TEST(CaseMapping, ConvertsInPlaceOneToOne) {
    const struct {
        std::u16string text;
        bool upper;
        std::u16string expected;
    } cases[] = {
        {u"Ab\u00C4\u0130\u03A3z", false, u"ab\u00E4i\u03C3z"},
        {u"ab\u00E4i\u03C3z", true, u"AB\u00C4I\u03A3Z"},
        {u"\u00DF\U0001D400x", true, u"\u00DF\U0001D400X"},
    };
    for (const auto& c : cases) {
        std::u16string text = c.text;
        c.upper ? CharUpperW(text.data()) : CharLowerW(text.data());
        EXPECT_EQ(text, c.expected);
    }
    // A character passed as the pointer's value comes back as its value.
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(CharUpperW(MAKEINTRESOURCEW(u'b'))), static_cast<ULONG_PTR>(u'B'));
}

// The user-interface language comes from the environment as the system's
// programs read it; a thread may set its own (refusals are the font dialog's tests').
TEST(UiLanguageTest, EnvironmentDecidesAndAThreadMayChoose) {
    struct Case {
        const char* languageList;  // LANGUAGE
        const char* all;           // LC_ALL
        const char* messages;      // LC_MESSAGES
        const char* lang;          // LANG
        LANGID expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, nullptr, 0x0409},
        {nullptr, nullptr, nullptr, "ja_JP.UTF-8", 0x0411},
        {nullptr, nullptr, nullptr, "zh_TW.UTF-8", 0x0404},
        {nullptr, "ko_KR.UTF-8", nullptr, "ja_JP.UTF-8", 0x0412},
        {nullptr, nullptr, "ja_JP.UTF-8", "en_US.UTF-8", 0x0411},
        {"fr:ko:en", nullptr, nullptr, "en_US.UTF-8", 0x0412},
        {"ja", nullptr, nullptr, "C", 0x0409},  // the list counts only beside a real locale
    };
    const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* name : names) {
        if (const char* value = std::getenv(name)) saved.emplace_back(name, value);
    }
    for (const Case& c : cases) {
        const char* values[] = {c.languageList, c.all, c.messages, c.lang};
        for (int i = 0; i < 4; ++i) {
            if (values[i] != nullptr) {
                setenv(names[i], values[i], 1);
            } else {
                unsetenv(names[i]);
            }
        }
        EXPECT_EQ(GetUserDefaultUILanguage(), c.expected) << (c.lang ? c.lang : "-") << " / " << (c.all ? c.all : "-");
    }
    // A thread's own choice, until it asks for the user's default again.
    setenv("LANG", "ja_JP.UTF-8", 1);
    EXPECT_EQ(SetThreadUILanguage(0x0804), 0x0804);
    EXPECT_EQ(SetThreadUILanguage(0), 0x0411) << "back to the user's default";
    for (const char* name : names) unsetenv(name);
    for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace
}  // namespace tq3::test
