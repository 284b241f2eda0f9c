// Controls and message boxes when memory runs out: every allocation is failed in
// turn; each failure must end in a refusal (no control, a box answered 0), never
// in a crash, and must leave the owner usable.
#include <gtest/gtest.h>

#include "framework/controls/button.h"
#include "framework/controls/static_control.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/message_box.h"
#include "tests/support/failing_allocator.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

// A plain pop-up owner without a caption: the caption's font is first made
// inside the sweeps, so that refusing it is swept too.
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

TEST_F(ControlsOutOfMemory, DialogFromATemplateAnswersMinusOneAndLeavesNothing) {
    static constexpr DLGITEMTEMPLATEW items[] = {
        {WS_VISIBLE, 0, 7, 7, 80, 8, 0xFFFF, u"Static", u"&Label"},
        {WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 7, 20, 80, 10, 100, u"Button", u"&Check"},
        {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 100, 7, 50, 14, IDOK, u"Button", u"OK"},
    };
    static constexpr DLGTEMPLATEW dialog = {WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0, 0, 0, 160, 40, u"Dialog",
                                     8, u"MS Shell Dlg", 3, items};
    auto proc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(static_cast<DWORD>(wParam)) == IDOK) EndDialog(hwnd, IDOK);
        return message == WM_INITDIALOG;
    };
    INT_PTR result = 0;
    int refusals = 0;
    const SweepResult sweep = SweepAllocations({
        .prepare =
            [&] {
                if (desktop.PendingModalAnswers() == 0) {
                    desktop.QueueModalAnswer(tq3::testing::AnswerKey(VK_RETURN, u"#32770"));
                }
            },
        .operation = [&] { result = DialogBoxIndirectParamW(nullptr, &dialog, owner, proc, 0); },
        .check =
            [&](const SweepRun& run) {
                ASSERT_FALSE(run.threw);
                EXPECT_TRUE(result == -1 || result == IDOK) << result;
                EXPECT_TRUE(result == IDOK || run.refused > 0) << "after " << run.allowed << " allocations";
                refusals += result == -1;
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
