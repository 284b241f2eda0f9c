// Points, sizes and rectangles: CPoint, CSize and CRect over the plain POINT, SIZE
// and RECT structures, and the plain rectangle functions that window and drawing
// code call.
//
// Rectangles follow the platform's conventions: `right` and `bottom` lie outside
// the rectangle, a rectangle whose width or height is zero or negative is empty,
// and the set operations treat empty rectangles as "nothing" (an intersection that
// is empty becomes all zero; a union ignores empty operands).
//
// Coordinates are 32-bit and arithmetic on them wraps rather than trapping, so a
// rectangle built from hostile numbers gives wrong-but-defined results instead of
// undefined behaviour.
#pragma once

#include "framework/core/wintypes.h"

// Plain rectangle functions. Each returns FALSE (and writes nothing) when a
// required pointer is null.
TQ3FW_EXPORT_C BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
TQ3FW_EXPORT_C BOOL SetRectEmpty(LPRECT rect);
TQ3FW_EXPORT_C BOOL CopyRect(LPRECT dst, LPCRECT src);
// TRUE when the width or the height is zero or negative (and for a null pointer).
TQ3FW_EXPORT_C BOOL IsRectEmpty(LPCRECT rect);
// Left and top edges are inside, right and bottom edges are outside.
TQ3FW_EXPORT_C BOOL PtInRect(LPCRECT rect, POINT pt);
// Writes the common part; when there is none, writes an all-zero rectangle and
// returns FALSE.
TQ3FW_EXPORT_C BOOL IntersectRect(LPRECT dst, LPCRECT a, LPCRECT b);
// Writes the smallest rectangle holding both, ignoring an empty operand; with both
// empty, writes an all-zero rectangle and returns FALSE.
TQ3FW_EXPORT_C BOOL UnionRect(LPRECT dst, LPCRECT a, LPCRECT b);
// Writes `a` without `b` when the remainder is a rectangle (`b` covers a whole
// side of `a`); otherwise writes `a` unchanged. Returns FALSE, with an all-zero
// result, when nothing of `a` remains.
TQ3FW_EXPORT_C BOOL SubtractRect(LPRECT dst, LPCRECT a, LPCRECT b);
TQ3FW_EXPORT_C BOOL OffsetRect(LPRECT rect, int dx, int dy);
// Moves every edge outwards by dx, dy (inwards for negative values).
TQ3FW_EXPORT_C BOOL InflateRect(LPRECT rect, int dx, int dy);
TQ3FW_EXPORT_C BOOL EqualRect(LPCRECT a, LPCRECT b);

namespace tq3::fw::detail {
// Two's-complement wrapping arithmetic on coordinates.
constexpr LONG WrapAdd(LONG a, LONG b) {
    return static_cast<LONG>(static_cast<ULONG>(a) + static_cast<ULONG>(b));
}
constexpr LONG WrapSub(LONG a, LONG b) {
    return static_cast<LONG>(static_cast<ULONG>(a) - static_cast<ULONG>(b));
}
constexpr LONG WrapNeg(LONG a) { return WrapSub(0, a); }
}  // namespace tq3::fw::detail

class CPoint;
class CRect;

class TQ3FW_API CSize : public SIZE {
public:
    constexpr CSize() : SIZE{0, 0} {}
    constexpr CSize(int cxIn, int cyIn) : SIZE{cxIn, cyIn} {}
    constexpr CSize(SIZE s) : SIZE(s) {}
    constexpr explicit CSize(POINT pt) : SIZE{pt.x, pt.y} {}

    void SetSize(int cxIn, int cyIn) { cx = cxIn; cy = cyIn; }

    // Equality with a plain SIZE and, so that C++20's reversed candidates never tie,
    // with another CSize; != follows from ==.
    bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
    bool operator==(const CSize& s) const { return *this == static_cast<const SIZE&>(s); }
    CSize& operator+=(SIZE s) { cx = tq3::fw::detail::WrapAdd(cx, s.cx); cy = tq3::fw::detail::WrapAdd(cy, s.cy); return *this; }
    CSize& operator-=(SIZE s) { cx = tq3::fw::detail::WrapSub(cx, s.cx); cy = tq3::fw::detail::WrapSub(cy, s.cy); return *this; }
    CSize operator+(SIZE s) const { CSize r(*this); r += s; return r; }
    CSize operator-(SIZE s) const { CSize r(*this); r -= s; return r; }
    CSize operator-() const { return CSize(tq3::fw::detail::WrapNeg(cx), tq3::fw::detail::WrapNeg(cy)); }
    CPoint operator+(POINT pt) const;
    CPoint operator-(POINT pt) const;
    CRect operator+(const RECT& rc) const;
    CRect operator-(const RECT& rc) const;
};

class TQ3FW_API CPoint : public POINT {
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(int xIn, int yIn) : POINT{xIn, yIn} {}
    constexpr CPoint(POINT pt) : POINT(pt) {}
    constexpr explicit CPoint(SIZE s) : POINT{s.cx, s.cy} {}
    // A point packed in a message parameter: signed 16-bit x in the low word, y in
    // the high word.
    constexpr explicit CPoint(LPARAM packed) : POINT{GET_X_LPARAM(packed), GET_Y_LPARAM(packed)} {}

    void SetPoint(int xIn, int yIn) { x = xIn; y = yIn; }
    void Offset(int dx, int dy) { x = tq3::fw::detail::WrapAdd(x, dx); y = tq3::fw::detail::WrapAdd(y, dy); }
    void Offset(POINT pt) { Offset(pt.x, pt.y); }
    void Offset(SIZE s) { Offset(s.cx, s.cy); }

    bool operator==(const POINT& pt) const { return x == pt.x && y == pt.y; }
    bool operator==(const CPoint& pt) const { return *this == static_cast<const POINT&>(pt); }
    CPoint& operator+=(SIZE s) { Offset(s); return *this; }
    CPoint& operator-=(SIZE s) { Offset(tq3::fw::detail::WrapNeg(s.cx), tq3::fw::detail::WrapNeg(s.cy)); return *this; }
    CPoint& operator+=(POINT pt) { Offset(pt); return *this; }
    CPoint& operator-=(POINT pt) { Offset(tq3::fw::detail::WrapNeg(pt.x), tq3::fw::detail::WrapNeg(pt.y)); return *this; }
    CPoint operator+(SIZE s) const { CPoint r(*this); r += s; return r; }
    CPoint operator-(SIZE s) const { CPoint r(*this); r -= s; return r; }
    CPoint operator+(POINT pt) const { CPoint r(*this); r += pt; return r; }
    // The distance between two points is a size.
    CSize operator-(POINT pt) const { return CSize(tq3::fw::detail::WrapSub(x, pt.x), tq3::fw::detail::WrapSub(y, pt.y)); }
    CPoint operator-() const { return CPoint(tq3::fw::detail::WrapNeg(x), tq3::fw::detail::WrapNeg(y)); }
    CRect operator+(const RECT& rc) const;
    CRect operator-(const RECT& rc) const;
};

class TQ3FW_API CRect : public RECT {
public:
    // A default rectangle is all zero (the platform leaves it undefined; zero is
    // what every caller wants anyway).
    constexpr CRect() : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& rc) : RECT(rc) {}
    explicit CRect(LPCRECT rc) : RECT(rc ? *rc : RECT{0, 0, 0, 0}) {}
    constexpr CRect(POINT pt, SIZE s) : RECT{pt.x, pt.y, tq3::fw::detail::WrapAdd(pt.x, s.cx), tq3::fw::detail::WrapAdd(pt.y, s.cy)} {}
    constexpr CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    // Conversions for the plain functions and the platform's pointer parameters.
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    int Width() const { return tq3::fw::detail::WrapSub(right, left); }
    int Height() const { return tq3::fw::detail::WrapSub(bottom, top); }
    CSize Size() const { return CSize(Width(), Height()); }
    // Corners are returned by value; assign through SetRect or the fields.
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const;

    BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }
    BOOL EqualRect(LPCRECT rc) const { return ::EqualRect(this, rc); }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT src) { ::CopyRect(this, src); }

    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT pt) { OffsetRect(pt.x, pt.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToX(int x);
    void MoveToY(int y);
    void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
    void MoveToXY(POINT pt) { MoveToXY(pt.x, pt.y); }

    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b);
    void InflateRect(LPCRECT rc);
    void DeflateRect(int dx, int dy) { InflateRect(tq3::fw::detail::WrapNeg(dx), tq3::fw::detail::WrapNeg(dy)); }
    void DeflateRect(SIZE s) { DeflateRect(s.cx, s.cy); }
    void DeflateRect(int l, int t, int r, int b);
    void DeflateRect(LPCRECT rc);

    // Swaps the edges so that left <= right and top <= bottom.
    void NormalizeRect();

    BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(LPCRECT a, LPCRECT b) { return ::SubtractRect(this, a, b); }

    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator==(const CRect& rc) const { return *this == static_cast<const RECT&>(rc); }

    CRect& operator+=(POINT pt) { OffsetRect(pt); return *this; }
    CRect& operator+=(SIZE s) { OffsetRect(s); return *this; }
    CRect& operator+=(LPCRECT rc) { InflateRect(rc); return *this; }
    CRect& operator-=(POINT pt) { OffsetRect(tq3::fw::detail::WrapNeg(pt.x), tq3::fw::detail::WrapNeg(pt.y)); return *this; }
    CRect& operator-=(SIZE s) { OffsetRect(tq3::fw::detail::WrapNeg(s.cx), tq3::fw::detail::WrapNeg(s.cy)); return *this; }
    CRect& operator-=(LPCRECT rc) { DeflateRect(rc); return *this; }
    CRect& operator&=(const RECT& rc) { ::IntersectRect(this, this, &rc); return *this; }
    CRect& operator|=(const RECT& rc) { ::UnionRect(this, this, &rc); return *this; }

    CRect operator+(POINT pt) const { CRect r(*this); r += pt; return r; }
    CRect operator+(SIZE s) const { CRect r(*this); r += s; return r; }
    CRect operator+(LPCRECT rc) const { CRect r(*this); r += rc; return r; }
    CRect operator-(POINT pt) const { CRect r(*this); r -= pt; return r; }
    CRect operator-(SIZE s) const { CRect r(*this); r -= s; return r; }
    CRect operator-(LPCRECT rc) const { CRect r(*this); r -= rc; return r; }
    CRect operator&(const RECT& rc) const { CRect r; ::IntersectRect(&r, this, &rc); return r; }
    CRect operator|(const RECT& rc) const { CRect r; ::UnionRect(&r, this, &rc); return r; }
};

inline CPoint CSize::operator+(POINT pt) const { return CPoint(pt) + *this; }
inline CPoint CSize::operator-(POINT pt) const { return CPoint(tq3::fw::detail::WrapSub(cx, pt.x), tq3::fw::detail::WrapSub(cy, pt.y)); }
inline CRect CSize::operator+(const RECT& rc) const { return CRect(rc) + *this; }
inline CRect CSize::operator-(const RECT& rc) const { return CRect(rc) - *this; }
inline CRect CPoint::operator+(const RECT& rc) const { return CRect(rc) + *this; }
inline CRect CPoint::operator-(const RECT& rc) const { return CRect(rc) - *this; }
