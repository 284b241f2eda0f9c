// Dialogs from templates: the font and its units, the window and its controls,
// WM_INITDIALOG and the first focus; the modal forms and their loop.
//
// Call flow: CreateDialogIndirectParamW -> Build (TemplateFont -> DialogBaseUnitsOf
// -> Frame -> CreateDialogWindow -> AddControls -> WM_INITDIALOG -> Show).
// DialogBoxIndirectParamW -> ModalOwner -> Build (hidden) -> owner disabled ->
// Show -> RunModalLoop (filter -> IsDialogMessageW) -> owner enabled -> dialog
// destroyed -> owner activated.
#include <algorithm>
#include <new>

#include "framework/controls/button.h"
#include "framework/core/failure_value.h"
#include "framework/dialogs/dialogs_internal.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "framework/system/resources.h"

namespace tq3::fw {
namespace {
ModalMessageFilter modalFilter = nullptr;
}

void SetModalMessageFilter(ModalMessageFilter filter) { modalFilter = filter; }

SIZE DialogBaseUnitsOf(HFONT font) {
    static constexpr WCHAR kLetters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE units{0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return units;
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{0, 0};
    TEXTMETRICW metrics{};
    if (GetTextExtentPoint32W(dc, kLetters, 52, &extent) && GetTextMetricsW(dc, &metrics)) {
        // The average letter width, rounded to the nearest pixel.
        units.cx = (extent.cx / 26 + 1) / 2;
        units.cy = metrics.tmHeight;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return units;
}

}  // namespace tq3::fw

namespace tq3::fw::dialogs {
namespace {

RECT MapUnits(SIZE units, int x, int y, int cx, int cy) {
    return RECT{MulDiv(x, static_cast<int>(units.cx), 4), MulDiv(y, static_cast<int>(units.cy), 8),
                MulDiv(x + cx, static_cast<int>(units.cx), 4), MulDiv(y + cy, static_cast<int>(units.cy), 8)};
}

// The template's own font, or the dialog face when it names none.
HFONT TemplateFont(const DLGTEMPLATEW& t, bool* owned) {
    *owned = false;
    if ((t.style & DS_SETFONT) == 0 || t.faceName == nullptr || t.pointSize == 0)
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    // A memory DC knows the screen's resolution too, and unlike the screen DC
    // it brings no screen-sized surface into being.
    HDC measuring = CreateCompatibleDC(nullptr);
    int dpi = measuring != nullptr ? GetDeviceCaps(measuring, LOGPIXELSY) : 96;
    if (measuring != nullptr) DeleteDC(measuring);
    HFONT font = CreateFontW(-MulDiv(t.pointSize, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             t.faceName);
    if (font == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    *owned = true;
    return font;
}

// The window's frame in screen coordinates: the template's position counts from
// the owner's client area (from the screen with DS_ABSALIGN or without an owner);
// DS_CENTER centres it over the owner or the screen. It stays on the screen.
RECT Frame(const DLGTEMPLATEW& t, SIZE units, HWND owner, DWORD style, DWORD exStyle) {
    RECT client = MapUnits(units, t.x, t.y, t.cx, t.cy);
    RECT frame{0, 0, client.right - client.left, client.bottom - client.top};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    POINT at{client.left, client.top};
    if (owner != nullptr && (style & WS_CHILD) == 0 && (t.style & DS_ABSALIGN) == 0) ClientToScreen(owner, &at);
    if ((t.style & DS_CENTER) != 0) {
        RECT over = screen;
        if (owner != nullptr) GetWindowRect(owner, &over);
        at = POINT{over.left + (over.right - over.left - size.cx) / 2, over.top + (over.bottom - over.top - size.cy) / 2};
    }
    if ((style & WS_CHILD) == 0) {
        at.x = std::max<LONG>(screen.left, std::min<LONG>(at.x, screen.right - size.cx));
        at.y = std::max<LONG>(screen.top, std::min<LONG>(at.y, screen.bottom - size.cy));
    }
    return RECT{at.x, at.y, at.x + size.cx, at.y + size.cy};
}

// Makes every control of the template; false when one cannot be made (a class
// that does not exist, no memory) and the template does not allow that.
bool AddControls(HWND dialog, const DLGTEMPLATEW& t, const DialogState& st) {
    for (uint16_t i = 0; i < t.itemCount; ++i) {
        const DLGITEMTEMPLATEW& item = t.items[i];
        RECT r = MapUnits(st.baseUnits, item.x, item.y, item.cx, item.cy);
        auto id = reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(item.id));
        HWND c = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, item.windowClass,
                                 item.text != nullptr ? item.text : u"", item.style | WS_CHILD, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, dialog, id, nullptr, nullptr);
        if (c == nullptr) {
            if ((t.style & DS_NOFAILCREATE) != 0) continue;
            return false;
        }
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(st.font), FALSE);
    }
    return true;
}

// The id of the template's default push button; 0 when it has none.
int DefaultIdOf(HWND dialog) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((SendMessageW(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) return GetDlgCtrlID(c);
    }
    return 0;
}

// WM_INITDIALOG, and the control the focus goes to once the dialog shows: the
// first tab stop when the procedure answers TRUE, else whatever it chose.
void Initialise(HWND dialog, LPARAM param) {
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    LRESULT takeFirst = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    DialogState* st = StateOf(dialog);
    if (st == nullptr) return;
    HWND focus = GetFocus();
    if (takeFirst != 0) {
        st->focus = first;
        SelectAllIfEdit(first);
    } else if (focus != nullptr && IsChild(dialog, focus)) {
        st->focus = focus;
    }
}

HWND Build(const DLGTEMPLATEW* t, HWND owner, DLGPROC proc, LPARAM param, bool show) {
    if (t == nullptr || (t->itemCount != 0 && t->items == nullptr)) return nullptr;
    bool owned = false;
    HFONT font = TemplateFont(*t, &owned);
    SIZE units = DialogBaseUnitsOf(font);
    DWORD style = t->style & ~static_cast<DWORD>(WS_VISIBLE);
    DWORD exStyle = t->exStyle | ((t->style & DS_MODALFRAME) != 0 ? WS_EX_DLGMODALFRAME : 0);
    HWND dialog = CreateDialogWindow(exStyle, t->title != nullptr ? t->title : u"", style,
                                     Frame(*t, units, owner, style, exStyle), owner, proc, 0);
    DialogState* st = StateOf(dialog);
    if (st == nullptr) {
        if (dialog != nullptr) DestroyWindow(dialog);
        if (owned) DeleteObject(font);
        return nullptr;
    }
    st->font = font;
    st->ownsFont = owned;
    st->baseUnits = units;
    // From here on the dialog owns the font; a failure destroys both.
    bool made = false;
    try {
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        made = AddControls(dialog, *t, *st);
        if (made) {
            StateOf(dialog)->defId = DefaultIdOf(dialog);
            Initialise(dialog, param);
        }
    } catch (const std::bad_alloc&) {
        made = false;
    }
    if (!made) {
        DestroyWindow(dialog);
        return nullptr;
    }
    if (StateOf(dialog) == nullptr) return nullptr;  // the procedure destroyed it
    if (show && (t->style & WS_VISIBLE) != 0) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(StateOf(dialog)->focus), TRUE);
    }
    return dialog;
}

const DLGTEMPLATEW* TemplateByName(HINSTANCE instance, LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    auto id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    if (instance == nullptr) return FindDialogResource(id);
    HRSRC found = FindResourceW(instance, name, RT_DIALOG);
    if (found == nullptr) return nullptr;
    return static_cast<const DLGTEMPLATEW*>(LockResource(LoadResource(instance, found)));
}

// What a modal run leaves behind, undone whichever way it ends: the owner
// enabled before the dialog goes (so the activation can return to it), then
// the dialog destroyed and the owner activated.
struct ModalRun {
    HWND owner = nullptr;
    bool ownerDisabled = false;
    HWND dialog = nullptr;
    ModalRun() = default;
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;
    ~ModalRun() {
        try {
            if (ownerDisabled && IsWindow(owner)) EnableWindow(owner, TRUE);
            if (dialog != nullptr && IsWindow(dialog)) DestroyWindow(dialog);
            if (owner != nullptr && IsWindow(owner) && IsWindowVisible(owner)) SetActiveWindow(owner);
        } catch (const std::bad_alloc&) {
        }
    }
};

}  // namespace

HWND ModalOwner(HWND named) {
    HWND from = named != nullptr ? named : GetActiveWindow();
    if (from == nullptr) return nullptr;
    HWND root = GetAncestor(from, GA_ROOT);
    return root != nullptr ? root : from;
}

bool RunModalLoop(HWND dialog) {
    if (DialogState* st = StateOf(dialog)) st->modal = true;
    for (;;) {
        const DialogState* st = StateOf(dialog);
        if (st == nullptr) return false;
        if (st->ended) return true;
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The application is quitting: the dialog ends unanswered and the quit
            // goes on to the loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got < 0) return false;
        if (modalFilter != nullptr && modalFilter(&msg)) continue;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace tq3::fw::dialogs

using namespace tq3::fw::dialogs;

HWND CreateDialogIndirectParamW(HINSTANCE, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc, LPARAM param) {
    if (owner != nullptr && !IsWindow(owner)) return nullptr;
    return tq3::fw::GuardAllocations<HWND>(nullptr, [&] {
        // The procedure sees WM_INITDIALOG with `param`; creation itself carries none.
        return Build(dialogTemplate, owner, proc, param, true);
    });
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    return CreateDialogIndirectParamW(instance, TemplateByName(instance, templateName), owner, proc, param);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc, LPARAM param) {
    if (owner != nullptr && !IsWindow(owner)) return 0;
    return tq3::fw::GuardAllocations<INT_PTR>(-1, [&]() -> INT_PTR {
        ModalRun run;
        run.owner = ModalOwner(owner);
        run.dialog = Build(dialogTemplate, run.owner, proc, param, false);
        if (run.dialog == nullptr) return -1;
        DialogState* st = StateOf(run.dialog);
        if (st->ended) return st->result;  // ended from WM_INITDIALOG: never shown
        // The owner takes no input while the dialog runs.
        run.ownerDisabled = run.owner != nullptr && IsWindowEnabled(run.owner);
        if (run.ownerDisabled) {
            EnableWindow(run.owner, FALSE);
            st->disabledOwner = run.owner;
        }
        ShowWindow(run.dialog, SW_SHOWNORMAL);
        if (StateOf(run.dialog) != nullptr) {
            SendMessageW(run.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(StateOf(run.dialog)->focus), TRUE);
        }
        if (!RunModalLoop(run.dialog)) return -1;
        return StateOf(run.dialog)->result;
    });
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    const DLGTEMPLATEW* t = TemplateByName(instance, templateName);
    if (t == nullptr) return -1;
    return DialogBoxIndirectParamW(instance, t, owner, proc, param);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    const DialogState* st = StateOf(dialog);
    if (st == nullptr || rect == nullptr) return FALSE;
    *rect = MapUnits(st->baseUnits, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    return TRUE;
}

LONG GetDialogBaseUnits() {
    SIZE units = tq3::fw::DialogBaseUnitsOf(nullptr);
    return static_cast<LONG>(MAKELONG(static_cast<WORD>(units.cx), static_cast<WORD>(units.cy)));
}
