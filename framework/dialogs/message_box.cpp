// MessageBoxW: the box's buttons and layout. The box is a dialog laid out in
// pixels rather than from a template: it has the dialog class, the dialog
// keyboard (Enter, Escape, Tab and arrows, mnemonics with or without Alt) and
// the modal loop of every dialog.
//
// Call flow: MessageBoxW -> ModalOwner -> ButtonsOf -> Measure (text wrapped by
// DrawText, buttons, caption) -> CreateBox (dialog window, icon, text, buttons)
// -> owner disabled -> RunModalLoop (-> BoxProc -> Choose -> EndDialog) -> owner
// enabled -> box destroyed -> owner activated.
#include "framework/dialogs/message_box.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "framework/controls/button.h"
#include "framework/controls/static_control.h"
#include "framework/core/geometry.h"
#include "framework/dialogs/dialogs_internal.h"
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
    // In the user-interface language, as the system's own buttons are.
    const tq3::fw::dialogs::SystemTexts& t = tq3::fw::dialogs::TextsForThread();
    const ButtonDef ok{IDOK, t.ok}, cancel{IDCANCEL, t.cancel}, yes{IDYES, t.yes}, no{IDNO, t.no},
        retry{IDRETRY, t.retry}, abort{IDABORT, t.abort}, ignore{IDIGNORE, t.ignore}, tryAgain{IDTRYAGAIN, t.tryAgain},
        next{IDCONTINUE, t.continueLabel};
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

Box* BoxOf(HWND hwnd) { return reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, DWLP_USER)); }

void Choose(HWND hwnd, int id) {
    Box* box = BoxOf(hwnd);
    if (box == nullptr || box->done) return;
    if (id == IDCANCEL) id = CancelAnswer(*box);
    for (const ButtonDef& b : box->buttons) {
        if (b.id == id) {
            box->result = id;
            box->done = true;
            EndDialog(hwnd, id);
            return;
        }
    }
}

// The box's dialog procedure: presses of its buttons, and IDCANCEL from Escape
// or the close box, which the dialog class turns into commands.
INT_PTR BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND || HIWORD(static_cast<DWORD_PTR>(wParam)) != BN_CLICKED) return FALSE;
    Choose(hwnd, LOWORD(static_cast<DWORD_PTR>(wParam)));
    return TRUE;
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
    RECT placed{at.x, at.y, at.x + size.cx, at.y + size.cy};
    HWND hwnd = tq3::fw::dialogs::CreateDialogWindow(exStyle, caption.c_str(), style, placed, owner, BoxProc,
                                                     reinterpret_cast<LPARAM>(box));
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
    if (ok) {
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageW(hwnd, DM_SETDEFID, static_cast<WPARAM>(box->buttons[preferred].id), 0);
    }
    return ok;
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
        if (box.buttons.empty()) return 0;
        std::u16string message = text != nullptr ? std::u16string(text) : std::u16string();
        std::u16string title = caption != nullptr ? std::u16string(caption) : std::u16string(tq3::fw::dialogs::TextsForThread().error);
        Session session;
        HWND safeOwner = tq3::fw::dialogs::ModalOwner(owner);
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
        tq3::fw::dialogs::RunModalLoop(session.box);
        return box.done ? box.result : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
