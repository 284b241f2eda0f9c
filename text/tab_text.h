/// \file
/// Tab-separated text: the format in which a line keeps its cells and in which
/// blocks of cells travel through the clipboard.
///
/// A record is fields separated by TAB and ended by CR LF; there is no quoting, so a
/// field can hold neither TAB nor CR nor LF. CR and LF only end the field they stand
/// in. Field indexes are 0-based. All strings are zero-terminated UTF-16 in buffers
/// that the caller owns.
#pragma once

#include "framework/core/wintypes.h"

/// Cuts a record into zero-terminated pieces in place (every TAB, CR and LF becomes
/// a zero) and returns the number of fields: the number of TABs plus 1. A null text
/// counts as one empty field.
TQ3VIEW_EXPORT_C int DivideString(WCHAR* text);

/// Copies field `first` alone, up to its TAB, CR or LF (when 0 <= last <= first),
/// or fields `first`..`last` (`last` < 0: to the end) joined by TAB and ended by
/// CR LF. Returns the number of
/// fields copied, or -1. A buffer as long as `line` plus 3 characters is enough.
TQ3VIEW_EXPORT_C int GetPartsOfTabSeparatedString(const WCHAR* line, WCHAR* out, int first, int last);

/// Replaces fields of `line` from field `at` on with the fields of `parts`, keeping
/// the line's field count, and ends the line with CR LF. Returns the number of fields
/// replaced, or -1 (the line is then unchanged). `line` must have room for its old
/// text, `parts`, CR LF and the zero.
TQ3VIEW_EXPORT_C int SetPartsOfTabSeparatedString(WCHAR* line, const WCHAR* parts, int at);

/// The text of a numeric entry after `insert` is typed over text[selStart..selEnd):
/// digits up to `maxDigits` (0 or less: 100) and a point. `text` is an entry buffer
/// of 102 characters; at most 101 characters of `text` and of `insert` are read and
/// at most 101 characters and a zero are written. The fourth argument is not read.
TQ3VIEW_EXPORT_C void InsertNumString(WCHAR* text, const WCHAR* insert, int maxDigits, int spare, int selStart,
                                      int selEnd);

/// Finds `pattern` in `text`; bit 0 of `flags` ignores case. Reports the first and
/// last position of the first match, or -1 and -1; a null `start` or `end` is
/// skipped.
TQ3VIEW_EXPORT_C void SearchPartialString(const WCHAR* text, const WCHAR* pattern, DWORD flags, int* start,
                                          int* end);
