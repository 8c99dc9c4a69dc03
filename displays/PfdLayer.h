#pragma once

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"

#include <array>
#include <memory>

namespace tavi {

// A part of the primary flight display that is drawn once into a picture of its own, a surface
// like the screen's, and laid onto the screen within its area at every paint. It is drawn again
// only when one of its inputs changes: the values its picture shows, the drawing quality, or the
// screen's pixel scale.
class PfdLayer {
public:
    using Inputs = std::array<double, 7>;

    // The area of the screen, in logical units, that the picture covers.
    explicit PfdLayer(const platform::gfx::RectF& area) : area_(area) {}

    bool stale(const platform::gfx::Surface& screen, const Inputs& inputs) const;
    // A clear picture, to be drawn for the inputs on the screen.
    platform::gfx::Surface& restart(const platform::gfx::Surface& screen, const Inputs& inputs);
    const platform::gfx::Surface& picture() const { return *picture_; }
    const platform::gfx::RectF& area() const { return area_; }

private:
    // Whether the picture has the screen's pixels and logical mapping.
    bool fits(const platform::gfx::Surface& screen) const;

    platform::gfx::RectF area_;
    std::unique_ptr<platform::gfx::Surface> picture_;
    Inputs inputs_{};
};

} // namespace tavi
