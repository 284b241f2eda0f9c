// The outline of a drag over the whole X screen (see x11_drag_frame.cpp).
#pragma once

#include <memory>

struct SDL_Window;

namespace tq3::fw::sdl {

// Four thin windows of its own that stand for the sides of a rectangle dragged
// across the screen, above every other window, ours and other programs'.
class DragFrame {
public:
    DragFrame();
    ~DragFrame();
    DragFrame(const DragFrame&) = delete;
    DragFrame& operator=(const DragFrame&) = delete;

    // Shows the outline of the rectangle from (left, top) to (right, bottom)
    // (screen coordinates) with sides `thickness` pixels wide, or moves it there.
    // `any` is a system window of ours, through which the display is reached.
    // False when the display is not X or the windows cannot be made.
    bool Show(SDL_Window* any, int left, int top, int right, int bottom, int thickness);
    // Takes the outline off the screen; its windows stay for the next drag.
    void Hide();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace tq3::fw::sdl
