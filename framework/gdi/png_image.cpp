// PNG through libpng's simplified interface, which reports errors in the image
// structure instead of jumping out of the caller.
#include "framework/gdi/png_image.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

namespace tq3::fw {

namespace {

// Larger images are refused rather than allocated (a corrupt header may claim anything).
constexpr long long kMaxPixels = 1LL << 26;

bool ClipArea(const Surface& s, const RECT* area, RECT* out) {
    RECT r = area ? *area : RECT{0, 0, s.Width(), s.Height()};
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, s.Width());
    r.bottom = std::min<LONG>(r.bottom, s.Height());
    if (r.right <= r.left || r.bottom <= r.top) return false;
    *out = r;
    return true;
}

std::string ActualPathFor(const std::string& golden) {
    std::string stem = golden;
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".png") == 0) stem.resize(stem.size() - 4);
    return stem + ".actual.png";
}

}  // namespace

bool SavePng(const Surface& surface, const RECT* area, const std::string& path) {
    RECT r{};
    if (!ClipArea(surface, area, &r)) return false;
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    std::vector<png_byte> rgb;
    try {
        rgb.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < h; ++y) {
        const Pixel* row = surface.Row(r.top + y) + r.left;
        png_byte* out = rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 3;
        for (int x = 0; x < w; ++x) {
            out[3 * x] = static_cast<png_byte>(row[x] >> 16);
            out[3 * x + 1] = static_cast<png_byte>(row[x] >> 8);
            out[3 * x + 2] = static_cast<png_byte>(row[x]);
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGB;
    int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
    png_image_free(&image);
    return ok != 0;
}

bool LoadPng(const std::string& path, Surface* out) {
    if (!out) return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    long long pixels = static_cast<long long>(image.width) * image.height;
    if (image.width == 0 || image.height == 0 || pixels > kMaxPixels) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb;
    Surface loaded;
    try {
        rgb.resize(PNG_IMAGE_SIZE(image));
        loaded.Resize(static_cast<int>(image.width), static_cast<int>(image.height));
    } catch (const std::bad_alloc&) {
        png_image_free(&image);
        return false;
    }
    png_color black{0, 0, 0};
    if (!png_image_finish_read(&image, &black, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    int w = loaded.Width();
    for (int y = 0; y < loaded.Height(); ++y) {
        const png_byte* in = rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 3;
        Pixel* row = loaded.Row(y);
        for (int x = 0; x < w; ++x) {
            row[x] = (static_cast<Pixel>(in[3 * x]) << 16) | (static_cast<Pixel>(in[3 * x + 1]) << 8) | in[3 * x + 2];
        }
    }
    *out = std::move(loaded);
    return true;
}

GoldenResult CompareWithGolden(const Surface& surface, const RECT& area, const std::string& goldenPath, int tolerance,
                               int allowedPixels) {
    GoldenResult result;
    RECT r{};
    if (!ClipArea(surface, &area, &r)) {
        result.message = "the area to compare is empty";
        return result;
    }
    Surface golden;
    std::string actual = ActualPathFor(goldenPath);
    if (!LoadPng(goldenPath, &golden)) {
        bool saved = SavePng(surface, &r, actual);
        result.message = "golden image " + goldenPath + " cannot be read" +
                         (saved ? "; actual image written to " + actual : "");
        return result;
    }
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    if (golden.Width() != w || golden.Height() != h) {
        bool saved = SavePng(surface, &r, actual);
        result.message = "size differs: golden " + std::to_string(golden.Width()) + "x" +
                         std::to_string(golden.Height()) + ", actual " + std::to_string(w) + "x" + std::to_string(h) +
                         (saved ? "; actual image written to " + actual : "");
        return result;
    }
    for (int y = 0; y < h; ++y) {
        const Pixel* a = surface.Row(r.top + y) + r.left;
        const Pixel* g = golden.Row(y);
        for (int x = 0; x < w; ++x) {
            int worst = 0;
            for (int shift : {0, 8, 16}) {
                int d = std::abs(static_cast<int>((a[x] >> shift) & 0xFF) - static_cast<int>((g[x] >> shift) & 0xFF));
                worst = std::max(worst, d);
            }
            result.largestDifference = std::max(result.largestDifference, worst);
            if (worst > tolerance) ++result.differingPixels;
        }
    }
    result.match = result.differingPixels <= allowedPixels;
    if (!result.match) {
        bool saved = SavePng(surface, &r, actual);
        result.message = std::to_string(result.differingPixels) + " pixels differ by more than " +
                         std::to_string(tolerance) + (saved ? "; actual image written to " + actual : "");
    }
    return result;
}

}  // namespace tq3::fw
