#pragma once

#include <cstdint>

namespace tavi {

// A handle on one of the simulator's aircraft variables. The names are kept by pointer: callers
// pass string constants.
struct SimVar {
    SimVar(const char* name, const char* units, int32_t index = 0);

    // Reads the variable in its units and keeps the result in value.
    double read();

    const char* name;
    const char* units;
    int32_t variableId;
    int32_t unitsId;
    double value = 0.0;
    int32_t index;
};

} // namespace tavi
