// The combo boxes of the table view and its find/replace dialog.
//
// CCellCombo is the drop-down list that the view puts over a cell of a list
// column: Enter, Escape, Left and Right end the edit by giving the focus back to
// the parent view (the key is kept in `lastKey`), Up and Down change the entry,
// and a typed character makes the first entry starting with it current.
//
// CNumCombo turns an existing editable combo box into a number field: attached by
// subclassing, its edit part takes only digits, one point and a leading minus
// within `digits` and `decimals`, has its own clipboard commands with a one-step
// undo, and pastes by typing the clipboard's number through the same rules.
#pragma once

#include "framework/app/afx_controls.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/window/imm.h"

class TQ3VIEW_API CCellCombo : public CComboBox {
    DECLARE_DYNCREATE(CCellCombo)

public:
    CCellCombo();
    ~CCellCombo() override;

    MSG lastKey{};                 // the last key-down the list received; zero while none
    int startIndex = -1;           // the entry current when the list was opened (set by the view)
    CFont font;                    // the font the list is drawn in while shown (made by the view)
    HFONT previousFont = nullptr;  // the font the list had before it was shown

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};

class TQ3VIEW_API CNumCombo : public CComboBox {
    DECLARE_DYNCREATE(CNumCombo)

public:
    CNumCombo();
    ~CNumCombo() override;

    BYTE decimals = 0;          // places allowed after the point
    BYTE digits = 7;            // most digits the number may have
    CString undoText;           // text before the last cut, clear or undo
    int undoSelStart = 0;       // and the edit part's selection then
    int undoSelEnd = 0;
    int lastOperation = 0;      // kCopied, kCut, kCleared or kUndone; 0 none
    double value = 0.0;         // the number last set as the text
    HIMC imeContext = nullptr;  // the box's input context, given back when it is detached

    static constexpr int kCopied = 1;
    static constexpr int kCut = 2;
    static constexpr int kCleared = 8;
    static constexpr int kUndone = 64;

    // Sets `value` and shows it with `decimals` (null: 0).
    void SetEditText(LPCWSTR text);
    void SetDigits(BYTE newDigits, BOOL reformat);
    BYTE SetDecimals(BYTE newDecimals);
    // Gives the input contexts back and hands the window back to its own procedure.
    HWND UnsubclassWindow();

    virtual void DoPaste();
    virtual void DoCopy();
    virtual void DoCut();
    virtual void DoClear();
    virtual void DoUndo();

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void PreSubclassWindow() override;
    afx_msg void OnDestroy();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
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
