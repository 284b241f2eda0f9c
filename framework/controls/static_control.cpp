// The "STATIC" class: text laid out by DrawText (SS_LEFT, SS_CENTER, SS_RIGHT,
// SS_LEFTNOWORDWRAP, SS_SIMPLE, SS_NOPREFIX, the ellipsis styles), an icon
// (SS_ICON with STM_SETICON / STM_SETIMAGE), and the plain rectangles, frames and
// etched lines that dialogs use as separators.
//
// Call flow: StaticProc (ControlProc) -> Dispatch -> OnPaint -> PaintText /
// PaintIcon / PaintShape;
// SetIcon resizes an SS_ICON control to its icon and repaints.
#include "framework/controls/button.h"
#include "framework/controls/controls_internal.h"
#include "framework/controls/static_control.h"
#include "framework/core/geometry.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/icons.h"
#include "framework/gdi/sysmetrics.h"

namespace tq3::fw::controls {

namespace {

struct StaticState {
    HFONT font = nullptr;  // from WM_SETFONT; null draws with the dialog font
    HICON icon = nullptr;  // SS_ICON: the icon shown (not owned)
};

UINT TextFormat(DWORD style) {
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
        case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
        case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
        case SS_LEFTNOWORDWRAP: break;
        case SS_SIMPLE: format |= DT_SINGLELINE; break;
        default: format |= DT_WORDBREAK; break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    switch (style & SS_ELLIPSISMASK) {
        case SS_ENDELLIPSIS: format |= DT_END_ELLIPSIS; break;
        case SS_PATHELLIPSIS: format |= DT_PATH_ELLIPSIS; break;
        case SS_WORDELLIPSIS: format |= DT_WORD_ELLIPSIS; break;
        default: break;
    }
    return format;
}

void PaintText(HWND hwnd, HDC dc, const StaticState& st, const RECT& rc) {
    DWORD style = StyleOf(hwnd);
    HBRUSH background = ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &rc, background);
    SelectObject(dc, FontOrDefault(st.font));
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    std::u16string text = WindowText(hwnd);
    if (text.empty()) return;
    RECT r = rc;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFormat(style));
}

void PaintIcon(HWND hwnd, HDC dc, const StaticState& st, const RECT& rc) {
    FillRect(dc, &rc, ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC));
    if (st.icon == nullptr) return;
    SIZE size = IconSize(st.icon);
    int x = rc.left;
    int y = rc.top;
    if (StyleOf(hwnd) & SS_CENTERIMAGE) {
        x += (rc.right - rc.left - size.cx) / 2;
        y += (rc.bottom - rc.top - size.cy) / 2;
    }
    DrawIconEx(dc, x, y, st.icon, 0, 0, 0, nullptr, DI_NORMAL);
}

// Filled rectangles, frames and etched lines.
void PaintShape(HWND hwnd, HDC dc, DWORD kind, const RECT& rc) {
    int colour = COLOR_WINDOWFRAME;
    if (kind == SS_GRAYRECT || kind == SS_GRAYFRAME) colour = COLOR_BTNSHADOW;
    if (kind == SS_WHITERECT || kind == SS_WHITEFRAME) colour = COLOR_BTNHIGHLIGHT;
    RECT r = rc;
    switch (kind) {
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT: FillRect(dc, &r, GetSysColorBrush(colour)); break;
        case SS_BLACKFRAME:
        case SS_GRAYFRAME:
        case SS_WHITEFRAME:
            FillRect(dc, &r, ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC));
            FrameRect(dc, &r, GetSysColorBrush(colour));
            break;
        case SS_ETCHEDHORZ: r.bottom = r.top + 2; DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP | BF_BOTTOM); break;
        case SS_ETCHEDVERT: r.right = r.left + 2; DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT | BF_RIGHT); break;
        case SS_ETCHEDFRAME: DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT); break;
        default: break;
    }
}

LRESULT OnPaint(HWND hwnd, const StaticState& st) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        int saved = SaveDC(dc);
        DWORD kind = StyleOf(hwnd) & SS_TYPEMASK;
        if (kind == SS_ICON) {
            PaintIcon(hwnd, dc, st, rc);
        } else if ((kind >= SS_BLACKRECT && kind <= SS_WHITEFRAME) ||
                   (kind >= SS_ETCHEDHORZ && kind <= SS_ETCHEDFRAME)) {
            PaintShape(hwnd, dc, kind, rc);
        } else if (kind != SS_OWNERDRAW && kind != SS_BITMAP) {
            PaintText(hwnd, dc, st, rc);
        }
        RestoreDC(dc, saved);
    }
    EndPaint(hwnd, &ps);
    return 0;
}

// STM_SETICON: the control takes the icon's size unless it keeps its own
// (SS_CENTERIMAGE, SS_REALSIZECONTROL). Returns the previous icon.
LRESULT SetIcon(HWND hwnd, StaticState* st, HICON icon) {
    if ((StyleOf(hwnd) & SS_TYPEMASK) != SS_ICON) return 0;
    HICON previous = st->icon;
    st->icon = icon;
    if (icon != nullptr && (StyleOf(hwnd) & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) == 0) {
        SIZE size = IconSize(icon);
        if (size.cx > 0 && size.cy > 0) {
            SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(previous);
}

LRESULT OnMouse(HWND hwnd, UINT message) {
    if (StyleOf(hwnd) & SS_NOTIFY) NotifyParent(hwnd, message == WM_LBUTTONDBLCLK ? STN_DBLCLK : STN_CLICKED);
    return 0;
}

LRESULT Dispatch(HWND hwnd, StaticState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            // A label lets clicks through to its parent unless it reports them.
            if ((StyleOf(hwnd) & SS_NOTIFY) == 0) return HTTRANSPARENT;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: return OnMouse(hwnd, message);
        case WM_ERASEBKGND: return TRUE;  // WM_PAINT fills the background itself
        case WM_PAINT: return OnPaint(hwnd, *st);
        case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return r;
        }
        case WM_SETFONT: return SetFont(hwnd, &st->font, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_GETDLGCODE: return DLGC_STATIC;
        case STM_SETICON: return SetIcon(hwnd, st, reinterpret_cast<HICON>(wParam));
        case STM_GETICON: return reinterpret_cast<LRESULT>(st->icon);
        case STM_SETIMAGE:
            if (wParam != IMAGE_ICON) return 0;
            return SetIcon(hwnd, st, reinterpret_cast<HICON>(lParam));
        case STM_GETIMAGE: return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(st->icon) : 0;
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlProc<StaticState, Dispatch>(hwnd, message, wParam, lParam);
}

}  // namespace tq3::fw::controls
