#pragma once

#include "sim/RouteTracker.h"
#include "sim/Scenario.h"
#include "sim/Simulator.h"

#include <ostream>
#include <vector>

namespace tavi::sim {

// A CSV record of a flight, one row a tick: time, position, altitudes, speeds and attitude as
// the simulator holds them, and what the module has published to the simulator (the autopilot
// functions and targets it set, the surface commands of its servos, the flight director's turn
// knob). With a route, the leg flown and the cross-track distance from it as the simulator
// measures them; then the columns a scenario adds.
class Trace {
public:
    explicit Trace(std::ostream& out, std::vector<TraceColumn> extraColumns = {},
                   bool withRoute = false);
    void writeHeader();
    // The route's measure as it stands after the tick.
    void writeRow(const Simulator& simulator, const RouteTracker& route, double seconds);

private:
    void writeCell(double value);

    std::ostream& out;
    std::vector<TraceColumn> extraColumns;
    bool withRoute;
};

} // namespace tavi::sim
