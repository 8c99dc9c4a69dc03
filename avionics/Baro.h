#pragma once

#include "core/System.h"

namespace tavi {

// The barometric unit: the state the other systems read of it and the program's standard
// atmosphere, pressures in psi and pressure altitudes in feet.
class Baro : public System {
public:
    void update(Aircraft&) override {}

    double pressureAtAltitude(double feet) const;
    double altitudeAtPressure(double psi) const;
    // The pressure at the first altitude minus the pressure at the second.
    double pressureDifference(double feet1, double feet2) const;
    // The altitude whose pressure is the pressure at `feet` plus `psi`.
    double altitudeWithPressureOffset(double feet, double psi) const;
    void updateStaticPressure(double feet);

    double seaLevelPressure = 14.69595;
    double tropopausePressure = 3.282500618355;
    double tropopauseAltitude = 36089.24;
    // Set by the air data computer every frame.
    double staticPressure = 0.0;
};

} // namespace tavi
