#include "platform/gfx/Surface.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace tavi::platform::gfx {

Surface::Surface(int pixelWidth, int pixelHeight)
    : pixelWidth_(std::max(pixelWidth, 1)), pixelHeight_(std::max(pixelHeight, 1)),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelWidth_, pixelHeight_)) {}

std::unique_ptr<Surface> Surface::blankTwin() const {
    auto twin = std::make_unique<Surface>(pixelWidth_, pixelHeight_);
    twin->scaleX_ = scaleX_;
    twin->scaleY_ = scaleY_;
    return twin;
}

Surface::~Surface() {
    cairo_surface_destroy(surface_);
}

void Surface::addText(ShownText text) {
    const auto same = std::find_if(texts_.begin(), texts_.end(), [&](const ShownText& shown) {
        return std::abs(shown.x - text.x) < 0.5 && std::abs(shown.y - text.y) < 0.5;
    });
    if (same == texts_.end()) {
        texts_.push_back(std::move(text));
    } else {
        *same = std::move(text);
    }
}

void Surface::wipeTexts(const PixelBox& box) {
    std::erase_if(texts_, [&](const ShownText& shown) {
        return shown.x >= box.x && shown.y >= box.y && shown.x < box.x + box.width &&
               shown.y < box.y + box.height;
    });
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

std::vector<PixelBox> Surface::inkedTiles(const PixelBox& within) const {
    constexpr int kTile = 16;
    std::vector<PixelBox> boxes;
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
        return boxes;
    }
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const int left = std::clamp(within.x, 0, pixelWidth_);
    const int right = std::clamp(within.x + within.width, left, pixelWidth_);
    const int top = std::clamp(within.y, 0, pixelHeight_);
    const int bottom = std::clamp(within.y + within.height, top, pixelHeight_);
    const auto inked = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
            for (int x = x0; x < x1; ++x) {
                if (row[x] != 0) {
                    return true;
                }
            }
        }
        return false;
    };
    for (int y = top; y < bottom; y += kTile) {
        const int rows = std::min(kTile, bottom - y);
        int runStart = -1;
        for (int x = left; x < right; x += kTile) {
            const int end = std::min(x + kTile, right);
            if (inked(x, y, end, y + rows)) {
                runStart = runStart < 0 ? x : runStart;
            } else if (runStart >= 0) {
                boxes.push_back({runStart, y, x - runStart, rows});
                runStart = -1;
            }
        }
        if (runStart >= 0) {
            boxes.push_back({runStart, y, right - runStart, rows});
        }
    }
    return boxes;
}

bool Surface::writePng(const std::string& path) const {
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace tavi::platform::gfx
