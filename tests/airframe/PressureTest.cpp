// The cabin pressure controller and the cabin, driven through the stand-in simulator with the
// neighbours' readings in the test's hands.
#include "airframe/Pressure.h"

#include "airframe/Fadec.h"
#include "airframe/Pneumatic.h"
#include "avionics/Baro.h"
#include "support/AirframeScenario.h"
#include "support/HeldSystem.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tavi::test {
namespace {

constexpr float kIdleLever = 25.0f;
constexpr float kTakeoffLever = 75.0f;
constexpr float kClimbLever = 50.0f;

// The aircraft with its outside altitude, attitude, levers and packs set by the test, its doors
// opened in the simulator; the FADEC is held, so the levers stay where the test puts them.
class PressureScenario : public AirframeScenario {
public:
    static constexpr int kFadecSlot = 17;

    PressureScenario() { holdSystem<Fadec>(aircraft(), kFadecSlot); }

    Pressure& pressure() { return *aircraft().pressure(); }
    Baro& baro() { return *aircraft().baro(); }

    void outside(double feet) { baro().updateStaticPressure(feet); }
    void onGround(bool ground) { aircraft().ahrs()->onGround = ground; }
    void verticalSpeed(float feetPerMinute) {
        aircraft().ahrs()->unit1.verticalSpeed = feetPerMinute;
    }
    void levers(float angle1, float angle2) { aircraft().fadec()->leverAngle = {angle1, angle2}; }
    void packs(bool pack1, bool pack2) {
        Pneumatic& pneumatic = *aircraft().pneumatic();
        pneumatic.pack1ValveOpen = pack1;
        pneumatic.pack2ValveOpen = pack2;
    }
    // The simulator's door openings in percent, which the flight controls pass on.
    void exits(double mainDoor, double baggageDoor) {
        panel().setVariable("EXIT OPEN", 0, mainDoor);
        panel().setVariable("EXIT OPEN", 1, baggageDoor);
    }

    // Frames up to and including the next 250 ms step of the controller.
    void controlStep() {
        do {
            step();
        } while (pressure().stepTimeMs != 0);
    }
    void controlSteps(int count) {
        for (int i = 0; i < count; ++i) {
            controlStep();
        }
    }
    // The schedule's cabin altitude at an outside altitude.
    double schedule(double feet) {
        return baro().altitudeWithPressureOffset(feet, 4.0 + 3.8 * std::clamp(feet, 0.0, 37000.0) /
                                                                 37000.0);
    }

private:
    static constexpr int kPneumaticSlot = 25;

    // The packs are the test's: the bleed air system's own frames do not run.
    Pneumatic& heldPacks = holdSystem<Pneumatic>(aircraft(), kPneumaticSlot);
};

struct StartCase {
    const char* name;
    bool onGround;
    double outside;
    bool pack1;
    bool pack2;
    int32_t mode;
};

void PrintTo(const StartCase& row, std::ostream* out) {
    *out << row.name;
}

class PressureStartTest : public testing::TestWithParam<StartCase> {};

// The first step puts the cabin where the controller wants it: nothing moves afterwards.
TEST_P(PressureStartTest, FirstStepPutsTheCabinAtItsTargetWithoutATransient) {
    const StartCase& row = GetParam();
    PressureScenario scenario;
    scenario.onGround(row.onGround);
    scenario.outside(row.outside);
    scenario.levers(kIdleLever, kIdleLever);
    scenario.packs(row.pack1, row.pack2);
    scenario.controlStep();

    Pressure& pressure = scenario.pressure();
    EXPECT_TRUE(pressure.started);
    EXPECT_EQ(pressure.mode, row.mode);
    double expected = row.outside;
    if (row.mode == Pressure::kScheduleMode && (row.pack1 || row.pack2)) {
        expected = std::max(scenario.schedule(row.outside),
                            scenario.baro().altitudeWithPressureOffset(0.0, -0.16));
    }
    EXPECT_NEAR(pressure.cabinAltitude, expected, 1e-6);
    EXPECT_NEAR(pressure.differentialPressure,
                scenario.baro().pressureDifference(expected, row.outside), 1e-9);
    EXPECT_EQ(pressure.cabinRate, 0.0);

    scenario.controlSteps(4);
    EXPECT_NEAR(pressure.cabinAltitude, expected, 1e-6);
    EXPECT_EQ(pressure.cabinRate, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, PressureStartTest,
    testing::Values(StartCase{"parked", true, 1500.0, true, true, Pressure::kGroundMode},
                    StartCase{"cruise", false, 35000.0, true, true, Pressure::kScheduleMode},
                    StartCase{"cruiseWithoutPacks", false, 35000.0, false, false,
                              Pressure::kScheduleMode}),
    [](const testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST(PressureTest, OnePackHoldsTheCabinWhileTheScheduleLiesAboveIt) {
    PressureScenario scenario;
    Pressure& pressure = scenario.pressure();
    scenario.onGround(false);
    scenario.outside(20000.0);
    scenario.packs(true, false);
    pressure.setLandingElevation(-1500);
    scenario.controlSteps(3);
    EXPECT_EQ(pressure.packsRunning, 1);
    ASSERT_GT(scenario.schedule(20000.0), 0.0);
    EXPECT_EQ(pressure.cabinAltitude, 0.0);
    EXPECT_EQ(pressure.targetCabinAltitude, 0.0);
    EXPECT_EQ(pressure.commandedRate, 0.0);

    // Lower down the schedule falls below the cabin, and the one pack brings it down.
    scenario.outside(10000.0);
    scenario.controlSteps(2);
    ASSERT_LT(scenario.schedule(10000.0), 0.0);
    EXPECT_DOUBLE_EQ(pressure.targetCabinAltitude, scenario.schedule(10000.0));
    EXPECT_EQ(pressure.commandedRate, -450.0);
    EXPECT_LT(pressure.cabinRate, 0.0);
}

// One row per transition of the controller's modes.
struct ModeCase {
    const char* name;
    int32_t from;
    bool onGround;
    float lever1;
    float lever2;
    double outside;
    double cabin;
    // Milliseconds since lift-off at the step.
    uint32_t sinceLiftOff;
    int32_t to;
    double commandedRate;
};

void PrintTo(const ModeCase& row, std::ostream* out) {
    *out << row.name;
}

class PressureModeTest : public testing::TestWithParam<ModeCase> {};

TEST_P(PressureModeTest, ModeFollowsGroundLeversAndSchedule) {
    const ModeCase& row = GetParam();
    PressureScenario scenario;
    scenario.onGround(row.onGround);
    scenario.outside(row.outside);
    scenario.levers(row.lever1, row.lever2);
    scenario.packs(true, true);
    scenario.controlSteps(2);

    Pressure& pressure = scenario.pressure();
    pressure.mode = row.from;
    pressure.cabinAltitude = row.cabin;
    pressure.landingElevation = 2000;
    pressure.departureElevation = 0;
    // The step comes within one 250 ms period.
    pressure.climbStartTime = scenario.aircraft().simTimeMs + 250 - row.sinceLiftOff;
    scenario.controlStep();
    EXPECT_EQ(pressure.mode, row.to);
    if (!std::isnan(row.commandedRate)) {
        EXPECT_EQ(pressure.commandedRate, row.commandedRate);
    }
}

constexpr double kAny = std::numeric_limits<double>::quiet_NaN();
constexpr uint32_t kMinute = 60000;
constexpr uint32_t kPastClimb = 902000;

INSTANTIATE_TEST_SUITE_P(
    Transitions, PressureModeTest,
    testing::Values(
        ModeCase{"groundToTakeoff", 5, true, kIdleLever, kTakeoffLever, 0, 0, 0, 1, -450},
        ModeCase{"groundToSchedule", 5, false, kClimbLever, kClimbLever, 3000, 0, 0, 3, kAny},
        ModeCase{"takeoffHolds", 1, true, kClimbLever, kClimbLever, 0, -400, 0, 1, 0},
        ModeCase{"rejectedTakeoff", 1, true, kIdleLever, kIdleLever, 0, 0, 0, 4, -450},
        ModeCase{"liftOff", 1, false, kTakeoffLever, kTakeoffLever, 500, 500, 0, 2, -450},
        ModeCase{"climbBelowSchedule", 2, false, kClimbLever, kClimbLever, 10000, 0, kMinute, 2,
                 -450},
        ModeCase{"climbPastSchedule", 2, false, kClimbLever, kClimbLever, 10000, -1500, kMinute, 3,
                 650},
        ModeCase{"climbTooLong", 2, false, kClimbLever, kClimbLever, 10000, 0, kPastClimb, 3, kAny},
        ModeCase{"climbBackOnGround", 2, true, kIdleLever, kIdleLever, 0, 100, kMinute, 4, kAny},
        ModeCase{"scheduleToLanding", 3, true, kIdleLever, kIdleLever, 0, 0, 0, 4, kAny},
        ModeCase{"scheduleToTakeoff", 3, true, kTakeoffLever, kIdleLever, 0, 0, 0, 1, kAny},
        ModeCase{"landingDescends", 4, true, kIdleLever, kIdleLever, 0, 3000, 0, 4, -650},
        ModeCase{"landingClimbs", 4, true, kIdleLever, kIdleLever, 0, 1000, 0, 4, 650},
        ModeCase{"landingDone", 4, true, kIdleLever, kIdleLever, 0, 2010, 0, 5, 0},
        ModeCase{"landingAirborne", 4, false, kClimbLever, kClimbLever, 3000, 3000, 0, 3, 0},
        ModeCase{"groundFollowsOutside", 5, true, kIdleLever, kIdleLever, 0, 500, 0, 5, -200}),
    [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST(PressureTest, RepositionZeroesBothRatesAndSmallChangesDoNot) {
    PressureScenario scenario;
    scenario.onGround(false);
    scenario.outside(20000.0);
    scenario.packs(true, true);
    scenario.controlSteps(2);
    Pressure& pressure = scenario.pressure();

    struct Move {
        double outside;
        bool zeroed;
    };
    for (const Move& move :
         {Move{20900.0, false}, Move{22000.0, true}, Move{20950.0, true}, Move{20100.0, false}}) {
        SCOPED_TRACE(move.outside);
        pressure.cabinRate = 500.0;
        scenario.outside(move.outside);
        scenario.controlStep();
        if (move.zeroed) {
            EXPECT_LE(std::fabs(pressure.cabinRate), 25.0);
        } else {
            EXPECT_GE(pressure.cabinRate, 475.0);
        }
        EXPECT_DOUBLE_EQ(pressure.previousAircraftAltitude, pressure.aircraftAltitude);
    }
}

TEST(PressureTest, AnOpenExitEqualisesTheCabinInEveryMode) {
    PressureScenario scenario;
    scenario.onGround(false);
    scenario.outside(8000.0);
    scenario.verticalSpeed(-1234.9f);
    scenario.packs(true, true);
    scenario.controlStep();
    for (int32_t mode : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(mode);
        scenario.pressure().mode = mode;
        scenario.exits(mode % 2 ? 100.0 : 0.0, mode % 2 ? 0.0 : 5.0);
        scenario.controlStep();
        Pressure& pressure = scenario.pressure();
        EXPECT_NEAR(pressure.cabinAltitude, 8000.0, 1e-6);
        EXPECT_EQ(pressure.differentialPressure, 0.0);
        EXPECT_EQ(pressure.cabinRate, -1234.0) << "the vertical speed, truncated";
        EXPECT_EQ(pressure.commandedRate, -1234.0);
    }
}

// Packs off at cruise: the cabin climbs towards the outside at up to 4000 ft/min; above 9900 ft
// the master warning and the cabin call-out stand until the crew acknowledges them.
// At cruise with both packs on and the cabin on its schedule. Only the cabin's warning may
// latch: the systems that would post theirs in this bare aircraft (no fuel, no hydraulics) leave.
void cruiseWithPacksOn(PressureScenario& scenario) {
    ASSERT_TRUE(scenario.hasSounds());
    Aircraft& aircraft = scenario.aircraft();
    scenario.keepOnly({aircraft.electric(), aircraft.eicasDau(), aircraft.aws(), aircraft.ahrs(),
                       aircraft.adc(), aircraft.baro(), aircraft.pressure(), aircraft.pneumatic(),
                       aircraft.mechanisation(), aircraft.fadec(), aircraft.gps()});
    scenario.park();
    scenario.batteriesOn();
    scenario.onGround(false);
    scenario.enterPhase(kAirbornePhase);
    scenario.outside(35000.0);
    scenario.packs(true, true);
    scenario.controlSteps(2);
}

TEST(PressureTest, CabinAltitudeWarningWithPacksOffAtCruise) {
    PressureScenario scenario;
    cruiseWithPacksOn(scenario);
    Pressure& pressure = scenario.pressure();
    EicasDau& eicas = scenario.eicas();
    ASSERT_LT(pressure.cabinAltitude, 9000.0);
    ASSERT_FALSE(eicas.warningLatched);

    // A master WARNING acknowledged before the excursion does not silence its call-out.
    eicas.acknowledgeWarnings();
    ASSERT_TRUE(pressure.cabinAltitudeAcknowledged);

    scenario.packs(false, false);
    double previous = pressure.cabinAltitude;
    while (!pressure.cabinAltitudeWarning) {
        scenario.controlStep();
        EXPECT_EQ(pressure.cabinRate, 4000.0);
        // A step lasts five frames of 1/18 s.
        EXPECT_LE(pressure.cabinAltitude - previous, 4000.0 * 0.28 / 60.0);
        previous = pressure.cabinAltitude;
        ASSERT_LT(scenario.aircraft().simTimeMs, 600000u);
    }
    EXPECT_GT(pressure.cabinAltitude, 9900.0);
    EXPECT_TRUE(eicas.warningLatched);
    EXPECT_TRUE(eicas.warningRequest);
    EXPECT_FALSE(pressure.cabinAltitudeAcknowledged);

    // Back on, the packs take the rate down from the 3000 ft/min limit by 50 ft/min a step.
    scenario.packs(true, true);
    scenario.controlStep();
    EXPECT_EQ(pressure.cabinRate, 3000.0);
    scenario.controlStep();
    EXPECT_EQ(pressure.cabinRate, 2950.0);
    scenario.run(5.0);
    EXPECT_TRUE(pressure.cabinAltitudeWarning);
    EXPECT_TRUE(scenario.sounds().isQueued(sounds::kCabinCallout));
    eicas.acknowledgeWarnings();
    EXPECT_TRUE(pressure.cabinAltitudeAcknowledged);
    EXPECT_FALSE(eicas.warningLatched);
    scenario.run(6.0);
    EXPECT_FALSE(scenario.sounds().isQueued(sounds::kCabinCallout)) << "the call-out stops";
    EXPECT_FALSE(eicas.warningLatched) << "one request per excursion";

    // The packs bring the cabin down at the climb schedule's 450 ft/min.
    while (pressure.cabinAltitudeWarning) {
        scenario.controlStep();
        EXPECT_GE(pressure.cabinRate, -450.0);
        ASSERT_LT(scenario.aircraft().simTimeMs, 1200000u);
    }
    EXPECT_LE(pressure.cabinAltitude, 9900.0);
    EXPECT_FALSE(pressure.cabinAltitudeAcknowledged);
}

// Nobody presses the master WARNING: the warning goes when the cabin comes back below 9900 ft,
// and the chime stops with it.
TEST(PressureTest, UnacknowledgedCabinWarningGoesWithTheHighCabin) {
    PressureScenario scenario;
    cruiseWithPacksOn(scenario);
    Pressure& pressure = scenario.pressure();
    EicasDau& eicas = scenario.eicas();
    scenario.packs(false, false);
    while (!pressure.cabinAltitudeWarning) {
        scenario.controlStep();
        ASSERT_LT(scenario.aircraft().simTimeMs, 600000u);
    }
    ASSERT_TRUE(eicas.warningLatched);
    scenario.packs(true, true);
    while (pressure.cabinAltitudeWarning) {
        scenario.controlStep();
        ASSERT_LT(scenario.aircraft().simTimeMs, 1200000u);
    }
    scenario.step(2);
    EXPECT_FALSE(eicas.warningRequest);
    EXPECT_FALSE(eicas.warningLatched);
    EXPECT_TRUE(std::none_of(eicas.messages.begin(), eicas.messages.end(),
                             [](const EicasMessage& m) { return m.level == kEicasWarning; }));
    const uint32_t lastChime = eicas.lastWarningChimeTick;
    scenario.run(11.0);
    EXPECT_EQ(eicas.lastWarningChimeTick, lastChime) << "no more chimes";
    EXPECT_FALSE(scenario.sounds().isQueued(sounds::kCabinCallout));
}

TEST(PressureTest, CabinRateRampsAndReliefValvesActBeyondTheLimits) {
    PressureScenario scenario;
    scenario.onGround(false);
    scenario.outside(41000.0);
    scenario.packs(true, true);
    scenario.controlSteps(2);
    Pressure& pressure = scenario.pressure();

    // The cabin far below the schedule: the differential exceeds 8.1 psi and the cabin climbs.
    pressure.cabinAltitude = 0.0;
    pressure.differentialPressure = scenario.baro().pressureDifference(0.0, 41000.0);
    pressure.cabinRate = 0.0;
    scenario.controlStep();
    EXPECT_EQ(pressure.cabinRate, 15.0);
    scenario.controlStep();
    EXPECT_EQ(pressure.cabinRate, 30.0);

    // The cabin above the outside: below -0.3 psi it descends.
    pressure.cabinAltitude = 45000.0;
    pressure.differentialPressure = scenario.baro().pressureDifference(45000.0, 41000.0);
    pressure.cabinRate = 0.0;
    scenario.controlStep();
    EXPECT_EQ(pressure.cabinRate, -15.0);

    // Within the limits the rate moves to the wanted rate by 25 ft/min a step.
    const double below = scenario.schedule(41000.0) - 300.0;
    pressure.cabinAltitude = below;
    pressure.differentialPressure = scenario.baro().pressureDifference(below, 41000.0);
    pressure.cabinRate = 0.0;
    for (double expected : {25.0, 50.0, 75.0}) {
        scenario.controlStep();
        EXPECT_EQ(pressure.commandedRate, 650.0);
        EXPECT_EQ(pressure.cabinRate, expected);
    }
}

TEST(PressureTest, BelowMinus2000FeetTheControllerOnlyZeroesTargetAndRate) {
    PressureScenario scenario;
    scenario.onGround(true);
    scenario.outside(-1600.0);
    scenario.packs(true, true);
    scenario.controlSteps(2);
    Pressure& pressure = scenario.pressure();
    pressure.commandedRate = 300.0;
    scenario.outside(-2500.0);
    scenario.controlStep();
    EXPECT_EQ(pressure.targetCabinAltitude, 0.0);
    EXPECT_EQ(pressure.commandedRate, 0.0);
    EXPECT_EQ(pressure.mode, Pressure::kGroundMode);
    EXPECT_NEAR(pressure.aircraftAltitude, -2500.0, 1e-6);
}

// A first step that comes after a long first frame integrates over one step only.
TEST(PressureTest, NothingHappensWithoutAirDataAndTheFirstStepIsOneStepLong) {
    PressureScenario scenario;
    constexpr std::size_t kBaroSlot = 11;
    auto& systems = scenario.aircraft().systems;
    delete systems[kBaroSlot];
    systems[kBaroSlot] = nullptr;
    scenario.onGround(true);
    scenario.levers(kTakeoffLever, kIdleLever);
    scenario.step(10);
    Pressure& pressure = scenario.pressure();
    EXPECT_FALSE(pressure.started) << "no air data yet";
    EXPECT_EQ(pressure.mode, Pressure::kModeNotChosen);

    systems[kBaroSlot] = new Baro();
    scenario.outside(0.0);
    scenario.module.simulator.stepBy(30.0);
    const double target = scenario.baro().altitudeWithPressureOffset(0.0, 0.2);
    EXPECT_TRUE(pressure.started);
    EXPECT_EQ(pressure.mode, Pressure::kTakeoffMode);
    // Without packs the cabin heads for the outside at 8 ft/min per foot, for 250 ms.
    EXPECT_NEAR(pressure.cabinAltitude, target + 8.0 * -target * 0.25 / 60.0, 1e-6);
}

TEST(PressureTest, LandingElevationIsLimitedAndShownFiveWide) {
    PressureScenario scenario;
    Pressure& pressure = scenario.pressure();
    struct Row {
        int32_t feet;
        int32_t set;
        const char* text;
    };
    for (const Row& row : {Row{5000, 5000, " 5000"}, Row{-2000, -1500, "-1500"},
                           Row{14100, 14000, "14000"}, Row{0, 0, "    0"}}) {
        pressure.setLandingElevation(row.feet);
        scenario.step();
        EXPECT_EQ(pressure.landingElevation, row.set);
        EXPECT_EQ(pressure.landingElevationText, row.text);
    }
}

} // namespace
} // namespace tavi::test
