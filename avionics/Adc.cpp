#include "avionics/Adc.h"

#include "airframe/Electric.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "avionics/Ahrs.h"
#include "avionics/AirData.h"
#include "avionics/Aws.h"
#include "avionics/Baro.h"
#include "avionics/Clamp.h"
#include "avionics/EicasDau.h"
#include "avionics/Gpws.h"
#include "avionics/RadAlt.h"
#include "core/Aircraft.h"
#include "core/Angles.h"
#include "core/Imports.h"
#include "core/Units.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavi {

namespace {

constexpr float kChannelLoadAmps = 5.0f;
constexpr float kSmoothingWeight = 0.1f;
// A jump larger than this restarts the airspeed smoothing from the new value.
constexpr float kSmoothingRestartKt = 10.0f;
constexpr float kIceSpeedsIncrementKt = 6.0f;
constexpr float kStallWarningMarginKt = 5.0f;
constexpr uint32_t kSelfTestMs = 60000;
constexpr int32_t kGearDownAndLocked = 16383;

constexpr SoundId kHighSpeedCallout = 40;
constexpr SoundId kStallWarning = 57;
constexpr int32_t kSilent = -10000;

// Minimum speeds (kt) by gear (up, down) and flap angle, in rows of flap angle 0, 9, 18, 22, 45
// with gear up then down; columns by weight from 12000 kg in steps of 500 kg.
constexpr int kWeightColumns = 21;
constexpr float kFirstWeightKg = 12000.0f;
constexpr float kWeightStepKg = 500.0f;
constexpr std::array<float, 5> kFlapRows = {0.0f, 9.0f, 18.0f, 22.0f, 45.0f};
constexpr float kMinimumSpeeds[10][kWeightColumns] = {
    {98.7f,  100.7f, 102.6f, 104.7f, 106.5f, 108.4f, 110.3f, 112.2f, 114.0f, 115.8f, 117.4f,
     119.2f, 120.9f, 122.5f, 125.2f, 125.8f, 127.4f, 129.0f, 130.5f, 132.0f, 133.5f},
    {99.7f,  101.7f, 103.6f, 105.7f, 107.5f, 109.4f, 111.3f, 113.2f, 115.0f, 116.8f, 118.4f,
     120.2f, 121.9f, 123.5f, 126.2f, 126.8f, 128.4f, 130.0f, 131.5f, 133.0f, 134.5f},
    {89.6f,  91.4f,  93.2f,  95.0f,  96.8f,  98.5f,  100.1f, 101.9f, 103.4f, 105.0f, 106.5f,
     108.0f, 109.4f, 110.8f, 112.2f, 113.6f, 115.0f, 116.3f, 117.6f, 119.0f, 120.3f},
    {90.6f,  92.4f,  94.2f,  96.0f,  97.8f,  99.6f,  101.2f, 103.0f, 104.5f, 106.0f, 107.5f,
     109.0f, 110.4f, 111.8f, 113.2f, 114.6f, 116.0f, 117.3f, 118.6f, 119.9f, 121.2f},
    {84.3f,  86.0f,  87.8f,  89.4f,  91.1f,  92.8f,  94.2f,  95.8f,  97.3f,  99.0f, 100.5f,
     102.0f, 103.5f, 105.0f, 106.4f, 107.9f, 109.3f, 110.8f, 112.1f, 113.5f, 114.9f},
    {85.5f,  87.25f, 89.0f,  90.65f, 92.3f,  94.0f,  95.6f,  97.2f,  98.7f,  100.3f, 101.9f,
     103.4f, 104.9f, 106.4f, 107.9f, 109.2f, 110.6f, 112.0f, 113.4f, 114.8f, 116.2f},
    {84.3f,  86.0f,  87.8f,  89.4f,  91.1f,  92.8f,  94.2f,  95.8f,  97.2f,  98.8f, 100.2f,
     101.7f, 103.0f, 104.5f, 106.8f, 107.2f, 108.5f, 109.9f, 111.1f, 112.4f, 113.8f},
    {85.0f,  86.75f, 88.5f,  90.15f, 91.8f,  93.5f,  95.1f,  96.7f,  98.2f,  99.8f, 101.4f,
     102.9f, 104.4f, 105.9f, 107.4f, 108.7f, 110.1f, 111.5f, 112.9f, 114.3f, 115.7f},
    {84.0f,  85.75f, 87.5f,  89.15f, 90.8f,  92.5f,  94.1f,  95.7f,  97.0f,  98.4f, 99.7f,
     101.0f, 102.5f, 104.0f, 105.2f, 106.5f, 107.8f, 109.0f, 110.3f, 111.5f, 112.7f},
    {85.0f,  86.75f, 88.5f,  90.15f, 91.8f,  93.5f,  95.1f,  96.7f,  98.0f,  99.4f, 100.7f,
     102.0f, 103.5f, 105.0f, 106.2f, 107.5f, 108.8f, 110.0f, 111.3f, 112.5f, 113.7f},
};

// Corrected N1 (%) by lever index, at Mach 0 and Mach 0.9.
struct N1Row {
    double leverIndex;
    double atMach0;
    double atMach09;
};
constexpr N1Row kN1Table[] = {
    {0.0, 0.0, 0.0},       {10.0, 1.0, 1.0},      {20.0, 2.4, 2.4},    {30.0, 4.7, 4.7},
    {40.0, 8.0, 8.0},      {50.0, 11.0, 11.0},    {60.0, 14.0, 13.5},  {65.0, 23.5, 23.2},
    {70.0, 33.0, 33.0},    {75.0, 43.0, 43.0},    {80.0, 51.0, 51.0},  {82.5, 53.0, 53.0},
    {85.0, 58.0, 58.0},    {90.0, 73.0, 73.0},    {100.0, 95.0, 95.0}, {102.5, 100.0, 100.0},
    {110.0, 110.0, 110.0}, {115.0, 115.0, 115.0},
};
constexpr double kMaxLeverIndex = 115.0;
// Lever index at the idle and full thrust lever, at inverse pressure ratios 1.0 and 22.57. The
// table is the same at Mach 0 and at Mach 0.9.
constexpr double kIdleIndexAtSeaLevel = 65.5;
constexpr double kIdleIndexAtAltitude = 85.5;
constexpr double kFullIndex = 115.0;
constexpr double kMaxInversePressureRatio = 22.57;
constexpr double kMaxTableMach = 0.9;
// A reverse lever acts 1.6 times as far as a forward one.
constexpr double kReverseLeverFactor = 1.6;

constexpr double kRadToDeg = 180.0 / std::numbers::pi;

double temperatureCorrection(float totalAirTemperature) {
    return std::sqrt(288.15 / (totalAirTemperature + 273.15));
}

double correctedN1At(const N1Row& row, double machFraction) {
    return row.atMach0 + machFraction * (row.atMach09 - row.atMach0);
}

double correctedN1ForIndex(double index, double machFraction) {
    const std::size_t last = std::size(kN1Table) - 1;
    std::size_t row = 0;
    while (row + 1 < last && index > kN1Table[row + 1].leverIndex) {
        ++row;
    }
    const N1Row& low = kN1Table[row];
    const N1Row& high = kN1Table[row + 1];
    const double fraction = (index - low.leverIndex) / (high.leverIndex - low.leverIndex);
    const double lowN1 = correctedN1At(low, machFraction);
    return lowN1 + fraction * (correctedN1At(high, machFraction) - lowN1);
}

// The lever index whose corrected N1 is the one given, held to the table's range.
double indexForCorrectedN1(double correctedN1, double machFraction) {
    const std::size_t last = std::size(kN1Table) - 1;
    if (correctedN1 <= correctedN1At(kN1Table[0], machFraction)) {
        return kN1Table[0].leverIndex;
    }
    for (std::size_t row = 0; row < last; ++row) {
        const double lowN1 = correctedN1At(kN1Table[row], machFraction);
        const double highN1 = correctedN1At(kN1Table[row + 1], machFraction);
        if (correctedN1 <= highN1) {
            const double fraction = (correctedN1 - lowN1) / (highN1 - lowN1);
            return kN1Table[row].leverIndex +
                   fraction * (kN1Table[row + 1].leverIndex - kN1Table[row].leverIndex);
        }
    }
    return kN1Table[last].leverIndex;
}

bool avionicsMasterOn(const Electric* electric, int side) {
    return electric && (side == 0 ? electric->avionicsMaster1 : electric->avionicsMaster2);
}

} // namespace

Adc::Adc()
    : ambientTemperatureVar("AMBIENT TEMPERATURE", "CELSIUS", 0),
      totalAirTemperatureVar("TOTAL AIR TEMPERATURE", "CELSIUS", 0),
      totalWeightVar("TOTAL WEIGHT", "KG", 0), machVar("AIRSPEED MACH", "MACH", 0),
      indicatedAirspeedVar("AIRSPEED INDICATED", "KNOTS", 0),
      trueAirspeedVar("AIRSPEED TRUE", "KNOTS", 0),
      angleOfAttackVar("INCIDENCE ALPHA", "DEGREE", 0), sideslipVar("INCIDENCE BETA", "DEGREE", 0),
      gForceVar("G FORCE", "G Force", 0),
      trendRateLimiter(DigitalFilter::Law::RateLimiter, 1.0, 1, 2.0),
      trendLag(DigitalFilter::Law::SecondOrderLag, 0.3, 20, 0.0),
      gFilter(DigitalFilter::Law::FirstOrderLag, 0.5, 1, 0.0) {}

void Adc::loadSettings(Aircraft& aircraft) {
    thrustDev = aircraft.readIniDouble("Engines", "thrustDev", 0.0);
    idleFuelFlowScalar = aircraft.readIniDouble("Engines", "idleFuelFlowScalar", 0.5);
}

void Adc::update(Aircraft& aircraft) {
    baro = aircraft.baro();
    mechanisation = aircraft.mechanisation();
    const Ahrs* ahrs = aircraft.ahrs();
    const bool onGround = ahrs && ahrs->onGround;
    readSimulator(aircraft);
    indicatedAirspeed = static_cast<float>(casFromMach(mach));
    previousWeight = weight;
    weight = clampFloat(minWeight, maxWeight, static_cast<float>(totalWeightVar.value));

    updateMinimumSpeed(aircraft);
    updateStallAngle(aircraft, onGround);
    const float previousSmoothedAirspeed = smoothedAirspeed;
    smoothAirspeeds();
    hideReferenceSpeedsWithoutPower(aircraft);
    warnOfOverspeed(aircraft);
    updateTrend(aircraft, previousSmoothedAirspeed);
    updateAltitudes(aircraft);
    updateMaxOperatingSpeed();
    updateDriftAndWind(aircraft, onGround);
    updateInversePressureRatio();

    isaTemperature = tavi::isaTemperature(pressureAltitude);
    isaDeviation = staticAirTemperature - isaTemperature;
    updateFlightPhase(aircraft, onGround);
    updateLimitSpeeds();
    updateStallWarning(aircraft, onGround);
    if (!started && aircraft.simTimeMs != 0) {
        started = true;
    }
}

void Adc::readSimulator(const Aircraft& aircraft) {
    if (double seconds = 0.0; panelServices().executeCalculatorCode("(P:ZULU TIME, seconds)",
                                                                    &seconds, nullptr, nullptr)) {
        zuluSeconds = seconds;
    }
    for (SimVar* variable :
         {&ambientTemperatureVar, &totalAirTemperatureVar, &totalWeightVar, &machVar,
          &indicatedAirspeedVar, &trueAirspeedVar, &angleOfAttackVar, &sideslipVar, &gForceVar}) {
        variable->read();
    }
    angleOfAttack = static_cast<float>(angleOfAttackVar.value);
    sideslipAngle = static_cast<float>(sideslipVar.value);
    staticAirTemperature = static_cast<float>(ambientTemperatureVar.value);
    totalAirTemperature = static_cast<float>(totalAirTemperatureVar.value);
    gLoad = static_cast<float>(gForceVar.value);
    if (aircraft.frameDeltaMs != 0) {
        filteredGLoad = static_cast<float>(gFilter.update(aircraft.frameDeltaMs / 1000.0, gLoad));
    }
    trueAirspeed = static_cast<float>(trueAirspeedVar.value);
    // The simulator's own indicated airspeed is read but not used: the CAS comes from the Mach.
    mach = static_cast<float>(machVar.value);
}

void Adc::updateMinimumSpeed(const Aircraft& aircraft) {
    previousFlapAngle = flapAngle;
    flapAngle = mechanisation ? clampFloat(0.0f, 45.0f, mechanisation->flapAngle) : 0.0f;
    previousGearExtension = gearExtension;
    gearExtension = 0.0f;
    if (mechanisation) {
        const float mean =
            (mechanisation->gearPositions[1] + mechanisation->gearPositions[2]) * 0.5f;
        gearExtension = clampFloat(0.0f, 1.0f, mean / kGearDownAndLocked);
    }
    const Pneumatic* pneumatic = aircraft.pneumatic();
    const bool iced = pneumatic && pneumatic->iceSpeeds;
    // The ice speeds take effect at once, not only with the next change of weight or
    // configuration.
    if (minimumSpeed == -1.0f || flapAngle != previousFlapAngle ||
        gearExtension != previousGearExtension || std::fabs(weight - minimumSpeedWeight) > 20.0f ||
        iced != minimumSpeedIced) {
        minimumSpeedWeight = weight;
        minimumSpeedIced = iced;
        minimumSpeed = lookUpMinimumSpeed() + (iced ? kIceSpeedsIncrementKt : 0.0f);
    }
    belowMinimumSpeed = indicatedAirspeed < minimumSpeed && !aircraft.slewActive;
}

// Linear in weight (extrapolated above 22000 kg), then in flap angle, then between gear up and
// down by the gear extension.
float Adc::lookUpMinimumSpeed() const {
    // A weight that is not a number, or below the table, must not index outside it.
    const float steps = (weight - kFirstWeightKg) / kWeightStepKg;
    const int column =
        std::isfinite(steps)
            ? static_cast<int>(std::clamp(steps, 0.0f, static_cast<float>(kWeightColumns - 2)))
            : 0;
    const float weightFraction =
        (weight - (kFirstWeightKg + column * kWeightStepKg)) / kWeightStepKg;
    std::size_t flapRow = 0;
    while (flapRow + 2 < kFlapRows.size() && flapAngle > kFlapRows[flapRow + 1]) {
        ++flapRow;
    }
    const float flapFraction =
        (flapAngle - kFlapRows[flapRow]) / (kFlapRows[flapRow + 1] - kFlapRows[flapRow]);
    auto atWeight = [&](std::size_t row) {
        const float* speeds = kMinimumSpeeds[row];
        return speeds[column] + weightFraction * (speeds[column + 1] - speeds[column]);
    };
    auto atFlaps = [&](std::size_t gear) {
        const float low = atWeight(flapRow * 2 + gear);
        return low + flapFraction * (atWeight((flapRow + 1) * 2 + gear) - low);
    };
    const float gearUp = atFlaps(0);
    return gearUp + gearExtension * (atFlaps(1) - gearUp);
}

// The stall angle of attack falls with the flaps; the margin to it is only kept in flight.
void Adc::updateStallAngle(const Aircraft& aircraft, bool onGround) {
    if (onGround || aircraft.slewActive) {
        aoaMargin = 16.0f;
        lowAoaMargin = false;
        return;
    }
    const float f = flapAngle;
    if (f <= 9.0f) {
        stallAngleOfAttack = 15.0f + 1.1f * f / 9.0f;
    } else if (f <= 18.0f) {
        stallAngleOfAttack = 16.1f - 0.35f * (f - 9.0f) / 9.0f;
    } else if (f <= 22.0f) {
        stallAngleOfAttack = 15.75f - 0.35f * (f - 18.0f) * 0.25f;
    } else {
        stallAngleOfAttack = 15.4f - 3.0f * (f - 22.0f) / 23.0f;
    }
    aoaMargin = std::max(0.0f, stallAngleOfAttack - angleOfAttack);
    lowAoaMargin = aoaMargin <= 10.0f;
}

void Adc::smoothAirspeeds() {
    auto smooth = [](float value, float& smoothed, float& state) {
        smoothed = value;
        if (std::fabs(value - state) > kSmoothingRestartKt) {
            state = value;
        }
        blendPair(smoothed, state, kSmoothingWeight);
    };
    smooth(indicatedAirspeed, smoothedAirspeed, airspeedFilterState);
    smooth(trueAirspeed, smoothedTrueAirspeed, trueAirspeedFilterState);
}

void Adc::hideReferenceSpeedsWithoutPower(const Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    if (electric && electric->networkPowered) {
        return;
    }
    for (int bug = 0; bug < kSpeedBugCount; ++bug) {
        if (!referenceSpeedUnset[bug]) {
            referenceSpeedUnset[bug] = true;
            referenceSpeedStates[bug] = 0;
        }
    }
}

// The warning request rises once when an overspeed begins; the chime and the high-speed call-out
// are queued again each time the call-out has left the queue, except while a GPWS terrain alert
// has the voice.
void Adc::warnOfOverspeed(const Aircraft& aircraft) {
    EicasDau* eicas = aircraft.eicasDau();
    if (!isOverspeed1() && !isOverspeed2()) {
        overspeedWarned = false;
        if (eicas && eicas->warningRequest) {
            eicas->setWarningRequest(false);
        }
        return;
    }
    if (!started) {
        return;
    }
    // Raised at the first started frame of the overspeed, not at its first frame: a flight
    // loaded in an overspeed never raised it.
    if (!overspeedWarned && eicas) {
        eicas->setWarningRequest(true);
        overspeedWarned = true;
    }
    Aws* aws = aircraft.aws();
    if (aws && !aws->isQueued(kHighSpeedCallout) &&
        !(aircraft.gpws() && aircraft.gpws()->terrainAlert())) {
        aws->enqueue(sounds::kWarningChime);
        aws->enqueue(kHighSpeedCallout);
    }
}

// Ten times the filtered rate of the smoothed airspeed; a paused frame keeps the trend.
void Adc::updateTrend(const Aircraft& aircraft, float previousSmoothedAirspeed) {
    if (aircraft.slewActive) {
        airspeedTrend = 0.0f;
        return;
    }
    if (aircraft.frameDeltaMs == 0) {
        return;
    }
    const double seconds = aircraft.frameDeltaMs / 1000.0;
    const double rate = (smoothedAirspeed - previousSmoothedAirspeed) / seconds;
    const double limited = trendRateLimiter.update(seconds, rate);
    const double lagged = trendLag.update(seconds, limited);
    airspeedTrend = clampFloat(-30.0f, 30.0f, static_cast<float>(10.0 * lagged));
}

void Adc::updateAltitudes(const Aircraft& aircraft) {
    trueAltitude = static_cast<float>(aircraft.tokens.value(73) * kFeetPerMetre);
    groundElevation = static_cast<float>(aircraft.tokens.value(2) * kFeetPerMetre * 0.00390625);
    if (!baro) {
        return;
    }
    indicatedAltitude = baro->mainSettingAltitude;
    // Takes the main setting's correction out again, as the barometric unit put it in.
    pressureAltitude = static_cast<float>(
        indicatedAltitude + 145442.2 * (1.0 - std::pow(baro->mainSettingHpa / 1013.25, 0.2045)));
    baro->updateStaticPressure(pressureAltitude);
}

// 250 kt up to 8000 ft, rising to 320 kt at 10000 ft, then VMO or MMO, whichever is lower.
void Adc::updateMaxOperatingSpeed() {
    const float h = indicatedAltitude;
    if (h <= 8000.0f) {
        maxOperatingSpeed = 250.0f;
    } else if (h <= 10000.0f) {
        maxOperatingSpeed = 250.0f + (h - 8000.0f) * 70.0f / 2000.0f;
    } else {
        maxOperatingSpeed = std::min(vmo, static_cast<float>(casFromMach(mmo)));
    }
    maxOperatingMach = static_cast<float>(machFromCas(maxOperatingSpeed));
}

void Adc::updateDriftAndWind(const Aircraft& aircraft, bool onGround) {
    windDirection = static_cast<float>(aircraft.tokens.value(344));
    windSpeed = static_cast<float>(aircraft.tokens.value(343));
    if (onGround) {
        driftAngle = 0.0f;
    } else {
        const double longitudinal = aircraft.tokens.value(551);
        const double lateral = aircraft.tokens.value(552);
        driftAngle = longitudinal == 0.0
                         ? 0.0f
                         : static_cast<float>(std::atan(lateral / longitudinal) * kRadToDeg);
        smoothedDriftAngle = driftAngle;
        blendPair(smoothedDriftAngle, driftFilterState, kSmoothingWeight);
    }
    if (!windShown && windSpeed >= 6.0f && !onGround) {
        windShown = true;
    } else if (windShown && (windSpeed <= 4.0f || onGround)) {
        windShown = false;
    }
}

// The pressure ratio of the standard atmosphere at the indicated altitude, on geopotential
// altitude, for the engines' thrust law.
void Adc::updateInversePressureRatio() {
    const double metres = indicatedAltitude / 3.28084;
    const double geopotential = metres * 6356766.0 / (metres + 6356766.0);
    double delta = 0.0;
    if (indicatedAltitude <= 36089.24f) {
        delta = std::pow(1.0 - 2.25576956446295e-5 * geopotential, 5.25587611327852);
    } else {
        delta = (22632.0639734629 / 101325.0) *
                std::exp(-4.806346e-5 * (3.28084 * geopotential - 36089.24));
    }
    inversePressureRatio = static_cast<float>(1.0 / delta);
}

void Adc::updateFlightPhase(const Aircraft& aircraft, bool onGround) {
    const int32_t lastPhase = flightPhase;
    if (onGround && !wasOnGround) {
        touchdownTime = aircraft.simTimeMs;
    } else if (!onGround && wasOnGround) {
        liftoffTime = aircraft.simTimeMs;
    }
    if (!started) {
        flightPhase = onGround ? kOnGroundPhase : kAirbornePhase;
    } else {
        flightPhase = nextFlightPhase(aircraft, onGround);
        if (lastPhase == kTakeoffPhase && flightPhase == kAirbornePhase) {
            referenceSpeedUnset[0] = true;
            referenceSpeedUnset[1] = true;
            clampSpeedBugs();
        }
    }
    flightPhaseChanged = flightPhase != lastPhase;
    wasOnGround = onGround;
}

int32_t Adc::nextFlightPhase(const Aircraft& aircraft, bool onGround) const {
    const RadAlt* radAlt = aircraft.radAlt();
    const float radioAltitude = radAlt ? radAlt->radioAltitude : 0.0f;
    const float v1 = static_cast<float>(referenceSpeeds[0] - 15);
    const bool belowV1 = indicatedAirspeed < v1;
    switch (flightPhase) {
    case kTakeoffPhase:
        if (radioAltitude > 1700.0f) {
            return kAirbornePhase;
        }
        return onGround && belowV1 ? kOnGroundPhase : kTakeoffPhase;
    case kLandingPhase:
        if (radioAltitude > 1700.0f) {
            return kAirbornePhase;
        }
        if (!onGround || !belowV1) {
            return kTakeoffPhase;
        }
        return aircraft.simTimeMs - touchdownTime > 3000 ? kOnGroundPhase : kLandingPhase;
    case kAirbornePhase:
        return onGround || radioAltitude < 200.0f ? kLandingPhase : kAirbornePhase;
    case kOnGroundPhase:
        return !onGround || !belowV1 ? kTakeoffPhase : kOnGroundPhase;
    default:
        return flightPhase;
    }
}

void Adc::updateLimitSpeeds() {
    if (mechanisation) {
        const std::array<int32_t, 3>& gear = mechanisation->gearPositions;
        const bool allDown = gear[0] == kGearDownAndLocked && gear[1] == kGearDownAndLocked &&
                             gear[2] == kGearDownAndLocked;
        const bool allUp = gear[0] == 0 && gear[1] == 0 && gear[2] == 0;
        if (allDown) {
            gearLimitSpeed = 250.0f;
        } else if (allUp) {
            gearLimitSpeed = vmo;
        } else {
            gearLimitSpeed = gearExtension > previousGearExtension ? 200.0f : 250.0f;
        }
    }
    constexpr float kFlapLimitSpeeds[] = {vmo, 250.0f, 200.0f, 200.0f, 145.0f};
    for (std::size_t row = 0; row < kFlapRows.size(); ++row) {
        if (kFlapRows[row] >= flapAngle) {
            flapLimitSpeed = kFlapLimitSpeeds[row];
            break;
        }
    }
}

void Adc::updateStallWarning(const Aircraft& aircraft, bool onGround) {
    Aws* aws = aircraft.aws();
    if (!aws) {
        return;
    }
    const Electric* electric = aircraft.electric();
    const bool networkPowered = electric && electric->networkPowered;
    // Either side's airspeed will do: requiring both, one avionics master switched off
    // silenced the warning although the other side still measured the speed.
    const bool nearStall = !onGround && smoothedAirspeed <= minimumSpeed + kStallWarningMarginKt &&
                           (isAirspeedValid(0) || isAirspeedValid(1));
    if (started && nearStall && networkPowered) {
        if (!aws->isPlaying(kStallWarning)) {
            aws->playLooped(kStallWarning, false);
        }
    } else if (aws->isPlaying(kStallWarning)) {
        aws->stop(kStallWarning);
    }
    const int32_t volume = aircraft.simState.isSoundOn() ? aws->masterVolume() : kSilent;
    if (aws->volume(kStallWarning) != volume) {
        aws->setVolume(kStallWarning, volume);
    }
}

void Adc::addElectricLoad(Aircraft& aircraft, BusLoads& loads) {
    const Electric* electric = aircraft.electric();
    loads[Electric::kDcBus1] += kChannelLoadAmps;
    if (avionicsMasterOn(electric, 0)) {
        loads[Electric::kEssentialBus1] += kChannelLoadAmps;
    }
    if (avionicsMasterOn(electric, 1)) {
        loads[Electric::kEssentialBus2] += kChannelLoadAmps;
    }
}

void Adc::updatePower(Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    const uint32_t now = aircraft.simTimeMs;
    bool lostGroup[4] = {};
    for (int side = 0; side < 2; ++side) {
        const int bus = side == 0 ? Electric::kEssentialBus1 : Electric::kEssentialBus2;
        const bool nowPowered = avionicsMasterOn(electric, side) && electric->isPowered(bus);
        if (nowPowered && !powered[side]) {
            failed[side] = false;
            selfTest[side] = true;
            powerOnTime[side] = now;
        }
        powered[side] = nowPowered;
        const bool invalid = !(avionicsMasterOn(electric, side) && !failed[side]);
        for (int group = 0; group < 4; ++group) {
            lostGroup[group] = validity[group][side].set(invalid) || lostGroup[group];
        }
        if (selfTest[side] && now - powerOnTime[side] >= kSelfTestMs) {
            selfTest[side] = false;
        }
    }
    // The Mach group keeps no time.
    const int timedGroups[] = {kAirspeedGroup, kAltitudeGroup, kAngleOfAttackGroup};
    for (std::size_t i = 0; i < std::size(timedGroups); ++i) {
        if (lostGroup[timedGroups[i]]) {
            invalidSince[i] = now;
        }
    }
}

bool Adc::isOverspeed(int side) const {
    return (indicatedAirspeed > maxOperatingSpeed && isAirspeedValid(side)) ||
           (mach > mmo && isMachValid(side));
}

int Adc::selectedSpeedBug() const {
    for (int bug = 0; bug < kSpeedBugCount; ++bug) {
        if (referenceSpeedStates[bug] == 2) {
            return bug + 1;
        }
    }
    return 0;
}

int Adc::selectSpeedBug(int index) {
    const int previous = selectedSpeedBug();
    for (int32_t& state : referenceSpeedStates) {
        if (state == 2) {
            state = 1;
        }
    }
    if (index >= 1 && index <= kSpeedBugCount && index != previous) {
        referenceSpeedStates[index - 1] = 2;
    }
    return previous;
}

void Adc::clampSpeedBugs() {
    for (int32_t& speed : referenceSpeeds) {
        speed = clampInt(kMinReferenceSpeed, kMaxReferenceSpeed, speed);
    }
}

double Adc::staticPressureRatio() const {
    const double staticPressure =
        baro ? baro->staticPressure : Baro::pressureAtAltitude(pressureAltitude);
    return staticPressure / Baro::seaLevelPressure;
}

double Adc::casFromMach(double machNumber) const {
    return casFromMachAtPressureRatio(machNumber, pressureRatioAtAltitude(pressureAltitude));
}

double Adc::machFromCas(double cas) const {
    return machFromCasAtPressureRatio(cas, staticPressureRatio());
}

double Adc::machFromCasAtAltitude(double cas, double feet) {
    return machFromCasAtPressureRatio(cas, pressureRatioAtAltitude(std::max(feet, 0.0)));
}

double Adc::groundSpeedFromCas(double cas, double feet, double staticAirTemperature, double course,
                               double windDirection, double windSpeed) {
    const double tas =
        trueAirspeedFromMach(machFromCasAtAltitude(cas, std::max(feet, 0.0)), staticAirTemperature);
    const double windAngle = normalize180(windDirection - course + 180.0) / kRadToDeg;
    return tas + windSpeed * std::cos(windAngle);
}

double Adc::machFraction() const {
    return clampDouble(0.0, kMaxTableMach, mach) / kMaxTableMach;
}

double Adc::pressureFraction() const {
    return 0.65 * (clampDouble(1.0, kMaxInversePressureRatio, inversePressureRatio) - 1.0) /
           (kMaxInversePressureRatio - 1.0);
}

// The lever index of a thrust lever position 0..1 at the present pressure ratio.
double Adc::leverIndex(double lever) const {
    const double atSeaLevel = kIdleIndexAtSeaLevel + lever * (kFullIndex - kIdleIndexAtSeaLevel);
    const double atAltitude = kIdleIndexAtAltitude + lever * (kFullIndex - kIdleIndexAtAltitude);
    return atSeaLevel + pressureFraction() * (atAltitude - atSeaLevel);
}

double Adc::n1ForThrottle(double lever) const {
    const double forward = lever < 0.0 ? -lever * kReverseLeverFactor : lever;
    const double index = std::min(leverIndex(std::min(forward, 1.0)), kMaxLeverIndex);
    return correctedN1ForIndex(index, machFraction()) / temperatureCorrection(totalAirTemperature);
}

// The exact inverse of n1ForThrottle: an N1 below idle gives the idle lever, one above the
// table the full lever.
double Adc::throttleForN1(double n1, bool reverse) const {
    const double corrected = n1 * temperatureCorrection(totalAirTemperature);
    const double index = indexForCorrectedN1(corrected, machFraction());
    const double idle = leverIndex(0.0);
    const double lever = clampDouble(0.0, 1.0, (index - idle) / (leverIndex(1.0) - idle));
    return reverse ? lever / -kReverseLeverFactor : lever;
}

} // namespace tavi
