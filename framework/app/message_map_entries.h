// The ON_WM_* table entries: each binds one window message to the CWnd handler of
// the fixed name and hands it the message's cracked arguments, as the platform's
// documentation of the message describes them (WM_SIZE: type, width, height;
// mouse messages: key flags and the client point; WM_MOUSEWHEEL: flags, the signed
// delta and the screen point...). A handler returning a value sets the message's
// result; one returning nothing leaves 0.
//
// Included by framework/app/wnd.h after CWnd is complete.
#pragma once

#include "framework/app/message_map.h"
#include "framework/core/geometry.h"
#include "framework/window/winuser.h"

class CWnd;
class CDC;
class CScrollBar;

namespace tq3::fw::msgmap {

// Reads a window handle out of a message parameter as the CWnd standing for it.
TQ3FW_API CWnd* WndFromParam(UINT_PTR value);
// The scroll-bar control named by a WM_HSCROLL/WM_VSCROLL lParam; null for the
// window's own scroll bars.
TQ3FW_API CScrollBar* ScrollBarFromParam(LPARAM value);
// The device context named by a message parameter (WM_ERASEBKGND).
TQ3FW_API CDC* DcFromParam(WPARAM value);

template <class T, auto H>
void VoidNoArgs(CCmdTarget* t, MsgCall&) {
    constexpr void (T::*fn)() = H;
    (static_cast<T*>(t)->*fn)();
}

template <class T, auto H>
void Create(CCmdTarget* t, MsgCall& c) {
    constexpr int (T::*fn)(CREATESTRUCTW*) = H;
    c.result = (static_cast<T*>(t)->*fn)(reinterpret_cast<CREATESTRUCTW*>(c.lParam));
}

template <class T, auto H>
void NcCreate(CCmdTarget* t, MsgCall& c) {
    constexpr BOOL (T::*fn)(CREATESTRUCTW*) = H;
    c.result = (static_cast<T*>(t)->*fn)(reinterpret_cast<CREATESTRUCTW*>(c.lParam));
}

template <class T, auto H>
void Size(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(UINT, int, int) = H;
    (static_cast<T*>(t)->*fn)(static_cast<UINT>(c.wParam), GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));
}

template <class T, auto H>
void Move(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(int, int) = H;
    (static_cast<T*>(t)->*fn)(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam));
}

template <class T, auto H>
void EraseBkgnd(CCmdTarget* t, MsgCall& c) {
    constexpr BOOL (T::*fn)(CDC*) = H;
    c.result = (static_cast<T*>(t)->*fn)(DcFromParam(c.wParam));
}

template <class T, auto H>
void Mouse(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(UINT, CPoint) = H;
    (static_cast<T*>(t)->*fn)(static_cast<UINT>(c.wParam), CPoint(c.lParam));
}

template <class T, auto H>
void MouseWheel(CCmdTarget* t, MsgCall& c) {
    constexpr BOOL (T::*fn)(UINT, short, CPoint) = H;
    c.result = (static_cast<T*>(t)->*fn)(GET_KEYSTATE_WPARAM(c.wParam), GET_WHEEL_DELTA_WPARAM(c.wParam),
                                         CPoint(c.lParam));
}

// WM_KEYDOWN, WM_KEYUP, WM_CHAR and their WM_SYS* forms: the key or character, the
// repeat count (low word of lParam) and the scan code and flags (high word).
template <class T, auto H>
void Key(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(UINT, UINT, UINT) = H;
    auto lp = static_cast<DWORD_PTR>(c.lParam);
    (static_cast<T*>(t)->*fn)(static_cast<UINT>(c.wParam), LOWORD(lp), HIWORD(lp));
}

template <class T, auto H>
void Focus(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(CWnd*) = H;
    (static_cast<T*>(t)->*fn)(WndFromParam(c.wParam));
}

template <class T, auto H>
void CaptureChanged(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(CWnd*) = H;
    (static_cast<T*>(t)->*fn)(WndFromParam(static_cast<UINT_PTR>(c.lParam)));
}

template <class T, auto H>
void Scroll(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(UINT, UINT, CScrollBar*) = H;
    auto wp = static_cast<DWORD_PTR>(c.wParam);
    (static_cast<T*>(t)->*fn)(LOWORD(wp), HIWORD(wp), ScrollBarFromParam(c.lParam));
}

template <class T, auto H>
void Timer(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(UINT_PTR) = H;
    (static_cast<T*>(t)->*fn)(static_cast<UINT_PTR>(c.wParam));
}

template <class T, auto H>
void SetCursor(CCmdTarget* t, MsgCall& c) {
    constexpr BOOL (T::*fn)(CWnd*, UINT, UINT) = H;
    auto lp = static_cast<DWORD_PTR>(c.lParam);
    c.result = (static_cast<T*>(t)->*fn)(WndFromParam(c.wParam), LOWORD(lp), HIWORD(lp));
}

template <class T, auto H>
void MouseActivate(CCmdTarget* t, MsgCall& c) {
    constexpr int (T::*fn)(CWnd*, UINT, UINT) = H;
    auto lp = static_cast<DWORD_PTR>(c.lParam);
    c.result = (static_cast<T*>(t)->*fn)(WndFromParam(c.wParam), LOWORD(lp), HIWORD(lp));
}

template <class T, auto H>
void ContextMenu(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(CWnd*, CPoint) = H;
    (static_cast<T*>(t)->*fn)(WndFromParam(c.wParam), CPoint(c.lParam));
}

template <class T, auto H>
void GetDlgCode(CCmdTarget* t, MsgCall& c) {
    constexpr UINT (T::*fn)() = H;
    c.result = static_cast<LRESULT>((static_cast<T*>(t)->*fn)());
}

template <class T, auto H>
void NcHitTest(CCmdTarget* t, MsgCall& c) {
    constexpr LRESULT (T::*fn)(CPoint) = H;
    c.result = (static_cast<T*>(t)->*fn)(CPoint(c.lParam));
}

template <class T, auto H>
void ShowWindow(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(BOOL, UINT) = H;
    (static_cast<T*>(t)->*fn)(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam));
}

template <class T, auto H>
void WindowPos(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(WINDOWPOS*) = H;
    (static_cast<T*>(t)->*fn)(reinterpret_cast<WINDOWPOS*>(c.lParam));
}

template <class T, auto H>
void Activate(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(UINT, CWnd*, BOOL) = H;
    auto wp = static_cast<DWORD_PTR>(c.wParam);
    (static_cast<T*>(t)->*fn)(LOWORD(wp), WndFromParam(static_cast<UINT_PTR>(c.lParam)), HIWORD(wp) != 0);
}

template <class T, auto H>
void Enable(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(BOOL) = H;
    (static_cast<T*>(t)->*fn)(static_cast<BOOL>(c.wParam));
}

template <class T, auto H>
void SysCommand(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(UINT, LPARAM) = H;
    (static_cast<T*>(t)->*fn)(static_cast<UINT>(c.wParam), c.lParam);
}

// WM_NCCALCSIZE: whether the client area's place must be worked out (wParam)
// and the rectangles (lParam: NCCALCSIZE_PARAMS*, whose first rectangle is all a
// FALSE call carries).
template <class T, auto H>
void NcCalcSize(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(BOOL, NCCALCSIZE_PARAMS*) = H;
    (static_cast<T*>(t)->*fn)(static_cast<BOOL>(c.wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(c.lParam));
}

// Non-client mouse messages: the hit-test code and the screen point.
template <class T, auto H>
void NcMouse(CCmdTarget* t, MsgCall& c) {
    constexpr void (T::*fn)(UINT, CPoint) = H;
    (static_cast<T*>(t)->*fn)(static_cast<UINT>(c.wParam), CPoint(c.lParam));
}

}  // namespace tq3::fw::msgmap

#define TQ3_ON_WM(message, cracker, member) \
    {message, 0, 0, 0, &::tq3::fw::msgmap::cracker<ThisClass, &ThisClass::member>},

#define ON_WM_CREATE() TQ3_ON_WM(WM_CREATE, Create, OnCreate)
#define ON_WM_NCCREATE() TQ3_ON_WM(WM_NCCREATE, NcCreate, OnNcCreate)
#define ON_WM_DESTROY() TQ3_ON_WM(WM_DESTROY, VoidNoArgs, OnDestroy)
#define ON_WM_NCDESTROY() TQ3_ON_WM(WM_NCDESTROY, VoidNoArgs, OnNcDestroy)
#define ON_WM_CLOSE() TQ3_ON_WM(WM_CLOSE, VoidNoArgs, OnClose)
#define ON_WM_SIZE() TQ3_ON_WM(WM_SIZE, Size, OnSize)
#define ON_WM_MOVE() TQ3_ON_WM(WM_MOVE, Move, OnMove)
#define ON_WM_PAINT() TQ3_ON_WM(WM_PAINT, VoidNoArgs, OnPaint)
#define ON_WM_NCPAINT() TQ3_ON_WM(WM_NCPAINT, VoidNoArgs, OnNcPaint)
#define ON_WM_ERASEBKGND() TQ3_ON_WM(WM_ERASEBKGND, EraseBkgnd, OnEraseBkgnd)
#define ON_WM_MOUSEMOVE() TQ3_ON_WM(WM_MOUSEMOVE, Mouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() TQ3_ON_WM(WM_LBUTTONDOWN, Mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() TQ3_ON_WM(WM_LBUTTONUP, Mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() TQ3_ON_WM(WM_LBUTTONDBLCLK, Mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() TQ3_ON_WM(WM_RBUTTONDOWN, Mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() TQ3_ON_WM(WM_RBUTTONUP, Mouse, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() TQ3_ON_WM(WM_RBUTTONDBLCLK, Mouse, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() TQ3_ON_WM(WM_MBUTTONDOWN, Mouse, OnMButtonDown)
#define ON_WM_MBUTTONUP() TQ3_ON_WM(WM_MBUTTONUP, Mouse, OnMButtonUp)
#define ON_WM_MOUSEWHEEL() TQ3_ON_WM(WM_MOUSEWHEEL, MouseWheel, OnMouseWheel)
#define ON_WM_MOUSELEAVE() TQ3_ON_WM(WM_MOUSELEAVE, VoidNoArgs, OnMouseLeave)
#define ON_WM_KEYDOWN() TQ3_ON_WM(WM_KEYDOWN, Key, OnKeyDown)
#define ON_WM_KEYUP() TQ3_ON_WM(WM_KEYUP, Key, OnKeyUp)
#define ON_WM_CHAR() TQ3_ON_WM(WM_CHAR, Key, OnChar)
#define ON_WM_SYSKEYDOWN() TQ3_ON_WM(WM_SYSKEYDOWN, Key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() TQ3_ON_WM(WM_SYSKEYUP, Key, OnSysKeyUp)
#define ON_WM_SYSCHAR() TQ3_ON_WM(WM_SYSCHAR, Key, OnSysChar)
#define ON_WM_SETFOCUS() TQ3_ON_WM(WM_SETFOCUS, Focus, OnSetFocus)
#define ON_WM_KILLFOCUS() TQ3_ON_WM(WM_KILLFOCUS, Focus, OnKillFocus)
#define ON_WM_CAPTURECHANGED() TQ3_ON_WM(WM_CAPTURECHANGED, CaptureChanged, OnCaptureChanged)
#define ON_WM_VSCROLL() TQ3_ON_WM(WM_VSCROLL, Scroll, OnVScroll)
#define ON_WM_HSCROLL() TQ3_ON_WM(WM_HSCROLL, Scroll, OnHScroll)
#define ON_WM_TIMER() TQ3_ON_WM(WM_TIMER, Timer, OnTimer)
#define ON_WM_SETCURSOR() TQ3_ON_WM(WM_SETCURSOR, SetCursor, OnSetCursor)
#define ON_WM_MOUSEACTIVATE() TQ3_ON_WM(WM_MOUSEACTIVATE, MouseActivate, OnMouseActivate)
#define ON_WM_CONTEXTMENU() TQ3_ON_WM(WM_CONTEXTMENU, ContextMenu, OnContextMenu)
#define ON_WM_GETDLGCODE() TQ3_ON_WM(WM_GETDLGCODE, GetDlgCode, OnGetDlgCode)
#define ON_WM_NCCALCSIZE() TQ3_ON_WM(WM_NCCALCSIZE, NcCalcSize, OnNcCalcSize)
#define ON_WM_NCLBUTTONDOWN() TQ3_ON_WM(WM_NCLBUTTONDOWN, NcMouse, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() TQ3_ON_WM(WM_NCLBUTTONUP, NcMouse, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() TQ3_ON_WM(WM_NCLBUTTONDBLCLK, NcMouse, OnNcLButtonDblClk)
#define ON_WM_NCMOUSEMOVE() TQ3_ON_WM(WM_NCMOUSEMOVE, NcMouse, OnNcMouseMove)
#define ON_WM_NCHITTEST() TQ3_ON_WM(WM_NCHITTEST, NcHitTest, OnNcHitTest)
#define ON_WM_SHOWWINDOW() TQ3_ON_WM(WM_SHOWWINDOW, ShowWindow, OnShowWindow)
#define ON_WM_WINDOWPOSCHANGING() TQ3_ON_WM(WM_WINDOWPOSCHANGING, WindowPos, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() TQ3_ON_WM(WM_WINDOWPOSCHANGED, WindowPos, OnWindowPosChanged)
#define ON_WM_ACTIVATE() TQ3_ON_WM(WM_ACTIVATE, Activate, OnActivate)
#define ON_WM_ENABLE() TQ3_ON_WM(WM_ENABLE, Enable, OnEnable)
#define ON_WM_CANCELMODE() TQ3_ON_WM(WM_CANCELMODE, VoidNoArgs, OnCancelMode)
#define ON_WM_SYSCOMMAND() TQ3_ON_WM(WM_SYSCOMMAND, SysCommand, OnSysCommand)
