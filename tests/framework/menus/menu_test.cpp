// Pop-up menus as the user works them, through TrackPopupMenu's modal loop: what
// the owner hears, keyboard picks, disabled items and their look; and the menu
// calls with their failure values.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/gdi/sysmetrics.h"
#include "framework/menus/menu.h"
#include "tests/support/spy_expect.h"
#include "tests/support/test_output.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerKey;
using tq3::testing::AnswerMenuItem;
using tq3::testing::ModalAnswer;
using tq3::testing::Msg;

constexpr UINT kUndo = 57643, kCut = 57635, kCopy = 57634, kPaste = 57637, kFind = 57636, kReplace = 57641,
               kSelectAll = 57642;

// The edit commands with a greyed Paste and a submenu "More" at the end.
HMENU MakeEditMenu() {
    HMENU more = CreatePopupMenu();
    AppendMenuW(more, MF_STRING, kSelectAll, u"Select &All");
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kUndo, u"&Undo\tCtrl+Z");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCut, u"Cu&t\tCtrl+X");
    AppendMenuW(menu, MF_STRING, kCopy, u"&Copy\tCtrl+C");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, kPaste, u"&Paste\tCtrl+V");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kFind, u"&Find...\tCtrl+F");
    AppendMenuW(menu, MF_STRING, kReplace, u"R&eplace...\tCtrl+H");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), u"&More");
    return menu;
}

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = u"MenuTestOwner";
        RegisterClassW(&wc);
        owner = CreateWindowExW(0, u"MenuTestOwner", u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        desktop.RunUntilIdle();
        menu = MakeEditMenu();
    }
    void TearDown() override { DestroyMenu(menu); }

    // Runs the menu at `at` with the answers queued; returns what TrackPopupMenu did.
    UINT Track(std::vector<ModalAnswer> answers, UINT flags = TPM_RETURNCMD, POINT at = {150, 150}) {
        for (auto& answer : answers) desktop.QueueModalAnswer(std::move(answer));
        UINT result = static_cast<UINT>(TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr));
        desktop.RunUntilIdle();
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u);
        return result;
    }

    // An answer that looks at the menu window on top, then lets the next answer act.
    static ModalAnswer Look(std::function<void(HWND)> look) {
        return ModalAnswer{kPopupMenuClass, {}, [look = std::move(look)](HWND window) {
                               look(window);
                               PostMessageW(window, WM_NULL, 0, 0);
                           }};
    }

    tq3::testing::Desktop desktop{800, 600};
    HWND owner = nullptr;
    HMENU menu = nullptr;
};

TEST(MenuCalls, WhatDoesNotExistIsRefusedWithThePlatformsValues) {
    tq3::testing::Desktop desktop{800, 600};
    HMENU menu = MakeEditMenu();
    // What does not exist fails as on the platform.
    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCEW(9999)), nullptr);
    EXPECT_EQ(GetMenuState(menu, 12345, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_EQ(EnableMenuItem(menu, 12345, MF_GRAYED), -1);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_FALSE(TrackPopupMenu(menu, 0, 10, 10, 0, GetDesktopWindow(), nullptr));

    // A table that never ends is refused (the memory test loads a whole one).
    constexpr TQ3MenuItemData kItems[] = {{TQ3_MENU_POPUP, 0, u"&Edit"}, {0, kCopy, u"&Copy"}};
    const MENUTEMPLATEW unended{2, kItems};
    EXPECT_EQ(LoadMenuIndirectW(&unended), nullptr);
}

TEST_F(PopupMenuTest, APickTellsTheOwnerInTheUsualOrderAndPostsTheCommand) {
    tq3::testing::MessageSpy spy;
    spy.Watch(owner, "owner");
    spy.KeepOnly({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP, WM_COMMAND});
    HWND activeWhileShown = nullptr;
    EXPECT_EQ(Track({Look([&](HWND) { activeWhileShown = GetActiveWindow(); }), AnswerMenuItem(u"Copy")}, TPM_LEFTALIGN),
              1u)
        << "TRUE without TPM_RETURNCMD";
    EXPECT_EQ(activeWhileShown, owner) << "the menu takes no activation from its owner";
    const auto menuParam = reinterpret_cast<LPARAM>(menu);
    EXPECT_TRUE(Same(spy.Compare({
        Msg(WM_ENTERMENULOOP).WParam(TRUE),
        Msg(WM_INITMENU).WParam(reinterpret_cast<WPARAM>(menu)),
        Msg(WM_INITMENUPOPUP).WParam(reinterpret_cast<WPARAM>(menu)).LParam(0),
        Msg(WM_MENUSELECT).WParam(MAKEWPARAM(kCopy, MF_HILITE | MF_MOUSESELECT)).LParam(menuParam),
        Msg(WM_MENUSELECT).WParam(MAKEWPARAM(0, 0xFFFF)).LParam(0),
        Msg(WM_EXITMENULOOP).WParam(TRUE),
        Msg(WM_COMMAND).WParam(MAKEWPARAM(kCopy, 0)).LParam(0).Posted(),
    })));
    EXPECT_EQ(FindWindowW(kPopupMenuClass, nullptr), nullptr) << "the menu's window is gone";
}

TEST_F(PopupMenuTest, KeysAndMnemonicsMoveOpenAndPickButDisabledItemsAreNeverPicked) {
    struct Case {
        const char* what;
        std::vector<int> keys;  // virtual keys; a letter's key types it
        UINT expected;
    } cases[] = {
        {"separators skipped", {VK_DOWN, VK_DOWN, VK_RETURN}, kCut},
        {"a mnemonic picks", {'T'}, kCut},
        {"right opens the submenu", {VK_UP, VK_RIGHT, VK_RETURN}, kSelectAll},
        {"escape leaves", {VK_DOWN, VK_ESCAPE}, 0},
        {"a greyed item stays open on Enter", {'P', VK_RETURN, VK_ESCAPE}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ModalAnswer> answers;
        for (int key : c.keys) {
            answers.push_back(AnswerKey(key, kPopupMenuClass));
        }
        EXPECT_EQ(Track(std::move(answers)), c.expected);
    }

    // The mouse: a click on a greyed item keeps the menu open and sends nothing.
    tq3::testing::MessageSpy spy;
    spy.Watch(owner, "owner");
    spy.KeepOnly({WM_COMMAND});
    EXPECT_EQ(Track({AnswerMenuItem(kPaste), AnswerKey(VK_ESCAPE, kPopupMenuClass)}, 0), 1u);
    EXPECT_TRUE(spy.Log().empty()) << "no command from a disabled item";
}

TEST_F(PopupMenuTest, HighlightGreyedAndCheckedItemsLookAsTheyShould) {
    CheckMenuItem(menu, kCut, MF_CHECKED);
    tq3::testing::Capture undo, paste, check;
    RECT undoRect{};
    Track({AnswerKey(VK_DOWN, kPopupMenuClass), Look([&](HWND) {
               RECT cut{}, pasteRect{};
               GetMenuItemRect(nullptr, menu, 0, &undoRect);
               GetMenuItemRect(nullptr, menu, 2, &cut);
               GetMenuItemRect(nullptr, menu, 4, &pasteRect);
               undo = tq3::testing::CaptureDesktop(undoRect);
               paste = tq3::testing::CaptureDesktop(pasteRect);
               check = tq3::testing::CaptureDesktop(
                   RECT{cut.left, cut.top, cut.left + GetSystemMetrics(SM_CXMENUCHECK) + 4, cut.bottom});
               tq3::testing::SaveScreenshot(OutputPath("menus", "edit_menu.png"));
           }),
           AnswerKey(VK_ESCAPE, kPopupMenuClass)});
    EXPECT_GT(undo.Count(GetSysColor(COLOR_HIGHLIGHT)), (undoRect.right - undoRect.left) * (undoRect.bottom - undoRect.top) / 2)
        << "the highlighted item is filled with the selection colour";
    // The greyed label is drawn in the shadow colour over a light copy, never in the text colour.
    EXPECT_GT(paste.Count(GetSysColor(COLOR_3DSHADOW)), 10);
    EXPECT_EQ(paste.Count(GetSysColor(COLOR_MENUTEXT)), 0);
    // The check mark sits in the column left of Cut's label.
    EXPECT_GT(check.Count(GetSysColor(COLOR_MENUTEXT)), 10);
}

}  // namespace
}  // namespace tq3::test
