#include "avionics/Autopilot.h"

#include "airframe/Mechanisation.h"
#include "support/AvionicsBench.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

constexpr uint32_t kMasking = 10'000'000;
constexpr uint32_t kPassing = 1;

// The autopilot on the stand-in, airborne at 5000 ft and 250 kt, wings level.
class AutopilotTest : public testing::Test {
protected:
    AutopilotTest() {
        bench.ahrs.onGround = false;
        bench.adc.indicatedAltitude = 5000.0f;
        bench.adc.indicatedAirspeed = 250.0f;
        bench.adc.aoaMargin = 10.0f;
        bench.step(2);
    }

    Autopilot& autopilot() { return *bench.aircraft().autopilot(); }
    sim::SimConnectServer& simConnect() { return bench.module.simulator.simConnect; }
    void loadSettings(const std::string& ini) {
        bench.module.writeIni(ini);
        autopilot().loadSettings(bench.aircraft());
    }
    bool pilotElevatorReachesSimulator(uint32_t value) {
        const std::size_t before = simConnect().appliedEvents().size();
        simConnect().pilotEvent("AXIS_ELEVATOR_SET", value);
        return simConnect().appliedEvents().size() > before;
    }
    std::vector<int32_t> eventValues(uint32_t eventId) {
        std::vector<int32_t> values;
        for (const sim::KeyEvent& event : bench.panel().keyEventsSent()) {
            if (event.eventId == eventId) {
                values.push_back(static_cast<int32_t>(event.value));
            }
        }
        return values;
    }

    AvionicsBench bench;
};

TEST_F(AutopilotTest, EngagingMasksThePilotsElevatorAxisAndDisengagingRestoresIt) {
    EXPECT_EQ(simConnect().groupPriority(0), kPassing);
    EXPECT_TRUE(pilotElevatorReachesSimulator(300));

    autopilot().toggleEngage();
    bench.step();
    EXPECT_EQ(simConnect().groupPriority(0), kMasking);
    EXPECT_FALSE(pilotElevatorReachesSimulator(300));

    autopilot().toggleEngage();
    bench.step();
    EXPECT_EQ(simConnect().groupPriority(0), kPassing);
    EXPECT_TRUE(pilotElevatorReachesSimulator(300));
}

TEST_F(AutopilotTest, PriorityIsSetOnlyWhenItChanges) {
    auto priorityCalls = [&] {
        int count = 0;
        for (const std::string& call : simConnect().calls()) {
            count += call.find("SetNotificationGroupPriority") != std::string::npos ? 1 : 0;
        }
        return count;
    };
    const int before = priorityCalls();
    autopilot().toggleEngage();
    bench.step(5);
    EXPECT_EQ(priorityCalls(), before + 1);

    bench.ahrs.onGround = true;
    bench.step(3);
    EXPECT_EQ(simConnect().groupPriority(0), kPassing) << "an engaged autopilot on the ground";
    EXPECT_EQ(priorityCalls(), before + 2);
}

TEST_F(AutopilotTest, AxesStayWithThePilotWhenMaskingIsOff) {
    loadSettings("[FSUIPC]\ndisableAxes=0\n");
    autopilot().groupPriority = 0;
    autopilot().toggleEngage();
    bench.step(3);
    EXPECT_EQ(autopilot().groupPriority, 0);
    EXPECT_TRUE(pilotElevatorReachesSimulator(300));
}

struct QuickDisconnectCase {
    const char* ini;
    int32_t joystick;
    uint32_t buttons;
    bool disconnects;
};

class AutopilotQuickDisconnectTest : public AutopilotTest,
                                     public testing::WithParamInterface<QuickDisconnectCase> {};

TEST_P(AutopilotQuickDisconnectTest, TheButtonDisengagesAndHoldingItDoesNotReengage) {
    const QuickDisconnectCase& row = GetParam();
    loadSettings(row.ini);
    autopilot().toggleEngage();
    bench.step();
    bench.module.simulator.host.setJoystick(row.joystick, true, row.buttons);
    bench.step(3);
    EXPECT_EQ(autopilot().engaged, !row.disconnects);
    EXPECT_EQ(autopilot().yawDamper, !row.disconnects);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, AutopilotQuickDisconnectTest,
    testing::Values(QuickDisconnectCase{"[Joystick]\nqdJoyButton=1:3\n", 1, 1u << 3, true},
                    QuickDisconnectCase{"[Joystick]\nqdJoyButton=1:3\n", 1, 1u << 2, false},
                    QuickDisconnectCase{"[Joystick]\nqdJoyButton=9:0\n", 7, 1u, true},
                    QuickDisconnectCase{"[Joystick]\nqdJoyButton=0:-1\n", 0, 0xFFFFFFFFu, false},
                    QuickDisconnectCase{"[Joystick]\nqdJoyButton=garbage\n", 0, 0xFFFFFFFFu, false},
                    QuickDisconnectCase{"", 0, 0xFFFFFFFFu, false}));

TEST_F(AutopilotTest, EngagingSynchronisesCommandsAndServosToTheAircraft) {
    bench.ahrs.unit1.pitch = -4.0f;
    bench.ahrs.unit1.bank = 12.0f;
    bench.panel().setToken(317, 1638.0);
    bench.step();
    autopilot().toggleEngage();
    EXPECT_FLOAT_EQ(autopilot().pitchCommand, -4.0f);
    EXPECT_FLOAT_EQ(autopilot().bankCommand, 12.0f);
    EXPECT_DOUBLE_EQ(autopilot().pitchPid.output, 1638.0 / 16383.0);
    EXPECT_TRUE(autopilot().yawDamper);
}

// The pitch servo on its first step from a neutral elevator: the rate loop asks for the limited
// 2.5 deg/s nose down, and the elevator moves by gain x (error + dt / Ti x error).
TEST_F(AutopilotTest, PitchServoStepsTheElevatorByThePidIncrement) {
    bench.panel().setVariable("ROTATION VELOCITY BODY X", 0, 0.0);
    autopilot().toggleEngage();
    bench.step();
    bench.panel().clearKeyEventsSent();
    autopilot().setPitchCommand(2.0f);
    autopilot().updatePitchServo(true, false);

    const double dt = autopilot().dt;
    ASSERT_GT(dt, 0.0);
    const double gain = -0.12;
    const double rateError = 2.5;
    const double output = gain * (rateError + dt * rateError);
    const auto expected = static_cast<int32_t>(std::trunc(output * 16383.0));
    ASSERT_EQ(eventValues(Autopilot::kElevatorEvent), std::vector<int32_t>{-expected});
    EXPECT_GT(-expected, 0) << "a nose-down command pushes the elevator";
    bench.step();
    EXPECT_EQ(bench.aircraft().mechanisation()->elevatorPosition, expected);
}

// At 140 kt the scheduled gain is three times the one at 250 kt: a nose-down demand of a few
// degrees asks for more than the elevator's travel and the step stops at full deflection.
TEST_F(AutopilotTest, PitchServoMovesTheElevatorFurtherForALargerDemandAtLowSpeed) {
    bench.adc.indicatedAirspeed = 140.0f;
    bench.panel().setVariable("ROTATION VELOCITY BODY X", 0, 0.0);
    autopilot().toggleEngage();
    bench.step();
    int32_t previous = 0;
    for (const float demand : {0.25f, 0.5f, 1.0f, 6.0f}) {
        autopilot().syncPitch();
        bench.panel().clearKeyEventsSent();
        autopilot().setPitchCommand(demand);
        autopilot().updatePitchServo(true, false);
        const std::vector<int32_t> values = eventValues(Autopilot::kElevatorEvent);
        ASSERT_EQ(values.size(), 1u) << demand;
        EXPECT_GT(values[0], previous) << demand;
        previous = values[0];
    }
    EXPECT_EQ(previous, 16383) << "full nose-down elevator";
}

// Asked for 10 degrees more nose-up, the servo keeps 2 degrees of margin to the stall angle: it
// lowers the nose at the stall and holds the pitch at 2 degrees from it.
TEST_F(AutopilotTest, PitchServoGoesNoFurtherNoseUpThanTheStallMarginAllows) {
    const struct {
        float aoaMargin;
        int sign;
    } cases[] = {{0.0f, 1}, {2.0f, 0}, {10.0f, -1}};
    bench.panel().setVariable("ROTATION VELOCITY BODY X", 0, 0.0);
    bench.ahrs.unit1.pitch = -5.0f;
    bench.step(2);
    autopilot().toggleEngage();
    bench.step();
    for (const auto& row : cases) {
        bench.adc.aoaMargin = row.aoaMargin;
        autopilot().syncPitch();
        bench.panel().clearKeyEventsSent();
        autopilot().setPitchCommand(-15.0f);
        autopilot().updatePitchServo(true, false);
        const std::vector<int32_t> values = eventValues(Autopilot::kElevatorEvent);
        const int sign = values.empty() ? 0 : (values[0] > 0 ? 1 : -1);
        EXPECT_EQ(sign, row.sign) << "margin " << row.aoaMargin << " (1: nose-down elevator)";
    }
}

// In a steady left turn the body pitch rate is the turn's share, and the pitch attitude stands
// still: the servo holds the elevator. A body rate beyond that share moves the attitude, and the
// servo answers it in the same frame, before the AHRS pitch has moved.
TEST_F(AutopilotTest, PitchServoInATurnTakesTheAttitudeRateFromBodyAndTurnRates) {
    const double bank = 27.0;
    const double pitch = -2.0;
    const double turnRate = -2.0;
    const double turnShare = turnRate * std::sin(bank * std::numbers::pi / 180.0) *
                             std::cos(pitch * std::numbers::pi / 180.0);
    bench.ahrs.unit1.bank = static_cast<float>(bank);
    bench.ahrs.unit1.pitch = static_cast<float>(pitch);
    bench.ahrs.unit1.headingRate = static_cast<float>(turnRate);
    bench.panel().setVariable("ROTATION VELOCITY BODY X", 0, turnShare);
    bench.step(2);
    autopilot().toggleEngage();
    bench.step();
    bench.panel().clearKeyEventsSent();
    autopilot().setPitchCommand(static_cast<float>(pitch));
    autopilot().updatePitchServo(true, false);
    EXPECT_TRUE(eventValues(Autopilot::kElevatorEvent).empty());

    const double noseDown = 1.0 / std::cos(bank * std::numbers::pi / 180.0);
    bench.panel().setVariable("ROTATION VELOCITY BODY X", 0, turnShare + noseDown);
    bench.step();
    bench.panel().clearKeyEventsSent();
    autopilot().setPitchCommand(static_cast<float>(pitch));
    autopilot().updatePitchServo(true, false);
    const std::vector<int32_t> values = eventValues(Autopilot::kElevatorEvent);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_LT(values[0], 0) << "a nose-down rate is met with nose-up elevator";
}

TEST_F(AutopilotTest, BankServoStepsTheAileronsByThePidIncrement) {
    autopilot().toggleEngage();
    bench.step();
    bench.panel().clearKeyEventsSent();
    autopilot().setBankCommand(1.0f);
    autopilot().updateBankServo(true);
    const double dt = autopilot().dt;
    const double gain = -0.3;
    const double rateError = 2.0;
    const double output = gain * (rateError + dt / 2.0 * rateError);
    const auto expected = static_cast<int32_t>(std::trunc(output * 16383.0));
    EXPECT_EQ(eventValues(Autopilot::kAileronEvent), std::vector<int32_t>{-expected});
}

struct TurnBackCase {
    float bank;
    float command;
    bool turnsBackHarder;
};

class AutopilotTurnBackTest : public AutopilotTest,
                              public testing::WithParamInterface<TurnBackCase> {};

// Rolling back toward level by more than a quarter of the bank drives the ailerons harder.
TEST_P(AutopilotTurnBackTest, ScalesTheBankGain) {
    const TurnBackCase& row = GetParam();
    loadSettings("[Autopilot]\nbank_spd_min_output=-1\nbank_spd_max_output=1\n");
    bench.ahrs.unit1.bank = row.bank;
    bench.step(2);
    autopilot().toggleEngage();
    autopilot().setBankCommand(row.command);
    bench.panel().clearKeyEventsSent();
    autopilot().updateBankServo(true);

    const double dt = autopilot().dt;
    const double rateError = row.command < row.bank ? -1.0 : 1.0;
    const double gain = -0.3 * (row.turnsBackHarder ? 1.25 : 1.0);
    const double output = gain * (rateError + dt / 2.0 * rateError);
    const auto expected = static_cast<int32_t>(std::trunc(output * 16383.0));
    EXPECT_EQ(eventValues(Autopilot::kAileronEvent), std::vector<int32_t>{-expected});
}

INSTANTIATE_TEST_SUITE_P(
    Banks, AutopilotTurnBackTest,
    testing::Values(TurnBackCase{20.0f, 14.0f, true}, TurnBackCase{20.0f, 16.0f, false},
                    TurnBackCase{-20.0f, -14.0f, true}, TurnBackCase{20.0f, 0.0f, true},
                    TurnBackCase{-20.0f, 0.0f, true}, TurnBackCase{20.0f, -5.0f, false},
                    TurnBackCase{10.0f, 0.0f, false}));

TEST_F(AutopilotTest, ServosSendNothingUnpoweredOrDisengaged) {
    autopilot().setPitchCommand(5.0f);
    autopilot().setBankCommand(10.0f);
    bench.panel().clearKeyEventsSent();
    autopilot().updatePitchServo(true, false);
    autopilot().updateBankServo(true);
    EXPECT_TRUE(bench.panel().keyEventsSent().empty()) << "disengaged";

    autopilot().toggleEngage();
    bench.step();
    ASSERT_EQ(simConnect().groupPriority(0), kMasking);
    bench.network.avionicsMaster1 = false;
    bench.step(2);
    EXPECT_TRUE(autopilot().unpowered);
    EXPECT_FALSE(autopilot().engaged) << "power loss disengages";
    EXPECT_NE(autopilot().disengagedAt, Autopilot::kNever);
    EXPECT_EQ(simConnect().groupPriority(0), kPassing) << "the pilot's axes come back";
    EXPECT_TRUE(pilotElevatorReachesSimulator(300));
    bench.panel().clearKeyEventsSent();
    autopilot().setPitchCommand(5.0f);
    autopilot().updatePitchServo(true, false);
    autopilot().updateBankServo(true);
    EXPECT_TRUE(bench.panel().keyEventsSent().empty());
}

TEST_F(AutopilotTest, PusherPushesAtItsRateAndTheQuickDisconnectStopsIt) {
    loadSettings("[Joystick]\nqdJoyButton=0:0\n");
    autopilot().toggleEngage();
    bench.adc.belowMinimumSpeed = true;
    bench.adc.indicatedAirspeed = 150.0f;
    bench.panel().setToken(614, 1000.0 / 3.2808399 + 1.37);
    bench.step(2);
    EXPECT_TRUE(autopilot().pusherActive);
    EXPECT_FALSE(autopilot().engaged) << "the pusher disengages the autopilot";
    bench.step(18 * 4);
    std::vector<int32_t> pushes = eventValues(Autopilot::kElevatorEvent);
    ASSERT_FALSE(pushes.empty());
    EXPECT_EQ(pushes.back(), 10000);

    bench.module.simulator.host.setJoystick(0, true, 1u);
    bench.step();
    bench.module.simulator.host.setJoystick(0, true, 0u);
    bench.step();
    bench.panel().clearKeyEventsSent();
    bench.step(5);
    EXPECT_TRUE(eventValues(Autopilot::kElevatorEvent).empty());
}

} // namespace
} // namespace tavi::test
