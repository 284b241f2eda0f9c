// The US keyboard layout: scan codes of the virtual keys and the characters they
// type with Shift, Caps Lock, Num Lock and Ctrl, for TranslateMessage and
// MapVirtualKeyW.
#include <cstring>

#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

struct ScanEntry {
    int vk;
    UINT scan;
    bool extended;
};

// Navigation keys come before the keypad keys that share their scan codes, so a
// bare scan code maps to the navigation key, as with Num Lock off.
constexpr ScanEntry kScans[] = {
    {VK_ESCAPE, 0x01, false}, {'1', 0x02, false}, {'2', 0x03, false}, {'3', 0x04, false}, {'4', 0x05, false},
    {'5', 0x06, false}, {'6', 0x07, false}, {'7', 0x08, false}, {'8', 0x09, false}, {'9', 0x0A, false},
    {'0', 0x0B, false}, {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PLUS, 0x0D, false}, {VK_BACK, 0x0E, false},
    {VK_TAB, 0x0F, false}, {'Q', 0x10, false}, {'W', 0x11, false}, {'E', 0x12, false}, {'R', 0x13, false},
    {'T', 0x14, false}, {'Y', 0x15, false}, {'U', 0x16, false}, {'I', 0x17, false}, {'O', 0x18, false},
    {'P', 0x19, false}, {VK_OEM_4, 0x1A, false}, {VK_OEM_6, 0x1B, false}, {VK_RETURN, 0x1C, false},
    {VK_LCONTROL, 0x1D, false}, {VK_CONTROL, 0x1D, false}, {'A', 0x1E, false}, {'S', 0x1F, false},
    {'D', 0x20, false}, {'F', 0x21, false}, {'G', 0x22, false}, {'H', 0x23, false}, {'J', 0x24, false},
    {'K', 0x25, false}, {'L', 0x26, false}, {VK_OEM_1, 0x27, false}, {VK_OEM_7, 0x28, false},
    {VK_OEM_3, 0x29, false}, {VK_LSHIFT, 0x2A, false}, {VK_SHIFT, 0x2A, false}, {VK_OEM_5, 0x2B, false},
    {'Z', 0x2C, false}, {'X', 0x2D, false}, {'C', 0x2E, false}, {'V', 0x2F, false}, {'B', 0x30, false},
    {'N', 0x31, false}, {'M', 0x32, false}, {VK_OEM_COMMA, 0x33, false}, {VK_OEM_PERIOD, 0x34, false},
    {VK_OEM_2, 0x35, false}, {VK_RSHIFT, 0x36, false}, {VK_MULTIPLY, 0x37, false}, {VK_LMENU, 0x38, false},
    {VK_MENU, 0x38, false}, {VK_SPACE, 0x39, false}, {VK_CAPITAL, 0x3A, false}, {VK_F1, 0x3B, false},
    {VK_F2, 0x3C, false}, {VK_F3, 0x3D, false}, {VK_F4, 0x3E, false}, {VK_F5, 0x3F, false}, {VK_F6, 0x40, false},
    {VK_F7, 0x41, false}, {VK_F8, 0x42, false}, {VK_F9, 0x43, false}, {VK_F10, 0x44, false},
    {VK_NUMLOCK, 0x45, false}, {VK_SCROLL, 0x46, false}, {VK_HOME, 0x47, true}, {VK_UP, 0x48, true},
    {VK_PRIOR, 0x49, true}, {VK_LEFT, 0x4B, true}, {VK_RIGHT, 0x4D, true}, {VK_END, 0x4F, true},
    {VK_DOWN, 0x50, true}, {VK_NEXT, 0x51, true}, {VK_INSERT, 0x52, true}, {VK_DELETE, 0x53, true},
    {VK_NUMPAD7, 0x47, false}, {VK_NUMPAD8, 0x48, false}, {VK_NUMPAD9, 0x49, false}, {VK_SUBTRACT, 0x4A, false},
    {VK_NUMPAD4, 0x4B, false}, {VK_NUMPAD5, 0x4C, false}, {VK_NUMPAD6, 0x4D, false}, {VK_ADD, 0x4E, false},
    {VK_NUMPAD1, 0x4F, false}, {VK_NUMPAD2, 0x50, false}, {VK_NUMPAD3, 0x51, false}, {VK_NUMPAD0, 0x52, false},
    {VK_DECIMAL, 0x53, false}, {VK_OEM_102, 0x56, false}, {VK_F11, 0x57, false}, {VK_F12, 0x58, false},
    {VK_RCONTROL, 0x1D, true}, {VK_RMENU, 0x38, true}, {VK_DIVIDE, 0x35, true}, {VK_LWIN, 0x5B, true},
    {VK_RWIN, 0x5C, true}, {VK_APPS, 0x5D, true}, {VK_PAUSE, 0x45, false}, {VK_SNAPSHOT, 0x37, true},
};

struct OemEntry {
    int vk;
    WCHAR plain;
    WCHAR shifted;
    WCHAR control;  // with Ctrl (and without Shift); 0 for none
};

constexpr OemEntry kOem[] = {
    {VK_OEM_1, u';', u':', 0},       {VK_OEM_PLUS, u'=', u'+', 0},   {VK_OEM_COMMA, u',', u'<', 0},
    {VK_OEM_MINUS, u'-', u'_', 0},   {VK_OEM_PERIOD, u'.', u'>', 0}, {VK_OEM_2, u'/', u'?', 0},
    {VK_OEM_3, u'`', u'~', 0},       {VK_OEM_4, u'[', u'{', 0x1B},   {VK_OEM_5, u'\\', u'|', 0x1C},
    {VK_OEM_6, u']', u'}', 0x1D},    {VK_OEM_7, u'\'', u'"', 0},     {VK_OEM_102, u'\\', u'|', 0x1C},
};

constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";

}  // namespace

UINT ScanCodeOf(int vk) {
    for (const auto& e : kScans) {
        if (e.vk == vk) return e.scan;
    }
    return 0;
}

int VirtualKeyOfScan(UINT scan) {
    bool extended = (scan & 0xE000) == 0xE000 || (scan & 0x100) != 0;
    UINT code = scan & 0xFF;
    for (const auto& e : kScans) {
        if (e.scan == code && (!extended || e.extended)) return e.vk;
    }
    return 0;
}

bool IsExtendedKey(int vk) {
    for (const auto& e : kScans) {
        if (e.vk == vk) return e.extended;
    }
    return false;
}

WCHAR CharForKey(int vk, const BYTE* keys) {
    bool shift = (keys[VK_SHIFT] & 0x80) != 0;
    bool ctrl = (keys[VK_CONTROL] & 0x80) != 0;
    bool alt = (keys[VK_MENU] & 0x80) != 0;
    bool caps = (keys[VK_CAPITAL] & 0x01) != 0;
    bool numLock = (keys[VK_NUMLOCK] & 0x01) != 0;
    if (ctrl && alt) return 0;  // the US layout has no AltGr characters
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return static_cast<WCHAR>(vk - 'A' + 1);
        bool upper = shift != caps;
        return static_cast<WCHAR>(upper ? vk : vk + 32);
    }
    if (vk >= '0' && vk <= '9') {
        if (ctrl) return (shift && vk == '6') ? WCHAR{0x1E} : WCHAR{0};
        return shift ? kShiftedDigits[vk - '0'] : static_cast<WCHAR>(vk);
    }
    for (const auto& e : kOem) {
        if (e.vk != vk) continue;
        if (ctrl) {
            if (vk == VK_OEM_MINUS && shift) return 0x1F;
            return shift ? 0 : e.control;
        }
        return shift ? e.shifted : e.plain;
    }
    switch (vk) {
        case VK_SPACE: return u' ';
        case VK_BACK: return ctrl ? 0x7F : 0x08;
        case VK_TAB: return ctrl ? 0 : 0x09;
        case VK_RETURN: return ctrl ? 0x0A : 0x0D;
        case VK_ESCAPE: return 0x1B;
        case VK_CANCEL: return ctrl ? 0x03 : 0;
        default: break;
    }
    if (ctrl) return 0;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return numLock ? static_cast<WCHAR>(u'0' + (vk - VK_NUMPAD0)) : 0;
    switch (vk) {
        case VK_MULTIPLY: return u'*';
        case VK_ADD: return u'+';
        case VK_SUBTRACT: return u'-';
        case VK_DIVIDE: return u'/';
        case VK_DECIMAL: return numLock ? u'.' : 0;
        default: return 0;
    }
}

}  // namespace tq3::fw::wm

namespace tq3::fw {

WCHAR CharOfKeyPressedNow(int vk) {
    BYTE keys[256];
    std::memcpy(keys, wm::S().asyncKeys, sizeof(keys));
    keys[vk & 0xFF] |= 0x80;
    return wm::CharForKey(vk, keys);
}

}  // namespace tq3::fw
