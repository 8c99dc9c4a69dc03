#pragma once

#include "core/System.h"

namespace tavi {

class Ahrs;

// The autopilot: its engage state and the pitch and bank commands that the flight director's
// modes and laws write. Angles in degrees with the simulator's signs (pitch nose-up negative).
class Autopilot : public System {
public:
    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;

    // Kept within pitchLimitUp..pitchLimitDown.
    void setPitchCommand(float pitch);
    // Magnitude kept within maxBank.
    void setBankCommand(float bank);
    // The commands follow the side-1 attitude.
    void syncPitch();
    void syncBank();

    bool engaged = false;
    float pitchCommand = 0.0f;
    float bankCommand = 0.0f;
    float pitchLimitUp = -25.0f;
    float pitchLimitDown = 15.0f;
    float maxBank = 27.0f;
    float halfBank = 14.0f;
    Ahrs* ahrs = nullptr;
};

} // namespace tavi
