#pragma once

#include <cstdint>

namespace tavi {

// The reminder to set the altimeter when the aircraft crosses the transition altitude: standard
// pressure above it, the local setting below. One reminder is given per crossing; the check is
// armed again only when the aircraft comes back within 100 ft of the transition altitude, and it
// starts disarmed, so a flight's first reminder needs such a pass first.
class BaroSetCheck {
public:
    static constexpr const char* kMessage = "CHECK BARO SET";

    struct Inputs {
        // Air-data altitude and transition altitude, whole feet.
        int32_t altitude = 0;
        int32_t transitionAltitude = 0;
        // The flight director holds the altitude (ALT).
        bool altitudeHold = false;
        // The main altimeter setting, inHg.
        float settingInHg = 0.0f;
    };

    // True when the reminder is due this frame; it then stays quiet until re-armed.
    bool check(const Inputs& inputs);
    bool latched() const { return latch; }
    void restore(bool latched) { latch = latched; }

private:
    bool latch = true;
};

} // namespace tavi
