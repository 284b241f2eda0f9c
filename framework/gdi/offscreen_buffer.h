// OffscreenBuffer: a bitmap off the screen with a memory context that draws into
// it, for windows that paint through a buffer so that they never show half drawn.
//
// The bitmap is kept from one paint to the next while the size asked for stays:
// making and clearing a fresh bitmap on every paint would cost more than drawing a
// strip or a full-screen cell area. A kept bitmap holds what the last paint left,
// so whoever paints through it covers every pixel it copies to the screen.
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

    // The context drawing into a bitmap of `size` that suits `screen`, made or
    // remade when the size changed; null when it cannot be made (an empty size, no
    // memory), and the buffer is then empty. Selections other than the bitmap are
    // the caller's to put back before the next call.
    CDC* Prepare(CDC* screen, CSize size);
    // Gives the bitmap back (a window does when it goes).
    void Release();
    // The size of the bitmap held; (0, 0) when there is none.
    CSize Size() const { return size; }

private:
    // The bitmap is declared first so that the context holding it goes first.
    CBitmap bitmap;
    CDC dc;
    CSize size;
};

}  // namespace tq3::fw
