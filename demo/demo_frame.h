// CDemoFrame: the demo's main window. It holds the demo view, shows what the
// view's hooks reported in its title, switches the demo's language, and saves the
// column widths before the view goes away.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "demo/demo_sheets.h"
#include "demo/demo_texts.h"
#include "demo/demo_view.h"
#include "framework/app/afxwin.h"

namespace tq3::demo {

// "TQ3View demo - Sheet: I/O points | Cursor: 12, 3 | Changed: -", in the
// language of `texts`; lines and columns as the hooks reported them (0-based).
std::u16string FormatStatus(const DemoTexts& texts, const HookState& hooks, const CString& sheetName);

class CDemoFrame : public CFrameWnd {
public:
    CDemoFrame() = default;

    CDemoView* View() const { return view_; }
    int Language() const { return language_; }
    // Makes `language` the view's and the demo's language and stores it as the
    // registry language, so the next start uses it too.
    void SetLanguage(int language);
    // Writes the status into the title.
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
    DECLARE_MESSAGE_MAP()

private:
    // Gives the frame its menu bar (Edit and View, in the demo's language) and
    // the Edit menu's keys; again after a change of language.
    void AddMenus();
    // Stores the width of every column of every sheet for the next start.
    void SaveColumnWidths();

    CDemoView* view_ = nullptr;
    int language_ = 0;
    std::function<void()> ticker_;
    std::function<void()> reportListener_;
};

}  // namespace tq3::demo
