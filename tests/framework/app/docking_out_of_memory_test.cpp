// Floating a bar when memory runs out: each allocation the operation makes is
// refused in turn. The operation either succeeds or leaves the bar where it was,
// whole and laid out, with no floating frame left behind; afterwards the bar
// floats and docks normally.
#include "docking_fixture.h"

#include "tests/support/failing_allocator.h"

namespace tq3::test {
namespace {

// The top-level windows there are now.
int TopLevelCount() {
    int count = 0;
    for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) ++count;
    return count;
}

class DockingOutOfMemoryTest : public DockingTest {
protected:
    void SetUp() override {
        DockingTest::SetUp();
        ASSERT_TRUE(frame->EnableDocking(CBRS_ALIGN_ANY));
        MakeBar(bar, kBarA, AFX_IDW_DOCKBAR_TOP);
    }
    // Where the bar and the view are, and how many top-level windows there are.
    std::string State() const {
        return std::to_string(DockId(bar)) + " bar " + Text(PlaceOf(bar.m_hWnd)) + " view " +
               Text(PlaceOf(view->m_hWnd)) + " windows " + std::to_string(TopLevelCount());
    }
    CTestBar bar;
};

TEST_F(DockingOutOfMemoryTest, FloatingEitherHappensOrLeavesTheBarDocked) {
    std::string docked;
    BOOL floated = FALSE;
    SweepResult result = SweepAllocations({
        [&] {
            if (bar.IsFloating()) frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
            desktop.RunUntilIdle();
            docked = State();
        },
        [&] { floated = frame->FloatControlBar(&bar, CPoint(500, 300)); },
        [&](const SweepRun& run) {
            EXPECT_FALSE(run.threw);
            desktop.RunUntilIdle();
            if (floated) {
                EXPECT_TRUE(bar.IsFloating());
                EXPECT_EQ(Text(PlaceOf(bar.m_hWnd)), Text(RECT{0, 0, 120, 80}));
            } else {
                EXPECT_EQ(State(), docked) << "after " << run.allowed << " allocations";
            }
        },
    });
    EXPECT_TRUE(result.completed);
    EXPECT_GT(result.refusedRuns, 0);
    // The bar keeps working.
    ASSERT_TRUE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT));
    EXPECT_TRUE(frame->FloatControlBar(&bar, CPoint(400, 300)));
    EXPECT_TRUE(frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP));
    desktop.RunUntilIdle();
    EXPECT_EQ(PlaceOf(view->m_hWnd).top, CTestBar::kHorzThickness);
}

}  // namespace
}  // namespace tq3::test
