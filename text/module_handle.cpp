#include "text/module_handle.h"

#include <dlfcn.h>

namespace {

// Any address inside this shared object leads dladdr to the object's load base.
HINSTANCE FindOwnModule() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&GetDLLModuleHandle), &info) == 0) return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

// Recorded once, when the library is loaded.
const HINSTANCE ownModule = FindOwnModule();

}  // namespace

HINSTANCE GetDLLModuleHandle() { return ownModule; }
