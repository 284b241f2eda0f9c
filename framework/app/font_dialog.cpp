// CFontDialog over ChooseFontW.
#include "framework/app/font_dialog.h"

#include "framework/app/win_app.h"
#include "framework/gdi/gdi_classes.h"

IMPLEMENT_DYNAMIC(CFontDialog, CDialog)

CFontDialog::CFontDialog(const LOGFONTW* lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd) {
    m_pParentWnd = pParentWnd;
    m_cf.lStructSize = sizeof m_cf;
    m_cf.lpLogFont = &m_lf;
    m_cf.lpszStyle = m_szStyleName;
    m_cf.Flags = dwFlags;
    m_cf.nFontType = SCREEN_FONTTYPE;
    if (lplfInitial != nullptr) {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
    if (pdcPrinter != nullptr) {
        m_cf.hDC = pdcPrinter->m_hDC;
        m_cf.Flags |= CF_PRINTERFONTS;
    }
}

INT_PTR CFontDialog::DoModal() {
    CWnd* parent = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    m_cf.hwndOwner = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    if (ChooseFontW(&m_cf)) return IDOK;
    return CommDlgExtendedError() == 0 ? IDCANCEL : -1;
}

void CFontDialog::GetCurrentFont(LPLOGFONTW lplf) const {
    if (lplf != nullptr) *lplf = m_lf;
}
CString CFontDialog::GetFaceName() const { return CString(m_lf.lfFaceName); }
CString CFontDialog::GetStyleName() const { return CString(m_szStyleName); }
int CFontDialog::GetSize() const { return m_cf.iPointSize; }
int CFontDialog::GetWeight() const { return m_lf.lfWeight; }
BOOL CFontDialog::IsBold() const { return m_lf.lfWeight >= FW_SEMIBOLD; }
BOOL CFontDialog::IsItalic() const { return m_lf.lfItalic != 0; }
BOOL CFontDialog::IsUnderline() const { return m_lf.lfUnderline != 0; }
BOOL CFontDialog::IsStrikeOut() const { return m_lf.lfStrikeOut != 0; }
COLORREF CFontDialog::GetColor() const { return m_cf.rgbColors; }
