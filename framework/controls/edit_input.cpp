// The keyboard and the mouse of the "EDIT" control.
//
// Sections: moving the caret (one small function per key); typed characters;
// the mouse (press, drag with capture and auto-scroll, double-click words);
// scrolling a multiline box.
//
// Call flow: OnKeyDown -> MoveKey / DeleteKey / InsertKey -> SetSelection or
// UserReplace; OnChar -> ControlChar or TypeChar -> UserReplace; OnButtonDown ->
// SelectWordAt or SetSelection, then OnMouseMove / OnTimer -> DragTo, and
// OnButtonUp ends the drag. Each handler ends with the call that may notify the
// parent.
#include <algorithm>

#include "framework/controls/edit_internal.h"
#include "framework/window/virtual_keys.h"

namespace tq3::fw::controls::edit {

namespace {

// The timer that scrolls a drag outside the box, and how often it fires.
constexpr UINT_PTR kAutoScrollTimer = 1;
constexpr UINT kAutoScrollInterval = 100;
// Lines a wheel notch scrolls.
constexpr int kWheelLines = 3;

bool Held(int vk) { return GetKeyState(vk) < 0; }

// ============================================================================
// Moving the caret
// ============================================================================

// The position on the line `delta` lines away that lies under the x the caret
// keeps to while moving up and down.
std::size_t LineMove(HWND hwnd, EditState* st, std::ptrdiff_t delta) {
    POINT p = PointOf(hwnd, *st, st->caret);
    if (st->desiredX < 0) st->desiredX = p.x + st->xOffset;
    std::ptrdiff_t line = static_cast<std::ptrdiff_t>(LineOf(*st, st->caret)) + delta;
    line = std::clamp<std::ptrdiff_t>(line, 0, static_cast<std::ptrdiff_t>(st->lineStarts.size()) - 1);
    int y = p.y + static_cast<int>(line - static_cast<std::ptrdiff_t>(LineOf(*st, st->caret))) * st->lineHeight;
    return PosAtPoint(hwnd, *st, POINT{st->desiredX - st->xOffset, y});
}

// Where a movement key takes the caret; false for keys that do not move it.
bool Target(HWND hwnd, EditState* st, WPARAM key, bool ctrl, std::size_t* pos) {
    bool multi = IsMultiline(hwnd);
    std::size_t line = LineOf(*st, st->caret);
    auto page = static_cast<std::ptrdiff_t>(std::max(1, VisibleLines(hwnd, *st) - 1));
    switch (key) {
        case VK_LEFT: *pos = ctrl ? WordLeft(*st, st->caret) : PrevPos(*st, st->caret); return true;
        case VK_RIGHT: *pos = ctrl ? WordRight(*st, st->caret) : NextPos(*st, st->caret); return true;
        case VK_HOME: *pos = (ctrl || !multi) ? 0 : st->lineStarts[line]; return true;
        case VK_END: *pos = (ctrl || !multi) ? st->text.size() : LineEnd(*st, line); return true;
        case VK_UP: *pos = multi ? LineMove(hwnd, st, -1) : PrevPos(*st, st->caret); return true;
        case VK_DOWN: *pos = multi ? LineMove(hwnd, st, 1) : NextPos(*st, st->caret); return true;
        case VK_PRIOR: *pos = multi ? LineMove(hwnd, st, -page) : st->caret; return multi;
        case VK_NEXT: *pos = multi ? LineMove(hwnd, st, page) : st->caret; return multi;
        default: return false;
    }
}

LRESULT MoveKey(HWND hwnd, EditState* st, WPARAM key, bool shift, bool ctrl) {
    bool vertical = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
    if (!vertical || !IsMultiline(hwnd)) st->desiredX = -1;
    // Left or Right without Shift first drops a selection at its own edge.
    if (!shift && st->anchor != st->caret && (key == VK_LEFT || key == VK_RIGHT) && !ctrl) {
        std::size_t edge = key == VK_LEFT ? SelStart(*st) : SelEnd(*st);
        SetSelection(hwnd, st, edge, edge);
        return 0;
    }
    std::size_t pos = st->caret;
    Target(hwnd, st, key, ctrl, &pos);
    SetSelection(hwnd, st, shift ? st->anchor : pos, pos);
    return 0;
}

// Delete: the selection, or the character (with Ctrl the word) after the caret;
// Shift+Delete cuts.
LRESULT DeleteKey(HWND hwnd, EditState* st, bool shift, bool ctrl) {
    if (shift) {
        SendMessageW(hwnd, WM_CUT, 0, 0);
        return 0;
    }
    if (StyleOf(hwnd) & ES_READONLY) return 0;
    if (st->anchor == st->caret) {
        std::size_t end = ctrl ? WordRight(*st, st->caret) : NextPos(*st, st->caret);
        if (end == st->caret) return 0;
        st->anchor = end;
    }
    UserReplace(hwnd, st, u"", Source::User);
    return 0;
}

}  // namespace

LRESULT OnKeyDown(HWND hwnd, EditState* st, WPARAM key) {
    bool shift = Held(VK_SHIFT);
    bool ctrl = Held(VK_CONTROL);
    std::size_t ignored = 0;
    if (Target(hwnd, st, key, ctrl, &ignored)) return MoveKey(hwnd, st, key, shift, ctrl);
    if (key == VK_DELETE) return DeleteKey(hwnd, st, shift, ctrl);
    // The clipboard keys ask through the messages, as the platform's box does, so
    // that a subclass handling WM_PASTE, WM_CUT or WM_COPY sees every way the user
    // asks for them.
    if (key == VK_INSERT && shift) SendMessageW(hwnd, WM_PASTE, 0, 0);
    if (key == VK_INSERT && ctrl) SendMessageW(hwnd, WM_COPY, 0, 0);
    return 0;
}

// ============================================================================
// Typed characters
// ============================================================================

namespace {

// Backspace: the selection, or the character (Ctrl+Backspace: the word) before the caret.
void Backspace(HWND hwnd, EditState* st, bool word) {
    if (StyleOf(hwnd) & ES_READONLY) return;
    if (st->anchor == st->caret) {
        std::size_t start = word ? WordLeft(*st, st->caret) : PrevPos(*st, st->caret);
        if (start == st->caret) return;
        st->anchor = start;
    }
    UserReplace(hwnd, st, u"", Source::User);
}

// The control characters of the keyboard: Backspace, the clipboard and undo keys,
// Ctrl+A, and the line break and tab of a multiline box.
bool ControlChar(HWND hwnd, EditState* st, WCHAR ch) {
    switch (ch) {
        case 0x08: Backspace(hwnd, st, false); return true;
        case 0x7F: Backspace(hwnd, st, true); return true;
        case 0x01: SetSelection(hwnd, st, 0, st->text.size()); return true;
        case 0x03: SendMessageW(hwnd, WM_COPY, 0, 0); return true;
        case 0x16: SendMessageW(hwnd, WM_PASTE, 0, 0); return true;
        case 0x18: SendMessageW(hwnd, WM_CUT, 0, 0); return true;
        case 0x1A: Undo(hwnd, st); return true;
        case u'\r':
        case u'\n':
            if (IsMultiline(hwnd)) UserReplace(hwnd, st, u"\r\n", Source::Typing);
            return true;
        case u'\t':
            if (IsMultiline(hwnd)) UserReplace(hwnd, st, u"\t", Source::Typing);
            return true;
        default: return ch < 0x20;
    }
}

}  // namespace

LRESULT OnChar(HWND hwnd, EditState* st, WCHAR ch) {
    if (ControlChar(hwnd, st, ch)) return 0;
    DWORD style = StyleOf(hwnd);
    if (style & ES_READONLY) return 0;
    if ((style & ES_NUMBER) && !(ch >= u'0' && ch <= u'9')) return 0;
    // A character beyond the first plane may come as its two halves: they go in
    // together, so that the text never holds half of it.
    if (ch >= 0xD800 && ch <= 0xDBFF) {
        st->pendingHigh = ch;
        return 0;
    }
    WCHAR pair[2] = {st->pendingHigh, ch};
    bool joined = st->pendingHigh != 0 && ch >= 0xDC00 && ch <= 0xDFFF;
    st->pendingHigh = 0;
    UserReplace(hwnd, st, joined ? std::u16string_view(pair, 2) : std::u16string_view(&ch, 1), Source::Typing);
    return 0;
}

// ============================================================================
// The mouse
// ============================================================================

namespace {

// The start of the run of one kind (word or spaces) that holds `pos`.
std::size_t RunStart(const EditState& st, std::size_t pos) {
    std::size_t end = WordEndAt(st, pos);
    std::size_t start = pos;
    while (start > 0 && WordEndAt(st, start - 1) == end && end > start - 1) --start;
    return start;
}

void SelectWordAt(HWND hwnd, EditState* st, std::size_t pos) {
    if (pos == st->text.size() && pos > 0) pos = PrevPos(*st, pos);
    st->wordStart = RunStart(*st, pos);
    st->wordEnd = WordEndAt(*st, pos);
    st->wordTracking = true;
    SetSelection(hwnd, st, st->wordStart, st->wordEnd);
}

// Extends the selection to `pos`, by whole words after a double click.
void DragTo(HWND hwnd, EditState* st, std::size_t pos) {
    if (!st->wordTracking) {
        SetSelection(hwnd, st, st->anchor, pos);
        return;
    }
    if (pos >= st->wordStart) {
        SetSelection(hwnd, st, st->wordStart, std::max(st->wordEnd, WordEndAt(*st, pos)));
    } else {
        SetSelection(hwnd, st, st->wordEnd, RunStart(*st, pos));
    }
}

POINT ClampToFormat(HWND hwnd, const EditState& st, POINT pt) {
    RECT f = FormatRect(hwnd, st);
    pt.x = std::clamp<LONG>(pt.x, f.left, std::max(f.left, f.right - 1));
    pt.y = std::clamp<LONG>(pt.y, f.top, std::max(f.top, f.bottom - 1));
    return pt;
}

bool Outside(HWND hwnd, const EditState& st, POINT pt) {
    RECT f = FormatRect(hwnd, st);
    bool multi = IsMultiline(hwnd);
    return pt.x < f.left || pt.x >= f.right || (multi && (pt.y < f.top || pt.y >= f.bottom));
}

}  // namespace

LRESULT OnButtonDown(HWND hwnd, EditState* st, UINT message, WPARAM keys, LPARAM lParam) {
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        st = StateOf<EditState>(hwnd);  // the parent heard EN_SETFOCUS and may have destroyed the box
        if (st == nullptr || !IsWindow(hwnd)) return 0;
    }
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    std::size_t pos = PosAtPoint(hwnd, *st, ClampToFormat(hwnd, *st, pt));
    SetCapture(hwnd);
    st->tracking = true;
    st->desiredX = -1;
    if (message == WM_LBUTTONDBLCLK) {
        SelectWordAt(hwnd, st, pos);
        return 0;
    }
    st->wordTracking = false;
    SetSelection(hwnd, st, (keys & MK_SHIFT) ? st->anchor : pos, pos);
    return 0;
}

LRESULT OnMouseMove(HWND hwnd, EditState* st, LPARAM lParam) {
    if (!st->tracking) return 0;
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    bool outside = Outside(hwnd, *st, pt);
    if (outside != st->autoScrollTimer) {
        st->autoScrollTimer = outside;
        if (outside) {
            SetTimer(hwnd, kAutoScrollTimer, kAutoScrollInterval, nullptr);
        } else {
            KillTimer(hwnd, kAutoScrollTimer);
        }
    }
    DragTo(hwnd, st, PosAtPoint(hwnd, *st, ClampToFormat(hwnd, *st, pt)));
    return 0;
}

LRESULT OnButtonUp(HWND hwnd, EditState* st) {
    if (!st->tracking) return 0;
    st->tracking = false;
    if (st->autoScrollTimer) KillTimer(hwnd, kAutoScrollTimer);
    st->autoScrollTimer = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    return 0;
}

// While the drag stays outside the box, each tick moves the caret one step
// towards the pointer, and the text scrolls with it.
LRESULT OnTimer(HWND hwnd, EditState* st, WPARAM id) {
    if (id != kAutoScrollTimer || !st->tracking) return 0;
    POINT pt{0, 0};
    GetCursorPos(&pt);
    ScreenToClient(hwnd, &pt);
    RECT f = FormatRect(hwnd, *st);
    std::size_t pos = st->caret;
    if (IsMultiline(hwnd) && pt.y < f.top) pos = LineMove(hwnd, st, -1);
    if (IsMultiline(hwnd) && pt.y >= f.bottom) pos = LineMove(hwnd, st, 1);
    if (pt.x < f.left) pos = PrevPos(*st, pos);
    if (pt.x >= f.right) pos = NextPos(*st, pos);
    st->desiredX = -1;
    SetSelection(hwnd, st, st->anchor, pos);
    return 0;
}

// ============================================================================
// Scrolling a multiline box
// ============================================================================

namespace {

void ScrollToLine(HWND hwnd, EditState* st, std::ptrdiff_t top) {
    auto visible = static_cast<std::ptrdiff_t>(VisibleLines(hwnd, *st));
    auto lines = static_cast<std::ptrdiff_t>(st->lineStarts.size());
    top = std::clamp<std::ptrdiff_t>(top, 0, std::max<std::ptrdiff_t>(0, lines - visible));
    if (static_cast<std::size_t>(top) == st->topLine) return;
    st->topLine = static_cast<std::size_t>(top);
    UpdateScrollBar(hwnd, *st);
    Redraw(hwnd);
    PlaceCaret(hwnd, *st);
    NotifyParent(hwnd, EN_VSCROLL);
}

}  // namespace

LRESULT OnVScroll(HWND hwnd, EditState* st, WPARAM wParam) {
    if (!IsMultiline(hwnd)) return 0;
    auto top = static_cast<std::ptrdiff_t>(st->topLine);
    auto page = static_cast<std::ptrdiff_t>(std::max(1, VisibleLines(hwnd, *st) - 1));
    switch (LOWORD(static_cast<DWORD>(wParam))) {
        case SB_LINEUP: top -= 1; break;
        case SB_LINEDOWN: top += 1; break;
        case SB_PAGEUP: top -= page; break;
        case SB_PAGEDOWN: top += page; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = static_cast<std::ptrdiff_t>(st->lineStarts.size()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = HIWORD(static_cast<DWORD>(wParam)); break;
        default: return 0;
    }
    ScrollToLine(hwnd, st, top);
    return 0;
}

LRESULT OnMouseWheel(HWND hwnd, EditState* st, WPARAM wParam) {
    if (!IsMultiline(hwnd)) return 0;
    int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    ScrollToLine(hwnd, st, static_cast<std::ptrdiff_t>(st->topLine) - notches * kWheelLines);
    return 0;
}

}  // namespace tq3::fw::controls::edit
