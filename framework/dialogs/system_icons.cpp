// The standard icons, drawn with the drawing layer's own shapes on a 32 x 32
// image: everything not painted stays transparent.
//
// Call flow: LoadIconW -> MakeIcon(kind) -> Paint<Kind> on a memory context ->
// IconFrom (the key colour becomes the mask) -> NewIcon.
#include "framework/dialogs/system_icons.h"

#include <array>
#include <new>

#include "framework/gdi/dc.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/icons.h"

using namespace tq3::fw;

namespace {

constexpr int kSize = 32;
// Never drawn by any icon: marks what stays transparent.
constexpr COLORREF kKey = RGB(255, 0, 255);

enum class Kind { Application, Hand, Question, Exclamation, Asterisk, Count };

// A glyph as rows of text: '#' is ink.
template <size_t Rows>
void PaintGlyph(HDC dc, int x, int y, const std::array<const char*, Rows>& rows, COLORREF ink) {
    for (size_t r = 0; r < Rows; ++r) {
        for (int c = 0; rows[r][c] != 0; ++c) {
            if (rows[r][c] == '#') SetPixelV(dc, x + c, y + static_cast<int>(r), ink);
        }
    }
}

// Fills a shape drawn by `draw` with `fill`, outlined by `outline`.
template <typename Draw>
void Shape(HDC dc, COLORREF fill, COLORREF outline, Draw draw) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, outline);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    draw();
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// A soft shadow under round icons, two pixels down and right.
void RoundShadow(HDC dc) {
    Shape(dc, RGB(128, 128, 128), RGB(128, 128, 128), [&] { Ellipse(dc, 3, 3, 31, 31); });
}

// A red disc with a white cross: something went wrong.
void PaintHand(HDC dc) {
    RoundShadow(dc);
    Shape(dc, RGB(220, 0, 0), RGB(128, 0, 0), [&] { Ellipse(dc, 1, 1, 29, 29); });
    for (int i = 0; i < 12; ++i) {
        RECT a{8 + i, 8 + i, 11 + i, 10 + i};
        RECT b{19 - i, 8 + i, 22 - i, 10 + i};
        FillSolid(dc, a, RGB(255, 255, 255));
        FillSolid(dc, b, RGB(255, 255, 255));
    }
}

// A white speech bubble: the question mark or the "i" goes inside.
void PaintBubble(HDC dc) {
    RoundShadow(dc);
    const POINT tail[] = {{8, 22}, {5, 30}, {15, 26}};
    Shape(dc, RGB(255, 255, 255), RGB(0, 0, 0), [&] {
        Polygon(dc, tail, 3);
        Ellipse(dc, 1, 1, 29, 27);
    });
    // The tail's join with the bubble stays open.
    FillSolid(dc, RECT{8, 22, 14, 25}, RGB(255, 255, 255));
}

void PaintQuestion(HDC dc) {
    PaintBubble(dc);
    static const std::array<const char*, 16> kMark = {
        "..######..", ".########.", "###....###", "###....###", ".......###", "......###.",
        ".....###..", "....###...", "....###...", "....###...", "..........", "..........",
        "....###...", "....###...", "....###...", "..........",
    };
    PaintGlyph(dc, 10, 6, kMark, RGB(0, 0, 192));
}

void PaintAsterisk(HDC dc) {
    PaintBubble(dc);
    static const std::array<const char*, 17> kInfo = {
        "..###.", "..###.", "..###.", "......", "......", "#####.", "..###.", "..###.", "..###.",
        "..###.", "..###.", "..###.", "..###.", "..###.", "..###.", "######", "######",
    };
    PaintGlyph(dc, 12, 5, kInfo, RGB(0, 0, 192));
}

// A yellow warning triangle with a black exclamation mark.
void PaintExclamation(HDC dc) {
    const POINT shadow[] = {{17, 3}, {31, 30}, {3, 30}};
    Shape(dc, RGB(128, 128, 128), RGB(128, 128, 128), [&] { Polygon(dc, shadow, 3); });
    const POINT triangle[] = {{15, 1}, {29, 28}, {1, 28}};
    Shape(dc, RGB(255, 224, 0), RGB(0, 0, 0), [&] { Polygon(dc, triangle, 3); });
    FillSolid(dc, RECT{14, 9, 17, 20}, RGB(0, 0, 0));
    FillSolid(dc, RECT{14, 22, 17, 25}, RGB(0, 0, 0));
}

// A plain window: the icon of a program without its own.
void PaintApplication(HDC dc) {
    FillSolid(dc, RECT{2, 4, 30, 28}, RGB(0, 0, 0));
    FillSolid(dc, RECT{3, 5, 29, 27}, RGB(255, 255, 255));
    FillSolid(dc, RECT{3, 5, 29, 9}, RGB(0, 0, 128));
}

// The icon of the image drawn in `dc`'s bitmap: the key colour becomes the mask.
HICON IconFrom(HBITMAP bitmap) {
    gdi::BitmapData* data = gdi::BitmapOf(bitmap);
    if (data == nullptr || !data->surface) return nullptr;
    try {
        gdi::IconData icon;
        icon.color.Resize(kSize, kSize);
        icon.mask.Resize(kSize, kSize);
        const Pixel key = ToPixel(kKey);
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                Pixel p = data->surface->At(x, y);
                bool clear = p == key;
                icon.color.Set(x, y, clear ? 0 : p);
                icon.mask.Set(x, y, clear ? 0xFFFFFF : 0);
            }
        }
        return gdi::NewIcon(icon);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HICON MakeIcon(Kind kind) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kSize, kSize);
    if (bitmap == nullptr) {
        DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillSolid(dc, RECT{0, 0, kSize, kSize}, kKey);
    switch (kind) {
        case Kind::Hand: PaintHand(dc); break;
        case Kind::Question: PaintQuestion(dc); break;
        case Kind::Exclamation: PaintExclamation(dc); break;
        case Kind::Asterisk: PaintAsterisk(dc); break;
        default: PaintApplication(dc); break;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    HICON icon = IconFrom(bitmap);
    DeleteObject(bitmap);
    return icon;
}

}  // namespace

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    if (instance != nullptr || name == nullptr || !IS_INTRESOURCE(name)) return nullptr;
    auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    if (id < 32512 || id > 32516) return nullptr;
    auto kind = static_cast<Kind>(id - 32512);
    static std::array<HICON, static_cast<size_t>(Kind::Count)> shared{};
    HICON& icon = shared[static_cast<size_t>(kind)];
    ICONINFO info{};
    if (icon != nullptr && GetIconInfo(icon, &info)) {
        // Still alive (a caller may have destroyed it against the rules): reuse it.
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return icon;
    }
    icon = MakeIcon(kind);
    return icon;
}
