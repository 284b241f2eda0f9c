// The one header a host includes: the framework's compatibility surface and the
// table-view library's exported interface.
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
