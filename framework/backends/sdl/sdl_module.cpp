// The entry through which the framework installs this backend after opening the
// module at run time (framework/window/interactive.cpp): a plain C name, so that
// the framework finds it with dlsym.
#include "framework/backends/sdl/sdl_backend.h"

extern "C" TQ3_VISIBLE bool tq3_sdl_install(int virtualDesktop, int width, int height, const char16_t* title) {
    using tq3::fw::SdlBackend;
    return (virtualDesktop != 0 ? SdlBackend::Install(width, height, title) : SdlBackend::InstallWindows()) != nullptr;
}
