// Surface memory: small surfaces from the heap, large ones mapped zeroed pages.
#include "framework/gdi/surface.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace tq3::fw {

namespace {

// From this size on pixels are mapped rather than taken from the heap: the
// kernel's zero pages cost nothing until touched, while a heap block would have
// to be cleared (or come back dirty from an earlier owner). Below it, clearing is
// cheaper than a mapping.
constexpr std::size_t kMapFrom = 64 * 1024;

}  // namespace

void Surface::Release::operator()(Pixel* pixels) const {
    if (pixels == nullptr) return;
    if (bytes >= kMapFrom)
        munmap(pixels, bytes);
    else
        ::operator delete(pixels);
}

Surface::Pixels Surface::Allocate(std::size_t count) {
    if (count == 0) return Pixels(nullptr, Release{0});
    if (count > static_cast<std::size_t>(PTRDIFF_MAX) / sizeof(Pixel)) throw std::bad_alloc();
    const std::size_t bytes = count * sizeof(Pixel);
    if (bytes >= kMapFrom) {
        void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) throw std::bad_alloc();
        return Pixels(static_cast<Pixel*>(mapped), Release{bytes});
    }
    auto* pixels = static_cast<Pixel*>(::operator new(bytes));
    std::memset(pixels, 0, bytes);
    return Pixels(pixels, Release{bytes});
}

void Surface::Resize(int width, int height, Pixel fill) {
    const int w = std::max(width, 0);
    const int h = std::max(height, 0);
    Pixels fresh = Allocate(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    if (fill != 0) std::fill_n(fresh.get(), static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill);
    width_ = w;
    height_ = h;
    pixels_ = std::move(fresh);
}

Surface::Surface(const Surface& other)
    : width_(other.width_), height_(other.height_),
      pixels_(Allocate(static_cast<std::size_t>(other.width_) * static_cast<std::size_t>(other.height_))) {
    if (pixels_) std::memcpy(pixels_.get(), other.pixels_.get(), pixels_.get_deleter().bytes);
}

Surface& Surface::operator=(const Surface& other) {
    if (this != &other) {
        Surface copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Surface::Surface(Surface&& other) noexcept
    : width_(other.width_), height_(other.height_), pixels_(std::move(other.pixels_)) {
    other.width_ = 0;
    other.height_ = 0;
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this != &other) {
        pixels_ = std::move(other.pixels_);
        width_ = other.width_;
        height_ = other.height_;
        other.width_ = 0;
        other.height_ = 0;
    }
    return *this;
}

}  // namespace tq3::fw
