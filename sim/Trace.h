#pragma once

#include "sim/Simulator.h"

#include <ostream>

namespace tavi::sim {

// A CSV record of a flight, one row a tick: time, position, altitudes, speeds and attitude as
// the simulator holds them, and what the module has published to the simulator (the autopilot
// functions and targets it set, the surface commands of its servos, the flight director's turn
// knob).
class Trace {
public:
    explicit Trace(std::ostream& out);
    void writeHeader();
    void writeRow(const Simulator& simulator, double seconds);

private:
    std::ostream& out;
};

} // namespace tavi::sim
