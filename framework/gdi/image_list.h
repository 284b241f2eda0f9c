// Image lists: rows of equal-sized images with masks, as toolbars, tabs and
// buttons use them, and CImageList over them.
#pragma once

#include "framework/core/geometry.h"
#include "framework/core/object.h"
#include "framework/core/wintypes.h"
#include "framework/gdi/icons.h"

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// cx x cy images; `initial` and `grow` are capacity hints. NULL for sizes <= 0.
TQ3FW_EXPORT_C HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
TQ3FW_EXPORT_C BOOL ImageList_Destroy(HIMAGELIST list);
TQ3FW_EXPORT_C int ImageList_GetImageCount(HIMAGELIST list);
TQ3FW_EXPORT_C BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Adds as many images as the bitmap is wide (in whole images); returns the index of
// the first, -1 on failure. The mask is a one-bit bitmap (set bits transparent).
TQ3FW_EXPORT_C int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// The mask comes from the pixels of colour `maskColor`, which turn black in the
// image so that the masked drawing leaves the background showing through.
TQ3FW_EXPORT_C int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// index -1 adds the icon; otherwise replaces that image. Returns the index or -1.
TQ3FW_EXPORT_C int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) { return ImageList_ReplaceIcon(list, -1, icon); }
// -1 removes every image.
TQ3FW_EXPORT_C BOOL ImageList_Remove(HIMAGELIST list, int index);
TQ3FW_EXPORT_C BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// A new icon (the caller destroys it) of image `index`, or NULL.
TQ3FW_EXPORT_C HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
TQ3FW_EXPORT_C COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
TQ3FW_EXPORT_C COLORREF ImageList_GetBkColor(HIMAGELIST list);

class CBitmap;
class CDC;

class TQ3FW_API CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    ~CImageList() override;  // destroys the list it holds

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // A masked list cut from a strip bitmap: images `cx` wide, `maskColor` transparent.
    BOOL Create(CBitmap* strip, int cx, int grow, COLORREF maskColor);
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();
    int GetImageCount() const;
    BOOL GetIconSize(int* cx, int* cy) const;
    int Add(CBitmap* image, CBitmap* mask);
    int Add(CBitmap* image, COLORREF maskColor);
    int Add(HICON icon);
    BOOL Remove(int index);
    BOOL Draw(CDC* dc, int index, POINT pt, UINT style);
    HICON ExtractIcon(int index);
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
};
