// The remembered find and replace texts: which texts are stored under which
// names, and what reading gives back from complete, gapped and damaged sections.
#include <cstdio>

#include "tests/settings/settings_view_fixture.h"

namespace tq3::test {
namespace {

using Texts = std::vector<std::u16string>;
using FindReplaceHistoryTest = SettingsViewTest;

CStringList& Fill(CStringList& list, const Texts& texts) {
    list.RemoveAll();
    for (const std::u16string& text : texts) list.AddTail(text.c_str());
    return list;
}

Texts Contents(const CStringList& list) {
    Texts texts;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) texts.emplace_back(list.GetNext(pos).GetString());
    return texts;
}

std::vector<std::string> Stored(const char16_t* section) { return Dump(Section(section)); }

Texts Numbered(const char* stem, int from, int to) {
    Texts texts;
    for (int n = from; n <= to; ++n) {
        std::string text = stem + std::to_string(n);
        texts.emplace_back(text.begin(), text.end());
    }
    return texts;
}

TEST_F(FindReplaceHistoryTest, TheTwentyNewestTextsAreStoredInOrder) {
    SettingsView* view = MakeView();
    ASSERT_NE(view, nullptr);
    CStringList find;
    CStringList replace;
    Fill(find, Numbered("find ", 1, 25));
    EXPECT_EQ(view->WriteFindReplaceHistory(find, replace), 1);

    std::vector<std::string> expected;
    for (int n = 1; n <= 20; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "FindWhat%02d=1:find %d", n, n);
        expected.push_back(name);
    }
    EXPECT_EQ(Stored(u"HistoryFindWhat"), expected);
    EXPECT_EQ(Contents(find), Numbered("find ", 21, 25)) << "the five oldest stay in the list";
    Fill(find, {u"stale"});
    EXPECT_EQ(view->ReadFindReplaceHistory(find, replace), 1);
    EXPECT_EQ(Contents(find), Numbered("find ", 1, 20));
}

TEST_F(FindReplaceHistoryTest, ReadingSkipsGapsDuplicatesAndDamagedEntries) {
    SettingsView* view = MakeView();
    ASSERT_NE(view, nullptr);
    HKEY find = CreateKey(HKEY_CURRENT_USER, Section(u"HistoryFindWhat").c_str());
    ASSERT_EQ(SetString(find, u"FindWhat01", u"first"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(find, u"FindWhat03", u"third"), ERROR_SUCCESS);         // 02 is missing
    ASSERT_EQ(SetString(find, u"FindWhat04", u""), ERROR_SUCCESS);              // empty
    ASSERT_EQ(SetDword(find, u"FindWhat05", 5), ERROR_SUCCESS);                 // not a string
    ASSERT_EQ(SetString(find, u"FindWhat06", u"first"), ERROR_SUCCESS);         // a duplicate
    ASSERT_EQ(SetString(find, u"FindWhat21", u"beyond"), ERROR_SUCCESS);        // past the 20th
    ASSERT_EQ(SetString(find, u"FINDWHAT20", u"日本語の検索"), ERROR_SUCCESS);  // names ignore case
    RegCloseKey(find);
    HKEY replace = CreateKey(HKEY_CURRENT_USER, Section(u"HistoryReplace").c_str());
    const std::u16string longText(5000, u'w');
    ASSERT_EQ(SetString(replace, u"ReplaceWith02", longText), ERROR_SUCCESS);
    RegCloseKey(replace);

    CStringList findList;
    CStringList replaceList;
    Fill(replaceList, {u"left over"});
    EXPECT_EQ(view->ReadFindReplaceHistory(findList, replaceList), 1);
    EXPECT_EQ(Contents(findList), (Texts{u"first", u"third", u"日本語の検索"}));
    EXPECT_EQ(Contents(replaceList), (Texts{longText}));
}

}  // namespace
}  // namespace tq3::test
