// Input: delivery of raw events, their conversion to messages, focus, capture,
// activation, keyboard state, the pointer and mouse tracking.
//
// Sections: delivery (asynchronous state); conversion (targets, WM_SETCURSOR,
// activation by click, double clicks); activation and focus; capture; keyboard
// state; the pointer; mouse tracking.
//
// Key and button state exists twice, as on the platform: the asynchronous state
// changes the moment an event is delivered (GetAsyncKeyState); the synchronous
// state changes as each input message is retrieved (GetKeyState), so a handler
// sees the keyboard as it was when its message happened.
#include <cstdlib>
#include <cstring>

#include "framework/gdi/sysmetrics.h"
#include "framework/window/wm_internal.h"

namespace tq3::fw::wm {

namespace {

int GenericKey(int vk) {
    switch (vk) {
        case VK_LSHIFT:
        case VK_RSHIFT: return VK_SHIFT;
        case VK_LCONTROL:
        case VK_RCONTROL: return VK_CONTROL;
        case VK_LMENU:
        case VK_RMENU: return VK_MENU;
        default: return vk;
    }
}

int SideKey(int vk, UINT scan, bool extended) {
    switch (vk) {
        case VK_SHIFT: return scan == 0x36 ? VK_RSHIFT : VK_LSHIFT;
        case VK_CONTROL: return extended ? VK_RCONTROL : VK_LCONTROL;
        case VK_MENU: return extended ? VK_RMENU : VK_LMENU;
        default: return vk;
    }
}

WORD MouseKeys(const BYTE* keys) {
    WORD mk = 0;
    if (keys[VK_LBUTTON] & 0x80) mk |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & 0x80) mk |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & 0x80) mk |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80) mk |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80) mk |= MK_CONTROL;
    return mk;
}

int ButtonKey(InputEvent::Button b) {
    switch (b) {
        case InputEvent::Button::Right: return VK_RBUTTON;
        case InputEvent::Button::Middle: return VK_MBUTTON;
        default: return VK_LBUTTON;
    }
}

void Press(BYTE* keys, int vk, bool down) {
    bool wasDown = (keys[vk] & 0x80) != 0;
    if (down) {
        keys[vk] |= 0x80;
        if (!wasDown) keys[vk] ^= 0x01;
    } else {
        keys[vk] &= static_cast<BYTE>(~0x80);
    }
}

}  // namespace

WORD CurrentMouseKeyFlags(const BYTE* keys) { return MouseKeys(keys); }

}  // namespace tq3::fw::wm

using namespace tq3::fw;
using namespace tq3::fw::wm;

// ============================================================================
// Delivery
// ============================================================================

namespace tq3::fw {

void DeliverInput(const InputEvent& event) {
    State& s = S();
    Backend& backend = CurrentBackend();
    QueuedInput q;
    q.event = event;
    q.time = backend.Now();
    q.msg.time = static_cast<DWORD>(q.time);
    switch (event.kind) {
        case InputEvent::Kind::KeyDown:
        case InputEvent::Kind::KeyUp: {
            bool down = event.kind == InputEvent::Kind::KeyDown;
            int vk = GenericKey(event.vk & 0xFF);
            UINT scan = event.scanCode ? event.scanCode : ScanCodeOf(event.vk & 0xFF);
            bool ext = event.extended || IsExtendedKey(event.vk & 0xFF);
            int side = (event.vk & 0xFF) != vk ? (event.vk & 0xFF) : SideKey(vk, scan, ext);
            bool wasDown = (s.asyncKeys[vk] & 0x80) != 0;
            Press(s.asyncKeys, vk, down);
            if (side != vk) Press(s.asyncKeys, side, down);
            bool alt = (s.asyncKeys[VK_MENU] & 0x80) != 0;
            bool ctrl = (s.asyncKeys[VK_CONTROL] & 0x80) != 0;
            bool sys = vk == VK_F10 || (vk == VK_MENU) || (alt && !ctrl);
            if (!down && vk == VK_MENU) sys = !ctrl;
            q.msg.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
            q.msg.wParam = static_cast<WPARAM>(vk);
            DWORD lp = 1u | ((scan & 0xFFu) << 16) | (ext ? (1u << 24) : 0u) | ((alt && !ctrl) ? (1u << 29) : 0u) |
                       (wasDown ? (1u << 30) : 0u) | (down ? 0u : (1u << 31));
            q.msg.lParam = static_cast<LPARAM>(lp);
            break;
        }
        case InputEvent::Kind::Char:
            q.msg.message = WM_CHAR;
            q.msg.wParam = event.ch;
            q.msg.lParam = 1;
            break;
        case InputEvent::Kind::ButtonDown:
        case InputEvent::Kind::ButtonUp:
            Press(s.asyncKeys, ButtonKey(event.button), event.kind == InputEvent::Kind::ButtonDown);
            s.cursorPos = event.pt;
            break;
        case InputEvent::Kind::MouseMove:
        case InputEvent::Kind::Wheel:
            s.cursorPos = event.pt;
            break;
    }
    q.msg.pt = s.cursorPos;
    q.mouseKeys = MouseKeys(s.asyncKeys);
    std::memcpy(q.keysAfter, s.asyncKeys, sizeof(q.keysAfter));
    try {
        s.input.push_back(q);
    } catch (const std::bad_alloc&) {
        // The event is lost, as real input is when a queue overflows.
    }
}

}  // namespace tq3::fw

namespace tq3::fw::wm {

void CommitInput(const QueuedInput& q) {
    std::memcpy(S().syncKeys, q.keysAfter, sizeof(S().syncKeys));
    // Alt held with another key is a chord, whichever window takes the key and
    // whether or not it passes the key on to DefWindowProc.
    if (q.event.kind == InputEvent::Kind::KeyDown && q.msg.wParam != static_cast<WPARAM>(VK_MENU)) EndAltAlone();
}

// ============================================================================
// Conversion
// ============================================================================

namespace {

UINT ButtonMessage(InputEvent::Button b, bool down, bool client) {
    UINT base;
    switch (b) {
        case InputEvent::Button::Right: base = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case InputEvent::Button::Middle: base = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: base = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
    }
    return client ? base : base - (WM_LBUTTONDOWN - WM_NCLBUTTONDOWN);
}

HWND KeyboardTarget(bool* sys) {
    State& s = S();
    *sys = false;
    if (FromHandle(s.focus) != nullptr) return s.focus;
    if (FromHandle(s.active) != nullptr) {
        // With no focus, keys go to the active window as system keys.
        *sys = true;
        return s.active;
    }
    return nullptr;
}

bool IsDoubleClick(const QueuedInput& q, UINT message, HWND target) {
    State& s = S();
    int cx = GetSystemMetrics(SM_CXDOUBLECLK);
    int cy = GetSystemMetrics(SM_CYDOUBLECLK);
    bool dbl = !s.lastClickWasDouble && s.lastClickMessage == message && s.lastClickWindow == target &&
               q.time - s.lastClickTime <= s.doubleClickTime &&
               std::abs(q.event.pt.x - s.lastClickPos.x) <= cx / 2 &&
               std::abs(q.event.pt.y - s.lastClickPos.y) <= cy / 2;
    s.lastClickMessage = message;
    s.lastClickWindow = target;
    s.lastClickTime = q.time;
    s.lastClickPos = q.event.pt;
    s.lastClickWasDouble = dbl;
    return dbl;
}

// A press in a child tells its parents (WM_PARENTNOTIFY), each with the point in
// its own client coordinates, up to the first one that opted out.
void NotifyParentsOfPress(Window* w, UINT message, POINT screen) {
    Window* child = w;
    while (IsChildStyle(child) && !(child->exStyle & WS_EX_NOPARENTNOTIFY)) {
        Window* p = child->parent;
        if (p == nullptr || p == S().desktopWindow) break;
        POINT o = ClientOriginOnScreen(p);
        HWND ph = p->handle;
        Send(p, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(message), 0),
             MAKELPARAM(static_cast<WORD>(screen.x - o.x), static_cast<WORD>(screen.y - o.y)));
        if (FromHandle(ph) == nullptr || FromHandle(child->handle) == nullptr) return;
        child = p;
    }
}

// A wheel turns in the window with the keyboard focus, wherever the pointer is.
bool ConvertWheel(QueuedInput& q) {
    const InputEvent& e = q.event;
    bool sys;
    HWND target = KeyboardTarget(&sys);
    if (target == nullptr) return false;
    q.msg.hwnd = target;
    q.msg.message = e.horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
    q.msg.wParam = MAKEWPARAM(q.mouseKeys, static_cast<WORD>(static_cast<SHORT>(e.delta)));
    q.msg.lParam = MAKELPARAM(static_cast<WORD>(e.pt.x), static_cast<WORD>(e.pt.y));
    return true;
}

// The window a pointer event goes to: the capture, or else the window under the
// pointer, with its hit-test code in `hit`. Null when the pointer is off the desktop.
Window* PointerTarget(const InputEvent& e, LRESULT* hit, bool* captured) {
    State& s = S();
    *hit = HTCLIENT;
    *captured = FromHandle(s.capture) != nullptr;
    if (*captured) return FromHandle(s.capture);
    Window* w = WindowAtPoint(e.pt, hit);
    // The pointer left the desktop (the interactive backend's window): a window
    // tracking it is told it left.
    if (w == nullptr && e.kind == InputEvent::Kind::MouseMove) CheckMouseTracking(nullptr, HTNOWHERE);
    return w;
}

// A press in a window that is not active asks it (WM_MOUSEACTIVATE) whether its
// top-level window becomes active and whether the press goes on. False when the
// press is eaten or the window died meanwhile.
bool ActivateByClick(Window* w, LRESULT hit, UINT probe) {
    State& s = S();
    HWND h = w->handle;
    Window* top = TopLevelOf(w);
    LRESULT r = Send(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                     MAKELPARAM(static_cast<WORD>(hit), static_cast<WORD>(probe)));
    if (FromHandle(h) == nullptr) return false;
    if ((r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT || r == 0) && top->handle != s.active && !top->dead)
        Activate(top, WA_CLICKACTIVE);
    if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return false;
    return FromHandle(h) != nullptr;
}

// The message of a move or a button: in the client area or the frame, and a
// double click when the press follows another close enough and the window takes
// them; the parents hear of a press in a child first. 0 when the window died.
UINT PointerMessage(QueuedInput& q, Window* w, LRESULT hit, bool client, bool captured) {
    const InputEvent& e = q.event;
    HWND h = w->handle;
    if (e.kind == InputEvent::Kind::MouseMove) {
        CheckMouseTracking(h, client ? HTCLIENT : hit);
        return client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    }
    bool down = e.kind == InputEvent::Kind::ButtonDown;
    UINT message = ButtonMessage(e.button, down, client);
    if (!down) return message;
    if (client && !captured) {
        NotifyParentsOfPress(w, message, e.pt);
        if (FromHandle(h) == nullptr) return 0;
    }
    bool wantsDouble = !client || (w->cls->style & CS_DBLCLKS);
    if (IsDoubleClick(q, message, h) && wantsDouble) message += 2;  // ...BUTTONDOWN -> ...BUTTONDBLCLK
    return message;
}

// Call flow: ConvertWheel, or ScrollTrackMouse during a scroll-bar drag, or
// PointerTarget -> (WM_SETCURSOR with HTERROR for a disabled window) ->
// ActivateByClick -> WM_SETCURSOR -> PointerMessage.
bool ConvertMouse(QueuedInput& q) {
    State& s = S();
    const InputEvent& e = q.event;
    if (e.kind == InputEvent::Kind::Wheel) return ConvertWheel(q);
    bool down = e.kind == InputEvent::Kind::ButtonDown;
    if (ScrollTrackActive()) {
        // A scroll-bar drag takes every mouse event until the button comes up.
        bool up = e.kind == InputEvent::Kind::ButtonUp;
        ScrollTrackMouse(down ? WM_LBUTTONDOWN : up ? WM_LBUTTONUP : WM_MOUSEMOVE, e.pt);
        return false;
    }
    LRESULT hit;
    bool captured;
    Window* w = PointerTarget(e, &hit, &captured);
    if (w == nullptr) return false;
    HWND h = w->handle;
    UINT probe = e.kind == InputEvent::Kind::MouseMove ? WM_MOUSEMOVE : ButtonMessage(e.button, down, true);
    if (!captured) {
        auto setCursor = [&](LRESULT code) {
            Send(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(static_cast<WORD>(code), static_cast<WORD>(probe)));
        };
        if (w->style & WS_DISABLED) {
            setCursor(HTERROR);  // a disabled window takes no pointer input
            return false;
        }
        if (down && h != s.active && !ActivateByClick(w, hit, probe)) return false;
        setCursor(hit);
        if (FromHandle(h) == nullptr) return false;
    }
    bool client = captured || hit == HTCLIENT;
    UINT message = PointerMessage(q, w, hit, client, captured);
    if (message == 0) return false;
    q.msg.hwnd = h;
    q.msg.message = message;
    if (client) {
        POINT o = ClientOriginOnScreen(w);
        q.msg.wParam = q.mouseKeys;
        q.msg.lParam = MAKELPARAM(static_cast<WORD>(e.pt.x - o.x), static_cast<WORD>(e.pt.y - o.y));
    } else {
        q.msg.wParam = static_cast<WPARAM>(hit);
        q.msg.lParam = MAKELPARAM(static_cast<WORD>(e.pt.x), static_cast<WORD>(e.pt.y));
    }
    return true;
}

}  // namespace

bool ConvertInput(QueuedInput& q) {
    CallScope scope;
    switch (q.event.kind) {
        case InputEvent::Kind::KeyDown:
        case InputEvent::Kind::KeyUp:
        case InputEvent::Kind::Char: {
            bool sys;
            HWND target = KeyboardTarget(&sys);
            if (target == nullptr) return false;
            // Composed text is for windows with an input context only.
            if (q.event.kind == InputEvent::Kind::Char && !AcceptsComposedText(target)) return false;
            q.msg.hwnd = target;
            if (sys) {
                if (q.msg.message == WM_KEYDOWN) q.msg.message = WM_SYSKEYDOWN;
                if (q.msg.message == WM_KEYUP) q.msg.message = WM_SYSKEYUP;
            }
            return true;
        }
        default:
            return ConvertMouse(q);
    }
}

// ============================================================================
// Activation and focus
// ============================================================================

void Activate(Window* top, WORD how) {
    State& s = S();
    HWND old = s.active;
    HWND next = top ? top->handle : nullptr;
    if (old == next) return;
    CallScope scope;
    s.active = next;
    if (Window* o = FromHandle(old)) {
        Send(o, WM_NCACTIVATE, FALSE, 0);
        if (Window* o2 = FromHandle(old))
            Send(o2, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (o2->style & WS_MINIMIZE) ? 1 : 0),
                 reinterpret_cast<LPARAM>(next));
    }
    if (s.active != next) return;  // a handler activated something else
    top = FromHandle(next);
    if (top != nullptr) {
        if (top->parent != nullptr && !top->parent->children.empty() && top->parent->children.front() != top)
            SetWindowPos(next, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if ((top = FromHandle(next)) != nullptr) Send(top, WM_NCACTIVATE, TRUE, 0);
        if ((top = FromHandle(next)) != nullptr)
            Send(top, WM_ACTIVATE, MAKEWPARAM(how, (top->style & WS_MINIMIZE) ? 1 : 0),
                 reinterpret_cast<LPARAM>(old));
    }
    // The focus lives in the active window or nowhere.
    top = FromHandle(next);
    if (s.focus != nullptr && (top == nullptr || !InTree(s.focus, top))) SetFocus(nullptr);
}

void FocusLost(Window* w) {
    State& s = S();
    if (s.capture != nullptr && InTree(s.capture, w)) ReleaseCapture();
    if (s.focus != nullptr && InTree(s.focus, w)) {
        Window* p = IsChildStyle(w) ? w->parent : nullptr;
        if (p != nullptr && !p->destroying && p != s.desktopWindow)
            SetFocus(p->handle);
        else
            SetFocus(nullptr);
    }
}

void ReleaseCaptureOf(Window* w) {
    if (S().capture == w->handle) ReleaseCapture();
}

}  // namespace tq3::fw::wm

HWND GetActiveWindow() { return FromHandle(S().active) ? S().active : nullptr; }
HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetActiveWindow(HWND hwnd) {
    HWND old = GetActiveWindow();
    if (hwnd == nullptr) {
        Activate(nullptr, WA_ACTIVE);
        return old;
    }
    Window* w = FromHandle(hwnd);
    if (w == nullptr || IsChildStyle(w)) return nullptr;
    Activate(TopLevelOf(w), WA_ACTIVE);
    return old;
}

BOOL SetForegroundWindow(HWND hwnd) {
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return FALSE;
    Activate(TopLevelOf(w), WA_ACTIVE);
    return TRUE;
}

HWND SetFocus(HWND hwnd) {
    State& s = S();
    CallScope scope;
    HWND old = FromHandle(s.focus) ? s.focus : nullptr;
    if (hwnd == nullptr) {
        s.focus = nullptr;
        SyncTextInput();
        if (old != nullptr) Send(FromHandle(old), WM_KILLFOCUS, 0, 0);
        return old;
    }
    Window* w = FromHandle(hwnd);
    if (w == nullptr) return nullptr;
    Window* top = TopLevelOf(w);
    if (top->handle != s.active) {
        Activate(top, WA_ACTIVE);
        if (FromHandle(hwnd) == nullptr) return nullptr;
        old = FromHandle(s.focus) ? s.focus : nullptr;
    }
    if (old == hwnd) return old;
    s.focus = hwnd;
    SyncTextInput();
    if (old != nullptr) Send(FromHandle(old), WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (s.focus != hwnd || FromHandle(hwnd) == nullptr) return old;
    Send(FromHandle(hwnd), WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus() { return FromHandle(S().focus) ? S().focus : nullptr; }

// ============================================================================
// Capture
// ============================================================================

HWND SetCapture(HWND hwnd) {
    State& s = S();
    HWND old = FromHandle(s.capture) ? s.capture : nullptr;
    if (FromHandle(hwnd) == nullptr) return old;
    s.capture = hwnd;
    if (old != nullptr && old != hwnd) {
        CallScope scope;
        Send(FromHandle(old), WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    }
    return old;
}

BOOL ReleaseCapture() {
    State& s = S();
    HWND old = FromHandle(s.capture) ? s.capture : nullptr;
    s.capture = nullptr;
    if (old != nullptr) {
        CallScope scope;
        Send(FromHandle(old), WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND GetCapture() { return FromHandle(S().capture) ? S().capture : nullptr; }

// ============================================================================
// Keyboard state
// ============================================================================

namespace tq3::fw {

void SetKeyToggle(int vk, bool on) {
    if (vk <= 0 || vk > 255) return;
    State& s = S();
    auto apply = [&](BYTE& k) { k = static_cast<BYTE>(on ? (k | 0x01) : (k & ~0x01)); };
    apply(s.asyncKeys[vk]);
    // With no input in flight, the state a handler reads is the same.
    if (s.input.empty()) apply(s.syncKeys[vk]);
}

}  // namespace tq3::fw

SHORT GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    BYTE k = S().syncKeys[virtualKey];
    return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    BYTE k = S().asyncKeys[virtualKey];
    return static_cast<SHORT>((k & 0x80) ? 0x8000 : 0);
}

BOOL MessageBeep(UINT type) {
    CurrentBackend().Beep(type);
    return TRUE;
}

BOOL GetKeyboardState(BYTE* keyState256) {
    if (keyState256 == nullptr) return FALSE;
    std::memcpy(keyState256, S().syncKeys, 256);
    return TRUE;
}

UINT MapVirtualKeyW(UINT code, UINT mapType) {
    switch (mapType) {
        case MAPVK_VK_TO_VSC:
            return code < 256 ? ScanCodeOf(static_cast<int>(code)) : 0;
        case MAPVK_VSC_TO_VK:
            return static_cast<UINT>(GenericKey(VirtualKeyOfScan(code)));
        case MAPVK_VSC_TO_VK_EX:
            return static_cast<UINT>(VirtualKeyOfScan(code));
        case MAPVK_VK_TO_CHAR: {
            if (code >= 256) return 0;
            BYTE none[256]{};
            WCHAR c = CharForKey(static_cast<int>(code), none);
            if (c >= u'a' && c <= u'z') c = static_cast<WCHAR>(c - 32);
            return c;
        }
        default:
            return 0;
    }
}

// ============================================================================
// The pointer
// ============================================================================

BOOL GetCursorPos(LPPOINT point) {
    if (point == nullptr) return FALSE;
    CurrentBackend();
    *point = S().cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    InputEvent e;
    e.kind = InputEvent::Kind::MouseMove;
    e.pt = POINT{x, y};
    DeliverInput(e);
    return TRUE;
}

UINT GetDoubleClickTime() { return S().doubleClickTime; }

BOOL SetDoubleClickTime(UINT milliseconds) {
    S().doubleClickTime = milliseconds == 0 ? 500 : milliseconds;
    return TRUE;
}

// ============================================================================
// Mouse tracking
// ============================================================================

namespace tq3::fw::wm {

void CheckMouseTracking(HWND under, LRESULT hit) {
    State& s = S();
    if (s.trackWindow == nullptr || s.trackFlags == 0) return;
    bool nonClient = (s.trackFlags & TME_NONCLIENT) != 0;
    bool inside = under == s.trackWindow && ((hit == HTCLIENT) != nonClient);
    if (!inside) {
        HWND h = s.trackWindow;
        DWORD flags = s.trackFlags;
        s.trackWindow = nullptr;
        s.trackFlags = 0;
        KillSystemTimer(h, kHoverTimerId);
        if (flags & TME_LEAVE) PostMessageW(h, nonClient ? 0x02A2u : WM_MOUSELEAVE, 0, 0);
        return;
    }
    if (s.trackFlags & TME_HOVER) {
        // Small movements keep the hover clock running; larger ones restart it.
        if (std::abs(s.cursorPos.x - s.hoverPos.x) > 2 || std::abs(s.cursorPos.y - s.hoverPos.y) > 2) {
            s.hoverPos = s.cursorPos;
            SetSystemTimer(s.trackWindow, kHoverTimerId, s.hoverTime);
        }
    }
}

void PostMouseHover() {
    State& s = S();
    KillSystemTimer(s.trackWindow, kHoverTimerId);
    if (!(s.trackFlags & TME_HOVER)) return;
    Window* w = FromHandle(s.trackWindow);
    if (w == nullptr) return;
    s.trackFlags &= ~TME_HOVER;
    POINT o = ClientOriginOnScreen(w);
    PostMessageW(w->handle, WM_MOUSEHOVER, CurrentMouseKeyFlags(s.asyncKeys),
                 MAKELPARAM(static_cast<WORD>(s.cursorPos.x - o.x), static_cast<WORD>(s.cursorPos.y - o.y)));
}

}  // namespace tq3::fw::wm

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    State& s = S();
    if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
    if (track->dwFlags & TME_QUERY) {
        track->dwFlags = s.trackWindow ? s.trackFlags : 0;
        track->hwndTrack = s.trackWindow;
        track->dwHoverTime = s.hoverTime;
        return TRUE;
    }
    Window* w = FromHandle(track->hwndTrack);
    if (w == nullptr) return FALSE;
    if (track->dwFlags & TME_CANCEL) {
        if (s.trackWindow == track->hwndTrack) {
            s.trackFlags &= ~(track->dwFlags & (TME_HOVER | TME_LEAVE));
            if (!(s.trackFlags & TME_HOVER)) KillSystemTimer(s.trackWindow, kHoverTimerId);
            if ((s.trackFlags & (TME_HOVER | TME_LEAVE)) == 0) s.trackWindow = nullptr;
        }
        return TRUE;
    }
    LRESULT hit;
    Window* under = WindowAtPoint(s.cursorPos, &hit);
    bool nonClient = (track->dwFlags & TME_NONCLIENT) != 0;
    bool inside = under == w && ((hit == HTCLIENT) != nonClient);
    if (!inside) {
        // The pointer is already elsewhere: the leave is reported at once.
        if (track->dwFlags & TME_LEAVE) PostMessageW(w->handle, nonClient ? 0x02A2u : WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    if (s.trackWindow != w->handle) s.trackFlags = 0;
    s.trackWindow = w->handle;
    s.trackFlags |= track->dwFlags & (TME_HOVER | TME_LEAVE | TME_NONCLIENT);
    if (track->dwFlags & TME_HOVER) {
        s.hoverTime = track->dwHoverTime == HOVER_DEFAULT ? 400 : track->dwHoverTime;
        s.hoverPos = s.cursorPos;
        SetSystemTimer(w->handle, kHoverTimerId, s.hoverTime);
    }
    return TRUE;
}
