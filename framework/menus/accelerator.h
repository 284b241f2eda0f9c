// Accelerator tables: keys that issue commands. A table is a list of entries,
// each a key with its modifiers and the command it issues; TranslateAcceleratorW
// turns a matching key message into WM_COMMAND (high word 1) sent to the window.
// A frame translates with its table in PreTranslateMessage, so the keys work
// wherever the focus is inside it.
#pragma once

#include "framework/core/export.h"
#include "framework/core/wintypes.h"
#include "framework/system/resource_table.h"
#include "framework/window/winuser.h"

constexpr BYTE FVIRTKEY = 0x01;  // `key` is a virtual-key code; otherwise a character
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
using LPACCEL = ACCEL*;

// The accelerator resource type, numbered as the platform numbers it.
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)

// A table holding copies of the `count` entries; null for none or when memory runs out.
TQ3FW_EXPORT_C HACCEL CreateAcceleratorTableW(LPACCEL entries, int count);
// The accelerator table `name` of `instance` (null: the resource search); null when missing.
TQ3FW_EXPORT_C HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
// Copies up to `count` entries out (with a null buffer: returns the count).
TQ3FW_EXPORT_C int CopyAcceleratorTableW(HACCEL table, LPACCEL entries, int count);
TQ3FW_EXPORT_C BOOL DestroyAcceleratorTable(HACCEL table);
// A key press (WM_KEYDOWN, WM_SYSKEYDOWN for virtual keys; WM_CHAR, WM_SYSCHAR for
// characters) whose key and Shift, Ctrl and Alt state match an entry exactly is
// sent to `window` as WM_COMMAND with the entry's command; TRUE then, and the
// message must not be dispatched. Whether the command is enabled now is for the
// window's command routing to decide.
TQ3FW_EXPORT_C int TranslateAcceleratorW(HWND window, HACCEL table, LPMSG msg);

inline HACCEL LoadAccelerators(HINSTANCE i, LPCWSTR n) { return LoadAcceleratorsW(i, n); }
inline int TranslateAccelerator(HWND w, HACCEL t, LPMSG m) { return TranslateAcceleratorW(w, t, m); }
