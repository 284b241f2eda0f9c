// MessageBoxW answered the way a user would: keys, mnemonics, clicks; what it
// does to its owner; what it refuses; and how it looks.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/controls/button.h"
#include "framework/controls/static_control.h"
#include "framework/dialogs/message_box.h"
#include "framework/dialogs/system_icons.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/framework/dialogs/owner_fixture.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerCommand;
using tq3::testing::AnswerKey;
using tq3::testing::ModalAnswer;

constexpr const WCHAR* kBoxClass = kDialogClass;

// The user clicks the button `id` of the box with the mouse.
ModalAnswer ClickButton(int id) {
    return ModalAnswer{kBoxClass, {}, [id](HWND box) {
                           RECT r;
                           ASSERT_TRUE(GetWindowRect(GetDlgItem(box, id), &r)) << "no button " << id;
                           Backend().Click(tq3::fw::InputEvent::Button::Left,
                                           POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
                       }};
}

// The user holds Alt and presses `vk`.
ModalAnswer AltKey(int vk) {
    return ModalAnswer{kBoxClass, {}, [vk](HWND) {
                           Backend().KeyDown(VK_MENU);
                           Backend().KeyPress(vk);
                           Backend().KeyUp(VK_MENU);
                       }};
}

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
    auto click = [](int id) { return [id] { return ClickButton(id); }; };
    auto alt = [](int vk) { return [vk] { return AltKey(vk); }; };
    auto command = [](int id) { return [id] { return AnswerCommand(id, kBoxClass); }; };
    // Rows that differ only in the button set take the same way through the box.
    const std::vector<Case> cases = {
        {"OK: Escape means OK", MB_OK, {key(VK_ESCAPE)}, IDOK},
        {"OK: close command", MB_OK, {command(IDCANCEL)}, IDOK},
        {"OK/Cancel: click OK", MB_OKCANCEL | MB_DEFBUTTON2, {click(IDOK)}, IDOK},
        {"Yes/No: Escape and other letters are ignored", MB_YESNO, {key(VK_ESCAPE), key('Q'), key('N')}, IDNO},
        {"Yes/No: a command that is no button is ignored", MB_YESNO, {command(IDOK), command(IDYES)}, IDYES},
        {"Yes/No/Cancel: Tab moves the default", MB_YESNOCANCEL, {key(VK_TAB), key(VK_RETURN)}, IDNO},
        {"Yes/No/Cancel: Tab wraps", MB_YESNOCANCEL | MB_DEFBUTTON3, {key(VK_TAB), key(VK_RETURN)}, IDYES},
        {"Yes/No/Cancel: space on the focus", MB_YESNOCANCEL | MB_DEFBUTTON2, {key(VK_SPACE)}, IDNO},
        {"Retry/Cancel: Alt+R", MB_RETRYCANCEL, {alt('R')}, IDRETRY},
        {"Abort/Retry/Ignore: default out of range", MB_ABORTRETRYIGNORE | MB_DEFBUTTON4, {key(VK_RETURN)},
         IDABORT},
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

TEST_F(MessageBoxTest, OwnerIsDisabledWhileTheBoxIsUpAndActiveAfter) {
    HWND child = CreateWindowExW(0, kOwnerClass, u"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, owner,
                                 nullptr, nullptr, nullptr);
    // Named by one of its children: the box belongs to the top-level window.
    desktop.QueueModalAnswer(Inspect([&](HWND box) {
        EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
        EXPECT_EQ(GetActiveWindow(), box);
    }));
    desktop.QueueModalAnswer(AnswerKey(VK_RETURN, kBoxClass));
    EXPECT_EQ(MessageBoxW(child, u"Text", nullptr, MB_OK), IDOK);
    EXPECT_EQ(desktop.PendingModalAnswers(), 0u);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    // An owner disabled before the box stays disabled after it.
    EnableWindow(owner, FALSE);
    desktop.QueueModalAnswer(AnswerKey(VK_RETURN, kBoxClass));
    EXPECT_EQ(MessageBoxW(owner, u"Text", u"Caption", MB_OK), IDOK);
    EXPECT_FALSE(IsWindowEnabled(owner));
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

TEST_F(MessageBoxTest, IconAndWrappedTextAreDrawn) {
    // The library's own boxes check which icon each style takes; here, that it is
    // drawn: the yellow body with the black bar and dot over it.
    tq3::testing::Capture icon;
    desktop.QueueModalAnswer(Inspect([&](HWND box) { icon = tq3::testing::CaptureWindow(GetDlgItem(box, 20)); }));
    EXPECT_EQ(Show(MB_OK | MB_ICONEXCLAMATION, {AnswerKey(VK_RETURN, kBoxClass)}), IDOK);
    EXPECT_GT(icon.CountOther(GetSysColor(COLOR_BTNFACE)), 300);
    EXPECT_GT(icon.Count(RGB(255, 224, 0)), 20);
    EXPECT_EQ(std::vector<COLORREF>({icon.At(15, 14), icon.At(15, 23)}), std::vector<COLORREF>(2, RGB(0, 0, 0)));

    // Without an icon there is no icon control; a long text wraps into lines
    // no wider than the box allows, and the box grows to hold them.
    std::u16string text;
    for (int i = 0; i < 60; ++i) text += u"word ";
    RECT textRect{}, boxRect{};
    desktop.QueueModalAnswer(Inspect([&](HWND box) {
        EXPECT_EQ(GetDlgItem(box, 20), nullptr);
        GetWindowRect(GetDlgItem(box, 0xFFFF), &textRect);
        GetWindowRect(box, &boxRect);
    }));
    EXPECT_EQ(Show(MB_OK, {AnswerKey(VK_RETURN, kBoxClass)}, text.c_str()), IDOK);
    EXPECT_LE(textRect.right - textRect.left, 800 * 3 / 5);
    EXPECT_GT(textRect.bottom - textRect.top, 2 * 14) << "more than two lines";
    EXPECT_LE(textRect.right, boxRect.right);
    EXPECT_LE(textRect.bottom, boxRect.bottom);
}

// The buttons are in a row in the middle, in the order of the set, the first one
// default with the focus, and everything in the box is written in its font.
TEST_F(MessageBoxTest, ButtonsStandInARowInTheOrderOfTheSet) {
    desktop.QueueModalAnswer(Inspect([&](HWND box) {
        RECT yes, no, cancel, client;
        GetWindowRect(GetDlgItem(box, IDYES), &yes);
        GetWindowRect(GetDlgItem(box, IDNO), &no);
        GetWindowRect(GetDlgItem(box, IDCANCEL), &cancel);
        EXPECT_EQ(yes.top, cancel.top);
        EXPECT_LT(yes.right, no.left);
        EXPECT_LT(no.right, cancel.left);
        POINT origin{0, 0};
        ClientToScreen(box, &origin);
        GetClientRect(box, &client);
        EXPECT_NEAR(yes.left - origin.x, origin.x + client.right - cancel.right, 1) << "the row stands in the middle";
        const LRESULT font = SendMessageW(box, WM_GETFONT, 0, 0);
        for (int id : {IDCANCEL, 0xFFFF}) EXPECT_EQ(SendMessageW(GetDlgItem(box, id), WM_GETFONT, 0, 0), font) << id;
        EXPECT_EQ(GetFocus(), GetDlgItem(box, IDYES));
    }));
    EXPECT_EQ(Show(MB_YESNOCANCEL | MB_ICONQUESTION, {AnswerKey(VK_ESCAPE, kBoxClass)}), IDCANCEL);
}

}  // namespace
}  // namespace tq3::test
