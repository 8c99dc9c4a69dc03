#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tavi {

// The counters that number the points the FMS generates while it builds a procedure: one each
// for "*LL", "*PBD", "*INT" and "*ALT" points. A name takes the counter's value, which then
// grows by 2, so that names run 01, 03, 05. The departure and arrival pages keep a set for
// their previews and the active plan one for activations.
class GeneratedPointNames {
public:
    std::string nextLatLon() { return take("*LL", llCounter); }
    std::string nextPlaceBearingDistance() { return take("*PBD", pbdCounter); }
    std::string nextIntercept() { return take("*INT", interceptCounter); }
    std::string nextAltitude() { return take("*ALT", altitudeCounter); }
    void reset() { *this = GeneratedPointNames(); }

    // The counters as the page records keep them: *LL, *PBD, *RR, *PD, *INT, *ALT.
    using RecordCounters = std::array<int32_t, 6>;
    static GeneratedPointNames fromRecord(const RecordCounters& counters);
    void toRecord(RecordCounters& counters) const;

    int32_t llCounter = 1;
    int32_t pbdCounter = 1;
    int32_t interceptCounter = 1;
    int32_t altitudeCounter = 1;

private:
    static std::string take(const char* prefix, int32_t& counter);
};

} // namespace tavi
