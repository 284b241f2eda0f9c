// Drawing objects and their handles: pens, brushes, fonts, bitmaps, regions and
// device contexts all live in one handle table.
//
// A handle carries its slot, its kind and a generation, so a stale or foreign
// handle is refused instead of reaching freed memory. Stock objects, system-colour
// brushes and the halftone brush are permanent: DeleteObject leaves them alone. An
// object still selected into a device context is deleted when the last context
// lets go of it; a selected bitmap is not deleted at all.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "framework/core/wintypes.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/gdi/region.h"
#include "framework/gdi/surface.h"

// ---- Creating and deleting objects -------------------------------------------
TQ3FW_EXPORT_C HGDIOBJ GetStockObject(int index);
TQ3FW_EXPORT_C HPEN CreatePen(int style, int width, COLORREF color);
TQ3FW_EXPORT_C HPEN CreatePenIndirect(const LOGPEN* pen);
TQ3FW_EXPORT_C HBRUSH CreateSolidBrush(COLORREF color);
TQ3FW_EXPORT_C HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// The brush copies the bitmap's top-left 8x8 pixels (tiled when smaller). A brush
// from a one-bit bitmap paints its 0 bits in the text colour and its 1 bits in the
// background colour of the context it draws in.
TQ3FW_EXPORT_C HBRUSH CreatePatternBrush(HBITMAP bitmap);
TQ3FW_EXPORT_C HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
TQ3FW_EXPORT_C HFONT CreateFontIndirectW(const LOGFONTW* font);
TQ3FW_EXPORT_C HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR face);
// bitsPerPixel 1 (set bits are white) or 32 (0x00RRGGBB words); rows of `bits`
// are padded to 16 bits as on the platform. A zero width or height gives a 1x1
// one-bit bitmap.
TQ3FW_EXPORT_C HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// 32-bit top-down sections only (negative biHeight); *bits points at the pixels,
// which stay valid until the bitmap is deleted.
TQ3FW_EXPORT_C HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                        DWORD offset);
TQ3FW_EXPORT_C BOOL DeleteObject(HGDIOBJ object);
// Copies LOGPEN, LOGBRUSH, LOGFONTW or BITMAP (at most `size` bytes); with a null
// buffer returns the size needed. 0 on a bad handle.
TQ3FW_EXPORT_C int GetObjectW(HGDIOBJ object, int size, void* buffer);
TQ3FW_EXPORT_C DWORD GetObjectType(HGDIOBJ object);
inline int GetObject(HGDIOBJ object, int size, void* buffer) { return GetObjectW(object, size, buffer); }
inline HFONT CreateFontIndirect(const LOGFONTW* font) { return CreateFontIndirectW(font); }

namespace tq3::fw::gdi {

struct DcState;

enum class Kind : std::uint8_t { Pen = 1, Brush, Font, Bitmap, Region, Dc, Icon, ImageList };

struct BrushData {
    UINT style = BS_SOLID;  // BS_SOLID, BS_NULL, BS_HATCHED or BS_PATTERN
    COLORREF color = 0;     // solid and hatched brushes
    int hatch = 0;          // HS_*, hatched brushes
    bool monochrome = false;  // pattern of 0 / 0xFFFFFF marks for text / background colour
    std::array<Pixel, 64> pattern{};  // 8x8, row by row: hatched and pattern brushes
    HBITMAP patternSource = nullptr;  // reported by GetObject for pattern brushes
};

struct BitmapData {
    std::shared_ptr<Surface> surface;  // shared with the memory DC that selects it
    WORD bitsPixel = 32;               // 1 for one-bit bitmaps (pixels 0 or 0xFFFFFF)
};

// An icon: the platform's pair of images. Drawing keeps a pixel where the mask is
// white and then XORs the colour image in, so a black colour pixel over a white
// mask pixel is transparent.
struct IconData {
    Surface color;
    Surface mask;  // 0 (opaque) or 0xFFFFFF (transparent)
    bool isIcon = true;
    POINT hotspot{0, 0};
};

// An image list: equal-sized images, each with its mask when the list has masks.
struct ImageListData {
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    bool masked = false;
    COLORREF bkColor = 0xFFFFFFFF;  // CLR_NONE: drawn transparently
    std::vector<IconData> images;
};

struct Object {
    Kind kind;
    bool permanent = false;      // stock and system objects: never deleted
    bool deletePending = false;  // DeleteObject while selected: delete on release
    int selections = 0;          // device contexts that have it selected
    bool memoryDc = false;       // a device context on a bitmap of its own
    LOGPEN pen{};
    BrushData brush;
    LOGFONTW font{};
    BitmapData bitmap;
    Region region;
    std::shared_ptr<DcState> dc;
    IconData icon;
    ImageListData imageList;
};

// The table. Insert returns nullptr when memory runs out.
TQ3FW_API HGDIOBJ Insert(std::unique_ptr<Object> object);
TQ3FW_API Object* Find(HGDIOBJ handle);
TQ3FW_API Object* Find(HGDIOBJ handle, Kind kind);
TQ3FW_API void Erase(HGDIOBJ handle);

// Device contexts count what they hold selected; a release may complete a
// deferred DeleteObject.
TQ3FW_API void AddSelection(HGDIOBJ handle);
TQ3FW_API void ReleaseSelection(HGDIOBJ handle);

// A solid brush that DeleteObject will not free (system-colour brushes).
TQ3FW_API HBRUSH CreatePermanentBrush(COLORREF color);
// The 50% checkerboard used for trackers, focus rectangles and disabled looks: a
// one-bit pattern, so it paints in the context's text and background colours.
TQ3FW_API HBRUSH HalftoneBrush();

// Typed access; nullptr when the handle is not of that kind.
inline BrushData* BrushOf(HBRUSH h) {
    Object* o = Find(h, Kind::Brush);
    return o ? &o->brush : nullptr;
}
inline LOGPEN* PenOf(HPEN h) {
    Object* o = Find(h, Kind::Pen);
    return o ? &o->pen : nullptr;
}
inline LOGFONTW* FontOf(HFONT h) {
    Object* o = Find(h, Kind::Font);
    return o ? &o->font : nullptr;
}
inline BitmapData* BitmapOf(HBITMAP h) {
    Object* o = Find(h, Kind::Bitmap);
    return o ? &o->bitmap : nullptr;
}
inline Region* RegionOf(HRGN h) {
    Object* o = Find(h, Kind::Region);
    return o ? &o->region : nullptr;
}

// A new bitmap object of the given size and depth, or nullptr.
TQ3FW_API HBITMAP NewBitmap(int width, int height, WORD bitsPixel);

}  // namespace tq3::fw::gdi
