// The harness itself: the spy's comparison and report, typing, scripted answers
// for modal loops, and the clipboard helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/system/clipboard.h"
#include "tq3view/testing.h"

namespace {

using tq3::testing::Msg;

constexpr UINT kOk = 1;

// A window that logs characters and ends its modal loop on IDOK.
class CModalWnd : public CWnd {
public:
    std::u16string typed;
    bool done = false;
    afx_msg void OnChar(UINT ch, UINT, UINT) { typed += static_cast<char16_t>(ch); }
    afx_msg void OnOk() { done = true; }

    // Runs until OnOk, as a dialog's loop would.
    void RunModal() {
        while (!done && AfxPumpMessage()) {
        }
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModalWnd, CWnd)
ON_WM_CHAR()
ON_COMMAND(kOk, &CModalWnd::OnOk)
END_MESSAGE_MAP()

class HarnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, u"Ask", WS_POPUP | WS_VISIBLE, CRect(10, 10, 200, 100), nullptr, 0));
        wnd.SetFocus();
        desktop.RunUntilIdle();
    }
    tq3::testing::Desktop desktop{640, 480};
    CModalWnd wnd;
};

TEST_F(HarnessTest, TypingUsesKeysWhereTheLayoutHasThemAndCharactersOtherwise) {
    tq3::testing::MessageSpy spy;
    spy.Watch(wnd.m_hWnd, "ask");
    spy.KeepOnly({WM_KEYDOWN, WM_CHAR});
    desktop.Type(u"aB1.\u00E9");
    EXPECT_EQ(wnd.typed, u"aB1.\u00E9");
    auto result = spy.Compare({
        Msg(WM_KEYDOWN).WParam('A'), Msg(WM_CHAR).WParam('a'),
        Msg(WM_KEYDOWN).WParam(VK_SHIFT), Msg(WM_KEYDOWN).WParam('B'), Msg(WM_CHAR).WParam('B'),
        Msg(WM_KEYDOWN).WParam('1'), Msg(WM_CHAR).WParam('1'),
        Msg(WM_KEYDOWN).WParam(VK_OEM_PERIOD), Msg(WM_CHAR).WParam('.'),
        Msg(WM_CHAR).WParam(0x00E9).Posted(),  // no key on the US layout: the character alone
    });
    EXPECT_TRUE(result) << result.report;
}

TEST_F(HarnessTest, ComparisonSkipsOptionalEntriesAndReportsDifferencesSideBySide) {
    tq3::testing::MessageSpy spy;
    spy.Watch(wnd.m_hWnd, "ask");
    spy.KeepOnly({WM_APP, WM_APP + 1});
    wnd.SendMessage(WM_APP, 1, 0);
    wnd.PostMessage(WM_APP + 1, 2, 0);
    desktop.RunUntilIdle();

    auto good = spy.Compare({Msg(WM_APP).WParam(1).Sent(), Msg(WM_NULL).Optional(), Msg(WM_APP + 1).Posted(),
                             Msg(WM_TIMER).Optional()});
    EXPECT_TRUE(good) << good.report;
    EXPECT_TRUE(spy.Compare(wnd.m_hWnd, {Msg(WM_APP), Msg(WM_APP + 1)}));

    auto bad = spy.Compare({Msg(WM_APP).WParam(1), Msg(WM_APP + 1).WParam(3)});
    EXPECT_FALSE(bad);
    // The first difference is marked, and each side shows its own entry.
    EXPECT_NE(bad.report.find("   * WM_APP w=0x1"), std::string::npos) << bad.report;
    EXPECT_NE(bad.report.find(">> * WM_APP+1 w=0x3"), std::string::npos) << bad.report;
    EXPECT_NE(bad.report.find("| ask WM_APP+1 w=0x2 l=0x0 posted"), std::string::npos) << bad.report;

    auto missing = spy.Compare({Msg(WM_APP), Msg(WM_APP + 1), Msg(WM_APP + 2)});
    EXPECT_FALSE(missing);
    auto extra = spy.Compare({Msg(WM_APP)});
    EXPECT_FALSE(extra);
}

TEST_F(HarnessTest, ModalLoopsTakeScriptedAnswersAndFailLoudlyWithoutOne) {
    desktop.QueueModalAnswer(tq3::testing::AnswerCommand(kOk, u"", u"Someone else"));  // never matches
    desktop.QueueModalAnswer(tq3::testing::AnswerCommand(kOk, u"", u"Ask"));
    wnd.RunModal();
    EXPECT_TRUE(wnd.done);
    EXPECT_EQ(desktop.PendingModalAnswers(), 1u);

    // No answer for this window: the failure handler hears of it, with the windows
    // it looked at; here it ends the loop instead of aborting.
    std::string failure;
    desktop.SetFailureHandler([&](const std::string& description) {
        failure = description;
        wnd.PostMessage(WM_COMMAND, kOk, 0);
    });
    wnd.done = false;
    wnd.RunModal();
    EXPECT_TRUE(wnd.done);
    EXPECT_NE(failure.find("no scripted answer"), std::string::npos) << failure;
    EXPECT_NE(failure.find("\"Ask\""), std::string::npos) << failure;
}

TEST_F(HarnessTest, ClipboardHelpersRoundTripAndRespectAnOpenClipboard) {
    ASSERT_TRUE(desktop.SetClipboardText(u"a\tb\r\n\u3042"));
    EXPECT_EQ(desktop.ClipboardText(), std::u16string(u"a\tb\r\n\u3042"));
    ASSERT_TRUE(OpenClipboard(wnd.m_hWnd));
    EXPECT_FALSE(desktop.SetClipboardText(u"other"));
    EXPECT_FALSE(desktop.ClipboardText().has_value());
    CloseClipboard();
    EXPECT_EQ(desktop.ClipboardText(), std::u16string(u"a\tb\r\n\u3042"));
}

}  // namespace
