/// \file
/// The library's own module handle: the HINSTANCE of libtq3view.so.
///
/// A module handle here is the address at which the shared object is mapped (its
/// load base), as a module handle is on the platform. It names the file through
/// dladdr, and the resource and language code reaches the object's own tables from it.
#pragma once

#include "framework/core/wintypes.h"

/// The handle recorded for this library when it was loaded. Never null while the
/// library is mapped.
TQ3VIEW_EXPORT_C HINSTANCE GetDLLModuleHandle();
