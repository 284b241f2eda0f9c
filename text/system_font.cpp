#include "text/system_font.h"

#include <cstring>

#include "framework/gdi/sysmetrics.h"

int GetSystemLogFont(LOGFONTW* font) {
    if (font == nullptr) return 0;
    std::memset(font, 0, sizeof *font);
    // The metrics as a caller without the padded border width asks for them.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = kNonClientMetricsLegacySize;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsLegacySize, &metrics, 0)) return 0;
    *font = metrics.lfCaptionFont;
    font->lfWeight = FW_NORMAL;
    return metrics.iMenuHeight;
}
