#include "cdu/pages/ProgressPage.h"

#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/AirData.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/CommandedSpeed.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/WindComponents.h"
#include "core/Aircraft.h"
#include "core/Angles.h"
#include "core/Format.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using namespace navpages;
using namespace pagetext;

namespace {

// Below this ground speed (kt) the track is the heading and there is no drift.
constexpr double kTrackingSpeed = 10.0;
// From this cross-track error (nm) on, the page shows none.
constexpr double kCrossTrackShownBelow = 128.0;
constexpr float kDescentAngleRadiansPerDegree = 3.14159265f / 180.0f;
// The descent wind on the ground, below the altitude the cruise wind was entered for (kt).
constexpr double kGroundDescentWindKnots = 5.0;

} // namespace

void ProgressPage::registerPages() {
    Fms::CduPageEntry& page = fms.pages[kProgress];
    page.subPage = &subPage;
    bindPage(page, *this);
}

void ProgressPage::draw() const {
    fms.screen.drawTitle("PROGRESS");
    fms.screen.drawPageNumber(subPage, pageCount);
    switch (subPage) {
    case 1:
        drawRouteSubPage();
        break;
    case 2:
        drawCommandSubPage();
        break;
    case 3:
        drawTrackSubPage();
        break;
    default:
        break;
    }
}

void ProgressPage::onKey(int32_t key) {
    if (turnSubPage(key, subPage, pageCount)) {
        return;
    }
    if (subPage == 1) {
        switch (key) {
        case kL3:
            fms.radioTuningPages.enterNav(1);
            break;
        case kR3:
            fms.radioTuningPages.enterNav(2);
            break;
        case kL4:
            fms.radioTuningPages.openTuningList(1, kProgress);
            break;
        case kR4:
            fms.radioTuningPages.openTuningList(2, kProgress);
            break;
        default:
            break;
        }
    } else if (key == kL4) {
        fms.setPage(cdu_page::kAirData, 1);
    } else if (key == kR4) {
        fms.setPage(kFlightSummary, 1);
    }
}

bool ProgressPage::routeValid() const {
    const FlightPlan& plan = activeFlightPlan;
    return plan.routeEndFound && plan.activeLeg <= plan.routeEndLeg &&
           plan.activeLeg < plan.legCount();
}

double ProgressPage::activeLegTimeToGo(const LnavState& lnav) const {
    return fms.airborne ? lnav.timeToGo : activeFlightPlan.legs[activeFlightPlan.activeLeg].legTime;
}

std::optional<double> ProgressPage::destinationTime(const LnavState& lnav) const {
    const FlightPlan& plan = activeFlightPlan;
    const FlightPlanLeg& active = plan.legs[plan.activeLeg];
    if (plan.legCount() <= plan.activeLeg + 1) {
        return activeLegTimeToGo(lnav);
    }
    // A leg without length gives no share of its time: the time is left blank.
    if (active.distance <= 0.0) {
        return std::nullopt;
    }
    return plan.timeToGo - active.legTime * lnav.legAlongTrack / active.distance;
}

void ProgressPage::drawRouteSubPage() const {
    CduScreen& screen = fms.screen;
    label(screen, 1, 1, "TO    DIST   ETE  FUEL");
    label(screen, 3, 1, "DEST");
    const LnavState* lnav = fms.lnavState();
    if (routeValid() && lnav) {
        const FlightPlan& plan = activeFlightPlan;
        const FlightPlanLeg& active = plan.legs[plan.activeLeg];
        const FlightPlanLeg& last = plan.legs.back();
        screen.putText(2, 0, active.wpt.ident, CduColour::Magenta, true, false);
        drawLegLine(2, lnav->distanceToGo, activeLegTimeToGo(*lnav), active.tfd.fuelRemaining);
        screen.putText(4, 0, last.wpt.ident, CduColour::Green, true, false);
        const double destination =
            std::max(plan.totalDistance - plan.distanceFlown - lnav->legAlongTrack, 0.0);
        drawLegLine(4, destination, destinationTime(*lnav), last.tfd.fuelRemaining);
    }
    screen.putTextRight(5, 18, "GPS LRN=1", CduColour::Green, false, false);
    labelEndingAt(screen, 5, 22, "USED");
    fms.radioTuningPages.drawNavReceivers();
}

void ProgressPage::drawLegLine(int32_t row, double distance, std::optional<double> seconds,
                               double fuel) const {
    CduScreen& screen = fms.screen;
    valueEndingAt(screen, row, 10, FmsParser::formatDistance(distance), CduColour::Green);
    if (seconds) {
        valueEndingAt(screen, row, 17, FmsParser::formatElapsedTime(*seconds), CduColour::Green);
    }
    valueEndingAt(screen, row, 22, FmsParser::formatThousands(fuel, fms.fuelUseKg),
                  CduColour::Green);
}

void ProgressPage::drawCommandSubPage() const {
    CduScreen& screen = fms.screen;
    label(screen, 1, 2, "SPD/ALT CMD");
    label(screen, 3, 2, "TOC");
    labelEndingAt(screen, 3, 21, "FUEL QTY");
    label(screen, 5, 2, "TOD");
    labelEndingAt(screen, 5, 21, "GROSS WT");
    const LnavState* lnav = fms.lnavState();
    if (routeValid() && fms.perfInit.initialised && lnav) {
        screen.putText(2, 1, speedAltitudeCommand(), CduColour::Cyan, true, false);
        drawTopOfClimb(*lnav);
        drawTopOfDescent(*lnav);
    }
    drawWeights();
    screen.drawLeftPrompt("AIR DATA", false, 7);
    screen.drawRightPrompt("FLT SUM", false, 7);
}

void ProgressPage::drawTopOfClimb(const LnavState& lnav) const {
    if (fms.perfInit.climbDone) {
        fms.screen.putText(4, 1, "PAST", CduColour::Green, true, false);
        return;
    }
    const FlightPlan& plan = activeFlightPlan;
    const FlightPlanLeg& active = plan.legs[plan.activeLeg];
    const double toc = fms.perfInit.prediction[PerfPrediction::TocDistance];
    const double distance = std::max(toc - plan.distanceFlown - lnav.legAlongTrack, 0.0);
    std::optional<double> seconds;
    if (toc > plan.distanceFlown + active.distance) {
        seconds = timeBeyondActiveLeg(fms.perfInit.prediction[PerfPrediction::TocTime], lnav);
    } else if (active.distance > 0.0) {
        seconds = activeLegTimeToGo(lnav) * distance / active.distance;
    }
    drawDistanceAndTime(4, distance, seconds);
}

void ProgressPage::drawTopOfDescent(const LnavState& lnav) const {
    const FlightPlan& plan = activeFlightPlan;
    const FlightPlanLeg& active = plan.legs[plan.activeLeg];
    const double tod = fms.perfInit.prediction[PerfPrediction::TodDistance];
    const double toGo = tod - plan.distanceFlown - lnav.legAlongTrack;
    if (toGo < 0.1) {
        fms.screen.putText(6, 1, "PAST", CduColour::Green, true, false);
        return;
    }
    const double legEnd = plan.distanceFlown + active.distance;
    const double toc = fms.perfInit.prediction[PerfPrediction::TocDistance];
    const Gps* gps = fms.owner() ? fms.owner()->gps() : nullptr;
    std::optional<double> seconds;
    // A leg without length or a standing aircraft gives no time: the time is left out.
    if (tod <= legEnd) {
        if (active.distance > 0.0) {
            seconds = activeLegTimeToGo(lnav) * toGo / active.distance;
        }
    } else if (toc < legEnd) {
        if (gps && gps->groundSpeed > 0.0) {
            seconds = toGo / gps->groundSpeed * 3600.0;
        }
    } else {
        seconds = timeBeyondActiveLeg(fms.perfInit.prediction[PerfPrediction::TodTime], lnav);
    }
    drawDistanceAndTime(6, toGo, seconds);
    labelEndingAt(fms.screen, 1, 22, "VS@TOD");
    valueEndingAt(fms.screen, 2, 22, format("%d\u2193", verticalSpeedAtTopOfDescent(tod)),
                  CduColour::Cyan);
}

int32_t ProgressPage::verticalSpeedAtTopOfDescent(double todDistance) const {
    const PerfInit& perf = fms.perfInit;
    const FlightPlanLeg& leg = activeFlightPlan.legs[legAtDistance(todDistance)];
    const double altitude = perf.prediction[PerfPrediction::TodAltitude];
    const double temperature =
        isaTemperatureClamped(static_cast<float>(altitude)) + static_cast<double>(perf.crzIsaDev);
    const double groundSpeed =
        Adc::groundSpeedFromCas(descentSpeed(leg.vnav, altitude), altitude, temperature, leg.course,
                                perf.crzWindDir, descentWindAt(altitude));
    const float feetPerMinute =
        std::fabs(std::tan(leg.vnav.pathAngle * kDescentAngleRadiansPerDegree) *
                  static_cast<float>(groundSpeed) / 1.944f * 3.28084f * 60.0f);
    const auto whole = static_cast<int32_t>(feetPerMinute);
    return static_cast<int32_t>(std::floor(whole * 0.01 + 0.5) * 100.0);
}

std::size_t ProgressPage::legAtDistance(double distance) const {
    const FlightPlan& plan = activeFlightPlan;
    double end = 0.0;
    for (std::size_t i = 0; i < plan.legs.size(); ++i) {
        end += plan.legs[i].distance;
        if (end >= distance) {
            return i;
        }
    }
    return 0;
}

double ProgressPage::descentWindAt(double altitude) const {
    const PerfInit& perf = fms.perfInit;
    const double entered = perf.crzWindStrength;
    if (perf.crzWindAlt <= altitude || perf.crzWindAlt <= 0) {
        return entered;
    }
    const double share = std::max(altitude, 0.0) / perf.crzWindAlt;
    return entered * share + kGroundDescentWindKnots * (1.0 - share);
}

double ProgressPage::descentSpeed(const LegConstraints& constraints, double altitude) const {
    double speed = constraints.speed;
    double mach = constraints.mach;
    // A leg without a speed or Mach constraint is flown at the descent schedule, not at a
    // speed of nothing that would ask for no descent at all.
    if (speed <= 0.0 && mach == 0.0) {
        speed = fms.perfInit.descentSpeed(Adc::vmo);
        mach = fms.perfInit.descentMach(Adc::mmo);
    }
    if (mach == 0.0) {
        return speed;
    }
    const double machSpeed = std::trunc(casFromMachAtAltitude(mach, altitude));
    return speed > 0.0 ? std::min(speed, machSpeed) : machSpeed;
}

double ProgressPage::timeBeyondActiveLeg(double predictedTime, const LnavState& lnav) const {
    const FlightPlanLeg& active = activeFlightPlan.legs[activeFlightPlan.activeLeg];
    const double flownShare =
        active.distance > 0.0 ? active.legTime * lnav.legAlongTrack / active.distance : 0.0;
    return predictedTime - std::max(flownShare, 0.0);
}

void ProgressPage::drawDistanceAndTime(int32_t row, double distance,
                                       std::optional<double> seconds) const {
    CduScreen& screen = fms.screen;
    const std::string miles = FmsParser::formatLongDistance(distance);
    int32_t column = 1;
    screen.putText(row, column, miles, CduColour::Green, true, false);
    column += static_cast<int32_t>(miles.size());
    screen.putText(row, column, "NM", CduColour::Green, false, false);
    column += 2;
    if (seconds) {
        screen.putText(row, column, "/" + FmsParser::formatElapsedTime(*seconds), CduColour::Green,
                       true, false);
    }
}

std::string ProgressPage::speedAltitudeCommand() const {
    const Aircraft* aircraft = fms.owner();
    const FlightDirector* director = aircraft ? aircraft->flightDirector() : nullptr;
    const CommandedSpeed command = commandedSpeed(fms);
    const auto altitude = static_cast<int32_t>(director ? director->altitudePreselect() : 0.0f);
    return (command.speedLimits ? command.speedText : command.machText) + "/" +
           fms.parser.formatAltitude(altitude);
}

void ProgressPage::drawWeights() const {
    const PerfInit& perf = fms.perfInit;
    if (perf.bow < 0.0 || perf.passengerCount < 0 || perf.cargoWeight < 0.0 ||
        perf.fuelWeight < 0.0) {
        return;
    }
    valueEndingAt(fms.screen, 4, 22, FmsParser::formatWeight(perf.fuelWeight, fms.fuelUseKg, true),
                  CduColour::Cyan);
    valueEndingAt(fms.screen, 6, 22,
                  FmsParser::formatWeight(perf.grossWeight(), fms.fuelUseKg, true),
                  CduColour::Cyan);
}

void ProgressPage::drawTrackSubPage() const {
    CduScreen& screen = fms.screen;
    label(screen, 1, 1, "XTK ERROR");
    labelEndingAt(screen, 1, 22, "OFFSET");
    if (const LnavState* lnav = fms.lnavState()) {
        drawCrossTrack(lnav->crossTrackError);
    }
    valueEndingAt(screen, 2, 21, "\u2013 \u2013\u2013.\u2013", CduColour::Green);
    screen.putTextRight(2, 24, "NM", CduColour::Green, false, false);
    label(screen, 3, 2, "TRACK");
    label(screen, 3, 10, "DRIFT");
    labelEndingAt(screen, 3, 21, "HDG");
    label(screen, 5, 2, "WIND");
    labelEndingAt(screen, 5, 21, "GS");
    const Aircraft* aircraft = fms.owner();
    const Ahrs* ahrs = aircraft ? aircraft->ahrs() : nullptr;
    const Gps* gps = aircraft ? aircraft->gps() : nullptr;
    if (ahrs && gps) {
        const bool magnetic = fms.heading.activeMag;
        const double heading = magnetic ? ahrs->unit1.token81Value : ahrs->unit1.token86Value;
        const bool tracking = gps->groundSpeed >= kTrackingSpeed;
        const double track = tracking ? (magnetic ? gps->magneticTrack : gps->trueTrack) : heading;
        const double drift =
            tracking ? std::fabs(normalize180(ahrs->unit1.token86Value - gps->trueTrack)) : 0.0;
        screen.putText(4, 1, FmsParser::formatCourse(track, !magnetic), CduColour::Green, true,
                       false);
        valueEndingAt(screen, 4, 12, format("%1.0f\u00B0", drift), CduColour::Green);
        valueEndingAt(screen, 4, 22, FmsParser::formatCourse(heading, !magnetic), CduColour::Green);
        valueEndingAt(screen, 6, 22, FmsParser::formatNoDecimals(gps->groundSpeed),
                      CduColour::Cyan);
        drawWind();
    }
    screen.drawLeftPrompt("AIR DATA", false, 7);
    screen.drawRightPrompt("FLT SUM", false, 7);
}

void ProgressPage::drawCrossTrack(double crossTrack) const {
    const double size = std::fabs(crossTrack);
    if (size >= kCrossTrackShownBelow) {
        return;
    }
    const char side = crossTrack > 0.0 ? 'R' : 'L';
    std::string text;
    if (size < 0.005) {
        text = "0.0";
    } else if (size < 0.995) {
        text = format("%c%4.2lf", side, size);
    } else if (size < 99.95) {
        text = format("%c%3.1lf", side, size);
    } else {
        text = format("%c%3.0lf", side, size);
    }
    fms.screen.putText(2, 1, text, CduColour::Green, true, false);
    fms.screen.putText(2, 1 + static_cast<int32_t>(text.size()), "NM", CduColour::Green, false,
                       false);
}

void ProgressPage::drawWind() const {
    CduScreen& screen = fms.screen;
    const Adc* adc = fms.owner()->adc();
    const Ahrs* ahrs = fms.owner()->ahrs();
    if (!adc) {
        return;
    }
    screen.putText(6, 1, format("%03.0lf", static_cast<double>(adc->windDirection)),
                   CduColour::Cyan, true, false);
    screen.putText(6, 4, "T", CduColour::Cyan, false, false);
    screen.putText(6, 5, format("/%1.0lf", static_cast<double>(adc->windSpeed)), CduColour::Cyan,
                   true, false);
    const auto [along, across] =
        WindComponents::of(adc->windDirection, adc->windSpeed, ahrs->unit1.token86Value);
    const std::string alongText = FmsParser::formatNoDecimals(std::fabs(along));
    valueEndingAt(screen, 6, 13, alongText, CduColour::Cyan);
    screen.putTextRight(6, 14 - static_cast<int32_t>(alongText.size()),
                        along <= 0.0 ? "\u2193" : "\u2191", CduColour::Cyan, true, false);
    screen.putText(6, 15, FmsParser::formatNoDecimals(std::fabs(across)), CduColour::Cyan, true,
                   false);
    screen.putText(5, 15, across >= 0.0 ? "\u2013\u2013>" : "<\u2013\u2013", CduColour::Cyan, false,
                   false);
}

} // namespace tavi
