// The text engine's public calls, and the measuring and painting of runs that both
// they and DrawText use.
//
// Sections: runs (MeasureRun, RunPositions, PaintRun, PaintDecoration) -> public calls
// (each catches allocation failure and turns it into a result).
#include "framework/gdi/text/font_engine.h"

#include <algorithm>
#include <climits>
#include <new>

#include "framework/gdi/text/font_internal.h"

namespace tq3::fw::text {

namespace {

int TextLength(const WCHAR* text, int length) {
    if (text == nullptr) return 0;
    if (length >= 0) return length;
    int n = 0;
    while (n < INT_MAX && text[n] != 0) ++n;
    return n;
}

long long Saturate(long long v) { return std::min<long long>(v, INT_MAX); }

}  // namespace

// ---- runs ------------------------------------------------------------------------

long long MeasureRun(Font& font, const WCHAR* text, int length) {
    long long pen = 0;
    bool ok = ForEachChar(text, length, [&](char32_t cp, int, int, bool) {
        pen += font.Resolve(cp, false).advance;
        return true;
    });
    return ok ? Saturate(pen) : -1;
}

bool RunPositions(Font& font, const WCHAR* text, int length, int* ends) {
    long long pen = 0;
    long long segmentStartPen = 0;
    int filled = 0;
    bool ok = ForEachChar(text, length, [&](char32_t cp, int start, int end, bool last) {
        pen += font.Resolve(cp, false).advance;
        if (last) {
            for (int u = start; u < end - 1; ++u) ends[u] = static_cast<int>(Saturate(segmentStartPen));
            ends[end - 1] = static_cast<int>(Saturate(pen));
            segmentStartPen = pen;
            filled = end;
        }
        return true;
    });
    for (int u = filled; u < length; ++u) ends[u] = static_cast<int>(Saturate(pen));
    return ok;
}

void PaintRun(Font& font, Surface& surface, const std::vector<RECT>& clips, int x, int y, const WCHAR* text,
              int length, Pixel color) {
    if (clips.empty()) return;
    RECT bounds = clips[0];
    for (const RECT& r : clips) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    const TEXTMETRICW& tm = font.Metrics();
    const long long baseline = static_cast<long long>(y) + tm.tmAscent;
    // A glyph may reach past its advance (italics, wide marks) by up to about an em.
    const long long margin = static_cast<long long>(tm.tmHeight) * 2 + 2;
    if (baseline + margin < bounds.top || baseline - margin > bounds.bottom) return;
    long long pen = x;
    ForEachChar(text, length, [&](char32_t cp, int, int, bool) {
        if (pen - margin > bounds.right) return false;
        const CharInfo& measured = font.Resolve(cp, false);
        if (pen + measured.advance + margin >= bounds.left) {
            const CharInfo& info = font.Resolve(cp, true);
            if (info.glyph && info.glyph->width > 0) {
                int gx = static_cast<int>(pen + info.glyph->left);
                int gy = static_cast<int>(baseline - info.glyph->top);
                for (const RECT& clip : clips) BlendGlyph(surface, *info.glyph, gx, gy, color, clip);
            }
        }
        pen += measured.advance;
        return true;
    });
}

void PaintDecoration(Font& font, Surface& surface, const std::vector<RECT>& clips, int x, int right, int y,
                     bool underline, bool strikeOut, Pixel color) {
    const DecorationMetrics& d = font.Decoration();
    for (const RECT& clip : clips) {
        if (underline) {
            FillBox(surface, RECT{x, y + d.underlineTop, right, y + d.underlineTop + d.underlineThickness}, color,
                    clip);
        }
        if (strikeOut) {
            FillBox(surface, RECT{x, y + d.strikeOutTop, right, y + d.strikeOutTop + d.strikeOutThickness}, color,
                    clip);
        }
    }
}

// ---- public calls ------------------------------------------------------------------

FontRef RealizeFont(const LOGFONTW& logFont, TextStatus* status) {
    TextStatus local = TextStatus::kOk;
    TextStatus* out = status ? status : &local;
    try {
        return Engine::Get().Realize(logFont, out);
    } catch (const std::bad_alloc&) {
        *out = TextStatus::kOutOfMemory;
        return nullptr;
    }
}

TextStatus EngineStatus() {
    try {
        return Engine::Get().Status();
    } catch (const std::bad_alloc&) {
        return TextStatus::kOutOfMemory;
    }
}

void ClearFontCaches() {
    try {
        Engine::Get().ClearCaches();
    } catch (const std::bad_alloc&) {
        // Nothing was allocated that could be lost; the caches stay as they were.
    }
}

bool GetTextMetrics(const FontRef& font, TEXTMETRICW* metrics) {
    if (!font || metrics == nullptr) return false;
    *metrics = font->Metrics();
    return true;
}

bool GetDecorationMetrics(const FontRef& font, DecorationMetrics* metrics) {
    if (!font || metrics == nullptr) return false;
    *metrics = font->Decoration();
    return true;
}

std::string FontFilePath(const FontRef& font) {
    try {
        return font ? font->PrimaryFile() : std::string();
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

std::string FaceFileForChar(const FontRef& font, char32_t codePoint) {
    if (!font) return std::string();
    try {
        font->TrimCaches();
        return font->FileForChar(codePoint);
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

SIZE GetTextExtent(const FontRef& font, const WCHAR* text, int length) {
    if (!font || (text == nullptr && length > 0)) return SIZE{0, 0};
    int n = TextLength(text, length);
    try {
        font->TrimCaches();
        long long width = MeasureRun(*font, text, n);
        if (width < 0) return SIZE{0, 0};
        return SIZE{static_cast<LONG>(width), font->Metrics().tmHeight};
    } catch (const std::bad_alloc&) {
        return SIZE{0, 0};
    }
}

bool GetCharPositions(const FontRef& font, const WCHAR* text, int length, std::vector<int>* ends) {
    if (!font || ends == nullptr || (text == nullptr && length > 0)) return false;
    int n = TextLength(text, length);
    try {
        font->TrimCaches();
        ends->assign(static_cast<std::size_t>(n), 0);
        return RunPositions(*font, text, n, ends->data());
    } catch (const std::bad_alloc&) {
        ends->clear();
        return false;
    }
}

TextStatus DrawRun(const FontRef& font, const TextTarget& target, int x, int y, const WCHAR* text, int length,
                   const TextColors& colors) {
    if (!font || target.surface == nullptr || (text == nullptr && length > 0)) return TextStatus::kInvalidArgument;
    int n = TextLength(text, length);
    try {
        font->TrimCaches();
        const TEXTMETRICW& tm = font->Metrics();
        const LOGFONTW& lf = font->LogFont();
        long long width = 0;
        if (colors.opaque || lf.lfUnderline || lf.lfStrikeOut) {
            width = MeasureRun(*font, text, n);
            if (width < 0) return TextStatus::kOutOfMemory;
        }
        const int right = static_cast<int>(std::min<long long>(static_cast<long long>(x) + width, INT_MAX));
        const int bottom = static_cast<int>(std::min<long long>(static_cast<long long>(y) + tm.tmHeight, INT_MAX));
        // Glyphs may reach outside their cell (accents, italics); the clip bounds them.
        std::vector<RECT> clips = ClipRects(target, RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
        if (colors.opaque) {
            for (const RECT& clip : clips) FillBox(*target.surface, RECT{x, y, right, bottom}, ToPixel(colors.background), clip);
        }
        Pixel color = ToPixel(colors.text);
        PaintRun(*font, *target.surface, clips, x, y, text, n, color);
        if (lf.lfUnderline || lf.lfStrikeOut) {
            PaintDecoration(*font, *target.surface, clips, x, right, y, lf.lfUnderline != 0, lf.lfStrikeOut != 0,
                            color);
        }
        return TextStatus::kOk;
    } catch (const std::bad_alloc&) {
        return TextStatus::kOutOfMemory;
    }
}

}  // namespace tq3::fw::text
