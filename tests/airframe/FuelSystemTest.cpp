// The fuel system on the stand-in simulator: tank weights, pumps, crossfeed, feeds, fuel used,
// temperature and its EICAS messages.
#include "support/HeldAirframe.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// A weight per gallon that turns the pounds of these tests into gallons and back exactly.
constexpr float kPoundsPerGallon = 8.0f;

// The fuel system with its neighbours held, 500 gallons in each main tank.
class FuelBench : public HeldAirframe {
public:
    explicit FuelBench(const std::string& ini = "") : HeldAirframe(ini) {
        tanks(500.0, 500.0);
        step();
    }

    FuelSystem& fuel() { return scenario.fuel(); }

    void tanks(double leftGallons, double rightGallons) {
        panel().setToken(304, leftGallons);
        panel().setToken(303, rightGallons);
        panel().setToken(306, kPoundsPerGallon);
        panel().setVariable("FUEL TANK LEFT MAIN QUANTITY", 0, leftGallons);
        panel().setVariable("FUEL TANK RIGHT MAIN QUANTITY", 0, rightGallons);
        panel().setVariable("FUEL TANK LEFT MAIN LEVEL", 0, 100.0);
    }
    // Tank contents in pounds.
    void tankPounds(float left, float right) {
        tanks(left / kPoundsPerGallon, right / kPoundsPerGallon);
    }
    void pumpSwitches(bool on1, bool on2) {
        panel().setVariable("GENERAL ENG FUEL PUMP SWITCH", 1, on1);
        panel().setVariable("GENERAL ENG FUEL PUMP SWITCH", 2, on2);
    }
    // The knob and the simulator's selector agree, as after a crossfeed has opened.
    void crossfeed(int32_t position) {
        fuel().crossfeedKnob = position;
        panel().setVariable("FUEL TANK SELECTOR", 1, position);
    }
};

TEST(FuelSystemTest, TankWeightsAndGallonsComeFromTheSimulator) {
    FuelBench bench;
    bench.tanks(400.0, 250.5);
    bench.step();
    EXPECT_FLOAT_EQ(bench.fuel().fuelWeightPerGallon, kPoundsPerGallon);
    EXPECT_FLOAT_EQ(bench.fuel().leftFuel, 400.0f * kPoundsPerGallon);
    EXPECT_FLOAT_EQ(bench.fuel().rightFuel, 250.5f * kPoundsPerGallon);
    EXPECT_DOUBLE_EQ(bench.fuel().leftGallons, 400.0);
    EXPECT_DOUBLE_EQ(bench.fuel().rightGallons, 250.5);
}

// How the tank selector, the pump switches and the tank contents decide the fuel pressure of
// each engine and whether fuel reaches it.
struct FuelFeedCase {
    const char* name;
    int32_t selector;
    bool pump1;
    bool pump2;
    float leftLb;
    float rightLb;
    bool lowPressure1;
    bool lowPressure2;
    bool available1;
    bool available2;
};

// 5.8 gallons of 8 lb are 46.4 lb.
// clang-format off
constexpr FuelFeedCase kFuelFeedCases[] = {
    {"EachTankFeedsItsSide",             1, true,  true,  1000.0f, 1000.0f, false, false, true,  true},
    {"PumpsOffFailAt365Pounds",          1, false, false,  366.0f,  364.0f, true,  true,  true,  false},
    {"RunningPumpsFailAtUnusableFuel",   1, true,  true,    47.0f,   46.0f, false, true,  true,  false},
    {"OnePumpOffFeedsBySuctionOnly",     1, false, true,   300.0f,  300.0f, true,  false, false, true},
    {"LeftToRightFeedsBothFromTheLeft",  2, true,  true,  1000.0f,    0.0f, false, false, true,  true},
    {"LeftToRightWithEmptyLeftTank",     2, true,  true,     0.0f, 1000.0f, true,  true,  false, false},
    {"RightToLeftFeedsBothFromTheRight", 3, true,  true,     0.0f, 1000.0f, false, false, true,  true},
    {"RightToLeftWithEmptyRightTank",    3, true,  true,  1000.0f,    0.0f, true,  true,  false, false},
};
// clang-format on

class FuelFeedTest : public testing::TestWithParam<FuelFeedCase> {};

TEST_P(FuelFeedTest, PressuresAndFeedsFollowTheSelectorPumpsAndContents) {
    const FuelFeedCase& row = GetParam();
    FuelBench bench;
    bench.crossfeed(row.selector);
    bench.pumpSwitches(row.pump1, row.pump2);
    bench.tankPounds(row.leftLb, row.rightLb);
    bench.step();
    const FuelSystem& fuel = bench.fuel();
    EXPECT_EQ(fuel.tankSelector, row.selector);
    EXPECT_EQ(fuel.lowPressure1, row.lowPressure1);
    EXPECT_EQ(fuel.lowPressure2, row.lowPressure2);
    EXPECT_EQ(fuel.fuelAvailable1, row.available1);
    EXPECT_EQ(fuel.fuelAvailable2, row.available2);
}

INSTANTIATE_TEST_SUITE_P(Rules, FuelFeedTest, testing::ValuesIn(kFuelFeedCases),
                         [](const testing::TestParamInfo<FuelFeedCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(FuelSystemTest, PumpsRunBySelectorAndTheCrossfeedStopsTheUnusedSide) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    bench.pumpSwitches(true, true);
    fuel.pumpSelector1 = FuelSystem::kPumpA;
    fuel.pumpSelector2 = FuelSystem::kPumpC;
    bench.step();
    EXPECT_EQ(fuel.pumpRunning1, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(fuel.pumpRunning2, (std::array<bool, 3>{false, false, true}));

    bench.crossfeed(FuelSystem::kLeftToRight);
    bench.step();
    EXPECT_EQ(fuel.pumpRunning2, (std::array<bool, 3>{false, false, false}))
        << "the right tank feeds nothing";
    EXPECT_FALSE(fuel.selectedPumpDead2) << "an unused side wants no pump";
    EXPECT_FLOAT_EQ(fuel.minimumFeedRight, 365.0f);

    bench.crossfeed(FuelSystem::kRightToLeft);
    bench.step();
    EXPECT_EQ(fuel.pumpRunning1, (std::array<bool, 3>{false, false, false}));
    EXPECT_EQ(fuel.pumpRunning2, (std::array<bool, 3>{false, false, true}));
}

TEST(FuelSystemTest, WhenTheSelectedPumpLosesItsBusTheOtherTwoTakeTurns) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    bench.pumpSwitches(true, true);
    bench.step();
    bench.power(Electric::kEssentialBus1, false);
    bool sawB = false;
    bool sawC = false;
    for (int frame = 0; frame < 40; ++frame) {
        bench.step();
        ASSERT_TRUE(fuel.selectedPumpDead1);
        const uint32_t phase = (bench.aircraft().simTimeMs - fuel.pumpDeadSince1) % 1000;
        const bool bTurn = phase < 500;
        EXPECT_EQ(fuel.pumpRunning1, (std::array<bool, 3>{false, bTurn, !bTurn})) << phase;
        sawB = sawB || bTurn;
        sawC = sawC || !bTurn;
    }
    EXPECT_TRUE(sawB && sawC);
    EXPECT_EQ(fuel.pumpRunning2, (std::array<bool, 3>{true, false, false}))
        << "side 2's pump A hangs on essential bus 2";
    EXPECT_FALSE(fuel.lowPressure1);

    // Pump B's bus gone as well: in B's turns every pump with power runs, which is C alone.
    bench.power(Electric::kEssentialBus2, false);
    for (int frame = 0; frame < 20; ++frame) {
        bench.step();
        EXPECT_EQ(fuel.pumpRunning1, (std::array<bool, 3>{false, false, true}));
    }
    bench.power(Electric::kEssentialBus1, true);
    bench.step();
    EXPECT_FALSE(fuel.selectedPumpDead1);
    EXPECT_EQ(fuel.pumpRunning1, (std::array<bool, 3>{true, false, false}));
}

TEST(FuelSystemTest, AnEmptyTankCutsEveryBurningEngineItFeeds) {
    FuelBench bench;
    bench.pumpSwitches(true, true);
    bench.combustion(bench.engine1, true);
    bench.combustion(bench.engine2, true);
    bench.tankPounds(0.0f, 1000.0f);
    bench.panel().clearKeyEventsSent();
    bench.step(2);
    EXPECT_EQ(bench.eventCount(0x101C3), 2) << "engine 1's fuel is cut in every frame";
    EXPECT_EQ(bench.eventCount(0x101C8), 0);

    bench.crossfeed(FuelSystem::kLeftToRight);
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_EQ(bench.eventCount(0x101C3), 1);
    EXPECT_EQ(bench.eventCount(0x101C8), 1) << "the empty left tank feeds both";

    bench.crossfeed(FuelSystem::kCrossfeedOff);
    bench.combustion(bench.engine1, false);
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_TRUE(bench.fuel().fuelAvailable2);
    EXPECT_EQ(bench.eventCount(0x101C3), 0) << "an engine without combustion keeps its lever";
    EXPECT_EQ(bench.eventCount(0x101C8), 0);
}

TEST(FuelSystemTest, UnlimitedFuelFeedsBothEnginesFromEmptyTanks) {
    FuelBench bench;
    bench.combustion(bench.engine1, true);
    bench.panel().setVariable("UNLIMITED FUEL", 0, 1.0);
    bench.tankPounds(0.0f, 0.0f);
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_TRUE(bench.fuel().fuelAvailable1 && bench.fuel().fuelAvailable2);
    EXPECT_EQ(bench.eventCount(0x101C3), 0);
}

// A selector position the simulator reports outside the three known ones (while, without
// essential bus 2, it is being driven back to Off) counts as Off: each engine keeps its own tank.
TEST(FuelSystemTest, AnUnknownSelectorPositionFeedsEachEngineFromItsOwnTank) {
    FuelBench bench;
    bench.pumpSwitches(true, true);
    bench.power(Electric::kEssentialBus2, false);
    bench.fuel().pumpSelector2 = FuelSystem::kPumpC;
    bench.panel().setVariable("FUEL TANK SELECTOR", 1, 0.0);
    bench.tankPounds(1000.0f, 0.0f);
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_EQ(bench.eventCount(0x101A4), 1) << "driven back to Off";
    EXPECT_TRUE(bench.fuel().fuelAvailable1);
    EXPECT_FALSE(bench.fuel().fuelAvailable2);
    EXPECT_FALSE(bench.fuel().lowPressure1);
    EXPECT_TRUE(bench.fuel().lowPressure2);
}

TEST(FuelSystemTest, TheCrossfeedKnobStepsWithinItsThreePositions) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    std::vector<int32_t> positions;
    for (int i = 0; i < 3; ++i) {
        fuel.crossfeedKnobDown();
        positions.push_back(fuel.crossfeedKnob);
    }
    for (int i = 0; i < 3; ++i) {
        fuel.crossfeedKnobUp();
        positions.push_back(fuel.crossfeedKnob);
    }
    EXPECT_EQ(positions, (std::vector<int32_t>{3, 3, 3, 1, 2, 2}));
    fuel.crossfeedKnobDown();
    EXPECT_EQ(fuel.crossfeedKnob, FuelSystem::kCrossfeedOff);
}

TEST(FuelSystemTest, TheSelectorFollowsTheKnobOnlyWithEssentialBus2) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    EXPECT_EQ(fuel.tankSelector, FuelSystem::kCrossfeedOff);
    EXPECT_FALSE(fuel.crossfeedFail);
    fuel.crossfeedKnobUp();
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_EQ(bench.eventCount(0x101A5), 1);
    EXPECT_EQ(fuel.tankSelector, FuelSystem::kLeftToRight);
    EXPECT_EQ(bench.panel().variable("FUEL TANK SELECTOR", 1), 2.0);
    EXPECT_TRUE(bench.shows("FUEL XFEED OPEN"));
    EXPECT_FALSE(bench.shows("FUEL XFEED FAIL")) << "the selector followed in the same frame";
    bench.step();
    EXPECT_EQ(bench.eventCount(0x101A5), 1) << "sent until the simulator agrees, then no more";

    bench.power(Electric::kEssentialBus2, false);
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_EQ(bench.eventCount(0x101A4), 1);
    EXPECT_EQ(fuel.tankSelector, FuelSystem::kLeftToRight) << "nothing recorded without power";
    EXPECT_FALSE(bench.shows("FUEL XFEED OPEN"));
    EXPECT_TRUE(bench.shows("FUEL XFEED FAIL"));
    bench.step();
    EXPECT_EQ(fuel.tankSelector, FuelSystem::kCrossfeedOff);
    EXPECT_TRUE(bench.shows("FUEL XFEED FAIL")) << "the knob is still away from Off";

    fuel.crossfeedKnobDown();
    bench.step();
    EXPECT_FALSE(bench.shows("FUEL XFEED FAIL"));
    EXPECT_EQ(bench.eventCount(0x101A5) + bench.eventCount(0x101A6), 0);
}

TEST(FuelSystemTest, TheImbalanceLatchesAt800PoundsAndReleasesBelow100) {
    FuelBench bench;
    bench.pumpSwitches(true, true);
    const std::vector<std::pair<float, bool>> steps = {
        {799.0f, false}, {800.0f, true}, {100.0f, true}, {99.0f, false}, {799.0f, false}};
    for (const auto& [difference, shown] : steps) {
        bench.tankPounds(2000.0f + difference, 2000.0f);
        bench.step();
        EXPECT_EQ(bench.fuel().imbalance, shown) << difference;
        EXPECT_EQ(bench.shows("FUEL IMBALANCE"), shown) << difference;
    }
}

// Messages are shown only in the airborne and ground phases; a phase change re-evaluates them.
struct PhaseCase {
    int32_t phase;
    bool shown;
};

class FuelPhaseTest : public testing::TestWithParam<PhaseCase> {};

TEST_P(FuelPhaseTest, LowLevelIsShownOnlyAirborneAndOnTheGround) {
    FuelBench bench;
    bench.pumpSwitches(true, true);
    bench.scenario.enterPhase(kTakeoffPhase);
    bench.tankPounds(583.0f, 2000.0f);
    bench.step();
    EXPECT_TRUE(bench.fuel().lowLevel1);
    EXPECT_FALSE(bench.fuel().lowLevel2);
    EXPECT_FALSE(bench.shows("FUEL 1 LO LEVEL")) << "inhibited during take-off";
    bench.scenario.enterPhase(GetParam().phase);
    EXPECT_EQ(bench.shows("FUEL 1 LO LEVEL"), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Phases, FuelPhaseTest,
                         testing::Values(PhaseCase{kTakeoffPhase, false},
                                         PhaseCase{kLandingPhase, false},
                                         PhaseCase{kAirbornePhase, true},
                                         PhaseCase{kOnGroundPhase, true}));

TEST(FuelSystemTest, SidesJoinInTheMessageTexts) {
    FuelBench bench;
    bench.pumpSwitches(false, true);
    bench.tankPounds(500.0f, 500.0f);
    bench.step();
    EXPECT_TRUE(bench.shows("FUEL 1-2 LO LEVEL"));
    EXPECT_TRUE(bench.shows("E1 FUEL LO PRESS"));
    bench.pumpSwitches(false, false);
    bench.tankPounds(500.0f, 2000.0f);
    bench.step();
    EXPECT_TRUE(bench.shows("FUEL 1 LO LEVEL"));
    EXPECT_TRUE(bench.shows("E1-2 FUEL LO PRESS"));
    EXPECT_FALSE(bench.shows("FUEL 1-2 LO LEVEL"));
    bench.pumpSwitches(true, true);
    bench.tankPounds(2000.0f, 2000.0f);
    bench.step();
    EXPECT_FALSE(bench.shows("FUEL 1 LO LEVEL"));
    EXPECT_FALSE(bench.shows("E1-2 FUEL LO PRESS"));
}

// What the tanks lose in one frame counts as burned only while neither gains fuel and each
// loses less than 10 lb.
struct BurnCase {
    const char* name;
    float leftLoss;
    float rightLoss;
    float burned;
};

constexpr BurnCase kBurnCases[] = {
    {"BothTanksBurn", 5.0f, 3.0f, 8.0f},     {"JustBelowTheJumpLimit", 9.5f, 9.5f, 19.0f},
    {"TenPoundsIsAJump", 10.0f, 0.0f, 0.0f}, {"RefuellingCountsNothing", 4.0f, -1.0f, 0.0f},
    {"NothingBurned", 0.0f, 0.0f, 0.0f},
};

class FuelBurnTest : public testing::TestWithParam<BurnCase> {};

TEST_P(FuelBurnTest, TheFrameBurnGoesIntoBothCounters) {
    const BurnCase& row = GetParam();
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    bench.tankPounds(3000.0f, 3000.0f);
    bench.step();
    fuel.fuelUsed1 = 100.0f;
    fuel.fuelUsed2 = 0.0f;
    bench.tankPounds(3000.0f - row.leftLoss, 3000.0f - row.rightLoss);
    bench.step();
    EXPECT_NEAR(fuel.fuelBurnedThisFrame, row.burned, 1e-3f);
    EXPECT_NEAR(fuel.fuelUsed1, 100.0f + row.burned, 1e-3f);
    EXPECT_NEAR(fuel.fuelUsed2, row.burned, 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(Frames, FuelBurnTest, testing::ValuesIn(kBurnCases),
                         [](const testing::TestParamInfo<BurnCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(FuelSystemTest, TheFuelTemperatureMovesTowardTatFasterInALowTank) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    EXPECT_NEAR(fuel.fuelTemperature, 5.0f, 1e-3f) << "the start temperature";
    bench.aircraft().adc()->totalAirTemperature = -45.0f;
    auto coolingOverTenSeconds = [&](double levelPercent) {
        bench.panel().setVariable("FUEL TANK LEFT MAIN LEVEL", 0, levelPercent);
        fuel.fuelTemperature = 5.0f;
        const uint32_t start = bench.aircraft().simTimeMs;
        bench.scenario.run(10.0);
        const float seconds = static_cast<float>(bench.aircraft().simTimeMs - start) / 1000.0f;
        return (5.0f - fuel.fuelTemperature) / seconds;
    };
    EXPECT_NEAR(coolingOverTenSeconds(100.0), 50.0f * 0.0002f, 1e-4f);
    EXPECT_NEAR(coolingOverTenSeconds(50.0), 50.0f * 0.0002f / 0.5f, 2e-4f);
    EXPECT_NEAR(coolingOverTenSeconds(20.0), 50.0f * 0.0002f * 5.0f, 5e-4f);
    EXPECT_NEAR(coolingOverTenSeconds(5.0), 50.0f * 0.0002f * 5.0f, 5e-4f)
        << "at most five times as fast";
}

TEST(FuelSystemTest, AColdTankShowsItsCautionAndTheTemperatureStaysInRange) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    bench.pumpSwitches(true, true);
    bench.panel().setVariable("FUEL TANK LEFT MAIN LEVEL", 0, 10.0);
    bench.aircraft().adc()->totalAirTemperature = -80.0f;
    fuel.fuelTemperature = -39.999f;
    bench.step();
    EXPECT_LE(fuel.fuelTemperature, -40.0f);
    EXPECT_TRUE(bench.shows("FUEL TANK LO TEMP"));
    fuel.fuelTemperature = -49.999f;
    bench.step();
    EXPECT_FLOAT_EQ(fuel.fuelTemperature, -50.0f);

    bench.aircraft().adc()->totalAirTemperature = 100.0f;
    fuel.fuelTemperature = -40.001f;
    bench.step();
    EXPECT_GT(fuel.fuelTemperature, -40.0f);
    EXPECT_FALSE(bench.shows("FUEL TANK LO TEMP"));
    fuel.fuelTemperature = 59.999f;
    bench.step();
    EXPECT_FLOAT_EQ(fuel.fuelTemperature, 60.0f);
}

TEST(FuelSystemTest, TheApuFuelMessagesFollowTheApuAndItsShutoff) {
    FuelBench bench;
    Electric::Apu& apu = bench.electric.apu;
    bench.pumpSwitches(true, false);
    apu.state = Electric::Apu::kRunning;
    apu.knob = Electric::Apu::kKnobOn;
    bench.step();
    EXPECT_TRUE(bench.shows("APU FUEL LO PRESS")) << "the right side has no pressure";
    bench.pumpSwitches(true, true);
    bench.step();
    EXPECT_FALSE(bench.shows("APU FUEL LO PRESS"));

    apu.fuelShutoffOpen = false;
    bench.step();
    EXPECT_TRUE(bench.shows("APU FUEL SOV CLSD"));
    apu.fuelShutoffOpen = true;
    bench.step();
    EXPECT_FALSE(bench.shows("APU FUEL SOV CLSD"));

    // The valve closes for 10 s after the knob is turned to Off.
    apu.setKnob(Electric::Apu::kKnobOff, bench.aircraft().simTimeMs);
    bench.step();
    EXPECT_TRUE(bench.shows("APU FUEL SOV CLSD"));
    bench.scenario.run(9.5);
    EXPECT_TRUE(bench.shows("APU FUEL SOV CLSD"));
    bench.scenario.run(1.0);
    EXPECT_FALSE(bench.shows("APU FUEL SOV CLSD"));
}

TEST(FuelSystemTest, MessagesPostedWhileTheEicasWasDarkArePostedWhenItHasPower) {
    FuelBench bench;
    bench.pumpSwitches(true, false);
    bench.step();
    ASSERT_TRUE(bench.shows("E2 FUEL LO PRESS"));
    for (electric::PowerBus& bus : bench.electric.buses) {
        bus.powered = false;
    }
    bench.step(2);
    bench.scenario.eicas().messages.clear();
    bench.pumpSwitches(false, false);
    bench.step();
    for (electric::PowerBus& bus : bench.electric.buses) {
        bus.powered = true;
    }
    bench.step(2);
    EXPECT_TRUE(bench.shows("E1-2 FUEL LO PRESS"));
}

TEST(FuelSystemTest, PumpsAndTheCrossfeedValveDrawFromTheirBuses) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    fuel.pumpRunning1 = {true, false, true};
    fuel.pumpRunning2 = {false, true, false};
    fuel.tankSelector = FuelSystem::kLeftToRight;
    BusLoads loads;
    fuel.addElectricLoad(bench.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus1], 5.0f + 5.0f + 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus1], 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], 0.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kCentralBus], 5.0f);

    fuel.pumpRunning1 = {};
    fuel.pumpRunning2 = {true, false, true};
    fuel.tankSelector = FuelSystem::kCrossfeedOff;
    loads = BusLoads();
    fuel.addElectricLoad(bench.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus1], 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], 10.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kCentralBus], 0.0f);
}

TEST(FuelSystemTest, APumpSwitchIsToggledOnlyWhenItDiffers) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    bench.panel().clearKeyEventsSent();
    fuel.setFuelPump1(false);
    EXPECT_EQ(bench.eventCount(0x10324), 0);
    fuel.setFuelPump1(true);
    fuel.setFuelPump1(true);
    fuel.setFuelPump2(true);
    EXPECT_EQ(bench.eventCount(0x10324), 1) << "a second call in the same frame sends nothing";
    EXPECT_EQ(bench.eventCount(0x10325), 1);
    bench.step();
    EXPECT_TRUE(fuel.pump1Switch && fuel.pump2Switch);
    EXPECT_EQ(bench.panel().variable("GENERAL ENG FUEL PUMP SWITCH", 1), 1.0);
}

TEST(FuelSystemStartupTest, ReadyAndRunningModesSwitchThePumpsOnOnce) {
    for (const char* mode : {"1", "2"}) {
        AirframeScenario scenario(std::string("[Startup]\nstartupMode=") + mode + "\n");
        scenario.step(3);
        const std::vector<sim::KeyEvent>& events = scenario.panel().keyEventsSent();
        for (const uint32_t toggle : {0x10324u, 0x10325u}) {
            EXPECT_EQ(std::count_if(events.begin(), events.end(),
                                    [&](const sim::KeyEvent& e) { return e.eventId == toggle; }),
                      1)
                << mode;
        }
        EXPECT_TRUE(scenario.fuel().pump1Switch && scenario.fuel().pump2Switch) << mode;
        EXPECT_EQ(scenario.fuel().startupMode, std::stoi(mode));
    }
}

TEST(FuelSystemStartupTest, DarkAndColdSwitchesThePumpsOffAndSelectsPumpsA) {
    FuelBench bench;
    FuelSystem& fuel = bench.fuel();
    bench.pumpSwitches(true, true);
    fuel.pumpSelector1 = FuelSystem::kPumpB;
    fuel.pumpSelector2 = FuelSystem::kPumpC;
    fuel.started = false;
    bench.panel().clearKeyEventsSent();
    bench.step();
    EXPECT_EQ(bench.eventCount(0x10324), 1);
    EXPECT_EQ(bench.eventCount(0x10325), 1);
    EXPECT_EQ(fuel.pumpSelector1, FuelSystem::kPumpA);
    EXPECT_EQ(fuel.pumpSelector2, FuelSystem::kPumpA);
    EXPECT_TRUE(fuel.started);
    bench.step();
    EXPECT_FALSE(fuel.pump1Switch || fuel.pump2Switch);
}

} // namespace
} // namespace tavi::test
