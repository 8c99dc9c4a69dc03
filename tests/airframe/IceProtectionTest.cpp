// Ice protection on the stand-in simulator: icing conditions and ice speeds, the ice detectors
// and their test, the anti-ice override, the simulator's engine anti-ice, structural deice and
// pitot heat, the probe heaters and the EICAS messages 47 to 60.
#include "support/PneumaticBench.h"

#include <gtest/gtest.h>
#include <vector>

namespace tavi::test {
namespace {

constexpr uint32_t kEngine1AntiIce = 0x103B8;
constexpr uint32_t kEngine2AntiIce = 0x103B9;
constexpr uint32_t kPitotHeatOn = 0x10218;
constexpr uint32_t kPitotHeatOff = 0x10219;
constexpr uint32_t kStructuralDeiceToggle = 0x10321;
constexpr int kPitotHeatToken = 13;
constexpr int kStructuralDeiceToken = 905;

class IceBench : public PneumaticBench {
public:
    using PneumaticBench::PneumaticBench;

    void weather(float totalAirTemperature, double precipitationState) {
        adc().totalAirTemperature = totalAirTemperature;
        panel().setVariable("AMBIENT PRECIP STATE", 0, precipitationState);
    }
    // Icing weather, checked in the next frame.
    void icing() {
        weather(0.0f, 4.0);
        step();
    }
    void groundSpeed(float knots) { aircraft().gps()->groundSpeed = knots; }
    // The simulator's engine anti-ice has followed the events sent.
    void engineAntiIce(bool on) { engine1.antiIceOn = engine2.antiIceOn = on; }
    // The data of every event of the id sent since the last clear.
    std::vector<uint32_t> sent(uint32_t eventId) {
        std::vector<uint32_t> values;
        for (const sim::KeyEvent& event : panel().keyEventsSent()) {
            if (event.eventId == eventId) {
                values.push_back(event.value);
            }
        }
        return values;
    }
};

TEST(IceProtectionTest, IcingNeedsAtMost10DegreesAndPrecipitationState4) {
    const struct {
        float tat;
        double precipitation;
        bool icing;
    } rows[] = {{10.0f, 4.0, true}, {10.5f, 4.0, false}, {-20.0f, 3.0, false}, {5.0f, 7.9, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.tat << " " << row.precipitation);
        IceBench bench;
        Pneumatic& pneumatic = bench.pneumatic();
        // A frame before the start runs no check; the first started frame does.
        pneumatic.started = false;
        pneumatic.lastIcingCheck = 0;
        bench.weather(row.tat, row.precipitation);
        bench.step();
        EXPECT_FALSE(pneumatic.icingConditions);
        EXPECT_EQ(pneumatic.lastIcingCheck, 0u);
        bench.step();
        EXPECT_EQ(pneumatic.lastIcingCheck, bench.now());
        EXPECT_EQ(pneumatic.icingConditions, row.icing);
        EXPECT_EQ(pneumatic.iceSpeeds, row.icing);
        EXPECT_EQ(bench.text(54), row.icing ? "SPS/ICE SPEEDS" : "");
        EXPECT_EQ(bench.text(60), row.icing ? "ICE CONDITION" : "");
    }
}

TEST(IceProtectionTest, IcingIsCheckedEveryFrameAndIceSpeedsStay) {
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    bench.icing();
    ASSERT_TRUE(pneumatic.iceSpeeds);
    bench.weather(20.0f, 0.0);
    bench.step();
    EXPECT_EQ(pneumatic.lastIcingCheck, bench.now());
    EXPECT_FALSE(pneumatic.icingConditions);
    EXPECT_EQ(bench.message(60), nullptr);
    EXPECT_TRUE(pneumatic.iceSpeeds);
    EXPECT_EQ(bench.text(54), "SPS/ICE SPEEDS");
}

TEST(IceProtectionTest, IceSpeedsAreResetOnTheGroundOnly) {
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    bench.icing();
    bench.weather(20.0f, 0.0);
    bench.airborne();
    pneumatic.resetIceSpeeds(bench.aircraft());
    bench.step();
    EXPECT_TRUE(pneumatic.iceSpeeds);
    EXPECT_EQ(bench.text(54), "SPS/ICE SPEEDS");

    bench.onGround(true);
    pneumatic.resetIceSpeeds(bench.aircraft());
    bench.step();
    EXPECT_FALSE(pneumatic.iceSpeeds);
    EXPECT_FALSE(pneumatic.iceSpeedsChanged) << "cleared once the message was re-evaluated";
    EXPECT_EQ(bench.message(54), nullptr);
}

// With ice detected pack 1 runs whatever its button says, up to 26400 ft.
TEST(IceProtectionTest, IceOpensPack1UpTo26400Feet) {
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.pack2Switch = true;
    bench.airborne();
    bench.adc().indicatedAltitude = 20000.0f;
    ASSERT_EQ(bench.text(46), "PACK 1 VLV CLSD");
    bench.icing();
    EXPECT_TRUE(pneumatic.pack1ValveOpen);
    EXPECT_EQ(bench.message(46), nullptr);

    bench.adc().indicatedAltitude = 26500.0f;
    bench.step();
    EXPECT_FALSE(pneumatic.pack1ValveOpen);
    EXPECT_EQ(bench.text(46), "PACK 1 VLV CLSD");
}

// What the anti-ice override knob asks of the engines and of the wing and stabiliser.
struct OverrideCase {
    const char* name;
    int32_t knob;
    bool ice;
    bool onGround;
    float groundSpeed;
    bool engines;
    bool airframe;
};

constexpr int32_t kEngines = Pneumatic::kOverrideEngines;
constexpr int32_t kIceOverrideAuto = Pneumatic::kOverrideAuto;
constexpr int32_t kAll = Pneumatic::kOverrideAll;

// clang-format off
constexpr OverrideCase kOverrideCases[] = {
    {"AutoWithIceTaxiingSlowly",      kIceOverrideAuto,    true,  true,   20.0f, false, false},
    {"AutoWithIceAt25Knots",          kIceOverrideAuto,    true,  true,   25.0f, true,  true},
    {"AutoWithoutIceInFlight",        kIceOverrideAuto,    false, false, 250.0f, false, false},
    {"AutoWithIceInFlight",           kIceOverrideAuto,    true,  false, 250.0f, true,  true},
    {"AllOnTheGroundBelow25Knots",    kAll,     false, true,   20.0f, true,  false},
    {"AllOnTheGroundAt25Knots",       kAll,     false, true,   25.0f, true,  true},
    {"AllInFlightAtAnySpeed",         kAll,     false, false,  10.0f, true,  true},
    {"EnginesWithoutIce",             kEngines, false, false, 250.0f, true,  false},
    {"EnginesWithIceAt30Knots",       kEngines, true,  true,   30.0f, true,  true},
    {"EnginesWithIceBelow25Knots",    kEngines, true,  true,   20.0f, true,  false},
};
// clang-format on

class AntiIceOverrideTest : public testing::TestWithParam<OverrideCase> {};

TEST_P(AntiIceOverrideTest, TheKnobDecidesTheAntiIce) {
    const OverrideCase& row = GetParam();
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.antiIceOverrideKnob = row.knob;
    bench.onGround(row.onGround);
    bench.groundSpeed(row.groundSpeed);
    if (row.ice) {
        bench.icing();
    }
    // The simulator stands the other way, so the engines must be told.
    bench.engineAntiIce(!row.engines);
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_EQ(pneumatic.wingAntiIceOn, row.airframe);
    EXPECT_EQ(pneumatic.stabAntiIceOn, row.airframe);
    const std::vector<uint32_t> expected{row.engines ? 1u : 0u};
    EXPECT_EQ(bench.sent(kEngine1AntiIce), expected);
    EXPECT_EQ(bench.sent(kEngine2AntiIce), expected);
    EXPECT_EQ(bench.panel().token(kStructuralDeiceToken), row.airframe ? 1.0 : 0.0);

    // Once the simulator agrees nothing more is sent.
    bench.engineAntiIce(row.engines);
    bench.panel().clearKeyEventsSent();
    bench.step(3);
    EXPECT_TRUE(bench.sent(kEngine1AntiIce).empty());
    EXPECT_TRUE(bench.sent(kStructuralDeiceToggle).empty());
}

INSTANTIATE_TEST_SUITE_P(Override, AntiIceOverrideTest, testing::ValuesIn(kOverrideCases),
                         [](const testing::TestParamInfo<OverrideCase>& info) {
                             return std::string(info.param.name);
                         });

// The engine buttons decide whether the valves count as open, not whether the simulator's
// engine anti-ice runs.
TEST(IceProtectionTest, EngineButtonsDecideTheValvesAndTheirLights) {
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.antiIceOverrideKnob = Pneumatic::kOverrideEngines;
    pneumatic.engine1AntiIceSwitch = false;
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_EQ(bench.sent(kEngine1AntiIce), std::vector<uint32_t>{1u});
    bench.engineAntiIce(true);
    bench.electric.annunciatorPower = true;
    bench.step();
    EXPECT_FALSE(pneumatic.engine1AntiIceValveOpen());
    EXPECT_TRUE(pneumatic.engine2AntiIceValveOpen());
    EXPECT_FALSE(pneumatic.engine1AntiIceLight());
    EXPECT_TRUE(pneumatic.engine2AntiIceLight());
    EXPECT_TRUE(pneumatic.anyAntiIceOn());
    EXPECT_EQ(bench.text(47), "A/ICE SWITCH OFF");

    bench.electric.annunciatorPower = false;
    bench.step();
    EXPECT_FALSE(pneumatic.engine2AntiIceLight());
}

TEST(IceProtectionTest, AntiIceInFlightWithoutIceIsACaution) {
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    bench.airborne();
    pneumatic.antiIceOverrideKnob = Pneumatic::kOverrideEngines;
    bench.step();
    EXPECT_EQ(bench.message(53), nullptr) << "the simulator has not followed yet";
    bench.engineAntiIce(true);
    bench.step();
    const EicasMessage* posted = bench.message(53);
    ASSERT_NE(posted, nullptr);
    EXPECT_EQ(posted->text, "NO ICE-A/ICE ON");
    EXPECT_EQ(posted->level, kEicasCaution);

    pneumatic.engine1AntiIceSwitch = pneumatic.engine2AntiIceSwitch = false;
    bench.step();
    EXPECT_EQ(bench.message(53), nullptr);
}

// Auto in icing by the GPS ground speed; a GPS without power keeps its last reading, and then
// the aircraft counts as moving in the air and standing on the ground.
TEST(IceProtectionTest, AutoTakesNoGroundSpeedFromADeadGps) {
    const struct {
        const char* name;
        bool onGround;
        bool gpsUnpowered;
        float gpsKnots;
        bool antiIce;
    } rows[] = {{"TaxiingWithAWorkingGps", true, false, 30.0f, true},
                {"StandingWithADeadGps", true, true, 140.0f, false},
                {"FlyingWithADeadGps", false, true, 0.0f, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        IceBench bench;
        Pneumatic& pneumatic = bench.pneumatic();
        if (!row.onGround) {
            bench.airborne();
        }
        bench.groundSpeed(row.gpsKnots);
        bench.aircraft().gps()->unpowered = row.gpsUnpowered;
        bench.icing();
        EXPECT_EQ(pneumatic.wingAntiIceOn, row.antiIce);
        EXPECT_EQ(bench.sent(kEngine1AntiIce), std::vector<uint32_t>(row.antiIce ? 1 : 0, 1u));
    }
}

// In flight into icing and out again, knob at Auto, both engines bleeding, pack 1 off.
TEST(IceProtectionTest, FlyingThroughIcing) {
    IceBench bench("[Startup]\nstartupMode=2\n");
    Pneumatic& pneumatic = bench.pneumatic();
    bench.runEngine(bench.engine1, 80.0f);
    bench.runEngine(bench.engine2, 80.0f);
    bench.groundSpeed(250.0f);
    bench.adc().indicatedAltitude = 15000.0f;
    pneumatic.pack1Switch = false;
    bench.airborne();
    bench.step();
    bench.weather(5.0f, 4.0);
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_EQ(bench.text(54), "SPS/ICE SPEEDS");
    EXPECT_EQ(bench.text(60), "ICE CONDITION");
    EXPECT_EQ(bench.sent(kEngine1AntiIce), std::vector<uint32_t>{1u});
    EXPECT_EQ(bench.sent(kEngine2AntiIce), std::vector<uint32_t>{1u});
    EXPECT_EQ(bench.sent(kStructuralDeiceToggle).size(), 1u);
    EXPECT_TRUE(pneumatic.pack1ValveOpen);
    EXPECT_EQ(bench.message(45), nullptr) << "the bleed air was chosen before the anti-ice";
    bench.engineAntiIce(true);
    bench.step();
    EXPECT_EQ(bench.text(45), "CROSS BLD OPEN") << "two engines share their air for the anti-ice";
    EXPECT_EQ(bench.panel().token(kStructuralDeiceToken), 1.0);

    // Out of icing in the next frame. Auto switches the anti-ice off at once, and the frame
    // before the simulator's engine anti-ice follows raises no caution.
    bench.weather(5.0f, 0.0);
    bench.panel().clearKeyEventsSent();
    bench.scenario.eicas().acknowledgeCautions();
    bench.step();
    EXPECT_FALSE(pneumatic.icingConditions);
    EXPECT_EQ(bench.message(60), nullptr);
    EXPECT_EQ(bench.sent(kEngine1AntiIce), std::vector<uint32_t>{0u});
    EXPECT_EQ(bench.sent(kStructuralDeiceToggle).size(), 1u);
    EXPECT_EQ(bench.message(53), nullptr);
    EXPECT_FALSE(bench.scenario.eicas().cautionLatched);
    bench.engineAntiIce(false);
    bench.step();
    EXPECT_EQ(bench.message(53), nullptr);
    EXPECT_EQ(bench.message(45), nullptr);
    EXPECT_EQ(bench.panel().token(kStructuralDeiceToken), 0.0);
    EXPECT_EQ(bench.text(54), "SPS/ICE SPEEDS");
}

TEST(IceProtectionTest, Detector1TestShowsIceAndAColdBleedFrom10To20Seconds) {
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    bench.engine1.n2Percent = 85.0f;
    bench.scenario.request("TaviIceTestDec");
    bench.step();
    ASSERT_EQ(pneumatic.iceDetectionTestKnob, Pneumatic::kTestSystem1);
    const uint32_t testStart = pneumatic.iceTest1Start;
    EXPECT_EQ(testStart, bench.now());
    bench.step();
    EXPECT_EQ(bench.text(60), "ICE CONDITION");
    EXPECT_EQ(bench.text(59), "ICE DET 1 FAIL");
    EXPECT_EQ(bench.message(58), nullptr);

    while (bench.now() - testStart < 10001) {
        ASSERT_EQ(bench.message(41), nullptr);
        bench.step();
    }
    EXPECT_EQ(bench.text(41), "BLD 1 LOW TEMP");
    while (bench.now() - testStart <= 20000) {
        ASSERT_EQ(bench.text(41), "BLD 1 LOW TEMP");
        bench.step();
    }
    EXPECT_EQ(bench.message(41), nullptr);

    // Back to Off and to Sys 1 again restarts the test.
    bench.scenario.request("TaviIceTestInc");
    bench.step(2);
    EXPECT_EQ(bench.message(60), nullptr);
    EXPECT_EQ(bench.message(59), nullptr);
    pneumatic.setIceDetectionTest(bench.aircraft(), Pneumatic::kTestSystem1);
    const uint32_t restart = bench.now();
    bench.step();
    pneumatic.setIceDetectionTest(bench.aircraft(), Pneumatic::kTestSystem1);
    EXPECT_EQ(pneumatic.iceTest1Start, restart) << "holding the knob keeps the clock";
}

// Ice met within 20 s of a test that has already ended raises no bleed temperature caution.
TEST(IceProtectionTest, OnlyARunningTestShowsAColdBleed) {
    IceBench bench;
    bench.engine2.n2Percent = 85.0f;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.setIceDetectionTest(bench.aircraft(), Pneumatic::kTestSystem2);
    const uint32_t testStart = bench.now();
    bench.run(2.0);
    pneumatic.setIceDetectionTest(bench.aircraft(), Pneumatic::kTestOff);
    bench.icing();
    while (bench.now() - testStart <= 20000) {
        ASSERT_TRUE(pneumatic.iceDetected2);
        ASSERT_FALSE(pneumatic.bleed2LowTemp);
        bench.step();
    }
    EXPECT_EQ(bench.message(41), nullptr);
}

TEST(IceProtectionTest, Detector2TestWithoutDcBus1FailsBothDetectors) {
    IceBench bench;
    bench.power(Electric::kDcBus1, false);
    bench.pneumatic().setIceDetectionTest(bench.aircraft(), Pneumatic::kTestSystem2);
    bench.step(2);
    EXPECT_EQ(bench.text(58), "ICE DETECTORS FAIL");
    EXPECT_EQ(bench.text(59), "ICE DET 1-2 FAIL");
    EXPECT_EQ(bench.message(60), nullptr);
    EXPECT_FALSE(bench.pneumatic().iceDetected2);
}

TEST(IceProtectionTest, TheIceTestKnobStepsThroughItsNamedVariablesWithoutSpringingBack) {
    IceBench bench;
    sim::Panel& panel = bench.panel();
    EXPECT_EQ(panel.namedVariable("TaviIceTest"), 1.0);
    bench.scenario.request("TaviIceTestInc");
    bench.step();
    EXPECT_EQ(panel.namedVariable("TaviIceTestInc"), 0.0);
    EXPECT_EQ(bench.pneumatic().iceTest2Start, bench.now());
    bench.run(1.0);
    EXPECT_EQ(panel.namedVariable("TaviIceTest"), 2.0);
    bench.scenario.request("TaviIceTestInc");
    bench.step();
    EXPECT_EQ(panel.namedVariable("TaviIceTest"), 2.0);

    EXPECT_EQ(panel.namedVariable("TaviIceOvrd"), 1.0);
    for (const double expected : {0.0, 0.0}) {
        bench.scenario.request("TaviIceOvrdDec");
        bench.step();
        EXPECT_EQ(panel.namedVariable("TaviIceOvrd"), expected);
    }
    ASSERT_TRUE(bench.scenario.hasSounds());
    bench.scenario.sounds().stop(sounds::kKnobClick);
    bench.scenario.request("TaviIceOvrdInc");
    bench.step();
    EXPECT_EQ(panel.namedVariable("TaviIceOvrd"), 1.0);
    EXPECT_TRUE(bench.scenario.sounds().isPlaying(sounds::kKnobClick));
}

TEST(IceProtectionTest, ADeadDcBusFailsItsAntiIceAndWithIceWarns) {
    IceBench bench;
    bench.icing();
    ASSERT_EQ(bench.text(60), "ICE CONDITION");
    ASSERT_EQ(bench.message(51), nullptr);
    bench.power(Electric::kDcBus1, false);
    bench.step();
    EXPECT_EQ(bench.text(48), "E1 A/ICE FAIL");
    EXPECT_EQ(bench.text(49), "WG1-2 A/ICE FAIL");
    EXPECT_EQ(bench.message(50), nullptr);
    EXPECT_EQ(bench.text(59), "ICE DET 1 FAIL");
    EXPECT_EQ(bench.text(60), "ICE CONDITION") << "detector 2 still sees the ice";
    const EicasMessage* warning = bench.message(51);
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->text, "ICE COND-A/I INOP");
    EXPECT_EQ(warning->level, kEicasWarning);

    bench.power(Electric::kDcBus1, true);
    bench.power(Electric::kDcBus2, false);
    bench.step();
    EXPECT_EQ(bench.text(48), "E2 A/ICE FAIL");
    EXPECT_EQ(bench.text(50), "STAB A/ICE FAIL");
    EXPECT_EQ(bench.message(49), nullptr);
    EXPECT_EQ(bench.text(51), "ICE COND-A/I INOP");
}

TEST(IceProtectionTest, ProbeHeatersFailInTurnOnceAnEngineRuns) {
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.pitot1Switch = false;
    bench.step();
    EXPECT_EQ(bench.message(55), nullptr) << "no engine runs";
    bench.engine2.n2Percent = 61.0f;
    bench.step();
    const uint32_t since = bench.now();
    EXPECT_EQ(pneumatic.pitot1InopSince, since);
    EXPECT_EQ(bench.text(55), "PITOT 1 INOP");
    while (bench.now() - since < 2000) {
        ASSERT_EQ(bench.message(56), nullptr);
        bench.step();
    }
    EXPECT_EQ(bench.text(56), "AOA 1 HEAT INOP");
    bench.run(5.0);
    EXPECT_EQ(bench.message(57), nullptr) << "the TAT heater is not watched on the ground";
    bench.airborne();
    EXPECT_EQ(bench.text(57), "TAT 1 HEAT INOP");

    pneumatic.pitot2Switch = pneumatic.pitot3Switch = false;
    bench.step();
    EXPECT_EQ(bench.text(55), "PITOT 1-2-3 INOP");
    EXPECT_EQ(bench.text(56), "AOA 1 HEAT INOP");
    bench.scenario.enterPhase(kLandingPhase);
    EXPECT_EQ(bench.message(55), nullptr);
    EXPECT_EQ(bench.message(56), nullptr);
}

TEST(IceProtectionTest, TheSimulatorsPitotHeatFollowsTheThreeHeaters) {
    IceBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    EXPECT_EQ(bench.panel().token(kPitotHeatToken), 1.0);
    EXPECT_EQ(bench.sent(kPitotHeatOn).size(), 1u);
    EXPECT_TRUE(pneumatic.simPitotHeat);

    // Heater 3 alone keeps it on; without DC bus 2 it goes off.
    pneumatic.pitot1Switch = pneumatic.pitot2Switch = false;
    bench.step(2);
    EXPECT_EQ(bench.panel().token(kPitotHeatToken), 1.0);
    bench.power(Electric::kDcBus2, false);
    bench.step(2);
    EXPECT_EQ(bench.panel().token(kPitotHeatToken), 0.0);
    EXPECT_EQ(bench.sent(kPitotHeatOff).size(), 1u);
}

} // namespace
} // namespace tavi::test
