// The DDX_ functions: each prepares its control, then reads it into the member
// or writes the member into it.
#include "framework/app/data_exchange.h"

#include <cstdio>
#include <string>

#include "framework/app/wnd.h"
#include "framework/controls/button.h"
#include "framework/controls/combo_box.h"
#include "framework/dialogs/dialog.h"
#include "framework/dialogs/message_box.h"

namespace {

// The low two style bits say which kind of combo box it is (simple, drop-down
// with an edit box, drop-down list).
constexpr DWORD kComboKindMask = 0x0003;

CString TextOf(HWND control) {
    int length = ::GetWindowTextLengthW(control);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), length + 1)));
    return CString(text.c_str());
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND control = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (control == nullptr) {
        std::fprintf(stderr, "tq3view: the dialog has no control %d to exchange data with\n", nIDC);
        Fail();
    }
    m_hWndLastControl = control;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr && m_pDlgWnd != nullptr) {
        ::SendMessageW(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndLastControl), TRUE);
    }
    throw tq3::fw::DataExchangeFailure{};
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = TextOf(control);
    } else {
        ::SetWindowTextW(control, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    pDX->PrepareEditCtrl(nIDC);
    HWND dialog = pDX->m_pDlgWnd->m_hWnd;
    if (!pDX->m_bSaveAndValidate) {
        ::SetDlgItemInt(dialog, nIDC, static_cast<UINT>(value), TRUE);
        return;
    }
    BOOL translated = FALSE;
    auto read = static_cast<int>(::GetDlgItemInt(dialog, nIDC, &translated, TRUE));
    if (!translated) {
        ::MessageBoxW(dialog, u"Enter a whole number.", nullptr, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = read;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = TextOf(control);
        return;
    }
    auto style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    LRESULT found = ::SendMessageW(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(value)));
    if (found < 0 && (style & kComboKindMask) != CBS_DROPDOWNLIST) ::SetWindowTextW(control, value);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    if (control.m_hWnd != nullptr) return;
    HWND item = pDX->PrepareCtrl(nIDC);
    if (!control.SubclassWindow(item)) pDX->Fail();
}
