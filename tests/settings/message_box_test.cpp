// VALMExMessageBox answered as a user would: which icon and caption a style and
// a caption give, the application's window disabled while it is up, and when no
// box is shown at all. (The strings of each language are checked in the language
// tests.)
#include "framework/dialogs/message_box.h"

#include "framework/controls/static_control.h"
#include "framework/dialogs/system_icons.h"
#include "resources/english_texts.h"
#include "settings/language.h"
#include "tests/settings/settings_view_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerKey;
using tq3::testing::ModalAnswer;

constexpr WCHAR kBoxClass[] = u"#32770";
constexpr int kIconControl = 20;
constexpr int kTextControl = 0xFFFF;
constexpr UINT kNoMoreMatchesId = 30007;

std::u16string WindowText(HWND window) {
    WCHAR text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

// What a box showed while it was up.
struct Seen {
    std::u16string caption;
    std::u16string text;
    HICON icon = nullptr;  // null: no icon control
    HWND owner = nullptr;
    bool mainEnabled = true;
};

class LibraryMessageBox : public SettingsViewTest {
protected:
    void SetUp() override {
        SettingsViewTest::SetUp();
        ASSERT_NE(MakeView(), nullptr);
        frame = AfxGetMainWnd();
        ASSERT_NE(frame, nullptr);
        VALMExSetLanguage(0);
    }
    void TearDown() override { VALMExSetLanguage(1); }

    CWnd* frame = nullptr;
};

TEST_F(LibraryMessageBox, StyleAndCaptionGiveIconAndTitle) {
    const HICON exclamation = LoadIconW(nullptr, IDI_EXCLAMATION);
    const HICON question = LoadIconW(nullptr, IDI_QUESTION);
    const HICON information = LoadIconW(nullptr, IDI_ASTERISK);
    const HICON hand = LoadIconW(nullptr, IDI_HAND);
    struct Case {
        const char* what;
        UINT type;
        LPCWSTR caption;
        int key;  // what the user presses
        HICON icon;
        std::u16string title;
        int result;
    } cases[] = {
        {"Yes/No without icon", MB_YESNO, nullptr, 'N', exclamation, u"Settings Test", IDNO},
        {"Yes/No with the question mark", MB_YESNO | MB_ICONQUESTION, nullptr, 'Y', question, u"Settings Test", IDYES},
        {"OK/Cancel with a caption", MB_OKCANCEL, u"Table", VK_ESCAPE, exclamation, u"Table", IDCANCEL},
        {"information, OK", MB_OK | MB_ICONINFORMATION, nullptr, VK_RETURN, information, u"Settings Test", IDOK},
        {"stop sign", MB_OK | MB_ICONHAND, nullptr, VK_RETURN, hand, u"Settings Test", IDOK},
        {"Abort/Retry/Ignore stays plain", MB_ABORTRETRYIGNORE, nullptr, 'R', nullptr, u"Settings Test", IDRETRY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seen seen;
        // Looks at the box, then lets the next answer end it.
        desktop.QueueModalAnswer(ModalAnswer{kBoxClass, {}, [&seen](HWND box) {
                                                 seen.caption = WindowText(box);
                                                 seen.text = WindowText(GetDlgItem(box, kTextControl));
                                                 if (HWND icon = GetDlgItem(box, kIconControl))
                                                     seen.icon = reinterpret_cast<HICON>(
                                                         SendMessageW(icon, STM_GETICON, 0, 0));
                                                 seen.owner = GetWindow(box, GW_OWNER);
                                                 seen.mainEnabled = AfxGetMainWnd()->IsWindowEnabled() != FALSE;
                                                 PostMessageW(box, WM_NULL, 0, 0);
                                             }});
        desktop.QueueModalAnswer(AnswerKey(c.key, kBoxClass));
        EXPECT_EQ(VALMExMessageBox(kNoMoreMatchesId, c.type, c.caption), c.result);
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.caption, c.title);
        EXPECT_EQ(seen.text, kNoMoreMatches);
        // The application's window is the owner, disabled while the box is up.
        EXPECT_EQ(seen.owner, frame->m_hWnd);
        EXPECT_FALSE(seen.mainEnabled);
        EXPECT_TRUE(frame->IsWindowEnabled());
    }
}

// A box that came up here would find no scripted answer, and the harness would
// stop the test program.
TEST_F(LibraryMessageBox, NoTextNoBox) {
    // Strings that no language has, and one past the library's range.
    for (UINT id : {0u, 1u, 30003u, 30014u, 0xFFFFu, 0x10000u}) {
        EXPECT_EQ(VALMExMessageBox(id, MB_OK, nullptr), -1) << id;
    }
    VALMExSetLanguage(3);
    EXPECT_EQ(VALMExMessageBox(30003u, MB_YESNO, u"caption"), -1);
    EXPECT_TRUE(frame->IsWindowEnabled());
}

}  // namespace
}  // namespace tq3::test
