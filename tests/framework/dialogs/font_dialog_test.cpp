// The common font dialog driven as a user drives it, and the family list under it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/app/font_dialog.h"
#include "framework/controls/combo_box.h"
#include "framework/dialogs/commdlg.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/message_box.h"
#include "framework/gdi/font_families.h"
#include "tests/framework/dialogs/owner_fixture.h"
#include "tests/support/test_output.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerChoose;
using tq3::testing::AnswerCommand;
using tq3::testing::AnswerType;
using tq3::testing::ModalAnswer;

struct Listed {
    std::u16string face;
    BYTE charSet;
    std::u16string script;
};

std::vector<Listed> Enumerate(const std::u16string& face, BYTE charSet, int stopAfter = -1) {
    struct Into {
        std::vector<Listed> listed;
        int stopAfter;
    } into{{}, stopAfter};
    LOGFONTW filter{};
    filter.lfCharSet = charSet;
    std::copy(face.begin(), face.end(), filter.lfFaceName);
    EnumFontFamiliesExW(nullptr, &filter,
                        [](const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param) {
                            auto* to = reinterpret_cast<Into*>(param);
                            to->listed.push_back({lf->lfFaceName, lf->lfCharSet,
                                                  reinterpret_cast<const ENUMLOGFONTEXW*>(lf)->elfScript});
                            return static_cast<int>(to->listed.size()) == to->stopAfter ? 0 : 1;
                        },
                        reinterpret_cast<LPARAM>(&into), 0);
    return into.listed;
}

bool Has(const std::vector<Listed>& listed, const std::u16string& face, BYTE charSet) {
    for (const Listed& l : listed) {
        if (l.face == face && l.charSet == charSet) return true;
    }
    return false;
}

TEST(FontFamilies, InstalledFamiliesAndPlatformNamesByCharacterSet) {
    std::vector<Listed> all = Enumerate(u"", DEFAULT_CHARSET);
    EXPECT_TRUE(Has(all, u"DejaVu Sans", ANSI_CHARSET));
    EXPECT_TRUE(Has(all, u"MS UI Gothic", SHIFTJIS_CHARSET));  // a platform name
    EXPECT_FALSE(Has(all, u"DejaVu Sans", SHIFTJIS_CHARSET));
    std::vector<Listed> japanese = Enumerate(u"", SHIFTJIS_CHARSET);
    EXPECT_TRUE(Has(japanese, u"IPAGothic", SHIFTJIS_CHARSET));
    EXPECT_FALSE(Has(japanese, u"DejaVu Sans", ANSI_CHARSET));
    EXPECT_EQ(japanese.front().script, u"Japanese");
    std::vector<Listed> one = Enumerate(u"ms shell dlg", DEFAULT_CHARSET);  // names compare without case
    ASSERT_FALSE(one.empty());
    for (const Listed& l : one) EXPECT_EQ(l.face, u"MS Shell Dlg");
    EXPECT_EQ(Enumerate(u"", DEFAULT_CHARSET, 2).size(), 2u);  // the procedure stops it
}

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
    EXPECT_EQ(std::vector<int>({font.lfOutPrecision, font.lfClipPrecision, font.lfQuality}),
              std::vector<int>({3, 2, 1}));  // stroke precision, draft quality
    EXPECT_EQ(choice.iPointSize, 120);
    EXPECT_EQ(choice.nFontType, SCREEN_FONTTYPE | REGULAR_FONTTYPE | ITALIC_FONTTYPE);
}

TEST_F(FontDialogTest, CancelLeavesEverythingAsItWas) {
    const LOGFONTW before = font;
    const CHOOSEFONTW record = choice;
    EXPECT_FALSE(Run({AnswerChoose(cmb1, 0), AnswerType(cmb3, u"9"), AnswerCommand(IDCANCEL)}));
    EXPECT_EQ(std::memcmp(&font, &before, sizeof font), 0);
    EXPECT_EQ(choice.iPointSize, record.iPointSize);
    // A message the hook takes is kept from the dialog: a refused close leaves it up.
    choice.Flags |= CF_ENABLEHOOK;
    choice.lpfnHook = [](HWND, UINT message, WPARAM, LPARAM) -> UINT_PTR { return message == WM_CLOSE ? 1 : 0; };
    EXPECT_TRUE(Run({Look([](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); }), AnswerCommand(IDOK)}));
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
    // A face name longer than the record holds comes back cut to fit, and ended.
    const std::u16string longFace(LF_FACESIZE + 8, u'x');
    ASSERT_TRUE(Run({AnswerType(cmb1, longFace), AnswerCommand(IDOK)}));
    EXPECT_EQ(std::u16string(font.lfFaceName, LF_FACESIZE), longFace.substr(0, LF_FACESIZE - 1) + u'\0');
}

TEST_F(FontDialogTest, BadRecordsFailWithTheirReason) {
    struct Case {
        const char* what;
        void (*spoil)(CHOOSEFONTW&);
        DWORD error;
    };
    const Case cases[] = {
        {"size of the record", [](CHOOSEFONTW& c) { c.lStructSize = 8; }, CDERR_STRUCTSIZE},
        {"no font record", [](CHOOSEFONTW& c) { c.lpLogFont = nullptr; }, CDERR_INITIALIZATION},
        {"limits crossed", [](CHOOSEFONTW& c) { c.nSizeMax = 4; }, CFERR_MAXLESSTHANMIN},
        {"no kind of font", [](CHOOSEFONTW& c) { c.Flags &= ~CF_BOTH; }, CFERR_NOFONTS},
    };
    for (const Case& c : cases) {
        CHOOSEFONTW spoilt = choice;
        c.spoil(spoilt);
        EXPECT_FALSE(ChooseFontW(&spoilt)) << c.what;
        EXPECT_EQ(CommDlgExtendedError(), c.error) << c.what;
    }
    EXPECT_FALSE(ChooseFontW(nullptr));
}

TEST_F(FontDialogTest, TheObjectKeepsTheAnswerForTheCaller) {
    CFontDialog chosen(&font, CF_SCREENFONTS);
    EXPECT_EQ(Answered({AnswerCommand(IDOK)}, [&] { return chosen.DoModal(); }), IDOK);
    EXPECT_EQ(chosen.GetFaceName() + u" " + chosen.GetStyleName(), CString(u"Courier New Bold"));
    EXPECT_TRUE(chosen.IsBold());
    EXPECT_EQ(chosen.GetSize(), 100);
    CFontDialog broken(&font, 0);  // neither screen nor printer fonts
    EXPECT_EQ(broken.DoModal(), -1);
}

// The dialog and the message box speak the user-interface language: the labels,
// the style names the list shows and returns, the buttons and the messages.
TEST_F(FontDialogTest, TextsComeInTheUserInterfaceLanguage) {
    struct Case {
        LANGID language;
        const char16_t* title;
        const char16_t* fontLabel;
        const char16_t* bold;
        const char16_t* cancel;
        const char16_t* sizeRange;
        const char16_t* no;
        const char16_t* error;
        const char* screenshot;
    };
    const Case cases[] = {
        {0x0409, u"Font", u"&Font:", u"Bold", u"Cancel", u"Size must be between 8 and 14 points.", u"&No", u"Error", nullptr},
        {0x0411, u"フォント", u"フォント名(&F):", u"太字", u"キャンセル",
         u"サイズは 8 から 14 ポイントの間で指定してください。", u"いいえ(&N)", u"エラー", "font_dialog_jpn.png"},
        {0x0804, u"字体", u"字体(&F):", u"粗体", u"取消", u"大小必须介于 8 和 14 磅之间。", u"否(&N)", u"错误", nullptr},
        {0x0404, u"字型", u"字型(&F):", u"粗體", u"取消", u"大小必須介於 8 到 14 點之間。", u"否(&N)", u"錯誤", nullptr},
        {0x0412, u"글꼴", u"글꼴(&F):", u"굵게", u"취소", u"크기는 8에서 14 포인트 사이여야 합니다.",
         u"아니요(&N)", u"오류", "font_dialog_kor.png"},
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
        // The message box's buttons and its caption when it is given none.
        desktop.QueueModalAnswer(ModalAnswer{kDialogClass, {}, [&](HWND box) {
                                                 EXPECT_EQ(WindowText(GetDlgItem(box, IDNO)), c.no);
                                                 EXPECT_EQ(WindowText(box), c.error);
                                                 PostMessageW(box, WM_COMMAND, IDNO, 0);
                                             }});
        EXPECT_EQ(MessageBoxW(owner, u"?", nullptr, MB_YESNO), IDNO);
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
