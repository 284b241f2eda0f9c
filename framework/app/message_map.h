// Message maps: typed tables that bind window messages, commands and notifications
// to member functions.
//
// A class declares its table with DECLARE_MESSAGE_MAP() and defines it in its .cpp
// file between BEGIN_MESSAGE_MAP(cls, base) and END_MESSAGE_MAP(). Each entry holds
// a small thunk instantiated for the class and the handler, so a handler keeps its
// real signature: a handler of the wrong type does not compile, and nothing is ever
// called through a cast function pointer.
//
// Entries that name a handler take it as a member pointer, as a host writes it:
//     ON_COMMAND(ID_EDIT_COPY, &CMyView::OnEditCopy)
//     ON_NOTIFY(HDN_ITEMCLICKW, 30002, &CMyView::OnHeaderClick)
// The ON_WM_* entries (message_map_entries.h) take no argument and bind the handler
// of the fixed name (ON_WM_SIZE() binds OnSize).
//
// Lookup: a table links to its base class's table; a message goes to the first
// matching entry found from the most derived class down.
#pragma once

#include "framework/core/wintypes.h"

class CCmdTarget;
class CCmdUI;
struct NMHDR;

// Marks message handlers in class declarations, as hosts are used to write.
#ifndef afx_msg
#define afx_msg
#endif

// Command codes that OnCmdMsg understands besides control notification codes.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// The command ids of the standard Edit menu items.
constexpr UINT ID_EDIT_CLEAR = 0xE120;
constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_CUT = 0xE123;
constexpr UINT ID_EDIT_FIND = 0xE124;
constexpr UINT ID_EDIT_PASTE = 0xE125;
constexpr UINT ID_EDIT_REPLACE = 0xE129;
constexpr UINT ID_EDIT_UNDO = 0xE12B;

namespace tq3::fw {

// One call through a table: what the thunk reads and where it leaves its result.
struct MsgCall {
    UINT message = 0;   // window message, or WM_COMMAND / WM_NOTIFY for commands
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT id = 0;          // command or control id (commands and notifications)
    void* extra = nullptr;  // CCmdUI* for command-state updates, NotifyCall* for notifications
    LRESULT result = 0;   // the value the message returns
    bool handled = true;  // a handler may decline (ON_COMMAND_EX returning FALSE)
};

// The arguments of a WM_NOTIFY reaching a handler.
struct NotifyCall {
    NMHDR* header;
    LRESULT* result;
};

using MsgThunk = void (*)(CCmdTarget* target, MsgCall& call);

}  // namespace tq3::fw

// A table entry. nCode is the control notification code for WM_COMMAND entries
// (CN_COMMAND for menu commands, CN_UPDATE_COMMAND_UI as UINT for state updates),
// the low word of the notification code for WM_NOTIFY entries, and 0 otherwise.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    tq3::fw::MsgThunk pfn;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when a caller only asks whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    tq3::fw::MsgThunk pfn;
};

// Finds the first entry of `map` or its bases that matches; null when none does.
TQ3FW_API const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id);

#define DECLARE_MESSAGE_MAP()                                        \
protected:                                                           \
    static const AFX_MSGMAP* GetThisMessageMap();                    \
    const AFX_MSGMAP* GetMessageMap() const override;                \
                                                                     \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                           \
        using ThisClass = theClass;                                             \
        using TheBaseClass = baseClass;                                         \
        static const AFX_MSGMAP_ENTRY messageEntries_[] = {
#define END_MESSAGE_MAP()                                                                      \
    {0, 0, 0, 0, nullptr}                                                                      \
    }                                                                                          \
    ;                                                                                          \
    static const AFX_MSGMAP messageMap_ = {&TheBaseClass::GetThisMessageMap, &messageEntries_[0]}; \
    return &messageMap_;                                                                       \
    }

namespace tq3::fw::msgmap {

// Each thunk first converts the handler to the exact member-pointer type its kind
// of entry expects: a handler of another signature fails here, at compile time.
template <class T, auto H>
void Command(CCmdTarget* target, MsgCall&) {
    constexpr void (T::*fn)() = H;
    (static_cast<T*>(target)->*fn)();
}

template <class T, auto H>
void CommandEx(CCmdTarget* target, MsgCall& call) {
    constexpr BOOL (T::*fn)(UINT) = H;
    call.handled = (static_cast<T*>(target)->*fn)(call.id) != FALSE;
}

template <class T, auto H>
void CommandRange(CCmdTarget* target, MsgCall& call) {
    constexpr void (T::*fn)(UINT) = H;
    (static_cast<T*>(target)->*fn)(call.id);
}

template <class T, auto H>
void UpdateUI(CCmdTarget* target, MsgCall& call) {
    constexpr void (T::*fn)(CCmdUI*) = H;
    (static_cast<T*>(target)->*fn)(static_cast<CCmdUI*>(call.extra));
}

template <class T, auto H>
void Notify(CCmdTarget* target, MsgCall& call) {
    constexpr void (T::*fn)(NMHDR*, LRESULT*) = H;
    auto* n = static_cast<NotifyCall*>(call.extra);
    (static_cast<T*>(target)->*fn)(n->header, n->result);
}

template <class T, auto H>
void NotifyRange(CCmdTarget* target, MsgCall& call) {
    constexpr void (T::*fn)(UINT, NMHDR*, LRESULT*) = H;
    auto* n = static_cast<NotifyCall*>(call.extra);
    (static_cast<T*>(target)->*fn)(call.id, n->header, n->result);
}

template <class T, auto H>
void NotifyEx(CCmdTarget* target, MsgCall& call) {
    constexpr BOOL (T::*fn)(NMHDR*, LRESULT*) = H;
    auto* n = static_cast<NotifyCall*>(call.extra);
    call.handled = (static_cast<T*>(target)->*fn)(n->header, n->result) != FALSE;
}

template <class T, auto H>
void Message(CCmdTarget* target, MsgCall& call) {
    constexpr LRESULT (T::*fn)(WPARAM, LPARAM) = H;
    call.result = (static_cast<T*>(target)->*fn)(call.wParam, call.lParam);
}

}  // namespace tq3::fw::msgmap

// Commands from menus, accelerators and buttons (WM_COMMAND), routed by OnCmdMsg.
#define ON_COMMAND(id, memberFxn)                                                   \
    {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<UINT>(id), static_cast<UINT>(id), \
     &::tq3::fw::msgmap::Command<ThisClass, memberFxn>},
// Like ON_COMMAND, but the handler gets the id and returns FALSE to let the command
// travel on to the next target.
#define ON_COMMAND_EX(id, memberFxn)                                                \
    {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<UINT>(id), static_cast<UINT>(id), \
     &::tq3::fw::msgmap::CommandEx<ThisClass, memberFxn>},
#define ON_COMMAND_RANGE(idFirst, idLast, memberFxn)                                         \
    {WM_COMMAND, static_cast<UINT>(CN_COMMAND), static_cast<UINT>(idFirst), static_cast<UINT>(idLast), \
     &::tq3::fw::msgmap::CommandRange<ThisClass, memberFxn>},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                   \
    {WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), static_cast<UINT>(id), static_cast<UINT>(id), \
     &::tq3::fw::msgmap::UpdateUI<ThisClass, memberFxn>},
#define ON_UPDATE_COMMAND_UI_RANGE(idFirst, idLast, memberFxn)                                          \
    {WM_COMMAND, static_cast<UINT>(CN_UPDATE_COMMAND_UI), static_cast<UINT>(idFirst), static_cast<UINT>(idLast), \
     &::tq3::fw::msgmap::UpdateUI<ThisClass, memberFxn>},

// Control notifications that arrive as WM_COMMAND with a code in the high word.
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                            \
    {WM_COMMAND, static_cast<UINT>(static_cast<WORD>(wNotifyCode)), static_cast<UINT>(id), \
     static_cast<UINT>(id), &::tq3::fw::msgmap::Command<ThisClass, memberFxn>},
#define ON_CONTROL_RANGE(wNotifyCode, idFirst, idLast, memberFxn)                                 \
    {WM_COMMAND, static_cast<UINT>(static_cast<WORD>(wNotifyCode)), static_cast<UINT>(idFirst), \
     static_cast<UINT>(idLast), &::tq3::fw::msgmap::CommandRange<ThisClass, memberFxn>},

// Notifications that arrive as WM_NOTIFY; the handler gets the header and the result.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                      \
    {WM_NOTIFY, static_cast<UINT>(static_cast<WORD>(static_cast<int>(wNotifyCode))), static_cast<UINT>(id), \
     static_cast<UINT>(id), &::tq3::fw::msgmap::Notify<ThisClass, memberFxn>},
#define ON_NOTIFY_RANGE(wNotifyCode, idFirst, idLast, memberFxn)                                        \
    {WM_NOTIFY, static_cast<UINT>(static_cast<WORD>(static_cast<int>(wNotifyCode))), static_cast<UINT>(idFirst), \
     static_cast<UINT>(idLast), &::tq3::fw::msgmap::NotifyRange<ThisClass, memberFxn>},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                   \
    {WM_NOTIFY, static_cast<UINT>(static_cast<WORD>(static_cast<int>(wNotifyCode))), static_cast<UINT>(id), \
     static_cast<UINT>(id), &::tq3::fw::msgmap::NotifyEx<ThisClass, memberFxn>},

// Any message with the raw parameters: LRESULT Handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, 0, 0, &::tq3::fw::msgmap::Message<ThisClass, memberFxn>},

// Notifications a control sends its parent, handled by the control itself when the
// parent leaves them (reflection). Stored under message ids of their own so that
// they never match the parent's entries.
constexpr UINT TQ3_WM_REFLECT_BASE = 0xBC00;
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                  \
    {TQ3_WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(static_cast<WORD>(wNotifyCode)), 0, 0,          \
     &::tq3::fw::msgmap::Command<ThisClass, memberFxn>},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                  \
    {TQ3_WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(static_cast<WORD>(static_cast<int>(wNotifyCode))), \
     0, 0, &::tq3::fw::msgmap::Notify<ThisClass, memberFxn>},

// Button and edit notifications used by dialogs and control bars.
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
