// The interactive backend's translation tables: SDL's keys, modifier state,
// wheel steps and pointer shapes in the platform's terms. Pure functions of their
// arguments, so they can be checked without a display.
#pragma once

#include <SDL.h>

#include <string>

#include "framework/core/wintypes.h"
#include "framework/window/backend.h"

namespace tq3::fw::sdl {

// A key as the window manager takes it: the platform's virtual-key code (0 when
// the key has none) and whether it belongs to the extended block (right-hand
// modifiers, the navigation block, keypad Enter and Divide).
struct KeyCode {
    int vk = 0;
    bool extended = false;
};

// The virtual key of a physical key. `scancode` says where the key is, `keycode`
// what the active layout prints on it: letters follow the layout (a French
// keyboard's A key is VK_A wherever it sits), everything else its position, as the
// platform assigns them. Keypad digits and its decimal point are VK_NUMPAD0..9 and
// VK_DECIMAL with Num Lock on and the navigation keys with it off; Shift held with
// Num Lock on gives the navigation keys too, as on the platform.
KeyCode KeyFromSdl(SDL_Scancode scancode, SDL_Keycode keycode, bool numLock, bool shift);

// The lock keys' toggle state in SDL's modifier word.
struct LockToggles {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};
LockToggles TogglesFromMods(Uint16 mods);

// What a key press delivers, given the character TranslateMessage will make from
// it on the US layout (`translated`, 0 for none) and the text SDL reported for the
// same press (`text`, absent when it sent none).
//
// Every typed character must reach the window exactly once. TranslateMessage turns
// a WM_KEYDOWN into WM_CHAR by the US layout, so text SDL reports for a key press
// is either that same character (then it is dropped here: the key brings it) or
// something the US table does not know — another layout's letter, an AltGr
// character, a compose or dead-key result. In that case the key goes in as
// VK_PROCESSKEY, which translates to nothing, exactly as the platform reports a
// key an input method consumed, and SDL's text follows as characters. A press
// with no text at all (a dead key waiting for its letter) that the US table would
// still type a printable character for also goes in as VK_PROCESSKEY, unless Ctrl
// or Alt is held: those combinations are shortcuts, and SDL never reports text
// for control characters (Ctrl+C arrives as the key alone and TranslateMessage
// makes the 0x03). Text that arrives with no key press (an input method's
// result) is all characters. While text input is off (the focused window has no
// input context) SDL reports no text at all and every key brings its own
// character through TranslateMessage.
struct KeyTextPlan {
    int vk = 0;             // the key to deliver (the key's own or VK_PROCESSKEY)
    std::u16string chars;   // characters to deliver after it, no key behind them
    bool textUsed = false;  // SDL's text event is accounted for (consumed)
};
KeyTextPlan PlanKeyText(int vk, WCHAR translated, bool ctrlOrAlt, const char* text, bool textInputOn = true);

// Wheel units (WHEEL_DELTA per notch, positive away from the user or to the
// right) for one SDL wheel event. `precise` is SDL's fractional step count, used
// when it is given (touchpads scroll in fractions of a notch); `steps` otherwise.
// A flipped direction (natural scrolling) is turned back.
int WheelDelta(Sint32 steps, float precise, bool flipped);

// The system cursor that stands for a framework cursor shape; false for shapes
// shown otherwise (None: hidden; Custom: an image).
bool SystemCursorFor(CursorShape shape, SDL_SystemCursor* cursor);

}  // namespace tq3::fw::sdl
