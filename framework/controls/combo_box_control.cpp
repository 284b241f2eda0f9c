// The "COMBOBOX" class: a selection field, a drop button and a dropped list.
//
// Sections: state; geometry; the field's text; dropping down and closing;
// painting; keyboard; mouse and focus; the edit box; the messages; the procedure.
//
// The list is a "ComboLBox" window: a top-level pop-up owned by the combo box's
// top-level window, placed in screen coordinates below the box (above it when the
// desktop's bottom is too near), hidden while closed. It keeps the items; every
// item message is passed on to it. While dropped it holds the mouse capture and
// tells the combo box when the user chose an item or left it (kComboListClosed);
// the keyboard stays with the combo box (or its edit box), which passes the
// navigation keys on to the list.
//
// A simple box (CBS_SIMPLE) has no drop button and never drops: its list is a
// child below the edit box, in view all the time and as tall as the box's height
// leaves it. The arrow keys in the edit box choose from it, typing selects the
// first item that begins with the text, and a click in it chooses (a double
// click also tells the parent CBN_DBLCLK). The focus stays in the edit box.
//
// Typing in the edit box of a dropped list moves the list the same way, but
// chooses nothing yet: the item it leads to is only highlighted until the list
// closes (FollowTyping, Close).
//
// Call flow: ComboBoxProc (ControlProc) -> Dispatch -> OnCreate (MakeList,
// MakeEdit, PlaceChildren) / OnItemMessage / OnPaint / OnKeyDown / OnButtonDown /
// OnFocus / OnCommand (the list's LBN_SELCHANGE and LBN_DBLCLK, the edit's EN_*,
// FollowTyping) / OnListClosed;
// Drop -> Notify(CBN_DROPDOWN) -> Place -> show; Close -> Notify(CBN_SELENDOK or
// CBN_SELENDCANCEL) -> hide -> Notify(CBN_CLOSEUP).
// The parent may destroy the combo box in answer to any notification: after each
// one a handler reads the state again and stops when it is gone.
#include <algorithm>
#include <string>

#include "framework/controls/button.h"
#include "framework/controls/combo_box.h"
#include "framework/controls/controls_internal.h"
#include "framework/controls/list_box.h"
#include "framework/core/geometry.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"

namespace tq3::fw::controls {

namespace {

// The edit box's messages, notifications and styles that the combo box uses.
constexpr UINT kEditGetSel = 0x00B0;
constexpr UINT kEditSetSel = 0x00B1;
constexpr UINT kEditLimitText = 0x00C5;
constexpr WORD kEditSetFocus = 0x0100;
constexpr WORD kEditKillFocus = 0x0200;
constexpr WORD kEditChange = 0x0300;
constexpr WORD kEditUpdate = 0x0400;
constexpr DWORD kEditAutoHScroll = 0x0080;
constexpr DWORD kEditUpperCase = 0x0008;
constexpr DWORD kEditLowerCase = 0x0010;

// ============================================================================
// State
// ============================================================================

struct ComboState {
    HWND list = nullptr;        // the list ("ComboLBox"): a pop-up hidden while closed, or a simple box's child
    HWND edit = nullptr;        // CBS_DROPDOWN and CBS_SIMPLE: the edit box, child 1001; null otherwise
    WNDPROC editProc = nullptr; // the edit box's own procedure, which the combo box's filter calls on
    bool dropped = false;       // the list shows
    int selection = -1;         // the item last chosen; the list returns to it when a drop is left unchosen
    int fieldHeight = 0;        // height of the selection field, which is the box's own height unless it is simple
    int listHeight = 0;         // room the dropped list may take: the height given at creation less the field
    int droppedWidth = 0;       // CB_SETDROPPEDWIDTH; the list is never narrower than the box
    HFONT font = nullptr;       // from WM_SETFONT; null draws with the dialog font
    bool focused = false;       // the box or its edit box holds the focus
    UINT textLimit = 0;         // CB_LIMITTEXT for a box without edit box (0: none)
    bool showing = false;       // putting the chosen item into the edit box: its changes are not the user's typing
    bool fitting = false;       // the box is setting its own height to the field's
};

DWORD Kind(HWND hwnd) { return StyleOf(hwnd) & 0x3; }
bool HasEdit(HWND hwnd) { return Kind(hwnd) == CBS_DROPDOWN || Kind(hwnd) == CBS_SIMPLE; }
bool IsSimple(HWND hwnd) { return Kind(hwnd) == CBS_SIMPLE; }
bool IsOwnerDrawn(HWND hwnd) { return (StyleOf(hwnd) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }

ComboState* Again(HWND hwnd) { return IsWindow(hwnd) ? StateOf<ComboState>(hwnd) : nullptr; }

// ============================================================================
// Geometry
// ============================================================================

int FontHeight(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    if (dc == nullptr) return 14;
    HGDIOBJ old = SelectObject(dc, FontOrDefault(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return tm.tmHeight;
}

int ButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

// The selection field with its sunken frame: the whole box, or the top of a
// simple one, whose list takes the rest.
RECT FieldBox(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    const ComboState* st = StateOf<ComboState>(hwnd);
    if (IsSimple(hwnd) && st != nullptr) rc.bottom = std::min<LONG>(rc.bottom, st->fieldHeight);
    return rc;
}

// The sunken frame takes two pixels on each side; inside it the text field and,
// at the right, the drop button.
RECT Inner(HWND hwnd) {
    RECT rc = FieldBox(hwnd);
    InflateRect(&rc, -2, -2);
    return rc;
}

// A simple box has no drop button: an empty rectangle at the field's right end.
RECT ButtonRect(HWND hwnd) {
    RECT r = Inner(hwnd);
    r.left = IsSimple(hwnd) ? r.right : std::max(r.left, r.right - ButtonWidth());
    return r;
}

RECT FieldRect(HWND hwnd) {
    RECT r = Inner(hwnd);
    r.right = ButtonRect(hwnd).left;
    return r;
}

int ItemHeight(const ComboState* st) { return static_cast<int>(SendMessageW(st->list, LB_GETITEMHEIGHT, 0, 0)); }

// Where the list drops: below the box, or above it when the desktop's bottom is
// too near; as wide as the box (or the dropped width), as tall as its items up to
// the room given at creation.
RECT DroppedRect(HWND hwnd, const ComboState* st) {
    RECT box;
    GetWindowRect(hwnd, &box);
    const int count = static_cast<int>(SendMessageW(st->list, LB_GETCOUNT, 0, 0));
    const int item = std::max(1, ItemHeight(st));
    const int fits = std::max(1, (st->listHeight - 2) / item);
    const int height = std::clamp(count, 1, fits) * item + 2;
    const int width = std::max<int>(box.right - box.left, st->droppedWidth);
    RECT r{box.left, box.bottom, box.left + width, box.bottom + height};
    if (r.bottom > GetSystemMetrics(SM_CYSCREEN) && box.top - height >= 0) OffsetRect(&r, 0, box.top - height - r.top);
    return r;
}

// The box is as tall as its field: the font's height and a margin, or what the
// parent of an owner-drawn box says (WM_MEASUREITEM for item -1).
int MeasureField(HWND hwnd, const ComboState* st) {
    int height = FontHeight(hwnd, st->font) + 8;
    if (!IsOwnerDrawn(hwnd) || GetParent(hwnd) == nullptr) return height;
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_COMBOBOX;
    measure.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    measure.itemID = static_cast<UINT>(-1);
    measure.itemHeight = static_cast<UINT>(height - 6);
    SendMessageW(GetParent(hwnd), WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    return std::clamp<int>(static_cast<int>(measure.itemHeight), 1, 255) + 6;
}

// A simple box keeps the height it was given; the others are as tall as the field.
void Resize(HWND hwnd, ComboState* st) {
    if (IsSimple(hwnd)) return;
    RECT wr;
    GetWindowRect(hwnd, &wr);
    st->fitting = true;
    SetWindowPos(hwnd, nullptr, 0, 0, wr.right - wr.left, st->fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if ((st = Again(hwnd)) != nullptr) st->fitting = false;
}

// A height given to the box from outside is the room for the field and the
// dropped list together, as at creation: the box keeps the field's height and
// the rest becomes the list's. A simple box takes any height; its list fills it.
LRESULT OnPosChanging(HWND hwnd, ComboState* st, LPARAM lParam) {
    auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
    if (wp == nullptr || IsSimple(hwnd) || st->fitting || (wp->flags & SWP_NOSIZE) || st->fieldHeight <= 0) return 0;
    st->listHeight = std::max(wp->cy - st->fieldHeight, ItemHeight(st) + 2);
    wp->cy = st->fieldHeight;
    return 0;
}

// The edit box inside the field's frame, and a simple box's list below the field
// across the box's width.
void PlaceChildren(HWND hwnd, const ComboState* st) {
    if (st->edit != nullptr) {
        RECT f = FieldRect(hwnd);
        MoveWindow(st->edit, f.left + 1, f.top + 1, std::max<int>(0, f.right - f.left - 2),
                   std::max<int>(0, f.bottom - f.top - 2), TRUE);
    }
    if (IsSimple(hwnd) && st->list != nullptr) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        const int top = std::min<int>(rc.bottom, st->fieldHeight);
        MoveWindow(st->list, 0, top, rc.right, rc.bottom - top, TRUE);
    }
}

// ============================================================================
// The field's text
// ============================================================================

std::u16string ItemText(const ComboState* st, int index) {
    const auto length = SendMessageW(st->list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    SendMessageW(st->list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// No item chosen: the edit box empties, which is no typing of the user's.
void ClearEdit(ComboState* st) {
    if (st->edit == nullptr) return;
    st->showing = true;
    SetWindowTextW(st->edit, u"");
    st->showing = false;
}

// The chosen item shows in the field: in the edit box, all of it selected, or
// painted by the box itself.
void ShowSelection(HWND hwnd, ComboState* st) {
    if (st->edit != nullptr) {
        if (st->selection < 0) return;
        const std::u16string text = ItemText(st, st->selection);
        st->showing = true;
        SetWindowTextW(st->edit, text.c_str());
        SendMessageW(st->edit, kEditSetSel, 0, -1);
        if ((st = Again(hwnd)) != nullptr) st->showing = false;
        return;
    }
    RECT f = FieldRect(hwnd);
    InvalidateRect(hwnd, &f, TRUE);
}

// ============================================================================
// Dropping down and closing
// ============================================================================

// Typing moves the list in view, a simple box's or a dropped one, to the first
// item that begins with the text, ignoring case: it becomes the list's current
// item and scrolls into view. For an empty text, or one that no item begins
// with, nothing is highlighted and the list stays where it is. The text stays as
// typed, and the parent hears CBN_EDITCHANGE alone, after the list has followed.
//
// In a simple box the highlighted item is the choice (CB_GETCURSEL answers it).
// A dropped list only points at it: the choice is made when the list closes
// (Close), so until then CB_GETCURSEL answers the highlighted item, as it does
// while the mouse moves over the list, and Escape returns to the earlier choice.
void FollowTyping(HWND hwnd, ComboState* st) {
    const std::u16string text = WindowText(st->edit);
    LRESULT found = LB_ERR;
    if (!text.empty()) {
        found = SendMessageW(st->list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    }
    const int index = found == LB_ERR ? -1 : static_cast<int>(found);
    if (IsSimple(hwnd)) st->selection = index;
    SendMessageW(st->list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Drop(HWND hwnd, ComboState* st) {
    if (st->dropped || st->list == nullptr || IsSimple(hwnd)) return;
    NotifyParent(hwnd, CBN_DROPDOWN);  // the parent may fill the list now
    if ((st = Again(hwnd)) == nullptr || st->dropped) return;
    st->dropped = true;
    // An edit box's own text may name no chosen item (the user typed it): the
    // list opens at the first item that begins with it, as typing in the open list
    // would show it.
    if (st->edit != nullptr && st->selection < 0) {
        FollowTyping(hwnd, st);
    } else {
        SendMessageW(st->list, LB_SETCURSEL, static_cast<WPARAM>(st->selection), 0);
    }
    const RECT r = DroppedRect(hwnd, st);
    SetWindowPos(st->list, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const auto highlighted = SendMessageW(st->list, LB_GETCURSEL, 0, 0);
    if (highlighted >= 0) SendMessageW(st->list, LB_SETTOPINDEX, static_cast<WPARAM>(highlighted), 0);
    SendMessageW(st->list, kComboListOpened, 0, 0);
    SetCapture(st->list);
    RECT b = ButtonRect(hwnd);
    InvalidateRect(hwnd, &b, TRUE);
}

// A change of the chosen item reaches the field and the parent.
void Chosen(HWND hwnd, ComboState* st, int index) {
    st->selection = index;
    ShowSelection(hwnd, st);
    // A simple box's list never closes, so each choice in it is final at once:
    // the parent hears CBN_SELENDOK right before every CBN_SELCHANGE, as the
    // platform sends them.
    if (IsSimple(hwnd)) {
        NotifyParent(hwnd, CBN_SELENDOK);
        if (Again(hwnd) == nullptr) return;
    }
    NotifyParent(hwnd, CBN_SELCHANGE);
}

// Text typed while the list was open gives way to the item the user took: the
// field shows the choice, as after any other choice.
void ShowTakenItem(HWND hwnd, ComboState* st) {
    if (st->edit == nullptr || st->selection < 0 || WindowText(st->edit) == ItemText(st, st->selection)) return;
    ShowSelection(hwnd, st);
}

// Ends a drop: `accept` takes the item highlighted in the list (the user chose
// it), otherwise the list goes back to the chosen item. The parent hears
// CBN_SELCHANGE when the choice changed, then CBN_SELENDOK or CBN_SELENDCANCEL,
// then CBN_CLOSEUP once the list is hidden.
//
// Typing may have left nothing highlighted (no item begins with the text).
// Accepting that keeps the typed text and leaves the box without a chosen item,
// since its field names none; the user picked no item, so there is no
// CBN_SELCHANGE. Leaving the drop keeps the typed text too: Escape and a click
// outside undo the list's highlight, not the typing.
void Close(HWND hwnd, ComboState* st, bool accept) {
    if (!st->dropped) return;
    const int highlighted = static_cast<int>(SendMessageW(st->list, LB_GETCURSEL, 0, 0));
    if (accept && highlighted >= 0 && highlighted != st->selection) {
        Chosen(hwnd, st, highlighted);
        if ((st = Again(hwnd)) == nullptr || !st->dropped) return;
    } else if (accept && highlighted < 0) {
        st->selection = -1;
    } else if (accept) {
        ShowTakenItem(hwnd, st);
        if ((st = Again(hwnd)) == nullptr || !st->dropped) return;
    }
    if (!accept) SendMessageW(st->list, LB_SETCURSEL, static_cast<WPARAM>(st->selection), 0);
    NotifyParent(hwnd, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if ((st = Again(hwnd)) == nullptr || !st->dropped) return;
    st->dropped = false;
    // Hidden first: a list that loses the mouse while it still shows takes that for
    // the user leaving it and posts its close, which would then shut a list the
    // program drops again before the queue runs.
    ShowWindow(st->list, SW_HIDE);
    if (GetCapture() == st->list) ReleaseCapture();
    RECT b = ButtonRect(hwnd);
    InvalidateRect(hwnd, &b, TRUE);
    if (st->edit != nullptr && GetFocus() == st->edit) SendMessageW(st->edit, kEditSetSel, 0, -1);
    NotifyParent(hwnd, CBN_CLOSEUP);
}

// The list says the user clicked an item (wParam TRUE) or pressed outside it.
LRESULT OnListClosed(HWND hwnd, ComboState* st, WPARAM chosen) {
    if (!st->dropped) return 0;
    if (chosen) {
        // A click reports its item even when it was the chosen one already, and
        // puts it back over text typed since.
        const int index = static_cast<int>(SendMessageW(st->list, LB_GETCURSEL, 0, 0));
        if (index == st->selection) {
            Chosen(hwnd, st, index);
            if ((st = Again(hwnd)) == nullptr) return 0;
        }
    }
    Close(hwnd, st, chosen != 0);
    return 0;
}

// A simple box's list shows all the time; the message leaves it as it is.
LRESULT ShowDropDown(HWND hwnd, ComboState* st, WPARAM show) {
    if (IsSimple(hwnd)) return TRUE;
    if (show) {
        Drop(hwnd, st);
    } else {
        Close(hwnd, st, false);
    }
    return TRUE;
}

// ============================================================================
// Painting
// ============================================================================

void PaintOwnerField(HWND hwnd, const ComboState* st, HDC dc, const RECT& field) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemID = static_cast<UINT>(st->selection);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ODS_COMBOBOXEDIT;
    if (st->focused && !st->dropped) item.itemState |= ODS_SELECTED | ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
    item.hwndItem = hwnd;
    item.hDC = dc;
    item.rcItem = field;
    if (st->selection >= 0) item.itemData = static_cast<ULONG_PTR>(SendMessageW(st->list, LB_GETITEMDATA, static_cast<WPARAM>(st->selection), 0));
    if (GetParent(hwnd) != nullptr) SendMessageW(GetParent(hwnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

// The field of a box without edit box: the chosen item's text, in the highlight
// colours with a focus rectangle while the box has the focus and is closed.
void PaintField(HWND hwnd, const ComboState* st, HDC dc) {
    RECT field = FieldRect(hwnd);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const bool highlighted = st->focused && !st->dropped && enabled;
    FillRect(dc, &field, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    RECT inner = field;
    InflateRect(&inner, -1, -1);
    if (IsOwnerDrawn(hwnd)) {
        PaintOwnerField(hwnd, st, dc, inner);
        return;
    }
    if (highlighted) FillRect(dc, &inner, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::u16string text = st->selection >= 0 ? ItemText(st, st->selection) : std::u16string();
    RECT box = inner;
    box.left += 2;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (highlighted) DrawFocusRect(dc, &inner);
}

LRESULT OnPaint(HWND hwnd, ComboState* st) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr) {
        int saved = SaveDC(dc);
        SelectObject(dc, FontOrDefault(st->font));
        // A simple box paints its field only; its list, below, paints itself.
        RECT rc = FieldBox(hwnd);
        DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
        if (!IsSimple(hwnd)) {
            RECT button = ButtonRect(hwnd);
            UINT state = DFCS_SCROLLCOMBOBOX;
            if (st->dropped) state |= DFCS_PUSHED | DFCS_FLAT;
            if (!IsWindowEnabled(hwnd)) state |= DFCS_INACTIVE;
            DrawFrameControl(dc, &button, DFC_SCROLL, state);
        }
        if (st->edit == nullptr) {
            PaintField(hwnd, st, dc);
        } else {
            RECT field = FieldRect(hwnd);
            FillRect(dc, &field, GetSysColorBrush(IsWindowEnabled(hwnd) ? COLOR_WINDOW : COLOR_BTNFACE));
        }
        RestoreDC(dc, saved);
    }
    EndPaint(hwnd, &ps);
    return 0;
}

// ============================================================================
// Keyboard
// ============================================================================

bool IsDropKey(UINT message, WPARAM key) {
    if (key == VK_F4) return message == WM_KEYDOWN;
    return (key == VK_UP || key == VK_DOWN) && message == WM_SYSKEYDOWN;
}

bool IsNavigationKey(WPARAM key) {
    return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT || key == VK_PRIOR || key == VK_NEXT ||
           key == VK_HOME || key == VK_END;
}

// Home, End, Left and Right move the caret of a box with an edit box.
bool IsEditKey(WPARAM key) { return key == VK_HOME || key == VK_END || key == VK_LEFT || key == VK_RIGHT; }

// The keys of the box (and of its edit box, which passes them on): F4 and Alt
// with an arrow open or close the list, Enter and Escape close an open one, the
// arrows and page keys move the choice through the list. Answers whether the
// key was the box's.
bool HandleKey(HWND hwnd, ComboState* st, UINT message, WPARAM key) {
    if (IsDropKey(message, key)) {
        if (st->dropped) {
            Close(hwnd, st, true);
        } else {
            Drop(hwnd, st);
        }
        return true;
    }
    if (message != WM_KEYDOWN) return false;
    if (st->dropped && (key == VK_RETURN || key == VK_ESCAPE)) {
        Close(hwnd, st, key == VK_RETURN);
        return true;
    }
    if (!IsNavigationKey(key) || (st->edit != nullptr && IsEditKey(key))) return false;
    if (!st->dropped) SendMessageW(st->list, LB_SETCURSEL, static_cast<WPARAM>(st->selection), 0);
    // The list moves its selection and reports it with LBN_SELCHANGE (OnCommand).
    SendMessageW(st->list, WM_KEYDOWN, key, 0);
    return true;
}

LRESULT OnKeyDown(HWND hwnd, ComboState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleKey(hwnd, st, message, wParam)) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Type-ahead in a box without edit box: the next item that begins with the
// character becomes the choice.
LRESULT OnChar(ComboState* st, WPARAM ch) {
    if (st->edit != nullptr || ch < 0x20) return 0;
    if (!st->dropped) SendMessageW(st->list, LB_SETCURSEL, static_cast<WPARAM>(st->selection), 0);
    SendMessageW(st->list, WM_CHAR, ch, 0);
    return 0;
}

// ============================================================================
// Mouse and focus
// ============================================================================

// A press on the button, or anywhere on a box without edit box, drops the list;
// the list then holds the mouse, so the next press anywhere reaches it.
LRESULT OnButtonDown(HWND hwnd, ComboState* st, LPARAM lParam) {
    HWND focus = st->edit != nullptr ? st->edit : hwnd;
    if (GetFocus() != focus) SetFocus(focus);
    if ((st = Again(hwnd)) == nullptr) return 0;
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT button = ButtonRect(hwnd);
    if (st->edit == nullptr || PtInRect(&button, pt)) {
        if (st->dropped) {
            Close(hwnd, st, false);
        } else {
            Drop(hwnd, st);
        }
    }
    return 0;
}

void GainFocus(HWND hwnd, ComboState* st) {
    if (st->focused) return;
    st->focused = true;
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParent(hwnd, CBN_SETFOCUS);
}

// The focus left the box and its edit box: an open list closes unchosen first.
void LoseFocus(HWND hwnd, ComboState* st) {
    if (!st->focused) return;
    if (st->dropped) {
        Close(hwnd, st, false);
        if ((st = Again(hwnd)) == nullptr) return;
    }
    st->focused = false;
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParent(hwnd, CBN_KILLFOCUS);
}

LRESULT OnSetFocus(HWND hwnd, ComboState* st) {
    if (st->edit != nullptr) {
        SetFocus(st->edit);  // the edit box reports EN_SETFOCUS, which becomes CBN_SETFOCUS
        return 0;
    }
    GainFocus(hwnd, st);
    return 0;
}

// ============================================================================
// The edit box
// ============================================================================

// The combo box's filter in front of its edit box's procedure: the box's own
// keys go to the box, everything else on to the edit box.
LRESULT EditFilter(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND combo = GetParent(edit);
    ComboState* st = combo != nullptr ? StateOf<ComboState>(combo) : nullptr;
    if (st == nullptr || st->edit != edit || st->editProc == nullptr) return DefWindowProcW(edit, message, wParam, lParam);
    WNDPROC next = st->editProc;
    if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && HandleKey(combo, st, message, wParam)) return 0;
    // Enter and Escape that closed a list type nothing.
    if (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_ESCAPE) && st->dropped) return 0;
    return CallWindowProcW(next, edit, message, wParam, lParam);
}

void MakeEdit(HWND hwnd, ComboState* st) {
    if (!HasEdit(hwnd)) return;
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (StyleOf(hwnd) & CBS_AUTOHSCROLL) style |= kEditAutoHScroll;
    if (StyleOf(hwnd) & CBS_UPPERCASE) style |= kEditUpperCase;
    if (StyleOf(hwnd) & CBS_LOWERCASE) style |= kEditLowerCase;
    if (!IsWindowEnabled(hwnd)) style |= WS_DISABLED;
    st->edit = CreateWindowExW(0, u"Edit", nullptr, style, 0, 0, 0, 0, hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboEditId)), nullptr, nullptr);
    if (st->edit == nullptr) return;
    SendMessageW(st->edit, WM_SETFONT, reinterpret_cast<WPARAM>(st->font), FALSE);
    st->editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(st->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditFilter)));
}

// The edit box's notifications become the box's own.
void OnEditCommand(HWND hwnd, ComboState* st, WORD code) {
    switch (code) {
        case kEditSetFocus: GainFocus(hwnd, st); break;
        case kEditKillFocus: LoseFocus(hwnd, st); break;
        case kEditChange:
            if (st->showing) break;
            if (IsSimple(hwnd) || st->dropped) {
                FollowTyping(hwnd, st);
            } else {
                // With the list closed, the edited field names no item any more.
                st->selection = -1;
                SendMessageW(st->list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            }
            NotifyParent(hwnd, CBN_EDITCHANGE);
            break;
        case kEditUpdate:
            if (!st->showing) NotifyParent(hwnd, CBN_EDITUPDATE);
            break;
        default: break;
    }
}

LRESULT OnCommand(HWND hwnd, ComboState* st, WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(lParam);
    const WORD code = HIWORD(wParam);
    if (from == st->list && from != nullptr) {
        if (code == LBN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageW(st->list, LB_GETCURSEL, 0, 0));
            // A click in a simple box's list chooses its item even when it was
            // the chosen one: the edit box may show other text by now.
            if (index != st->selection || (IsSimple(hwnd) && index >= 0)) Chosen(hwnd, st, index);
        } else if (code == LBN_DBLCLK && IsSimple(hwnd)) {
            // Only a list that stays in view can be clicked twice.
            NotifyParent(hwnd, CBN_DBLCLK);
        }
        return 0;
    }
    if (from == st->edit && from != nullptr) OnEditCommand(hwnd, st, code);
    return 0;
}

// ============================================================================
// The messages
// ============================================================================

LRESULT SetCurSel(HWND hwnd, ComboState* st, WPARAM wParam) {
    const LRESULT result = SendMessageW(st->list, LB_SETCURSEL, wParam, 0);
    st->selection = static_cast<int>(result);
    if (st->selection < 0) ClearEdit(st);
    ShowSelection(hwnd, st);
    return result;
}

LRESULT SelectString(HWND hwnd, ComboState* st, WPARAM start, LPARAM text) {
    const LRESULT found = SendMessageW(st->list, LB_FINDSTRING, start, text);
    if (found == LB_ERR) return CB_ERR;
    return SetCurSel(hwnd, st, static_cast<WPARAM>(found));
}

LRESULT DeleteString(HWND hwnd, ComboState* st, WPARAM index) {
    const LRESULT left = SendMessageW(st->list, LB_DELETESTRING, index, 0);
    if (left == LB_ERR) return CB_ERR;
    if (static_cast<int>(index) == st->selection) {
        st->selection = -1;
        ClearEdit(st);
    } else if (static_cast<int>(index) < st->selection) {
        --st->selection;
    }
    ShowSelection(hwnd, st);
    return left;
}

LRESULT ResetContent(HWND hwnd, ComboState* st) {
    SendMessageW(st->list, LB_RESETCONTENT, 0, 0);
    st->selection = -1;
    ClearEdit(st);
    ShowSelection(hwnd, st);
    return CB_OKAY;
}

// An addition before the chosen item moves the choice along with its item.
LRESULT AddOrInsert(ComboState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT index = SendMessageW(st->list, message == CB_ADDSTRING ? LB_ADDSTRING : LB_INSERTSTRING, wParam, lParam);
    if (index >= 0 && st->selection >= 0 && index <= st->selection) ++st->selection;
    return index;
}

// CB_SETITEMHEIGHT: item -1 is the selection field, any other the list's items.
LRESULT SetItemHeight(HWND hwnd, ComboState* st, WPARAM which, LPARAM height) {
    if (height <= 0 || height > 255) return CB_ERR;
    if (static_cast<int>(which) == -1) {
        st->fieldHeight = static_cast<int>(height) + 6;
        Resize(hwnd, st);
        PlaceChildren(hwnd, st);
        InvalidateRect(hwnd, nullptr, TRUE);
        return CB_OKAY;
    }
    return SendMessageW(st->list, LB_SETITEMHEIGHT, 0, height);
}

LRESULT GetEditSel(const ComboState* st, WPARAM start, LPARAM end) {
    if (st->edit == nullptr) return CB_ERR;
    return SendMessageW(st->edit, kEditGetSel, start, end);
}

// CB_SETEDITSEL: the low word of lParam is the start, the high word the end; -1
// as the start removes the selection, -1 as the end reaches the end of the text.
LRESULT SetEditSel(const ComboState* st, LPARAM lParam) {
    if (st->edit == nullptr) return CB_ERR;
    const auto start = static_cast<SHORT>(LOWORD(lParam));
    const auto end = static_cast<SHORT>(HIWORD(lParam));
    SendMessageW(st->edit, kEditSetSel, static_cast<WPARAM>(static_cast<INT_PTR>(start)), static_cast<LPARAM>(end));
    return TRUE;
}

LRESULT LimitText(ComboState* st, WPARAM limit) {
    if (st->edit != nullptr) SendMessageW(st->edit, kEditLimitText, limit, 0);
    st->textLimit = static_cast<UINT>(limit);
    return TRUE;
}

// Where the list shows on the screen when dropped; a simple box's where it is.
LRESULT GetDroppedRect(HWND hwnd, const ComboState* st, LPARAM lParam) {
    if (lParam == 0) return CB_ERR;
    auto* out = reinterpret_cast<RECT*>(lParam);
    if (IsSimple(hwnd)) {
        GetWindowRect(st->list, out);
    } else {
        *out = DroppedRect(hwnd, st);
    }
    return TRUE;
}

// Whether the list is visible. A simple box's always is, so it answers TRUE, as
// the platform describes the message. Its `dropped` stays false all the same:
// nothing of a drop applies to it (no capture, Enter and Escape stay the
// dialog's, CB_GETCURSEL reads the choice).
LRESULT GetDroppedState(HWND hwnd, const ComboState* st) { return st->dropped || IsSimple(hwnd) ? TRUE : FALSE; }

LRESULT SetDroppedWidth(ComboState* st, WPARAM width) {
    if (static_cast<int>(width) < 0) return CB_ERR;
    st->droppedWidth = static_cast<int>(width);
    return static_cast<LRESULT>(width);
}

LRESULT OnItemMessage(HWND hwnd, ComboState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case CB_ADDSTRING:
        case CB_INSERTSTRING: return AddOrInsert(st, message, wParam, lParam);
        case CB_DELETESTRING: return DeleteString(hwnd, st, wParam);
        case CB_RESETCONTENT: return ResetContent(hwnd, st);
        case CB_GETCOUNT: return SendMessageW(st->list, LB_GETCOUNT, 0, 0);
        case CB_GETLBTEXT: return SendMessageW(st->list, LB_GETTEXT, wParam, lParam);
        case CB_GETLBTEXTLEN: return SendMessageW(st->list, LB_GETTEXTLEN, wParam, 0);
        case CB_GETITEMDATA: return SendMessageW(st->list, LB_GETITEMDATA, wParam, 0);
        case CB_SETITEMDATA: return SendMessageW(st->list, LB_SETITEMDATA, wParam, lParam) == LB_ERR ? CB_ERR : CB_OKAY;
        case CB_FINDSTRING: return SendMessageW(st->list, LB_FINDSTRING, wParam, lParam);
        case CB_FINDSTRINGEXACT: return SendMessageW(st->list, LB_FINDSTRINGEXACT, wParam, lParam);
        case CB_SELECTSTRING: return SelectString(hwnd, st, wParam, lParam);
        case CB_SETCURSEL: return SetCurSel(hwnd, st, wParam);
        case CB_GETCURSEL: return st->dropped ? SendMessageW(st->list, LB_GETCURSEL, 0, 0) : st->selection;
        case CB_GETTOPINDEX: return SendMessageW(st->list, LB_GETTOPINDEX, 0, 0);
        case CB_SETTOPINDEX: return SendMessageW(st->list, LB_SETTOPINDEX, wParam, 0);
        case CB_SHOWDROPDOWN: return ShowDropDown(hwnd, st, wParam);
        case CB_GETDROPPEDSTATE: return GetDroppedState(hwnd, st);
        case CB_GETDROPPEDCONTROLRECT: return GetDroppedRect(hwnd, st, lParam);
        case CB_SETDROPPEDWIDTH: return SetDroppedWidth(st, wParam);
        case CB_GETDROPPEDWIDTH: return std::max<LRESULT>(st->droppedWidth, [&] { RECT r; GetWindowRect(hwnd, &r); return r.right - r.left; }());
        case CB_SETITEMHEIGHT: return SetItemHeight(hwnd, st, wParam, lParam);
        case CB_GETITEMHEIGHT: return static_cast<int>(wParam) == -1 ? st->fieldHeight - 6 : ItemHeight(st);
        case CB_GETEDITSEL: return GetEditSel(st, wParam, lParam);
        case CB_SETEDITSEL: return SetEditSel(st, lParam);
        case CB_LIMITTEXT: return LimitText(st, wParam);
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The box's text is its edit box's, or the chosen item's.
LRESULT OnTextMessage(HWND hwnd, ComboState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    if (st->edit != nullptr) return SendMessageW(st->edit, message, wParam, lParam);
    if (message == WM_SETTEXT) {
        const LRESULT found = SendMessageW(st->list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
        if (found == LB_ERR) return CB_ERR;
        SetCurSel(hwnd, st, static_cast<WPARAM>(found));
        return TRUE;
    }
    const std::u16string text = st->selection >= 0 ? ItemText(st, st->selection) : std::u16string();
    if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
    if (lParam == 0 || wParam == 0) return 0;
    const size_t n = std::min<size_t>(text.size(), wParam - 1);
    auto* out = reinterpret_cast<WCHAR*>(lParam);
    std::copy_n(text.begin(), n, out);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

// The list is made hidden at creation, owned by the box's top-level window; a
// simple box's is its child in view, framed with a sunken edge like the field,
// and has the id the platform gives it.
HWND MakeList(HWND hwnd) {
    const DWORD style = StyleOf(hwnd);
    DWORD listStyle = WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (style & CBS_SORT) listStyle |= LBS_SORT;
    if (style & CBS_HASSTRINGS) listStyle |= LBS_HASSTRINGS;
    if (style & CBS_OWNERDRAWFIXED) listStyle |= LBS_OWNERDRAWFIXED;
    if (IsSimple(hwnd)) {
        listStyle |= WS_CHILD | WS_VISIBLE;
        if (!IsWindowEnabled(hwnd)) listStyle |= WS_DISABLED;
        constexpr INT_PTR kSimpleListId = 1000;
        return CreateWindowExW(WS_EX_CLIENTEDGE, kComboListClass, nullptr, listStyle, 0, 0, 0, 0, hwnd,
                               reinterpret_cast<HMENU>(kSimpleListId), nullptr, hwnd);
    }
    HWND owner = GetAncestor(hwnd, GA_ROOT);
    return CreateWindowExW(WS_EX_TOOLWINDOW, kComboListClass, nullptr, listStyle | WS_POPUP | WS_BORDER, 0, 0, 10, 10,
                           owner, nullptr, nullptr, hwnd);
}

// An owner-drawn box asks its parent for the height of the list's items.
void MeasureItems(HWND hwnd, ComboState* st) {
    if (!IsOwnerDrawn(hwnd) || GetParent(hwnd) == nullptr) {
        SendMessageW(st->list, LB_SETITEMHEIGHT, 0, FontHeight(hwnd, st->font) + 2);
        return;
    }
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_COMBOBOX;
    measure.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    measure.itemHeight = static_cast<UINT>(FontHeight(hwnd, st->font) + 2);
    SendMessageW(GetParent(hwnd), WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    SendMessageW(st->list, LB_SETITEMHEIGHT, 0, std::clamp<int>(static_cast<int>(measure.itemHeight), 1, 255));
}

LRESULT OnCreate(HWND hwnd, ComboState* st, LPARAM lParam) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    // Scroll bars asked of the box are the dropped list's, which always has its
    // vertical one; the box itself is only its field.
    if (StyleOf(hwnd) & (WS_VSCROLL | WS_HSCROLL)) {
        SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(StyleOf(hwnd) & ~(WS_VSCROLL | WS_HSCROLL)));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if ((st = Again(hwnd)) == nullptr) return -1;
    }
    st->list = MakeList(hwnd);
    if (st->list == nullptr) return -1;
    MeasureItems(hwnd, st);
    if ((st = Again(hwnd)) == nullptr) return -1;
    st->fieldHeight = MeasureField(hwnd, st);
    if ((st = Again(hwnd)) == nullptr) return -1;
    st->listHeight = std::max(cs != nullptr ? cs->cy - st->fieldHeight : 0, ItemHeight(st) + 2);
    MakeEdit(hwnd, st);
    Resize(hwnd, st);
    PlaceChildren(hwnd, st);
    return 0;
}

LRESULT OnDestroy(ComboState* st) {
    if (st->edit != nullptr && st->editProc != nullptr && IsWindow(st->edit)) {
        SetWindowLongPtrW(st->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(st->editProc));
    }
    if (st->list != nullptr && IsWindow(st->list)) DestroyWindow(st->list);
    st->list = nullptr;
    st->dropped = false;
    return 0;
}

LRESULT OnSetFont(HWND hwnd, ComboState* st, WPARAM wParam, LPARAM lParam) {
    SetFont(hwnd, &st->font, wParam, lParam);
    if (st->edit != nullptr) SendMessageW(st->edit, WM_SETFONT, wParam, lParam);
    SendMessageW(st->list, WM_SETFONT, wParam, FALSE);
    MeasureItems(hwnd, st);
    st->fieldHeight = MeasureField(hwnd, st);
    Resize(hwnd, st);
    PlaceChildren(hwnd, st);
    return 0;
}

LRESULT OnWindowMessage(HWND hwnd, ComboState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH: return OnTextMessage(hwnd, st, message, wParam, lParam);
        case WM_SETFONT: return OnSetFont(hwnd, st, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_ENABLE:
            if (st->edit != nullptr) EnableWindow(st->edit, wParam != 0);
            if (IsSimple(hwnd)) EnableWindow(st->list, wParam != 0);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SIZE: PlaceChildren(hwnd, st); return 0;
        case WM_WINDOWPOSCHANGING:
            OnPosChanging(hwnd, st, lParam);
            return DefWindowProcW(hwnd, message, wParam, lParam);
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
            // An open list takes Enter and Escape from the dialog.
            if (st->dropped) code |= DLGC_WANTMESSAGE;
            return code;
        }
        default: return OnItemMessage(hwnd, st, message, wParam, lParam);
    }
}

// ============================================================================
// The procedure
// ============================================================================

LRESULT Dispatch(HWND hwnd, ComboState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(hwnd, st, lParam);
        case WM_DESTROY: return OnDestroy(st);
        case WM_ERASEBKGND: return TRUE;  // WM_PAINT covers the whole box
        case WM_PAINT: return OnPaint(hwnd, st);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: return OnButtonDown(hwnd, st, lParam);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: return OnKeyDown(hwnd, st, message, wParam, lParam);
        case WM_CHAR: return OnChar(st, wParam);
        case WM_MOUSEWHEEL:
            // The wheel scrolls an open list, or a simple box's.
            if (st->dropped || IsSimple(hwnd)) return SendMessageW(st->list, message, wParam, lParam);
            return DefWindowProcW(hwnd, message, wParam, lParam);
        case WM_SETFOCUS: return OnSetFocus(hwnd, st);
        case WM_KILLFOCUS:
            // The focus going to the box's own edit box is no loss.
            if (st->edit == nullptr || reinterpret_cast<HWND>(wParam) != st->edit) LoseFocus(hwnd, st);
            return 0;
        case WM_COMMAND: return OnCommand(hwnd, st, wParam, lParam);
        case kComboListClosed: return OnListClosed(hwnd, st, wParam);
        default: return OnWindowMessage(hwnd, st, message, wParam, lParam);
    }
}

}  // namespace

LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlProc<ComboState, Dispatch>(hwnd, message, wParam, lParam);
}

}  // namespace tq3::fw::controls
