// Drawing calls: fills, raster operations, blits, lines and shapes, pixels, and
// painting through regions. All coordinates are logical; everything is clipped to
// what the context may paint. Rectangles exclude their right and bottom edges,
// lines their last point, as on the platform.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/gdi/gdi_defs.h"

// A brush argument may also be a system colour index plus one, as on the platform.
TQ3FW_EXPORT_C int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// A one-pixel border inside the rectangle, painted with the brush.
TQ3FW_EXPORT_C int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
TQ3FW_EXPORT_C BOOL InvertRect(HDC dc, const RECT* rect);
// Negative sizes extend left or up from (x, y).
TQ3FW_EXPORT_C BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
TQ3FW_EXPORT_C BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
// Nearest-pixel scaling; equal sizes are a BitBlt.
TQ3FW_EXPORT_C BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                               int widthSrc, int heightSrc, DWORD rop);

TQ3FW_EXPORT_C BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
TQ3FW_EXPORT_C BOOL LineTo(HDC dc, int x, int y);
TQ3FW_EXPORT_C BOOL Polyline(HDC dc, const POINT* points, int count);
TQ3FW_EXPORT_C BOOL Polygon(HDC dc, const POINT* points, int count);
TQ3FW_EXPORT_C BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
// Outline with the pen on the edge pixels, interior with the brush; without a pen
// the filled area is one pixel smaller each way, as on the platform.
TQ3FW_EXPORT_C BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
TQ3FW_EXPORT_C BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);

TQ3FW_EXPORT_C COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
TQ3FW_EXPORT_C BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside what the context may paint.
TQ3FW_EXPORT_C COLORREF GetPixel(HDC dc, int x, int y);

// Regions are in logical units here.
TQ3FW_EXPORT_C BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
TQ3FW_EXPORT_C BOOL PaintRgn(HDC dc, HRGN region);
// Flips every pixel of the region exactly once.
TQ3FW_EXPORT_C BOOL InvertRgn(HDC dc, HRGN region);
TQ3FW_EXPORT_C BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);
