// A 32-bit pixel surface: a top-level window's backing store, the screen's overlay,
// and every bitmap a memory device context draws into.
//
// Pixels are 0x00RRGGBB words (pixman's x8r8g8b8), rows top to bottom, `stride`
// pixels apart. COLORREF is 0x00BBGGRR, so colours cross through ToPixel/ToColorRef.
//
// A fresh surface costs nothing until it is drawn on: large ones are mapped from
// the system, which hands over zeroed pages on first touch, and are not filled
// again; only the rows and columns a window actually paints become resident. A
// fill other than black has to touch every pixel, so callers that can live with
// black (a window paints its background anyway) ask for none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "framework/core/export.h"
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
    // Throws std::bad_alloc when the pixels cannot be had.
    Surface(int width, int height, Pixel fill = 0) { Resize(width, height, fill); }
    Surface(const Surface& other);
    Surface& operator=(const Surface& other);
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;
    ~Surface() = default;

    // Reallocates; the content is lost and every pixel is `fill` (black costs
    // nothing). Negative sizes are taken as 0. Throws std::bad_alloc, leaving the
    // surface as it was.
    void Resize(int width, int height, Pixel fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return width_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Pixel* Row(int y) { return pixels_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
    const Pixel* Row(int y) const {
        return pixels_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    Pixel* Data() { return pixels_.get(); }
    const Pixel* Data() const { return pixels_.get(); }

    Pixel At(int x, int y) const { return Row(y)[x]; }
    void Set(int x, int y, Pixel p) { Row(y)[x] = p; }

private:
    // Gives the pixels back the way they were had: mapped or from the heap.
    struct Release {
        std::size_t bytes;
        void operator()(Pixel* pixels) const;
    };
    using Pixels = std::unique_ptr<Pixel[], Release>;
    // `count` zeroed pixels; throws std::bad_alloc.
    static Pixels Allocate(std::size_t count);

    int width_ = 0;
    int height_ = 0;
    Pixels pixels_{nullptr, Release{0}};
};

}  // namespace tq3::fw
