#pragma once

#include "sim/Panel.h"

#include <cstdint>
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
    // A bit per engine the throttle keys act on.
    static constexpr int kEngineSelectionToken = 126;

    explicit SimAircraft(Panel& panel) : panel(panel) {}

    void applyKeyEvent(const KeyEvent& event);
    void writeVariable(const std::string& variable, double value);

private:
    // The engine number of a per-engine event whose engines' events lie `stride` apart.
    static int engineOf(uint32_t eventId, uint32_t engine1Event, uint32_t stride);
    void selectEngine(int engine);
    void toggleToken(int tokenId);
    void toggleVariable(const char* name, int index);

    Panel& panel;
};

} // namespace tavi::sim
