#include "displays/PanelElement.h"

#include "platform/Random.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"
#include "support/ModuleHarness.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

class Screen : public PanelElement {
public:
    void update(Aircraft&) override {}
    void readFrameRate(Aircraft& aircraft) { loadFrameRate(aircraft, "pfd"); }
};

TEST(PanelElementTest, BrightnessStaysWithinItsLimits) {
    const struct {
        int32_t asked;
        int32_t kept;
    } cases[] = {{400, 350}, {350, 350}, {255, 255}, {128, 128}, {100, 128}, {-5, 128}};
    for (const auto& c : cases) {
        Screen screen;
        screen.setBrightness(c.asked);
        EXPECT_EQ(screen.brightness, c.kept) << c.asked;
    }
}

// Background and veil over a white picture, probed in the middle of a 40 x 40 surface.
TEST(PanelElementTest, BrightnessLiftsTheBackgroundAboveNeutralAndVeilsThePictureBelow) {
    const struct {
        int32_t brightness;
        uint32_t background;
        uint32_t veiledWhite;
    } cases[] = {{350, 0xFF5F5F5F, 0xFFFFFFFF},
                 {256, 0xFF010101, 0xFFFFFFFF},
                 {255, 0xFF000000, 0xFFFFFFFF},
                 {128, 0xFF000000, 0xFF808080}};
    for (const auto& c : cases) {
        Screen screen;
        screen.setBrightness(c.brightness);
        platform::gfx::Surface surface(40, 40);
        surface.setLogicalSize(20, 20);
        {
            platform::gfx::Canvas canvas(surface);
            canvas.clipRectangle({0, 0, 1, 1});
            screen.clearBackground(canvas, 20, 20);
        }
        EXPECT_EQ(screen.backgroundColor, c.background) << c.brightness;
        EXPECT_EQ(surface.pixel(30, 30), c.background) << "the clear ignores clips";
        {
            platform::gfx::Canvas canvas(surface);
            canvas.clear(0xFFFFFFFF);
            screen.drawDimOverlay(canvas, 20, 20);
        }
        EXPECT_EQ(surface.pixel(20, 20), c.veiledWhite) << c.brightness;
        EXPECT_EQ(surface.pixel(39, 39), c.veiledWhite) << "the veil covers the logical size";
    }
}

class PanelElementSettingsTest : public testing::Test {
protected:
    Screen loaded(const std::string& ini) {
        module.writeIni(ini);
        Screen screen;
        screen.loadSettings(module.aircraft());
        screen.readFrameRate(module.aircraft());
        return screen;
    }

    void SetUp() override { module.startModule(); }

    ModuleHarness module;
};

TEST_F(PanelElementSettingsTest, QualityKeysChooseTheDrawingModes) {
    const Screen defaults = loaded("");
    EXPECT_EQ(defaults.smoothingMode, PanelElement::kSmoothingAntiAlias);
    EXPECT_EQ(defaults.textRenderingHint, PanelElement::kTextAntiAlias);
    EXPECT_EQ(defaults.pixelOffsetMode, PanelElement::kPixelOffsetHalf);
    EXPECT_EQ(defaults.compositingMode, PanelElement::kCompositingSourceOver);
    EXPECT_EQ(defaults.compositingQuality, PanelElement::kCompositingGammaCorrected);
    EXPECT_EQ(defaults.fpsPercent, 100);

    const Screen off = loaded("[GDI+]\nlineSmoothing=0\npixelOffsetMode=0\ncolorBlending=0\n"
                              "gammaCorrection=0\n[FPS]\npfd=40\n");
    EXPECT_EQ(off.smoothingMode, PanelElement::kSmoothingNone);
    EXPECT_EQ(off.pixelOffsetMode, PanelElement::kPixelOffsetNone);
    EXPECT_EQ(off.compositingMode, PanelElement::kCompositingSourceCopy);
    EXPECT_EQ(off.compositingQuality, PanelElement::kCompositingAssumeLinear);
    EXPECT_EQ(off.fpsPercent, 40);

    const struct {
        const char* text;
        int32_t hint;
    } hints[] = {{"7", 4}, {"-1", 4}, {"2", 2}, {"5", 5}, {"0", 0}, {"abc", 4}};
    for (const auto& h : hints) {
        EXPECT_EQ(
            loaded(std::string("[GDI+]\ntextRenderingHint=") + h.text + "\n").textRenderingHint,
            h.hint)
            << h.text;
    }
    EXPECT_EQ(loaded("[FPS]\npfd=250\n").fpsPercent, 100);
    EXPECT_EQ(loaded("[FPS]\npfd=-20\n").fpsPercent, 0);
    EXPECT_EQ(loaded("[FPS]\npfd=-99999999999\n").fpsPercent, 0);
}

int dueDraws(int32_t fpsPercent, int calls) {
    Screen screen;
    screen.fpsPercent = fpsPercent;
    platform::seedRandom(7);
    int due = 0;
    for (int i = 0; i < calls; ++i) {
        due += screen.isFrameDue() ? 1 : 0;
    }
    return due;
}

TEST(PanelElementTest, TheThrottlePaintsItsShareOfDraws) {
    EXPECT_EQ(dueDraws(0, 2000), 0);
    EXPECT_EQ(dueDraws(-10, 2000), 0);
    const int full = dueDraws(100, 10000);
    EXPECT_LT(full, 10000) << "the draw whose draw is a multiple of 100 is skipped";
    EXPECT_GT(full, 9800);
    EXPECT_NEAR(dueDraws(40, 10000), 4000, 300);
}

TEST(PanelElementTest, LogicalSizesOfTheSlots) {
    EXPECT_EQ(PanelElement::logicalSize(kPfdLeft).height, 476.0f);
    EXPECT_EQ(PanelElement::logicalSize(kRmuRight).width, 180.0f);
    EXPECT_EQ(PanelElement::logicalSize(kCduDisplay).width, 370.0f);
    EXPECT_EQ(PanelElement::logicalSize(kClockRight).height, 134.0f);
    EXPECT_EQ(PanelElement::logicalSize(12).width, 0.0f);
}

} // namespace
} // namespace tavi::test
