#include "sim/Simulator.h"
#include "support/NavFixtureFiles.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace tavi::sim {
namespace {

constexpr double kFeetPerMetre = 3.280839895;
constexpr uint32_t kElevatorSet = 0x1009E;
constexpr uint32_t kAileronSet = 0x1009F;
constexpr uint32_t kElevatorTrimSet = 0x100AA;
constexpr uint32_t kFlapsIncrement = 0x100DE;
constexpr char kThrottle[] = "GENERAL ENG THROTTLE LEVER POSITION";

uint32_t data(int32_t value) {
    return static_cast<uint32_t>(value);
}

// The stand-in simulator alone, in a simulator folder holding the test region's navigation
// database (ZZAA at 1410 ft, 47 N 8 E).
class FlightModelTest : public testing::Test {
protected:
    FlightModelTest() { test::writeRegionDatabase(folder.path()); }

    const FlightState& state() const { return simulator.flight.state(); }
    void setThrottles(double lever) {
        simulator.panel.setVariable(kThrottle, 1, lever);
        simulator.panel.setVariable(kThrottle, 2, lever);
    }
    void setFlapNotches(int notches) {
        for (int i = 0; i < notches; ++i) {
            simulator.pilotKeyEvent(kFlapsIncrement);
        }
    }
    double groundSpeedKnots() const { return simulator.panel.variable("GROUND VELOCITY"); }
    // Distance from the runway threshold, metres.
    double distanceFrom(double latitude, double longitude) const {
        const double north = (state().latitude - latitude) / 180.0 * 3.14159265 * 6371008.8;
        const double east = (state().longitude - longitude) / 180.0 * 3.14159265 * 6371008.8 *
                            std::cos(latitude / 180.0 * 3.14159265);
        return std::hypot(north, east);
    }

    test::TempFolder folder;
    Simulator simulator{folder.path()};
};

struct CruiseCase {
    double altitudeFeet;
    double indicatedKnots;
};

class TrimmedFlightTest : public FlightModelTest, public testing::WithParamInterface<CruiseCase> {};

TEST_P(TrimmedFlightTest, HoldsAltitudeAndSpeedHandsOff) {
    const CruiseCase cruise = GetParam();
    simulator.placeInFlight(47.0, 8.0, cruise.altitudeFeet, 90.0, cruise.indicatedKnots);
    double lowest = cruise.altitudeFeet;
    double highest = cruise.altitudeFeet;
    for (int second = 0; second < 120; ++second) {
        simulator.stepSeconds(1.0);
        lowest = std::min(lowest, state().altitudeFeet);
        highest = std::max(highest, state().altitudeFeet);
    }
    EXPECT_LT(highest - cruise.altitudeFeet, 50.0);
    EXPECT_LT(cruise.altitudeFeet - lowest, 50.0);
    EXPECT_NEAR(simulator.flight.indicatedAirspeedKnots(), cruise.indicatedKnots, 3.0);
    EXPECT_NEAR(state().heading * 180.0 / 3.14159265, 90.0, 0.5);
    EXPECT_NEAR(simulator.panel.variable("G FORCE"), 1.0, 0.02);
}

INSTANTIATE_TEST_SUITE_P(Cruise, TrimmedFlightTest,
                         testing::Values(CruiseCase{5000.0, 250.0}, CruiseCase{20000.0, 280.0},
                                         CruiseCase{35000.0, 260.0}));

// Below the stall speed of its flap setting the aircraft cannot hold level flight: the angle
// of attack it would need lies beyond the stall and it sinks.
struct StallCase {
    int flapNotches;
    double indicatedKnots;
    bool holdsAltitude;
};

class StallTest : public FlightModelTest, public testing::WithParamInterface<StallCase> {};

TEST_P(StallTest, LevelFlightOnlyAboveTheStallSpeed) {
    const StallCase stall = GetParam();
    setFlapNotches(stall.flapNotches);
    simulator.placeInFlight(47.0, 8.0, 8000.0, 90.0, stall.indicatedKnots);
    simulator.stepSeconds(30.0);
    const double lost = 8000.0 - state().altitudeFeet;
    if (stall.holdsAltitude) {
        EXPECT_LT(lost, 150.0);
        EXPECT_LT(simulator.flight.angleOfAttackDegrees(), 15.0);
    } else {
        EXPECT_GT(lost, 300.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Flaps, StallTest,
                         testing::Values(StallCase{0, 160.0, true}, StallCase{0, 125.0, false},
                                         StallCase{4, 125.0, true}, StallCase{4, 85.0, false}));

// The surface events keep their sign, and the aircraft answers in the simulator's attitude
// convention (pitch positive nose down, bank positive left wing down).
struct SurfaceCase {
    uint32_t eventId;
    int32_t value;
    int token;
    double tokenValue;
};

class SurfaceEventTest : public FlightModelTest, public testing::WithParamInterface<SurfaceCase> {};

TEST_P(SurfaceEventTest, BothSignsReachTheSurface) {
    const SurfaceCase surface = GetParam();
    simulator.pilotKeyEvent(surface.eventId, data(surface.value));
    EXPECT_EQ(simulator.panel.token(surface.token), surface.tokenValue);
}

INSTANTIATE_TEST_SUITE_P(Events, SurfaceEventTest,
                         testing::Values(SurfaceCase{kElevatorSet, 8000, 317, -8000.0},
                                         SurfaceCase{kElevatorSet, -8000, 317, 8000.0},
                                         SurfaceCase{kElevatorSet, -40000, 317, 16383.0},
                                         SurfaceCase{kAileronSet, 5000, 313, -5000.0},
                                         SurfaceCase{kAileronSet, -5000, 313, 5000.0},
                                         SurfaceCase{kElevatorTrimSet, -3000, 318, -3000.0},
                                         SurfaceCase{kElevatorTrimSet, 3000, 318, 3000.0}));

TEST_F(FlightModelTest, PilotAxesMoveTheAircraftTheWayTheirSignsSay) {
    simulator.placeInFlight(47.0, 8.0, 8000.0, 90.0, 250.0);
    simulator.pilotEvent("AXIS_ELEVATOR_SET", -4000);
    simulator.stepSeconds(2.0);
    EXPECT_LT(simulator.panel.variable("ATTITUDE INDICATOR PITCH DEGREES", 1), -4.0);
    EXPECT_LT(simulator.panel.variable("ROTATION VELOCITY BODY X"), 0.0);
    simulator.pilotEvent("AXIS_ELEVATOR_SET", 0);
    simulator.pilotEvent("AXIS_AILERONS_SET", -6000);
    simulator.stepSeconds(2.0);
    EXPECT_LT(simulator.panel.variable("ATTITUDE INDICATOR BANK DEGREES", 1), -5.0);
    simulator.pilotEvent("AXIS_AILERONS_SET", 0);
    simulator.stepSeconds(5.0);
    EXPECT_GT(simulator.panel.variable("DELTA HEADING RATE"), 0.3);
    EXPECT_GT(simulator.panel.token(86), 90.5);
}

TEST_F(FlightModelTest, RunwayPlacementFromTheNavigationDatabase) {
    ASSERT_TRUE(simulator.placeOnRunway("ZZAA", "27R"));
    EXPECT_TRUE(simulator.isFlying());
    EXPECT_DOUBLE_EQ(state().latitude, 47.0);
    EXPECT_DOUBLE_EQ(state().longitude, 8.02);
    EXPECT_DOUBLE_EQ(simulator.panel.token(86), 270.0);
    EXPECT_EQ(simulator.panel.token(60), 1.0);
    // Flat terrain at the field elevation of ZZAA: the radio altimeter reads its antenna
    // height only.
    EXPECT_NEAR(simulator.panel.token(73) * kFeetPerMetre, 1410.0, 1e-6);
    EXPECT_NEAR(simulator.panel.token(614), 1.37, 1e-9);
    EXPECT_NEAR(simulator.panel.token(2) / 256.0 * kFeetPerMetre, 1410.0, 1e-6);

    Simulator other{folder.path()};
    EXPECT_FALSE(other.placeOnRunway("ZZAA", "18"));
    EXPECT_FALSE(other.isFlying());
}

TEST_F(FlightModelTest, RadioAltitudeOverTheNearestField) {
    simulator.placeInFlight(47.0, 8.0, 3000.0, 0.0, 200.0);
    EXPECT_NEAR(simulator.panel.token(614), (3000.0 - 1410.0) / kFeetPerMetre + 1.37, 1e-6);
}

TEST_F(FlightModelTest, TakeOffRollLiftOffAndBrakingStop) {
    ASSERT_TRUE(simulator.placeOnRunway("ZZAA", "09L"));
    simulator.readyToFly();
    setFlapNotches(1);
    setThrottles(0.9);
    while (simulator.flight.indicatedAirspeedKnots() < 140.0) {
        simulator.step();
        ASSERT_LT(simulator.simulatorSeconds(), 90.0);
    }
    const double rollMetres = distanceFrom(47.0, 7.98);
    EXPECT_GT(rollMetres, 500.0);
    EXPECT_LT(rollMetres, 2000.0);
    EXPECT_EQ(simulator.panel.token(60), 1.0);
    simulator.pilotEvent("AXIS_ELEVATOR_SET", -9000);
    simulator.stepSeconds(10.0);
    EXPECT_EQ(simulator.panel.token(60), 0.0);
    EXPECT_GT(state().altitudeFeet, 1450.0);
    EXPECT_GT(simulator.panel.token(614), 10.0);
}

struct StopCase {
    double brake;
    double lowestMetres;
    double highestMetres;
};

class BrakingTest : public FlightModelTest, public testing::WithParamInterface<StopCase> {};

TEST_P(BrakingTest, StopsFromEightyKnots) {
    const StopCase stop = GetParam();
    ASSERT_TRUE(simulator.placeOnRunway("ZZAA", "09L"));
    simulator.readyToFly();
    setThrottles(0.9);
    while (groundSpeedKnots() < 80.0) {
        simulator.step();
    }
    setThrottles(0.0);
    simulator.flight.setBrakes(stop.brake, stop.brake);
    const double from = state().longitude;
    while (groundSpeedKnots() > 0.0) {
        simulator.step();
        ASSERT_LT(simulator.simulatorSeconds(), 400.0);
    }
    const double metres = (state().longitude - from) / 180.0 * 3.14159265 * 6371008.8 *
                          std::cos(47.0 / 180.0 * 3.14159265);
    EXPECT_GT(metres, stop.lowestMetres);
    EXPECT_LT(metres, stop.highestMetres);
    simulator.stepSeconds(5.0);
    EXPECT_EQ(groundSpeedKnots(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Brakes, BrakingTest,
                         testing::Values(StopCase{1.0, 150.0, 600.0},
                                         StopCase{0.3, 400.0, 1500.0}));

TEST_F(FlightModelTest, NoseWheelSteersWithTheRudder) {
    ASSERT_TRUE(simulator.placeOnRunway("ZZAA", "09L"));
    simulator.readyToFly();
    setThrottles(0.2);
    simulator.stepSeconds(10.0);
    ASSERT_GT(groundSpeedKnots(), 5.0);
    simulator.pilotEvent("AXIS_RUDDER_SET", 1000);
    simulator.stepSeconds(2.0);
    const double right = simulator.panel.token(86);
    EXPECT_GT(right, 91.0);
    simulator.pilotEvent("AXIS_RUDDER_SET", -1000);
    simulator.stepSeconds(2.0);
    EXPECT_LT(simulator.panel.token(86), right - 1.0);
}

// The simulator's own altitude hold, as the module hands it over: master and altitude hold on,
// the target from the altitude key event.
struct HoldCase {
    double targetFeet;
    bool metric;
};

class SimulatorAltitudeHoldTest : public FlightModelTest,
                                  public testing::WithParamInterface<HoldCase> {};

TEST_P(SimulatorAltitudeHoldTest, ClimbsOrDescendsToTheTargetAndHoldsIt) {
    const HoldCase hold = GetParam();
    simulator.placeInFlight(47.0, 8.0, 8000.0, 90.0, 250.0);
    if (hold.metric) {
        simulator.panel.setToken(335, 2.0);
    }
    simulator.pilotKeyEvent(0x1024C, data(static_cast<int32_t>(hold.targetFeet)));
    simulator.pilotKeyEvent(0x10100, 1);
    simulator.pilotKeyEvent(0x10110);
    simulator.stepSeconds(150.0);
    double lowest = 1e9;
    double highest = -1e9;
    for (int second = 0; second < 60; ++second) {
        simulator.stepSeconds(1.0);
        lowest = std::min(lowest, state().altitudeFeet);
        highest = std::max(highest, state().altitudeFeet);
    }
    EXPECT_NEAR(lowest, hold.targetFeet, 50.0);
    EXPECT_NEAR(highest, hold.targetFeet, 50.0);

    simulator.pilotKeyEvent(0x10118);
    EXPECT_EQ(simulator.panel.token(108), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Targets, SimulatorAltitudeHoldTest,
                         testing::Values(HoldCase{8000.0, false}, HoldCase{9000.0, false},
                                         HoldCase{7000.0, false}, HoldCase{9000.0, true}));

// Hands off in cruise: with an engine failed the thrust of the other yaws the aircraft towards
// the failed one, which slips and turns that way; with both running it flies straight on.
struct EngineOutCase {
    const char* name;
    int failedEngine;
    // The heading's change over 30 s, degrees: at least (towards the right) or at most.
    double lowest;
    double highest;
};

class EngineOutTest : public FlightModelTest, public testing::WithParamInterface<EngineOutCase> {};

TEST_P(EngineOutTest, AsymmetricThrustYawsTowardsTheFailedEngine) {
    const EngineOutCase& c = GetParam();
    simulator.placeInFlight(47.0, 8.0, 10000.0, 90.0, 250.0);
    if (c.failedEngine != 0) {
        simulator.failEngine(c.failedEngine);
    }
    simulator.stepSeconds(30.0);
    const double turned = std::remainder(simulator.panel.token(86) - 90.0, 360.0);
    EXPECT_GE(turned, c.lowest);
    EXPECT_LE(turned, c.highest);
    if (c.failedEngine != 0) {
        // The slip: the air comes from the side of the running engine.
        EXPECT_GT(std::fabs(simulator.panel.variable("INCIDENCE BETA")), 0.2);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineOutTest,
                         testing::Values(EngineOutCase{"BothRunning", 0, -0.5, 0.5},
                                         EngineOutCase{"LeftFailed", 1, -360.0, -3.0},
                                         EngineOutCase{"RightFailed", 2, 3.0, 360.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlightModelTest, TheStandbyCompassShowsTheMagneticHeadingAsTheAircraftTurns) {
    simulator.placeInFlight(47.0, 8.0, 8000.0, 90.0, 250.0);
    EXPECT_NEAR(simulator.panel.token(83), simulator.panel.token(81), 1e-9);
    simulator.pilotEvent("AXIS_AILERONS_SET", -6000);
    simulator.stepSeconds(3.0);
    simulator.pilotEvent("AXIS_AILERONS_SET", 0);
    simulator.stepSeconds(10.0);
    EXPECT_GT(simulator.panel.token(83), 95.0);
    EXPECT_NEAR(simulator.panel.token(83), simulator.panel.token(81), 1e-9);
}

// The gear handle's events, as a crew or a client sends them, move the gear in its own time.
TEST_F(FlightModelTest, TheGearHandleEventsRaiseAndLowerTheGear) {
    constexpr int kLeftGearToken = 333;
    simulator.placeInFlight(47.0, 8.0, 8000.0, 90.0, 200.0);
    EXPECT_EQ(simulator.panel.token(kLeftGearToken), 0.0);
    simulator.pilotKeyEvent(SimAircraft::kGearDownEvent);
    simulator.stepSeconds(2.0);
    const double moving = simulator.panel.token(kLeftGearToken);
    EXPECT_GT(moving, 0.0);
    EXPECT_LT(moving, 16383.0);
    simulator.stepSeconds(10.0);
    EXPECT_EQ(simulator.panel.token(kLeftGearToken), 16383.0);
    simulator.pilotKeyEvent(SimAircraft::kGearToggleEvent);
    simulator.stepSeconds(10.0);
    EXPECT_EQ(simulator.panel.token(kLeftGearToken), 0.0);
    simulator.pilotKeyEvent(SimAircraft::kGearToggleEvent);
    EXPECT_TRUE(simulator.flight.gearHandle());
    simulator.pilotKeyEvent(SimAircraft::kGearUpEvent);
    EXPECT_FALSE(simulator.flight.gearHandle());
}

// With nowhere to start named, the aircraft stands parked at the first airport of the
// navigation database: on the ground, its gear down, the parking brake set, fuel in its tanks
// and its engines stopped.
TEST_F(FlightModelTest, TheDefaultFlightIsParkedFuelledColdAndDarkAtAnAirport) {
    ASSERT_TRUE(simulator.parkAtAirport());
    simulator.stepSeconds(5.0);
    EXPECT_NEAR(state().latitude, 47.0, 1e-9);
    EXPECT_NEAR(state().longitude, 8.0, 1e-9);
    EXPECT_EQ(simulator.panel.token(60), 1.0);
    EXPECT_EQ(simulator.panel.token(333), 16383.0);
    EXPECT_NEAR(simulator.panel.token(73) * kFeetPerMetre, 1410.0, 1e-6);
    EXPECT_EQ(simulator.panel.token(SimAircraft::kParkingBrakeToken),
              SimAircraft::kFullParkingBrake);
    EXPECT_GT(simulator.panel.variable("FUEL TANK LEFT MAIN QUANTITY"), 500.0);
    EXPECT_GT(simulator.panel.variable("FUEL TANK RIGHT MAIN QUANTITY"), 500.0);
    EXPECT_FALSE(simulator.engines.combustion(1));
    EXPECT_FALSE(simulator.engines.combustion(2));
    EXPECT_EQ(groundSpeedKnots(), 0.0);

    Simulator withoutDatabase{folder.path() / "empty"};
    EXPECT_FALSE(withoutDatabase.parkAtAirport());
    EXPECT_FALSE(withoutDatabase.isFlying());
}

} // namespace
} // namespace tavi::sim
