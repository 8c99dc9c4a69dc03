#include "avionics/Clock.h"

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "fms/Fms.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr int kLocalHoursToken = 3;
constexpr int kLocalMinutesToken = 4;
constexpr int kClock1Bus = Electric::kEssentialBus1;
constexpr int kClock2Bus = Electric::kDcBus2;
constexpr float kClockLoadAmps = 1.0f;
constexpr uint32_t kBlinkPeriodMs = 1000;
constexpr uint32_t kDatePeriodMs = 4000;
constexpr int32_t kMaxHours = 99;
constexpr int32_t kSecondsPerDay = 86400;
constexpr int32_t kHoursPerDay = 24;

// A value the simulator gave, truncatedOrZero; 0 when it is no number an int32 holds.
int32_t truncatedOrZero(double value) {
    if (!std::isfinite(value) || value >= 2147483648.0 || value <= -2147483649.0) {
        return 0;
    }
    return static_cast<int32_t>(value);
}

// The value brought into 0..period - 1.
int32_t wrapped(int32_t value, int32_t period) {
    return (value % period + period) % period;
}

// The colon of a clock face blinks out in the second half of every second.
bool firstHalfSecond(uint32_t now) {
    return now % kBlinkPeriodMs < kBlinkPeriodMs / 2;
}

std::string hoursAndMinutes(int32_t hours, int32_t minutes, bool colon) {
    return format(colon ? "%02d:%02d" : "%02d %02d", hours, minutes);
}

// A counted time as hours and minutes, up to 99 hours; minutes alone under one hour.
std::string durationText(uint32_t ms, bool colon) {
    const uint32_t totalMinutes = ms / 1000 / 60;
    const auto hours = static_cast<int32_t>(std::min<uint32_t>(totalMinutes / 60, kMaxHours));
    const auto minutes = static_cast<int32_t>(totalMinutes % 60);
    if (hours == 0) {
        return format(colon ? "  :%02d" : "   %02d", minutes);
    }
    return hoursAndMinutes(hours, minutes, colon);
}

bool evaluateNumber(const char* code, int32_t& result) {
    double number = 0.0;
    if (!panelServices().executeCalculatorCode(code, &number, nullptr, nullptr)) {
        return false;
    }
    result = truncatedOrZero(number);
    return true;
}

} // namespace

void Clock::update(Aircraft& aircraft) {
    electric = aircraft.electric();
    clock1Powered = electric && electric->isPowered(kClock1Bus);
    clock2Powered = electric && electric->isPowered(kClock2Bus);
    const Fms* fms = aircraft.fms();
    airborne = fms && fms->airborne;
    composeTimeAndDate(aircraft);
    countElapsedTime(aircraft);
    runChronometers(aircraft);
    if (aircraft.simTimeMs != 0) {
        started = true;
    }
}

void Clock::composeTimeAndDate(const Aircraft& aircraft) {
    readZuluDate();
    const uint32_t now = aircraft.simTimeMs;
    const bool colon = firstHalfSecond(now);

    const Adc* adc = aircraft.adc();
    // Times of day stay within 00:00..23:59: the simulator's 86,400 s at midnight is 00:00.
    const int32_t utcSeconds = wrapped(adc ? truncatedOrZero(adc->zuluSeconds) : 0, kSecondsPerDay);
    utcText = hoursAndMinutes(utcSeconds / 3600, utcSeconds % 3600 / 60, colon);
    localTimeText = hoursAndMinutes(
        wrapped(truncatedOrZero(aircraft.tokens.value(kLocalHoursToken)), kHoursPerDay),
        truncatedOrZero(aircraft.tokens.value(kLocalMinutesToken)), colon);
    dateText = now % kDatePeriodMs < kDatePeriodMs / 2
                   ? format("%5d", zuluDate.year)
                   : format("%02d %02d", zuluDate.day, zuluDate.month);
}

// A date the simulator cannot give keeps the last one it gave.
void Clock::readZuluDate() {
    ZuluDate date;
    if (evaluateNumber("(P:ZULU YEAR, number)", date.year) &&
        evaluateNumber("(P:ZULU MONTH OF YEAR, number)", date.month) &&
        evaluateNumber("(P:ZULU DAY OF MONTH, number)", date.day)) {
        zuluDate = date;
    }
}

// The flight time counts while the aircraft is in the air; the delta is 0 while paused.
void Clock::countElapsedTime(const Aircraft& aircraft) {
    if (airborne) {
        const auto delta = static_cast<uint32_t>(aircraft.frameDeltaMs);
        elapsed1 += delta;
        elapsed2 += delta;
    }
    const bool colon = !airborne || firstHalfSecond(aircraft.simTimeMs);
    elapsedText1 = durationText(elapsed1, colon);
    elapsedText2 = durationText(elapsed2, colon);
}

void Clock::runChronometers(const Aircraft& aircraft) {
    const auto delta = static_cast<uint32_t>(aircraft.frameDeltaMs);
    const bool firstHalf = firstHalfSecond(aircraft.simTimeMs);
    if (chronoState1 == kChronoRunning) {
        chrono1 += delta;
    }
    if (chronoState2 == kChronoRunning) {
        chrono2 += delta;
    }
    chronoText1 = durationText(chrono1, chronoState1 != kChronoRunning || firstHalf);
    chronoText2 = durationText(chrono2, chronoState2 != kChronoRunning || firstHalf);
}

// A clock without power loses its chronometer.
void Clock::addElectricLoad(Aircraft&, BusLoads& loads) {
    if (clock1Powered) {
        loads[kClock1Bus] += kClockLoadAmps;
    } else if (chronoState1 != kChronoReset) {
        chrono1 = 0;
        chronoState1 = kChronoReset;
    }
    if (clock2Powered) {
        loads[kClock2Bus] += kClockLoadAmps;
    } else if (chronoState2 != kChronoReset) {
        chrono2 = 0;
        chronoState2 = kChronoReset;
    }
}

void Clock::modeButton1() {
    modeButton(showChrono1, elapsed1);
}

void Clock::modeButton2() {
    modeButton(showChrono2, elapsed2);
}

void Clock::modeButton(bool& showChrono, uint32_t& elapsed) const {
    if (!airborne && !showChrono && elapsed != 0) {
        elapsed = 0;
        return;
    }
    showChrono = !showChrono;
}

void Clock::chronoButton1() {
    chronoButton(chronoState1, chrono1, showChrono1);
}

void Clock::chronoButton2() {
    chronoButton(chronoState2, chrono2, showChrono2);
}

void Clock::chronoButton(int32_t& state, uint32_t& chrono, bool& showChrono) {
    switch (state) {
    case kChronoReset:
        state = kChronoRunning;
        showChrono = true;
        break;
    case kChronoRunning:
        state = kChronoStopped;
        break;
    default:
        state = kChronoReset;
        chrono = 0;
        showChrono = false;
        break;
    }
}

} // namespace tavi
