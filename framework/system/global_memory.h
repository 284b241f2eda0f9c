// Global memory blocks (HGLOBAL), the currency of clipboard data. Blocks are
// movable or fixed as on the platform: a fixed block's handle is its address; a
// movable block's handle must be locked to reach the bytes, and a lock count is kept.
#pragma once

#include "framework/core/wintypes.h"

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_NOCOMPACT = 0x0010;
constexpr UINT GMEM_NODISCARD = 0x0020;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_MODIFY = 0x0080;
constexpr UINT GMEM_DISCARDABLE = 0x0100;
constexpr UINT GMEM_SHARE = 0x2000;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_DISCARDED = 0x4000;
constexpr UINT GMEM_INVALID_HANDLE = 0x8000;
constexpr UINT GMEM_LOCKCOUNT = 0x00FF;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Null when memory runs out or the size is absurd.
TQ3FW_EXPORT_C HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Null (and the block unchanged) on failure.
TQ3FW_EXPORT_C HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
TQ3FW_EXPORT_C LPVOID GlobalLock(HGLOBAL block);
// TRUE while the block stays locked, FALSE once the count reaches zero (or for a
// fixed or bad block).
TQ3FW_EXPORT_C BOOL GlobalUnlock(HGLOBAL block);
TQ3FW_EXPORT_C SIZE_T GlobalSize(HGLOBAL block);  // 0 for a bad handle
TQ3FW_EXPORT_C UINT GlobalFlags(HGLOBAL block);   // GMEM_INVALID_HANDLE for a bad handle
TQ3FW_EXPORT_C HGLOBAL GlobalHandle(LPCVOID pointer);
// Null on success, the handle itself on failure.
TQ3FW_EXPORT_C HGLOBAL GlobalFree(HGLOBAL block);
