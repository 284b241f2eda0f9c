// Controls and message boxes when memory runs out: every allocation is failed in
// turn; each failure must end in a refusal (no control, a box answered 0), never
// in a crash, and must leave the owner usable.
#include <gtest/gtest.h>

#include "framework/controls/button.h"
#include "framework/controls/static_control.h"
#include "framework/dialogs/message_box.h"
#include "tests/support/failing_allocator.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

class ControlsOutOfMemory : public ::testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExW(0, u"Static", u"Owner", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        desktop.RunUntilIdle();
    }

    tq3::testing::Desktop desktop{640, 480};
    HWND owner = nullptr;
};

TEST_F(ControlsOutOfMemory, ControlCreationFailsCleanly) {
    struct Case {
        LPCWSTR cls;
        DWORD style;
        LRESULT dialogCode;  // asked of the control once it exists
    } cases[] = {
        {u"Button", BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {u"Static", SS_LEFT, DLGC_STATIC},
    };
    for (const Case& c : cases) {
        HWND control = nullptr;
        const SweepResult sweep = SweepAllocations({
            .operation =
                [&] {
                    control = CreateWindowExW(0, c.cls, u"OK", WS_CHILD | WS_VISIBLE | c.style, 10, 10, 80, 24, owner,
                                              nullptr, nullptr, nullptr);
                },
            .check =
                [&](const SweepRun& run) {
                    ASSERT_FALSE(run.threw);
                    ASSERT_TRUE(IsWindow(owner)) << "after " << run.allowed << " allocations";
                    EXPECT_EQ(control != nullptr, run.refused == 0) << "after " << run.allowed << " allocations";
                    if (control != nullptr && run.refused > 0) DestroyWindow(control);
                },
        });
        ASSERT_TRUE(sweep.completed);
        EXPECT_GT(sweep.refusedRuns, 0);
        desktop.RunUntilIdle();
        EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0), c.dialogCode);
        DestroyWindow(control);
    }
}

TEST_F(ControlsOutOfMemory, MessageBoxAnswersZeroAndLeavesTheOwnerUsable) {
    int result = 0;
    int refusals = 0;
    const SweepResult sweep = SweepAllocations({
        .prepare =
            [&] {
                if (desktop.PendingModalAnswers() == 0) {
                    desktop.QueueModalAnswer(tq3::testing::AnswerKey(VK_RETURN, u"#32770"));
                }
            },
        .operation = [&] { result = MessageBoxW(owner, u"Out of memory?", u"Test", MB_YESNO | MB_ICONQUESTION); },
        .check =
            [&](const SweepRun& run) {
                ASSERT_FALSE(run.threw);
                // Refused: answered 0, unless what failed had a fallback; with
                // memory enough, the scripted Enter answered it.
                EXPECT_TRUE(result == 0 || result == IDYES) << result;
                EXPECT_TRUE(result == IDYES || run.refused > 0) << "after " << run.allowed << " allocations";
                refusals += result == 0;
                EXPECT_TRUE(IsWindowEnabled(owner)) << "after " << run.allowed << " allocations";
                EXPECT_EQ(FindWindowW(u"#32770", nullptr), nullptr) << "after " << run.allowed << " allocations";
                desktop.RunUntilIdle();
            },
    });
    EXPECT_TRUE(sweep.completed);
    EXPECT_GT(refusals, 0);
}

}  // namespace
}  // namespace tq3::test
