// Geometry, scrolling, the caret and painting of the "EDIT" control.
//
// Sections: geometry (the format rectangle, a position's point and back);
// scrolling and the caret; painting.
//
// Call flow: OnPaint -> PaintLine (-> DrawSlice for the text, then again for
// the selection in the highlight colours). ScrollToCaret -> (UpdateScrollBar);
// PlaceCaret -> PointOf.
//
// The box draws only the characters that show: a long single line is cut to the
// slice between the left and right edges by searching the measured positions,
// so typing at the end of a long line costs what a short line costs.
#include <algorithm>

#include "framework/controls/edit_internal.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"

namespace tq3::fw::controls::edit {

namespace {

// Pixels between the top of the client area and the first line.
constexpr int kTopGap = 1;

}  // namespace

// ============================================================================
// Geometry
// ============================================================================

RECT FormatRect(HWND hwnd, const EditState& st) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    rc.left += st.leftMargin;
    rc.right = std::max(rc.left, rc.right - st.rightMargin);
    rc.top = std::min(rc.bottom, rc.top + kTopGap);
    return rc;
}

int VisibleLines(HWND hwnd, const EditState& st) {
    RECT f = FormatRect(hwnd, st);
    return std::max(1, static_cast<int>((f.bottom - f.top) / std::max(1, st.lineHeight)));
}

namespace {

// Client x of the start of `line`: the format rectangle's left edge, moved by the
// alignment while the line fits and by the sideways scroll.
int LineX(HWND hwnd, const EditState& st, std::size_t line) {
    RECT f = FormatRect(hwnd, st);
    int room = f.right - f.left;
    int width = LineWidth(st, line);
    DWORD align = StyleOf(hwnd) & (ES_CENTER | ES_RIGHT);
    int shift = 0;
    if (width < room && align == ES_RIGHT) shift = room - width - 1;  // the caret fits after the last character
    if (width < room && align == ES_CENTER) shift = (room - width) / 2;
    return f.left + shift - st.xOffset;
}

int LineY(HWND hwnd, const EditState& st, std::size_t line) {
    return FormatRect(hwnd, st).top + (static_cast<int>(line) - static_cast<int>(st.topLine)) * st.lineHeight;
}

// The first position of [from, to] whose x is at least `x` (to when none).
std::size_t FirstAtOrAfter(const EditState& st, std::size_t from, std::size_t to, int x) {
    auto begin = st.xs.begin() + static_cast<std::ptrdiff_t>(from);
    auto end = st.xs.begin() + static_cast<std::ptrdiff_t>(to);
    return from + static_cast<std::size_t>(std::lower_bound(begin, end, x) - begin);
}

}  // namespace

POINT PointOf(HWND hwnd, const EditState& st, std::size_t pos) {
    pos = std::min(pos, st.text.size());
    std::size_t line = LineOf(st, pos);
    return POINT{LineX(hwnd, st, line) + st.xs[pos], LineY(hwnd, st, line)};
}

std::size_t PosAtPoint(HWND hwnd, const EditState& st, POINT pt) {
    int row = pt.y - FormatRect(hwnd, st).top;
    int offset = row >= 0 ? row / st.lineHeight : -((-row + st.lineHeight - 1) / st.lineHeight);
    std::ptrdiff_t line = static_cast<std::ptrdiff_t>(st.topLine) + offset;
    line = std::clamp<std::ptrdiff_t>(line, 0, static_cast<std::ptrdiff_t>(st.lineStarts.size()) - 1);
    auto l = static_cast<std::size_t>(line);
    std::size_t start = st.lineStarts[l];
    std::size_t end = LineEnd(st, l);
    int x = pt.x - LineX(hwnd, st, l);
    std::size_t pos = FirstAtOrAfter(st, start, end, x);
    // The nearer of the two positions around the point, never inside a pair.
    if (pos > start) {
        std::size_t before = PrevPos(st, pos);
        if (pos > end || x - st.xs[before] < st.xs[std::min(pos, end)] - x) pos = before;
    }
    if (pos > start && pos < st.text.size() && PrevPos(st, NextPos(st, pos)) != pos) pos = PrevPos(st, pos);
    return std::min(pos, end);
}

// ============================================================================
// Scrolling and the caret
// ============================================================================

namespace {

// How far the text may scroll sideways: once the widest line is wider than the
// view, up to a third of the view may show blank after its end (the room a caret
// leaving the view brings along), never more.
int MaxXOffset(HWND hwnd, const EditState& st) {
    RECT f = FormatRect(hwnd, st);
    int widest = 0;
    if (st.lineStarts.size() == 1) {
        widest = LineWidth(st, 0);
    } else {
        for (std::size_t line = 0; line < st.lineStarts.size(); ++line) widest = std::max(widest, LineWidth(st, line));
    }
    int room = f.right - f.left;
    return widest + 1 > room ? widest + 1 - room + room / 3 + 1 : 0;
}

bool ScrollSideways(HWND hwnd, EditState& st) {
    DWORD style = StyleOf(hwnd);
    int before = st.xOffset;
    if (!(style & ES_MULTILINE) && !(style & ES_AUTOHSCROLL)) {
        st.xOffset = 0;
        return before != 0;
    }
    RECT f = FormatRect(hwnd, st);
    int room = f.right - f.left;
    int x = st.xs[std::min(st.caret, st.text.size())];
    // A caret leaving the view brings a third of the view's width of text with it,
    // so that typing on does not scroll at every character.
    if (x - st.xOffset >= room) st.xOffset = x - room + room / 3 + 1;
    if (x < st.xOffset) st.xOffset = std::max(0, x - room / 3);
    st.xOffset = std::clamp(st.xOffset, 0, MaxXOffset(hwnd, st));
    return st.xOffset != before;
}

void ScrollVertically(HWND hwnd, EditState& st) {
    if (!IsMultiline(hwnd)) return;
    std::size_t line = LineOf(st, st.caret);
    auto visible = static_cast<std::size_t>(VisibleLines(hwnd, st));
    if (line < st.topLine) st.topLine = line;
    if (line >= st.topLine + visible) st.topLine = line - visible + 1;
    std::size_t lastTop = st.lineStarts.size() > visible ? st.lineStarts.size() - visible : 0;
    st.topLine = std::min(st.topLine, lastTop);
}

}  // namespace

bool ScrollToCaret(HWND hwnd, EditState& st) {
    std::size_t topBefore = st.topLine;
    bool sideways = ScrollSideways(hwnd, st);
    ScrollVertically(hwnd, st);
    if (sideways || topBefore != st.topLine) Redraw(hwnd);
    UpdateScrollBar(hwnd, st);
    return sideways;
}

void PlaceCaret(HWND hwnd, const EditState& st) {
    if (!st.focused) return;
    POINT p = PointOf(hwnd, st, st.caret);
    SetCaretPos(p.x, p.y);
}

void UpdateScrollBar(HWND hwnd, const EditState& st) {
    if (!(StyleOf(hwnd) & WS_VSCROLL) || !IsMultiline(hwnd)) return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = static_cast<int>(st.lineStarts.size()) - 1;
    info.nPage = static_cast<UINT>(VisibleLines(hwnd, st));
    info.nPos = static_cast<int>(st.topLine);
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void ReadFontMetrics(HWND hwnd, EditState& st) {
    HDC dc = GetDC(hwnd);
    if (dc == nullptr) return;
    SelectObject(dc, FontOrDefault(st.font));
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc, &tm)) {
        st.lineHeight = std::max<int>(1, tm.tmHeight);
        st.averageWidth = std::max<int>(1, tm.tmAveCharWidth);
    }
    ReleaseDC(hwnd, dc);
}

// ============================================================================
// Painting
// ============================================================================

namespace {

// The background brush and text colour: a read-only or disabled box asks its
// parent as static text does and shows the button face; an editable one asks
// with WM_CTLCOLOREDIT and shows the window colour.
HBRUSH PrepareColours(HWND hwnd, HDC dc) {
    bool grey = (StyleOf(hwnd) & ES_READONLY) || !IsWindowEnabled(hwnd);
    int background = grey ? COLOR_BTNFACE : COLOR_WINDOW;
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(background));
    HWND parent = GetParent(hwnd);
    HBRUSH brush = nullptr;
    if (parent != nullptr) {
        brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                      reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    }
    return brush != nullptr ? brush : GetSysColorBrush(background);
}

// Draws text[from, to) of one line with its first character at client x `x`; a
// password box draws its character once for each character of the text.
void DrawSlice(HDC dc, const EditState& st, std::size_t from, std::size_t to, int x, int y) {
    if (from >= to) return;
    if (st.passwordChar == 0) {
        TextOutW(dc, x, y, reinterpret_cast<LPCWSTR>(st.text.data() + from), static_cast<int>(to - from));
        return;
    }
    std::u16string shown;
    for (std::size_t i = from; i < to; ++i) {
        if (!(i > from && st.text[i] >= 0xDC00 && st.text[i] <= 0xDFFF && st.text[i - 1] >= 0xD800 &&
              st.text[i - 1] <= 0xDBFF)) {
            shown.push_back(st.passwordChar);
        }
    }
    TextOutW(dc, x, y, reinterpret_cast<LPCWSTR>(shown.data()), static_cast<int>(shown.size()));
}

// One line: the characters between the format rectangle's edges, then the
// selected part of them again in the highlight colours over a highlight box.
void PaintLine(HWND hwnd, HDC dc, const EditState& st, std::size_t line, const RECT& format, bool showSelection) {
    int x0 = LineX(hwnd, st, line);
    int y = LineY(hwnd, st, line);
    std::size_t start = st.lineStarts[line];
    std::size_t end = LineEnd(st, line);
    std::size_t from = FirstAtOrAfter(st, start, end, format.left - x0);
    from = from > start ? PrevPos(st, from) : start;  // the character cut by the left edge
    std::size_t to = std::min(end, NextPos(st, FirstAtOrAfter(st, from, end, format.right - x0)));
    DrawSlice(dc, st, from, to, x0 + st.xs[from], y);

    std::size_t s = std::max(SelStart(st), from);
    std::size_t e = std::min(SelEnd(st), to);
    bool breakSelected = SelStart(st) <= end && SelEnd(st) > end && line + 1 < st.lineStarts.size();
    if (!showSelection || (s >= e && !breakSelected)) return;
    RECT box{x0 + st.xs[std::min(s, e)], y, x0 + st.xs[e], y + st.lineHeight};
    if (breakSelected) box.right += st.averageWidth / 2;  // a selected line break shows as a short box
    int saved = SaveDC(dc);
    IntersectClipRect(dc, std::max(box.left, format.left), box.top, std::min(box.right, format.right), box.bottom);
    FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    DrawSlice(dc, st, from, to, x0 + st.xs[from], y);
    RestoreDC(dc, saved);
}

void Paint(HWND hwnd, HDC dc, const EditState& st) {
    int saved = SaveDC(dc);
    SelectObject(dc, FontOrDefault(st.font));
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, PrepareColours(hwnd, dc));
    SetBkMode(dc, TRANSPARENT);
    RECT format = FormatRect(hwnd, st);
    IntersectClipRect(dc, format.left, client.top, format.right, client.bottom);
    bool showSelection = st.focused || (StyleOf(hwnd) & ES_NOHIDESEL);
    std::size_t last = std::min(st.lineStarts.size(), st.topLine + static_cast<std::size_t>(VisibleLines(hwnd, st)) + 1);
    for (std::size_t line = st.topLine; line < last; ++line) PaintLine(hwnd, dc, st, line, format, showSelection);
    RestoreDC(dc, saved);
}

}  // namespace

LRESULT OnPaint(HWND hwnd, EditState* st) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc != nullptr) Paint(hwnd, dc, *st);
    EndPaint(hwnd, &ps);
    return 0;
}

}  // namespace tq3::fw::controls::edit
