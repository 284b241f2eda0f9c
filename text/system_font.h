/// \file
/// The user's system font, as the library uses it for its default cell font.
#pragma once

#include "framework/core/wintypes.h"

/// Fills `font` with the desktop's caption font at normal weight (400), whatever
/// weight the caption itself uses, and returns the height of the menu bar in pixels.
/// A null `font` or unreadable metrics give 0 (the font, when given, is then cleared).
TQ3VIEW_EXPORT_C int GetSystemLogFont(LOGFONTW* font);
