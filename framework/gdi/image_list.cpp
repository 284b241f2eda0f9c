#include "framework/gdi/image_list.h"

#include <new>

#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/gdi_objects.h"

using namespace tq3::fw;
using namespace tq3::fw::gdi;

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

ImageListData* ListOf(HIMAGELIST list) {
    Object* o = Find(list, Kind::ImageList);
    return o ? &o->imageList : nullptr;
}

// Cuts image `i` (cx wide) out of a strip; `maskOut` receives its mask.
bool CutImage(const ImageListData& l, const Surface& strip, const Surface* mask, int i, IconData* out) {
    try {
        out->color.Resize(l.cx, l.cy, 0);
        out->mask.Resize(l.masked ? l.cx : 0, l.masked ? l.cy : 0, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < l.cy && y < strip.Height(); ++y) {
        for (int x = 0; x < l.cx; ++x) {
            out->color.Set(x, y, strip.At(i * l.cx + x, y));
            if (l.masked && mask && y < mask->Height() && i * l.cx + x < mask->Width()) {
                out->mask.Set(x, y, mask->At(i * l.cx + x, y) ? 0xFFFFFF : 0);
            }
        }
    }
    return true;
}

int AddImages(HIMAGELIST list, HBITMAP image, HBITMAP mask, const COLORREF* maskColor) {
    ImageListData* l = ListOf(list);
    const BitmapData* b = BitmapOf(image);
    const BitmapData* m = mask ? BitmapOf(mask) : nullptr;
    if (!l || !b || (mask && !m)) return -1;
    const Surface& strip = *b->surface;
    int n = strip.Width() / l->cx;
    if (n <= 0) return -1;
    int first = static_cast<int>(l->images.size());
    try {
        for (int i = 0; i < n; ++i) {
            IconData img;
            if (!CutImage(*l, strip, m ? m->surface.get() : nullptr, i, &img)) throw std::bad_alloc();
            if (maskColor && l->masked) {
                Pixel key = ToPixel(*maskColor);
                for (int y = 0; y < l->cy; ++y) {
                    for (int x = 0; x < l->cx; ++x) {
                        bool clear = img.color.At(x, y) == key;
                        img.mask.Set(x, y, clear ? 0xFFFFFF : 0);
                        if (clear) img.color.Set(x, y, 0);
                    }
                }
            }
            l->images.push_back(std::move(img));
        }
    } catch (const std::bad_alloc&) {
        l->images.resize(static_cast<std::size_t>(first));  // all or nothing
        return -1;
    }
    return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int /*grow*/) {
    if (cx <= 0 || cy <= 0 || static_cast<long long>(cx) * cy > (1 << 24)) return nullptr;
    try {
        auto o = std::make_unique<Object>();
        o->kind = Kind::ImageList;
        o->imageList.cx = cx;
        o->imageList.cy = cy;
        o->imageList.flags = flags;
        o->imageList.masked = (flags & ILC_MASK) != 0;
        if (initial > 0 && initial < 1024) o->imageList.images.reserve(static_cast<std::size_t>(initial));
        return static_cast<HIMAGELIST>(Insert(std::move(o)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    if (!ListOf(list)) return FALSE;
    Erase(list);
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    const ImageListData* l = ListOf(list);
    return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    const ImageListData* l = ListOf(list);
    if (!l || !cx || !cy) return FALSE;
    *cx = l->cx;
    *cy = l->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) { return AddImages(list, image, mask, nullptr); }

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor) {
    return AddImages(list, image, nullptr, &maskColor);
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
    ImageListData* l = ListOf(list);
    Object* o = Find(icon, Kind::Icon);
    if (!l || !o || index < -1 || index >= static_cast<int>(l->images.size())) return -1;
    // The icon is scaled to the list's image size.
    IconData img;
    try {
        img.color.Resize(l->cx, l->cy, 0);
        img.mask.Resize(l->cx, l->cy, 0xFFFFFF);
        const IconData& src = o->icon;
        int w = src.color.Width(), h = src.color.Height();
        bool srcMask = src.mask.Width() == w && src.mask.Height() == h;
        for (int y = 0; y < l->cy && w > 0 && h > 0; ++y) {
            for (int x = 0; x < l->cx; ++x) {
                int sx = x * w / l->cx, sy = y * h / l->cy;
                img.color.Set(x, y, src.color.At(sx, sy));
                img.mask.Set(x, y, srcMask ? src.mask.At(sx, sy) : 0);
            }
        }
        if (index == -1) {
            l->images.push_back(std::move(img));
            return static_cast<int>(l->images.size()) - 1;
        }
        l->images[static_cast<std::size_t>(index)] = std::move(img);
        return index;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
    ImageListData* l = ListOf(list);
    if (!l) return FALSE;
    if (index == -1) {
        l->images.clear();
        return TRUE;
    }
    if (index < 0 || index >= static_cast<int>(l->images.size())) return FALSE;
    l->images.erase(l->images.begin() + index);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    const ImageListData* l = ListOf(list);
    if (!l || !DcOf(dc) || index < 0 || index >= static_cast<int>(l->images.size())) return FALSE;
    const IconData& img = l->images[static_cast<std::size_t>(index)];
    if (style & ILD_MASK) {
        IconData maskOnly;
        maskOnly.color = img.mask.Width() ? img.mask : Surface(l->cx, l->cy, 0);
        PaintMasked(dc, x, y, l->cx, l->cy, maskOnly, DI_IMAGE);
        return TRUE;
    }
    // A list with a background colour draws opaquely over it unless asked not to.
    if (!(style & ILD_TRANSPARENT) && l->bkColor != CLR_NONE) {
        RECT r{x, y, x + l->cx, y + l->cy};
        HBRUSH b = CreateSolidBrush(l->bkColor);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    PaintMasked(dc, x, y, l->cx, l->cy, img, l->masked ? DI_NORMAL : DI_IMAGE);
    return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT /*flags*/) {
    const ImageListData* l = ListOf(list);
    if (!l || index < 0 || index >= static_cast<int>(l->images.size())) return nullptr;
    IconData icon = l->images[static_cast<std::size_t>(index)];
    if (icon.mask.Width() == 0) icon.mask = Surface(l->cx, l->cy, 0);  // an unmasked image is opaque
    return NewIcon(icon);
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
    ImageListData* l = ListOf(list);
    if (!l) return CLR_NONE;
    COLORREF old = l->bkColor;
    l->bkColor = color;
    return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) {
    const ImageListData* l = ListOf(list);
    return l ? l->bkColor : CLR_NONE;
}

// ---- CImageList ----
CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(CBitmap* strip, int cx, int grow, COLORREF maskColor) {
    BITMAP bm{};
    if (!strip || !strip->GetBitmap(&bm) || cx <= 0) return FALSE;
    if (!Create(cx, bm.bmHeight, ILC_COLOR32 | ILC_MASK, bm.bmWidth / cx, grow)) return FALSE;
    if (Add(strip, maskColor) < 0) {
        DeleteImageList();
        return FALSE;
    }
    return TRUE;
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (m_hImageList || !list) return FALSE;
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
BOOL CImageList::GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }
int CImageList::Add(CBitmap* image, CBitmap* mask) {
    return image ? ImageList_Add(m_hImageList, *image, mask ? static_cast<HBITMAP>(*mask) : nullptr) : -1;
}
int CImageList::Add(CBitmap* image, COLORREF maskColor) {
    return image ? ImageList_AddMasked(m_hImageList, *image, maskColor) : -1;
}
int CImageList::Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
BOOL CImageList::Remove(int index) { return ImageList_Remove(m_hImageList, index); }
BOOL CImageList::Draw(CDC* dc, int index, POINT pt, UINT style) {
    return dc ? ImageList_Draw(m_hImageList, index, dc->m_hDC, pt.x, pt.y, style) : FALSE;
}
HICON CImageList::ExtractIcon(int index) { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }
COLORREF CImageList::SetBkColor(COLORREF color) { return ImageList_SetBkColor(m_hImageList, color); }
COLORREF CImageList::GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
