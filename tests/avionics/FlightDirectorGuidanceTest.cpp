#include "support/FlightDirectorBench.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>

namespace tavi::test {
namespace {

using L = FdLateralMode;
using V = FdVerticalMode;

constexpr double kDegrees = std::numbers::pi / 180.0;

class FlightDirectorGuidanceTest : public testing::Test {
protected:
    FlightDirector& fd() { return bench.fd(); }

    void engageInFlight(float altitude) {
        bench.setAirborne(true);
        bench.setAltitude(altitude);
        bench.setSpeed(250.0f);
        bench.autopilot().engaged = true;
        bench.step();
    }

    FlightDirectorBench bench;
};

struct TurnCase {
    float courseChange;
    float groundSpeed;
    float altitude;
    double bank;
};

class TurnGeometryTest : public FlightDirectorGuidanceTest,
                         public testing::WithParamInterface<TurnCase> {};

// The heading law asks -Kp x change (capped at maxBank 27); the altitude gives the bank limit.
TEST_P(TurnGeometryTest, TheRadiusAndLeadFollowTheLimitedBank) {
    const TurnCase& c = GetParam();
    float lead = -1.0f;
    const float radius = fd().computeTurnGeometry(c.courseChange, c.groundSpeed, lead, c.altitude);
    const double v = c.groundSpeed * 1853.0 / 3600.0;
    const double expected = v * v / (std::tan(c.bank * kDegrees) * 9.81) / 1853.0;
    EXPECT_NEAR(radius, expected, 1e-4 * expected);
    const double halfTurn = std::min(std::fabs(c.courseChange), 150.0f) / 2.0;
    EXPECT_NEAR(lead, expected * std::tan(halfTurn * kDegrees), 1e-4 * expected);
}

INSTANTIATE_TEST_SUITE_P(
    BankLimits, TurnGeometryTest,
    testing::Values(TurnCase{90.0f, 250.0f, 5000.0f, 0.92 * 27.0},
                    TurnCase{90.0f, 250.0f, 0.0f, 27.0},
                    TurnCase{-90.0f, 250.0f, 20000.0f, 0.85 * 27.0},
                    TurnCase{90.0f, 250.0f, 30000.0f, 27.0 * (0.65 + 0.2 * 0.5)},
                    TurnCase{90.0f, 250.0f, 50000.0f, 27.0 * 0.65},
                    // Kp -1.5 at 150 kt and below: 1.5 x 5 degrees.
                    TurnCase{5.0f, 120.0f, 0.0f, 7.5},
                    // Kp -2.0 at 200 kt; the lead is capped at a 150 degree turn.
                    TurnCase{170.0f, 200.0f, 0.0f, 27.0}));

TEST_F(FlightDirectorGuidanceTest, AZeroCourseChangeNeedsNoTurn) {
    float lead = -1.0f;
    EXPECT_EQ(fd().computeTurnGeometry(0.0f, 250.0f, lead, 5000.0f), 0.0f);
    EXPECT_EQ(lead, 0.0f);
}

TEST_F(FlightDirectorGuidanceTest, TheHeadingGainIsScheduledBetweenTheTwoSpeeds) {
    EXPECT_DOUBLE_EQ(fd().scheduleHeadingGain(100.0), -1.5);
    EXPECT_DOUBLE_EQ(fd().scheduleHeadingGain(200.0), -2.0);
    EXPECT_DOUBLE_EQ(fd().scheduleHeadingGain(300.0), -2.5);
    bench.loadSettings("[Autopilot]\nhdg_LoSpd=200\nhdg_HiSpd=200\n");
    EXPECT_DOUBLE_EQ(fd().scheduleHeadingGain(300.0), -1.5) << "equal speeds give the low gain";
}

// A mode engaged again after a flight in it flies as one engaged for the first time: the laws
// are given integral gains, so that a controller not restarted would carry its past.
struct RestartCase {
    std::string name;
    std::string gains;
    std::function<void(FlightDirectorBench&)> setUp;
    // The earlier flight in the mode, ending in another mode.
    std::function<void(FlightDirectorBench&)> history;
    std::function<void(FlightDirectorBench&)> engage;
};

// The pitch and bank commands of each frame of 2 s after the mode is engaged.
std::vector<float> commandsAfterEngaging(const RestartCase& c, bool withHistory) {
    FlightDirectorBench bench;
    bench.loadSettings("[Autopilot]\n" + c.gains);
    c.setUp(bench);
    bench.step();
    if (withHistory) {
        c.history(bench);
    }
    c.engage(bench);
    std::vector<float> commands;
    for (int frame = 0; frame < 36; ++frame) {
        bench.step();
        commands.push_back(bench.autopilot().pitchCommand);
        commands.push_back(bench.autopilot().bankCommand);
    }
    return commands;
}

void climbAt250Knots(FlightDirectorBench& bench) {
    bench.panel().setToken(116, 250.0);
    bench.setPreselect(10000.0f);
    bench.setVerticalSpeed(500.0f);
}

// The speed captured 8 kt slow, so that the speed loop works.
void flySpeedModeThenPit(FlightDirectorBench& bench) {
    bench.setSpeed(242.0f);
    bench.fd().setVerticalMode(V::Speed);
    bench.run(3.0);
    bench.fd().setVerticalMode(V::Pit);
}

void PrintTo(const RestartCase& c, std::ostream* os) {
    *os << c.name;
}

class EngagingAModeTest : public testing::TestWithParam<RestartCase> {};

TEST_P(EngagingAModeTest, RestartsItsControllers) {
    EXPECT_EQ(commandsAfterEngaging(GetParam(), true), commandsAfterEngaging(GetParam(), false));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EngagingAModeTest,
    testing::Values(RestartCase{"Hdg", "hdg_Ki=0.5\n",
                                [](FlightDirectorBench& bench) {
                                    bench.setHeading(100.0f);
                                    bench.fd().setHeadingBug(105.0f);
                                },
                                [](FlightDirectorBench& bench) {
                                    bench.fd().setLateralMode(L::Hdg);
                                    bench.run(3.0);
                                    bench.fd().setLateralMode(L::Rol);
                                },
                                [](FlightDirectorBench& bench) {
                                    bench.fd().setLateralMode(L::Hdg);
                                }},
                    RestartCase{"Alt", "alt_Ki=0.5\nvs_spd_Ki=0.5\n",
                                [](FlightDirectorBench& bench) { bench.setAltitude(4800.0f); },
                                [](FlightDirectorBench& bench) {
                                    bench.fd().setVerticalMode(V::Alt);
                                    bench.run(3.0);
                                    bench.fd().setVerticalMode(V::Pit);
                                },
                                [](FlightDirectorBench& bench) {
                                    bench.fd().setVerticalMode(V::Alt);
                                }},
                    // A speed captured in climb is let go with the mode: 35 kt slow, the next
                    // episode climbs first at its acceleration vertical speed.
                    RestartCase{"Speed", "lvlchg_acc_Ki=0.5\nvs_spd_Ki=0.5\n", climbAt250Knots,
                                flySpeedModeThenPit,
                                [](FlightDirectorBench& bench) {
                                    bench.setSpeed(215.0f);
                                    bench.fd().setVerticalMode(V::Speed);
                                }}),
    [](const testing::TestParamInfo<RestartCase>& info) { return info.param.name; });

// The pitch commanded in the first frame of ALT engaged from level flight at zero pitch, the
// given distance below the preselected altitude. The pitch loop starts at the present pitch and
// its first step is in proportion to the vertical speed the rate loop asks.
float altitudeHoldFirstPitch(float error, const std::string& settings = "") {
    FlightDirectorBench bench;
    if (!settings.empty()) {
        bench.loadSettings(settings);
    }
    bench.setPreselect(5000.0f);
    bench.setAltitude(5000.0f - error);
    bench.autopilot().engaged = true;
    bench.step();
    bench.fd().setVerticalMode(V::Alt);
    bench.step();
    EXPECT_EQ(bench.fd().verticalMode(), V::Alt);
    return bench.autopilot().pitchCommand;
}

// The vertical speed ALT asks at an error, measured against the 200 fpm of 100 ft.
double altitudeHoldVerticalSpeed(float error, const std::string& settings = "") {
    return 200.0 * altitudeHoldFirstPitch(error, settings) / altitudeHoldFirstPitch(100.0f);
}

// The pitch commanded after a minute of VS flown at a target no pitch within the limits reaches.
float pitchAtTheLimit(const std::string& settings, int32_t verticalSpeedTarget) {
    FlightDirectorBench bench;
    bench.loadSettings(settings);
    bench.setPreselect(verticalSpeedTarget > 0 ? 30000.0f : 1000.0f);
    bench.step();
    bench.fd().setVerticalMode(V::Vs);
    bench.panel().setToken(120, verticalSpeedTarget);
    bench.run(60.0);
    EXPECT_EQ(bench.fd().verticalMode(), V::Vs);
    return bench.autopilot().pitchCommand;
}

TEST(FlightDirectorSettingsTest, SettingsGiveTheGainsAndLimitsAndKeepTheirExactDefaults) {
    const std::string settings = "[Autopilot]\nmaxPitch=20\nminPitch=-10\n"
                                 "lvlchg_capture_cas_diff=-12\nalt_max_output=400\n";
    // The pitch loop stops at the last step short of its limit; the Autopilot's own limit would
    // hold it on the limit itself.
    const float up = pitchAtTheLimit(settings, 3000);
    EXPECT_GT(up, -20.0f);
    EXPECT_LT(up, -19.9f);
    const float down = pitchAtTheLimit(settings, -3000);
    EXPECT_LT(down, 10.0f);
    EXPECT_GT(down, 9.9f);
    EXPECT_NEAR(altitudeHoldVerticalSpeed(1000.0f, settings), 400.0, 1e-3);

    FlightDirectorBench bench;
    bench.loadSettings(settings);
    const FdGuidanceSettings& guidance = bench.fd().guidanceSettings();
    EXPECT_EQ(guidance.captureCasDiff, 12.0);
    EXPECT_EQ(guidance.vsLoAltKp, -0.0000004) << "small defaults survive";
    EXPECT_EQ(guidance.vsHiAltKp, -0.0000003);
}

struct AltitudeCase {
    float error;
    double verticalSpeed;
};

class AltitudeHoldTest : public testing::TestWithParam<AltitudeCase> {};

// VS target := 2 x error, within +-500 fpm.
TEST_P(AltitudeHoldTest, TheErrorAsksAVerticalSpeedWithinTheLimit) {
    EXPECT_NEAR(altitudeHoldVerticalSpeed(GetParam().error), GetParam().verticalSpeed, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Errors, AltitudeHoldTest,
                         testing::Values(AltitudeCase{0.0f, 0.0}, AltitudeCase{100.0f, 200.0},
                                         AltitudeCase{-200.0f, -400.0},
                                         AltitudeCase{1000.0f, 500.0},
                                         AltitudeCase{-1000.0f, -500.0}));

TEST_F(FlightDirectorGuidanceTest, RolLevelsTheWingsThenHoldsTheHeadingASecondLater) {
    engageInFlight(5000.0f);
    bench.setHeading(123.0f);
    bench.setAttitude(0.0f, 20.0f);
    fd().setLateralMode(L::Hdg);
    fd().setLateralMode(L::Rol);
    bench.step();
    EXPECT_EQ(bench.autopilot().bankCommand, 0.0f);
    bench.run(1.5);
    bench.setHeading(133.0f);
    bench.step();
    EXPECT_EQ(bench.autopilot().bankCommand, 0.0f) << "no heading is held beyond 5 degrees of bank";

    bench.setHeading(123.0f);
    bench.setAttitude(0.0f, 4.0f);
    bench.step();
    bench.run(0.8);
    bench.setHeading(133.0f);
    bench.step();
    EXPECT_EQ(bench.autopilot().bankCommand, 0.0f) << "the wings are held level for a second";
    bench.run(0.3);
    EXPECT_EQ(bench.autopilot().bankCommand, 0.0f) << "on the heading of the moment, 133";
    bench.setHeading(123.0f);
    bench.step();
    EXPECT_NE(bench.autopilot().bankCommand, 0.0f) << "133 is held";
}

// The pitch commanded in the first frame of a vertical mode engaged from level flight at zero
// pitch, 5000 ft below the preselected altitude, with a VS target of 500 fpm.
float firstPitchOf(V mode) {
    FlightDirectorBench bench;
    bench.setPreselect(10000.0f);
    bench.panel().setToken(120, 500.0);
    bench.autopilot().engaged = true;
    bench.step();
    bench.fd().setVerticalMode(mode);
    bench.panel().setToken(120, 500.0);
    bench.step();
    EXPECT_EQ(bench.fd().verticalMode(), mode);
    return bench.autopilot().pitchCommand;
}

// Starting level below 15,000 ft the climb is first established at A / 3 = 333 fpm: the rate
// loop asks 2 x 333 where VS at 500 fpm has it ask 1000, and the first pitch steps follow.
TEST(FlightDirectorVerticalLawTest, ALevelChangeClimbStartsAtAThirdOfItsVerticalSpeed) {
    const float verticalSpeedStep = firstPitchOf(V::Vs);
    ASSERT_LT(verticalSpeedStep, 0.0f) << "nose up";
    EXPECT_NEAR(firstPitchOf(V::Speed), verticalSpeedStep * 2.0f / 3.0f, 1e-6f);
}

TEST_F(FlightDirectorGuidanceTest, ClimbDescentSchedulesAt11000Feet) {
    bench.setPreselect(20000.0f);
    engageInFlight(11000.0f);
    fd().setVerticalMode(V::ClimbDescent);
    bench.step();
    EXPECT_TRUE(fd().isClimbing());
    EXPECT_EQ(fd().iasTarget(), 255.0f);

    bench.setPreselect(5000.0f);
    bench.step();
    EXPECT_FALSE(fd().isClimbing());
    const std::vector<int32_t> sent = bench.eventValues(0x101F4);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), -1500);
}

// The bank LNAV commands in its first frame on a true track of 80, with the path's cross-track
// error (nm, positive right of it) and desired true track.
float lnavBank(double crossTrack, double desiredTrack) {
    FlightDirectorBench bench;
    bench.autopilot().engaged = true;
    bench.panel().setToken(86, 80.0);
    bench.flyLnav(1.0, crossTrack);
    bench.fms.lnav.currentDesiredTrack = desiredTrack;
    bench.fms.lnav.desiredTrackTrue = desiredTrack;
    bench.step();
    bench.fd().setLateralMode(L::Lnav);
    bench.step();
    EXPECT_EQ(bench.fd().lateralMode(), L::Lnav);
    return bench.autopilot().bankCommand;
}

// Right of the path (positive cross-track error) the track correction is 30 degrees per nm to
// the left; a new path piece gives one frame without a command, and the flag is cleared.
TEST(FlightDirectorLnavTest, LnavSteersBackToThePathAndClearsTheLegChange) {
    const float halfAMileRight = lnavBank(0.5, 90.0);
    EXPECT_FLOAT_EQ(halfAMileRight, lnavBank(0.0, 75.0)) << "flown as a track 15 degrees left";
    EXPECT_NE(halfAMileRight, lnavBank(0.0, 90.0));

    FlightDirectorBench bench;
    bench.autopilot().engaged = true;
    bench.flyLnav(1.0, 0.5);
    bench.fms.lnav.currentDesiredTrack = 90.0;
    bench.fms.lnav.desiredTrackTrue = 90.0;
    bench.fd().setLateralMode(L::Lnav);
    bench.step();
    ASSERT_EQ(bench.fd().lateralMode(), L::Lnav);
    bench.fms.lnav.legAdvanced = true;
    bench.autopilot().bankCommand = 3.0f;
    bench.step();
    EXPECT_FALSE(bench.fms.lnav.legAdvanced);
    EXPECT_EQ(bench.autopilot().bankCommand, 3.0f);
}

} // namespace
} // namespace tavi::test

namespace tavi::test {
namespace {

// The flight director runs the autopilot's servos each frame: they move the controls while the
// autopilot is engaged in the air and send nothing once it is disengaged.
TEST_F(FlightDirectorGuidanceTest, TheAutopilotFliesTheCommandsOnlyWhileEngaged) {
    engageInFlight(5000.0f);
    ASSERT_FALSE(fd().isInhibited());
    // Off the commanded attitude, so that the servos have something to do.
    bench.setAttitude(-5.0f, 10.0f);
    const auto controlEvents = [this] {
        int count = 0;
        for (const sim::KeyEvent& event : bench.panel().keyEventsSent()) {
            count += event.eventId == Autopilot::kElevatorEvent ||
                     event.eventId == Autopilot::kAileronEvent;
        }
        return count;
    };
    bench.panel().clearKeyEventsSent();
    bench.step(3);
    EXPECT_GT(controlEvents(), 0);

    bench.autopilot().engaged = false;
    bench.panel().clearKeyEventsSent();
    bench.step(3);
    EXPECT_EQ(controlEvents(), 0);
}

} // namespace
} // namespace tavi::test
