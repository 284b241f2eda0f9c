// Showing and hiding a system window on X without waiting on the window manager
// (see x11_windows.cpp).
#pragma once

struct SDL_Window;

namespace tq3::fw::sdl {

// Maps `window` (raised) when a window manager runs on the display, and answers
// whether it did. The display layer's own show waits, blocking, until the server
// reports the window mapped; with a window manager the map is only a request
// that the manager grants when it gets round to it, and a manager that is busy,
// starting or gone leaves that wait hanging for ever. Here the request is sent
// and the program goes on: the display layer learns the window is shown from the
// map notice, like any other event. Without a window manager (or not on X) it
// answers false, and the caller shows the window the display layer's way, which
// also gives it the keyboard, as nothing else would.
bool MapWithoutWaiting(SDL_Window* window);

// Withdraws `window` from the screen whether or not the display layer has yet
// learnt that it was shown (after MapWithoutWaiting, it may not have: it would
// then take a hide for nothing to do). False when not on X.
bool WithdrawWithoutWaiting(SDL_Window* window);

}  // namespace tq3::fw::sdl
