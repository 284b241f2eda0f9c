// The interactive backend's translation tables, without a display: SDL keys to
// virtual keys, the key/text plan that keeps each typed character
// single.
#include <gtest/gtest.h>

#include "framework/backends/sdl/sdl_input_map.h"
#include "framework/window/messages.h"
#include "framework/window/virtual_keys.h"

namespace tq3::test {
namespace {

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
        {"layout letter on another key (French A on the US Q)", SDL_SCANCODE_Q, SDLK_a, false, false, 'A', false},
        {"digit 0 after 9 in SDL's order", SDL_SCANCODE_0, SDLK_0, false, false, '0', false},
        {"keypad 7, Num Lock on", SDL_SCANCODE_KP_7, SDLK_KP_7, true, false, VK_NUMPAD7, false},
        {"keypad 7, Num Lock off", SDL_SCANCODE_KP_7, SDLK_KP_7, false, false, VK_HOME, false},
        {"keypad 2 with Shift and Num Lock on", SDL_SCANCODE_KP_2, SDLK_KP_2, true, true, VK_DOWN, false},
        {"keypad Enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, true, false, VK_RETURN, true},
        {"German u-umlaut key keeps its position", SDL_SCANCODE_LEFTBRACKET, 0xFC, false, false, VK_OEM_4, false},
        {"F24", SDL_SCANCODE_F24, SDLK_F24, false, false, VK_F24, false},
        {"Left", SDL_SCANCODE_LEFT, SDLK_LEFT, false, false, VK_LEFT, true},
        {"right Ctrl", SDL_SCANCODE_RCTRL, SDLK_RCTRL, false, false, VK_RCONTROL, true},
        {"unknown key", SDL_SCANCODE_UNKNOWN, 0, false, false, 0, false},
        {"unknown position typing a letter", SDL_SCANCODE_UNKNOWN, SDLK_e, false, false, 'E', false},
    };
    for (const Row& r : rows) {
        tq3::fw::sdl::KeyCode k = KeyFromSdl(r.scancode, r.keycode, r.numLock, r.shift);
        EXPECT_EQ(k.vk, r.vk) << r.what;
        EXPECT_EQ(k.extended, r.extended) << r.what;
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
        {"Ctrl+letter: no text, TranslateMessage makes the control character", 'A', 0x01, true, nullptr, 'A', u"",
         false},
        {"German u-umlaut on the US [ key", VK_OEM_4, u'[', false, "\xC3\xBC", VK_PROCESSKEY, u"\u00FC", true},
        {"dead key waiting for its letter", VK_OEM_3, u'`', false, nullptr, VK_PROCESSKEY, u"", false},
        {"dead key's result arrives with the next key", 'E', u'e', false, "\xC3\xA9", VK_PROCESSKEY, u"\u00E9",
         true},
        {"a key without a virtual key typing text", 0, 0, false, "\xE2\x82\xAC", 0, u"\u20AC", true},
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

}  // namespace
}  // namespace tq3::test
