#include "gauges/OverheadArtwork.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"
#include "support/OverheadPanel.h"

#include <gtest/gtest.h>
#include <set>

namespace tavi {
namespace {

using platform::Artwork;

std::vector<uint32_t> overheadImage(const Artwork& artwork, int frame) {
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

// Every image a callback can choose looks different from the others of its strip.
TEST(OverheadArtworkTest, EachImageOfThePanelsOwnStripsIsItsOwn) {
    struct Case {
        Artwork artwork;
        std::vector<int> frames;
    };
    const Case cases[] = {
        {{"hinged guard", 56, 105, 8, overhead::paintHingedGuardButton, "OFF"},
         {0, 1, 2, 3, 4, 5, 6, 7}},
        {{"knob guard", 150, 100, 4, overhead::paintKnobGuard, ""}, {0, 1, 2, 3}},
        {{"guard flap", 26, 34, 2, overhead::paintGuardFlap, ""}, {0, 1}},
        {{"lever", 39, 62, 6, overhead::paintThreePositionLever, ""}, {0, 1, 2, 3, 4, 5}},
        {{"twin switch", 172, 44, 4, overhead::paintTwinLightSwitch, ""}, {0, 1, 2, 3}},
        {{"engine lighting", 150, 290, 8, overhead::paintLightingOverlay, "ENGINE 1"}, {0, 4}},
        {{"signs lighting", 55, 45, 4, overhead::paintLightingOverlay, "SIGNS"}, {0, 2}},
        {{"face", 1600, 810, 2, overhead::paintPanelFace, ""}, {0, 1}},
    };
    for (const Case& c : cases) {
        std::set<std::vector<uint32_t>> images;
        for (const int frame : c.frames) {
            images.insert(overheadImage(c.artwork, frame));
        }
        EXPECT_EQ(images.size(), c.frames.size()) << c.artwork.name;
    }
    const Artwork day{"day", 40, 40, 1, overhead::paintDayPointer, ""};
    const Artwork night{"night", 40, 40, 1, overhead::paintNightPointer, ""};
    EXPECT_NE(overheadImage(day, 0), overheadImage(night, 0));
}

// Whatever the switches and the lighting, every icon picks an image its strip has.
TEST(OverheadArtworkTest, IconsStayWithinTheirStrips) {
    test::OverheadPanel panel;
    panel.scenario.batteriesOn();
    panel.scenario.step();
    for (const bool lit : {false, true}) {
        panel.setPanelLights(lit);
        for (const platform::GaugeElement* element : panel.allElements()) {
            if (element->kind != platform::ElementKind::Icon) {
                continue;
            }
            platform::GaugeElement copy = *element;
            const double value = copy.value(copy);
            EXPECT_GE(value, 0.0) << element->artwork->name;
            EXPECT_LT(value, element->artwork->frames) << element->artwork->name;
        }
    }
}

} // namespace
} // namespace tavi
