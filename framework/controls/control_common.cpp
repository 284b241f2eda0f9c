// Shared helpers of the standard controls and the registration of their classes.
#include "framework/controls/controls_internal.h"

#include "framework/controls/button.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/list_box.h"
#include "framework/controls/edit.h"
#include "framework/controls/static_control.h"
#include "framework/controls/tooltip.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/icons.h"
#include "framework/gdi/sysmetrics.h"

namespace tq3::fw::controls {

HFONT FontOrDefault(HFONT font) {
    if (font != nullptr && GetObjectType(font) == OBJ_FONT) return font;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HBRUSH ParentBrush(HWND hwnd, HDC dc, UINT ctlColorMessage) {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    HWND parent = GetParent(hwnd);
    HBRUSH brush = nullptr;
    if (parent != nullptr) {
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    }
    return brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT SetFont(HWND hwnd, HFONT* font, WPARAM wParam, LPARAM lParam) {
    *font = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

void NotifyParent(HWND hwnd, WORD code) {
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) return;
    auto id = static_cast<WORD>(GetDlgCtrlID(hwnd));
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

std::u16string WindowText(HWND hwnd) {
    std::u16string text;
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return text;
    try {
        text.resize(static_cast<size_t>(length) + 1);
    } catch (const std::bad_alloc&) {
        return {};
    }
    int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return SIZE{0, 0};
    BITMAP bm{};
    HBITMAP source = info.hbmColor != nullptr ? info.hbmColor : info.hbmMask;
    SIZE size{0, 0};
    if (GetObjectW(source, sizeof(bm), &bm) != 0) {
        size.cx = bm.bmWidth;
        size.cy = info.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    }
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return size;
}

namespace {

void RegisterControlClass(LPCWSTR name, WNDPROC proc, LPCWSTR cursor = IDC_ARROW) {
    WNDCLASSW wc{};
    // Double clicks arrive as such, so that BS_NOTIFY and SS_NOTIFY can report them;
    // the controls turn them back into presses where nobody asked.
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = kStateBytes;
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

// The standard controls are there from the moment the framework is loaded, like
// the desktop's own classes; they survive window-manager resets.
struct Registration {
    Registration() {
        RegisterControlClass(WC_BUTTONW, ButtonProc);
        RegisterControlClass(WC_STATICW, StaticProc);
        RegisterControlClass(WC_LISTBOXW, ListBoxProc);
        RegisterControlClass(kComboListClass, ComboListProc);
        RegisterControlClass(WC_COMBOBOXW, ComboBoxProc);
        RegisterControlClass(WC_EDITW, EditProc, IDC_IBEAM);
        RegisterControlClass(TOOLTIPS_CLASSW, ToolTipProc);
    }
};

const Registration kRegistration;

}  // namespace

}  // namespace tq3::fw::controls
