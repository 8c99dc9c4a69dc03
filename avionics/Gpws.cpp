#include "avionics/Gpws.h"

#include "airframe/Electric.h"
#include "airframe/Mechanisation.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "avionics/Baro.h"
#include "avionics/FlightDirector.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "core/Aircraft.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr float kGpwsLoadAmps = 1.0f;
constexpr int32_t kGpwsWarningId = 67;
constexpr int32_t kGpwsInopId = 68;
constexpr int32_t kTerrInopId = 69;

constexpr SoundId kPullUp = 19;
constexpr SoundId kSinkRate = 20;
constexpr SoundId kTerrainTerrain = 21;
constexpr SoundId kTerrain = 22;
constexpr SoundId kDontSink = 23;
constexpr SoundId kTooLowTerrain = 24;
constexpr SoundId kTooLowGear = 25;
constexpr SoundId kTooLowFlap = 26;
constexpr SoundId kGlideSlope = 27;
constexpr SoundId kBankAngle = 28;
constexpr SoundId kApproachingMinimums = 29;
constexpr SoundId kMinimumsCallout = 30;
constexpr SoundId k100Feet = 31;
constexpr SoundId k200Feet = 32;
constexpr SoundId k500Feet = 33;

constexpr int32_t kGpwsGearDownAndLocked = 16383;
constexpr float kLandingFlapsDeg = 22.0f;
// Below this radio altitude the envelopes of modes 1, 2, 4 and 5 are silent.
constexpr float kFloorFt = 30.0f;
constexpr uint32_t kClosureHoldMs = 500;
constexpr uint32_t kLiftoffWindowMs = 60000;
constexpr uint32_t kMinimumsArmingMs = 5000;
constexpr float kMode3CeilingFt = 1500.0f;
constexpr float kMinimumsFloorFt = 10.0f;
constexpr float kMinimumsFreezeFt = 1000.0f;
constexpr float kApproachingMarginFt = 100.0f;
// A repeated call needs 20 percent more height lost, or 20 percent more bank.
constexpr float kRepeatHeightFraction = 0.8f;
constexpr float kRepeatBankFactor = 1.2f;

// Glide slope needle units to dots of deviation.
float glideSlopeDots(float needle) {
    return needle / 120.0f * 0.7f / 0.3f;
}

float localizerDots(float needle) {
    return needle / 127.0f * 10.0f / 5.0f;
}

// A coupled approach within this many dots of both beams widens the terrain-closure envelope.
constexpr float kCoupledApproachDots = 2.0f;

// The rate of descent (positive) that starts a sink-rate alert, and the one that calls for a
// pull-up.
float sinkRateLimit(float height) {
    return 1000.0f + 4007.0f * (height - 30.0f) / 2420.0f;
}

float pullUpLimit(float height) {
    if (height <= 284.0f) {
        return 1500.0f + 210.0f * (height - 30.0f) / 254.0f;
    }
    return 1710.0f + 5415.0f * (height - 284.0f) / 2166.0f;
}

// The closure rate that starts a terrain-closure alert in the landing envelope (B) and the
// cruise envelope (A); empty where the envelope gives none. Speed is in knots.
std::optional<float> landingClosureLimit(float height, bool gearDown) {
    if (height < 30.0f || height > 789.0f) {
        return std::nullopt;
    }
    const float limit = 2038.0f + 962.0f * (height - 30.0f) / 759.0f;
    return gearDown ? std::min(limit, 2253.0f) : limit;
}

// The high-speed segment starts at 1560 ft although the low-speed one ends at 1650 ft, and its
// threshold depends on the speed alone.
std::optional<float> cruiseClosureLimit(float height, float speed) {
    if (height >= 30.0f && height <= 1220.0f) {
        return 2038.0f + 1507.0f * (height - 30.0f) / 1190.0f;
    }
    if (speed <= 220.0f) {
        if (height > 1220.0f && height <= 1650.0f) {
            return 3545.0f + 2188.0f * (height - 1220.0f) / 430.0f;
        }
        return std::nullopt;
    }
    if (height > 1560.0f && height <= 2450.0f) {
        const float speedHeight = 1650.0f + 8.9f * (speed - 220.0f);
        return 5733.0f + 4067.0f * (speedHeight - 1650.0f) / 800.0f;
    }
    return std::nullopt;
}

// The mode 4 call for the envelopes that hold in the present configuration; empty when neither
// applies to it.
std::optional<SoundId> terrainClearanceCall(bool envelopeA, bool envelopeB, float flaps,
                                            bool gearDown, bool gearUp) {
    if ((envelopeA || envelopeB) && flaps < kLandingFlapsDeg && !gearDown) {
        return kTooLowTerrain;
    }
    if (envelopeA && flaps >= kLandingFlapsDeg && gearUp) {
        return kTooLowGear;
    }
    if (envelopeB && flaps == 0.0f && gearDown) {
        return kTooLowFlap;
    }
    return std::nullopt;
}

bool crossedDown(float previous, float height, float level) {
    return previous > level && height <= level;
}

} // namespace

bool Gpws::Inputs::landingFlaps() const {
    return flaps >= kLandingFlapsDeg;
}

void Gpws::update(Aircraft& aircraft) {
    fetchSystems(aircraft);
    updatePowerFlags(aircraft);
    EicasDau* eicas = aircraft.eicasDau();
    const bool eicasPoweredAgain = eicasPower.poweredAgain(eicas);
    const bool hadTerrainAlert = terrainAlert();
    const Inputs in = readInputs(aircraft);
    followAltimeterSetting(in);
    if (gpwsUnpowered) {
        silence(eicas);
    } else if (aircraft.frameDeltaMs != 0) {
        evaluate(eicas, in);
    }
    previousRadioAltitude = in.radioAltitude;
    updateWarningMessage(eicas, in.now, hadTerrainAlert, eicasPoweredAgain);
    updateInopMessages(eicas, in.now, eicasPoweredAgain);
    if (aircraft.simTimeMs != 0) {
        started = true;
    }
}

void Gpws::fetchSystems(const Aircraft& aircraft) {
    ahrs = aircraft.ahrs();
    adc = aircraft.adc();
    radAlt = aircraft.radAlt();
    mechanisation = aircraft.mechanisation();
    aws = aircraft.aws();
}

void Gpws::updatePowerFlags(const Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    const bool gpwsDead = !electric || !electric->isPowered(Electric::kAcBus);
    gpwsPowerChanged = gpwsDead != gpwsUnpowered;
    gpwsUnpowered = gpwsDead;
    const bool terrainDead =
        !electric || !(electric->isPowered(Electric::kEssentialBus1) && electric->avionicsMaster1);
    terrainPowerChanged = terrainDead != terrainUnpowered;
    terrainUnpowered = terrainDead;
}

// An absent system reads as a zero: no height, no speed, flaps and gear up.
Gpws::Inputs Gpws::readInputs(const Aircraft& aircraft) const {
    Inputs in;
    in.now = aircraft.simTimeMs;
    if (radAlt) {
        in.radioAltitude = radAlt->radioAltitude;
        in.closureRate = radAlt->closureRate;
        in.decisionHeight = radAlt->decisionHeight;
    }
    if (ahrs) {
        in.verticalSpeed = ahrs->unit1.verticalSpeed;
        in.bank = ahrs->unit1.smoothedBank;
        in.onGround = ahrs->onGround;
    }
    if (adc) {
        in.indicatedAirspeed = adc->indicatedAirspeed;
        in.altitude = adc->indicatedAltitude;
        // A flight that started in the air has had no lift-off.
        in.recentLiftoff = adc->liftoffTime != 0 && in.now - adc->liftoffTime <= kLiftoffWindowMs;
    }
    if (mechanisation) {
        const std::array<int32_t, 3>& gear = mechanisation->gearPositions;
        in.flaps = mechanisation->flapAngle;
        in.gearDown = std::all_of(gear.begin(), gear.end(), [](int32_t position) {
            return position == kGpwsGearDownAndLocked;
        });
        in.gearUp =
            std::all_of(gear.begin(), gear.end(), [](int32_t position) { return position == 0; });
    }
    const FlightDirector* flightDirector = aircraft.flightDirector();
    if (flightDirector) {
        in.localizerMode = flightDirector->lateralMode() == FdLateralMode::Loc;
        in.glideSlopeMode = flightDirector->verticalMode() == FdVerticalMode::Gs;
    }
    if (const Radio* radio = aircraft.radio()) {
        const bool side2 = flightDirector && flightDirector->coupledSide() == 2;
        const RadioUnit& unit = side2 ? radio->unit2 : radio->unit1;
        in.glideSlopeFlag = unit.glideSlopeFlag;
        in.glideSlopeNeedle = unit.gsi;
        in.localizerNeedle = unit.cdiDeviation;
    }
    if (const Baro* baro = aircraft.baro()) {
        in.altimeterCorrection = baro->mainSettingAltitude - baro->simPressureAltitude;
    }
    return in;
}

// A new altimeter setting moves the indicated altitude without any height being lost: the
// altitudes the loss is measured from move with it.
void Gpws::followAltimeterSetting(const Inputs& in) {
    if (altimeterCorrection) {
        const float change = in.altimeterCorrection - *altimeterCorrection;
        highestAltitude += change;
        previousAltitude += change;
    }
    altimeterCorrection = in.altimeterCorrection;
}

void Gpws::evaluate(EicasDau* eicas, const Inputs& in) {
    const Edges before{minimums, approachingMinimums, callout500, callout200, callout100};
    checkSinkRate(in);
    checkTerrainClosure(in);
    checkAltitudeLoss(in);
    checkTerrainClearance(in);
    checkGlideSlope(in);
    checkBankAngle(in);
    checkMinimums(in);
    checkAltitudeCallouts(in);

    if (terrainAlert()) {
        announceTerrainAlert(in);
    } else {
        announceAdvisories(eicas, in, before);
    }
    releaseLatches(eicas);
    highestAltitude = in.onGround ? in.altitude : std::max(highestAltitude, in.altitude);
    previousAltitude = in.altitude;
}

void Gpws::checkSinkRate(const Inputs& in) {
    mode1 = false;
    mode1PullUp = false;
    if (in.radioAltitude <= kFloorFt || in.radioAltitude > 2450.0f) {
        return;
    }
    mode1 = in.verticalSpeed <= -sinkRateLimit(in.radioAltitude);
    mode1PullUp = mode1 && in.verticalSpeed <= -pullUpLimit(in.radioAltitude);
}

void Gpws::checkTerrainClosure(const Inputs& in) {
    mode2 = false;
    if (in.radioAltitude < kFloorFt) {
        return;
    }
    const float speed = std::min(in.indicatedAirspeed, 310.0f);
    const bool coupledApproach =
        in.localizerMode && in.glideSlopeMode &&
        std::fabs(localizerDots(in.localizerNeedle)) < kCoupledApproachDots &&
        std::fabs(glideSlopeDots(in.glideSlopeNeedle)) < kCoupledApproachDots;
    const bool landingEnvelope =
        (in.gearDown && in.landingFlaps()) || coupledApproach || in.recentLiftoff;
    const std::optional<float> limit = landingEnvelope
                                           ? landingClosureLimit(in.radioAltitude, in.gearDown)
                                           : cruiseClosureLimit(in.radioAltitude, speed);
    if (limit && *limit > 0.0f && in.closureRate >= *limit) {
        mode2 = true;
        mode2LastTime = in.now;
    } else {
        mode2 = mode2LastTime && in.now - *mode2LastTime <= kClosureHoldMs;
    }
}

void Gpws::checkAltitudeLoss(const Inputs& in) {
    if (in.onGround) {
        mode3Armed = true;
    } else if (in.radioAltitude > kMode3CeilingFt) {
        mode3Armed = false;
    }
    if (!mode3Armed || in.landingFlaps() || in.gearDown || in.onGround) {
        mode3 = false;
        return;
    }
    const float loss = highestAltitude - in.altitude;
    mode3Descending = mode3 && mode3Descending && previousAltitude - in.altitude > 0.0f &&
                      in.verticalSpeed < 0.0f;
    if (in.radioAltitude >= kFloorFt && in.radioAltitude <= kMode3CeilingFt) {
        mode3 = loss >= 5.0f + 138.0f * (in.radioAltitude - 30.0f) / 1470.0f;
        mode3Descending = mode3 && in.verticalSpeed < 0.0f;
    }
}

void Gpws::checkTerrainClearance(const Inputs& in) {
    mode4 = false;
    mode4A = false;
    mode4B = false;
    if (in.radioAltitude < kFloorFt || in.verticalSpeed > 200.0f) {
        return;
    }
    const float speed = std::min(in.indicatedAirspeed, 250.0f);
    const float height = in.radioAltitude;
    mode4A =
        speed <= 190.0f ? height <= 500.0f : height <= 500.0f + 500.0f * (speed - 190.0f) / 60.0f;
    mode4B =
        speed <= 159.0f ? height <= 245.0f : height <= 245.0f + 755.0f * (speed - 159.0f) / 91.0f;
    mode4 = terrainClearanceCall(mode4A, mode4B, in.flaps, in.gearDown, in.gearUp).has_value();
}

void Gpws::checkGlideSlope(const Inputs& in) {
    mode5Soft = false;
    mode5Hard = false;
    if (in.radioAltitude < kFloorFt || in.radioAltitude > 1000.0f || !in.glideSlopeFlag) {
        return;
    }
    const float dots = glideSlopeDots(in.glideSlopeNeedle);
    if (dots >= -1.3f) {
        return;
    }
    const float below = -dots;
    if (in.radioAltitude >= 150.0f - 120.0f * (below - 1.3f) / 1.68f) {
        mode5Soft = true;
        mode5Hard = below >= 2.0f && in.radioAltitude <= 300.0f &&
                    in.radioAltitude >= 150.0f - 120.0f * (below - 2.0f) / 1.68f;
    }
}

void Gpws::checkBankAngle(const Inputs& in) {
    const float height = in.radioAltitude;
    const float limit =
        height >= 30.0f && height < 150.0f ? 10.0f + 30.0f * (height - 30.0f) / 120.0f : 40.0f;
    mode6 = std::fabs(in.bank) >= limit;
}

void Gpws::checkMinimums(const Inputs& in) {
    approachingMinimums = false;
    if (in.onGround || in.radioAltitude < kMinimumsFloorFt) {
        armingTime.reset();
        minimumsArmed = false;
    } else if (!(in.radioAltitude <= kMinimumsFreezeFt && in.gearDown)) {
        if (!armingTime) {
            armingTime = in.now;
            minimumsArmed = false;
        }
        if (in.now - *armingTime >= kMinimumsArmingMs) {
            minimumsArmed = true;
        }
    }
    const float decisionHeight = static_cast<float>(in.decisionHeight);
    approachingMinimums = minimumsArmed && crossedDown(previousRadioAltitude, in.radioAltitude,
                                                       decisionHeight + kApproachingMarginFt);
    const bool below =
        minimumsArmed && in.radioAltitude < decisionHeight && in.gearDown && in.landingFlaps();
    if (below && !minimums) {
        minimumsTime = in.now;
    }
    minimums = below;
}

void Gpws::checkAltitudeCallouts(const Inputs& in) {
    callout500 = false;
    callout200 = false;
    callout100 = false;
    if (!in.gearDown || !in.landingFlaps()) {
        return;
    }
    const auto crossed = [&](float level) {
        return crossedDown(previousRadioAltitude, in.radioAltitude, level) &&
               in.decisionHeight != static_cast<int32_t>(level);
    };
    callout500 = crossed(500.0f) && !in.glideSlopeMode;
    callout200 = crossed(200.0f);
    callout100 = crossed(100.0f);
}

// Modes 1 to 4 in their order of priority: only the first standing alert speaks.
void Gpws::announceTerrainAlert(const Inputs& in) {
    if (mode1) {
        if (mode1PullUp) {
            enqueue(kPullUp);
            sinkRateCalled = true;
        } else if (!sinkRateCalled) {
            enqueue(kSinkRate);
            sinkRateCalled = true;
        }
    } else if (mode2) {
        if (!terrainCalled) {
            enqueue(kTerrainTerrain);
            terrainCalled = true;
        } else {
            enqueue(in.landingFlaps() && in.gearDown ? kTerrain : kPullUp);
        }
    } else if (mode3) {
        if (mode3Descending) {
            enqueue(kDontSink);
        }
    } else {
        announceTerrainClearance(in);
    }
}

// One call for each further 20 percent of height lost since the last.
void Gpws::announceTerrainClearance(const Inputs& in) {
    if (mode4Called && in.radioAltitude <= kRepeatHeightFraction * mode4ReferenceHeight) {
        mode4Called = false;
    }
    if (mode4Called) {
        return;
    }
    if (const std::optional<SoundId> call =
            terrainClearanceCall(mode4A, mode4B, in.flaps, in.gearDown, in.gearUp)) {
        enqueue(*call);
    }
    mode4ReferenceHeight = in.radioAltitude;
    mode4Called = true;
}

void Gpws::announceAdvisories(EicasDau* eicas, const Inputs& in, const Edges& before) {
    if (mode5Soft) {
        if (!mode5CautionRaised && eicas) {
            eicas->setCautionRequest(true);
            mode5CautionRaised = true;
        }
        if (eicas && eicas->cautionLatched) {
            enqueue(kGlideSlope);
        }
    }
    if (mode6) {
        // One call for each further 20 percent of bank since the last.
        const float bank = std::fabs(in.bank);
        if (bankAngleCalled && bank >= kRepeatBankFactor * mode6ReferenceBank) {
            bankAngleCalled = false;
        }
        if (!bankAngleCalled) {
            enqueue(kBankAngle);
            bankAngleCalled = true;
            mode6ReferenceBank = bank;
        }
    }
    if (approachingMinimums && !before.approachingMinimums) {
        enqueue(kApproachingMinimums);
    }
    if (minimums && !before.minimums) {
        enqueue(kMinimumsCallout);
    }
    if (callout500 && !before.callout500) {
        enqueue(k500Feet);
    } else if (callout200 && !before.callout200) {
        enqueue(k200Feet);
    } else if (callout100 && !before.callout100) {
        enqueue(k100Feet);
    }
}

void Gpws::enqueue(SoundId id) const {
    if (aws) {
        aws->enqueue(id);
    }
}

// A call made for an alert is made again only after the alert has ended; the glide slope's
// master caution is withdrawn as soon as the aircraft is back within the envelope.
void Gpws::releaseLatches(EicasDau* eicas) {
    sinkRateCalled = sinkRateCalled && mode1;
    terrainCalled = terrainCalled && mode2;
    mode4Called = mode4Called && mode4;
    bankAngleCalled = bankAngleCalled && mode6;
    if (!mode5Soft && mode5CautionRaised) {
        if (eicas) {
            eicas->setCautionRequest(false);
        }
        mode5CautionRaised = false;
    }
}

// Without power no alert stands.
void Gpws::silence(EicasDau* eicas) {
    mode1 = mode1PullUp = false;
    mode2 = false;
    mode3 = mode3Descending = false;
    mode4 = mode4A = mode4B = false;
    mode5Soft = mode5Hard = false;
    mode6 = false;
    minimums = approachingMinimums = false;
    callout500 = callout200 = callout100 = false;
    releaseLatches(eicas);
}

void Gpws::updateWarningMessage(EicasDau* eicas, uint32_t now, bool hadTerrainAlert,
                                bool eicasPoweredAgain) const {
    if (started && !eicasPoweredAgain && terrainAlert() == hadTerrainAlert) {
        return;
    }
    showEicasMessage(eicas, now, kEicasWarning, kGpwsWarningId, terrainAlert() ? "GPWS" : "");
}

void Gpws::updateInopMessages(EicasDau* eicas, uint32_t now, bool eicasPoweredAgain) const {
    if (!started || gpwsPowerChanged || eicasPoweredAgain) {
        showEicasMessage(eicas, now, kEicasCaution, kGpwsInopId, gpwsUnpowered ? "GPWS INOP" : "");
    }
    if (!started || terrainPowerChanged || eicasPoweredAgain) {
        showEicasMessage(eicas, now, kEicasCaution, kTerrInopId,
                         terrainUnpowered ? "TERR INOP" : "");
    }
}

void Gpws::addElectricLoad(Aircraft&, BusLoads& loads) {
    if (!gpwsUnpowered) {
        loads[Electric::kAcBus] += kGpwsLoadAmps;
    }
}

} // namespace tavi
