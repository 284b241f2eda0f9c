// The user picks the view's font in the font dialog: what the dialog starts
// from, what Cancel keeps and what OK changes, down to the stored settings.
#include <string>
#include <vector>

#include "framework/dialogs/commdlg.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerCommand;
using tq3::testing::AnswerType;

class FontChoiceTest : public TableViewTest {
protected:
    // The store holds a 10-point bold face before the view is made, so that the
    // view starts from it.
    void SetUp() override {
        MakeSettingsBaseKey();
        LOGFONTW stored{};
        std::u16string(u"DejaVu Sans").copy(stored.lfFaceName, 11);
        stored.lfWeight = FW_BOLD;
        stored.lfCharSet = ANSI_CHARSET;
        ASSERT_TRUE(SpyTableView().WriteLogFont(stored, 100));
        TableViewTest::SetUp();
        AddSheets(1, 3, 40);
        SetWidths(0, {60, 60, 60});
        view->SetCellText(0, 2, 1, u"WWW");
        SetClientSize(400, 300);
    }
};

TEST_F(FontChoiceTest, DialogStartsFromTheViewsFontCancelKeepsEverythingOkAppliesEverywhere) {
    ASSERT_EQ(view->GetLineHeight(), 20);
    auto choose = [&](std::vector<tq3::testing::ModalAnswer> answers) {
        for (auto& a : answers) desktop.QueueModalAnswer(std::move(a));
        view->ChangeDrawingElements();
        desktop.RunUntilIdle();
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u) << "every scripted answer was needed";
    };
    auto headerHeight = [&] {
        CRect r;
        view->GetColumnHeader().GetWindowRect(&r);
        return r.Height();
    };
    const HGDIOBJ cellFont = view->GetFont()->m_hObject;
    const int height = headerHeight();
    const auto before = tq3::testing::CaptureWindow(view->m_hWnd);
    auto look = [](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), GetAncestor(GetParent(dialog), GA_ROOT)) << "owned through the view";
        auto text = [dialog](int id) {
            WCHAR t[64]{};
            GetDlgItemTextW(dialog, id, t, 64);
            return std::u16string(t);
        };
        EXPECT_EQ((std::vector{text(cmb1), text(cmb2), text(cmb3), text(cmb5)}),
                  (std::vector<std::u16string>{u"DejaVu Sans", u"Bold", u"10", u"Western"}));
        // Sizes 8 to 14 points.
        EXPECT_EQ(SendDlgItemMessageW(dialog, cmb3, CB_GETCOUNT, 0, 0), 6);
        PostMessageW(dialog, WM_NULL, 0, 0);
    };
    choose({{u"#32770", {}, look}, AnswerType(cmb3, u"14"), AnswerCommand(IDCANCEL)});
    EXPECT_EQ(view->GetPointSize(), 100);
    EXPECT_EQ(view->GetFont()->m_hObject, cellFont);
    EXPECT_EQ(headerHeight(), height);
    EXPECT_EQ(tq3::testing::CountDiffering(before, tq3::testing::CaptureWindow(view->m_hWnd)), 0);

    // OK applies the choice everywhere and stores it at once: every font but the
    // tab strip's is at 14 points, the tabs stay at 9.
    choose({AnswerType(cmb3, u"14"), AnswerCommand(IDOK)});
    EXPECT_EQ(view->GetPointSize(), 140);
    EXPECT_EQ((std::vector<int>{headerHeight(), view->GetLineHeader().lineHeight, view->GetColumnHeader().titleMargin,
                                view->GetCellRect(1, 0).top - view->GetCellRect(0, 0).top,
                                view->GetSheetTab().tabHeight}),
              (std::vector<int>{28, 28, 28, 28, 18}));
    std::vector<LONG> heights;
    int dejaVuBold = 0;
    for (CFont* font : {view->GetFont(), &view->GetColumnHeader().font, &view->GetLineHeader().font,
                        &view->GetCellEdit().font, &view->GetCellCombo().font, &view->GetSheetTab().font}) {
        LOGFONTW lf{};
        font->GetLogFont(&lf);
        heights.push_back(lf.lfHeight);
        dejaVuBold += std::u16string(lf.lfFaceName) == u"DejaVu Sans" && lf.lfWeight == FW_BOLD;
    }
    const LONG fourteen = -MulDiv(140, 96, 720);
    EXPECT_EQ(heights, (std::vector<LONG>{fourteen, fourteen, fourteen, fourteen, fourteen, -MulDiv(90, 96, 720)}));
    EXPECT_EQ(dejaVuBold, 6);
    LOGFONTW stored{};
    int points = 0;
    ASSERT_TRUE(view->ReadLogFont(&stored, points));
    EXPECT_EQ(points, 140);
}

}  // namespace
}  // namespace tq3::test
