// The tooltip control through CToolTipCtrl, as a view uses it: the view relays its
// mouse messages from PreTranslateMessage, the pointer moves in through the
// backend's queue and the delays run on the virtual clock.
#include <gtest/gtest.h>

#include <string>

#include "framework/app/afxwin.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

constexpr UINT_PTR kRectTool = 7;
const CRect kRectToolArea(20, 20, 120, 60);

// A view with a tool over a rectangle of its own.
class CTipView : public CView {
public:
    CToolTipCtrl tip;

    void OnDraw(CDC*) override {}
    BOOL PreTranslateMessage(MSG* msg) override {
        if (tip.m_hWnd != nullptr) tip.RelayEvent(msg);
        return CView::PreTranslateMessage(msg);
    }
    afx_msg int OnCreate(LPCREATESTRUCTW cs) {
        if (CView::OnCreate(cs) == -1) return -1;
        if (!tip.Create(this)) return -1;
        tip.AddTool(this, u"Rectangle tool", &kRectToolArea, kRectTool);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTipView, CView)
ON_WM_CREATE()
END_MESSAGE_MAP()

class ToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = new CTipView;
        ASSERT_NE(tq3::testing::CreateFrameWithView(view, RECT{0, 0, 500, 400}), nullptr);
        tip = view->tip.m_hWnd;
        ASSERT_NE(tip, nullptr);
        initial = static_cast<DWORD>(view->tip.GetDelayTime(TTDT_INITIAL));
        spy.KeepOnly({WM_NOTIFY});
        spy.Watch(view->m_hWnd, "view");
    }
    bool Shown() const { return ::IsWindowVisible(tip) != FALSE; }
    CString TipText() const {
        CString text;
        view->tip.GetText(text, view, kRectTool);
        return text;
    }
    // The pointer comes to rest at `client` of the view, and the tip's wait runs out.
    void RestOn(POINT client) {
        desktop.MouseMove(view->m_hWnd, client);
        desktop.AdvanceClock(initial);
    }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    tq3::testing::MessageSpy spy;
    CTipView* view = nullptr;
    HWND tip = nullptr;
    DWORD initial = 0;
};

TEST_F(ToolTipTest, TipAppearsAfterItsDelayAndPopsByItself) {
    const POINT on{50, 30};
    desktop.MouseMove(view->m_hWnd, on);
    desktop.AdvanceClock(initial - 1);
    EXPECT_FALSE(Shown()) << "one millisecond early";
    // Moving within the tool restarts the wait: the pointer has not rested yet.
    desktop.MouseMove(view->m_hWnd, POINT{on.x + 5, on.y});
    desktop.AdvanceClock(initial - 1);
    EXPECT_FALSE(Shown());
    desktop.AdvanceClock(1);
    ASSERT_TRUE(Shown());
    EXPECT_TRUE(spy.Compare({tq3::testing::Notify(TTN_SHOW, kRectTool)}));
    EXPECT_EQ(TipText(), CString(u"Rectangle tool"));

    // The tip stays for the autopop delay, then goes, and does not come back
    // while the pointer stays on the same tool.
    spy.Clear();
    desktop.AdvanceClock(static_cast<DWORD>(view->tip.GetDelayTime(TTDT_AUTOPOP)) - 1);
    EXPECT_TRUE(Shown());
    desktop.AdvanceClock(1);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(spy.Compare({tq3::testing::Notify(TTN_POP, kRectTool)}));
    RestOn(POINT{on.x + 10, on.y});
    EXPECT_FALSE(Shown());
}

TEST_F(ToolTipTest, LeavingOrPressingHidesTheTip) {
    // Onto another part of the view: the tip goes at once.
    RestOn(POINT{50, 30});
    ASSERT_TRUE(Shown());
    spy.Clear();
    desktop.MouseMove(view->m_hWnd, POINT{150, 120});
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(spy.Compare({tq3::testing::Notify(TTN_POP, kRectTool)}));

    // A press hides it, and it stays hidden while the pointer rests on.
    RestOn(POINT{50, 30});
    ASSERT_TRUE(Shown());
    desktop.Click(view->m_hWnd, POINT{50, 30});
    desktop.AdvanceClock(initial * 4);
    EXPECT_FALSE(Shown());
}

}  // namespace
}  // namespace tq3::test
