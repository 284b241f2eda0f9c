// The interactive backend's translation tables, without a display: SDL keys to
// virtual keys, lock toggles, the key/text plan that keeps each typed character
// single, wheel steps, cursor shapes.
#include <gtest/gtest.h>

#include "framework/backends/sdl/sdl_input_map.h"
#include "framework/window/messages.h"
#include "framework/window/virtual_keys.h"

namespace tq3::test {
namespace {

using tq3::fw::CursorShape;
using tq3::fw::sdl::KeyFromSdl;
using tq3::fw::sdl::PlanKeyText;

TEST(SdlInputMap, KeysBecomeThePlatformsVirtualKeys) {
    struct Row {
        const char* what;
        SDL_Scancode scancode;
        SDL_Keycode keycode;
        bool numLock;
        bool shift;
        int vk;
        bool extended;
    };
    // The ends of each range, a few entries of each kind of table row, and the
    // layout's letters wherever they sit.
    const Row rows[] = {
        {"letter", SDL_SCANCODE_A, SDLK_a, false, false, 'A', false},
        {"last letter", SDL_SCANCODE_Z, SDLK_z, false, false, 'Z', false},
        {"layout letter on another key (French A on the US Q)", SDL_SCANCODE_Q, SDLK_a, false, false, 'A', false},
        {"layout letter on punctuation (French M)", SDL_SCANCODE_SEMICOLON, SDLK_m, false, false, 'M', false},
        {"layout punctuation on a letter key keeps the position", SDL_SCANCODE_M, SDLK_COMMA, false, false, 'M', false},
        {"digit 1", SDL_SCANCODE_1, SDLK_1, false, false, '1', false},
        {"digit 0 after 9 in SDL's order", SDL_SCANCODE_0, SDLK_0, false, false, '0', false},
        {"digit row of a French layout", SDL_SCANCODE_1, SDLK_AMPERSAND, false, false, '1', false},
        {"keypad 7, Num Lock on", SDL_SCANCODE_KP_7, SDLK_KP_7, true, false, VK_NUMPAD7, false},
        {"keypad point, Num Lock on", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, true, false, VK_DECIMAL, false},
        {"keypad 7, Num Lock off", SDL_SCANCODE_KP_7, SDLK_KP_7, false, false, VK_HOME, false},
        {"keypad point, Num Lock off", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, false, false, VK_DELETE, false},
        {"keypad 2 with Shift and Num Lock on", SDL_SCANCODE_KP_2, SDLK_KP_2, true, true, VK_DOWN, false},
        {"keypad Enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, true, false, VK_RETURN, true},
        {"keypad divide", SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, true, false, VK_DIVIDE, true},
        {"keypad plus", SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, true, false, VK_ADD, false},
        {"semicolon", SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, false, false, VK_OEM_1, false},
        {"grave", SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, false, false, VK_OEM_3, false},
        {"left bracket", SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, false, false, VK_OEM_4, false},
        {"apostrophe", SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, false, false, VK_OEM_7, false},
        {"102nd key", SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS, false, false, VK_OEM_102, false},
        {"German u-umlaut key keeps its position", SDL_SCANCODE_LEFTBRACKET, 0xFC, false, false, VK_OEM_4, false},
        {"F1", SDL_SCANCODE_F1, SDLK_F1, false, false, VK_F1, false},
        {"F12", SDL_SCANCODE_F12, SDLK_F12, false, false, VK_F12, false},
        {"F13", SDL_SCANCODE_F13, SDLK_F13, false, false, VK_F13, false},
        {"F24", SDL_SCANCODE_F24, SDLK_F24, false, false, VK_F24, false},
        {"Home", SDL_SCANCODE_HOME, SDLK_HOME, true, false, VK_HOME, true},
        {"Left", SDL_SCANCODE_LEFT, SDLK_LEFT, false, false, VK_LEFT, true},
        {"left Ctrl", SDL_SCANCODE_LCTRL, SDLK_LCTRL, false, false, VK_LCONTROL, false},
        {"right Ctrl", SDL_SCANCODE_RCTRL, SDLK_RCTRL, false, false, VK_RCONTROL, true},
        {"right Alt", SDL_SCANCODE_RALT, SDLK_RALT, false, false, VK_RMENU, true},
        {"context-menu key", SDL_SCANCODE_APPLICATION, SDLK_APPLICATION, false, false, VK_APPS, true},
        {"Num Lock", SDL_SCANCODE_NUMLOCKCLEAR, SDLK_NUMLOCKCLEAR, false, false, VK_NUMLOCK, true},
        {"unknown key", SDL_SCANCODE_UNKNOWN, 0, false, false, 0, false},
        {"unknown position typing a letter", SDL_SCANCODE_UNKNOWN, SDLK_e, false, false, 'E', false},
    };
    for (const Row& r : rows) {
        tq3::fw::sdl::KeyCode k = KeyFromSdl(r.scancode, r.keycode, r.numLock, r.shift);
        EXPECT_EQ(k.vk, r.vk) << r.what;
        EXPECT_EQ(k.extended, r.extended) << r.what;
    }
}

TEST(SdlInputMap, LockTogglesComeFromTheModifierWord) {
    // Caps, Num and Scroll Lock, as a three-letter mask "CNS"; other modifiers do not count.
    const std::pair<int, const char*> rows[] = {
        {KMOD_NONE, "..."}, {KMOD_CAPS, "C.."}, {KMOD_NUM, ".N."}, {KMOD_SCROLL, "..S"},
        {KMOD_NUM | KMOD_CAPS | KMOD_LSHIFT | KMOD_RCTRL, "CN."}, {KMOD_SHIFT | KMOD_CTRL | KMOD_ALT | KMOD_GUI, "..."},
    };
    for (const auto& [mods, expected] : rows) {
        const tq3::fw::sdl::LockToggles t = tq3::fw::sdl::TogglesFromMods(static_cast<Uint16>(mods));
        EXPECT_EQ((std::string{t.capsLock ? 'C' : '.', t.numLock ? 'N' : '.', t.scrollLock ? 'S' : '.'}), expected)
            << mods;
    }
}

TEST(SdlInputMap, EachTypedCharacterArrivesOnce) {
    struct Row {
        const char* what;
        int vk;
        WCHAR translated;  // what TranslateMessage makes of the key
        bool ctrlOrAlt;
        const char* text;  // SDL's text for the press; null: none
        int vkOut;
        std::u16string chars;
        bool textUsed;
    };
    const Row rows[] = {
        {"plain letter: the key brings it", 'A', u'a', false, "a", 'A', u"", true},
        {"shifted digit: the key brings it", '1', u'!', false, "!", '1', u"", true},
        {"Alt+letter: the system character comes from the key", 'A', u'a', true, "a", 'A', u"", true},
        {"Ctrl+letter: no text, TranslateMessage makes the control character", 'A', 0x01, true, nullptr, 'A', u"",
         false},
        {"Tab: control character, no text", VK_TAB, 0x09, false, nullptr, VK_TAB, u"", false},
        {"arrow key: nothing typed", VK_LEFT, 0, false, nullptr, VK_LEFT, u"", false},
        {"German u-umlaut on the US [ key", VK_OEM_4, u'[', false, "\xC3\xBC", VK_PROCESSKEY, u"\u00FC", true},
        {"AltGr character", 'Q', u'q', true, "@", VK_PROCESSKEY, u"@", true},
        {"dead key waiting for its letter", VK_OEM_3, u'`', false, nullptr, VK_PROCESSKEY, u"", false},
        {"dead key's result arrives with the next key", 'E', u'e', false, "\xC3\xA9", VK_PROCESSKEY, u"\u00E9",
         true},
        {"Ctrl with a printable key and no text stays a shortcut", VK_OEM_PLUS, u'=', true, nullptr, VK_OEM_PLUS, u"",
         false},
        {"several characters from one key", 'A', u'a', false, "ae", VK_PROCESSKEY, u"ae", true},
        {"a key without a virtual key typing text", 0, 0, false, "\xE2\x82\xAC", 0, u"\u20AC", true},
        {"a key with no translation typing text keeps its key", VK_F5, 0, false, "x", VK_F5, u"x", true},
        {"character beyond the BMP as its surrogates", 0, 0, false, "\xF0\x9F\x98\x80", 0, u"\U0001F600", true},
        {"empty text is no text", 'A', u'a', true, "", 'A', u"", false},
    };
    for (const Row& r : rows) {
        tq3::fw::sdl::KeyTextPlan p = PlanKeyText(r.vk, r.translated, r.ctrlOrAlt, r.text);
        EXPECT_EQ(p.vk, r.vkOut) << r.what;
        EXPECT_EQ(p.chars, r.chars) << r.what;
        EXPECT_EQ(p.textUsed, r.textUsed) << r.what;
    }
    // With text input off no text ever comes: a printable key types itself.
    EXPECT_EQ(PlanKeyText('5', u'5', false, nullptr, false).vk, '5');
    EXPECT_EQ(PlanKeyText(VK_OEM_3, u'`', false, nullptr, false).vk, VK_OEM_3);
}

TEST(SdlInputMap, WheelStepsBecomeWheelDeltas) {
    struct Row {
        Sint32 steps;
        float precise;
        bool flipped;
        int delta;
    };
    const Row rows[] = {
        {1, 0.0f, false, WHEEL_DELTA},       {-1, 0.0f, false, -WHEEL_DELTA},
        {3, 3.0f, false, 3 * WHEEL_DELTA},   {1, 1.0f, true, -WHEEL_DELTA},
        {0, 0.25f, false, 30},               {0, -0.5f, true, 60},
        {100000, 0.0f, false, 32767},        {-100000, 0.0f, false, -32768},
        {2, std::numeric_limits<float>::quiet_NaN(), false, 2 * WHEEL_DELTA},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(tq3::fw::sdl::WheelDelta(r.steps, r.precise, r.flipped), r.delta)
            << r.steps << " " << r.precise << " " << r.flipped;
    }
}

TEST(SdlInputMap, EveryStandardShapeHasASystemCursor) {
    for (int shape = static_cast<int>(CursorShape::Arrow); shape <= static_cast<int>(CursorShape::Help); ++shape) {
        SDL_SystemCursor c = SDL_NUM_SYSTEM_CURSORS;
        EXPECT_TRUE(tq3::fw::sdl::SystemCursorFor(static_cast<CursorShape>(shape), &c)) << shape;
        EXPECT_LT(c, SDL_NUM_SYSTEM_CURSORS);
    }
    SDL_SystemCursor c;
    EXPECT_FALSE(tq3::fw::sdl::SystemCursorFor(CursorShape::None, &c));
    EXPECT_FALSE(tq3::fw::sdl::SystemCursorFor(CursorShape::Custom, &c));
    // The sizing shapes the header's column dividers use are the matching arrows.
    ASSERT_TRUE(tq3::fw::sdl::SystemCursorFor(CursorShape::SizeWE, &c));
    EXPECT_EQ(c, SDL_SYSTEM_CURSOR_SIZEWE);
}

}  // namespace
}  // namespace tq3::test
