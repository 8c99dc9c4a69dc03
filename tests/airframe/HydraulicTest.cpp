// The two hydraulic systems on the stand-in simulator: pumps, pressure, faults, the EICAS
// messages system 1 posts for both, the knobs' named variables and the electrical loads.
#include "airframe/Hydraulic.h"

#include "support/HeldAirframe.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// The hydraulic systems with their neighbours held, both reservoirs full, parked with the
// parking brake set.
class HydraulicBench : public HeldAirframe {
public:
    explicit HydraulicBench(const std::string& ini = "") : HeldAirframe(ini) { step(); }

    Hydraulic& system1() { return *aircraft().hydraulic1(); }
    Hydraulic& system2() { return *aircraft().hydraulic2(); }

    void airborne() {
        aircraft().ahrs()->onGround = false;
        scenario.enterPhase(kAirbornePhase);
    }
    // The panel's Engine Pump button.
    void toggleShutoff(Hydraulic& system) {
        system.enginePumpShutoffOpen = !system.enginePumpShutoffOpen;
        system.enginePumpShutoffChanged = true;
    }
    const EicasMessage* message(int32_t id) {
        for (const EicasMessage& message : scenario.eicas().messages) {
            if (message.id == id) {
                return &message;
            }
        }
        return nullptr;
    }
};

// The pressure law of system 1 from a starting pressure over two seconds.
struct PressureCase {
    const char* name;
    int32_t knob;
    bool combustion;
    bool shutoffOpen;
    float startPsi;
    float expectedPsi;
    bool electricPumpRunning;
};

// clang-format off
constexpr PressureCase kPressureCases[] = {
    {"EnginePumpClimbs300PerSecond",       Hydraulic::kKnobOff,  true,  true,     0.0f,  600.0f, false},
    {"EnginePumpStopsAtItsMaximum",        Hydraulic::kKnobOff,  true,  true,  2700.0f, 3000.0f, false},
    {"AutoHelpsTheEngineBelow1600",        Hydraulic::kKnobAuto, true,  true,     0.0f,  600.0f, true},
    {"AutoStopsOnceTheEngineReaches1600",  Hydraulic::kKnobAuto, true,  true,  1500.0f, 2100.0f, false},
    {"AutoRunsWithTheEngineStopped",       Hydraulic::kKnobAuto, false, true,  1000.0f, 1800.0f, true},
    {"ElectricPumpHolds2900",              Hydraulic::kKnobAuto, false, true,  2500.0f, 2900.0f, true},
    {"AboveItsMaximumTheElectricPumpSinks",Hydraulic::kKnobOn,   false, true,  3000.0f, 2900.0f, true},
    {"OnRunsBesideTheClosedShutoff",       Hydraulic::kKnobOn,   true,  false,    0.0f,  800.0f, true},
    {"OffLeaks50PerSecond",                Hydraulic::kKnobOff,  false, true,  1000.0f,  900.0f, false},
    {"OffLeaksToZero",                     Hydraulic::kKnobOff,  true,  false,   60.0f,    0.0f, false},
};
// clang-format on

class HydraulicPressureTest : public testing::TestWithParam<PressureCase> {};

TEST_P(HydraulicPressureTest, PumpsMakeThePressure) {
    const PressureCase& row = GetParam();
    HydraulicBench bench;
    Hydraulic& system = bench.system1();
    bench.combustion(bench.engine1, row.combustion);
    system.electricPumpKnob = row.knob;
    system.enginePumpShutoffOpen = row.shutoffOpen;
    system.electricPumpRunning = false;
    system.pressure = row.startPsi;
    const uint32_t start = bench.aircraft().simTimeMs;
    bench.scenario.run(2.0);
    ASSERT_NEAR(bench.aircraft().simTimeMs - start, 2000, 1);
    EXPECT_NEAR(system.pressure, row.expectedPsi, 1.0f);
    EXPECT_EQ(system.electricPumpRunning, row.electricPumpRunning);
    EXPECT_EQ(system.enginePumpRunning, row.combustion && row.shutoffOpen);
}

INSTANTIATE_TEST_SUITE_P(Law, HydraulicPressureTest, testing::ValuesIn(kPressureCases),
                         [](const testing::TestParamInfo<PressureCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(HydraulicTest, InAutoTheElectricPumpStopsAsTheEnginePumpPasses1600) {
    HydraulicBench bench;
    Hydraulic& system = bench.system1();
    system.electricPumpKnob = Hydraulic::kKnobAuto;
    system.pressure = 0.0f;
    bench.combustion(bench.engine1, true);
    while (system.pressure < 1600.0f) {
        bench.step();
        ASSERT_TRUE(system.electricPumpRunning);
    }
    bench.step();
    EXPECT_FALSE(system.electricPumpRunning);
}

TEST(HydraulicTest, TheReservoirQuantityComesFromTheSimulator) {
    HydraulicBench bench;
    EXPECT_FLOAT_EQ(bench.system1().quantity, 5.0f) << "a flight loads full reservoirs";
    bench.panel().setVariable("ENG HYDRAULIC QUANTITY", 1, 19.0);
    bench.step(2);
    EXPECT_FLOAT_EQ(bench.system1().quantityPercent, 19.0f);
    EXPECT_FLOAT_EQ(bench.system1().quantity, 0.95f);
    EXPECT_FLOAT_EQ(bench.system2().quantity, 5.0f) << "system 2 reads its own index";
    EXPECT_TRUE(bench.shows("HYD1 LO QTY"));
    bench.panel().setVariable("ENG HYDRAULIC QUANTITY", 2, 10.0);
    bench.step(2);
    EXPECT_TRUE(bench.shows("HYD1-2 LO QTY"));
    bench.panel().setVariable("ENG HYDRAULIC QUANTITY", 1, 20.0);
    bench.panel().setVariable("ENG HYDRAULIC QUANTITY", 2, 20.0);
    bench.step(2);
    EXPECT_EQ(bench.message(24), nullptr);
}

TEST(HydraulicTest, LowPressureIsNoFaultOnTheGroundWithTheEngineStopped) {
    HydraulicBench bench;
    bench.system2().electricPumpKnob = Hydraulic::kKnobAuto;
    bench.system2().pressure = 2900.0f;
    bench.system1().pressure = 1200.0f;
    bench.step(2);
    EXPECT_FALSE(bench.system1().systemFail);
    EXPECT_EQ(bench.message(20), nullptr);

    bench.airborne();
    bench.step();
    EXPECT_TRUE(bench.system1().systemFail);
    EXPECT_TRUE(bench.shows("HYD SYS 1 FAIL"));
    EXPECT_TRUE(bench.scenario.eicas().cautionLatched);
}

TEST(HydraulicTest, AClosedShutoffLeavesTheElectricPumpAlone) {
    HydraulicBench bench;
    Hydraulic& system = bench.system1();
    bench.combustion(bench.engine1, true);
    bench.combustion(bench.engine2, true);
    system.electricPumpKnob = Hydraulic::kKnobOff;
    system.pressure = 3000.0f;
    bench.step();
    bench.toggleShutoff(system);
    bench.step();
    EXPECT_TRUE(bench.shows("E1 HYDSOV CLSD"));
    EXPECT_FALSE(system.enginePumpShutoffChanged) << "system 1 takes the change";
    EXPECT_FALSE(system.enginePumpRunning);

    // Leaking at 50 psi/s: the engine pump fails below 1600 psi, the system below 1300 psi
    // even on the ground, as its engine runs.
    bench.scenario.run(28.5);
    EXPECT_TRUE(system.enginePumpFail);
    EXPECT_FALSE(system.systemFail);
    EXPECT_TRUE(bench.shows("E1 HYD PUMP FAIL"));
    bench.scenario.run(6.0);
    EXPECT_TRUE(system.systemFail);
    EXPECT_TRUE(bench.shows("HYD SYS 1 FAIL"));

    bench.toggleShutoff(bench.system2());
    bench.step();
    EXPECT_TRUE(bench.shows("E1-2 HYDSOV CLSD"));
    EXPECT_FALSE(bench.system2().enginePumpShutoffChanged);
    bench.toggleShutoff(system);
    bench.toggleShutoff(bench.system2());
    bench.step();
    EXPECT_EQ(bench.message(23), nullptr);
}

TEST(HydraulicTest, TheOffLightNeedsAnnunciatorPower) {
    HydraulicBench bench;
    bench.system2().enginePumpShutoffOpen = false;
    bench.electric.annunciatorPower = true;
    EXPECT_TRUE(bench.system2().enginePumpOffLight());
    bench.electric.annunciatorPower = false;
    EXPECT_FALSE(bench.system2().enginePumpOffLight());
}

TEST(HydraulicTest, MessagesLeaveTheListDuringTakeOffAndLanding) {
    HydraulicBench bench;
    bench.panel().setVariable("ENG HYDRAULIC QUANTITY", 1, 10.0);
    bench.panel().setVariable("ENG HYDRAULIC QUANTITY", 2, 10.0);
    bench.step(2);
    ASSERT_TRUE(bench.shows("HYD1-2 LO QTY"));
    bench.scenario.enterPhase(kTakeoffPhase);
    EXPECT_EQ(bench.message(24), nullptr);
    bench.scenario.enterPhase(kLandingPhase);
    EXPECT_EQ(bench.message(24), nullptr);
    bench.scenario.enterPhase(kOnGroundPhase);
    EXPECT_TRUE(bench.shows("HYD1-2 LO QTY"));
}

TEST(HydraulicTest, ThePumpSelectorAdvisoryIsPostedOnceAndNotDuringTakeOff) {
    HydraulicBench bench;
    bench.system1().electricPumpKnob = Hydraulic::kKnobAuto;
    bench.system2().electricPumpKnob = Hydraulic::kKnobAuto;
    bench.step(2);
    bench.system1().electricPumpKnob = Hydraulic::kKnobOff;
    bench.step(2);
    EXPECT_EQ(bench.message(25), nullptr) << "the parking brake is set";

    bench.scenario.releaseParkingBrake();
    bench.step();
    ASSERT_NE(bench.message(25), nullptr);
    EXPECT_EQ(bench.message(25)->text, "HYD PUMP SELEC OF");
    EXPECT_EQ(bench.message(25)->level, kEicasAdvisory);
    const uint32_t postedAt = bench.message(25)->time;
    bench.system2().electricPumpKnob = Hydraulic::kKnobOff;
    bench.step(2);
    bench.scenario.enterPhase(kAirbornePhase);
    EXPECT_EQ(bench.message(25)->time, postedAt) << "not posted again while in the list";

    bench.scenario.enterPhase(kTakeoffPhase);
    EXPECT_NE(bench.message(25), nullptr) << "left standing during take-off";
    bench.system1().electricPumpKnob = Hydraulic::kKnobAuto;
    bench.system2().electricPumpKnob = Hydraulic::kKnobAuto;
    bench.step(2);
    EXPECT_EQ(bench.message(25), nullptr) << "removed in any phase";
    bench.system1().electricPumpKnob = Hydraulic::kKnobOff;
    bench.step(2);
    EXPECT_EQ(bench.message(25), nullptr) << "not posted during take-off";
}

TEST(HydraulicTest, MessagesPostedWhileTheEicasWasDarkArePostedWhenItHasPower) {
    HydraulicBench bench;
    for (electric::PowerBus& bus : bench.electric.buses) {
        bus.powered = false;
    }
    bench.step(2);
    bench.panel().setVariable("ENG HYDRAULIC QUANTITY", 1, 10.0);
    bench.step(2);
    EXPECT_EQ(bench.message(24), nullptr);
    for (electric::PowerBus& bus : bench.electric.buses) {
        bus.powered = true;
    }
    bench.step(2);
    EXPECT_TRUE(bench.shows("HYD1 LO QTY"));
}

TEST(HydraulicTest, TheKnobsStepThroughTheirNamedVariables) {
    HydraulicBench bench;
    const std::vector<std::pair<const char*, double>> requests = {{"TaviHydPump2Dec", 0.0},
                                                                  {"TaviHydPump2Inc", 1.0},
                                                                  {"TaviHydPump2Inc", 2.0},
                                                                  {"TaviHydPump2Inc", 2.0},
                                                                  {"TaviHydPump2Dec", 1.0}};
    for (const auto& [request, position] : requests) {
        bench.scenario.request(request);
        bench.step();
        EXPECT_EQ(bench.panel().namedVariable(request), 0.0) << "the request is taken";
        EXPECT_EQ(bench.panel().namedVariable("TaviHydPump2"), position) << request;
        EXPECT_EQ(bench.system2().electricPumpKnob, static_cast<int32_t>(position));
        EXPECT_TRUE(bench.scenario.sounds().isPlaying(sounds::kKnobClick));
        bench.scenario.sounds().stop(sounds::kKnobClick);
    }
    EXPECT_EQ(bench.system1().electricPumpKnob, Hydraulic::kKnobOff);
    EXPECT_EQ(bench.panel().namedVariable("TaviHydPump1"), 0.0);
}

TEST(HydraulicTest, EachSystemDrawsFromTheOtherSidesDcBus) {
    HydraulicBench bench;
    bench.system1().electricPumpRunning = true;
    bench.system2().electricPumpRunning = false;
    BusLoads loads;
    bench.system1().addElectricLoad(bench.aircraft(), loads);
    bench.system2().addElectricLoad(bench.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], 10.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus1], 5.0f);

    bench.system1().electricPumpKnob = Hydraulic::kKnobOn;
    bench.power(Electric::kDcBus2, false);
    bench.step();
    EXPECT_TRUE(bench.system1().unpowered);
    EXPECT_FALSE(bench.system2().unpowered);
    bench.step();
    EXPECT_FALSE(bench.system1().electricPumpRunning) << "a pump on a dead bus stands still";
}

// Both engines out and both DC buses dead in flight: the electric pumps in Auto make nothing,
// the pressures leak away and the failures show; power back, the pumps take over again.
TEST(HydraulicTest, WithoutPowerTheElectricPumpsMakeNoPressure) {
    HydraulicBench bench;
    bench.airborne();
    for (Hydraulic* system : {&bench.system1(), &bench.system2()}) {
        system->electricPumpKnob = Hydraulic::kKnobAuto;
    }
    bench.scenario.run(10.0);
    ASSERT_FLOAT_EQ(bench.system1().pressure, 2900.0f);
    ASSERT_FLOAT_EQ(bench.system2().pressure, 2900.0f);

    bench.power(Electric::kDcBus1, false);
    bench.power(Electric::kDcBus2, false);
    bench.scenario.run(40.0);
    for (Hydraulic* system : {&bench.system1(), &bench.system2()}) {
        EXPECT_FALSE(system->electricPumpRunning);
        EXPECT_LT(system->pressure, 1300.0f);
        EXPECT_TRUE(system->systemFail);
    }
    EXPECT_TRUE(bench.shows("HYD SYS 1-2 FAIL"));

    bench.power(Electric::kDcBus1, true);
    bench.power(Electric::kDcBus2, true);
    bench.scenario.run(10.0);
    EXPECT_FLOAT_EQ(bench.system1().pressure, 2900.0f);
    EXPECT_FLOAT_EQ(bench.system2().pressure, 2900.0f);
    EXPECT_EQ(bench.message(20), nullptr);
}

// Until the systems have started, the knob follows the start-up mode and the pressure the
// engine.
struct HydraulicStartupCase {
    const char* mode;
    int32_t knob;
};

class HydraulicStartupTest : public testing::TestWithParam<HydraulicStartupCase> {};

TEST_P(HydraulicStartupTest, TheKnobFollowsTheStartupMode) {
    HydraulicBench bench(std::string("[Startup]\nstartupMode=") + GetParam().mode + "\n");
    for (Hydraulic* system : {&bench.system1(), &bench.system2()}) {
        EXPECT_TRUE(system->started);
        EXPECT_EQ(system->electricPumpKnob, GetParam().knob) << GetParam().mode;
    }
    EXPECT_EQ(bench.panel().namedVariable("TaviHydPump1"), GetParam().knob);
}

INSTANTIATE_TEST_SUITE_P(Modes, HydraulicStartupTest,
                         testing::Values(HydraulicStartupCase{"0", Hydraulic::kKnobOff},
                                         HydraulicStartupCase{"1", Hydraulic::kKnobOff},
                                         HydraulicStartupCase{"2", Hydraulic::kKnobAuto},
                                         HydraulicStartupCase{"-1", Hydraulic::kKnobAuto}));

TEST(HydraulicStartupTest, BeforeTheStartThePressureFollowsTheEngine) {
    HydraulicBench bench;
    Hydraulic& system = bench.system1();
    bench.combustion(bench.engine1, true);
    system.started = false;
    system.electricPumpKnob = Hydraulic::kKnobOn;
    bench.step();
    EXPECT_FLOAT_EQ(system.pressure, 3000.0f);
    EXPECT_EQ(system.electricPumpKnob, Hydraulic::kKnobOff) << "set back to the mode's position";
    bench.combustion(bench.engine1, false);
    system.started = false;
    bench.step();
    EXPECT_FLOAT_EQ(system.pressure, 0.0f);
}

} // namespace
} // namespace tavi::test
