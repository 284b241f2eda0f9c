// The view's context menu, the state of its edit commands as a host's menus ask
// for it, and the undo buffer the host fills.
#include <optional>
#include <string>
#include <vector>

#include "framework/menus/menu.h"
#include "framework/system/clipboard.h"
#include "tests/table_view/clipboard_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerKey;
using tq3::testing::Button;
using tq3::testing::ModalAnswer;

// A menu item asking for its state, as the frame's menus ask.
struct StateProbe : CCmdUI {
    std::optional<BOOL> enabled;
    void Enable(BOOL on) override {
        enabled = on;
        m_bEnableChanged = TRUE;
    }
};

class CommandsTest : public ClipboardTest {
protected:
    void Build(int lines = 4) {
        AddSheets(1, 3, lines);
        SetWidths(0, {80, 80, 80});
        view->SetSelSheet(0);
        desktop.RunUntilIdle();
    }
    bool Enabled(UINT id) {
        StateProbe probe;
        probe.m_nID = id;
        probe.DoUpdate(frame, TRUE);
        return probe.enabled.value_or(false);
    }

    // What the menu showed on a right click at `at`: its command ids in order (0
    // for a separator) and whether Paste was greyed. Nothing when no menu opened.
    struct Shown {
        std::vector<UINT> ids;
        bool pasteGrey = false;
    };
    std::optional<Shown> RightClick(CPoint at) {
        std::optional<Shown> shown;
        desktop.QueueModalAnswer(ModalAnswer{kPopupMenuClass, {}, [&](HWND window) {
                                                 auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
                                                 Shown s;
                                                 for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                                                     s.ids.push_back(GetMenuItemID(menu, i));
                                                 }
                                                 const UINT paste = GetMenuState(menu, ID_EDIT_PASTE, MF_BYCOMMAND);
                                                 s.pasteGrey = paste != static_cast<UINT>(-1) && (paste & MF_GRAYED) != 0;
                                                 shown = s;
                                                 PostMessageW(window, WM_NULL, 0, 0);
                                             }});
        desktop.QueueModalAnswer(AnswerKey(VK_ESCAPE, kPopupMenuClass));
        desktop.Click(view->m_hWnd, at, Button::Right);
        return shown;
    }
};

constexpr UINT U = ID_EDIT_UNDO, X = ID_EDIT_CUT, C = ID_EDIT_COPY, P = ID_EDIT_PASTE, F = ID_EDIT_FIND,
               R = ID_EDIT_REPLACE;

TEST_F(CommandsTest, TheContextMenuKeepsTheItemsTheMaskAllows) {
    Build();
    struct Row {
        DWORD mask;
        bool clipboardText;
        std::vector<UINT> ids;
        bool pasteGrey;
    } rows[] = {
        {kEditFunctionsDefault, false, {U, 0, X, C, P, 0, F, R}, true},
        {kEditFunctionsDefault, true, {U, 0, X, C, P, 0, F, R}, false},
        {0x36, true, {X, P, 0, F, R}, false},
        {0x40, false, {U, 0, 0}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mask);
        view->SetEditFunctions(row.mask);
        desktop.SetClipboardText(row.clipboardText ? u"x" : u"");
        auto shown = RightClick(Middle(1, 1));
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(shown->ids, row.ids);
        EXPECT_EQ(shown->pasteGrey, row.pasteGrey);
    }
}

TEST_F(CommandsTest, ARightClickOutsideTheSelectionMovesItAndTheMenuKeyEndsADrag) {
    Build();
    Select(0, 0, 1, 1);
    ASSERT_TRUE(RightClick(Middle(1, 0)).has_value());
    EXPECT_EQ(Sel(), CRect(0, 0, 1, 1)) << "inside: kept";
    ASSERT_TRUE(RightClick(Middle(3, 2)).has_value());
    EXPECT_EQ(Sel(), CRect(2, 3, 2, 3)) << "outside: the clicked cell";

    // The menu key in the middle of a drag ends the drag: the view lets the mouse go.
    desktop.MouseDown(view->m_hWnd, Middle(0, 0));
    ASSERT_EQ(::GetCapture(), view->m_hWnd);
    desktop.KeyPress(VK_APPS);
    EXPECT_EQ(::GetCapture(), nullptr);
    desktop.MouseUp(view->m_hWnd, Middle(0, 0));
}

struct Entry : CObject {
    Entry(std::vector<int>& deleted, int n) : deleted(deleted), n(n) {}
    ~Entry() override { deleted.push_back(n); }
    std::vector<int>& deleted;
    int n;
};

TEST_F(CommandsTest, CommandStateAndTheHostsUndoEntries) {
    Build(0);
    EXPECT_TRUE(Enabled(ID_EDIT_CUT));
    EXPECT_FALSE(Enabled(ID_EDIT_FIND)) << "a sheet without lines";
    EXPECT_FALSE(Enabled(ID_EDIT_REPLACE));
    view->InsertLine(0, 0, u"a\tb\tc");
    EXPECT_TRUE(Enabled(ID_EDIT_REPLACE));
    desktop.SetClipboardText(u"");
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
    desktop.SetClipboardText(u"z");
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    ASSERT_TRUE(OpenClipboard(frame->m_hWnd));
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE)) << "the clipboard held open by another window";
    CloseClipboard();
    desktop.SetClipboardText(u"z");
    view->SetEditFunctions(0);
    EXPECT_TRUE(Enabled(ID_EDIT_COPY)) << "the mask does not grey the host's items";

    // Undo follows the host's entries; the view deletes them and records none itself.
    view->SetEditFunctions(kEditFunctionsDefault);
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    std::vector<int> deleted;
    for (int n = 1; n <= 2; ++n) view->UndoBuffer().AddTail(new Entry(deleted, n));
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
    Select(0, 0, 1, 0);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(view->UndoBuffer().GetCount(), 2);
    EXPECT_EQ(view->RemoveUndoBuffer(), 1);
    EXPECT_EQ(deleted, (std::vector<int>{2, 1}));
}

}  // namespace
}  // namespace tq3::test
