// Locale-aware case mapping and comparison (ICU underneath).
//
// CharLowerW/CharUpperW map one UTF-16 code unit to one code unit (simple case
// mapping), so a converted copy keeps every position of the original: callers
// search a lower-cased copy and report positions in the original text.
#pragma once

#include "framework/core/wintypes.h"

// CompareStringW flags.
constexpr DWORD NORM_IGNORECASE = 0x00000001;
constexpr DWORD NORM_IGNORENONSPACE = 0x00000002;
constexpr DWORD NORM_IGNORESYMBOLS = 0x00000004;
constexpr DWORD NORM_IGNOREKANATYPE = 0x00010000;
constexpr DWORD NORM_IGNOREWIDTH = 0x00020000;
// CompareStringW results (0 is an error).
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// With a pointer whose high bits are zero, the argument is one character and the
// converted character is returned in the same form; otherwise the zero-terminated
// string is converted in place and returned.
TQ3FW_EXPORT_C LPWSTR CharLowerW(LPWSTR text);
TQ3FW_EXPORT_C LPWSTR CharUpperW(LPWSTR text);
// Converts `length` code units in place; returns the count converted.
TQ3FW_EXPORT_C DWORD CharLowerBuffW(LPWSTR text, DWORD length);
TQ3FW_EXPORT_C DWORD CharUpperBuffW(LPWSTR text, DWORD length);

// Compares two strings (lengths in code units, -1 for zero-terminated).
TQ3FW_EXPORT_C int CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int lengthA, LPCWSTR b, int lengthB);

// The user-interface language of the framework's own texts (the buttons of the
// message box, the common font dialog): English (0x0409), Japanese (0x0411),
// Simplified Chinese (0x0804), Traditional Chinese (0x0404) or Korean (0x0412).
// The user's default comes from the environment as the system's programs read
// it (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG: "ja_JP.UTF-8" is Japanese,
// "zh_TW" and "zh_HK" Traditional Chinese); any other language is English.
TQ3FW_EXPORT_C LANGID GetUserDefaultUILanguage();
// The calling thread's language: the one set with SetThreadUILanguage, else the
// user's default.
TQ3FW_EXPORT_C LANGID GetThreadUILanguage();
// Makes `language` the calling thread's (0: the user's default again) and
// returns it; 0, with nothing changed, for a language the framework has no
// texts in.
TQ3FW_EXPORT_C LANGID SetThreadUILanguage(LANGID language);

#include <string>
#include <string_view>

namespace tq3::fw {

// Appends to `key` the collation sort key of `text` made by the collator that
// CompareStringW uses for `locale` with `flags` (only NORM_IGNORECASE and
// NORM_IGNORENONSPACE count here). Two keys compared byte by byte order their
// texts as that collator does, so a long sorted list computes each key once and
// then only compares bytes. The kana-type and width tie-breaks of CompareStringW
// are not in the key. False, with `key` unchanged, for an unknown locale.
// Throws std::bad_alloc when the key cannot be stored.
bool AppendSortKey(LCID locale, DWORD flags, std::u16string_view text, std::string& key);

// The mark by which CompareStringW tells apart two strings its collator found
// equal, for one letter or digit `c`: with `kana`, 1 for hiragana and 2 for
// katakana; with `width`, 4 more for a wide form and 8 more for a narrow one.
// A search that compares through tables of its own uses it to agree with
// CompareStringW.
TQ3FW_API int KanaWidthMark(char32_t c, bool kana, bool width);

}  // namespace tq3::fw
