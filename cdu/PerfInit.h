#pragma once

#include "fms/PerfPrediction.h"

#include <cstdint>
#include <string>

namespace tavi {

class Aircraft;
class Fs9Reader;
struct StateFile;

// One phase's speed pair: an indicated airspeed (kt, 0 = none) and a Mach number (0 = none),
// with the one that governs.
struct SpeedTarget {
    SpeedTarget() = default;
    SpeedTarget(int32_t speed, double machNumber)
        : ias(speed), spareIas(speed), mach(machNumber), spareMach(machNumber) {}

    int32_t ias = 0;
    int32_t spareIas = 0;
    double mach = 0.0;
    double spareMach = 0.0;
    bool iasActive = false;
    bool machActive = false;
};

// The performance initialisation record: what the crew enters before flight (speed schedules,
// weights, fuel, reserve, limits, cruise altitude, wind and temperature) and what the
// predictions and VNAV keep in it (phase flags, the speed targets of each phase, the step climb,
// the route summaries). Weights in pounds, -1 when nothing was entered; speeds in knots
// indicated, altitudes in feet, distances in nautical miles.
struct PerfInit {
    static constexpr double kNotEntered = -1.0;
    static constexpr const char* kInvalidEntry = "INVALID ENTRY";
    static constexpr const char* kResetAltSel = "RESET ALT SEL?";

    // The defaults the pages restore.
    int32_t defaultClimbIas = 270;
    double defaultClimbMach = 0.56;
    int32_t defaultDescentIas = 310;
    double defaultDescentMach = 0.76;
    double defaultDescentAngle = 3.0;
    double defaultToFuel = 400.0;
    double defaultLandFuel = 200.0;
    int32_t defaultCruiseIas = 300;
    double defaultCruiseMach = 0.75;

    // From here to the prediction time, the per-flight state.
    int32_t subPage = 1;
    int32_t pageCount = 5;
    // The flight phase: the top of climb and the top of descent passed, the cruise reached.
    bool climbDone = false;
    bool descentStarted = false;
    bool cruiseReached = false;
    bool predictingAlternate = false;
    bool reserved = false;
    // VNAV flies the descent path to the approach (cleared when the plan ends without one).
    bool descentPathMode = true;
    bool vnavFlagB = true;
    bool vnavFlagC = false;
    bool pathAngleMessageShown = false;
    bool altConstraintMessageShown = false;
    // The fuel on board when the last fix was passed; follows the fuel gauge on the ground.
    float fuelAtLastFix = 0.0f;
    // Along the route from the origin to the step-climb point.
    double stepDistance = 0.0;
    int32_t descentSpeedConstraint = 0;
    bool isManualClimb = false;
    int32_t manualClimbIas = 270;
    double manualClimbMach = 0.56;
    // The schedule's speeds in force, and those after the speed limit and the leg's constraint.
    SpeedTarget climbTarget{270, 0.56};
    SpeedTarget climbLimitedTarget{270, 0.56};
    // 0 LRC, 1 MAX END, 2 MAX SPD, 3 MANUAL.
    int32_t cruizeMode = 0;
    int32_t manualCruiseIas = 310;
    double manualCruiseMach = 0.76;
    SpeedTarget cruiseTarget{300, 0.75};
    SpeedTarget cruiseLimitedTarget{300, 0.75};
    // 0 the default schedule, 1 VMO/MMO, 2 MANUAL.
    int32_t descentMode = 0;
    int32_t manualDescentIas = 310;
    double manualDescentMach = 0.76;
    double manualDescentAngle = 3.0;
    double vmoMmoDescentAngle = 4.0;
    SpeedTarget descentTarget{300, 0.75};
    SpeedTarget descentLimitedTarget{300, 0.75};
    int32_t depAppSubPage = 1;
    int32_t depAppPageCount = 2;
    // The departure speed applies below depAgl ft above the field and within depDist nm; the
    // approach speed within appDist nm of the destination.
    int32_t depIas = 200;
    int32_t depAgl = 2500;
    int32_t appIas = 200;
    double depDist = 4.0;
    double appDist = 15.0;
    bool isFirstAppWpt = true;
    // 0 NBAA, 1 fixed weight, 2 time (minutes).
    int32_t fuelReserveType = 0;
    double fuelReserveWeight = kNotEntered;
    double fuelReserveTime = kNotEntered;
    // Taxi and take-off fuel, burned down on the ground and 0 once airborne; landing fuel.
    double toFuel = 400.0;
    double landFuel = 200.0;
    int32_t transAlt = 18000;
    // The speed limit below its altitude; 0 = none.
    int32_t altLim = 10000;
    int32_t spdLim = 250;
    // The initial cruise altitude (entered or chosen) and the one in use, moved by step climbs.
    int32_t initCrzAlt = 0;
    int32_t cruiseAltitude = 0;
    int32_t crzIsaDev = 0;
    int32_t optimumCruiseAltitude = 0;
    int32_t stepIncrement = 0;
    // The predictions are still to choose the initial cruise altitude; they chose it.
    bool optimumRequested = true;
    bool isOptimum = false;
    int32_t crzWindDir = 0;
    int32_t crzWindStrength = 0;
    int32_t crzWindAlt = 0;
    // The wind the cruise prediction flies in; its component along the route, tailwind >= 0.
    int32_t cruiseWindDirection = 0;
    int32_t cruiseWindSpeed = 0;
    int32_t cruiseWindComponent = 0;
    // VNAV moved the cruise altitude: the climb runs again to the step-climb altitude.
    bool stepClimbActive = false;
    bool vnavAltitudeFlagB = false;
    double bow = 28000.0;
    double paxWeight = 190.0;
    double cargoWeight = kNotEntered;
    // The fuel on board as entered, reduced by the fuel burned since.
    double fuelWeight = kNotEntered;
    double stepRatio = 1.0;
    int32_t passengerCount = -1;
    // The predictions ran on complete entries: the tables learn in flight and are kept at stop.
    bool initialised = false;
    // Confirmed entries whose route became unusable (no destination, no route end): the
    // predictions come back by themselves once the route is complete again.
    bool awaitingRoute = false;
    bool destFuelMessageShown = false;
    bool reserveFuelMessageShown = false;
    bool stepPlanned = false;

    // Not part of the per-flight state.
    uint32_t predictionTime = 0;
    PerfPrediction prediction;
    // A copy of prediction until airborne with the initialisation confirmed.
    PerfPrediction departurePrediction;
    PerfPrediction alternatePrediction;
    // The route flown with the planned step climb; the predictions compare it with prediction.
    PerfPrediction stepClimbPrediction;
    // The route predictions include the step climb.
    bool predictStepClimb = false;
    int32_t lastMaxAltitude = 0;
    int32_t lastOptimumAltitude = 0;

    // Reads section "Fms.Perf"; a missing key keeps the field as it is.
    void readSettings(const Aircraft& aircraft);
    // The per-flight state: five blobs "<prefix>.data.1" .. "<prefix>.data.5".
    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) const;
    // False, the record as it was, when a value read is one the record never holds.
    bool load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix);

    // Basic operating weight, passengers, cargo and fuel are all entered.
    bool isComplete() const;
    // Pounds: passengers, basic operating weight, cargo and fuel; completeness is not tested.
    double grossWeight() const;

    // The descent schedule in force; VMO and MMO are the air data's present limits.
    int32_t descentSpeed(float vmo) const;
    double descentMach(float mmo) const;
    double descentAngle() const;
    double cruiseMach(float mmo) const;

    // The ceiling and the optimum altitude (ft) for the present or a given gross weight at the
    // cruise temperature; 0 until the initialisation is confirmed.
    int32_t maxAltitude() const;
    int32_t optimumAltitude() const;
    int32_t maxAltitudeForWeight(float weight) const;
    int32_t optimumAltitudeForWeight(float weight) const;

    // The pilot's entries, checked against their ranges: nullptr when taken, otherwise the
    // message that refuses it, with nothing changed.
    enum class Weight { Bow, Cargo, Fuel, Reserve };
    const char* enterWeight(Weight weight, double pounds);
    // A passenger weight of 0 keeps the one in use.
    const char* enterPassengers(int32_t count, double weightEach);
    const char* enterIsaDeviation(int32_t degrees);
    const char* enterManualCruiseSpeed(int32_t ias, double mach);
    const char* enterDescentAngle(double degrees);
    // Refused below the flight director's preselected altitude.
    const char* enterInitialCruiseAltitude(int32_t altitude, float preselect);

private:
    int32_t ceilingLookup(float weight, bool optimum) const;
};

} // namespace tavi
