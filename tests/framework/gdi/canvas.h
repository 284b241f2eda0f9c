// A memory context on a 32-bit bitmap for pixel tests, with direct access to the
// pixels and a text picture of them for failure messages.
#pragma once

#include <string>

#include "framework/gdi/dc.h"
#include "framework/gdi/gdi_objects.h"

namespace tq3::fw::test {

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
    Surface& surface() const { return *gdi::BitmapOf(bitmap_)->surface; }
    int width() const { return surface().Width(); }
    int height() const { return surface().Height(); }
    COLORREF at(int x, int y) const { return ToColorRef(surface().At(x, y)); }
    void Fill(COLORREF c) {
        Surface& s = surface();
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x) s.Set(x, y, ToPixel(c));
    }
    int Count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) n += at(x, y) == c;
        return n;
    }
    // One character per pixel: '#' for `ink`, '.' for anything else.
    std::string Picture(COLORREF ink) const {
        std::string out;
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) out += at(x, y) == ink ? '#' : '.';
            out += '\n';
        }
        return out;
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

}  // namespace tq3::fw::test
