#include "framework/app/cmd_target.h"

#include "framework/app/cmd_ui.h"
#include "framework/app/win_app.h"

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id) {
    for (; map != nullptr; map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e != nullptr && e->pfn != nullptr; ++e) {
            if (e->nMessage == message && e->nCode == code && e->nID <= id && id <= e->nLastID) return e;
        }
    }
    return nullptr;
}

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

bool CCmdTarget::DispatchEntry(const AFX_MSGMAP_ENTRY& entry, tq3::fw::MsgCall& call) {
    call.handled = true;
    entry.pfn(this, call);
    return call.handled;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // Commands and notifications share one call: a notification carries WM_NOTIFY
    // in the high word of its code, a command nothing (or its own code, -1, for a
    // state update, which must not be split).
    UINT message = WM_COMMAND;
    UINT code = static_cast<UINT>(nCode);
    if (nCode != CN_UPDATE_COMMAND_UI) {
        UINT high = HIWORD(static_cast<DWORD>(nCode));
        if (high != 0) message = high;
        code = LOWORD(static_cast<DWORD>(nCode));
    }
    const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), message, code, nID);
    if (entry == nullptr) return FALSE;
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pfn = entry->pfn;
        return TRUE;
    }
    tq3::fw::MsgCall call;
    call.message = message;
    call.id = nID;
    call.extra = pExtra;
    if (message == WM_COMMAND && code == static_cast<UINT>(CN_UPDATE_COMMAND_UI)) {
        // A state handler may hand the decision on to the next target.
        auto* ui = static_cast<CCmdUI*>(pExtra);
        ui->m_bContinueRouting = FALSE;
        DispatchEntry(*entry, call);
        BOOL answered = !ui->m_bContinueRouting;
        ui->m_bContinueRouting = FALSE;
        return answered;
    }
    return DispatchEntry(*entry, call) ? TRUE : FALSE;
}

void CCmdTarget::BeginWaitCursor() {
    if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor() {
    if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor() {
    if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(0);
}
