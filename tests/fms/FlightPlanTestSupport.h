#pragma once

#include "fms/FlightPlan.h"
#include "fms/FlightPlanContext.h"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

// Plans written as text for the flight-plan tests, and a context with fixed FMS values.
namespace tavi::test {

// The FMS as the plan operations see it, every value settable.
class FakeFlightPlanContext final : public FlightPlanContext {
public:
    double presentLatitude() const override { return latitude; }
    double presentLongitude() const override { return longitude; }
    float altitude() const override { return altitudeFt; }
    float magneticVariation(double, double) const override { return variation; }
    uint32_t simTimeMs() const override { return timeMs; }
    bool airborne() const override { return inAir; }
    double descentAngle() const override { return angle; }
    bool performanceConfirmed() const override { return confirmed; }
    // A bank that gives a radius of speed / 200 nm.
    double turnGeometry(double courseChange, double groundSpeed, double& lead,
                        double) const override {
        const double radius = groundSpeed / 200.0;
        const double change = std::min(std::fabs(courseChange), 150.0);
        lead = radius * std::tan(change / 2.0 * 3.141592653589793 / 180.0);
        return radius;
    }
    double legSpeedCommand(const FlightPlan&, std::size_t) const override { return command; }

    double latitude = 0.0;
    double longitude = 0.0;
    float altitudeFt = 0.0f;
    float variation = 0.0f;
    uint32_t timeMs = 0;
    bool inAir = false;
    double angle = 3.0;
    bool confirmed = false;
    // VNAV's speed command on every leg (kt); 0 for none.
    double command = 0.0;
};

// A database waypoint; its position follows from the ident unless given, so that every ident
// has its own place (one letter per 1/10 degree east along the equator).
inline Waypoint fix(const std::string& ident, int32_t id = 0) {
    Waypoint point;
    point.kind = WaypointKind::DatabaseWaypoint;
    point.ident = ident;
    point.id = id != 0 ? id : static_cast<int32_t>(ident.front());
    point.latitude = 0.0;
    point.longitude = 0.1 * (ident.front() - 'A' + 1);
    return point;
}

inline Waypoint airport(const std::string& icao, double latitude, double longitude) {
    Waypoint point;
    point.kind = WaypointKind::Airport;
    point.ident = icao;
    point.aptIdent = icao;
    point.id = 9000;
    point.latitude = latitude;
    point.longitude = longitude;
    return point;
}

// A leg from a word of a route text:
//   "P" a leg to fix P;  "/" a break;  "FM" a heading leg to a manual end;
//   "P:2" a leg to P from a procedure of that kind (1 STAR, 2 SID, 3 approach, ...);
//   "P@Q" a leg to a fix named P with its own database ID at Q's position.
inline FlightPlanLeg legFromWord(const std::string& word) {
    FlightPlanLeg leg;
    if (word == "/") {
        leg.setDiscontinuity(true);
        return leg;
    }
    if (word == "FM") {
        leg.trmLeg.legType = TerminalLegType::FM;
        return leg;
    }
    std::string ident = word;
    const std::size_t colon = word.find(':');
    if (colon != std::string::npos) {
        ident = word.substr(0, colon);
        leg.trmLeg.proc = std::stoi(word.substr(colon + 1));
    }
    const std::size_t at = ident.find('@');
    if (at != std::string::npos) {
        const Waypoint place = fix(ident.substr(at + 1));
        leg.wpt = fix(ident.substr(0, at), 5000 + place.id);
        leg.wpt.latitude = place.latitude;
        leg.wpt.longitude = place.longitude;
        return leg;
    }
    leg.wpt = fix(ident);
    return leg;
}

inline std::vector<FlightPlanLeg> legsFrom(const std::string& route) {
    std::vector<FlightPlanLeg> legs;
    std::istringstream words(route);
    for (std::string word; words >> word;) {
        legs.push_back(legFromWord(word));
    }
    return legs;
}

// Origin at the equator's meridian, destination far east; the legs of the route text.
inline FlightPlan planFrom(const std::string& route) {
    FlightPlan plan;
    plan.org = airport("KAAA", 0.0, 0.0);
    plan.dest = airport("KZZZ", 0.0, 5.0);
    plan.legs = legsFrom(route);
    return plan;
}

// The route text of a plan: idents, "/" for breaks and "FM" for heading legs.
inline std::string routeOf(const FlightPlan& plan) {
    std::string text;
    for (const FlightPlanLeg& leg : plan.legs) {
        if (!text.empty()) {
            text += ' ';
        }
        if (leg.isDiscontinuity()) {
            text += '/';
        } else if (leg.legType() == TerminalLegType::FM) {
            text += "FM";
        } else {
            text += leg.wpt.ident;
        }
    }
    return text;
}

} // namespace tavi::test
