#include "cdu/pages/ProcedureReviewPages.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "core/Format.h"
#include "fms/Fms.h"

namespace tavi {

using namespace navpages;
using namespace pagetext;

namespace {

constexpr int32_t kItemsPerPage = 3;
constexpr const char* kNoAltitude = "\u2013\u2013\u2013\u2013\u2013";
constexpr const char* kNoSpeed = "\u2013\u2013\u2013/";

// Label row of the item's slot on the page; the data row is the next one.
int32_t labelRowOf(int32_t item) {
    return 2 * (item % kItemsPerPage) + 1;
}

void drawPrompts(CduScreen& screen, int32_t subPage) {
    if (subPage == 1) {
        screen.drawRightPrompt("RETURN", false, 1);
    }
    screen.drawLeftPrompt("CLEAR", false, 7);
    screen.drawRightPrompt("ACTIVATE", false, 7);
}

} // namespace

void ProcedureReviewPages::registerPages() {
    Fms::CduPageEntry& sid = fms.pages[cdu_page::kSidReview];
    sid.draw = [this] {
        drawSidReviewPage();
    };
    sid.onKey = [this](int32_t key) {
        onSidReviewKey(key);
    };
    Fms::CduPageEntry& arrival = fms.pages[cdu_page::kArrivalReview];
    arrival.draw = [this] {
        drawArrivalReviewPage();
    };
    arrival.onKey = [this](int32_t key) {
        onArrivalReviewKey(key);
    };
}

void ProcedureReviewPages::drawSidReviewPage() const {
    const DeparturePage& page = fms.departurePage;
    CduScreen& screen = fms.screen;
    screen.drawTitle("SID REVIEW");
    screen.drawPageNumber(page.reviewSubPage, page.reviewPageCount);
    if (page.reviewSubPage == 1) {
        screen.putText(2, 0, fms.departurePages.procedureLine(), CduColour::Green, true, false);
        drawRunwayItem(page.fpl, 4);
    }
    drawLegItems(page.fpl, page.reviewSubPage, 2, false);
    drawPrompts(screen, page.reviewSubPage);
}

void ProcedureReviewPages::drawArrivalReviewPage() const {
    const ArrivalPage& page = fms.arrivalPage;
    CduScreen& screen = fms.screen;
    screen.drawTitle("ARRIVAL REVIEW");
    screen.drawPageNumber(page.reviewSubPage, page.reviewPageCount);
    if (page.reviewSubPage == 1) {
        screen.putText(1, 2, joinedProcedure(page.starTransitionSel, page.starSel),
                       CduColour::Green, false, false);
        screen.putText(2, 2, joinedProcedure(page.iapTransitionSel, page.iapSel), CduColour::Green,
                       false, false);
        const std::string& runway = page.selArrRwy.ident;
        screen.putTextRight(2, kLastColumnEnd,
                            runway.empty() ? page.icao : runway + " " + page.icao, CduColour::Green,
                            true, false);
    }
    drawLegItems(page.fpl, page.reviewSubPage, 1, true);
    drawPrompts(screen, page.reviewSubPage);
}

void ProcedureReviewPages::drawRunwayItem(const FlightPlan& plan, int32_t dataRow) const {
    CduScreen& screen = fms.screen;
    screen.putText(dataRow, 0, plan.org.ident, CduColour::Green, true, false);
    const std::string elevation = fms.parser.formatAltitude(plan.org.elevation);
    screen.putTextRight(dataRow, kLastColumnEnd, elevation, CduColour::Cyan, false, false);
    screen.putTextRight(dataRow, kLastColumnEnd - textWidth(elevation), kNoSpeed, CduColour::Cyan,
                        true, false);
}

void ProcedureReviewPages::drawLegItems(const FlightPlan& plan, int32_t subPage, int32_t firstLeg,
                                        bool arrival) const {
    if (subPage < 1) {
        return;
    }
    const auto legCount = static_cast<int64_t>(plan.legCount());
    const int64_t endItem = firstLeg + legCount;
    const int64_t first = static_cast<int64_t>(kItemsPerPage) * (subPage - 1);
    for (int64_t item = first; item < first + kItemsPerPage && item <= endItem; ++item) {
        if (item < firstLeg) {
            continue;
        }
        const int32_t labelRow = labelRowOf(static_cast<int32_t>(item));
        if (item == endItem) {
            fms.screen.putText(labelRow + 1, 0, "END OF PROCEDURE", CduColour::White, true, false);
        } else {
            drawLeg(plan, static_cast<std::size_t>(item - firstLeg), labelRow, arrival);
        }
    }
}

void ProcedureReviewPages::drawLeg(const FlightPlan& plan, std::size_t index, int32_t labelRow,
                                   bool arrival) const {
    CduScreen& screen = fms.screen;
    const FlightPlanLeg& leg = plan.legs[index];
    const int32_t dataRow = labelRow + 1;
    if (leg.isDiscontinuity()) {
        screen.putText(labelRow, 1, "VIA.TO", CduColour::White, false, false);
        screen.putText(dataRow, 0, kNoAltitude, CduColour::Green, true, false);
        return;
    }
    if (leg.isManualTermination()) {
        screen.putText(labelRow, 0, format("FLY %03.0f", leg.trmLeg.course) + kDegree + " OR",
                       CduColour::Green, false, false);
        screen.putText(dataRow, 0, "AS ASSIGNED", CduColour::Green, true, false);
        return;
    }
    if (!arrival || index > 0) {
        drawLegLabel(leg, labelRow);
    }
    screen.putText(dataRow, 0, leg.wpt.ident, CduColour::Green, true, false);
    screen.putText(dataRow, textWidth(leg.wpt.ident), legPatternMark(leg), CduColour::Green, true,
                   true);
    const std::string vertical = verticalField(leg, arrival);
    screen.putTextRight(dataRow, kLastColumnEnd, vertical, CduColour::Cyan, true, false);
    if (index > 0 && !plan.legs[index - 1].isFixLeg()) {
        screen.putText(labelRow, 0, " >>DISCONTINUITY<<      ", CduColour::White, false, false);
    }
}

void ProcedureReviewPages::drawLegLabel(const FlightPlanLeg& leg, int32_t labelRow) const {
    CduScreen& screen = fms.screen;
    const bool magnetic = fms.heading.activeMag;
    screen.putText(labelRow, 1,
                   FmsParser::formatCourse(magnetic ? leg.magneticCourse() : leg.course, !magnetic),
                   CduColour::Green, false, false);
    if (leg.trmLeg.flyOver) {
        screen.putText(labelRow, 5, "F", CduColour::Green, false, true);
    }
    if (leg.trmLeg.turnDirection != kTurnNone && !leg.isArcLeg()) {
        screen.putText(labelRow, 0, leg.trmLeg.turnDirection == kTurnLeft ? "L" : "R",
                       CduColour::Green, false, true);
    }
    screen.putTextRight(labelRow, 12, FmsParser::formatDistance(leg.distance) + "NM",
                        CduColour::Green, false, false);
}

std::string ProcedureReviewPages::verticalField(const FlightPlanLeg& leg, bool arrival) const {
    const LegConstraints& k = leg.vnav;
    const std::string constraint =
        k.hasAltitude ? fms.parser.formatAltitudeConstraint(k.altitude, k.kind) : kNoAltitude;
    if (arrival && k.pathAngleEntered) {
        return FmsParser::formatOneDecimal(k.pathAngle) + kDegree + "/" + constraint;
    }
    return kNoSpeed + constraint;
}

void ProcedureReviewPages::onSidReviewKey(int32_t key) {
    DeparturePage& page = fms.departurePage;
    if (key == kL4) {
        fms.setPage(kDepartureRunways, 1);
    } else if (key == kR1) {
        if (page.reviewSubPage == 1) {
            fms.setPage(page.reviewReturnPage, page.reviewReturnSubPage);
        }
    } else if (key == kR4) {
        fms.activateDeparture();
    } else {
        turnSubPage(key, page.reviewSubPage, page.reviewPageCount);
    }
}

void ProcedureReviewPages::onArrivalReviewKey(int32_t key) {
    ArrivalPage& page = fms.arrivalPage;
    if (key == kL4) {
        page.selArrRwy = Runway();
        page.starSel.clear();
        page.starTransitionSel.clear();
        page.iapSel.clear();
        page.iapFullSel.clear();
        page.iapTransitionSel.clear();
        fms.setPage(kArrival, 1);
    } else if (key == kR1) {
        if (page.reviewSubPage == 1) {
            fms.setPage(kArrival, 1);
        }
    } else if (key == kR4) {
        fms.activateArrival();
    } else {
        turnSubPage(key, page.reviewSubPage, page.reviewPageCount);
    }
}

} // namespace tavi
