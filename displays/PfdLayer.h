#pragma once

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"

#include <array>
#include <memory>
#include <vector>

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
    // A clear picture, to be drawn for the inputs on the screen; finish() follows the drawing.
    platform::gfx::Surface& restart(const platform::gfx::Surface& screen, const Inputs& inputs);
    void finish();
    // Lays the picture onto the screen: only the parts of its area that hold anything.
    void drawOn(platform::gfx::Canvas& screen) const;

private:
    // Whether the picture has the screen's pixels and logical mapping.
    bool fits(const platform::gfx::Surface& screen) const;

    platform::gfx::RectF area_;
    std::unique_ptr<platform::gfx::Surface> picture_;
    std::vector<platform::gfx::PixelBox> inked_;
    Inputs inputs_{};
};

} // namespace tavi
