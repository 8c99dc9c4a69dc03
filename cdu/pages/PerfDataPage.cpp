#include "cdu/pages/PerfDataPage.h"

#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PerfPageText.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <cmath>
#include <cstdlib>

namespace tavi {

using namespace navpages;
using namespace pagetext;
using namespace perfpages;

namespace {

// The fuel figure of merit (lb) the page states.
constexpr double kFuelFigureOfMerit = 200.0;

} // namespace

void PerfDataPage::registerPages() {
    Fms::CduPageEntry& page = fms.pages[kPerfData];
    page.subPage = &subPage;
    bindPage(page, *this);
}

std::string PerfDataPage::thousands(double pounds) const {
    return FmsParser::formatThousands(pounds, fms.fuelUseKg);
}

void PerfDataPage::putSmall(int32_t row, int32_t lastColumn, const std::string& text,
                            CduColour colour) const {
    fms.screen.putTextRight(row, lastColumn + 1, text, colour, false, false);
}

void PerfDataPage::draw() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("PERF DATA");
    screen.drawPageNumber(subPage, pageCount);
    screen.drawLeftPrompt("PERF INIT", false, 7);
    screen.drawRightPrompt(
        activeFlightPlan.org.kind == WaypointKind::Runway ? "TAKEOFF" : "DEPARTURE", false, 7);
    const bool available = activeFlightPlan.isBeforeRouteEnd() && fms.perfInit.initialised;
    switch (subPage) {
    case 1:
        drawAltitudeSubPage(available);
        break;
    case 2:
        drawDestinationSubPage(available);
        break;
    case 3:
        drawWindSubPage(available);
        break;
    case 4:
        drawReserveSubPage(available);
        break;
    default:
        break;
    }
}

void PerfDataPage::drawAltitudeSubPage(bool available) const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    label(screen, 1, 1, "CRZ/CEIL ALT");
    labelEndingAt(screen, 1, 22, "STEP INC");
    label(screen, 3, 2, "DEST");
    labelEndingAt(screen, 3, 21, "ALTN");
    if (!available) {
        screen.putText(4, 4, kNotInitialized, CduColour::Green, true, false);
        return;
    }
    screen.putText(2, 0,
                   fms.parser.formatAltitude(perf.initCrzAlt) + "/" +
                       fms.parser.formatAltitude(perf.lastMaxAltitude),
                   CduColour::Cyan, true, false);
    valueEndingAt(screen, 2, 23, "0", CduColour::Cyan);
    label(screen, 4, 6, "<\u2013\u2013\u2013ETE\u2013\u2013\u2013\u2013>");
    label(screen, 5, 6, "<\u2013FUEL REQ\u2013>");
    label(screen, 6, 6, "<\u2013FUEL FOM\u2013>");
    putSmall(4, 5, FmsParser::formatElapsedTime(activeFlightPlan.timeToGo), CduColour::Green);
    const PerfPrediction& p = perf.prediction;
    putSmall(5, 5,
             thousands(static_cast<double>(p[PerfPrediction::FuelRequired]) +
                       static_cast<double>(p[PerfPrediction::ReserveFuel])),
             CduColour::Cyan);
    putSmall(6, 5, thousands(kFuelFigureOfMerit), CduColour::Cyan);
}

void PerfDataPage::drawDestinationSubPage(bool available) const {
    CduScreen& screen = fms.screen;
    const PerfPrediction& p = fms.perfInit.prediction;
    label(screen, 1, 2, "DEST");
    labelEndingAt(screen, 1, 21, "ALTN");
    label(screen, 2, 6, "<\u2013\u2013\u2013DIST\u2013\u2013\u2013>");
    label(screen, 3, 6, "<\u2013\u2013\u2013ETA\u2013\u2013\u2013\u2013>");
    label(screen, 4, 6, "<\u2013FUEL REM\u2013>");
    label(screen, 5, 6, "<\u2013GROSS WT\u2013>");
    if (!available) {
        screen.putText(3, 4, kNotInitialized, CduColour::Green, true, false);
        return;
    }
    const LnavState* lnav = fms.lnavState();
    const double alongSegment = lnav ? lnav->segmentAlongTrack : 0.0;
    putSmall(2, 5, FmsParser::formatLongDistance(activeFlightPlan.totalDistance - alongSegment),
             CduColour::Green);
    if (fms.airborne && !activeFlightPlan.legs.empty()) {
        putSmall(3, 5, FmsParser::formatClockTime(activeFlightPlan.legs.back().eta) + "Z",
                 CduColour::Green);
    }
    putSmall(4, 5, thousands(p[PerfPrediction::ExtraFuel]), CduColour::Cyan);
    putSmall(5, 5, thousands(p[PerfPrediction::LandingWeight]), CduColour::Cyan);
}

std::string PerfDataPage::fuelDifference() const {
    const double difference =
        static_cast<double>(fms.perfInit.prediction[PerfPrediction::ExtraFuel]) -
        static_cast<double>(fms.perfInit.departurePrediction[PerfPrediction::ExtraFuel]);
    const std::string magnitude = thousands(std::fabs(difference));
    if (magnitude == "0.0") {
        return magnitude;
    }
    return (difference > 0.0 ? "+" : "-") + magnitude;
}

void PerfDataPage::drawWindSubPage(bool available) const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    label(screen, 1, 2, "CRZ<\u2013\u2013AVG WIND\u2013\u2013\u2013>");
    label(screen, 3, 2, "DEST FUEL REMAINING");
    label(screen, 4, 1, "PREFLIGHT PLAN");
    label(screen, 5, 1, "UPDATED PLAN");
    label(screen, 6, 1, "DIFFERENCE");
    if (!available) {
        screen.putText(2, 4, kNotInitialized, CduColour::Green, true, false);
        return;
    }
    labelEndingAt(screen, 1, 21, perf.cruiseWindComponent >= 0 ? "TW" : "HW");
    screen.putText(2, 1, FmsParser::formatWindTrue(perf.cruiseWindDirection, perf.cruiseWindSpeed),
                   CduColour::Cyan, false, false);
    putSmall(2, 22, FmsParser::formatInteger(std::abs(perf.cruiseWindComponent)), CduColour::Cyan);
    putSmall(4, 22, thousands(perf.departurePrediction[PerfPrediction::ExtraFuel]),
             CduColour::Cyan);
    if (fms.airborne) {
        putSmall(5, 22, thousands(perf.prediction[PerfPrediction::ExtraFuel]), CduColour::Cyan);
        putSmall(6, 22, fuelDifference(), CduColour::Cyan);
    }
}

void PerfDataPage::drawReserveSubPage(bool available) const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    label(screen, 4, 1, "REQ/PLAN");
    label(screen, 5, 1, "UPDATED PLAN");
    label(screen, 6, 1, "DIFFERENCE");
    if (!available) {
        label(screen, 1, 6, "FUEL RESERVE");
        screen.putText(3, 4, kNotInitialized, CduColour::Green, true, false);
        return;
    }
    drawReserveRule();
    putSmall(4, 22,
             thousands(perf.prediction[PerfPrediction::ReserveFuel]) + "/" +
                 thousands(perf.departurePrediction[PerfPrediction::ExtraFuel]),
             CduColour::Cyan);
    if (fms.airborne) {
        putSmall(5, 22, thousands(perf.prediction[PerfPrediction::ExtraFuel]), CduColour::Cyan);
        putSmall(6, 22, fuelDifference(), CduColour::Cyan);
    }
}

void PerfDataPage::drawReserveRule() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    switch (perf.fuelReserveType) {
    case 1:
        label(screen, 1, 6, "FUEL RESERVE");
        label(screen, 2, 8, "AT DEST");
        putSmall(3, 11,
                 FmsParser::formatInteger(
                     FmsParser::weightInUnit(perf.fuelReserveWeight, fms.fuelUseKg)),
                 CduColour::Cyan);
        label(screen, 3, 13, weightUnit(fms.fuelUseKg));
        break;
    case 2:
        label(screen, 1, 6, "FUEL RESERVE");
        label(screen, 2, 8, "AT DEST");
        putSmall(3, 3,
                 FmsParser::formatInteger(static_cast<int32_t>(std::trunc(perf.fuelReserveTime))),
                 CduColour::Cyan);
        label(screen, 3, 5, "MIN @ 5000 @ 195");
        break;
    default:
        label(screen, 1, 3, "NBAA FUEL RESERVE");
        label(screen, 2, 2, "AT DEST");
        putSmall(2, 19, "200NM", CduColour::Green);
        labelEndingAt(screen, 2, 21, "+");
        label(screen, 3, 2, "30 MIN @ 5000 @ 195");
        break;
    }
}

void PerfDataPage::onKey(int32_t key) {
    if (turnSubPage(key, subPage, pageCount)) {
        return;
    }
    if (key == kL4) {
        fms.setPage(kPerformanceInit, 1);
    } else if (key == kR4) {
        fms.setPage(
            activeFlightPlan.org.kind == WaypointKind::Runway ? kTakeoff : kDepartureRunways, 1);
    }
}

} // namespace tavi
