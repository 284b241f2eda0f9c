// What the text engine's files share and keep from hosts: the realised font with its
// faces and glyph cache, the engine singleton (fontconfig configuration, FreeType
// library, font cache), the walk over a UTF-16 run as NFC characters, and the glyph
// blender.
//
// Call flow: RealizeFont -> Engine::Realize -> MatchFaces (fontconfig) -> Font::Create
// (FreeType sizes and metrics). Measuring and drawing -> ForEachChar (NFC walk) ->
// Font::Resolve (character -> face slot, glyph, advance; bitmap on demand) ->
// BlendGlyph / FillBox onto the surface within the clip rectangles.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/gdi/text/font_engine.h"

namespace tq3::fw::text {

// A rasterised glyph: grey coverage, `left`/`top` from the pen position on the
// baseline (top counts upwards, as FreeType gives it).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int stride = 0;                      // bytes from a row to the next: width rounded up to four
    std::vector<std::uint8_t> coverage;  // rows x stride, 0..255, zero past width
};

// What one character resolves to in a font.
struct CharInfo {
    bool resolved = false;
    std::uint16_t slot = 0;      // index into Font's faces: 0 is the matched face
    std::uint32_t glyphIndex = 0;
    int advance = 0;             // pixels, hinted, synthetic bold included
    const Glyph* glyph = nullptr;  // null until drawn once
};

// One installed face the font may draw from, opened on first use.
struct FaceSlot {
    std::string file;
    int index = 0;
    FcCharSet* charset = nullptr;  // owned reference; null for the matched face
    FT_Face face = nullptr;
    bool openFailed = false;
    bool embolden = false;  // bold asked for, face has no bold style
    bool oblique = false;   // italic asked for, face has no italic style
};

class Font {
public:
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Builds a font from the matched face files (the first one is the matched face).
    static std::unique_ptr<Font> Create(FT_Library library, const LOGFONTW& logFont, std::vector<FaceSlot> faces,
                                        TextStatus* status);

    const TEXTMETRICW& Metrics() const { return metrics_; }
    const DecorationMetrics& Decoration() const { return decoration_; }
    const LOGFONTW& LogFont() const { return logFont_; }
    const std::string& PrimaryFile() const { return faces_[0].file; }
    std::string FileForChar(char32_t codePoint);

    // The character's face, glyph and advance; with `withBitmap` also its bitmap
    // (null when the glyph cannot be rendered: it then draws nothing).
    const CharInfo& Resolve(char32_t codePoint, bool withBitmap);

    // Drops glyph bitmaps and resolved characters; called between operations only,
    // since it invalidates what Resolve handed out.
    void ClearGlyphs();
    // Keeps the caches bounded: clears them once they grow past their limits.
    void TrimCaches();

private:
    Font() = default;
    bool Prepare(FT_Library library);
    bool OpenSlot(FaceSlot& slot);
    bool SlotHasChar(FaceSlot& slot, char32_t codePoint, std::uint32_t* glyphIndex);
    void ResolveFace(char32_t codePoint, CharInfo& info);
    bool LoadGlyph(const CharInfo& info);
    const Glyph* Render(const CharInfo& info);
    void ComputeMetrics();

    FT_Library library_ = nullptr;
    LOGFONTW logFont_{};
    std::vector<FaceSlot> faces_;
    FT_F26Dot6 charHeight26_ = 0;  // em size in 1/64 pixel, for every face
    bool antialias_ = true;
    TEXTMETRICW metrics_{};
    DecorationMetrics decoration_{};

    std::array<CharInfo, 128> ascii_{};
    std::unordered_map<char32_t, CharInfo> others_;
    std::unordered_map<std::uint64_t, Glyph> glyphs_;  // key: slot << 32 | glyph index
    std::size_t glyphBytes_ = 0;
};

// The process-wide engine: fontconfig configuration with the face aliases, the
// FreeType library and the cache of realised fonts. Created on first use and never
// destroyed, so fonts held by long-lived objects stay valid until exit.
class Engine {
public:
    static Engine& Get();
    TextStatus Status() const { return status_; }
    FontRef Realize(const LOGFONTW& logFont, TextStatus* status);
    std::vector<FamilyInfo> Families();
    void ClearCaches();

private:
    Engine();
    bool MatchFaces(const LOGFONTW& logFont, std::vector<FaceSlot>* faces);

    TextStatus status_ = TextStatus::kNoFontConfiguration;
    FcConfig* config_ = nullptr;
    FT_Library library_ = nullptr;
    std::map<std::u16string, FontRef> cache_;  // key: the normalised LOGFONTW bytes
};

// Walks text[0, length) as NFC characters. For each character: fn(codePoint,
// segmentStart, segmentEnd, lastOfSegment), where the segment is the range of source
// code units that normalise together (one character, or a base with its marks); fn
// returns false to stop the walk. Returns false when normalisation fails.
template <class Fn>
bool ForEachChar(const WCHAR* text, int length, Fn&& fn);

// Decodes one code point at text[i] (an unpaired surrogate stands for itself) and
// returns the index after it.
inline int DecodeAt(const WCHAR* text, int length, int i, char32_t* codePoint) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length) {
        char32_t low = text[i + 1];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            *codePoint = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            return i + 2;
        }
    }
    *codePoint = c;
    return i + 1;
}

namespace detail {
// Normalises text[start, end) to NFC into *out; false on failure.
bool NormalizeSegment(const WCHAR* text, int start, int end, std::u16string* out);
// Whether NFC may change anything from `start` on (any code unit from U+0300 up).
bool MayNeedNormalizing(const WCHAR* text, int length);
// Whether a normalisation segment starts before `codePoint`.
bool StartsSegment(char32_t codePoint);
}  // namespace detail

template <class Fn>
bool ForEachChar(const WCHAR* text, int length, Fn&& fn) {
    if (!detail::MayNeedNormalizing(text, length)) {
        for (int i = 0; i < length;) {
            char32_t cp;
            int next = DecodeAt(text, length, i, &cp);
            if (!fn(cp, i, next, true)) return true;
            i = next;
        }
        return true;
    }
    std::u16string normal;
    int i = 0;
    while (i < length) {
        int start = i;
        char32_t cp;
        i = DecodeAt(text, length, i, &cp);
        while (i < length) {
            char32_t nextCp;
            int after = DecodeAt(text, length, i, &nextCp);
            if (detail::StartsSegment(nextCp)) break;
            i = after;
        }
        if (!detail::NormalizeSegment(text, start, i, &normal)) return false;
        int n = static_cast<int>(normal.size());
        for (int k = 0; k < n;) {
            char32_t out;
            int next = DecodeAt(normal.data(), n, k, &out);
            if (!fn(out, start, i, next >= n)) return true;
            k = next;
        }
    }
    return true;
}

// Draws a glyph's coverage in `color` with its origin at (x, y) inside `clip`
// (already within the surface).
void BlendGlyph(Surface& surface, const Glyph& glyph, int x, int y, Pixel color, const RECT& clip);
// Fills the rectangle (left, top, right, bottom) within `clip`.
void FillBox(Surface& surface, RECT box, Pixel color, const RECT& clip);
// The clip rectangles of a target that may hold anything inside `bounds`.
std::vector<RECT> ClipRects(const TextTarget& target, const RECT& bounds);

// The sum of the run's advances (saturating at INT_MAX); -1 when normalisation fails.
long long MeasureRun(Font& font, const WCHAR* text, int length);
// Advance positions as GetCharPositions describes them, into ends[0, length).
bool RunPositions(Font& font, const WCHAR* text, int length, int* ends);
// Draws the run's glyphs (no background, no decoration) with the cell top at y.
// Glyphs wholly outside `clips` are skipped, and the walk stops past their right edge.
void PaintRun(Font& font, Surface& surface, const std::vector<RECT>& clips, int x, int y, const WCHAR* text,
              int length, Pixel color);
// The underline or strike-out of a run from x to right, in every clip rectangle.
void PaintDecoration(Font& font, Surface& surface, const std::vector<RECT>& clips, int x, int right, int y,
                     bool underline, bool strikeOut, Pixel color);

}  // namespace tq3::fw::text
