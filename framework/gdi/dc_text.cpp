// Text calls of the device context over the text engine.
//
// Every call realises the selected font (the engine keeps one realised font per
// distinct LOGFONTW; the context remembers the last one it was given), moves its
// coordinates to the surface and hands the engine the context's clip.
#include "framework/gdi/dc_text.h"

#include "framework/gdi/dc.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/raster.h"
#include "framework/gdi/sysmetrics.h"

using namespace tq3::fw;
using namespace tq3::fw::gdi;

namespace {

text::FontRef FontOfDc(DcState& s) {
    if (s.realizedFor == s.at.font) {
        if (text::FontRef font = s.realized.lock()) return font;
    }
    const LOGFONTW* lf = FontOf(s.at.font);
    if (!lf) lf = FontOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    if (!lf) return nullptr;
    text::FontRef font = text::RealizeFont(*lf);
    if (font) {
        s.realized = font;
        s.realizedFor = s.at.font;
    }
    return font;
}

text::TextColors ColorsOf(const DcState& s) {
    return text::TextColors{s.at.textColor, s.at.bkColor, s.at.bkMode == OPAQUE};
}

int LengthOf(LPCWSTR text, int length) {
    if (!text) return 0;
    if (length >= 0) return length;
    int n = 0;
    while (text[n]) ++n;
    return n;
}

}  // namespace

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length, const INT* /*dx*/) {
    DcState* s = DcOf(dc);
    if (!s || (length > 0 && !text) || length > 0x7FFFFFFF) return FALSE;
    POINT off = s->Offset();
    if ((options & ETO_OPAQUE) && rect && s->surface) {
        RECT r{rect->left + off.x, rect->top + off.y, rect->right + off.x, rect->bottom + off.y};
        PatRect(*s->surface, s->Clip(), r, SolidPaint(ToPixel(s->at.bkColor)), Rop3Code(PATCOPY));
    }
    if (length == 0 || !s->surface) return TRUE;
    text::FontRef font = FontOfDc(*s);
    if (!font) return FALSE;
    int n = static_cast<int>(length);
    UINT align = s->at.textAlign;
    if (align & TA_UPDATECP) {
        x = s->at.position.x;
        y = s->at.position.y;
    }
    SIZE extent = text::GetTextExtent(font, text, n);
    TEXTMETRICW tm{};
    text::GetTextMetrics(font, &tm);
    int left = x;
    if ((align & TA_CENTER) == TA_CENTER) {
        left = x - extent.cx / 2;
    } else if (align & TA_RIGHT) {
        left = x - extent.cx;
    }
    int top = y;
    if ((align & TA_BASELINE) == TA_BASELINE) {
        top = y - tm.tmAscent;
    } else if (align & TA_BOTTOM) {
        top = y - tm.tmHeight;
    }
    Region clip = s->Clip();
    if ((options & ETO_CLIPPED) && rect) {
        clip.Intersect(RECT{rect->left + off.x, rect->top + off.y, rect->right + off.x, rect->bottom + off.y});
    }
    text::TextColors colors = ColorsOf(*s);
    if (options & ETO_OPAQUE) colors.opaque = false;  // the rectangle is the background
    text::TextTarget target{s->surface, &clip};
    text::TextStatus status = text::DrawRun(font, target, left + off.x, top + off.y, text, n, colors);
    if (align & TA_UPDATECP) {
        // The current position moves past the text in the direction it was drawn.
        if ((align & TA_CENTER) != TA_CENTER) s->at.position.x += (align & TA_RIGHT) ? -extent.cx : extent.cx;
    }
    return status == text::TextStatus::kOk ? TRUE : FALSE;
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length) {
    if (length < 0) return FALSE;
    return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

int DrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format) {
    DcState* s = DcOf(dc);
    if (!s || !rect || !text) return 0;
    text::FontRef font = FontOfDc(*s);
    if (!font) return 0;
    POINT off = s->Offset();
    RECT r{rect->left + off.x, rect->top + off.y, rect->right + off.x, rect->bottom + off.y};
    const Region& clip = s->Clip();
    text::TextTarget target{(format & DT_CALCRECT) ? nullptr : s->surface, &clip};
    int height = text::DrawTextRun(font, target, text, length, &r, format, ColorsOf(*s));
    if (format & DT_CALCRECT) *rect = RECT{r.left - off.x, r.top - off.y, r.right - off.x, r.bottom - off.y};
    return height;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int length, LPSIZE size) {
    DcState* s = DcOf(dc);
    if (!s || !size || length < 0 || (length > 0 && !text)) return FALSE;
    text::FontRef font = FontOfDc(*s);
    if (!font) return FALSE;
    if (length == 0) {
        TEXTMETRICW tm{};
        text::GetTextMetrics(font, &tm);
        *size = SIZE{0, tm.tmHeight};
        return TRUE;
    }
    *size = text::GetTextExtent(font, text, length);
    return TRUE;
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
    DcState* s = DcOf(dc);
    if (!s || !metrics) return FALSE;
    text::FontRef font = FontOfDc(*s);
    return font && text::GetTextMetrics(font, metrics) ? TRUE : FALSE;
}

int GetTextFaceW(HDC dc, int count, LPWSTR face) {
    DcState* s = DcOf(dc);
    const LOGFONTW* lf = s ? FontOf(s->at.font) : nullptr;
    if (!lf) return 0;
    int n = 0;
    while (n < LF_FACESIZE && lf->lfFaceName[n]) ++n;
    if (!face) return n + 1;
    if (count <= 0) return 0;
    int copied = n < count - 1 ? n : count - 1;
    for (int i = 0; i < copied; ++i) face[i] = lf->lfFaceName[i];
    face[copied] = 0;
    return copied;
}

namespace tq3::fw {

BOOL DrawStateText(HDC dc, int x, int y, LPCWSTR text, int length, bool prefixed, COLORREF color) {
    DcState* s = DcOf(dc);
    if (!s || !text) return FALSE;
    int saved = SaveDC(dc);
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    RECT r{x, y, x + 0x4000, y + 0x4000};
    int h = DrawTextW(dc, text, LengthOf(text, length), &r, DT_LEFT | DT_TOP | DT_NOCLIP | (prefixed ? 0 : DT_NOPREFIX));
    RestoreDC(dc, saved);
    return h > 0 ? TRUE : FALSE;
}

void DrawCaptionText(HDC dc, const RECT& rect, LPCWSTR text, int length, bool active) {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) return;
    HFONT font = CreateFontIndirectW(&m.lfCaptionFont);
    if (!font) return;
    int saved = SaveDC(dc);
    SelectObject(dc, font);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    SetBkMode(dc, TRANSPARENT);
    RECT r = rect;
    DrawTextW(dc, text, length, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    RestoreDC(dc, saved);
    DeleteObject(font);
}

}  // namespace tq3::fw
