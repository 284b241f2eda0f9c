// The "tooltips_class32" class: a tip window that shows a tool's text after the
// pointer has rested on the tool.
//
// Sections: state; tools (finding, adding, removing); the text; showing and
// hiding; relayed input and the timers; the messages; the procedure.
//
// Call flow: the owner relays its mouse messages (TTM_RELAYEVENT -> OnRelay).
// A move onto a tool arms the show timer (Arm) with the initial delay, or the
// reshow delay when a tip was showing; the timer fires Show, which asks for the
// text (TextOf, TTN_GETDISPINFO for a callback tool), sizes and places the
// window, notifies TTN_SHOW and arms the autopop timer. While the pointer is on
// a tool, a watch timer looks where the pointer is, so a tip goes when the
// pointer leaves the owner's windows too, where no move is relayed. A press, the
// autopop timer, TTM_POP, deactivation or leaving the tool hides the tip (Hide,
// TTN_POP). Notifications go out last in each handler: the owner may destroy the
// tip window in answer.
#include <algorithm>
#include <string>
#include <vector>

#include "framework/controls/controls_internal.h"
#include "framework/controls/tooltip.h"
#include "framework/core/geometry.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/resources.h"

namespace tq3::fw::controls {

namespace {

// ============================================================================
// State
// ============================================================================

struct Tool {
    UINT flags = 0;              // TTF_*
    HWND hwnd = nullptr;         // the window holding the tool; it hears TTN_*
    UINT_PTR id = 0;             // the tool's id, or its window with TTF_IDISHWND
    RECT rect{0, 0, 0, 0};       // in hwnd's client coordinates, without TTF_IDISHWND
    HINSTANCE inst = nullptr;    // where `textId` is loaded from
    UINT textId = 0;             // a string resource id, when not 0
    bool callback = false;       // the text is asked for with TTN_GETDISPINFO
    std::u16string text;         // the text given directly
    LPARAM lParam = 0;           // handed back in TTN_GETDISPINFO
};

struct TipState {
    std::vector<Tool> tools;   // in the order they were added
    bool active = true;        // TTM_ACTIVATE; an inactive tip ignores relayed input
    UINT initial = 0;          // ms the pointer rests before the first tip (0: not yet set)
    UINT autopop = 0;          // ms a tip stays
    UINT reshow = 0;           // ms from one tool's tip to the next one's
    int current = -1;          // index of the tool under the pointer, -1 for none
    bool shown = false;        // the tip window shows `current`'s text
    bool suppressed = false;   // a press or the autopop hid the tip; it waits for another tool
    POINT rest{0, 0};          // the last relayed pointer position, screen coordinates
    HFONT font = nullptr;      // from WM_SETFONT; null draws with the dialog font
    std::u16string shownText;  // what the window shows
};

// Timer ids on the tip window.
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kAutopopTimer = 2;
constexpr UINT_PTR kWatchTimer = 3;
// How often the pointer is looked for while it is on a tool.
constexpr UINT kWatchPeriod = 100;
// The tip's text sits this far inside its one-pixel frame.
constexpr int kMarginX = 3;
constexpr int kMarginY = 1;
// How far below the pointer's hot spot a tip starts: clear of the arrow's image.
constexpr int kBelowPointer = 20;
// The longest text a tool's resource string or callback answer gives.
constexpr int kMaxText = 1024;

UINT DefaultDelay(WPARAM which) {
    UINT base = GetDoubleClickTime();
    switch (which) {
        case TTDT_AUTOPOP: return base * 10;
        case TTDT_RESHOW: return base / 5;
        default: return base;
    }
}

void SetDefaultDelays(TipState* st) {
    st->initial = DefaultDelay(TTDT_INITIAL);
    st->autopop = DefaultDelay(TTDT_AUTOPOP);
    st->reshow = DefaultDelay(TTDT_RESHOW);
}

// ============================================================================
// Tools
// ============================================================================

bool Same(const Tool& tool, HWND hwnd, UINT_PTR id) { return tool.hwnd == hwnd && tool.id == id; }

int FindTool(const TipState& st, const TOOLINFOW* info) {
    if (info == nullptr) return -1;
    for (size_t i = 0; i < st.tools.size(); ++i) {
        if (Same(st.tools[i], info->hwnd, info->uId)) return static_cast<int>(i);
    }
    return -1;
}

// Whether the pointer at `screen`, over the window `under`, is on the tool.
bool PointOnTool(const Tool& tool, HWND under, POINT screen) {
    if (tool.flags & TTF_IDISHWND) {
        auto window = reinterpret_cast<HWND>(tool.id);
        return under == window && IsWindowVisible(window);
    }
    if (under != tool.hwnd) return false;
    POINT client = screen;
    ScreenToClient(tool.hwnd, &client);
    return PtInRect(&tool.rect, client) != FALSE;
}

int ToolAt(const TipState& st, POINT screen) {
    HWND under = WindowFromPoint(screen);
    if (under == nullptr) return -1;
    for (size_t i = 0; i < st.tools.size(); ++i) {
        if (PointOnTool(st.tools[i], under, screen)) return static_cast<int>(i);
    }
    return -1;
}

// Fills the text fields of `tool` from what the caller gave.
void SetToolText(Tool* tool, HINSTANCE inst, LPWSTR text) {
    tool->callback = text == LPSTR_TEXTCALLBACKW;
    tool->textId = 0;
    tool->inst = inst;
    tool->text.clear();
    if (tool->callback || text == nullptr) return;
    if (IS_INTRESOURCE(text)) {
        tool->textId = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text));
        return;
    }
    tool->text = text;
}

LRESULT AddTool(TipState* st, const TOOLINFOW* info) {
    if (info == nullptr || info->cbSize < TTTOOLINFOW_V2_SIZE) return FALSE;
    if (FindTool(*st, info) >= 0) return FALSE;
    Tool tool;
    tool.flags = info->uFlags;
    tool.hwnd = info->hwnd;
    tool.id = info->uId;
    tool.rect = info->rect;
    tool.lParam = info->lParam;
    SetToolText(&tool, info->hinst, info->lpszText);
    st->tools.push_back(std::move(tool));
    return TRUE;
}

// ============================================================================
// The text
// ============================================================================

std::u16string LoadText(HINSTANCE inst, UINT id) {
    WCHAR buffer[kMaxText] = {};
    int length = LoadStringW(inst, id, buffer, kMaxText);
    return std::u16string(buffer, static_cast<size_t>(std::max(length, 0)));
}

// Asks the tool's window for the text of a callback tool.
std::u16string AskText(HWND tip, const Tool& tool) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = tip;
    info.hdr.idFrom = tool.id;
    info.hdr.code = TTN_GETDISPINFOW;
    info.uFlags = tool.flags;
    info.lParam = tool.lParam;
    if (tool.hwnd != nullptr) SendMessageW(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&info));
    if (info.lpszText == nullptr || info.lpszText == LPSTR_TEXTCALLBACKW) {
        info.szText[79] = 0;
        return info.szText;
    }
    if (IS_INTRESOURCE(info.lpszText)) {
        return LoadText(info.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(info.lpszText)));
    }
    std::u16string text;
    for (const WCHAR* p = info.lpszText; *p != 0 && text.size() < kMaxText; ++p) text.push_back(*p);
    return text;
}

std::u16string TextOf(HWND tip, const Tool& tool) {
    if (tool.callback) return AskText(tip, tool);
    if (tool.textId != 0) return LoadText(tool.inst, tool.textId);
    return tool.text;
}

// ============================================================================
// Showing and hiding
// ============================================================================

void Notify(HWND tip, const Tool& tool, UINT code) {
    if (tool.hwnd == nullptr) return;
    NMHDR hdr{tip, tool.id, code};
    SendMessageW(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&hdr));
}

SIZE TipSize(HWND tip, const TipState& st) {
    SIZE text{0, 0};
    HDC dc = GetDC(tip);
    if (dc != nullptr) {
        HGDIOBJ old = SelectObject(dc, FontOrDefault(st.font));
        GetTextExtentPoint32W(dc, st.shownText.c_str(), static_cast<int>(st.shownText.size()), &text);
        SelectObject(dc, old);
        ReleaseDC(tip, dc);
    }
    return SIZE{text.cx + 2 * (kMarginX + 1), text.cy + 2 * (kMarginY + 1)};
}

// Below the pointer, or centred below the tool with TTF_CENTERTIP; kept on the screen.
POINT TipPlace(const TipState& st, const Tool& tool, SIZE size) {
    POINT at{st.rest.x, st.rest.y + kBelowPointer};
    if (tool.flags & TTF_CENTERTIP) {
        RECT r = tool.rect;
        if (tool.flags & TTF_IDISHWND) {
            GetWindowRect(reinterpret_cast<HWND>(tool.id), &r);
        } else {
            MapWindowPoints(tool.hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
        }
        at = POINT{(r.left + r.right - size.cx) / 2, r.bottom + 2};
    }
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    at.x = std::max(0, std::min<int>(at.x, width - size.cx));
    if (at.y + size.cy > height) at.y = st.rest.y - size.cy - 2;  // above the pointer instead
    at.y = std::max<int>(at.y, 0);
    return at;
}

void Hide(HWND tip, TipState* st) {
    KillTimer(tip, kAutopopTimer);
    if (!st->shown) return;
    st->shown = false;
    ShowWindow(tip, SW_HIDE);
    if (st->current >= 0) Notify(tip, st->tools[static_cast<size_t>(st->current)], TTN_POP);
}

// The pointer is on no tool any more.
void Leave(HWND tip, TipState* st) {
    KillTimer(tip, kShowTimer);
    KillTimer(tip, kWatchTimer);
    st->suppressed = false;
    Hide(tip, st);
    st->current = -1;
}

void Show(HWND tip, TipState* st) {
    KillTimer(tip, kShowTimer);
    if (st->current < 0 || !st->active) return;
    const Tool tool = st->tools[static_cast<size_t>(st->current)];
    std::u16string text = TextOf(tip, tool);
    st = StateOf<TipState>(tip);  // the tool's window was asked; it may have destroyed us
    if (st == nullptr || text.empty()) return;
    st->shownText = std::move(text);
    SIZE size = TipSize(tip, *st);
    POINT at = TipPlace(*st, tool, size);
    st->shown = true;
    SetWindowPos(tip, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(tip, nullptr, TRUE);
    if (st->autopop > 0) SetTimer(tip, kAutopopTimer, st->autopop, nullptr);
    Notify(tip, tool, TTN_SHOW);
}

void Paint(HWND tip, HDC dc, const TipState& st) {
    RECT rc;
    GetClientRect(tip, &rc);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    HGDIOBJ old = SelectObject(dc, FontOrDefault(st.font));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SetBkMode(dc, TRANSPARENT);
    RECT text = rc;
    InflateRect(&text, -(kMarginX + 1), -(kMarginY + 1));
    DrawTextW(dc, st.shownText.c_str(), static_cast<int>(st.shownText.size()), &text,
              DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
    SelectObject(dc, old);
}

// ============================================================================
// Relayed input and the timers
// ============================================================================

// The pointer moved to `screen`: arm the show timer when it came onto a tool or
// rests anew on one whose tip is not showing yet.
void OnPointer(HWND tip, TipState* st, POINT screen) {
    int tool = ToolAt(*st, screen);
    if (tool < 0) {
        if (st->current >= 0) Leave(tip, st);
        return;
    }
    bool moved = screen.x != st->rest.x || screen.y != st->rest.y;
    st->rest = screen;
    if (tool == st->current) {
        // Resting anew restarts the wait; a tip that shows stays where it is.
        if (!st->shown && !st->suppressed && moved) SetTimer(tip, kShowTimer, st->initial, nullptr);
        return;
    }
    bool wasShown = st->shown;
    Hide(tip, st);
    if ((st = StateOf<TipState>(tip)) == nullptr) return;
    st->current = tool;
    st->suppressed = false;
    SetTimer(tip, kShowTimer, wasShown ? st->reshow : st->initial, nullptr);
    SetTimer(tip, kWatchTimer, kWatchPeriod, nullptr);
}

// A press hides the tip; it comes back only on another tool.
void OnPress(HWND tip, TipState* st) {
    KillTimer(tip, kShowTimer);
    st->suppressed = st->current >= 0;
    Hide(tip, st);
}

LRESULT OnRelay(HWND tip, TipState* st, const MSG* msg) {
    if (msg == nullptr || !st->active) return 0;
    POINT screen{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
    switch (msg->message) {
        case WM_MOUSEMOVE:
            ClientToScreen(msg->hwnd, &screen);
            OnPointer(tip, st, screen);
            return 0;
        case WM_NCMOUSEMOVE: OnPointer(tip, st, screen); return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN: OnPress(tip, st); return 0;
        default: return 0;
    }
}

// Whether the pointer is still on the current tool.
void Watch(HWND tip, TipState* st) {
    POINT screen{0, 0};
    GetCursorPos(&screen);
    if (st->current < 0 || ToolAt(*st, screen) != st->current) Leave(tip, st);
}

LRESULT OnTimer(HWND tip, TipState* st, UINT_PTR id) {
    switch (id) {
        case kShowTimer: Show(tip, st); break;
        case kAutopopTimer:
            st->suppressed = true;
            Hide(tip, st);
            break;
        case kWatchTimer: Watch(tip, st); break;
        default: break;
    }
    return 0;
}

// ============================================================================
// The messages
// ============================================================================

LRESULT SetDelay(TipState* st, WPARAM which, LPARAM lParam) {
    int value = static_cast<int>(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lParam))));
    bool reset = value < 0;
    UINT ms = reset ? DefaultDelay(which) : static_cast<UINT>(value);
    switch (which) {
        case TTDT_INITIAL: st->initial = ms; break;
        case TTDT_AUTOPOP: st->autopop = ms; break;
        case TTDT_RESHOW: st->reshow = ms; break;
        case TTDT_AUTOMATIC:
            if (reset) {
                SetDefaultDelays(st);
            } else {
                st->initial = ms;
                st->autopop = ms * 10;
                st->reshow = ms / 5;
            }
            break;
        default: break;
    }
    return 0;
}

LRESULT GetDelay(const TipState& st, WPARAM which) {
    switch (which) {
        case TTDT_AUTOPOP: return st.autopop;
        case TTDT_RESHOW: return st.reshow;
        default: return st.initial;
    }
}

LRESULT DelTool(HWND tip, TipState* st, const TOOLINFOW* info) {
    int index = FindTool(*st, info);
    if (index < 0) return 0;
    if (index == st->current) Leave(tip, st);
    if ((st = StateOf<TipState>(tip)) == nullptr) return 0;
    if (st->current > index) --st->current;
    st->tools.erase(st->tools.begin() + index);
    return 0;
}

LRESULT NewToolRect(TipState* st, const TOOLINFOW* info) {
    int index = FindTool(*st, info);
    if (index >= 0) st->tools[static_cast<size_t>(index)].rect = info->rect;
    return 0;
}

LRESULT UpdateText(HWND tip, TipState* st, const TOOLINFOW* info) {
    int index = FindTool(*st, info);
    if (index < 0) return 0;
    SetToolText(&st->tools[static_cast<size_t>(index)], info->hinst, info->lpszText);
    if (index == st->current && st->shown) {
        st->shownText = TextOf(tip, st->tools[static_cast<size_t>(index)]);
        InvalidateRect(tip, nullptr, TRUE);
    }
    return 0;
}

// TTM_GETTEXT: copies the tool's text into lpszText (wParam code units with the
// zero; the platform's old form, wParam 0, assumes 80).
LRESULT GetText(HWND tip, TipState* st, WPARAM size, TOOLINFOW* info) {
    int index = FindTool(*st, info);
    if (index < 0 || info->lpszText == nullptr || IS_INTRESOURCE(info->lpszText)) return 0;
    std::u16string text = TextOf(tip, st->tools[static_cast<size_t>(index)]);
    size_t room = size != 0 ? size : 80;
    size_t count = std::min(text.size(), room - 1);
    std::copy_n(text.begin(), count, info->lpszText);
    info->lpszText[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT Activate(HWND tip, TipState* st, bool active) {
    st->active = active;
    if (!active) Leave(tip, st);
    return 0;
}

LRESULT OnPaint(HWND tip, const TipState& st) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(tip, &ps);
    if (dc != nullptr) Paint(tip, dc, st);
    EndPaint(tip, &ps);
    return 0;
}

LRESULT OnToolMessage(HWND tip, TipState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<TOOLINFOW*>(lParam);
    switch (message) {
        case TTM_ADDTOOLW: return AddTool(st, info);
        case TTM_DELTOOLW: return DelTool(tip, st, info);
        case TTM_NEWTOOLRECTW: return NewToolRect(st, info);
        case TTM_UPDATETIPTEXTW: return UpdateText(tip, st, info);
        case TTM_GETTEXTW: return GetText(tip, st, wParam, info);
        case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(st->tools.size());
        default: return DefWindowProcW(tip, message, wParam, lParam);
    }
}

// ============================================================================
// The procedure
// ============================================================================

LRESULT Dispatch(HWND tip, TipState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            SetDefaultDelays(st);
            return DefWindowProcW(tip, message, wParam, lParam);
        case WM_NCHITTEST: return HTTRANSPARENT;  // the pointer goes to what lies beneath
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_ERASEBKGND: return TRUE;
        case WM_PAINT: return OnPaint(tip, *st);
        case WM_SETFONT: return SetFont(tip, &st->font, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_TIMER: return OnTimer(tip, st, wParam);
        case TTM_ACTIVATE: return Activate(tip, st, wParam != 0);
        case TTM_RELAYEVENT: return OnRelay(tip, st, reinterpret_cast<const MSG*>(lParam));
        case TTM_SETDELAYTIME: return SetDelay(st, wParam, lParam);
        case TTM_GETDELAYTIME: return GetDelay(*st, wParam);
        case TTM_POP:
            KillTimer(tip, kShowTimer);
            Hide(tip, st);
            return 0;
        default: return OnToolMessage(tip, st, message, wParam, lParam);
    }
}

}  // namespace

LRESULT ToolTipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlProc<TipState, Dispatch>(hwnd, message, wParam, lParam);
}

}  // namespace tq3::fw::controls
