#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavi::platform {

// The name under which the panel services hand out the traffic source's provider, and which
// the provider asks for again.
inline constexpr const char* kTrafficInterfaceName = "ITrafficInfo";

// The simulator's other aircraft: the objects around the user aircraft and their state, read as
// aircraft variables of each object. Called on the simulator's thread.
class TrafficSource {
public:
    virtual ~TrafficSource() = default;

    // Ids of a variable and of a unit by name, asked once and used for every read.
    virtual uint32_t variableId(const char* name) = 0;
    virtual uint32_t unitId(const char* name) = 0;
    // Writes the ids of the objects within the radius (metres) of the user aircraft, at most
    // maxCount of them, and answers how many it wrote.
    virtual uint32_t objectsWithin(double radiusMetres, uint32_t maxCount, uint32_t* ids) = 0;
    // Writes one variable of an object in the unit; index picks the engine of an engine's
    // variable. An object, variable or unit the source does not know leaves the value as it is.
    virtual void readVariable(uint32_t objectId, uint32_t variableId, uint32_t unitId,
                              double* value, uint32_t index) = 0;
    // The traffic comes from an online network rather than from the simulator's own traffic.
    virtual bool isOnlineTraffic() = 0;
    // The name an online object goes by, when it has one.
    virtual std::optional<std::string> objectName(uint32_t objectId) = 0;
};

// What the panel services give under kTrafficInterfaceName: asked again with that name, it
// gives the traffic source, or null when there is none.
class TrafficSourceProvider {
public:
    virtual ~TrafficSourceProvider() = default;

    virtual TrafficSource* trafficSource(const char* name) = 0;
};

} // namespace tavi::platform
