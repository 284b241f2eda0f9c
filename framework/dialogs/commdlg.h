// The common font dialog: ChooseFontW and its record, flags and errors.
#pragma once

#include "framework/core/export.h"
#include "framework/core/wintypes.h"

using LPCFHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct CHOOSEFONTW {
    DWORD lStructSize;
    HWND hwndOwner;
    HDC hDC;
    LOGFONTW* lpLogFont;
    INT iPointSize;  // tenths of a point
    DWORD Flags;
    COLORREF rgbColors;
    LPARAM lCustData;
    LPCFHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
    HINSTANCE hInstance;
    LPWSTR lpszStyle;
    WORD nFontType;
    WORD alignment;
    INT nSizeMin;
    INT nSizeMax;
};
using LPCHOOSEFONTW = CHOOSEFONTW*;
using CHOOSEFONT = CHOOSEFONTW;

constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_PRINTERFONTS = 0x00000002;
constexpr DWORD CF_BOTH = CF_SCREENFONTS | CF_PRINTERFONTS;
constexpr DWORD CF_SHOWHELP = 0x00000004;
constexpr DWORD CF_ENABLEHOOK = 0x00000008;
constexpr DWORD CF_ENABLETEMPLATE = 0x00000010;
constexpr DWORD CF_ENABLETEMPLATEHANDLE = 0x00000020;
constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr DWORD CF_USESTYLE = 0x00000080;
constexpr DWORD CF_EFFECTS = 0x00000100;
constexpr DWORD CF_APPLY = 0x00000200;
constexpr DWORD CF_ANSIONLY = 0x00000400;
constexpr DWORD CF_SCRIPTSONLY = CF_ANSIONLY;
constexpr DWORD CF_NOVECTORFONTS = 0x00000800;
constexpr DWORD CF_NOOEMFONTS = CF_NOVECTORFONTS;
constexpr DWORD CF_NOSIMULATIONS = 0x00001000;
constexpr DWORD CF_LIMITSIZE = 0x00002000;
constexpr DWORD CF_FIXEDPITCHONLY = 0x00004000;
constexpr DWORD CF_WYSIWYG = 0x00008000;
constexpr DWORD CF_FORCEFONTEXIST = 0x00010000;
constexpr DWORD CF_SCALABLEONLY = 0x00020000;
constexpr DWORD CF_TTONLY = 0x00040000;
constexpr DWORD CF_NOFACESEL = 0x00080000;
constexpr DWORD CF_NOSTYLESEL = 0x00100000;
constexpr DWORD CF_NOSIZESEL = 0x00200000;
constexpr DWORD CF_SELECTSCRIPT = 0x00400000;
constexpr DWORD CF_NOSCRIPTSEL = 0x00800000;
constexpr DWORD CF_NOVERTFONTS = 0x01000000;

// CHOOSEFONTW::nFontType.
constexpr WORD BOLD_FONTTYPE = 0x0100;
constexpr WORD ITALIC_FONTTYPE = 0x0200;
constexpr WORD REGULAR_FONTTYPE = 0x0400;
constexpr WORD SCREEN_FONTTYPE = 0x2000;
constexpr WORD PRINTER_FONTTYPE = 0x4000;
constexpr WORD SIMULATED_FONTTYPE = 0x8000;

// CommDlgExtendedError.
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD CDERR_FINDRESFAILURE = 0x0006;
constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
constexpr DWORD CFERR_NOFONTS = 0x2001;
constexpr DWORD CFERR_MAXLESSTHANMIN = 0x2002;

// Control ids of the font dialog's template, for hooks and templates of a host's own.
constexpr int stc1 = 0x0440;  // "Font:"
constexpr int stc2 = 0x0441;  // "Font style:"
constexpr int stc3 = 0x0442;  // "Size:"
constexpr int stc5 = 0x0444;  // the sample text
constexpr int stc7 = 0x0446;  // "Script:"
constexpr int grp2 = 0x0431;  // "Sample"
constexpr int cmb1 = 0x0470;  // the families
constexpr int cmb2 = 0x0471;  // the styles
constexpr int cmb3 = 0x0472;  // the sizes
constexpr int cmb5 = 0x0474;  // the scripts

// Lets the user choose a family, style, size and script. With OK, TRUE and the
// choice in *lpLogFont, iPointSize, nFontType and (when not null) lpszStyle;
// with Cancel, FALSE and nothing changed; FALSE with CommDlgExtendedError telling
// why when the dialog could not run (a bad record, no fonts, sizes limited to an
// empty range, a template not found).
TQ3FW_EXPORT_C BOOL ChooseFontW(LPCHOOSEFONTW choice);
// Why the last common dialog returned FALSE; 0 when the user cancelled.
TQ3FW_EXPORT_C DWORD CommDlgExtendedError();

inline BOOL ChooseFont(LPCHOOSEFONTW choice) { return ChooseFontW(choice); }
