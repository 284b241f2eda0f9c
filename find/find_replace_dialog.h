// CFindReplaceDlg: the modal dialog in which the user searches and replaces cell
// texts in the displayed sheet of a CTableView.
//
// The Find and Replace commands of the view fill it (search area, current cell,
// column choices, the two histories), run it and read the histories back. While
// it runs, each button press becomes a request to the view: a FindReplaceNotify
// record sent with a synchronous WM_NOTIFY (wParam 0), from which the dialog
// reads the cell found. Narrowing the search to one column tells the view with a
// bare notification header (code 1, the column as the sender's id), so that the
// view's selection follows the choice.
//
// Two modes: Find (the Replace with box, its label and Replace All hidden, an
// "All columns" entry first in the Column list) and Replace. Pressing Replace in
// Find mode turns the dialog into the Replace dialog once; it never turns back.
#pragma once

#include "framework/app/dialog.h"
#include "framework/core/lists.h"
#include "model/column_prop.h"
#include "view/cell_combo.h"

class CTableView;

// Control ids of the dialog's template.
constexpr UINT kFindNextButtonId = 1004;
constexpr UINT kFindWhatBoxId = 1005;
constexpr UINT kReplaceLabelId = 1006;
constexpr UINT kReplaceWithBoxId = 1007;
constexpr UINT kReplaceButtonId = 1008;
constexpr UINT kReplaceAllButtonId = 1009;
constexpr UINT kColumnListId = 1010;
constexpr UINT kMatchCaseCheckId = 1011;
constexpr UINT kEntireCellsCheckId = 1012;
constexpr UINT kFindDialogTemplate = 102;

// The column index of the "All columns" entry: the smallest 32-bit integer, below
// every real column.
constexpr int kAllColumnsIndex = static_cast<int>(0x80000000u);

class TQ3VIEW_API CFindReplaceDlg : public CDialog {
    DECLARE_DYNAMIC(CFindReplaceDlg)

public:
    explicit CFindReplaceDlg(CTableView* parent = nullptr);
    ~CFindReplaceDlg() override;  // deletes the column choices still held

    // Not used by the view, which runs the dialog modally.
    BOOL Create(UINT templateId, CWnd* parent) override;
    BOOL OnInitDialog() override;

    // ---- What the dialog shows and keeps (order as the controls read) ----------------
    int matchCase = 0;               // Match Case (1011)
    int entireCells = 0;             // Find entire cells only (1012)
    int columnChoice = -1;           // selected entry of the Column list (1010)
    CString findText;                // Find what (1005)
    CString replaceText;             // Replace with (1007)
    int findOnly = 1;                // 1 Find mode, 0 Replace mode; set before the dialog runs
    CStringList findHistory{10};     // Find what texts, newest first
    CStringList replaceHistory{10};  // Replace with texts, newest first
    // The Column list's entries, owned: copies of the columns' records, in Find mode
    // after the "All columns" entry (index kAllColumnsIndex).
    CTypedPtrList<CPtrList, CColumnProp*> columnChoices{10};
    CTableView* view = nullptr;  // the view that carries out the requests
    CRect area{0, 0, 0, 0};      // first column, first line, last column, last line
    int column = 0;              // the current cell: where the next request starts
    int line = 0;
    int lineCount = 0;  // the sheet's size, set by the command
    int columnCount = 0;
    CNumCombo findCombo;     // number input on 1005 while a numeric column is chosen
    CNumCombo replaceCombo;  // and on 1007
    CString lastFind;        // the text last put at the head of each history
    CString lastReplace;

    // Appends a copy of `prop` (with `index` as given) to the column choices; false
    // when memory ran out, the choices then as they were.
    bool AddColumnChoice(const CColumnProp& prop);
    // Deletes every column choice.
    void ClearColumnChoices();

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnFindNext();
    afx_msg void OnReplace();
    afx_msg void OnReplaceAll();
    afx_msg void OnColumnChange();
    afx_msg void OnFindWhatPicked();
    afx_msg void OnReplaceWithPicked();
    DECLARE_MESSAGE_MAP()

private:
    // The Column list's selected entry; null when nothing is selected.
    CColumnProp* SelectedEntry() const;
    // Attaches or detaches the number wrappers for `entry`; with `tellView`, also
    // narrows the view's selection to the column and loads its cell text.
    void SetUpNumeric(const CColumnProp& entry, bool tellView);
    // Detaches `wrapper` when attached and limits box `id` to `maxLength`.
    void DetachNumeric(CNumCombo& wrapper, UINT id, int maxLength);
    // Puts `text` at the head of `history` and of box `id`'s list, unless it is there.
    void RememberText(const CString& text, CStringList& history, CString& last, UINT id);
    // Asks `prompt` when the area spans several columns; false (the dialog closed)
    // on No. Otherwise narrows the area to `narrowTo` and tells the view.
    bool NarrowToOneColumn(UINT prompt, int narrowTo);
    // What Replace and Replace All share before their request: the dialog's values
    // read, the area narrowed to one column (false when the user declined), both
    // texts remembered; `chosen` is that column and `flags` the request's flags
    // with `request` and the check boxes.
    bool ReadyToReplace(DWORD request, int& chosen, DWORD& flags);
    // Sends the column-choice notification for `index`.
    void TellColumnChoice(int index);
    // Sends a request; the record's line and column come back. False when the
    // found cell lies outside the area (nothing found included).
    bool Request(DWORD flags, bool withReplaceText);
    // Ends the dialog because nothing more is found, and says so.
    void EndSearch();
    // Find mode to Replace mode, on the Replace button.
    void TurnIntoReplace();
    // Selects the first Column entry whose index is `index`; false when none is.
    bool SelectColumnEntry(int index);
    // Types the picked history entry of box `id` into its number wrapper again.
    void ReenterNumber(CNumCombo& wrapper, UINT id);
};
