/// \file
/// The combo boxes of the table view and its find/replace dialog: CCellCombo and
/// CNumCombo.
#pragma once

#include "framework/app/afx_controls.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/window/imm.h"

/// The drop-down list that the view puts over a cell of a list column: Enter,
/// Escape, Left and Right end the edit by giving the focus back to the parent view
/// (the key is kept in `lastKey`), Up and Down change the entry, and a typed
/// character makes the first entry starting with it current.
class TQ3VIEW_API CCellCombo : public CComboBox {
    DECLARE_DYNCREATE(CCellCombo)

public:
    CCellCombo();
    ~CCellCombo() override;

    MSG lastKey{};                 ///< the last key-down the list received; zero while none
    int startIndex = -1;           ///< the entry current when the list was opened (set by the view)
    CFont font;                    ///< the font the list is drawn in while shown (made by the view)
    HFONT previousFont = nullptr;  ///< the font the list had before it was shown

    /// Keeps every key-down addressed to the list in `lastKey`; Enter, Escape, Left
    /// and Right end the edit by giving the focus to the parent view.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    /// WM_CHAR: makes the first entry beginning with the character current,
    /// counted from the top (typing the same letter again stays on it); a
    /// character no entry begins with goes to the list as usual.
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    /// WM_SHOWWINDOW: shown, it forgets the last key and takes `font`; hidden, it
    /// takes its previous font back.
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    /// WM_SETFOCUS: forgets the last key.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    /// WM_KILLFOCUS: hides the list, which ends the edit; the view reads `lastKey`
    /// to decide whether to commit.
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};

/// Turns an existing editable combo box into a number field: attached by
/// subclassing, its edit part takes only digits, one point and a leading minus
/// within `digits` and `decimals`, has its own clipboard commands with a one-step
/// undo, and pastes by typing the clipboard's number through the same rules. The
/// find/replace dialog uses it for its boxes on a numeric column.
class TQ3VIEW_API CNumCombo : public CComboBox {
    DECLARE_DYNCREATE(CNumCombo)

public:
    CNumCombo();
    ~CNumCombo() override;

    BYTE decimals = 0;          ///< places allowed after the point
    BYTE digits = 7;            ///< most digits the number may have
    CString undoText;           ///< text before the last cut, clear or undo
    int undoSelStart = 0;       ///< the start of the edit part's selection then
    int undoSelEnd = 0;         ///< the end of the edit part's selection then
    int lastOperation = 0;      ///< kCopied, kCut, kCleared or kUndone; 0 none
    double value = 0.0;         ///< the number last set as the text
    HIMC imeContext = nullptr;  ///< the box's input context, given back when it is detached

    static constexpr int kCopied = 1;   ///< lastOperation: a copy (undo skips it)
    static constexpr int kCut = 2;      ///< lastOperation: a cut
    static constexpr int kCleared = 8;  ///< lastOperation: a clear (Delete)
    static constexpr int kUndone = 64;  ///< lastOperation: an undo, which the next undo takes back

    /// Sets `value` and shows it with `decimals` (null: 0).
    void SetEditText(LPCWSTR text);
    /// Sets the most digits the number may have; with `reformat`, shows `value`
    /// again with `decimals`.
    void SetDigits(BYTE newDigits, BOOL reformat);
    /// Sets the places allowed after the point and returns them; the text shown
    /// stays until it is set again.
    BYTE SetDecimals(BYTE newDecimals);
    /// Gives the input contexts back and hands the window back to its own procedure.
    HWND UnsubclassWindow();

    /// Types the number the clipboard's text begins with over the selection,
    /// through the same rules as typed keys, cut to `digits` digits; nothing when
    /// the text begins with no number.
    virtual void DoPaste();
    /// Puts the edit part's selected text on the clipboard.
    virtual void DoCopy();
    /// Puts the selected text on the clipboard and removes it; nothing is removed
    /// when the clipboard does not take it. Remembers the text before it for undo.
    virtual void DoCut();
    /// Removes the selection, or with the Delete key held and no selection the
    /// character after the caret. Remembers the text before it for undo.
    virtual void DoClear();
    /// Puts back the text and selection before the last cut, clear or undo (so a
    /// second undo redoes); nothing after a copy alone or before any change.
    virtual void DoUndo();

    /// Made by the object itself, the box is a drop-down combo box (an editable
    /// field with a list) that keeps its entries in the order given.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    /// Filters the key-downs addressed to the box or its edit part: editing and
    /// moving keys pass, digits, the point and the minus pass where the number
    /// allows them, the clipboard keys run the box's own commands, and the rest
    /// is refused.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    /// On EN_UPDATE from the edit part, cuts a text that is no number back to the
    /// number it begins with ("0" when none), the caret at its end.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    /// Keeps `value` in step with every text set (WM_SETTEXT).
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    /// On attaching: keeps the entries in the order given, forgets the undo state
    /// and keeps input methods off the edit part.
    void PreSubclassWindow() override;
    /// WM_DESTROY: gives the input contexts back.
    afx_msg void OnDestroy();
    /// WM_SETFOCUS: keeps input methods off the box while it has the focus.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    /// WM_KILLFOCUS: gives the box its input context back.
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    // The edit part: the child at the middle of the box's top row.
    HWND EditPart() const;
    BOOL FilterKey(MSG* pMsg);
    BOOL NumberKey(MSG* pMsg, int key, bool numLock);
    void ReadEdit(CString& text, int& start, int& end) const;
    void SetEditPart(const CString& text, int start, int end);
    void GiveContextsBack();

    HIMC editContext_ = nullptr;  // the edit part's context while it is kept off
};
