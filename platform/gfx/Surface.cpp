#include "platform/gfx/Surface.h"

#include <algorithm>
#include <cairo.h>

namespace tavi::platform::gfx {

Surface::Surface(int pixelWidth, int pixelHeight)
    : pixelWidth_(std::max(pixelWidth, 1)), pixelHeight_(std::max(pixelHeight, 1)),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelWidth_, pixelHeight_)) {}

Surface::~Surface() {
    cairo_surface_destroy(surface_);
}

void Surface::setLogicalSize(double width, double height) {
    if (width > 0.0 && height > 0.0) {
        scaleX_ = pixelWidth_ / width;
        scaleY_ = pixelHeight_ / height;
    }
}

const unsigned char* Surface::data() const {
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    cairo_surface_flush(surface_);
    return cairo_image_surface_get_data(surface_);
}

int Surface::stride() const {
    return cairo_image_surface_get_stride(surface_);
}

uint32_t Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= pixelWidth_ || y >= pixelHeight_ ||
        cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        return 0;
    }
    cairo_surface_flush(surface_);
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    const uint32_t value = reinterpret_cast<const uint32_t*>(row)[x];
    const uint32_t alpha = value >> 24;
    if (alpha == 0 || alpha == 255) {
        return alpha == 0 ? 0 : value;
    }
    auto channel = [&](int shift) {
        return std::min<uint32_t>(255, (((value >> shift) & 0xFF) * 255 + alpha / 2) / alpha);
    };
    return (alpha << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

bool Surface::writePng(const std::string& path) const {
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace tavi::platform::gfx
