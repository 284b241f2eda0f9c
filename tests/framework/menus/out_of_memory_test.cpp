// Menus when memory runs out: every allocation is failed in turn while a menu is
// built from a table. Each failure must end in the platform's failure value with
// no half-built menu left behind.
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

TEST(MenusOutOfMemory, BuildingFailsWithTheFailureValueAndLeavesNothing) {
    tq3::testing::Desktop desktop{640, 480};
    HMENU menu = nullptr;
    const SweepResult sweep = SweepAllocations({
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
}

}  // namespace
}  // namespace tq3::test
