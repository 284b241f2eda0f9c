// CDialog: a dialog from a template with a message map. Modal (DoModal) or
// modeless (Create); the object is bound to its window from the window's first
// messages on, so OnInitDialog, the command handlers and DoDataExchange all run
// on it. IDOK and IDCANCEL end a modal dialog through OnOK (which takes the
// controls' values first) and OnCancel.
//
// While a dialog runs modally, each queued message is offered to the
// PreTranslateMessage of its window and its parents up to the dialog (not to the
// disabled windows behind it), then to the dialog keyboard.
#pragma once

#include "framework/app/data_exchange.h"
#include "framework/app/wnd.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/message_box.h"

class TQ3FW_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // A template from memory instead of the resource search.
    BOOL InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog; the value EndDialog was given (IDOK, IDCANCEL...), or -1
    // when it cannot be made.
    virtual INT_PTR DoModal();
    // A modeless dialog; FALSE when it cannot be made.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Fills the controls from the members (UpdateData(FALSE)); TRUE gives the
    // focus to the first tab stop.
    virtual BOOL OnInitDialog();
    // Takes the controls' values and ends with IDOK; stays when they are not valid.
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);

    // Exchanges values between the controls and the members: TRUE reads the
    // controls. FALSE when a value is not valid or a control is missing; the
    // members read so far keep what they got.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    UINT m_nIDHelp = 0;
    UINT m_nIDTemplate = 0;
    LPCDLGTEMPLATEW m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    // A dialog is made from its template, never from a window class; the
    // window-class Create stays reachable only through CWnd.
    using CWnd::Create;

    LPCDLGTEMPLATEW FindTemplate() const;
    HWND ParentHandle() const;
    bool m_bModal = false;
};
