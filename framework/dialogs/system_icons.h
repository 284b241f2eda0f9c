// The standard icons of the desktop (IDI_*): the hand of errors, the question
// mark, the exclamation of warnings and the "i" of information, as message boxes
// show them. Drawn once per process; LoadIconW with a null instance hands them out.
#pragma once

#include "framework/core/wintypes.h"

#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDI_HAND MAKEINTRESOURCEW(32513)
#define IDI_QUESTION MAKEINTRESOURCEW(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEW(32515)
#define IDI_ASTERISK MAKEINTRESOURCEW(32516)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

// With a null instance: the standard icon `name` (IDI_*), shared by all callers
// and never to be destroyed; NULL for an unknown name. Resource modules carry no
// icons, so a module instance gives NULL too.
TQ3FW_EXPORT_C HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
inline HICON LoadIcon(HINSTANCE instance, LPCWSTR name) { return LoadIconW(instance, name); }
