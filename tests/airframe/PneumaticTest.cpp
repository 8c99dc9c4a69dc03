// Bleed air and air conditioning on the stand-in simulator: sources and cross bleed, bleed
// temperatures, duct pressures, packs with their sounds, cabin temperatures, the gasper fan,
// the EICAS messages 41 to 46, the cross bleed knob's named variables and the loads.
#include "support/PneumaticBench.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <utility>

namespace tavi::test {
namespace {

// N1 75 gives the top of the duct pressure range, N1 47.5 its middle.
constexpr float kHighN1 = 75.0f;
constexpr float kMiddleN1 = 47.5f;

// Which sources feed which side, and the duct pressures they make. Engine 1 runs at N1 75
// (own duct 48 psi, both ducts 46 psi), engine 2 at N1 47.5 (42 and 41 psi); the APU makes 40
// psi into side 1 alone and 38 psi into both.
struct SourceCase {
    const char* name;
    int32_t knob;
    bool engine1;
    bool engine2;
    bool apu;
    bool engine2Starting;
    bool starter1;
    bool starter2;
    bool airborne;
    bool side1;
    bool side2;
    bool open;
    bool apuValve;
    float target1;
    float target2;
    // Degrees the duct sensors settle at, 0 outside: an engine's air at idle 220, the APU's 200.
    float temperature1;
    float temperature2;
};

constexpr int32_t kClosed = Pneumatic::kCrossBleedClosed;
constexpr int32_t kCrossBleedAuto = Pneumatic::kCrossBleedAuto;
constexpr int32_t kOpen = Pneumatic::kCrossBleedOpen;

// clang-format off
constexpr SourceCase kSourceCases[] = {
    //                                            knob    E1     E2     APU    start2 str1   str2   air    side1  side2  open   apuV   t1     t2     temp1  temp2
    {"AutoApuAloneFeedsSide1",                    kCrossBleedAuto,  false, false, true,  false, false, false, false, true,  false, false, true,  40.0f,  0.0f, 200.0f, 0.0f},
    {"AutoApuFeedsTheEngine2Start",               kCrossBleedAuto,  false, false, true,  true,  false, false, false, true,  true,  true,  true,  38.0f, 38.0f, 200.0f, 200.0f},
    {"AutoStarter2DrawsBothDuctsSlow",            kCrossBleedAuto,  false, false, true,  true,  false, true,  false, true,  true,  true,  true,  30.0f, 23.0f, 200.0f, 200.0f},
    {"AutoStarter2DrawsLessAbove100Knots",        kCrossBleedAuto,  false, false, true,  true,  false, true,  true,  true,  true,  true,  true,  33.0f, 29.0f, 200.0f, 200.0f},
    {"AutoEngine1AloneFeedsBoth",                 kCrossBleedAuto,  true,  false, false, false, false, false, false, true,  true,  true,  false, 46.0f, 46.0f, 220.0f, 220.0f},
    {"AutoEngine2AloneFeedsBoth",                 kCrossBleedAuto,  false, true,  false, false, false, false, false, true,  true,  true,  false, 41.0f, 41.0f, 220.0f, 220.0f},
    {"AutoTwoEnginesKeepTheirSides",              kCrossBleedAuto,  true,  true,  false, false, false, false, false, true,  true,  false, false, 48.0f, 42.0f, 220.0f, 220.0f},
    {"AutoAnEngineClosesTheApuValve",             kCrossBleedAuto,  true,  false, true,  false, false, false, false, true,  true,  true,  false, 46.0f, 46.0f, 220.0f, 220.0f},
    {"OpenApuFeedsBoth",                          kOpen,  false, false, true,  false, false, false, false, true,  true,  true,  true,  38.0f, 38.0f, 200.0f, 200.0f},
    {"OpenTwoEnginesKeepTheirPressures",          kOpen,  true,  true,  false, false, false, false, false, true,  true,  true,  false, 48.0f, 42.0f, 220.0f, 220.0f},
    {"OpenEngine1AndApu",                         kOpen,  true,  false, true,  false, false, false, false, true,  true,  true,  false, 46.0f, 46.0f, 220.0f, 220.0f},
    {"ClosedApuFeedsSide1Engine2Side2",           kClosed,false, true,  true,  false, false, false, false, true,  true,  false, true,  40.0f, 42.0f, 200.0f, 220.0f},
    {"ClosedEngine1FeedsOnlySide1",               kClosed,true,  false, false, false, false, false, false, true,  false, false, false, 48.0f,  0.0f, 220.0f, 0.0f},
    {"ClosedEngine1ShutsTheApuValve",             kClosed,true,  false, true,  false, false, false, false, true,  false, false, false, 48.0f,  0.0f, 220.0f, 0.0f},
    {"ClosedStarter1DrawsTheDeadDuctBelowZero",   kClosed,false, false, true,  false, true,  false, false, true,  false, false, true,  25.0f, -8.0f, 200.0f, 0.0f},
    {"NothingBleeds",                             kCrossBleedAuto,  false, false, false, false, false, false, false, false, false, false, false, 0.0f,  0.0f, 0.0f, 0.0f},
};
// clang-format on

class PneumaticSourceTest : public testing::TestWithParam<SourceCase> {};

TEST_P(PneumaticSourceTest, SourcesFeedTheSides) {
    const SourceCase& row = GetParam();
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.crossBleedKnob = row.knob;
    pneumatic.bleed1Switch = pneumatic.bleed2Switch = true;
    pneumatic.apuBleedSwitch = row.apu;
    bench.apu(row.apu);
    if (row.engine1) {
        bench.runEngine(bench.engine1, kHighN1);
    }
    if (row.engine2) {
        bench.runEngine(bench.engine2, kMiddleN1);
    }
    bench.engine2.startActive = row.engine2Starting;
    bench.engine1.starterEngaged = row.starter1;
    bench.engine2.starterEngaged = row.starter2;
    if (row.airborne) {
        bench.airborne();
    }
    bench.step(2);

    EXPECT_EQ(pneumatic.side1Supplied, row.side1);
    EXPECT_EQ(pneumatic.side2Supplied, row.side2);
    EXPECT_EQ(pneumatic.crossBleedOpen, row.open);
    EXPECT_EQ(pneumatic.apuBleedValveOpen, row.apuValve);
    EXPECT_FLOAT_EQ(pneumatic.ductPressureTarget1, row.target1);
    EXPECT_FLOAT_EQ(pneumatic.ductPressureTarget2, row.target2);
    EXPECT_GE(pneumatic.ductPressure2, 0.0f) << "a duct holds no vacuum";

    // A duct's sensor reads the air of whatever supplies the duct, and the outside air otherwise.
    bench.run(40.0);
    EXPECT_FLOAT_EQ(pneumatic.bleedTemperature1, row.temperature1);
    EXPECT_FLOAT_EQ(pneumatic.bleedTemperature2, row.temperature2);
}

INSTANTIATE_TEST_SUITE_P(CrossBleed, PneumaticSourceTest, testing::ValuesIn(kSourceCases),
                         [](const testing::TestParamInfo<SourceCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(PneumaticTest, AnEngineBleedsOnlyWithItsButtonOn) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.bleed1Switch = false;
    pneumatic.bleed2Switch = true;
    bench.runEngine(bench.engine1, kHighN1);
    bench.step(2);
    EXPECT_FALSE(pneumatic.side1Supplied);
    EXPECT_FALSE(pneumatic.side2Supplied);
    EXPECT_FLOAT_EQ(pneumatic.ductPressureTarget1, 0.0f);

    pneumatic.bleed1Switch = true;
    bench.step();
    EXPECT_TRUE(pneumatic.side1Supplied);
    EXPECT_TRUE(pneumatic.side2Supplied);
}

// The bleed air temperature an engine settles at for its thrust lever.
struct BleedTemperatureCase {
    float lever;
    float temperature;
};

constexpr BleedTemperatureCase kBleedTemperatureCases[] = {
    {0.0f, 220.0f},
    {0.1f, 240.0f},
    {0.2f, 260.0f},
    {0.6f, 280.0f},
    {1.0f, 300.0f},
    // A lever in reverse counts by its travel.
    {-0.6f, 280.0f},
};

TEST(PneumaticTest, EngineBleedTemperatureFollowsTheThrustLever) {
    for (const BleedTemperatureCase& row : kBleedTemperatureCases) {
        SCOPED_TRACE(row.lever);
        PneumaticBench bench;
        Pneumatic& pneumatic = bench.pneumatic();
        pneumatic.bleed1Switch = true;
        bench.runEngine(bench.engine1, kHighN1);
        bench.engine1.throttleLever = row.lever;
        bench.run(30.0);
        EXPECT_FLOAT_EQ(pneumatic.bleedTemperature1, row.temperature);
        EXPECT_FLOAT_EQ(pneumatic.bleedTemperature2, row.temperature)
            << "engine 1's air reaches side 2 through the cross bleed";
    }
}

TEST(PneumaticTest, BleedAirWarmsAt15AndCoolsAt10DegreesASecond) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    ASSERT_FLOAT_EQ(pneumatic.bleedTemperature1, 0.0f);
    pneumatic.apuBleedSwitch = true;
    bench.apu(true);
    pneumatic.crossBleedKnob = Pneumatic::kCrossBleedOpen;
    uint32_t start = bench.now();
    bench.run(2.0);
    EXPECT_NEAR(pneumatic.bleedTemperature1, 15.0f * (bench.now() - start) / 1000.0f, 1e-3f);
    EXPECT_NEAR(pneumatic.bleedTemperature2, pneumatic.bleedTemperature1, 1e-3f)
        << "through the open cross bleed the APU's air reaches both sides";
    bench.run(20.0);
    ASSERT_FLOAT_EQ(pneumatic.bleedTemperature1, 200.0f);

    // With the knob at Closed the APU heats side 1 only.
    pneumatic.crossBleedKnob = Pneumatic::kCrossBleedClosed;
    bench.adc().totalAirTemperature = -20.0f;
    start = bench.now();
    bench.run(2.0);
    EXPECT_FLOAT_EQ(pneumatic.bleedTemperature1, 200.0f);
    EXPECT_NEAR(pneumatic.bleedTemperature2, 200.0f - 10.0f * (bench.now() - start) / 1000.0f,
                1e-3f);
    bench.run(30.0);
    EXPECT_FLOAT_EQ(pneumatic.bleedTemperature2, -20.0f);
}

// Before the first frame with time the temperatures are set, not moved.
TEST(PneumaticTest, BeforeTheStartTemperaturesTakeTheirSettledValues) {
    PneumaticBench bench("[Startup]\nstartupMode=2\n");
    Pneumatic& pneumatic = bench.pneumatic();
    bench.runEngine(bench.engine1, kHighN1);
    bench.adc().totalAirTemperature = -30.0f;
    pneumatic.started = false;
    pneumatic.crossBleedKnob = Pneumatic::kCrossBleedClosed;
    bench.step();
    const float seconds = bench.aircraft().frameDeltaMs / 1000.0f;
    EXPECT_FLOAT_EQ(pneumatic.bleedTemperature1, 200.0f + 15.0f * seconds);
    EXPECT_FLOAT_EQ(pneumatic.bleedTemperature2, -30.0f);
    EXPECT_FLOAT_EQ(pneumatic.cabinTemperature, 23.0f);
    EXPECT_FLOAT_EQ(pneumatic.cockpitTemperature, 24.0f);
    EXPECT_TRUE(pneumatic.started);

    // Without bleed air the cabin starts at the outside air, limited to -10..30 degrees.
    bench.combustion(bench.engine1, false);
    pneumatic.started = false;
    bench.step();
    const float share = 0.05f * bench.aircraft().frameDeltaMs / 1000.0f;
    EXPECT_NEAR(pneumatic.cabinTemperature, -10.0f - 20.0f * share, 1e-3f);
}

TEST(PneumaticTest, DuctPressureFallsAt10PsiASecondAndRisesToItsTarget) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.ductPressure1 = 32.0f;
    uint32_t start = bench.now();
    while (pneumatic.ductPressure1 > 0.0f) {
        const float expected = 32.0f - 10.0f * (bench.now() - start) / 1000.0f;
        ASSERT_NEAR(pneumatic.ductPressure1, expected, 1e-3f);
        bench.step();
    }
    EXPECT_NEAR(bench.now() - start, 3200u, 56u);

    pneumatic.apuBleedSwitch = true;
    bench.apu(true);
    start = bench.now();
    bench.run(2.0);
    EXPECT_NEAR(pneumatic.ductPressure1, 10.0f * (bench.now() - start) / 1000.0f, 1e-3f);
    bench.run(2.1);
    EXPECT_FLOAT_EQ(pneumatic.ductPressure1, 40.0f) << "an upward step stops at the target";
}

// A falling duct may pass its target by part of a step; the next frame settles it.
TEST(PneumaticTest, AFallingDuctSettlesOnItsTarget) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.apuBleedSwitch = true;
    bench.apu(true);
    bench.run(5.0);
    ASSERT_FLOAT_EQ(pneumatic.ductPressure1, 40.0f);
    bench.engine1.starterEngaged = true;
    bench.run(2.0);
    EXPECT_FLOAT_EQ(pneumatic.ductPressureTarget1, 25.0f);
    EXPECT_FLOAT_EQ(pneumatic.ductPressure1, 25.0f);
    EXPECT_FLOAT_EQ(pneumatic.ductPressure2, 0.0f);
}

TEST(PneumaticTest, TheCabinApproachesItsSelectionWithATimeConstantOf20Seconds) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.apuBleedSwitch = true;
    bench.apu(true);
    pneumatic.cabinTemperature = 23.0f;
    pneumatic.cockpitTemperature = 24.0f;
    pneumatic.setCabinTemperature(29.0f);
    bench.run(13.9);
    EXPECT_NEAR(pneumatic.cabinTemperature, 26.0f, 0.05f);
    EXPECT_FLOAT_EQ(pneumatic.cockpitTemperature, 24.0f);

    // Without bleed air both drift toward the outside air.
    bench.apu(false);
    bench.adc().totalAirTemperature = 4.0f;
    bench.run(13.9);
    EXPECT_NEAR(pneumatic.cockpitTemperature, 14.0f, 0.05f);
}

TEST(PneumaticTest, TheSelectorsStayWithin18And29Degrees) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float value;
        float selected;
    } rows[] = {{17.0f, 18.0f}, {30.0f, 29.0f}, {22.5f, 22.5f}, {nan, 22.5f}};
    for (const auto& row : rows) {
        pneumatic.setCabinTemperature(row.value);
        pneumatic.setCockpitTemperature(row.value);
        EXPECT_FLOAT_EQ(pneumatic.cabinTemperatureSelected, row.selected) << row.value;
        EXPECT_FLOAT_EQ(pneumatic.cockpitTemperatureSelected, row.selected) << row.value;
    }
}

TEST(PneumaticTest, TheGasperFanRunsOnTheGroundWhateverItsButtonSays) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.gasperFanSwitch = false;
    bench.step();
    EXPECT_TRUE(pneumatic.gasperFanRunning);
    bench.airborne();
    EXPECT_FALSE(pneumatic.gasperFanRunning);
    pneumatic.gasperFanSwitch = true;
    bench.step();
    EXPECT_TRUE(pneumatic.gasperFanRunning);
    bench.power(Electric::kDcBus2, false);
    bench.step();
    EXPECT_FALSE(pneumatic.gasperFanRunning);
}

TEST(PneumaticTest, WithoutEssentialBus1TheCrossBleedValveStaysAndFails) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    bench.power(Electric::kEssentialBus1, false);
    bench.scenario.request("TaviXbleedInc");
    bench.step(2);
    EXPECT_EQ(pneumatic.crossBleedKnob, Pneumatic::kCrossBleedOpen);
    EXPECT_EQ(pneumatic.crossBleedValve, Pneumatic::kCrossBleedAuto);
    EXPECT_EQ(bench.text(42), "CROSS BLD FAIL");

    bench.power(Electric::kEssentialBus1, true);
    bench.step();
    EXPECT_EQ(pneumatic.crossBleedValve, Pneumatic::kCrossBleedOpen);
    EXPECT_EQ(bench.message(42), nullptr);
}

TEST(PneumaticTest, ClosedCrossBleedWithTheBrakeReleasedUntilTheBrakeIsSet) {
    PneumaticBench bench;
    bench.pneumatic().crossBleedKnob = Pneumatic::kCrossBleedClosed;
    bench.runEngine(bench.engine1, kHighN1);
    bench.runEngine(bench.engine2, kHighN1);
    bench.step();
    EXPECT_EQ(bench.message(43), nullptr) << "the parking brake is set";

    bench.scenario.releaseParkingBrake();
    bench.step();
    const EicasMessage* posted = bench.message(43);
    ASSERT_NE(posted, nullptr);
    EXPECT_EQ(posted->text, "CROSS BLD SW OFF");
    EXPECT_EQ(posted->level, kEicasCaution);

    bench.aircraft().mechanisation()->parkingBrake = 1.0f;
    bench.step();
    EXPECT_EQ(bench.message(43), nullptr);
}

TEST(PneumaticTest, EngineBleedValvesClosedInFlightOutsideAStart) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.bleed1Switch = pneumatic.bleed2Switch = true;
    bench.airborne();
    ASSERT_EQ(bench.message(44), nullptr);
    pneumatic.bleed1Switch = false;
    bench.step();
    EXPECT_EQ(bench.text(44), "BLD 1 VLV CLSD");
    EXPECT_EQ(bench.message(44)->level, kEicasAdvisory);
    pneumatic.bleed2Switch = false;
    bench.step();
    EXPECT_EQ(bench.text(44), "BLD 1-2 VLV CLSD");
    bench.engine1.startActive = true;
    bench.step();
    EXPECT_EQ(bench.text(44), "BLD 2 VLV CLSD");

    // Held back during take-off and landing, back with the next phase.
    bench.scenario.enterPhase(kLandingPhase);
    EXPECT_EQ(bench.message(44), nullptr);
    bench.scenario.enterPhase(kAirbornePhase);
    EXPECT_EQ(bench.text(44), "BLD 2 VLV CLSD");
    bench.onGround(true);
    bench.engine1.startActive = false;
    bench.step();
    EXPECT_EQ(bench.message(44), nullptr);
}

TEST(PneumaticTest, OneEngineInAutoOpensTheCrossBleed) {
    PneumaticBench bench;
    bench.pneumatic().bleed1Switch = true;
    bench.runEngine(bench.engine1, kHighN1);
    bench.step();
    const EicasMessage* posted = bench.message(45);
    ASSERT_NE(posted, nullptr);
    EXPECT_EQ(posted->text, "CROSS BLD OPEN");
    EXPECT_EQ(posted->level, kEicasAdvisory);
    bench.scenario.enterPhase(kTakeoffPhase);
    EXPECT_EQ(bench.message(45), nullptr);
}

TEST(PneumaticTest, PackValvesClosedInFlight) {
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    pneumatic.pack1Switch = true;
    bench.step();
    EXPECT_EQ(bench.message(46), nullptr) << "not on the ground";
    bench.airborne();
    EXPECT_EQ(bench.text(46), "PACK 2 VLV CLSD");
    pneumatic.pack1Switch = false;
    bench.step();
    EXPECT_FALSE(pneumatic.pack1ValveOpen);
    EXPECT_EQ(bench.text(46), "PACK 1-2 VLV CLSD");
    pneumatic.pack1Switch = pneumatic.pack2Switch = true;
    bench.step();
    EXPECT_EQ(bench.message(46), nullptr);
}

class PackSoundTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bench.scenario.hasSounds());
        bench.pneumatic().apuBleedSwitch = true;
        bench.apu(true);
        bench.step();
    }

    int32_t volume() { return bench.scenario.aws().volume(Pneumatic::kPack1Sound); }
    bool playing() { return bench.scenario.sounds().isPlaying(Pneumatic::kPack1Sound); }

    PneumaticBench bench;
};

TEST_F(PackSoundTest, ARunningPackFadesInOverASecond) {
    EXPECT_FALSE(playing());
    bench.pneumatic().pack1Switch = true;
    bench.step();
    const uint32_t onTime = bench.pneumatic().pack1OnTime;
    EXPECT_EQ(onTime, bench.now());
    EXPECT_TRUE(playing());
    EXPECT_EQ(volume(), -10000);
    bench.step(5);
    EXPECT_EQ(volume(), static_cast<int32_t>((bench.now() - onTime) * 10) - 10000);
    bench.run(1.0);
    EXPECT_EQ(volume(), bench.scenario.aws().masterVolume());
    EXPECT_FALSE(bench.scenario.sounds().isPlaying(Pneumatic::kPack2Sound))
        << "pack 2's side has no air";
}

TEST_F(PackSoundTest, AStoppedPackFadesOutOverASecondAndFallsSilent) {
    bench.pneumatic().pack1Switch = true;
    bench.run(2.0);
    bench.pneumatic().pack1Switch = false;
    bench.step();
    const uint32_t offTime = bench.pneumatic().pack1OffTime;
    EXPECT_EQ(offTime, bench.now());
    EXPECT_EQ(volume(), bench.scenario.aws().masterVolume());
    bench.step(5);
    EXPECT_EQ(volume(), static_cast<int32_t>((1000 - (bench.now() - offTime)) * 10) - 10000);
    EXPECT_TRUE(playing());
    bench.run(1.0);
    EXPECT_EQ(volume(), -10000);
    EXPECT_FALSE(playing());
}

TEST_F(PackSoundTest, WithTheSimulatorsSoundOffThePackIsSilent) {
    bench.pneumatic().pack1Switch = true;
    bench.run(2.0);
    bench.scenario.module.simulator.simConnect.setSound(false);
    bench.step(2);
    EXPECT_EQ(volume(), -10000);
    EXPECT_TRUE(playing());
    bench.scenario.module.simulator.simConnect.setSound(true);
}

TEST(PneumaticTest, TheCrossBleedKnobStepsThroughItsNamedVariables) {
    PneumaticBench bench;
    sim::Panel& panel = bench.panel();
    EXPECT_EQ(panel.namedVariable("TaviXbleed"), 1.0);
    bench.scenario.request("TaviXbleedInc");
    bench.step();
    EXPECT_EQ(panel.namedVariable("TaviXbleedInc"), 0.0);
    EXPECT_EQ(panel.namedVariable("TaviXbleed"), 2.0);
    ASSERT_TRUE(bench.scenario.hasSounds());
    bench.scenario.sounds().stop(sounds::kKnobClick);

    // At its end the knob stays but still clicks.
    bench.scenario.request("TaviXbleedInc");
    bench.step();
    EXPECT_EQ(bench.pneumatic().crossBleedKnob, Pneumatic::kCrossBleedOpen);
    EXPECT_TRUE(bench.scenario.sounds().isPlaying(sounds::kKnobClick));

    for (const double expected : {1.0, 0.0, 0.0}) {
        bench.scenario.request("TaviXbleedDec");
        bench.step();
        EXPECT_EQ(panel.namedVariable("TaviXbleed"), expected);
    }
}

// The start-up state of the buttons, applied until the first frame with time.
struct PneumaticStartupCase {
    int32_t mode;
    bool windshields;
    bool bleedsAndPacks;
    bool apuBleed;
};

constexpr PneumaticStartupCase kStartupCases[] = {
    {0, false, false, false},
    {1, true, false, true},
    {2, true, true, false},
    {5, true, true, false},
};

TEST(PneumaticTest, StartupModesSetTheButtonsOnce) {
    for (const PneumaticStartupCase& row : kStartupCases) {
        SCOPED_TRACE(row.mode);
        PneumaticBench bench("[Startup]\nstartupMode=" + std::to_string(row.mode) + "\n");
        Pneumatic& pneumatic = bench.pneumatic();
        EXPECT_EQ(pneumatic.windshield1AntiIce, row.windshields);
        EXPECT_EQ(pneumatic.windshield2AntiIce, row.windshields);
        EXPECT_EQ(pneumatic.bleed1Switch, row.bleedsAndPacks);
        EXPECT_EQ(pneumatic.bleed2Switch, row.bleedsAndPacks);
        EXPECT_EQ(pneumatic.pack1Switch, row.bleedsAndPacks);
        EXPECT_EQ(pneumatic.pack2Switch, row.bleedsAndPacks);
        EXPECT_EQ(pneumatic.apuBleedSwitch, row.apuBleed);

        pneumatic.bleed1Switch = !row.bleedsAndPacks;
        bench.step();
        EXPECT_EQ(pneumatic.bleed1Switch, !row.bleedsAndPacks) << "the crew's choice stands";
    }
}

// What the bleed air and ice protection draw from each bus in a given state.
struct BleedLoadCase {
    const char* name;
    void (*set)(Pneumatic&, PneumaticBench&);
    float dcBus1;
    float dcBus2;
    float essentialBus1;
    float essentialBus2;
    float shedBus2;
};

void bare(Pneumatic& pneumatic, PneumaticBench&) {
    pneumatic.gasperFanRunning = pneumatic.recirculationSwitch = false;
    pneumatic.pack1ValveOpen = pneumatic.pack2ValveOpen = pneumatic.apuBleedValveOpen = false;
    pneumatic.pitot1Switch = pneumatic.pitot2Switch = pneumatic.pitot3Switch = false;
    pneumatic.wingAntiIceOn = pneumatic.stabAntiIceOn = false;
    pneumatic.windshield1AntiIce = pneumatic.windshield2AntiIce = false;
}

void everything(Pneumatic& pneumatic, PneumaticBench& bench) {
    pneumatic.gasperFanRunning = pneumatic.recirculationSwitch = true;
    pneumatic.pack1ValveOpen = pneumatic.pack2ValveOpen = pneumatic.apuBleedValveOpen = true;
    pneumatic.pitot1Switch = pneumatic.pitot2Switch = pneumatic.pitot3Switch = true;
    pneumatic.wingAntiIceOn = true;
    pneumatic.windshield1AntiIce = pneumatic.windshield2AntiIce = true;
    bench.engine1.combustion = bench.engine2.combustion = true;
    bench.engine1.antiIceOn = bench.engine2.antiIceOn = true;
}

void apuBleedOnly(Pneumatic& pneumatic, PneumaticBench& bench) {
    bare(pneumatic, bench);
    pneumatic.apuBleedValveOpen = true;
}

void pitot2Only(Pneumatic& pneumatic, PneumaticBench& bench) {
    bare(pneumatic, bench);
    pneumatic.pitot2Switch = true;
}

// clang-format off
const BleedLoadCase kLoadCases[] = {
    {"Bare",         bare,         20.0f, 25.0f,  5.0f,  0.0f, 0.0f},
    {"Everything",   everything,   45.0f, 60.0f, 15.0f, 10.0f, 5.0f},
    {"ApuBleedOnly", apuBleedOnly, 20.0f, 25.0f, 15.0f,  5.0f, 0.0f},
    {"Pitot2Only",   pitot2Only,   20.0f, 35.0f,  5.0f,  0.0f, 0.0f},
};
// clang-format on

class PneumaticLoadTest : public testing::TestWithParam<BleedLoadCase> {};

TEST_P(PneumaticLoadTest, LoadsFollowTheState) {
    const BleedLoadCase& row = GetParam();
    PneumaticBench bench;
    Pneumatic& pneumatic = bench.pneumatic();
    row.set(pneumatic, bench);
    BusLoads loads;
    pneumatic.addElectricLoad(bench.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus1], row.dcBus1);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], row.dcBus2);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus1], row.essentialBus1);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], row.essentialBus2);
    EXPECT_FLOAT_EQ(loads[Electric::kShedBus2], row.shedBus2);
    EXPECT_FLOAT_EQ(loads[Electric::kCentralBus] + loads[Electric::kShedBus1] +
                        loads[Electric::kBatteryBus1] + loads[Electric::kBatteryBus2] +
                        loads[Electric::kAcBus],
                    0.0f);
}

INSTANTIATE_TEST_SUITE_P(Buses, PneumaticLoadTest, testing::ValuesIn(kLoadCases),
                         [](const testing::TestParamInfo<BleedLoadCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tavi::test
