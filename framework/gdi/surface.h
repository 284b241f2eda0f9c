// A 32-bit pixel surface: the desktop that the window manager owns, and every
// bitmap a memory device context draws into.
//
// Pixels are 0x00RRGGBB words (pixman's x8r8g8b8), rows top to bottom, `stride`
// pixels apart. COLORREF is 0x00BBGGRR, so colours cross through ToPixel/ToColorRef.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/wintypes.h"

namespace tq3::fw {

using Pixel = std::uint32_t;

constexpr Pixel ToPixel(COLORREF c) {
    return (static_cast<Pixel>(GetRValue(c)) << 16) | (static_cast<Pixel>(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF ToColorRef(Pixel p) {
    return RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
}

class TQ3FW_API Surface {
public:
    Surface() = default;
    Surface(int width, int height, Pixel fill = 0) { Resize(width, height, fill); }

    // Reallocates; the content is lost and filled with `fill`. Negative sizes are
    // taken as 0.
    void Resize(int width, int height, Pixel fill = 0) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return width_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Pixel* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    const Pixel* Row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    Pixel* Data() { return pixels_.data(); }
    const Pixel* Data() const { return pixels_.data(); }

    Pixel At(int x, int y) const { return Row(y)[x]; }
    void Set(int x, int y, Pixel p) { Row(y)[x] = p; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> pixels_;
};

}  // namespace tq3::fw
