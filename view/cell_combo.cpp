// CCellCombo and CNumCombo (see cell_combo.h).
//
// Sections: CCellCombo; CNumCombo attaching and detaching, its key filter, its
// clipboard commands and undo, and the cleaning of its edit part.
//
// Call flow of CNumCombo: the message loop -> PreTranslateMessage -> FilterKey ->
// NumberKey (sign, point, digit rule) or DoCopy/DoCut/DoPaste/DoUndo; DoPaste ->
// posted WM_KEYDOWNs -> FilterKey again, one per character; the edit part's
// EN_UPDATE -> OnCommand -> cleaned text and a posted End.
#include "view/cell_combo.h"

#include "text/clipboard_text.h"
#include "view/cell_number.h"

using tq3::view::NumberEdit;

namespace {

bool Down(int vk) { return GetKeyState(vk) < 0; }
bool NumLockOn() { return (GetKeyState(VK_NUMLOCK) & 1) != 0; }

}  // namespace

// ============================================================================
// CCellCombo
// ============================================================================

IMPLEMENT_DYNCREATE(CCellCombo, CComboBox)

BEGIN_MESSAGE_MAP(CCellCombo, CComboBox)
ON_WM_CHAR()
ON_WM_SHOWWINDOW()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CCellCombo::CCellCombo() = default;
CCellCombo::~CCellCombo() = default;

BOOL CCellCombo::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN || pMsg->hwnd != m_hWnd) return CComboBox::PreTranslateMessage(pMsg);
    lastKey = *pMsg;
    const WPARAM key = pMsg->wParam;
    if (key != VK_RETURN && key != VK_ESCAPE && key != VK_LEFT && key != VK_RIGHT) return FALSE;
    CWnd* parent = GetParent();
    if (parent != nullptr) parent->SetFocus();
    return TRUE;
}

// A character makes the first entry that begins with it current, counted from
// the top, so that typing the same letter again does not step on to the next
// entry. A character no entry begins with goes to the list as usual.
void CCellCombo::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    const WCHAR first[2] = {static_cast<WCHAR>(nChar), 0};
    if (nChar >= 0x20 && SelectString(-1, first) != CB_ERR) return;
    CComboBox::OnChar(nChar, nRepCnt, nFlags);
}

void CCellCombo::OnShowWindow(BOOL bShow, UINT nStatus) {
    CComboBox::OnShowWindow(bShow, nStatus);
    if (bShow) {
        lastKey = MSG{};
        previousFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        if (font.m_hObject != nullptr) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), TRUE);
        return;
    }
    if (font.m_hObject != nullptr) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(previousFont), TRUE);
    previousFont = nullptr;
}

void CCellCombo::OnSetFocus(CWnd* pOldWnd) {
    CComboBox::OnSetFocus(pOldWnd);
    lastKey = MSG{};
}

void CCellCombo::OnKillFocus(CWnd* pNewWnd) {
    CComboBox::OnKillFocus(pNewWnd);
    ShowWindow(SW_HIDE);
}

// ============================================================================
// CNumCombo: attaching and detaching
// ============================================================================

IMPLEMENT_DYNCREATE(CNumCombo, CComboBox)

BEGIN_MESSAGE_MAP(CNumCombo, CComboBox)
ON_WM_DESTROY()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CNumCombo::CNumCombo() = default;
CNumCombo::~CNumCombo() = default;

// Made by the class itself, the box is an unsorted one with an edit part: the
// number field needs a place to type in.
BOOL CNumCombo::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style = (cs.style & ~(CBS_SORT | 0x3L)) | CBS_DROPDOWN;
    return CComboBox::PreCreateWindow(cs);
}

// An attached box stays as it was made (its kind cannot change once it exists)
// but keeps its entries in the order given. No input method composes in the
// edit part while it holds a number.
void CNumCombo::PreSubclassWindow() {
    CComboBox::PreSubclassWindow();
    ModifyStyle(CBS_SORT, 0);
    lastOperation = 0;
    undoText.Empty();
    undoSelStart = 0;
    undoSelEnd = 0;
    imeContext = ImmGetContext(m_hWnd);
    if (HWND edit = EditPart()) {
        editContext_ = ImmAssociateContext(edit, nullptr);
    }
}

void CNumCombo::GiveContextsBack() {
    if (m_hWnd == nullptr) return;
    if (imeContext != nullptr) {
        ImmAssociateContext(m_hWnd, imeContext);
        ImmReleaseContext(m_hWnd, imeContext);
        imeContext = nullptr;
    }
    HWND edit = EditPart();
    if (edit != nullptr && editContext_ != nullptr) ImmAssociateContext(edit, editContext_);
    editContext_ = nullptr;
}

HWND CNumCombo::UnsubclassWindow() {
    GiveContextsBack();
    return CComboBox::UnsubclassWindow();
}

void CNumCombo::OnDestroy() {
    GiveContextsBack();
    CComboBox::OnDestroy();
}

void CNumCombo::OnSetFocus(CWnd* pOldWnd) {
    CComboBox::OnSetFocus(pOldWnd);
    ImmAssociateContext(m_hWnd, nullptr);
}

void CNumCombo::OnKillFocus(CWnd* pNewWnd) {
    CComboBox::OnKillFocus(pNewWnd);
    ImmAssociateContext(m_hWnd, imeContext);
}

// The edit part lies inside the box's frame; the middle of the box finds it.
HWND CNumCombo::EditPart() const {
    CRect client;
    GetClientRect(&client);
    const POINT middle{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    HWND child = ::ChildWindowFromPointEx(m_hWnd, middle, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    return child != m_hWnd ? child : nullptr;
}

void CNumCombo::SetEditText(LPCWSTR text) {
    value = text != nullptr ? tq3::view::ReadNumber(text) : 0.0;
    SetWindowText(FormatNumber(value, decimals));
}

void CNumCombo::SetDigits(BYTE newDigits, BOOL reformat) {
    digits = newDigits;
    if (reformat) SetWindowText(FormatNumber(value, decimals));
}

BYTE CNumCombo::SetDecimals(BYTE newDecimals) {
    decimals = newDecimals;
    return decimals;
}

LRESULT CNumCombo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) value = tq3::view::ReadNumber(reinterpret_cast<LPCWSTR>(lParam));
    return CComboBox::WindowProc(message, wParam, lParam);
}

// ============================================================================
// CNumCombo: the key filter
// ============================================================================

void CNumCombo::ReadEdit(CString& text, int& start, int& end) const {
    GetWindowText(text);
    const DWORD sel = GetEditSel();
    start = LOWORD(sel);
    end = HIWORD(sel);
}

void CNumCombo::SetEditPart(const CString& text, int start, int end) {
    SetWindowText(text);
    SetEditSel(start, end);
}

BOOL CNumCombo::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) return FilterKey(pMsg);
    return CComboBox::PreTranslateMessage(pMsg);
}

BOOL CNumCombo::FilterKey(MSG* pMsg) {
    const int key = static_cast<int>(pMsg->wParam);
    switch (key) {
        case VK_BACK:
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
        case VK_DELETE:
        case VK_F2: return FALSE;  // the control's and the dialog's keys
        case VK_INSERT:
            if (Down(VK_SHIFT)) {
                DoPaste();
                return TRUE;
            }
            if (Down(VK_CONTROL)) {
                DoCopy();
                return TRUE;
            }
            return FALSE;
        case 'C':
        case 'V':
        case 'X':
        case 'Z':
            if (!Down(VK_CONTROL)) return TRUE;
            if (key == 'C') DoCopy();
            if (key == 'V') DoPaste();
            if (key == 'X') DoCut();
            if (key == 'Z') DoUndo();
            return TRUE;
        default: return NumberKey(pMsg, key, NumLockOn());
    }
}

BOOL CNumCombo::NumberKey(MSG* pMsg, int key, bool numLock) {
    NumberEdit edit;
    ReadEdit(edit.text, edit.start, edit.end);
    if (key == VK_OEM_MINUS || (key == VK_SUBTRACT && numLock)) {
        const NumberEdit toggled = tq3::view::ToggleSign(edit);
        SetEditPart(toggled.text, toggled.start, toggled.start);
        return TRUE;
    }
    if (key == VK_OEM_PERIOD || (key == VK_DECIMAL && numLock)) {
        NumberEdit typed = edit;
        if (!tq3::view::TypePoint(typed, decimals)) return TRUE;
        if (Down(VK_SHIFT) && key == VK_OEM_PERIOD) return FALSE;  // '>', which the cleaning removes
        SetEditPart(typed.text, typed.start, typed.start);
        return TRUE;
    }
    if (key == VK_SUBTRACT || key == VK_DECIMAL) return FALSE;
    const bool keypad = key >= VK_NUMPAD0 && key <= VK_NUMPAD9 && numLock;
    if (!(key >= '0' && key <= '9') && !keypad) return TRUE;  // nothing else types here
    edit.Order();
    if (tq3::view::DigitRefused(edit, CountDigits(this), digits, decimals)) return TRUE;
    if (pMsg->hwnd != m_hWnd) return FALSE;  // typed in the edit part: it types the digit itself
    // A key posted to the box by a paste types its digit straight into the edit
    // part: the paste's own Ctrl or Shift may still be held and would turn the
    // key into no character at all.
    const WCHAR digit = keypad ? static_cast<WCHAR>(u'0' + (key - VK_NUMPAD0)) : static_cast<WCHAR>(key);
    if (HWND part = EditPart()) ::SendMessageW(part, WM_CHAR, digit, 1);
    return TRUE;
}

// ============================================================================
// CNumCombo: clipboard commands and undo
// ============================================================================

void CNumCombo::DoCopy() {
    CString text;
    int start = 0;
    int end = 0;
    ReadEdit(text, start, end);
    if (end < start) std::swap(start, end);
    if (SetClipboardText(m_hWnd, text.Mid(start, end - start))) lastOperation = kCopied;
}

void CNumCombo::DoCut() {
    NumberEdit edit;
    ReadEdit(edit.text, edit.start, edit.end);
    undoText = edit.text;
    undoSelStart = edit.start;
    undoSelEnd = edit.end;
    edit.Order();
    if (!SetClipboardText(m_hWnd, edit.text.Mid(edit.start, edit.end - edit.start))) return;
    edit.DeleteSelection();
    SetEditText(edit.text);
    SetEditSel(edit.start, edit.start);
    lastOperation = kCut;
}

void CNumCombo::DoClear() {
    NumberEdit edit;
    ReadEdit(edit.text, edit.start, edit.end);
    undoText = edit.text;
    undoSelStart = edit.start;
    undoSelEnd = edit.end;
    edit.Order();
    if (edit.start == edit.end && edit.start < edit.text.GetLength() && Down(VK_DELETE)) edit.end = edit.start + 1;
    edit.DeleteSelection();
    SetEditText(edit.text);
    SetEditSel(edit.start, edit.start);
    lastOperation = kCleared;
}

void CNumCombo::DoUndo() {
    lastOperation &= ~kCopied;
    if (lastOperation == 0) return;
    CString text;
    int start = 0;
    int end = 0;
    ReadEdit(text, start, end);
    SetEditText(undoText);
    SetEditSel(undoSelStart, undoSelEnd);
    undoText = text;
    undoSelStart = start;
    undoSelEnd = end;
    lastOperation = kUndone;
}

// The clipboard's number is typed: each character goes through the key filter
// as a key of its own, so every rule of typing holds for it; a leading minus is
// typed last, as the sign toggle.
void CNumCombo::DoPaste() {
    CString clip;
    if (!GetClipboardText(m_hWnd, clip)) return;
    CString number = tq3::view::NumberPrefix(clip);
    if (number.IsEmpty()) return;
    const bool negative = number[0] == u'-';
    const int sign = negative ? 1 : 0;
    const int point = number.Find(u'.');
    int count = std::min(number.GetLength(), digits + sign + ((point >= 0 && point < digits + sign) ? 1 : 0));
    if (negative) {
        number.Delete(0);
        --count;
    }
    for (int i = 0; i < count; ++i) {
        const WCHAR c = number[i];
        const WPARAM key = c == u'.' ? VK_OEM_PERIOD : c == u'-' ? VK_OEM_MINUS : static_cast<WPARAM>(c);
        PostMessage(WM_KEYDOWN, key, 1);
    }
    if (negative) PostMessage(WM_KEYDOWN, VK_OEM_MINUS, 1);
}

// ============================================================================
// CNumCombo: cleaning the edit part
// ============================================================================

// Text that reached the edit part another way than through the filter (a
// character from elsewhere, a text set by the dialog) is cut back to its number,
// with the caret at its end.
BOOL CNumCombo::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(static_cast<DWORD>(wParam)) == EN_UPDATE) {
        HWND edit = EditPart();
        CString text;
        GetWindowText(text);
        const CString number = tq3::view::NumberPrefix(text);
        if (edit != nullptr && number != text) {
            ::SetWindowTextW(edit, number.IsEmpty() ? u"0" : number.GetString());
            ::PostMessageW(edit, WM_KEYDOWN, VK_END, 1);
        }
    }
    return CComboBox::OnCommand(wParam, lParam);
}
