// CDialog: binding the object to its dialog window, the modal and modeless runs,
// OnInitDialog, OnOK/OnCancel and UpdateData.
//
// Call flow: DoModal -> FindTemplate -> DialogBoxIndirectParamW (with DialogProc
// and the object pending) -> DialogProc at the window's first message ->
// SubclassWindow (the object now sees every message through its map; what the
// map leaves goes on to the dialog class) -> WM_INITDIALOG -> OnInitDialog ->
// UpdateData(FALSE) -> DoDataExchange. IDOK -> OnOK -> UpdateData(TRUE) ->
// EndDialog.
#include "framework/app/dialog.h"

#include "framework/app/message_map.h"
#include "framework/app/win_app.h"
#include "framework/system/resources.h"

namespace {

// The object whose dialog is being made, waiting for its window's first message.
CDialog* pendingDialog = nullptr;

// The procedure of every CDialog's window. The first message binds the object;
// after that, messages reach the object first and come here only when its map
// left them to the dialog class, so this answers only WM_INITDIALOG (which the
// class hands to its dialog procedure).
INT_PTR DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd == nullptr && pendingDialog != nullptr) {
        CDialog* dialog = pendingDialog;
        pendingDialog = nullptr;
        if (!dialog->SubclassWindow(hwnd)) return FALSE;
        return FALSE;  // the message itself has already gone on to the dialog class
    }
    if (message != WM_INITDIALOG) return FALSE;
    auto* dialog = DYNAMIC_DOWNCAST(CDialog, wnd);
    return dialog != nullptr ? dialog->OnInitDialog() : TRUE;
}

// Messages of a modal dialog go to the PreTranslateMessage of their window and
// its parents up to the dialog: the windows behind it are disabled and keep
// their accelerators to themselves.
BOOL FilterModalMessage(MSG* msg) { return CWnd::WalkPreTranslateTree(nullptr, msg); }

const bool kFilterInstalled = (tq3::fw::SetModalMessageFilter(&FilterModalMessage), true);

// Runs `make` with `dialog` pending, so that the window's first message binds it.
template <typename Make>
auto WithPending(CDialog* dialog, Make make) {
    CDialog* saved = pendingDialog;
    pendingDialog = dialog;
    auto result = make();
    pendingDialog = saved;
    return result;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    // A modeless dialog that outlives its object goes with it.
    if (m_hWnd != nullptr) DestroyWindow();
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

LPCDLGTEMPLATEW CDialog::FindTemplate() const {
    if (m_lpDialogTemplate != nullptr) return m_lpDialogTemplate;
    return tq3::fw::FindDialogResource(m_nIDTemplate);
}

HWND CDialog::ParentHandle() const {
    if (m_pParentWnd != nullptr) return m_pParentWnd->GetSafeHwnd();
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}

INT_PTR CDialog::DoModal() {
    LPCDLGTEMPLATEW dialogTemplate = FindTemplate();
    if (dialogTemplate == nullptr || m_hWnd != nullptr) return -1;
    m_bModal = true;
    INT_PTR result = WithPending(this, [&] {
        return ::DialogBoxIndirectParamW(AfxGetResourceHandle(), dialogTemplate, ParentHandle(), DialogProc, 0);
    });
    m_bModal = false;
    // The window is gone by now; the object stays with its values for the caller.
    if (m_hWnd != nullptr) Detach();
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    m_lpDialogTemplate = nullptr;
    LPCDLGTEMPLATEW dialogTemplate = FindTemplate();
    return dialogTemplate != nullptr && CreateIndirect(dialogTemplate, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd) {
    if (lpDialogTemplate == nullptr || m_hWnd != nullptr) return FALSE;
    if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
    HWND made = WithPending(this, [&] {
        return ::CreateDialogIndirectParamW(AfxGetResourceHandle(), lpDialogTemplate, ParentHandle(), DialogProc, 0);
    });
    return made != nullptr && made == m_hWnd;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult) {
    if (m_hWnd == nullptr) return;
    if (m_bModal) {
        ::EndDialog(m_hWnd, nResult);
    } else {
        ShowWindow(SW_HIDE);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    if (m_hWnd == nullptr) return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const tq3::fw::DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl != nullptr) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}
void CDialog::SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }
void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // A modeless dialog has no loop of its own: the host's loop brings its keys
    // here. A modal one gets them from its loop right after this.
    if (m_bModal || m_hWnd == nullptr) return FALSE;
    bool key = pMsg->message == WM_KEYDOWN || pMsg->message == WM_CHAR || pMsg->message == WM_SYSCHAR;
    return key && ::IsDialogMessageW(m_hWnd, pMsg);
}
