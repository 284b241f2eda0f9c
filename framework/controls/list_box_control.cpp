// The "LISTBOX" class, and "ComboLBox", the same list in a combo box: dropped
// down as a pop-up, or in view below a simple box's field as its child.
//
// Sections: state; geometry and scrolling; items; selection; painting; keyboard;
// mouse; the dropped list of a combo box; the messages; the procedure.
//
// Call flow: ListBoxProc / ComboListProc (ControlProc) -> Dispatch ->
// OnItemMessage (AddString -> InsertAt, DeleteString, GetText, Find...) /
// OnSelectionMessage / OnPaint (PaintItem per visible item) / OnKeyDown (MoveCaret)
// / OnChar / OnButtonDown, OnMouseMove, OnButtonUp (SelectFromMouse) / OnScroll /
// OnWheel / OnFocus.
// A user's change of selection goes MoveCaret or SelectFromMouse -> Select* ->
// Redraw, then Notify(LBN_SELCHANGE) as the last thing the handler does, since the
// parent may destroy the list in answer.
//
// Only the items in view are painted, and items are stored in chunks with their
// collation keys (ListItems), so a list of 100,000 sorted strings adds, scrolls
// and paints as fast as a short one.
#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "framework/controls/button.h"
#include "framework/controls/controls_internal.h"
#include "framework/controls/list_box.h"
#include "framework/controls/list_items_internal.h"
#include "framework/core/geometry.h"
#include "framework/core/locale.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"

namespace tq3::fw::controls {

namespace {

// ============================================================================
// State
// ============================================================================

struct ListBoxState {
    ListItems items;          // the items, in the order shown
    int top = 0;              // index of the first item in view
    int caret = 0;            // the item with the focus rectangle; the keyboard moves it
    int anchor = 0;           // where an extended selection made with Shift starts
    int current = -1;         // the selected item of a single-selection list; -1 for none
    int itemHeight = 0;       // pitch of one item in pixels; 0 until measured with the font
    HFONT font = nullptr;     // from WM_SETFONT; null draws with the dialog font
    bool focused = false;     // holds the keyboard focus
    bool tracking = false;    // the left button went down in it; it holds the capture
    HWND combo = nullptr;     // the combo box whose list this is; null for a plain list
    bool popup = false;       // the combo box's dropped list; false for a simple box's list, a child always in view
    bool hovered = false;     // dropped list: the mouse has been over an item since it opened
    bool scrolling = false;   // dropped list: its scroll bar holds the capture for a drag
    bool sizing = false;      // resizing itself to a whole number of items
    bool scrollBar = false;   // made with WS_VSCROLL (the window hides the bar, and drops the bit, when all is in view)
};

// The list's own kind of answer for a string it cannot store.
constexpr LRESULT kNoRoom = LB_ERRSPACE;

DWORD Style(HWND hwnd) { return StyleOf(hwnd); }
bool IsExtended(HWND hwnd) { return (Style(hwnd) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0; }
bool IsOwnerDrawn(HWND hwnd) { return (Style(hwnd) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
// Whether items carry strings: always, unless the parent draws them and did not
// ask for strings; then an item is only its 32- or 64-bit value.
bool HasStrings(HWND hwnd) { return !IsOwnerDrawn(hwnd) || (Style(hwnd) & LBS_HASSTRINGS) != 0; }
bool IsSorted(HWND hwnd) { return (Style(hwnd) & LBS_SORT) != 0 && HasStrings(hwnd); }

// Notifications go to the parent; a dropped list's go to its combo box, which
// turns them into its own.
void Notify(HWND hwnd, const ListBoxState* st, WORD code) {
    if (st->combo != nullptr) {
        auto id = static_cast<WORD>(GetDlgCtrlID(hwnd));
        SendMessageW(st->combo, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
        return;
    }
    NotifyParent(hwnd, code);
}

// ============================================================================
// Geometry and scrolling
// ============================================================================

// The height of a line of the list's font plus a pixel above and below; an
// owner-drawn list asks its parent once, at creation.
int TextItemHeight(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    if (dc == nullptr) return 16;
    HGDIOBJ old = SelectObject(dc, FontOrDefault(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return std::max<int>(1, tm.tmHeight + 2);
}

int ClientHeight(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return rc.bottom - rc.top;
}

// Items that fit whole in the client area; at least one.
int PageSize(HWND hwnd, const ListBoxState* st) { return std::max(1, ClientHeight(hwnd) / st->itemHeight); }

int MaxTop(HWND hwnd, const ListBoxState* st) { return std::max(0, st->items.Count() - PageSize(hwnd, st)); }

// Row `index` of a list whose client area is `width` wide.
RECT RowRect(const ListBoxState* st, int index, LONG width) {
    const LONG top = (index - st->top) * st->itemHeight;
    return RECT{0, top, width, top + st->itemHeight};
}

RECT ItemRect(HWND hwnd, const ListBoxState* st, int index) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return RowRect(st, index, rc.right);
}

void UpdateScrollBar(HWND hwnd, const ListBoxState* st) {
    if (!st->scrollBar) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (Style(hwnd) & LBS_DISABLENOSCROLL) si.fMask |= SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(0, st->items.Count() - 1);
    si.nPage = static_cast<UINT>(PageSize(hwnd, st));
    si.nPos = st->top;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void Redraw(HWND hwnd) {
    if ((Style(hwnd) & LBS_NOREDRAW) == 0) InvalidateRect(hwnd, nullptr, TRUE);
}

// An item scrolled out of view has nothing on screen to paint again: a page key
// leaves the item it selects from above the top.
void RedrawItem(HWND hwnd, const ListBoxState* st, int index) {
    if (index < st->top || index >= st->items.Count() || (Style(hwnd) & LBS_NOREDRAW) != 0) return;
    RECT r = ItemRect(hwnd, st, index);
    if (r.top >= ClientHeight(hwnd)) return;
    InvalidateRect(hwnd, &r, TRUE);
}

// Scrolls so that `top` is the first item in view; the rows still in view move
// with the picture and only the uncovered ones are painted again. A jump that
// keeps at most one row, as a page key's does, paints everything again: moving
// the picture costs more than painting that row.
void SetTop(HWND hwnd, ListBoxState* st, int top) {
    top = std::clamp(top, 0, MaxTop(hwnd, st));
    if (top == st->top) return;
    const int rows = st->top - top;
    st->top = top;
    if ((Style(hwnd) & LBS_NOREDRAW) == 0) {
        if (std::abs(rows) >= PageSize(hwnd, st) - 1) {
            // A new page's items are usually cold in memory; their loads start now
            // and overlap the scroll bar's update instead of waiting in the paint.
            st->items.Prefetch(top, top + PageSize(hwnd, st));
            InvalidateRect(hwnd, nullptr, TRUE);
        } else {
            ScrollWindowEx(hwnd, 0, rows * st->itemHeight, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
        }
    }
    UpdateScrollBar(hwnd, st);
}

void EnsureVisible(HWND hwnd, ListBoxState* st, int index) {
    if (index < st->top) {
        SetTop(hwnd, st, index);
    } else if (index >= st->top + PageSize(hwnd, st)) {
        SetTop(hwnd, st, index - PageSize(hwnd, st) + 1);
    }
}

// The item under a client point, or the nearest one when the point is above or
// below the items; -1 in an empty list.
int NearestItem(const ListBoxState* st, int y) {
    if (st->items.Count() == 0) return -1;
    int index = st->top + (y >= 0 ? y / st->itemHeight : -1);
    return std::clamp(index, 0, st->items.Count() - 1);
}

// Without LBS_NOINTEGRALHEIGHT the list shows no partial item at its bottom: it
// makes its window shorter to a whole number of items.
void FitIntegralHeight(HWND hwnd, ListBoxState* st) {
    if ((Style(hwnd) & LBS_NOINTEGRALHEIGHT) != 0 || st->combo != nullptr || st->sizing) return;
    const int client = ClientHeight(hwnd);
    const int extra = client % st->itemHeight;
    if (extra == 0 || client < st->itemHeight) return;
    RECT wr;
    GetWindowRect(hwnd, &wr);
    st->sizing = true;
    SetWindowPos(hwnd, nullptr, 0, 0, wr.right - wr.left, wr.bottom - wr.top - extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    st = StateOf<ListBoxState>(hwnd);
    if (st != nullptr) st->sizing = false;
}

// ============================================================================
// Items
// ============================================================================

bool Valid(const ListBoxState* st, WPARAM index) {
    return static_cast<int>(index) >= 0 && static_cast<int>(index) < st->items.Count();
}

// A new item from a message's lParam: its string, or its value when the list
// keeps no strings. Throws std::bad_alloc before the list changes.
ListItem MakeItem(HWND hwnd, LPARAM lParam) {
    ListItem item;
    if (!HasStrings(hwnd)) {
        item.data = static_cast<ULONG_PTR>(lParam);
        return item;
    }
    if (lParam != 0) item.text = reinterpret_cast<LPCWSTR>(lParam);
    // Sorted lists order their items as the user's locale does, ignoring case;
    // the key is made once here and compared as bytes from then on.
    if (IsSorted(hwnd)) AppendSortKey(LOCALE_USER_DEFAULT, NORM_IGNORECASE, item.text, item.key);
    return item;
}

// After an item went in before `index`: the selection, the caret and the view
// keep pointing at the items they pointed at.
LRESULT Inserted(HWND hwnd, ListBoxState* st, int index) {
    if (st->current >= index) ++st->current;
    if (st->caret >= index && st->items.Count() > 1) ++st->caret;
    if (st->anchor >= index && st->items.Count() > 1) ++st->anchor;
    UpdateScrollBar(hwnd, st);
    if (index < st->top + PageSize(hwnd, st) + 1) Redraw(hwnd);
    return index;
}

// LB_ADDSTRING (`sortedPlace`: at its place in a sorted list, else at the end)
// and LB_INSERTSTRING (before `where`, -1 for the end). When memory runs out the
// list stays as it was and answers LB_ERRSPACE.
LRESULT AddString(HWND hwnd, ListBoxState* st, LPARAM lParam, bool sortedPlace, WPARAM where) {
    const int count = st->items.Count();
    int index = count;
    if (!sortedPlace && static_cast<int>(where) != -1) {
        if (static_cast<int>(where) < 0 || static_cast<int>(where) > count) return LB_ERR;
        index = static_cast<int>(where);
    }
    try {
        ListItem item = MakeItem(hwnd, lParam);
        if (sortedPlace && IsSorted(hwnd)) index = st->items.UpperBound(item.key);
        st->items.Insert(index, std::move(item));
    } catch (const std::bad_alloc&) {
        return kNoRoom;
    }
    return Inserted(hwnd, st, index);
}

LRESULT DeleteString(HWND hwnd, ListBoxState* st, WPARAM wParam) {
    if (!Valid(st, wParam)) return LB_ERR;
    const int index = static_cast<int>(wParam);
    st->items.Erase(index);
    const int count = st->items.Count();
    if (st->current == index) st->current = -1;
    if (st->current > index) --st->current;
    if (st->caret > index || st->caret >= count) st->caret = std::max(0, st->caret - 1);
    if (st->anchor > index || st->anchor >= count) st->anchor = std::max(0, st->anchor - 1);
    st->top = std::clamp(st->top, 0, MaxTop(hwnd, st));
    UpdateScrollBar(hwnd, st);
    Redraw(hwnd);
    return count;
}

LRESULT ResetContent(HWND hwnd, ListBoxState* st) {
    st->items.Clear();
    st->top = st->caret = st->anchor = 0;
    st->current = -1;
    UpdateScrollBar(hwnd, st);
    Redraw(hwnd);
    return 0;
}

// LB_GETTEXT copies the string with its terminating zero into the caller's
// buffer, which must be large enough (LB_GETTEXTLEN + 1); without strings it
// copies the item's value.
LRESULT GetText(HWND hwnd, const ListBoxState* st, WPARAM wParam, LPARAM lParam) {
    if (!Valid(st, wParam) || lParam == 0) return LB_ERR;
    const ListItem& item = st->items.At(static_cast<int>(wParam));
    if (!HasStrings(hwnd)) {
        *reinterpret_cast<ULONG_PTR*>(lParam) = item.data;
        return sizeof(ULONG_PTR);
    }
    auto* out = reinterpret_cast<WCHAR*>(lParam);
    std::copy(item.text.begin(), item.text.end(), out);
    out[item.text.size()] = 0;
    return static_cast<LRESULT>(item.text.size());
}

LRESULT GetTextLength(HWND hwnd, const ListBoxState* st, WPARAM wParam) {
    if (!Valid(st, wParam)) return LB_ERR;
    if (!HasStrings(hwnd)) return sizeof(ULONG_PTR);
    return static_cast<LRESULT>(st->items.At(static_cast<int>(wParam)).text.size());
}

bool Matches(const std::u16string& text, const WCHAR* wanted, int length, bool exact) {
    if (exact && static_cast<int>(text.size()) != length) return false;
    if (static_cast<int>(text.size()) < length) return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), length, wanted, length) == CSTR_EQUAL;
}

// The first item after `start` (-1: from the top) whose text begins with
// `lParam` (or equals it, exact), ignoring case, going on from the top when the
// end is reached. Without strings, the item whose value equals lParam.
LRESULT FindString(HWND hwnd, const ListBoxState* st, WPARAM start, LPARAM lParam, bool exact) {
    const int count = st->items.Count();
    if (count == 0) return LB_ERR;
    int from = static_cast<int>(start);
    if (from < -1 || from >= count) from = -1;
    const WCHAR* wanted = reinterpret_cast<const WCHAR*>(lParam);
    int length = 0;
    if (HasStrings(hwnd)) {
        if (wanted == nullptr) return LB_ERR;
        while (wanted[length] != 0) ++length;
    }
    for (int n = 1; n <= count; ++n) {
        const int i = (from + n) % count;
        const ListItem& item = st->items.At(i);
        if (HasStrings(hwnd) ? Matches(item.text, wanted, length, exact) : item.data == static_cast<ULONG_PTR>(lParam))
            return i;
    }
    return LB_ERR;
}

// ============================================================================
// Selection
// ============================================================================

bool IsSelected(HWND hwnd, const ListBoxState* st, int index) {
    if (index < 0 || index >= st->items.Count()) return false;
    return IsExtended(hwnd) ? st->items.At(index).selected : index == st->current;
}

// Single selection: makes `index` (-1: none) the selected item and the caret.
// The caret is usually the item that loses the selection, painted again already.
void SelectSingle(HWND hwnd, ListBoxState* st, int index) {
    const int before = st->current;
    if (index != before) {
        RedrawItem(hwnd, st, before);
        st->current = index;
        RedrawItem(hwnd, st, index);
    }
    if (index >= 0) {
        // An item chosen again is painted again, as the platform does; the focus
        // rectangle leaves an item not painted above and comes to this one.
        if (index == before) RedrawItem(hwnd, st, index);
        if (st->caret != before && st->caret != index) RedrawItem(hwnd, st, st->caret);
        st->caret = index;
        EnsureVisible(hwnd, st, index);
    }
}

// Extended selection: selects or deselects the items from `first` to `last`.
void SelectRange(HWND hwnd, ListBoxState* st, int first, int last, bool on) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, st->items.Count() - 1);
    for (int i = first; i <= last; ++i) {
        ListItem& item = st->items.At(i);
        if (item.selected == on) continue;
        item.selected = on;
        RedrawItem(hwnd, st, i);
    }
}

void ClearSelection(HWND hwnd, ListBoxState* st) { SelectRange(hwnd, st, 0, st->items.Count() - 1, false); }

void MoveCaretTo(HWND hwnd, ListBoxState* st, int index) {
    RedrawItem(hwnd, st, st->caret);
    st->caret = index;
    RedrawItem(hwnd, st, index);
    EnsureVisible(hwnd, st, index);
}

// What a click or a key does to the selection at `index`: a single-selection
// list selects it; an extended one selects it alone, adds the range from the
// anchor (Shift), or (Ctrl) toggles it or only moves the caret (Ctrl with a key).
void SelectByUser(HWND hwnd, ListBoxState* st, int index, bool shift, bool control, bool toggle) {
    if (!IsExtended(hwnd)) {
        SelectSingle(hwnd, st, index);
        return;
    }
    if (shift) {
        if (!control) ClearSelection(hwnd, st);
        SelectRange(hwnd, st, st->anchor, index, true);
    } else if (control) {
        if (toggle) {
            SelectRange(hwnd, st, index, index, !st->items.At(index).selected);
        }
        st->anchor = index;
    } else {
        ClearSelection(hwnd, st);
        SelectRange(hwnd, st, index, index, true);
        st->anchor = index;
    }
    MoveCaretTo(hwnd, st, index);
}

LRESULT SetCurSel(HWND hwnd, ListBoxState* st, WPARAM wParam) {
    if (IsExtended(hwnd)) return LB_ERR;
    const int index = static_cast<int>(wParam);
    if (index < -1 || index >= st->items.Count()) {
        SelectSingle(hwnd, st, -1);
        return LB_ERR;
    }
    SelectSingle(hwnd, st, index);
    return index == -1 ? LB_ERR : index;
}

// LB_SETSEL: wParam selects or deselects, lParam is the item (-1: every item).
LRESULT SetSel(HWND hwnd, ListBoxState* st, WPARAM wParam, LPARAM lParam) {
    if (!IsExtended(hwnd)) return LB_ERR;
    const int index = static_cast<int>(lParam);
    if (index == -1) {
        SelectRange(hwnd, st, 0, st->items.Count() - 1, wParam != 0);
        return LB_OKAY;
    }
    if (!Valid(st, static_cast<WPARAM>(index))) return LB_ERR;
    SelectRange(hwnd, st, index, index, wParam != 0);
    if (wParam != 0) {
        st->anchor = index;
        MoveCaretTo(hwnd, st, index);
    }
    return LB_OKAY;
}

LRESULT GetSelCount(HWND hwnd, const ListBoxState* st) {
    if (!IsExtended(hwnd)) return LB_ERR;
    int n = 0;
    for (int i = 0; i < st->items.Count(); ++i) n += st->items.At(i).selected ? 1 : 0;
    return n;
}

LRESULT GetSelItems(HWND hwnd, const ListBoxState* st, WPARAM wParam, LPARAM lParam) {
    if (!IsExtended(hwnd) || lParam == 0) return LB_ERR;
    auto* out = reinterpret_cast<int*>(lParam);
    int n = 0;
    for (int i = 0; i < st->items.Count() && n < static_cast<int>(wParam); ++i) {
        if (st->items.At(i).selected) out[n++] = i;
    }
    return n;
}

LRESULT SelectString(HWND hwnd, ListBoxState* st, WPARAM start, LPARAM lParam) {
    const LRESULT found = FindString(hwnd, st, start, lParam, false);
    if (found == LB_ERR) return LB_ERR;
    if (IsExtended(hwnd)) {
        SelectRange(hwnd, st, static_cast<int>(found), static_cast<int>(found), true);
        MoveCaretTo(hwnd, st, static_cast<int>(found));
    } else {
        SelectSingle(hwnd, st, static_cast<int>(found));
    }
    return found;
}

// ============================================================================
// Painting
// ============================================================================

// The background brush the parent chooses (WM_CTLCOLORLISTBOX), after the usual
// window colours are set in the context; the window colour when it answers none.
HBRUSH Background(HWND hwnd, const ListBoxState* st, HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    HWND asked = st->combo != nullptr ? GetParent(st->combo) : GetParent(hwnd);
    HBRUSH brush = nullptr;
    if (asked != nullptr && st->combo == nullptr) {
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(asked, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    }
    return brush != nullptr ? brush : GetSysColorBrush(COLOR_WINDOW);
}

void DrawOwnerItem(HWND hwnd, const ListBoxState* st, HDC dc, int index, const RECT& r) {
    DRAWITEMSTRUCT item{};
    item.CtlType = st->combo != nullptr ? ODT_COMBOBOX : ODT_LISTBOX;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(st->combo != nullptr ? st->combo : hwnd));
    item.itemID = static_cast<UINT>(index);
    item.itemAction = ODA_DRAWENTIRE;
    if (IsSelected(hwnd, st, index)) item.itemState |= ODS_SELECTED;
    if (st->focused && index == st->caret) item.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
    // A combo box's parent knows the combo box, not its dropped list.
    item.hwndItem = st->combo != nullptr ? st->combo : hwnd;
    item.hDC = dc;
    item.rcItem = r;
    item.itemData = st->items.At(index).data;
    HWND owner = st->combo != nullptr ? GetParent(st->combo) : GetParent(hwnd);
    if (owner != nullptr) SendMessageW(owner, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

// How the rows of one paint look, read from the window once rather than for each
// row: a page shows two dozen of them.
struct RowLook {
    bool ownerDrawn;  // the parent draws the rows
    bool extended;    // the selection is each item's own flag, not the current item
    bool enabled;
    LONG width;       // of the client area, which every row spans
};

void DrawTextItem(const ListBoxState* st, const RowLook& look, HDC dc, const ListItem& item, int index,
                  const RECT& r) {
    const bool selected = look.extended ? item.selected : index == st->current;
    if (selected) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    // A disabled list greys its text, except on the highlight, where grey would not read.
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : look.enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
    const std::u16string& text = item.text;
    RECT box = r;
    box.left += 2;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void PaintItems(HWND hwnd, ListBoxState* st, HDC dc, const RECT& dirty) {
    // The parent chooses the background first; what it does in answer is done
    // before the items are looked at.
    const HBRUSH background = Background(hwnd, st, dc);
    const int first = st->top + std::max<int>(0, dirty.top) / st->itemHeight;
    const int last = std::min(st->items.Count() - 1, st->top + (dirty.bottom - 1) / st->itemHeight);
    // The rows' items are found once, walking the chunks, rather than each index
    // looked up on its own for every use.
    std::vector<const ListItem*> shown;
    st->items.Range(first, last, &shown);
    // Rows scrolled into view are usually cold in memory: a Page Down in a long list
    // brings two dozen never painted, each an item and then its text to load.
    // Asking for them all before the fill (the items, whose addresses are at hand,
    // then their texts) lets those loads overlap one another and the fill,
    // instead of each waiting in turn inside the drawing of a row.
    for (const ListItem* item : shown) __builtin_prefetch(item);
    for (const ListItem* item : shown) __builtin_prefetch(item->text.data());
    FillRect(dc, &dirty, background);
    RECT client;
    GetClientRect(hwnd, &client);
    const RowLook look{IsOwnerDrawn(hwnd), IsExtended(hwnd), IsWindowEnabled(hwnd) != FALSE, client.right};
    for (int i = first; i <= last; ++i) {
        if (look.ownerDrawn) {
            RECT r = ItemRect(hwnd, st, i);
            // The parent may change the list while it draws: each item is looked up
            // afresh.
            DrawOwnerItem(hwnd, st, dc, i, r);
            st = StateOf<ListBoxState>(hwnd);  // the parent may have done anything
            if (st == nullptr) return;
            continue;
        }
        const RECT r = RowRect(st, i, look.width);
        DrawTextItem(st, look, dc, *shown[static_cast<std::size_t>(i - first)], i, r);
        if (st->focused && i == st->caret && st->combo == nullptr) DrawFocusRect(dc, &r);
    }
    // An empty list with the focus still shows where the caret is.
    if (st->items.Count() == 0 && st->focused && st->combo == nullptr) {
        RECT r = ItemRect(hwnd, st, 0);
        DrawFocusRect(dc, &r);
    }
}

LRESULT OnPaint(HWND hwnd, ListBoxState* st) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr) {
        int saved = SaveDC(dc);
        SelectObject(dc, FontOrDefault(st->font));
        PaintItems(hwnd, st, dc, ps.rcPaint);
        RestoreDC(dc, saved);
    }
    EndPaint(hwnd, &ps);
    return 0;
}

// ============================================================================
// Keyboard
// ============================================================================

// Where a navigation key takes the caret; -1 for a key that is not one.
int KeyTarget(HWND hwnd, const ListBoxState* st, WPARAM key) {
    const int last = st->items.Count() - 1;
    const int page = PageSize(hwnd, st);
    const int from = st->caret;
    // In a single-selection list with nothing selected the first arrow selects
    // the item with the focus rectangle.
    const int step = !IsExtended(hwnd) && st->current < 0 ? 0 : 1;
    switch (key) {
        // A list of one column takes Left and Right as Up and Down.
        case VK_LEFT:
        case VK_UP: return std::max(0, from - step);
        case VK_RIGHT:
        case VK_DOWN: return std::min(last, from + step);
        case VK_PRIOR: return std::max(0, from - (page - 1 > 0 ? page - 1 : 1));
        case VK_NEXT: return std::min(last, from + (page - 1 > 0 ? page - 1 : 1));
        case VK_HOME: return 0;
        case VK_END: return last;
        default: return -1;
    }
}

// A navigation key moves the caret and the selection with it; an extended list
// always reports it, a single one only when the selection moved.
void MoveCaret(HWND hwnd, ListBoxState* st, WPARAM key) {
    const int target = KeyTarget(hwnd, st, key);
    if (target < 0) return;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const int before = st->current;
    // A page key first turns the page, so that the caret lands at the same row.
    if (key == VK_NEXT && target >= st->top + PageSize(hwnd, st)) SetTop(hwnd, st, target - PageSize(hwnd, st) + 1);
    if (key == VK_PRIOR && target < st->top) SetTop(hwnd, st, target);
    SelectByUser(hwnd, st, target, shift, control, false);
    const bool changed = IsExtended(hwnd) || st->current != before;
    if (changed && ((Style(hwnd) & LBS_NOTIFY) != 0 || st->combo != nullptr)) Notify(hwnd, st, LBN_SELCHANGE);
}

LRESULT OnKeyDown(HWND hwnd, ListBoxState* st, WPARAM key) {
    if (st->items.Count() == 0) return 0;
    if (key == VK_SPACE && IsExtended(hwnd)) {
        SelectByUser(hwnd, st, st->caret, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, true);
        if (Style(hwnd) & LBS_NOTIFY) Notify(hwnd, st, LBN_SELCHANGE);
        return 0;
    }
    MoveCaret(hwnd, st, key);
    return 0;
}

// Type-ahead: a printable character selects the next item that begins with it,
// going round from the top.
LRESULT OnChar(HWND hwnd, ListBoxState* st, WPARAM ch) {
    if (ch < 0x20 || !HasStrings(hwnd) || st->items.Count() == 0) return 0;
    const WCHAR wanted[2] = {static_cast<WCHAR>(ch), 0};
    const LRESULT found = FindString(hwnd, st, static_cast<WPARAM>(st->caret), reinterpret_cast<LPARAM>(wanted), false);
    if (found == LB_ERR) return 0;
    const int before = st->current;
    SelectByUser(hwnd, st, static_cast<int>(found), false, false, false);
    const bool changed = IsExtended(hwnd) || st->current != before;
    if (changed && ((Style(hwnd) & LBS_NOTIFY) != 0 || st->combo != nullptr)) Notify(hwnd, st, LBN_SELCHANGE);
    return 0;
}

LRESULT OnFocus(HWND hwnd, ListBoxState* st, bool gained) {
    st->focused = gained;
    if (!gained && st->tracking) {
        st->tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
    }
    RedrawItem(hwnd, st, st->items.Count() == 0 ? 0 : st->caret);
    if (st->items.Count() == 0) Redraw(hwnd);
    Notify(hwnd, st, gained ? LBN_SETFOCUS : LBN_KILLFOCUS);
    return 0;
}

// ============================================================================
// Mouse
// ============================================================================

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

bool InClient(HWND hwnd, POINT pt) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return PtInRect(&rc, pt) != FALSE;
}

// A press gives the list the focus; a simple combo box's list leaves it with the
// box (in its edit box), where the user goes on typing.
void TakeFocus(HWND hwnd, const ListBoxState* st) {
    HWND focus = GetFocus();
    if (st->combo == nullptr) {
        if (focus != hwnd) SetFocus(hwnd);
        return;
    }
    if (focus != st->combo && (focus == nullptr || GetParent(focus) != st->combo)) SetFocus(st->combo);
}

LRESULT OnButtonDown(HWND hwnd, ListBoxState* st, WPARAM keys, LPARAM lParam, bool twice) {
    TakeFocus(hwnd, st);
    st = StateOf<ListBoxState>(hwnd);
    if (st == nullptr) return 0;
    SetCapture(hwnd);
    st->tracking = true;
    const int index = NearestItem(st, PointOf(lParam).y);
    if (index >= 0 && PointOf(lParam).y < (st->items.Count() - st->top) * st->itemHeight) {
        SelectByUser(hwnd, st, index, (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, true);
    }
    if (twice && (Style(hwnd) & LBS_NOTIFY) != 0) Notify(hwnd, st, LBN_DBLCLK);
    return 0;
}

// While the button is held the selection of a single-selection list follows the
// mouse, and an extended one stretches from its anchor; above or below the list
// it scrolls.
LRESULT OnMouseMove(HWND hwnd, ListBoxState* st, WPARAM keys, LPARAM lParam) {
    if (!st->tracking || st->items.Count() == 0) return 0;
    const POINT pt = PointOf(lParam);
    const int index = NearestItem(st, pt.y);
    if (index == st->caret) return 0;
    SelectByUser(hwnd, st, index, IsExtended(hwnd), (keys & MK_CONTROL) != 0, false);
    return 0;
}

LRESULT OnButtonUp(HWND hwnd, ListBoxState* st) {
    if (!st->tracking) return 0;
    st->tracking = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    // A click reports a change of selection even when the item was already
    // selected, as users of the platform's list rely on.
    if (Style(hwnd) & LBS_NOTIFY) Notify(hwnd, st, LBN_SELCHANGE);
    return 0;
}

LRESULT OnScroll(HWND hwnd, ListBoxState* st, WPARAM wParam) {
    const int page = PageSize(hwnd, st);
    switch (LOWORD(wParam)) {
        case SB_LINEUP: SetTop(hwnd, st, st->top - 1); break;
        case SB_LINEDOWN: SetTop(hwnd, st, st->top + 1); break;
        case SB_PAGEUP: SetTop(hwnd, st, st->top - page); break;
        case SB_PAGEDOWN: SetTop(hwnd, st, st->top + page); break;
        case SB_TOP: SetTop(hwnd, st, 0); break;
        case SB_BOTTOM: SetTop(hwnd, st, MaxTop(hwnd, st)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_TRACKPOS;
            GetScrollInfo(hwnd, SB_VERT, &si);
            SetTop(hwnd, st, si.nTrackPos);
            break;
        }
        case SB_ENDSCROLL:
            // A dropped list takes the mouse back after a drag of its scroll bar.
            if (st->scrolling) {
                st->scrolling = false;
                if (IsWindowVisible(hwnd)) SetCapture(hwnd);
            }
            break;
        default: break;
    }
    return 0;
}

LRESULT OnWheel(HWND hwnd, ListBoxState* st, WPARAM wParam) {
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    SetTop(hwnd, st, st->top - notches * static_cast<int>(std::max<UINT>(1, lines)));
    return 0;
}

// ============================================================================
// The dropped list of a combo box
// ============================================================================
//
// While dropped, the list holds the mouse capture: the item under the mouse is
// highlighted as it moves, a release over an item chooses it, and a press
// outside the list closes it unchosen. The combo box is told with
// kComboListClosed; it hides the list and sends its own notifications.

bool OnScrollBar(HWND hwnd, POINT client) {
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    RECT wr;
    GetWindowRect(hwnd, &wr);
    return PtInRect(&wr, screen) != FALSE && !InClient(hwnd, client);
}

LRESULT OnDroppedButtonDown(HWND hwnd, ListBoxState* st, LPARAM lParam) {
    const POINT pt = PointOf(lParam);
    if (InClient(hwnd, pt)) {
        st->tracking = true;
        return 0;
    }
    if (OnScrollBar(hwnd, pt)) {
        POINT screen = pt;
        ClientToScreen(hwnd, &screen);
        st->scrolling = true;
        return DefWindowProcW(hwnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(screen.x, screen.y));
    }
    SendMessageW(st->combo, kComboListClosed, FALSE, 0);
    return 0;
}

LRESULT OnDroppedMouseMove(HWND hwnd, ListBoxState* st, LPARAM lParam) {
    const POINT pt = PointOf(lParam);
    if (!InClient(hwnd, pt) || st->items.Count() == 0) return 0;
    const int index = NearestItem(st, pt.y);
    st->hovered = true;
    if (index != st->current) SelectSingle(hwnd, st, index);
    return 0;
}

LRESULT OnDroppedButtonUp(HWND hwnd, ListBoxState* st, LPARAM lParam) {
    const POINT pt = PointOf(lParam);
    const bool chosen = InClient(hwnd, pt) && (st->tracking || st->hovered) && st->items.Count() > 0;
    st->tracking = false;
    if (!chosen) return 0;
    SelectSingle(hwnd, st, NearestItem(st, pt.y));
    SendMessageW(st->combo, kComboListClosed, TRUE, 0);
    return 0;
}

LRESULT OnDroppedMessage(HWND hwnd, ListBoxState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: return OnDroppedButtonDown(hwnd, st, lParam);
        case WM_MOUSEMOVE: return OnDroppedMouseMove(hwnd, st, lParam);
        case WM_LBUTTONUP: return OnDroppedButtonUp(hwnd, st, lParam);
        case WM_CAPTURECHANGED:
            // Losing the mouse to anything but its own scroll bar ends the drop.
            if (!st->scrolling && reinterpret_cast<HWND>(lParam) != hwnd && IsWindowVisible(hwnd))
                PostMessageW(st->combo, kComboListClosed, FALSE, 1);
            return 0;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case kComboListOpened:
            st->hovered = false;
            st->tracking = false;
            st->scrolling = false;
            return 0;
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// ============================================================================
// The messages
// ============================================================================

LRESULT GetItemRect(HWND hwnd, const ListBoxState* st, WPARAM wParam, LPARAM lParam) {
    if (lParam == 0 || (!Valid(st, wParam) && !(wParam == 0 && st->items.Count() == 0))) return LB_ERR;
    *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, st, static_cast<int>(wParam));
    return 1;
}

// LB_ITEMFROMPOINT: the nearest item in the low word, and 1 in the high word when
// the point lies outside the client area.
LRESULT ItemFromPoint(HWND hwnd, const ListBoxState* st, LPARAM lParam) {
    const POINT pt = PointOf(lParam);
    const int index = NearestItem(st, pt.y);
    const bool inside = InClient(hwnd, pt) && index >= 0 && pt.y < (index - st->top + 1) * st->itemHeight;
    return MAKELONG(static_cast<WORD>(std::max(index, 0)), inside ? 0 : 1);
}

LRESULT SetItemHeight(HWND hwnd, ListBoxState* st, LPARAM lParam) {
    if (lParam <= 0 || lParam > 255) return LB_ERR;
    st->itemHeight = static_cast<int>(lParam);
    st->top = std::clamp(st->top, 0, MaxTop(hwnd, st));
    UpdateScrollBar(hwnd, st);
    Redraw(hwnd);
    return LB_OKAY;
}

LRESULT OnItemMessage(HWND hwnd, ListBoxState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case LB_ADDSTRING: return AddString(hwnd, st, lParam, true, 0);
        case LB_INSERTSTRING: return AddString(hwnd, st, lParam, false, wParam);
        case LB_DELETESTRING: return DeleteString(hwnd, st, wParam);
        case LB_RESETCONTENT: return ResetContent(hwnd, st);
        case LB_GETCOUNT: return st->items.Count();
        case LB_GETTEXT: return GetText(hwnd, st, wParam, lParam);
        case LB_GETTEXTLEN: return GetTextLength(hwnd, st, wParam);
        case LB_GETITEMDATA: return Valid(st, wParam) ? static_cast<LRESULT>(st->items.At(static_cast<int>(wParam)).data) : LB_ERR;
        case LB_SETITEMDATA:
            if (!Valid(st, wParam)) return LB_ERR;
            st->items.At(static_cast<int>(wParam)).data = static_cast<ULONG_PTR>(lParam);
            return 1;
        case LB_FINDSTRING: return FindString(hwnd, st, wParam, lParam, false);
        case LB_FINDSTRINGEXACT: return FindString(hwnd, st, wParam, lParam, true);
        case LB_GETTOPINDEX: return st->top;
        case LB_SETTOPINDEX:
            if (!Valid(st, wParam) && !(wParam == 0 && st->items.Count() == 0)) return LB_ERR;
            SetTop(hwnd, st, static_cast<int>(wParam));
            return LB_OKAY;
        case LB_GETITEMRECT: return GetItemRect(hwnd, st, wParam, lParam);
        case LB_ITEMFROMPOINT: return ItemFromPoint(hwnd, st, lParam);
        case LB_GETITEMHEIGHT: return st->itemHeight;
        case LB_SETITEMHEIGHT: return SetItemHeight(hwnd, st, lParam);
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT OnSelectionMessage(HWND hwnd, ListBoxState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case LB_SETCURSEL: return SetCurSel(hwnd, st, wParam);
        case LB_GETCURSEL: return IsExtended(hwnd) ? (st->items.Count() ? st->caret : LB_ERR) : st->current;
        case LB_SELECTSTRING: return SelectString(hwnd, st, wParam, lParam);
        case LB_SETSEL: return SetSel(hwnd, st, wParam, lParam);
        case LB_GETSEL: return Valid(st, wParam) ? (IsSelected(hwnd, st, static_cast<int>(wParam)) ? 1 : 0) : LB_ERR;
        case LB_GETSELCOUNT: return GetSelCount(hwnd, st);
        case LB_GETSELITEMS: return GetSelItems(hwnd, st, wParam, lParam);
        case LB_SELITEMRANGE:
            if (!IsExtended(hwnd)) return LB_ERR;
            SelectRange(hwnd, st, LOWORD(lParam), HIWORD(lParam), wParam != 0);
            return LB_OKAY;
        case LB_SELITEMRANGEEX:
            if (!IsExtended(hwnd)) return LB_ERR;
            SelectRange(hwnd, st, static_cast<int>(wParam), static_cast<int>(lParam), static_cast<int>(wParam) <= static_cast<int>(lParam));
            return LB_OKAY;
        case LB_GETANCHORINDEX: return st->anchor;
        case LB_SETANCHORINDEX:
            if (!Valid(st, wParam)) return LB_ERR;
            st->anchor = static_cast<int>(wParam);
            return LB_OKAY;
        case LB_GETCARETINDEX: return st->caret;
        case LB_SETCARETINDEX:
            if (!Valid(st, wParam)) return LB_ERR;
            MoveCaretTo(hwnd, st, static_cast<int>(wParam));
            return LB_OKAY;
        default: return OnItemMessage(hwnd, st, message, wParam, lParam);
    }
}

// At creation the list learns its item height: from its font, or from the
// parent (WM_MEASUREITEM) when it draws the items.
LRESULT OnCreate(HWND hwnd, ListBoxState* st, LPARAM lParam) {
    st->itemHeight = TextItemHeight(hwnd, st->font);
    if (IsOwnerDrawn(hwnd)) {
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = st->combo != nullptr ? ODT_COMBOBOX : ODT_LISTBOX;
        measure.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
        measure.itemHeight = static_cast<UINT>(st->itemHeight);
        RECT rc;
        GetClientRect(hwnd, &rc);
        measure.itemWidth = static_cast<UINT>(rc.right - rc.left);
        HWND parent = st->combo != nullptr ? GetParent(st->combo) : GetParent(hwnd);
        if (parent != nullptr && st->combo == nullptr) SendMessageW(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
        st = StateOf<ListBoxState>(hwnd);
        if (st == nullptr) return -1;
        st->itemHeight = std::clamp<int>(static_cast<int>(measure.itemHeight), 1, 255);
    }
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    st->scrollBar = cs != nullptr && (cs->style & WS_VSCROLL) != 0;
    FitIntegralHeight(hwnd, st);
    st = StateOf<ListBoxState>(hwnd);
    if (st != nullptr) UpdateScrollBar(hwnd, st);
    return 0;
}

LRESULT OnSetFont(HWND hwnd, ListBoxState* st, WPARAM wParam, LPARAM lParam) {
    SetFont(hwnd, &st->font, wParam, lParam);
    if (!IsOwnerDrawn(hwnd)) st->itemHeight = TextItemHeight(hwnd, st->font);
    FitIntegralHeight(hwnd, st);
    st = StateOf<ListBoxState>(hwnd);
    if (st != nullptr) UpdateScrollBar(hwnd, st);
    return 0;
}

LRESULT OnInputMessage(HWND hwnd, ListBoxState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN: return OnButtonDown(hwnd, st, wParam, lParam, false);
        case WM_LBUTTONDBLCLK: return OnButtonDown(hwnd, st, wParam, lParam, true);
        case WM_MOUSEMOVE: return OnMouseMove(hwnd, st, wParam, lParam);
        case WM_LBUTTONUP: return OnButtonUp(hwnd, st);
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != hwnd) st->tracking = false;
            return 0;
        case WM_KEYDOWN: return OnKeyDown(hwnd, st, wParam);
        case WM_CHAR: return OnChar(hwnd, st, wParam);
        default: return OnSelectionMessage(hwnd, st, message, wParam, lParam);
    }
}

// ============================================================================
// The procedure
// ============================================================================

LRESULT Dispatch(HWND hwnd, ListBoxState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    if (st->popup) {
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_MOUSEMOVE:
            case WM_LBUTTONUP:
            case WM_CAPTURECHANGED:
            case WM_MOUSEACTIVATE:
            case kComboListOpened: return OnDroppedMessage(hwnd, st, message, wParam, lParam);
            default: break;
        }
    }
    switch (message) {
        case WM_CREATE: return OnCreate(hwnd, st, lParam);
        case WM_SIZE:
            FitIntegralHeight(hwnd, st);
            st = StateOf<ListBoxState>(hwnd);
            if (st != nullptr) UpdateScrollBar(hwnd, st);
            return 0;
        case WM_ERASEBKGND: return TRUE;  // WM_PAINT fills what it paints
        case WM_PAINT: return OnPaint(hwnd, st);
        case WM_ENABLE: Redraw(hwnd); return 0;
        case WM_SETFONT: return OnSetFont(hwnd, st, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_SETREDRAW: {
            DWORD style = Style(hwnd);
            style = wParam ? style & ~LBS_NOREDRAW : style | LBS_NOREDRAW;
            SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
            if (wParam) Redraw(hwnd);
            return 0;
        }
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_VSCROLL: return OnScroll(hwnd, st, wParam);
        case WM_MOUSEWHEEL: return OnWheel(hwnd, st, wParam);
        case WM_SETFOCUS: return OnFocus(hwnd, st, true);
        case WM_KILLFOCUS: return OnFocus(hwnd, st, false);
        default: return OnInputMessage(hwnd, st, message, wParam, lParam);
    }
}

// The list of a combo box learns its combo box from the creation data, and from
// its style whether it drops down (a pop-up) or stays in view (a child).
LRESULT ComboDispatch(HWND hwnd, ListBoxState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs != nullptr) {
            st->combo = reinterpret_cast<HWND>(cs->lpCreateParams);
            st->popup = (cs->style & WS_CHILD) == 0;
        }
    }
    return Dispatch(hwnd, st, message, wParam, lParam);
}

}  // namespace

LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlProc<ListBoxState, Dispatch>(hwnd, message, wParam, lParam);
}

LRESULT ComboListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlProc<ListBoxState, ComboDispatch>(hwnd, message, wParam, lParam);
}

}  // namespace tq3::fw::controls
