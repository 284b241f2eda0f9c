// The minimal host's user interface, driven as a user drives it on the harness's
// headless desktop: clicks and typing reach the cells, a block goes to the
// clipboard through the host's Edit menu and its key, a tab click tells the frame,
// and the selection shows in the view's pixels.
#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include "framework/controls/commctrl.h"
#include "host.h"

namespace tt = tq3::testing;

namespace {

class HostUi : public ::testing::Test {
protected:
    void SetUp() override {
        frame = CHostFrame::Open(POINTS_FILE, RECT{0, 0, 640, 400});
        ASSERT_NE(frame, nullptr);
        view = frame->view;
        desktop.RunUntilIdle();
    }
    void TearDown() override {
        if (frame != nullptr && IsWindow(frame->m_hWnd)) frame->DestroyWindow();
        desktop.RunUntilIdle();
    }
    // The middle of a cell, or a point 3 pixels inside its right edge (blank in
    // every column: texts keep a margin of 6 pixels).
    POINT Middle(int line, int column) const {
        const CRect cell = view->GetCellRect(line, column);
        return POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    }
    POINT RightMargin(int line, int column) const {
        const CRect cell = view->GetCellRect(line, column);
        return POINT{cell.right - 3, (cell.top + cell.bottom) / 2};
    }

    tt::Desktop desktop{800, 600};
    tt::TestApp app{u"MinimalHost", u"MinimalHost"};  // settings in scratch stores
    CHostFrame* frame = nullptr;
    CHostView* view = nullptr;
};

TEST_F(HostUi, FileFillsTwoSheetsWithTheHostsColumns) {
    ASSERT_EQ(view->GetSheetCount(), 2);
    EXPECT_EQ(view->GetSheetName(1), CString(u"Outputs"));
    EXPECT_EQ(view->GetLineCount(0), 3);
    EXPECT_EQ(view->GetLineCount(1), 2);
    EXPECT_EQ(view->GetCellText(1, 1, 2), CString(u"m3/h"));
    // A file that cannot be read opens nothing.
    EXPECT_EQ(CHostFrame::Open("no-such-file.tsv", RECT{0, 0, 200, 200}), nullptr);
}

TEST_F(HostUi, ClickAndTypeStoreANumberWithTheColumnsDecimals) {
    desktop.Click(view->m_hWnd, Middle(1, 1));
    CRect selection;
    CPoint cursor;
    view->GetSel(selection, cursor);
    EXPECT_EQ(cursor, CPoint(1, 1));

    // The value column keeps two decimals: the editor refuses the third one.
    desktop.Type(u"7.555");
    desktop.KeyPress(VK_RETURN);
    EXPECT_EQ(view->GetCellText(0, 1, 1), CString(u"7.55"));
    EXPECT_EQ(view->GetCellText(0, 0, 1), CString(u"21.50"));  // its neighbour untouched
}

TEST_F(HostUi, CopyPutsTheBlockOnTheClipboardAndTheSelectionShows) {
    // The user drags from the first name to the second value.
    desktop.MouseDown(view->m_hWnd, Middle(0, 0));
    desktop.MouseMove(view->m_hWnd, Middle(1, 1));
    desktop.MouseUp(view->m_hWnd, Middle(1, 1));

    desktop.KeyPress('C', tt::kControl);  // the Edit menu's key
    EXPECT_EQ(desktop.ClipboardText(), std::u16string(u"TI-101 inlet\t21.50\r\nPI-102 pressure\t2.40\r\n"));

    // Through the menu itself: Alt+E opens Edit, the user picks Copy.
    desktop.SetClipboardText(u"");
    desktop.QueueModalAnswer(tt::AnswerMenuItem(ID_EDIT_COPY));
    desktop.KeyPress('E', tt::kAlt);
    EXPECT_EQ(desktop.PendingModalAnswers(), 0u);
    EXPECT_EQ(desktop.ClipboardText(), std::u16string(u"TI-101 inlet\t21.50\r\nPI-102 pressure\t2.40\r\n"));

    // The block shows inverted; the cursor cell's inside does not.
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(tt::WindowPixel(view->m_hWnd, RightMargin(1, 1)), tt::Inverted(window));
    EXPECT_EQ(tt::WindowPixel(view->m_hWnd, RightMargin(1, 0)), tt::Inverted(window));
    EXPECT_EQ(tt::WindowPixel(view->m_hWnd, RightMargin(0, 0)), window);
    EXPECT_EQ(tt::WindowPixel(view->m_hWnd, RightMargin(2, 1)), window);  // outside the block
}

TEST_F(HostUi, ATabClickSwitchesTheSheetAndTellsTheFrame) {
    tt::MessageSpy spy;
    spy.Watch(frame->m_hWnd, "frame");
    spy.KeepOnly({WM_NOTIFY});
    const tt::Capture before = tt::CaptureWindow(view->m_hWnd, view->GetCellRect(0, 0));
    CSheetTabWnd& tabs = view->GetSheetTab();
    const CRect tab = tabs.GetItemRect(1);
    desktop.Click(tabs.m_hWnd, POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});

    EXPECT_EQ(view->GetSelSheet(), 1);
    const tt::Comparison sequence = spy.Compare({tt::Notify(TCN_SELCHANGE, 0)});
    EXPECT_TRUE(sequence.ok) << sequence.report;
    // The first cell now shows the other sheet's first name.
    EXPECT_GT(tt::CountDiffering(before, tt::CaptureWindow(view->m_hWnd, view->GetCellRect(0, 0))), 0);
}

}  // namespace
