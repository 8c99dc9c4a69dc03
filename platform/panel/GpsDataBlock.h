#pragma once

#include <cstddef>
#include <cstdint>

namespace tavi::platform {

// The simulator's GPS data block, published under kGpsDataBlockName through
// PanelServices::bindNamedBlock, as far as the module reads it: the simulator's own flight plan.
// The simulator kept a 32-bit pointer to the waypoints at offset 172; a 64-bit host keeps its
// pointer at 176, the next aligned place.
inline constexpr const char* kGpsDataBlockName = "FS2002 GPS DATA";

// One waypoint of the simulator's plan. Latitude and longitude are fractions of the circle in
// 64-bit integers; the module clears their lowest 16 bits before it converts them.
struct GpsWaypointRecord {
    static constexpr uint32_t kRecordSize = 64;

    uint32_t size = kRecordSize;
    uint32_t unused0 = 0;
    int64_t latitude = 0;
    int64_t longitude = 0;
    unsigned char unused1[32] = {};
    // Zero-terminated.
    char ident[8] = {};
};
static_assert(sizeof(GpsWaypointRecord) == 64);
static_assert(offsetof(GpsWaypointRecord, latitude) == 8);
static_assert(offsetof(GpsWaypointRecord, longitude) == 16);
static_assert(offsetof(GpsWaypointRecord, ident) == 56);

struct GpsDataBlock {
    unsigned char unused[168] = {};
    uint32_t waypointCount = 0;
    uint32_t unused1 = 0;
    const GpsWaypointRecord* waypoints = nullptr;
};
static_assert(offsetof(GpsDataBlock, waypointCount) == 168);

} // namespace tavi::platform
