#include "fms/SpeedSchedules.h"

#include "avionics/AirData.h"
#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

class SpeedScheduleRecord : public testing::Test {
protected:
    SpeedScheduleRecord() {
        envelope.lowSpeedLimit = 100.0f;
        plan.legs.resize(2);
    }

    PerfInit perfInit;
    SpeedEnvelope envelope;
    FlightPlan plan;
    SpeedSchedules schedules{perfInit, envelope};
};

TEST_F(SpeedScheduleRecord, LongRangeCruiseMachGrowsAboveFl290) {
    perfInit.cruiseAltitude = 35000;
    const SpeedPair pair = schedules.cruiseModeSpeeds(0.0f);
    EXPECT_EQ(pair.ias, 240);
    EXPECT_NEAR(pair.mach, 0.67, 1e-9);
    perfInit.cruiseAltitude = 25000;
    EXPECT_NEAR(schedules.cruiseModeSpeeds(0.0f).mach, 0.6, 1e-9);
}

TEST_F(SpeedScheduleRecord, SpeedLimitShapesEachPhase) {
    perfInit.cruizeMode = 3;
    perfInit.manualCruiseIas = 270;
    perfInit.manualCruiseMach = 0.0;
    perfInit.cruiseAltitude = 8000;
    perfInit.defaultDescentIas = 270;
    EXPECT_FLOAT_EQ(schedules.climbSpeedSchedule(5000.0f, plan, 0, true), 240.0f);
    EXPECT_FLOAT_EQ(schedules.cruiseSpeedSchedule(8000.0f, plan, 0, true), 250.0f);
    EXPECT_FLOAT_EQ(schedules.descentSpeedSchedule(11500.0f, plan, 0, true), 240.0f);
    EXPECT_FLOAT_EQ(schedules.descentSpeedSchedule(12500.0f, plan, 0, false), 270.0f);
    EXPECT_EQ(perfInit.climbLimitedTarget.ias, 240);
    EXPECT_EQ(perfInit.climbTarget.ias, 270) << "the mode record keeps the schedule";
    EXPECT_TRUE(perfInit.cruiseLimitedTarget.iasActive);
}

// A speed limit of 0 is none, below its altitude as above it: no phase flies 10 kt under 0.
TEST_F(SpeedScheduleRecord, ASpeedLimitOfNoneCapsNoPhase) {
    perfInit.spdLim = 0;
    perfInit.altLim = 10000;
    perfInit.cruizeMode = 3;
    perfInit.manualCruiseIas = 270;
    perfInit.manualCruiseMach = 0.0;
    perfInit.cruiseAltitude = 8000;
    perfInit.defaultDescentIas = 280;
    const PlanSpeedSchedule schedule(schedules, perfInit, envelope, plan);
    const struct {
        const char* phase;
        float speed;
        float expected;
    } cases[] = {
        {"climb", schedules.climbSpeedSchedule(5000.0f, plan, 0, true), 270.0f},
        {"cruise", schedules.cruiseSpeedSchedule(8000.0f, plan, 0, true), 270.0f},
        {"descent", schedules.descentSpeedSchedule(9000.0f, plan, 0, true), 280.0f},
        {"predicted climb", schedule.climbSpeedAt(5000.0f, 500.0f, 10.0f), 270.0f},
        {"predicted cruise", schedule.cruiseSpeedAt(8000.0f), 270.0f},
        {"predicted descent", schedule.descentSpeedAt(9000.0f, 30.0f), 280.0f},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(c.speed, c.expected) << c.phase;
    }
    EXPECT_EQ(perfInit.climbLimitedTarget.ias, 270);
    EXPECT_EQ(perfInit.cruiseLimitedTarget.ias, 270);
}

// The speed VNAV commands on each leg of a route: the legs up to the top of climb climb, those
// past the top of descent descend, those between cruise, each at its predicted altitude; a
// leg's speed constraint is flown whatever the phase.
TEST_F(SpeedScheduleRecord, EachLegFliesItsPhasesSpeedAtItsAltitude) {
    perfInit.cruizeMode = 3;
    perfInit.manualCruiseIas = 280;
    perfInit.manualCruiseMach = 0.0;
    perfInit.cruiseAltitude = 20000;
    perfInit.prediction[PerfPrediction::TocDistance] = 40.0f;
    perfInit.prediction[PerfPrediction::TodDistance] = 90.0f;
    plan.legs.resize(4);
    const int32_t altitudes[] = {5000, 20000, 20000, 3000};
    for (std::size_t i = 0; i < plan.legs.size(); ++i) {
        plan.legs[i].distance = 30.0;
        plan.legs[i].vnav.altitude = altitudes[i];
    }
    plan.legs[1].vnav.hasSpeed = true;
    plan.legs[1].vnav.speed = 230;
    const PlanSpeedSchedule schedule(schedules, perfInit, envelope, plan);
    const struct {
        const char* leg;
        std::size_t index;
        float speed;
    } cases[] = {{"climbing below the speed limit", 0, 240.0f},
                 {"its own speed constraint", 1, 230.0f},
                 {"cruising", 2, 280.0f},
                 {"descending into the approach", 3, 200.0f}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(schedule.speedOnLeg(c.index), c.speed) << c.leg;
    }
    perfInit.descentStarted = true;
    EXPECT_FLOAT_EQ(schedule.speedOnLeg(2), 310.0f) << "once descending, the descent schedule";
}

TEST_F(SpeedScheduleRecord, HighClimbFliesTheMachAndALegConstraintWins) {
    const float atFl300 = schedules.climbSpeedSchedule(30000.0f, plan, 0, true);
    EXPECT_FLOAT_EQ(atFl300, std::trunc(static_cast<float>(casFromMachAtAltitude(0.56, 30000.0))));
    EXPECT_LT(atFl300, 270.0f);
    EXPECT_TRUE(perfInit.climbTarget.machActive);
    plan.legs[1].vnav.hasSpeed = true;
    plan.legs[1].vnav.speed = 180;
    EXPECT_FLOAT_EQ(schedules.climbSpeedSchedule(30000.0f, plan, 1, false), 180.0f);
    plan.legs[1].vnav.speed = 60;
    EXPECT_FLOAT_EQ(schedules.climbSpeedSchedule(30000.0f, plan, 1, false), 123.0f)
        << "never below 1.23 times the low-speed limit";
}

TEST_F(SpeedScheduleRecord, PredictionsApplyDepartureAndApproachLimits) {
    PlanSpeedSchedule schedule(schedules, perfInit, envelope, plan);
    EXPECT_FLOAT_EQ(schedule.climbSpeedAt(1500.0f, 500.0f, 2.0f), 200.0f) << "departure";
    EXPECT_FLOAT_EQ(schedule.climbSpeedAt(1500.0f, 500.0f, 5.0f), 240.0f) << "past depDist";
    EXPECT_FLOAT_EQ(schedule.cruiseSpeedAt(10000.0f), 240.0f);
    EXPECT_FLOAT_EQ(schedule.descentSpeedAt(9000.0f, 10.0f), 200.0f) << "approach";
    EXPECT_FLOAT_EQ(schedule.descentSpeedAt(9000.0f, 30.0f), 240.0f);
}

// A whole trip flies no leg's speed constraint; along the route each leg flies its own, however
// far the first fix's lies behind.
TEST_F(SpeedScheduleRecord, PredictionsFlyTheSpeedConstraintOfTheirOwnLeg) {
    plan.legs[0].vnav.hasSpeed = true;
    plan.legs[0].vnav.speed = 200;
    const PlanSpeedSchedule trip(schedules, perfInit, envelope, plan);
    const struct {
        const char* phase;
        float (*speed)(const PlanSpeedSchedule&);
    } phases[] = {
        {"climb",
         [](const PlanSpeedSchedule& s) {
             return s.climbSpeedAt(20000.0f, 0.0f, 100.0f);
         }},
        {"cruise",
         [](const PlanSpeedSchedule& s) {
             return s.cruiseSpeedAt(20000.0f);
         }},
        {"descent",
         [](const PlanSpeedSchedule& s) {
             return s.descentSpeedAt(20000.0f, 100.0f);
         }},
    };
    for (const auto& p : phases) {
        SCOPED_TRACE(p.phase);
        EXPECT_GT(p.speed(trip), 230.0f);
        EXPECT_FLOAT_EQ(p.speed(trip.onLeg(1)), p.speed(trip));
        EXPECT_FLOAT_EQ(p.speed(trip.onLeg(0)), 200.0f);
        EXPECT_FLOAT_EQ(p.speed(trip.onLeg(0).onLeg(kNoLeg)), p.speed(trip));
    }
}

} // namespace
} // namespace tavi::test
