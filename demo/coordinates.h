// Positions written the way the time zone table writes them (ISO 6709,
// sign-degrees-minutes[-seconds]): "+4230+00131" or "-334752+0183900", latitude
// first (+ north), then longitude (+ east).
#pragma once

#include <optional>
#include <string_view>

namespace tq3::demo {

struct GeoPosition {
    double latitude = 0;   // decimal degrees, north positive
    double longitude = 0;  // decimal degrees, east positive
};

// Nothing when the text is not one of the two forms or a part is out of range
// (latitude beyond 90, longitude beyond 180, minutes or seconds of 60 or more).
std::optional<GeoPosition> ParseIso6709(std::u16string_view text);

}  // namespace tq3::demo
