// The demo frame's Edit menu driven with its keys: the items' state as the view
// reports it, and the demo's own undo entries for pastes and cuts. (The tour
// undoes an edit in place the same way.)
#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include "demo/demo_frame.h"
#include "framework/core/utf.h"
#include "framework/menus/menu.h"
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

}  // namespace
}  // namespace tq3::test
