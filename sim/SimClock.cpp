#include "sim/SimClock.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavi::sim {

namespace {

constexpr int kLocalHoursToken = 3;
constexpr int kLocalMinutesToken = 4;
constexpr char kZuluTimeCode[] = "(P:ZULU TIME, seconds)";
constexpr char kZuluYearCode[] = "(P:ZULU YEAR, number)";
constexpr char kZuluMonthCode[] = "(P:ZULU MONTH OF YEAR, number)";
constexpr char kZuluDayCode[] = "(P:ZULU DAY OF MONTH, number)";
constexpr double kCivilTwilightDegrees = -6.0;
constexpr double kObliquityDegrees = 23.44;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

SimClock::SimClock(Panel& panel) : panel(panel) {
    setTimeOfDay(kDay);
}

void SimClock::start(std::chrono::sys_days date, double secondsOfDay) {
    running = true;
    day = date;
    seconds = 0.0;
    advance(secondsOfDay);
}

void SimClock::advance(double elapsed) {
    seconds += elapsed;
    const double days = std::floor(seconds / kSecondsPerDay);
    day += std::chrono::days(static_cast<int>(days));
    seconds -= days * kSecondsPerDay;
}

void SimClock::publish(double latitude, double longitude) {
    if (!running) {
        return;
    }
    const std::chrono::year_month_day utc(day);
    setNumber(kZuluTimeCode, seconds);
    setNumber(kZuluYearCode, static_cast<int>(utc.year()));
    setNumber(kZuluMonthCode, static_cast<unsigned>(utc.month()));
    setNumber(kZuluDayCode, static_cast<unsigned>(utc.day()));
    const double local =
        std::fmod(seconds + timeZoneHours(longitude) * 3600.0 + kSecondsPerDay, kSecondsPerDay);
    panel.setToken(kLocalHoursToken, std::floor(local / 3600.0));
    panel.setToken(kLocalMinutesToken, std::floor(std::fmod(local, 3600.0) / 60.0));
    setTimeOfDay(timeOfDay(day, seconds, latitude, longitude));
}

void SimClock::setTimeOfDay(int32_t timeOfDay) {
    CalculatorResult result;
    result.number = timeOfDay;
    result.integer = timeOfDay;
    panel.setCalculatorResult(kTimeOfDayCode, result);
}

void SimClock::setNumber(const char* code, double value) {
    CalculatorResult result;
    result.number = value;
    result.integer = static_cast<int32_t>(value);
    panel.setCalculatorResult(code, result);
}

int SimClock::timeZoneHours(double longitude) {
    return static_cast<int>(std::lround(std::remainder(longitude, 360.0) / 15.0));
}

double SimClock::sunElevation(std::chrono::sys_days date, double secondsOfDay, double latitude,
                              double longitude) {
    const std::chrono::year_month_day utc(date);
    const auto newYear = std::chrono::sys_days(utc.year() / std::chrono::January / 1);
    const double dayOfYear = (date - newYear).count() + secondsOfDay / kSecondsPerDay;
    const double declination =
        -kObliquityDegrees * std::cos(radians(360.0 / 365.0 * (dayOfYear + 10.0)));
    const double solarHours = secondsOfDay / 3600.0 + longitude / 15.0;
    const double hourAngle = 15.0 * (solarHours - 12.0);
    const double sine =
        std::sin(radians(latitude)) * std::sin(radians(declination)) +
        std::cos(radians(latitude)) * std::cos(radians(declination)) * std::cos(radians(hourAngle));
    return std::asin(std::clamp(sine, -1.0, 1.0)) * 180.0 / std::numbers::pi;
}

int32_t SimClock::timeOfDay(std::chrono::sys_days date, double secondsOfDay, double latitude,
                            double longitude) {
    const double elevation = sunElevation(date, secondsOfDay, latitude, longitude);
    if (elevation >= 0.0) {
        return kDay;
    }
    if (elevation < kCivilTwilightDegrees) {
        return kNight;
    }
    // Before local solar noon the sun rises.
    const double solarHours = std::fmod(secondsOfDay / 3600.0 + longitude / 15.0 + 48.0, 24.0);
    return solarHours < 12.0 ? kDawn : kDusk;
}

} // namespace tavi::sim
