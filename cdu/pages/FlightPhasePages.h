#pragma once

#include <cstddef>
#include <cstdint>

namespace tavi {

class Adc;
class Fms;
struct LegPrediction;
struct SpeedTarget;

// CLIMB, CRUISE and DESCENT: for each phase the schedule in force, where it ends (top of
// climb, step climb, bottom of descent) with the time, distance and fuel to get there, and the
// speed the page commands now; CRUISE's second sub-page gives the range down to the reserve
// fuel and the distance and fuel at the top of descent.
class FlightPhasePages {
public:
    explicit FlightPhasePages(Fms& fms) : fms(fms) {}

    void registerPages();

    void drawClimb() const;
    void drawCruise() const;
    void drawDescent() const;
    void onClimbKey(int32_t key);
    void onCruiseKey(int32_t key);
    void onDescentKey(int32_t key);

    enum class Phase { Climb, Cruise, Descent };
    // The speed (kt) and Mach number the page commands at an altitude (ft) in a phase, and the
    // calibrated airspeed of that Mach number there.
    struct SpeedCommand {
        int32_t speed = 0;
        double mach = 0.0;
        int32_t machCas = 0;
    };
    SpeedCommand pageSpeedCommand(Phase phase, double altitude) const;

    // Seconds and nautical miles flown at the cruise altitude until the fuel is down to the
    // reserve, in 10 nm steps at the present weight.
    LegPrediction rangeToReserve() const;
    // The steps of the range are bounded: tables that burn no fuel would never reach the
    // reserve.
    static constexpr int32_t kMaxRangeSteps = 2000;

    int32_t cruiseSubPage = 1;
    int32_t cruisePageCount = 2;

private:
    bool predictionsAvailable() const;
    void drawSpeedCommand(const SpeedCommand& command) const;
    void drawTimeTo(double seconds, double timeOfDay) const;
    // The phase's speed and Mach pair as the title row shows it, ending before the column.
    void drawSchedule(int32_t speed, double mach, int32_t endColumn, const char* phase) const;
    void drawCruiseStepSubPage() const;
    void drawCruiseRangeSubPage() const;
    void drawStepClimb() const;
    double timeToTopOfClimb() const;
    double distanceToTopOfClimb() const;
    // The leg where the descent reaches its first constraint after the top of descent.
    std::size_t bottomOfDescentLeg() const;
    double altitude() const;
    double zuluSeconds() const;
    double activeLegAlongTrack() const;
    const Adc* adc() const;

    Fms& fms;
};

} // namespace tavi
