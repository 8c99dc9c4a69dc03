#include "fms/GeneratedPointNames.h"

#include "core/Format.h"

namespace tavi {

namespace {

constexpr std::size_t kLatLon = 0;
constexpr std::size_t kPlaceBearingDistance = 1;
constexpr std::size_t kIntercept = 4;
constexpr std::size_t kAltitude = 5;

} // namespace

GeneratedPointNames GeneratedPointNames::fromRecord(const RecordCounters& counters) {
    GeneratedPointNames names;
    names.llCounter = counters[kLatLon];
    names.pbdCounter = counters[kPlaceBearingDistance];
    names.interceptCounter = counters[kIntercept];
    names.altitudeCounter = counters[kAltitude];
    return names;
}

void GeneratedPointNames::toRecord(RecordCounters& counters) const {
    counters[kLatLon] = llCounter;
    counters[kPlaceBearingDistance] = pbdCounter;
    counters[kIntercept] = interceptCounter;
    counters[kAltitude] = altitudeCounter;
}

std::string GeneratedPointNames::take(const char* prefix, int32_t& counter) {
    std::string name = format("%s%02d", prefix, counter);
    counter += 2;
    return name;
}

} // namespace tavi
