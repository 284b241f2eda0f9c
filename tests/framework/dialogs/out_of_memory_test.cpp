// Controls and message boxes when memory runs out: every allocation is failed in
// turn; each failure must end in a refusal (no control, a box answered 0), never
// in a crash, and must leave the owner usable.
#include <gtest/gtest.h>

#include "framework/controls/button.h"
#include "framework/controls/static_control.h"
#include "framework/dialogs/message_box.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/support/failing_allocator.h"
#include "tq3view/testing.h"

namespace {

constexpr WCHAR kOwnerClass[] = u"OutOfMemoryOwner";

HWND MakeOwner() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = kOwnerClass;
        registered = RegisterClassW(&wc) != 0;
    }
    return CreateWindowExW(0, kOwnerClass, u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                           nullptr, nullptr, nullptr);
}

TEST(ControlsOutOfMemory, ControlCreationFailsCleanly) {
    tq3::testing::Desktop desktop(640, 480);
    HWND owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    struct Case {
        LPCWSTR cls;
        DWORD style;
        LRESULT dialogCode;  // asked of the control once it exists
    } cases[] = {
        {u"Button", BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {u"Static", SS_LEFT, DLGC_STATIC},
    };
    for (const Case& c : cases) {
        bool created = false;
        int refused = 0;
        for (long n = 0; n < 2000 && !created; ++n) {
            HWND control = nullptr;
            {
                tq3::test::FailingAllocations failing(n);
                control = CreateWindowExW(0, c.cls, u"OK", WS_CHILD | WS_VISIBLE | c.style, 10, 10, 80, 24, owner,
                                          nullptr, nullptr, nullptr);
            }
            ASSERT_TRUE(IsWindow(owner)) << "after " << n << " allocations";
            refused += control == nullptr;
            if (control != nullptr) {
                created = true;
                desktop.RunUntilIdle();
                EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0), c.dialogCode);
                DestroyWindow(control);
            }
        }
        EXPECT_TRUE(created);
        EXPECT_GT(refused, 0);
    }
}

TEST(ControlsOutOfMemory, MessageBoxAnswersZeroAndLeavesTheOwnerUsable) {
    tq3::testing::Desktop desktop(640, 480);
    HWND owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    desktop.RunUntilIdle();
    int result = 0;
    int refusals = 0;
    for (long n = 0; n < 5000 && result == 0; ++n) {
        if (desktop.PendingModalAnswers() == 0) desktop.QueueModalAnswer(tq3::testing::AnswerKey(VK_RETURN, u"#32770"));
        {
            tq3::test::FailingAllocations failing(n);
            result = MessageBoxW(owner, u"Out of memory?", u"Test", MB_YESNO | MB_ICONQUESTION);
        }
        ASSERT_TRUE(result == 0 || result == IDYES) << result;
        refusals += result == 0;
        EXPECT_TRUE(IsWindowEnabled(owner)) << "after " << n << " allocations";
        EXPECT_EQ(FindWindowW(u"#32770", nullptr), nullptr) << "after " << n << " allocations";
        desktop.RunUntilIdle();
    }
    EXPECT_EQ(result, IDYES);
    EXPECT_GT(refusals, 0);
}

}  // namespace
