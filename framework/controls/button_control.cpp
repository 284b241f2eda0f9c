// The "BUTTON" class: push buttons, default push buttons, check boxes, group boxes
// and owner-drawn buttons.
//
// Sections: state; painting (push button, check box, group box, owner drawn);
// pressing and clicking (mouse, space bar, BM_CLICK); the messages; the procedure.
//
// Call flow: ButtonProc (ControlProc) -> Dispatch -> OnPaint / OnButtonDown /
// OnButtonUp / OnKey / OnFocus / OnStateMessage;
// pressing goes SetPushed -> Redraw -> Paint; a completed press goes Release ->
// Clicked -> NotifyParent(BN_CLICKED), which is the last thing a handler does,
// since the parent may destroy the button in answer.
#include <algorithm>

#include "framework/controls/button.h"
#include "framework/controls/controls_internal.h"
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

// ============================================================================
// State
// ============================================================================

struct ButtonState {
    WPARAM check = BST_UNCHECKED;  // BST_CHECKED / BST_INDETERMINATE of a check box or radio button
    bool pushed = false;           // drawn pressed: held by the mouse inside, the space bar, BM_SETSTATE
    bool focused = false;          // holds the keyboard focus
    bool tracking = false;         // the left button went down on it; it holds the capture
    bool spaceDown = false;        // the space bar went down while it had the focus
    HFONT font = nullptr;          // from WM_SETFONT; null draws with the dialog font
    HANDLE image = nullptr;        // from BM_SETIMAGE
    WPARAM imageType = IMAGE_ICON; // what `image` is
};

// Size of the check box square and the gap between it and the text.
constexpr int kCheckSize = 13;
constexpr int kCheckGap = 4;
// Where a group box's title starts, from the left edge.
constexpr int kGroupTitleIndent = 8;

DWORD KindOf(HWND hwnd) { return StyleOf(hwnd) & BS_TYPEMASK; }

bool IsCheckKind(DWORD kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE ||
           kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}
bool IsRadioKind(DWORD kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }
bool IsPushKind(DWORD kind) { return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_PUSHBOX; }

// ============================================================================
// Painting
// ============================================================================

// Where text goes in `box`: measured with the caption's own flags, then placed
// as the BS_LEFT / BS_RIGHT / BS_CENTER and BS_TOP / BS_BOTTOM / BS_VCENTER bits
// say, with `defaultCentred` for buttons that centre unless told otherwise.
RECT PlaceText(HDC dc, const std::u16string& text, const RECT& box, DWORD style, UINT format, bool defaultCentred) {
    RECT calc{0, 0, std::max<LONG>(box.right - box.left, 1), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &calc, format | DT_CALCRECT);
    int width = calc.right - calc.left;
    int height = calc.bottom - calc.top;
    int x = box.left;
    DWORD horizontal = style & BS_CENTER;
    if (horizontal == BS_RIGHT) {
        x = box.right - width;
    } else if (horizontal == BS_CENTER || (horizontal == 0 && defaultCentred)) {
        x = box.left + (box.right - box.left - width) / 2;
    }
    int y = box.top + (box.bottom - box.top - height) / 2;
    DWORD vertical = style & BS_VCENTER;
    if (vertical == BS_TOP) y = box.top;
    if (vertical == BS_BOTTOM) y = box.bottom - height;
    return RECT{x, y, x + width, y + height};
}

// Draws the caption in `place` (from PlaceText), greyed by DrawState when the
// button is disabled. The ink stays inside `clip`.
void DrawCaption(HDC dc, const std::u16string& text, const RECT& place, const RECT& clip, UINT format, bool enabled) {
    if (text.empty()) return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    if (enabled) {
        RECT r = place;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOCLIP);
    } else {
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), static_cast<WPARAM>(text.size()),
                   place.left, place.top, place.right - place.left, place.bottom - place.top,
                   DST_PREFIXTEXT | DSS_DISABLED);
    }
    RestoreDC(dc, saved);
}

// An icon or bitmap set with BM_SETIMAGE, centred in `box`.
void DrawImage(HDC dc, const ButtonState& st, const RECT& box, bool enabled) {
    if (st.imageType != IMAGE_ICON) {
        BITMAP bm{};
        if (GetObjectW(st.image, sizeof(bm), &bm) == 0) return;
        int x = box.left + (box.right - box.left - bm.bmWidth) / 2;
        int y = box.top + (box.bottom - box.top - bm.bmHeight) / 2;
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(st.image), 0, x, y, bm.bmWidth, bm.bmHeight,
                   DST_BITMAP | (enabled ? DSS_NORMAL : DSS_DISABLED));
        return;
    }
    auto icon = static_cast<HICON>(st.image);
    SIZE size = IconSize(icon);
    int x = box.left + (box.right - box.left - size.cx) / 2;
    int y = box.top + (box.bottom - box.top - size.cy) / 2;
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, size.cx, size.cy,
               DST_ICON | (enabled ? DSS_NORMAL : DSS_DISABLED));
}

// The classic push button: a black ring when it is the default button, a raised
// face, or when pressed a flat face framed in the shadow colour with the content
// one pixel down and right; the focus rectangle inside the face.
void PaintPushButton(HWND hwnd, HDC dc, const ButtonState& st) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    DWORD style = StyleOf(hwnd);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    ParentBrush(hwnd, dc, WM_CTLCOLORBTN);
    RECT face = rc;
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    RECT content = face;
    if (st.pushed) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
        InflateRect(&content, -1, -1);
        FillRect(dc, &content, GetSysColorBrush(COLOR_BTNFACE));
        InflateRect(&content, -1, -1);
        OffsetRect(&content, 1, 1);
    } else {
        DrawFrameControl(dc, &content, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    }
    if ((style & (BS_ICON | BS_BITMAP)) != 0 && st.image != nullptr) {
        DrawImage(dc, st, content, enabled);
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkMode(dc, TRANSPARENT);
        std::u16string text = WindowText(hwnd);
        UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE;
        RECT box = content;
        InflateRect(&box, -2, -1);
        RECT place = PlaceText(dc, text, box, style, format, true);
        DrawCaption(dc, text, place, content, format, enabled);
    }
    if (st.focused) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

// A check box or radio button: the box at the left (or right with BS_LEFTTEXT),
// the text beside it, the focus rectangle around the text.
void PaintCheckBox(HWND hwnd, HDC dc, const ButtonState& st) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    DWORD style = StyleOf(hwnd);
    DWORD kind = style & BS_TYPEMASK;
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HBRUSH background = ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &rc, background);

    bool leftText = (style & BS_LEFTTEXT) != 0;
    int top = rc.top + (rc.bottom - rc.top - kCheckSize) / 2;
    int left = leftText ? rc.right - kCheckSize : rc.left;
    RECT box{left, top, left + kCheckSize, top + kCheckSize};
    UINT state = IsRadioKind(kind) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (st.check == BST_CHECKED) state |= DFCS_CHECKED;
    if (st.check == BST_INDETERMINATE) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (st.pushed) state |= DFCS_PUSHED;
    if (!enabled) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);

    RECT textBox = rc;
    if (leftText) {
        textBox.right = box.left - kCheckGap;
    } else {
        textBox.left = box.right + kCheckGap;
    }
    SetBkMode(dc, TRANSPARENT);
    std::u16string text = WindowText(hwnd);
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    RECT place = PlaceText(dc, text, textBox, style, format, false);
    DrawCaption(dc, text, place, textBox, format, enabled);
    if (st.focused && !text.empty()) {
        RECT focus = place;
        InflateRect(&focus, 1, 1);
        IntersectRect(&focus, &focus, &rc);
        DrawFocusRect(dc, &focus);
    }
}

// A group box: an etched frame whose top line runs through the middle of the
// title, with the title's background cut out of it.
void PaintGroupBox(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HBRUSH background = ParentBrush(hwnd, dc, WM_CTLCOLORSTATIC);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT frame = rc;
    frame.top += tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);

    std::u16string text = WindowText(hwnd);
    if (text.empty()) return;
    RECT box{rc.left + kGroupTitleIndent, rc.top, rc.right - kGroupTitleIndent, rc.top + tm.tmHeight};
    RECT place = PlaceText(dc, text, box, StyleOf(hwnd) & BS_CENTER, DT_SINGLELINE, false);
    place.top = rc.top;
    place.bottom = rc.top + tm.tmHeight;
    RECT gap = place;
    InflateRect(&gap, 2, 0);
    IntersectRect(&gap, &gap, &rc);
    FillRect(dc, &gap, background);
    SetBkMode(dc, TRANSPARENT);
    DrawCaption(dc, text, place, box, DT_SINGLELINE, enabled);
}

// An owner-drawn button: the parent draws it in answer to WM_DRAWITEM.
void PaintOwnerDrawn(HWND hwnd, HDC dc, const ButtonState& st, UINT action) {
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) return;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemAction = action;
    if (st.pushed) item.itemState |= ODS_SELECTED;
    if (st.focused) item.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
    item.hwndItem = hwnd;
    item.hDC = dc;
    GetClientRect(hwnd, &item.rcItem);
    // The parent's colours come first, as they would for any button it paints.
    ParentBrush(hwnd, dc, WM_CTLCOLORBTN);
    SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void Paint(HWND hwnd, HDC dc, UINT action) {
    ButtonState* st = StateOf<ButtonState>(hwnd);
    if (st == nullptr) return;
    int saved = SaveDC(dc);
    SelectObject(dc, FontOrDefault(st->font));
    DWORD kind = KindOf(hwnd);
    if (kind == BS_OWNERDRAW) {
        PaintOwnerDrawn(hwnd, dc, *st, action);
    } else if (kind == BS_GROUPBOX) {
        PaintGroupBox(hwnd, dc);
    } else if (IsCheckKind(kind)) {
        PaintCheckBox(hwnd, dc, *st);
    } else {
        PaintPushButton(hwnd, dc, *st);
    }
    RestoreDC(dc, saved);
}

// Paints at once, outside WM_PAINT, after a change of state: a press shows while
// the button is held, not when the queue next runs dry.
void Redraw(HWND hwnd, UINT action) {
    if (!IsWindowVisible(hwnd)) return;
    HDC dc = GetDC(hwnd);
    if (dc == nullptr) return;
    Paint(hwnd, dc, action);
    ReleaseDC(hwnd, dc);
}

// ============================================================================
// Pressing and clicking
// ============================================================================

void SetPushed(HWND hwnd, ButtonState* st, bool pushed) {
    if (st->pushed == pushed) return;
    st->pushed = pushed;
    if (KindOf(hwnd) != BS_GROUPBOX) Redraw(hwnd, ODA_SELECT);
}

void SetCheck(HWND hwnd, ButtonState* st, WPARAM check) {
    DWORD kind = KindOf(hwnd);
    if (!IsCheckKind(kind)) return;
    if (check == BST_INDETERMINATE && kind != BS_3STATE && kind != BS_AUTO3STATE) check = BST_CHECKED;
    if (check > BST_INDETERMINATE) check = BST_CHECKED;
    if (st->check == check) return;
    st->check = check;
    Redraw(hwnd, ODA_SELECT);
}

// An automatic radio button takes the check from the other automatic radio
// buttons of its parent.
void CheckRadio(HWND hwnd, ButtonState* st) {
    HWND parent = GetParent(hwnd);
    for (HWND sibling = parent ? GetWindow(hwnd, GW_HWNDFIRST) : nullptr; sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == hwnd) continue;
        WCHAR name[16] = {};
        GetClassNameW(sibling, name, 16);
        if (std::u16string(name) != u"Button" || KindOf(sibling) != BS_AUTORADIOBUTTON) continue;
        SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SetCheck(hwnd, st, BST_CHECKED);
}

// A completed press: automatic kinds change their check, then the parent hears of it.
void Clicked(HWND hwnd, ButtonState* st) {
    switch (KindOf(hwnd)) {
        case BS_AUTOCHECKBOX: SetCheck(hwnd, st, st->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); break;
        case BS_AUTO3STATE:
            SetCheck(hwnd, st, st->check == BST_UNCHECKED ? BST_CHECKED
                               : st->check == BST_CHECKED ? BST_INDETERMINATE
                                                          : BST_UNCHECKED);
            break;
        case BS_AUTORADIOBUTTON: CheckRadio(hwnd, st); break;
        default: break;
    }
    NotifyParent(hwnd, BN_CLICKED);
}

bool Inside(HWND hwnd, LPARAM lParam) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&rc, pt) != FALSE;
}

LRESULT OnButtonDown(HWND hwnd, ButtonState* st, UINT message) {
    DWORD style = StyleOf(hwnd);
    if (message == WM_LBUTTONDBLCLK && ((style & BS_NOTIFY) != 0 || (style & BS_TYPEMASK) == BS_OWNERDRAW)) {
        NotifyParent(hwnd, BN_DBLCLK);
        st = StateOf<ButtonState>(hwnd);  // the parent may have destroyed it
        if (st == nullptr || !IsWindow(hwnd)) return 0;
    }
    if (GetFocus() != hwnd) SetFocus(hwnd);
    st = StateOf<ButtonState>(hwnd);
    if (st == nullptr) return 0;
    SetCapture(hwnd);
    st->tracking = true;
    SetPushed(hwnd, st, true);
    return 0;
}

LRESULT OnButtonUp(HWND hwnd, ButtonState* st, LPARAM lParam) {
    if (!st->tracking) return 0;
    bool click = st->pushed && Inside(hwnd, lParam);
    st->tracking = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    SetPushed(hwnd, st, false);
    if (click) Clicked(hwnd, st);
    return 0;
}

LRESULT OnKey(HWND hwnd, ButtonState* st, UINT message, WPARAM key) {
    if (key != VK_SPACE) return 0;
    if (message == WM_KEYDOWN) {
        if (!st->tracking && !st->spaceDown) {
            st->spaceDown = true;
            SetPushed(hwnd, st, true);
        }
        return 0;
    }
    if (!st->spaceDown) return 0;
    st->spaceDown = false;
    bool click = st->pushed && !st->tracking;
    SetPushed(hwnd, st, false);
    if (click) Clicked(hwnd, st);
    return 0;
}

LRESULT OnFocus(HWND hwnd, ButtonState* st, bool gained) {
    st->focused = gained;
    if (!gained) {
        // A press in progress ends without a click when the focus goes elsewhere.
        st->spaceDown = false;
        if (st->tracking) {
            st->tracking = false;
            if (GetCapture() == hwnd) ReleaseCapture();
        }
        st->pushed = false;
    }
    if (KindOf(hwnd) != BS_GROUPBOX) Redraw(hwnd, ODA_FOCUS);
    if (StyleOf(hwnd) & BS_NOTIFY) NotifyParent(hwnd, gained ? BN_SETFOCUS : BN_KILLFOCUS);
    return 0;
}

// ============================================================================
// The messages
// ============================================================================

LRESULT DialogCode(HWND hwnd) {
    DWORD kind = KindOf(hwnd);
    if (kind == BS_GROUPBOX) return DLGC_STATIC;
    if (kind == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (IsPushKind(kind)) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    if (IsRadioKind(kind)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
    return DLGC_BUTTON;
}

LRESULT State(const ButtonState& st) {
    WPARAM state = st.check;
    if (st.pushed) state |= BST_PUSHED;
    if (st.focused) state |= BST_FOCUS;
    return static_cast<LRESULT>(state);
}

// BM_SETSTYLE: the kind and the other style bits; dialogs move the default
// ring between push buttons with it.
LRESULT SetStyle(HWND hwnd, WPARAM style, LPARAM redraw) {
    DWORD old = StyleOf(hwnd);
    DWORD next = (old & 0xFFFF0000u) | (static_cast<DWORD>(style) & 0x0000FFFFu);
    if (next != old) SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(next));
    if (redraw) InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT SetImage(HWND hwnd, ButtonState* st, WPARAM type, LPARAM image) {
    if (type != IMAGE_ICON && type != IMAGE_BITMAP) return 0;
    HANDLE previous = st->imageType == type ? st->image : nullptr;
    st->image = reinterpret_cast<HANDLE>(image);
    st->imageType = type;
    InvalidateRect(hwnd, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(previous);
}

LRESULT OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr) Paint(hwnd, dc, ODA_DRAWENTIRE);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnStateMessage(HWND hwnd, ButtonState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case BM_GETCHECK: return static_cast<LRESULT>(st->check);
        case BM_SETCHECK: SetCheck(hwnd, st, wParam); return 0;
        case BM_GETSTATE: return State(*st);
        case BM_SETSTATE: SetPushed(hwnd, st, wParam != 0); return 0;
        case BM_SETSTYLE: return SetStyle(hwnd, wParam, lParam);
        case BM_GETIMAGE: return wParam == st->imageType ? reinterpret_cast<LRESULT>(st->image) : 0;
        case BM_SETIMAGE: return SetImage(hwnd, st, wParam, lParam);
        case BM_CLICK:
            // A click as the user makes it; a disabled button cannot be clicked.
            if (!IsWindowEnabled(hwnd)) return 0;
            SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            if (IsWindow(hwnd)) SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
            return 0;
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// ============================================================================
// The procedure
// ============================================================================

LRESULT Dispatch(HWND hwnd, ButtonState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD kind = KindOf(hwnd);
    switch (message) {
        case WM_NCHITTEST:
            // A group box is only a frame: clicks go to what lies beneath it.
            if (kind == BS_GROUPBOX) return HTTRANSPARENT;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        case WM_ERASEBKGND: return TRUE;  // WM_PAINT covers what needs covering
        case WM_PAINT: return OnPaint(hwnd);
        case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return r;
        }
        case WM_SETFONT: return SetFont(hwnd, &st->font, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_GETDLGCODE: return DialogCode(hwnd);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: return kind == BS_GROUPBOX ? 0 : OnButtonDown(hwnd, st, message);
        case WM_MOUSEMOVE:
            if (st->tracking) SetPushed(hwnd, st, Inside(hwnd, lParam));
            return 0;
        case WM_LBUTTONUP: return OnButtonUp(hwnd, st, lParam);
        case WM_CAPTURECHANGED:
            if (st->tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
                st->tracking = false;
                SetPushed(hwnd, st, false);
            }
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP: return kind == BS_GROUPBOX ? 0 : OnKey(hwnd, st, message, wParam);
        case WM_SETFOCUS: return OnFocus(hwnd, st, true);
        case WM_KILLFOCUS: return OnFocus(hwnd, st, false);
        default: return OnStateMessage(hwnd, st, message, wParam, lParam);
    }
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlProc<ButtonState, Dispatch>(hwnd, message, wParam, lParam);
}

}  // namespace tq3::fw::controls
