// DrawText: laying out a string in a rectangle (alignment, prefixes, tabs, line breaks,
// ellipsis) and drawing it with the text engine. The device context calls it with its
// current font, colours, background mode and clip, in surface coordinates.
#pragma once

#include "framework/core/wintypes.h"
#include "framework/gdi/text/font_engine.h"

// Format flags, with the platform's values.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

namespace tq3::fw::text {

// Lays out text[0, length) (a negative length: up to the terminating zero) in *rect
// and draws it onto `target`, as DrawText does:
// - DT_SINGLELINE: one line; DT_VCENTER / DT_BOTTOM place it vertically in the rectangle.
//   Otherwise lines break at CR, LF and CR LF, and with DT_WORDBREAK also between words
//   where a line would pass the right edge.
// - DT_LEFT / DT_CENTER / DT_RIGHT place each line horizontally.
// - "&" marks a prefix: "&&" draws one "&", "&x" draws x underlined (DT_HIDEPREFIX: not
//   underlined; DT_PREFIXONLY: only the underlines). DT_NOPREFIX draws "&" as it stands.
// - DT_EXPANDTABS expands tabs to stops every 8 average character widths (DT_TABSTOP:
//   every (format >> 8) & 0xFF widths).
// - DT_END_ELLIPSIS: a line too wide for the rectangle is cut so that it plus "..."
//   fits, and the ellipsis lies inside the rectangle.
// - Unless DT_NOCLIP, nothing is drawn outside the rectangle; `target.clip` always holds.
// - DT_CALCRECT: nothing is drawn; rect->right and rect->bottom are set to enclose the
//   laid-out text (target.surface may be null).
// Returns the height of the text, or with DT_VCENTER / DT_BOTTOM (single line) the
// offset from rect->top to the bottom of the drawn text; 0 on failure (null font or
// rectangle, a length beyond the terminating zero is the caller's business).
TQ3FW_API int DrawTextRun(const FontRef& font, const TextTarget& target, const WCHAR* text, int length, RECT* rect,
                          UINT format, const TextColors& colors);

}  // namespace tq3::fw::text
