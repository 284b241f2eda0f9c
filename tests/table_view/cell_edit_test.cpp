// The cell edit box: its key filters in text and numeric mode, the keys that
// end an edit, its clipboard commands with one-step undo, and what it does when
// shown, focused and left.
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
        {u"-12", 3, 3, 1, false, {{VK_OEM_MINUS}}, u"12", 2},
        {u"123", 1, 2, 1, false, {{VK_OEM_MINUS}}, u"-13", 2},  // the selection goes first
        {u"5", 1, 1, 1, true, {{VK_SUBTRACT}}, u"-5", 2},
        {u"5", 1, 1, 1, false, {{VK_SUBTRACT}, {VK_NUMPAD5}}, u"5", 1},  // keypad without NumLock
        {u"12", 2, 2, 0, false, {{VK_OEM_PERIOD}}, u"12", 2},
        {u"12", 1, 1, 2, false, {{VK_OEM_PERIOD}, {VK_OEM_PERIOD}}, u"1.2", 2},
        {u"1.5", 0, 3, 2, false, {{VK_OEM_PERIOD}}, u".", 1},  // a selected point is typed over
        {u"1", 1, 1, 2, true, {{VK_DECIMAL}, {VK_NUMPAD5}}, u"1.5", 3},
        {u"12", 2, 2, 2, false, {{VK_OEM_PERIOD, kShift}, {'A'}, {VK_SPACE}}, u"12", 2},
        {u"123", 3, 3, 1, false, {{VK_BACK}}, u"12", 2},
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

TEST_F(CellEditTest, EndingKeysGiveTheFocusBackAndAreRemembered) {
    struct Row {
        int textMode, arrows;
        std::vector<Stroke> keys;  // the last one ends the edit, or not
        bool ends;
        const char16_t* result;
    };
    const Row rows[] = {
        {1, 0, {{'X'}, {VK_TAB}}, true, u"x"},
        {0, 0, {{'5'}, {VK_RETURN}}, true, u"5"},
        {1, 0, {{'X'}, {VK_ESCAPE}}, true, u"abc"},  // text mode restores the text
        {0, 0, {{'5'}, {VK_ESCAPE}}, true, u"5"},    // numeric mode does not
        {1, 0, {{VK_LEFT}}, true, u"abc"},
        {1, 1, {{VK_LEFT}, {'X'}}, false, u"abxc"},  // opened by F2 or a double click
        {1, 0, {{VK_END}, {VK_LEFT, kShift}, {'X'}}, false, u"abx"},
    };
    for (const Row& r : rows) {
        Open(r.textMode, r.textMode != 0 ? u"abc" : u"1.5", r.arrows ? 3 : 0, r.arrows ? 3 : -1, 1, r.arrows);
        Press(r.keys);
        EXPECT_EQ(TextOf(edit), r.result);
        EXPECT_EQ(CWnd::GetFocus() == &host && !edit.IsWindowVisible(), r.ends) << TextOf(edit).size();
        EXPECT_EQ(edit.lastKey.message, r.ends ? WM_KEYDOWN : 0u);
        EXPECT_EQ(edit.lastKey.wParam, r.ends ? static_cast<WPARAM>(r.keys.back().vk) : 0u);
    }
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
        {u"5-3", u"3", 1, 1, u"3", 1, 1, 1},        {u"-7", u"12", 0, 0, u"-712", 0, 2, 0},
        {u"-7", u"12", 1, 1, u"12", 1, 1, 1},       {u"1.5", u"3.2", 3, 3, u"3.2", 3, 3, 1},
        {u".5", u"3", 0, 0, u"3", 0, 0, 1},         {u"4.", u"3", 0, 0, u"4.3", 0, 2, 0},
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
    const std::pair<const char16_t*, const char16_t*> shown[] = {
        {u"2.50", u"2.5"}, {u"3.0", u"3"}, {u" -4.5x", u"-4.5"}, {u"abc", u"0"}, {nullptr, u"0"}, {u"1e999", u"0"}};
    for (const auto& [text, result] : shown) {
        edit.SetEditText(text);
        EXPECT_EQ(TextOf(edit), result);
    }
}

TEST_F(CellEditTest, LongTextsEmptyAndLockedClipboardsLoseNothing) {
    const std::u16string big(5000, u'w');
    Open(1, big.c_str());
    desktop.KeyPress('X', kControl);
    EXPECT_EQ(Clipboard(), big);
    desktop.KeyPress('Z', kControl);
    EXPECT_EQ(TextOf(edit), big);
    std::u16string huge(200000, u'h');
    huge[150000] = u'\n';
    ASSERT_TRUE(desktop.SetClipboardText(huge));
    desktop.KeyPress('V', kControl);
    EXPECT_EQ(TextOf(edit), huge.substr(0, 150000));
    // Another window holds the clipboard open, then it is empty: nothing moves.
    edit.SetWindowText(u"keep");
    edit.SetSel(0, -1);
    edit.lastOperation = 0;
    ASSERT_TRUE(OpenClipboard(host.m_hWnd));
    Press({{'C', kControl}, {'X', kControl}, {'V', kControl}});
    CloseClipboard();
    ASSERT_TRUE(desktop.SetClipboardText(u""));
    desktop.KeyPress('V', kControl);
    EXPECT_EQ(TextOf(edit), u"keep");
    EXPECT_EQ(edit.lastOperation, 0);
}

TEST_F(CellEditTest, ShowingFocusingAndLeavingSwapFontInputContextAndNotify) {
    const HFONT original = reinterpret_cast<HFONT>(edit.SendMessage(WM_GETFONT));
    ASSERT_TRUE(edit.font.CreatePointFont(140, u"DejaVu Sans"));
    const HIMC context = edit.imeContext;
    ASSERT_NE(context, nullptr);
    edit.textMode = 0;
    edit.SetEditText(u"1.50");
    edit.ShowWindow(SW_SHOW);
    edit.SetFocus();
    EXPECT_EQ(reinterpret_cast<HFONT>(edit.SendMessage(WM_GETFONT)), static_cast<HFONT>(edit.font));
    EXPECT_EQ(edit.startText, CString(u"1.5"));
    EXPECT_EQ(Sel(), std::make_pair(0, 3));
    // A number is typed without an input method.
    EXPECT_EQ(ImmGetContext(edit.m_hWnd), nullptr);
    EXPECT_FALSE(desktop.Backend().TextInputOn());
    desktop.TypeChar(u'7');
    EXPECT_EQ(TextOf(edit), u"1.5");
    // Changes reach the parent as notifications from the box.
    tq3::testing::MessageSpy spy;
    spy.Watch(host.m_hWnd, "host");
    spy.KeepOnly({WM_NOTIFY});
    desktop.KeyPress('4');
    EXPECT_TRUE(spy.Compare({tq3::testing::Notify(EN_UPDATE, kEditId), tq3::testing::Notify(EN_CHANGE, kEditId)}));
    desktop.KeyPress(VK_RETURN);
    EXPECT_EQ(ImmGetContext(edit.m_hWnd), context);
    EXPECT_TRUE(desktop.Backend().TextInputOn());
    EXPECT_EQ(reinterpret_cast<HFONT>(edit.SendMessage(WM_GETFONT)), original);
    // Shown again: the ending key is forgotten and text mode composes.
    Open(1, u"");
    EXPECT_EQ(edit.lastKey.message, 0u);
    desktop.TypeChar(u'\u00E9');
    EXPECT_EQ(TextOf(edit), u"\u00E9");
    // Losing the focus to another window hides the box without an ending key.
    host.SetFocus();
    EXPECT_FALSE(edit.IsWindowVisible());
    EXPECT_EQ(edit.lastKey.message, 0u);
}

}  // namespace
}  // namespace tq3::test
