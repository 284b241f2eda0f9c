// The "EDIT" class: a single-line or multiline text box. This file holds its
// procedure and the messages a program sends it; the keys and the mouse are in
// edit_input.cpp, drawing in edit_paint.cpp and the text buffer in edit_text.cpp.
//
// Sections: notifications and changes; clipboard and undo; the text messages;
// the EM_* messages (selection, lines, limits and looks); focus and font; the
// procedure.
//
// Call flow: EditProc (ControlProc) -> Dispatch -> OnCreate / OnSetText /
// OnGetText / OnFocus / OnSetFont / OnSelectionMessage / OnLineMessage /
// OnLookMessage / OnKeyDown / OnChar / the mouse handlers / OnPaint.
// A change goes UserReplace -> ReplaceRange -> ScrollToCaret -> PlaceCaret ->
// NotifyChange, which tells the parent last: the parent may destroy the box in
// answer, so every notification after the first checks that the box is alive.
#include <algorithm>
#include <cstring>

#include "framework/controls/edit_internal.h"
#include "framework/core/locale.h"
#include "framework/gdi/dc.h"
#include "framework/system/clipboard.h"

namespace tq3::fw::controls::edit {

namespace {

// The most a box may hold when a program lifts the limit (EM_LIMITTEXT 0).
constexpr std::size_t kSingleLineMax = 0x7FFFFFFE;
constexpr std::size_t kMultilineMax = 0xFFFFFFFF;

// Sends the codes in order, stopping when an answer destroyed the box.
void NotifyInOrder(HWND hwnd, std::initializer_list<WORD> codes) {
    for (WORD code : codes) {
        if (code == 0) continue;
        if (!IsWindow(hwnd) || StateOf<EditState>(hwnd) == nullptr) return;
        NotifyParent(hwnd, code);
    }
}

bool IsInsidePair(const std::u16string& t, std::size_t pos) {
    return pos > 0 && pos < t.size() && t[pos] >= 0xDC00 && t[pos] <= 0xDFFF && t[pos - 1] >= 0xD800 &&
           t[pos - 1] <= 0xDBFF;
}

// The text a change puts in: the case styles applied and, when the limit leaves
// less room, cut to the room without splitting a surrogate pair or a line break
// (a CR without its LF would be a character no line shows).
std::u16string Prepared(HWND hwnd, const EditState& st, std::u16string_view insert, bool* cut) {
    std::u16string add(insert);
    DWORD style = StyleOf(hwnd);
    if (style & ES_UPPERCASE) CharUpperBuffW(reinterpret_cast<LPWSTR>(add.data()), static_cast<DWORD>(add.size()));
    if (style & ES_LOWERCASE) CharLowerBuffW(reinterpret_cast<LPWSTR>(add.data()), static_cast<DWORD>(add.size()));
    std::size_t kept = st.text.size() - (SelEnd(st) - SelStart(st));
    std::size_t room = kept < st.limit ? st.limit - kept : 0;
    *cut = add.size() > room;
    if (*cut) {
        if (IsInsidePair(add, room)) --room;
        if (room > 0 && add[room - 1] == u'\r' && add[room] == u'\n') --room;
        add.resize(room);
    }
    return add;
}

// A single-line box that does not scroll takes only what fits its width.
bool FitsWithoutScrolling(HWND hwnd, EditState& st, const std::u16string& add) {
    DWORD style = StyleOf(hwnd);
    if ((style & ES_MULTILINE) || (style & ES_AUTOHSCROLL) || add.empty()) return true;
    int added = TextWidth(hwnd, st, add);
    if (added < 0) return false;
    RECT f = FormatRect(hwnd, st);
    int width = LineWidth(st, 0) - (st.xs[SelEnd(st)] - st.xs[SelStart(st)]) + added;
    return width < f.right - f.left;
}

}  // namespace

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

// ============================================================================
// Notifications and changes
// ============================================================================

void SetSelection(HWND hwnd, EditState* st, std::size_t anchor, std::size_t caret) {
    anchor = std::min(anchor, st->text.size());
    caret = std::min(caret, st->text.size());
    if (IsInsidePair(st->text, anchor)) --anchor;
    if (IsInsidePair(st->text, caret)) --caret;
    bool changed = anchor != st->anchor || caret != st->caret;
    st->anchor = anchor;
    st->caret = caret;
    if (changed) Redraw(hwnd);
    bool scrolled = ScrollToCaret(hwnd, *st);
    PlaceCaret(hwnd, *st);
    if (scrolled) NotifyParent(hwnd, EN_HSCROLL);
}

void UserReplace(HWND hwnd, EditState* st, std::u16string_view insert, Source source, bool recordUndo) {
    if (source != Source::Program && (StyleOf(hwnd) & ES_READONLY)) return;
    std::size_t s = SelStart(*st);
    std::size_t e = SelEnd(*st);
    bool cut = false;
    std::u16string add;
    try {
        add = Prepared(hwnd, *st, insert, &cut);
    } catch (const std::bad_alloc&) {
        NotifyParent(hwnd, EN_ERRSPACE);
        return;
    }
    if (!FitsWithoutScrolling(hwnd, *st, add)) {
        NotifyParent(hwnd, EN_MAXTEXT);
        return;
    }
    if (add.empty() && s == e) {
        if (cut) NotifyParent(hwnd, EN_MAXTEXT);
        return;
    }
    if (!ReplaceRange(hwnd, *st, s, e - s, add, recordUndo, source == Source::Typing)) {
        NotifyParent(hwnd, EN_ERRSPACE);
        return;
    }
    if (!recordUndo) st->undo = UndoStep{};
    st->anchor = st->caret = s + add.size();
    st->modified = true;
    st->desiredX = -1;
    Redraw(hwnd);
    bool scrolled = ScrollToCaret(hwnd, *st);
    PlaceCaret(hwnd, *st);
    NotifyInOrder(hwnd, {cut ? EN_MAXTEXT : WORD{0}, scrolled ? EN_HSCROLL : WORD{0}, EN_UPDATE, EN_CHANGE});
}

// ============================================================================
// Clipboard and undo
// ============================================================================

namespace {

// What WM_COPY, WM_CUT and WM_PASTE do; the clipboard keys send those messages.
void CopySelection(HWND hwnd, const EditState& st) {
    std::size_t s = SelStart(st);
    std::size_t e = SelEnd(st);
    // A password is never handed out.
    if (s == e || st.passwordChar != 0) return;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (e - s + 1) * sizeof(WCHAR));
    if (block == nullptr) return;
    auto* data = static_cast<WCHAR*>(GlobalLock(block));
    std::memcpy(data, st.text.data() + s, (e - s) * sizeof(WCHAR));
    data[e - s] = 0;
    GlobalUnlock(block);
    if (!OpenClipboard(hwnd)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) GlobalFree(block);
    CloseClipboard();
}

void CutSelection(HWND hwnd, EditState* st) {
    if (st->passwordChar != 0 || (StyleOf(hwnd) & ES_READONLY) || st->anchor == st->caret) return;
    CopySelection(hwnd, *st);
    UserReplace(hwnd, st, u"", Source::User);
}

// The clipboard's text up to its first NUL; a single-line box takes its first line.
bool ClipboardText(HWND hwnd, bool firstLineOnly, std::u16string* text) {
    if (!OpenClipboard(hwnd)) return false;
    bool got = false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* chars = data != nullptr ? static_cast<const WCHAR*>(GlobalLock(data)) : nullptr;
    if (chars != nullptr) {
        std::size_t most = GlobalSize(data) / sizeof(WCHAR);
        std::size_t n = 0;
        while (n < most && chars[n] != 0 && !(firstLineOnly && (chars[n] == u'\r' || chars[n] == u'\n'))) ++n;
        try {
            text->assign(chars, n);
            got = true;
        } catch (const std::bad_alloc&) {
        }
        GlobalUnlock(data);
    }
    CloseClipboard();
    return got;
}

void PasteClipboard(HWND hwnd, EditState* st) {
    if (StyleOf(hwnd) & ES_READONLY) return;
    std::u16string text;
    if (!ClipboardText(hwnd, !IsMultiline(hwnd), &text)) return;
    UserReplace(hwnd, st, text, Source::User);
}

}  // namespace

// Swaps the text with what the last change replaced, and selects it; a second
// undo puts the change back.
LRESULT Undo(HWND hwnd, EditState* st) {
    if (!st->undo.available || (StyleOf(hwnd) & ES_READONLY)) return FALSE;
    UndoStep& u = st->undo;
    UndoStep back;
    try {
        back.removed = st->text.substr(u.pos, u.insertedLength);
    } catch (const std::bad_alloc&) {
        NotifyParent(hwnd, EN_ERRSPACE);
        return FALSE;
    }
    back.available = true;
    back.pos = u.pos;
    back.insertedLength = u.removed.size();
    if (!ReplaceRange(hwnd, *st, u.pos, u.insertedLength, u.removed, false, false)) {
        NotifyParent(hwnd, EN_ERRSPACE);
        return FALSE;
    }
    st->undo = std::move(back);
    st->anchor = st->undo.pos;
    st->caret = st->undo.pos + st->undo.insertedLength;
    st->modified = true;
    Redraw(hwnd);
    bool scrolled = ScrollToCaret(hwnd, *st);
    PlaceCaret(hwnd, *st);
    NotifyInOrder(hwnd, {scrolled ? EN_HSCROLL : WORD{0}, EN_UPDATE, EN_CHANGE});
    return TRUE;
}

namespace {

// ============================================================================
// The text messages
// ============================================================================

// WM_SETTEXT: the whole text, up to its first NUL, whatever the limit; the
// selection goes to the start and the undo step and the modified flag are
// cleared. FALSE, with EN_ERRSPACE and the old text kept, when memory runs out.
LRESULT OnSetText(HWND hwnd, EditState* st, LPCWSTR text, bool notify) {
    std::u16string_view value = text != nullptr ? std::u16string_view(text) : std::u16string_view();
    if (!ReplaceRange(hwnd, *st, 0, st->text.size(), value, false, false)) {
        if (notify) NotifyParent(hwnd, EN_ERRSPACE);
        return FALSE;
    }
    st->undo = UndoStep{};
    st->modified = false;
    st->anchor = st->caret = 0;
    st->xOffset = 0;
    st->topLine = 0;
    st->desiredX = -1;
    Redraw(hwnd);
    ScrollToCaret(hwnd, *st);
    PlaceCaret(hwnd, *st);
    // A multiline box does not report a text set by the program as a change.
    if (notify) NotifyInOrder(hwnd, {EN_UPDATE, IsMultiline(hwnd) ? WORD{0} : EN_CHANGE});
    return TRUE;
}

LRESULT OnGetText(const EditState& st, WPARAM size, LPARAM buffer) {
    auto* out = reinterpret_cast<WCHAR*>(buffer);
    if (out == nullptr || size == 0) return 0;
    std::size_t n = std::min<std::size_t>(st.text.size(), size - 1);
    std::memcpy(out, st.text.data(), n * sizeof(WCHAR));
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT OnCreate(HWND hwnd, EditState* st, const CREATESTRUCTW* cs) {
    if (StyleOf(hwnd) & ES_PASSWORD) st->passwordChar = u'*';
    if (StyleOf(hwnd) & ES_MULTILINE) st->limit = 0xFFFFFFFF;
    ReadFontMetrics(hwnd, *st);
    LPCWSTR text = cs != nullptr ? cs->lpszName : nullptr;
    return OnSetText(hwnd, st, text, false) ? 0 : -1;
}

// ============================================================================
// The EM_* messages
// ============================================================================

std::size_t FromParam(const EditState& st, WPARAM value) {
    auto v = static_cast<long long>(static_cast<int>(value));
    if (v < 0 || static_cast<std::size_t>(v) > st.text.size()) return st.text.size();
    return static_cast<std::size_t>(v);
}

LRESULT GetSelection(const EditState& st, WPARAM startOut, LPARAM endOut) {
    auto s = static_cast<DWORD>(SelStart(st));
    auto e = static_cast<DWORD>(SelEnd(st));
    if (auto* p = reinterpret_cast<DWORD*>(startOut)) *p = s;
    if (auto* p = reinterpret_cast<DWORD*>(endOut)) *p = e;
    if (s > 0xFFFF || e > 0xFFFF) return -1;
    return static_cast<LRESULT>(MAKELONG(s, e));
}

// EM_SETSEL: the anchor at wParam and the caret at lParam; -1 as the start only
// removes the selection, any negative or too large end means the text's end.
LRESULT SetSelectionMessage(HWND hwnd, EditState* st, WPARAM start, LPARAM end) {
    if (static_cast<int>(start) == -1) {
        SetSelection(hwnd, st, st->caret, st->caret);
        return 0;
    }
    auto from = static_cast<int>(start) < 0 ? std::size_t{0} : FromParam(*st, start);
    SetSelection(hwnd, st, from, FromParam(*st, static_cast<WPARAM>(end)));
    return 0;
}

LRESULT OnSelectionMessage(HWND hwnd, EditState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case EM_GETSEL: return GetSelection(*st, wParam, lParam);
        case EM_SETSEL: return SetSelectionMessage(hwnd, st, wParam, lParam);
        case EM_REPLACESEL:
            UserReplace(hwnd, st, lParam != 0 ? std::u16string_view(reinterpret_cast<LPCWSTR>(lParam)) : u"",
                        Source::Program, wParam != 0);
            return 0;
        case EM_SCROLLCARET: SetSelection(hwnd, st, st->anchor, st->caret); return TRUE;
        case EM_CANUNDO: return st->undo.available ? TRUE : FALSE;
        case EM_UNDO:
        case WM_UNDO: return Undo(hwnd, st);
        case EM_EMPTYUNDOBUFFER: st->undo = UndoStep{}; return 0;
        case EM_GETMODIFY: return st->modified ? TRUE : FALSE;
        case EM_SETMODIFY: st->modified = wParam != 0; return 0;
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The line of a character index, -1 meaning the line of the selection's start.
std::size_t LineParam(const EditState& st, WPARAM index) {
    if (static_cast<int>(index) == -1) return LineOf(st, SelStart(st));
    return LineOf(st, FromParam(st, index));
}

// EM_GETLINE: the line into the buffer whose first WORD gives its size, without
// a terminating NUL; the number of characters copied.
LRESULT GetLine(const EditState& st, WPARAM line, LPARAM buffer) {
    auto* out = reinterpret_cast<WCHAR*>(buffer);
    if (out == nullptr || line >= st.lineStarts.size()) return 0;
    std::size_t size = *reinterpret_cast<const WORD*>(out);
    std::size_t start = st.lineStarts[line];
    std::size_t n = std::min(size, LineEnd(st, line) - start);
    std::memcpy(out, st.text.data() + start, n * sizeof(WCHAR));
    if (n < size) out[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT OnLineMessage(HWND hwnd, EditState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case EM_GETLINECOUNT: return static_cast<LRESULT>(st->lineStarts.size());
        case EM_LINEINDEX: {
            std::size_t line = static_cast<int>(wParam) == -1 ? LineOf(*st, st->caret) : wParam;
            return line < st->lineStarts.size() ? static_cast<LRESULT>(st->lineStarts[line]) : -1;
        }
        case EM_LINELENGTH: {
            std::size_t line = LineParam(*st, wParam);
            return static_cast<LRESULT>(LineEnd(*st, line) - st->lineStarts[line]);
        }
        case EM_LINEFROMCHAR: return static_cast<LRESULT>(LineParam(*st, wParam));
        case EM_GETLINE: return GetLine(*st, wParam, lParam);
        case EM_GETFIRSTVISIBLELINE:
            if (IsMultiline(hwnd)) return static_cast<LRESULT>(st->topLine);
            return static_cast<LRESULT>(PosAtPoint(hwnd, *st, POINT{FormatRect(hwnd, *st).left, 0}));
        case EM_POSFROMCHAR: {
            if (wParam > st->text.size()) return -1;
            POINT p = PointOf(hwnd, *st, wParam);
            return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
        }
        case EM_CHARFROMPOS: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            std::size_t pos = PosAtPoint(hwnd, *st, pt);
            return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(pos), static_cast<WORD>(LineOf(*st, pos))));
        }
        default: return OnSelectionMessage(hwnd, st, message, wParam, lParam);
    }
}

// EM_SETMARGINS: EC_USEFONTINFO gives each margin a third of the font's average
// character width, enough to keep the caret and italic overhangs off the border.
LRESULT SetMargins(HWND hwnd, EditState* st, WPARAM which, LPARAM widths) {
    auto pick = [&](WORD w) { return w == EC_USEFONTINFO ? st->averageWidth / 3 : static_cast<int>(w); };
    if (which & EC_LEFTMARGIN) st->leftMargin = pick(LOWORD(static_cast<DWORD>(widths)));
    if (which & EC_RIGHTMARGIN) st->rightMargin = pick(HIWORD(static_cast<DWORD>(widths)));
    Redraw(hwnd);
    ScrollToCaret(hwnd, *st);
    PlaceCaret(hwnd, *st);
    return 0;
}

LRESULT SetPasswordChar(HWND hwnd, EditState* st, WPARAM ch) {
    if (IsMultiline(hwnd)) return 0;
    WCHAR before = st->passwordChar;
    st->passwordChar = static_cast<WCHAR>(ch);
    if (!Remeasure(hwnd, *st)) st->passwordChar = before;
    DWORD style = StyleOf(hwnd);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(st->passwordChar ? style | ES_PASSWORD : style & ~ES_PASSWORD));
    Redraw(hwnd);
    ScrollToCaret(hwnd, *st);
    PlaceCaret(hwnd, *st);
    return 0;
}

LRESULT OnLookMessage(HWND hwnd, EditState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case EM_LIMITTEXT:
            st->limit = wParam != 0 ? wParam : (IsMultiline(hwnd) ? kMultilineMax : kSingleLineMax);
            return 0;
        case EM_GETLIMITTEXT: return static_cast<LRESULT>(st->limit);
        case EM_SETMARGINS: return SetMargins(hwnd, st, wParam, lParam);
        case EM_GETMARGINS: return static_cast<LRESULT>(MAKELONG(st->leftMargin, st->rightMargin));
        case EM_SETREADONLY: {
            DWORD style = StyleOf(hwnd);
            SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(wParam ? style | ES_READONLY : style & ~ES_READONLY));
            Redraw(hwnd);
            return TRUE;
        }
        case EM_SETPASSWORDCHAR: return SetPasswordChar(hwnd, st, wParam);
        case EM_GETPASSWORDCHAR: return st->passwordChar;
        case EM_GETRECT: {
            if (auto* r = reinterpret_cast<RECT*>(lParam)) *r = FormatRect(hwnd, *st);
            return 0;
        }
        default: return OnLineMessage(hwnd, st, message, wParam, lParam);
    }
}

// ============================================================================
// Focus and font
// ============================================================================

LRESULT OnFocus(HWND hwnd, EditState* st, bool gained) {
    st->focused = gained;
    if (gained) {
        CreateCaret(hwnd, nullptr, 1, st->lineHeight);
        PlaceCaret(hwnd, *st);
        ShowCaret(hwnd);
    } else {
        // Losing the focus ends a drag: the mouse goes free, and the timer that
        // scrolls while the pointer is outside stops with it.
        OnButtonUp(hwnd, st);
        DestroyCaret();
    }
    if (st->anchor != st->caret && !(StyleOf(hwnd) & ES_NOHIDESEL)) Redraw(hwnd);
    NotifyParent(hwnd, gained ? EN_SETFOCUS : EN_KILLFOCUS);
    return 0;
}

LRESULT OnSetFont(HWND hwnd, EditState* st, WPARAM font, LPARAM redraw) {
    HFONT before = st->font;
    st->font = reinterpret_cast<HFONT>(font);
    if (!Remeasure(hwnd, *st)) {
        st->font = before;
        Remeasure(hwnd, *st);
        return 0;
    }
    ReadFontMetrics(hwnd, *st);
    if (st->focused) {
        CreateCaret(hwnd, nullptr, 1, st->lineHeight);
        ShowCaret(hwnd);
    }
    ScrollToCaret(hwnd, *st);
    PlaceCaret(hwnd, *st);
    if (LOWORD(static_cast<DWORD_PTR>(redraw)) != 0) Redraw(hwnd);
    return 0;
}

// WM_GETDLGCODE: a box takes characters and the arrows and lets a dialog select
// its text on entry; a multiline box with ES_WANTRETURN also takes Enter.
LRESULT DialogCode(HWND hwnd, LPARAM lParam) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    DWORD style = StyleOf(hwnd);
    if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && (style & ES_MULTILINE) &&
        (style & ES_WANTRETURN)) {
        code |= DLGC_WANTALLKEYS;
    }
    return code;
}

// ============================================================================
// The procedure
// ============================================================================

LRESULT Dispatch(HWND hwnd, EditState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate(hwnd, st, reinterpret_cast<const CREATESTRUCTW*>(lParam));
        case WM_ERASEBKGND: return TRUE;  // WM_PAINT fills the whole client area
        case WM_PAINT: return OnPaint(hwnd, st);
        case WM_ENABLE: Redraw(hwnd); return 0;
        case WM_SIZE:
            Redraw(hwnd);
            ScrollToCaret(hwnd, *st);
            PlaceCaret(hwnd, *st);
            return 0;
        case WM_SETTEXT: return OnSetText(hwnd, st, reinterpret_cast<LPCWSTR>(lParam), true);
        case WM_GETTEXT: return OnGetText(*st, wParam, lParam);
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(st->text.size());
        case WM_SETFONT: return OnSetFont(hwnd, st, wParam, lParam);
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_GETDLGCODE: return DialogCode(hwnd, lParam);
        case WM_SETFOCUS: return OnFocus(hwnd, st, true);
        case WM_KILLFOCUS: return OnFocus(hwnd, st, false);
        case WM_KEYDOWN: return OnKeyDown(hwnd, st, wParam);
        case WM_CHAR: return OnChar(hwnd, st, static_cast<WCHAR>(wParam));
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: return OnButtonDown(hwnd, st, message, wParam, lParam);
        case WM_MOUSEMOVE: return OnMouseMove(hwnd, st, lParam);
        case WM_LBUTTONUP: return OnButtonUp(hwnd, st);
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != hwnd) OnButtonUp(hwnd, st);
            return 0;
        case WM_TIMER: return OnTimer(hwnd, st, wParam);
        case WM_VSCROLL: return OnVScroll(hwnd, st, wParam);
        case WM_MOUSEWHEEL: return OnMouseWheel(hwnd, st, wParam);
        case WM_COPY: CopySelection(hwnd, *st); return 0;
        case WM_CUT: CutSelection(hwnd, st); return 0;
        case WM_PASTE: PasteClipboard(hwnd, st); return 0;
        case WM_CLEAR:
            if (st->anchor != st->caret) UserReplace(hwnd, st, u"", Source::User);
            return 0;
        default: return OnLookMessage(hwnd, st, message, wParam, lParam);
    }
}

}  // namespace

}  // namespace tq3::fw::controls::edit

namespace tq3::fw::controls {

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ControlProc<edit::EditState, edit::Dispatch>(hwnd, message, wParam, lParam);
}

}  // namespace tq3::fw::controls
