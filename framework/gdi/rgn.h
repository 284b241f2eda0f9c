// Regions through handles: creation, combination, queries. A region is a set of
// pixels (see region.h); rectangles exclude their right and bottom edges.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/gdi/gdi_defs.h"

TQ3FW_EXPORT_C HRGN CreateRectRgn(int left, int top, int right, int bottom);
TQ3FW_EXPORT_C HRGN CreateRectRgnIndirect(const RECT* rect);
// ALTERNATE or WINDING; a pixel belongs to the region when the point at its
// top-left corner is inside the polygon (left and top edges inside).
TQ3FW_EXPORT_C HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
TQ3FW_EXPORT_C HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
// dst = src1 <mode> src2 (src2 unused for RGN_COPY). Returns the type of the
// result or ERROR, in which case dst is unchanged.
TQ3FW_EXPORT_C int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
TQ3FW_EXPORT_C int OffsetRgn(HRGN region, int dx, int dy);
TQ3FW_EXPORT_C BOOL PtInRegion(HRGN region, int x, int y);
TQ3FW_EXPORT_C BOOL RectInRegion(HRGN region, const RECT* rect);
TQ3FW_EXPORT_C int GetRgnBox(HRGN region, LPRECT rect);
TQ3FW_EXPORT_C BOOL EqualRgn(HRGN a, HRGN b);
TQ3FW_EXPORT_C BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
