// The user picks the view's font in the font dialog: what the dialog starts
// from, what Cancel keeps and what OK changes, down to the stored settings.
#include <cstring>
#include <string>

#include "framework/dialogs/commdlg.h"
#include "framework/system/registry.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerCommand;
using tq3::testing::AnswerType;
using tq3::testing::ModalAnswer;

constexpr WCHAR kDialogClass[] = u"#32770";

std::u16string Text(HWND dialog, int id) {
    WCHAR text[64]{};
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

LOGFONTW Record(CFont& font) {
    LOGFONTW lf{};
    font.GetLogFont(&lf);
    return lf;
}

class FontChoiceTest : public TableViewTest {
protected:
    // The store holds a 10-point bold face before the view is made, so that the
    // view starts from it.
    void SetUp() override {
        MakeSettingsBaseKey();
        LOGFONTW stored{};
        const std::u16string face = u"DejaVu Sans";
        std::copy(face.begin(), face.end(), stored.lfFaceName);
        stored.lfWeight = FW_BOLD;
        stored.lfCharSet = ANSI_CHARSET;
        {
            SpyTableView writer;
            ASSERT_TRUE(writer.WriteLogFont(stored, 100));
        }
        TableViewTest::SetUp();
        AddSheets(1, 3, 40);
        SetWidths(0, {60, 60, 60});
        view->SetCellText(0, 2, 1, u"WWW");
        SetClientSize(400, 300);
    }

    void Choose(std::vector<ModalAnswer> answers) {
        for (auto& a : answers) desktop.QueueModalAnswer(std::move(a));
        view->ChangeDrawingElements();
        desktop.RunUntilIdle();
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u) << "every scripted answer was needed";
    }

    static ModalAnswer Look(std::function<void(HWND)> look) {
        return ModalAnswer{kDialogClass, {}, [look](HWND dialog) {
                               look(dialog);
                               PostMessageW(dialog, WM_NULL, 0, 0);
                           }};
    }

    int ColumnHeaderHeight() {
        CRect r;
        view->GetColumnHeader().GetWindowRect(&r);
        return r.Height();
    }
};

TEST_F(FontChoiceTest, DialogStartsFromTheViewsFontCancelKeepsEverythingOkAppliesEverywhere) {
    ASSERT_EQ(view->GetLineHeight(), 20);
    const HGDIOBJ cellFont = view->GetFont()->m_hObject;
    const int headerHeight = ColumnHeaderHeight();
    const auto before = tq3::testing::CaptureWindow(view->m_hWnd);

    Choose({Look([](HWND dialog) {
                EXPECT_EQ(GetWindow(dialog, GW_OWNER), GetAncestor(GetParent(dialog), GA_ROOT))
                    << "owned through the view";
                EXPECT_EQ(Text(dialog, cmb1), u"DejaVu Sans");
                EXPECT_EQ(Text(dialog, cmb2), u"Bold");
                EXPECT_EQ(Text(dialog, cmb3), u"10");
                // Sizes 8 to 14 points, in the western script.
                EXPECT_EQ(SendDlgItemMessageW(dialog, cmb3, CB_GETCOUNT, 0, 0), 6);
                EXPECT_EQ(Text(dialog, cmb5), u"Western");
            }),
            AnswerType(cmb3, u"14"), AnswerCommand(IDCANCEL)});

    EXPECT_EQ(view->GetPointSize(), 100);
    EXPECT_EQ(view->GetFont()->m_hObject, cellFont);
    EXPECT_EQ(ColumnHeaderHeight(), headerHeight);
    EXPECT_EQ(tq3::testing::CountDiffering(before, tq3::testing::CaptureWindow(view->m_hWnd)), 0);

    // OK applies the choice everywhere and stores it at once.
    Choose({AnswerType(cmb3, u"14"), AnswerCommand(IDOK)});
    EXPECT_EQ(view->GetPointSize(), 140);
    EXPECT_EQ(ColumnHeaderHeight(), 28);
    EXPECT_EQ(view->GetLineHeader().lineHeight, 28);
    EXPECT_EQ(view->GetColumnHeader().titleMargin, 28);
    EXPECT_EQ(view->GetSheetTab().tabHeight, 18);
    EXPECT_EQ(view->GetCellRect(1, 0).top - view->GetCellRect(0, 0).top, 28);

    // Every font but the tab strip's is at 14 points; the tabs stay at 9.
    const int fourteen = -MulDiv(140, 96, 720);
    struct Font {
        const char* what;
        CFont& font;
        int height;
    };
    const Font fonts[] = {
        {"cells", *view->GetFont(), fourteen},
        {"column header", view->GetColumnHeader().font, fourteen},
        {"line header", view->GetLineHeader().font, fourteen},
        {"edit box", view->GetCellEdit().font, fourteen},
        {"drop-down list", view->GetCellCombo().font, fourteen},
        {"tabs", view->GetSheetTab().font, -MulDiv(90, 96, 720)},
    };
    for (const Font& f : fonts) {
        const LOGFONTW lf = Record(f.font);
        EXPECT_EQ(lf.lfHeight, f.height) << f.what;
        EXPECT_EQ(std::u16string(lf.lfFaceName), u"DejaVu Sans") << f.what;
        EXPECT_EQ(lf.lfWeight, FW_BOLD) << f.what;
    }

    LOGFONTW stored{};
    int points = 0;
    ASSERT_TRUE(view->ReadLogFont(&stored, points));
    EXPECT_EQ(points, 140);
}

// A stored face this desktop does not have: the view still draws its texts in
// a real face after the choice, never in an empty box.
TEST_F(FontChoiceTest, AFaceThatCannotBeHadFallsBackToARealOne) {
    LOGFONTW stranger{};
    const std::u16string face = u"No Such Face Anywhere";
    std::copy(face.begin(), face.end(), stranger.lfFaceName);
    ASSERT_TRUE(view->WriteLogFont(stranger, 90));
    // What the view holds now is the DejaVu font; make its record the stranger's.
    view->GetFont()->DeleteObject();
    stranger.lfHeight = 90;
    view->GetFont()->CreatePointFontIndirect(&stranger);

    Choose({AnswerCommand(IDOK)});
    const std::u16string chosen = Record(*view->GetFont()).lfFaceName;
    EXPECT_NE(chosen, face);
    EXPECT_FALSE(chosen.empty());
    LOGFONTW stored{};
    int points = 0;
    view->ReadLogFont(&stored, points);
    EXPECT_EQ(std::u16string(stored.lfFaceName), chosen);

    const CRect cell = view->GetCellRect(2, 1);
    const int ink = tq3::testing::CaptureWindow(view->m_hWnd, cell).Count(GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_GT(ink, 10) << "the cell's text is drawn";
}

}  // namespace
}  // namespace tq3::test
