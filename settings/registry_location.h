/// \file
/// Where the view keeps what outlives a run: the machine-wide product key (below
/// HKEY_LOCAL_MACHINE) and the per-user settings base key
/// `Software\<application key>\` (below HKEY_CURRENT_USER), with small helpers to test the base key and
/// read and write one integer in it. The view never creates a key: the host's
/// profile store or the product's installation does.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/export.h"
#include "framework/core/wintypes.h"

/// The machine-wide product key below HKEY_LOCAL_MACHINE, which holds the
/// installed languages and the registry language:
/// `SOFTWARE\Almadon Control\ORVIN QT5\TQ3`, without a trailing backslash.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
TQ3VIEW_EXPORT_C CString MakeRegistryKeyName();
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

/// Builds `Software\<application key>\` into `path` and tells whether that key
/// exists below HKEY_CURRENT_USER (non-zero) or not (0). Without an application
/// object, or one without a registry key, the result is 0 (and `path` is empty
/// without an application object).
TQ3VIEW_EXPORT_C int CanOpenRegistory(CString& path);
/// Writes `value` as a REG_DWORD in the base key, or in its existing subkey
/// `section`; TRUE only when stored. Never creates a key.
TQ3VIEW_EXPORT_C int VALMExWriteProfileInt(LPCWSTR section, LPCWSTR name, int value);
/// Reads what the writer writes: the value's 4 bytes as an int, or `nDefault`
/// when the key or value is missing or holds more than 4 bytes.
TQ3VIEW_EXPORT_C int VALMExReadProfileInt(LPCWSTR section, LPCWSTR name, int nDefault);

namespace tq3 {

/// Deletes `path` (below HKEY_CURRENT_USER) with everything below it, depth
/// first. -1 when `path` cannot be opened; otherwise the result of deleting
/// `path` itself (0 on success).
TQ3VIEW_API long DeleteRegKey(const CString& path);

}  // namespace tq3
