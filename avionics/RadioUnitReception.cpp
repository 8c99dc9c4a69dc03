// The receiving side of a radio unit: read-back of the tuning, the NAV, DME and ADF receivers,
// the backup CDI, the ident audio and the power of the side.
#include "airframe/Electric.h"
#include "avionics/Clamp.h"
#include "avionics/RadioFrequency.h"
#include "avionics/RadioUnit.h"
#include "avionics/Transponder.h"
#include "core/Aircraft.h"
#include "core/Imports.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace tavi {

namespace {

constexpr int kReceiverMagneticHeadingToken = 81;
constexpr int kReceiverTrueHeadingToken = 86;

constexpr uint32_t kAdf1IdentEvent = 0x1013B;
constexpr uint32_t kAdf2IdentEvent = 0x10400;
constexpr uint32_t kNav1IdentEvent = 0x10137;
constexpr uint32_t kNav2IdentEvent = 0x10138;
constexpr uint32_t kDme1IdentEvent = 0x10139;
constexpr uint32_t kDme2IdentEvent = 0x1013A;

constexpr int32_t kBackCourseFlag = 4;
// NAV GLIDE SLOPE comes in 1/131072 of a degree.
constexpr float kGlideSlopeScale = 7.62939453125e-06f;
constexpr uint32_t kTimedSelectMs = 20000;
// CDI units (127 at full scale) per degree off the backup course, and the degrees at full
// scale.
constexpr float kBackupCdiPerDegree = 12.7f;
constexpr float kBackupFullScaleDegrees = 10.0f;
// The longest station ident the screens show.
constexpr std::size_t kIdentLength = 8;

// A BCD value of the simulator: all 32 bits may hold digits.
int32_t bcdValue(double value) {
    if (!(value >= 0.0 && value < 4294967296.0)) {
        return 0;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

float degrees0To360(double degrees) {
    const double reduced = std::fmod(degrees, 360.0);
    return static_cast<float>(reduced < 0.0 ? reduced + 360.0 : reduced);
}

// Into (-180, 180].
float signedDegrees(float degrees) {
    const float reduced = degrees0To360(degrees);
    return reduced > 180.0f ? reduced - 360.0f : reduced;
}

void sendIdentToggle(uint32_t eventId, bool soundOn) {
    panelServices().sendKeyEvent(eventId, soundOn ? 0u : 1u);
}

} // namespace

void RadioUnit::update(const Aircraft& aircraft) {
    readTuning();
    readAdf(aircraft);
    keepAdfAudio();
    readNav();
    updateStationBearing(aircraft);
    if (hasLocalizer && (backCourseFlags & kBackCourseFlag) != 0) {
        cdiDeviation = -cdiDeviation;
    }
    readIdent(aircraft);
    updateBackupCdi();
    updateTimedSelect(aircraft.simTimeMs);
    keepNavAndDmeAudio();
}

void RadioUnit::readTuning() {
    // The radio tunes 25 kHz channels only; an 8.33 kHz channel set in the simulator reads as
    // the channel nearest it, so memories and standby never take a frequency the radio cannot set.
    comActive = nearestComChannel(bcdValue(comActiveVar.read()));
    navActive = bcdValue(navActiveVar.read());
    adfActive = bcdValue(adfActiveVar.read());
    TransponderCode = bcdValue(transponderCodeVar.read());
    const int32_t obs = saturatedInt32(navObsVar.read()) % 360;
    course = obs <= 0 ? obs + 360 : obs;
    refreshTexts();
}

void RadioUnit::readAdf(const Aircraft& aircraft) {
    const double relativeBearing = adfRadialVar.read();
    const int32_t signal = saturatedInt32(adfSignalVar.read());
    adfSignal = adfMode == 1 || adfMode == 2 ? signal : 0;
    adfBearing =
        degrees0To360(aircraft.tokens.value(kReceiverMagneticHeadingToken) + relativeBearing);
}

void RadioUnit::keepAdfAudio() {
    adfSoundOn = adfSoundVar.read() != 0.0;
    const bool wanted =
        adfIdentSelected && !unpowered[kAdfUnpowered] && (adfMode == 0 || adfMode == 1);
    if (wanted != adfSoundOn) {
        sendIdentToggle(side == 1 ? kAdf1IdentEvent : kAdf2IdentEvent, adfSoundOn);
    }
}

void RadioUnit::readNav() {
    dmeSpeed = static_cast<float>(dmeSpeedVar.read());
    dmeDistance = static_cast<float>(dmeVar.read());
    glideSlopeFlag = gsFlagVar.read() != 0.0;
    toFrom = saturatedInt32(toFromVar.read());
    gsi = static_cast<float>(gsiVar.read());
    cdiDeviation = static_cast<float>(cdiVar.read());
    glideSlopeError = static_cast<float>(glideSlopeErrorVar.read());
    glideSlope = static_cast<float>(glideSlopeVar.read()) * kGlideSlopeScale;
    localizer = static_cast<float>(localizerVar.read());
    radialError = static_cast<float>(radialErrorVar.read());
    radial = static_cast<float>(radialVar.read());
    magneticVariation = static_cast<float>(magVarVar.read());
    backCourseFlags = saturatedInt32(backCourseFlagsVar.read());
    hasGlideSlope = hasGlideSlopeVar.read() != 0.0;
    hasDme = hasDmeVar.read() != 0.0;
    hasLocalizer = hasLocalizerVar.read() != 0.0;
    hasNav = hasNavVar.read() != 0.0;
    navCodes = saturatedInt32(navCodesVar.read());
    navSignal = saturatedInt32(navSignalVar.read());
}

void RadioUnit::updateStationBearing(const Aircraft& aircraft) {
    double bearing = 90.0;
    if (navSignal != 0 && hasLocalizer) {
        bearing = radial + 180.0 - aircraft.tokens.value(kReceiverTrueHeadingToken);
    } else if (navSignal != 0 && hasNav) {
        bearing = radial + 180.0;
    }
    stationBearing = degrees0To360(bearing);
}

void RadioUnit::readIdent(const Aircraft& aircraft) {
    const auto& record = aircraft.tokens.records[static_cast<std::size_t>(identToken)];
    if (const auto* text = static_cast<const char*>(record.valuePointer)) {
        identText.assign(text, strnlen(text, kIdentLength));
    }
}

// The backup page's own CDI, against the backup course: a localizer's deviation as the
// receiver gives it, a VOR's from the bearing to the station.
void RadioUnit::updateBackupCdi() {
    if (!hasNav) {
        backupToFrom = kNoToFrom;
        backupDeviation = 0.0f;
        return;
    }
    if (hasLocalizer) {
        backupDeviation = cdiDeviation;
        backupToFrom = toFrom;
        return;
    }
    const float offCourse = degrees0To360(static_cast<float>(backupCourse) - stationBearing);
    if ((offCourse >= 89.5f && offCourse < 90.5f) || (offCourse >= 269.5f && offCourse < 270.5f)) {
        backupToFrom = kNoToFrom;
    } else {
        backupToFrom = offCourse <= 90.0f || offCourse >= 270.0f ? kTo : kFrom;
    }
    const float deviation = signedDegrees(stationBearing - static_cast<float>(backupCourse));
    if (deviation > 180.0f - kBackupFullScaleDegrees) {
        backupDeviation = (180.0f - deviation) * kBackupCdiPerDegree;
    } else if (deviation < kBackupFullScaleDegrees - 180.0f) {
        backupDeviation = (-180.0f - deviation) * kBackupCdiPerDegree;
    } else {
        backupDeviation = std::clamp(deviation, -kBackupFullScaleDegrees, kBackupFullScaleDegrees) *
                          kBackupCdiPerDegree;
    }
}

void RadioUnit::updateTimedSelect(uint32_t now) {
    if (timedSelect && now - timedSelectTime >= kTimedSelectMs) {
        timedSelect = false;
    }
}

void RadioUnit::keepNavAndDmeAudio() {
    navSoundOn = navSoundVar.read() != 0.0;
    if (navSoundOn != (navIdentSelected && !unpowered[kNavUnpowered])) {
        sendIdentToggle(side == 1 ? kNav1IdentEvent : kNav2IdentEvent, navSoundOn);
    }
    dmeSoundOn = dmeSoundVar.read() != 0.0;
    if (dmeSoundOn != (dmeIdentSelected && !unpowered[kDmeUnpowered])) {
        sendIdentToggle(side == 1 ? kDme1IdentEvent : kDme2IdentEvent, dmeSoundOn);
    }
}

void RadioUnit::updatePower(const Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    if (side == 1) {
        const bool master = electric && electric->avionicsMaster1;
        const bool dmePowered = master && electric->isPowered(Electric::kDcBus1);
        const bool receiversPowered = master && electric->isPowered(Electric::kEssentialBus1);
        unpowered[kDmeUnpowered] = !dmePowered;
        unpowered[kAdfUnpowered] = !receiversPowered;
        unpowered[kNavUnpowered] = !receiversPowered;
        unpowered[kGlideSlopeUnpowered] = !receiversPowered;
        return;
    }
    const bool powered =
        electric && electric->avionicsMaster2 && electric->isPowered(Electric::kDcBus2);
    unpowered.fill(!powered);
}

void RadioUnit::addElectricLoad(const Aircraft& aircraft, BusLoads& loads) const {
    const Electric* electric = aircraft.electric();
    if (side == 1) {
        const bool master = electric && electric->avionicsMaster1;
        loads[Electric::kDcBus1] += master ? 20.0f : 5.0f;
        loads[Electric::kEssentialBus1] += master ? 25.0f : 15.0f;
        return;
    }
    const bool master = electric && electric->avionicsMaster2;
    loads[Electric::kEssentialBus2] += master ? 25.0f : 5.0f;
    loads[Electric::kDcBus2] += master ? 35.0f : 10.0f;
}

} // namespace tavi
