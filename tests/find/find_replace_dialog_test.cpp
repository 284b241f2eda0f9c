// The Find and Replace commands as the user works them: the dialog's two modes,
// its column list and remembered texts, the requests it sends the view and what
// the view's selection, cursor and cells show afterwards, and the messages that
// end a search.
#include <string>
#include <tuple>
#include <vector>

#include "find/find_replace_dialog.h"
#include "framework/system/registry.h"
#include "settings/language.h"
#include "tests/support/dialog_texts.h"
#include "tests/support/failing_allocator.h"
#include "tests/support/test_output.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerCheck;
using tq3::testing::AnswerClick;
using tq3::testing::AnswerCommand;
using tq3::testing::AnswerType;
using tq3::testing::ModalAnswer;
using tq3::testing::Notify;

constexpr char16_t kDialogClass[] = u"#32770";
constexpr char16_t kFind[] = u"Find";
constexpr char16_t kReplace[] = u"Replace";
constexpr char16_t kBoxTitle[] = u"TQ3ViewTest";  // message boxes carry the application's name
constexpr UINT kRequest = static_cast<UINT>(-100);

// Column 0 and 1 are text, column 2 a number with two decimals.
const std::vector<std::u16string> kLines = {
    u"apple\tAB\t1", u"Apple pie\tab\t2", u"banana\txab\t3", u"cherry\tab\t12.5", u"apple\tAb\t4", u"grape\tz\t5",
};

std::u16string ItemText(HWND dialog, UINT id) {
    WCHAR text[256]{};
    GetDlgItemTextW(dialog, static_cast<int>(id), text, 256);
    return text;
}

std::vector<std::u16string> ListOf(HWND dialog, UINT id) {
    std::vector<std::u16string> entries;
    const auto count = SendDlgItemMessageW(dialog, static_cast<int>(id), CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        WCHAR text[256]{};
        SendDlgItemMessageW(dialog, static_cast<int>(id), CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text);
    }
    return entries;
}

bool Shown(HWND dialog, UINT id) { return IsWindowVisible(GetDlgItem(dialog, static_cast<int>(id))) != FALSE; }

class FindReplaceDialogTest : public TableViewTest {
protected:
    void SetUp() override {
        // The remembered texts live below the application's settings key.
        MakeSettingsBaseKey();
        VALMExSetLanguage(0);
        TableViewTest::SetUp();
        ASSERT_EQ(view->InsertSheet(0, u"fruit"), 0);
        ASSERT_EQ(view->InsertColumn(0, 0, u"Name", 0), 0);
        ASSERT_EQ(view->InsertColumn(0, 1, u"Code", 0), 1);
        ASSERT_EQ(view->InsertColumn(0, 2, u"Value", 1), 2);
        view->SetColumnEditMode(0, 2, 1, -1, 5, 2);
        for (size_t l = 0; l < kLines.size(); ++l)
            ASSERT_GE(view->InsertLine(0, static_cast<int>(l), kLines[l].c_str()), 0);
        view->SetSelSheet(0);
        desktop.RunUntilIdle();
        spy.Watch(view->m_hWnd, "view");
        spy.KeepOnly({WM_NOTIFY});
        // A request is known by its flags; a column choice by its column.
        spy.SetNotifyItemReader([](const NMHDR* header) {
            if (header->code != kRequest) return -1;
            return static_cast<int>(reinterpret_cast<const FindReplaceNotify*>(header)->flags);
        });
        view->calls.clear();
    }

    void Select(CRect selection, CPoint cursor) {
        view->SetSel(selection, cursor);
        desktop.RunUntilIdle();
        view->calls.clear();
        spy.Clear();
    }

    // Runs a command from the frame, as the Edit menu does, with the answers given.
    void Run(UINT command, std::vector<ModalAnswer> answers) {
        for (auto& a : answers) desktop.QueueModalAnswer(std::move(a));
        frame->SendMessage(WM_COMMAND, command, 0);
        desktop.RunUntilIdle();
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u) << "every scripted answer was needed";
    }

    // Looks at the open dialog without ending it.
    static ModalAnswer Look(const char16_t* title, std::function<void(HWND)> look) {
        return ModalAnswer{kDialogClass, title, [look](HWND dialog) {
                               look(dialog);
                               PostMessageW(dialog, WM_NULL, 0, 0);
                           }};
    }
    // Records the cursor and selection each time the dialog waits.
    ModalAnswer Where(const char16_t* title) {
        return Look(title, [this](HWND) { where.push_back({Sel(), Cursor()}); });
    }
    static ModalAnswer Box(int button) { return AnswerCommand(button, kDialogClass, kBoxTitle); }
    static ModalAnswer In(const char16_t* title, ModalAnswer answer) {
        answer.className = kDialogClass;
        answer.title = title;
        return answer;
    }
    static ModalAnswer Next() { return In(kFind, AnswerClick(kFindNextButtonId)); }
    static ModalAnswer Type(const char16_t* text, const char16_t* title = kFind) {
        return In(title, AnswerType(kFindWhatBoxId, text));
    }
    // Checks the request each Find Next or Replace sent, by its flags.
    void ExpectRequests(const std::vector<int>& flags) {
        std::vector<tq3::testing::Expect> expected;
        for (int f : flags) expected.push_back(Notify(kRequest, 0, f));
        auto result = spy.Compare(expected);
        EXPECT_TRUE(result) << result.report;
    }

    tq3::testing::MessageSpy spy;
    std::vector<std::pair<CRect, CPoint>> where;
};

// The dialog and the message that ends a search in each library language: the
// Find title and the column list are translated, every label and button shown
// holds its whole text with real glyphs, and Find mode hides the replace controls
// Replace mode shows. Both modes are saved as pictures for people to look at.
TEST_F(FindReplaceDialogTest, BothModesAndTheirMessageSpeakTheLibraryLanguage) {
    const std::tuple<int, std::u16string, std::u16string> rows[] = {{0, u"Find", u"All columns"},
                                                                    {1, u"検索", u"すべての列"},
                                                                    {2, u"查找", u"所有列"},
                                                                    {3, u"尋找", u"所有欄"},
                                                                    {4, u"찾기", u"모든 열"}};
    Select(CRect(1, 5, 1, 5), CPoint(1, 5));
    for (const auto& [language, title, allColumns] : rows) {
        SCOPED_TRACE(language);
        VALMExSetLanguage(language);
        CString noMore;
        GetVALMExDLLString(30007, noMore);
        ASSERT_FALSE(noMore.IsEmpty());
        const std::u16string message = noMore.GetString();
        // Copies the lambdas can capture: older compilers refuse a structured binding there.
        const int shot = language;
        const std::u16string firstEntry = allColumns;
        const auto whole = [shot](HWND dialog, bool replace) {
            EXPECT_EQ(Shown(dialog, kReplaceWithBoxId), replace);
            EXPECT_EQ(Shown(dialog, kReplaceAllButtonId), replace);
            ExpectWholeDialogTexts(dialog, replace ? "replace" : "find");
            const std::string name = std::string(replace ? "replace" : "find") + std::to_string(shot) + ".png";
            EXPECT_TRUE(tq3::testing::SaveScreenshot(dialog, OutputPath("find", name)));
        };
        Run(ID_EDIT_FIND, {Look(title.c_str(),
                                [&](HWND dialog) {
                                    whole(dialog, false);
                                    EXPECT_EQ(ListOf(dialog, kColumnListId).front(), firstEntry);
                                }),
                           Type(u"zz", title.c_str()), In(title.c_str(), AnswerClick(kFindNextButtonId)),
                           ModalAnswer{kDialogClass, kBoxTitle, [message](HWND box) {
                                           EXPECT_EQ(ItemText(box, 0xFFFF), message);  // a message box's text
                                           PostMessageW(box, WM_COMMAND, IDOK, 0);
                                       }}});
        WCHAR replaceTitle[64]{};
        Run(ID_EDIT_REPLACE, {Look(u"",
                                   [&](HWND dialog) {
                                       GetWindowTextW(dialog, replaceTitle, 64);
                                       whole(dialog, true);
                                   }),
                              AnswerCommand(IDCANCEL, kDialogClass)});
        EXPECT_EQ(std::u16string(replaceTitle) == kReplace, language == 0) << "translated";
    }
    VALMExSetLanguage(0);
}

TEST_F(FindReplaceDialogTest, FindOnOneCellWalksItsColumnDownAndEndsWithTheMessage) {
    Select(CRect(1, 0, 1, 0), CPoint(1, 0));
    Run(ID_EDIT_FIND,
        {Look(kFind,
              [](HWND dialog) {
                  EXPECT_EQ(ItemText(dialog, kFindWhatBoxId), u"AB") << "the cursor cell's text";
                  EXPECT_EQ(SendDlgItemMessageW(dialog, kFindWhatBoxId, CB_GETEDITSEL, 0, 0), MAKELONG(0, 2))
                      << "selected, so that typing replaces it";
                  EXPECT_EQ(ListOf(dialog, kColumnListId),
                            (std::vector<std::u16string>{u"All columns", u"Name", u"Code", u"Value"}));
                  EXPECT_EQ(SendDlgItemMessageW(dialog, kColumnListId, CB_GETCURSEL, 0, 0), 2) << "the cursor's column";
              }),
         Type(u"ab"), Next(), Where(kFind), Next(), Where(kFind), Next(), Where(kFind), Next(), Where(kFind), Next(),
         Box(IDOK)});
    // From the line below the cursor: lines 1 to 4 of the Code column hold ab in
    // some case, xab included; each match is selected alone.
    const std::vector<std::pair<CRect, CPoint>> expected = {{CRect(1, 1, 1, 1), CPoint(1, 1)},
                                                            {CRect(1, 2, 1, 2), CPoint(1, 2)},
                                                            {CRect(1, 3, 1, 3), CPoint(1, 3)},
                                                            {CRect(1, 4, 1, 4), CPoint(1, 4)}};
    EXPECT_EQ(where, expected);
    ExpectRequests({0, 0, 0, 0, 0});
}

TEST_F(FindReplaceDialogTest, OneColumnChosenOnSeveralColumnsAsksFirst) {
    // A block of two columns with the cursor's column chosen: Find Next asks
    // 30013, Replace 30012. Yes narrows the search and the view's selection to
    // that column and goes on; No closes the dialog without a request.
    struct Row {
        UINT command;
        const char16_t* title;
        UINT button;
        int answer;
        std::u16string line0;  // the Code cell of line 0 afterwards
    };
    const Row rows[] = {
        {ID_EDIT_FIND, kFind, kFindNextButtonId, IDYES, u"AB"},
        {ID_EDIT_FIND, kFind, kFindNextButtonId, IDNO, u"AB"},
        {ID_EDIT_REPLACE, kReplace, kReplaceButtonId, IDYES, u"ba"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.command) + (r.answer == IDYES ? " yes" : " no"));
        view->SetCellText(0, 0, 1, u"AB");
        Select(CRect(0, 0, 1, 5), CPoint(1, 0));
        std::vector<ModalAnswer> answers = {Type(u"AB", r.title), In(r.title, AnswerType(kReplaceWithBoxId, u"ba")),
                                            In(r.title, AnswerClick(r.button)), Box(r.answer)};
        if (r.command == ID_EDIT_FIND) answers.erase(answers.begin() + 1);  // no Replace with box
        if (r.answer == IDYES) answers.push_back(Where(r.title));
        if (r.answer == IDYES) answers.push_back(In(r.title, AnswerCommand(IDCANCEL)));
        Run(r.command, std::move(answers));
        EXPECT_EQ(Cell(0, 1), r.line0);
        if (r.answer == IDYES) {
            const int flags = r.command == ID_EDIT_FIND ? 0 : 0x10000;
            auto result = spy.Compare({Notify(kFindColumnChosen, 1, -1), Notify(kRequest, 0, flags)});
            EXPECT_TRUE(result) << result.report;
            ASSERT_EQ(where.size(), 1u);
            EXPECT_EQ(where[0].first, CRect(1, 0, 1, 5)) << "the selection follows the choice";
            EXPECT_EQ(where[0].second, CPoint(1, 1)) << "on to the next ab";
        } else {
            EXPECT_TRUE(spy.Log().empty()) << spy.Describe(spy.Log().front());
        }
        where.clear();
    }
}

// Replace pressed in Find mode turns the dialog into Replace without "All
// columns"; a column chosen in the list becomes the view's selected column and
// fills Find what with its cell.
TEST_F(FindReplaceDialogTest, ReplaceTurnsFindIntoReplaceAndAChosenColumnIsSelected) {
    Select(CRect(0, 1, 0, 1), CPoint(0, 1));
    Run(ID_EDIT_FIND, {In(kFind, AnswerClick(kReplaceButtonId)),
                       Look(kReplace,
                            [](HWND dialog) {
                                EXPECT_TRUE(Shown(dialog, kReplaceWithBoxId));
                                EXPECT_EQ(ListOf(dialog, kColumnListId).front(), u"Name");
                            }),
                       In(kReplace, tq3::testing::AnswerChoose(kColumnListId, 1)),
                       Look(kReplace, [](HWND dialog) { EXPECT_EQ(ItemText(dialog, kFindWhatBoxId), u"ab"); }),
                       AnswerCommand(IDCANCEL, kDialogClass)});
    EXPECT_EQ(Sel(), CRect(1, 1, 1, 1));
}

// Replace All with Entire cells from one cell covers the whole column, lines
// above the cursor too, and always ends with the message.
TEST_F(FindReplaceDialogTest, ReplaceAllFromOneCellCoversTheWholeColumnAndAlwaysEndsWithTheMessage) {
    Select(CRect(1, 3, 1, 3), CPoint(1, 3));
    Run(ID_EDIT_REPLACE,
        {Look(kReplace,
              [](HWND dialog) {
                  EXPECT_EQ(ListOf(dialog, kColumnListId), (std::vector<std::u16string>{u"Name", u"Code", u"Value"}))
                      << "no All columns in Replace mode";
              }),
         Type(u"ab", kReplace), In(kReplace, AnswerType(kReplaceWithBoxId, u"cd")),
         In(kReplace, AnswerCheck(kEntireCellsCheckId, true)), In(kReplace, AnswerClick(kReplaceAllButtonId)),
         Box(IDOK)});
    std::vector<std::u16string> codes, names;
    for (int line = 0; line < 6; ++line) codes.push_back(Cell(line, 1)), names.push_back(Cell(line, 0));
    EXPECT_EQ(codes, (std::vector<std::u16string>{u"cd", u"cd", u"xab", u"cd", u"cd", u"z"}));
    EXPECT_EQ(names[1], u"Apple pie") << "other columns stay";
    ExpectRequests({0x20001});
    // Nothing to replace: the message still ends the dialog.
    Run(ID_EDIT_REPLACE, {Type(u"nowhere", kReplace), In(kReplace, AnswerClick(kReplaceAllButtonId)), Box(IDOK)});
}

// Texts are remembered once, newest first, and the next dialog starts from
// them; a search that ends with the message stores them too.
TEST_F(FindReplaceDialogTest, TextsAreRememberedOnceNewestFirstAndReadBackAfterwards) {
    const auto listed = Look(kFind, [](HWND dialog) {
        EXPECT_EQ(ListOf(dialog, kFindWhatBoxId), (std::vector<std::u16string>{u"grape", u"apple"}));
    });
    Select(CRect(0, 0, 0, 0), CPoint(0, 0));
    Run(ID_EDIT_FIND,
        {Type(u"apple"), Next(), Next(), Type(u"grape"), Next(), listed, In(kFind, AnswerCommand(IDCANCEL))});
    Run(ID_EDIT_FIND, {listed, Type(u"apple"), Next(), Box(IDOK)});
    CStringList find;
    CStringList replace;
    ASSERT_EQ(view->ReadFindReplaceHistory(find, replace), 1);
    ASSERT_EQ(find.GetCount(), 2);
    EXPECT_EQ(find.GetHead(), CString(u"grape")) << "a text searched for again keeps its place";
    EXPECT_EQ(find.GetTail(), CString(u"apple"));
    EXPECT_TRUE(replace.IsEmpty());
}

TEST_F(FindReplaceDialogTest, EmptyAndVeryLongTextsEndTheSearchCalmly) {
    // An empty text matches nowhere: the search ends at once, without a request,
    // in both modes.
    Select(CRect(1, 4, 1, 4), CPoint(1, 4));
    const auto emptyBox = [](HWND dialog) { SetDlgItemTextW(dialog, static_cast<int>(kFindWhatBoxId), u""); };
    Run(ID_EDIT_FIND, {Look(kFind, emptyBox), Next(), Box(IDOK)});
    Run(ID_EDIT_REPLACE, {Look(kReplace, emptyBox), In(kReplace, AnswerClick(kReplaceAllButtonId)), Box(IDOK)});
    EXPECT_TRUE(spy.Log().empty());
    EXPECT_EQ(Cell(4, 1), u"Ab");
    const std::u16string longText(5000, u'q');
    Select(CRect(0, 0, 0, 0), CPoint(0, 0));
    Run(ID_EDIT_FIND, {Type(longText.c_str()), Next(), Box(IDOK)});
}

TEST_F(FindReplaceDialogTest, TheHostChangingTheTableMidSearchLeavesTheDialogWorking) {
    // The host removes the sheet when the cursor first moves.
    Select(CRect(1, 0, 1, 0), CPoint(1, 0));
    view->onCursorMoved = [this] {
        view->onCursorMoved = nullptr;
        view->DeleteSheet(0);
    };
    Run(ID_EDIT_FIND, {Type(u"ab"), Next(), Next(), Box(IDOK)});
    EXPECT_EQ(view->GetSheetCount(), 0);

    // The host makes the number column a list column while the dialog still
    // takes numbers: the list refuses the replacement in the lines after it, which
    // keep their text, and the search goes on to the end.
    ASSERT_EQ(view->InsertSheet(0, u"again"), 0);
    ASSERT_EQ(view->InsertColumn(0, 0, u"Value", 1), 0);
    ASSERT_GE(view->InsertLine(0, 0, u"1"), 0);
    ASSERT_GE(view->InsertLine(0, 1, u"1"), 0);
    view->SetSelSheet(0);
    Select(CRect(0, 0, 0, 0), CPoint(0, 0));
    view->onCellChanged = [this] {
        view->onCellChanged = nullptr;
        view->AddColumnString(0, 0, u"1");
        view->AddColumnString(0, 0, u"2");
    };
    Run(ID_EDIT_REPLACE,
        {In(kReplace, AnswerType(kReplaceWithBoxId, u"7")), In(kReplace, AnswerClick(kReplaceAllButtonId)), Box(IDOK)});
    EXPECT_EQ(Cell(0, 0), u"7");
    EXPECT_EQ(Cell(1, 0), u"1");
}

TEST_F(FindReplaceDialogTest, OutOfMemoryOpeningTheDialogLeavesTheViewAndTheCommandWorking) {
    // Memory runs out at a later point each time: while the dialog is filled, made
    // or run. Whatever got open is closed by the waiting Close; nothing is left
    // half open, so the command works as before once memory is back.
    Select(CRect(1, 0, 1, 0), CPoint(1, 0));
    for (long allowed : {0L, 3L, 10L, 30L, 100L, 300L, 1000L}) {
        if (desktop.PendingModalAnswers() == 0) desktop.QueueModalAnswer(In(kFind, AnswerCommand(IDCANCEL)));
        {
            FailingAllocations failing(allowed);
            frame->SendMessage(WM_COMMAND, ID_EDIT_FIND, 0);
        }
        desktop.RunUntilIdle();
    }
    if (desktop.PendingModalAnswers() > 0) {
        frame->SendMessage(WM_COMMAND, ID_EDIT_FIND, 0);
        desktop.RunUntilIdle();
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u) << "the dialog opens again";
    }
    Run(ID_EDIT_FIND, {Type(u"ab"), Next(), Where(kFind), In(kFind, AnswerCommand(IDCANCEL))});
    ASSERT_EQ(where.size(), 1u);
    EXPECT_EQ(where[0].second, CPoint(1, 1));
    EXPECT_EQ(Cell(0, 1), u"AB");
}

}  // namespace
}  // namespace tq3::test
