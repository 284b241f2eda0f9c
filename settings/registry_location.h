// Where the view keeps what outlives a run: the machine-wide product key (below
// HKEY_LOCAL_MACHINE) and the per-user settings base key "Software\<application
// key>\" (below HKEY_CURRENT_USER), with small helpers to test the base key and
// read and write one integer in it. The view never creates a key: the host's
// profile store or the product's installation does.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/export.h"
#include "framework/core/wintypes.h"

// "SOFTWARE\Almadon Control\ORVIN QT5\TQ3", without a trailing backslash.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
TQ3VIEW_EXPORT_C CString MakeRegistryKeyName();
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
