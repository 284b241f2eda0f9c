// CFontDialog: the common font dialog as an object, its record and its answer
// kept as members for the caller to read after DoModal.
#pragma once

#include "framework/app/dialog.h"
#include "framework/dialogs/commdlg.h"

class CDC;

class TQ3FW_API CFontDialog : public CDialog {
    DECLARE_DYNAMIC(CFontDialog)

public:
    // Starts from `lplfInitial` when given (CF_INITTOLOGFONTSTRUCT is added).
    explicit CFontDialog(const LOGFONTW* lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                         CDC* pdcPrinter = nullptr, CWnd* pParentWnd = nullptr);

    // IDOK with the choice in m_lf and m_cf, IDCANCEL when the user cancelled
    // (nothing changed), -1 when the dialog could not run (CommDlgExtendedError).
    INT_PTR DoModal() override;

    void GetCurrentFont(LPLOGFONTW lplf) const;
    CString GetFaceName() const;
    CString GetStyleName() const;
    int GetSize() const;  // tenths of a point
    int GetWeight() const;
    BOOL IsBold() const;
    BOOL IsItalic() const;
    BOOL IsUnderline() const;
    BOOL IsStrikeOut() const;
    COLORREF GetColor() const;

    CHOOSEFONTW m_cf{};
    LOGFONTW m_lf{};

private:
    WCHAR m_szStyleName[64]{};
};
