// The interactive backend (real windows on the system's display) lives in a
// module of its own, libtq3sdl.so, which brings the display libraries with it. A
// host opens it here when it wants a real window; a host that stays headless (a
// test, a tool that renders screenshots) never loads it, and starts faster.
//
//   if (!tq3::fw::InstallInteractiveBackend(tq3::fw::VirtualDesktopAsked(), 1280, 800, u"My program"))
//       tq3::fw::HeadlessBackend::Install(1280, 800);
#pragma once

#include "framework/core/export.h"
#include "framework/core/wintypes.h"

namespace tq3::fw {

// Installs the interactive backend as the current backend (destroying all
// windows, as InstallBackend does). With `virtualDesktop` the whole desktop is
// one system window of `width` x `height` titled `title` (null for none);
// otherwise every top-level window is a system window of its own and the
// desktop is the display's. False, with the reason on standard error, when the
// module is missing or no display can be opened; the current backend is then
// left as it was.
TQ3FW_API bool InstallInteractiveBackend(bool virtualDesktop, int width, int height, LPCWSTR title);

// Whether the user asked for the virtual desktop: TQ3_VIRTUAL_DESKTOP=1 in the
// environment (for window managers that get in the way).
TQ3FW_API bool VirtualDesktopAsked();

}  // namespace tq3::fw
