// The drawing classes.
//
// Sections: the handle maps (permanent and temporary wrappers); CGdiObject and the
// typed objects; CDC state, coordinates, clipping and drawing.
#include "framework/gdi/gdi_classes.h"

#include "framework/gdi/icons.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <unordered_map>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CPen, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)
IMPLEMENT_DYNCREATE(CFont, CGdiObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {

// ---- Handle maps ----------------------------------------------------------------------
// Objects that hold a handle (created or attached) are found by it; handles nobody
// holds get a temporary wrapper of the right class, detached and freed by
// DeleteTempMap.
template <typename Object, typename Handle>
struct HandleMap {
    std::unordered_map<Handle, Object*> permanent;
    std::unordered_map<Handle, std::unique_ptr<Object>> temporary;
};

HandleMap<CGdiObject, HGDIOBJ>& GdiMap() {
    static HandleMap<CGdiObject, HGDIOBJ> map;
    return map;
}

HandleMap<CDC, HDC>& DcMap() {
    static HandleMap<CDC, HDC> map;
    return map;
}

std::unique_ptr<CGdiObject> WrapperFor(HGDIOBJ handle) {
    switch (GetObjectType(handle)) {
        case OBJ_PEN:
            return std::make_unique<CPen>();
        case OBJ_BRUSH:
            return std::make_unique<CBrush>();
        case OBJ_FONT:
            return std::make_unique<CFont>();
        case OBJ_BITMAP:
            return std::make_unique<CBitmap>();
        case OBJ_REGION:
            return std::make_unique<CRgn>();
        default:
            return nullptr;
    }
}

template <typename T>
T* Typed(HGDIOBJ handle) {
    return tq3::fw::DynamicDowncast<T>(T::GetThisClass(), CGdiObject::FromHandle(handle));
}

template <typename T>
BOOL Adopt(T* self, HGDIOBJ handle) {
    return handle ? self->Attach(handle) : FALSE;
}

}  // namespace

// ---- CGdiObject ---------------------------------------------------------------------------
CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) {
    if (!handle) return nullptr;
    auto& map = GdiMap();
    if (auto it = map.permanent.find(handle); it != map.permanent.end()) return it->second;
    if (auto it = map.temporary.find(handle); it != map.temporary.end()) return it->second.get();
    try {
        std::unique_ptr<CGdiObject> wrapper = WrapperFor(handle);
        if (!wrapper) return nullptr;
        wrapper->m_hObject = handle;
        CGdiObject* raw = wrapper.get();
        map.temporary.emplace(handle, std::move(wrapper));
        return raw;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CGdiObject::DeleteTempMap() {
    auto& map = GdiMap();
    for (auto& entry : map.temporary) entry.second->m_hObject = nullptr;  // never deletes the handle
    map.temporary.clear();
}

BOOL CGdiObject::Attach(HGDIOBJ handle) {
    if (m_hObject || !handle) return FALSE;
    try {
        GdiMap().permanent[handle] = this;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ handle = m_hObject;
    if (handle) {
        auto& permanent = GdiMap().permanent;
        if (auto it = permanent.find(handle); it != permanent.end() && it->second == this) permanent.erase(it);
    }
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index) { return Adopt(this, GetStockObject(index)); }
int CGdiObject::GetObject(int size, void* buffer) const { return ::GetObjectW(m_hObject, size, buffer); }
UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }

// ---- Pens, brushes, fonts, bitmaps, regions ---------------------------------------------------
CPen::CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
CPen* CPen::FromHandle(HPEN pen) { return Typed<CPen>(pen); }
BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Adopt(this, ::CreatePen(style, width, color)); }
BOOL CPen::CreatePenIndirect(const LOGPEN* pen) { return Adopt(this, ::CreatePenIndirect(pen)); }
int CPen::GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }

CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }
CBrush::CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }
CBrush::CBrush(CBitmap* bitmap) { CreatePatternBrush(bitmap); }
CBrush* CBrush::FromHandle(HBRUSH brush) { return Typed<CBrush>(brush); }
BOOL CBrush::CreateSolidBrush(COLORREF color) { return Adopt(this, ::CreateSolidBrush(color)); }
BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color) { return Adopt(this, ::CreateHatchBrush(hatch, color)); }
BOOL CBrush::CreatePatternBrush(CBitmap* bitmap) {
    return bitmap ? Adopt(this, ::CreatePatternBrush(*bitmap)) : FALSE;
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) { return Adopt(this, ::CreateBrushIndirect(brush)); }
BOOL CBrush::CreateSysColorBrush(int index) { return Adopt(this, ::GetSysColorBrush(index)); }
int CBrush::GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }

CFont* CFont::FromHandle(HFONT font) { return Typed<CFont>(font); }
BOOL CFont::CreateFontIndirect(const LOGFONTW* font) { return Adopt(this, ::CreateFontIndirectW(font)); }
BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCWSTR face) {
    return Adopt(this, ::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                     charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face));
}

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR face, CDC* dc) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = pointSize;
    if (face) {
        for (int i = 0; i < LF_FACESIZE - 1 && face[i]; ++i) lf.lfFaceName[i] = face[i];
    }
    return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* font, CDC* dc) {
    if (!font) return FALSE;
    LOGFONTW lf = *font;
    // Tenths of a point to device pixels at the context's resolution, then to the
    // context's logical units; the height of a point font is a character height
    // (negative).
    HDC hdc = dc ? dc->m_hDC : nullptr;
    int dpi = hdc ? ::GetDeviceCaps(hdc, LOGPIXELSY) : 96;
    POINT pt{0, MulDiv(dpi, lf.lfHeight, 720)};
    POINT origin{0, 0};
    if (hdc) {
        ::DPtoLP(hdc, &pt, 1);
        ::DPtoLP(hdc, &origin, 1);
    }
    lf.lfHeight = -std::abs(pt.y - origin.y);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONTW* font) const { return GetObject(sizeof(LOGFONTW), font); }

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return Typed<CBitmap>(bitmap); }
BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    return Adopt(this, ::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}
BOOL CBitmap::CreateBitmapIndirect(const BITMAP* bitmap) {
    if (!bitmap) return FALSE;
    return CreateBitmap(bitmap->bmWidth, bitmap->bmHeight, bitmap->bmPlanes, bitmap->bmBitsPixel, bitmap->bmBits);
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return dc ? Adopt(this, ::CreateCompatibleBitmap(dc->m_hDC, width, height)) : FALSE;
}
int CBitmap::GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }

CRgn* CRgn::FromHandle(HRGN region) { return Typed<CRgn>(region); }
BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    return Adopt(this, ::CreateRectRgn(left, top, right, bottom));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) { return Adopt(this, ::CreateRectRgnIndirect(rect)); }
BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    return Adopt(this, ::CreatePolygonRgn(points, count, fillMode));
}
BOOL CRgn::CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode) {
    return Adopt(this, ::CreatePolyPolygonRgn(points, counts, polygons, fillMode));
}
int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    return ::CombineRgn(*this, a ? static_cast<HRGN>(*a) : nullptr, b ? static_cast<HRGN>(*b) : nullptr, mode);
}
int CRgn::CopyRgn(const CRgn* source) { return CombineRgn(source, nullptr, RGN_COPY); }
BOOL CRgn::EqualRgn(const CRgn* other) const { return other ? ::EqualRgn(*this, *other) : FALSE; }
int CRgn::OffsetRgn(int dx, int dy) { return ::OffsetRgn(*this, dx, dy); }
int CRgn::GetRgnBox(LPRECT rect) const { return ::GetRgnBox(*this, rect); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
BOOL CRgn::RectInRegion(LPCRECT rect) const { return ::RectInRegion(*this, rect); }
void CRgn::SetRectRgn(int left, int top, int right, int bottom) { ::SetRectRgn(*this, left, top, right, bottom); }
void CRgn::SetRectRgn(LPCRECT rect) {
    if (rect) SetRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

// ---- CDC -----------------------------------------------------------------------------------------
CDC::~CDC() {
    if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC dc) {
    if (!dc) return nullptr;
    auto& map = DcMap();
    if (auto it = map.permanent.find(dc); it != map.permanent.end()) return it->second;
    if (auto it = map.temporary.find(dc); it != map.temporary.end()) return it->second.get();
    if (!tq3::fw::gdi::DcOf(dc)) return nullptr;
    try {
        auto wrapper = std::make_unique<CDC>();
        wrapper->m_hDC = wrapper->m_hAttribDC = dc;
        CDC* raw = wrapper.get();
        map.temporary.emplace(dc, std::move(wrapper));
        return raw;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CDC::DeleteTempMap() {
    auto& map = DcMap();
    for (auto& entry : map.temporary) entry.second->m_hDC = entry.second->m_hAttribDC = nullptr;
    map.temporary.clear();
}

BOOL CDC::Attach(HDC dc) {
    if (m_hDC || !dc) return FALSE;
    try {
        DcMap().permanent[dc] = this;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    m_hDC = m_hAttribDC = dc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    if (dc) {
        auto& permanent = DcMap().permanent;
        if (auto it = permanent.find(dc); it != permanent.end() && it->second == this) permanent.erase(it);
    }
    m_hDC = m_hAttribDC = nullptr;
    return dc;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    HDC created = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    if (!created) return FALSE;
    if (!Attach(created)) {
        ::DeleteDC(created);
        return FALSE;
    }
    return TRUE;
}

// ---- CDC state ----
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int level) { return ::RestoreDC(m_hDC, level); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

CPen* CDC::SelectObject(CPen* pen) {
    return pen ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, *pen))) : nullptr;
}
CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, *brush))) : nullptr;
}
CFont* CDC::SelectObject(CFont* font) {
    return font ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, *font))) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, *bitmap))) : nullptr;
}
int CDC::SelectObject(CRgn* region) { return region ? ::SelectClipRgn(m_hDC, *region) : ERROR; }
CGdiObject* CDC::SelectObject(CGdiObject* object) {
    return object ? CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject)) : nullptr;
}
CGdiObject* CDC::SelectStockObject(int index) {
    HGDIOBJ stock = GetStockObject(index);
    return stock ? CGdiObject::FromHandle(::SelectObject(m_hDC, stock)) : nullptr;
}
CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(static_cast<HBRUSH>(GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(GetCurrentObject(m_hDC, OBJ_FONT))); }
CBitmap* CDC::GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(GetCurrentObject(m_hDC, OBJ_BITMAP)));
}
COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hDC); }
int CDC::SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
int CDC::GetROP2() const { return ::GetROP2(m_hDC); }
int CDC::SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }
UINT CDC::SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
CPoint CDC::SetBrushOrg(int x, int y) {
    POINT old{0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return old;
}

// ---- CDC coordinates ----
CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old{0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    POINT old{0, 0};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}
CPoint CDC::GetViewportOrg() const {
    POINT p{0, 0};
    ::GetViewportOrgEx(m_hDC, &p);
    return p;
}
CPoint CDC::SetWindowOrg(int x, int y) {
    POINT old{0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}
CPoint CDC::GetWindowOrg() const {
    POINT p{0, 0};
    ::GetWindowOrgEx(m_hDC, &p);
    return p;
}
void CDC::LPtoDP(LPPOINT points, int count) const { ::LPtoDP(m_hDC, points, count); }
void CDC::LPtoDP(LPRECT rect) const { ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2); }
void CDC::DPtoLP(LPPOINT points, int count) const { ::DPtoLP(m_hDC, points, count); }
void CDC::DPtoLP(LPRECT rect) const { ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2); }

// ---- CDC clipping ----
int CDC::GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
int CDC::SelectClipRgn(CRgn* region) { return ::SelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr); }
int CDC::SelectClipRgn(CRgn* region, int mode) {
    return ::ExtSelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr, mode);
}
int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    return ::IntersectClipRect(m_hDC, left, top, right, bottom);
}
int CDC::IntersectClipRect(LPCRECT rect) {
    return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}
int CDC::ExcludeClipRect(int left, int top, int right, int bottom) {
    return ::ExcludeClipRect(m_hDC, left, top, right, bottom);
}
int CDC::ExcludeClipRect(LPCRECT rect) {
    return rect ? ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}
int CDC::OffsetClipRgn(int dx, int dy) { return ::OffsetClipRgn(m_hDC, dx, dy); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::RectVisible(LPCRECT rect) const { return ::RectVisible(m_hDC, rect); }

// ---- CDC drawing ----
void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    if (brush) ::FillRect(m_hDC, rect, *brush);
}
void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    if (!rect) return;
    ::SetBkColor(m_hDC, color);
    tq3::fw::FillSolid(m_hDC, *rect, color);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}
void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
    if (brush) ::FrameRect(m_hDC, rect, *brush);
}
void CDC::InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }
BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }
BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc, rop);
}
BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int widthSrc, int heightSrc,
                     DWORD rop) {
    return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, xSrc, ySrc, widthSrc, heightSrc, rop);
}
CPoint CDC::MoveTo(int x, int y) {
    POINT old{0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
CPoint CDC::GetCurrentPosition() const {
    POINT p{0, 0};
    ::GetCurrentPositionEx(m_hDC, &p);
    return p;
}
BOOL CDC::Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
BOOL CDC::Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
BOOL CDC::PolyPolygon(const POINT* points, const INT* counts, int polygons) {
    return ::PolyPolygon(m_hDC, points, counts, polygons);
}
BOOL CDC::Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }
BOOL CDC::Rectangle(LPCRECT rect) { return rect ? Rectangle(rect->left, rect->top, rect->right, rect->bottom) : FALSE; }
BOOL CDC::Ellipse(int left, int top, int right, int bottom) { return ::Ellipse(m_hDC, left, top, right, bottom); }
BOOL CDC::Ellipse(LPCRECT rect) { return rect ? Ellipse(rect->left, rect->top, rect->right, rect->bottom) : FALSE; }
void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
    if (rect) tq3::fw::Draw3dFrame(m_hDC, *rect, topLeft, bottomRight);
}
void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    tq3::fw::Draw3dFrame(m_hDC, RECT{x, y, x + cx, y + cy}, topLeft, bottomRight);
}
BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) {
    return ::DrawFrameControl(m_hDC, rect, type, state);
}
void CDC::DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
BOOL CDC::SetPixelV(int x, int y, COLORREF color) { return ::SetPixelV(m_hDC, x, y, color); }
BOOL CDC::FillRgn(CRgn* region, CBrush* brush) {
    return region && brush ? ::FillRgn(m_hDC, *region, *brush) : FALSE;
}
BOOL CDC::PaintRgn(CRgn* region) { return region ? ::PaintRgn(m_hDC, *region) : FALSE; }
BOOL CDC::InvertRgn(CRgn* region) { return region ? ::InvertRgn(m_hDC, *region) : FALSE; }
BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height) {
    return region && brush ? ::FrameRgn(m_hDC, *region, *brush, width, height) : FALSE;
}

// ---- CDC text ----
int CDC::DrawText(LPCWSTR text, int length, LPRECT rect, UINT format) {
    return ::DrawTextW(m_hDC, text, length, rect, format);
}
int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(text.GetString(), text.GetLength(), rect, format);
}
BOOL CDC::TextOut(int x, int y, LPCWSTR text, int length) { return ::TextOutW(m_hDC, x, y, text, length); }
BOOL CDC::TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.GetString(), text.GetLength()); }
BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, UINT length, LPINT dx) {
    return ::ExtTextOutW(m_hDC, x, y, options, rect, text, length, dx);
}
CSize CDC::GetTextExtent(LPCWSTR text, int length) const {
    SIZE size{0, 0};
    ::GetTextExtentPoint32W(m_hDC, text, length, &size);
    return size;
}
CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }
BOOL CDC::GetTextMetrics(TEXTMETRICW* metrics) const { return ::GetTextMetricsW(m_hDC, metrics); }
BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush) {
    return ::DrawStateW(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, pt.x, pt.y, size.cx, size.cy,
                        (flags & ~0x000Fu) | DST_ICON);
}
BOOL CDC::DrawState(CPoint pt, CSize size, LPCWSTR text, UINT flags, BOOL prefixText, int length, HBRUSH brush) {
    return ::DrawStateW(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(length), pt.x,
                        pt.y, size.cx, size.cy, (flags & ~0x000Fu) | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}
BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

CBrush* CDC::GetHalftoneBrush() {
    // A permanent wrapper: the brush is shared and survives DeleteTempMap.
    static CBrush* brush = [] {
        auto* b = new (std::nothrow) CBrush;
        if (b) b->Attach(tq3::fw::gdi::HalftoneBrush());
        return b;
    }();
    return brush;
}
