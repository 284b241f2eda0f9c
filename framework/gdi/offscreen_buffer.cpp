#include "framework/gdi/offscreen_buffer.h"

namespace tq3::fw {

namespace {

// Bitmaps are made a little larger than asked, so that a window growing by a few
// pixels at a time (a frame dragged wider, a strip one line taller) keeps its
// buffer instead of making a new one at every step.
constexpr int kSlack = 32;

int WithSlack(int length) { return (length + kSlack - 1) / kSlack * kSlack; }

}  // namespace

CDC* OffscreenBuffer::Prepare(CDC* screen, CSize wanted) {
    if (dc.GetSafeHdc() != nullptr && wanted.cx > 0 && wanted.cy > 0 && wanted.cx <= bitmapSize.cx &&
        wanted.cy <= bitmapSize.cy) {
        // A bitmap much larger than the part in use would hold memory for a window
        // that has shrunk for good; a few times the size is cheaper to keep than to
        // make again, since a fresh bitmap costs a first touch of every page.
        const long long held = static_cast<long long>(bitmapSize.cx) * bitmapSize.cy;
        const long long used = static_cast<long long>(WithSlack(wanted.cx)) * WithSlack(wanted.cy);
        if (used * 4 >= held) {
            size = wanted;
            return &dc;
        }
    }
    Release();
    if (wanted.cx <= 0 || wanted.cy <= 0 || !dc.CreateCompatibleDC(screen)) return nullptr;
    const CSize made(WithSlack(wanted.cx), WithSlack(wanted.cy));
    if (!bitmap.CreateCompatibleBitmap(screen, made.cx, made.cy) &&
        !bitmap.CreateCompatibleBitmap(screen, wanted.cx, wanted.cy)) {
        dc.DeleteDC();
        return nullptr;
    }
    BITMAP shape{};
    bitmap.GetBitmap(&shape);
    dc.SelectObject(&bitmap);
    size = wanted;
    bitmapSize = CSize(shape.bmWidth, shape.bmHeight);
    return &dc;
}

void OffscreenBuffer::Release() {
    dc.DeleteDC();
    bitmap.DeleteObject();
    size = CSize();
    bitmapSize = CSize();
}

}  // namespace tq3::fw
