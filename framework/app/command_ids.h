// The framework's standard command ids, with the platform's values, so that a
// host's menus, its accelerators and a view's handlers meet on the same numbers.
#pragma once

#include "framework/core/wintypes.h"

constexpr UINT ID_EDIT_CLEAR = 57632;
constexpr UINT ID_EDIT_CLEAR_ALL = 57633;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_FIND = 57636;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_REPEAT = 57640;
constexpr UINT ID_EDIT_REPLACE = 57641;
constexpr UINT ID_EDIT_SELECT_ALL = 57642;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_EDIT_REDO = 57644;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_APP_ABOUT = 57664;
