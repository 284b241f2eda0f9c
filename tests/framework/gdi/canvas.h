// A memory context on a 32-bit bitmap for pixel tests: the bitmap's own pixels
// (device coordinates, whatever the context's origin and clip), read into the
// harness's captures for counting and for pictures in failure messages.
#pragma once

#include <string>
#include <vector>

#include "framework/gdi/dc.h"
#include "framework/gdi/gdi_objects.h"
#include "tq3view/testing.h"

namespace tq3::test {

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(dc_, width, height);
        old_ = SelectObject(dc_, bitmap_);
        Fill(fill);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    tq3::fw::Surface& surface() const { return *tq3::fw::gdi::BitmapOf(bitmap_)->surface; }
    int width() const { return surface().Width(); }
    int height() const { return surface().Height(); }
    COLORREF at(int x, int y) const { return tq3::fw::ToColorRef(surface().At(x, y)); }
    void Fill(COLORREF c) {
        tq3::fw::Surface& s = surface();
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x) s.Set(x, y, tq3::fw::ToPixel(c));
    }
    tq3::testing::Capture Shot() const {
        const tq3::fw::Surface& s = surface();
        std::vector<COLORREF> pixels;
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x) pixels.push_back(at(x, y));
        return tq3::testing::Capture(RECT{0, 0, s.Width(), s.Height()}, std::move(pixels));
    }
    int Count(COLORREF c) const { return Shot().Count(c); }
    std::string Picture(COLORREF ink) const { return Shot().Picture(ink); }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace tq3::test
