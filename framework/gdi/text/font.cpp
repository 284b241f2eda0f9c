// A realised font: opening and sizing its faces, the platform's metrics, and the
// character and glyph caches.
//
// Sections: creation (Create -> Prepare -> ComputeMetrics) -> characters (Resolve ->
// ResolveFace -> LoadGlyph) -> glyph bitmaps (Render) -> cache upkeep.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "framework/gdi/text/font_internal.h"

namespace tq3::fw::text {

namespace {

constexpr long long kDefaultEmHeight = 12;  // 9 points at 96 DPI
constexpr long long kMaxEmHeight = 1024;    // keeps one glyph's bitmap within a few MiB
constexpr std::size_t kMaxGlyphBytes = 32u << 20;
constexpr std::size_t kMaxResolvedChars = 65536;
constexpr BYTE kNonAntialiasedQuality = 3;

// Pitch-and-family bits of TEXTMETRICW: the "fixed pitch" bit is set for variable
// pitch fonts, as the platform has it.
constexpr BYTE kTmpfVariablePitch = 0x01;
constexpr BYTE kTmpfVector = 0x02;
constexpr BYTE kTmpfTrueType = 0x04;
constexpr BYTE kFamilySwiss = 0x20;
constexpr BYTE kFamilyModern = 0x30;

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

// ---- creation --------------------------------------------------------------------

Font::~Font() {
    for (FaceSlot& slot : faces_) {
        if (slot.face) FT_Done_Face(slot.face);
        if (slot.charset) FcCharSetDestroy(slot.charset);
    }
}

std::unique_ptr<Font> Font::Create(FT_Library library, const LOGFONTW& logFont, std::vector<FaceSlot> faces,
                                   TextStatus* status) {
    std::unique_ptr<Font> font(new Font());
    font->library_ = library;
    font->logFont_ = logFont;
    font->faces_ = std::move(faces);
    font->antialias_ = logFont.lfQuality != kNonAntialiasedQuality;
    if (!font->Prepare(library)) {
        *status = TextStatus::kNoUsableFont;
        return nullptr;
    }
    *status = TextStatus::kOk;
    return font;
}

bool Font::OpenSlot(FaceSlot& slot) {
    if (slot.face) return true;
    if (slot.openFailed) return false;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, slot.file.c_str(), slot.index, &face) != 0 || !FT_IS_SCALABLE(face) ||
        FT_Set_Char_Size(face, 0, charHeight26_, 72, 72) != 0) {
        if (face) FT_Done_Face(face);
        slot.openFailed = true;
        return false;
    }
    slot.face = face;
    return true;
}

// Opens the matched face (or, when its file does not load, the next one), sizes every
// face to the same em height and computes the metrics.
bool Font::Prepare(FT_Library library) {
    library_ = library;
    while (!faces_.empty()) {
        FaceSlot& first = faces_.front();
        FT_Face face = nullptr;
        if (FT_New_Face(library_, first.file.c_str(), first.index, &face) == 0 && FT_IS_SCALABLE(face) &&
            face->units_per_EM > 0) {
            first.face = face;
            break;
        }
        if (face) FT_Done_Face(face);
        if (first.charset) FcCharSetDestroy(first.charset);
        faces_.erase(faces_.begin());
    }
    if (faces_.empty()) return false;
    ComputeMetrics();
    if (FT_Set_Char_Size(faces_[0].face, 0, charHeight26_, 72, 72) != 0) return false;
    // Metrics that depend on glyphs (the average width of "x").
    const CharInfo& x = Resolve(U'x', false);
    if (x.glyphIndex != 0 && x.advance > 0) metrics_.tmAveCharWidth = x.advance;
    return true;
}

// The cell is the face's Windows ascent and descent (OS/2 table) where it has them, as
// the platform measures; other faces use their horizontal header.
void Font::ComputeMetrics() {
    FT_Face face = faces_[0].face;
    const double upem = face->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    double ascUnits = face->ascender;
    double descUnits = -face->descender;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascUnits = os2->usWinAscent;
        descUnits = os2->usWinDescent;
    }
    if (ascUnits + descUnits <= 0) {
        ascUnits = upem * 0.8;
        descUnits = upem * 0.2;
    }

    long long height = logFont_.lfHeight;
    double em;
    int ascent, descent;
    if (height > 0) {
        long long cell = std::min(height, kMaxEmHeight * 2);
        em = static_cast<double>(cell) * upem / (ascUnits + descUnits);
        if (em > kMaxEmHeight) em = kMaxEmHeight;
        if (em < 1) em = 1;
        ascent = RoundToInt(static_cast<double>(cell) * ascUnits / (ascUnits + descUnits));
        descent = static_cast<int>(cell) - ascent;
    } else {
        long long e = height < 0 ? -height : kDefaultEmHeight;
        em = static_cast<double>(std::clamp<long long>(e, 1, kMaxEmHeight));
        ascent = RoundToInt(ascUnits * em / upem);
        descent = RoundToInt(descUnits * em / upem);
    }
    charHeight26_ = static_cast<FT_F26Dot6>(std::lround(em * 64));
    const double scale = em / upem;
    const bool bold = faces_[0].embolden;

    TEXTMETRICW& tm = metrics_;
    tm = TEXTMETRICW{};
    tm.tmAscent = ascent;
    tm.tmDescent = descent;
    tm.tmHeight = ascent + descent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - RoundToInt(em));
    if (hhea) {
        double lineGap = hhea->Line_Gap - ((ascUnits + descUnits) - (hhea->Ascender - hhea->Descender));
        tm.tmExternalLeading = std::max(0, RoundToInt(lineGap * scale));
    }
    tm.tmAveCharWidth = os2 && os2->version != 0xFFFF ? RoundToInt(os2->xAvgCharWidth * scale) : RoundToInt(em / 2);
    tm.tmMaxCharWidth = RoundToInt(face->max_advance_width * scale) + (bold ? 1 : 0);
    tm.tmWeight = logFont_.lfWeight > 0 ? std::min<LONG>(logFont_.lfWeight, 1000) : FW_NORMAL;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    FT_UInt index = 0;
    FT_ULong first = FT_Get_First_Char(face, &index);
    tm.tmFirstChar = static_cast<WCHAR>(std::min<FT_ULong>(first, 0xFFFF));
    tm.tmLastChar = 0xFFFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = logFont_.lfItalic ? 1 : 0;
    tm.tmUnderlined = logFont_.lfUnderline ? 1 : 0;
    tm.tmStruckOut = logFont_.lfStrikeOut ? 1 : 0;
    tm.tmPitchAndFamily = kTmpfVector | kTmpfTrueType;
    if (FT_IS_FIXED_WIDTH(face)) {
        tm.tmPitchAndFamily |= kFamilyModern;
    } else {
        tm.tmPitchAndFamily |= kTmpfVariablePitch | kFamilySwiss;
    }
    tm.tmCharSet = logFont_.lfCharSet;

    // Decorations: the underline stem is centred on the face's underline position;
    // the strike-out stroke's top is the OS/2 strike-out position.
    DecorationMetrics& d = decoration_;
    d.underlineThickness = std::max(1, RoundToInt(face->underline_thickness * scale));
    d.underlineTop = ascent - RoundToInt(face->underline_position * scale) - d.underlineThickness / 2;
    if (face->underline_thickness == 0 && face->underline_position == 0) d.underlineTop = ascent + 1;
    d.underlineTop = std::clamp(d.underlineTop, ascent, std::max(ascent, tm.tmHeight - d.underlineThickness));
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        d.strikeOutThickness = std::max(1, RoundToInt(os2->yStrikeoutSize * scale));
        d.strikeOutTop = ascent - RoundToInt(os2->yStrikeoutPosition * scale);
    } else {
        d.strikeOutThickness = d.underlineThickness;
        d.strikeOutTop = ascent - RoundToInt(em * 0.3);
    }
    d.strikeOutTop = std::clamp(d.strikeOutTop, 0, std::max(0, ascent - 1));
}

// ---- characters ------------------------------------------------------------------

bool Font::SlotHasChar(FaceSlot& slot, char32_t codePoint, std::uint32_t* glyphIndex) {
    if (&slot != &faces_[0] && (slot.charset == nullptr || !FcCharSetHasChar(slot.charset, codePoint))) {
        return false;
    }
    if (!OpenSlot(slot)) return false;
    *glyphIndex = FT_Get_Char_Index(slot.face, codePoint);
    return *glyphIndex != 0;
}

// The first face that has the character draws it; otherwise the matched face's
// missing-glyph box (glyph 0) stands for it.
void Font::ResolveFace(char32_t codePoint, CharInfo& info) {
    info.slot = 0;
    info.glyphIndex = 0;
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) return;
    for (std::size_t i = 0; i < faces_.size(); ++i) {
        std::uint32_t glyph = 0;
        if (SlotHasChar(faces_[i], codePoint, &glyph)) {
            info.slot = static_cast<std::uint16_t>(i);
            info.glyphIndex = glyph;
            return;
        }
    }
}

// Loads the glyph into its face's slot, hinted, with synthetic bold and oblique.
bool Font::LoadGlyph(const CharInfo& info) {
    FaceSlot& slot = faces_[info.slot];
    if (!OpenSlot(slot)) return false;
    FT_Int32 flags = FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP;
    flags |= antialias_ ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (FT_Load_Glyph(slot.face, info.glyphIndex, flags) != 0) return false;
    FT_GlyphSlot g = slot.face->glyph;
    if (g->format != FT_GLYPH_FORMAT_OUTLINE) return true;
    if (slot.oblique) FT_GlyphSlot_Oblique(g);
    if (slot.embolden) FT_Outline_EmboldenXY(&g->outline, 64, 0);
    return true;
}

const CharInfo& Font::Resolve(char32_t codePoint, bool withBitmap) {
    CharInfo& info = codePoint < 128 ? ascii_[codePoint] : others_[codePoint];
    if (!info.resolved) {
        ResolveFace(codePoint, info);
        info.advance = 0;
        if (LoadGlyph(info)) {
            FT_GlyphSlot g = faces_[info.slot].face->glyph;
            info.advance = static_cast<int>((g->advance.x + 32) >> 6) + (faces_[info.slot].embolden ? 1 : 0);
            if (info.advance < 0) info.advance = 0;
            if (withBitmap) info.glyph = Render(info);
        }
        info.resolved = true;
    }
    if (withBitmap && info.glyph == nullptr) info.glyph = Render(info);
    return info;
}

std::string Font::FileForChar(char32_t codePoint) {
    const CharInfo& info = Resolve(codePoint, false);
    return info.glyphIndex == 0 ? std::string() : faces_[info.slot].file;
}

// ---- glyph bitmaps -----------------------------------------------------------------

// Renders the glyph that LoadGlyph left in its face's slot (loading it first when the
// slot holds another). A glyph that does not render is cached empty: it draws nothing.
const Glyph* Font::Render(const CharInfo& info) {
    std::uint64_t key = (static_cast<std::uint64_t>(info.slot) << 32) | info.glyphIndex;
    auto found = glyphs_.find(key);
    if (found != glyphs_.end()) return &found->second;
    Glyph& glyph = glyphs_[key];
    FaceSlot& slot = faces_[info.slot];
    if (!slot.face || slot.face->glyph->glyph_index != info.glyphIndex) {
        if (!LoadGlyph(info)) return &glyph;
    }
    FT_GlyphSlot g = slot.face->glyph;
    if (FT_Render_Glyph(g, antialias_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return &glyph;
    const FT_Bitmap& bm = g->bitmap;
    if (bm.pitch < 0 || bm.buffer == nullptr || bm.width == 0 || bm.rows == 0) return &glyph;
    const int width = static_cast<int>(bm.width);
    const int rows = static_cast<int>(bm.rows);
    // Rows are padded with zeros to a multiple of four bytes, so that the blending
    // can take a narrow glyph's row in one group of four pixels.
    const int stride = (width + 3) / 4 * 4;
    // The coverage is made before the glyph takes any size: when memory runs out
    // here the cached glyph stays empty and draws nothing.
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(stride) * static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(r) * bm.pitch;
        std::uint8_t* dst = coverage.data() + static_cast<std::size_t>(r) * stride;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int c = 0; c < width; ++c) dst[c] = (src[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
        } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
            std::copy(src, src + width, dst);
        } else {
            std::fill(dst, dst + width, 0);
        }
    }
    glyph.left = g->bitmap_left;
    glyph.top = g->bitmap_top;
    glyph.width = width;
    glyph.rows = rows;
    glyph.stride = stride;
    glyph.coverage = std::move(coverage);
    glyphBytes_ += glyph.coverage.size();
    return &glyph;
}

// ---- cache upkeep ------------------------------------------------------------------

void Font::ClearGlyphs() {
    ascii_.fill(CharInfo{});
    others_.clear();
    glyphs_.clear();
    glyphBytes_ = 0;
}

void Font::TrimCaches() {
    if (glyphBytes_ > kMaxGlyphBytes || others_.size() > kMaxResolvedChars) ClearGlyphs();
}

}  // namespace tq3::fw::text
