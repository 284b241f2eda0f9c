// Opening the interactive backend's module (see interactive.h).
//
// The module is looked for first beside the framework's own shared object, so
// that a build tree and an installed tree each find their own, then by name
// through the dynamic linker's search. Once opened it stays loaded: the backend
// it makes outlives any one call, and the display libraries it brings are not
// made to be unloaded.
#include "framework/window/interactive.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tq3::fw {
namespace {

constexpr const char* kModule = "libtq3sdl.so.0";
// The module's one entry: installs the backend, true on success.
constexpr const char* kEntry = "tq3_sdl_install";
using InstallEntry = bool (*)(int virtualDesktop, int width, int height, const char16_t* title);

void* OpenModule(std::string* why) {
    Dl_info self{};
    if (dladdr(reinterpret_cast<void*>(&InstallInteractiveBackend), &self) != 0 && self.dli_fname != nullptr) {
        std::string path(self.dli_fname);
        const size_t slash = path.rfind('/');
        if (slash != std::string::npos) {
            path.resize(slash + 1);
            path += kModule;
            if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return module;
        }
    }
    void* module = dlopen(kModule, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* error = dlerror();
        *why = error != nullptr ? error : kModule;
    }
    return module;
}

}  // namespace

bool InstallInteractiveBackend(bool virtualDesktop, int width, int height, LPCWSTR title) {
    static void* module = nullptr;
    std::string why;
    if (module == nullptr) module = OpenModule(&why);
    if (module == nullptr) {
        std::fprintf(stderr, "interactive desktop: the display module cannot be loaded: %s\n", why.c_str());
        return false;
    }
    auto install = reinterpret_cast<InstallEntry>(dlsym(module, kEntry));
    if (install == nullptr) {
        std::fprintf(stderr, "interactive desktop: %s has no entry %s\n", kModule, kEntry);
        return false;
    }
    return install(virtualDesktop ? 1 : 0, width, height, title);
}

bool VirtualDesktopAsked() {
    const char* asked = std::getenv("TQ3_VIRTUAL_DESKTOP");
    return asked != nullptr && std::strcmp(asked, "1") == 0;
}

}  // namespace tq3::fw
