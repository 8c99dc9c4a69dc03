#pragma once

#include "sim/Panel.h"

#include <string>

namespace tavi::sim {

// The simulator's own state of the user aircraft's systems, as the key events and the data
// writes of a client change it: the tokens and variables that follow them.
class SimAircraft {
public:
    static constexpr int kPowerToken = 364;
    static constexpr int kAvionicsToken = 740;
    static constexpr int kLeftMainTankToken = 304;
    static constexpr int kRightMainTankToken = 303;

    // The aircraft as a flight loads it: hydraulic reservoirs full.
    explicit SimAircraft(Panel& panel);

    void applyKeyEvent(const KeyEvent& event);
    void writeVariable(const std::string& variable, double value);

private:
    void toggleToken(int tokenId);
    void toggleVariable(const char* name, int index);

    Panel& panel;
};

} // namespace tavi::sim
