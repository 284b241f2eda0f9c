#include "framework/gdi/offscreen_buffer.h"

namespace tq3::fw {

CDC* OffscreenBuffer::Prepare(CDC* screen, CSize wanted) {
    if (dc.GetSafeHdc() != nullptr && size == wanted) return &dc;
    Release();
    if (wanted.cx <= 0 || wanted.cy <= 0 || !dc.CreateCompatibleDC(screen)) return nullptr;
    if (!bitmap.CreateCompatibleBitmap(screen, wanted.cx, wanted.cy)) {
        dc.DeleteDC();
        return nullptr;
    }
    dc.SelectObject(&bitmap);
    size = wanted;
    return &dc;
}

void OffscreenBuffer::Release() {
    dc.DeleteDC();
    bitmap.DeleteObject();
    size = CSize();
}

}  // namespace tq3::fw
