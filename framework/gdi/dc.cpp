// Device contexts: creation, object selection, saved states, attributes,
// coordinates and clipping.
//
// Sections: state and helpers; surface contexts (window manager); memory contexts;
// SelectObject and saved states; attributes; coordinates; clipping.
#include "framework/gdi/dc.h"

#include <new>

#include "framework/gdi/sysmetrics.h"

namespace tq3::fw {

int RegionType(const Region& region) {
    int n = region.RectCount();
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

namespace gdi {

const Region& DcState::Clip() {
    if (!clipValid_) {
        clip_ = system;
        if (surface) {
            clip_.Intersect(RECT{0, 0, surface->Width(), surface->Height()});
        } else {
            clip_.Clear();
        }
        if (at.hasClip) {
            Region own(at.clip);
            own.Offset(origin.x, origin.y);
            clip_.Intersect(own);
        }
        clipValid_ = true;
    }
    return clip_;
}

RECT DcState::DeviceBounds() const {
    if (!surface) return RECT{0, 0, 0, 0};
    return RECT{-origin.x, -origin.y, surface->Width() - origin.x, surface->Height() - origin.y};
}

DcState* DcOf(HDC dc) {
    Object* o = Find(dc, Kind::Dc);
    return o ? o->dc.get() : nullptr;
}

}  // namespace gdi

namespace {

using gdi::DcState;

// ---- State and helpers --------------------------------------------------------------
HBITMAP DefaultBitmap() {
    static HBITMAP bitmap = nullptr;
    if (!bitmap) {
        bitmap = gdi::NewBitmap(1, 1, 1);
        if (gdi::Object* o = gdi::Find(bitmap)) o->permanent = true;
    }
    return bitmap;
}

void HoldAll(const DcAttributes& a) {
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(a.pen), static_cast<HGDIOBJ>(a.brush), static_cast<HGDIOBJ>(a.font),
                      static_cast<HGDIOBJ>(a.bitmap)}) {
        if (h) gdi::AddSelection(h);
    }
}

void ReleaseAll(const DcAttributes& a) {
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(a.pen), static_cast<HGDIOBJ>(a.brush), static_cast<HGDIOBJ>(a.font),
                      static_cast<HGDIOBJ>(a.bitmap)}) {
        if (h) gdi::ReleaseSelection(h);
    }
}

DcAttributes DefaultAttributes(bool memory) {
    DcAttributes a;
    a.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    a.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    a.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    if (memory) a.bitmap = DefaultBitmap();
    return a;
}

// Points the context at the pixels of the bitmap it has selected.
void AttachBitmap(DcState& s) {
    gdi::BitmapData* b = gdi::BitmapOf(s.at.bitmap);
    s.keepAlive = b ? b->surface : nullptr;
    s.surface = s.keepAlive.get();
    s.system = s.surface ? Region(0, 0, s.surface->Width(), s.surface->Height()) : Region();
    s.InvalidateClip();
}

HDC NewDc(bool memory, Surface* surface, POINT origin, const Region& visible) {
    try {
        auto o = std::make_unique<gdi::Object>();
        o->kind = gdi::Kind::Dc;
        o->memoryDc = memory;
        o->dc = std::make_shared<DcState>();
        DcState& s = *o->dc;
        s.memory = memory;
        s.at = DefaultAttributes(memory);
        HoldAll(s.at);
        if (memory) {
            AttachBitmap(s);
        } else {
            s.surface = surface;
            s.origin = origin;
            s.system = visible;
        }
        // A refused insertion destroys the object and with it the state `s` names,
        // so the selections are released through a reference of our own.
        std::shared_ptr<DcState> keep = o->dc;
        HDC dc = static_cast<HDC>(gdi::Insert(std::move(o)));
        if (!dc) ReleaseAll(keep->at);
        return dc;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL DestroyDc(HDC dc) {
    DcState* s = gdi::DcOf(dc);
    if (!s) return FALSE;
    for (const DcAttributes& a : s->saved) ReleaseAll(a);
    ReleaseAll(s->at);
    gdi::Erase(dc);
    return TRUE;
}

// Replaces one selected object, keeping the selection counts right.
template <typename H>
HGDIOBJ Swap(H& slot, HGDIOBJ object) {
    H previous = slot;
    gdi::AddSelection(object);
    slot = static_cast<H>(object);
    if (previous) gdi::ReleaseSelection(previous);
    return previous;
}

int ClipResult(DcState& s) { return RegionType(s.Clip()); }

// The context's own clip, or the whole device when it has none.
Region CurrentClip(const DcState& s) { return s.at.hasClip ? s.at.clip : Region(s.DeviceBounds()); }

void SetClip(DcState& s, Region region) {
    s.at.clip = std::move(region);
    s.at.hasClip = true;
    s.InvalidateClip();
}

RECT LogicalToDevice(const DcState& s, int left, int top, int right, int bottom) {
    int dx = s.at.viewportOrg.x - s.at.windowOrg.x;
    int dy = s.at.viewportOrg.y - s.at.windowOrg.y;
    return RECT{left + dx, top + dy, right + dx, bottom + dy};
}

}  // namespace

// ---- Surface contexts (window manager) ------------------------------------------------
HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region& visible) {
    return NewDc(false, surface, origin, visible);
}

BOOL ResetSurfaceDC(HDC dc, Surface* surface, POINT origin, const Region& visible) {
    DcState* s = gdi::DcOf(dc);
    if (!s || s->memory) return FALSE;
    for (const DcAttributes& a : s->saved) ReleaseAll(a);
    s->saved.clear();
    DcAttributes fresh = DefaultAttributes(false);
    HoldAll(fresh);
    ReleaseAll(s->at);
    s->at = fresh;
    s->surface = surface;
    s->origin = origin;
    s->system = visible;
    s->InvalidateClip();
    return TRUE;
}

BOOL ReleaseSurfaceDC(HDC dc) {
    DcState* s = gdi::DcOf(dc);
    if (!s || s->memory) return FALSE;
    return DestroyDc(dc);
}

}  // namespace tq3::fw

using namespace tq3::fw;
using tq3::fw::gdi::DcOf;
using tq3::fw::gdi::DcState;

// ---- Memory contexts ----------------------------------------------------------------------
HDC CreateCompatibleDC(HDC dc) {
    if (dc && !DcOf(dc)) return nullptr;
    return NewDc(true, nullptr, POINT{0, 0}, Region());
}

BOOL DeleteDC(HDC dc) { return DestroyDc(dc); }

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (!DcOf(dc) || width < 0 || height < 0) return nullptr;
    if (width == 0 || height == 0) return CreateBitmap(0, 0, 1, 1, nullptr);
    return gdi::NewBitmap(width, height, 32);
}

// ---- SelectObject and saved states -----------------------------------------------------
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DcState* s = DcOf(dc);
    gdi::Object* o = gdi::Find(object);
    if (!s || !o) return nullptr;
    switch (o->kind) {
        case gdi::Kind::Pen:
            return Swap(s->at.pen, object);
        case gdi::Kind::Brush:
            return Swap(s->at.brush, object);
        case gdi::Kind::Font:
            return Swap(s->at.font, object);
        case gdi::Kind::Bitmap: {
            if (!s->memory) return nullptr;
            // A bitmap lives in one memory context at a time.
            if (object != s->at.bitmap && o->selections > 0 && object != DefaultBitmap()) return nullptr;
            HGDIOBJ previous = Swap(s->at.bitmap, object);
            AttachBitmap(*s);
            return previous;
        }
        case gdi::Kind::Region: {
            int type = SelectClipRgn(dc, static_cast<HRGN>(object));
            return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(type));
        }
        case gdi::Kind::Dc:
        case gdi::Kind::Icon:
        case gdi::Kind::ImageList:
            return nullptr;
    }
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    DcState* s = DcOf(dc);
    if (!s) return nullptr;
    switch (type) {
        case OBJ_PEN:
            return s->at.pen;
        case OBJ_BRUSH:
            return s->at.brush;
        case OBJ_FONT:
            return s->at.font;
        case OBJ_BITMAP:
            return s->at.bitmap;
        default:
            return nullptr;
    }
}

int SaveDC(HDC dc) {
    DcState* s = DcOf(dc);
    if (!s) return 0;
    try {
        s->saved.push_back(s->at);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    HoldAll(s->at);  // the saved copy holds its objects too
    return static_cast<int>(s->saved.size());
}

BOOL RestoreDC(HDC dc, int level) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    int depth = static_cast<int>(s->saved.size());
    int target = level < 0 ? depth + level + 1 : level;
    if (level == 0 || target < 1 || target > depth) return FALSE;
    while (static_cast<int>(s->saved.size()) > target) {
        ReleaseAll(s->saved.back());
        s->saved.pop_back();
    }
    // The saved copy's holds move over to the live state.
    ReleaseAll(s->at);
    s->at = std::move(s->saved.back());
    s->saved.pop_back();
    if (s->memory) AttachBitmap(*s);
    s->InvalidateClip();
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
    DcState* s = DcOf(dc);
    if (!s) return 0;
    int width = s->memory || !s->surface ? GetSystemMetrics(SM_CXSCREEN) : s->surface->Width();
    int height = s->memory || !s->surface ? GetSystemMetrics(SM_CYSCREEN) : s->surface->Height();
    switch (index) {
        case DRIVERVERSION:
            return 0x4000;
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZRES:
            return width;
        case VERTRES:
            return height;
        case HORZSIZE:  // millimetres at 96 pixels per inch
            return MulDiv(width, 254, 960);
        case VERTSIZE:
            return MulDiv(height, 254, 960);
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        case SIZEPALETTE:
            return 0;
        case RASTERCAPS:
            return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        default:
            return 0;
    }
}

// ---- Attributes ----------------------------------------------------------------------------
namespace {

template <typename T, typename U>
T Exchange(T& slot, U value) {
    T previous = slot;
    slot = static_cast<T>(value);
    return previous;
}

}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) {
    DcState* s = DcOf(dc);
    return s ? Exchange(s->at.textColor, color & 0x00FFFFFF) : CLR_INVALID;
}
COLORREF GetTextColor(HDC dc) {
    DcState* s = DcOf(dc);
    return s ? s->at.textColor : CLR_INVALID;
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    DcState* s = DcOf(dc);
    return s ? Exchange(s->at.bkColor, color & 0x00FFFFFF) : CLR_INVALID;
}
COLORREF GetBkColor(HDC dc) {
    DcState* s = DcOf(dc);
    return s ? s->at.bkColor : CLR_INVALID;
}
int SetBkMode(HDC dc, int mode) {
    DcState* s = DcOf(dc);
    if (!s || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return Exchange(s->at.bkMode, mode);
}
int GetBkMode(HDC dc) {
    DcState* s = DcOf(dc);
    return s ? s->at.bkMode : 0;
}
int SetROP2(HDC dc, int rop2) {
    DcState* s = DcOf(dc);
    if (!s || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    return Exchange(s->at.rop2, rop2);
}
int GetROP2(HDC dc) {
    DcState* s = DcOf(dc);
    return s ? s->at.rop2 : 0;
}
int SetPolyFillMode(HDC dc, int mode) {
    DcState* s = DcOf(dc);
    if (!s || (mode != ALTERNATE && mode != WINDING)) return 0;
    return Exchange(s->at.polyFillMode, mode);
}
int GetPolyFillMode(HDC dc) {
    DcState* s = DcOf(dc);
    return s ? s->at.polyFillMode : 0;
}
UINT SetTextAlign(HDC dc, UINT align) {
    DcState* s = DcOf(dc);
    return s ? Exchange(s->at.textAlign, align) : 0xFFFFFFFFu;
}
UINT GetTextAlign(HDC dc) {
    DcState* s = DcOf(dc);
    return s ? s->at.textAlign : 0xFFFFFFFFu;
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    if (previous) *previous = s->at.brushOrg;
    s->at.brushOrg = POINT{x, y};
    return TRUE;
}
BOOL GetBrushOrgEx(HDC dc, LPPOINT origin) {
    DcState* s = DcOf(dc);
    if (!s || !origin) return FALSE;
    *origin = s->at.brushOrg;
    return TRUE;
}
BOOL GetCurrentPositionEx(HDC dc, LPPOINT position) {
    DcState* s = DcOf(dc);
    if (!s || !position) return FALSE;
    *position = s->at.position;
    return TRUE;
}

// ---- Coordinates ------------------------------------------------------------------------------
namespace {

BOOL SetOrigin(HDC dc, POINT DcAttributes::*which, int x, int y, bool relative, LPPOINT previous) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    POINT& p = s->at.*which;
    if (previous) *previous = p;
    p = relative ? POINT{p.x + x, p.y + y} : POINT{x, y};
    return TRUE;
}

BOOL GetOrigin(HDC dc, POINT DcAttributes::*which, LPPOINT out) {
    DcState* s = DcOf(dc);
    if (!s || !out) return FALSE;
    *out = s->at.*which;
    return TRUE;
}

}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetOrigin(dc, &DcAttributes::viewportOrg, x, y, false, previous);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) { return GetOrigin(dc, &DcAttributes::viewportOrg, origin); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
    return SetOrigin(dc, &DcAttributes::viewportOrg, dx, dy, true, previous);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetOrigin(dc, &DcAttributes::windowOrg, x, y, false, previous);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) { return GetOrigin(dc, &DcAttributes::windowOrg, origin); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
    return SetOrigin(dc, &DcAttributes::windowOrg, dx, dy, true, previous);
}

BOOL LPtoDP(HDC dc, LPPOINT points, int count) {
    DcState* s = DcOf(dc);
    if (!s || (!points && count > 0)) return FALSE;
    for (int i = 0; i < count; ++i) {
        points[i].x += s->at.viewportOrg.x - s->at.windowOrg.x;
        points[i].y += s->at.viewportOrg.y - s->at.windowOrg.y;
    }
    return TRUE;
}

BOOL DPtoLP(HDC dc, LPPOINT points, int count) {
    DcState* s = DcOf(dc);
    if (!s || (!points && count > 0)) return FALSE;
    for (int i = 0; i < count; ++i) {
        points[i].x -= s->at.viewportOrg.x - s->at.windowOrg.x;
        points[i].y -= s->at.viewportOrg.y - s->at.windowOrg.y;
    }
    return TRUE;
}

BOOL GetDCOrgEx(HDC dc, LPPOINT origin) {
    DcState* s = DcOf(dc);
    if (!s || !origin) return FALSE;
    *origin = s->origin;
    return TRUE;
}

// ---- Clipping -------------------------------------------------------------------------------------
int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    DcState* s = DcOf(dc);
    if (!s) return ERROR;
    if (!region) {
        if (mode != RGN_COPY) return ERROR;
        s->at.hasClip = false;
        s->at.clip.Clear();
        s->InvalidateClip();
        return ClipResult(*s);
    }
    const Region* r = gdi::RegionOf(region);
    if (!r) return ERROR;
    Region result = CurrentClip(*s);
    switch (mode) {
        case RGN_COPY:
            result = *r;
            break;
        case RGN_AND:
            result.Intersect(*r);
            break;
        case RGN_OR:
            result.Union(*r);
            break;
        case RGN_XOR:
            result.Xor(*r);
            break;
        case RGN_DIFF:
            result.Subtract(*r);
            break;
        default:
            return ERROR;
    }
    SetClip(*s, std::move(result));
    return ClipResult(*s);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    DcState* s = DcOf(dc);
    if (!s) return ERROR;
    Region result = CurrentClip(*s);
    result.Intersect(LogicalToDevice(*s, left, top, right, bottom));
    SetClip(*s, std::move(result));
    return ClipResult(*s);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    DcState* s = DcOf(dc);
    if (!s) return ERROR;
    Region result = CurrentClip(*s);
    result.Subtract(LogicalToDevice(*s, left, top, right, bottom));
    SetClip(*s, std::move(result));
    return ClipResult(*s);
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
    DcState* s = DcOf(dc);
    if (!s) return ERROR;
    if (s->at.hasClip) {
        s->at.clip.Offset(dx, dy);
        s->InvalidateClip();
    }
    return ClipResult(*s);
}

int GetClipBox(HDC dc, LPRECT rect) {
    DcState* s = DcOf(dc);
    if (!s || !rect) return ERROR;
    const Region& clip = s->Clip();
    RECT box = clip.Bounds();
    POINT off = s->Offset();
    if (clip.IsEmpty()) {
        *rect = RECT{0, 0, 0, 0};
    } else {
        *rect = RECT{box.left - off.x, box.top - off.y, box.right - off.x, box.bottom - off.y};
    }
    return RegionType(clip);
}

int GetClipRgn(HDC dc, HRGN region) {
    DcState* s = DcOf(dc);
    Region* out = gdi::RegionOf(region);
    if (!s || !out) return -1;
    if (!s->at.hasClip) return 0;
    *out = s->at.clip;
    return 1;
}

BOOL PtVisible(HDC dc, int x, int y) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    POINT off = s->Offset();
    return s->Clip().Contains(x + off.x, y + off.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC dc, const RECT* rect) {
    DcState* s = DcOf(dc);
    if (!s || !rect) return FALSE;
    POINT off = s->Offset();
    RECT r{rect->left + off.x, rect->top + off.y, rect->right + off.x, rect->bottom + off.y};
    return s->Clip().Intersects(r) ? TRUE : FALSE;
}
