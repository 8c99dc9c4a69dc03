#include "avionics/Gps.h"

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "core/Aircraft.h"
#include "core/Angles.h"

namespace tavi {

namespace {

constexpr int kLatitudeToken = 71;
constexpr int kLongitudeToken = 72;
constexpr int kMagneticHeadingToken = 81;
constexpr int kTrueHeadingToken = 86;
// Token 71 counts the latitude in units of 360 / 40007000 degree.
constexpr double kLatitudeUnitsPerTurn = 40007000.0;
// Token 72 counts the longitude in units of 360 / 2^48 degree.
constexpr double kLongitudeTurnsPerUnit = 3.552713678800501e-15;
constexpr double kDegreesPerTurn = 360.0;
// Below this ground speed on the ground the track is the heading: standing still has no track.
constexpr float kTaxiTrackSpeedKt = 5.0f;
constexpr float kLoadAmps = 5.0f;

bool hasPower(const Electric* electric) {
    return electric && electric->avionicsMaster2 && electric->isPowered(Electric::kDcBus2);
}

} // namespace

Gps::Gps()
    : trueTrackVar("GPS GROUND TRUE TRACK", "DEGREES"),
      magneticTrackVar("GPS GROUND MAGNETIC TRACK", "DEGREES"),
      groundVelocityVar("GROUND VELOCITY", "KNOTS"), altitudeVar("GPS POSITION ALT", "METER") {}

void Gps::update(Aircraft& aircraft) {
    trueTrackVar.read();
    magneticTrackVar.read();
    groundSpeed = static_cast<float>(groundVelocityVar.read());
    formTracks(aircraft);
    readPosition(aircraft);
}

// The simulator's own GPS tracks stay in their records; the aircraft's tracks are the headings
// corrected by the air data computer's drift.
void Gps::formTracks(const Aircraft& aircraft) {
    const double magneticHeading = aircraft.tokens.value(kMagneticHeadingToken);
    const double trueHeading = aircraft.tokens.value(kTrueHeadingToken);
    const Ahrs* ahrs = aircraft.ahrs();
    const Adc* adc = aircraft.adc();
    const bool standing = groundSpeed < kTaxiTrackSpeedKt && ahrs && ahrs->onGround;
    const float drift = adc && !standing ? adc->driftAngle : 0.0f;
    // A heading near north plus the drift would give tracks such as 362 or -2.
    magneticTrack = normalize360Float(magneticHeading + drift);
    trueTrack = normalize360Float(trueHeading + drift);
}

void Gps::readPosition(const Aircraft& aircraft) {
    latitude = aircraft.tokens.value(kLatitudeToken) / kLatitudeUnitsPerTurn * kDegreesPerTurn;
    longitude = aircraft.tokens.value(kLongitudeToken) * kLongitudeTurnsPerUnit * kDegreesPerTurn;
    gpsAltitude = altitudeVar.read();
}

void Gps::addElectricLoad(Aircraft& aircraft, BusLoads& loads) {
    if (hasPower(aircraft.electric())) {
        loads[Electric::kDcBus2] += kLoadAmps;
    }
}

void Gps::updatePower(Aircraft& aircraft) {
    unpowered = !hasPower(aircraft.electric());
}

std::optional<float> gpsGroundSpeed(const Aircraft& aircraft) {
    const Gps* gps = aircraft.gps();
    if (!gps || gps->unpowered) {
        return std::nullopt;
    }
    return gps->groundSpeed;
}

float gpsTrueTrack() {
    const Gps* gps = theAircraft ? theAircraft->gps() : nullptr;
    return gps ? gps->trueTrack : 0.0f;
}

} // namespace tavi
