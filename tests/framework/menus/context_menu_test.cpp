// The library's context menu 104 loaded through CMenu from each language's
// resource library and shown as the view shows it: greyed Paste, every label
// drawn whole inside its item. Leaves a picture per language for a person to
// look at.
#include <gtest/gtest.h>

#include <string>

#include "framework/app/afxwin.h"
#include "framework/gdi/sysmetrics.h"
#include "settings/language.h"
#include "tests/support/test_output.h"
#include "tq3view/testing.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerKey;
using tq3::testing::ModalAnswer;

constexpr UINT kOrder[] = {57643, 0, 57635, 57634, 57637, 0, 57636, 57641};

class ContextMenu : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, u"Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 620, 420)));
        desktop.RunUntilIdle();
    }
    void TearDown() override {
        VALMExSetLanguage(1);
        frame->DestroyWindow();
    }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    CFrameWnd* frame = nullptr;
};

TEST_F(ContextMenu, LoadsInEveryLanguageAndShowsEachLabelWhole) {
    const char* names[] = {"english", "japanese", "chinese_simplified", "chinese_traditional", "korean"};
    for (int language = 0; language < 5; ++language) {
        SCOPED_TRACE(names[language]);
        VALMExSetLanguage(language);
        CMenu menu;
        {
            CSwitchResource scope;
            ASSERT_TRUE(scope.Switch(language));
            ASSERT_TRUE(menu.LoadMenu(104));
        }
        CMenu* popup = menu.GetSubMenu(0);
        ASSERT_NE(popup, nullptr);
        popup->EnableMenuItem(57637, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);

        int itemsInked = 0;
        desktop.QueueModalAnswer(ModalAnswer{kPopupMenuClass, {}, [&](HWND window) {
            tq3::testing::SaveScreenshot(OutputPath("menus", "context_menu_" + std::string(names[language]) + ".png"));
            for (int i = 0; i < 8; ++i) {
                if (kOrder[i] == 0) continue;
                RECT item{};
                GetMenuItemRect(nullptr, popup->m_hMenu, static_cast<UINT>(i), &item);
                // Ink inside the item, clear of its right end (nothing cut off at the menu's edge).
                tq3::testing::Capture shot = tq3::testing::CaptureDesktop(item);
                RECT ink = shot.InkBounds(GetSysColor(COLOR_MENU));
                if (ink.right > ink.left) ++itemsInked;
                EXPECT_LT(ink.right, item.right - 4) << "item " << i;
            }
            PostMessageW(window, WM_NULL, 0, 0);
        }});
        desktop.QueueModalAnswer(AnswerKey(VK_ESCAPE, kPopupMenuClass));
        EXPECT_TRUE(popup->TrackPopupMenu(TPM_LEFTALIGN, 200, 150, frame));
        EXPECT_EQ(itemsInked, 6);
    }
}

}  // namespace
}  // namespace tq3::test
