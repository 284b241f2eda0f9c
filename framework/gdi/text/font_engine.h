// The text engine behind the device context's font calls: realising a logical font
// (LOGFONTW) as installed faces, measuring UTF-16 runs and drawing them onto a pixel
// surface.
//
// Faces are matched through fontconfig. The platform's face names ("MS UI Gothic",
// "MS Shell Dlg", "Tahoma", "SimSun", "Gulim", ...) are aliases onto installed faces:
// IPA gothic faces for Japanese, WenQuanYi Micro Hei for Chinese and Korean, DejaVu for
// Latin. FreeType rasterises glyphs (grey antialiasing, hinting on) through a glyph
// cache held by each realised font. Text is NFC-normalised and laid out glyph after
// glyph by advance width, without kerning or ligatures, as the platform's text output
// does. A character the matched face lacks is drawn from another installed face; when
// no face has it, the face's missing-glyph box is drawn.
//
// Coordinates are those of the target surface: the device context translates logical
// coordinates (window origin, viewport origin) before calling in.
//
// Failures are results: a missing font configuration, no usable face or an allocation
// failure give a TextStatus or a null FontRef, never an exception.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/wintypes.h"
#include "framework/gdi/region.h"
#include "framework/gdi/surface.h"

namespace tq3::fw::text {

enum class TextStatus {
    kOk,
    kNoFontConfiguration,  // fontconfig or FreeType could not be initialised
    kNoUsableFont,         // nothing installed matches or loads
    kOutOfMemory,
    kInvalidArgument,  // null font, negative length, text too long to lay out
};

// A realised font: the matched face, its pixel size, bold/italic synthesis, the
// fallback faces and the glyph cache. Shared: the font cache keeps one per distinct
// LOGFONTW, and device contexts hold a reference while the font is selected.
class Font;
using FontRef = std::shared_ptr<Font>;

// Realises `logFont`. lfHeight < 0 is the character (em) height in pixels, > 0 the
// cell height (ascent + descent), 0 the default UI size (em height 12 pixels, i.e.
// 9 points at 96 DPI). lfWeight >= 600 asks for bold (a bold style, or emboldened),
// lfItalic for italic (an italic style, or slanted); lfUnderline and lfStrikeOut are
// drawn as lines; lfCharSet hints the language for matching and fallback. Returns the
// cached font for an equal LOGFONTW. Null on failure, with the reason in *status.
TQ3FW_API FontRef RealizeFont(const LOGFONTW& logFont, TextStatus* status = nullptr);

// A family a program may ask for by name: one installed, or one of the platform's
// names that stands for an installed face (an alias). charSets are the character
// sets its faces cover, of ANSI, SHIFTJIS, HANGUL, GB2312 and CHINESEBIG5.
struct FamilyInfo {
    std::u16string name;
    bool fixedPitch;
    bool alias;
    std::vector<BYTE> charSets;
};

// Every family, sorted by name without regard to ASCII case; empty when the engine
// is down or memory ran out.
TQ3FW_API std::vector<FamilyInfo> ListFamilies();

// Whether the engine came up (fontconfig configuration with the face aliases, FreeType).
TQ3FW_API TextStatus EngineStatus();

// Forgets the glyph bitmaps of every realised font (they are rebuilt on demand), and
// the realised fonts that nothing holds any more.
TQ3FW_API void ClearFontCaches();

// The platform's text metrics of the font: tmHeight = tmAscent + tmDescent, the
// internal leading (cell height minus em height), the average width (of "x"), the
// widest advance, the weight and italic/underline/strike-out flags that were asked for.
TQ3FW_API bool GetTextMetrics(const FontRef& font, TEXTMETRICW* metrics);

// Where the font's decoration lines lie, as offsets from the top of the character
// cell, and how thick they are (at least 1 pixel).
struct DecorationMetrics {
    int underlineTop;
    int underlineThickness;
    int strikeOutTop;
    int strikeOutThickness;
};
TQ3FW_API bool GetDecorationMetrics(const FontRef& font, DecorationMetrics* metrics);

// The file of the matched face, and the file whose glyph draws `codePoint` in this font
// (the matched face or a fallback face; empty when no installed face has it).
TQ3FW_API std::string FontFilePath(const FontRef& font);
TQ3FW_API std::string FaceFileForChar(const FontRef& font, char32_t codePoint);

// Width (sum of advances) and height (tmHeight) of the UTF-16 run text[0, length).
// A negative length measures up to the terminating zero. {0, 0} on failure.
TQ3FW_API SIZE GetTextExtent(const FontRef& font, const WCHAR* text, int length);

// Advance positions: (*ends)[i] is the distance from the start of the run to the end
// of the character that code unit i belongs to; units inside a character (the high
// half of a surrogate pair, a base letter followed by a combining mark) carry the
// position before that character. So ends.back() is the run's width, and a caret may
// stand after unit i wherever ends[i] grows.
TQ3FW_API bool GetCharPositions(const FontRef& font, const WCHAR* text, int length, std::vector<int>* ends);

// Where drawing goes: a surface and a clip region in surface coordinates (null: the
// whole surface). Drawing never touches pixels outside both.
struct TextTarget {
    Surface* surface;
    const Region* clip;
};

struct TextColors {
    COLORREF text;
    COLORREF background;
    bool opaque;  // fill the text's cell box with `background` before drawing
};

// Draws text[0, length) with the top of its character cell at y and its start at x,
// decorated as the font asks (underline, strike-out).
TQ3FW_API TextStatus DrawRun(const FontRef& font, const TextTarget& target, int x, int y, const WCHAR* text,
                             int length, const TextColors& colors);

}  // namespace tq3::fw::text
