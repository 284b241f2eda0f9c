// Surfaces to and from PNG files, and the comparison of a surface with a golden
// image, for screenshots and for the few tests that need a picture.
#pragma once

#include <string>

#include "framework/core/wintypes.h"
#include "framework/gdi/surface.h"

namespace tq3::fw {

// Saves `area` of the surface (the whole surface when null; clipped to it) as an
// 8-bit RGB PNG. False when the area is empty or the file cannot be written.
TQ3FW_API bool SavePng(const Surface& surface, const RECT* area, const std::string& path);

// Loads a PNG of any colour type; transparency is composited onto black. False
// (and *out untouched) when the file is missing, not a PNG or too large.
TQ3FW_API bool LoadPng(const std::string& path, Surface* out);

struct GoldenResult {
    bool match = false;
    int differingPixels = 0;   // pixels whose channels differ by more than the tolerance
    int largestDifference = 0; // of any channel of any pixel
    std::string message;       // what went wrong, and where the actual image was written
};

// Compares `area` of the surface with the golden PNG. A pixel differs when one of
// its channels is off by more than `tolerance`; the images match when no more than
// `allowedPixels` differ. On a mismatch (or a missing golden file) the actual image
// is written beside the golden one as "<name>.actual.png".
TQ3FW_API GoldenResult CompareWithGolden(const Surface& surface, const RECT& area, const std::string& goldenPath,
                                         int tolerance, int allowedPixels = 0);

}  // namespace tq3::fw
