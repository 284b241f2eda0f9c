// The handle table and the object constructors.
//
// Sections: handle encoding and the table; selection bookkeeping; permanent
// objects (stock, system-colour, halftone); the exported constructors; DeleteObject
// and GetObject.
#include "framework/gdi/gdi_objects.h"

#include <cstring>
#include <new>
#include <vector>

#include "framework/gdi/sysmetrics.h"

namespace tq3::fw::gdi {

namespace {

// ---- Handle encoding and the table -------------------------------------------
// A handle is (generation << 32) | (slot + 1) << 4 | kind. The generation grows
// each time a slot is reused, so an old handle no longer matches its slot.
struct Slot {
    std::uint32_t generation = 1;
    std::unique_ptr<Object> object;
};

struct Table {
    std::vector<Slot> slots;
    std::vector<std::uint32_t> freeSlots;
};

Table& TheTable() {
    static Table table;
    return table;
}

constexpr std::uint64_t kKindMask = 0xF;
constexpr std::uint64_t kSlotMask = 0x0FFFFFFF;

HGDIOBJ Encode(std::uint32_t slot, std::uint32_t generation, Kind kind) {
    std::uint64_t v = (static_cast<std::uint64_t>(generation) << 32) | ((static_cast<std::uint64_t>(slot) + 1) << 4) |
                      static_cast<std::uint64_t>(kind);
    return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(v));
}

Slot* Decode(HGDIOBJ handle) {
    auto v = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
    std::uint64_t slot1 = (v >> 4) & kSlotMask;
    if (slot1 == 0) return nullptr;
    Table& t = TheTable();
    std::size_t index = static_cast<std::size_t>(slot1 - 1);
    if (index >= t.slots.size()) return nullptr;
    Slot& s = t.slots[index];
    if (!s.object || s.generation != static_cast<std::uint32_t>(v >> 32) ||
        static_cast<std::uint64_t>(s.object->kind) != (v & kKindMask)) {
        return nullptr;
    }
    return &s;
}

// ---- Permanent objects ---------------------------------------------------------
HGDIOBJ InsertPermanent(std::unique_ptr<Object> o) {
    if (!o) return nullptr;
    o->permanent = true;
    return Insert(std::move(o));
}

std::unique_ptr<Object> NewObject(Kind kind) {
    try {
        auto o = std::make_unique<Object>();
        o->kind = kind;
        return o;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<Object> SolidBrushObject(COLORREF color) {
    auto o = NewObject(Kind::Brush);
    if (o) {
        o->brush.style = BS_SOLID;
        o->brush.color = color & 0x00FFFFFF;
    }
    return o;
}

std::unique_ptr<Object> PenObject(UINT style, int width, COLORREF color) {
    auto o = NewObject(Kind::Pen);
    if (o) o->pen = LOGPEN{style, POINT{width, 0}, color & 0x00FFFFFF};
    return o;
}

std::unique_ptr<Object> FontObject(const LOGFONTW& lf) {
    auto o = NewObject(Kind::Font);
    if (o) o->font = lf;
    return o;
}

HGDIOBJ MakeStock(int index) {
    switch (index) {
        case WHITE_BRUSH:
            return InsertPermanent(SolidBrushObject(RGB(255, 255, 255)));
        case LTGRAY_BRUSH:
            return InsertPermanent(SolidBrushObject(RGB(192, 192, 192)));
        case GRAY_BRUSH:
            return InsertPermanent(SolidBrushObject(RGB(128, 128, 128)));
        case DKGRAY_BRUSH:
            return InsertPermanent(SolidBrushObject(RGB(64, 64, 64)));
        case BLACK_BRUSH:
        case DC_BRUSH:
            return InsertPermanent(SolidBrushObject(RGB(0, 0, 0)));
        case NULL_BRUSH: {
            auto o = SolidBrushObject(0);
            if (o) o->brush.style = BS_NULL;
            return InsertPermanent(std::move(o));
        }
        case WHITE_PEN:
            return InsertPermanent(PenObject(PS_SOLID, 0, RGB(255, 255, 255)));
        case BLACK_PEN:
        case DC_PEN:
            return InsertPermanent(PenObject(PS_SOLID, 0, RGB(0, 0, 0)));
        case NULL_PEN:
            return InsertPermanent(PenObject(PS_NULL, 0, 0));
        case DEFAULT_GUI_FONT:
        case ANSI_VAR_FONT:
            return InsertPermanent(FontObject(DefaultGuiLogFont()));
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case SYSTEM_FIXED_FONT:
            return InsertPermanent(FontObject(SystemLogFont()));
        default:
            return nullptr;
    }
}

// ---- Brush patterns ----------------------------------------------------------------
// Which pixels of an 8x8 cell a hatch style marks.
bool HatchMarks(int hatch, int x, int y) {
    switch (hatch) {
        case HS_HORIZONTAL:
            return y == 4;
        case HS_VERTICAL:
            return x == 4;
        case HS_FDIAGONAL:  // top-left to bottom-right
            return x == y;
        case HS_BDIAGONAL:
            return x + y == 7;
        case HS_CROSS:
            return x == 4 || y == 4;
        case HS_DIAGCROSS:
            return x == y || x + y == 7;
        default:
            return false;
    }
}

}  // namespace

HGDIOBJ Insert(std::unique_ptr<Object> object) {
    if (!object) return nullptr;
    try {
        Table& t = TheTable();
        std::uint32_t index;
        if (!t.freeSlots.empty()) {
            index = t.freeSlots.back();
            t.freeSlots.pop_back();
        } else {
            if (t.slots.size() >= kSlotMask - 1) return nullptr;
            t.slots.emplace_back();
            index = static_cast<std::uint32_t>(t.slots.size() - 1);
        }
        Slot& s = t.slots[index];
        Kind kind = object->kind;
        s.object = std::move(object);
        return Encode(index, s.generation, kind);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

Object* Find(HGDIOBJ handle) {
    Slot* s = Decode(handle);
    return s ? s->object.get() : nullptr;
}

Object* Find(HGDIOBJ handle, Kind kind) {
    Object* o = Find(handle);
    return o && o->kind == kind ? o : nullptr;
}

void Erase(HGDIOBJ handle) {
    Slot* s = Decode(handle);
    if (!s) return;
    Table& t = TheTable();
    std::unique_ptr<Object> dying = std::move(s->object);
    ++s->generation;
    if (s->generation == 0) s->generation = 1;
    try {
        t.freeSlots.push_back(static_cast<std::uint32_t>(s - t.slots.data()));
    } catch (const std::bad_alloc&) {
        // The slot is simply not reused.
    }
}

// ---- Selection bookkeeping ------------------------------------------------------
void AddSelection(HGDIOBJ handle) {
    if (Object* o = Find(handle)) ++o->selections;
}

void ReleaseSelection(HGDIOBJ handle) {
    Object* o = Find(handle);
    if (!o) return;
    if (o->selections > 0) --o->selections;
    if (o->selections == 0 && o->deletePending) Erase(handle);
}

HBRUSH CreatePermanentBrush(COLORREF color) {
    return static_cast<HBRUSH>(InsertPermanent(SolidBrushObject(color)));
}

HBRUSH HalftoneBrush() {
    static HBRUSH brush = nullptr;
    if (!brush) {
        auto o = NewObject(Kind::Brush);
        if (!o) return nullptr;
        o->brush.style = BS_PATTERN;
        o->brush.monochrome = true;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) o->brush.pattern[static_cast<std::size_t>(y * 8 + x)] = ((x + y) & 1) ? 0xFFFFFF : 0;
        }
        brush = static_cast<HBRUSH>(InsertPermanent(std::move(o)));
    }
    return brush;
}

HBITMAP NewBitmap(int width, int height, WORD bitsPixel) {
    // Beyond 2^28 pixels (a gigabyte) a bitmap is refused rather than attempted.
    if (width <= 0 || height <= 0) return nullptr;
    if (static_cast<long long>(width) * height > (1LL << 28)) return nullptr;
    auto o = NewObject(Kind::Bitmap);
    if (!o) return nullptr;
    try {
        o->bitmap.surface = std::make_shared<Surface>(width, height, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    o->bitmap.bitsPixel = bitsPixel;
    return static_cast<HBITMAP>(Insert(std::move(o)));
}

}  // namespace tq3::fw::gdi

using namespace tq3::fw;
using namespace tq3::fw::gdi;

HGDIOBJ GetStockObject(int index) {
    static std::array<HGDIOBJ, DC_PEN + 1> stock{};
    if (index < 0 || index > DC_PEN) return nullptr;
    HGDIOBJ& h = stock[static_cast<std::size_t>(index)];
    if (!h) h = MakeStock(index);
    return h;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) style = PS_SOLID;
    // Styled (dashed, dotted) lines are one pixel wide on the platform's screen.
    if (style >= PS_DASH && style <= PS_DASHDOTDOT) width = 1;
    return static_cast<HPEN>(Insert(PenObject(static_cast<UINT>(style), width < 0 ? 0 : width, color)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) return nullptr;
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) { return static_cast<HBRUSH>(Insert(SolidBrushObject(color))); }

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    auto o = SolidBrushObject(color);
    if (!o) return nullptr;
    o->brush.style = BS_HATCHED;
    o->brush.hatch = hatch;
    // Marked pixels carry the brush colour; 0xFFFFFFFF marks background pixels.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            o->brush.pattern[static_cast<std::size_t>(y * 8 + x)] =
                HatchMarks(hatch, x, y) ? ToPixel(color) : 0xFFFFFFFFu;
        }
    }
    return static_cast<HBRUSH>(Insert(std::move(o)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    BitmapData* b = BitmapOf(bitmap);
    if (!b || !b->surface || b->surface->Width() == 0 || b->surface->Height() == 0) return nullptr;
    auto o = NewObject(Kind::Brush);
    if (!o) return nullptr;
    o->brush.style = BS_PATTERN;
    o->brush.monochrome = b->bitsPixel == 1;
    o->brush.patternSource = bitmap;
    const Surface& s = *b->surface;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            o->brush.pattern[static_cast<std::size_t>(y * 8 + x)] = s.At(x % s.Width(), y % s.Height()) & 0xFFFFFF;
        }
    }
    return static_cast<HBRUSH>(Insert(std::move(o)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) return nullptr;
    switch (brush->lbStyle) {
        case BS_SOLID:
            return CreateSolidBrush(brush->lbColor);
        case BS_NULL:
            return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        case BS_HATCHED:
            return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
        case BS_PATTERN:
            return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
        default:
            return nullptr;
    }
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) return nullptr;
    LOGFONTW lf = *font;
    lf.lfFaceName[LF_FACESIZE - 1] = 0;  // a face name always ends inside the structure
    return static_cast<HFONT>(Insert(FontObject(lf)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCWSTR face) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic);
    lf.lfUnderline = static_cast<BYTE>(underline);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (face) {
        for (int i = 0; i < LF_FACESIZE - 1 && face[i]; ++i) lf.lfFaceName[i] = face[i];
    }
    return CreateFontIndirectW(&lf);
}

HBITMAP CreateBitmap(int width, int height, UINT /*planes*/, UINT bitsPerPixel, const void* bits) {
    if (width < 0 || height < 0) return nullptr;
    if (width == 0 || height == 0) return NewBitmap(1, 1, 1);
    if (bitsPerPixel != 1 && bitsPerPixel != 32) return nullptr;
    HBITMAP h = NewBitmap(width, height, static_cast<WORD>(bitsPerPixel));
    if (!h || !bits) return h;
    Surface& s = *BitmapOf(h)->surface;
    const auto* bytes = static_cast<const BYTE*>(bits);
    if (bitsPerPixel == 1) {
        std::size_t rowBytes = static_cast<std::size_t>((width + 15) / 16) * 2;
        for (int y = 0; y < height; ++y) {
            const BYTE* row = bytes + rowBytes * static_cast<std::size_t>(y);
            for (int x = 0; x < width; ++x) s.Set(x, y, (row[x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0);
        }
    } else {
        for (int y = 0; y < height; ++y) {
            std::memcpy(s.Row(y), bytes + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4,
                        static_cast<std::size_t>(width) * 4);
            for (int x = 0; x < width; ++x) s.Row(y)[x] &= 0xFFFFFF;
        }
    }
    return h;
}

HBITMAP CreateDIBSection(HDC /*dc*/, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD /*offset*/) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || section) return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight >= 0) return nullptr;
    HBITMAP bitmap = NewBitmap(h.biWidth, -h.biHeight, 32);
    if (bitmap && bits) *bits = BitmapOf(bitmap)->surface->Data();
    return bitmap;
}

BOOL DeleteObject(HGDIOBJ object) {
    Object* o = Find(object);
    if (!o || o->kind == Kind::Dc || o->kind == Kind::Icon || o->kind == Kind::ImageList) return FALSE;
    if (o->permanent) return TRUE;  // harmless, as on the platform
    if (o->selections > 0) {
        if (o->kind == Kind::Bitmap) return FALSE;
        o->deletePending = true;
        return TRUE;
    }
    Erase(object);
    return TRUE;
}

namespace {

template <typename T>
int CopyOut(const T& value, int size, void* buffer) {
    if (!buffer) return static_cast<int>(sizeof(T));
    if (size <= 0) return 0;
    std::size_t n = static_cast<std::size_t>(size) < sizeof(T) ? static_cast<std::size_t>(size) : sizeof(T);
    std::memcpy(buffer, &value, n);
    return static_cast<int>(n);
}

}  // namespace

int GetObjectW(HGDIOBJ object, int size, void* buffer) {
    Object* o = Find(object);
    if (!o) return 0;
    switch (o->kind) {
        case Kind::Pen:
            return CopyOut(o->pen, size, buffer);
        case Kind::Brush: {
            LOGBRUSH lb{o->brush.style, o->brush.color, 0};
            if (o->brush.style == BS_HATCHED) lb.lbHatch = static_cast<ULONG_PTR>(o->brush.hatch);
            if (o->brush.style == BS_PATTERN) lb.lbHatch = reinterpret_cast<ULONG_PTR>(o->brush.patternSource);
            return CopyOut(lb, size, buffer);
        }
        case Kind::Font:
            return CopyOut(o->font, size, buffer);
        case Kind::Bitmap: {
            const Surface& s = *o->bitmap.surface;
            BITMAP bm{};
            bm.bmWidth = s.Width();
            bm.bmHeight = s.Height();
            bm.bmPlanes = 1;
            bm.bmBitsPixel = o->bitmap.bitsPixel;
            bm.bmWidthBytes = o->bitmap.bitsPixel == 1 ? (s.Width() + 15) / 16 * 2 : s.Width() * 4;
            return CopyOut(bm, size, buffer);
        }
        case Kind::Region:
        case Kind::Dc:
        case Kind::Icon:
        case Kind::ImageList:
            return 0;
    }
    return 0;
}

DWORD GetObjectType(HGDIOBJ object) {
    Object* o = Find(object);
    if (!o) return 0;
    switch (o->kind) {
        case Kind::Pen:
            return OBJ_PEN;
        case Kind::Brush:
            return OBJ_BRUSH;
        case Kind::Font:
            return OBJ_FONT;
        case Kind::Bitmap:
            return OBJ_BITMAP;
        case Kind::Region:
            return OBJ_REGION;
        case Kind::Dc:
            return o->memoryDc ? OBJ_MEMDC : OBJ_DC;
        case Kind::Icon:
        case Kind::ImageList:
            return 0;  // not drawing objects
    }
    return 0;
}
