// Waypoint entry into a flight plan: idents, stored routes, place/distance points, origin and
// destination of the active and the stored plan.
#include "cdu/pages/WaypointEntry.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/PageText.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <vector>

namespace tavi {

namespace {

bool isIdentEntry(const std::string& entry) {
    return FmsParser::isValidIdent(entry) || FmsParser::isTemporaryIdent(entry);
}

std::size_t legIndexOf(int32_t line) {
    return static_cast<std::size_t>(line - 1);
}

} // namespace

bool autoPageTurnApplies(int32_t lineInListing, int32_t lineCount) {
    return lineInListing % ActiveFplPage::kLinesPerSubPage == ActiveFplPage::kLinesPerSubPage - 1 &&
           lineInListing == lineCount - 1;
}

void WaypointEntry::refuse(const std::string& entry) {
    fms.setScratchpad(entry);
    fms.showMessage(kInvalidEntry, 0);
}

void WaypointEntry::resolveIdent(const std::string& entry, int32_t page, int32_t subPage,
                                 const Take& take) {
    std::vector<Waypoint> candidates;
    fms.navDatabase().findWaypoints(entry, candidates, true);
    if (candidates.size() == 1) {
        take(candidates.front());
    } else if (candidates.empty()) {
        fms.pilotWptPage.point = PilotPoint();
        fms.pilotWptPage.point.ident = entry;
        fms.pilotWptPage.returnPage = page;
        fms.pilotWptPage.returnSubPage = subPage;
        fms.setPage(cdu_page::kPilotWaypoint, 1);
    } else {
        WptSelectPage& select = fms.wptSelectPage;
        select.setCandidates(entry, candidates);
        select.targetPage = page;
        select.returnPage = page;
        select.targetSubPage = subPage;
        select.returnSubPage = subPage;
        fms.setPage(cdu_page::kWaypointsSelect, 1);
    }
}

void WaypointEntry::enterWaypoint(int32_t line, const std::string& entry) {
    ActiveFplPage& page = fms.activeFplPage;
    page.definitionPending = false;
    page.destinationPending = false;
    page.originPending = false;
    std::string newIdent;
    if (enterTemporaryWaypoint(entry, newIdent)) {
        if (!newIdent.empty()) {
            enterWaypoint(line, newIdent);
        }
        return;
    }
    if (splicesStoredRoute(line, entry) || enterPatternKeyword(entry)) {
        return;
    }
    FlightPlan& plan = ActiveFplPage::planAt(page.shownPlan());
    if (line == 0) {
        if (page.shownPlan() == ActiveFplPage::kActivePlan) {
            enterActiveOrigin(entry);
        } else {
            fms.showMessage(kInvalidEntry, 0);
        }
        return;
    }
    std::string place;
    double distance = 0.0;
    if (FmsParser::parsePlaceDistance(entry, place, distance)) {
        if (!createPlaceDistancePoint(plan, place, distance)) {
            refuse(entry);
        }
        return;
    }
    if (!isIdentEntry(entry)) {
        refuse(entry);
        return;
    }
    const int32_t firstLine = static_cast<int32_t>(plan.activeLeg);
    if (!plan.hasOriginAndDestination() || line >= firstLine + ActiveFplPage::activeLineCount()) {
        fms.setScratchpad(entry);
        return;
    }
    resolveIdent(entry, cdu_page::kActiveFlightPlan, page.subPage, [&](const Waypoint& fix) {
        const bool turn = fms.flightConfig.isFpAutoPage &&
                          autoPageTurnApplies(line - firstLine, ActiveFplPage::activeLineCount());
        if (plan.insertWaypoint(fix, legIndexOf(line), false, fms.planContext()) && turn) {
            page.pageTurnRequested = true;
            page.pageTurnTarget = ActiveFplPage::pageCount();
            page.pageTurnTime = fms.planContext().simTimeMs();
        }
    });
}

// A stored plan's name on a leg line splices its route in, followed by a break.
bool WaypointEntry::splicesStoredRoute(int32_t line, const std::string& entry) {
    StoredPlanLibrary& library = fms.storedPlans();
    if (!FmsParser::isValidPlanName(entry) || line <= 0) {
        return false;
    }
    const auto file = library.fileFor(entry);
    if (!file || !library.contains(entry)) {
        return false;
    }
    FlightPlan route;
    if (!library.loadPlanFile(route, entry, *file, fms.planContext())) {
        fms.setScratchpad(entry);
        fms.showMessage("FPL CONTAINS INVALID WPT", 0);
        return true;
    }
    std::vector<Waypoint> fixes;
    for (const FlightPlanLeg& leg : route.legs) {
        if (leg.hasFix()) {
            fixes.push_back(leg.wpt);
        }
    }
    FlightPlan& plan = ActiveFplPage::planAt(fms.activeFplPage.shownPlan());
    plan.insertWaypoints(legIndexOf(line), entry, fixes, fms.planContext());
    return true;
}

void WaypointEntry::enterActiveOrigin(const std::string& entry) {
    resolveActiveEnd(entry, false);
}

void WaypointEntry::resolveActiveEnd(const std::string& entry, bool destination) {
    if (!isIdentEntry(entry)) {
        refuse(entry);
        return;
    }
    std::vector<Waypoint> candidates;
    if (FmsParser::isTemporaryIdent(entry)) {
        fms.navDatabase().findWaypoints(entry, candidates, true);
        if (candidates.empty()) {
            refuse(entry);
            return;
        }
    }
    resolveIdent(entry, cdu_page::kActiveFlightPlan, fms.activeFplPage.subPage,
                 [&](const Waypoint& point) {
                     if (destination) {
                         activeFlightPlan.setDestination(point, fms.planContext());
                     } else {
                         activeFlightPlan.setOrigin(point, fms.planContext());
                     }
                 });
}

void WaypointEntry::enterActiveDestination(const std::string& entry) {
    ActiveFplPage& page = fms.activeFplPage;
    if (page.shownPlan() != ActiveFplPage::kActivePlan) {
        return;
    }
    page.destinationPending = true;
    page.originPending = false;
    // A definition left waiting for its place would otherwise take the destination the pilot
    // then chooses on WAYPOINTS SELECT, and the choice would be lost.
    page.definitionPending = false;
    std::string newIdent;
    if (enterTemporaryWaypoint(entry, newIdent)) {
        if (!newIdent.empty()) {
            enterActiveDestination(newIdent);
        }
        return;
    }
    resolveActiveEnd(entry, true);
}

void WaypointEntry::enterStoredPlanWaypoint(int32_t line, const std::string& entry) {
    StoredFplPage& page = fms.storedFplPage;
    page.originPending = false;
    page.destinationPending = false;
    if (line == 0) {
        enterStoredPlanOrigin(entry);
        return;
    }
    if (!FmsParser::isValidIdent(entry)) {
        refuse(entry);
        return;
    }
    if (!selectedStoredPlan.hasOriginAndDestination() || line >= StoredFplPage::lineCount()) {
        fms.setScratchpad(entry);
        return;
    }
    resolveIdent(entry, cdu_page::kStoredPlan, page.subPage, [&](const Waypoint& fix) {
        const bool turn =
            fms.flightConfig.isFpAutoPage && autoPageTurnApplies(line, StoredFplPage::lineCount());
        if (selectedStoredPlan.insertWaypoint(fix, legIndexOf(line), false, fms.planContext()) &&
            turn) {
            page.pageTurnRequested = true;
            page.pageTurnTarget = StoredFplPage::pageCount();
            page.pageTurnTime = fms.planContext().simTimeMs();
        }
    });
}

void WaypointEntry::enterStoredPlanOrigin(const std::string& entry) {
    fms.storedFplPage.originPending = true;
    fms.storedFplPage.destinationPending = false;
    resolveStoredEnd(entry, false);
}

// A stored plan's destination is entered once.
void WaypointEntry::enterStoredPlanDestination(const std::string& entry) {
    if (selectedStoredPlan.dest.kind != WaypointKind::Plain) {
        return;
    }
    fms.storedFplPage.destinationPending = true;
    fms.storedFplPage.originPending = false;
    resolveStoredEnd(entry, true);
}

void WaypointEntry::resolveStoredEnd(const std::string& entry, bool destination) {
    if (!FmsParser::isValidIdent(entry)) {
        refuse(entry);
        return;
    }
    resolveIdent(entry, cdu_page::kStoredPlan, fms.storedFplPage.subPage,
                 [&](const Waypoint& point) {
                     if (destination) {
                         selectedStoredPlan.setDestination(point, fms.planContext());
                     } else {
                         selectedStoredPlan.setOrigin(point, fms.planContext());
                     }
                 });
}

void WaypointEntry::finishPilotWaypointEntry() {
    const PilotPoint& point = fms.pilotWptPage.point;
    if (fms.pilotWptPage.returnPage == cdu_page::kStoredPlan) {
        const StoredFplPage& page = fms.storedFplPage;
        if (page.originPending) {
            selectedStoredPlan.setOrigin(point, fms.planContext());
        } else if (page.destinationPending) {
            selectedStoredPlan.setDestination(point, fms.planContext());
        } else {
            const bool turn = fms.flightConfig.isFpAutoPage &&
                              autoPageTurnApplies(page.selectedLine, StoredFplPage::lineCount());
            const bool inserted = page.selectedLine > 0 && selectedStoredPlan.insertWaypoint(
                                                               point, legIndexOf(page.selectedLine),
                                                               false, fms.planContext());
            fms.pilotWptPage.insertPending = turn && inserted;
        }
        fms.storedPlans().savePlanFile(selectedStoredPlan);
    } else if (fms.pilotWptPage.returnPage == cdu_page::kActiveFlightPlan) {
        if (fms.activeFplPage.destinationPending) {
            ActiveFplPage::planAt(fms.activeFplPage.shownPlan())
                .setDestination(point, fms.planContext());
        } else {
            enterWaypoint(fms.activeFplPage.selectedLine, point.ident);
        }
    }
}

} // namespace tavi
