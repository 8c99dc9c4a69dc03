#include "cdu/pages/SimulatorPlanImport.h"

#include "cdu/pages/CduPageIds.h"
#include "core/Imports.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "platform/panel/GpsDataBlock.h"

#include <cstring>
#include <string>
#include <vector>

namespace tavi {

namespace {

constexpr double kMatchDistance = 3.0;
constexpr int64_t kLowBits = 0xFFFF;

int64_t withoutLowBits(int64_t value) {
    return value & ~kLowBits;
}

std::string identOf(const platform::GpsWaypointRecord& record) {
    return std::string(record.ident, strnlen(record.ident, sizeof record.ident));
}

} // namespace

double SimulatorPlanImport::decodeLatitude(int64_t value) {
    return static_cast<double>(withoutLowBits(value)) * 3.656655283481889e-17 * 57.29577951308232;
}

double SimulatorPlanImport::decodeLongitude(int64_t value) {
    return static_cast<double>(withoutLowBits(value)) * 2.3283064365386963e-10 *
           8.381903171539307e-08;
}

void SimulatorPlanImport::importSimulatorFlightPlan() {
    platform::TokenRecord record;
    panelServices().bindNamedBlock(record, platform::kGpsDataBlockName);
    const auto* block = static_cast<const platform::GpsDataBlock*>(record.valuePointer);
    std::vector<Waypoint> route;
    std::vector<std::string> madePoints;
    const uint32_t count = block && block->waypoints ? block->waypointCount : 0;
    for (uint32_t i = 0; i < count; ++i) {
        const platform::GpsWaypointRecord& waypoint = block->waypoints[i];
        if (waypoint.size != platform::GpsWaypointRecord::kRecordSize) {
            continue;
        }
        std::vector<Waypoint> candidates;
        fms.navDatabase().findWaypoints(identOf(waypoint), candidates, true);
        const double latitude = decodeLatitude(waypoint.latitude);
        const double longitude = decodeLongitude(waypoint.longitude);
        const GcNav position(latitude, longitude);
        const auto near = std::find_if(candidates.begin(), candidates.end(), [&](const auto& c) {
            return position.distanceTo(c.latitude, c.longitude) < kMatchDistance;
        });
        if (near != candidates.end()) {
            route.push_back(*near);
            continue;
        }
        PilotPoint point;
        point.ppType = PilotPointType::LatLon;
        point.latitude = latitude;
        point.longitude = longitude;
        point.ident = fms.activeFplPage.nextPointName(PointFamily::LatLon);
        fms.pilotPoints().add(point);
        madePoints.push_back(point.ident);
        route.push_back(point);
    }
    // A plan that does not run from an airport to an airport is refused before the active plan
    // is touched: written in and left locked, it would be neither tidied nor recalculated.
    if (route.empty() || route.front().kind != WaypointKind::Airport ||
        route.back().kind != WaypointKind::Airport) {
        for (const std::string& ident : madePoints) {
            fms.pilotPoints().remove(ident);
        }
        fms.showMessage("FLIGHT PLAN IS INVALID", 0);
        return;
    }
    const FlightPlanContext& context = fms.planContext();
    FlightPlan& plan = activeFlightPlan;
    // The simulator's plan replaces the route: legs of the old one left behind the new
    // destination would be flown after it.
    plan.clear(context);
    plan.locked = true;
    plan.setOrigin(route.front(), context);
    plan.setDestination(route.back(), context);
    for (std::size_t i = 1; i < route.size(); ++i) {
        plan.insertWaypoint(route[i], i - 1, false, context);
    }
    plan.locked = false;
    plan.removeRedundantLegs(context);
    plan.recalculate(context);
    fms.setPage(cdu_page::kActiveFlightPlan, 1);
}

} // namespace tavi
