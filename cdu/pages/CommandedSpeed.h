#pragma once

#include <string>

namespace tavi {

class Fms;

// The speed and Mach number VNAV commands as the CDU pages show them: VMO or MMO stands in for
// the one not commanded and names a value at or beyond its limit.
struct CommandedSpeed {
    // VNAV commands a speed or a Mach number.
    bool commanded = false;
    std::string speedText;
    std::string machText;
    // The speed lies below the Mach number's calibrated airspeed: the speed is the limiting one.
    bool speedLimits = false;
};

CommandedSpeed commandedSpeed(const Fms& fms);

} // namespace tavi
