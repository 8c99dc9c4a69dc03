// The engines: their indications, start-up states, start sequence, ignition, fuel introduction,
// light-off smoothing, FADEC channels, knobs and loads.
#include "airframe/Fadec.h"
#include "airframe/Pneumatic.h"
#include "support/AirframeScenario.h"
#include "support/HeldSystem.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

namespace tavi::test {
namespace {

constexpr uint32_t kStarterToggle2 = 0x102FD;
constexpr uint32_t kFuelCutoff1 = 0x101C3;
constexpr uint32_t kFuelOpen1 = 0x101BF;
constexpr uint32_t kFuelOpen2 = 0x101C4;
constexpr int kFuelSystemSlot = 19;

// The simulator's engine as far as a start needs it: the starter spins N2 up to 25 %, fuel
// lights the engine from N2 20 %, a burning engine spools up to an idle N2 of 60 % and the
// simulator releases the starter by itself once N2 passes 58 %.
class ScriptedEngine {
public:
    ScriptedEngine(sim::Panel& panel, int index) : panel(panel), index(index) {}

    void advance(double seconds) {
        const bool starter = read("GENERAL ENG STARTER") != 0.0;
        const bool fuel = read("GENERAL ENG MIXTURE LEVER POSITION") >= 1.0;
        double n2 = read("TURB ENG N2");
        bool burning = read("GENERAL ENG COMBUSTION") != 0.0;
        burning = fuel && (burning || n2 >= 20.0);
        const double target = burning ? 60.0 : (starter ? 25.0 : 0.0);
        const double step = 5.0 * seconds;
        n2 = n2 < target ? std::min(target, n2 + step) : std::max(target, n2 - step);
        write("TURB ENG N2", n2);
        write("TURB ENG N1", burning ? n2 * 0.4 : n2 * 0.2);
        write("TURB ENG ITT", burning ? 500.0 : 15.0);
        write("GENERAL ENG COMBUSTION", burning);
        if (burning && starter && n2 >= 58.0) {
            write("GENERAL ENG STARTER", 0.0);
        }
    }

private:
    double read(const char* name) const { return panel.variable(name, index); }
    void write(const char* name, double value) { panel.setVariable(name, index, value); }

    sim::Panel& panel;
    int index;
};

// Takes power from chosen buses at the end of every frame, so that the next frame's engines find
// them dead.
class BusCutter : public System {
public:
    void update(Aircraft& aircraft) override {
        for (int bus : buses) {
            aircraft.electric()->buses[static_cast<std::size_t>(bus)].powered = false;
        }
    }

    std::vector<int> buses;
};

// Ready for engine start: batteries on, parked, both essential buses powered. The fuel system
// and the bleed air are held by the test: fuel reaches both engines and both ducts are supplied
// at 32 psi.
class EngineTest : public testing::Test {
protected:
    explicit EngineTest(const std::string& ini = "[Startup]\nstartupMode=1\n")
        : scenario(ini), fuel(holdSystem<FuelSystem>(scenario.aircraft(), kFuelSystemSlot)),
          pneumatic(holdSystem<Pneumatic>(scenario.aircraft(), AirframeScenario::kPneumaticSlot)) {
        scenario.park();
        scenario.step(2);
    }

    JetEngine& engine1() { return *scenario.aircraft().engine1(); }
    JetEngine& engine2() { return *scenario.aircraft().engine2(); }
    sim::Panel& panel() { return scenario.panel(); }
    uint32_t now() { return scenario.aircraft().simTimeMs; }
    int events(uint32_t id) { return scenario.keyEventCount(id); }

    void setEngineVariable(const char* name, int engine, double value) {
        panel().setVariable(name, engine, value);
    }

    // Frames in which the scripted engines run before each frame of the module.
    void run(double seconds) {
        const int frames = static_cast<int>(std::lround(seconds * 18.0));
        for (int i = 0; i < frames; ++i) {
            scripted1.advance(1.0 / 18.0);
            scripted2.advance(1.0 / 18.0);
            scenario.step();
        }
    }

    // Runs until the condition holds; the milliseconds it took.
    template <typename Condition>
    uint32_t runUntil(Condition condition, double limitSeconds) {
        const uint32_t start = now();
        for (int i = 0; i < limitSeconds * 18 && !condition(); ++i) {
            run(1.0 / 18.0);
        }
        EXPECT_TRUE(condition());
        return now() - start;
    }

    void airborne(float airspeed) {
        panel().setToken(60, 0.0);
        scenario.aircraft().ahrs()->onGround = false;
        scenario.adc().indicatedAirspeed = airspeed;
    }

    // The cutter takes the last slot, after the network; its occupant sits out the test.
    void cutBuses(std::vector<int> buses) {
        cutter.buses = std::move(buses);
        System*& slot = scenario.aircraft().systems[kLastSlot];
        if (slot != &cutter) {
            displaced = std::exchange(slot, &cutter);
        }
    }

    ~EngineTest() override {
        System*& slot = scenario.aircraft().systems[kLastSlot];
        if (slot == &cutter) {
            slot = displaced;
        }
    }

    static constexpr std::size_t kLastSlot = Aircraft::kSystemSlots - 1;
    AirframeScenario scenario;
    FuelSystem& fuel;
    Pneumatic& pneumatic;
    ScriptedEngine scripted1{scenario.panel(), 1};
    ScriptedEngine scripted2{scenario.panel(), 2};
    BusCutter cutter;
    System* displaced = nullptr;
};

TEST_F(EngineTest, TheReadyCockpitPowersBothChannelsAndIgnitionsAndLeavesTheFuelCut) {
    ASSERT_TRUE(scenario.electric().isPowered(Electric::kEssentialBus1));
    ASSERT_TRUE(scenario.electric().isPowered(Electric::kEssentialBus2));
    for (JetEngine* engine : {&engine1(), &engine2()}) {
        EXPECT_TRUE(engine->started);
        EXPECT_TRUE(engine->channelAPowered && engine->channelBPowered);
        EXPECT_TRUE(engine->ignitionAPowered && engine->ignitionBPowered);
        EXPECT_TRUE(engine->sideBusPowered);
        EXPECT_EQ(engine->activeChannel, JetEngine::kChannelA);
        EXPECT_EQ(engine->engineControlKnob, JetEngine::kRun);
        EXPECT_EQ(engine->ignitionKnob, JetEngine::kIgnitionAuto);
        EXPECT_EQ(engine->fadecControlKnob, JetEngine::kNeutral);
        EXPECT_FALSE(engine->startActive);
    }
    EXPECT_GE(events(kFuelCutoff1), 1) << "start-up mode 1 cuts the fuel until started";
    EXPECT_EQ(events(kFuelOpen1), 0);
}

TEST_F(EngineTest, AGroundStartRunsFromTheKnobToStartComplete) {
    scenario.request("TaviEngControl2Inc");
    scenario.step();
    EXPECT_EQ(engine2().engineControlKnob, JetEngine::kStart);
    EXPECT_EQ(panel().namedVariable("TaviEngControl2"), 2.0);
    EXPECT_EQ(panel().namedVariable("TaviEngControl2Inc"), 0.0);
    EXPECT_TRUE(scenario.sounds().isPlaying(sounds::kKnobClick));
    run(1.0 / 18.0);
    EXPECT_TRUE(engine2().startActive);
    EXPECT_EQ(engine2().activeChannel, JetEngine::kChannelB) << "ground starts alternate";
    EXPECT_EQ(engine1().activeChannel, JetEngine::kChannelA);

    const uint32_t springBack =
        runUntil([&] { return engine2().engineControlKnob == JetEngine::kRun; }, 1.0);
    EXPECT_LE(springBack, 500u + AirframeScenario::kFrameMs);
    EXPECT_EQ(events(kStarterToggle2), 0);
    const uint32_t airCheck = runUntil([&] { return engine2().starterEngaged; }, 4.0);
    EXPECT_GT(airCheck, 3000u) << "the starter waits 3 s after the knob is back at RUN";
    EXPECT_LE(airCheck, 3000u + 3 * AirframeScenario::kFrameMs);
    EXPECT_EQ(events(kStarterToggle2), 1);

    runUntil([&] { return engine2().ignitionOn; }, 5.0);
    EXPECT_GE(panel().variable("TURB ENG N2", 2), 18.0);
    EXPECT_LT(panel().variable("TURB ENG N2", 2), 19.0) << "ignition from N2 18 % on the ground";
    EXPECT_TRUE(engine2().ignitorB);
    EXPECT_FALSE(engine2().ignitorA) << "on the ground only the channel in control fires";

    // N2 stops at 25 % on the starter: the fuel comes once it has gained no more than 1.5 % in
    // 5 s, after the check that started at 20 %.
    const uint32_t toFuel = runUntil([&] { return events(kFuelOpen2) == 1; }, 20.0);
    EXPECT_GT(toFuel, 10000u);
    EXPECT_LT(toFuel, 11000u);
    runUntil([&] { return !engine2().startActive; }, 20.0);
    EXPECT_TRUE(engine2().combustion);
    EXPECT_GE(panel().variable("TURB ENG N2", 2), 56.0);
    run(3.0);
    EXPECT_FALSE(engine2().ignitionOn);
    EXPECT_FALSE(engine2().starterEngaged);
    EXPECT_EQ(events(kFuelOpen2), 1);
    EXPECT_EQ(events(kStarterToggle2), 1) << "the simulator releases the starter itself";
    EXPECT_FALSE(engine1().startActive);
}

TEST_F(EngineTest, AStartWaitsForTheOtherEnginesStartButTheKnobStillSpringsBack) {
    scenario.request("TaviEngControl1Inc");
    scenario.step(2);
    ASSERT_TRUE(engine1().startActive);
    scenario.request("TaviEngControl2Inc");
    scenario.step(2);
    EXPECT_FALSE(engine2().startActive);
    EXPECT_EQ(engine2().activeChannel, JetEngine::kChannelA);
    scenario.run(0.6);
    EXPECT_EQ(engine2().engineControlKnob, JetEngine::kRun);
    EXPECT_FALSE(engine2().startActive);
}

TEST_F(EngineTest, StopAtIdleEndsTheStartAndAboveIdleLeavesTheEngineAlone) {
    for (int start = 0; start < 2; ++start) {
        scenario.request("TaviEngControl1Inc");
        scenario.step(2);
        scenario.run(4.0);
        ASSERT_TRUE(engine1().startActive);
        ASSERT_TRUE(engine1().starterEngaged);
        scenario.request("TaviEngControl1Dec");
        scenario.request("TaviEngControl1Dec");
        scenario.step(3);
        EXPECT_EQ(engine1().engineControlKnob, JetEngine::kStop);
        EXPECT_FALSE(engine1().startActive);
        EXPECT_FALSE(engine1().starterEngaged);
        scenario.request("TaviEngControl1Inc");
        scenario.step();
    }
    EXPECT_EQ(engine1().activeChannel, JetEngine::kChannelA) << "two ground starts: B, then A";

    // The engine runs and the FADEC's thrust lever sets its throttle.
    Fadec& fadec = *scenario.aircraft().fadec();
    setEngineVariable("GENERAL ENG MIXTURE LEVER POSITION", 1, 1.0);
    setEngineVariable("GENERAL ENG COMBUSTION", 1, 1.0);
    fadec.setThrottleLock(false);
    fadec.setThrustLever1(50.0f);
    scenario.step();
    ASSERT_GT(engine1().throttleLever, 0.05f);
    const int cuts = events(kFuelCutoff1);
    scenario.request("TaviEngControl1Dec");
    scenario.step(3);
    EXPECT_EQ(engine1().engineControlKnob, JetEngine::kStop);
    EXPECT_FALSE(engine1().idleAtCutoff);
    EXPECT_EQ(events(kFuelCutoff1), cuts) << "the engine keeps running";

    fadec.setThrustLever1(25.0f);
    scenario.request("TaviEngControl1Inc");
    scenario.step();
    ASSERT_EQ(engine1().throttleLever, 0.0f);
    scenario.request("TaviEngControl1Dec");
    scenario.step(2);
    EXPECT_TRUE(engine1().idleAtCutoff);
    EXPECT_EQ(events(kFuelCutoff1), cuts + 1);
    EXPECT_EQ(panel().variable("GENERAL ENG MIXTURE LEVER POSITION", 1), 0.0);
}

struct AirCheckRow {
    const char* name;
    float airspeed; // 0: on the ground
    bool supplied;
    float pressure;
    float target;
    bool sideBusDead;
    bool goesOn;
};

class StartAirTest : public EngineTest, public testing::WithParamInterface<AirCheckRow> {};

// Three seconds after the knob is back at RUN the start needs start air and its side's
// essential bus; without them a start that has not lit off ends and releases the starter.
TEST_P(StartAirTest, TheStartGoesOnOnlyWithStartAir) {
    const AirCheckRow row = GetParam();
    if (row.airspeed > 0.0f) {
        airborne(row.airspeed);
    }
    pneumatic.side2Supplied = row.supplied;
    pneumatic.ductPressure2 = row.pressure;
    pneumatic.ductPressureTarget2 = row.target;
    if (row.sideBusDead) {
        cutBuses({Electric::kEssentialBus2});
    }
    setEngineVariable("TURB ENG N2", 2, 10.0);
    scenario.request("TaviEngControl2Inc");
    scenario.step(2);
    ASSERT_TRUE(engine2().startActive);
    scenario.run(3.4);
    EXPECT_TRUE(engine2().startActive);
    scenario.run(0.3);
    EXPECT_EQ(engine2().startActive, row.goesOn);
    EXPECT_EQ(engine2().starterEngaged, row.goesOn) << "N2 below 14 % engages the starter";
    EXPECT_FALSE(engine1().startActive);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartAirTest,
    testing::Values(AirCheckRow{"GroundDuct13", 0, true, 13, 0, false, true},
                    AirCheckRow{"GroundTargetOnly13", 0, true, 12, 13, false, true},
                    AirCheckRow{"GroundBelow13", 0, true, 12, 12.9f, false, false},
                    AirCheckRow{"GroundNotSupplied", 0, false, 32, 32, false, false},
                    AirCheckRow{"GroundSideBusDead", 0, true, 32, 32, true, false},
                    AirCheckRow{"AirborneSlowNeeds13", 100, true, 12, 12, false, false},
                    AirCheckRow{"AirborneFastNeeds10", 101, true, 10, 0, false, true},
                    AirCheckRow{"AirborneFastBelow10", 200, true, 9.9f, 9, false, false},
                    AirCheckRow{"AirborneWithSideBus", 250, true, 32, 32, false, true},
                    AirCheckRow{"AirborneSideBusDead", 250, true, 32, 32, true, false}),
    [](const testing::TestParamInfo<AirCheckRow>& info) { return info.param.name; });

struct IgnitionRow {
    const char* name;
    int32_t knob;
    bool onGround;
    bool startActive;
    float n2;
    int32_t channel;
    bool ignitionOn, ignitorA, ignitorB;
};

class IgnitionTest : public EngineTest, public testing::WithParamInterface<IgnitionRow> {
protected:
    IgnitionTest() : EngineTest("[Startup]\nstartupMode=1\n[Engines]\ngroundIgnitionN2=22\n") {}
};

TEST_P(IgnitionTest, TheKnobTheStartAndN2DecideWhichIgnitorsFire) {
    const IgnitionRow row = GetParam();
    if (!row.onGround) {
        airborne(250.0f);
    }
    JetEngine& engine = engine1();
    engine.ignitionKnob = row.knob;
    engine.activeChannel = row.channel;
    engine.startActive = row.startActive;
    setEngineVariable("TURB ENG N2", 1, row.n2);
    scenario.step();
    EXPECT_EQ(engine.ignitionOn, row.ignitionOn);
    EXPECT_EQ(engine.ignitorA, row.ignitorA);
    EXPECT_EQ(engine.ignitorB, row.ignitorB);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IgnitionTest,
    testing::Values(
        IgnitionRow{"AutoGroundBelowSetting", 1, true, true, 21.9f, 0, false, false, false},
        IgnitionRow{"AutoGroundChannelA", 1, true, true, 22, 0, true, true, false},
        IgnitionRow{"AutoGroundChannelB", 1, true, true, 30, 1, true, false, true},
        IgnitionRow{"AutoAirborneBoth", 1, false, true, 10, 0, true, true, true},
        IgnitionRow{"AutoAirborneBelowThreshold", 1, false, true, 9.9f, 0, false, false, false},
        IgnitionRow{"AutoWithoutStart", 1, true, false, 30, 0, false, false, false},
        IgnitionRow{"OnBoth", 2, true, true, 22, 1, true, true, true},
        IgnitionRow{"OnWithoutStart", 2, true, false, 40, 0, false, false, false},
        IgnitionRow{"Off", 0, true, true, 30, 0, false, false, false}),
    [](const testing::TestParamInfo<IgnitionRow>& info) { return info.param.name; });

TEST_F(EngineTest, WithoutEitherEssentialBusTheIgnitionStaysOffAndChannelsHandOver) {
    cutBuses({Electric::kEssentialBus1});
    scenario.step(2);
    EXPECT_FALSE(engine1().channelAPowered);
    EXPECT_TRUE(engine1().channelBPowered);
    EXPECT_EQ(engine1().activeChannel, JetEngine::kChannelB);
    EXPECT_EQ(engine2().activeChannel, JetEngine::kChannelB);
    EXPECT_FALSE(engine1().sideBusPowered);
    EXPECT_TRUE(engine2().sideBusPowered);

    cutBuses({Electric::kEssentialBus1, Electric::kEssentialBus2});
    engine1().ignitionKnob = JetEngine::kIgnitionOn;
    engine1().startActive = true;
    setEngineVariable("TURB ENG N2", 1, 30.0);
    scenario.step(2);
    EXPECT_FALSE(engine1().ignitionOn);
    EXPECT_FALSE(engine1().ignitorA || engine1().ignitorB);
}

TEST_F(EngineTest, AirborneTheFuelComesAtTheFlightFuelValveN2) {
    airborne(250.0f);
    JetEngine& engine = engine1();
    engine.startActive = true;
    setEngineVariable("TURB ENG N2", 1, 19.9);
    scenario.step(2);
    EXPECT_TRUE(engine.ignitionOn);
    EXPECT_EQ(events(kFuelOpen1), 0);
    setEngineVariable("TURB ENG N2", 1, 20.0);
    scenario.step();
    EXPECT_EQ(events(kFuelOpen1), 1);
}

TEST_F(EngineTest, OnTheGroundTheFuelWaitsUntilN2StopsRising) {
    JetEngine& engine = engine1();
    engine.startActive = true;
    setEngineVariable("TURB ENG N2", 1, 19.0);
    scenario.step();
    setEngineVariable("TURB ENG N2", 1, 20.5);
    scenario.step();
    const uint32_t checkStart = engine.fuelCheckTime;
    EXPECT_EQ(checkStart, now());
    EXPECT_FLOAT_EQ(engine.fuelCheckN2, 20.0f);
    scenario.run(4.9);
    setEngineVariable("TURB ENG N2", 1, 21.6);
    while (now() - checkStart < 5000) {
        scenario.step();
    }
    EXPECT_EQ(events(kFuelOpen1), 0) << "N2 gained 1.6 %: still accelerating";
    EXPECT_FLOAT_EQ(engine.fuelCheckN2, 21.6f);
    const uint32_t secondCheck = engine.fuelCheckTime;
    setEngineVariable("TURB ENG N2", 1, 23.1);
    while (now() - secondCheck < 5000 - AirframeScenario::kFrameMs) {
        scenario.step();
    }
    EXPECT_EQ(events(kFuelOpen1), 0);
    while (now() - secondCheck < 5000) {
        scenario.step();
    }
    EXPECT_EQ(events(kFuelOpen1), 1) << "a gain of 1.5 % in 5 s counts as stopped";
}

TEST_F(EngineTest, WithoutFuelAtTheEngineAnOpenFuelLeverIsCutEveryFrame) {
    setEngineVariable("GENERAL ENG COMBUSTION", 1, 1.0);
    setEngineVariable("GENERAL ENG MIXTURE LEVER POSITION", 1, 1.0);
    scenario.step();
    const int cuts = events(kFuelCutoff1);
    fuel.fuelAvailable1 = false;
    scenario.step();
    EXPECT_EQ(events(kFuelCutoff1), cuts + 1);
    setEngineVariable("GENERAL ENG MIXTURE LEVER POSITION", 1, 1.0);
    scenario.step();
    EXPECT_EQ(events(kFuelCutoff1), cuts + 2);
    scenario.step();
    EXPECT_EQ(events(kFuelCutoff1), cuts + 2) << "the lever is at cut-off now";
}

TEST_F(EngineTest, AfterLightOffTheIndicationsFollowTheSimulatorWithAShrinkingLag) {
    JetEngine& engine = engine1();
    engine.startActive = true;
    setEngineVariable("TURB ENG N1", 1, 5.0);
    setEngineVariable("TURB ENG N2", 1, 25.0);
    setEngineVariable("TURB ENG ITT", 1, 20.0);
    scenario.run(11.0);
    ASSERT_EQ(events(kFuelOpen1), 1);
    setEngineVariable("GENERAL ENG COMBUSTION", 1, 1.0);
    setEngineVariable("TURB ENG N1", 1, 25.0);
    setEngineVariable("TURB ENG N2", 1, 60.0);
    setEngineVariable("TURB ENG ITT", 1, 520.0);
    scenario.step();
    const uint32_t lightOff = engine.combustionStartTime;
    EXPECT_EQ(lightOff, now());
    EXPECT_NEAR(engine.n1Percent, 5.0f, 0.2f) << "the lag starts from the values at fuel-on";
    scenario.run(1.0);
    EXPECT_GT(engine.n1Percent, 5.0f);
    EXPECT_LT(engine.n1Percent, 10.0f) << "a 12 s lag at light-off";
    EXPECT_LT(engine.n2Percent, 60.0f);
    EXPECT_LT(engine.itt, 520.0f);
    EXPECT_GT(engine.itt, 20.0f);
    float itt = engine.itt;
    while (now() - lightOff <= 2500) {
        scenario.step();
        ASSERT_GE(engine.itt, itt);
        ASSERT_LT(engine.itt - itt, 25.0f) << "no jump when the ITT's lag ends";
        itt = engine.itt;
    }
    EXPECT_FLOAT_EQ(engine.itt, 520.0f) << "the ITT's lag ends after 2 s";
    EXPECT_LT(engine.n1Percent, 25.0f);
    while (now() - lightOff <= 12000) {
        scenario.step();
    }
    EXPECT_FLOAT_EQ(engine.n1Percent, 25.0f);
    EXPECT_FLOAT_EQ(engine.n2Percent, 60.0f);
}

TEST_F(EngineTest, TheFadecControlKnobResetsOrAlternatesAndSpringsBackToNeutral) {
    Fadec& fadec = *scenario.aircraft().fadec();
    scenario.request("TaviFadecControl1Inc");
    scenario.step();
    EXPECT_EQ(engine1().fadecControlKnob, JetEngine::kAlternate);
    EXPECT_EQ(panel().namedVariable("TaviFadecControl1"), 2.0);
    EXPECT_EQ(engine1().activeChannel, JetEngine::kChannelB);
    const uint32_t turned = engine1().fadecControlTime;
    runUntil([&] { return engine1().fadecControlKnob == JetEngine::kNeutral; }, 1.0);
    EXPECT_GT(now() - turned, 499u);
    EXPECT_LE(now() - turned, 499u + AirframeScenario::kFrameMs);
    EXPECT_EQ(engine1().activeChannel, JetEngine::kChannelB);

    fadec.resetRequest = {false, false};
    fadec.takeoffDataStep = 2;
    scenario.request("TaviFadecControl2Dec");
    scenario.step();
    EXPECT_EQ(engine2().fadecControlKnob, JetEngine::kReset);
    EXPECT_EQ(fadec.takeoffDataStep, 0);
    EXPECT_EQ(engine2().activeChannel, JetEngine::kChannelA);
    scenario.request("TaviFadecControl2Dec");
    scenario.step();
    EXPECT_EQ(engine2().fadecControlKnob, JetEngine::kReset) << "RESET is the end of the knob";
}

TEST_F(EngineTest, TheOtherKnobsAndTheGuardWorkThroughEngine2sVariables) {
    for (int i = 0; i < 3; ++i) {
        scenario.request("TaviIgnition2Inc");
        scenario.step();
    }
    EXPECT_EQ(engine2().ignitionKnob, JetEngine::kIgnitionOn);
    EXPECT_EQ(panel().namedVariable("TaviIgnition2"), 2.0);
    scenario.request("TaviIgnition2Dec");
    scenario.request("TaviCover2Click");
    scenario.step();
    EXPECT_EQ(panel().namedVariable("TaviIgnition2"), 1.0);
    EXPECT_EQ(panel().namedVariable("TaviCover2"), 1.0);
    EXPECT_TRUE(engine2().guardOpen);
    EXPECT_FALSE(engine1().guardOpen);
    EXPECT_EQ(panel().namedVariable("TaviIgnition1"), 1.0);
    EXPECT_EQ(panel().namedVariable("TaviCover2Click"), 0.0);

    scenario.request("TaviEngControl2Dec");
    scenario.request("TaviCover2Click");
    scenario.step();
    EXPECT_EQ(engine2().engineControlKnob, JetEngine::kStop) << "the request ignores the guard";
    EXPECT_FALSE(engine2().guardOpen);
    EXPECT_EQ(panel().namedVariable("TaviEngControl2"), 0.0);
    engine2().engineControlUp(scenario.aircraft());
    engine2().engineControlUp(scenario.aircraft());
    engine2().engineControlUp(scenario.aircraft());
    EXPECT_EQ(engine2().engineControlKnob, JetEngine::kStart);
}

TEST_F(EngineTest, ChannelsIgnitionsAndTheStarterDrawFromTheEssentialBuses) {
    BusLoads loads;
    engine1().addElectricLoad(scenario.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus1], 10.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], 10.0f);
    setEngineVariable("GENERAL ENG STARTER", 2, 1.0);
    scenario.step();
    BusLoads starting;
    engine2().addElectricLoad(scenario.aircraft(), starting);
    EXPECT_FLOAT_EQ(starting[Electric::kEssentialBus1], 10.0f);
    EXPECT_FLOAT_EQ(starting[Electric::kEssentialBus2], 15.0f);

    cutBuses({Electric::kEssentialBus2});
    scenario.step(2);
    BusLoads deadSide;
    engine2().addElectricLoad(scenario.aircraft(), deadSide);
    EXPECT_FLOAT_EQ(deadSide[Electric::kEssentialBus1], 10.0f);
    EXPECT_FLOAT_EQ(deadSide[Electric::kEssentialBus2], 0.0f);
}

TEST_F(EngineTest, KeyEventsCarryTheEngineAndTheirData) {
    panel().clearKeyEventsSent();
    engine2().setThrottle(-3000);
    engine2().setAntiIce(true);
    engine1().setAntiIce(false);
    // The simulator's throttle of engine 1 stands at 0 already.
    engine1().setThrottle(0);
    const std::vector<sim::KeyEvent>& sent = panel().keyEventsSent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].eventId, 0x1011Du);
    EXPECT_EQ(static_cast<int32_t>(sent[0].value), -3000);
    EXPECT_EQ(sent[1].eventId, 0x103B9u);
    EXPECT_EQ(sent[1].value, 1u);
    EXPECT_EQ(sent[2].eventId, 0x103B8u);
    EXPECT_EQ(sent[2].value, 0u);
    EXPECT_DOUBLE_EQ(panel().variable("GENERAL ENG THROTTLE LEVER POSITION", 2), -3000.0 / 16384);
}

TEST_F(EngineTest, IndicationsMirrorTheSimulatorsEngine) {
    scenario.adc().totalAirTemperature = 10.0f;
    setEngineVariable("TURB ENG N1", 1, 45.5);
    setEngineVariable("TURB ENG N2", 1, 70.25);
    setEngineVariable("TURB ENG ITT", 1, -60.0);
    setEngineVariable("TURB ENG FUEL FLOW PPH", 1, 900.0);
    setEngineVariable("ENG OIL TEMPERATURE", 1, 50.0);
    setEngineVariable("ENG OIL QUANTITY", 1, 80.0);
    setEngineVariable("TURB ENG VIBRATION", 1, 2.0);
    setEngineVariable("GENERAL ENG THROTTLE LEVER POSITION", 1, -0.25);
    setEngineVariable("TURB ENG CORRECTED N1", 1, 47.0);
    setEngineVariable("GENERAL ENG GENERATOR ACTIVE", 1, 1.0);
    setEngineVariable("ENG ANTI ICE", 1, 1.0);
    setEngineVariable("ENG FAILED", 1, 1.0);
    scenario.step();
    const JetEngine& engine = engine1();
    EXPECT_FLOAT_EQ(engine.n1Percent, 45.5f);
    EXPECT_FLOAT_EQ(engine.n2Percent, 70.25f);
    EXPECT_FLOAT_EQ(engine.itt, 10.0f) << "never below the total air temperature";
    EXPECT_FLOAT_EQ(engine.fuelFlow, 900.0f);
    EXPECT_FLOAT_EQ(engine.oilTemperature, 80.0f);
    EXPECT_FLOAT_EQ(engine.oilQuantity, 12.0f);
    EXPECT_FLOAT_EQ(engine.vibration, 0.5f);
    EXPECT_EQ(engine.throttleUnits, -4096);
    EXPECT_FLOAT_EQ(engine.correctedN1, 47.0f);
    EXPECT_TRUE(engine.generatorActive && engine.antiIceOn && engine.failed);
    EXPECT_FLOAT_EQ(engine2().n1Percent, 0.0f) << "each engine reads its own index";

    scenario.adc().totalAirTemperature = 120.0f;
    setEngineVariable("GENERAL ENG THROTTLE LEVER POSITION", 1, 0.99999);
    scenario.step();
    EXPECT_FLOAT_EQ(engine.oilTemperature, 120.0f) << "nor is the oil temperature";
    EXPECT_EQ(engine.throttleUnits, 16383) << "truncated";
}

struct OilRow {
    double psi;
    float shown;
};

class OilPressureTest : public EngineTest, public testing::WithParamInterface<OilRow> {};

TEST_P(OilPressureTest, LowPressuresAreScaledUpMost) {
    setEngineVariable("ENG OIL PRESSURE", 2, GetParam().psi);
    scenario.step();
    EXPECT_FLOAT_EQ(engine2().oilPressure, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Gauge, OilPressureTest,
                         testing::Values(OilRow{0.0, 0.0f}, OilRow{25.0, 53.75f},
                                         OilRow{50.0, 65.0f}, OilRow{100.0, 130.0f}));

TEST_F(EngineTest, TheShownOilPressureRisesSmoothlyWithThePressure) {
    float before = 0.0f;
    for (double psi = 0.5; psi <= 120.0; psi += 0.5) {
        setEngineVariable("ENG OIL PRESSURE", 2, psi);
        scenario.step();
        const float shown = engine2().oilPressure;
        ASSERT_GT(shown, before) << psi << " psi";
        ASSERT_LT(shown - before, 2.0f) << psi << " psi";
        before = shown;
    }
}

struct StartupRow {
    int mode;
    int32_t knob;
    uint32_t fuelEvent;
};

class StartupModeTest : public testing::TestWithParam<StartupRow> {};

TEST_P(StartupModeTest, TheFirstFramesSetTheEngineToTheStartupState) {
    const StartupRow row = GetParam();
    // The flight loads with the simulator's engines burning on unlimited fuel.
    AirframeScenario scenario("[Startup]\nstartupMode=" + std::to_string(row.mode) + "\n",
                              [](sim::Panel& panel) {
                                  panel.setVariable("UNLIMITED FUEL", 0, 1.0);
                                  panel.setVariable("GENERAL ENG COMBUSTION", 1, 1.0);
                                  panel.setVariable("GENERAL ENG COMBUSTION", 2, 1.0);
                              });
    scenario.step(3);
    for (JetEngine* engine : {scenario.aircraft().engine1(), scenario.aircraft().engine2()}) {
        EXPECT_EQ(engine->engineControlKnob, row.knob);
        EXPECT_TRUE(engine->started);
    }
    const int cuts = scenario.keyEventCount(kFuelCutoff1);
    const int opens = scenario.keyEventCount(kFuelOpen1);
    EXPECT_EQ(cuts > 0, row.fuelEvent == kFuelCutoff1);
    EXPECT_EQ(opens > 0, row.fuelEvent == kFuelOpen1);
    const int count = std::max(cuts, opens);
    scenario.step(3);
    EXPECT_EQ(std::max(scenario.keyEventCount(kFuelCutoff1), scenario.keyEventCount(kFuelOpen1)),
              count)
        << "only until started";
}

INSTANTIATE_TEST_SUITE_P(Modes, StartupModeTest,
                         testing::Values(StartupRow{0, JetEngine::kStop, 0},
                                         StartupRow{1, JetEngine::kRun, kFuelCutoff1},
                                         StartupRow{2, JetEngine::kRun, kFuelOpen1},
                                         StartupRow{7, JetEngine::kRun, 0}));

TEST(EngineStartupTest, EnginesBurningAtTheFlightsStartShowTheirValuesWithoutSmoothing) {
    AirframeScenario scenario("[Startup]\nstartupMode=2\n", [](sim::Panel& panel) {
        for (int engine = 1; engine <= 2; ++engine) {
            panel.setVariable("GENERAL ENG MIXTURE LEVER POSITION", engine, 1.0);
            panel.setVariable("GENERAL ENG COMBUSTION", engine, 1.0);
            panel.setVariable("TURB ENG N1", engine, 24.0);
            panel.setVariable("TURB ENG N2", engine, 62.0);
            panel.setVariable("TURB ENG ITT", engine, 480.0);
        }
    });
    scenario.step();
    const JetEngine& engine = *scenario.aircraft().engine1();
    EXPECT_TRUE(engine.combustion);
    EXPECT_FLOAT_EQ(engine.n1Percent, 24.0f);
    EXPECT_FLOAT_EQ(engine.n2Percent, 62.0f);
    EXPECT_FLOAT_EQ(engine.itt, 480.0f);
}

} // namespace
} // namespace tavi::test
