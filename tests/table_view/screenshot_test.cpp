// A view as a user meets it: three sheets, one of them a configuration table of
// input and output points with list and numeric columns, scrolled down and right,
// with a block of cells selected. The picture is written to the test output folder
// ("table_view.png") for a person to look at; the cell area's pixels are the paint
// tests' business, this one checks the scroll bars beside the tab strip.
#include <string>

#include "tests/support/test_output.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class ScreenshotTest : public TableViewTest {
protected:
    void FillPoints() {
        ASSERT_EQ(view->InsertSheet(0, u"I/O points"), 0);
        ASSERT_EQ(view->InsertSheet(1, u"Devices"), 1);
        ASSERT_EQ(view->InsertSheet(2, u"Notes"), 2);
        const char16_t* titles[] = {u"Tag", u"Type", u"Address", u"Scale", u"Unit", u"Description"};
        const BYTE numeric[] = {0, 0, 1, 1, 0, 0};
        for (int c = 0; c < 6; ++c) ASSERT_GE(view->InsertColumn(0, c, titles[c], numeric[c]), 0);
        for (const char16_t* type : {u"DI", u"DO", u"AI", u"AO"}) view->AddColumnString(0, 1, type);
        for (const char16_t* unit : {u"-", u"V", u"mA", u"degC", u"bar", u"l/min"}) view->AddColumnString(0, 4, unit);
        view->SetColumnEditMode(0, 2, 1, 0, 5, 0);
        view->SetColumnEditMode(0, 3, 1, 0, 7, 2);
        view->SetColumnEditMode(0, 0, 0, 12, 0, 0);
        SetWidths(0, {90, 60, 80, 80, 60, 260});

        const char* types[] = {"DI", "DO", "AI", "AO"};
        const char* units[] = {"-", "-", "mA", "V"};
        const char* things[] = {"Pump", "Valve", "Tank level", "Flow", "Motor", "Heater", "Fan", "Pressure"};
        for (int l = 0; l < 80; ++l) {
            const int kind = l % 4;
            char tag[32];
            std::snprintf(tag, sizeof tag, "%s-%03d", types[kind], l + 1);
            std::string line = std::string(tag) + "\t" + types[kind] + "\t" + std::to_string(100 + l * 2) + "\t" +
                               (kind >= 2 ? std::to_string(l % 7 + 1) + ".5" : "1") + "\t" + units[kind] + "\t" +
                               things[l % 8] + " " + std::to_string(l / 8 + 1) +
                               (l % 5 == 0 ? " - reported to the supervisory station every second" : "");
            ASSERT_GE(view->InsertLine(0, l, U16(line).c_str()), 0);
            // Stored through the cell interface so that numbers take their column's form.
            view->SetCellText(0, l, 3, view->GetCellText(0, l, 3));
        }
        ASSERT_GE(view->InsertColumn(1, 0, u"Device", 0), 0);
        ASSERT_GE(view->InsertColumn(1, 1, u"Station", 1), 0);
        ASSERT_GE(view->InsertLine(1, 0, u"PLC rack A\t1"), 0);
        ASSERT_GE(view->InsertColumn(2, 0, u"Note", 0), 0);
    }
};

TEST_F(ScreenshotTest, ConfigurationTableScrolledWithABlockSelected) {
    FillPoints();
    view->SetSelSheet(0);
    view->SetWindowTextW(u"No.");
    SetClientSize(560, 420);
    VScroll(SB_THUMBPOSITION, 12 - 32768);
    HScroll(SB_THUMBPOSITION, 40);
    view->SetSel(CRect(1, 14, 3, 18), CPoint(1, 14));
    desktop.RunUntilIdle();
    ASSERT_EQ(TopLine(), 12);
    ASSERT_EQ(ScrollX(), 40);

    const std::string path = OutputPath("table_view", "table_view.png");
    EXPECT_TRUE(tq3::testing::SaveScreenshot(frame->m_hWnd, path)) << path;

    // The tab strip reaches below the client area; the scroll bars beside it still
    // show their arrows.
    for (LONG bar : {OBJID_HSCROLL, OBJID_VSCROLL}) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::GetScrollBarInfo(view->m_hWnd, bar, &info));
        EXPECT_GT(tq3::testing::CaptureDesktop(info.rcScrollBar).Count(RGB(0, 0, 0)), 0) << "bar " << bar;
    }
}

}  // namespace
}  // namespace tq3::test
