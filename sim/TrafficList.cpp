#include "sim/TrafficList.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

namespace tavi::sim {

namespace {

constexpr double kFeetPerMinutePerKnot = kFeetPerNm / 60.0;

// Units convert within their kind; a value is kept in the first unit of its kind.
enum class UnitKind { Length, Angle, Speed, Boolean };

struct Unit {
    std::string_view name;
    UnitKind kind;
    // How many of the kind's first unit one of this unit is.
    double size;
};

constexpr Unit kUnits[] = {
    {"FEET", UnitKind::Length, 1.0},           {"DEGREES", UnitKind::Angle, 1.0},
    {"FEET PER MINUTE", UnitKind::Speed, 1.0}, {"KNOTS", UnitKind::Speed, kFeetPerMinutePerKnot},
    {"BOOL", UnitKind::Boolean, 1.0},
};

enum Variable : uint32_t {
    kNoVariable = 0,
    kLatitude,
    kLongitude,
    kAltitude,
    kIndicatedAltitude,
    kTrueHeading,
    kGroundVelocity,
    kVerticalVelocity,
    kHeightAboveGround,
    kIsUser,
    kEngineCombustion,
};

struct VariableName {
    std::string_view name;
    Variable variable;
    UnitKind kind;
};

constexpr VariableName kVariables[] = {
    {"PLANE LATITUDE", kLatitude, UnitKind::Angle},
    {"PLANE LONGITUDE", kLongitude, UnitKind::Angle},
    {"PLANE ALTITUDE", kAltitude, UnitKind::Length},
    {"INDICATED ALTITUDE", kIndicatedAltitude, UnitKind::Length},
    {"PLANE HEADING DEGREES TRUE", kTrueHeading, UnitKind::Angle},
    {"GROUND VELOCITY", kGroundVelocity, UnitKind::Speed},
    {"VELOCITY WORLD Y", kVerticalVelocity, UnitKind::Speed},
    {"PLANE ALT ABOVE GROUND", kHeightAboveGround, UnitKind::Length},
    {"IS USER SIM", kIsUser, UnitKind::Boolean},
    {"ENG COMBUSTION", kEngineCombustion, UnitKind::Boolean},
};

bool sameName(std::string_view a, const char* b) {
    const std::string_view other = b ? b : "";
    return std::equal(a.begin(), a.end(), other.begin(), other.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

} // namespace

TrafficList::TrafficList(const Panel& panel) : panel(panel) {}

void TrafficList::set(const TrafficObject& object) {
    if (TrafficObject* held = find(object.id)) {
        *held = object;
        return;
    }
    objects.push_back(object);
}

TrafficObject* TrafficList::find(uint32_t id) {
    const auto found = std::find_if(objects.begin(), objects.end(),
                                    [id](const TrafficObject& object) { return object.id == id; });
    return found == objects.end() ? nullptr : &*found;
}

void TrafficList::remove(uint32_t id) {
    std::erase_if(objects, [id](const TrafficObject& object) { return object.id == id; });
}

TrafficObject& TrafficList::addIntruder(uint32_t id, const TrafficStart& start,
                                        const TrafficPath& path) {
    const OwnAircraft user = ownAircraft(panel);
    TrafficObject object;
    object.id = id;
    const GeoPoint position = start.fromUser
                                  ? destination(user.position, start.trueBearing, start.distanceNm)
                                  : start.position;
    object.latitude = position.latitude;
    object.longitude = position.longitude;
    object.altitude = start.fromUser ? user.altitude + start.altitude : start.altitude;
    object.indicatedAltitude = object.altitude;
    object.heightAboveGround = object.altitude - user.groundElevation;
    object.trueHeading = path.track;
    object.groundSpeed = path.groundSpeed;
    object.verticalSpeed = path.verticalSpeed;
    object.levelOffAltitude = path.levelOffAltitude;
    set(object);
    return *find(id);
}

void TrafficList::advance(double seconds) {
    for (TrafficObject& object : objects) {
        const double distance = object.groundSpeed * seconds / 3600.0;
        const double heading = object.trueHeading * kDegreesToRadians;
        object.latitude += distance * std::cos(heading) / 60.0;
        object.longitude +=
            distance * std::sin(heading) / (60.0 * std::cos(object.latitude * kDegreesToRadians));
        double climb = object.verticalSpeed * seconds / 60.0;
        if (object.levelOffAltitude) {
            const double toLevel = *object.levelOffAltitude - object.altitude;
            if (climb * toLevel >= 0.0 && std::fabs(climb) >= std::fabs(toLevel)) {
                climb = toLevel;
                object.verticalSpeed = 0.0;
            }
        }
        object.altitude += climb;
        object.indicatedAltitude += climb;
        object.heightAboveGround += climb;
    }
}

double TrafficList::userLatitude() const {
    return ownAircraft(panel).position.latitude;
}

double TrafficList::userLongitude() const {
    return ownAircraft(panel).position.longitude;
}

platform::TrafficSource* TrafficList::trafficSource(const char* name) {
    if (!sourceAvailable || !sameName(platform::kTrafficInterfaceName, name)) {
        return nullptr;
    }
    return this;
}

uint32_t TrafficList::variableId(const char* name) {
    for (const VariableName& entry : kVariables) {
        if (sameName(entry.name, name)) {
            return entry.variable;
        }
    }
    return kNoVariable;
}

uint32_t TrafficList::unitId(const char* name) {
    for (std::size_t i = 0; i < std::size(kUnits); ++i) {
        if (sameName(kUnits[i].name, name)) {
            return static_cast<uint32_t>(i + 1);
        }
    }
    return 0;
}

uint32_t TrafficList::objectsWithin(double radiusMetres, uint32_t maxCount, uint32_t* ids) {
    ++queries;
    const double radiusNm = radiusMetres / kMetresPerNm;
    const double latitude = userLatitude();
    const double longitude = userLongitude();
    uint32_t count = 0;
    for (const TrafficObject& object : objects) {
        if (count == maxCount) {
            break;
        }
        if (distanceNm({latitude, longitude}, {object.latitude, object.longitude}) <= radiusNm) {
            ids[count++] = object.id;
        }
    }
    return count;
}

void TrafficList::readVariable(uint32_t objectId, uint32_t variableId, uint32_t unitId,
                               double* value, uint32_t index) {
    const TrafficObject* object = find(objectId);
    if (!object || !value || variableId == kNoVariable || variableId > std::size(kVariables) ||
        unitId == 0 || unitId > std::size(kUnits)) {
        return;
    }
    const Unit& unit = kUnits[unitId - 1];
    if (kVariables[variableId - 1].kind != unit.kind) {
        return;
    }
    if (const std::optional<double> stored = valueOf(*object, variableId, index)) {
        *value = *stored / unit.size;
    }
}

// The variable in the first unit of its kind; none for an engine the object does not have.
std::optional<double> TrafficList::valueOf(const TrafficObject& object, uint32_t variableId,
                                           uint32_t index) const {
    switch (variableId) {
    case kLatitude:
        return object.latitude;
    case kLongitude:
        return object.longitude;
    case kAltitude:
        return object.altitude;
    case kIndicatedAltitude:
        return object.indicatedAltitude;
    case kTrueHeading:
        return object.trueHeading;
    case kGroundVelocity:
        return object.groundSpeed * kFeetPerMinutePerKnot;
    case kVerticalVelocity:
        return object.verticalSpeed;
    case kHeightAboveGround:
        return object.heightAboveGround;
    case kIsUser:
        return object.isUser ? 1.0 : 0.0;
    case kEngineCombustion:
        if (index < 1 || index > object.engineCombustion.size()) {
            return std::nullopt;
        }
        return object.engineCombustion[index - 1] ? 1.0 : 0.0;
    default:
        return std::nullopt;
    }
}

std::optional<std::string> TrafficList::objectName(uint32_t objectId) {
    const TrafficObject* object = find(objectId);
    return object ? object->name : std::nullopt;
}

} // namespace tavi::sim
