// The clipboard: one per process, opened by one window at a time and owned by the
// window that last emptied it, as on the platform. Data are global memory blocks
// (or GDI handles for CF_BITMAP and other handle formats) that the clipboard owns
// once SetClipboardData succeeds. The backend mirrors CF_UNICODETEXT to the system
// clipboard when it has one.
#pragma once

#ifdef __cplusplus
#include <string_view>
#endif

#include "framework/core/export.h"
#include "framework/core/wintypes.h"
#include "framework/system/global_memory.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_METAFILEPICT = 3;
constexpr UINT CF_SYLK = 4;
constexpr UINT CF_DIF = 5;
constexpr UINT CF_TIFF = 6;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_PALETTE = 9;
constexpr UINT CF_PENDATA = 10;
constexpr UINT CF_RIFF = 11;
constexpr UINT CF_WAVE = 12;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_ENHMETAFILE = 14;
constexpr UINT CF_HDROP = 15;
constexpr UINT CF_LOCALE = 16;
constexpr UINT CF_DIBV5 = 17;
constexpr UINT CF_OWNERDISPLAY = 0x0080;
constexpr UINT CF_DSPTEXT = 0x0081;
constexpr UINT CF_DSPBITMAP = 0x0082;
constexpr UINT CF_PRIVATEFIRST = 0x0200;
constexpr UINT CF_PRIVATELAST = 0x02FF;
constexpr UINT CF_GDIOBJFIRST = 0x0300;
constexpr UINT CF_GDIOBJLAST = 0x03FF;

// FALSE when another window holds the clipboard open (no waiting, no retry). The
// same window may open it again while it holds it.
TQ3FW_EXPORT_C BOOL OpenClipboard(HWND owner);
TQ3FW_EXPORT_C BOOL CloseClipboard();
// Frees every format's data; the window that opened the clipboard becomes its
// owner (the previous owner gets WM_DESTROYCLIPBOARD). FALSE unless open.
TQ3FW_EXPORT_C BOOL EmptyClipboard();
// The data of `format`, owned by the clipboard; null when absent or not open.
TQ3FW_EXPORT_C HANDLE GetClipboardData(UINT format);
// Hands `data` to the clipboard (which frees what it held for the format); null on
// failure, when the caller keeps `data`. FALSE unless the clipboard is open and
// was emptied by this opener.
TQ3FW_EXPORT_C HANDLE SetClipboardData(UINT format, HANDLE data);
TQ3FW_EXPORT_C BOOL IsClipboardFormatAvailable(UINT format);
TQ3FW_EXPORT_C int CountClipboardFormats();
TQ3FW_EXPORT_C UINT EnumClipboardFormats(UINT format);
TQ3FW_EXPORT_C HWND GetClipboardOwner();
TQ3FW_EXPORT_C HWND GetOpenClipboardWindow();
TQ3FW_EXPORT_C UINT RegisterClipboardFormatW(LPCWSTR name);

#ifdef __cplusplus
inline UINT RegisterClipboardFormat(LPCWSTR name) { return RegisterClipboardFormatW(name); }

namespace tq3::fw {

// The text of the CF_UNICODETEXT block `block`, locked at `units`: up to its
// terminating zero and never past the block's end, even when a careless writer
// left no terminator.
TQ3FW_API std::u16string_view UnicodeBlockText(HANDLE block, const WCHAR* units);

}  // namespace tq3::fw
#endif
