// Text through a device context: the selected font realised by the text engine,
// drawn in the context's colours, background mode, text alignment and clip.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/gdi/text/draw_text.h"

constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// Draws at (x, y) as the text alignment says (TA_LEFT/CENTER/RIGHT,
// TA_TOP/BASELINE/BOTTOM, TA_UPDATECP moves and uses the current position).
TQ3FW_EXPORT_C BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length);
// ETO_OPAQUE fills `rect` with the background colour first; ETO_CLIPPED keeps the
// text inside `rect`. Per-character advances (`dx`) are not offered and ignored.
TQ3FW_EXPORT_C BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length,
                                const INT* dx);
// Lays the text out in *rect (see draw_text.h for the format flags). Returns the
// text's height, 0 on failure; DT_CALCRECT sets rect->right and rect->bottom.
TQ3FW_EXPORT_C int DrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format);
TQ3FW_EXPORT_C BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int length, LPSIZE size);
TQ3FW_EXPORT_C BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
// The face name of the selected font, as it was asked for; returns its length.
TQ3FW_EXPORT_C int GetTextFaceW(HDC dc, int count, LPWSTR face);

inline BOOL TextOut(HDC dc, int x, int y, LPCWSTR text, int length) { return TextOutW(dc, x, y, text, length); }
inline BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length,
                       const INT* dx) {
    return ExtTextOutW(dc, x, y, options, rect, text, length, dx);
}
inline int DrawText(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format) {
    return DrawTextW(dc, text, length, rect, format);
}
inline BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int length, LPSIZE size) {
    return GetTextExtentPoint32W(dc, text, length, size);
}
inline BOOL GetTextMetrics(HDC dc, TEXTMETRICW* metrics) { return GetTextMetricsW(dc, metrics); }

namespace tq3::fw {

// DrawState's text forms: the text in `color` at (x, y) (the top-left corner), with
// prefixes handled unless `plain`.
TQ3FW_API BOOL DrawStateText(HDC dc, int x, int y, LPCWSTR text, int length, bool prefixed, COLORREF color);
// Text of a caption bar: the caption font, caption text colour, one line, cut
// with an ellipsis.
TQ3FW_API void DrawCaptionText(HDC dc, const RECT& rect, LPCWSTR text, int length, bool active);

}  // namespace tq3::fw
