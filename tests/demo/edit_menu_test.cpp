// The demo frame's Edit menu driven with its keys: the items' state as the view
// reports it, and the demo's own undo entries for pastes, cuts and edits in place.
#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include "demo/demo_frame.h"
#include "framework/core/utf.h"
#include "framework/menus/menu.h"
#include "framework/window/virtual_keys.h"
#include "tests/demo/small_demo.h"

namespace tq3::test {
namespace {

using tq3::demo::CDemoFrame;

constexpr int kIoSheet = 2;

class DemoEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = OpenSmallDemo();
        ASSERT_NE(frame, nullptr);
        view = frame->View();
        view->SetSelSheet(kIoSheet);
        desktop.RunUntilIdle();
    }
    void TearDown() override {
        if (frame != nullptr) frame->DestroyWindow();
        desktop.RunUntilIdle();
    }

    // The Edit menu's items as the user sees them when it opens: "Undo- Cut+ ..."
    // with - for a greyed item.
    std::string MenuState() {
        HMENU edit = ::GetSubMenu(::GetMenu(frame->m_hWnd), 0);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 0);
        std::string state;
        const std::pair<UINT, const char*> items[] = {{ID_EDIT_UNDO, "Undo"}, {ID_EDIT_CUT, "Cut"},
                                                      {ID_EDIT_COPY, "Copy"}, {ID_EDIT_PASTE, "Paste"},
                                                      {ID_EDIT_FIND, "Find"}, {ID_EDIT_REPLACE, "Replace"}};
        for (const auto& [id, name] : items) {
            if (!state.empty()) state += ' ';
            state += name;
            state += (::GetMenuState(edit, id, MF_BYCOMMAND) & MF_GRAYED) != 0 ? '-' : '+';
        }
        return state;
    }
    std::string Cell(int line, int column) {
        CString text = view->GetCellText(kIoSheet, line, column);
        return tq3::fw::ToUtf8(std::u16string_view(text.GetString(), text.GetLength()));
    }
    void Select(int top, int left, int bottom, int right) {
        view->SetSel(CRect(left, top, right, bottom), CPoint(left, top));
        desktop.RunUntilIdle();
    }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    CDemoFrame* frame = nullptr;
    demo::CDemoView* view = nullptr;
};

TEST_F(DemoEditTest, MenuKeysPasteCutAndUndoTheirOwnSteps) {
    EXPECT_EQ(MenuState(), "Undo- Cut+ Copy+ Paste- Find+ Replace+");

    Select(0, 1, 1, 2);
    desktop.KeyPress('C', tq3::testing::kControl);
    const std::string first = Cell(0, 1), second = Cell(1, 2);
    EXPECT_EQ(desktop.ClipboardText().value_or(u""),
              tq3::fw::Utf8ToU16(first + "\t" + Cell(0, 2) + "\r\n" + Cell(1, 1) + "\t" + second + "\r\n"));
    EXPECT_EQ(MenuState(), "Undo- Cut+ Copy+ Paste+ Find+ Replace+");

    // Pasted twice over four lines: one undo step.
    const std::string before12 = Cell(12, 1), before13 = Cell(13, 2);
    Select(10, 1, 13, 2);
    desktop.KeyPress('V', tq3::testing::kControl);
    EXPECT_EQ(Cell(12, 1), first);
    EXPECT_EQ(Cell(13, 2), second);
    EXPECT_EQ(view->UndoCount(), 1);
    EXPECT_EQ(MenuState(), "Undo+ Cut+ Copy+ Paste+ Find+ Replace+");

    // A cut empties the selected cells and is a step of its own.
    const std::string before20 = Cell(20, 1), before21 = Cell(21, 1), beside = Cell(20, 0);
    Select(20, 1, 21, 1);
    desktop.KeyPress('X', tq3::testing::kControl);
    EXPECT_EQ(Cell(20, 1), "");
    EXPECT_EQ(Cell(21, 1), "");
    EXPECT_EQ(Cell(20, 0), beside);
    EXPECT_EQ(view->UndoCount(), 2);

    // While the edit box is open the keys act on its text, not on the cells.
    Select(30, 1, 30, 1);
    const std::string before30 = Cell(30, 1);
    desktop.KeyPress(VK_F2);
    desktop.KeyPress('V', tq3::testing::kControl);
    desktop.KeyPress(VK_ESCAPE);
    desktop.RunUntilIdle();
    EXPECT_EQ(Cell(30, 1), before30);
    EXPECT_EQ(view->UndoCount(), 2);

    // Undo goes back newest first, selecting what it restores, until nothing is left.
    desktop.KeyPress('Z', tq3::testing::kControl);
    EXPECT_EQ(Cell(20, 1), before20);
    EXPECT_EQ(Cell(21, 1), before21);
    CRect selection;
    CPoint cursor;
    ASSERT_TRUE(view->Selection(&selection, &cursor));
    EXPECT_EQ(selection, CRect(1, 20, 1, 21));
    desktop.KeyPress('Z', tq3::testing::kControl);
    EXPECT_EQ(Cell(12, 1), before12);
    EXPECT_EQ(Cell(13, 2), before13);
    EXPECT_EQ(MenuState(), "Undo- Cut+ Copy+ Paste+ Find+ Replace+");
    desktop.KeyPress('Z', tq3::testing::kControl);  // nothing left: nothing happens
    EXPECT_EQ(Cell(12, 1), before12);
}

// The menu bar speaks the demo's language, and changing the language rebuilds it
// with the same commands and keys.
TEST_F(DemoEditTest, MenuBarFollowsTheLanguage) {
    auto labels = [this] {
        HMENU bar = ::GetMenu(frame->m_hWnd);
        HMENU edit = ::GetSubMenu(bar, 0);
        WCHAR text[64]{};
        std::u16string all;
        for (HMENU menu : {bar, edit, ::GetSubMenu(bar, 1)}) {
            ::GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
            all += text;
            all += u"|";
        }
        ::GetMenuStringW(edit, ID_EDIT_PASTE, text, 64, MF_BYCOMMAND);
        return all + text;
    };
    EXPECT_EQ(labels(), u"&Edit|&Undo\tCtrl+Z|&Font...|&Paste\tCtrl+V");
    frame->SetLanguage(1);
    EXPECT_EQ(labels(), u"編集(&E)|元に戻す(&U)\tCtrl+Z|フォント(&F)...|貼り付け(&P)\tCtrl+V");
    EXPECT_EQ(MenuState(), "Undo- Cut+ Copy+ Paste- Find+ Replace+");
    // The keys still reach the view.
    Select(0, 1, 0, 1);
    desktop.KeyPress('C', tq3::testing::kControl);
    EXPECT_EQ(desktop.ClipboardText().value_or(u""), tq3::fw::Utf8ToU16(Cell(0, 1) + "\r\n"));
    frame->SetLanguage(4);
    EXPECT_EQ(labels(), u"편집(&E)|실행 취소(&U)\tCtrl+Z|글꼴(&F)...|붙여넣기(&P)\tCtrl+V");
    frame->SetLanguage(0);
}

}  // namespace
}  // namespace tq3::test
