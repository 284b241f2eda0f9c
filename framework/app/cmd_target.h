// CCmdTarget: the base of every object that takes part in command routing (windows,
// views, frames, the application). It owns the root of the message-map chain and
// looks commands, command-state updates and notifications up in its table.
#pragma once

#include "framework/app/message_map.h"
#include "framework/core/object.h"

class TQ3FW_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;
    ~CCmdTarget() override;

    // Routes a command (nCode CN_COMMAND or a control notification code), a
    // command-state update (CN_UPDATE_COMMAND_UI, pExtra a CCmdUI*) or a
    // notification (nCode MAKELONG(code, WM_NOTIFY), pExtra a tq3::fw::NotifyCall*)
    // to this object's table. With pHandlerInfo set, only reports whether a handler
    // exists and which one, without calling it. Returns TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The busy cursor of the application, for the span of a long operation.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Calls the handler of `entry` for this object; false when the handler declined.
    bool DispatchEntry(const AFX_MSGMAP_ENTRY& entry, tq3::fw::MsgCall& call);
};
