// The numeric combo box's key filter: digits, one sign and one point within its
// limits.
#include "tests/table_view/cell_editor_fixture.h"
#include "view/cell_combo.h"

namespace tq3::test {
namespace {

class NumComboTest : public CellEditorTest {
protected:
    void SetUp() override {
        CellEditorTest::SetUp();
        HWND box = CreateWindowExW(0, WC_COMBOBOXW, u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT, 10, 10, 200,
                                   120, host.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1001)), nullptr,
                                   nullptr);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(num.SubclassWindow(box));
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
    CNumCombo num;
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

}  // namespace
}  // namespace tq3::test
