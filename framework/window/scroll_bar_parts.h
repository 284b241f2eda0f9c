// The parts of a window's own scroll bar (WS_HSCROLL / WS_VSCROLL), for the code
// that draws them and for tests that click on them. Rectangles are in window
// coordinates: (0, 0) is the window's top-left corner, as in a window DC.
#pragma once

#include "framework/core/wintypes.h"

namespace tq3::fw {

enum class ScrollBarPart {
    None,
    ArrowStart,  // up or left arrow
    PageStart,   // track between the start arrow and the thumb
    Thumb,
    PageEnd,     // track between the thumb and the end arrow
    ArrowEnd,    // down or right arrow
};

struct ScrollBarParts {
    bool visible = false;        // the bar takes room in the non-client area
    bool arrowStartEnabled = false;
    bool arrowEndEnabled = false;
    RECT bar{};                  // the whole bar
    RECT arrowStart{};
    RECT arrowEnd{};
    RECT track{};                // between the arrows
    RECT thumb{};                // empty when the bar is disabled or too short for one
    ScrollBarPart pressed = ScrollBarPart::None;  // part held down by the mouse, for drawing it pushed
};

// The parts of bar SB_HORZ or SB_VERT of `hwnd`; false for a bad handle or bar.
TQ3FW_API bool GetWindowScrollBarParts(HWND hwnd, int bar, ScrollBarParts* parts);

// The size box in the corner where both bars meet (window coordinates); empty
// unless both are visible.
TQ3FW_API RECT GetWindowScrollBarCorner(HWND hwnd);

}  // namespace tq3::fw
