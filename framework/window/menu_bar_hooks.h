// The window manager's side of menu bars. A top-level window whose id is a menu
// handle leaves a row for the bar under its caption; the menus, which sit above
// the window manager, tell it how to paint that row and how to run the bar when
// the user clicks it or reaches it from the keyboard (F10, Alt alone, Alt with a
// letter). Without hooks the row stays as the frame left it.
#pragma once

#include "framework/core/export.h"
#include "framework/core/wintypes.h"

namespace tq3::fw {

struct MenuBarHooks {
    // Paints the bar into a window DC; `bar` is the row in window coordinates.
    void (*paint)(HWND window, HDC windowDC, const RECT& bar) = nullptr;
    // Runs the bar: `screen` is the clicked point, or with `keyboard` ignored; a
    // non-zero `key` is the letter typed with Alt.
    void (*track)(HWND window, POINT screen, bool keyboard, WCHAR key) = nullptr;
};

TQ3FW_API void SetMenuBarHooks(const MenuBarHooks& hooks);

// The row of a window's menu bar in window coordinates; FALSE when it has none.
TQ3FW_API BOOL GetMenuBarRect(HWND window, RECT* bar);

}  // namespace tq3::fw
