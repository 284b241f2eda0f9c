// CCellEdit: the single-line edit box that the table view puts over a cell of a
// text or numeric column to edit it in place.
//
// It filters keys before the box sees them (PreTranslateMessage): Tab, Enter,
// Escape and, unless the caret may move, the arrow keys end the edit by giving
// the focus back to the parent view, and the key that did so is kept in
// `lastKey` for the view to decide whether to commit. In numeric mode only digits,
// one point within `decimals` and a leading minus pass, within `digits` digits.
// Its clipboard commands (keys, the edit commands, WM_CUT...WM_UNDO) are its own,
// with a one-step undo that a second undo redoes.
#pragma once

#include "framework/app/afx_controls.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/window/imm.h"

class TQ3VIEW_API CCellEdit : public CEdit {
    DECLARE_DYNCREATE(CCellEdit)

public:
    CCellEdit();
    ~CCellEdit() override;

    // ---- State: the view sets the mode and limits each time it shows the box ----------
    CString startText;         // the cell text when the edit began; Escape restores it in text mode
    int textMode = 1;          // 1: any text; 0: a number
    BYTE decimals = 1;         // places allowed after the point (0: integers)
    BYTE digits = 7;           // most digits the number may have
    MSG lastKey{};             // the key-down that ended the edit; zero while none has
    int arrowsMoveCaret = 0;   // nonzero: the arrows move the caret instead of ending the edit
    HIMC imeContext = nullptr; // the box's own input context, detached while a number is edited
    CFont font;                // the font the box is drawn in while shown (made by the view)
    HFONT previousFont = nullptr;  // the font the box had before it was shown
    CString undoText;          // text before the last clipboard or clear operation
    int undoSelStart = 0;      // and its selection
    int undoSelEnd = 0;
    int lastOperation = 0;     // that operation: kCopied, kCut, kPasted, kCleared or kUndone; 0 none

    static constexpr int kCopied = 1;
    static constexpr int kCut = 2;
    static constexpr int kPasted = 4;
    static constexpr int kCleared = 8;
    static constexpr int kUndone = 64;

    // ---- Clipboard commands --------------------------------------------------------------
    virtual void DoPaste();
    virtual void DoCopy();
    virtual void DoCut();
    virtual void DoClear();
    virtual void DoUndo();

    // Sets the text: in numeric mode read as a number and written with `decimals`
    // (null: "0"); in text mode as given.
    void SetEditText(LPCWSTR text);
    // Types a number fragment over the selection under the numeric rules; refused
    // with a beep (FALSE) when they do not allow it.
    BOOL InsertNumber(LPCWSTR text);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Change and update notifications reach the parent as WM_NOTIFY from the box.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void PreSubclassWindow() override;
    afx_msg void OnDestroy();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    BOOL FilterTextKey(MSG* pMsg);
    BOOL FilterNumberKey(MSG* pMsg);
    // Keys both modes treat alike; -1 when the key is not one of them.
    int CommonKey(MSG* pMsg, int key);
    void EndEdit(const MSG* pMsg);
    void SetTextAndSel(const CString& text, int start, int end);
    void RecordUndo(const CString& text, int start, int end);
};
