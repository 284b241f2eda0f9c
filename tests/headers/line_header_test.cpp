// The line header strip: the line hit test (caption box, rows, above the strip
// while captured), the notification sequences of presses, drags, clicks,
// double-clicks and right clicks, its width from the caption, and its pixels
// (1-based labels, blank rows past the last line).
#include "headers/line_header_wnd.h"
#include "tests/headers/header_test_support.h"
#include "tests/support/spy_expect.h"

namespace tq3::test {
namespace {

using tq3::testing::Notify;

constexpr int kLineHeight = 18;
constexpr int kStripWidth = 60;
constexpr int kStripHeight = 200;

class LineHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Make(CRect(10, 10, 410, 410)));
        header.font.CreatePointFont(90, u"MS UI Gothic");
        header.lineHeight = kLineHeight;
        header.headerLineCount = 100;
        ASSERT_TRUE(header.Create(&parent));
        header.MoveWindow(0, 50, kStripWidth, kStripHeight);
        desktop.RunUntilIdle();
        spy.Watch(parent.m_hWnd, "parent");
        spy.KeepOnly({WM_NOTIFY});
    }
    void TearDown() override {
        if (parent.m_hWnd != nullptr) parent.DestroyWindow();
    }

    // The client y of the middle of the row showing `line`.
    int RowY(int line) const { return (line - header.topLine + 1) * kLineHeight + kLineHeight / 2; }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    NotifyParent parent;
    CLineHeaderWnd header;
    tq3::testing::MessageSpy spy;
};

TEST_F(LineHeaderTest, HitTestOfCaptionRowsAndAboveTheStrip) {
    header.topLine = 10;
    struct Case {
        int y;
        int item;
    };
    const Case cases[] = {
        {0, CLineHeaderWnd::kCorner}, {17, CLineHeaderWnd::kCorner}, {18, 10}, {35, 10}, {36, 11},
        // Above the strip (reachable while captured) the rows go on upwards.
        {-1, 9}, {-18, 8},
    };
    for (const Case& c : cases) EXPECT_EQ(header.ItemAt(c.y), c.item) << "y " << c.y;
    header.topLine = 0;
    header.headerLineCount = 3;
    EXPECT_EQ(header.ItemAt(RowY(2)), 2);
    EXPECT_EQ(header.ItemAt(RowY(3)), CLineHeaderWnd::kNoItem);
}

TEST_F(LineHeaderTest, PressDragClickAndDoubleClickSequences) {
    header.topLine = 10;
    // A click on a row: begin drag, item click and end drag for its line.
    desktop.Click(header.m_hWnd, {20, RowY(12)});
    EXPECT_TRUE(Same(spy.Compare({Notify(HDN_BEGINDRAG, kLineHeaderId, 12), Notify(HDN_ITEMCLICKW, kLineHeaderId, 12),
        Notify(HDN_ENDDRAG, kLineHeaderId, 12)})));

    // A drag down two rows and then up past the top of the strip: one track per
    // move, the lines above the top one while the pointer is above the strip, and
    // the end for the line under the release point.
    spy.Clear();
    desktop.MouseDown(header.m_hWnd, {20, RowY(10)});
    EXPECT_EQ(GetCapture(), header.m_hWnd);
    desktop.MouseMove(header.m_hWnd, {20, RowY(11)});
    desktop.MouseMove(header.m_hWnd, {20, RowY(12)});
    desktop.MouseMove(header.m_hWnd, {20, -5});
    desktop.MouseUp(header.m_hWnd, {20, -30});  // moves there, then releases
    EXPECT_TRUE(Same(spy.Compare({Notify(HDN_BEGINDRAG, kLineHeaderId, 10), Notify(HDN_TRACKW, kLineHeaderId, 11),
        Notify(HDN_TRACKW, kLineHeaderId, 12), Notify(HDN_TRACKW, kLineHeaderId, 9),
        Notify(HDN_TRACKW, kLineHeaderId, 8), Notify(HDN_ENDDRAG, kLineHeaderId, 8)})));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(header.pressState, 0);

    // A double-click on a row: the first click, then the double-click.
    spy.Clear();
    desktop.DoubleClick(header.m_hWnd, {20, RowY(11)});
    EXPECT_TRUE(Same(spy.Compare({Notify(HDN_BEGINDRAG, kLineHeaderId, 11), Notify(HDN_ITEMCLICKW, kLineHeaderId, 11),
        Notify(HDN_ENDDRAG, kLineHeaderId, 11), Notify(HDN_ITEMDBLCLICKW, kLineHeaderId, 11)})));

    // A right press reports the line with the right button and takes no capture.
    spy.Clear();
    parent.heard.clear();
    desktop.MouseDown(header.m_hWnd, {20, RowY(14)}, tq3::testing::Button::Right);
    EXPECT_EQ(GetCapture(), nullptr);
    desktop.MouseUp(header.m_hWnd, {20, RowY(14)}, tq3::testing::Button::Right);
    EXPECT_TRUE(Same(spy.Compare({Notify(HDN_ITEMCLICKW, kLineHeaderId, 14)})));
    ASSERT_EQ(parent.heard.size(), 1u);
    EXPECT_EQ(parent.heard[0].button, 1);
}

TEST_F(LineHeaderTest, WidthFollowsTheCaption) {
    EXPECT_EQ(header.GetLineHeaderWidth(), kStripWidth);  // empty caption
    header.caption = u"Line number of the record";
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* old = dc.SelectObject(&header.font);
    const int text = dc.GetTextExtent(header.caption).cx;
    dc.SelectObject(old);
    ASSERT_GT(text + 2 * kLineHeight + 1, 60);
    EXPECT_EQ(header.GetLineHeaderWidth(), text + 2 * kLineHeight + 1);
    header.caption = u"No.";
    EXPECT_EQ(header.GetLineHeaderWidth(), 60);
}

TEST_F(LineHeaderTest, PaintsOneBasedLabelsAndBlankRowsPastTheEnd) {
    header.headerLineCount = 5;
    header.topLine = 2;
    header.caption = u"No.";
    header.Invalidate();
    desktop.RunUntilIdle();
    tq3::testing::SaveScreenshot(header.m_hWnd, OutputPath("headers", "line_header.png"));

    // The oracle: the caption box and the rows drawn independently as push
    // buttons with their labels, line l labelled l + 1.
    Reference ref(kStripWidth, kStripHeight);
    ref.dc.SelectObject(&header.font);
    ref.dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    ref.dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    constexpr UINT kFormat = DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    CRect box(0, 0, kStripWidth, kLineHeight);
    ref.dc.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONPUSH);
    ref.dc.DrawText(CString(u"No."), &box, kFormat);
    const char16_t* labels[] = {u"3", u"4", u"5"};
    for (const char16_t* label : labels) {
        box.OffsetRect(0, kLineHeight);
        ref.dc.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONPUSH);
        CRect text = box;
        text.DeflateRect(1, 1);
        ref.dc.DrawText(CString(label), &text, kFormat);
    }
    while (box.top < kStripHeight) {
        box.OffsetRect(0, kLineHeight);
        ref.dc.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
    EXPECT_EQ(ref.Differs(header.m_hWnd, CRect(0, 0, kStripWidth, kStripHeight)), 0);
}

}  // namespace
}  // namespace tq3::test
