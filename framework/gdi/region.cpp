#include "framework/gdi/region.h"

namespace tq3::fw {

namespace {

// pixman boxes are (x1, y1) inclusive to (x2, y2) exclusive, like RECT; an
// inverted or empty rectangle is an empty region.
void InitRect(pixman_region32_t* r, LONG left, LONG top, LONG right, LONG bottom) {
    if (right <= left || bottom <= top) {
        pixman_region32_init(r);
    } else {
        pixman_region32_init_rect(r, left, top, static_cast<unsigned>(right - left),
                                  static_cast<unsigned>(bottom - top));
    }
}

}  // namespace

Region::Region() { pixman_region32_init(&region_); }
Region::Region(const RECT& rect) { InitRect(&region_, rect.left, rect.top, rect.right, rect.bottom); }
Region::Region(int left, int top, int right, int bottom) { InitRect(&region_, left, top, right, bottom); }

Region::Region(const Region& other) {
    pixman_region32_init(&region_);
    pixman_region32_copy(&region_, &other.region_);
}

Region::Region(Region&& other) noexcept {
    pixman_region32_init(&region_);
    pixman_region32_copy(&region_, &other.region_);
    pixman_region32_clear(&other.region_);
}

Region& Region::operator=(const Region& other) {
    if (this != &other) pixman_region32_copy(&region_, &other.region_);
    return *this;
}

Region& Region::operator=(Region&& other) noexcept {
    if (this != &other) {
        pixman_region32_copy(&region_, &other.region_);
        pixman_region32_clear(&other.region_);
    }
    return *this;
}

Region::~Region() { pixman_region32_fini(&region_); }

Region Region::FromRects(const std::vector<RECT>& rects) {
    Region result;
    for (const RECT& r : rects) result.Union(r);
    return result;
}

bool Region::IsEmpty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&region_)); }

RECT Region::Bounds() const {
    if (IsEmpty()) return RECT{0, 0, 0, 0};
    const pixman_box32_t* e = pixman_region32_extents(const_cast<pixman_region32_t*>(&region_));
    return RECT{e->x1, e->y1, e->x2, e->y2};
}

bool Region::Contains(int x, int y) const {
    return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&region_), x, y, nullptr);
}

bool Region::Intersects(const RECT& rect) const {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return false;
    pixman_box32_t box{rect.left, rect.top, rect.right, rect.bottom};
    return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&region_), &box) != PIXMAN_REGION_OUT;
}

bool Region::operator==(const Region& other) const {
    return pixman_region32_equal(const_cast<pixman_region32_t*>(&region_),
                                 const_cast<pixman_region32_t*>(&other.region_));
}

std::vector<RECT> Region::Rects() const {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&region_), &n);
    std::vector<RECT> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) out.push_back(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    return out;
}

int Region::RectCount() const { return pixman_region32_n_rects(const_cast<pixman_region32_t*>(&region_)); }

void Region::Clear() { pixman_region32_clear(&region_); }

void Region::SetRect(const RECT& rect) {
    pixman_region32_fini(&region_);
    InitRect(&region_, rect.left, rect.top, rect.right, rect.bottom);
}

void Region::Offset(int dx, int dy) { pixman_region32_translate(&region_, dx, dy); }

void Region::Union(const Region& other) { pixman_region32_union(&region_, &region_, &other.region_); }
void Region::Union(const RECT& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    pixman_region32_union_rect(&region_, &region_, rect.left, rect.top, static_cast<unsigned>(rect.right - rect.left),
                               static_cast<unsigned>(rect.bottom - rect.top));
}

void Region::Intersect(const Region& other) { pixman_region32_intersect(&region_, &region_, &other.region_); }
void Region::Intersect(const RECT& rect) { Intersect(Region(rect)); }

void Region::Subtract(const Region& other) { pixman_region32_subtract(&region_, &region_, &other.region_); }
void Region::Subtract(const RECT& rect) { Subtract(Region(rect)); }

// XOR is the union less the intersection.
void Region::Xor(const Region& other) {
    Region both(*this);
    both.Intersect(other);
    Union(other);
    Subtract(both);
}

}  // namespace tq3::fw
