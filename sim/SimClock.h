#pragma once

#include "sim/Panel.h"

#include <chrono>
#include <cstdint>

namespace tavi::sim {

// The simulator's date and time. Once started, UTC advances with simulated time, and the local
// time of the aircraft's time zone and the time of day (dawn, day, dusk, night) follow from it
// and from where the aircraft is. Until then the test bed sets what the gauges read itself.
//
// Local time is UTC plus one hour for every 15 degrees of longitude, rounded to the nearest
// hour. The time of day follows the sun's elevation (declination and hour angle of the
// textbook approximation, within a degree): night below -6 degrees, dawn or dusk from -6 to
// 0 degrees, day above.
class SimClock {
public:
    // The time of day as calculator code reads it: 0 dawn, 1 day, 2 dusk, 3 night.
    static constexpr const char* kTimeOfDayCode = "(E:TIME OF DAY,Enum)";
    static constexpr int32_t kDawn = 0;
    static constexpr int32_t kDay = 1;
    static constexpr int32_t kDusk = 2;
    static constexpr int32_t kNight = 3;
    static constexpr double kSecondsPerDay = 86400.0;

    // By day, with no date or time told until the clock starts.
    explicit SimClock(Panel& panel);

    // The UTC date and the seconds of that day; the clock runs from here on.
    void start(std::chrono::sys_days date, double secondsOfDay);
    bool isRunning() const { return running; }
    void advance(double seconds);
    // Publishes the date, the times and the time of day for an aircraft at this position.
    void publish(double latitude, double longitude);
    // The test bed's time of day while the clock does not run.
    void setTimeOfDay(int32_t timeOfDay);

    std::chrono::sys_days date() const { return day; }
    double secondsOfDay() const { return seconds; }
    // Hours of the aircraft's time zone ahead of UTC.
    static int timeZoneHours(double longitude);
    // Degrees of the sun above the horizon at the position, for a UTC date and time.
    static double sunElevation(std::chrono::sys_days date, double secondsOfDay, double latitude,
                               double longitude);
    static int32_t timeOfDay(std::chrono::sys_days date, double secondsOfDay, double latitude,
                             double longitude);

private:
    void setNumber(const char* code, double value);

    Panel& panel;
    bool running = false;
    std::chrono::sys_days day{};
    double seconds = 0.0;
};

} // namespace tavi::sim
