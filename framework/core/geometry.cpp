#include "framework/core/geometry.h"

#include <algorithm>

using tq3::fw::detail::WrapAdd;
using tq3::fw::detail::WrapSub;

namespace {

bool Empty(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

void Assign(LPRECT dst, LONG l, LONG t, LONG r, LONG b) {
    dst->left = l;
    dst->top = t;
    dst->right = r;
    dst->bottom = b;
}

}  // namespace

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    Assign(rect, left, top, right, bottom);
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT dst, LPCRECT src) {
    if (!dst || !src) return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL IsRectEmpty(LPCRECT rect) { return !rect || Empty(*rect); }

BOOL PtInRect(LPCRECT rect, POINT pt) {
    if (!rect) return FALSE;
    return pt.x >= rect->left && pt.x < rect->right && pt.y >= rect->top && pt.y < rect->bottom;
}

BOOL IntersectRect(LPRECT dst, LPCRECT a, LPCRECT b) {
    if (!dst || !a || !b) return FALSE;
    // Read both operands before writing: dst may be one of them.
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (Empty(*a) || Empty(*b) || Empty(r)) {
        Assign(dst, 0, 0, 0, 0);
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dst, LPCRECT a, LPCRECT b) {
    if (!dst || !a || !b) return FALSE;
    const bool emptyA = Empty(*a);
    const bool emptyB = Empty(*b);
    if (emptyA && emptyB) {
        Assign(dst, 0, 0, 0, 0);
        return FALSE;
    }
    if (emptyA) {
        *dst = *b;
    } else if (emptyB) {
        *dst = *a;
    } else {
        RECT r{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
               std::max(a->bottom, b->bottom)};
        *dst = r;
    }
    return TRUE;
}

BOOL SubtractRect(LPRECT dst, LPCRECT a, LPCRECT b) {
    if (!dst || !a || !b) return FALSE;
    if (Empty(*a)) {
        Assign(dst, 0, 0, 0, 0);
        return FALSE;
    }
    RECT r = *a;
    RECT cut;
    if (IntersectRect(&cut, a, b)) {
        // Only a cut that spans a whole side leaves a rectangle behind.
        if (cut.top == r.top && cut.bottom == r.bottom) {
            if (cut.left == r.left) {
                r.left = cut.right;
            } else if (cut.right == r.right) {
                r.right = cut.left;
            }
        } else if (cut.left == r.left && cut.right == r.right) {
            if (cut.top == r.top) {
                r.top = cut.bottom;
            } else if (cut.bottom == r.bottom) {
                r.bottom = cut.top;
            }
        }
    }
    if (Empty(r)) {
        Assign(dst, 0, 0, 0, 0);
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (!rect) return FALSE;
    Assign(rect, WrapAdd(rect->left, dx), WrapAdd(rect->top, dy), WrapAdd(rect->right, dx),
           WrapAdd(rect->bottom, dy));
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (!rect) return FALSE;
    Assign(rect, WrapSub(rect->left, dx), WrapSub(rect->top, dy), WrapAdd(rect->right, dx),
           WrapAdd(rect->bottom, dy));
    return TRUE;
}

BOOL EqualRect(LPCRECT a, LPCRECT b) {
    if (!a || !b) return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

CPoint CRect::CenterPoint() const {
    // Halve in 64 bits so that wide rectangles do not overflow on the way.
    const long long cx = (static_cast<long long>(left) + right) / 2;
    const long long cy = (static_cast<long long>(top) + bottom) / 2;
    return CPoint(static_cast<int>(cx), static_cast<int>(cy));
}

void CRect::MoveToX(int x) {
    right = WrapAdd(x, Width());
    left = x;
}

void CRect::MoveToY(int y) {
    bottom = WrapAdd(y, Height());
    top = y;
}

void CRect::InflateRect(int l, int t, int r, int b) {
    Assign(this, WrapSub(left, l), WrapSub(top, t), WrapAdd(right, r), WrapAdd(bottom, b));
}

void CRect::InflateRect(LPCRECT rc) {
    if (rc) InflateRect(rc->left, rc->top, rc->right, rc->bottom);
}

void CRect::DeflateRect(int l, int t, int r, int b) {
    Assign(this, WrapAdd(left, l), WrapAdd(top, t), WrapSub(right, r), WrapSub(bottom, b));
}

void CRect::DeflateRect(LPCRECT rc) {
    if (rc) DeflateRect(rc->left, rc->top, rc->right, rc->bottom);
}

void CRect::NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}
