#include "fms/Vnav.h"

#include "avionics/Adc.h"
#include "cdu/FmsParser.h"
#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "fms/FuelPredictions.h"
#include "fms/RoutePredictions.h"
#include "fms/SpeedSchedules.h"
#include "support/PredictionRoute.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <map>
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
    void runFuelPredictions() override {
        ++predictionRuns;
        if (predictions) {
            predictions();
        }
    }

    float altitude = 0.0f;
    std::vector<std::string> shown;
    std::vector<std::string> withdrawn;
    int pauses = 0;
    int descentPages = 0;
    int predictionRuns = 0;
    std::function<void()> predictions;
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
    EXPECT_NEAR(vnav.state.distanceToConstraint, 70.0, 1e-9);
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

// The twenty-leg route along the equator (20 nm legs, fix i at 20 (i + 1) nm) predicted with
// plausible tables at FL310, descending through the crew's constraints to the destination.
class VnavOnPredictedDescent : public testing::Test {
protected:
    VnavOnPredictedDescent() {
        fillPerformanceTables(perf);
        buildPredictionRoute(plan, 20, 20.0);
        perfInit.passengerCount = 0;
        perfInit.cargoWeight = 0.0;
        perfInit.bow = 28000.0;
        perfInit.fuelWeight = 9000.0;
        perfInit.cruiseAltitude = 31000;
        inputs.positionInitialised = true;
        inputs.onGround = false;
        inputs.pastLiftOff = true;
        inputs.groundSpeed = 300.0f;
    }

    void constrain(std::size_t leg, uint32_t kind, int32_t altitude) {
        LegConstraints& vnav = plan.legs[leg].vnav;
        vnav.hasAltitude = true;
        vnav.kind = kind;
        vnav.altitude = altitude;
        vnav.phase = kPhaseDescent;
    }

    // The predictions as the FMS runs them, then past the top of descent.
    void predict() {
        RoutePredictions::Inputs routeInputs;
        routeInputs.perfInit = &perfInit;
        perfInit.prediction =
            RoutePredictions(perf, schedule).predictFlightPlan(plan, 31000.0f, routeInputs);
        perfInit.initialised = true;
        perfInit.cruiseReached = true;
        perfInit.descentStarted = true;
    }

    // The profile as the predictions published it: the top of descent, each fix at its
    // predicted altitude, and each intermediate top of descent at the altitude of its name
    // where the level part before it ends. Nautical miles from the origin to feet.
    std::map<double, float> publishedProfile() const {
        std::map<double, float> profile;
        const double top = perfInit.prediction[PerfPrediction::TodDistance];
        profile[top] = perfInit.prediction[PerfPrediction::TodAltitude];
        for (std::size_t i = 0; i < plan.legCount(); ++i) {
            const double fix = 20.0 * static_cast<double>(i + 1);
            if (fix > top) {
                profile[fix] = static_cast<float>(plan.legs[i].vnav.predictedAltitude);
            }
            for (const PilotPoint& marker : plan.legs[i].markers) {
                int32_t altitude = 0;
                if (marker.ident.rfind("T/D-", 0) == 0 &&
                    FmsParser::parseFlightLevel(marker.ident.substr(4), altitude)) {
                    profile[marker.longitude * 60.0] = static_cast<float>(altitude);
                } else if (marker.ident.rfind("T/D-", 0) == 0) {
                    profile[marker.longitude * 60.0] = std::stof(marker.ident.substr(4));
                }
            }
        }
        return profile;
    }

    static float altitudeOn(const std::map<double, float>& profile, double distance) {
        auto after = profile.lower_bound(distance);
        if (after == profile.begin()) {
            return after->second;
        }
        if (after == profile.end()) {
            return std::prev(after)->second;
        }
        auto before = std::prev(after);
        const double share = (distance - before->first) / (after->first - before->first);
        return static_cast<float>(before->second + share * (after->second - before->second));
    }

    // The aircraft on the route, nm from the origin.
    void frameAt(float altitude, double distance) {
        std::size_t leg = 0;
        double legStart = 0.0;
        while (leg + 1 < plan.legCount() && legStart + plan.legs[leg].distance <= distance) {
            legStart += plan.legs[leg].distance;
            ++leg;
        }
        inputs.altitude = altitude;
        inputs.preselect = altitude;
        host.altitude = altitude;
        plan.activeLeg = static_cast<uint32_t>(leg);
        plan.distanceFlown = legStart;
        inputs.legAlongTrack = distance - legStart;
        vnav.update(plan, perfInit, inputs, host);
    }

    FmsPerf perf;
    PerfInit perfInit;
    SpeedEnvelope envelope;
    FlightPlan plan;
    SpeedSchedules schedules{perfInit, envelope};
    PlanSpeedSchedule schedule{schedules, perfInit, envelope, plan};
    VnavInputs inputs;
    RecordingVnavHost host;
    Vnav vnav;
};

// Flown exactly as the predictions planned it, level parts and intermediate tops of descent
// included, the descent reads no deviation, from fix to fix without a step; on a level part
// the target is its altitude and the next top of descent is where it ends.
TEST_F(VnavOnPredictedDescent, TheDescentAsPredictedReadsNoDeviation) {
    const struct {
        const char* name;
        std::vector<std::pair<std::size_t, int32_t>> at;
        std::vector<std::pair<std::size_t, int32_t>> atOrBelow;
        std::vector<std::string> levelParts;
    } cases[] = {
        {"no constraint", {}, {}, {}},
        {"at 12000, then at or below 6000", {{15, 12000}}, {{17, 6000}}, {"T/D-12000", "T/D-6000"}},
        {"at 20000 early, at 9000", {{13, 20000}, {16, 9000}}, {}, {"T/D-FL200", "T/D-9000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        buildPredictionRoute(plan, 20, 20.0);
        for (const auto& [leg, altitude] : c.at) {
            constrain(leg, kAltitudeAt, altitude);
        }
        for (const auto& [leg, altitude] : c.atOrBelow) {
            constrain(leg, kAltitudeAtOrBelow, altitude);
        }
        perfInit.transAlt = 18000;
        plan.descentEndFound = true;
        plan.descentEndLeg = 19;
        predict();
        vnav = Vnav();
        const std::map<double, float> profile = publishedProfile();
        const double top = perfInit.prediction[PerfPrediction::TodDistance];
        ASSERT_GT(top, 150.0);
        int32_t largest = 0;
        int32_t largestStep = 0;
        int32_t previous = 0;
        std::vector<std::string> levelParts;
        for (double distance = top; distance < 399.0; distance += 0.25) {
            frameAt(altitudeOn(profile, distance), distance);
            const int32_t deviation = vnav.state.verticalDeviation;
            largest = std::max(largest, std::abs(deviation));
            if (distance > top) {
                largestStep = std::max(largestStep, std::abs(deviation - previous));
            }
            previous = deviation;
            if (vnav.state.todAhead &&
                (levelParts.empty() || levelParts.back() != vnav.state.todName)) {
                levelParts.push_back(vnav.state.todName);
            }
        }
        EXPECT_LE(largest, 30) << "feet off the path flown as predicted";
        EXPECT_LE(largestStep, 30);
        EXPECT_EQ(levelParts, c.levelParts);
    }
}

// 10,000 ft in 3.6 nm (26 degrees) cannot be flown: the prediction crosses the fix as low as a
// 6-degree descent gets, the descent goes on from there, and the crew is told on the leg before.
TEST_F(VnavOnPredictedDescent, AConstraintTooSteepToMakeIsPredictedAsFlownAndWarnedOfEarly) {
    buildPredictionRoute(plan, 20, 20.0);
    plan.legs[16].distance = 3.6;
    plan.totalDistance -= 16.4;
    constrain(15, kAltitudeAt, 20000);
    constrain(16, kAltitudeAt, 10000);
    plan.descentEndFound = true;
    plan.descentEndLeg = 19;
    predict();
    const float made = 20000.0f - std::tan(6.0f / 57.29578f) * 3.6f * 6076.0f;
    EXPECT_NEAR(plan.legs[16].vnav.predictedAltitude, made, 100.0f);
    EXPECT_EQ(plan.legs[15].vnav.predictedAltitude, 20000);

    frameAt(20000.0f, 290.0);
    EXPECT_TRUE(host.shown.empty()) << "two legs before";
    EXPECT_NEAR(vnav.descentPath().altitudeAt(323.6), made, 100.0f) << "guided as flown";
    frameAt(20000.0f, 305.0);
    EXPECT_EQ(host.shown, std::vector<std::string>{Vnav::kCheckAltConstraint});
    frameAt(14000.0f, 330.0);
    EXPECT_EQ(host.withdrawn, std::vector<std::string>{Vnav::kCheckAltConstraint});
}

// A heavy aircraft on a hot day cruises at FL310 until enough fuel has burned for FL330: the
// predictions count on that step climb, so VNAV flies it where they placed it.
TEST(VnavStepClimb, ThePredictedStepClimbIsFlownAtItsPoint) {
    FmsPerf perf;
    fillPerformanceTables(perf);
    PerfInit perfInit;
    loadHeavyAircraftOnAHotDay(perfInit);
    perfInit.stepIncrement = 2000;
    FuelPredictions predictions{perf, perfInit};
    FlightPlan plan;
    buildPredictionRoute(plan, 60, 20.0);
    FuelPredictions::Inputs predictionInputs;
    predictionInputs.fuelInTanks = 11000.0f;
    auto predict = [&] {
        predictions.update(plan, predictionInputs, [](const std::string&, int32_t) {});
    };
    predict();
    ASSERT_TRUE(perfInit.stepPlanned);
    ASSERT_LE(perfInit.stepRatio, 1.0);
    const double step = perfInit.stepDistance;

    RecordingVnavHost host;
    host.predictions = predict;
    VnavInputs inputs;
    inputs.positionInitialised = true;
    inputs.onGround = false;
    inputs.airborne = true;
    inputs.pastLiftOff = true;
    inputs.groundSpeed = 420.0f;
    inputs.preselect = 33000.0f;
    inputs.altitude = 31000.0f;
    host.altitude = 31000.0f;
    perfInit.cruiseReached = true;
    Vnav vnav;
    auto frameAt = [&](double distance) {
        const auto leg = static_cast<std::size_t>(distance / 20.0);
        plan.activeLeg = static_cast<uint32_t>(leg);
        plan.distanceFlown = 20.0 * static_cast<double>(leg);
        inputs.legAlongTrack = distance - plan.distanceFlown;
        vnav.update(plan, perfInit, inputs, host);
    };
    frameAt(step - 1.0);
    EXPECT_EQ(perfInit.cruiseAltitude, 31000);
    EXPECT_EQ(vnav.state.targetAltitude, 31000);
    frameAt(step + 0.1);
    EXPECT_EQ(perfInit.cruiseAltitude, 33000);
    EXPECT_TRUE(perfInit.stepClimbActive);
    EXPECT_EQ(host.predictionRuns, 1);
    frameAt(step + 0.2);
    EXPECT_EQ(vnav.state.targetAltitude, 33000);
    EXPECT_EQ(vnav.state.mode, VnavMode::Climb);
    EXPECT_EQ(perfInit.cruiseAltitude, 33000) << "one step at a time";
}

} // namespace
} // namespace tavi::test
