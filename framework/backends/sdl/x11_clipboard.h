// Reading the desktop's clipboard on X with the protocol's incremental transfer
// (see x11_clipboard.cpp).
#pragma once

#include <string>

namespace tq3::fw::sdl {

// Reads the text of the CLIPBOARD selection (UTF-8) from the program that owns
// it, over a connection of its own to the X display named by DISPLAY, whether
// the owner sends it whole or, as programs do for large texts, in pieces (INCR).
// False when no program offers text, the owner does not answer in time, the
// text is larger than `limit` bytes, or there is no X display.
bool ReadClipboardOverX(std::string* utf8, size_t limit);

// The window that owns the CLIPBOARD selection; 0 when none does or there is no
// X display.
unsigned long ClipboardOwnerOverX();

}  // namespace tq3::fw::sdl
