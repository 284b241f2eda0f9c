// Message maps and command routing without windows: which entry a command,
// a command-state update or a notification reaches, and how CCmdUI decides.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "framework/app/afxwin.h"

namespace tq3::test {
namespace {

constexpr UINT kCopy = 57634;
constexpr UINT kCut = 57635;
constexpr UINT kPaste = 57637;
constexpr UINT kColourFirst = 100;
constexpr UINT kColourLast = 104;
constexpr UINT kDeclined = 200;
constexpr UINT kHeaderId = 30002;
constexpr UINT kHeaderClick = 0U - 302U;

std::vector<std::string> calls;

class CBaseTarget : public CCmdTarget {
public:
    afx_msg void OnCopy() { calls.push_back("base copy"); }
    afx_msg void OnCut() { calls.push_back("base cut"); }
    afx_msg void OnUpdateCut(CCmdUI* ui) { ui->Enable(FALSE); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
ON_COMMAND(kCopy, &CBaseTarget::OnCopy)
ON_COMMAND(kCut, &CBaseTarget::OnCut)
ON_UPDATE_COMMAND_UI(kCut, &CBaseTarget::OnUpdateCut)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget {
public:
    afx_msg void OnCopyAgain() { calls.push_back("derived copy"); }
    afx_msg void OnColour(UINT id) { calls.push_back("colour " + std::to_string(id)); }
    afx_msg BOOL OnMaybe(UINT id) {
        calls.push_back("maybe " + std::to_string(id));
        return FALSE;  // not taken: routing goes on
    }
    afx_msg void OnUpdatePaste(CCmdUI* ui) {
        ui->SetCheck(1);
        ui->ContinueRouting();  // leaves the decision to the next target
    }
    afx_msg void OnHeaderClick(NMHDR* header, LRESULT* result) {
        calls.push_back("header click from " + std::to_string(header->idFrom));
        *result = 7;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
ON_COMMAND(kCopy, &CDerivedTarget::OnCopyAgain)
ON_COMMAND_RANGE(kColourFirst, kColourLast, &CDerivedTarget::OnColour)
ON_COMMAND_EX(kDeclined, &CDerivedTarget::OnMaybe)
ON_UPDATE_COMMAND_UI(kPaste, &CDerivedTarget::OnUpdatePaste)
ON_NOTIFY(kHeaderClick, kHeaderId, &CDerivedTarget::OnHeaderClick)
END_MESSAGE_MAP()

// Records what an update handler states.
class RecordingCmdUI : public CCmdUI {
public:
    int enables = 0;
    BOOL enabled = TRUE;
    int check = -1;
    void Enable(BOOL on) override {
        CCmdUI::Enable(on);
        ++enables;
        enabled = on;
    }
    void SetCheck(int value) override { check = value; }
};

// A handler query (with AFX_CMDHANDLERINFO) finds the same entry without calling it.
TEST(CommandRouting, CommandsReachTheMostDerivedEntryAndRangesCarryTheId) {
    struct Case {
        UINT id;
        BOOL found;
        BOOL handled;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {kCopy, TRUE, TRUE, {"derived copy"}},     // the derived entry hides the base one
        {kCut, TRUE, TRUE, {"base cut"}},           // found in the base table
        {kColourLast, TRUE, TRUE, {"colour 104"}},
        {kColourLast + 1, FALSE, FALSE, {}},        // just past the range
        {kDeclined, TRUE, FALSE, {"maybe 200"}},    // the handler ran but declined
        {kPaste, FALSE, FALSE, {}},                 // only a state handler exists
    };
    CDerivedTarget target;
    for (const Case& c : cases) {
        calls.clear();
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        EXPECT_EQ(target.OnCmdMsg(c.id, CN_COMMAND, nullptr, &info), c.found) << c.id;
        EXPECT_EQ(info.pTarget, c.found ? &target : nullptr) << c.id;
        EXPECT_TRUE(calls.empty()) << c.id;
        EXPECT_EQ(target.OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr), c.handled) << c.id;
        EXPECT_EQ(calls, c.calls) << c.id;
    }
}

TEST(CommandRouting, CommandUiStateFromHandlersOrFromHandlerPresence) {
    struct Case {
        UINT id;
        BOOL disableIfNoHandler;
        BOOL answered;
        int enables;
        BOOL enabled;
        int check;
    };
    const Case cases[] = {
        {kCut, TRUE, TRUE, 1, FALSE, -1},    // the state handler disables it
        {kCopy, TRUE, FALSE, 1, TRUE, -1},   // no state handler, a command handler: enabled
        {kCopy, FALSE, FALSE, 0, TRUE, -1},  // nothing decided when not asked to
        {999, TRUE, FALSE, 1, FALSE, -1},    // nobody handles it: disabled
        // The state handler checks the item but routes on; with no command handler
        // anywhere the item ends disabled.
        {kPaste, TRUE, FALSE, 1, FALSE, 1},
    };
    CDerivedTarget target;
    for (const Case& c : cases) {
        RecordingCmdUI ui;
        ui.m_nID = c.id;
        const BOOL answered = ui.DoUpdate(&target, c.disableIfNoHandler);
        EXPECT_EQ(std::tuple(answered, ui.enables, ui.enabled, ui.check, ui.m_bContinueRouting),
                  std::tuple(c.answered, c.enables, c.enabled, c.check, FALSE))
            << c.id;
    }
}

TEST(CommandRouting, NotificationsMatchCodeAndIdAndReturnAResult) {
    CDerivedTarget target;
    NMHDR header{nullptr, kHeaderId, kHeaderClick};
    LRESULT result = 0;
    tq3::fw::NotifyCall notify{&header, &result};
    int code = static_cast<int>(MAKELONG(static_cast<WORD>(kHeaderClick), static_cast<WORD>(WM_NOTIFY)));
    calls.clear();
    EXPECT_TRUE(target.OnCmdMsg(kHeaderId, code, &notify, nullptr));
    EXPECT_EQ(result, 7);
    EXPECT_EQ(calls, std::vector<std::string>{"header click from 30002"});

    // Another id, or the same number arriving as a command, finds nothing.
    calls.clear();
    header.idFrom = kHeaderId + 1;
    EXPECT_FALSE(target.OnCmdMsg(kHeaderId + 1, code, &notify, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(kHeaderId, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace tq3::test
