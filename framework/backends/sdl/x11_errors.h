// What the interactive backend does about X errors that a running program
// cannot avoid (see x11_errors.cpp).
#pragma once

namespace tq3::fw::sdl {

// From now on an X request that names a window which no longer exists is
// dropped instead of ending the program; every other X error goes on to the
// handler that was in place. Once per process; for the X11 driver only.
void TolerateGoneWindows();

}  // namespace tq3::fw::sdl
