// The cell edit box: its key filters in numeric mode and its clipboard commands
// with one-step undo.
#include "framework/system/clipboard.h"
#include "tests/table_view/cell_editor_fixture.h"
#include "view/cell_edit.h"
#include "view/cell_number.h"

namespace tq3::test {
namespace {

constexpr UINT kEditId = 1003;

class CellEditTest : public CellEditorTest {
protected:
    void SetUp() override {
        CellEditorTest::SetUp();
        ASSERT_TRUE(edit.Create(WS_CHILD | ES_AUTOHSCROLL, CRect(10, 10, 210, 30), &host, kEditId));
    }
    void TearDown() override {
        edit.DestroyWindow();
        CellEditorTest::TearDown();
    }
    // Opens the box as the view does (mode, limits, text, shown, focused), then
    // puts the text as written and the selection the test wants.
    void Open(int textMode, const char16_t* text, int start = 0, int end = -1, BYTE decimals = 1, int arrows = 0) {
        edit.textMode = textMode;
        edit.decimals = decimals;
        edit.arrowsMoveCaret = arrows;
        edit.SetEditText(text);
        edit.ShowWindow(SW_SHOW);
        edit.SetFocus();
        edit.SetWindowText(text);
        edit.SetSel(start, end);
        desktop.RunUntilIdle();
    }
    std::pair<int, int> Sel() {
        int s = 0, e = 0;
        edit.GetSel(s, e);
        return {s, e};
    }
    CCellEdit edit;
};

TEST_F(CellEditTest, NumericKeysFollowTheDigitSignAndPointRules) {
    struct Row {
        const char16_t* text;
        int start, end;
        BYTE decimals;
        bool numLock;
        std::vector<Stroke> keys;
        const char16_t* result;
        int caret;
    };
    const Row rows[] = {
        {u"123.4", 5, 5, 1, false, {{'5'}}, u"123.4", 5},  // every decimal place used
        {u"123.4", 0, 0, 1, false, {{'5'}, {'6'}, {'7'}, {'8'}}, u"567123.4", 3},  // seven digits at most
        {u"1234567", 0, 7, 1, false, {{'9'}}, u"9", 1},  // a selection makes room
        {u"12", 2, 2, 1, false, {{VK_OEM_MINUS}}, u"-12", 3},
        {u"123", 1, 2, 1, false, {{VK_OEM_MINUS}}, u"-13", 2},  // the selection goes first
        {u"5", 1, 1, 1, true, {{VK_SUBTRACT}}, u"-5", 2},
        {u"5", 1, 1, 1, false, {{VK_SUBTRACT}, {VK_NUMPAD5}}, u"5", 1},  // keypad without NumLock
        {u"12", 2, 2, 0, false, {{VK_OEM_PERIOD}}, u"12", 2},
        {u"12", 1, 1, 2, false, {{VK_OEM_PERIOD}, {VK_OEM_PERIOD}}, u"1.2", 2},
        {u"1.5", 0, 3, 2, false, {{VK_OEM_PERIOD}}, u".", 1},  // a selected point is typed over
        {u"12", 2, 2, 2, false, {{VK_OEM_PERIOD, kShift}, {'A'}, {VK_SPACE}}, u"12", 2},
    };
    for (const Row& r : rows) {
        SetNumLock(r.numLock);
        Open(0, r.text, r.start, r.end, r.decimals);
        Press(r.keys);
        EXPECT_EQ(TextOf(edit), r.result) << TextOf(edit).size();
        EXPECT_EQ(Sel(), std::make_pair(r.caret, r.caret));
    }
    SetNumLock(false);
    EXPECT_EQ(CountDigits(nullptr), 0) << "a missing window has no digits";
}

TEST_F(CellEditTest, ClipboardCommandsUndoOneStepAndRedo) {
    Open(1, u"abcd", 1, 3);
    desktop.KeyPress('X', kControl);
    EXPECT_EQ(TextOf(edit), u"ad");
    EXPECT_EQ(Clipboard(), u"bc");
    desktop.KeyPress('Z', kControl);
    EXPECT_EQ(TextOf(edit), u"abcd");
    EXPECT_EQ(Sel(), std::make_pair(1, 3));
    desktop.KeyPress('Z', kControl);  // a second undo redoes the cut
    EXPECT_EQ(TextOf(edit), u"ad");
    edit.SetSel(0, 1);
    desktop.KeyPress('C', kControl);
    EXPECT_EQ(Clipboard(), u"a");
    EXPECT_EQ(edit.SendMessage(WM_UNDO), 1);  // nothing to undo after a copy
    EXPECT_EQ(TextOf(edit), u"ad");
    edit.SetWindowText(u"abc");
    edit.SetSel(1, 1);
    desktop.KeyPress(VK_DELETE);
    EXPECT_EQ(TextOf(edit), u"ac");
    ASSERT_TRUE(desktop.SetClipboardText(u"xy\tz\r\n"));
    edit.SendMessage(WM_PASTE);  // up to the first field or line end
    EXPECT_EQ(TextOf(edit), u"axyc");
    edit.SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(TextOf(edit), u"ac");
    edit.SetSel(1, 1);
    desktop.KeyPress(VK_INSERT, kShift);  // the box's own paste key: the same cut at the TAB
    EXPECT_EQ(TextOf(edit), u"axyc");
    // Hiding forgets the undo step; a number never goes empty.
    edit.ShowWindow(SW_HIDE);
    Open(0, u"12.5");
    desktop.KeyPress('Z', kControl);
    desktop.KeyPress(VK_DELETE);
    EXPECT_EQ(TextOf(edit), u"0");
}

TEST_F(CellEditTest, NumericPasteInsertsOnlyWhatTheRulesAllow) {
    struct Row {
        const char16_t* clip;
        const char16_t* text;
        int start, end;
        const char16_t* result;
        int selStart, selEnd, beeps;
    };
    const std::u16string tooLong(5000, u'9');
    const Row rows[] = {
        {u"12.5\t7", u"0", 0, 1, u"12.5", 0, 4, 0}, {u"abc", u"3", 1, 1, u"3", 1, 1, 0},
        {u"-7", u"12", 0, 0, u"-712", 0, 2, 0},     {u"-7", u"12", 1, 1, u"12", 1, 1, 1},
        {u"1.5", u"3.2", 3, 3, u"3.2", 3, 3, 1},    {u".5", u"3", 0, 0, u"3", 0, 0, 1},
        {tooLong.c_str(), u"1", 1, 1, u"1", 1, 1, 1},
    };
    for (const Row& r : rows) {
        Open(0, r.text, r.start, r.end, 2);
        ASSERT_TRUE(desktop.SetClipboardText(r.clip));
        const int beeps = Beeps();
        desktop.KeyPress(VK_INSERT, kShift);
        EXPECT_EQ(TextOf(edit), r.result) << TextOf(edit).size();
        EXPECT_EQ(Sel(), std::make_pair(r.selStart, r.selEnd));
        EXPECT_EQ(Beeps() - beeps, r.beeps);
    }
}

}  // namespace
}  // namespace tq3::test
