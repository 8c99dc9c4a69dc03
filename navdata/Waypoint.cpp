#include "navdata/Waypoint.h"

namespace tavi {

std::string Waypoint::runwayDesignator() const {
    return ident.size() >= 3 ? ident.substr(2) : std::string();
}

bool Waypoint::isTemporary() const {
    if (kind != WaypointKind::PilotWaypoint || ident.size() < 2) {
        return false;
    }
    const char first = ident.front();
    return first == '*' || first == '#' || first == '&';
}

bool Waypoint::samePosition(const Waypoint& other) const {
    return latitude == other.latitude && longitude == other.longitude;
}

} // namespace tavi
