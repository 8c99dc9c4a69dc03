#pragma once

#include "avionics/SensorValidity.h"
#include "core/DigitalFilter.h"
#include "core/SimVar.h"
#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

class Baro;
class Mechanisation;

// Flight phases of the air data computer.
enum FlightPhase : int32_t {
    kTakeoffPhase = 0,
    kLandingPhase = 1,
    kAirbornePhase = 2,
    kOnGroundPhase = 3,
};

// The measurement groups of the air data validity flags. The screens alone read the altitude
// and angle-of-attack groups.
enum AirDataGroup : int {
    kAirspeedGroup = 0,
    kMachGroup = 1,
    kAltitudeGroup = 2,
    kAngleOfAttackGroup = 3,
};

// The air data computer: two channels (side 1 and side 2) of speeds, altitudes and temperatures
// from the simulator's air data, and the airframe's speed limits: the maximum operating speed,
// the flap and gear limit speeds, the minimum speed with its stall warning, the overspeed
// warning, the four reference speeds and the flight phase. It also holds the engines'
// thrust-lever/N1 law. Speeds are in knots, altitudes in feet, temperatures in degrees Celsius,
// times in milliseconds of simulation time; side indices count from 0.
class Adc : public System {
public:
    static constexpr float vmo = 320.0f;
    static constexpr float mmo = 0.78f;
    // Kilograms: the weights the speed tables cover.
    static constexpr float minWeight = 12000.0f;
    static constexpr float maxWeight = 22500.0f;
    static constexpr int kSpeedBugCount = 4;
    static constexpr int32_t kMinReferenceSpeed = 89;
    static constexpr int32_t kMaxReferenceSpeed = 200;

    Adc();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    bool isOverspeed1() const { return isOverspeed(0); }
    bool isOverspeed2() const { return isOverspeed(1); }

    // 1..4: the reference speed selected for editing; 0 when none is.
    int selectedSpeedBug() const;
    // Selects the reference speed (1..4) for editing, or none when it is the one selected or
    // not a reference speed at all; returns the previous selection.
    int selectSpeedBug(int index);
    void clampSpeedBugs();

    // Calibrated airspeed for a Mach number at the present pressure altitude.
    double casFromMach(double mach) const;
    // Mach number for a calibrated airspeed at the present static pressure.
    double machFromCas(double cas) const;
    // At a pressure altitude; altitudes below 0 are taken as 0.
    static double machFromCasAtAltitude(double cas, double feet);
    // The ground speed flown at a calibrated airspeed along a course (degrees true) in a wind
    // blowing from windDirection.
    static double groundSpeedFromCas(double cas, double feet, double staticAirTemperature,
                                     double course, double windDirection, double windSpeed);

    // The thrust lever position that gives an N1 (%) at the present conditions; negative for
    // reverse thrust.
    double throttleForN1(double n1, bool reverse) const;
    // The N1 (%) that a thrust lever position gives at the present conditions.
    double n1ForThrottle(double lever) const;

    bool isAirspeedValid(int side) const { return !validity[kAirspeedGroup][side].invalid; }
    bool isMachValid(int side) const { return !validity[kMachGroup][side].invalid; }

    bool started = false;
    // Calibrated airspeed computed from the Mach number.
    float indicatedAirspeed = 0.0f;
    float smoothedAirspeed = 0.0f;
    float airspeedFilterState = 0.0f;
    // The speed the aircraft will gain in 10 s, -30..30.
    float airspeedTrend = 0.0f;
    float trueAirspeed = 0.0f;
    float smoothedTrueAirspeed = 0.0f;
    float trueAirspeedFilterState = 0.0f;
    float flapLimitSpeed = vmo;
    float gearLimitSpeed = vmo;
    // With the main altimeter setting.
    float indicatedAltitude = 0.0f;
    float trueAltitude = 0.0f;
    float pressureAltitude = 0.0f;
    float groundElevation = 0.0f;
    float mach = 0.0f;
    // The overspeed threshold and its Mach number.
    float maxOperatingSpeed = 0.0f;
    float maxOperatingMach = 0.0f;
    // The stall speed for weight, flaps and gear; -1 until first computed.
    float minimumSpeed = -1.0f;
    // Degrees true, from which the wind blows.
    float windDirection = 0.0f;
    float windSpeed = 0.0f;
    // Degrees, positive when the track lies right of the heading.
    float driftAngle = 0.0f;
    float smoothedDriftAngle = 0.0f;
    float driftFilterState = 0.0f;
    float totalAirTemperature = 0.0f;
    float staticAirTemperature = 0.0f;
    // 1 / delta at the indicated altitude.
    float inversePressureRatio = 1.0f;
    // Stall angle of attack minus angle of attack, not below 0.
    float aoaMargin = 0.0f;
    // Degrees.
    float angleOfAttack = 0.0f;
    float stallAngleOfAttack = 0.0f;
    float sideslipAngle = 0.0f;
    bool lowAoaMargin = false;
    bool belowMinimumSpeed = false;
    // The screens show the wind.
    bool windShown = false;
    // Kilograms, limited to minWeight..maxWeight.
    float weight = 0.0f;
    // Degrees, 0..45.
    float flapAngle = 0.0f;
    // 0 up .. 1 down.
    float gearExtension = 0.0f;
    float previousWeight = 0.0f;
    float previousFlapAngle = 0.0f;
    float previousGearExtension = 0.0f;
    float minimumSpeedWeight = 0.0f;
    // By measurement group and side.
    std::array<std::array<SensorValidity, 2>, 4> validity{};
    // When the airspeed, altitude and angle-of-attack groups last became invalid on either side.
    std::array<uint32_t, 3> invalidSince{};
    std::array<int32_t, kSpeedBugCount> referenceSpeeds{89, 89, 89, 89};
    // 0 hidden, 1 shown, 2 shown and selected for editing.
    std::array<int32_t, kSpeedBugCount> referenceSpeedStates{};
    bool flightPhaseChanged = false;
    int32_t flightPhase = kLandingPhase;
    uint32_t touchdownTime = 0;
    uint32_t liftoffTime = 0;
    bool wasOnGround = false;
    // At the pressure altitude, and the static air temperature's deviation from it.
    float isaTemperature = 0.0f;
    float isaDeviation = 0.0f;
    float gLoad = 1.0f;
    float filteredGLoad = 1.0f;
    // The screen that edits a reference speed clears its flag when it first sets it.
    std::array<bool, kSpeedBugCount> referenceSpeedUnset{true, true, true, true};
    Baro* baro = nullptr;
    Mechanisation* mechanisation = nullptr;
    SimVar ambientTemperatureVar;
    SimVar totalAirTemperatureVar;
    SimVar totalWeightVar;
    SimVar machVar;
    SimVar indicatedAirspeedVar;
    SimVar trueAirspeedVar;
    SimVar angleOfAttackVar;
    SimVar sideslipVar;
    SimVar gForceVar;
    DigitalFilter trendRateLimiter;
    DigitalFilter trendLag;
    DigitalFilter gFilter;
    // Settings that nothing in the module reads.
    double thrustDev = 0.0;
    double idleFuelFlowScalar = 0.5;
    // "(P:ZULU TIME, seconds)", for the clocks.
    double zuluSeconds = 0.0;
    // A side's self-test runs for 60 s after the side gains power.
    std::array<bool, 2> selfTest{};
    std::array<bool, 2> failed{};
    std::array<bool, 2> powered{true, true};
    std::array<uint32_t, 2> powerOnTime{};

private:
    bool isOverspeed(int side) const;
    void readSimulator(const Aircraft& aircraft);
    void updateMinimumSpeed(const Aircraft& aircraft);
    float lookUpMinimumSpeed() const;
    void updateStallAngle(const Aircraft& aircraft, bool onGround);
    void smoothAirspeeds();
    void hideReferenceSpeedsWithoutPower(const Aircraft& aircraft);
    void warnOfOverspeed(const Aircraft& aircraft);
    void updateTrend(const Aircraft& aircraft, float previousSmoothedAirspeed);
    void updateAltitudes(const Aircraft& aircraft);
    void updateMaxOperatingSpeed();
    void updateDriftAndWind(const Aircraft& aircraft, bool onGround);
    void updateInversePressureRatio();
    void updateFlightPhase(const Aircraft& aircraft, bool onGround);
    int32_t nextFlightPhase(const Aircraft& aircraft, bool onGround) const;
    void updateLimitSpeeds();
    void updateStallWarning(const Aircraft& aircraft, bool onGround);
    double staticPressureRatio() const;
    double machFraction() const;
    double pressureFraction() const;
    double leverIndex(double lever) const;

    // The ice speeds in force at the last minimum-speed lookup.
    bool minimumSpeedIced = false;
    // The warning request of the present overspeed has risen.
    bool overspeedWarned = false;
};

} // namespace tavi
