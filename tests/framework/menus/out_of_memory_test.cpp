// Menus when memory runs out: every allocation is failed in turn while a menu is
// built from a table and while one is shown. Each failure must end in the
// platform's failure value with nothing left behind: no half-built menu, no menu
// window, no mouse capture, the owner usable.
#include <gtest/gtest.h>

#include "framework/menus/menu.h"
#include "tests/support/failing_allocator.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

constexpr TQ3MenuItemData kItems[] = {
    {TQ3_MENU_POPUP, 0, u"&Edit"},     {0, 1, u"&Undo\tCtrl+Z"},   {TQ3_MENU_SEPARATOR, 0, nullptr},
    {TQ3_MENU_POPUP, 0, u"&More"},     {TQ3_MENU_END, 2, u"&All"}, {TQ3_MENU_END, 3, u"&Copy\tCtrl+C"},
    {TQ3_MENU_END, 4, u"&Help"},
};
constexpr MENUTEMPLATEW kTable{7, kItems};

TEST(MenusOutOfMemory, BuildingAndShowingFailWithTheFailureValueAndLeaveNothing) {
    tq3::testing::Desktop desktop{640, 480};
    HWND owner = CreateWindowExW(0, u"Static", u"Owner", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    desktop.RunUntilIdle();

    HMENU menu = nullptr;
    SweepResult sweep = SweepAllocations({
        .operation = [&] { menu = LoadMenuIndirectW(&kTable); },
        .check =
            [&](const SweepRun& run) {
                ASSERT_FALSE(run.threw);
                EXPECT_EQ(menu != nullptr, run.refused == 0) << "after " << run.allowed << " allocations";
                if (menu != nullptr) {
                    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 4);
                    EXPECT_EQ(GetMenuItemID(menu, 1), 4u);
                    DestroyMenu(menu);
                }
            },
    });
    ASSERT_TRUE(sweep.completed);
    EXPECT_GT(sweep.refusedRuns, 0);

    HMENU bar = LoadMenuIndirectW(&kTable);
    HMENU shown = GetSubMenu(bar, 0);
    ASSERT_NE(shown, nullptr);
    UINT picked = 0;
    int refusals = 0;
    sweep = SweepAllocations({
        .prepare =
            [&] {
                if (desktop.PendingModalAnswers() == 0) desktop.QueueModalAnswer(tq3::testing::AnswerMenuItem(1));
            },
        .operation = [&] { picked = static_cast<UINT>(TrackPopupMenu(shown, TPM_RETURNCMD, 100, 100, 0, owner, nullptr)); },
        .check =
            [&](const SweepRun& run) {
                ASSERT_FALSE(run.threw);
                EXPECT_TRUE(picked == 1 || run.refused > 0) << "after " << run.allowed << " allocations";
                refusals += picked == 0;
                EXPECT_EQ(FindWindowW(kPopupMenuClass, nullptr), nullptr) << "after " << run.allowed << " allocations";
                EXPECT_EQ(GetCapture(), nullptr);
                EXPECT_TRUE(IsWindowEnabled(owner));
                EXPECT_EQ(GetMenuItemCount(shown), 4) << "the menu is as it was";
            },
        .sparse = true,
    });
    ASSERT_TRUE(sweep.completed);
    EXPECT_GT(refusals, 0);
    desktop.RunUntilIdle();
    DestroyMenu(bar);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace tq3::test
