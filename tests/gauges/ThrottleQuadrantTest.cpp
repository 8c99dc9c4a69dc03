#include "airframe/Fadec.h"
#include "airframe/JetEngine.h"
#include "airframe/Lights.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "avionics/Autopilot.h"
#include "avionics/Aws.h"
#include "avionics/FlightDirector.h"
#include "gauges/Gauges.h"
#include "platform/gfx/Surface.h"
#include "support/GaugeClicks.h"
#include "support/LoopbackSounds.h"
#include "support/ModuleHarness.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

constexpr uint32_t kLeftDrag = platform::kMouseLeftDrag;
constexpr uint32_t kRightDrag = platform::kMouseRightDrag;

// The throttle quadrant with the aircraft ready on the ground, engines running; the host has
// made the lever reference image `scale` times its design size and run a pre-update.
class ThrottleQuadrantTest : public testing::Test {
protected:
    ThrottleQuadrantTest() {
        module.writeIni("[Startup]\nstartupMode=2\n");
        module.startModule();
        for (int frame = 0; frame < 3; ++frame) {
            module.simulator.step();
        }
    }
    ~ThrottleQuadrantTest() override { reference().surface = nullptr; }

    static platform::GaugeElement& reference() {
        return throttleGauge.root.children.at(0).children.at(0);
    }

    void measureReference(int scale) {
        surface = std::make_unique<platform::gfx::Surface>(100 * scale, 100 * scale);
        reference().surface = surface.get();
        throttleGauge.callback(throttleGauge, platform::kServicePreUpdate, nullptr);
    }

    Fadec& fadec() { return *module.aircraft().fadec(); }
    Mechanisation& mechanisation() { return *module.aircraft().mechanisation(); }
    Autopilot& autopilot() { return *module.aircraft().autopilot(); }
    double value(const char* artwork) {
        platform::GaugeElement* element = findElement(throttleGauge, artwork);
        EXPECT_NE(element, nullptr) << artwork;
        return element ? elementValue(*element) : -1.0;
    }
    double offsetY(const char* artwork) {
        platform::GaugeElement* element = findElement(throttleGauge, artwork);
        return element && element->valueY ? element->valueY(*element) : -1.0;
    }
    bool hidden(const char* artwork) {
        offsetY(artwork);
        return (findElement(throttleGauge, artwork)->flags & platform::kImageHidden) != 0;
    }
    void light(int look) { module.aircraft().lights()->panelLighting = look; }

    ModuleHarness module;
    std::unique_ptr<platform::gfx::Surface> surface;
};

// Before the first pre-update has measured the reference image a drag has no scale: it is taken
// and moves nothing.
TEST_F(ThrottleQuadrantTest, DragsWaitForTheReferenceSize) {
    reference().surface = nullptr;
    throttleGauge.callback(throttleGauge, platform::kServicePreUpdate, nullptr);
    const float before = fadec().leverAngle[0];
    EXPECT_TRUE(mouseEvent(throttleGauge, 182, 130, kLeftDrag));
    EXPECT_TRUE(mouseEvent(throttleGauge, 40, 340, kLeftDrag));
    EXPECT_EQ(fadec().leverAngle[0], before);
    EXPECT_EQ(mechanisation().speedBrakeLever, 0.0f);
}

TEST_F(ThrottleQuadrantTest, LeftDragMovesBothLeversRightDragOnlyItsOwn) {
    measureReference(1);
    EXPECT_TRUE(mouseEvent(throttleGauge, 182, 130, kLeftDrag));
    EXPECT_EQ(fadec().leverAngle[0], 75.0f);
    EXPECT_EQ(fadec().leverAngle[1], 75.0f);
    EXPECT_EQ(offsetY("thrust lever 1"), -75.0);
    EXPECT_EQ(tooltipAt(throttleGauge, 182, 130), "Thrust Lever 1 (75.0°)");

    EXPECT_TRUE(mouseEvent(throttleGauge, 246, 270, kRightDrag));
    EXPECT_EQ(fadec().leverAngle[0], 75.0f);
    EXPECT_EQ(fadec().leverAngle[1], 34.375f) << "150 design pixels below the top";
    EXPECT_EQ(tooltipAt(throttleGauge, 246, 270), "Thrust Lever 2 (34.4°)");

    EXPECT_TRUE(mouseEvent(throttleGauge, 182, 390, platform::kMouseRightSingle));
    EXPECT_EQ(fadec().leverAngle[0], Fadec::kForwardIdleAngle) << "0, as low as the FADEC takes it";
    EXPECT_EQ(fadec().leverAngle[1], 34.375f);
}

// The pointer arrives in displayed pixels: a quadrant shown twice its size halves it.
TEST_F(ThrottleQuadrantTest, DragsScaleByTheReferenceImage) {
    measureReference(2);
    EXPECT_TRUE(mouseEvent(throttleGauge, 182, 121, platform::kMouseLeftSingle));
    const platform::MouseControl* lever = platform::findControl(throttleGauge, 182, 121);
    ASSERT_NE(lever, nullptr);
    lever->areas.at(0).handler(10, 300, kLeftDrag);
    EXPECT_EQ(fadec().leverAngle[0], 34.375f);

    const platform::MouseControl* brake = platform::findControl(throttleGauge, 20, 300);
    ASSERT_NE(brake, nullptr);
    const struct {
        int y;
        float lever;
    } cases[] = {{4, 0.0f}, {64, 0.5f}, {124, 1.0f}, {160, 1.0f}};
    for (const auto& c : cases) {
        brake->areas.at(0).handler(10, c.y, kLeftDrag);
        EXPECT_EQ(mechanisation().speedBrakeLever, c.lever) << c.y;
    }
    EXPECT_EQ(tooltipAt(throttleGauge, 20, 300), "Speed Brake (100%)");
    EXPECT_EQ(offsetY("speed brake"), 100.0);
}

TEST_F(ThrottleQuadrantTest, LeverImagesFollowTheAngle) {
    const struct {
        float angle;
        double offset;
    } cases[] = {{0.0f, 0.0}, {11.0f, -9.0}, {22.0f, -18.0}, {48.5f, -46.5}, {75.0f, -75.0}};
    for (const auto& c : cases) {
        fadec().leverAngle[1] = c.angle;
        EXPECT_DOUBLE_EQ(offsetY("thrust lever 2"), c.offset) << c.angle;
        EXPECT_DOUBLE_EQ(offsetY("thrust lever 2 lit"), c.offset) << c.angle;
    }
    EXPECT_FALSE(hidden("thrust lever 2"));
    EXPECT_TRUE(hidden("thrust lever 2 lit"));
    light(Lights::kFloodLit);
    EXPECT_TRUE(hidden("thrust lever 2"));
    EXPECT_FALSE(hidden("thrust lever 2 lit"));
    EXPECT_TRUE(hidden("speed brake"));
}

TEST_F(ThrottleQuadrantTest, ButtonsActOnTheirSystems) {
    module.simulator.panel.clearKeyEventsSent();
    EXPECT_TRUE(leftClick(throttleGauge, 270, 48));
    EXPECT_TRUE(fadec().takeoffCheckRequested());
    EXPECT_TRUE(leftClick(throttleGauge, 390, 380));
    EXPECT_TRUE(leftClick(throttleGauge, 390, 470));
    const auto& events = module.simulator.panel.keyEventsSent();
    EXPECT_NE(std::find(events.begin(), events.end(), sim::KeyEvent{0x100DF, 0}), events.end())
        << "upper half: flaps up";
    EXPECT_NE(std::find(events.begin(), events.end(), sim::KeyEvent{0x100DE, 0}), events.end())
        << "lower half: flaps down";

    const bool locked = fadec().throttleLock;
    EXPECT_TRUE(leftClick(throttleGauge, 86, 10)) << "on the lock lever's picture";
    EXPECT_NE(fadec().throttleLock, locked);
    EXPECT_EQ(tooltipAt(throttleGauge, 86, 10),
              fadec().throttleLock ? "Throttle Lock (Locked)" : "Throttle Lock (Free)");

    const float brake = mechanisation().parkingBrake;
    EXPECT_TRUE(leftClick(throttleGauge, 50, 460));
    EXPECT_NE(mechanisation().parkingBrake, brake);
    EXPECT_EQ(tooltipAt(throttleGauge, 50, 460),
              mechanisation().parkingBrake != 0.0f ? "Parking Brake (On)" : "Parking Brake (Off)");

    module.aircraft().flightDirector()->toggleFlightDirector1();
    EXPECT_TRUE(leftClick(throttleGauge, 120, 200));
    EXPECT_EQ(module.aircraft().flightDirector()->verticalMode(), FdVerticalMode::Toga);
}

TEST_F(ThrottleQuadrantTest, RatingButtonsOnBothGauges) {
    fadec().inputs.onGround = false;
    fadec().inputs.pressureAltitude = 8000.0f;
    module.aircraft().engine1()->combustion = true;
    module.aircraft().engine2()->combustion = true;
    const struct {
        const platform::GaugeHeader* gauge;
        int x;
        int y;
        int32_t rating;
        const char* tooltip;
    } cases[] = {
        {&throttleGauge, 290, 420, kCruiseRating, "CRZ Thrust Rating"},
        {&throttleGauge, 130, 420, kTakeoffRating, "T/O-1 Thrust Rating"},
        {&throttleGauge, 240, 420, kClimbRating, "CLB Thrust Rating"},
        {&thrustRatingGauge, 100, 20, kContinuousRating, "CON Thrust Rating"},
        {&thrustRatingGauge, 40, 20, kTakeoffRating, "T/O-1 Thrust Rating"},
        {&thrustRatingGauge, 210, 20, kCruiseRating, "CRZ Thrust Rating"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(leftClick(*c.gauge, c.x, c.y)) << c.tooltip;
        EXPECT_EQ(fadec().thrustRating, c.rating) << c.tooltip;
        EXPECT_EQ(tooltipAt(*c.gauge, c.x, c.y), c.tooltip);
    }
}

// The cover takes the right click, silently; the cut-out the left click, only with it open.
TEST_F(ThrottleQuadrantTest, ShakerCutoutsAreGuardedAndClick) {
    LoopbackSounds sounds;
    if (!sounds.install(module, {{46, 100}})) {
        GTEST_SKIP() << "no OpenAL loopback device";
    }
    Aws& aws = *module.aircraft().aws();
    EXPECT_TRUE(leftClick(throttleGauge, 130, 500));
    EXPECT_FALSE(autopilot().shaker1Cutout);
    EXPECT_FALSE(aws.isPlaying(46));
    EXPECT_EQ(value("stick shaker 1 cut-out"), 0.0);

    EXPECT_TRUE(rightClick(throttleGauge, 130, 500));
    EXPECT_FALSE(aws.isPlaying(46));
    EXPECT_EQ(value("stick shaker 1 cut-out"), 2.0) << "cover open";
    EXPECT_TRUE(leftClick(throttleGauge, 130, 500));
    EXPECT_TRUE(autopilot().shaker1Cutout);
    EXPECT_TRUE(aws.isPlaying(46));
    EXPECT_EQ(value("stick shaker 1 cut-out"), 3.0) << "cut-out lit, cover open";
    EXPECT_EQ(tooltipAt(throttleGauge, 130, 500), "Stick Shaker 1 (Off)");
    EXPECT_EQ(tooltipAt(throttleGauge, 230, 500), "Stick Shaker 2 (On)");
    light(Lights::kPanelLit);
    EXPECT_EQ(value("stick shaker 1 cut-out"), 7.0);
    EXPECT_EQ(value("stick shaker 2 cut-out"), 4.0) << "shaker 2's cover is its own";
    EXPECT_TRUE(rightClick(throttleGauge, 130, 500));
}

TEST_F(ThrottleQuadrantTest, IndicatorImagesByState) {
    mechanisation().flapHandleIndex = 2;
    EXPECT_EQ(value("flap indicator"), 2.0);
    mechanisation().parkingBrake = 1.0f;
    EXPECT_EQ(value("parking brake"), 1.0);
    fadec().throttleLock = false;
    EXPECT_EQ(value("lock mark"), 0.0);
    EXPECT_EQ(value("throttle lock"), 0.0);
    light(Lights::kPanelLit);
    EXPECT_EQ(value("flap indicator"), 7.0);
    EXPECT_EQ(value("parking brake"), 3.0);
    EXPECT_EQ(value("throttle lock"), 1.0);
    EXPECT_EQ(findElement(throttleGauge, "throttle lock")->flags & platform::kImageBright,
              platform::kImageBright);
    fadec().throttleLock = true;
    EXPECT_EQ(value("lock mark"), 2.0);
    EXPECT_EQ(value("throttle lock"), 2.0);
    light(Lights::kUnlit);
    EXPECT_EQ(value("lock mark"), 1.0);
}

TEST(ThrottleQuadrantReadinessTest, NothingActsBeforeTheAircraftIsReady) {
    ModuleHarness module;
    module.init();
    EXPECT_FALSE(leftClick(throttleGauge, 270, 48));
    EXPECT_FALSE(mouseEvent(throttleGauge, 182, 130, kLeftDrag));
    EXPECT_FALSE(leftClick(thrustRatingGauge, 40, 20));
    EXPECT_EQ(tooltipAt(throttleGauge, 50, 460), "") << "no position to name yet";
    EXPECT_EQ(tooltipAt(throttleGauge, 182, 130), "Thrust Lever 1 (0.0°)");
    EXPECT_EQ(elementValue(*findElement(throttleGauge, "flap indicator")), 0.0);
}

} // namespace
} // namespace tavi::test
