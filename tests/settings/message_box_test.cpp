// VALMExMessageBox answered as a user would: which icon and caption a style and
// a caption give, which language its text comes in, what happens to the
// application's window while it is up, and when no box is shown at all.
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
constexpr UINT kReplaceNeedsOneColumnId = 30012;

std::u16string WindowText(HWND window) {
    WCHAR text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

// What a box showed while it was up.
struct Seen {
    bool shown = false;
    std::u16string caption;
    std::u16string text;
    HICON icon = nullptr;  // null: no icon control
    HWND owner = nullptr;
    bool mainEnabled = true;
};

// Looks at the box, then lets the next answer end it.
ModalAnswer Inspect(Seen& seen) {
    return ModalAnswer{kBoxClass, {}, [&seen](HWND box) {
                           seen.shown = true;
                           seen.caption = WindowText(box);
                           seen.text = WindowText(GetDlgItem(box, kTextControl));
                           HWND icon = GetDlgItem(box, kIconControl);
                           seen.icon = icon != nullptr ? reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0))
                                                       : nullptr;
                           seen.owner = GetWindow(box, GW_OWNER);
                           seen.mainEnabled = AfxGetMainWnd()->IsWindowEnabled() != FALSE;
                           PostMessageW(box, WM_NULL, 0, 0);
                       }};
}

class LibraryMessageBox : public SettingsViewTest {
protected:
    void SetUp() override {
        SettingsViewTest::SetUp();
        view = MakeView();
        ASSERT_NE(view, nullptr);
        frame = AfxGetMainWnd();
        ASSERT_NE(frame, nullptr);
        VALMExSetLanguage(0);
    }
    void TearDown() override { VALMExSetLanguage(1); }

    SettingsView* view = nullptr;
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
        {"OK with an empty caption", MB_OK, u"", VK_RETURN, exclamation, u"Settings Test", IDOK},
        {"OK/Cancel with a caption", MB_OKCANCEL, u"Table", VK_ESCAPE, exclamation, u"Table", IDCANCEL},
        {"Yes/No/Cancel", MB_YESNOCANCEL | MB_DEFBUTTON2, nullptr, VK_RETURN, exclamation, u"Settings Test", IDNO},
        {"information, Yes/No", 0x44, nullptr, 'N', information, u"Settings Test", IDNO},
        {"information, OK", 0x40, nullptr, VK_RETURN, information, u"Settings Test", IDOK},
        {"stop sign", MB_OK | MB_ICONHAND, nullptr, VK_RETURN, hand, u"Settings Test", IDOK},
        {"Abort/Retry/Ignore stays plain", MB_ABORTRETRYIGNORE, nullptr, 'R', nullptr, u"Settings Test", IDRETRY},
        {"Retry/Cancel stays plain", MB_RETRYCANCEL, nullptr, VK_ESCAPE, nullptr, u"Settings Test", IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seen seen;
        desktop.QueueModalAnswer(Inspect(seen));
        desktop.QueueModalAnswer(AnswerKey(c.key, kBoxClass));
        EXPECT_EQ(VALMExMessageBox(kNoMoreMatchesId, c.type, c.caption), c.result);
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u);
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.caption, c.title);
        EXPECT_EQ(seen.text, kNoMoreMatches);
        // The application's window is the owner, disabled while the box is up.
        EXPECT_EQ(seen.owner, frame->m_hWnd);
        EXPECT_FALSE(seen.mainEnabled);
        EXPECT_TRUE(frame->IsWindowEnabled());
    }
}

// The text comes in the library language, drawn with the language's own glyphs.
TEST_F(LibraryMessageBox, TextComesFromTheLibraryLanguage) {
    for (int language : {0, 1, 2, 3, 4, 9, -1}) {
        SCOPED_TRACE(::testing::Message() << "language " << language);
        VALMExSetLanguage(language);
        CString expected;
        GetVALMExDLLString(kReplaceNeedsOneColumnId, expected);
        ASSERT_FALSE(expected.IsEmpty());
        Seen seen;
        int inked = 0;
        desktop.QueueModalAnswer(ModalAnswer{kBoxClass, {}, [&](HWND box) {
                                                 // Glyphs are smoothed: ink is any colour but the face.
                                                 inked = tq3::testing::CaptureWindow(GetDlgItem(box, kTextControl))
                                                             .CountOther(GetSysColor(COLOR_BTNFACE));
                                                 Inspect(seen).action(box);
                                             }});
        desktop.QueueModalAnswer(AnswerKey('N', kBoxClass));
        EXPECT_EQ(VALMExMessageBox(kReplaceNeedsOneColumnId, MB_YESNO | MB_ICONINFORMATION, nullptr), IDNO);
        EXPECT_EQ(seen.text, std::u16string(expected.GetString()));
        EXPECT_GT(inked, 200);
        // Outside 0-4 the view's own built-in resources speak, in English.
        if (language == 0 || language == 9 || language == -1) {
            EXPECT_EQ(seen.text, kReplaceNeedsOneColumn);
        } else {
            EXPECT_NE(seen.text, kReplaceNeedsOneColumn);
        }
    }
}

// While one of the application's dialogs is up (its owner disabled), the box
// belongs to the dialog; the application's window stays disabled throughout.
TEST_F(LibraryMessageBox, ABoxOverADialogBelongsToTheDialog) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"LibraryMessageBoxDialog";
    RegisterClassW(&wc);
    HWND dialog = CreateWindowExW(0, u"LibraryMessageBoxDialog", u"Find", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50,
                                  300, 200, frame->m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    frame->EnableWindow(FALSE);
    SetActiveWindow(dialog);
    desktop.RunUntilIdle();
    ASSERT_EQ(GetActiveWindow(), dialog);
    Seen seen;
    bool dialogEnabled = true;
    desktop.QueueModalAnswer(Inspect(seen));
    desktop.QueueModalAnswer(ModalAnswer{kBoxClass, {}, [&](HWND box) {
                                             dialogEnabled = IsWindowEnabled(dialog) != FALSE;
                                             PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
                                         }});
    EXPECT_EQ(VALMExMessageBox(kNoMoreMatchesId, 0x40, nullptr), IDOK);
    EXPECT_EQ(seen.owner, dialog);
    EXPECT_FALSE(dialogEnabled);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(dialog)) << "the dialog is enabled again";
    EXPECT_FALSE(frame->IsWindowEnabled()) << "the dialog's owner stays disabled until the dialog ends";
    frame->EnableWindow(TRUE);
    DestroyWindow(dialog);
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
