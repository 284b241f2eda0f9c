// The demo frame's table bar and detail pane: the layout with the bar at the left
// and the pane filling the rest (also after the frame is resized), the pixels of
// the gripper, the sizing edge and the pane where that layout puts them, the pane
// following the cursor and the cells, and the View menu's item that shows the bar
// again after its close button hid it.
#include <gtest/gtest.h>
#include <tq3view/testing.h>

#include <functional>

#include "demo/demo_frame.h"
#include "framework/core/utf.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/menus/menu.h"
#include "framework/window/virtual_keys.h"
#include "tests/demo/small_demo.h"

namespace tq3::test {
namespace {

using tq3::demo::CDemoBar;
using tq3::demo::CDemoFrame;
using tq3::demo::DetailRow;
using tq3::testing::Capture;
using tq3::testing::CaptureDesktop;

constexpr int kIoSheet = 2;

std::string Utf8(const std::u16string& text) { return tq3::fw::ToUtf8(text); }

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class DemoBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = OpenSmallDemo();
        ASSERT_NE(frame, nullptr);
        view = frame->View();
        desktop.RunUntilIdle();
    }
    void TearDown() override {
        if (frame != nullptr) frame->DestroyWindow();
        desktop.RunUntilIdle();
    }

    static CRect ScreenRect(HWND window) {
        CRect r;
        ::GetWindowRect(window, &r);
        return r;
    }
    CRect FrameClient() const {
        CRect r;
        frame->GetClientRect(&r);
        frame->ClientToScreen(&r);
        return r;
    }
    // The pane's rows as "title=text" joined by '|'.
    std::string PaneRows() const {
        std::string rows;
        for (const DetailRow& row : frame->Pane()->Rows()) rows += Utf8(row.title) + "=" + Utf8(row.text) + "|";
        return rows;
    }
    // The same for a line of the displayed sheet, read from the view.
    std::string LineRows(int line) const {
        const int sheet = view->GetSelSheet();
        std::string rows;
        for (int column = 0; column < view->GetColumnCount(sheet); ++column) {
            const CString title = view->GetColumnProp(sheet, column)->title;
            const CString text = view->GetCellText(sheet, line, column);
            rows += Utf8(std::u16string(title.GetString(), title.GetLength())) + "=" +
                    Utf8(std::u16string(text.GetString(), text.GetLength())) + "|";
        }
        return rows;
    }
    // Whether the View menu's bar item is checked as the menu opens.
    bool MenuChecked() {
        HMENU viewMenu = ::GetSubMenu(::GetMenu(frame->m_hWnd), 1);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu), 1);
        return (::GetMenuState(viewMenu, CDemoBar::kId, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    POINT CloseButtonCentre() const {
        CRect r = ScreenRect(frame->Bar().closeButton.m_hWnd);
        return r.CenterPoint();
    }

    tq3::testing::Desktop desktop{1024, 768};
    tq3::testing::TestApp app;
    CDemoFrame* frame = nullptr;
    demo::CDemoView* view = nullptr;
};

TEST_F(DemoBarTest, BarAtTheLeftAndThePaneFillingTheRestAlsoAfterAResize) {
    CDemoBar& bar = frame->Bar();
    const int firstWidth = FrameClient().Width();
    for (const SIZE size : {SIZE{800, 600}, SIZE{960, 700}}) {
        const std::string at = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        frame->MoveWindow(0, 0, size.cx, size.cy);
        desktop.RunUntilIdle();
        const CRect client = FrameClient();
        const CRect barRect = ScreenRect(bar.m_hWnd);
        const CRect pane = ScreenRect(frame->Pane()->m_hWnd);
        EXPECT_EQ(bar.dockBarId, AFX_IDW_DOCKBAR_LEFT) << at;
        // The bar keeps the width it was made with, four fifths of the first client
        // area; the pane takes the rest beside it, the whole height for both.
        EXPECT_EQ(barRect.left, client.left) << at;
        EXPECT_EQ(barRect.Width(), bar.sizeVert.cx) << at;
        EXPECT_EQ(Text(pane), Text(CRect(barRect.right, client.top, client.right, client.bottom))) << at;
        // The left dock bar spans the whole height; the bar is as long as it and
        // the two pixels of border at each end, which the dock bar hides.
        const CRect dock = ScreenRect(frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT)->m_hWnd);
        EXPECT_EQ(Text(dock), Text(CRect(client.left, client.top, pane.left, client.bottom))) << at;
        EXPECT_EQ(Text(barRect), Text(CRect(dock.left, dock.top - 2, dock.right, dock.bottom + 2))) << at;
        // The view fills the bar below the gripper and buttons.
        CRect content = bar.ContentRect();
        bar.ClientToScreen(&content);
        EXPECT_EQ(Text(ScreenRect(view->m_hWnd)), Text(content)) << at;
        EXPECT_GT(content.top, ScreenRect(bar.closeButton.m_hWnd).bottom) << at;
    }
    EXPECT_EQ(bar.sizeVert.cx, firstWidth * 4 / 5);
    // The bar's idle update of its children leaves the view, which no command
    // stands behind, enabled.
    EXPECT_TRUE(::IsWindowEnabled(view->m_hWnd));
}

TEST_F(DemoBarTest, GripperSizingEdgeAndPaneArePaintedWhereTheLayoutPutsThem) {
    CDemoBar& bar = frame->Bar();
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    // The gripper's two raised lines, 4 pixels apart, across the top of the bar.
    CRect grip = bar.GetGripperRect();
    bar.ClientToScreen(&grip);
    for (int line = 0; line < 2; ++line) {
        const CRect r = grip + CPoint(0, 4 * line);
        EXPECT_EQ(tq3::testing::DesktopPixel(r.TopLeft()), light) << line;
        EXPECT_EQ(tq3::testing::DesktopPixel(POINT{r.right - 1, r.bottom - 1}), shadow) << line;
        EXPECT_EQ(tq3::testing::DesktopPixel(POINT{r.CenterPoint().x, r.top}), light) << line;
    }
    // The sizing edge: a raised band along the bar's right side, next to the pane.
    const CRect window = ScreenRect(bar.m_hWnd);
    const CRect edge = bar.rectEdge + window.TopLeft();
    EXPECT_EQ(edge.right + 1, window.right);
    EXPECT_EQ(tq3::testing::DesktopPixel(POINT{edge.left, edge.CenterPoint().y}), light);
    EXPECT_EQ(tq3::testing::DesktopPixel(POINT{edge.right - 1, edge.CenterPoint().y}), shadow);
    // The pane: its background from the bar's right edge on, with the heading
    // drawn inside it and nothing drawn beyond its last row.
    const CRect pane = ScreenRect(frame->Pane()->m_hWnd);
    const COLORREF background = ::GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(tq3::testing::DesktopPixel(pane.TopLeft()), background);
    EXPECT_EQ(tq3::testing::DesktopPixel(POINT{pane.right - 1, pane.bottom - 1}), background);
    EXPECT_NE(tq3::testing::DesktopPixel(POINT{pane.left - 1, pane.CenterPoint().y}), background);
    auto ink = [&](int row) {
        CRect r = frame->Pane()->RowRect(row);
        frame->Pane()->ClientToScreen(&r);
        return CaptureDesktop(r).CountOther(background);
    };
    const int rows = static_cast<int>(frame->Pane()->Rows().size());
    ASSERT_GT(rows, 1);
    EXPECT_GT(ink(-1), 0);
    EXPECT_GT(ink(0), 0);
    EXPECT_GT(ink(rows - 1), 0);
    EXPECT_EQ(ink(rows), 0);
}

TEST_F(DemoBarTest, PaneFollowsTheCursorTheSheetsAndTheCells) {
    // The first sheet's first line at the start.
    EXPECT_EQ(Utf8(frame->Pane()->Heading()), "Time zones");
    EXPECT_EQ(PaneRows(), LineRows(0));

    view->SetSelSheet(kIoSheet);
    desktop.RunUntilIdle();
    EXPECT_EQ(Utf8(frame->Pane()->Heading()), "I/O points");
    EXPECT_EQ(PaneRows(), LineRows(0));
    EXPECT_NE(PaneRows(), LineRows(3)) << "the sample cannot tell the lines apart";
    // Keys moving the cursor change the pane.
    for (int i = 0; i < 3; ++i) desktop.KeyPress(VK_DOWN);
    EXPECT_EQ(PaneRows(), LineRows(3));
    desktop.KeyPress(VK_RIGHT);
    desktop.KeyPress(VK_DOWN);
    EXPECT_EQ(PaneRows(), LineRows(4));
    // A paste changes a cell of the cursor's line without moving the cursor.
    ASSERT_TRUE(desktop.SetClipboardText(u"Pump P-17\r\n"));
    desktop.KeyPress('V', tq3::testing::kControl);
    EXPECT_EQ(Utf8(std::u16string(view->GetCellText(kIoSheet, 4, 1).GetString())), "Pump P-17");
    EXPECT_EQ(PaneRows(), LineRows(4));
    // Ctrl+Page Up goes to the previous sheet and its cursor's line.
    desktop.KeyPress(VK_PRIOR, tq3::testing::kControl);
    EXPECT_EQ(Utf8(frame->Pane()->Heading()), "Countries");
    EXPECT_EQ(PaneRows(), LineRows(0));
}

TEST_F(DemoBarTest, ViewMenuShowsTheBarItsCloseButtonHidAndIsCheckedWhileItShows) {
    CDemoBar& bar = frame->Bar();
    EXPECT_TRUE(MenuChecked());
    desktop.Click(CloseButtonCentre());
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_FALSE(MenuChecked());
    // The pane has the whole frame.
    EXPECT_EQ(Text(ScreenRect(frame->Pane()->m_hWnd)), Text(FrameClient()));

    // The item, chosen from the View menu opened with its key.
    desktop.QueueModalAnswer(tq3::testing::AnswerMenuItem(u"Table"));
    desktop.KeyPress('V', tq3::testing::kAlt);
    desktop.RunUntilIdle();
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_TRUE(MenuChecked());
    EXPECT_EQ(bar.dockBarId, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(ScreenRect(frame->Pane()->m_hWnd).left, ScreenRect(bar.m_hWnd).right);
    // The keys reach the cells again.
    const int line = view->Hooks().cursorLine;
    desktop.KeyPress(VK_DOWN);
    EXPECT_EQ(view->Hooks().cursorLine, line + 1);

    // The item and the bar's title speak the demo's language.
    for (int language = 0; language < 5; ++language) {
        frame->SetLanguage(language);
        WCHAR text[64]{};
        ::GetMenuStringW(::GetSubMenu(::GetMenu(frame->m_hWnd), 1), CDemoBar::kId, text, 64, MF_BYCOMMAND);
        EXPECT_EQ(std::u16string(text), std::u16string(demo::TextsFor(language).tableMenu)) << language;
        CString title;
        bar.GetWindowText(title);
        EXPECT_EQ(std::u16string(title.GetString()), std::u16string(demo::TextsFor(language).tableBar)) << language;
    }
    frame->SetLanguage(0);
}

// The bar's place comes back from the store at the next start; what the store
// holds beyond reason (a hand-edited value) is passed over for the first start's.
TEST_F(DemoBarTest, StoredPlaceComesBackAndNonsenseInTheStoreIsPassedOver) {
    const int firstWidth = frame->Bar().sizeVert.cx;
    // Closes the frame (which stores its bar), lets `store` write over that, and
    // starts again.
    auto reopen = [&](const std::function<void()>& store) {
        frame->DestroyWindow();
        desktop.RunUntilIdle();
        store();
        frame = OpenSmallDemo();
        ASSERT_NE(frame, nullptr);
        view = frame->View();
        desktop.RunUntilIdle();
    };
    struct Case {
        const char* what;
        int dock, width;              // stored before the start; 0 for width: left as the last run stored it
        UINT dockAfter;
        int widthAfter;
    };
    const Case cases[] = {
        {"right, 300 wide", static_cast<int>(AFX_IDW_DOCKBAR_RIGHT), 300, AFX_IDW_DOCKBAR_RIGHT, 300},
        {"no such dock", 12345, 0, AFX_IDW_DOCKBAR_LEFT, firstWidth},
        {"a negative width", static_cast<int>(AFX_IDW_DOCKBAR_RIGHT), -7, AFX_IDW_DOCKBAR_RIGHT, firstWidth},
        {"a width beyond any screen", static_cast<int>(AFX_IDW_DOCKBAR_TOP), 100000, AFX_IDW_DOCKBAR_TOP, firstWidth},
    };
    for (const Case& c : cases) {
        reopen([&] {
            app.WriteProfileInt(u"Table bar", u"Dock", c.dock);
            if (c.width != 0) app.WriteProfileInt(u"Table bar", u"Width", c.width);
        });
        ASSERT_NE(frame, nullptr) << c.what;
        EXPECT_EQ(frame->Bar().dockBarId, c.dockAfter) << c.what;
        EXPECT_EQ(frame->Bar().sizeVert.cx, c.widthAfter) << c.what;
        EXPECT_TRUE(frame->Bar().IsVisible()) << c.what;
    }
    // Hidden at the end of a run, hidden at the next start, with the pane filling the frame.
    frame->ShowControlBar(&frame->Bar(), FALSE, FALSE);
    reopen([] {});
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->Bar().IsVisible());
    EXPECT_EQ(Text(ScreenRect(frame->Pane()->m_hWnd)), Text(FrameClient()));
}

}  // namespace
}  // namespace tq3::test
