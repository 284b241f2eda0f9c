// Command routing through real windows (view -> frame -> application) with a
// state handler that blocks a command, control notifications with reflection, a
// handler that throws, and the frame's life with its view.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tq3view/testing.h"

namespace tq3::test {
namespace {

constexpr UINT kViewCommand = 1001;
constexpr UINT kFrameCommand = 1002;
constexpr UINT kAppCommand = 1003;
constexpr UINT kBlockedCommand = 1004;
constexpr UINT kNobodyCommand = 1005;
constexpr UINT kControlId = 300;
constexpr WORD kClicked = 0;       // a button's click notification
constexpr WORD kChanged = 0x0300;  // an edit box's change notification
constexpr UINT kPing = 0U - 700U;  // a notification code of our own

std::vector<std::string> calls;
bool viewAllowsBlocked = false;

class CRoutingView : public CView {
public:
    void OnDraw(CDC*) override {}
    afx_msg void OnViewCommand() { calls.push_back("view"); }
    afx_msg void OnBlocked() { calls.push_back("view blocked"); }
    afx_msg void OnUpdateBlocked(CCmdUI* ui) { ui->Enable(viewAllowsBlocked); }
    afx_msg void OnControlClicked() { calls.push_back("view clicked"); }
    afx_msg void OnControlChanged() { calls.push_back("view changed"); }
    afx_msg void OnPingNotify(NMHDR*, LRESULT* result) {
        calls.push_back("view ping");
        *result = 5;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingView, CView)
ON_COMMAND(kViewCommand, &CRoutingView::OnViewCommand)
ON_COMMAND(kBlockedCommand, &CRoutingView::OnBlocked)
ON_UPDATE_COMMAND_UI(kBlockedCommand, &CRoutingView::OnUpdateBlocked)
ON_CONTROL(kClicked, kControlId, &CRoutingView::OnControlClicked)
ON_CONTROL(kChanged, kControlId, &CRoutingView::OnControlChanged)
ON_NOTIFY(kPing, kControlId, &CRoutingView::OnPingNotify)
END_MESSAGE_MAP()

class CRoutingFrame : public CFrameWnd {
public:
    afx_msg void OnFrameCommand() { calls.push_back("frame"); }
    afx_msg void OnViewCommand() { calls.push_back("frame has it too"); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingFrame, CFrameWnd)
ON_COMMAND(kFrameCommand, &CRoutingFrame::OnFrameCommand)
ON_COMMAND(kViewCommand, &CRoutingFrame::OnViewCommand)
END_MESSAGE_MAP()

class CRoutingApp : public tq3::testing::TestApp {
public:
    afx_msg void OnAppCommand() { calls.push_back("app"); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingApp, tq3::testing::TestApp)
ON_COMMAND(kAppCommand, &CRoutingApp::OnAppCommand)
END_MESSAGE_MAP()

// A control that handles its own change notification (reflection).
class CSelfHandlingControl : public CWnd {
public:
    afx_msg void OnReflectedChange() { calls.push_back("control changed"); }
    afx_msg void OnReflectedPing(NMHDR*, LRESULT* result) {
        calls.push_back("control ping");
        *result = 9;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfHandlingControl, CWnd)
ON_CONTROL_REFLECT(kChanged, &CSelfHandlingControl::OnReflectedChange)
ON_NOTIFY_REFLECT(kPing, &CSelfHandlingControl::OnReflectedPing)
END_MESSAGE_MAP()

class RoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        viewAllowsBlocked = false;
        view = new CRoutingView;
        frame = new CRoutingFrame;
        ASSERT_NE(tq3::testing::CreateFrameWithView(view, RECT{0, 0, 400, 300}, u"routing", frame), nullptr);
    }

    LRESULT Notify(HWND from, UINT code) {
        NMHDR header{from, kControlId, code};
        return view->SendMessage(WM_NOTIFY, kControlId, reinterpret_cast<LPARAM>(&header));
    }

    tq3::testing::Desktop desktop{800, 600};
    CRoutingApp app;
    CRoutingView* view = nullptr;
    CRoutingFrame* frame = nullptr;
};

TEST_F(RoutingTest, MenuCommandsGoToTheViewThenTheFrameThenTheApplication) {
    struct Case {
        UINT id;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {kViewCommand, {"view"}},  // the view comes before the frame that also has it
        {kFrameCommand, {"frame"}},
        {kAppCommand, {"app"}},
        {kBlockedCommand, {}},  // disabled by its state handler: not carried out
        {kNobodyCommand, {}},
    };
    for (const Case& c : cases) {
        calls.clear();
        frame->PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c.id), 0), 0);
        desktop.RunUntilIdle();
        EXPECT_EQ(calls, c.calls) << c.id;
    }
    viewAllowsBlocked = true;
    calls.clear();
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(kBlockedCommand), 0), 0);
    EXPECT_EQ(calls, std::vector<std::string>{"view blocked"});
}

TEST_F(RoutingTest, ControlNotificationsReachTheParentUnlessTheControlTakesThem) {
    CSelfHandlingControl control;
    ASSERT_TRUE(control.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), view, kControlId));
    CWnd plain;
    ASSERT_TRUE(plain.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), view, kControlId));
    auto command = [&](WORD code, CWnd& from) {
        view->SendMessage(WM_COMMAND, MAKEWPARAM(kControlId, code), reinterpret_cast<LPARAM>(from.m_hWnd));
    };
    // A click the control does not handle goes to the parent's entry; a change the
    // control handles itself never reaches the parent, the same change from a
    // control without a reflection entry does. Notifications alike, with results.
    command(kClicked, control);
    command(kChanged, control);
    command(kChanged, plain);
    EXPECT_EQ(Notify(control.m_hWnd, kPing), 9);
    EXPECT_EQ(Notify(plain.m_hWnd, kPing), 5);
    EXPECT_EQ(calls, (std::vector<std::string>{"view clicked", "control changed", "view changed", "control ping",
                                               "view ping"}));
}

class CThrowingWnd : public CWnd {
public:
    afx_msg int OnCreate(LPCREATESTRUCTW) { throw std::runtime_error("no"); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(RoutingTest, AHandlerThatThrowsFailsItsMessageWithoutEscaping) {
    CThrowingWnd wnd;
    EXPECT_FALSE(wnd.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), view, 5));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(::GetDlgItem(view->m_hWnd, 5), nullptr);
}

TEST_F(RoutingTest, DestroyingTheMainFrameDeletesFrameAndViewAndEndsTheLoop) {
    frame->DestroyWindow();
    desktop.RunUntilIdle();
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_TRUE(desktop.QuitReceived());
    // Both objects deleted themselves; the address sanitizer checks there is no
    // use after that and no leak.
}

}  // namespace
}  // namespace tq3::test
