// MessageBoxW answered the way a user would, with keys, and what it refuses.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/dialogs/message_box.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/framework/dialogs/owner_fixture.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerCommand;
using tq3::testing::AnswerKey;
using tq3::testing::ModalAnswer;

constexpr const WCHAR* kBoxClass = kDialogClass;

class MessageBoxTest : public OwnerTest {
protected:
    int Show(UINT type, std::vector<ModalAnswer> answers, LPCWSTR text = u"Proceed?") {
        return Answered(std::move(answers), [&] { return MessageBoxW(owner, text, u"Question", type); });
    }
};

TEST_F(MessageBoxTest, EachButtonSetAnswersKeysMnemonicsAndClicks) {
    struct Case {
        const char* name;
        UINT type;
        std::vector<std::function<ModalAnswer()>> answers;
        int result;
    };
    auto key = [](int vk) { return [vk] { return AnswerKey(vk, kBoxClass); }; };
    // Rows that differ only in the button set take the same way through the box.
    const std::vector<Case> cases = {
        {"OK: Escape means OK", MB_OK, {key(VK_ESCAPE)}, IDOK},
        {"Yes/No: Escape and other letters are ignored", MB_YESNO, {key(VK_ESCAPE), key('Q'), key('N')}, IDNO},
        {"Yes/No/Cancel: Tab moves the default", MB_YESNOCANCEL, {key(VK_TAB), key(VK_RETURN)}, IDNO},
        {"Abort/Retry/Ignore: left arrow", MB_ABORTRETRYIGNORE, {key(VK_LEFT), key(VK_RETURN)}, IDIGNORE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ModalAnswer> answers;
        for (const auto& make : c.answers) answers.push_back(make());
        EXPECT_EQ(Show(c.type, std::move(answers)), c.result);
        EXPECT_EQ(FindWindowW(kBoxClass, nullptr), nullptr) << "the box is gone";
    }
}

TEST_F(MessageBoxTest, RefusesWhatItCannotShowAndEndsOnQuit) {
    HWND gone = CreateWindowExW(0, kOwnerClass, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(MessageBoxW(gone, u"Text", u"Caption", MB_OK), 0);
    EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234)), u"Text", nullptr, MB_OK), 0);
    EXPECT_EQ(MessageBoxW(owner, u"Text", u"Caption", 7), 0) << "no such button set";
    EXPECT_EQ(MessageBoxW(owner, u"Text", u"Caption", MB_TYPEMASK), 0);
    EXPECT_TRUE(IsWindowEnabled(owner));

    // A null caption is "Error"; null text is an empty message.
    desktop.QueueModalAnswer(AnswerCommand(IDOK, kBoxClass, u"Error"));
    EXPECT_EQ(MessageBoxW(owner, nullptr, nullptr, MB_OK), IDOK);

    // The application quitting ends the box unanswered and passes the quit on.
    desktop.QueueModalAnswer(Inspect([](HWND) { PostQuitMessage(3); }));
    EXPECT_EQ(MessageBoxW(owner, u"Text", u"Caption", MB_YESNO), 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
    desktop.RunUntilIdle();
    EXPECT_TRUE(desktop.QuitReceived());
}

}  // namespace
}  // namespace tq3::test
