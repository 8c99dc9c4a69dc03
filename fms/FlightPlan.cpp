#include "fms/FlightPlan.h"

#include "fms/FlightPlanContext.h"
#include "navdata/GcNav.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr int32_t kMaxVerticalSpeed = 9900;
// A constraint a VNAV prediction already passes by more than this much (ft) does not count.
constexpr int32_t kPredictionMargin = 200;

bool isPilotWaypointNamed(const Waypoint& waypoint, const std::string& ident) {
    return waypoint.kind == WaypointKind::PilotWaypoint && waypoint.ident == ident;
}

// Feet to the nearest 100, 50 rounding up.
int32_t nearestHundred(int32_t feet) {
    return static_cast<int32_t>(std::floor((feet + 50) / 100.0)) * 100;
}

} // namespace

bool FlightPlan::hasOriginAndDestination() const {
    return org.kind != WaypointKind::Plain && dest.kind != WaypointKind::Plain;
}

bool FlightPlan::isBeforeRouteEnd() const {
    return routeEndFound && activeLeg <= routeEndLeg;
}

bool FlightPlan::endsBeforeDestination() const {
    return !isBeforeRouteEnd() || routeEndShort;
}

Waypoint FlightPlan::fromWaypoint(std::size_t index) const {
    if (legs.empty() && index == 0) {
        return org.kind != WaypointKind::Plain ? org : Waypoint();
    }
    if (index >= legs.size()) {
        return Waypoint();
    }
    if (legs[index].hasOwnStart()) {
        return legs[index].src;
    }
    if (index == 0) {
        return org;
    }
    if (index > 1 && !legs[index - 1].isFixLeg()) {
        for (std::size_t i = index - 1; i-- > 0;) {
            if (legs[i].isFixLeg()) {
                return legs[i].wpt;
            }
        }
        return org;
    }
    return legs[index - 1].wpt;
}

void FlightPlan::findNextFixLeg(int32_t offset) {
    nextFixOffset = -1;
    if (offset < 0) {
        return;
    }
    if (static_cast<std::size_t>(offset) + 1 > legs.size()) {
        offset = 0;
    }
    for (std::size_t i = activeLeg + static_cast<std::size_t>(offset); i < legs.size(); ++i) {
        if (legs[i].isFixLeg()) {
            nextFixOffset = static_cast<int32_t>(i - activeLeg);
            return;
        }
    }
}

void FlightPlan::findRouteEnd() {
    routeEndFound = false;
    routeEndShort = false;
    if (legs.empty()) {
        routeEndLeg = 0;
        return;
    }
    // An empty airport ident names no airport.
    const std::string& destinationAirport = dest.aptIdent;
    const bool hasAirport = !destinationAirport.empty();
    totalDistance = 0.0;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const FlightPlanLeg& leg = legs[i];
        totalDistance += leg.distance;
        const bool reaches =
            sameIdentity(leg.wpt, dest) ||
            (hasAirport && leg.wpt.kind == WaypointKind::Runway &&
             leg.wpt.aptIdent == destinationAirport) ||
            (hasAirport && i + 1 == legs.size() && leg.wpt.ident == destinationAirport);
        if (reaches) {
            routeEndFound = true;
            routeEndLeg = static_cast<uint32_t>(i);
            return;
        }
    }
    routeEndLeg = static_cast<uint32_t>(legs.size() - 1);
    const Waypoint& last = legs.back().wpt;
    totalDistance +=
        GcNav::distanceBetween(last.latitude, last.longitude, dest.latitude, dest.longitude);
    // A route typed up to its last fix before the destination ends there: without an end the
    // predictions and VNAV would never start after CONFIRM INIT, and nothing would say why.
    routeEndShort = hasOriginAndDestination() && !legs.back().isDiscontinuity();
    routeEndFound = routeEndShort;
}

void FlightPlan::findDescentEnd() {
    descentEndFound = false;
    descentEndLeg = 0;
    if (legs.empty()) {
        return;
    }
    for (std::size_t i = std::min<std::size_t>(routeEndLeg, legs.size() - 1) + 1; i-- > 0;) {
        const FlightPlanLeg& leg = legs[i];
        if (leg.isDiscontinuity() || i < activeLeg) {
            return;
        }
        const bool descentAt =
            leg.vnav.hasAltitude && leg.vnav.kind == kAltitudeAt && leg.vnav.phase == kPhaseDescent;
        if (descentAt || leg.wpt.kind == WaypointKind::Runway) {
            descentEndLeg = static_cast<uint32_t>(i);
            descentEndFound = true;
            return;
        }
    }
}

void FlightPlan::updateTotals() {
    findRouteEnd();
    findDescentEnd();
    if (legs.empty() || activeLeg > routeEndLeg) {
        return;
    }
    timeToGo = 0.0;
    for (std::size_t i = activeLeg; i <= routeEndLeg; ++i) {
        timeToGo += legs[i].legTime;
    }
}

void FlightPlan::updateConstraints(const FlightPlanContext& context) {
    if (routeEndFound && !routeEndShort && activeLeg <= routeEndLeg && !legs.empty()) {
        LegConstraints& last = legs.back().vnav;
        last.hasAltitude = true;
        last.kind = kAltitudeAt;
        last.phase = kPhaseDescent;
        if (dest.kind == WaypointKind::Airport) {
            last.altitude = dest.elevation;
        }
    }
    for (std::size_t i = activeLeg; i < legs.size(); ++i) {
        FlightPlanLeg& leg = legs[i];
        if (!leg.vnav.pathAngleEntered) {
            leg.vnav.pathAngle = static_cast<float>(context.descentAngle());
        }
        if (!leg.vnav.hasAltitude) {
            leg.vnav.verticalSpeed = 0;
            leg.vnav.phase = kPhaseNone;
            continue;
        }
        if (leg.legTime == 0.0 || (i > 0 && !legs[i - 1].vnav.hasAltitude)) {
            leg.vnav.verticalSpeed = 0;
            continue;
        }
        const int32_t previous = i > 0 ? legs[i - 1].vnav.altitude : org.elevation;
        const double rate =
            (static_cast<double>(leg.vnav.altitude) - previous) / (leg.legTime / kSecondsPerMinute);
        leg.vnav.verticalSpeed = static_cast<int32_t>(
            std::clamp(std::trunc(rate), -static_cast<double>(kMaxVerticalSpeed),
                       static_cast<double>(kMaxVerticalSpeed)));
    }
    int32_t limit = kNoAltitudeConstraint;
    bool climbSeen = false;
    for (std::size_t i = legs.size(); i-- > 0;) {
        LegConstraints& vnav = legs[i].vnav;
        if (vnav.hasAltitude && vnav.phase == kPhaseClimb) {
            limit = vnav.kind == kAltitudeWindow ? vnav.altitude2 : vnav.altitude;
            climbSeen = true;
        } else if (climbSeen) {
            vnav.altitude = std::min(vnav.altitude, limit);
        }
    }
}

void FlightPlan::sequenceActiveLeg(const FlightPlanContext& context) {
    if (activeLeg >= legs.size()) {
        return;
    }
    FlightPlanLeg& leg = legs[activeLeg];
    if (leg.holding.active && !leg.holding.entered) {
        leg.holding.entered = 1;
        leg.holding.holdPhase = 1;
        return;
    }
    distanceFlown += leg.distance;
    fuelUsed += leg.fuelUsed;
    orbit = leg.orbit;
    pcdrTurn = leg.pcdrTurn;
    if (orbit.active) {
        orbit.entered = true;
    } else if (pcdrTurn.active) {
        pcdrTurn.passed = 1;
    }
    if (context.airborne()) {
        recordCrossingAltitude(leg, context);
    }
    ++activeLeg;
    if (activeLeg < legs.size()) {
        legs[activeLeg].segmentIndex = 0;
    }
    updateConstraints(context);
    updateTotals();
}

// A descent constraint keeps the altitude to the foot; any other leg gets it to 100 ft.
void FlightPlan::recordCrossingAltitude(FlightPlanLeg& leg,
                                        const FlightPlanContext& context) const {
    const auto crossed = static_cast<int32_t>(context.altitude());
    LegConstraints& vnav = leg.vnav;
    if (!vnav.hasAltitude || vnav.phase == kPhaseNone || vnav.phase == kPhaseClimb) {
        vnav.altitude = nearestHundred(crossed);
        vnav.hasAltitude = true;
    } else {
        vnav.altitude = crossed;
    }
}

int32_t FlightPlan::nextClimbConstraint(std::size_t index) const {
    // An at-or-above constraint ahead never holds the climb down: the legs before it would
    // otherwise level off at its altitude and the top of climb come miles late.
    for (std::size_t i = index + 1; i < legs.size(); ++i) {
        const LegConstraints& vnav = legs[i].vnav;
        if (!vnav.hasAltitude || vnav.phase != kPhaseClimb || vnav.kind == kAltitudeAtOrAbove) {
            continue;
        }
        return vnav.kind == kAltitudeWindow ? vnav.altitude2 : vnav.altitude;
    }
    return kNoAltitudeConstraint;
}

int32_t FlightPlan::previousDescentConstraint(std::size_t index) const {
    for (std::size_t i = std::min(index, legs.size()); i-- > 1;) {
        const LegConstraints& vnav = legs[i].vnav;
        if (vnav.hasAltitude &&
            (vnav.phase == kPhaseDescent || (vnav.phase == kPhaseNone && i >= activeLeg))) {
            return vnav.altitude;
        }
    }
    return kNoAltitudeConstraint;
}

bool FlightPlan::findConstraintInRange(double fromDistance, double toDistance, double& distanceToGo,
                                       std::size_t& index, int32_t mode) const {
    index = 0;
    distanceToGo = 0.0;
    double legEnd = 0.0;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        const FlightPlanLeg& leg = legs[i];
        legEnd += leg.distance;
        const bool fromActiveLeg = i >= activeLeg;
        if (legEnd > fromDistance) {
            if (toDistance < legEnd) {
                return false;
            }
            const LegConstraints& vnav = leg.vnav;
            const bool passedByPrediction =
                vnav.kind == kAltitudeAtOrBelow && vnav.predictedAltitude > 0 &&
                vnav.altitude - vnav.predictedAltitude > kPredictionMargin;
            const bool ignored = mode == kConstraintRangeClimb ? vnav.kind == kAltitudeAtOrAbove
                                                               : passedByPrediction;
            if (fromActiveLeg && vnav.hasAltitude && !ignored) {
                index = i;
                distanceToGo += leg.distance;
                return true;
            }
        }
        if (fromActiveLeg) {
            distanceToGo += leg.distance;
        }
    }
    return false;
}

std::size_t FlightPlan::nextAltitudeConstraintLeg(float currentAltitude) const {
    for (std::size_t i = activeLeg; i < legs.size(); ++i) {
        const LegConstraints& vnav = legs[i].vnav;
        if (vnav.hasAltitude && (vnav.kind != kAltitudeAtOrBelow ||
                                 currentAltitude > static_cast<float>(vnav.altitude))) {
            return i;
        }
    }
    return activeLeg;
}

std::size_t FlightPlan::departureEnd() const {
    std::size_t end = activeLeg;
    for (std::size_t i = activeLeg; i < legs.size(); ++i) {
        if (legs[i].proc() == kProcSid) {
            end = i + 1;
        }
    }
    return end;
}

bool FlightPlan::copyLastLeg(FlightPlanLeg& leg) const {
    if (legs.empty()) {
        return false;
    }
    leg = legs.back();
    return true;
}

bool FlightPlan::containsWaypoint(const std::string& ident) const {
    if (isPilotWaypointNamed(org, ident) || isPilotWaypointNamed(dest, ident)) {
        return true;
    }
    return std::any_of(legs.begin(), legs.end(), [&](const FlightPlanLeg& leg) {
        return isPilotWaypointNamed(leg.wpt, ident);
    });
}

} // namespace tavi
