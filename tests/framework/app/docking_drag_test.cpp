// Dragging bars with the mouse: where a drop docks or floats a bar, the drag
// rectangle inverted on the screen and gone afterwards, the ways a drag is given
// up (Escape, another window taking the capture), a drop outside the desktop, and
// Ctrl keeping a bar from docking.
#include "docking_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::Capture;
using tq3::testing::CaptureDesktop;

class DockingDragTest : public DockingTest {
protected:
    void SetUp() override {
        DockingTest::SetUp();
        ASSERT_TRUE(frame->EnableDocking(CBRS_ALIGN_ANY));
        MakeBar(bar, kBarA, AFX_IDW_DOCKBAR_TOP);
    }

    // A point of the frame's client area on the screen.
    POINT InClient(int x, int y) const { return ScreenPoint(*frame, x, y); }
    // The desktop as a fresh paint of every window shows it.
    Capture FreshPaint() {
        ::RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        desktop.RunUntilIdle();
        return CaptureDesktop();
    }

    CTestBar bar;
};

TEST_F(DockingDragTest, WhereADropDocksOrFloatsTheBar) {
    CSize c = Client();
    struct Drop {
        const char* what;
        std::function<POINT()> from;  // null: a point on the bar
        std::function<POINT()> to;
        UINT dockId;  // AFX_IDW_DOCKBAR_FLOAT: floating
    };
    const Drop drops[] = {
        {"to the left edge", nullptr, [&] { return InClient(5, c.cy / 2); }, AFX_IDW_DOCKBAR_LEFT},
        {"to the middle", nullptr, [&] { return InClient(c.cx / 2, c.cy / 2); }, AFX_IDW_DOCKBAR_FLOAT},
        {"by the floating frame's caption, back to the top",
         [&] {
             CRect r;
             bar.GetParentFrame()->GetWindowRect(&r);
             return POINT{r.left + 30, r.top + ::GetSystemMetrics(SM_CYFRAME) + 4};
         },
         [&] { return InClient(c.cx / 2, 5); }, AFX_IDW_DOCKBAR_TOP},
    };
    for (const Drop& drop : drops) {
        Drag(drop.from ? drop.from() : ScreenPoint(bar), drop.to());
        EXPECT_EQ(DockId(bar), drop.dockId) << drop.what;
        EXPECT_EQ(::GetCapture(), nullptr) << drop.what;
    }
    // The layout followed every drop.
    EXPECT_EQ(PlaceOf(view->m_hWnd).top, CTestBar::kHorzThickness);
}

TEST_F(DockingDragTest, TheDragRectangleIsInvertedOnTheScreenAndGoneAfterwards) {
    Capture before = CaptureDesktop();
    CSize c = Client();
    Drag(ScreenPoint(bar), InClient(c.cx / 2, c.cy / 2), false);
    CDockContext* drag = CDockContext::GetActiveDrag();
    ASSERT_NE(drag, nullptr);
    EXPECT_TRUE(drag->IsFloatingTarget());
    // The halftone brush inverts every other pixel of a 4-pixel frame (the real
    // window tests look at every pixel of it).
    const CRect shown = drag->m_rectLast;
    const Capture during = CaptureDesktop();
    int flipped = 0;
    for (int x = shown.left; x < shown.left + 8; ++x) {
        flipped += during.At(x, shown.top) == tq3::testing::Inverted(before.At(x, shown.top));
    }
    EXPECT_EQ(flipped, 4);
    EXPECT_EQ(during.At(shown.CenterPoint()), before.At(shown.CenterPoint())) << "inside the frame, nothing";

    // Over an edge the docked shape shows instead, thinner.
    desktop.MouseMove(InClient(5, c.cy / 2));
    EXPECT_FALSE(drag->IsFloatingTarget());
    EXPECT_EQ(drag->m_rectLast.Width(), CTestBar::kVertThickness);

    desktop.KeyPress(VK_ESCAPE);
    EXPECT_EQ(DockId(bar), AFX_IDW_DOCKBAR_TOP);
    Capture after = CaptureDesktop();
    EXPECT_EQ(tq3::testing::CountDiffering(before, after), 0);
    EXPECT_EQ(tq3::testing::CountDiffering(after, FreshPaint()), 0);
}

TEST_F(DockingDragTest, AnotherWindowTakingTheCaptureEndsTheDragAndNothingMoves) {
    Capture before = CaptureDesktop();
    POINT edge = InClient(5, Client().cy / 2);
    Drag(ScreenPoint(bar), edge, false);
    ASSERT_NE(CDockContext::GetActiveDrag(), nullptr);
    ::SetCapture(view->m_hWnd);
    EXPECT_EQ(CDockContext::GetActiveDrag(), nullptr);
    desktop.MouseUp(edge);
    ::ReleaseCapture();
    desktop.RunUntilIdle();
    EXPECT_EQ(DockId(bar), AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(tq3::testing::CountDiffering(before, CaptureDesktop()), 0);
}

TEST_F(DockingDragTest, ADropOutsideTheDesktopFloatsTheBarWhereItCanBeReached) {
    for (POINT to : {POINT{-300, -200}, POINT{3000, 2000}}) {
        Drag(ScreenPoint(bar), to);
        ASSERT_TRUE(bar.IsFloating());
        CRect r;
        bar.GetParentFrame()->GetWindowRect(&r);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 1024 && r.bottom <= 768) << Text(r);
    }
    EXPECT_EQ(tq3::testing::CountDiffering(CaptureDesktop(), FreshPaint()), 0);
    // Ctrl held keeps it from docking over an edge.
    POINT edge = InClient(5, Client().cy / 2);
    desktop.KeyDown(VK_CONTROL);
    Drag(ScreenPoint(bar), edge);
    desktop.KeyUp(VK_CONTROL);
    EXPECT_TRUE(bar.IsFloating());
}

}  // namespace
}  // namespace tq3::test
