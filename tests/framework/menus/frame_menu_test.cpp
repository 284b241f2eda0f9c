// A frame's menu bar driven as a user drives it: the bar opened with the mouse,
// the command state asked before a pop-up shows, and what the frame hears on the
// way.
#include <gtest/gtest.h>

#include <vector>

#include "framework/app/afxwin.h"
#include "framework/system/resources.h"
#include "tests/support/spy_expect.h"
#include "tests/support/test_output.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerMenuItem;
using tq3::testing::ModalAnswer;
using tq3::testing::Msg;

constexpr UINT kMenuBar = 300;

constexpr TQ3MenuItemData kBarItems[] = {
    {TQ3_MENU_POPUP | TQ3_MENU_END, 0, u"&Edit"},
    {0, ID_EDIT_UNDO, u"&Undo\tCtrl+Z"},
    {TQ3_MENU_SEPARATOR, 0, nullptr},
    {0, ID_EDIT_CUT, u"Cu&t\tCtrl+X"},
    {0, ID_EDIT_COPY, u"&Copy\tCtrl+C"},
    {TQ3_MENU_END, ID_EDIT_PASTE, u"&Paste\tCtrl+V"},
};
constexpr TQ3MenuData kBar{6, kBarItems};
constexpr TQ3ResourceEntry kEntries[] = {{TQ3_RES_MENU, kMenuBar, sizeof(TQ3MenuData), &kBar}};
constexpr TQ3ResourceTable kTable{TQ3_RESOURCE_MAGIC, TQ3_RESOURCE_VERSION, 1, kEntries};
int fakeModule;

// Handles copy and never allows paste.
class CommandView : public CView {
public:
    std::vector<UINT> done;

protected:
    void OnDraw(CDC*) override {}
    void OnCopy() { done.push_back(ID_EDIT_COPY); }
    void OnPaste() { done.push_back(ID_EDIT_PASTE); }
    void OnUpdatePaste(CCmdUI* ui) { ui->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandView, CView)
ON_COMMAND(ID_EDIT_COPY, &CommandView::OnCopy)
ON_COMMAND(ID_EDIT_PASTE, &CommandView::OnPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CommandView::OnUpdatePaste)
END_MESSAGE_MAP()

class FrameMenu : public ::testing::Test {
protected:
    void SetUp() override {
        tq3::fw::RegisterResourceTable(reinterpret_cast<HMODULE>(&fakeModule), &kTable);
        tq3::fw::SetApplicationResourceModule(reinterpret_cast<HMODULE>(&fakeModule));
        view = new CommandView;
        frame = new CFrameWnd;
        CCreateContext context;
        context.m_pNewView = view;
        ASSERT_TRUE(frame->Create(nullptr, u"Frame", WS_OVERLAPPEDWINDOW, CRect(40, 40, 560, 400), nullptr,
                                  MAKEINTRESOURCEW(kMenuBar), 0, &context));
        app.m_pMainWnd = frame;
        frame->InitialUpdateFrame(TRUE);
        frame->SetActiveView(view);
        view->SetFocus();
        desktop.RunUntilIdle();
    }
    void TearDown() override {
        if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
        tq3::fw::SetApplicationResourceModule(nullptr);
        tq3::fw::RegisterResourceTable(reinterpret_cast<HMODULE>(&fakeModule), nullptr);
    }
    POINT BarItemCentre(int index) {
        RECT r{};
        EXPECT_TRUE(GetMenuItemRect(frame->m_hWnd, ::GetMenu(frame->m_hWnd), static_cast<UINT>(index), &r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    CFrameWnd* frame = nullptr;
    CommandView* view = nullptr;
};

TEST_F(FrameMenu, TheBarOpensWithTheMouseAndThePickIsRoutedAfterTheStateUpdate) {
    tq3::testing::MessageSpy spy;
    spy.Watch(frame->m_hWnd, "frame");
    spy.KeepOnly({WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND});
    UINT pasteState = 0;
    desktop.QueueModalAnswer(ModalAnswer{kPopupMenuClass, {}, [&](HWND window) {
                                             auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
                                             pasteState = GetMenuState(menu, ID_EDIT_PASTE, MF_BYCOMMAND);
                                             tq3::testing::SaveScreenshot(OutputPath("menus", "frame_menu_bar.png"));
                                             PostMessageW(window, WM_NULL, 0, 0);
                                         }});
    desktop.QueueModalAnswer(AnswerMenuItem(u"Copy"));
    desktop.Click(BarItemCentre(0));
    EXPECT_EQ(view->done, std::vector<UINT>{ID_EDIT_COPY});
    EXPECT_TRUE(pasteState & MF_GRAYED) << "greyed by its state handler before the pop-up showed";
    HMENU bar = ::GetMenu(frame->m_hWnd);
    EXPECT_TRUE(Same(spy.Compare({
        Msg(WM_ENTERMENULOOP).WParam(FALSE),
        Msg(WM_INITMENU).WParam(reinterpret_cast<WPARAM>(bar)),
        Msg(WM_INITMENUPOPUP).WParam(reinterpret_cast<WPARAM>(GetSubMenu(bar, 0))).LParam(0),
        Msg(WM_EXITMENULOOP).WParam(FALSE),
        Msg(WM_COMMAND).WParam(MAKEWPARAM(ID_EDIT_COPY, 0)).Posted(),
    })));
}

}  // namespace
}  // namespace tq3::test
