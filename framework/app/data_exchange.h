// Dialog data exchange: CDataExchange and the DDX_ functions that move a value
// between a control and a member, in the direction UpdateData asks for.
//
// A value that is not valid (a number that does not read as one) tells the user
// in a message box, puts the focus on the control and fails the exchange; so
// does a control id the dialog does not have, with a line on the standard error
// stream, since that is a fault of the program and not of the user.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/wintypes.h"

class CWnd;

class TQ3FW_API CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;          // the dialog

    // The control `nIDC` of the dialog, made the one a failure puts the focus on;
    // fails the exchange when there is none.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange as failed, with the focus on the last control prepared.
    [[noreturn]] void Fail();

    HWND m_hWndLastControl = nullptr;
};

TQ3FW_API void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
TQ3FW_API void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
TQ3FW_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the combo box's selected entry (-1: none).
TQ3FW_API void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
// The combo box's text; on the way in, the first entry that begins with the
// text is selected, or an editable box shows the text as it is.
TQ3FW_API void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Binds `control` to the control `nIDC` (once), so that the object stands for it.
TQ3FW_API void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);

namespace tq3::fw {
// What Fail throws to the UpdateData that runs the exchange; nothing else sees it.
struct DataExchangeFailure {};
}  // namespace tq3::fw
