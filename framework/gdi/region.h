// Region: a set of pixels as banded rectangles (pixman's 32-bit regions). It is the
// model behind HRGN, behind every window's invalid region and behind clipping.
// Rectangles exclude their right and bottom edges, as everywhere on the platform.
#pragma once

#include <pixman.h>

#include <vector>

#include "framework/core/wintypes.h"

namespace tq3::fw {

class TQ3FW_API Region {
public:
    Region();
    explicit Region(const RECT& rect);
    Region(int left, int top, int right, int bottom);
    Region(const Region& other);
    Region(Region&& other) noexcept;
    Region& operator=(const Region& other);
    Region& operator=(Region&& other) noexcept;
    ~Region();

    // Builds the region from a list of rectangles (their union).
    static Region FromRects(const std::vector<RECT>& rects);

    bool IsEmpty() const;
    RECT Bounds() const;  // all 0 when empty
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rect) const;
    bool operator==(const Region& other) const;
    std::vector<RECT> Rects() const;  // the bands, top to bottom, left to right
    // Calls `visit(const RECT&)` for each band in the same order. It allocates
    // nothing, so painting paths that must not fail use it instead of Rects.
    template <typename Visit>
    void ForEachRect(Visit&& visit) const {
        int n = 0;
        const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&region_), &n);
        for (int i = 0; i < n; ++i) visit(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    }
    int RectCount() const;

    void Clear();
    void SetRect(const RECT& rect);
    void Offset(int dx, int dy);
    void Union(const Region& other);
    void Union(const RECT& rect);
    void Intersect(const Region& other);
    void Intersect(const RECT& rect);
    void Subtract(const Region& other);
    void Subtract(const RECT& rect);
    // Pixels in exactly one of the two.
    void Xor(const Region& other);

    pixman_region32_t* Native() { return &region_; }
    const pixman_region32_t* Native() const { return &region_; }

private:
    pixman_region32_t region_;
};

}  // namespace tq3::fw
