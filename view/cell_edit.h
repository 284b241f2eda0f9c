/// \file
/// CCellEdit, the in-cell edit box of the table view.
#pragma once

#include "framework/app/afx_controls.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/window/imm.h"

/// The single-line edit box that the table view puts over a cell of a
/// text or numeric column to edit it in place.
///
/// It filters keys before the box sees them (PreTranslateMessage): Tab, Enter,
/// Escape and, unless the caret may move, the arrow keys end the edit by giving
/// the focus back to the parent view, and the key that did so is kept in
/// `lastKey` for the view to decide whether to commit. In numeric mode only digits,
/// one point within `decimals` and a leading minus pass, within `digits` digits.
/// Its clipboard commands (keys, the edit commands, WM_CUT...WM_UNDO) are its own,
/// with a one-step undo that a second undo redoes.
class TQ3VIEW_API CCellEdit : public CEdit {
    DECLARE_DYNCREATE(CCellEdit)

public:
    CCellEdit();
    ~CCellEdit() override;

    // ---- State: the view sets the mode and limits each time it shows the box ----------
    CString startText;         ///< the cell text when the edit began; Escape restores it in text mode
    int textMode = 1;          ///< 1: any text; 0: a number
    BYTE decimals = 1;         ///< places allowed after the point (0: integers)
    BYTE digits = 7;           ///< most digits the number may have
    MSG lastKey{};             ///< the key-down that ended the edit; zero while none has
    int arrowsMoveCaret = 0;   ///< nonzero: the arrows move the caret instead of ending the edit
    HIMC imeContext = nullptr; ///< the box's own input context, detached while a number is edited
    CFont font;                ///< the font the box is drawn in while shown (made by the view)
    HFONT previousFont = nullptr;  ///< the font the box had before it was shown
    CString undoText;          ///< text before the last clipboard or clear operation
    int undoSelStart = 0;      ///< the selection's start then
    int undoSelEnd = 0;        ///< the selection's end then
    int lastOperation = 0;     ///< that operation: kCopied, kCut, kPasted, kCleared or kUndone; 0 none

    static constexpr int kCopied = 1;   ///< lastOperation: a copy (undo skips it)
    static constexpr int kCut = 2;      ///< lastOperation: a cut
    static constexpr int kPasted = 4;   ///< lastOperation: a paste
    static constexpr int kCleared = 8;  ///< lastOperation: a clear (Delete)
    static constexpr int kUndone = 64;  ///< lastOperation: an undo, which the next undo takes back

    // ---- Clipboard commands --------------------------------------------------------------
    /// Pastes one cell's worth of the clipboard's text (up to its first TAB, CR or
    /// LF) over the selection: as it stands in text mode, typed through the numeric
    /// rules in numeric mode. Remembers the text before it for undo.
    virtual void DoPaste();
    /// Puts the selected text on the clipboard.
    virtual void DoCopy();
    /// Puts the selected text on the clipboard and removes it; nothing is removed
    /// when the clipboard does not take it. Remembers the text before it for undo.
    virtual void DoCut();
    /// Removes the selection, or with the Delete key held and no selection the
    /// character after the caret. Remembers the text before it for undo.
    virtual void DoClear();
    /// Puts back the text and selection before the last cut, paste, clear or undo
    /// (so a second undo redoes); nothing after a copy alone or before any change.
    virtual void DoUndo();

    /// Sets the text: in numeric mode read as a number and written with `decimals`
    /// (null: "0"); in text mode as given.
    void SetEditText(LPCWSTR text);
    /// Types a number fragment over the selection under the numeric rules; refused
    /// with a beep (FALSE) when they do not allow it.
    BOOL InsertNumber(LPCWSTR text);

    /// Filters the keys addressed to the box before it sees them: the keys that end
    /// the edit, the clipboard keys (Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z, Delete) and, in
    /// numeric mode, every key that would break the number.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    /// Change and update notifications reach the parent as WM_NOTIFY from the box.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    /// Carries out WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR and WM_UNDO with the box's
    /// own clipboard commands; every other message goes to the edit box.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    /// Keeps the box's input context, to be given back after numeric edits.
    void PreSubclassWindow() override;
    /// WM_DESTROY: gives the box its input context back.
    afx_msg void OnDestroy();
    /// WM_SHOWWINDOW: shown, it forgets the last key and operation and takes
    /// `font`; hidden, it takes its previous font back and forgets the undo text.
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    /// WM_SETFOCUS: remembers the text as `startText`, selects all of it and, in
    /// numeric mode, keeps input methods off.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    /// WM_KILLFOCUS: gives the input context back and hides the box, which ends
    /// the edit; the view reads `lastKey` to decide whether to commit.
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
