// The minimal host's frame and view, shared by its program (main.cpp) and by the
// test of its user interface (examples/host_ui_test/).
#pragma once

#include <tq3view/tq3view.h>

#include <string>

// A table view whose three hooks print what they report.
class CHostView : public CTableView {
public:
    void OnSheetChanged(int sheet) override;
    void OnCellChanged(int line, int column) override;
    void OnCursorMoved(int line, int column) override;
};

// The main window: the view, and an Edit menu with the standard commands and
// their keys. It stores the view's column widths when it closes.
class CHostFrame : public CFrameWnd {
public:
    // Fills a new view from the tab-separated file `path`, whose lines read
    // "sheet<TAB>name<TAB>value<TAB>unit" (a sheet is made for each new sheet
    // name), and opens the frame around it at `rect`. Null, with the reason on
    // the standard error stream, when the file cannot be read or the window made.
    static CHostFrame* Open(const std::string& path, const RECT& rect);
    CHostView* view = nullptr;

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
