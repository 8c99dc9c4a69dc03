#include "cdu/pages/StoredPlanPage.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/FlightPlanListPage.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/WaypointEntry.h"
#include "core/Format.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

namespace {

constexpr int32_t kLinesPerSubPage = 3;

} // namespace

void StoredPlanPage::draw() {
    const FlightPlan& plan = selectedStoredPlan;
    CduScreen& s = fms.screen;
    const int32_t subPage = fms.storedFplPage.subPage;
    s.putTextRight(0, 14, plan.name(), CduColour::Amber, true, false);
    s.putText(0, 15, "FPL", CduColour::White, true, false);
    s.drawPageNumber(subPage, StoredFplPage::pageCount());
    const int32_t lines = StoredFplPage::lineCount();
    const int32_t first = kLinesPerSubPage * (subPage - 1);
    for (int32_t line = std::max(first, 0); line < first + kLinesPerSubPage && line < lines;
         ++line) {
        const int32_t row = 2 * (line % kLinesPerSubPage) + 1;
        if (line == 0) {
            drawOriginLine(plan, row);
        } else if (line == lines - 1) {
            drawDestinationLine(plan, row);
        } else {
            drawLegLine(plan, line, row);
        }
    }
    s.drawRightPrompt("FPL SEL", false, 7);
}

void StoredPlanPage::drawOriginLine(const FlightPlan& plan, int32_t row) {
    CduScreen& s = fms.screen;
    s.putText(row, 1, "ORIGIN/ETD", CduColour::White, false, false);
    s.putText(row, 21, "GS", CduColour::White, false, false);
    s.putTextRight(row + 1, 24, format("%d", static_cast<int32_t>(plan.gspd)), CduColour::Cyan,
                   false, false);
    s.putText(row + 1, 19, "@", CduColour::Cyan, false, false);
    s.putText(row + 1, 0, plan.org.kind == WaypointKind::Plain ? kFiveDashes : plan.org.ident,
              CduColour::Green, true, false);
    if (plan.hasOriginAndDestination()) {
        s.putTextRight(row + 1, 18,
                       FmsParser::formatDistance(plan.totalDistance) + "/" +
                           FmsParser::formatElapsedTime(plan.timeToGo),
                       CduColour::Green, false, false);
    }
}

void StoredPlanPage::drawDestinationLine(const FlightPlan& plan, int32_t row) {
    CduScreen& s = fms.screen;
    const Waypoint& destination = plan.dest;
    s.putTextRight(row, 23, "DEST", CduColour::White, false, false);
    const std::string ident = destination.kind == WaypointKind::Plain ? kFiveDashes
                              : destination.aptIdent.empty()          ? destination.ident
                                                                      : destination.aptIdent;
    s.putTextRight(row + 1, 24, ident, CduColour::Green, true, false);
    if (plan.hasOriginAndDestination() && plan.endsBeforeDestination()) {
        s.putText(row, 1, "VIA.TO", CduColour::White, false, false);
        s.putText(row + 1, 0, kFiveDashes, CduColour::Green, true, false);
    }
}

// The line's leg is leg line - 1, as the keys take it: the stored plan is listed from its
// origin whatever its active leg, so the leg is never looked for past the plan's end.
void StoredPlanPage::drawLegLine(const FlightPlan& plan, int32_t line, int32_t row) {
    CduScreen& s = fms.screen;
    const FlightPlanLeg& leg = plan.legs[static_cast<std::size_t>(line - 1)];
    const bool magnetic = fms.heading.activeMag;
    s.putText(row, 1,
              FmsParser::formatCourse(magnetic ? leg.magneticCourse() : leg.course, !magnetic),
              CduColour::Green, false, false);
    s.putTextRight(row, 12, FmsParser::formatDistance(leg.distance) + "NM", CduColour::Green, false,
                   false);
    s.putText(row + 1, 0, leg.wpt.ident, CduColour::Green, true, false);
    s.putTextRight(row + 1, 12, FmsParser::formatElapsedTime(leg.legTime), CduColour::Green, false,
                   false);
    s.putTextRight(row + 1, 24, kFiveDashes, CduColour::Cyan, true, false);
}

void StoredPlanPage::onKey(int32_t key) {
    StoredFplPage& page = fms.storedFplPage;
    page.originPending = false;
    page.destinationPending = false;
    const int32_t base = kLinesPerSubPage * (page.subPage - 1);
    switch (key) {
    case 0:
        page.selectedLine = base;
        if (base == 0 && fms.isScratchpadDelete()) {
            list.deleteStoredPlan(selectedStoredPlan.name());
            fms.setScratchpad("");
            fms.setPage(cdu_page::kFlightPlanList, 1);
        } else {
            onStoredPlanLeftKey();
        }
        break;
    case 1:
    case 2:
        page.selectedLine = base + key;
        onStoredPlanLeftKey();
        break;
    case 4:
        if (page.subPage == 1) {
            onGroundSpeedKey();
        } else {
            page.selectedLine = base;
            onStoredPlanRightKey();
        }
        break;
    case 5:
    case 6:
        page.selectedLine = base + key - 4;
        onStoredPlanRightKey();
        break;
    case 7:
        fms.setPage(cdu_page::kFltPlanSelect, 1);
        break;
    default:
        navpages::turnSubPage(key, page.subPage, StoredFplPage::pageCount());
        break;
    }
}

void StoredPlanPage::save() {
    fms.storedPlans().savePlanFile(selectedStoredPlan);
}

void StoredPlanPage::onGroundSpeedKey() {
    if (fms.scratchPad.text().empty()) {
        fms.setScratchpad(format("%d", static_cast<int32_t>(selectedStoredPlan.gspd)));
        return;
    }
    int32_t knots = 0;
    if (!FmsParser::parseGroundSpeed(fms.scratchPad.text(), knots)) {
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    fms.takeScratchpad();
    selectedStoredPlan.setGroundSpeed(static_cast<uint32_t>(knots), fms.planContext());
    save();
}

void StoredPlanPage::onStoredPlanLeftKey() {
    FlightPlan& plan = selectedStoredPlan;
    const int32_t line = fms.storedFplPage.selectedLine;
    const int32_t lines = StoredFplPage::lineCount();
    const std::string text = fms.scratchPad.text();
    std::string airway;
    std::string exitFix;
    if (fms.isScratchpadDelete()) {
        if (line > 0 && line < lines - 1) {
            fms.setScratchpad("");
            plan.deleteLeg(static_cast<std::size_t>(line - 1), fms.planContext());
        }
    } else if (FmsParser::parseAirwayFix(text, airway, exitFix) && plan.hasOriginAndDestination() &&
               line > 0) {
        if (line >= lines) {
            return;
        }
        enterAirway(airway, exitFix);
    } else if (!text.empty()) {
        entry.enterStoredPlanWaypoint(line, fms.takeScratchpad());
    } else if (line == 0 && plan.org.kind != WaypointKind::Plain) {
        fms.setScratchpad(plan.org.ident);
    } else if (line > 0 && line < lines - 1 &&
               plan.legs[static_cast<std::size_t>(line - 1)].hasNamedFix()) {
        fms.setScratchpad(plan.legs[static_cast<std::size_t>(line - 1)].wpt.ident);
    }
    save();
}

void StoredPlanPage::enterAirway(const std::string& airway, const std::string& exitFix) {
    FlightPlan& plan = selectedStoredPlan;
    const int32_t line = fms.storedFplPage.selectedLine;
    const Waypoint& from = line == 1 ? plan.org : plan.legs[static_cast<std::size_t>(line - 2)].wpt;
    std::vector<Waypoint> points;
    fms.navDatabase().getAirwayPoints(from, airway, exitFix, points);
    if (points.empty()) {
        fms.showMessage("WAYPOINT NOT FOUND", 0);
        return;
    }
    plan.insertWaypoints(static_cast<std::size_t>(line - 1), airway, points, fms.planContext());
    fms.setScratchpad("");
}

void StoredPlanPage::onStoredPlanRightKey() {
    const int32_t line = fms.storedFplPage.selectedLine;
    const int32_t lines = StoredFplPage::lineCount();
    const std::string& text = fms.scratchPad.text();
    if (text.empty()) {
        if (line == lines - 1 && selectedStoredPlan.dest.kind != WaypointKind::Plain) {
            fms.setScratchpad(selectedStoredPlan.dest.ident);
        }
    } else if (line == lines - 1) {
        entry.enterStoredPlanDestination(fms.takeScratchpad());
    } else if (line < lines - 1) {
        fms.showMessage("INVALID ENTRY", 0);
    }
    save();
}

} // namespace tavi
