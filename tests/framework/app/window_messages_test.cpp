// CWnd and the application layer on the headless desktop: what handlers see and
// in which order, with input injected through the backend's queue.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/app/window_dc.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

constexpr UINT kChildId = 42;

// A view that logs what its handlers receive.
class CLogView : public CView {
public:
    std::vector<std::string> log;
    bool eatKeys = false;        // PreTranslateMessage takes WM_KEYDOWN

    void OnDraw(CDC*) override {}

    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) {
            log.push_back("view pretranslate " + std::to_string(msg->wParam));
            return eatKeys ? TRUE : FALSE;
        }
        return FALSE;
    }

    afx_msg void OnLButtonDown(UINT flags, CPoint pt) { Add("down", flags, pt); }
    afx_msg void OnLButtonUp(UINT flags, CPoint pt) { Add("up", flags, pt); }
    afx_msg void OnLButtonDblClk(UINT flags, CPoint pt) { Add("dblclk", flags, pt); }
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT) {
        log.push_back("keydown " + std::to_string(key) + " x" + std::to_string(repeat));
    }
    afx_msg void OnChar(UINT ch, UINT, UINT) { log.push_back("char " + std::string(1, static_cast<char>(ch))); }

private:
    void Add(const char* what, UINT flags, CPoint pt) {
        log.push_back(std::string(what) + " " + std::to_string(flags) + " " + std::to_string(pt.x) + "," +
                      std::to_string(pt.y));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLogView, CView)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_CHAR()
END_MESSAGE_MAP()

// A child window inside the view, with its own key filter.
class CLogChild : public CWnd {
public:
    std::vector<std::string>* log = nullptr;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) log->push_back("child pretranslate " + std::to_string(msg->wParam));
        return FALSE;
    }
    afx_msg void OnKeyDown(UINT key, UINT, UINT) { log->push_back("child keydown " + std::to_string(key)); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLogChild, CWnd)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class CLogFrame : public CFrameWnd {
public:
    std::vector<std::string>* log = nullptr;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && log != nullptr) log->push_back("frame pretranslate " + std::to_string(msg->wParam));
        return FALSE;
    }
};

// An edit box taken over by an object that wants to see the box's creation.
class CCreateLogEdit : public CEdit {
public:
    std::vector<std::string> log;
    bool refuseCreate = false;
    void PreSubclassWindow() override { log.push_back(m_hWnd != nullptr ? "bound" : "unbound"); }
    void PostNcDestroy() override { log.push_back("postncdestroy"); }
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTW cs) {
        log.push_back("nccreate");
        return CEdit::OnNcCreate(cs);
    }
    afx_msg int OnCreate(LPCREATESTRUCTW cs) {
        log.push_back("create");
        return refuseCreate ? -1 : CEdit::OnCreate(cs);
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCreateLogEdit, CEdit)
ON_WM_NCCREATE()
ON_WM_CREATE()
END_MESSAGE_MAP()

class AppLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = new CLogView;
        frame = new CLogFrame;
        frame->log = &view->log;
        ASSERT_NE(tq3::testing::CreateFrameWithView(view, RECT{10, 20, 410, 320}, u"frame", frame), nullptr);
        ASSERT_TRUE(::IsWindow(view->m_hWnd));
        view->SetFocus();
        desktop.RunUntilIdle();
        view->log.clear();
    }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    CLogView* view = nullptr;
    CLogFrame* frame = nullptr;
};

// Create binds the object before the first message even for a class with a
// procedure of its own, and that procedure still does its part of the creation.
TEST_F(AppLayerTest, CreateBindsTheObjectBeforeAControlsFirstMessage) {
    CCreateLogEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 20}, view, kChildId));
    EXPECT_EQ(edit.log, (std::vector<std::string>{"bound", "nccreate", "create"}));
    edit.DestroyWindow();
    EXPECT_EQ(edit.log.back(), "postncdestroy");

    // A refused creation ends the object's part exactly once, and leaves it unbound.
    CCreateLogEdit refused;
    refused.refuseCreate = true;
    EXPECT_FALSE(refused.Create(WS_CHILD, RECT{0, 0, 100, 20}, view, kChildId));
    EXPECT_EQ(std::count(refused.log.begin(), refused.log.end(), "postncdestroy"), 1);
    EXPECT_EQ(refused.m_hWnd, nullptr);
}

// Each step's input reaches the typed handlers with its arguments unpacked.
TEST_F(AppLayerTest, HandlersGetTheirArgumentsUnpacked) {
    using tq3::testing::Button;
    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> log;
    };
    const std::vector<Step> steps = {
        // The second press of a double click arrives as WM_LBUTTONDBLCLK.
        {"double click", [&] { desktop.DoubleClick(view->m_hWnd, {31, 41}); },
         {"down 1 31,41", "up 0 31,41", "dblclk 1 31,41", "up 0 31,41"}},
        // A held modifier is a real key press, seen by the focused view first, and
        // its flag comes with the button state.
        {"control click", [&] { desktop.Click(view->m_hWnd, {5, 6}, Button::Left, tq3::testing::kControl); },
         {"view pretranslate 17", "frame pretranslate 17", "keydown 17 x1", "down 9 5,6", "up 8 5,6"}},
        {"typing", [&] { desktop.Type(u"q"); }, {"view pretranslate 81", "frame pretranslate 81", "keydown 81 x1", "char q"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        desktop.AdvanceClock(2000);  // no click pairs with the previous one into a double click
        view->log.clear();
        step.act();
        EXPECT_EQ(view->log, step.log);
    }
}

TEST_F(AppLayerTest, AClickFocusesTheViewAndKeysWalkFromTheFocusUpToTheTopLevelWindow) {
    CLogChild child;
    child.log = &view->log;
    ASSERT_TRUE(child.Create(nullptr, u"child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), view, kChildId));
    // A click activates the view, and an activated view takes the focus when
    // neither it nor one of its children has it.
    ::SetFocus(nullptr);
    desktop.Click(view->m_hWnd, {100, 100});
    EXPECT_EQ(CWnd::GetFocus(), view);

    // PreTranslateMessage is asked from the focused child up to the frame.
    child.SetFocus();
    desktop.RunUntilIdle();
    view->log.clear();
    desktop.KeyPress('A');
    EXPECT_EQ(view->log, (std::vector<std::string>{"child pretranslate 65", "view pretranslate 65",
                                                   "frame pretranslate 65", "child keydown 65"}));
    // A window on the way that takes the message ends the walk and the dispatch.
    view->log.clear();
    view->eatKeys = true;
    desktop.KeyPress('B');
    EXPECT_EQ(view->log, (std::vector<std::string>{"child pretranslate 66", "view pretranslate 66"}));
}

}  // namespace
}  // namespace tq3::test
