#include "framework/app/cmd_ui.h"

#include "framework/app/wnd.h"

namespace {
// A push button's check state, set on the control the item stands for.
constexpr UINT kButtonSetCheck = 0x00F1;  // BM_SETCHECK
}  // namespace

void CCmdUI::Enable(BOOL bOn) {
    if (m_pOther != nullptr) m_pOther->EnableWindow(bOn);
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pOther != nullptr) m_pOther->SendMessage(kButtonSetCheck, static_cast<WPARAM>(nCheck), 0);
}

void CCmdUI::SetRadio(BOOL bOn) { SetCheck(bOn ? 1 : 0); }

void CCmdUI::SetText(LPCWSTR lpszText) {
    if (m_pOther != nullptr) m_pOther->SetWindowText(lpszText);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (pTarget == nullptr) return FALSE;
    m_bEnableChanged = FALSE;
    BOOL answered = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        // Nobody stated the item's state (no state handler, or one that left it
        // alone): it is usable exactly when some target would carry out the command.
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return answered;
}
