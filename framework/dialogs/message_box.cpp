// MessageBoxW: the box's buttons and layout, its window class "#32770", the
// keyboard of a dialog (Enter, Escape, Tab and arrows, mnemonics with or without
// Alt) and the modal loop.
//
// Call flow: MessageBoxW -> SafeOwner -> ButtonsOf -> Measure (text wrapped by
// DrawText, buttons, caption) -> CreateBox (window, icon, text, buttons) -> owner
// disabled -> RunModal (GetMessage -> DialogKey or Translate/Dispatch ->
// BoxProc -> Choose) -> owner enabled -> box destroyed -> owner activated.
#include "framework/dialogs/message_box.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "framework/controls/button.h"
#include "framework/controls/static_control.h"
#include "framework/core/geometry.h"
#include "framework/dialogs/system_icons.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/window/winuser.h"

namespace {

// ============================================================================
// Buttons and layout
// ============================================================================

constexpr WCHAR kClassName[] = u"#32770";
// Control ids the box gives its icon and its text.
constexpr int kIconId = 20;
constexpr int kTextId = 0xFFFF;

constexpr int kMargin = 12;         // around everything
constexpr int kIconGap = 12;        // between the icon and the text
constexpr int kButtonWidth = 75;    // at least; wider when the text needs it
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kButtonPadding = 16;  // text to button edges, both sides together

struct ButtonDef {
    int id;
    const WCHAR* text;
};

struct Box {
    UINT type = 0;
    std::vector<ButtonDef> buttons;
    int result = 0;
    bool done = false;
};

// The buttons of a button set, in order; empty for an unknown set.
std::vector<ButtonDef> ButtonsOf(UINT type) {
    const ButtonDef ok{IDOK, u"OK"}, cancel{IDCANCEL, u"Cancel"}, yes{IDYES, u"&Yes"}, no{IDNO, u"&No"},
        retry{IDRETRY, u"&Retry"}, abort{IDABORT, u"&Abort"}, ignore{IDIGNORE, u"&Ignore"},
        tryAgain{IDTRYAGAIN, u"&Try Again"}, next{IDCONTINUE, u"&Continue"};
    switch (type & MB_TYPEMASK) {
        case MB_OK: return {ok};
        case MB_OKCANCEL: return {ok, cancel};
        case MB_ABORTRETRYIGNORE: return {abort, retry, ignore};
        case MB_YESNOCANCEL: return {yes, no, cancel};
        case MB_YESNO: return {yes, no};
        case MB_RETRYCANCEL: return {retry, cancel};
        case MB_CANCELTRYCONTINUE: return {cancel, tryAgain, next};
        default: return {};
    }
}

LPCWSTR IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND: return IDI_HAND;
        case MB_ICONQUESTION: return IDI_QUESTION;
        case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
        case MB_ICONASTERISK: return IDI_ASTERISK;
        default: return nullptr;
    }
}

// What Escape and the close box mean: Cancel when there is one, OK when it is
// the only button, nothing otherwise.
int CancelAnswer(const Box& box) {
    for (const ButtonDef& b : box.buttons) {
        if (b.id == IDCANCEL) return IDCANCEL;
    }
    return (box.type & MB_TYPEMASK) == MB_OK ? IDOK : 0;
}

// Sizes of everything, in client coordinates of the box.
struct Layout {
    SIZE client{0, 0};
    RECT icon{0, 0, 0, 0};
    RECT text{0, 0, 0, 0};
    std::vector<RECT> buttons;
};

UINT TextFormat() { return DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX; }

Layout Measure(HFONT font, const std::u16string& text, const std::u16string& caption, const Box& box, bool icon) {
    Layout out;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    // Lines break at three fifths of the screen, as a readable measure.
    int maxText = std::max(160, GetSystemMetrics(SM_CXSCREEN) * 3 / 5);
    RECT t{0, 0, maxText, 0};
    if (!text.empty()) DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t, TextFormat() | DT_CALCRECT);
    int buttonWidth = kButtonWidth;
    for (const ButtonDef& b : box.buttons) {
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, b.text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
        buttonWidth = std::max<int>(buttonWidth, r.right - r.left + kButtonPadding);
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    int captionWidth = 0;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        HFONT captionFont = CreateFontIndirectW(&metrics.lfCaptionFont);
        SelectObject(dc, captionFont);
        SIZE size{0, 0};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        captionWidth = size.cx + 2 * GetSystemMetrics(SM_CYCAPTION) + kMargin;
        SelectObject(dc, font);
        DeleteObject(captionFont);
    }
    SelectObject(dc, old);
    DeleteDC(dc);

    int iconSize = icon ? GetSystemMetrics(SM_CXICON) : 0;
    int textLeft = kMargin + (icon ? iconSize + kIconGap : 0);
    int textWidth = t.right - t.left;
    int textHeight = t.bottom - t.top;
    int contentHeight = std::max(iconSize, textHeight);
    int count = static_cast<int>(box.buttons.size());
    int rowWidth = count * buttonWidth + (count - 1) * kButtonGap;
    out.client.cx = std::max({textLeft + textWidth + kMargin, rowWidth + 2 * kMargin, captionWidth});
    out.client.cy = kMargin + contentHeight + kMargin + kButtonHeight + kMargin;
    if (icon) out.icon = RECT{kMargin, kMargin, kMargin + iconSize, kMargin + iconSize};
    // A short text sits level with the middle of the icon.
    int textTop = kMargin + (contentHeight - textHeight) / 2;
    out.text = RECT{textLeft, textTop, textLeft + textWidth, textTop + textHeight};
    int x = (out.client.cx - rowWidth) / 2;
    int y = kMargin + contentHeight + kMargin;
    for (int i = 0; i < count; ++i) {
        out.buttons.push_back(RECT{x, y, x + buttonWidth, y + kButtonHeight});
        x += buttonWidth + kButtonGap;
    }
    return out;
}

// ============================================================================
// The window
// ============================================================================

Box* BoxOf(HWND hwnd) { return reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, 0)); }

void Choose(Box* box, int id) {
    if (box == nullptr || box->done) return;
    if (id == IDCANCEL) id = CancelAnswer(*box);
    for (const ButtonDef& b : box->buttons) {
        if (b.id == id) {
            box->result = id;
            box->done = true;
            return;
        }
    }
}

LRESULT BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        case WM_COMMAND:
            // Presses of its buttons (or a menu-less command such as IDCANCEL).
            if (HIWORD(static_cast<DWORD_PTR>(wParam)) == BN_CLICKED) {
                Choose(BoxOf(hwnd), LOWORD(static_cast<DWORD_PTR>(wParam)));
            }
            return 0;
        case WM_CLOSE: Choose(BoxOf(hwnd), IDCANCEL); return 0;
        case WM_NCDESTROY: SetWindowLongPtrW(hwnd, 0, 0); return DefWindowProcW(hwnd, message, wParam, lParam);
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool RegisterBoxClass() {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = BoxProc;
    wc.cbWndExtra = static_cast<int>(sizeof(LONG_PTR));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_3DFACE + 1));
    wc.lpszClassName = kClassName;
    registered = RegisterClassW(&wc) != 0;
    return registered;
}

HWND Child(HWND box, LPCWSTR cls, LPCWSTR text, DWORD style, const RECT& r, int id, HFONT font) {
    HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                                 r.bottom - r.top, box, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(id)), nullptr,
                                 nullptr);
    if (child != nullptr) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// The box's top-left corner: centred over the owner, or the screen, and kept on it.
POINT Placement(HWND owner, SIZE size) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT over = area;
    if (owner != nullptr) GetWindowRect(owner, &over);
    POINT at{over.left + (over.right - over.left - size.cx) / 2, over.top + (over.bottom - over.top - size.cy) / 2};
    at.x = std::max<LONG>(area.left, std::min<LONG>(at.x, area.right - size.cx));
    at.y = std::max<LONG>(area.top, std::min<LONG>(at.y, area.bottom - size.cy));
    return at;
}

bool AddChildren(HWND hwnd, const Box* box, const Layout& layout, HICON icon, const std::u16string& text, HFONT font);

// The box with its icon, text and buttons, not yet shown; null on failure.
HWND CreateBox(HWND owner, Box* box, const std::u16string& text, const std::u16string& caption, HFONT font) {
    LPCWSTR iconName = IconOf(box->type);
    HICON icon = iconName != nullptr ? LoadIconW(nullptr, iconName) : nullptr;
    Layout layout = Measure(font, text, caption, *box, icon != nullptr);
    // Without a Cancel answer there is no close box either.
    DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | (CancelAnswer(*box) != 0 ? WS_SYSMENU : 0);
    DWORD exStyle = WS_EX_DLGMODALFRAME | ((box->type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0);
    RECT frame{0, 0, layout.client.cx, layout.client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    POINT at = Placement(owner, size);
    HWND hwnd = CreateWindowExW(exStyle, kClassName, caption.c_str(), style, at.x, at.y, size.cx, size.cy, owner,
                                nullptr, nullptr, box);
    if (hwnd == nullptr) return nullptr;
    try {
        if (AddChildren(hwnd, box, layout, icon, text, font)) return hwnd;
    } catch (const std::bad_alloc&) {
    }
    DestroyWindow(hwnd);
    return nullptr;
}

bool AddChildren(HWND hwnd, const Box* box, const Layout& layout, HICON icon, const std::u16string& text, HFONT font) {
    bool ok = true;
    if (icon != nullptr) {
        HWND iconStatic = Child(hwnd, WC_STATICW, u"", SS_ICON, layout.icon, kIconId, font);
        ok = iconStatic != nullptr;
        if (ok) SendMessageW(iconStatic, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    ok = ok && Child(hwnd, WC_STATICW, text.c_str(), SS_LEFT | SS_NOPREFIX | WS_GROUP, layout.text, kTextId, font);
    size_t preferred = (box->type & MB_DEFMASK) >> 8;
    if (preferred >= box->buttons.size()) preferred = 0;
    for (size_t i = 0; ok && i < box->buttons.size(); ++i) {
        DWORD kind = i == preferred ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        ok = Child(hwnd, WC_BUTTONW, box->buttons[i].text, kind | WS_TABSTOP | (i == 0 ? WS_GROUP : 0),
                   layout.buttons[i], box->buttons[i].id, font) != nullptr;
    }
    return ok;
}

// ============================================================================
// The keyboard of a dialog
// ============================================================================

bool IsPushButton(HWND hwnd) {
    LRESULT code = SendMessageW(hwnd, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

std::vector<HWND> ButtonWindows(HWND box, const Box& state) {
    std::vector<HWND> out;
    for (const ButtonDef& b : state.buttons) {
        if (HWND h = GetDlgItem(box, b.id)) out.push_back(h);
    }
    return out;
}

// The button Enter presses: the focused push button, else the default one.
HWND DefaultButton(HWND box, const Box& state) {
    HWND focus = GetFocus();
    if (focus != nullptr && GetParent(focus) == box && IsPushButton(focus)) return focus;
    for (HWND h : ButtonWindows(box, state)) {
        if (SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return h;
    }
    return nullptr;
}

// Tab and the arrows move the focus along the buttons, and the default ring
// goes with the focus.
void MoveFocus(HWND box, const Box& state, int step) {
    std::vector<HWND> buttons = ButtonWindows(box, state);
    if (buttons.empty()) return;
    auto n = static_cast<int>(buttons.size());
    auto it = std::find(buttons.begin(), buttons.end(), GetFocus());
    int from = it == buttons.end() ? 0 : static_cast<int>(it - buttons.begin());
    int to = it == buttons.end() ? 0 : ((from + step) % n + n) % n;
    for (HWND h : buttons) {
        if (h != buttons[static_cast<size_t>(to)] && (SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            SendMessageW(h, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    SendMessageW(buttons[static_cast<size_t>(to)], BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    SetFocus(buttons[static_cast<size_t>(to)]);
}

WCHAR Upper(WCHAR c) { return c >= u'a' && c <= u'z' ? static_cast<WCHAR>(c - u'a' + u'A') : c; }

// The button whose mnemonic ("&Yes": Y) is `ch`, or null.
HWND ButtonForMnemonic(HWND box, const Box& state, WCHAR ch) {
    for (const ButtonDef& b : state.buttons) {
        for (const WCHAR* p = b.text; *p != 0; ++p) {
            if (*p != u'&') continue;
            if (p[1] == u'&') {
                ++p;
                continue;
            }
            if (p[1] != 0 && Upper(p[1]) == Upper(ch)) return GetDlgItem(box, b.id);
            break;
        }
    }
    return nullptr;
}

// Handles the keys a dialog keeps for itself; false lets the message go on to
// its window.
bool DialogKey(HWND box, const Box& state, const MSG& msg) {
    if (msg.hwnd != box && !IsChild(box, msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
            case VK_RETURN: {
                HWND button = DefaultButton(box, state);
                if (button != nullptr) {
                    SendMessageW(box, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(button)), BN_CLICKED),
                                 reinterpret_cast<LPARAM>(button));
                }
                return true;
            }
            case VK_ESCAPE: SendMessageW(box, WM_COMMAND, IDCANCEL, 0); return true;
            case VK_TAB: MoveFocus(box, state, (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1); return true;
            case VK_LEFT:
            case VK_UP: MoveFocus(box, state, -1); return true;
            case VK_RIGHT:
            case VK_DOWN: MoveFocus(box, state, 1); return true;
            default: return false;
        }
    }
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
        HWND button = ButtonForMnemonic(box, state, static_cast<WCHAR>(msg.wParam));
        if (button == nullptr) return msg.message == WM_SYSCHAR;  // no menu to open: Alt+key is spent
        SendMessageW(button, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

// ============================================================================
// The modal loop
// ============================================================================

void RunModal(HWND box, Box* state) {
    while (!state->done && IsWindow(box)) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The application is quitting: the box ends unanswered and the quit
            // goes on to the loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got < 0) return;
        if (DialogKey(box, *state, msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The window the box belongs to: the top-level window of the one named, or of
// the active window when none is.
HWND SafeOwner(HWND named) {
    HWND from = named != nullptr ? named : GetActiveWindow();
    if (from == nullptr) return nullptr;
    HWND root = GetAncestor(from, GA_ROOT);
    return root != nullptr ? root : from;
}

HFONT MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace

namespace {

// What a shown box leaves behind, undone whichever way the box ends: the owner
// enabled again (when the box disabled it) before the box goes, so that the
// activation returns to it, then activated.
struct Session {
    HWND owner = nullptr;
    bool ownerDisabled = false;
    HWND box = nullptr;
    HFONT font = nullptr;
    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() {
        // Runs while an out-of-memory failure unwinds too: nothing may escape.
        try {
            if (ownerDisabled && IsWindow(owner)) EnableWindow(owner, TRUE);
            if (box != nullptr && IsWindow(box)) DestroyWindow(box);
            if (owner != nullptr && IsWindow(owner) && IsWindowVisible(owner)) SetActiveWindow(owner);
            if (font != nullptr) DeleteObject(font);
        } catch (const std::bad_alloc&) {
        }
    }
};

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if (owner != nullptr && !IsWindow(owner)) return 0;
    try {
        Box box;
        box.type = type;
        box.buttons = ButtonsOf(type);
        if (box.buttons.empty() || !RegisterBoxClass()) return 0;
        std::u16string message = text != nullptr ? std::u16string(text) : std::u16string();
        std::u16string title = caption != nullptr ? std::u16string(caption) : std::u16string(u"Error");
        Session session;
        HWND safeOwner = SafeOwner(owner);
        session.font = MessageFont();
        HFONT shown = session.font != nullptr ? session.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        session.box = CreateBox(safeOwner, &box, message, title, shown);
        if (session.box == nullptr) return 0;
        session.owner = safeOwner;
        // The owner takes no input while the box is up.
        session.ownerDisabled = safeOwner != nullptr && IsWindowEnabled(safeOwner);
        if (session.ownerDisabled) EnableWindow(safeOwner, FALSE);
        ShowWindow(session.box, SW_SHOW);
        if ((type & MB_NOFOCUS) == 0) {
            size_t preferred = (type & MB_DEFMASK) >> 8;
            if (preferred >= box.buttons.size()) preferred = 0;
            SetFocus(GetDlgItem(session.box, box.buttons[preferred].id));
        }
        RunModal(session.box, &box);
        return box.done ? box.result : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
