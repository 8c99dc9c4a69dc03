#include "gauges/ControlArtwork.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>
#include <set>

namespace tavi {
namespace {

// The pixels of one image of the strip, to tell images apart.
std::vector<uint32_t> paintedImage(const platform::Artwork& artwork, int frame) {
    platform::gfx::Surface surface(artwork.width, artwork.height);
    {
        platform::gfx::Canvas canvas(surface);
        artwork.paint(canvas, artwork, frame);
    }
    std::vector<uint32_t> pixels;
    for (int y = 0; y < artwork.height; ++y) {
        for (int x = 0; x < artwork.width; ++x) {
            pixels.push_back(surface.pixel(x, y));
        }
    }
    return pixels;
}

TEST(ControlArtworkTest, EveryImageOfEachStripIsItsOwn) {
    const platform::Artwork strips[] = {
        {"toggle", 30, 50, 6, paintToggleSwitch, ""},
        {"knob", 40, 40, 6, paintThreePositionKnob, ""},
        {"guarded", 40, 30, 8, paintGuardedButton, "ESS"},
        {"light switch", 27, 50, 4, paintLightSwitch, ""},
        {"annunciator", 40, 20, 2, paintAnnunciator, "FAIL"},
        {"background", 120, 60, 3, paintPanelBackground, "ELECTRICAL"},
    };
    for (const platform::Artwork& strip : strips) {
        std::set<std::vector<uint32_t>> images;
        // The toggle's third image of each half is never shown.
        for (int frame = 0; frame < strip.frames; ++frame) {
            if (strip.paint != paintToggleSwitch || frame % 3 != 2) {
                images.insert(paintedImage(strip, frame));
            }
        }
        const std::size_t expected = strip.paint == paintToggleSwitch ? 4 : strip.frames;
        EXPECT_EQ(images.size(), expected) << strip.name;
    }
}

} // namespace
} // namespace tavi
