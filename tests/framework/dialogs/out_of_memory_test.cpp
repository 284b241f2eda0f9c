// Message boxes and dialogs when memory runs out: every allocation is failed in
// turn; each failure must end in a refusal (a box answered 0, a dialog -1, with
// every control it makes), never in a crash, and must leave the owner usable.
#include <gtest/gtest.h>

#include <functional>

#include "framework/controls/button.h"
#include "framework/controls/static_control.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/message_box.h"
#include "tests/support/failing_allocator.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

constexpr DLGITEMTEMPLATEW kItems[] = {
    {WS_VISIBLE, 0, 7, 7, 80, 8, 0xFFFF, u"Static", u"&Label"},
    {WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 7, 20, 80, 10, 100, u"Button", u"&Check"},
    {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 100, 7, 50, 14, IDOK, u"Button", u"OK"},
};
constexpr DLGTEMPLATEW kDialog = {
    WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0, 0, 0, 160, 40, u"Dialog", 8, u"MS Shell Dlg", 3, kItems};

INT_PTR EndOnOk(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(static_cast<DWORD>(wParam)) == IDOK) EndDialog(hwnd, IDOK);
    return message == WM_INITDIALOG;
}

TEST(DialogsOutOfMemory, BoxesAndDialogsAnswerTheirRefusalAndLeaveTheOwnerUsable) {
    tq3::testing::Desktop desktop{640, 480};
    // A plain pop-up owner without a caption: the caption's font is first made
    // inside the sweeps, so that refusing it is swept too.
    HWND owner = CreateWindowExW(0, u"Static", u"Owner", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    desktop.RunUntilIdle();
    struct Case {
        const char* what;
        std::function<INT_PTR()> show;
        INT_PTR answered, refused;
    };
    const Case cases[] = {
        {"message box", [&] { return MessageBoxW(owner, u"Out of memory?", u"Test", MB_YESNO | MB_ICONQUESTION); },
         IDYES, 0},
        {"dialog", [&] { return DialogBoxIndirectParamW(nullptr, &kDialog, owner, EndOnOk, 0); }, IDOK, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        INT_PTR result = 0;
        int refusals = 0;
        const SweepResult sweep = SweepAllocations({
            .prepare =
                [&] {
                    if (desktop.PendingModalAnswers() == 0) {
                        desktop.QueueModalAnswer(tq3::testing::AnswerKey(VK_RETURN, u"#32770"));
                    }
                },
            .operation = [&] { result = c.show(); },
            .check =
                [&](const SweepRun& run) {
                    ASSERT_FALSE(run.threw);
                    // Refused, unless what failed had a fallback; with memory
                    // enough, the scripted Enter answered it.
                    EXPECT_TRUE(result == c.refused || result == c.answered) << result;
                    EXPECT_TRUE(result == c.answered || run.refused > 0) << "after " << run.allowed << " allocations";
                    refusals += result == c.refused;
                    EXPECT_TRUE(IsWindowEnabled(owner)) << "after " << run.allowed << " allocations";
                    EXPECT_EQ(FindWindowW(u"#32770", nullptr), nullptr) << "after " << run.allowed << " allocations";
                    desktop.RunUntilIdle();
                },
        });
        EXPECT_TRUE(sweep.completed);
        EXPECT_GT(refusals, 0);
    }
}

}  // namespace
}  // namespace tq3::test
