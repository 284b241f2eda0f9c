/// \file
/// The one header a host includes: the framework's compatibility surface and the
/// table-view library's exported interface.

/// \namespace tq3
/// The library's own helpers beside the interface that keeps the platform's names:
/// the language and resource-library functions, the settings key deletion, the
/// record list of a sheet and the limits of column geometry.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/core/cstring.h"
#include "framework/core/geometry.h"
#include "framework/core/lists.h"
#include "framework/core/locale.h"
#include "framework/core/object.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/winuser.h"
#include "framework/system/clipboard.h"
#include "framework/system/registry.h"
#include "framework/app/afxwin.h"
#include "framework/core/utf.h"
#include "text/tab_text.h"
#include "model/sheet_obj.h"
#include "view/table_view.h"
#include "text/module_handle.h"
#include "text/system_font.h"
#include "text/clipboard_text.h"
#include "framework/system/module.h"
#include "framework/system/resources.h"
#include "settings/registry_location.h"
#include "settings/language.h"
#include "controlbar/control_bar_ex.h"
#include "controlbar/sys_button.h"
