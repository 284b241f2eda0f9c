// The non-client area in the classic look: window frames, captions with their
// buttons, client edges and scroll bars. The window manager works out where each
// part lies (from the same system metrics) and asks for it to be painted into a
// window DC, whose (0, 0) is the window's top-left corner. Nothing here knows windows.
#pragma once

#include "framework/core/wintypes.h"

namespace tq3::fw {

// Window styles the frame drawing reads, with the platform's values.
struct NonClientLook {
    SIZE window{0, 0};       // the window's size
    DWORD style = 0;         // WS_BORDER, WS_DLGFRAME, WS_THICKFRAME, WS_SYSMENU, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_MAXIMIZE
    DWORD exStyle = 0;       // WS_EX_CLIENTEDGE, WS_EX_STATICEDGE, WS_EX_DLGMODALFRAME, WS_EX_TOOLWINDOW
    bool active = false;     // the caption of the active window is drawn highlighted
    bool hasMenu = false;    // leave room for a menu bar under the caption (drawn by the menus)
    LPCWSTR caption = nullptr;  // the window text
    int captionLength = -1;     // -1: up to the terminating zero
    int pressedButton = 0;      // 0, or the hit-test code of a caption button held down (HTCLOSE 20, HTMINBUTTON 8, HTMAXBUTTON 9)
};

// Paints the frame, the caption and the client edge, as the styles ask.
TQ3FW_API void DrawNonClientFrame(HDC dc, const NonClientLook& look);
// Where the caption buttons lie (window coordinates); empty when absent.
TQ3FW_API RECT CaptionButtonRect(const NonClientLook& look, int hitCode);

// One scroll bar, in window coordinates, as the window manager laid it out.
struct ScrollBarLook {
    bool vertical = true;
    bool arrowStartEnabled = true;
    bool arrowEndEnabled = true;
    RECT arrowStart{};
    RECT arrowEnd{};
    RECT track{};  // between the arrows
    RECT thumb{};  // empty: no thumb (disabled, or no room)
    // 0 none, 1 start arrow, 2 track before the thumb, 3 thumb, 4 track after, 5 end arrow.
    int pressed = 0;
};
TQ3FW_API void DrawScrollBarLook(HDC dc, const ScrollBarLook& bar);
// The box where two scroll bars meet; a size grip when the window can be sized.
TQ3FW_API void DrawSizeBox(HDC dc, const RECT& box, bool grip);

}  // namespace tq3::fw
