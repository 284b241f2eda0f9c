// Dialogs made from templates: the "#32770" window class and its default
// procedure, modeless and modal dialogs, the dialog keyboard (IsDialogMessageW)
// and the helpers that address a dialog's controls by id.
//
// A template is the readable table a resource library carries (TQ3DialogData:
// style, font, items with class, id, text and position in dialog units). The
// indirect forms take such a table from memory; the by-id forms find it through
// the resource search. Dialog units come from the dialog's font: a horizontal
// unit is a quarter of the average width of the 52 Latin letters, a vertical unit
// an eighth of the font's height.
#pragma once

#include "framework/core/export.h"
#include "framework/core/wintypes.h"
#include "framework/system/resource_table.h"
#include "framework/window/winuser.h"

using DLGTEMPLATEW = TQ3DialogData;
using DLGITEMTEMPLATEW = TQ3DialogItemData;
using LPCDLGTEMPLATEW = const DLGTEMPLATEW*;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// ---- Dialog styles ----------------------------------------------------------------
constexpr DWORD DS_ABSALIGN = 0x0001;
constexpr DWORD DS_SYSMODAL = 0x0002;
constexpr DWORD DS_LOCALEDIT = 0x0020;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_NOIDLEMSG = 0x0100;
constexpr DWORD DS_SETFOREGROUND = 0x0200;
constexpr DWORD DS_3DLOOK = 0x0004;
constexpr DWORD DS_FIXEDSYS = 0x0008;
constexpr DWORD DS_NOFAILCREATE = 0x0010;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;
constexpr DWORD DS_CENTERMOUSE = 0x1000;
constexpr DWORD DS_CONTEXTHELP = 0x2000;
constexpr DWORD DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// ---- Dialog messages ----------------------------------------------------------------
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr UINT DM_REPOSITION = WM_USER + 2;
constexpr WORD DC_HASDEFID = 0x534B;

// ---- The window's extra bytes --------------------------------------------------------
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = static_cast<int>(sizeof(LRESULT));
constexpr int DWLP_USER = DWLP_DLGPROC + static_cast<int>(sizeof(DLGPROC));
// What a window class derived from the dialog class must reserve.
constexpr int DLGWINDOWEXTRA = DWLP_USER + 2 * static_cast<int>(sizeof(LONG_PTR));

// ---- Creating and ending ---------------------------------------------------------------
// A modeless dialog: created, its controls made, WM_INITDIALOG sent with `param`,
// shown when the template has WS_VISIBLE. Null when the template is null, names
// a class that does not exist, a control cannot be made or memory runs out;
// nothing is left behind then.
TQ3FW_EXPORT_C HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                              DLGPROC proc, LPARAM param);
// The same, with the template found under `templateName` in `instance` (or, for a
// null instance, through the resource search).
TQ3FW_EXPORT_C HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                                      LPARAM param);
// A modal dialog: the owner's top-level window is disabled while it runs, the
// call returns the value given to EndDialog and the owner is enabled again. -1
// when the dialog cannot be made, the owner names no window, or the dialog was
// destroyed without EndDialog (its owner went, say).
TQ3FW_EXPORT_C INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                              DLGPROC proc, LPARAM param);
TQ3FW_EXPORT_C INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                                      LPARAM param);
// Ends a modal dialog with `result` once its loop regains control; the first
// call's result counts. A modeless dialog is only hidden. FALSE for a window
// that is not a dialog.
TQ3FW_EXPORT_C BOOL EndDialog(HWND dialog, INT_PTR result);

// The default procedure of the dialog class: calls the dialog procedure and does
// what it leaves (focus kept across activation, the default button, Escape and
// the close box as IDCANCEL, the dialog font).
TQ3FW_EXPORT_C LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Handles a key meant for `dialog` or one of its controls: Tab and Shift+Tab, the
// arrows within a group, Enter, Escape, mnemonics with or without Alt. TRUE when
// the message was the dialog's (it has then been handled or dispatched).
TQ3FW_EXPORT_C BOOL IsDialogMessageW(HWND dialog, MSG* msg);

// ---- Controls by id ---------------------------------------------------------------------
TQ3FW_EXPORT_C BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
TQ3FW_EXPORT_C UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int bufferMax);
TQ3FW_EXPORT_C BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The control's text read as a decimal number; *translated says whether it was one.
TQ3FW_EXPORT_C UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
TQ3FW_EXPORT_C BOOL CheckDlgButton(HWND dialog, int id, UINT check);
TQ3FW_EXPORT_C UINT IsDlgButtonChecked(HWND dialog, int id);
TQ3FW_EXPORT_C BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
TQ3FW_EXPORT_C LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Units and navigation ------------------------------------------------------------------
// Dialog units to pixels with the dialog's own font.
TQ3FW_EXPORT_C BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The base units of the system's dialog font: width in the low word, height in the high.
TQ3FW_EXPORT_C LONG GetDialogBaseUnits();
// The next (or previous) visible, enabled control with WS_TABSTOP after `control`,
// wrapping around; null when there is none.
TQ3FW_EXPORT_C HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) visible, enabled control of the group `control` is in,
// wrapping within the group (a group runs from a WS_GROUP control to the next).
TQ3FW_EXPORT_C HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

namespace tq3::fw {

// The modal loops of dialogs and message boxes offer each message to this filter
// before the dialog keyboard sees it (the application layer's PreTranslateMessage
// walk); TRUE eats the message. Null: no filter.
using ModalMessageFilter = BOOL (*)(MSG* msg);
TQ3FW_API void SetModalMessageFilter(ModalMessageFilter filter);

// The base units (average letter width, height) of `font` measured as a dialog
// measures them; {0, 0} when the font cannot be measured.
TQ3FW_API SIZE DialogBaseUnitsOf(HFONT font);

}  // namespace tq3::fw
