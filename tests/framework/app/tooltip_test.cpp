// The tooltip control through CToolTipCtrl, as a view uses it: the view relays its
// mouse messages from PreTranslateMessage, the pointer moves in through the
// backend's queue and the delays run on the virtual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/app/window_dc.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/module.h"
#include "framework/system/resource_table.h"
#include "framework/system/resources.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::CaptureWindow;
using tq3::testing::Msg;

constexpr UINT_PTR kRectTool = 7;
constexpr UINT_PTR kCallbackTool = 8;
constexpr UINT kButtonId = 300;
constexpr UINT kTextId = 4321;
const CRect kRectToolArea(20, 20, 120, 60);
const CRect kCallbackArea(20, 160, 120, 200);
const CRect kButtonArea(200, 20, 280, 60);

constexpr char16_t kResourceText[] = u"From the table";
constexpr TQ3ResourceEntry kEntries[] = {{TQ3_RES_STRING, kTextId, sizeof(kResourceText) / 2 - 1, kResourceText}};
constexpr TQ3ResourceTable kTable = {TQ3_RESOURCE_MAGIC, TQ3_RESOURCE_VERSION, 1, kEntries};
char fakeModule;
HINSTANCE FakeModule() { return reinterpret_cast<HINSTANCE>(&fakeModule); }

// A view with three tools: a rectangle of its own, a child button, and a
// rectangle whose text it gives when asked.
class CTipView : public CView {
public:
    CToolTipCtrl tip;
    CButton button;
    int asked = 0;  // TTN_GETDISPINFO notifications answered

    void OnDraw(CDC*) override {}
    BOOL PreTranslateMessage(MSG* msg) override {
        if (tip.m_hWnd != nullptr) tip.RelayEvent(msg);
        return CView::PreTranslateMessage(msg);
    }
    afx_msg int OnCreate(LPCREATESTRUCTW cs) {
        if (CView::OnCreate(cs) == -1) return -1;
        if (!button.Create(u"B", WS_CHILD | WS_VISIBLE, kButtonArea, this, kButtonId)) return -1;
        if (!tip.Create(this)) return -1;
        tip.AddTool(this, u"Rectangle tool", &kRectToolArea, kRectTool);
        tip.AddTool(&button, u"Button tool");
        tip.AddTool(this, LPSTR_TEXTCALLBACK, &kCallbackArea, kCallbackTool);
        return 0;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == TTN_GETDISPINFOW && hdr->idFrom == kCallbackTool) {
            ++asked;
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            std::u16string text = u"Asked " + std::u16string(1, static_cast<char16_t>(u'0' + asked));
            std::copy(text.begin(), text.end(), info->szText);
            return TRUE;
        }
        return CView::OnNotify(wParam, lParam, result);
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
    // The text of the view's tool `id`, or of the window tool `wnd`.
    CString TipText(UINT_PTR id = kRectTool, CWnd* wnd = nullptr) const {
        CString text;
        view->tip.GetText(text, wnd != nullptr ? wnd : view, id);
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

// The delays follow the double-click time until set; one value sets all three.
TEST_F(ToolTipTest, DelaysFollowTheDoubleClickTimeUntilSet) {
    const int base = static_cast<int>(GetDoubleClickTime());
    CToolTipCtrl& t = view->tip;
    auto delays = [&] {
        return std::vector<int>{t.GetDelayTime(TTDT_INITIAL), t.GetDelayTime(TTDT_AUTOPOP),
                                t.GetDelayTime(TTDT_RESHOW)};
    };
    EXPECT_EQ(delays(), (std::vector<int>{base, base * 10, base / 5}));
    t.SetDelayTime(200);
    t.SetDelayTime(TTDT_INITIAL, 300);
    EXPECT_EQ(delays(), (std::vector<int>{300, 2000, 40}));
    t.SetDelayTime(TTDT_AUTOPOP, -1);  // back to the default
    EXPECT_EQ(t.GetDelayTime(TTDT_AUTOPOP), base * 10);
}

TEST_F(ToolTipTest, TipAppearsAfterItsDelayBelowThePointerAndPopsByItself) {
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

    CRect tipRect;
    ::GetWindowRect(tip, &tipRect);
    CPoint pointer{on.x + 5, on.y};
    view->ClientToScreen(&pointer);
    EXPECT_EQ(tipRect.left, pointer.x);
    EXPECT_GT(tipRect.top, pointer.y) << "clear of the pointer";
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

// The tip window: a frame in the window-frame colour around the info background,
// the text in the info text colour, as wide as the text and its margins.
TEST_F(ToolTipTest, TipPaintsItsTextOnTheInfoBackground) {
    RestOn(POINT{50, 30});
    ASSERT_TRUE(Shown());
    desktop.RunUntilIdle();
    CRect client;
    ::GetClientRect(tip, &client);
    auto pixels = CaptureWindow(tip);
    EXPECT_EQ(pixels.At(client.right - 1, client.bottom - 1), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(pixels.At(1, 1), GetSysColor(COLOR_INFOBK));
    EXPECT_GT(pixels.Count(GetSysColor(COLOR_INFOTEXT)), 0);
    CWindowDC dc(CWnd::FromHandle(tip));
    dc.SelectObject(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
    EXPECT_EQ(client.Width(), dc.GetTextExtent(CString(u"Rectangle tool")).cx + 8);
}

TEST_F(ToolTipTest, LeavingPressingOrDeactivatingHidesTheTip) {
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
    desktop.MouseDown(view->m_hWnd, POINT{50, 30});
    EXPECT_FALSE(Shown());
    desktop.MouseUp(view->m_hWnd, POINT{50, 30});
    desktop.AdvanceClock(initial * 4);
    EXPECT_FALSE(Shown());

    // Out of the frame altogether, where nothing is relayed: the watch notices.
    desktop.MouseMove(view->m_hWnd, POINT{150, 120});
    RestOn(POINT{50, 30});
    ASSERT_TRUE(Shown());
    desktop.MouseMove(POINT{700, 550});
    desktop.AdvanceClock(200);
    EXPECT_FALSE(Shown());

    // An inactive tip ignores the pointer.
    view->tip.Activate(FALSE);
    RestOn(POINT{60, 40});
    EXPECT_FALSE(Shown());
}

// From one tool's tip to the next one's takes the reshow delay; a window tool's
// text, a callback's answer (asked each time) and a resource string all show.
TEST_F(ToolTipTest, TextsOfEachKindAndTheReshowDelay) {
    RestOn(POINT{50, 30});
    ASSERT_TRUE(Shown());
    const DWORD reshow = static_cast<DWORD>(view->tip.GetDelayTime(TTDT_RESHOW));
    CRect button;
    view->button.GetWindowRect(&button);
    desktop.MouseMove(button.CenterPoint());
    desktop.AdvanceClock(reshow - 1);
    EXPECT_FALSE(Shown());
    desktop.AdvanceClock(1);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(TipText(0, &view->button), CString(u"Button tool"));

    desktop.MouseMove(view->m_hWnd, POINT{150, 120});
    RestOn(POINT{50, 180});
    EXPECT_TRUE(Shown());
    EXPECT_EQ(view->asked, 1);
    EXPECT_EQ(TipText(kCallbackTool), CString(u"Asked 2"));

    tq3::fw::RegisterResourceTable(FakeModule(), &kTable);
    HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(FakeModule());
    view->tip.DelTool(view, kRectTool);
    view->tip.AddTool(view, kTextId, &kRectToolArea, kRectTool);
    AfxSetResourceHandle(previous);
    EXPECT_EQ(TipText(), CString(kResourceText));
    view->tip.UpdateTipText(u"Changed", view, kRectTool);
    EXPECT_EQ(TipText(), CString(u"Changed"));
    tq3::fw::RegisterResourceTable(FakeModule(), nullptr);
}

}  // namespace
}  // namespace tq3::test
