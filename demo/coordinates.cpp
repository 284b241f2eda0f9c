#include "demo/coordinates.h"

namespace tq3::demo {

namespace {

// One signed angle of `degreeDigits` degree digits followed by minutes and, when
// `withSeconds`, seconds; advances `text` past it.
std::optional<double> ReadAngle(std::u16string_view& text, size_t degreeDigits, bool withSeconds, double limit) {
    const size_t length = 1 + degreeDigits + 2 + (withSeconds ? 2 : 0);
    if (text.size() < length) return std::nullopt;
    const char16_t sign = text[0];
    if (sign != u'+' && sign != u'-') return std::nullopt;
    int parts[3] = {0, 0, 0};
    size_t at = 1;
    const size_t widths[3] = {degreeDigits, 2, withSeconds ? 2u : 0u};
    for (int p = 0; p < 3; ++p) {
        for (size_t i = 0; i < widths[p]; ++i, ++at) {
            const char16_t c = text[at];
            if (c < u'0' || c > u'9') return std::nullopt;
            parts[p] = parts[p] * 10 + (c - u'0');
        }
    }
    if (parts[1] >= 60 || parts[2] >= 60) return std::nullopt;
    double value = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    if (value > limit) return std::nullopt;
    text.remove_prefix(length);
    return sign == u'-' ? -value : value;
}

}  // namespace

std::optional<GeoPosition> ParseIso6709(std::u16string_view text) {
    // Both halves carry seconds or neither does: 11 or 15 characters in all.
    bool withSeconds;
    if (text.size() == 11) {
        withSeconds = false;
    } else if (text.size() == 15) {
        withSeconds = true;
    } else {
        return std::nullopt;
    }
    std::optional<double> latitude = ReadAngle(text, 2, withSeconds, 90.0);
    if (!latitude) return std::nullopt;
    std::optional<double> longitude = ReadAngle(text, 3, withSeconds, 180.0);
    if (!longitude || !text.empty()) return std::nullopt;
    return GeoPosition{*latitude, *longitude};
}

}  // namespace tq3::demo
