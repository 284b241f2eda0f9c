// CCellEdit (see cell_edit.h).
//
// Sections: creation and life; the key filter (text mode, numeric mode, the keys
// both share); clipboard commands and undo; window events.
//
// Call flow: the message loop -> PreTranslateMessage -> FilterTextKey or
// FilterNumberKey -> CommonKey -> EndEdit (focus to the parent, whose kill-focus
// handling reads lastKey) or DoCopy/DoCut/DoPaste/DoClear/DoUndo; WM_CUT...WM_UNDO
// -> WindowProc -> the same Do* members. Giving the focus away is the last thing a
// handler does: the view may hide or refill the box in answer.
#include "view/cell_edit.h"

#include "text/clipboard_text.h"
#include "view/cell_number.h"

using tq3::view::NumberEdit;

IMPLEMENT_DYNCREATE(CCellEdit, CEdit)

BEGIN_MESSAGE_MAP(CCellEdit, CEdit)
ON_WM_DESTROY()
ON_WM_SHOWWINDOW()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_COMMAND(ID_EDIT_PASTE, &CCellEdit::DoPaste)
ON_COMMAND(ID_EDIT_COPY, &CCellEdit::DoCopy)
ON_COMMAND(ID_EDIT_CUT, &CCellEdit::DoCut)
ON_COMMAND(ID_EDIT_UNDO, &CCellEdit::DoUndo)
END_MESSAGE_MAP()

namespace {

bool Down(int vk) { return GetKeyState(vk) < 0; }
bool NumLockOn() { return (GetKeyState(VK_NUMLOCK) & 1) != 0; }
bool IsArrow(int key) { return key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN; }

}  // namespace

// ============================================================================
// Creation and life
// ============================================================================

CCellEdit::CCellEdit() = default;
CCellEdit::~CCellEdit() = default;

// The input context is taken when the object is bound to its box, whether
// Create made the box or the object took over one made elsewhere.
void CCellEdit::PreSubclassWindow() {
    CEdit::PreSubclassWindow();
    imeContext = ImmGetContext(m_hWnd);
}

void CCellEdit::OnDestroy() {
    if (imeContext != nullptr) {
        ImmAssociateContext(m_hWnd, imeContext);
        ImmReleaseContext(m_hWnd, imeContext);
        imeContext = nullptr;
    }
    CEdit::OnDestroy();
}

void CCellEdit::SetEditText(LPCWSTR text) {
    if (textMode != 0) {
        SetWindowText(text != nullptr ? text : u"");
        return;
    }
    SetWindowText(text == nullptr ? CString(u"0") : FormatNumber(tq3::view::ReadNumber(text), decimals));
}

void CCellEdit::SetTextAndSel(const CString& text, int start, int end) {
    SetWindowText(text);
    SetSel(start, end);
    SendMessage(EM_SCROLLCARET);
}

// ============================================================================
// The key filter
// ============================================================================

BOOL CCellEdit::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->hwnd == m_hWnd) return textMode != 0 ? FilterTextKey(pMsg) : FilterNumberKey(pMsg);
    return CEdit::PreTranslateMessage(pMsg);
}

void CCellEdit::EndEdit(const MSG* pMsg) {
    lastKey = *pMsg;
    CWnd* parent = GetParent();
    if (parent != nullptr) parent->SetFocus();
}

// Tab, Enter, the arrows, Delete and the Ctrl clipboard keys: 1 consumed, 0 the
// box's normal path, -1 not one of them.
int CCellEdit::CommonKey(MSG* pMsg, int key) {
    if (IsArrow(key)) {
        if (arrowsMoveCaret != 0 || Down(VK_SHIFT)) return 0;
        key = VK_TAB;
    }
    switch (key) {
        case VK_TAB:
        case VK_RETURN: EndEdit(pMsg); return 1;
        case VK_DELETE: DoClear(); return 1;
        case 'C':
        case 'V':
        case 'X':
        case 'Z':
            if (!Down(VK_CONTROL)) return 0;
            if (key == 'C') DoCopy();
            if (key == 'V') DoPaste();
            if (key == 'X') DoCut();
            if (key == 'Z') DoUndo();
            return 1;
        default: return -1;
    }
}

BOOL CCellEdit::FilterTextKey(MSG* pMsg) {
    if (GetStyle() & (ES_NUMBER | ES_RIGHT)) ModifyStyle(ES_NUMBER | ES_RIGHT, 0);
    const int key = static_cast<int>(pMsg->wParam);
    if (pMsg->message != WM_KEYDOWN || key < VK_TAB || key > 'Z') return CEdit::PreTranslateMessage(pMsg);
    if (key == VK_ESCAPE) {
        SetWindowText(startText);
        EndEdit(pMsg);
        return TRUE;
    }
    const int common = CommonKey(pMsg, key);
    return common > 0 ? TRUE : CEdit::PreTranslateMessage(pMsg);
}

BOOL CCellEdit::FilterNumberKey(MSG* pMsg) {
    if ((GetStyle() & (ES_NUMBER | ES_RIGHT)) != (ES_NUMBER | ES_RIGHT)) ModifyStyle(0, ES_NUMBER | ES_RIGHT);
    if (pMsg->message != WM_KEYDOWN) return CEdit::PreTranslateMessage(pMsg);
    const int key = static_cast<int>(pMsg->wParam);
    NumberEdit edit;
    GetWindowText(edit.text);
    GetSel(edit.start, edit.end);
    const bool numLock = NumLockOn();
    if (key == VK_ESCAPE) {
        EndEdit(pMsg);
        return TRUE;
    }
    if (key == VK_INSERT && Down(VK_SHIFT)) {
        DoPaste();
        return TRUE;
    }
    const int common = CommonKey(pMsg, key);
    if (common >= 0) return common > 0 ? TRUE : CEdit::PreTranslateMessage(pMsg);
    if (key == VK_OEM_MINUS || (key == VK_SUBTRACT && numLock)) {
        NumberEdit toggled = tq3::view::ToggleSign(edit);
        SetTextAndSel(toggled.text, toggled.start, toggled.start);
        return TRUE;
    }
    if (key == VK_OEM_PERIOD || (key == VK_DECIMAL && numLock)) {
        NumberEdit typed = edit;
        if (!tq3::view::TypePoint(typed, decimals)) return TRUE;
        // Shift+period types '>', which the digits-only style refuses.
        if (Down(VK_SHIFT) && key == VK_OEM_PERIOD) return CEdit::PreTranslateMessage(pMsg);
        SetTextAndSel(typed.text, typed.start, typed.start);
        return TRUE;
    }
    const bool digit = (key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9 && numLock);
    if (!digit) return CEdit::PreTranslateMessage(pMsg);
    edit.Order();
    return tq3::view::DigitRefused(edit, CountDigits(this), digits, decimals) ? TRUE : CEdit::PreTranslateMessage(pMsg);
}

// ============================================================================
// Clipboard commands and undo
// ============================================================================

void CCellEdit::RecordUndo(const CString& text, int start, int end) {
    undoText = text;
    undoSelStart = start;
    undoSelEnd = end;
}

void CCellEdit::DoCopy() {
    int start = 0;
    int end = 0;
    GetSel(start, end);
    CString text;
    GetWindowText(text);
    if (SetClipboardText(m_hWnd, text.Mid(start, end - start))) lastOperation = kCopied;
}

void CCellEdit::DoCut() {
    NumberEdit edit;
    GetWindowText(edit.text);
    GetSel(edit.start, edit.end);
    RecordUndo(edit.text, edit.start, edit.end);
    edit.Order();
    if (!SetClipboardText(m_hWnd, edit.text.Mid(edit.start, edit.end - edit.start))) return;
    edit.DeleteSelection();
    SetEditText(edit.text);
    SetSel(edit.start, edit.start);
    lastOperation = kCut;
}

void CCellEdit::DoClear() {
    NumberEdit edit;
    GetWindowText(edit.text);
    GetSel(edit.start, edit.end);
    RecordUndo(edit.text, edit.start, edit.end);
    edit.Order();
    // Without a selection only the Delete key removes something: the character
    // after the caret.
    if (edit.start == edit.end && edit.start < edit.text.GetLength() && Down(VK_DELETE)) edit.end = edit.start + 1;
    const int count = edit.end - edit.start;
    if (count > 0) {
        if (edit.text.GetLength() <= count) {
            SetEditText(u"");
        } else {
            SetSel(edit.start, edit.end);
            ReplaceSel(u"", FALSE);
        }
    }
    lastOperation = kCleared;
}

void CCellEdit::DoPaste() {
    int start = 0;
    int end = 0;
    GetSel(start, end);
    undoSelStart = start;
    undoSelEnd = end;
    CString clip;
    if (!GetClipboardText(m_hWnd, clip)) return;
    GetWindowText(undoText);
    // One cell's worth: the text up to its first line or field end.
    const int stop = clip.FindOneOf(u"\r\n\t");
    if (stop >= 0) clip.Truncate(stop);
    if (textMode != 0) {
        if (undoText.GetLength() <= (end > start ? end - start : start - end)) {
            SetEditText(clip);
        } else {
            ReplaceSel(clip, FALSE);
        }
        lastOperation = kPasted;
        return;
    }
    const CString number = tq3::view::NumberPrefix(clip);
    if (number.IsEmpty()) return;
    if (InsertNumber(number)) lastOperation = kPasted;
}

BOOL CCellEdit::InsertNumber(LPCWSTR text) {
    NumberEdit edit;
    GetWindowText(edit.text);
    GetSel(edit.start, edit.end);
    if (text == nullptr || !tq3::view::InsertNumberFragment(edit, CString(text), digits, decimals)) {
        MessageBeep(0xFFFFFFFF);
        return FALSE;
    }
    SetTextAndSel(edit.text, edit.start, edit.end);
    return TRUE;
}

// Copying leaves nothing to undo; anything else swaps the text and selection
// with the ones kept, so the next undo brings them back again.
void CCellEdit::DoUndo() {
    lastOperation &= ~kCopied;
    if (lastOperation == 0) return;
    CString text;
    GetWindowText(text);
    int start = 0;
    int end = 0;
    GetSel(start, end);
    SetEditText(undoText);
    SetSel(undoSelStart, undoSelEnd);
    RecordUndo(text, start, end);
    lastOperation = kUndone;
}

LRESULT CCellEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CUT: DoCut(); return 0;
        case WM_COPY: DoCopy(); return 0;
        case WM_PASTE: DoPaste(); return 0;
        case WM_CLEAR: DoClear(); return 0;
        case WM_UNDO: DoUndo(); return 1;
        default: return CEdit::WindowProc(message, wParam, lParam);
    }
}

// The box's own change notifications, reflected to it by its parent, go back
// to the parent as WM_NOTIFY from the box; the parent's handling of WM_NOTIFY
// reflects those too, which must not come round again.
BOOL CCellEdit::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const WORD code = LOWORD(static_cast<DWORD>(nCode));
    const WORD kind = HIWORD(static_cast<DWORD>(nCode));
    const bool asCommand = kind == 0 || kind == TQ3_WM_REFLECT_BASE + WM_COMMAND;
    if (asCommand && (code == EN_CHANGE || code == EN_UPDATE) && m_hWnd != nullptr) {
        if (pHandlerInfo != nullptr) return TRUE;
        NMHDR header{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), code};
        CWnd* parent = GetParent();
        if (parent != nullptr) parent->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        return TRUE;
    }
    return CEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ============================================================================
// Window events
// ============================================================================

void CCellEdit::OnShowWindow(BOOL bShow, UINT nStatus) {
    CEdit::OnShowWindow(bShow, nStatus);
    if (bShow) {
        lastKey = MSG{};
        previousFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        if (font.m_hObject != nullptr) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), TRUE);
        lastOperation = 0;
        return;
    }
    if (font.m_hObject != nullptr) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(previousFont), TRUE);
    undoText.Empty();
    undoSelStart = 0;
    undoSelEnd = 0;
}

void CCellEdit::OnSetFocus(CWnd* pOldWnd) {
    CEdit::OnSetFocus(pOldWnd);
    GetWindowText(startText);
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
    // No input method composes over a number.
    if (textMode == 0) ImmAssociateContext(m_hWnd, nullptr);
}

void CCellEdit::OnKillFocus(CWnd* pNewWnd) {
    CEdit::OnKillFocus(pNewWnd);
    ImmAssociateContext(m_hWnd, imeContext);
    ShowWindow(SW_HIDE);
}
