// The application layer in one include: message maps, command targets and
// command-state items, windows, views, frames, the application object, the wait
// cursor, the simple controls (CStatic, CButton, CEdit), the tooltip control, dialogs with data exchange,
// the font dialog, menus and the message box, control bars with their docking. The window device contexts
// (CPaintDC...) are in window_dc.h:
// they bring the drawing layer's headers, and with them pixman's.
#pragma once

#include "framework/app/cmd_target.h"
#include "framework/app/cmd_ui.h"
#include "framework/app/control_bar.h"
#include "framework/app/data_exchange.h"
#include "framework/app/dialog.h"
#include "framework/app/dock_bar.h"
#include "framework/app/dock_context.h"
#include "framework/app/font_dialog.h"
#include "framework/app/frame_wnd.h"
#include "framework/app/mini_frame.h"
#include "framework/app/message_map.h"
#include "framework/app/scroll_bar.h"
#include "framework/app/view.h"
#include "framework/app/wait_cursor.h"
#include "framework/app/win_app.h"
#include "framework/app/wnd.h"
#include "framework/app/afx_controls.h"
#include "framework/app/afx_menu.h"
#include "framework/app/tooltip_ctrl.h"
#include "framework/dialogs/message_box.h"
#include "framework/dialogs/system_icons.h"
