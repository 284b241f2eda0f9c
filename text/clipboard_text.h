/// \file
/// The clipboard's Unicode text, for the library's copy and paste and for the host.
///
/// Both functions are exported under their plain names, taking the string through
/// a pointer: a reference is not part of the C calling convention, so an extern "C"
/// function with one would rely on one compiler's choice. C++ callers use the
/// overloads below, which take the string by reference as the library's interface
/// describes and forward to the exported functions.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/wintypes.h"

/// Opens the clipboard for `owner` and copies its CF_UNICODETEXT into *text (empty
/// when the clipboard holds no Unicode text). Returns 1 when that text is not
/// empty, otherwise 0. When the clipboard cannot be opened (another window holds
/// it open) or `text` is null, returns 0 and leaves *text unchanged; running out of
/// memory also leaves it unchanged.
TQ3VIEW_EXPORT_C int GetClipboardText(HWND owner, CString* text);

/// Opens and empties the clipboard for `owner` and puts *text on it as
/// CF_UNICODETEXT, in a zero-filled block of the text's size plus 20 bytes.
/// Returns 1 when the clipboard took the block, otherwise 0 (the clipboard is held
/// open by another window, could not be emptied, memory ran out, or `text` is null).
TQ3VIEW_EXPORT_C int SetClipboardText(HWND owner, const CString* text);

#ifdef __cplusplus
/// GetClipboardText(HWND, CString*) with the string by reference.
inline int GetClipboardText(HWND owner, CString& text) { return GetClipboardText(owner, &text); }
/// SetClipboardText(HWND, const CString*) with the string by reference.
inline int SetClipboardText(HWND owner, const CString& text) { return SetClipboardText(owner, &text); }
#endif
