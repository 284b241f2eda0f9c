// The view library's entry point. At load the library joins the framework's
// resource search as an extension module, so that its built-in resources are
// found; at unload it leaves it again.
#include <dlfcn.h>

#include "framework/system/module.h"
#include "framework/system/resources.h"
#include "resources/builtin_resources.h"
#include "settings/language.h"

namespace tq3 {
namespace {

AFX_EXTENSION_MODULE extensionModule;

HMODULE FindOwnModule() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&FindOwnModule), &info) == 0) return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}

HMODULE& OwnModuleRef() {
    static HMODULE own = nullptr;
    return own;
}

__attribute__((constructor)) void AttachLibrary() {
    HMODULE own = FindOwnModule();
    OwnModuleRef() = own;
    ViewResourceHandle() = own;
    tq3::fw::RegisterResourceTable(own, &BuiltinResourceTable());
    // Without a module the library cannot join the search; its functions still
    // work, its resources are simply not found.
    if (!AfxInitExtensionModule(extensionModule, own)) return;
    new CDynLinkLibrary(extensionModule);
}

__attribute__((destructor)) void DetachLibrary() {
    AfxTermExtensionModule(extensionModule);
    tq3::fw::RegisterResourceTable(OwnModuleRef(), nullptr);
}

}  // namespace

HMODULE OwnModule() {
    if (OwnModuleRef() == nullptr) OwnModuleRef() = FindOwnModule();
    return OwnModuleRef();
}

HMODULE& ViewResourceHandle() {
    static HMODULE handle = nullptr;
    return handle;
}

}  // namespace tq3
