#include "fms/Vnav.h"

#include "avionics/Adc.h"
#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "support/PredictionRoute.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

// The FMS around VNAV: it records the messages, pauses and page turns, and captures within
// 200 ft as the flight director does near its target.
class RecordingVnavHost : public VnavHost {
public:
    void showMessage(const std::string& text, int32_t) override { shown.push_back(text); }
    void withdrawMessage(const std::string& text) override { withdrawn.push_back(text); }
    bool isWithinAltitudeCapture(float target) override {
        return std::fabs(target - altitude) <= 200.0f;
    }
    void pauseSimulator() override { ++pauses; }
    void showDescentPage() override { ++descentPages; }

    float altitude = 0.0f;
    std::vector<std::string> shown;
    std::vector<std::string> withdrawn;
    int pauses = 0;
    int descentPages = 0;
};

class VnavOnRoute : public testing::Test {
protected:
    VnavOnRoute() {
        buildPredictionRoute(plan, 20, 20.0);
        perfInit.initialised = true;
        perfInit.cruiseAltitude = 31000;
        perfInit.prediction[PerfPrediction::TocDistance] = 100.0f;
        perfInit.prediction[PerfPrediction::TodDistance] = 300.0f;
        inputs.positionInitialised = true;
        inputs.onGround = false;
        inputs.pastLiftOff = true;
        inputs.groundSpeed = 420.0f;
        inputs.preselect = 31000.0f;
    }

    void frameAt(float altitude, std::size_t leg, double along) {
        inputs.altitude = altitude;
        host.altitude = altitude;
        plan.activeLeg = static_cast<uint32_t>(leg);
        plan.distanceFlown = 20.0 * static_cast<double>(leg);
        inputs.legAlongTrack = along;
        vnav.update(plan, perfInit, inputs, host);
    }

    FlightPlan plan;
    PerfInit perfInit;
    VnavInputs inputs;
    RecordingVnavHost host;
    Vnav vnav;
};

TEST(VnavRounding, MultiplesOfTenCutNegativesTowardZero) {
    const int32_t cases[][2] = {{-17, -10}, {-4, 0}, {17, 20}, {14, 10}, {15, 20}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(Vnav::roundToTen(c[0]), c[1]) << c[0];
    }
}

TEST_F(VnavOnRoute, ClimbModeByTheTargetsDistanceAbove) {
    frameAt(30501.0f, 1, 0.0);
    EXPECT_EQ(vnav.state.targetAltitude, 31000);
    EXPECT_EQ(vnav.state.mode, VnavMode::Level) << "499 ft below";
    vnav = Vnav();
    frameAt(30500.0f, 1, 0.0);
    EXPECT_EQ(vnav.state.mode, VnavMode::Climb) << "500 ft below";
}

TEST_F(VnavOnRoute, AClimbConstraintIsTheTargetUntilPassed) {
    plan.legs[2].vnav.hasAltitude = true;
    plan.legs[2].vnav.kind = kAltitudeAt;
    plan.legs[2].vnav.altitude = 12000;
    plan.legs[2].vnav.predictedAltitude = 11000;
    frameAt(8000.0f, 2, 5.0);
    EXPECT_EQ(vnav.state.targetAltitude, 12000);
    EXPECT_EQ(vnav.state.mode, VnavMode::Climb);
    EXPECT_EQ(vnav.state.climbConstraintShortfall, -1000);
    EXPECT_EQ(host.shown, std::vector<std::string>{Vnav::kCheckAltConstraint});
    plan.legs[2].vnav.predictedAltitude = 12100;
    frameAt(9000.0f, 2, 8.0);
    EXPECT_EQ(host.withdrawn, std::vector<std::string>{Vnav::kCheckAltConstraint});
    frameAt(12000.0f, 3, 1.0);
    EXPECT_EQ(vnav.state.targetAltitude, 31000);
}

TEST_F(VnavOnRoute, CruiseToTopOfDescentPausesOnceThenDescendsOnThePath) {
    inputs.pauseAtTod = true;
    inputs.nmBeforeTod = 20.0;
    frameAt(31000.0f, 6, 0.0);
    EXPECT_TRUE(perfInit.cruiseReached);
    frameAt(31000.0f, 13, 0.0);
    EXPECT_DOUBLE_EQ(vnav.state.distanceToTod, 40.0);
    EXPECT_EQ(host.pauses, 0);
    frameAt(31000.0f, 14, 0.5);
    EXPECT_EQ(host.pauses, 1) << "19.5 nm before the top of descent";
    frameAt(31000.0f, 14, 5.0);
    EXPECT_EQ(host.pauses, 1) << "given once";
    EXPECT_FALSE(perfInit.descentStarted);
    frameAt(31000.0f, 15, 0.0);
    EXPECT_TRUE(perfInit.descentStarted);
    EXPECT_EQ(host.descentPages, 1);

    frameAt(25000.0f, 16, 10.0);
    EXPECT_EQ(vnav.state.targetAltitude, 1000) << "the destination's elevation + 1000 ft";
    EXPECT_EQ(vnav.state.mode, VnavMode::Descend) << "no approach: off the path";
    EXPECT_LT(vnav.state.requiredVerticalSpeed, -1000.0);
    EXPECT_NEAR(vnav.state.distanceToConstraint, 70.0, 1e-9);
    EXPECT_NEAR(vnav.state.verticalDeviation, 25000 - 1000 - 22303, 10)
        << "above a 3-degree path down to 1000 ft";
}

TEST_F(VnavOnRoute, NothingWithoutAConfirmedInitialisation) {
    frameAt(20000.0f, 3, 0.0);
    ASSERT_TRUE(vnav.state.valid);
    perfInit.initialised = false;
    frameAt(20000.0f, 3, 0.0);
    EXPECT_FALSE(vnav.state.valid);
    EXPECT_EQ(vnav.state.mode, VnavMode::None);
    EXPECT_EQ(vnav.state.targetAltitude, 0);
}

TEST_F(VnavOnRoute, SteepPathMessageComesAndGoes) {
    perfInit.cruiseReached = true;
    perfInit.descentStarted = true;
    plan.descentEndFound = true;
    plan.descentEndLeg = 19;
    plan.legs[19].vnav.hasAltitude = true;
    plan.legs[19].vnav.kind = kAltitudeAt;
    plan.legs[19].vnav.altitude = 2000;
    frameAt(20000.0f, 19, 5.0);
    EXPECT_EQ(host.shown, std::vector<std::string>{Vnav::kPathTooSteep}) << "18000 ft in 15 nm";
    EXPECT_TRUE(vnav.deviationShown);
    EXPECT_DOUBLE_EQ(vnav.deviationScale, 120.0);
    frameAt(4000.0f, 19, 5.0);
    EXPECT_EQ(host.withdrawn, std::vector<std::string>{Vnav::kPathTooSteep});
}

TEST_F(VnavOnRoute, SpeedCommandKeepsTheLimitThenTheConstraintThenTheFlaps) {
    perfInit.climbTarget = SpeedTarget(270, 0.56);
    perfInit.climbLimitedTarget = SpeedTarget(270, 0.56);
    perfInit.climbLimitedTarget.iasActive = true;
    inputs.lowSpeedLimit = 110.0f;
    frameAt(8000.0f, 1, 0.0);
    EXPECT_EQ(vnav.state.speedCommandIas, 240) << "below the speed-limit altitude";
    EXPECT_TRUE(vnav.state.speedByIas);
    plan.legs[1].vnav.hasSpeed = true;
    plan.legs[1].vnav.speed = 210;
    frameAt(8000.0f, 1, 0.0);
    EXPECT_EQ(vnav.state.speedCommandIas, 210);
    inputs.flapsOut = true;
    inputs.flapLimitSpeed = 180.0f;
    frameAt(8000.0f, 1, 0.0);
    EXPECT_EQ(vnav.state.speedCommandIas, 180);
    inputs.flapsOut = false;
    plan.legs[1].vnav.hasSpeed = false;
    perfInit.climbLimitedTarget.iasActive = false;
    perfInit.climbLimitedTarget.machActive = true;
    frameAt(28000.0f, 1, 0.0);
    EXPECT_TRUE(vnav.state.speedByMach) << "above the crossover";
    EXPECT_DOUBLE_EQ(vnav.state.speedCommandMach, 0.56);
}

TEST_F(VnavOnRoute, TheMachCommandStaysBetweenTheMinimumMachAndMmo) {
    const struct {
        double mach;
        float lowSpeedLimit;
        double expected;
    } cases[] = {
        {0.56, 110.0f, 0.56},
        // 1.23 x 150 kt is 184 kt, Mach 0.59 at 35,000 ft.
        {0.45, 150.0f, Adc::machFromCasAtAltitude(184.0, 35000.0)},
        {0.90, 110.0f, 0.78},
    };
    for (const auto& c : cases) {
        perfInit.cruiseReached = false;
        perfInit.climbLimitedTarget = SpeedTarget(270, c.mach);
        perfInit.climbLimitedTarget.machActive = true;
        inputs.lowSpeedLimit = c.lowSpeedLimit;
        frameAt(35000.0f, 1, 0.0);
        ASSERT_TRUE(vnav.state.speedByMach);
        EXPECT_NEAR(vnav.state.speedCommandMach, c.expected, 1e-6) << c.mach;
    }
    EXPECT_GT(Adc::machFromCasAtAltitude(184.0, 35000.0), 0.55);
}

// Each case starts from a climb at 270 kt, or a descent at 290 kt, on the twenty-leg route.
TEST_F(VnavOnRoute, SpeedCommandFliesHoldsOrbitsDepartureAndApproachSpeeds) {
    struct Case {
        const char* what;
        std::function<void()> setUp;
        bool descending;
        float altitude;
        std::size_t leg;
        double along;
        int32_t speed;
    };
    const std::vector<Case> cases = {
        {"departure: low and near the origin", [this] { inputs.radioAltitude = 900; }, false,
         2300.0f, 0, 1.0, 200},
        {"departure: reference speed 3 lower still",
         [this] {
             inputs.radioAltitude = 900;
             inputs.referenceSpeed3 = 160;
         },
         false, 2300.0f, 0, 1.0, 160},
        {"departure: above its height", [this] { inputs.radioAltitude = 2600; }, false, 4000.0f, 0,
         1.0, 270},
        {"departure: past its distance", [this] { inputs.radioAltitude = 900; }, false, 2300.0f, 0,
         4.5, 240},
        {"in the hold", [this] { plan.legs[3].holding.entered = 1; }, false, 15000.0f, 3, 5.0, 220},
        {"a hold ahead within 90 s",
         [this] {
             plan.legs[3].holding.active = 1;
             inputs.lnavValid = true;
             inputs.timeToGo = 80.0;
         },
         false, 15000.0f, 3, 5.0, 220},
        {"a hold ahead further than 90 s",
         [this] {
             plan.legs[3].holding.active = 1;
             inputs.lnavValid = true;
             inputs.timeToGo = 100.0;
         },
         false, 15000.0f, 3, 5.0, 270},
        {"a speed constraint over the hold",
         [this] {
             plan.legs[3].holding.entered = 1;
             plan.legs[3].vnav.hasSpeed = true;
             plan.legs[3].vnav.speed = 190;
         },
         false, 15000.0f, 3, 5.0, 190},
        {"in the plan's orbit",
         [this] {
             plan.orbit.entered = true;
             plan.orbit.speed = 205;
         },
         false, 15000.0f, 3, 5.0, 205},
        {"an orbit ahead within 90 s",
         [this] {
             plan.legs[3].orbit.active = true;
             plan.legs[3].orbit.speed = 215;
             inputs.lnavValid = true;
             inputs.timeToGo = 60.0;
         },
         false, 15000.0f, 3, 5.0, 215},
        {"descent far from the end", {}, true, 15000.0f, 15, 0.0, 290},
        {"approach: within its distance of the end", {}, true, 15000.0f, 19, 6.0, 200},
        {"approach: on an approach leg", [this] { inputs.lnavApproach = true; }, true, 15000.0f, 15,
         0.0, 200},
        {"approach leg without the first-waypoint choice",
         [this] {
             inputs.lnavApproach = true;
             perfInit.isFirstAppWpt = false;
         },
         true, 15000.0f, 15, 0.0, 290},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plan = FlightPlan();
        buildPredictionRoute(plan, 20, 20.0);
        inputs.radioAltitude = 5000.0f;
        inputs.referenceSpeed3 = 0;
        inputs.lnavValid = false;
        inputs.lnavApproach = false;
        inputs.timeToGo = -1.0;
        inputs.lowSpeedLimit = 110.0f;
        perfInit.isFirstAppWpt = true;
        perfInit.cruiseReached = c.descending;
        perfInit.descentStarted = c.descending;
        perfInit.climbTarget = SpeedTarget(270, 0.0);
        perfInit.climbLimitedTarget = SpeedTarget(270, 0.0);
        perfInit.descentTarget = SpeedTarget(290, 0.0);
        perfInit.descentLimitedTarget = SpeedTarget(290, 0.0);
        perfInit.altLim = 3000;
        if (c.setUp) {
            c.setUp();
        }
        vnav = Vnav();
        frameAt(c.altitude, c.leg, c.along);
        EXPECT_EQ(vnav.state.speedCommandIas, c.speed);
        EXPECT_TRUE(vnav.state.speedByIas);
    }
}

} // namespace
} // namespace tavi::test
