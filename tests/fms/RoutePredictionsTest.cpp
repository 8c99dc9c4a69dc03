#include "fms/RoutePredictions.h"

#include "avionics/Adc.h"
#include "avionics/AirData.h"
#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"
#include "fms/SpeedSchedules.h"
#include "support/PredictionRoute.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

class RoutePrediction : public testing::Test {
protected:
    RoutePrediction() {
        perfInit.passengerCount = 0;
        perfInit.cargoWeight = 0.0;
        perfInit.bow = 28000.0;
        perfInit.fuelWeight = 9000.0;
        inputs.perfInit = &perfInit;
    }

    PerfPrediction predict(float cruiseAltitude) {
        return RoutePredictions(perf, schedule).predictFlightPlan(plan, cruiseAltitude, inputs);
    }

    static void expectSound(const PerfPrediction& prediction, const FlightPlan& route) {
        for (const float item : prediction.items) {
            EXPECT_TRUE(std::isfinite(item));
        }
        for (const FlightPlanLeg& leg : route.legs) {
            EXPECT_TRUE(std::isfinite(leg.tfd.time) && leg.tfd.time >= 0.0f);
            EXPECT_TRUE(std::isfinite(leg.tfd.fuel) && leg.tfd.fuel >= 0.0f) << leg.wpt.ident;
            EXPECT_TRUE(std::isfinite(leg.tfd.fuelRemaining) && leg.tfd.fuelRemaining >= 0.0f);
        }
    }

    // An entered altitude constraint at the fix of leg index, for the climb or the descent.
    void constrain(std::size_t index, uint32_t kind, int32_t altitude, uint32_t phase) {
        LegConstraints& vnav = plan.legs[index].vnav;
        vnav.hasAltitude = true;
        vnav.kind = kind;
        vnav.altitude = altitude;
        vnav.phase = phase;
    }

    // Nautical miles from the route start to the end of leg index.
    double legEnd(std::size_t index) const {
        double distance = 0.0;
        for (std::size_t i = 0; i <= index; ++i) {
            distance += plan.legs[i].distance;
        }
        return distance;
    }

    std::vector<std::size_t> legsMarked(const std::string& name) const {
        return test::legsMarked(plan, name);
    }

    FmsPerf perf;
    PerfInit perfInit;
    SpeedEnvelope envelope;
    FlightPlan plan;
    SpeedSchedules schedules{perfInit, envelope};
    PlanSpeedSchedule schedule{schedules, perfInit, envelope, plan};
    RoutePredictions::Inputs inputs;
};

TEST_F(RoutePrediction, ClimbCruiseAndDescentShareTheRoute) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 20, 20.0);
    const PerfPrediction prediction = predict(31000.0f);
    expectSound(prediction, plan);
    const float toc = prediction[PerfPrediction::TocDistance];
    const float tod = prediction[PerfPrediction::TodDistance];
    EXPECT_GT(toc, 20.0f);
    EXPECT_LT(toc, tod);
    EXPECT_NEAR(400.0f - tod, 31000.0f / std::tan(3.0f / 57.29578f) / 6079.4f, 0.5f)
        << "a 3-degree descent to the destination";
    float legTime = 0.0f;
    float legDistance = 0.0f;
    for (const FlightPlanLeg& leg : plan.legs) {
        legTime += leg.tfd.time;
        legDistance += leg.tfd.distance;
    }
    EXPECT_NEAR(legDistance, 400.0f, 0.01f);
    EXPECT_NEAR(plan.timeToGo, legTime, 0.5);
    EXPECT_GT(prediction[PerfPrediction::FuelRequired], 600.0f);
    EXPECT_NEAR(prediction[PerfPrediction::ExtraFuel] + prediction[PerfPrediction::FuelRequired],
                9000.0f, 0.01f);
    EXPECT_GT(prediction[PerfPrediction::ReserveFuel], 0.0f);
    EXPECT_TRUE(plan.legs[10].cruiseLeg);
    EXPECT_FALSE(plan.legs[0].cruiseLeg);
    EXPECT_EQ(plan.legs[10].vnav.predictedAltitude, 31000);
}

TEST_F(RoutePrediction, TripWindIsTheCruiseWindAlongTheRoute) {
    // The route runs due east; the cruise wind is given for 30,000 ft.
    buildPredictionRoute(plan, 4, 20.0);
    perfInit.crzWindStrength = 50;
    perfInit.crzWindAlt = 30000;
    const struct {
        int32_t from;
        float altitude;
        int32_t speed;
        int32_t component;
    } cases[] = {
        {270, 31000.0f, 50, 50}, {90, 31000.0f, 50, -50}, {0, 31000.0f, 50, 0},
        {225, 31000.0f, 50, 35}, {270, 15000.0f, 27, 27}, {270, 0.0f, 5, 5},
    };
    for (const auto& c : cases) {
        perfInit.crzWindDir = c.from;
        updateTripWind(perfInit, plan, c.altitude);
        EXPECT_EQ(perfInit.cruiseWindDirection, c.from);
        EXPECT_EQ(perfInit.cruiseWindSpeed, c.speed) << c.from << " at " << c.altitude;
        EXPECT_EQ(perfInit.cruiseWindComponent, c.component) << c.from << " at " << c.altitude;
    }
}

TEST_F(RoutePrediction, ALegsOwnWindReplacesTheCruiseWind) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 20, 20.0);
    perfInit.crzWindDir = 270;
    perfInit.crzWindStrength = 40;
    plan.legs[10].windDirection = 90;
    plan.legs[10].windSpeed = 100;
    plan.legs[12].windDirection = 0;
    plan.legs[12].windSpeed = kNoWind;
    predict(31000.0f);
    ASSERT_TRUE(plan.legs[10].cruiseLeg && plan.legs[11].cruiseLeg && plan.legs[12].cruiseLeg);
    EXPECT_GT(plan.legs[10].tfd.time, plan.legs[11].tfd.time * 1.3f) << "into 100 kt";
    EXPECT_GT(plan.legs[12].tfd.time, plan.legs[11].tfd.time * 1.05f)
        << "calm: one of the two values was given";
    EXPECT_NEAR(plan.legs[13].tfd.time, plan.legs[11].tfd.time, 0.5f) << "the cruise wind";
}

TEST_F(RoutePrediction, TheReserveIsFlownInTheAlternatesWind) {
    fillPerformanceTables(perf);
    perfInit.fuelReserveType = 2;
    perfInit.fuelReserveTime = 45.0;
    FlightPlan alternate;
    buildPredictionRoute(alternate, 2, 20.0);
    alternate.legs[0].windDirection = 90;
    alternate.legs[0].windSpeed = 60;
    auto reserve = [&](const FlightPlan* flownOn, int32_t cruiseWindFrom) {
        buildPredictionRoute(plan, 10, 20.0);
        perfInit.crzWindDir = cruiseWindFrom;
        perfInit.crzWindStrength = 60;
        inputs.alternate = flownOn;
        return predict(20000.0f)[PerfPrediction::ReserveFuel];
    };
    const float tailwind = reserve(nullptr, 270);
    const float headwind = reserve(nullptr, 90);
    EXPECT_GT(headwind, tailwind * 1.3f) << "146.25 nm at 195 kt into 60 kt or with it";
    // The route's own fuel, and so the landing weight, differs a little with its wind.
    EXPECT_NEAR(reserve(&alternate, 270), headwind, headwind * 0.01f)
        << "the alternate's leg wind, not the tailwind of the cruise";
}

TEST_F(RoutePrediction, ACruiseThatDoesNotFitIsLowered) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 4, 15.0);
    const PerfPrediction prediction = predict(35000.0f);
    expectSound(prediction, plan);
    EXPECT_LT(prediction[PerfPrediction::ClimbAltitude], 35000.0f);
    EXPECT_LE(prediction[PerfPrediction::TocDistance], prediction[PerfPrediction::TodDistance]);
}

TEST_F(RoutePrediction, NoTablesNoFuelAndDamagedEntriesNeverGiveNaNOrNegativeFuel) {
    buildPredictionRoute(plan, 10, 30.0);
    PerfPrediction prediction = predict(25000.0f);
    expectSound(prediction, plan);
    EXPECT_FLOAT_EQ(prediction[PerfPrediction::FuelRequired], 600.0f) << "take-off and landing";

    fillPerformanceTables(perf);
    perfInit.fuelWeight = 100.0;
    perfInit.crzWindStrength = 900;
    perfInit.crzWindDir = 90;
    prediction = predict(25000.0f);
    expectSound(prediction, plan);
    EXPECT_LT(prediction[PerfPrediction::ExtraFuel], 0.0f) << "short of fuel, shown as such";

    perf.setCell(FmsPerf::CruiseFuel, 25, 14, std::numeric_limits<float>::quiet_NaN());
    perf.setCell(FmsPerf::ClimbFuel, 10, 14, -500.0f);
    perfInit.fuelReserveType = 2;
    perfInit.fuelReserveTime = std::nan("");
    prediction = predict(25000.0f);
    expectSound(prediction, plan);
}

// Cells of 1e37 lb (a damaged table) make a trip that needs more fuel than the aircraft holds,
// never one that needs none.
TEST_F(RoutePrediction, HugeTableCellsCountAsHugeFuelNotAsNone) {
    for (const FmsPerf::Table table : {FmsPerf::ClimbFuel, FmsPerf::CruiseFuel}) {
        SCOPED_TRACE(testing::Message() << "table " << table);
        FmsPerf damaged;
        fillPerformanceTables(damaged);
        for (int32_t row = 1; row < FmsPerf::kRows; ++row) {
            for (int32_t column = 1; column < FmsPerf::kColumns; ++column) {
                damaged.setCell(table, row, column, 1.0e37f);
            }
        }
        buildPredictionRoute(plan, 20, 20.0);
        const PerfPrediction prediction =
            RoutePredictions(damaged, schedule).predictFlightPlan(plan, 31000.0f, inputs);
        expectSound(prediction, plan);
        EXPECT_GT(prediction[PerfPrediction::FuelRequired], 9000.0f);
        EXPECT_LT(prediction[PerfPrediction::ExtraFuel], 0.0f);
    }
}

// A route too short for its cruise altitude descends from the altitude its climb reached.
TEST_F(RoutePrediction, AShortRoutesDescentStartsWhereItsClimbGot) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 2, 2.0);
    const PerfPrediction prediction = predict(31000.0f);
    expectSound(prediction, plan);
    const float top = prediction[PerfPrediction::TodAltitude];
    EXPECT_GT(top, 500.0f);
    EXPECT_LE(top, prediction[PerfPrediction::ClimbAltitude] + 1.0f);
    EXPECT_LE(plan.legs[0].vnav.predictedAltitude, top + 1.0f);
}

TEST_F(RoutePrediction, ClimbConstraintsShapeTheClimb) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 20, 20.0);
    const float freeToc = predict(31000.0f)[PerfPrediction::TocDistance];
    std::vector<int32_t> freeClimb;
    for (const FlightPlanLeg& leg : plan.legs) {
        freeClimb.push_back(leg.vnav.altitude);
    }
    ASSERT_GT(freeToc, 60.0f);
    ASSERT_LT(freeToc, 140.0f);
    // Only a constraint that caps the climb holds it down, on its own fix or on the legs before
    // it; an at-or-above constraint the climb passes anyway changes nothing.
    const struct {
        uint32_t kind;
        int32_t altitude;
        std::size_t leg;
        bool levelsOff;
        bool fallsShort;
    } cases[] = {
        {kAltitudeAt, 10000, 1, true, false},         {kAltitudeAtOrBelow, 10000, 1, true, false},
        {kAltitudeAtOrAbove, 10000, 1, false, false}, {kAltitudeAt, 35000, 1, false, true},
        {kAltitudeAt, 10000, 5, true, false},         {kAltitudeAtOrAbove, 10000, 5, false, false},
        {kAltitudeAtOrAbove, 8000, 2, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "kind " << c.kind << " at " << c.altitude << " on leg " << c.leg);
        buildPredictionRoute(plan, 20, 20.0);
        constrain(c.leg, c.kind, c.altitude, kPhaseClimb);
        const PerfPrediction prediction = predict(31000.0f);
        expectSound(prediction, plan);
        const float toc = prediction[PerfPrediction::TocDistance];
        EXPECT_EQ(plan.legs[0].vnav.phase, kPhaseClimb);
        if (c.levelsOff) {
            EXPECT_EQ(plan.legs[c.leg].vnav.predictedAltitude, 10000);
            EXPECT_LE(plan.legs[c.leg - 1].vnav.altitude, 10000) << "the climb stops below the fix";
            EXPECT_GT(toc, legEnd(c.leg)) << "the top of climb lies beyond the constrained fix";
            EXPECT_GT(toc, freeToc + 5.0f) << "the level part puts it further on";
        } else {
            EXPECT_NEAR(toc, freeToc, 1.0f);
            for (std::size_t i = 0; i < c.leg && c.kind == kAltitudeAtOrAbove; ++i) {
                EXPECT_EQ(plan.legs[i].vnav.altitude, freeClimb[i]) << "climbs on, leg " << i;
            }
        }
        EXPECT_EQ(plan.legs[c.leg].vnav.predictedAltitude < c.altitude, c.fallsShort)
            << plan.legs[c.leg].vnav.predictedAltitude;
        EXPECT_EQ(plan.legs[12].vnav.predictedAltitude, 31000);
    }
}

TEST_F(RoutePrediction, ADescentConstraintMakesALevelPartAndItsOwnTopOfDescent) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 20, 20.0);
    const float freeTod = predict(31000.0f)[PerfPrediction::TodDistance];
    EXPECT_TRUE(legsMarked("T/D-10000").empty());
    const struct {
        uint32_t kind;
        std::size_t leg;
    } cases[] = {{kAltitudeAt, 15}, {kAltitudeAtOrBelow, 15}, {kAltitudeAt, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " on leg " << c.leg);
        buildPredictionRoute(plan, 20, 20.0);
        constrain(c.leg, c.kind, 10000, kPhaseDescent);
        const PerfPrediction prediction = predict(31000.0f);
        expectSound(prediction, plan);
        const float tod = prediction[PerfPrediction::TodDistance];
        EXPECT_LT(tod, freeTod - 20.0f) << "the descent to 10,000 ft starts earlier";
        EXPECT_NEAR(legEnd(c.leg) - tod, 21000.0f / std::tan(3.0f / 57.29578f) / 6079.4f, 0.5f);
        EXPECT_EQ(plan.legs[c.leg].vnav.predictedAltitude, 10000);
        for (std::size_t i = c.leg + 1; i < 18; ++i) {
            EXPECT_EQ(plan.legs[i].vnav.altitude, 10000) << "level after the fix, leg " << i;
            EXPECT_EQ(plan.legs[i].vnav.phase, kPhaseDescent);
        }
        const std::vector<std::size_t> marked = legsMarked("T/D-10000");
        ASSERT_EQ(marked.size(), 1u);
        EXPECT_EQ(marked[0], 18u) << "the descent below 10,000 ft starts on the leg to W18";
        EXPECT_EQ(legsMarked("TOD").size(), 1u);
    }
}

TEST_F(RoutePrediction, TheDescentSlowsDownForTheSpeedLimitAboveItsAltitude) {
    fillPerformanceTables(perf);
    const struct {
        int32_t speedLimit;
        int32_t descentIas;
        float allowance;
    } cases[] = {
        {250, 290, 5.0f},
        {250, 240, 0.0f},
        {0, 290, 0.0f},
    };
    buildPredictionRoute(plan, 20, 20.0);
    perfInit.spdLim = 0;
    const float freeTod = predict(31000.0f)[PerfPrediction::TodDistance];
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.descentIas << " kt with a limit of " << c.speedLimit);
        buildPredictionRoute(plan, 20, 20.0);
        perfInit.spdLim = c.speedLimit;
        inputs.descentSpeeds = {c.descentIas, 0.0};
        const PerfPrediction prediction = predict(31000.0f);
        expectSound(prediction, plan);
        EXPECT_NEAR(freeTod - prediction[PerfPrediction::TodDistance], c.allowance, 0.01f);
        const std::vector<std::size_t> slowDown = legsMarked("");
        if (c.allowance > 0.0f) {
            ASSERT_EQ(slowDown.size(), 1u);
            // With 5 nm flown level at 11,151 ft on the leg to W18, the descent passes
            // 12,000 ft on the leg to W17.
            EXPECT_EQ(slowDown[0], 17u);
            EXPECT_EQ(legsMarked("T/D-11151"), std::vector<std::size_t>{18});
        } else {
            EXPECT_TRUE(slowDown.empty());
        }
    }
}

// A descent leg takes the time of its miles at the true airspeed of the crew's descent speed, or
// of its own speed constraint; the constraint on the first fix slows only the first leg.
TEST_F(RoutePrediction, EachDescentLegFliesTheDescentSpeedOrItsOwnConstraint) {
    fillPerformanceTables(perf);
    perfInit.descentMode = 2;
    perfInit.manualDescentMach = 0.80;
    // Leg 16 descends on the 3-degree path from 25,475 ft to 19,106 ft.
    constexpr std::size_t kDescentLeg = 16;
    constexpr double kMeanAltitude = 22290.0;
    const struct {
        int32_t descentIas;
        std::size_t constrainedLeg;
        int32_t flown;
    } cases[] = {
        {310, kNoLeg, 310}, {240, kNoLeg, 240},      {240, 0, 240},
        {310, 0, 310},      {310, kDescentLeg, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.descentIas << " kt, 200 kt on leg " << c.constrainedLeg);
        buildPredictionRoute(plan, 20, 20.0);
        perfInit.manualDescentIas = c.descentIas;
        if (c.constrainedLeg != kNoLeg) {
            plan.legs[c.constrainedLeg].vnav.hasSpeed = true;
            plan.legs[c.constrainedLeg].vnav.speed = 200;
        }
        expectSound(predict(31000.0f), plan);
        const double trueAirspeed = Adc::groundSpeedFromCas(
            c.flown, kMeanAltitude, isaTemperatureClamped(kMeanAltitude), 90.0, 0.0, 0.0);
        EXPECT_NEAR(plan.legs[kDescentLeg].tfd.time, 20.0 / trueAirspeed * 3600.0,
                    0.01 * plan.legs[kDescentLeg].tfd.time);
    }
}

TEST_F(RoutePrediction, DegenerateRoutesNeverGiveNaNOrNegativeFuel) {
    fillPerformanceTables(perf);
    auto oneLeg = [](FlightPlan& route) {
        buildPredictionRoute(route, 1, 40.0);
    };
    auto zeroLegs = [](FlightPlan& route) {
        buildPredictionRoute(route, 5, 20.0);
        route.legs[1].distance = 0.0;
        route.legs[3].distance = 0.0;
        route.totalDistance = 60.0;
    };
    auto noTotal = [](FlightPlan& route) {
        buildPredictionRoute(route, 4, 20.0);
        route.totalDistance = 0.0;
    };
    auto constraintAboveCruise = [](FlightPlan& route) {
        buildPredictionRoute(route, 6, 20.0);
        route.legs[0].vnav = {};
        route.legs[0].vnav.hasAltitude = true;
        route.legs[0].vnav.altitude = 45000;
        route.legs[4].vnav.hasAltitude = true;
        route.legs[4].vnav.kind = kAltitudeAtOrBelow;
        route.legs[4].vnav.altitude = -500;
        route.legs[4].vnav.phase = kPhaseDescent;
    };
    auto steepEnteredAngle = [](FlightPlan& route) {
        buildPredictionRoute(route, 6, 5.0);
        route.legs[3].vnav.hasAltitude = true;
        route.legs[3].vnav.kind = kAltitudeAt;
        route.legs[3].vnav.altitude = 20000;
        route.legs[4].vnav.pathAngleEntered = true;
        route.legs[4].vnav.pathAngle = 0.0f;
    };
    const struct {
        const char* name;
        void (*build)(FlightPlan&);
        bool airborne;
    } cases[] = {
        {"one leg", oneLeg, false},
        {"legs without length", zeroLegs, false},
        {"no total distance", noTotal, false},
        {"constraints above the cruise and below the ground", constraintAboveCruise, false},
        {"a flat entered angle after a high constraint", steepEnteredAngle, false},
        {"one leg in flight", oneLeg, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.build(plan);
        inputs.airborne = c.airborne;
        inputs.altitude = c.airborne ? 12000.0f : 0.0f;
        inputs.activeLegFlown = c.airborne ? 10.0f : 0.0f;
        perfInit.fuelAtLastFix = 8000.0f;
        const PerfPrediction prediction = predict(31000.0f);
        expectSound(prediction, plan);
        EXPECT_LE(prediction[PerfPrediction::TocDistance],
                  prediction[PerfPrediction::TodDistance] + 0.01f);
    }
}

TEST_F(RoutePrediction, InCruiseTheLegsBehindCountNoTimeOrFuel) {
    fillPerformanceTables(perf);
    buildPredictionRoute(plan, 20, 20.0);
    perfInit.cruiseReached = true;
    perfInit.fuelAtLastFix = 7000.0f;
    inputs.airborne = true;
    inputs.altitude = 31000.0f;
    inputs.activeLegFlown = 10.0f;
    plan.activeLeg = 5;
    const PerfPrediction prediction = predict(31000.0f);
    expectSound(prediction, plan);
    EXPECT_EQ(prediction[PerfPrediction::TocDistance], 0.0f) << "the climb is behind";
    EXPECT_EQ(prediction[PerfPrediction::TocTime], 0.0f);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(plan.legs[i].tfd.time, 0.0f) << i;
        EXPECT_EQ(plan.legs[i].tfd.fuel, 0.0f) << i;
        EXPECT_FLOAT_EQ(plan.legs[i].tfd.distance, 20.0f) << i;
    }
    EXPECT_NEAR(plan.legs[5].tfd.time * 2.0f, plan.legs[6].tfd.time, 1.0f)
        << "half of the active leg is left";
    EXPECT_EQ(plan.legs[6].vnav.predictedAltitude, 31000);
    EXPECT_FLOAT_EQ(plan.legs[19].tfd.fuelRemaining, plan.predictedEndFuel);
    EXPECT_LT(plan.predictedEndFuel, 7000.0f);
}

TEST_F(RoutePrediction, AnUnusableRouteGivesAZeroSummary) {
    buildPredictionRoute(plan, 3, 10.0);
    plan.activeLeg = 3;
    const PerfPrediction prediction = predict(20000.0f);
    for (const float item : prediction.items) {
        EXPECT_EQ(item, 0.0f);
    }
}

} // namespace
} // namespace tavi::test
