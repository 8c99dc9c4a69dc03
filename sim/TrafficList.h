#pragma once

#include "platform/panel/TrafficSource.h"
#include "sim/Geodesy.h"
#include "sim/Panel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavi::sim {

// One aircraft of the simulator's traffic, in the units the simulator keeps it in.
struct TrafficObject {
    uint32_t id = 0;
    // The name an online network gives it; none for the simulator's own traffic.
    std::optional<std::string> name;
    // Degrees, north and east positive.
    double latitude = 0.0;
    double longitude = 0.0;
    // Feet above mean sea level, and as its altimeter reads.
    double altitude = 0.0;
    double indicatedAltitude = 0.0;
    // Degrees true.
    double trueHeading = 0.0;
    // Knots and feet per minute.
    double groundSpeed = 0.0;
    double verticalSpeed = 0.0;
    // Feet.
    double heightAboveGround = 10000.0;
    // The user's own aircraft, which the simulator lists among the traffic.
    bool isUser = false;
    // Engines 1 and 2 are running.
    std::array<bool, 2> engineCombustion{true, true};
    // Feet: a climb or descent ends here and the object flies level on; none climbs or
    // descends on for good.
    std::optional<double> levelOffAltitude;
};

// Where a scripted intruder starts: at a true bearing, a distance and an altitude difference
// from the user aircraft, or at a fixed point and altitude.
struct TrafficStart {
    static TrafficStart relative(double trueBearing, double distanceNm, double altitudeDifference) {
        return {true, trueBearing, distanceNm, altitudeDifference, {}};
    }
    static TrafficStart absolute(GeoPoint position, double altitude) {
        return {false, 0.0, 0.0, altitude, position};
    }

    bool fromUser;
    double trueBearing;
    double distanceNm;
    // Feet: the altitude, or the difference to the user aircraft's.
    double altitude;
    GeoPoint position;
};

// The straight path a scripted intruder flies, level, climbing or descending.
struct TrafficPath {
    TrafficPath(double track, double groundSpeed, double verticalSpeed = 0.0,
                std::optional<double> levelOffAltitude = std::nullopt)
        : track(track), groundSpeed(groundSpeed), verticalSpeed(verticalSpeed),
          levelOffAltitude(levelOffAltitude) {}

    // Degrees true, knots and feet per minute.
    double track;
    double groundSpeed;
    double verticalSpeed;
    // Feet: where a climb or descent levels off; none goes on.
    std::optional<double> levelOffAltitude;
};

// The simulator's traffic as the test sets it: the objects around the user aircraft, whose
// position the panel's tokens 71 and 72 give. The objects fly straight on with their speeds as
// the simulator's time goes by. Panel services hand it out as the traffic source's provider.
class TrafficList final : public platform::TrafficSource, public platform::TrafficSourceProvider {
public:
    explicit TrafficList(const Panel& panel);

    // Test bed. Objects are listed in the order they were first set.
    void set(const TrafficObject& object);
    TrafficObject* find(uint32_t id);
    void remove(uint32_t id);
    void clear() { objects.clear(); }
    void setOnline(bool online) { onlineTraffic = online; }
    // The provider finds no traffic source, as a simulator without traffic answers.
    void setSourceAvailable(bool available) { sourceAvailable = available; }
    // Adds (or replaces) an intruder of the simulator's own traffic, engines running, flying
    // its path from its start as the simulator's time goes by.
    TrafficObject& addIntruder(uint32_t id, const TrafficStart& start, const TrafficPath& path);
    // Every object flies on along its heading, climbing or descending until it levels off, for
    // the time.
    void advance(double seconds);
    // The latitude and longitude the panel's position tokens give the user aircraft.
    double userLatitude() const;
    double userLongitude() const;
    int listQueries() const { return queries; }

    // TrafficSourceProvider.
    platform::TrafficSource* trafficSource(const char* name) override;

    // TrafficSource.
    uint32_t variableId(const char* name) override;
    uint32_t unitId(const char* name) override;
    uint32_t objectsWithin(double radiusMetres, uint32_t maxCount, uint32_t* ids) override;
    void readVariable(uint32_t objectId, uint32_t variableId, uint32_t unitId, double* value,
                      uint32_t index) override;
    bool isOnlineTraffic() override { return onlineTraffic; }
    std::optional<std::string> objectName(uint32_t objectId) override;

private:
    std::optional<double> valueOf(const TrafficObject& object, uint32_t variableId,
                                  uint32_t index) const;

    const Panel& panel;
    std::vector<TrafficObject> objects;
    bool onlineTraffic = false;
    bool sourceAvailable = true;
    int queries = 0;
};

} // namespace tavi::sim
