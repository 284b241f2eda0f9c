// A window's own scroll bars: values and clamping, their room in the frame, and
// the scroll codes that mouse actions on them send.
#include <climits>
#include <tuple>

#include "framework/window/scroll_bar_parts.h"
#include "tests/framework/window/window_fixture.h"

namespace tq3::test {
namespace {

using tq3::fw::ScrollBarParts;

SCROLLINFO Info(UINT mask, int min, int max, UINT page, int pos) {
    return SCROLLINFO{sizeof(SCROLLINFO), mask, min, max, page, pos, 0};
}

class ScrollBarTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 400, 400});
        view = Child(top, {0, 0, 200, 300}, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
        backend.RunUntilIdle();
        spy.Clear();
    }
    // Scroll codes (and positions) the view received, in order.
    std::vector<std::pair<WORD, WORD>> Codes(UINT msg = WM_VSCROLL) {
        std::vector<std::pair<WORD, WORD>> out;
        for (auto& e : spy.Find(view, msg)) out.emplace_back(LOWORD(e.wParam), HIWORD(e.wParam));
        return out;
    }
    POINT Center(const RECT& r) {
        RECT wr;
        GetWindowRect(view, &wr);
        return POINT{wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2};
    }
    ScrollBarParts Parts(int bar = SB_VERT) {
        ScrollBarParts p;
        EXPECT_TRUE(tq3::fw::GetWindowScrollBarParts(view, bar, &p));
        return p;
    }
    HWND top = nullptr;
    HWND view = nullptr;
};

TEST_F(ScrollBarTest, PositionsClampToTheLastFullPage) {
    struct Case {
        int min, max;
        UINT page;
        int pos;
        int expectedPos;
        UINT expectedPage;
    } cases[] = {
        {0, 99, 10, 95, 90, 10},
        {0, 99, 10, -5, 0, 10},
        {0, 99, 0, 99, 99, 0},
        {0, 99, 1, 99, 99, 1},
        {0, 99, 500, 50, 0, 100},   // the page never exceeds the range
        {-50, 50, 20, 40, 31, 20},
        {0, INT_MAX - 1, 1000, INT_MAX - 1, INT_MAX - 1000, 1000},  // 32-bit positions
    };
    for (const Case& c : cases) {
        SCROLLINFO si = Info(SIF_ALL, c.min, c.max, c.page, c.pos);
        EXPECT_EQ(SetScrollInfo(view, SB_VERT, &si, TRUE), c.expectedPos) << c.max << " " << c.page << " " << c.pos;
        SCROLLINFO got = Info(SIF_ALL, 0, 0, 0, 0);
        ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &got));
        EXPECT_EQ(std::tuple(got.nPos, got.nPage, got.nTrackPos),
                  std::tuple(c.expectedPos, c.expectedPage, c.expectedPos));
    }
    EXPECT_EQ(SetScrollPos(view, SB_VERT, 5, FALSE), INT_MAX - 1000);
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 5);
    int lo, hi;
    ASSERT_TRUE(GetScrollRange(view, SB_VERT, &lo, &hi));
    EXPECT_EQ(hi, INT_MAX - 1);
    // Bad sizes, bars and handles are refused.
    SCROLLINFO bad = Info(SIF_POS, 0, 0, 0, 1);
    bad.cbSize = 7;
    EXPECT_EQ(SetScrollInfo(view, SB_VERT, &bad, TRUE), 0);
    EXPECT_FALSE(GetScrollInfo(view, 9, &bad));
    EXPECT_EQ(SetScrollInfo(view, SB_VERT, nullptr, TRUE), 0);
    EXPECT_FALSE(SetScrollRange(view, SB_VERT, INT_MIN, INT_MAX, TRUE));
    EXPECT_EQ(GetScrollPos(nullptr, SB_VERT), 0);
}

// A bar is drawn again when its look changes, or when SetScrollInfo asks for a
// redraw after a change made without one; a change of values that moves no pixel
// of it (a long range) draws nothing.
TEST_F(ScrollBarTest, TheBarIsDrawnAgainWhenItsLookChanges) {
    SCROLLINFO si = Info(SIF_ALL, 0, 9999, 10, 0);
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    backend.RunUntilIdle();
    spy.IncludeNoise(true);
    struct Case {
        const char* what;
        int pos;
        BOOL redraw;
        bool moves;  // the thumb's rectangle changes
        bool drawn;
    } cases[] = {
        {"a step too small to move the thumb", 1, TRUE, false, false},
        {"the thumb moves", 5000, TRUE, true, true},
        {"a move without a redraw", 9000, FALSE, true, false},
        {"the same values, now with a redraw", 9000, TRUE, false, true},
        {"and again", 9000, TRUE, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RECT thumb = Parts().thumb;
        spy.Clear();
        si = Info(SIF_POS, 0, 0, 0, c.pos);
        SetScrollInfo(view, SB_VERT, &si, c.redraw);
        backend.RunUntilIdle();
        EXPECT_EQ(Count(view, WM_NCPAINT), c.drawn ? 1u : 0u);
        const RECT now = Parts().thumb;
        EXPECT_EQ(EqualRect(&thumb, &now) == FALSE, c.moves);
    }
}

TEST_F(ScrollBarTest, ABarWithNothingToScrollHidesOrIsDisabled) {
    RECT before;
    GetClientRect(view, &before);
    SCROLLINFO si = Info(SIF_RANGE | SIF_PAGE, 0, 9, 10, 0);
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    EXPECT_EQ(GetWindowLongW(view, GWL_STYLE) & WS_VSCROLL, 0);
    RECT after;
    GetClientRect(view, &after);
    EXPECT_EQ(after.right - before.right, GetSystemMetrics(SM_CXVSCROLL));  // the client took the room
    EXPECT_FALSE(Parts().visible);
    si.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    EXPECT_NE(GetWindowLongW(view, GWL_STYLE) & WS_VSCROLL, 0);
    ScrollBarParts p = Parts();
    EXPECT_TRUE(p.visible);
    EXPECT_FALSE(p.arrowStartEnabled);
    EXPECT_FALSE(p.arrowEndEnabled);
    EXPECT_EQ(p.thumb.bottom - p.thumb.top, 0);
    si = Info(SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 99, 10, 0);
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    p = Parts();
    EXPECT_TRUE(p.arrowStartEnabled);
    // The thumb is to the track as the page is to the range.
    EXPECT_EQ(p.thumb.bottom - p.thumb.top, (p.track.bottom - p.track.top) * 10 / 100);
    EXPECT_TRUE(EnableScrollBar(view, SB_VERT, ESB_DISABLE_UP));
    EXPECT_FALSE(EnableScrollBar(view, SB_VERT, ESB_DISABLE_UP));  // no change
    EXPECT_FALSE(Parts().arrowStartEnabled);
    EXPECT_TRUE(Parts().arrowEndEnabled);
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    ASSERT_TRUE(GetScrollBarInfo(view, OBJID_VSCROLL, &sbi));
    EXPECT_EQ(sbi.rgstate[1], STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(sbi.dxyLineButton, GetSystemMetrics(SM_CYVSCROLL));
    ShowScrollBar(view, SB_BOTH, FALSE);
    EXPECT_EQ(GetWindowLongW(view, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
}

TEST_F(ScrollBarTest, ArrowsSendLineCodesAndRepeatWhileHeld) {
    SCROLLINFO si = Info(SIF_ALL, 0, 99, 10, 50);
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    POINT down = Center(Parts().arrowEnd);
    // The held arrow is drawn pushed, and raised again once let go.
    auto arrowLook = [&] {
        RECT wr, a = Parts().arrowEnd;
        GetWindowRect(view, &wr);
        return tq3::testing::CaptureDesktop(RECT{wr.left + a.left, wr.top + a.top, wr.left + a.right, wr.top + a.bottom});
    };
    const tq3::testing::Capture raised = arrowLook();
    backend.MouseMove(down);
    backend.MouseDown(Button::Left, down);
    backend.RunUntilIdle();
    EXPECT_GT(tq3::testing::CountDiffering(arrowLook(), raised), 0) << "drawn pushed";
    EXPECT_EQ(Codes(), (std::vector<std::pair<WORD, WORD>>{{SB_LINEDOWN, 0}}));
    EXPECT_EQ(GetCapture(), view);
    backend.AdvanceClock(199);
    EXPECT_EQ(Codes().size(), 1u);  // the first repeat waits a little longer
    backend.AdvanceClock(1);
    EXPECT_EQ(Codes().size(), 2u);
    backend.AdvanceClock(100);  // then every 50 ms
    EXPECT_EQ(Codes().size(), 4u);
    // Off the arrow it pauses; back on, it goes on.
    backend.MouseMove(Center(Parts().arrowStart));
    backend.AdvanceClock(100);
    EXPECT_EQ(Codes().size(), 4u);
    backend.MouseMove(down);
    backend.AdvanceClock(50);
    EXPECT_EQ(Codes().size(), 5u);
    backend.MouseUp(Button::Left, down);
    backend.RunUntilIdle();
    EXPECT_EQ(tq3::testing::CountDiffering(arrowLook(), raised), 0) << "raised again";
    auto codes = Codes();
    EXPECT_EQ(codes.back().first, SB_ENDSCROLL);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(spy.Find(view, WM_CAPTURECHANGED).size(), 1u);
    backend.AdvanceClock(500);
    EXPECT_EQ(Codes().size(), codes.size());  // no repeats after the release
    // The left arrow of the horizontal bar.
    spy.Clear();
    SetScrollInfo(view, SB_HORZ, &si, TRUE);
    backend.Click(Button::Left, Center(Parts(SB_HORZ).arrowStart));
    backend.RunUntilIdle();
    EXPECT_EQ(Codes(WM_HSCROLL), (std::vector<std::pair<WORD, WORD>>{{SB_LINELEFT, 0}, {SB_ENDSCROLL, 0}}));

    // A disabled arrow sends nothing and takes no capture; the non-client click
    // itself still reaches the window.
    EnableScrollBar(view, SB_VERT, ESB_DISABLE_DOWN);
    spy.Clear();
    desktop.Click(Center(Parts().arrowEnd));
    EXPECT_TRUE(Codes().empty());
    EXPECT_EQ(GetCapture(), nullptr);
    const auto presses = spy.Find(view, WM_NCLBUTTONDOWN);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].wParam, static_cast<WPARAM>(HTVSCROLL));
}

TEST_F(ScrollBarTest, PageAreasPageTowardThePointerUntilTheThumbArrives) {
    SCROLLINFO si = Info(SIF_ALL, 0, 99, 10, 0);
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    // The application scrolls as asked, as a view does.
    On(view, WM_VSCROLL, [](HWND h, WPARAM wp, LPARAM) -> LRESULT {
        int pos = GetScrollPos(h, SB_VERT);
        if (LOWORD(wp) == SB_PAGEDOWN) SetScrollPos(h, SB_VERT, pos + 10, TRUE);
        if (LOWORD(wp) == SB_PAGEUP) SetScrollPos(h, SB_VERT, pos - 10, TRUE);
        return 0;
    });
    ScrollBarParts p = Parts();
    POINT target{Center(p.track).x, Center(p.track).y};
    backend.MouseMove(target);
    backend.MouseDown(Button::Left, target);
    backend.AdvanceClock(2000);
    backend.MouseUp(Button::Left, target);
    backend.RunUntilIdle();
    auto codes = Codes();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front().first, SB_PAGEDOWN);
    EXPECT_EQ(codes.back().first, SB_ENDSCROLL);
    // It stopped once the thumb reached the pointer, not at the end of the range.
    int pos = GetScrollPos(view, SB_VERT);
    EXPECT_GT(pos, 20);
    EXPECT_LT(pos, 90);
    ScrollBarParts after = Parts();
    RECT wr;
    GetWindowRect(view, &wr);
    EXPECT_LE(after.thumb.top + wr.top, target.y + (after.thumb.bottom - after.thumb.top));
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenSetsThePosition) {
    SCROLLINFO si = Info(SIF_ALL, 0, 1000000, 1000, 0);  // beyond 16 bits
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    ScrollBarParts p = Parts();
    POINT grab = Center(p.thumb);
    backend.MouseMove(grab);
    backend.MouseDown(Button::Left, grab);
    backend.RunUntilIdle();
    EXPECT_TRUE(Codes().empty());
    int trackLength = p.track.bottom - p.track.top - (p.thumb.bottom - p.thumb.top);
    backend.MouseMove(POINT{grab.x, grab.y + trackLength / 2});
    backend.RunUntilIdle();
    auto codes = Codes();
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0].first, SB_THUMBTRACK);
    SCROLLINFO got = Info(SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0);
    GetScrollInfo(view, SB_VERT, &got);
    EXPECT_EQ(got.nPos, 0);  // the position waits for the application
    EXPECT_NEAR(got.nTrackPos, 999000 / 2, 999000 / trackLength + 1);
    EXPECT_EQ(codes[0].second, static_cast<WORD>(got.nTrackPos));  // only the low 16 bits fit in the message
    int track = got.nTrackPos;
    // Moving past the end pins the track position at the last page.
    backend.MouseMove(POINT{grab.x, grab.y + 5000});
    backend.RunUntilIdle();
    GetScrollInfo(view, SB_VERT, &got);
    EXPECT_EQ(got.nTrackPos, 999001);
    backend.MouseMove(POINT{grab.x, grab.y + trackLength / 2});
    backend.MouseUp(Button::Left, POINT{grab.x, grab.y + trackLength / 2});
    backend.RunUntilIdle();
    codes = Codes();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[codes.size() - 2].first, SB_THUMBPOSITION);
    EXPECT_EQ(codes[codes.size() - 2].second, static_cast<WORD>(track));
    EXPECT_EQ(codes.back().first, SB_ENDSCROLL);
    GetScrollInfo(view, SB_VERT, &got);
    EXPECT_EQ(got.nTrackPos, got.nPos);  // tracking is over
}

}  // namespace
}  // namespace tq3::test
