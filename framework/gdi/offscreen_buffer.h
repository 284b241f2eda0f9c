// OffscreenBuffer: a bitmap off the screen with a memory context that draws into
// it, for windows that paint through a buffer so that they never show half drawn.
//
// The bitmap is kept from one paint to the next while the size asked for fits in it
// and uses a fair part of it: making and clearing a fresh bitmap on every paint
// would cost more than drawing a strip or a full-screen cell area, and a view whose
// cell area changes height with its font would otherwise make one at each change.
// A kept bitmap holds what the last paint left, so whoever paints through it
// covers every pixel it copies to the screen; outside the size asked for, the
// bitmap holds nothing anyone should copy.
#pragma once

#include "framework/core/export.h"
#include "framework/core/geometry.h"
#include "framework/gdi/gdi_classes.h"

namespace tq3::fw {

class TQ3FW_API OffscreenBuffer {
public:
    OffscreenBuffer() = default;
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;

    // The context drawing into a bitmap of at least `size` that suits `screen`,
    // made or remade when the size no longer fits the bitmap held or uses too
    // little of it; null when it cannot be made (an empty size, no memory), and the
    // buffer is then empty. Selections other than the bitmap are
    // the caller's to put back before the next call.
    CDC* Prepare(CDC* screen, CSize size);
    // Gives the bitmap back (a window does when it goes).
    void Release();
    // The size last asked for; (0, 0) when there is no bitmap.
    CSize Size() const { return size; }
    // The size of the bitmap held, which may be larger; (0, 0) when there is none.
    CSize BitmapSize() const { return bitmapSize; }

private:
    // The bitmap is declared first so that the context holding it goes first.
    CBitmap bitmap;
    CDC dc;
    CSize size;
    CSize bitmapSize;
};

}  // namespace tq3::fw
