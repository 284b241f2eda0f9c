// The input-method seam: each window is associated with an input context, the
// one every window starts with or none. A window with no context gets no
// composed text (characters an input method delivers without a key), and while
// it holds the focus the backend's own text input is switched off, so that no
// composition window opens over it. The backend is told where the caret of the
// focused window is, so that a candidate window can open beside it.
#pragma once

#include "framework/core/wintypes.h"

struct HIMC__;
using HIMC = HIMC__*;

// ImmAssociateContextEx flags.
constexpr DWORD IACE_CHILDREN = 0x0001;
constexpr DWORD IACE_DEFAULT = 0x0010;
constexpr DWORD IACE_IGNORENOCONTEXT = 0x0020;

// The window's context (null when it has none or for a bad handle); give it back
// with ImmReleaseContext.
TQ3FW_EXPORT_C HIMC ImmGetContext(HWND hwnd);
TQ3FW_EXPORT_C BOOL ImmReleaseContext(HWND hwnd, HIMC context);
// Associates `context` (null: none) with the window; returns the one it had.
TQ3FW_EXPORT_C HIMC ImmAssociateContext(HWND hwnd, HIMC context);
// As ImmAssociateContext, for the window and with IACE_CHILDREN its descendants;
// IACE_DEFAULT gives them the context they started with, IACE_IGNORENOCONTEXT
// leaves windows that have none alone.
TQ3FW_EXPORT_C BOOL ImmAssociateContextEx(HWND hwnd, HIMC context, DWORD flags);
