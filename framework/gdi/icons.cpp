// Icons and DrawState.
//
// Sections: icon objects; masked painting (the one pixel loop every icon and image
// list draw goes through); DrawIconEx; DrawState and the disabled look.
#include "framework/gdi/icons.h"

#include <algorithm>
#include <new>

#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/raster.h"
#include "framework/gdi/sysmetrics.h"

using namespace tq3::fw;
using namespace tq3::fw::gdi;

namespace {

IconData* IconOf(HICON icon) {
    Object* o = Find(icon, Kind::Icon);
    return o ? &o->icon : nullptr;
}

bool CopySurface(const Surface& from, int top, int height, Surface* to) {
    try {
        to->Resize(from.Width(), height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < height; ++y) std::copy_n(from.Row(top + y), from.Width(), to->Row(y));
    return true;
}

HBITMAP BitmapFrom(const Surface& s, WORD bitsPixel) {
    HBITMAP h = NewBitmap(s.Width(), s.Height(), bitsPixel);
    if (h) CopySurface(s, 0, s.Height(), BitmapOf(h)->surface.get());
    return h;
}

int Luminance(Pixel p) { return (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100; }

// The pixels of an image that make its silhouette: opaque ones, and for the
// disabled look only those dark enough to carry a drawing's lines.
Surface Silhouette(const IconData& image, bool darkOnly) {
    Surface shape(image.color.Width(), image.color.Height(), 0xFFFFFF);
    for (int y = 0; y < shape.Height(); ++y) {
        for (int x = 0; x < shape.Width(); ++x) {
            bool opaque = image.mask.Width() == 0 || image.mask.At(x, y) == 0;
            bool dark = !darkOnly || Luminance(image.color.At(x, y)) < 0xC0;
            if (opaque && dark) shape.Set(x, y, 0);
        }
    }
    return shape;
}

// Paints colour `c` wherever `shape` is 0.
void PaintShape(HDC dc, int x, int y, int cx, int cy, const Surface& shape, COLORREF c) {
    IconData tinted;
    tinted.mask = shape;
    tinted.color = Surface(shape.Width(), shape.Height(), 0);
    Pixel p = ToPixel(c);
    for (int j = 0; j < shape.Height(); ++j)
        for (int i = 0; i < shape.Width(); ++i)
            if (shape.At(i, j) == 0) tinted.color.Set(i, j, p);
    PaintMasked(dc, x, y, cx, cy, tinted, DI_NORMAL);
}

}  // namespace

namespace tq3::fw::gdi {

HICON NewIcon(const IconData& data) {
    try {
        auto o = std::make_unique<Object>();
        o->kind = Kind::Icon;
        o->icon = data;
        return static_cast<HICON>(Insert(std::move(o)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void PaintMasked(HDC dc, int x, int y, int cx, int cy, const IconData& image, UINT flags) {
    DcState* s = DcOf(dc);
    int w = image.color.Width();
    int h = image.color.Height();
    if (!s || !s->surface || w == 0 || h == 0 || cx <= 0 || cy <= 0) return;
    bool hasMask = image.mask.Width() == w && image.mask.Height() == h;
    POINT off = s->Offset();
    RECT r{x + off.x, y + off.y, x + off.x + cx, y + off.y + cy};
    Surface& dst = *s->surface;
    ForEachClipped(s->Clip(), r, [&](int l, int t, int rr, int b) {
        for (int py = t; py < b; ++py) {
            int sy = static_cast<int>(static_cast<long long>(py - r.top) * h / cy);
            Pixel* row = dst.Row(py);
            for (int px = l; px < rr; ++px) {
                int sx = static_cast<int>(static_cast<long long>(px - r.left) * w / cx);
                Pixel c = image.color.At(sx, sy);
                if (!hasMask || (flags & DI_MASK) == 0) {
                    if (flags & DI_IMAGE) row[px] = c;
                    continue;
                }
                row[px] &= image.mask.At(sx, sy) | 0xFF000000u;
                if (flags & DI_IMAGE) row[px] ^= c;
                row[px] &= 0xFFFFFF;
            }
        }
    });
}

}  // namespace tq3::fw::gdi

HICON CreateIconIndirect(PICONINFO info) {
    if (!info) return nullptr;
    const BitmapData* mask = BitmapOf(info->hbmMask);
    const BitmapData* color = info->hbmColor ? BitmapOf(info->hbmColor) : nullptr;
    if (!mask || (info->hbmColor && !color)) return nullptr;
    IconData data;
    data.isIcon = info->fIcon != FALSE;
    data.hotspot = POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
    const Surface& m = *mask->surface;
    if (color) {
        const Surface& c = *color->surface;
        if (c.Width() != m.Width() || c.Height() != m.Height()) return nullptr;
        if (!CopySurface(c, 0, c.Height(), &data.color) || !CopySurface(m, 0, m.Height(), &data.mask)) return nullptr;
    } else {
        // One-bit icon: the mask bitmap is twice as tall, AND half over XOR half.
        if (m.Height() < 2) return nullptr;
        int h = m.Height() / 2;
        if (!CopySurface(m, 0, h, &data.mask) || !CopySurface(m, h, h, &data.color)) return nullptr;
    }
    return NewIcon(data);
}

BOOL DestroyIcon(HICON icon) {
    if (!Find(icon, Kind::Icon)) return FALSE;
    Erase(icon);
    return TRUE;
}

HICON CopyIcon(HICON icon) {
    const IconData* data = IconOf(icon);
    return data ? NewIcon(*data) : nullptr;
}

BOOL GetIconInfo(HICON icon, PICONINFO info) {
    const IconData* data = IconOf(icon);
    if (!data || !info) return FALSE;
    HBITMAP mask = BitmapFrom(data->mask, 1);
    HBITMAP color = BitmapFrom(data->color, 32);
    if (!mask || !color) {
        if (mask) DeleteObject(mask);
        if (color) DeleteObject(color);
        return FALSE;
    }
    *info = ICONINFO{data->isIcon ? TRUE : FALSE, static_cast<DWORD>(data->hotspot.x),
                     static_cast<DWORD>(data->hotspot.y), mask, color};
    return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT /*step*/, HBRUSH flickerFree, UINT flags) {
    const IconData* data = IconOf(icon);
    if (!DcOf(dc) || !data) return FALSE;
    if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : data->color.Width();
    if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : data->color.Height();
    if ((flags & DI_NORMAL) == 0) flags |= DI_NORMAL;
    if (flickerFree) {
        // Composed over the brush: the result is opaque.
        RECT r{x, y, x + cx, y + cy};
        FillRect(dc, &r, flickerFree);
    }
    PaintMasked(dc, x, y, cx, cy, *data, flags);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL DrawStateW(HDC dc, HBRUSH brush, DRAWSTATEPROC /*output*/, LPARAM lData, WPARAM wData, int x, int y, int cx,
                int cy, UINT flags) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    IconData image;
    switch (flags & 0x000F) {
        case DST_ICON: {
            const IconData* icon = IconOf(reinterpret_cast<HICON>(lData));
            if (!icon) return FALSE;
            image = *icon;
            break;
        }
        case DST_BITMAP: {
            const BitmapData* bitmap = BitmapOf(reinterpret_cast<HBITMAP>(lData));
            if (!bitmap) return FALSE;
            image.color = *bitmap->surface;
            break;
        }
        case DST_TEXT:
        case DST_PREFIXTEXT: {
            auto text = reinterpret_cast<LPCWSTR>(lData);
            int length = wData ? static_cast<int>(wData) : -1;
            bool prefixed = (flags & 0x000F) == DST_PREFIXTEXT;
            if (flags & DSS_DISABLED) {
                DrawStateText(dc, x + 1, y + 1, text, length, prefixed, GetSysColor(COLOR_3DHILIGHT));
                return DrawStateText(dc, x, y, text, length, prefixed, GetSysColor(COLOR_3DSHADOW));
            }
            return DrawStateText(dc, x, y, text, length, prefixed, s->at.textColor);
        }
        default:
            return FALSE;
    }
    if (cx == 0) cx = image.color.Width();
    if (cy == 0) cy = image.color.Height();
    if (flags & DSS_DISABLED) {
        // The embossed look: the drawing's dark lines in the highlight colour one
        // pixel down and right, then in the shadow colour in place.
        Surface shape = Silhouette(image, true);
        PaintShape(dc, x + 1, y + 1, cx, cy, shape, GetSysColor(COLOR_3DHILIGHT));
        PaintShape(dc, x, y, cx, cy, shape, GetSysColor(COLOR_3DSHADOW));
        return TRUE;
    }
    if (flags & DSS_MONO) {
        const BrushData* b = BrushOf(brush);
        COLORREF c = b && b->style == BS_SOLID ? b->color : s->at.textColor;
        PaintShape(dc, x, y, cx, cy, Silhouette(image, false), c);
        return TRUE;
    }
    PaintMasked(dc, x, y, cx, cy, image, DI_NORMAL);
    return TRUE;
}
