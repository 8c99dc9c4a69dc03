#include "airframe/Fadec.h"
#include "support/FlightDirectorBench.h"

#include <gtest/gtest.h>
#include <vector>

namespace tavi::test {
namespace {

using L = FdLateralMode;
using V = FdVerticalMode;

class FlightDirectorModeTest : public testing::Test {
protected:
    FlightDirector& fd() { return bench.fd(); }

    // LOC and GS captured on the ILS.
    void captureIls() {
        bench.receiveLocalizer(0.0);
        bench.receiveGlideslope(true, 0.0);
        bench.step();
        fd().pressApproach();
        bench.step(2);
        ASSERT_EQ(fd().lateralMode(), L::Loc);
        ASSERT_EQ(fd().verticalMode(), V::Gs);
    }

    FlightDirectorBench bench;
};

TEST_F(FlightDirectorModeTest, ALostLocalizerIsWaitedForFor5SecondsThenTheApproachEnds) {
    captureIls();
    bench.loseNavSignal();
    bench.step();
    bench.run(4.0);
    EXPECT_EQ(fd().lateralMode(), L::Loc) << "the ROL law flies meanwhile";

    // The signal comes back within 5 s: the mode goes on without a new capture.
    bench.receiveLocalizer(0.0);
    bench.receiveGlideslope(true, 0.0);
    bench.run(2.0);
    EXPECT_EQ(fd().lateralMode(), L::Loc);
    EXPECT_EQ(fd().verticalMode(), V::Gs);

    bench.loseNavSignal();
    bench.step();
    const uint32_t lost = bench.now();
    while (bench.now() - lost <= 5000) {
        ASSERT_EQ(fd().lateralMode(), L::Loc);
        bench.step();
    }
    EXPECT_EQ(fd().lateralMode(), L::Rol);
    EXPECT_EQ(fd().verticalMode(), V::Pit);
    EXPECT_EQ(fd().armedVerticalMode(), V::None);
}

TEST_F(FlightDirectorModeTest, ANewFrequencyEndsTheApproachAtOnce) {
    captureIls();
    bench.panel().setVariable("NAV ACTIVE FREQUENCY", 1, 0x10950000);
    bench.step(2);
    EXPECT_EQ(fd().lateralMode(), L::Rol);
    EXPECT_EQ(fd().verticalMode(), V::Pit);
}

TEST_F(FlightDirectorModeTest, ALostGlideslopeEndsTheApproachAfter5Seconds) {
    captureIls();
    bench.receiveGlideslope(false, 0.0);
    bench.run(4.5);
    EXPECT_EQ(fd().verticalMode(), V::Gs);
    bench.run(1.0);
    EXPECT_EQ(fd().verticalMode(), V::Pit);
    EXPECT_EQ(fd().lateralMode(), L::Rol);
}

TEST_F(FlightDirectorModeTest, ALostVorKeepsTheModeAndALostLnavEndsItAfter5Seconds) {
    bench.setHeading(90.0f);
    bench.receiveVor(90, 0.0);
    bench.step();
    fd().pressNav();
    bench.step(2);
    ASSERT_EQ(fd().lateralMode(), L::Vor);
    bench.loseNavSignal();
    bench.run(10.0);
    EXPECT_EQ(fd().lateralMode(), L::Vor);

    // The FMS as the source ends the VOR mode; NAV then arms LNAV.
    bench.flyLnav(1.0, 0.0);
    bench.step();
    EXPECT_EQ(fd().lateralMode(), L::Rol);
    fd().pressNav();
    bench.step();
    ASSERT_EQ(fd().lateralMode(), L::Lnav);
    bench.fms.lnav.valid = false;
    bench.run(4.5);
    EXPECT_EQ(fd().lateralMode(), L::Lnav);
    bench.run(1.0);
    EXPECT_EQ(fd().lateralMode(), L::Rol);
}

TEST_F(FlightDirectorModeTest, LnavEndsAtOnceWithoutALegToFly) {
    bench.flyLnav(1.0, 0.0);
    fd().pressNav();
    ASSERT_EQ(fd().armedLateralMode(), L::Lnav);
    bench.step();
    ASSERT_EQ(fd().lateralMode(), L::Lnav);
    bench.fms.legDistance.reset();
    bench.step();
    EXPECT_EQ(fd().lateralMode(), L::Rol);
}

TEST_F(FlightDirectorModeTest, LosingTheCoupledBusSwitchesItsDirectorOffUntilSwitchedOn) {
    fd().selectHeadingMode(true);
    bench.network().power({0, 1, 2, 4, 5, 6, 7, 8, 9});
    bench.step();
    EXPECT_TRUE(fd().isInhibited());
    EXPECT_FALSE(fd().isDirectorOn(1));
    EXPECT_TRUE(fd().isDirectorOn(2));
    EXPECT_EQ(fd().lateralMode(), L::None);
    EXPECT_EQ(fd().verticalMode(), V::None);
    fd().selectHeadingMode(true);
    EXPECT_EQ(fd().lateralMode(), L::None) << "no mode while inhibited";

    // The side's air data runs its self-test for 60 s once its bus is back.
    bench.network().power({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    bench.run(30.0);
    EXPECT_TRUE(fd().isInhibited());
    bench.run(31.0);
    EXPECT_FALSE(fd().isInhibited());
    EXPECT_FALSE(fd().isDirectorOn(1)) << "nothing is restored";
    EXPECT_EQ(fd().lateralMode(), L::Rol);
    EXPECT_EQ(fd().verticalMode(), V::Pit);

    // Side 2 hangs on DC bus 2 and its own air data.
    fd().switchSide();
    bench.adc().failed[1] = true;
    bench.step();
    EXPECT_TRUE(fd().isInhibited());
    EXPECT_FALSE(fd().isDirectorOn(2));
    bench.adc().failed[1] = false;
    bench.step();
    EXPECT_FALSE(fd().isInhibited());
}

// The air data's self-test after a power interruption inhibits the guidance; the autopilot
// must not stay engaged on commands nobody updates.
TEST_F(FlightDirectorModeTest, AnInhibitDisengagesTheAutopilotAndHandsTheAxesBack) {
    bench.autopilot().toggleEngage();
    fd().selectHeadingMode(true);
    bench.step(2);
    ASSERT_TRUE(bench.autopilot().engaged);
    ASSERT_EQ(bench.simConnect().groupPriority(0), Autopilot::kMaskingPriority);

    bench.adc().selfTest[0] = true;
    bench.step(2);
    EXPECT_TRUE(fd().isInhibited());
    EXPECT_FALSE(bench.autopilot().engaged);
    EXPECT_NE(bench.autopilot().disengagedAt, Autopilot::kNever);
    EXPECT_EQ(bench.simConnect().groupPriority(0), Autopilot::kPassingPriority);
}

TEST_F(FlightDirectorModeTest, TheAutopilotKeepsBothDirectorsOn) {
    fd().toggleFlightDirector1();
    ASSERT_FALSE(fd().isDirectorOn(1));
    bench.autopilot().engaged = true;
    bench.step();
    EXPECT_TRUE(fd().isDirectorOn(1) && fd().isDirectorOn(2));
    fd().toggleFlightDirector2();
    EXPECT_TRUE(fd().isDirectorOn(2)) << "not switched off under the autopilot";

    // With both off the modes are none, and mode requests stay none.
    bench.autopilot().engaged = false;
    fd().toggleFlightDirector1();
    fd().toggleFlightDirector2();
    bench.step();
    fd().toggleAltitudeHold();
    EXPECT_EQ(fd().verticalMode(), V::None);
}

TEST_F(FlightDirectorModeTest, TakeOffLeavesMachAndMarksTheTime) {
    fd().toggleSpeedUnits();
    ASSERT_TRUE(fd().isMachMode());
    bench.setAirborne(false);
    bench.setSpeed(20.0f);
    bench.step();
    fd().pressToGa();
    EXPECT_FALSE(fd().isMachMode());
    EXPECT_TRUE(fd().isTakeoffMode());
    EXPECT_EQ(bench.fms.missedApproaches, 1) << "the FMS is asked whatever the mode";
    fd().pressToGa();
    EXPECT_EQ(fd().verticalMode(), V::Pit);
    EXPECT_FALSE(fd().isTakeoffMode());
    EXPECT_EQ(bench.fms.missedApproaches, 1) << "cancelling asks nothing";
}

TEST_F(FlightDirectorModeTest, ToGaInFlightSelectsTheTakeOffRating) {
    Fadec* fadec = bench.aircraft().fadec();
    ASSERT_NE(fadec, nullptr);
    bench.setRadioAltitude(800.0f);
    bench.step();
    fadec->thrustRating = kCruiseRating;
    fd().pressToGa();
    EXPECT_EQ(fadec->thrustRating, kTakeoffRating);
    EXPECT_TRUE(fadec->goAroundSelected);
}

struct GoAroundCase {
    float target;
    float minimumSpeed;
    int32_t speed;
};

class FlightDirectorGoAroundTest : public testing::TestWithParam<GoAroundCase> {
protected:
    FlightDirectorBench bench;
};

TEST_P(FlightDirectorGoAroundTest, SetsTheSpeedTargetAndHoldsTheAltitude) {
    bench.panel().setToken(116, GetParam().target);
    bench.adc().minimumSpeed = GetParam().minimumSpeed;
    bench.setRadioAltitude(800.0f);
    bench.step();
    bench.panel().clearKeyEventsSent();
    bench.fd().pressToGa();
    EXPECT_EQ(bench.fd().verticalMode(), V::Toga);
    EXPECT_FALSE(bench.fd().isTakeoffMode());
    EXPECT_EQ(bench.eventValues(kIasEvent), std::vector<int32_t>{GetParam().speed});
}

// min(ceiling(max(target, 1.23 x minimum speed)), 170).
INSTANTIATE_TEST_SUITE_P(Speeds, FlightDirectorGoAroundTest,
                         testing::Values(GoAroundCase{140.0f, 100.0f, 140},
                                         GoAroundCase{110.0f, 100.0f, 123},
                                         GoAroundCase{110.0f, 101.0f, 125},
                                         GoAroundCase{200.0f, 100.0f, 170},
                                         GoAroundCase{110.0f, 150.0f, 170}));

// Climb/descent in Mach at a preselect and altitude; the speed-units button is refused there.
class FlightDirectorMachClimbDescentTest : public FlightDirectorModeTest {
protected:
    void flyInMach(float feet, float preselect) {
        bench.setAltitude(feet);
        bench.setPreselect(preselect);
        fd().toggleSpeedUnits();
        bench.panel().setToken(118, 0.5);
        fd().setVerticalMode(V::ClimbDescent);
        bench.step();
    }
};

TEST_F(FlightDirectorMachClimbDescentTest, AGoAroundFliesIasAtMost170Knots) {
    flyInMach(13000.0f, 3000.0f);
    ASSERT_TRUE(fd().isMachMode()) << "the descent above 12,000 ft keeps Mach";
    bench.setRadioAltitude(800.0f);
    bench.step();
    fd().pressToGa();
    bench.run(1.0);
    EXPECT_EQ(fd().verticalMode(), V::Toga);
    EXPECT_FALSE(fd().isMachMode());
    EXPECT_EQ(fd().iasTarget(), 170.0f);
    EXPECT_EQ(bench.eventValues(kIasEvent).back(), 170);
}

TEST_F(FlightDirectorMachClimbDescentTest, AClimbBelow12000FeetFliesItsScheduleInIas) {
    flyInMach(9000.0f, 15000.0f);
    bench.run(1.0);
    EXPECT_FALSE(fd().isMachMode());
    EXPECT_EQ(fd().iasTarget(), 240.0f);
    EXPECT_EQ(bench.eventValues(kIasEvent).back(), 240);
}

TEST_F(FlightDirectorModeTest, AGoAroundHoldsItsPitchFor20SecondsThenFliesTheSpeed) {
    bench.autopilot().engaged = true;
    bench.setRadioAltitude(800.0f);
    bench.step();
    fd().pressToGa();
    const uint32_t engaged = bench.now();
    bench.step();
    while (bench.now() - engaged < 20000) {
        ASSERT_FLOAT_EQ(bench.autopilot().pitchCommand, -12.0f);
        bench.step();
    }
    bench.step();
    EXPECT_EQ(fd().verticalMode(), V::Toga);
    EXPECT_NE(bench.autopilot().pitchCommand, -12.0f);
}

TEST_F(FlightDirectorModeTest, AGoAroundCapturesOnlyAPreselectWellAboveIt) {
    bench.setRadioAltitude(800.0f);
    bench.step();
    fd().pressToGa();
    bench.setVerticalSpeed(1500.0f);
    bench.setPreselect(5300.0f);
    bench.step(3);
    EXPECT_EQ(fd().verticalMode(), V::Toga) << "300 ft above the go-around altitude";
    bench.setPreselect(5420.0f);
    bench.setVerticalSpeed(2500.0f);
    bench.step(2);
    EXPECT_EQ(fd().verticalMode(), V::Asel);
}

TEST_F(FlightDirectorModeTest, AselCapturesAheadOfThePreselectByTheScheduledGain) {
    // At 20,000 ft the gain is 0.2 - 0.05 x 10000 / 25000 = 0.18 min: climbing at 2000 fpm the
    // capture comes 360 ft before the preselected altitude.
    bench.setAltitude(19630.0f);
    bench.adc().pressureAltitude = 20000.0f;
    bench.setPreselect(20000.0f);
    bench.setVerticalSpeed(2000.0f);
    fd().selectVerticalSpeedMode(true);
    bench.step();
    EXPECT_EQ(fd().verticalMode(), V::Vs);
    bench.adc().indicatedAltitude = 19645.0f;
    bench.step();
    EXPECT_EQ(fd().verticalMode(), V::Asel);
    EXPECT_FLOAT_EQ(fd().altitudeHoldTarget(), 20000.0f);
}

// TO/GA on the runway arms ASEL; the climb captures it, but not within 5 s of the lift-off.
TEST_F(FlightDirectorModeTest, ATakeOffInToGaCapturesTheArmedAselNotWithin5SecondsOfLiftOff) {
    bench.setAirborne(false);
    bench.setSpeed(40.0f);
    bench.setRadioAltitude(0.0f);
    bench.setPreselect(5200.0f);
    bench.step();
    fd().pressToGa();
    ASSERT_EQ(fd().verticalMode(), V::Toga);
    ASSERT_EQ(fd().armedVerticalMode(), V::Asel);
    bench.setAirborne(true);
    bench.adc().liftoffTime = bench.now();
    bench.setSpeed(150.0f);
    bench.setRadioAltitude(600.0f);
    bench.setVerticalSpeed(2000.0f);
    bench.run(4.5);
    EXPECT_EQ(fd().verticalMode(), V::Toga);
    bench.run(1.0);
    EXPECT_EQ(fd().verticalMode(), V::Asel);
}

struct CaptureBandCase {
    float target;
    float verticalSpeed;
    bool within;
};

class FlightDirectorCaptureBandTest : public testing::TestWithParam<CaptureBandCase> {
protected:
    FlightDirectorBench bench;
};

// At 5000 ft the gain is 0.2 min: 1000 fpm looks 200 ft ahead, never less than 150 ft.
TEST_P(FlightDirectorCaptureBandTest, LiesAheadOfTheAircraft) {
    bench.setVerticalSpeed(GetParam().verticalSpeed);
    bench.step();
    EXPECT_EQ(bench.fd().isWithinAltitudeCapture(GetParam().target), GetParam().within);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, FlightDirectorCaptureBandTest,
    testing::Values(CaptureBandCase{5200.0f, 1000.0f, true},
                    CaptureBandCase{5210.0f, 1000.0f, false}, CaptureBandCase{5150.0f, 0.0f, true},
                    CaptureBandCase{5151.0f, 0.0f, false}, CaptureBandCase{4800.0f, -1000.0f, true},
                    CaptureBandCase{4790.0f, -1000.0f, false},
                    CaptureBandCase{4850.0f, 500.0f, true}, CaptureBandCase{5000.0f, 0.0f, false}));

TEST_F(FlightDirectorModeTest, NoAltitudeCaptureOnTheGroundOrBelow100Ft) {
    bench.setRadioAltitude(90.0f);
    bench.step();
    EXPECT_FALSE(fd().isWithinAltitudeCapture(5100.0f));
    bench.setRadioAltitude(2000.0f);
    bench.setAirborne(false);
    bench.step();
    EXPECT_FALSE(fd().isWithinAltitudeCapture(5100.0f));
}

TEST_F(FlightDirectorModeTest, TheSpeedTargetChangesUnitsCrossing25100And25000Feet) {
    bench.setPreselect(30000.0f);
    fd().selectSpeedMode(true);
    ASSERT_EQ(fd().verticalMode(), V::Speed);
    ASSERT_FALSE(fd().isMachMode());
    for (const float feet : {25000.0f, 25090.0f}) {
        bench.setAltitude(feet);
        bench.step();
        EXPECT_FALSE(fd().isMachMode()) << feet;
    }
    bench.setAltitude(25100.0f);
    bench.step();
    EXPECT_TRUE(fd().isMachMode());

    // Level at the crossing the pilot's choice stands.
    fd().toggleSpeedUnits();
    bench.step(3);
    EXPECT_FALSE(fd().isMachMode());
    fd().toggleSpeedUnits();

    for (const float feet : {25050.0f, 25010.0f}) {
        bench.setAltitude(feet);
        bench.step();
        EXPECT_TRUE(fd().isMachMode()) << "the gap keeps Mach at " << feet;
    }
    bench.setAltitude(25000.0f);
    bench.step();
    EXPECT_FALSE(fd().isMachMode());
}

TEST_F(FlightDirectorModeTest, LowBankComesOnAbove25000FeetInHdgOnly) {
    bench.setAltitude(26000.0f);
    bench.step();
    fd().selectHeadingMode(true);
    EXPECT_TRUE(fd().isLowBankOn());
    EXPECT_FLOAT_EQ(fd().bankLimit(), 14.0f);
    fd().toggleLowBank();
    EXPECT_FLOAT_EQ(fd().bankLimit(), 27.0f);

    bench.setAltitude(24800.0f);
    bench.step();
    bench.setAltitude(25000.0f);
    bench.step();
    EXPECT_TRUE(fd().isLowBankOn()) << "climbing through 25,000 ft";
    bench.setAltitude(24760.0f);
    bench.step();
    EXPECT_TRUE(fd().isLowBankOn());
    bench.setAltitude(24750.0f);
    bench.step();
    EXPECT_FALSE(fd().isLowBankOn()) << "descending through 24,750 ft";

    fd().setLowBank(true);
    fd().selectHeadingMode(false);
    bench.step();
    EXPECT_FALSE(fd().isLowBankOn()) << "off outside HDG";
    fd().setLowBank(true);
    EXPECT_FALSE(fd().isLowBankOn()) << "only in HDG";
}

TEST_F(FlightDirectorModeTest, TheLowBankButtonTogglesWithTheConfiguredHalfBank) {
    bench.loadSettings("[Autopilot]\nhalfBank=15\nmaxBank=25\n");
    fd().selectHeadingMode(true);
    fd().toggleLowBank();
    EXPECT_FLOAT_EQ(fd().bankLimit(), 15.0f);
    fd().toggleLowBank();
    EXPECT_FLOAT_EQ(fd().bankLimit(), 25.0f);
}

TEST_F(FlightDirectorModeTest, TheTurnKnobCommandsABankAndShowsItsPosition) {
    fd().selectHeadingMode(true);
    fd().turnKnob(3.0f);
    EXPECT_EQ(fd().lateralMode(), L::Rol);
    EXPECT_DOUBLE_EQ(bench.panel().namedVariable("TurnKnob"), 24.0 * 100.0 / 54.0);
    for (int i = 0; i < 20; ++i) {
        fd().turnKnob(-3.0f);
    }
    EXPECT_FLOAT_EQ(fd().turnKnobCommand(), -27.0f) << "limited to the maximum bank";
    EXPECT_DOUBLE_EQ(bench.panel().namedVariable("TurnKnob"), 100.0);

    bench.receiveVor(90, 60.0);
    bench.step();
    fd().pressNav();
    ASSERT_EQ(fd().armedLateralMode(), L::Vor);
    bench.step();
    EXPECT_EQ(fd().lateralMode(), L::Rol) << "no other mode while the knob is turned";
    EXPECT_EQ(fd().armedLateralMode(), L::None);

    fd().centreTurnKnob();
    EXPECT_DOUBLE_EQ(bench.panel().namedVariable("TurnKnob"), 50.0);
    fd().selectHeadingMode(true);
    bench.step();
    EXPECT_EQ(fd().lateralMode(), L::Hdg);
}

TEST_F(FlightDirectorModeTest, ThePitchWheelStepsTheVerticalSpeedOrThePitchCommand) {
    fd().selectVerticalSpeedMode(true);
    bench.panel().setToken(120, 500.0);
    bench.step();
    bench.panel().clearKeyEventsSent();
    fd().pitchWheel(0.25f);
    fd().pitchWheel(-0.25f);
    EXPECT_EQ(bench.eventValues(kVerticalSpeedEvent), (std::vector<int32_t>{400, 600}));

    fd().selectVerticalSpeedMode(false);
    Autopilot& autopilot = bench.autopilot();
    autopilot.pitchCommand = -2.0f;
    fd().pitchWheel(0.25f);
    EXPECT_FLOAT_EQ(autopilot.pitchCommand, -2.0f) << "only under the autopilot";

    autopilot.engaged = true;
    fd().toggleAltitudeHold();
    fd().pitchWheel(-0.25f);
    EXPECT_EQ(fd().verticalMode(), V::Pit) << "ALT gives way to PIT";
    EXPECT_FLOAT_EQ(autopilot.pitchCommand, -0.25f) << "from the present pitch";
    for (int i = 0; i < 200; ++i) {
        fd().pitchWheel(-0.25f);
    }
    EXPECT_FLOAT_EQ(autopilot.pitchCommand, -25.0f) << "within the autopilot's pitch limits";
}

TEST_F(FlightDirectorModeTest, TouchControlSteeringFollowsTheAircraftWhileHeld) {
    bench.loadSettings("[Joystick]\ntcsJoyButton=1:3\n");
    Autopilot& autopilot = bench.autopilot();
    autopilot.engaged = true;
    bench.setAttitude(-5.0f, 10.0f);
    bench.host().setJoystick(1, true, 0x8);
    bench.step();
    EXPECT_TRUE(fd().isTcsActive());
    EXPECT_FLOAT_EQ(autopilot.pitchCommand, -5.0f);
    EXPECT_FLOAT_EQ(autopilot.bankCommand, 10.0f);
    bench.setAttitude(-3.0f, 12.0f);
    bench.step();
    EXPECT_FLOAT_EQ(autopilot.pitchCommand, -3.0f);
    EXPECT_FLOAT_EQ(autopilot.bankCommand, 12.0f);

    // Released in a turn the bank is held; released nearly level it is not.
    bench.host().setJoystick(1, true, 0x0);
    bench.step();
    EXPECT_FALSE(fd().isTcsActive());
    bench.setAttitude(-3.0f, 20.0f);
    bench.step();
    EXPECT_FLOAT_EQ(autopilot.bankCommand, 12.0f) << "the bank of the release";
    bench.host().setJoystick(1, true, 0x8);
    bench.setAttitude(0.0f, 4.0f);
    bench.step();
    bench.host().setJoystick(1, true, 0x0);
    bench.step();
    bench.setAttitude(0.0f, 20.0f);
    bench.step();
    EXPECT_FLOAT_EQ(autopilot.bankCommand, 0.0f) << "ROL levels the wings";

    bench.setAirborne(false);
    bench.host().setJoystick(1, true, 0x8);
    bench.step();
    EXPECT_FALSE(fd().isTcsActive()) << "not on the ground";
}

TEST_F(FlightDirectorModeTest, WithoutTheAutopilotTouchControlSteeringMovesTheTargets) {
    bench.loadSettings("[Joystick]\ntcsJoyButton=0:0\n");
    bench.setPreselect(9000.0f);
    fd().selectVerticalSpeedMode(true);
    bench.setVerticalSpeed(1275.0f);
    bench.host().setJoystick(0, true, 0x1);
    bench.step();
    EXPECT_EQ(bench.eventValues(kVerticalSpeedEvent).back(), 1200);
    bench.step(2);
    EXPECT_FLOAT_EQ(fd().vsTarget(), 1200.0f);
    bench.panel().clearKeyEventsSent();
    bench.step(2);
    EXPECT_TRUE(bench.eventValues(kVerticalSpeedEvent).empty()) << "sent only when it differs";

    bench.loadSettings("[Joystick]\ntcsJoyButton=0:-1\n");
    bench.step();
    EXPECT_FALSE(fd().isTcsActive()) << "no button";
}

// The speed law's pitch step in each frame of 6 s of a climb 5 kt fast in IAS hold, after a jump
// of the true airspeed of 1.5 kt or without one.
std::vector<float> speedLawPitchSteps(bool jump) {
    FlightDirectorBench bench;
    bench.autopilot().engaged = true;
    bench.adc().trueAirspeed = 300.0f;
    bench.run(5.0);
    bench.setPreselect(10000.0f);
    bench.setVerticalSpeed(1000.0f);
    bench.panel().setToken(116, 245.0);
    bench.fd().setVerticalMode(V::Speed);
    bench.run(1.0);
    if (jump) {
        bench.adc().trueAirspeed = 301.5f;
    }
    std::vector<float> steps;
    for (int frame = 0; frame < 108; ++frame) {
        const float before = bench.autopilot().pitchCommand;
        bench.step();
        steps.push_back(bench.autopilot().pitchCommand - before);
    }
    return steps;
}

TEST(FlightDirectorTrueAirspeedJumpTest, AJumpHalvesTheSpeedLawsStepsFor5Seconds) {
    const std::vector<float> steady = speedLawPitchSteps(false);
    const std::vector<float> jumped = speedLawPitchSteps(true);
    // 90 frames of 56 ms: the first frame at least 5 s after the jump is the 91st.
    for (size_t frame = 0; frame < steady.size(); ++frame) {
        ASSERT_NE(steady[frame], 0.0f);
        const float expected = frame < 90 ? 0.5f * steady[frame] : steady[frame];
        EXPECT_NEAR(jumped[frame], expected, 1e-6f) << frame;
    }
}

TEST_F(FlightDirectorModeTest, AltPressedInGsChangesOnlyTheHoldTarget) {
    captureIls();
    bench.setAltitude(2100.0f);
    bench.step();
    fd().toggleAltitudeHold();
    EXPECT_EQ(fd().verticalMode(), V::Gs);
    EXPECT_FLOAT_EQ(fd().altitudeHoldTarget(), 2100.0f);
}

} // namespace
} // namespace tavi::test
