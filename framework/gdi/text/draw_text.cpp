// DrawText's layout: prefixes, line splitting, word breaking, tab expansion, the end
// ellipsis, alignment and the returned height; the glyphs are drawn by the engine.
//
// Call flow: DrawTextRun -> SplitLines -> for each source line: StripPrefixes ->
// Measure -> WrapWords -> FitEllipsis -> Place (alignment) -> DrawLine (background,
// glyphs by tab segment, prefix underlines, font decorations).
#include "framework/gdi/text/draw_text.h"

#include <algorithm>
#include <climits>
#include <new>
#include <string>
#include <vector>

#include "framework/gdi/text/font_internal.h"

namespace tq3::fw::text {

namespace {

constexpr int kDefaultTabChars = 8;
constexpr char16_t kEllipsis[] = u"...";

// One line as it will be drawn: the text without prefix marks, the positions of the
// characters to underline, and the advance positions with tabs expanded.
struct Line {
    std::u16string text;
    std::vector<int> marks;
    std::vector<int> ends;
    int width = 0;
    bool clipToRect = false;  // the ellipsis alone is wider than the rectangle
};

struct Layout {
    Font* font;
    UINT format;
    int tabWidth;  // 0: tabs are drawn as characters
    int maxWidth;  // the rectangle's width
};

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Whether the text may be cut before unit k without splitting a character.
bool IsCut(const std::u16string& text, int k) {
    if (k <= 0 || k >= static_cast<int>(text.size())) return true;
    if (IsLowSurrogate(text[k]) && IsHighSurrogate(text[k - 1])) return false;
    char32_t cp;
    DecodeAt(text.data(), static_cast<int>(text.size()), k, &cp);
    return cp < 0x300 || detail::StartsSegment(cp);
}

// "&&" is one "&"; "&x" marks x for underlining; a trailing "&" is dropped.
void StripPrefixes(const WCHAR* text, int n, bool keepPrefixes, Line* line) {
    if (keepPrefixes) {
        line->text.assign(text, text + n);
        return;
    }
    line->text.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (text[i] != u'&') {
            line->text += text[i];
        } else if (i + 1 < n && text[i + 1] == u'&') {
            line->text += u'&';
            ++i;
        } else if (i + 1 < n) {
            line->marks.push_back(static_cast<int>(line->text.size()));
        }
    }
}

// Advance positions of the line, tabs jumping to the next multiple of the tab width.
void Measure(const Layout& layout, Line* line) {
    const int n = static_cast<int>(line->text.size());
    line->ends.assign(static_cast<std::size_t>(n), 0);
    long long pen = 0;
    int start = 0;
    while (start < n) {
        int end = start;
        if (layout.tabWidth > 0) {
            while (end < n && line->text[end] != u'\t') ++end;
        } else {
            end = n;
        }
        RunPositions(*layout.font, line->text.data() + start, end - start, line->ends.data() + start);
        for (int i = start; i < end; ++i) {
            line->ends[i] = static_cast<int>(std::min<long long>(pen + line->ends[i], INT_MAX));
        }
        if (end > start) pen = line->ends[end - 1];
        if (end < n) {  // a tab
            pen = (pen / layout.tabWidth + 1) * layout.tabWidth;
            line->ends[end] = static_cast<int>(std::min<long long>(pen, INT_MAX));
            ++end;
        }
        start = end;
    }
    line->width = n > 0 ? line->ends[n - 1] : 0;
}

// A line may break after a space, and on either side of an ideograph or a Hangul
// syllable.
bool IsWide(char16_t c) { return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF); }
bool CanBreakBefore(const std::u16string& text, int k) {
    if (k <= 0 || k >= static_cast<int>(text.size())) return false;
    if (!IsCut(text, k)) return false;
    return text[k - 1] == u' ' || IsWide(text[k - 1]) || IsWide(text[k]);
}

Line SubLine(const Layout& layout, const Line& line, int from, int to) {
    Line out;
    out.text = line.text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    for (int m : line.marks) {
        if (m >= from && m < to) out.marks.push_back(m - from);
    }
    Measure(layout, &out);
    return out;
}

// Breaks a line into lines no wider than the rectangle where it can; a word wider
// than the rectangle stays whole. Spaces at a break are dropped.
void WrapWords(const Layout& layout, Line line, std::vector<Line>* out) {
    const int n = static_cast<int>(line.text.size());
    if (line.width <= layout.maxWidth || n == 0) {
        out->push_back(std::move(line));
        return;
    }
    int start = 0;
    while (start < n) {
        const long long base = start > 0 ? line.ends[start - 1] : 0;
        int lastBreak = -1;
        int end = start;
        while (end < n) {
            if (end > start && CanBreakBefore(line.text, end)) lastBreak = end;
            // Spaces may hang past the edge: they vanish at the break.
            const bool overflows = line.text[end] != u' ' && line.ends[end] - base > layout.maxWidth;
            if (overflows && end > start && lastBreak > start) break;
            ++end;
        }
        int cut = end >= n ? n : lastBreak;
        int trimmed = cut;
        while (trimmed > start && line.text[trimmed - 1] == u' ') --trimmed;
        out->push_back(SubLine(layout, line, start, trimmed));
        start = cut;
        while (start < n && line.text[start] == u' ') ++start;
    }
}

// Cuts a line too wide for the rectangle so that it plus "..." fits.
void FitEllipsis(const Layout& layout, Line* line) {
    if (line->width <= layout.maxWidth) return;
    const long long ellipsis = MeasureRun(*layout.font, kEllipsis, 3);
    int keep = 0;
    for (int k = static_cast<int>(line->text.size()) - 1; k > 0; --k) {
        if (IsCut(line->text, k) && line->ends[k - 1] + ellipsis <= layout.maxWidth) {
            keep = k;
            break;
        }
    }
    line->text.resize(static_cast<std::size_t>(keep));
    line->text += kEllipsis;
    line->marks.erase(std::remove_if(line->marks.begin(), line->marks.end(), [&](int m) { return m >= keep; }),
                      line->marks.end());
    Measure(layout, line);
    line->clipToRect = line->width > layout.maxWidth;
}

// Splits at CR LF, CR or LF; a break at the very end starts no further line.
std::vector<std::pair<int, int>> SplitLines(const WCHAR* text, int n, bool single) {
    std::vector<std::pair<int, int>> lines;
    if (n == 0) return lines;  // no text, no line, no height
    if (single) {
        lines.emplace_back(0, n);
        return lines;
    }
    int start = 0;
    for (int i = 0; i < n; ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            lines.emplace_back(start, i);
            if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.emplace_back(start, n);
    return lines;
}

// The end of the character that starts at unit m (a surrogate pair or a base with its
// marks is one character).
int CharEnd(const Line& line, int m) {
    int j = m + 1;
    while (j < static_cast<int>(line.text.size()) && !IsCut(line.text, j)) ++j;
    return line.ends[j - 1];
}

void DrawLine(const Layout& layout, const TextTarget& target, const RECT& rect, bool noClip, const Line& line,
              int x, int y, int lineHeight, const TextColors& colors) {
    const RECT everywhere{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    std::vector<RECT> clips = ClipRects(target, noClip && !line.clipToRect ? everywhere : rect);
    if (clips.empty()) return;
    Font& font = *layout.font;
    Surface& surface = *target.surface;
    const Pixel color = ToPixel(colors.text);
    const int right = static_cast<int>(std::min<long long>(static_cast<long long>(x) + line.width, INT_MAX));
    if (colors.opaque) {
        for (const RECT& clip : clips) FillBox(surface, RECT{x, y, right, y + lineHeight}, ToPixel(colors.background), clip);
    }
    const int n = static_cast<int>(line.text.size());
    if (!(layout.format & DT_PREFIXONLY)) {
        int start = 0;
        while (start < n) {
            int end = start;
            if (layout.tabWidth > 0) {
                while (end < n && line.text[end] != u'\t') ++end;
            } else {
                end = n;
            }
            const int penX = start > 0 ? line.ends[start - 1] : 0;
            PaintRun(font, surface, clips, x + penX, y, line.text.data() + start, end - start, color);
            start = end + 1;
        }
    }
    if (!(layout.format & DT_HIDEPREFIX)) {
        const DecorationMetrics& d = font.Decoration();
        for (int m : line.marks) {
            if (m >= n) continue;
            const int from = x + (m > 0 ? line.ends[m - 1] : 0);
            const int to = x + CharEnd(line, m);
            for (const RECT& clip : clips) {
                FillBox(surface, RECT{from, y + d.underlineTop, to, y + d.underlineTop + d.underlineThickness}, color,
                        clip);
            }
        }
    }
    const LOGFONTW& lf = font.LogFont();
    if ((lf.lfUnderline || lf.lfStrikeOut) && !(layout.format & DT_PREFIXONLY)) {
        PaintDecoration(font, surface, clips, x, right, y, lf.lfUnderline != 0, lf.lfStrikeOut != 0, color);
    }
}

std::vector<Line> BuildLines(const Layout& layout, const WCHAR* text, int n) {
    const UINT format = layout.format;
    const bool single = format & DT_SINGLELINE;
    const bool ellipsis = format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
    std::vector<Line> lines;
    for (auto [from, to] : SplitLines(text, n, single)) {
        Line line;
        StripPrefixes(text + from, to - from, format & DT_NOPREFIX, &line);
        Measure(layout, &line);
        std::vector<Line> wrapped;
        if (!single && (format & DT_WORDBREAK)) {
            WrapWords(layout, std::move(line), &wrapped);
        } else {
            wrapped.push_back(std::move(line));
        }
        for (Line& w : wrapped) {
            if (ellipsis) FitEllipsis(layout, &w);
            lines.push_back(std::move(w));
        }
    }
    return lines;
}

int TextLength(const WCHAR* text, int length) {
    if (length >= 0) return length;
    int n = 0;
    while (n < INT_MAX && text[n] != 0) ++n;
    return n;
}

}  // namespace

int DrawTextRun(const FontRef& font, const TextTarget& target, const WCHAR* text, int length, RECT* rect,
                UINT format, const TextColors& colors) {
    if (!font || rect == nullptr || (text == nullptr && length != 0)) return 0;
    // With DT_TABSTOP the second byte is the tab width, not flags.
    int tabChars = kDefaultTabChars;
    if (format & DT_TABSTOP) {
        tabChars = static_cast<int>((format >> 8) & 0xFF);
        if (tabChars == 0) tabChars = kDefaultTabChars;
        format &= ~0xFF00u;
    }
    const bool calcOnly = format & DT_CALCRECT;
    if (!calcOnly && target.surface == nullptr) return 0;
    try {
        font->TrimCaches();
        const int n = text ? TextLength(text, length) : 0;
        const TEXTMETRICW& tm = font->Metrics();
        Layout layout{font.get(), format, (format & DT_EXPANDTABS) ? tabChars * std::max<LONG>(1, tm.tmAveCharWidth) : 0,
                      static_cast<int>(std::max<long long>(0, static_cast<long long>(rect->right) - rect->left))};
        std::vector<Line> lines = BuildLines(layout, text, n);
        if (lines.empty()) {
            if (calcOnly) {
                rect->right = rect->left;
                rect->bottom = rect->top;
            }
            return 0;
        }
        const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
        const long long total = static_cast<long long>(lineHeight) * static_cast<long long>(lines.size());
        const bool single = format & DT_SINGLELINE;
        long long top = rect->top;
        if (single && (format & DT_VCENTER)) {
            top = rect->top + (static_cast<long long>(rect->bottom) - rect->top - lineHeight) / 2;
        } else if (single && (format & DT_BOTTOM)) {
            top = static_cast<long long>(rect->bottom) - lineHeight;
        }
        if (calcOnly) {
            int widest = 0;
            for (const Line& line : lines) widest = std::max(widest, line.width);
            rect->right = static_cast<LONG>(std::min<long long>(static_cast<long long>(rect->left) + widest, INT_MAX));
            rect->bottom = static_cast<LONG>(std::min<long long>(rect->top + total, INT_MAX));
        } else {
            const bool noClip = format & DT_NOCLIP;
            long long y = top;
            for (const Line& line : lines) {
                if (y > INT_MAX - lineHeight) break;
                long long x = rect->left;
                if (format & DT_RIGHT) {
                    x = static_cast<long long>(rect->right) - line.width;
                } else if (format & DT_CENTER) {
                    x = rect->left + (static_cast<long long>(rect->right) - rect->left - line.width) / 2;
                }
                x = std::clamp<long long>(x, INT_MIN / 2, INT_MAX / 2);
                DrawLine(layout, target, *rect, noClip, line, static_cast<int>(x), static_cast<int>(y), lineHeight,
                         colors);
                y += lineHeight;
            }
        }
        if (single && (format & (DT_VCENTER | DT_BOTTOM))) {
            return static_cast<int>(std::min<long long>(top - rect->top + lineHeight, INT_MAX));
        }
        return static_cast<int>(std::min<long long>(total, INT_MAX));
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

}  // namespace tq3::fw::text
