#include "cdu/pages/FlightPhasePages.h"

#include "airframe/Mechanisation.h"
#include "avionics/Adc.h"
#include "avionics/AirData.h"
#include "avionics/Gps.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PerfPageText.h"
#include "core/Aircraft.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "fms/LegPrediction.h"
#include "fms/SpeedSchedules.h"
#include "navdata/GcNav.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using namespace navpages;
using namespace pagetext;
using namespace perfpages;

namespace {

// Within this many seconds of a holding fix or an orbit the page commands their speed.
constexpr double kPatternLeadSeconds = 90.0;
// Descending, the speed limit holds this far (ft) above its altitude.
constexpr int32_t kDescentLimitMargin = 2000;
// The speed limit is flown this far (kt) below its value.
constexpr int32_t kSpeedLimitMargin = 10;
constexpr float kRangeStep = 10.0f;

const SpeedTarget& phaseTarget(const PerfInit& perf, FlightPhasePages::Phase phase) {
    switch (phase) {
    case FlightPhasePages::Phase::Climb:
        return perf.climbLimitedTarget;
    case FlightPhasePages::Phase::Cruise:
        return perf.cruiseLimitedTarget;
    default:
        return perf.descentLimitedTarget;
    }
}

void putGreen(CduScreen& screen, int32_t row, int32_t column, const std::string& text) {
    screen.putText(row, column, text, CduColour::Green, true, false);
}

} // namespace

void FlightPhasePages::registerPages() {
    bindPage(fms.pages[kClimb], *this, &FlightPhasePages::drawClimb, &FlightPhasePages::onClimbKey);
    bindPage(fms.pages[kCruise], *this, &FlightPhasePages::drawCruise,
             &FlightPhasePages::onCruiseKey);
    bindPage(fms.pages[kDescent], *this, &FlightPhasePages::drawDescent,
             &FlightPhasePages::onDescentKey);
    fms.pages[kCruise].subPage = &cruiseSubPage;
}

const Adc* FlightPhasePages::adc() const {
    const Aircraft* aircraft = fms.owner();
    return aircraft ? aircraft->adc() : nullptr;
}

double FlightPhasePages::altitude() const {
    const Adc* air = adc();
    return air ? air->indicatedAltitude : 0.0;
}

double FlightPhasePages::zuluSeconds() const {
    const Adc* air = adc();
    return air ? air->zuluSeconds : 0.0;
}

double FlightPhasePages::activeLegAlongTrack() const {
    const LnavState* lnav = fms.lnavState();
    return lnav ? lnav->legAlongTrack : 0.0;
}

bool FlightPhasePages::predictionsAvailable() const {
    return activeFlightPlan.isBeforeRouteEnd() && fms.perfInit.initialised &&
           !activeFlightPlan.legs.empty();
}

FlightPhasePages::SpeedCommand FlightPhasePages::pageSpeedCommand(Phase phase,
                                                                  double altitude) const {
    const PerfInit& perf = fms.perfInit;
    const SpeedTarget& target = phaseTarget(perf, phase);
    const Adc* air = adc();
    const FlightPlan& plan = activeFlightPlan;
    double speed = air ? std::min(air->maxOperatingSpeed, air->gearLimitSpeed) : Adc::vmo;
    auto mach = static_cast<float>(target.mach);
    if (plan.activeLeg < plan.legCount()) {
        const FlightPlanLeg& active = plan.legs[plan.activeLeg];
        const FlightPlanLeg& leg = plan.legs[std::min<size_t>(plan.activeLeg, plan.legCount() - 1)];
        const LnavState* lnav = fms.lnavState();
        const bool patternAhead = lnav && lnav->valid && lnav->timeToGo <= kPatternLeadSeconds;
        if (active.holding.entered) {
            speed = active.holding.defaultSpeed;
        } else if (leg.isHoldLeg() && patternAhead) {
            speed = active.holding.defaultSpeed;
        } else if (plan.orbit.entered) {
            speed = plan.orbit.speed;
        } else if (active.orbit.active && patternAhead) {
            speed = active.orbit.speed;
        }
        if (active.vnav.hasSpeed) {
            if (active.vnav.speed != 0) {
                speed = std::min<double>(speed, active.vnav.speed);
            } else if (active.vnav.mach != 0.0f) {
                mach = std::min(mach, active.vnav.mach);
            }
        }
    }
    const int32_t limitAltitude = perf.altLim + (phase == Phase::Descent ? kDescentLimitMargin : 0);
    if (perf.spdLim > 0 && altitude < limitAltitude) {
        speed = std::min<double>(speed, perf.spdLim - kSpeedLimitMargin);
    }
    const Aircraft* aircraft = fms.owner();
    const Mechanisation* flaps = aircraft ? aircraft->mechanisation() : nullptr;
    if (flaps && flaps->flapAngle != 0.0f && air) {
        speed = std::min<double>(speed, air->flapLimitSpeed);
    }
    speed = std::min<double>(speed, target.ias);
    SpeedCommand command;
    command.speed = static_cast<int32_t>(std::trunc(speed));
    command.mach = std::min(static_cast<double>(mach), target.mach);
    command.machCas =
        static_cast<int32_t>(std::trunc(casFromMachAtAltitude(command.mach, altitude)));
    return command;
}

void FlightPhasePages::drawSpeedCommand(const SpeedCommand& command) const {
    CduScreen& screen = fms.screen;
    const std::string speed = FmsParser::formatInteger(command.speed);
    const bool speedLimits = command.speed < command.machCas;
    const auto slash = static_cast<int32_t>(speed.size()) + 1;
    screen.putText(4, 1, speed, CduColour::Cyan, speedLimits, false);
    screen.putText(4, slash, "/", CduColour::Cyan, true, false);
    screen.putText(4, slash + 1, FmsParser::formatMach(command.mach), CduColour::Cyan, !speedLimits,
                   false);
}

void FlightPhasePages::drawTimeTo(double seconds, double timeOfDay) const {
    const std::string time = FmsParser::formatElapsedTime(seconds) + "/";
    if (fms.airborne) {
        valueEndingAt(fms.screen, 2, 22, time + FmsParser::formatClockTime(timeOfDay) + "Z",
                      CduColour::Green);
    } else {
        valueEndingAt(fms.screen, 2, 17, time, CduColour::Green);
    }
}

void FlightPhasePages::drawSchedule(int32_t speed, double mach, int32_t endColumn,
                                    const char* phase) const {
    CduScreen& screen = fms.screen;
    valueEndingAt(screen, 0, endColumn,
                  FmsParser::formatInteger(speed) + "/" + FmsParser::formatMach(mach) + "M",
                  CduColour::Cyan);
    screen.putTextRight(0, 19, phase, CduColour::White, true, false);
    screen.drawPageNumber(1, 1);
}

double FlightPhasePages::timeToTopOfClimb() const {
    const FlightPlan& plan = activeFlightPlan;
    const PerfPrediction& p = fms.perfInit.prediction;
    const FlightPlanLeg& leg = plan.legs[std::min<size_t>(plan.activeLeg, plan.legCount() - 1)];
    const double x = activeLegAlongTrack();
    const double tocDistance = p[PerfPrediction::TocDistance];
    // A leg without length gives no share of its time.
    if (leg.distance <= 0.0) {
        return std::max(0.0, static_cast<double>(p[PerfPrediction::TocTime]));
    }
    if (plan.distanceFlown + leg.distance >= tocDistance) {
        const LnavState* lnav = fms.lnavState();
        const double timeToGo = lnav ? std::max(lnav->timeToGo, 0.0) : 0.0;
        return std::max(0.0, tocDistance - plan.distanceFlown - x) * timeToGo / leg.distance;
    }
    return p[PerfPrediction::TocTime] - std::max(0.0, leg.legTime * x / leg.distance);
}

double FlightPhasePages::distanceToTopOfClimb() const {
    return std::max(0.0, static_cast<double>(fms.perfInit.prediction[PerfPrediction::TocDistance]) -
                             activeFlightPlan.distanceFlown - activeLegAlongTrack());
}

void FlightPhasePages::drawClimb() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    drawSchedule(perf.isManualClimb ? perf.manualClimbIas : perf.defaultClimbIas,
                 perf.isManualClimb ? perf.manualClimbMach : perf.defaultClimbMach, 12, "CLIMB");
    label(screen, 1, 2, "TOC ALT");
    labelEndingAt(screen, 1, 21, "ETE/ETA");
    label(screen, 3, 2, "SPD CMD");
    label(screen, 5, 2, "DTG<\u2013\u2013TOC\u2013\u2013>FUEL REM");
    screen.drawLeftPrompt("TAKEOFF", false, 7);
    screen.drawRightPrompt("CRUISE", false, 7);
    if (!predictionsAvailable()) {
        putGreen(screen, 2, 4, kNotInitialized);
        return;
    }
    if (perf.cruiseReached) {
        valueEndingAt(screen, 2, 21, "PAST", CduColour::Green);
        return;
    }
    const PerfPrediction& p = perf.prediction;
    screen.putText(
        2, 1, fms.parser.formatAltitude(static_cast<int32_t>(p[PerfPrediction::ClimbAltitude])),
        CduColour::Cyan, true, false);
    const double time = timeToTopOfClimb();
    drawTimeTo(time, time + zuluSeconds());
    drawSpeedCommand(pageSpeedCommand(Phase::Climb, altitude()));
    putGreen(screen, 6, 1, FmsParser::formatLongDistance(distanceToTopOfClimb()));
    valueEndingAt(screen, 6, 22,
                  FmsParser::formatThousands(p[PerfPrediction::TocFuelOnBoard], fms.fuelUseKg),
                  CduColour::Green);
}

std::size_t FlightPhasePages::bottomOfDescentLeg() const {
    const FlightPlan& plan = activeFlightPlan;
    const double todDistance = fms.perfInit.prediction[PerfPrediction::TodDistance];
    const std::size_t last = plan.legCount() - 1;
    double sum = 0.0;
    std::size_t i = plan.activeLeg;
    while (i < plan.legCount() && todDistance >= sum + plan.legs[i].distance) {
        sum += plan.legs[i].distance;
        ++i;
    }
    for (std::size_t b = std::min(i, last); b < plan.legCount(); ++b) {
        if (plan.legs[b].vnav.hasAltitude) {
            return b;
        }
    }
    return last;
}

void FlightPhasePages::drawDescent() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    drawSchedule(perf.descentSpeed(Adc::vmo), perf.descentMach(Adc::mmo), 10, "DESCENT");
    label(screen, 1, 2, "BOD ALT");
    labelEndingAt(screen, 1, 21, "ETE/ETA");
    label(screen, 3, 2, "SPD CMD");
    labelEndingAt(screen, 3, 22, "ANGLE");
    label(screen, 5, 2, "DTG<\u2013\u2013BOD\u2013\u2013>FUEL REM");
    screen.drawLeftPrompt("CRUISE", false, 7);
    screen.drawRightPrompt("LANDING", false, 7);
    if (!predictionsAvailable()) {
        putGreen(screen, 2, 4, kNotInitialized);
        return;
    }
    const FlightPlan& plan = activeFlightPlan;
    const std::size_t b = bottomOfDescentLeg();
    double time = 0.0;
    double distance = 0.0;
    for (std::size_t i = 0; i <= b; ++i) {
        time += plan.legs[i].legTime;
        distance += plan.legs[i].distance;
    }
    const FlightPlanLeg& bottom = plan.legs[b];
    screen.putText(2, 1, fms.parser.formatAltitude(bottom.vnav.altitude), CduColour::Cyan, true,
                   false);
    drawTimeTo(time, bottom.eta);
    const double h = perf.descentStarted ? altitude() : perf.cruiseAltitude;
    drawSpeedCommand(pageSpeedCommand(Phase::Descent, h));
    valueEndingAt(screen, 4, 23, FmsParser::formatOneDecimal(bottom.vnav.pathAngle),
                  CduColour::Cyan);
    putGreen(screen, 6, 1,
             FmsParser::formatDistance(std::max(0.0, distance - activeLegAlongTrack())));
    valueEndingAt(screen, 6, 22,
                  FmsParser::formatThousands(bottom.tfd.fuelRemaining, fms.fuelUseKg),
                  CduColour::Green);
}

void FlightPhasePages::drawCruise() const {
    CduScreen& screen = fms.screen;
    static constexpr const char* kTitles[] = {"LONG RANGE CRUISE", "MAX END CRUISE",
                                              "MAX SPEED CRUISE", "MANUAL CRUISE"};
    const int32_t mode = fms.perfInit.cruizeMode;
    if (mode >= 0 && mode <= 3) {
        screen.drawTitle(kTitles[mode]);
    }
    screen.drawPageNumber(cruiseSubPage, cruisePageCount);
    screen.drawLeftPrompt("CLIMB", false, 7);
    screen.drawRightPrompt("DESCENT", false, 7);
    if (cruiseSubPage == 1) {
        drawCruiseStepSubPage();
    } else {
        drawCruiseRangeSubPage();
    }
}

void FlightPhasePages::drawCruiseStepSubPage() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    label(screen, 1, 1, "CRZ ALT");
    label(screen, 1, 12, "OPT");
    labelEndingAt(screen, 1, 21, "STEP");
    label(screen, 3, 1, "SPD CMD");
    label(screen, 3, 10, "STEP ETE/ETA");
    label(screen, 5, 2, "DTG<\u2013STEP\u2013\u2013>FUEL REM");
    if (!predictionsAvailable()) {
        putGreen(screen, 2, 4, kNotInitialized);
        return;
    }
    const FmsParser& parser = fms.parser;
    screen.putText(2, 0, parser.formatAltitude(perf.initCrzAlt), CduColour::Cyan, true, false);
    screen.putText(2, 11, parser.formatAltitude(perf.lastOptimumAltitude), CduColour::Cyan, true,
                   false);
    valueEndingAt(screen, 2, 22, parser.formatAltitude(perf.initCrzAlt + perf.stepIncrement),
                  CduColour::Cyan);
    const SpeedCommand command =
        pageSpeedCommand(Phase::Cruise, std::max<double>(altitude(), perf.cruiseAltitude));
    const SpeedTarget& target = perf.cruiseLimitedTarget;
    std::string shown;
    if (target.ias > 0 && target.mach <= 0.0) {
        shown = FmsParser::formatInteger(command.speed);
    } else if (target.ias <= 0 && target.mach > 0.0) {
        shown = FmsParser::formatMach(perf.cruiseMach(Adc::mmo));
    } else {
        shown = command.speed < command.machCas ? FmsParser::formatInteger(command.speed)
                                                : FmsParser::formatMach(command.mach);
    }
    screen.putText(4, 0, shown, CduColour::Cyan, true, false);
    if (perf.stepPlanned && perf.stepRatio <= 1.0) {
        drawStepClimb();
    }
}

void FlightPhasePages::drawStepClimb() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    const FlightPlan& plan = activeFlightPlan;
    label(screen, 3, 10, "STEP ETE/ETA");
    const double d = perf.stepDistance - plan.distanceFlown - activeLegAlongTrack();
    if (d <= 0.0) {
        valueEndingAt(screen, 4, 22, "PAST", CduColour::Green);
        return;
    }
    double speed = 0.0;
    double time = 0.0;
    if (!perf.cruiseReached) {
        // The schedule is read, never updated: it works on a copy of the record.
        PerfInit record = perf;
        SpeedEnvelope envelope;
        SpeedSchedules schedules(record, envelope);
        const auto cruise = static_cast<float>(perf.cruiseAltitude);
        speed = Adc::groundSpeedFromCas(
            schedules.cruiseSpeedSchedule(cruise, plan, plan.activeLeg, false), cruise,
            isaTemperatureClamped(cruise), 0.0, 0.0, 0.0);
        time = timeToTopOfClimb();
    } else {
        const Aircraft* aircraft = fms.owner();
        const Gps* gps = aircraft ? aircraft->gps() : nullptr;
        speed = gps ? gps->groundSpeed : 0.0;
    }
    // Without a ground speed there is no time to the step to show.
    if (speed <= 0.0) {
        return;
    }
    time += d / speed * 3600.0;
    const std::string ete = FmsParser::formatElapsedTime(time) + "/";
    if (fms.airborne) {
        valueEndingAt(screen, 4, 22, ete + FmsParser::formatClockTime(time + zuluSeconds()) + "Z",
                      CduColour::Green);
    } else {
        valueEndingAt(screen, 4, 17, ete, CduColour::Green);
    }
}

LegPrediction FlightPhasePages::rangeToReserve() const {
    const PerfInit& perf = fms.perfInit;
    const FlightPlan& plan = activeFlightPlan;
    LegPrediction total;
    const float reserve = perf.prediction[PerfPrediction::ReserveFuel];
    const auto fuel = static_cast<float>(perf.fuelWeight);
    if (!(fuel > reserve)) {
        return total;
    }
    const double course = GcNav(plan.org.latitude, plan.org.longitude)
                              .courseTo(plan.dest.latitude, plan.dest.longitude);
    PerfInit record = perf;
    SpeedEnvelope envelope;
    SpeedSchedules schedules(record, envelope);
    PlanSpeedSchedule schedule(schedules, record, envelope, plan);
    schedule.setLeg(plan.activeLeg);
    PerfConditions conditions;
    conditions.cruiseAltitude = static_cast<float>(perf.initCrzAlt);
    conditions.isaDeviation = static_cast<float>(perf.crzIsaDev);
    const auto grossWeight = static_cast<float>(perf.grossWeight());
    for (int32_t step = 0; step < kMaxRangeSteps && fuel - reserve > total.fuel; ++step) {
        LegPrediction piece;
        fms.performance().legPrediction(piece, conditions.cruiseAltitude, grossWeight - total.fuel,
                                        static_cast<float>(course), kRangeStep, PerfWind{},
                                        conditions, schedule);
        total.add(piece);
    }
    return total;
}

void FlightPhasePages::drawCruiseRangeSubPage() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    label(screen, 1, 2, "RANGE<\u2013RESERVE\u2013>TIME");
    label(screen, 5, 2, "DTG<\u2013\u2013TOD\u2013\u2013>FUEL REM");
    if (!predictionsAvailable()) {
        putGreen(screen, 2, 4, kNotInitialized);
        return;
    }
    if (perf.descentStarted) {
        return;
    }
    const LegPrediction range = rangeToReserve();
    putGreen(screen, 2, 1, FmsParser::formatDistance(range.distance));
    valueEndingAt(screen, 2, 22, FmsParser::formatElapsedTime(range.time), CduColour::Green);
    const PerfPrediction& p = perf.prediction;
    putGreen(screen, 6, 1,
             FmsParser::formatLongDistance(
                 std::max(0.0, static_cast<double>(p[PerfPrediction::TodDistance]) -
                                   activeFlightPlan.distanceFlown - activeLegAlongTrack())));
    valueEndingAt(screen, 6, 22,
                  FmsParser::formatThousands(p[PerfPrediction::TodFuelOnBoard], fms.fuelUseKg),
                  CduColour::Green);
}

void FlightPhasePages::onClimbKey(int32_t key) {
    if (key == kL4) {
        fms.setPage(kTakeoff, 1);
    } else if (key == kR4) {
        fms.setPage(kCruise, 1);
    }
}

void FlightPhasePages::onCruiseKey(int32_t key) {
    if (turnSubPage(key, cruiseSubPage, cruisePageCount)) {
        return;
    }
    if (key == kL4) {
        fms.setPage(kClimb, 1);
    } else if (key == kR4) {
        fms.setPage(kDescent, 1);
    }
}

void FlightPhasePages::onDescentKey(int32_t key) {
    if (key == kL4) {
        fms.setPage(kCruise, 1);
    } else if (key == kR4) {
        fms.setPage(kLanding, 1);
    }
}

} // namespace tavi
