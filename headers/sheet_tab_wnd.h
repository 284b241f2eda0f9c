// CSheetTabWnd: the strip of sheet tabs along the bottom of a table view, one tab
// per sheet. It keeps its own copy of the sheet names (the view inserts and deletes
// tabs together with sheets) and the current tab; making a tab current tells the
// view through WM_NOTIFY / TCN_SELCHANGE, and the view switches sheets from there.
#pragma once

#include <vector>

#include "framework/app/wnd.h"
#include "framework/core/cstring.h"
#include "framework/gdi/gdi_classes.h"

// Control id of the strip within its view.
constexpr UINT kSheetTabId = 30003;

class TQ3VIEW_API CSheetTabWnd : public CWnd {
    DECLARE_DYNAMIC(CSheetTabWnd)

public:
    CSheetTabWnd();
    ~CSheetTabWnd() override;

    // Creates the strip as a visible child of `parent` with id 30003.
    virtual BOOL Create(CWnd* parent);

    // Puts a tab before tab `index`, or appends it when `index` equals the count.
    // Returns the count before the insertion (0 for the first tab, which becomes
    // current); -1 for a negative index or one past the count, or when memory runs out.
    int InsertItem(int index, LPCWSTR name);
    // Removes tab `index` (1), or does nothing (0). The current tab is not adjusted.
    int DeleteItem(int index);
    // Removes every tab; the current tab becomes 0.
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(names.size()); }
    CString GetItemText(int index) const;
    int GetCurSel() const { return curSel; }
    // Makes tab `index` current and notifies the parent (also when it already was);
    // returns the previous current tab, or -1 when `index` is not less than the count.
    int SetCurSel(int index);

    int curSel = -1;              // the current tab; 0 once the first tab is inserted
    int scrollPos = 0;            // pixels of the tab row hidden to the left
    std::vector<CString> names;   // the tab labels, in tab order
    CFont font;                   // the tab font: the view's cell font at 9 points
    int tabHeight = 0;            // height of the tabs, set by the view

protected:
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
