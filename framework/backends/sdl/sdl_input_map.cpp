// The interactive backend's translation tables (see sdl_input_map.h).
//
// Sections: keys by position; keys by layout; lock toggles; key text; the wheel;
// cursors.
#include "framework/backends/sdl/sdl_input_map.h"

#include <cmath>

#include "framework/core/utf.h"
#include "framework/window/messages.h"
#include "framework/window/virtual_keys.h"

namespace tq3::fw::sdl {

namespace {

// ============================================================================
// Keys by position
// ============================================================================

struct PositionEntry {
    SDL_Scancode scancode;
    int vk;
    bool extended;
};

// Keys whose virtual key depends only on where they sit. Letters, digits, the
// keypad's digit keys and the function keys are ranges, handled before this table.
constexpr PositionEntry kByPosition[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN, false},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, false},
    {SDL_SCANCODE_TAB, VK_TAB, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, false},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, false},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, false},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, false},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5, false},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, false},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, false},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, false},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, false},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, false},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, true},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, false},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, false},
    {SDL_SCANCODE_INSERT, VK_INSERT, true},
    {SDL_SCANCODE_HOME, VK_HOME, true},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, true},
    {SDL_SCANCODE_DELETE, VK_DELETE, true},
    {SDL_SCANCODE_END, VK_END, true},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, true},
    {SDL_SCANCODE_DOWN, VK_DOWN, true},
    {SDL_SCANCODE_UP, VK_UP, true},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, true},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, true},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, false},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, true},
    {SDL_SCANCODE_KP_COMMA, VK_SEPARATOR, false},
    {SDL_SCANCODE_APPLICATION, VK_APPS, true},
    {SDL_SCANCODE_MENU, VK_APPS, true},
    {SDL_SCANCODE_HELP, VK_HELP, false},
    {SDL_SCANCODE_SELECT, VK_SELECT, false},
    {SDL_SCANCODE_EXECUTE, VK_EXECUTE, false},
    {SDL_SCANCODE_CLEAR, VK_CLEAR, false},
    {SDL_SCANCODE_SLEEP, VK_SLEEP, false},
    {SDL_SCANCODE_LCTRL, VK_LCONTROL, false},
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT, false},
    {SDL_SCANCODE_LALT, VK_LMENU, false},
    {SDL_SCANCODE_LGUI, VK_LWIN, true},
    {SDL_SCANCODE_RCTRL, VK_RCONTROL, true},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT, false},
    {SDL_SCANCODE_RALT, VK_RMENU, true},
    {SDL_SCANCODE_RGUI, VK_RWIN, true},
    {SDL_SCANCODE_LANG1, VK_HANGUL, false},
    {SDL_SCANCODE_LANG2, VK_HANJA, false},
    {SDL_SCANCODE_MUTE, VK_VOLUME_MUTE, true},
    {SDL_SCANCODE_VOLUMEDOWN, VK_VOLUME_DOWN, true},
    {SDL_SCANCODE_VOLUMEUP, VK_VOLUME_UP, true},
    {SDL_SCANCODE_AUDIONEXT, VK_MEDIA_NEXT_TRACK, true},
    {SDL_SCANCODE_AUDIOPREV, VK_MEDIA_PREV_TRACK, true},
    {SDL_SCANCODE_AUDIOSTOP, VK_MEDIA_STOP, true},
    {SDL_SCANCODE_AUDIOPLAY, VK_MEDIA_PLAY_PAUSE, true},
    {SDL_SCANCODE_AC_BACK, VK_BROWSER_BACK, true},
    {SDL_SCANCODE_AC_FORWARD, VK_BROWSER_FORWARD, true},
    {SDL_SCANCODE_AC_REFRESH, VK_BROWSER_REFRESH, true},
    {SDL_SCANCODE_AC_STOP, VK_BROWSER_STOP, true},
    {SDL_SCANCODE_AC_SEARCH, VK_BROWSER_SEARCH, true},
    {SDL_SCANCODE_AC_BOOKMARKS, VK_BROWSER_FAVORITES, true},
    {SDL_SCANCODE_AC_HOME, VK_BROWSER_HOME, true},
};

// The keypad keys that type a digit or the decimal point with Num Lock on, and
// the navigation key each is with it off.
struct KeypadEntry {
    SDL_Scancode scancode;
    int withNumLock;
    int withoutNumLock;
};

constexpr KeypadEntry kKeypad[] = {
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, VK_INSERT}, {SDL_SCANCODE_KP_1, VK_NUMPAD1, VK_END},
    {SDL_SCANCODE_KP_2, VK_NUMPAD2, VK_DOWN},   {SDL_SCANCODE_KP_3, VK_NUMPAD3, VK_NEXT},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4, VK_LEFT},   {SDL_SCANCODE_KP_5, VK_NUMPAD5, VK_CLEAR},
    {SDL_SCANCODE_KP_6, VK_NUMPAD6, VK_RIGHT},  {SDL_SCANCODE_KP_7, VK_NUMPAD7, VK_HOME},
    {SDL_SCANCODE_KP_8, VK_NUMPAD8, VK_UP},     {SDL_SCANCODE_KP_9, VK_NUMPAD9, VK_PRIOR},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, VK_DELETE},
};

KeyCode ByPosition(SDL_Scancode sc, bool numLock, bool shift) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return {'A' + (sc - SDL_SCANCODE_A), false};
    // SDL numbers the digit row 1..9 then 0.
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return {'1' + (sc - SDL_SCANCODE_1), false};
    if (sc == SDL_SCANCODE_0) return {'0', false};
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return {VK_F1 + (sc - SDL_SCANCODE_F1), false};
    if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return {VK_F13 + (sc - SDL_SCANCODE_F13), false};
    for (const auto& k : kKeypad) {
        // The keypad's navigation keys are not in the extended block: that is how
        // a program tells them from the dedicated arrow and page keys.
        if (k.scancode == sc) return {numLock && !shift ? k.withNumLock : k.withoutNumLock, false};
    }
    for (const auto& e : kByPosition) {
        if (e.scancode == sc) return {e.vk, e.extended};
    }
    return {};
}

}  // namespace

// ============================================================================
// Keys by layout
// ============================================================================

KeyCode KeyFromSdl(SDL_Scancode scancode, SDL_Keycode keycode, bool numLock, bool shift) {
    KeyCode byPosition = ByPosition(scancode, numLock, shift);
    // A layout letter on a key that is a letter or punctuation by position takes
    // the letter's virtual key (the A of a French keyboard sits on the US Q).
    bool typingKey = (byPosition.vk >= 'A' && byPosition.vk <= 'Z') ||
                     (byPosition.vk >= VK_OEM_1 && byPosition.vk <= VK_OEM_3) ||
                     (byPosition.vk >= VK_OEM_4 && byPosition.vk <= VK_OEM_7) || byPosition.vk == VK_OEM_102;
    if (keycode >= SDLK_a && keycode <= SDLK_z && (typingKey || byPosition.vk == 0))
        return {static_cast<int>('A' + (keycode - SDLK_a)), false};
    return byPosition;
}

// ============================================================================
// Lock toggles
// ============================================================================

LockToggles TogglesFromMods(Uint16 mods) {
    LockToggles t;
    t.capsLock = (mods & KMOD_CAPS) != 0;
    t.numLock = (mods & KMOD_NUM) != 0;
    t.scrollLock = (mods & KMOD_SCROLL) != 0;
    return t;
}

// ============================================================================
// Key text
// ============================================================================

namespace {

bool Printable(WCHAR c) { return c >= 0x20 && c != 0x7F; }

}  // namespace

KeyTextPlan PlanKeyText(int vk, WCHAR translated, bool ctrlOrAlt, const char* text, bool textInputOn) {
    KeyTextPlan plan;
    plan.vk = vk;
    if (text == nullptr || text[0] == '\0') {
        if (vk != 0 && Printable(translated) && !ctrlOrAlt && textInputOn) plan.vk = VK_PROCESSKEY;
        return plan;
    }
    plan.textUsed = true;
    std::u16string typed = Utf8ToU16(text);
    if (typed.size() == 1 && typed[0] == translated) return plan;  // the key brings it
    if (vk != 0 && Printable(translated)) plan.vk = VK_PROCESSKEY;
    plan.chars = std::move(typed);
    return plan;
}

// ============================================================================
// The wheel
// ============================================================================

int WheelDelta(Sint32 steps, float precise, bool flipped) {
    double notches = (precise != 0.0f && std::isfinite(precise)) ? static_cast<double>(precise) : steps;
    if (flipped) notches = -notches;
    // A wheel event beyond a few hundred notches is noise; the message carries a
    // 16-bit delta.
    double delta = std::round(notches * WHEEL_DELTA);
    if (delta > 32767.0) delta = 32767.0;
    if (delta < -32768.0) delta = -32768.0;
    return static_cast<int>(delta);
}

// ============================================================================
// Cursors
// ============================================================================

bool SystemCursorFor(CursorShape shape, SDL_SystemCursor* cursor) {
    SDL_SystemCursor c;
    switch (shape) {
        case CursorShape::Arrow:
        case CursorShape::UpArrow:  // SDL has no up arrow; the arrow is the nearest
        case CursorShape::Help: c = SDL_SYSTEM_CURSOR_ARROW; break;
        case CursorShape::IBeam: c = SDL_SYSTEM_CURSOR_IBEAM; break;
        case CursorShape::Wait: c = SDL_SYSTEM_CURSOR_WAIT; break;
        case CursorShape::Cross: c = SDL_SYSTEM_CURSOR_CROSSHAIR; break;
        case CursorShape::SizeNWSE: c = SDL_SYSTEM_CURSOR_SIZENWSE; break;
        case CursorShape::SizeNESW: c = SDL_SYSTEM_CURSOR_SIZENESW; break;
        case CursorShape::SizeWE: c = SDL_SYSTEM_CURSOR_SIZEWE; break;
        case CursorShape::SizeNS: c = SDL_SYSTEM_CURSOR_SIZENS; break;
        case CursorShape::SizeAll: c = SDL_SYSTEM_CURSOR_SIZEALL; break;
        case CursorShape::No: c = SDL_SYSTEM_CURSOR_NO; break;
        case CursorShape::Hand: c = SDL_SYSTEM_CURSOR_HAND; break;
        case CursorShape::AppStarting: c = SDL_SYSTEM_CURSOR_WAITARROW; break;
        default: return false;
    }
    *cursor = c;
    return true;
}

}  // namespace tq3::fw::sdl
