// The text buffer of the "EDIT" control: its lines, the measured x of every
// position, the one change that can be undone, caret steps and words.
//
// Sections: lines; caret steps and words; measuring; changing the text.
//
// Call flow: ReplaceRange -> Joined (the new text) -> LineStartsOf -> Measures
// (-> MeasureSpan -> Advance) -> NextUndo -> commit by swapping; Remeasure ->
// MeasureSpan over every line.
//
// A change is all or nothing: the new text, lines, measures and undo step are
// built beside the old ones and swapped in only when every allocation and every
// measurement succeeded, so that running out of memory leaves the box as it was.
//
// Measures are kept per position (xs) so that a position's x, the caret and
// painting of a long line never measure more than the characters a change
// touched: text is drawn without kerning, so a line's width is the sum of its
// characters' advances.
#include <algorithm>

#include "framework/controls/edit_internal.h"
#include "framework/core/utf.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/gdi_objects.h"

namespace tq3::fw::controls::edit {

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// Whether a multiline box breaks its lines; a single-line box keeps line breaks
// as characters.
bool BreaksLines(HWND hwnd) { return IsMultiline(hwnd); }

}  // namespace

// ============================================================================
// Lines
// ============================================================================

std::size_t LineOf(const EditState& st, std::size_t pos) {
    auto it = std::upper_bound(st.lineStarts.begin(), st.lineStarts.end(), pos);
    return static_cast<std::size_t>(it - st.lineStarts.begin()) - 1;
}

std::size_t LineEnd(const EditState& st, std::size_t line) {
    if (line + 1 >= st.lineStarts.size()) return st.text.size();
    std::size_t end = st.lineStarts[line + 1] - 1;  // the '\n'
    if (end > st.lineStarts[line] && st.text[end - 1] == u'\r') --end;
    return end;
}

int LineWidth(const EditState& st, std::size_t line) { return st.xs[LineEnd(st, line)]; }

namespace {

// Where each line begins: after every '\n' of a multiline box.
std::vector<std::size_t> LineStartsOf(const std::u16string& text, bool multiline) {
    std::vector<std::size_t> starts{0};
    if (!multiline) return starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') starts.push_back(i + 1);
    }
    return starts;
}

}  // namespace

// ============================================================================
// Caret steps and words
// ============================================================================

std::size_t NextPos(const EditState& st, std::size_t pos) {
    const std::u16string& t = st.text;
    if (pos >= t.size()) return t.size();
    if (IsHigh(t[pos]) && pos + 1 < t.size() && IsLow(t[pos + 1])) return pos + 2;
    if (t[pos] == u'\r' && pos + 1 < t.size() && t[pos + 1] == u'\n' && st.lineStarts.size() > 1) return pos + 2;
    return pos + 1;
}

std::size_t PrevPos(const EditState& st, std::size_t pos) {
    const std::u16string& t = st.text;
    if (pos == 0) return 0;
    if (pos > t.size()) return t.size();
    if (pos >= 2 && IsLow(t[pos - 1]) && IsHigh(t[pos - 2])) return pos - 2;
    if (pos >= 2 && t[pos - 1] == u'\n' && t[pos - 2] == u'\r' && st.lineStarts.size() > 1) return pos - 2;
    return pos - 1;
}

namespace {

// Three kinds of character for word steps: spaces, line breaks and the rest.
int KindAt(const std::u16string& t, std::size_t i) {
    char16_t c = t[i];
    if (IsBreak(c)) return 2;
    if (c == u' ' || c == u'\t' || c == 0x3000 || c == 0x00A0) return 0;
    return 1;
}

}  // namespace

// The start of the word at or before `pos`: spaces before the caret are passed
// over first, then the word they follow.
std::size_t WordLeft(const EditState& st, std::size_t pos) {
    const std::u16string& t = st.text;
    pos = std::min(pos, t.size());
    while (pos > 0 && KindAt(t, pos - 1) == 0) --pos;
    if (pos > 0 && KindAt(t, pos - 1) == 2) return PrevPos(st, pos);
    while (pos > 0 && KindAt(t, pos - 1) == 1) --pos;
    return pos;
}

// The start of the next word: past the rest of this word and the spaces after it.
std::size_t WordRight(const EditState& st, std::size_t pos) {
    const std::u16string& t = st.text;
    if (pos >= t.size()) return t.size();
    if (KindAt(t, pos) == 2) return NextPos(st, pos);
    while (pos < t.size() && KindAt(t, pos) == 1) ++pos;
    while (pos < t.size() && KindAt(t, pos) == 0) ++pos;
    return pos;
}

// The end of the run of one kind that starts at `pos` (a double click's word).
std::size_t WordEndAt(const EditState& st, std::size_t pos) {
    const std::u16string& t = st.text;
    if (pos >= t.size()) return t.size();
    int kind = KindAt(t, pos);
    if (kind == 2) return pos;
    while (pos < t.size() && KindAt(t, pos) == kind) ++pos;
    return pos;
}

// ============================================================================
// Measuring
// ============================================================================

namespace {

// A context with the box's font selected, released when it goes.
class MeasuringDC {
public:
    MeasuringDC(HWND hwnd, HFONT font) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
        if (dc_ != nullptr) SelectObject(dc_, FontOrDefault(font));
    }
    ~MeasuringDC() {
        if (dc_ != nullptr) ReleaseDC(hwnd_, dc_);
    }
    MeasuringDC(const MeasuringDC&) = delete;
    MeasuringDC& operator=(const MeasuringDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Width of one character (`units` is one code unit, or a surrogate pair), from the
// cache or measured once; -1 when it cannot be measured.
int Advance(EditState& st, HDC dc, const char16_t* units, int count) {
    char32_t key = count == 2 ? 0x10000 + ((units[0] - 0xD800u) << 10) + (units[1] - 0xDC00u) : units[0];
    auto found = st.advances.find(key);
    if (found != st.advances.end()) return found->second;
    SIZE size{0, 0};
    if (!GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(units), count, &size)) return -1;
    st.advances.emplace(key, size.cx);
    return size.cx;
}

// Fills xs[from + 1 .. to] of `text`, going on from xs[from]. Line breaks of a
// multiline box take no room, and each starts its next line at 0. False when a character cannot be measured.
bool MeasureSpan(EditState& st, HDC dc, const std::u16string& text, bool multiline, std::size_t from,
                 std::size_t to, std::vector<int>& xs) {
    const char16_t password[1] = {st.passwordChar};
    std::size_t i = from;
    while (i < to) {
        int count = (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) ? 2 : 1;
        int advance = 0;
        if (!(multiline && IsBreak(text[i]))) {
            advance = st.passwordChar != 0 ? Advance(st, dc, password, 1) : Advance(st, dc, &text[i], count);
            if (advance < 0) return false;
        }
        if (count == 2 && i + 1 <= to) xs[i + 1] = xs[i];
        // The position after a line break starts the next line.
        bool lineEnds = multiline && text[i] == u'\n';
        if (i + count < xs.size()) xs[i + count] = lineEnds ? 0 : xs[i] + advance;
        i += static_cast<std::size_t>(count);
    }
    return true;
}

std::size_t LineStartBefore(const std::u16string& text, bool multiline, std::size_t pos) {
    if (!multiline) return 0;
    while (pos > 0 && text[pos - 1] != u'\n') --pos;
    return pos;
}

std::size_t LineBreakAfter(const std::u16string& text, bool multiline, std::size_t pos) {
    if (!multiline) return text.size();
    while (pos < text.size() && text[pos] != u'\n') ++pos;
    return pos;
}

bool HasBreak(std::u16string_view s) { return s.find_first_of(u"\r\n") != std::u16string_view::npos; }

// The measures of `next`, the text after a change at `pos` that removed `removed`
// code units and inserted `inserted`: the old measures before the change are kept,
// a few characters around it are measured, the rest of its line moves by the
// change in width and later lines are kept as they were.
bool Measures(EditState& st, HDC dc, const std::u16string& next, bool multiline, std::size_t pos,
              std::size_t removed, std::size_t inserted, std::vector<int>& xs) {
    xs.assign(next.size() + 1, 0);
    const std::u16string& old = st.text;
    std::size_t insertEnd = pos + inserted;
    bool structural = multiline && (HasBreak(std::u16string_view(old).substr(pos, removed)) ||
                                    HasBreak(std::u16string_view(next).substr(pos, inserted)) ||
                                    (pos > 0 && old[pos - 1] == u'\r') ||
                                    (pos + removed < old.size() && old[pos + removed] == u'\n'));
    std::size_t a = 0;
    std::size_t b = 0;
    if (structural) {
        a = LineStartBefore(next, true, pos);
        b = LineBreakAfter(next, true, insertEnd);
    } else {
        a = pos > LineStartBefore(next, multiline, pos) ? pos - 1 : pos;
        if (a > 0 && IsLow(next[a]) && IsHigh(next[a - 1])) --a;
        b = std::min(insertEnd + 2, LineBreakAfter(next, multiline, insertEnd));
        if (b < next.size() && IsLow(next[b]) && b > 0 && IsHigh(next[b - 1])) ++b;
    }
    std::copy(st.xs.begin(), st.xs.begin() + static_cast<std::ptrdiff_t>(a + 1), xs.begin());
    if (a == LineStartBefore(next, multiline, a)) xs[a] = 0;
    if (!MeasureSpan(st, dc, next, multiline, a, b, xs)) return false;
    // The rest of the line moves by the change in width; later lines keep theirs.
    std::size_t lineEnd = structural ? b : LineBreakAfter(next, multiline, b);
    const std::ptrdiff_t shift = static_cast<std::ptrdiff_t>(removed) - static_cast<std::ptrdiff_t>(inserted);
    int delta = xs[b] - st.xs[static_cast<std::size_t>(static_cast<std::ptrdiff_t>(b) + shift)];
    for (std::size_t i = b + 1; i <= next.size(); ++i) {
        int was = st.xs[static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i) + shift)];
        xs[i] = i <= lineEnd ? was + delta : was;
    }
    return true;
}

// The undo step after a change: typing on at the end of what was just typed
// extends the step; anything else starts a new one.
UndoStep NextUndo(const EditState& st, std::size_t pos, std::size_t length, std::size_t inserted, bool typing) {
    const UndoStep& u = st.undo;
    if (typing && u.available && u.typing && length == 0 && pos == u.pos + u.insertedLength) {
        UndoStep extended = u;
        extended.insertedLength += inserted;
        return extended;
    }
    UndoStep step;
    step.available = true;
    step.pos = pos;
    step.insertedLength = inserted;
    step.removed = st.text.substr(pos, length);
    step.typing = typing;
    return step;
}

}  // namespace

// ============================================================================
// Changing the text
// ============================================================================

bool ReplaceRange(HWND hwnd, EditState& st, std::size_t pos, std::size_t length, std::u16string_view insert,
                  bool recordUndo, bool typing) {
    pos = std::min(pos, st.text.size());
    length = std::min(length, st.text.size() - pos);
    bool multiline = BreaksLines(hwnd);
    try {
        std::u16string next;
        next.reserve(st.text.size() - length + insert.size());
        next.append(st.text, 0, pos).append(insert).append(st.text, pos + length, std::u16string::npos);
        std::vector<std::size_t> starts = LineStartsOf(next, multiline);
        MeasuringDC dc(hwnd, st.font);
        if (dc.Get() == nullptr) return false;
        std::vector<int> xs;
        if (!Measures(st, dc.Get(), next, multiline, pos, length, insert.size(), xs)) return false;
        UndoStep undo = recordUndo ? NextUndo(st, pos, length, insert.size(), typing) : UndoStep{};
        st.text.swap(next);
        st.lineStarts.swap(starts);
        st.xs.swap(xs);
        if (recordUndo) st.undo = std::move(undo);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int TextWidth(HWND hwnd, EditState& st, std::u16string_view text) {
    try {
        MeasuringDC dc(hwnd, st.font);
        if (dc.Get() == nullptr) return -1;
        std::u16string copy(text);
        std::vector<int> xs(copy.size() + 1, 0);
        if (!MeasureSpan(st, dc.Get(), copy, false, 0, copy.size(), xs)) return -1;
        return xs.back();
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

bool Remeasure(HWND hwnd, EditState& st) {
    try {
        st.advances.clear();
        MeasuringDC dc(hwnd, st.font);
        if (dc.Get() == nullptr) return false;
        std::vector<int> xs(st.text.size() + 1, 0);
        bool multiline = BreaksLines(hwnd);
        for (std::size_t line = 0; line < st.lineStarts.size(); ++line) {
            std::size_t from = st.lineStarts[line];
            std::size_t to = line + 1 < st.lineStarts.size() ? st.lineStarts[line + 1] - 1 : st.text.size();
            if (!MeasureSpan(st, dc.Get(), st.text, multiline, from, to, xs)) return false;
        }
        st.xs.swap(xs);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace tq3::fw::controls::edit
