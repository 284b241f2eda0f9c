// The pointer's buttons as the X server knows them (see x11_pointer.cpp).
#pragma once

struct SDL_Window;

namespace tq3::fw::sdl {

// The buttons held now (SDL_BUTTON masks of the left, middle and right
// buttons), asked of the server on the display of `window`; -1 when not on X.
int ButtonsHeldNow(SDL_Window* window);

// Sends `window` a release of SDL button `button` as if the server had, so that
// the display layer, which saw the press but not the release, learns it went
// up; the release reaches the program as the display layer's own event. False
// when not on X or the button has no X number.
bool SendButtonRelease(SDL_Window* window, int button);

}  // namespace tq3::fw::sdl
