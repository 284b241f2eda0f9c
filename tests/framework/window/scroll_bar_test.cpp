// A window's own scroll bars: values and clamping, when they are drawn again, and
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
    // A range wider than an int holds is refused.
    EXPECT_FALSE(SetScrollRange(view, SB_VERT, INT_MIN, INT_MAX, TRUE));
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

TEST_F(ScrollBarTest, ArrowsSendLineCodesAndRepeatWhileHeld) {
    SCROLLINFO si = Info(SIF_ALL, 0, 99, 10, 50);
    SetScrollInfo(view, SB_VERT, &si, TRUE);
    POINT down = Center(Parts().arrowEnd);
    backend.MouseMove(down);
    backend.MouseDown(Button::Left, down);
    backend.RunUntilIdle();
    EXPECT_EQ(Codes(), (std::vector<std::pair<WORD, WORD>>{{SB_LINEDOWN, 0}}));
    EXPECT_EQ(GetCapture(), view);
    backend.AdvanceClock(199);
    EXPECT_EQ(Codes().size(), 1u);  // the first repeat waits a little longer
    backend.AdvanceClock(1);
    EXPECT_EQ(Codes().size(), 2u);
    backend.AdvanceClock(100);  // then every 50 ms
    EXPECT_EQ(Codes().size(), 4u);
    backend.MouseUp(Button::Left, down);
    backend.RunUntilIdle();
    auto codes = Codes();
    EXPECT_EQ(codes.back().first, SB_ENDSCROLL);
    EXPECT_EQ(GetCapture(), nullptr);
    backend.AdvanceClock(500);
    EXPECT_EQ(Codes().size(), codes.size());  // no repeats after the release
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
