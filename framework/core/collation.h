// The collators behind CompareStringW, for code that compares through tables of
// its own and must agree with it: the same locale choice and the same set-up for
// the same flags.
#pragma once

#include <string>

#include "framework/core/export.h"
#include "framework/core/wintypes.h"

struct UCollator;

namespace tq3::fw {

// The ICU locale the user's default locale compares in: the process's locale,
// except that the POSIX one ("C"), which orders by code unit, gives way to the
// root order (the empty name).
TQ3FW_API std::string DefaultCollationLocale();

// A new collator for the ICU locale `icuLocale` set up as CompareStringW sets one
// up for `flags` (NORM_IGNORECASE, NORM_IGNORENONSPACE and NORM_IGNORESYMBOLS
// change it; kana type and width are folded outside the collator). The caller
// closes it with ucol_close. Null when ICU cannot open one.
TQ3FW_API UCollator* OpenCompareCollator(const char* icuLocale, DWORD flags);

}  // namespace tq3::fw
