#include "cdu/pages/FlightSummaryPage.h"

#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "fms/Fms.h"

namespace tavi {

using namespace navpages;
using namespace pagetext;

namespace {

constexpr double kSecondsPerDay = 86400.0;

} // namespace

void FlightSummaryPage::registerPages() {
    bindPage(fms.pages[kFlightSummary], *this);
}

void FlightSummaryPage::draw() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("FLIGHT SUMMARY");
    screen.drawPageNumber(1, 1);
    label(screen, 1, 1, "T/O");
    label(screen, 1, 8, "ENROUTE");
    labelEndingAt(screen, 1, 23, "LAND");
    label(screen, 3, 1, "FUEL USED");
    labelEndingAt(screen, 3, 23, "AVG TAS/GS");
    label(screen, 5, 2, "AIR <\u2013\u2013DIST\u2013\u2013> GROUND");
    screen.drawRightPrompt("PROGRESS 3", false, 7);
    if (fms.flightSummary.isComplete()) {
        drawFlight();
    }
}

void FlightSummaryPage::drawFlight() const {
    CduScreen& screen = fms.screen;
    const FlightSummary& flight = fms.flightSummary;
    double enRoute = flight.landingTime - flight.takeoffTime;
    // The times are times of day: a flight over UTC midnight lands "before" it took off.
    if (enRoute < 0.0) {
        enRoute += kSecondsPerDay;
    }
    screen.putText(2, 1, FmsParser::formatClockTime(flight.takeoffTime) + "Z", CduColour::Green,
                   true, false);
    screen.putText(2, 9, FmsParser::formatElapsedTime(enRoute), CduColour::Green, true, false);
    valueEndingAt(screen, 2, 22, FmsParser::formatClockTime(flight.landingTime) + "Z",
                  CduColour::Green);
    screen.putText(4, 1, FmsParser::formatWeight(fms.fuelMgt.totalFuelUsed(), fms.fuelUseKg, false),
                   CduColour::Cyan, true, false);
    // A flight without time has no average speed to show.
    if (enRoute > 0.0) {
        const double hours = enRoute / 3600.0;
        valueEndingAt(screen, 4, 22,
                      FmsParser::formatNoDecimals(flight.airDistance / hours) + "/" +
                          FmsParser::formatNoDecimals(flight.groundDistance / hours),
                      CduColour::Cyan);
    }
    screen.putText(6, 1, FmsParser::formatDistance(flight.airDistance) + "NM", CduColour::Green,
                   true, false);
    valueEndingAt(screen, 6, 22, FmsParser::formatDistance(flight.groundDistance) + "NM",
                  CduColour::Green);
}

void FlightSummaryPage::onKey(int32_t key) {
    if (key == kL2 && fms.isScratchpadDelete()) {
        fms.takeScratchpad();
        if (fms.flightSummary.isComplete()) {
            fms.fuelMgt.fuelUsed = {};
        }
    } else if (key == kR4) {
        fms.setPage(kProgress, 3);
    }
}

} // namespace tavi
