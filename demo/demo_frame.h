// CDemoFrame: the demo's main window. The demo view sits in a docking control
// bar (at the left at first, wherever the user put it later) beside the detail
// pane, which fills the rest of the frame and shows the cursor's line. The frame
// shows what the view's hooks reported in its title, switches the demo's
// language, and saves the column widths and the bar's place before the view
// goes away, for the next start.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "demo/demo_bar.h"
#include "demo/demo_sheets.h"
#include "demo/demo_texts.h"
#include "demo/demo_view.h"
#include "demo/detail_pane.h"
#include "framework/app/afxwin.h"

namespace tq3::demo {

// "TQ3View demo - Sheet: I/O points | Cursor: 12, 3 | Changed: -", in the
// language of `texts`; lines and columns as the hooks reported them (0-based).
std::u16string FormatStatus(const DemoTexts& texts, const HookState& hooks, const CString& sheetName);

class CDemoFrame : public CFrameWnd {
public:
    CDemoFrame() = default;

    // The table view; null once its window is gone.
    CDemoView* View() const { return view_; }
    CDetailPane* Pane() const { return pane_; }
    CDemoBar& Bar() { return bar_; }
    int Language() const { return language_; }
    // Makes `language` the view's and the demo's language and stores it as the
    // registry language, so the next start uses it too.
    void SetLanguage(int language);
    // Writes the status into the title and the cursor's line into the pane.
    void UpdateStatus();
    // Calls `tick` every `ms` milliseconds from the message loop (null stops it).
    void SetTicker(std::function<void()> tick, UINT ms);
    // Called after each hook report, once the title shows it.
    void SetReportListener(std::function<void()> listener) { reportListener_ = std::move(listener); }

    // Creates the frame at `rect` with a view filled with the demo's sheets, shows
    // it and sends the first update. Null when the window could not be made.
    // `problems` receives what went wrong while loading the data.
    static CDemoFrame* Open(int language, const SheetSources& sources, const RECT& rect,
                            std::vector<std::string>* problems);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnBarCommand(UINT nID);
    DECLARE_MESSAGE_MAP()

private:
    // Gives the frame its menu bar (Edit and View, in the demo's language) and
    // the Edit menu's keys; again after a change of language.
    void AddMenus();
    // Makes the bar in the frame, the view in the bar, and docks the bar at the
    // left. False when a window could not be made.
    bool MakeBar(CDemoView* view);
    // Docks, floats or hides the bar as the last run left it; false when the
    // settings say nothing (a first start) or what they say cannot be done.
    bool RestoreBarPlace();
    // Stores the width of every column of every sheet for the next start.
    void SaveColumnWidths();
    // Stores where the bar is, its sizes and whether it shows.
    void SaveBarPlace();
    // The view's window is going: what belongs to it is saved.
    void OnViewClosing();
    // The cursor's line of the displayed sheet into the pane.
    void UpdatePane();

    CDemoView* view_ = nullptr;
    CDetailPane* pane_ = nullptr;
    CDemoBar bar_;
    int language_ = 0;
    std::function<void()> ticker_;
    std::function<void()> reportListener_;
};

}  // namespace tq3::demo
