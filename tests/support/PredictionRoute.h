// A route and performance tables for the route predictions: a straight plan of equal legs
// eastwards along the equator between two airports, and tables filled with a plausible jet.
#pragma once

#include "cdu/PerfInit.h"
#include "fms/FlightPlan.h"
#include "fms/FmsPerf.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tavi::test {

inline void fillPerformanceTables(FmsPerf& perf) {
    for (int32_t row = 1; row < FmsPerf::kRows; ++row) {
        const float thin = 1.0f + static_cast<float>(row) / 37.0f;
        for (int32_t column = 1; column < FmsPerf::kColumns; ++column) {
            perf.setCell(FmsPerf::ClimbFuel, row, column, 45.0f * thin);
            perf.setCell(FmsPerf::ClimbTime, row, column, 24.0f * thin * thin);
            perf.setCell(FmsPerf::CruiseFuel, row, column, 60.0f / thin);
            perf.setCell(FmsPerf::DescentFuel, row, column, 8.0f);
        }
    }
}

// A complete initialisation's entries: 48,000 lb empty, 40 passengers, 2000 lb of cargo and
// 12,000 lb of fuel, at the cruise altitude; the first refusal, or nullptr when all are taken.
inline const char* enterLoadedAircraft(PerfInit& perf, int32_t cruiseAltitude) {
    for (const char* refusal :
         {perf.enterWeight(PerfInit::Weight::Bow, 48000.0), perf.enterPassengers(40, 0.0),
          perf.enterWeight(PerfInit::Weight::Cargo, 2000.0),
          perf.enterWeight(PerfInit::Weight::Fuel, 12000.0),
          perf.enterInitialCruiseAltitude(cruiseAltitude, 0.0f)}) {
        if (refusal) {
            return refusal;
        }
    }
    return nullptr;
}

// A heavy aircraft on a hot day, cruising at FL310: at 52,000 lb its ceiling is FL310, and it
// reaches FL330 once some 3,000 lb of fuel have burned.
inline void loadHeavyAircraftOnAHotDay(PerfInit& perf) {
    perf.bow = 38000.0;
    perf.passengerCount = 0;
    perf.cargoWeight = 0.0;
    perf.fuelWeight = 14000.0;
    perf.crzIsaDev = 35;
    perf.optimumRequested = false;
    perf.initCrzAlt = 31000;
    perf.cruiseAltitude = 31000;
}

inline Waypoint predictionAirport(const std::string& ident, double longitude) {
    Waypoint point;
    point.kind = WaypointKind::Airport;
    point.ident = ident;
    point.aptIdent = ident;
    point.id = 9000 + static_cast<int32_t>(longitude * 10.0);
    point.longitude = longitude;
    return point;
}

inline void buildPredictionRoute(FlightPlan& plan, std::size_t legs, double legLength) {
    plan.legs.clear();
    plan.org = predictionAirport("KORG", 0.0);
    plan.dest = predictionAirport("KDST", static_cast<double>(legs) * legLength / 60.0);
    for (std::size_t i = 0; i < legs; ++i) {
        FlightPlanLeg leg;
        leg.wpt.kind = WaypointKind::DatabaseWaypoint;
        leg.wpt.ident = "W" + std::to_string(i);
        leg.wpt.longitude = static_cast<double>(i + 1) * legLength / 60.0;
        leg.distance = legLength;
        leg.course = 90.0;
        plan.legs.push_back(leg);
    }
    plan.activeLeg = 0;
    plan.routeEndFound = true;
    plan.routeEndLeg = static_cast<uint32_t>(legs - 1);
    plan.totalDistance = static_cast<double>(legs) * legLength;
}

// The legs holding a marker point of that name, in order.
inline std::vector<std::size_t> legsMarked(const FlightPlan& plan, const std::string& name) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < plan.legCount(); ++i) {
        for (const PilotPoint& marker : plan.legs[i].markers) {
            if (marker.ident == name) {
                found.push_back(i);
            }
        }
    }
    return found;
}

} // namespace tavi::test
