// The common font dialog driven as a user drives it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/app/font_dialog.h"
#include "framework/controls/combo_box.h"
#include "framework/dialogs/commdlg.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/message_box.h"
#include "tests/framework/dialogs/owner_fixture.h"
#include "tests/support/test_output.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerChoose;
using tq3::testing::AnswerCommand;
using tq3::testing::AnswerType;
using tq3::testing::ModalAnswer;

class FontDialogTest : public OwnerTest {
protected:
    FontDialogTest() {
        choice.lStructSize = sizeof choice;
        choice.hwndOwner = owner;
        choice.lpLogFont = &font;
        // What a view asks for when the user chooses its font.
        choice.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_ANSIONLY | CF_NOVECTORFONTS |
                       CF_LIMITSIZE | CF_NOVERTFONTS;
        choice.nFontType = SCREEN_FONTTYPE;
        choice.nSizeMin = 8;
        choice.nSizeMax = 14;
        SetFace(u"Courier New");
        font.lfWeight = FW_BOLD;
        font.lfHeight = -13;
        choice.iPointSize = 100;
    }
    void SetFace(const std::u16string& face) {
        std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
        std::copy(face.begin(), face.end(), font.lfFaceName);
    }
    BOOL Run(std::vector<ModalAnswer> answers) {
        choice.hwndOwner = owner;
        return Answered(std::move(answers), [&] { return ChooseFontW(&choice); });
    }
    static ModalAnswer Look(std::function<void(HWND)> look) { return Inspect(std::move(look)); }
    // The message box titled `title` over the dialog: its text goes to `told`, and OK closes it.
    static ModalAnswer Told(std::u16string title, std::vector<std::u16string>& told) {
        return ModalAnswer{kDialogClass, std::move(title), [&told](HWND box) {
                               told.push_back(WindowText(GetDlgItem(box, 0xFFFF)));  // its one unnamed control
                               PostMessageW(box, WM_COMMAND, IDOK, 0);
                           }};
    }

    LOGFONTW font{};
    CHOOSEFONTW choice{};
};

TEST_F(FontDialogTest, StartsFromTheRecordAndReturnsTheChoice) {
    // The view's font choice checks what the boxes start with; here, what comes back.
    ASSERT_TRUE(Run({Look([](HWND dialog) { EXPECT_EQ(ItemText(dialog, cmb1), u"Courier New"); }),
                     AnswerChoose(cmb2, 1), AnswerType(cmb3, u"12"), AnswerCommand(IDOK)}));
    EXPECT_EQ(std::u16string(font.lfFaceName), u"Courier New");
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfItalic, TRUE);
    EXPECT_EQ(font.lfHeight, -MulDiv(120, 96, 720));
    EXPECT_EQ(choice.iPointSize, 120);
    EXPECT_EQ(choice.nFontType, SCREEN_FONTTYPE | REGULAR_FONTTYPE | ITALIC_FONTTYPE);
}

// A size outside the limits or not a number is refused with a message, and the
// dialog stays until the user gives one it can take.
TEST_F(FontDialogTest, RefusesSizesItCannotGiveAndFallsBackFromUnknownFaces) {
    SetFace(u"No Such Face Anywhere");
    std::u16string startedWith;
    std::vector<std::u16string> told;
    ASSERT_TRUE(Run({Look([&](HWND dialog) { startedWith = ItemText(dialog, cmb1); }), AnswerType(cmb3, u"20"),
                     AnswerCommand(IDOK), Told(u"Font", told), AnswerType(cmb3, u"big"), AnswerCommand(IDOK),
                     Told(u"Font", told), AnswerType(cmb3, u"10.5"), AnswerCommand(IDOK)}));
    EXPECT_EQ(startedWith, u"MS Shell Dlg");
    EXPECT_EQ(told, (std::vector<std::u16string>{u"Size must be between 8 and 14 points.", u"Size must be a number."}));
    EXPECT_EQ(choice.iPointSize, 105);
    EXPECT_EQ(std::u16string(font.lfFaceName), u"MS Shell Dlg");
}

TEST_F(FontDialogTest, BadRecordsFailWithTheirReason) {
    struct Case {
        const char* what;
        void (*spoil)(CHOOSEFONTW&);
        DWORD error;
    };
    const Case cases[] = {
        {"size of the record", [](CHOOSEFONTW& c) { c.lStructSize = 8; }, CDERR_STRUCTSIZE},
        {"limits crossed", [](CHOOSEFONTW& c) { c.nSizeMax = 4; }, CFERR_MAXLESSTHANMIN},
    };
    for (const Case& c : cases) {
        CHOOSEFONTW spoilt = choice;
        c.spoil(spoilt);
        EXPECT_FALSE(ChooseFontW(&spoilt)) << c.what;
        EXPECT_EQ(CommDlgExtendedError(), c.error) << c.what;
    }
    EXPECT_FALSE(ChooseFontW(nullptr));
}

// The dialog speaks the user-interface language: the labels, the style names the
// list shows and returns, the buttons and the messages.
TEST_F(FontDialogTest, TextsComeInTheUserInterfaceLanguage) {
    struct Case {
        LANGID language;
        const char16_t* title;
        const char16_t* fontLabel;
        const char16_t* bold;
        const char16_t* cancel;
        const char16_t* sizeRange;
        const char* screenshot;
    };
    const Case cases[] = {
        {0x0409, u"Font", u"&Font:", u"Bold", u"Cancel", u"Size must be between 8 and 14 points.", nullptr},
        {0x0411, u"フォント", u"フォント名(&F):", u"太字", u"キャンセル",
         u"サイズは 8 から 14 ポイントの間で指定してください。", "font_dialog_jpn.png"},
        {0x0804, u"字体", u"字体(&F):", u"粗体", u"取消", u"大小必须介于 8 和 14 磅之间。", nullptr},
        {0x0404, u"字型", u"字型(&F):", u"粗體", u"取消", u"大小必須介於 8 到 14 點之間。", nullptr},
        {0x0412, u"글꼴", u"글꼴(&F):", u"굵게", u"취소", u"크기는 8에서 14 포인트 사이여야 합니다.",
         "font_dialog_kor.png"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SetThreadUILanguage(c.language), c.language);
        std::vector<std::u16string> told;
        WCHAR styleName[LF_FACESIZE]{};
        choice.lpszStyle = styleName;
        // The record's bold font starts on the bold entry.
        auto look = [&](HWND dialog) {
            EXPECT_EQ(WindowText(dialog) + u"|" + ItemText(dialog, stc1) + u"|" + ItemText(dialog, cmb2) + u"|" +
                          ItemText(dialog, IDCANCEL),
                      std::u16string(c.title) + u"|" + c.fontLabel + u"|" + c.bold + u"|" + c.cancel);
            if (c.screenshot != nullptr) tq3::testing::SaveScreenshot(dialog, OutputPath("dialogs", c.screenshot));
        };
        ASSERT_TRUE(Run({Look(look), AnswerType(cmb3, u"20"), AnswerCommand(IDOK), Told(c.title, told),
                         AnswerType(cmb3, u"10"), AnswerCommand(IDOK)}))
            << c.language;
        EXPECT_EQ(told, std::vector<std::u16string>{c.sizeRange});
        EXPECT_EQ(std::u16string(styleName), c.bold);
        choice.lpszStyle = nullptr;
    }
    EXPECT_EQ(SetThreadUILanguage(0x0407), 0) << "no texts in German: refused";
    EXPECT_EQ(GetThreadUILanguage(), 0x0412) << "and the language stays";
}

// The dialog as the user sees it, for a look by eye.
TEST_F(FontDialogTest, Screenshot) {
    ASSERT_TRUE(Run({AnswerChoose(cmb2, 3), Look([&](HWND dialog) {
                         EXPECT_TRUE(tq3::testing::SaveScreenshot(dialog, OutputPath("dialogs", "font_dialog.png")));
                     }),
                     AnswerCommand(IDOK)}));
    EXPECT_EQ(choice.nFontType, SCREEN_FONTTYPE | BOLD_FONTTYPE | ITALIC_FONTTYPE);
}

}  // namespace
}  // namespace tq3::test
