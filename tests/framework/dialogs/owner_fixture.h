// The dialog and message box tests' desktop: a plain captioned owner window, and
// the answers both kinds of modal window take.
#pragma once

#include <gtest/gtest.h>

#include "framework/core/locale.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/gdi/sysmetrics.h"
#include "tq3view/testing.h"

namespace tq3::test {

constexpr WCHAR kDialogClass[] = u"#32770";

inline tq3::fw::HeadlessBackend& Backend() { return *tq3::fw::HeadlessBackend::Current(); }

// Looks at the dialog while it is up, then leaves the answer to the next one.
inline tq3::testing::ModalAnswer Inspect(std::function<void(HWND)> look) {
    return tq3::testing::ModalAnswer{kDialogClass, {}, [look](HWND dialog) {
                                         look(dialog);
                                         PostMessageW(dialog, WM_NULL, 0, 0);  // something for the loop to do
                                     }};
}

// A window's text, and the text of a dialog's control.
inline std::u16string WindowText(HWND window) {
    WCHAR text[128]{};
    GetWindowTextW(window, text, 128);
    return text;
}
inline std::u16string ItemText(HWND dialog, int id) {
    WCHAR text[128]{};
    GetDlgItemTextW(dialog, id, text, 128);
    return text;
}

class OwnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The expectations are written against the English texts, whatever the
        // locale of the machine running them.
        SetThreadUILanguage(0x0409);
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
            wc.lpszClassName = kOwnerClass;
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        owner = CreateWindowExW(0, kOwnerClass, u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 40, 560, 400, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        desktop.RunUntilIdle();
        ASSERT_EQ(GetActiveWindow(), owner);
    }

    void TearDown() override { SetThreadUILanguage(0); }

    // Queues `answers`, runs `modal` and checks that every answer was needed.
    template <class Modal>
    auto Answered(std::vector<tq3::testing::ModalAnswer> answers, Modal modal) {
        for (auto& a : answers) desktop.QueueModalAnswer(std::move(a));
        auto result = modal();
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u) << "every scripted answer was needed";
        return result;
    }

    static constexpr WCHAR kOwnerClass[] = u"DialogOwner";
    tq3::testing::Desktop desktop{800, 600};
    HWND owner = nullptr;
};

}  // namespace tq3::test
