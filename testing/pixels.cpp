// The harness's pixel probes: captures of the desktop, of a window or of a device
// context, what can be asked of them, and screenshots.
#include <algorithm>
#include <cstdio>

#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_defs.h"
#include "framework/gdi/png_image.h"
#include "framework/window/gdi_seam.h"
#include "tq3view/testing.h"

namespace tq3::testing {

namespace {

std::string Hex(COLORREF colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%06lx", static_cast<unsigned long>(colour));
    return buffer;
}

// `rect` cut down to the desktop.
RECT OnDesktop(const RECT& rect) {
    const tq3::fw::Surface& surface = tq3::fw::DesktopSurface();
    return RECT{std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0), std::min<LONG>(rect.right, surface.Width()),
                std::min<LONG>(rect.bottom, surface.Height())};
}

}  // namespace

Capture::Capture(const RECT& bounds, std::vector<COLORREF> pixels) : bounds_(bounds), pixels_(std::move(pixels)) {
    const auto size = static_cast<size_t>(std::max<LONG>(0, bounds.right - bounds.left)) *
                      static_cast<size_t>(std::max<LONG>(0, bounds.bottom - bounds.top));
    if (pixels_.size() != size || size == 0) {
        bounds_ = RECT{0, 0, 0, 0};
        pixels_.clear();
    }
}

COLORREF Capture::At(int x, int y) const {
    if (x < bounds_.left || x >= bounds_.right || y < bounds_.top || y >= bounds_.bottom) return CLR_INVALID;
    const auto width = static_cast<size_t>(bounds_.right - bounds_.left);
    return pixels_[static_cast<size_t>(y - bounds_.top) * width + static_cast<size_t>(x - bounds_.left)];
}

int Capture::Count(COLORREF colour) const {
    return static_cast<int>(std::count(pixels_.begin(), pixels_.end(), colour));
}

int Capture::CountOther(COLORREF colour) const { return static_cast<int>(pixels_.size()) - Count(colour); }

int Capture::CountIf(const std::function<bool(COLORREF)>& test) const {
    return static_cast<int>(std::count_if(pixels_.begin(), pixels_.end(), test));
}

RECT Capture::InkBounds(COLORREF background) const {
    RECT ink{0, 0, 0, 0};
    bool any = false;
    for (int y = bounds_.top; y < bounds_.bottom; ++y) {
        for (int x = bounds_.left; x < bounds_.right; ++x) {
            if (At(x, y) == background) continue;
            if (!any) ink = RECT{x, y, x + 1, y + 1};
            ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
            any = true;
        }
    }
    return ink;
}

Comparison Capture::FilledWith(COLORREF colour) const {
    Comparison result;
    if (Empty()) {
        result.ok = false;
        result.report = "nothing was captured";
        return result;
    }
    int differing = 0;
    POINT first{0, 0};
    for (int y = bounds_.top; y < bounds_.bottom; ++y) {
        for (int x = bounds_.left; x < bounds_.right; ++x) {
            if (At(x, y) == colour) continue;
            if (differing++ == 0) first = POINT{x, y};
        }
    }
    result.ok = differing == 0;
    if (!result.ok) {
        result.report = std::to_string(differing) + " of " + std::to_string(pixels_.size()) + " pixels are not " +
                        Hex(colour) + "; the first at (" + std::to_string(first.x) + ", " + std::to_string(first.y) +
                        ") is " + Hex(At(first.x, first.y));
    }
    return result;
}

std::string Capture::Picture(COLORREF ink) const {
    std::string out;
    for (int y = bounds_.top; y < bounds_.bottom; ++y) {
        for (int x = bounds_.left; x < bounds_.right; ++x) out += At(x, y) == ink ? '#' : '.';
        out += '\n';
    }
    return out;
}

bool Capture::SavePng(const std::string& path) const {
    if (Empty()) return false;
    tq3::fw::Surface surface(bounds_.right - bounds_.left, bounds_.bottom - bounds_.top);
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            surface.Set(x, y, tq3::fw::ToPixel(At(bounds_.left + x, bounds_.top + y)));
        }
    }
    return tq3::fw::SavePng(surface, nullptr, path);
}

Capture CaptureDesktop() {
    const tq3::fw::Surface& surface = tq3::fw::DesktopSurface();
    return CaptureDesktop(RECT{0, 0, surface.Width(), surface.Height()});
}

Capture CaptureDesktop(const RECT& screen) {
    const RECT area = OnDesktop(screen);
    if (area.right <= area.left || area.bottom <= area.top) return {};
    const tq3::fw::Surface& surface = tq3::fw::DesktopSurface();
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<size_t>(area.right - area.left) * static_cast<size_t>(area.bottom - area.top));
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) pixels.push_back(tq3::fw::ToColorRef(surface.At(x, y)));
    }
    return Capture(area, std::move(pixels));
}

Capture CaptureWindow(HWND window) {
    RECT client;
    if (!GetClientRect(window, &client)) return {};
    return CaptureWindow(window, client);
}

Capture CaptureWindow(HWND window, const RECT& client) {
    POINT origin{0, 0};
    if (!ClientToScreen(window, &origin)) return {};
    RECT screen = client;
    OffsetRect(&screen, origin.x, origin.y);
    const Capture shown = CaptureDesktop(screen);
    if (shown.Empty()) return {};
    // The same pixels, addressed in client coordinates.
    RECT bounds = shown.Bounds();
    OffsetRect(&bounds, -origin.x, -origin.y);
    std::vector<COLORREF> pixels;
    for (int y = shown.Bounds().top; y < shown.Bounds().bottom; ++y) {
        for (int x = shown.Bounds().left; x < shown.Bounds().right; ++x) pixels.push_back(shown.At(x, y));
    }
    return Capture(bounds, std::move(pixels));
}

Capture CaptureDC(HDC dc, const RECT& logical) {
    if (logical.right <= logical.left || logical.bottom <= logical.top) return {};
    std::vector<COLORREF> pixels;
    for (int y = logical.top; y < logical.bottom; ++y) {
        for (int x = logical.left; x < logical.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    return Capture(logical, std::move(pixels));
}

int CountDiffering(const Capture& a, const Capture& b) {
    const RECT& ra = a.Bounds();
    const RECT& rb = b.Bounds();
    if (ra.right - ra.left != rb.right - rb.left || ra.bottom - ra.top != rb.bottom - rb.top) return -1;
    int differing = 0;
    for (int y = 0; y < ra.bottom - ra.top; ++y) {
        for (int x = 0; x < ra.right - ra.left; ++x) {
            differing += a.At(ra.left + x, ra.top + y) != b.At(rb.left + x, rb.top + y) ? 1 : 0;
        }
    }
    return differing;
}

COLORREF DesktopPixel(POINT screen) { return CaptureDesktop(RECT{screen.x, screen.y, screen.x + 1, screen.y + 1}).At(screen); }

COLORREF WindowPixel(HWND window, POINT client) {
    return CaptureWindow(window, RECT{client.x, client.y, client.x + 1, client.y + 1}).At(client);
}

bool SaveScreenshot(const std::string& path) { return CaptureDesktop().SavePng(path); }

bool SaveScreenshot(HWND window, const std::string& path) {
    RECT outer;
    if (!GetWindowRect(window, &outer)) return false;
    return CaptureDesktop(outer).SavePng(path);
}

}  // namespace tq3::testing
