// GetDCEx and LockWindowUpdate: which windows a DC reaches into, and a locked
// window that draws nothing until it is unlocked, except through a DC asked for
// with DCX_LOCKWINDOWUPDATE.
#include "docking_fixture.h"

#include "framework/gdi/dc.h"
#include "framework/gdi/gdi_objects.h"

namespace tq3::test {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// A view painted in a colour the test chooses.
class CColourView : public CView {
public:
    COLORREF colour = RGB(0, 0, 255);
    void OnDraw(CDC* dc) override {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(&r, colour);
    }
};

class LockUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = new CColourView;
        frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, 400, 300});
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override {
        ::LockWindowUpdate(nullptr);
        frame->DestroyWindow();
        desktop.RunUntilIdle();
    }
    // Fills the frame's whole window red through a DC asked for with `flags`.
    void FillFrame(DWORD flags) {
        HDC dc = ::GetDCEx(frame->m_hWnd, nullptr, flags);
        ASSERT_NE(dc, nullptr);
        CRect r;
        frame->GetWindowRect(&r);
        HBRUSH red = ::CreateSolidBrush(kRed);
        RECT all{0, 0, r.Width(), r.Height()};
        ::FillRect(dc, &all, red);
        ::DeleteObject(red);
        ::ReleaseDC(frame->m_hWnd, dc);
    }
    COLORREF ViewPixel() const { return tq3::testing::WindowPixel(view->m_hWnd, POINT{20, 20}); }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    CColourView* view = nullptr;
    CFrameWnd* frame = nullptr;
};

TEST_F(LockUpdateTest, AWindowDcReachesOverTheChildrenUnlessAskedToClipThem) {
    struct Case {
        DWORD flags;
        bool viewReached;
    };
    const Case cases[] = {
        {DCX_WINDOW | DCX_CACHE, true},
        {DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE, true},
        {DCX_WINDOW | DCX_CACHE | DCX_CLIPCHILDREN, false},
        {DCX_CACHE | DCX_USESTYLE, false},  // the frame has WS_CLIPCHILDREN
    };
    for (const Case& c : cases) {
        view->Invalidate();
        desktop.RunUntilIdle();
        ASSERT_EQ(ViewPixel(), view->colour);
        FillFrame(c.flags);
        EXPECT_EQ(ViewPixel() == kRed, c.viewReached) << std::hex << c.flags;
        // The frame's own non-client area is reached only by a window DC.
        COLORREF corner = tq3::testing::DesktopPixel(POINT{1, 1});
        EXPECT_EQ(corner == kRed, (c.flags & DCX_WINDOW) != 0) << std::hex << c.flags;
        ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        desktop.RunUntilIdle();
    }
}

TEST_F(LockUpdateTest, ALockedWindowDrawsNothingUntilUnlockedThenCatchesUp) {
    const COLORREF first = view->colour;
    ASSERT_TRUE(::LockWindowUpdate(frame->m_hWnd));
    EXPECT_FALSE(::LockWindowUpdate(view->m_hWnd));  // one lock at a time
    view->colour = RGB(0, 128, 0);
    view->Invalidate();
    desktop.RunUntilIdle();
    EXPECT_EQ(ViewPixel(), first);  // the paint drew nothing
    FillFrame(DCX_WINDOW | DCX_CACHE);
    EXPECT_EQ(ViewPixel(), first);  // nor does an ordinary DC
    FillFrame(DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    EXPECT_EQ(ViewPixel(), kRed);  // the exempt one does
    EXPECT_TRUE(::LockWindowUpdate(nullptr));
    desktop.RunUntilIdle();
    EXPECT_EQ(ViewPixel(), view->colour);  // what was kept from drawing is drawn now
    // Through the CWnd wrappers, and a window that is gone unlocks too.
    EXPECT_TRUE(view->LockWindowUpdate());
    view->DestroyWindow();
    EXPECT_TRUE(frame->LockWindowUpdate());
    frame->UnlockWindowUpdate();
}

}  // namespace
}  // namespace tq3::test
