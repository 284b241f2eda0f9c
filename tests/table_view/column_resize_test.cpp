// Resizing a column by dragging its divider in the column header, driven with the
// mouse.
#include <vector>

#include "framework/controls/commctrl.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

class ColumnResizeTest : public TableViewTest {
protected:
    void SetUp() override {
        TableViewTest::SetUp();
        AddSheets(1, 4, 30);
        SetWidths(0, {80, 80, 80, 80});
        for (int c = 0; c < 4; ++c) view->GetColumnProp(0, c)->defaultWidth = 80;
        SetClientSize(600, 400);
    }

    HWND Header() { return view->GetColumnHeader().m_hWnd; }

    // Presses on the divider at strip x `divider` (column 1's right edge unless
    // told) and moves the pointer to strip x `to`, leaving the button down.
    void PressAndDrag(int to, int divider = 160) {
        desktop.AdvanceClock(1000);  // a new press, not the second of a double-click
        desktop.MouseMove(Header(), {divider, 5});
        desktop.MouseDown(Header(), {divider, 5});
        desktop.MouseMove(Header(), {to, 5});
    }
    void ReleaseAt(int to) { desktop.MouseUp(Header(), {to, 5}); }

    void Notify(UINT code, int item) {
        NMHEADERW header{};
        header.hdr.hwndFrom = Header();
        header.hdr.idFrom = kColumnHeaderId;
        header.hdr.code = code;
        header.iItem = item;
        view->SendMessage(WM_NOTIFY, kColumnHeaderId, reinterpret_cast<LPARAM>(&header));
        desktop.RunUntilIdle();
    }
};

TEST_F(ColumnResizeTest, DraggingADividerSetsTheWidthWithinItsLimits) {
    struct Case {
        int divider;             // strip x of the divider pressed
        int to;                  // strip x it is dropped at
        std::vector<int> widths;  // the columns' widths after it
    } const cases[] = {
        {160, 200, {80, 120, 80, 80}},
        {160, 90, {80, 25, 80, 80}},
        {160, 880, {80, 500, 80, 80}},
        {80, 130, {130, 80, 80, 80}},  // the first column is resized like any other
    };
    for (const Case& c : cases) {
        SetWidths(0, {80, 80, 80, 80});
        PressAndDrag(c.to, c.divider);
        ReleaseAt(c.to);
        EXPECT_EQ(Widths(view, 0), c.widths) << "dropped at " << c.to;
        EXPECT_EQ(view->GetColumnProp(0, 2)->extent.left, c.widths[0] + c.widths[1]) << "the columns behind move along";
        EXPECT_EQ(view->GetColumnProp(0, 1)->defaultWidth, 80);
    }
}

// Notifications naming columns the sheet lacks, or arriving without a drag
// under way, change nothing.
TEST_F(ColumnResizeTest, NotificationsOutOfRangeChangeNothing) {
    Notify(HDN_BEGINTRACKW, 99);
    Notify(HDN_TRACKW, -1);
    Notify(HDN_ENDTRACKW, -1);
    Notify(HDN_DIVIDERDBLCLICKW, 99);
    EXPECT_EQ(Widths(view, 0), (std::vector<int>{80, 80, 80, 80}));
}

}  // namespace
}  // namespace tq3::test
