// Command routing through real windows (view -> frame -> application), command
// state at idle time, control notifications with reflection, the handle map and
// subclassing, and the wait cursor.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/window/cursor.h"
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

class RecordingCmdUI : public CCmdUI {
public:
    std::vector<BOOL> states;
    void Enable(BOOL on) override {
        CCmdUI::Enable(on);
        states.push_back(on);
    }
};

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

TEST_F(RoutingTest, RegisteredCommandUiItemsAreUpdatedAtIdleTime) {
    // Disabled by its state handler, handled nowhere, handled by the application.
    RecordingCmdUI items[3];
    const UINT ids[] = {kBlockedCommand, kNobodyCommand, kAppCommand};
    for (int i = 0; i < 3; ++i) {
        items[i].m_nID = ids[i];
        frame->AddCommandUI(&items[i]);
    }
    auto idle = [&] {
        view->PostMessage(WM_NULL);  // any message ends idle time; the next one updates
        desktop.RunUntilIdle();
        std::vector<BOOL> last;
        for (const RecordingCmdUI& item : items) last.push_back(item.states.empty() ? -1 : item.states.back());
        return last;
    };
    EXPECT_EQ(idle(), (std::vector<BOOL>{FALSE, FALSE, TRUE}));
    viewAllowsBlocked = true;
    EXPECT_EQ(idle(), (std::vector<BOOL>{TRUE, FALSE, TRUE}));
    frame->RemoveCommandUI(&items[0]);
    viewAllowsBlocked = false;
    idle();
    EXPECT_TRUE(items[0].states.back()) << "no longer updated";
    frame->RemoveCommandUI(&items[1]);
    frame->RemoveCommandUI(&items[2]);
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

// ---- Handle map and subclassing -------------------------------------------------------

int rawProcCalls = 0;
LRESULT RawProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++rawProcCalls;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class CAppMessageCounter : public CWnd {
public:
    int seen = 0;
    bool* destroyed = nullptr;
    afx_msg LRESULT OnApp(WPARAM w, LPARAM) {
        ++seen;
        return w == 1 ? 11 : Default();  // 1 handled here, anything else passed on
    }

protected:
    void PostNcDestroy() override {
        if (destroyed != nullptr) *destroyed = true;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAppMessageCounter, CWnd)
ON_MESSAGE(WM_APP, &CAppMessageCounter::OnApp)
END_MESSAGE_MAP()

TEST_F(RoutingTest, SubclassingAttachingAndTemporaryObjects) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RawProc;
    wc.lpszClassName = u"RawTestClass";
    RegisterClassW(&wc);
    HWND raw = CreateWindowExW(0, u"RawTestClass", u"raw", WS_CHILD, 0, 0, 10, 10, view->m_hWnd, nullptr, nullptr,
                               nullptr);
    ASSERT_NE(raw, nullptr);

    // A handle without an object gets a temporary one, the same until idle time.
    CWnd* temporary = CWnd::FromHandle(raw);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CWnd::FromHandle(raw), temporary);

    CAppMessageCounter counter;
    bool destroyed = false;
    counter.destroyed = &destroyed;
    ASSERT_TRUE(counter.SubclassWindow(raw));
    EXPECT_FALSE(counter.SubclassWindow(raw));  // already bound
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), &counter);
    rawProcCalls = 0;
    EXPECT_EQ(::SendMessageW(raw, WM_APP, 1, 0), 11);
    ::SendMessageW(raw, WM_APP, 2, 0);  // passed on to the window's own procedure
    EXPECT_EQ(counter.seen, 2);
    EXPECT_EQ(rawProcCalls, 1);

    EXPECT_EQ(counter.UnsubclassWindow(), raw);
    ::SendMessageW(raw, WM_APP, 1, 0);
    EXPECT_EQ(counter.seen, 2);
    EXPECT_EQ(rawProcCalls, 2);

    ASSERT_TRUE(counter.SubclassWindow(raw));
    ::DestroyWindow(raw);
    EXPECT_TRUE(destroyed);  // PostNcDestroy after the last message
    EXPECT_EQ(counter.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(raw), nullptr);

    // A dialog's control is taken over by its id under its parent (the find
    // dialog's tests take theirs over); an id with no control is refused.
    CAppMessageCounter byId;
    EXPECT_FALSE(byId.SubclassDlgItem(78, view));
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

TEST_F(RoutingTest, WaitCursorNestsAndRestores) {
    HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    {
        CWaitCursor outer;
        view->BeginWaitCursor();
        view->EndWaitCursor();
        // Moving the mouse asks windows for their cursor; the wait cursor stays.
        desktop.MouseMove(view->m_hWnd, {20, 20});
        EXPECT_EQ(tq3::fw::CurrentCursorShape(), tq3::fw::CursorShape::Wait);
    }
    view->EndWaitCursor();  // an end without a begin changes nothing
    EXPECT_EQ(app.m_nWaitCursorCount, 0);
    EXPECT_EQ(::GetCursor(), arrow);
}

}  // namespace

// A view the frame makes itself, from its run-time class.
class CDynamicTestView : public CView {
    DECLARE_DYNCREATE(CDynamicTestView)

public:
    void OnDraw(CDC*) override {}
};

IMPLEMENT_DYNCREATE(CDynamicTestView, CView)

namespace {

TEST(FrameCreation, FrameMakesItsViewFromARunTimeClass) {
    tq3::testing::Desktop desktop{640, 480};
    auto* frame = new CFrameWnd;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CDynamicTestView);
    ASSERT_TRUE(frame->Create(nullptr, u"dynamic", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, nullptr, 0,
                              &context));
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CDynamicTestView)));
    EXPECT_EQ(::GetDlgItem(frame->m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST)), view->m_hWnd);

    // A class that is not a view gives no view, and the frame is not created.
    auto* second = new CFrameWnd;
    CCreateContext wrong;
    wrong.m_pNewViewClass = RUNTIME_CLASS(CWnd);
    EXPECT_FALSE(second->Create(nullptr, u"wrong", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, nullptr, 0,
                                &wrong));
}

}  // namespace
}  // namespace tq3::test
