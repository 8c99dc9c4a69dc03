#pragma once

#include "core/SimVar.h"
#include "core/System.h"

#include <optional>

namespace tavi {

// The GPS sensor: the aircraft's ground track, ground speed and position for the flight
// management system and the screens. It hangs on DC bus 2 behind Avionics Master 2.
class Gps : public System {
public:
    Gps();

    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // Degrees in [0, 360): the headings plus the drift.
    float trueTrack = 0.0f;
    float magneticTrack = 0.0f;
    // Knots.
    float groundSpeed = 0.0f;
    // Degrees, north and east positive.
    double latitude = 0.0;
    double longitude = 0.0;
    // Metres.
    double gpsAltitude = 0.0;
    bool unpowered = false;
    SimVar trueTrackVar;
    SimVar magneticTrackVar;
    SimVar groundVelocityVar;
    SimVar altitudeVar;

private:
    void formTracks(const Aircraft& aircraft);
    void readPosition(const Aircraft& aircraft);
};

// The true track of the aircraft's GPS; 0 without one.
float gpsTrueTrack();

// Knots from a GPS that has power; nothing without one, and its users take their fallback.
std::optional<float> gpsGroundSpeed(const Aircraft& aircraft);

} // namespace tavi
