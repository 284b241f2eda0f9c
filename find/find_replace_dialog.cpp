// CFindReplaceDlg (see find_replace_dialog.h).
//
// Sections: set-up (OnInitDialog and the column choices); the three buttons
// (Find Next, Replace, Replace All) and what they share (remembering texts,
// narrowing to one column, the request); the Column list and the number wrappers.
//
// Call flow of a button: OnFindNext / OnReplace / OnReplaceAll -> UpdateData ->
// RememberText -> NarrowToOneColumn (may ask and close) -> Request (WM_NOTIFY to
// the view, which may call the host's hooks) -> stay, or EndSearch.
//
// Re-entrancy: the view calls the host's hooks while it carries out a request, and
// a hook may change the table (remove the sheet, change a column's mode). The
// dialog keeps its own copies of the columns and reads nothing of the view after a
// request but the record it sent, and a search whose sheet has gone ends as one
// that finds nothing more.
#include "find/find_replace_dialog.h"

#include <new>
#include <utility>

#include "settings/language.h"
#include "view/cell_number.h"
#include "view/table_view.h"

IMPLEMENT_DYNAMIC(CFindReplaceDlg, CDialog)

BEGIN_MESSAGE_MAP(CFindReplaceDlg, CDialog)
ON_BN_CLICKED(kFindNextButtonId, &CFindReplaceDlg::OnFindNext)
ON_BN_CLICKED(kReplaceButtonId, &CFindReplaceDlg::OnReplace)
ON_BN_CLICKED(kReplaceAllButtonId, &CFindReplaceDlg::OnReplaceAll)
ON_CBN_SELCHANGE(kColumnListId, &CFindReplaceDlg::OnColumnChange)
ON_CBN_SELCHANGE(kFindWhatBoxId, &CFindReplaceDlg::OnFindWhatPicked)
ON_CBN_SELCHANGE(kReplaceWithBoxId, &CFindReplaceDlg::OnReplaceWithPicked)
END_MESSAGE_MAP()

namespace {

constexpr UINT kNoMoreMatchesText = 30007;
constexpr UINT kReplaceNeedsOneColumnText = 30012;
constexpr UINT kFindNeedsOneColumnText = 30013;
constexpr UINT kFindTitleText = 30004;
constexpr UINT kReplaceTitleText = 30005;

// The digits of a number key and the keys that type '.' and '-'.
constexpr WPARAM kPeriodKey = VK_OEM_PERIOD;
constexpr WPARAM kMinusKey = VK_OEM_MINUS;

void ShowItem(HWND dialog, UINT id, bool show) {
    if (HWND item = GetDlgItem(dialog, static_cast<int>(id))) ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

void EnableItem(HWND dialog, UINT id, bool enable) {
    if (HWND item = GetDlgItem(dialog, static_cast<int>(id))) EnableWindow(item, enable ? TRUE : FALSE);
}

LRESULT SendItem(HWND dialog, UINT id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageW(dialog, static_cast<int>(id), message, wParam, lParam);
}

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

// The Replace with box, its label and Replace All belong to Replace mode.
void ShowReplaceControls(HWND dialog, bool show) {
    ShowItem(dialog, kReplaceLabelId, show);
    ShowItem(dialog, kReplaceWithBoxId, show);
    ShowItem(dialog, kReplaceAllButtonId, show);
}

// A box shows its text first and the remembered texts in its list.
void FillBox(HWND dialog, UINT id, const CString& text, const CStringList& history, CString& last) {
    SetDlgItemTextW(dialog, static_cast<int>(id), text);
    for (POSITION pos = history.GetHeadPosition(); pos != nullptr;) {
        SendItem(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(history.GetNext(pos))));
    }
    last = history.IsEmpty() ? CString() : history.GetHead();
}

}  // namespace

// ============================================================================
// Set-up
// ============================================================================

CFindReplaceDlg::CFindReplaceDlg(CTableView* parent) : CDialog(kFindDialogTemplate, parent), view(parent) {}

CFindReplaceDlg::~CFindReplaceDlg() { ClearColumnChoices(); }

BOOL CFindReplaceDlg::Create(UINT templateId, CWnd* parent) { return CDialog::Create(templateId, parent); }

bool CFindReplaceDlg::AddColumnChoice(const CColumnProp& prop) {
    auto* copy = new (std::nothrow) CColumnProp;
    if (copy == nullptr) return false;
    try {
        *copy = prop;
        columnChoices.AddTail(copy);
    } catch (const std::bad_alloc&) {
        delete copy;
        return false;
    }
    return true;
}

void CFindReplaceDlg::ClearColumnChoices() {
    while (!columnChoices.IsEmpty()) delete columnChoices.RemoveHead();
}

void CFindReplaceDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, static_cast<int>(kMatchCaseCheckId), matchCase);
    DDX_Check(pDX, static_cast<int>(kEntireCellsCheckId), entireCells);
    DDX_CBIndex(pDX, static_cast<int>(kColumnListId), columnChoice);
    DDX_Text(pDX, static_cast<int>(kFindWhatBoxId), findText);
    DDX_Text(pDX, static_cast<int>(kReplaceWithBoxId), replaceText);
}

BOOL CFindReplaceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(LoadText(findOnly ? kFindTitleText : kReplaceTitleText));
    if (findOnly) ShowReplaceControls(m_hWnd, false);

    FillBox(m_hWnd, kFindWhatBoxId, findText, findHistory, lastFind);
    FillBox(m_hWnd, kReplaceWithBoxId, replaceText, replaceHistory, lastReplace);

    SendItem(m_hWnd, kColumnListId, CB_RESETCONTENT);
    for (POSITION pos = columnChoices.GetHeadPosition(); pos != nullptr;) {
        CColumnProp* entry = columnChoices.GetNext(pos);
        const auto at = SendItem(m_hWnd, kColumnListId, CB_ADDSTRING, 0,
                                 reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(entry->title)));
        if (at >= 0)
            SendItem(m_hWnd, kColumnListId, CB_SETITEMDATA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(entry));
    }
    if (!SelectColumnEntry(column)) {
        SendItem(m_hWnd, kColumnListId, CB_SETCURSEL, 0);
        columnChoice = static_cast<int>(SendItem(m_hWnd, kColumnListId, CB_GETCURSEL));
    }

    if (CColumnProp* entry = SelectedEntry()) {
        SetUpNumeric(*entry, false);
        EnableItem(m_hWnd, kMatchCaseCheckId, !entry->IsNumericColumn());
    }
    // A single cell searches its column from there to the end of the sheet.
    if (area.left == area.right && area.top == area.bottom) area.bottom = lineCount - 1;
    // The user starts in Find what, with its text selected, so that typing
    // replaces the cell's text the box was filled with.
    if (HWND box = ::GetDlgItem(m_hWnd, static_cast<int>(kFindWhatBoxId))) {
        ::SetFocus(box);
        SendItem(m_hWnd, kFindWhatBoxId, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    }
    return FALSE;
}

bool CFindReplaceDlg::SelectColumnEntry(int index) {
    const int count = static_cast<int>(SendItem(m_hWnd, kColumnListId, CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        auto* entry =
            reinterpret_cast<CColumnProp*>(SendItem(m_hWnd, kColumnListId, CB_GETITEMDATA, static_cast<WPARAM>(i)));
        if (entry != nullptr && entry->index == index) {
            SendItem(m_hWnd, kColumnListId, CB_SETCURSEL, static_cast<WPARAM>(i));
            columnChoice = i;
            return true;
        }
    }
    return false;
}

CColumnProp* CFindReplaceDlg::SelectedEntry() const {
    const auto at = SendItem(m_hWnd, kColumnListId, CB_GETCURSEL);
    if (at < 0) return nullptr;
    const auto data = SendItem(m_hWnd, kColumnListId, CB_GETITEMDATA, static_cast<WPARAM>(at));
    return data == CB_ERR ? nullptr : reinterpret_cast<CColumnProp*>(data);
}

// ============================================================================
// The buttons
// ============================================================================

void CFindReplaceDlg::OnFindNext() {
    if (!UpdateData(TRUE)) return;
    RememberText(findText, findHistory, lastFind, kFindWhatBoxId);
    CColumnProp* entry = SelectedEntry();
    if (entry == nullptr || entry->index < 0) {
        // Every column, from the area's top line to the end of the sheet.
        area.left = 0;
        area.right = columnCount - 1;
        area.bottom = lineCount - 1;
    } else {
        column = entry->index;
        if (!NarrowToOneColumn(kFindNeedsOneColumnText, column)) return;
    }
    const DWORD flags = (entireCells ? kFindEntireCells : 0) | (matchCase ? kFindMatchCase : 0);
    if (!Request(flags, false)) EndSearch();
}

void CFindReplaceDlg::OnReplace() {
    if (findOnly) {
        TurnIntoReplace();
        return;
    }
    int chosen = 0;
    DWORD flags = 0;
    if (!ReadyToReplace(kFindReplace, chosen, flags)) return;
    column = chosen;
    if (line <= area.bottom && Request(flags, true)) return;
    EndSearch();
}

void CFindReplaceDlg::OnReplaceAll() {
    int chosen = 0;
    DWORD flags = 0;
    if (!ReadyToReplace(kFindReplaceAll, chosen, flags)) return;
    column = area.left = area.right = chosen;
    Request(flags, true);
    // However many cells were replaced, the dialog has done its work.
    EndSearch();
}

bool CFindReplaceDlg::ReadyToReplace(DWORD request, int& chosen, DWORD& flags) {
    if (!UpdateData(TRUE)) return false;
    CColumnProp* entry = SelectedEntry();
    chosen = entry != nullptr ? entry->index : column;
    if (!NarrowToOneColumn(kReplaceNeedsOneColumnText, chosen)) return false;
    RememberText(findText, findHistory, lastFind, kFindWhatBoxId);
    RememberText(replaceText, replaceHistory, lastReplace, kReplaceWithBoxId);
    flags = request | (entireCells ? kFindEntireCells : 0) | (matchCase ? kFindMatchCase : 0);
    return true;
}

void CFindReplaceDlg::RememberText(const CString& text, CStringList& history, CString& last, UINT id) {
    if (text == last && !history.IsEmpty()) return;
    if (history.Find(text) != nullptr) return;
    history.AddHead(text);
    SendItem(m_hWnd, id, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text)));
    last = text;
}

bool CFindReplaceDlg::NarrowToOneColumn(UINT prompt, int narrowTo) {
    if (area.left == area.right) return true;
    if (VALMExMessageBox(prompt, MB_ICONINFORMATION | MB_YESNO, nullptr) == IDNO) {
        EndDialog(IDCANCEL);
        return false;
    }
    area.left = area.right = narrowTo;
    column = narrowTo;
    TellColumnChoice(narrowTo);
    return true;
}

void CFindReplaceDlg::TellColumnChoice(int index) {
    if (view == nullptr || view->m_hWnd == nullptr) return;
    NMHDR header{m_hWnd, static_cast<UINT_PTR>(static_cast<UINT>(index)), kFindColumnChosen};
    ::SendMessageW(view->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

bool CFindReplaceDlg::Request(DWORD flags, bool withReplaceText) {
    if (view == nullptr || view->m_hWnd == nullptr) return false;
    // A view without the sheet it was searching (the host removed it meanwhile)
    // has nothing more to find; so has an empty text, which matches nowhere and
    // would only move the cursor on cell by cell.
    const int sheet = view->GetSelSheet();
    if (sheet < 0 || sheet >= view->GetSheetCount() || findText.IsEmpty()) return false;
    FindReplaceNotify request{};
    request.hdr.hwndFrom = m_hWnd;
    request.hdr.idFrom = 0;
    request.hdr.code = kFindReplaceRequest;
    request.line = line;
    request.column = column;
    request.findText = findText;
    request.replaceText = withReplaceText ? static_cast<LPCWSTR>(replaceText) : nullptr;
    request.flags = flags;
    request.match = POINT{-1, -1};
    request.area = &area;
    ::SendMessageW(view->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    if (request.line < 0 || request.column < 0 || request.line > area.bottom || request.column > area.right) {
        return false;
    }
    line = request.line;
    column = request.column;
    return true;
}

void CFindReplaceDlg::EndSearch() {
    EndDialog(1);
    // The dialog is over once the message shows: it goes from the screen now
    // rather than when its modal loop next looks.
    ShowWindow(SW_HIDE);
    VALMExMessageBox(kNoMoreMatchesText, MB_ICONINFORMATION | MB_OK, nullptr);
}

void CFindReplaceDlg::TurnIntoReplace() {
    SetWindowText(LoadText(kReplaceTitleText));
    ShowReplaceControls(m_hWnd, true);
    // "All columns" has no place in Replace mode, which works on one column.
    const int count = static_cast<int>(SendItem(m_hWnd, kColumnListId, CB_GETCOUNT));
    for (int i = count - 1; i >= 0; --i) {
        auto* entry =
            reinterpret_cast<CColumnProp*>(SendItem(m_hWnd, kColumnListId, CB_GETITEMDATA, static_cast<WPARAM>(i)));
        if (entry == nullptr || entry->index != kAllColumnsIndex) continue;
        SendItem(m_hWnd, kColumnListId, CB_DELETESTRING, static_cast<WPARAM>(i));
        if (POSITION pos = columnChoices.Find(entry)) columnChoices.RemoveAt(pos);
        delete entry;
    }
    const auto top = SendItem(m_hWnd, kColumnListId, CB_GETTOPINDEX);
    SendItem(m_hWnd, kColumnListId, CB_SETCURSEL, static_cast<WPARAM>(top < 0 ? 0 : top));
    columnChoice = static_cast<int>(SendItem(m_hWnd, kColumnListId, CB_GETCURSEL));
    SelectColumnEntry(column);
    if (CColumnProp* entry = SelectedEntry()) SetUpNumeric(*entry, false);
    findOnly = 0;
}

// ============================================================================
// The Column list and the number wrappers
// ============================================================================

void CFindReplaceDlg::OnColumnChange() {
    columnChoice = static_cast<int>(SendItem(m_hWnd, kColumnListId, CB_GETCURSEL));
    CColumnProp* entry = SelectedEntry();
    if (entry == nullptr) return;
    if (entry->index < 0) {
        area.left = 0;
        area.right = columnCount - 1;
        DetachNumeric(findCombo, kFindWhatBoxId, entry->maxLength);
        DetachNumeric(replaceCombo, kReplaceWithBoxId, entry->maxLength);
        EnableItem(m_hWnd, kMatchCaseCheckId, true);
        return;
    }
    column = area.left = area.right = entry->index;
    EnableItem(m_hWnd, kMatchCaseCheckId, !entry->IsNumericColumn());
    SetUpNumeric(*entry, true);
}

void CFindReplaceDlg::SetUpNumeric(const CColumnProp& entry, bool tellView) {
    if (entry.IsNumericColumn()) {
        for (auto [wrapper, id] :
             {std::pair{&findCombo, kFindWhatBoxId}, std::pair{&replaceCombo, kReplaceWithBoxId}}) {
            if (wrapper->m_hWnd != nullptr) continue;
            if (!wrapper->SubclassDlgItem(id, this)) continue;
            wrapper->SetDecimals(entry.decimals);
            wrapper->SetDigits(entry.digits, FALSE);
        }
    } else {
        DetachNumeric(findCombo, kFindWhatBoxId, entry.maxLength);
        DetachNumeric(replaceCombo, kReplaceWithBoxId, entry.maxLength);
    }
    if (!tellView || view == nullptr) return;
    // The snapshot of the entry is taken before the view runs the host's code.
    const int index = entry.index;
    TellColumnChoice(index);
    column = index;
    CRect selection;
    CPoint cursor;
    view->GetSel(selection, cursor);
    selection.NormalizeRect();
    findText = view->GetCellText(view->GetSelSheet(), selection.top, index);
    SetDlgItemTextW(m_hWnd, static_cast<int>(kFindWhatBoxId), findText);
}

void CFindReplaceDlg::DetachNumeric(CNumCombo& wrapper, UINT id, int maxLength) {
    if (wrapper.m_hWnd == nullptr) return;
    wrapper.UnsubclassWindow();
    // The box passes the limit on as it is: -1, an unlimited column, is no limit.
    SendItem(m_hWnd, id, CB_LIMITTEXT, static_cast<WPARAM>(maxLength));
}

void CFindReplaceDlg::OnFindWhatPicked() { ReenterNumber(findCombo, kFindWhatBoxId); }
void CFindReplaceDlg::OnReplaceWithPicked() { ReenterNumber(replaceCombo, kReplaceWithBoxId); }

void CFindReplaceDlg::ReenterNumber(CNumCombo& wrapper, UINT id) {
    if (wrapper.m_hWnd == nullptr) return;
    const auto at = SendItem(m_hWnd, id, CB_GETCURSEL);
    CString picked;
    if (at >= 0) wrapper.GetLBText(static_cast<int>(at), picked);
    const bool negative = !picked.IsEmpty() && picked[0] == u'-';
    if (negative) picked = picked.Mid(1);
    const CString kept = tq3::view::NumberPrefix(picked);
    // The keys replace what the box shows (the list put the entry there as it
    // stands), so the entry is typed through the number rules from scratch.
    wrapper.SetEditSel(0, -1);
    if (kept.IsEmpty()) {
        wrapper.PostMessage(WM_KEYDOWN, '0', 1);
        return;
    }
    for (int i = 0; i < kept.GetLength(); ++i) {
        const WCHAR c = kept[i];
        const WPARAM key = c == u'.' ? kPeriodKey : c == u'-' ? kMinusKey : static_cast<WPARAM>(c);
        wrapper.PostMessage(WM_KEYDOWN, key, 1);
    }
    if (negative) wrapper.PostMessage(WM_KEYDOWN, kMinusKey, 1);
}
