// What the interactive backend does about X errors that a running program
// cannot avoid (see x11_errors.cpp).
#pragma once

namespace tq3::fw::sdl {

// From now on an X request that names a window which no longer exists is
// dropped instead of ending the program; every other X error goes on to the
// handler that was in place. Once per process, before the display layer opens
// the display: it chains to the handler it finds and puts that one back when it
// closes the display, which is when the last errors (of wake-up messages sent to
// windows already gone) arrive. Errors of other drivers never reach it.
void TolerateGoneWindows();

}  // namespace tq3::fw::sdl
