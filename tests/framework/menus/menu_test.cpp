// Pop-up menus as the user works them, through TrackPopupMenu's modal loop: what
// the owner hears, keyboard and mouse picks, disabled items, placement at the
// desktop's edges, a menu too long for the desktop; and the menu calls with
// their failure values.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
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

tq3::fw::HeadlessBackend& Backend() { return *tq3::fw::HeadlessBackend::Current(); }

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

TEST(MenuCalls, ItemsAreMadeChangedQueriedAndRefusedWithThePlatformsValues) {
    tq3::testing::Desktop desktop{800, 600};
    HMENU menu = MakeEditMenu();
    ASSERT_EQ(GetMenuItemCount(menu), 9);
    EXPECT_EQ(GetMenuItemID(menu, 1), 0u) << "separator";
    EXPECT_EQ(GetMenuItemID(menu, 8), 0xFFFFFFFFu) << "pop-up item";
    EXPECT_EQ(GetMenuState(menu, 8, MF_BYPOSITION), MF_POPUP | (1u << 8)) << "the submenu's count in the high byte";
    EXPECT_EQ(GetMenuState(menu, kSelectAll, MF_BYCOMMAND), 0u) << "found inside the submenu";
    WCHAR text[32] = {};
    EXPECT_EQ(GetMenuStringW(menu, kCopy, text, 4, MF_BYCOMMAND), 3) << "cut to the buffer";
    EXPECT_EQ(std::u16string(text), u"&Co");

    EXPECT_EQ(EnableMenuItem(menu, kPaste, MF_ENABLED), static_cast<BOOL>(MF_GRAYED)) << "the previous state";
    EXPECT_EQ(CheckMenuItem(menu, kCut, MF_CHECKED), MF_UNCHECKED);
    EXPECT_TRUE(InsertMenuW(menu, kCut, MF_BYCOMMAND, 7, u"Before cut"));
    EXPECT_TRUE(ModifyMenuW(menu, 7, MF_BYCOMMAND | MF_STRING, 8, u"Changed"));
    EXPECT_EQ(GetMenuItemID(menu, 2), 8u);
    EXPECT_TRUE(DeleteMenu(menu, 8, MF_BYCOMMAND));

    // RemoveMenu keeps the submenu, DeleteMenu destroys it.
    HMENU more = GetSubMenu(menu, 8);
    ASSERT_NE(more, nullptr);
    EXPECT_TRUE(RemoveMenu(menu, 8, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(more));
    EXPECT_TRUE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), u"More"));
    EXPECT_TRUE(DeleteMenu(menu, 8, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(more));

    // What does not exist fails as on the platform.
    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCEW(9999)), nullptr);
    EXPECT_EQ(GetMenuState(menu, 12345, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_EQ(EnableMenuItem(menu, 12345, MF_GRAYED), -1);
    EXPECT_EQ(CheckMenuItem(menu, 99, MF_BYPOSITION | MF_CHECKED), 0xFFFFFFFFu);
    EXPECT_EQ(GetSubMenu(menu, 0), nullptr);
    EXPECT_FALSE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), u"Gone"));
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

    // TPM_NONOTIFY: no notifications, no command; TPM_RETURNCMD hands the pick back.
    spy.Clear();
    EXPECT_EQ(Track({AnswerMenuItem(kFind)}, TPM_RETURNCMD | TPM_NONOTIFY), kFind);
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_ENTERMENULOOP), Msg(WM_EXITMENULOOP)})));
}

TEST_F(PopupMenuTest, KeysAndMnemonicsMoveOpenAndPickButDisabledItemsAreNeverPicked) {
    struct Case {
        const char* what;
        std::vector<int> keys;  // virtual keys; a letter's key types it
        UINT expected;
    } cases[] = {
        {"separators skipped", {VK_DOWN, VK_DOWN, VK_RETURN}, kCut},
        {"up wraps to the last", {VK_UP, VK_UP, VK_RETURN}, kReplace},
        {"a mnemonic picks", {'T'}, kCut},
        {"right opens the submenu", {VK_UP, VK_RIGHT, VK_RETURN}, kSelectAll},
        {"left closes it again", {VK_UP, VK_RIGHT, VK_LEFT, VK_UP, VK_RETURN}, kReplace},
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

TEST_F(PopupMenuTest, TheMouseDragsToAPickOpensCascadesAndClosesOutside) {
    auto itemCentre = [](HWND window, UINT id) {
        auto shown = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(shown); ++i) {
            RECT r{};
            if (GetMenuItemID(shown, i) == id && GetMenuItemRect(nullptr, shown, static_cast<UINT>(i), &r)) {
                return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            }
        }
        ADD_FAILURE() << "no item " << id;
        return POINT{0, 0};
    };
    // Press on Cut, drag over Copy, release on Find.
    EXPECT_EQ(Track({ModalAnswer{kPopupMenuClass, {}, [&](HWND window) {
                                     Backend().MouseDown(tq3::fw::InputEvent::Button::Left, itemCentre(window, kCut));
                                     Backend().MouseMove(itemCentre(window, kCopy));
                                     Backend().MouseUp(tq3::fw::InputEvent::Button::Left, itemCentre(window, kFind));
                                 }}}),
              kFind);
    // A cascade: the submenu opens beside its item, and its item is picked.
    RECT parent{}, child{};
    EXPECT_EQ(Track({AnswerMenuItem(u"More"), Look([&](HWND window) {
                                                  GetWindowRect(window, &child);
                                                  GetWindowRect(GetWindow(window, GW_HWNDNEXT), &parent);
                                              }),
                     AnswerMenuItem(u"Select All")}),
              kSelectAll);
    EXPECT_GE(child.left, parent.right - 4) << "beside the parent menu";
    // A click outside every menu closes it without a pick.
    EXPECT_EQ(Track({ModalAnswer{kPopupMenuClass, {}, [](HWND) {
                                     Backend().Click(tq3::fw::InputEvent::Button::Left, POINT{700, 20});
                                 }}}),
              0u);
}

TEST_F(PopupMenuTest, AlignmentFlagsPlaceTheMenuAndTheDesktopsEdgesFlipIt) {
    RECT seen{};
    auto measure = [&] { return std::vector<ModalAnswer>{Look([&](HWND w) { GetWindowRect(w, &seen); }),
                                                        AnswerKey(VK_ESCAPE, kPopupMenuClass)}; };
    Track(measure());
    const int width = seen.right - seen.left, height = seen.bottom - seen.top;
    EXPECT_EQ(CRect(seen).TopLeft(), CPoint(150, 150));
    struct Case {
        const char* what;
        UINT flags;
        POINT at;
        POINT expected;  // top-left corner
    } cases[] = {
        {"right aligned", TPM_RIGHTALIGN, {400, 100}, {400 - width, 100}},
        {"centred", TPM_CENTERALIGN | TPM_VCENTERALIGN, {400, 300}, {400 - width / 2, 300 - height / 2}},
        {"bottom aligned", TPM_BOTTOMALIGN, {300, 500}, {300, 500 - height}},
        {"flipped left at the right edge", 0, {790, 100}, {790 - width, 100}},
        {"flipped up at the bottom", 0, {100, 590}, {100, 590 - height}},
        {"kept on the desktop", TPM_RIGHTALIGN, {10, 10}, {0, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Track(measure(), TPM_RETURNCMD | c.flags, c.at);
        EXPECT_EQ(CRect(seen).TopLeft(), CPoint(c.expected));
    }
}

TEST_F(PopupMenuTest, AMenuTallerThanTheDesktopScrollsItsItemsToTheHighlight) {
    HMENU tall = CreatePopupMenu();
    for (UINT i = 1; i <= 120; ++i) AppendMenuW(tall, MF_STRING, i, (u"Item " + std::u16string(1, u'A' + i % 26)).c_str());
    std::swap(menu, tall);
    RECT window{}, last{};
    EXPECT_EQ(Track({AnswerKey(VK_UP, kPopupMenuClass), Look([&](HWND w) {
                         GetWindowRect(w, &window);
                         GetMenuItemRect(nullptr, menu, 119, &last);
                     }),
                     AnswerKey(VK_RETURN, kPopupMenuClass)}),
              120u);
    std::swap(menu, tall);
    DestroyMenu(tall);
    EXPECT_LE(window.bottom - window.top, 600) << "no taller than the desktop";
    EXPECT_GE(last.top, window.top) << "the last item scrolled into view";
    EXPECT_LE(last.bottom, window.bottom);
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

TEST_F(PopupMenuTest, AMenuLeftWithoutAnAnswerFailsLoudly) {
    std::string failure;
    desktop.SetFailureHandler([&](const std::string& description) {
        failure = description;
        EndMenu();
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 0);
    EXPECT_NE(failure.find("#32768"), std::string::npos) << failure;
    EXPECT_EQ(FindWindowW(kPopupMenuClass, nullptr), nullptr);
}

}  // namespace
}  // namespace tq3::test
