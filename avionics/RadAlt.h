#pragma once

#include "avionics/EicasDau.h"
#include "core/System.h"

#include <cstdint>

namespace tavi {

// The radio altimeter: two units, on DC bus 1 behind Avionics Master 1 and on DC bus 2 behind
// Avionics Master 2. It gives the height above the ground, the closure rate and the decision
// height the pilot set, and posts "RAD ALT FAIL" while neither unit has power.
class RadAlt : public System {
public:
    static constexpr int32_t kMaxDecisionHeight = 1000;

    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // Feet as the screens show them: in steps of 5 ft below 200 ft, of 10 ft above, never
    // below -20 ft.
    int displayedAltitude() const;
    // Feet, limited to 0..1000.
    void setDecisionHeight(int feet);

    // Metres between the antenna and the wheels, included in the simulator's radio height.
    float antennaOffset = 1.37f;
    bool started = false;
    // Feet.
    float radioAltitude = 0.0f;
    float rateSampleAltitude = 0.0f;
    int32_t decisionHeight = 200;
    bool side1Powered = false;
    bool side2Powered = false;
    // No unit has power, or a single one has and the aircraft is at or below 2500 ft.
    bool singleChannelLow = false;
    uint32_t singleChannelLowSince = 0;
    // Positive while the height decreases.
    float closureRate = 0.0f;
    float previousClosureRate = 0.0f;
    uint32_t rateSampleTime = 0;
    bool allUnpowered = false;
    bool allUnpoweredChanged = false;

private:
    void sampleClosureRate(uint32_t now);
    void updateFailMessage(Aircraft& aircraft);

    EicasPowerWatch eicasPower;
};

} // namespace tavi
