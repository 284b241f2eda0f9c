// Watching windows go: the parts of the framework above the window manager that
// keep windows in their own state (the clipboard keeps its owner and the window
// that opened it) are told here when a window is destroyed and when the window
// manager is reset, so that none keeps a handle past its window, or data past a
// fresh desktop, and the window manager never has to know them.
#pragma once

#include "framework/core/wintypes.h"

namespace tq3::fw {

class TQ3FW_API WindowWatcher {
public:
    // `hwnd` has had its WM_NCDESTROY; its handle is still valid during the call.
    virtual void WindowDestroyed(HWND hwnd) = 0;
    // Every window is gone (ResetWindowManager, InstallBackend).
    virtual void WindowManagerReset() = 0;

protected:
    ~WindowWatcher() = default;
};

// Adds `watcher` (adding it twice adds it once); false when memory runs out.
// Watchers survive resets, as window classes do.
TQ3FW_API bool AddWindowWatcher(WindowWatcher* watcher);
TQ3FW_API void RemoveWindowWatcher(WindowWatcher* watcher);

}  // namespace tq3::fw
