// CCmdUI: one user-interface item (a menu item, a button, a toolbar slot) asking the
// command targets whether its command is enabled, checked or titled differently.
//
// An ON_UPDATE_COMMAND_UI handler receives the item and calls Enable, SetCheck,
// SetRadio or SetText. This base class applies them to the window in m_pOther (a
// button or any control); derived items apply them elsewhere (menus, tool slots).
#pragma once

#include "framework/app/cmd_target.h"

class CWnd;

class TQ3FW_API CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;       // the command this item issues
    UINT m_nIndex = 0;    // position of the item among its siblings
    CWnd* m_pOther = nullptr;  // the window the item stands for, if any
    BOOL m_bEnableChanged = FALSE;  // a handler called Enable during this update
    BOOL m_bContinueRouting = FALSE;  // a handler asked the next target to decide

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCWSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks `pTarget` (which routes further) for the state of m_nID. When no state
    // handler answers and bDisableIfNoHndler is set, the item is enabled exactly when
    // some target handles the command itself. Returns TRUE when a handler answered.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};
