// Helpers shared by the text engine tests: logical fonts, ink inspection, surfaces.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/gdi/text/draw_text.h"

namespace tq3::test {

using namespace tq3::fw;
using namespace tq3::fw::text;

constexpr Pixel kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr TextColors kBlackOnWhite{kBlack, RGB(255, 255, 255), false};

inline LOGFONTW MakeFont(const char16_t* face, LONG height, LONG weight = FW_NORMAL, BYTE italic = 0,
                         BYTE charSet = DEFAULT_CHARSET) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfCharSet = charSet;
    for (int i = 0; face[i] != 0 && i < LF_FACESIZE - 1; ++i) lf.lfFaceName[i] = face[i];
    return lf;
}

// The pixels that differ from the background: how many, and their bounding box
// (right and bottom exclusive; all 0 when none).
struct Ink {
    int count = 0;
    RECT box{0, 0, 0, 0};
};

inline Ink InkOf(const Surface& s, Pixel background = kWhite) {
    Ink ink;
    RECT& b = ink.box;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            if (s.At(x, y) == background) continue;
            b = ink.count++ == 0 ? RECT{x, y, x + 1, y + 1}
                                 : RECT{std::min<LONG>(b.left, x), std::min<LONG>(b.top, y),
                                        std::max<LONG>(b.right, x + 1), std::max<LONG>(b.bottom, y + 1)};
        }
    }
    return ink;
}

inline bool SamePixels(const Surface& a, const Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

inline std::string BaseName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

inline int Width(const FontRef& font, const std::u16string& s) {
    return GetTextExtent(font, s.data(), static_cast<int>(s.size())).cx;
}

inline void DrawAt(const FontRef& font, Surface& s, int x, int y, const std::u16string& text,
                   const Region* clip = nullptr) {
    DrawRun(font, TextTarget{&s, clip}, x, y, text.data(), static_cast<int>(text.size()), kBlackOnWhite);
}

}  // namespace tq3::test
