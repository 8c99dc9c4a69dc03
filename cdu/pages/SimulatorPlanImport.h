#pragma once

#include <cstdint>

namespace tavi {

class Fms;

// LOAD FS FPL: the simulator's own GPS flight plan becomes the active plan. Each simulator
// waypoint is the first database point of its ident within 3 nm of its position, or else a
// temporary latitude/longitude point; the first and the last must be airports.
class SimulatorPlanImport {
public:
    explicit SimulatorPlanImport(Fms& fms) : fms(fms) {}

    void importSimulatorFlightPlan();

    // Degrees from the simulator's 64-bit fractions of the circle.
    static double decodeLatitude(int64_t value);
    static double decodeLongitude(int64_t value);

private:
    Fms& fms;
};

} // namespace tavi
