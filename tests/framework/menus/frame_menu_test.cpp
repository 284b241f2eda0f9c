// A frame's menu bar and accelerators, driven as a user drives them: keys that
// reach the view's command handlers through routing, the bar opened with the
// mouse, F10, Alt and mnemonics, the command state asked before a pop-up shows,
// and what the frame hears on the way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/app/afxwin.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/menus/accelerator.h"
#include "framework/system/resources.h"
#include "tests/support/spy_expect.h"
#include "tests/support/test_output.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerKey;
using tq3::testing::AnswerMenuItem;
using tq3::testing::ModalAnswer;
using tq3::testing::Msg;

constexpr UINT kMenuBar = 300, kKeys = 301, kWrap = 40001;

constexpr TQ3MenuItemData kBarItems[] = {
    {TQ3_MENU_POPUP, 0, u"&Edit"},
    {0, ID_EDIT_UNDO, u"&Undo\tCtrl+Z"},
    {TQ3_MENU_SEPARATOR, 0, nullptr},
    {0, ID_EDIT_CUT, u"Cu&t\tCtrl+X"},
    {0, ID_EDIT_COPY, u"&Copy\tCtrl+C"},
    {TQ3_MENU_END, ID_EDIT_PASTE, u"&Paste\tCtrl+V"},
    {TQ3_MENU_POPUP | TQ3_MENU_END, 0, u"&View"},
    {TQ3_MENU_END, kWrap, u"&Wrap lines"},
};
constexpr TQ3MenuData kBar{8, kBarItems};
constexpr TQ3AcceleratorEntryData kKeyEntries[] = {
    {FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY}, {FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT},
    {FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE}, {FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
};
constexpr TQ3AcceleratorData kKeyTable{4, kKeyEntries};
constexpr TQ3ResourceEntry kEntries[] = {
    {TQ3_RES_MENU, kMenuBar, sizeof(TQ3MenuData), &kBar},
    {TQ3_RES_ACCELERATOR, kKeys, sizeof(TQ3AcceleratorData), &kKeyTable},
};
constexpr TQ3ResourceTable kTable{TQ3_RESOURCE_MAGIC, TQ3_RESOURCE_VERSION, 2, kEntries};
int fakeModule;

// Handles copy and cut, checks the wrap item, and never allows paste.
class CommandView : public CView {
public:
    std::vector<UINT> done;
    bool wrap = true;

protected:
    void OnDraw(CDC*) override {}
    void OnCopy() { done.push_back(ID_EDIT_COPY); }
    void OnCut() { done.push_back(ID_EDIT_CUT); }
    void OnPaste() { done.push_back(ID_EDIT_PASTE); }
    void OnWrap() { done.push_back(kWrap); }
    void OnUpdatePaste(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateWrap(CCmdUI* ui) { ui->SetCheck(wrap ? 1 : 0); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandView, CView)
ON_COMMAND(ID_EDIT_COPY, &CommandView::OnCopy)
ON_COMMAND(ID_EDIT_CUT, &CommandView::OnCut)
ON_COMMAND(ID_EDIT_PASTE, &CommandView::OnPaste)
ON_COMMAND(kWrap, &CommandView::OnWrap)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CommandView::OnUpdatePaste)
ON_UPDATE_COMMAND_UI(kWrap, &CommandView::OnUpdateWrap)
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
        ASSERT_TRUE(frame->LoadAccelTable(MAKEINTRESOURCEW(kKeys)));
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

TEST_F(FrameMenu, AcceleratorsReachTheViewsHandlersUnlessTheCommandIsDisabled) {
    tq3::testing::MessageSpy spy;
    spy.Watch(frame->m_hWnd, "frame");
    spy.Watch(view->m_hWnd, "view");
    spy.KeepOnly({WM_COMMAND, WM_KEYDOWN, WM_CHAR});
    desktop.KeyPress('C', tq3::testing::kControl);
    EXPECT_TRUE(Same(spy.Compare({Msg(WM_KEYDOWN).In(view->m_hWnd).WParam(VK_CONTROL),
                                  Msg(WM_COMMAND).In(frame->m_hWnd).WParam(MAKEWPARAM(ID_EDIT_COPY, 1)).Sent()})))
        << "the key is translated before the view sees it";
    desktop.KeyPress('X', tq3::testing::kControl);
    desktop.KeyPress('V', tq3::testing::kControl);  // disabled by its state handler: swallowed
    desktop.KeyPress(VK_INSERT, tq3::testing::kShift);
    desktop.KeyPress('C');  // no Ctrl: plain typing for the view
    desktop.KeyPress('C', tq3::testing::kControl | tq3::testing::kShift);  // modifiers must match exactly
    EXPECT_EQ(view->done, (std::vector<UINT>{ID_EDIT_COPY, ID_EDIT_CUT}));

    // The table calls refuse what is not there.
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(9999)), nullptr);
    ACCEL none{};
    EXPECT_EQ(CreateAcceleratorTableW(&none, 0), nullptr);
    MSG msg{frame->m_hWnd, WM_KEYDOWN, 'C', 0, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorW(frame->m_hWnd, nullptr, &msg), 0);
}

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
    // The bar's row lies between the caption and the client area, painted in the menu colour.
    RECT client{};
    ::GetClientRect(frame->m_hWnd, &client);
    ::ClientToScreen(frame->m_hWnd, reinterpret_cast<POINT*>(&client));
    RECT item{};
    GetMenuItemRect(frame->m_hWnd, bar, 0, &item);
    EXPECT_EQ(item.top, client.top - GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(tq3::testing::DesktopPixel(POINT{client.left + 400, client.top - 3}), GetSysColor(COLOR_MENU));
}

TEST_F(FrameMenu, F10AltAndMnemonicsOpenTheBarAndArrowsMoveAlongIt) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, UINT>> keys;  // opening keys with modifiers, played before the menu loop
        std::vector<int> inMenu;                 // keys played inside the loop
        std::vector<UINT> expected;
    } cases[] = {
        {"F10, down, down to Cut", {{VK_F10, 0}}, {VK_DOWN, VK_DOWN, VK_RETURN}, {ID_EDIT_CUT}},
        {"Alt alone, right to View", {{VK_MENU, 0}}, {VK_RIGHT, VK_DOWN, VK_RETURN}, {kWrap}},
        {"Alt+V opens View", {{'V', tq3::testing::kAlt}}, {VK_RETURN}, {kWrap}},
        {"Alt+E, right moves to View's pop-up", {{'E', tq3::testing::kAlt}}, {VK_RIGHT, 'W'}, {kWrap}},
        {"Escape twice leaves", {{VK_F10, 0}}, {VK_DOWN, VK_ESCAPE, VK_ESCAPE}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view->done.clear();
        for (int key : c.inMenu) desktop.QueueModalAnswer(AnswerKey(key));
        for (auto [key, modifiers] : c.keys) desktop.KeyPress(key, modifiers);
        desktop.RunUntilIdle();
        EXPECT_EQ(view->done, c.expected);
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u);
        EXPECT_EQ(FindWindowW(kPopupMenuClass, nullptr), nullptr);
    }
}

}  // namespace
}  // namespace tq3::test
