// The class framework's drawing classes: thin owners of drawing handles.
//
// A CGdiObject owns the handle it created or attached and deletes it when it is
// destroyed; Detach hands the handle back. FromHandle answers with the object that
// owns a handle or, for a handle nobody wrapped, with a temporary wrapper that
// lives until DeleteTempMap (the application calls it when idle) and never deletes
// the handle. CDC does the same for device contexts; its drawing members forward
// to the functions of dc.h, draw.h and edges.h in logical units.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/geometry.h"
#include "framework/core/object.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/rgn.h"
#include "framework/gdi/sysmetrics.h"

class CDC;
class CBitmap;

class TQ3FW_API CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    ~CGdiObject() override;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    static CGdiObject* FromHandle(HGDIOBJ handle);
    static void DeleteTempMap();

    // FALSE when a handle is already attached or `handle` is null.
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    // Deletes the handle (if any) and forgets it.
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);
    int GetObject(int size, void* buffer) const;
    UINT GetObjectType() const;

    bool operator==(const CGdiObject& other) const { return m_hObject == other.m_hObject; }
    bool operator!=(const CGdiObject& other) const { return m_hObject != other.m_hObject; }
};

class TQ3FW_API CPen : public CGdiObject {
    DECLARE_DYNCREATE(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN pen);
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN* pen);
    int GetLogPen(LOGPEN* pen) const;
};

class TQ3FW_API CBrush : public CGdiObject {
    DECLARE_DYNCREATE(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color);
    CBrush(int hatch, COLORREF color);
    explicit CBrush(CBitmap* bitmap);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH brush);
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* brush);
    // Attaches the shared system-colour brush (never deleted).
    BOOL CreateSysColorBrush(int index);
    int GetLogBrush(LOGBRUSH* brush) const;
};

class TQ3FW_API CFont : public CGdiObject {
    DECLARE_DYNCREATE(CFont)
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT font);
    BOOL CreateFontIndirect(const LOGFONTW* font);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCWSTR face);
    // A font of `pointSize` tenths of a point: lfHeight = -MulDiv(LOGPIXELSY, tenths, 720)
    // of `dc` (the screen's 96 when null), in the context's logical units.
    BOOL CreatePointFont(int pointSize, LPCWSTR face, CDC* dc = nullptr);
    // The same with the other fields taken from `font`, whose lfHeight holds tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONTW* font, CDC* dc = nullptr);
    int GetLogFont(LOGFONTW* font) const;
};

class TQ3FW_API CBitmap : public CGdiObject {
    DECLARE_DYNCREATE(CBitmap)
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP bitmap);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL CreateBitmapIndirect(const BITMAP* bitmap);
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    int GetBitmap(BITMAP* bitmap) const;
};

class TQ3FW_API CRgn : public CGdiObject {
    DECLARE_DYNCREATE(CRgn)
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    static CRgn* FromHandle(HRGN region);
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    BOOL CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
    // *this = a <mode> b; the region must exist already, as on the platform.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    BOOL EqualRgn(const CRgn* other) const;
    int OffsetRgn(int dx, int dy);
    int OffsetRgn(POINT offset) { return OffsetRgn(offset.x, offset.y); }
    int GetRgnBox(LPRECT rect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT pt) const { return PtInRegion(pt.x, pt.y); }
    BOOL RectInRegion(LPCRECT rect) const;
    void SetRectRgn(int left, int top, int right, int bottom);
    void SetRectRgn(LPCRECT rect);
};

class TQ3FW_API CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;  // the same context: there is no separate attribute context here

    CDC() = default;
    ~CDC() override;  // deletes the context it holds, as on the platform

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC dc);
    static void DeleteTempMap();
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL DeleteDC();
    BOOL CreateCompatibleDC(CDC* dc);

    // ---- State ----
    virtual int SaveDC();
    virtual BOOL RestoreDC(int level);
    int GetDeviceCaps(int index) const;
    BOOL IsPrinting() const { return m_bPrinting; }
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    virtual CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region);  // the clip region's type
    CGdiObject* SelectObject(CGdiObject* object);
    virtual CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;
    virtual COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    virtual COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    int SetROP2(int mode);
    int GetROP2() const;
    int SetPolyFillMode(int mode);
    UINT SetTextAlign(UINT align);
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT pt) { return SetBrushOrg(pt.x, pt.y); }

    // ---- Coordinates ----
    virtual CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
    virtual CPoint OffsetViewportOrg(int dx, int dy);
    CPoint GetViewportOrg() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT pt) { return SetWindowOrg(pt.x, pt.y); }
    CPoint GetWindowOrg() const;
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;

    // ---- Clipping ----
    virtual int GetClipBox(LPRECT rect) const;
    virtual int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    virtual int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(LPCRECT rect);
    virtual int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(LPCRECT rect);
    int OffsetClipRgn(int dx, int dy);
    virtual BOOL PtVisible(int x, int y) const;
    BOOL PtVisible(POINT pt) const { return PtVisible(pt.x, pt.y); }
    virtual BOOL RectVisible(LPCRECT rect) const;

    // ---- Drawing ----
    void FillRect(LPCRECT rect, CBrush* brush);
    // Fills with a colour through the background colour, which it leaves set to
    // that colour, as on the platform.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(LPCRECT rect, CBrush* brush);
    void InvertRect(LPCRECT rect);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int widthSrc, int heightSrc,
                    DWORD rop);
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polygons);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(LPCRECT rect);
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(LPCRECT rect);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
    BOOL DrawFrameControl(LPRECT rect, UINT type, UINT state);
    void DrawFocusRect(LPCRECT rect);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT pt) const { return GetPixel(pt.x, pt.y); }
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT pt, COLORREF color) { return SetPixel(pt.x, pt.y, color); }
    BOOL SetPixelV(int x, int y, COLORREF color);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL PaintRgn(CRgn* region);
    BOOL InvertRgn(CRgn* region);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);

    // ---- Text (the selected font, colours, background mode and alignment) ----
    virtual int DrawText(LPCWSTR text, int length, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format);
    virtual BOOL TextOut(int x, int y, LPCWSTR text, int length);
    BOOL TextOut(int x, int y, const CString& text);
    virtual BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, UINT length, LPINT dx);
    CSize GetTextExtent(LPCWSTR text, int length) const;
    CSize GetTextExtent(const CString& text) const;
    CSize GetOutputTextExtent(const CString& text) const { return GetTextExtent(text); }
    BOOL GetTextMetrics(TEXTMETRICW* metrics) const;
    BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint pt, CSize size, LPCWSTR text, UINT flags, BOOL prefixText = TRUE, int length = 0,
                   HBRUSH brush = nullptr);
    BOOL DrawIcon(int x, int y, HICON icon);

    // The 50% checkerboard brush of trackers and splitters (shared; never deleted).
    static CBrush* GetHalftoneBrush();

protected:
    BOOL m_bPrinting = FALSE;
};
