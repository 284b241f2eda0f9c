// Resource libraries as loadable modules. A platform library name such as
// "TQ3VwJpn.dll" stands for the shared object libTQ3VwJpn.so, which is loaded by
// absolute path from the directory of the module that asks for it (its tq3view/
// subfolder first, then the directory itself), never through the current
// directory or the loader's search path, so a stray file in the working
// directory can never supply the user interface.
//
// A module handle is the base address at which the object is mapped, as for the
// library's own handle (GetDLLModuleHandle) and the program's (GetModuleHandleW
// with no name). LoadLibraryW counts references; FreeLibrary unloads the object
// when the last one is given back.
#pragma once

#include <string>

#include "framework/core/export.h"
#include "framework/core/wintypes.h"
#include "framework/system/resource_table.h"

// Null when the name carries a directory, names no file in the asking module's
// directory, is not a loadable object or memory runs out.
TQ3FW_EXPORT_C HMODULE LoadLibraryW(LPCWSTR fileName);
// FALSE for a handle that LoadLibraryW did not hand out (or was given back).
TQ3FW_EXPORT_C BOOL FreeLibrary(HMODULE module);
// A null name gives the program's own module. Otherwise a module that
// LoadLibraryW loaded and still holds, by its platform name; null if none.
TQ3FW_EXPORT_C HMODULE GetModuleHandleW(LPCWSTR moduleName);

namespace tq3::fw {

// "TQ3VwJpn.dll" -> "libTQ3VwJpn.so"; empty when the name has a directory part,
// is empty or is not a plain file name.
TQ3FW_API std::string SharedObjectNameFor(LPCWSTR fileName);

// The directory of the module mapped at `address` (any address inside it),
// without a trailing slash; empty when it cannot be told.
TQ3FW_API std::string ModuleDirectoryOf(const void* address);

// Loads `fileName` from the directory of the module that contains `asker`.
TQ3FW_API HMODULE LoadLibraryFrom(const void* asker, LPCWSTR fileName);

// The resource table that `module` exports, checked for the magic word and
// version; null for a module without one. Tables of modules that the process
// mapped by other means (the program, the view library) are found as well.
TQ3FW_API const TQ3ResourceTable* ResourceTableOf(HMODULE module);

// How many modules LoadLibraryW holds now (for tests of unloading).
TQ3FW_API int LoadedLibraryCount();
// How many loads have looked on disk for a module not already held (for tests
// that a module which is not there is not looked for again and again).
TQ3FW_API long LibrarySearchCount();

}  // namespace tq3::fw
