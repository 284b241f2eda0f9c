// The drop-down list of list cells and the numeric combo box: ending keys and
// first-character choice of the one; the key filter, clipboard commands, paste as
// typed keys and cleaning of the other's edit part.
#include "framework/system/clipboard.h"
#include "tests/table_view/cell_editor_fixture.h"
#include "view/cell_combo.h"

namespace tq3::test {
namespace {

class CellComboTest : public CellEditorTest {
protected:
    void SetUp() override {
        CellEditorTest::SetUp();
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(10, 10, 210, 130), &host, 1002));
        for (const char16_t* s : {u"apple", u"banana", u"blueberry", u"cherry"}) list.AddString(s);
    }
    void TearDown() override {
        list.DestroyWindow();
        CellEditorTest::TearDown();
    }
    void Open() {
        list.ShowDropDown(FALSE);
        list.SetCurSel(0);
        list.ShowWindow(SW_SHOW);
        list.SetFocus();
        desktop.RunUntilIdle();
    }
    CCellCombo list;
};

TEST_F(CellComboTest, KeysChangeTheEntryOrEndTheEdit) {
    struct Row {
        const char* what;
        std::vector<Stroke> keys;
        int current;
        bool ends;
    };
    const Row rows[] = {
        {"Down and Up change the entry", {{VK_DOWN}, {VK_DOWN}, {VK_UP}}, 1, false},
        {"a letter picks the first entry with it", {{'B'}, {'B'}}, 1, false},
        {"a letter no entry starts with", {{VK_DOWN}, {'Z'}}, 1, false},
        {"Down in the open list", {{VK_F4}, {VK_DOWN}}, 1, false},
        {"Enter", {{VK_DOWN}, {VK_RETURN}}, 1, true},
        {"Escape", {{VK_ESCAPE}}, 0, true},
        {"Left", {{VK_LEFT}}, 0, true},
        {"Right", {{VK_RIGHT}}, 0, true},
    };
    for (const Row& r : rows) {
        Open();
        tq3::testing::MessageSpy spy;
        spy.Watch(list.m_hWnd, "list");
        Press(r.keys);
        // A key that ends the edit stops at the list's filter: the list never handles it.
        for (const auto& record : spy.Find(list.m_hWnd, WM_KEYDOWN))
            EXPECT_TRUE(!r.ends || record.wParam != static_cast<WPARAM>(r.keys.back().vk)) << r.what;
        EXPECT_EQ(list.GetCurSel(), r.current) << r.what;
        EXPECT_EQ(CWnd::GetFocus() == &host, r.ends) << r.what;
        EXPECT_EQ(list.IsWindowVisible() == FALSE, r.ends) << r.what;
        EXPECT_EQ(list.lastKey.message, static_cast<UINT>(WM_KEYDOWN)) << r.what;
        EXPECT_EQ(list.lastKey.wParam, static_cast<WPARAM>(r.keys.back().vk)) << r.what;
    }
}

TEST_F(CellComboTest, ShowingSwapsTheFontAndClearsTheEndingKey) {
    const HFONT original = reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT));
    ASSERT_TRUE(list.font.CreatePointFont(140, u"DejaVu Sans"));
    list.lastKey.message = WM_KEYDOWN;
    Open();
    EXPECT_EQ(list.lastKey.message, 0u);
    EXPECT_EQ(reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT)), static_cast<HFONT>(list.font));
    // The view marks a click elsewhere as Enter; losing the focus hides the list.
    list.lastKey.message = WM_KEYDOWN;
    host.SetFocus();
    EXPECT_FALSE(list.IsWindowVisible());
    EXPECT_EQ(list.lastKey.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT)), original);
}

class NumComboTest : public CellEditorTest {
protected:
    void SetUp() override {
        CellEditorTest::SetUp();
        HWND box = CreateWindowExW(0, WC_COMBOBOXW, u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT, 10, 10, 200,
                                   120, host.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1001)), nullptr,
                                   nullptr);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(num.SubclassWindow(box));
        edit = GetWindow(box, GW_CHILD);
        ASSERT_NE(edit, nullptr);
    }
    void TearDown() override {
        num.DestroyWindow();
        CellEditorTest::TearDown();
    }
    void Start(const char16_t* text, int start, int end, BYTE decimals = 2) {
        num.SetDecimals(decimals);
        num.SetWindowText(text);
        num.SetFocus();
        num.SetEditSel(start, end);
        desktop.RunUntilIdle();
    }
    std::pair<int, int> Sel() { return {LOWORD(num.GetEditSel()), HIWORD(num.GetEditSel())}; }
    CNumCombo num;
    HWND edit = nullptr;
};

TEST_F(NumComboTest, TypingFollowsTheNumberRules) {
    struct Row {
        const char* what;
        const char16_t* text;
        int start, end;
        BYTE decimals;
        std::vector<Stroke> keys;
        const char16_t* result;
    };
    const Row rows[] = {
        {"letters and blanks do nothing", u"12", 2, 2, 2, {{'A'}, {VK_SPACE}, {'C'}, {VK_OEM_PLUS}}, u"12"},
        {"Backspace edits", u"12", 2, 2, 2, {{VK_BACK}}, u"1"},
        {"Delete edits", u"12", 0, 0, 2, {{VK_DELETE}}, u"2"},
        {"sign toggles", u"12", 2, 2, 2, {{VK_OEM_MINUS}}, u"-12"},
        {"seven digits at most", u"123456", 6, 6, 2, {{'7'}, {'8'}}, u"1234567"},
        {"point and its places", u"12", 2, 2, 2, {{VK_OEM_PERIOD}, {'5'}, {'6'}, {'7'}, {VK_OEM_PERIOD}}, u"12.56"},
        {"no point without decimals", u"12", 2, 2, 0, {{VK_OEM_PERIOD}}, u"12"},
        {"shifted period is cleaned away", u"12", 2, 2, 2, {{VK_OEM_PERIOD, kShift}}, u"12"},
        {"keypad minus without NumLock types its character", u"12", 0, 0, 2, {{VK_SUBTRACT}}, u"-12"},
    };
    SetNumLock(false);
    for (const Row& r : rows) {
        Start(r.text, r.start, r.end, r.decimals);
        Press(r.keys);
        EXPECT_EQ(TextOf(num), r.result) << r.what;
    }
}

TEST_F(NumComboTest, PasteTypesTheClipboardNumberThroughTheRules) {
    struct Row {
        const char16_t* clip;
        const char16_t* result;
    };
    const std::u16string huge = u"-" + std::u16string(100000, u'8') + u"\r\nx";
    const Row rows[] = {{u"-12", u"-12"},         {u"123456789", u"1234567"}, {u"12.345", u"12.34"},
                        {u"abc", u""},            {u"5-3", u"-53"},           {u"..5", u".5"},
                        {huge.c_str(), u"-8888888"}};
    for (const Row& r : rows) {
        Start(u"", 0, 0);
        ASSERT_TRUE(desktop.SetClipboardText(r.clip));
        desktop.KeyPress('V', kControl);
        EXPECT_EQ(TextOf(num), r.result) << std::u16string(r.clip).substr(0, 9).size();
    }
    // Shift+Insert pastes too; an empty or locked clipboard pastes nothing.
    Start(u"", 0, 0);
    ASSERT_TRUE(desktop.SetClipboardText(u"42"));
    desktop.KeyPress(VK_INSERT, kShift);
    EXPECT_EQ(TextOf(num), u"42");
    ASSERT_TRUE(desktop.SetClipboardText(u""));
    desktop.KeyPress('V', kControl);
    ASSERT_TRUE(desktop.SetClipboardText(u"7"));
    ASSERT_TRUE(OpenClipboard(host.m_hWnd));
    desktop.KeyPress('V', kControl);
    CloseClipboard();
    EXPECT_EQ(TextOf(num), u"42");
}

TEST_F(NumComboTest, CutUndoesAndRedoesAndTheTextIsKeptANumber) {
    Start(u"1234", 1, 3);
    desktop.KeyPress('X', kControl);
    EXPECT_EQ(TextOf(num), u"14");
    EXPECT_EQ(Clipboard(), u"23");
    desktop.KeyPress('Z', kControl);
    EXPECT_EQ(TextOf(num), u"1234");
    EXPECT_EQ(Sel(), std::make_pair(1, 3));
    desktop.KeyPress('Z', kControl);
    EXPECT_EQ(TextOf(num), u"14");
    num.SetEditSel(0, 1);
    desktop.KeyPress(VK_INSERT, kControl);
    EXPECT_EQ(Clipboard(), u"1");
    // Text that reaches the edit part otherwise is cut back to its number.
    SetWindowTextW(edit, u"12ab");
    desktop.RunUntilIdle();
    EXPECT_EQ(TextOf(num), u"12");
    EXPECT_EQ(Sel(), std::make_pair(2, 2));
    SetWindowTextW(edit, u"ab");
    desktop.RunUntilIdle();
    EXPECT_EQ(TextOf(num), u"0");
    // The number set is remembered and shown with the decimals.
    num.SetEditText(u"3.750");
    EXPECT_EQ(TextOf(num), u"3.75");
    EXPECT_DOUBLE_EQ(num.value, 3.75);
    num.SetDecimals(1);
    num.SetDigits(5, TRUE);
    EXPECT_EQ(TextOf(num), u"3.8");
    EXPECT_EQ(num.digits, 5);
    num.SetEditText(nullptr);
    EXPECT_EQ(TextOf(num), u"0");
}

TEST_F(NumComboTest, AttachedBoxIsUnsortedWithoutInputMethodUntilDetached) {
    EXPECT_EQ(num.GetStyle() & CBS_SORT, 0u);
    EXPECT_EQ(num.GetStyle() & 0x3u, static_cast<DWORD>(CBS_DROPDOWN));
    Start(u"1", 1, 1);
    EXPECT_EQ(ImmGetContext(edit), nullptr);
    EXPECT_FALSE(desktop.Backend().TextInputOn());
    desktop.TypeChar(u'5');
    EXPECT_EQ(TextOf(num), u"1");
    HWND box = num.UnsubclassWindow();
    EXPECT_NE(ImmGetContext(edit), nullptr);
    EXPECT_TRUE(desktop.Backend().TextInputOn());
    desktop.KeyPress('A');  // no filter any more
    EXPECT_EQ(TextOf(*CWnd::FromHandle(box)), u"1a");
    DestroyWindow(box);
}

}  // namespace
}  // namespace tq3::test
