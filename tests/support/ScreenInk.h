#pragma once

#include "platform/gfx/Surface.h"

#include <cstdint>
#include <cstdlib>

namespace tavi::test {

// Pixels within a few levels of the colour in a rectangle of the surface's pixels; pixels
// outside the surface do not count.
inline int inkCount(const platform::gfx::Surface& surface, uint32_t colour, double x, double y,
                    double width, double height) {
    int found = 0;
    for (int py = static_cast<int>(y); py < y + height; ++py) {
        for (int px = static_cast<int>(x); px < x + width; ++px) {
            if (px < 0 || py < 0 || px >= surface.pixelWidth() || py >= surface.pixelHeight()) {
                continue;
            }
            const uint32_t p = surface.pixel(px, py);
            bool near = true;
            for (int shift : {0, 8, 16}) {
                near = near && std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                        static_cast<int>((colour >> shift) & 0xFF)) < 40;
            }
            found += near ? 1 : 0;
        }
    }
    return found;
}

} // namespace tavi::test
