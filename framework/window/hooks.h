// Hooks: procedures a program puts in the window manager's path to see, and
// possibly refuse, what it is about to do. Only the computer-based-training
// kind is kept, and of its events only the creation of a window: it runs after
// the window exists and before its first message, which is what lets a class
// library bind its object to a window of someone else's class in time for
// WM_NCCREATE and WM_CREATE.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/window/winuser.h"

struct HHOOK__;
using HHOOK = HHOOK__*;
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);

constexpr int WH_CBT = 5;
constexpr int HCBT_CREATEWND = 3;

// What a creation hook is given with HCBT_CREATEWND (the window's handle comes
// in wParam). The creation values are those the window is being made with.
struct CBT_CREATEWNDW {
    CREATESTRUCTW* lpcs;
    HWND hwndInsertAfter;
};
using CBT_CREATEWND = CBT_CREATEWNDW;
using LPCBT_CREATEWNDW = CBT_CREATEWNDW*;

// Puts `proc` at the head of the chain of its kind; null for a kind not kept
// or no procedure. The module and thread are accepted for the platform's sake:
// every hook here serves the one thread that runs windows.
TQ3FW_EXPORT_C HHOOK SetWindowsHookExW(int kind, HOOKPROC proc, HINSTANCE module, DWORD threadId);
TQ3FW_EXPORT_C BOOL UnhookWindowsHookEx(HHOOK hook);
// Passes the event on to the next hook of the chain (the one put in before the
// hook now running) and returns its answer, or 0 at the end of the chain. The
// handle is accepted for the platform's sake: the chain knows which hook runs.
TQ3FW_EXPORT_C LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

inline HHOOK SetWindowsHookEx(int k, HOOKPROC p, HINSTANCE m, DWORD t) { return SetWindowsHookExW(k, p, m, t); }
