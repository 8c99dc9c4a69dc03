#include "cdu/pages/DeparturePages.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/ProcedureLists.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

using namespace navpages;
using namespace procedurelists;

namespace {

void drawItems(CduScreen& screen, int32_t subPage, const std::vector<std::string>& names) {
    forEachShown(kDepartureList, subPage, names.size(), [&](std::size_t index, SlotPlace place) {
        drawItem(screen, place, names[index], true);
    });
}

} // namespace

void DeparturePages::registerPages() {
    const auto bind = [this](int32_t id, void (DeparturePages::*draw)() const,
                             void (DeparturePages::*onKey)(int32_t)) {
        Fms::CduPageEntry& page = fms.pages[static_cast<std::size_t>(id)];
        page.draw = [this, draw] {
            (this->*draw)();
        };
        page.onKey = [this, onKey](int32_t key) {
            (this->*onKey)(key);
        };
    };
    bind(kDepartureRunways, &DeparturePages::drawRunwaysPage, &DeparturePages::onRunwaysKey);
    bind(cdu_page::kSids, &DeparturePages::drawSidsPage, &DeparturePages::onSidsKey);
    bind(cdu_page::kDepartureTrans, &DeparturePages::drawTransitionsPage,
         &DeparturePages::onTransitionsKey);
    bind(cdu_page::kProcedure, &DeparturePages::drawProcedurePage, &DeparturePages::onProcedureKey);
    fms.pages[kDepartureRunways].enter = [this] {
        enterDeparturePage();
    };
}

void DeparturePages::enterDeparturePage() {
    DeparturePage& page = fms.departurePage;
    page.reset(fms.planContext());
    const Waypoint origin = activeFlightPlan.org;
    const bool airport = origin.kind == WaypointKind::Airport;
    if (!activeFlightPlan.hasOriginAndDestination() ||
        (!airport && origin.kind != WaypointKind::Runway)) {
        page.runwayPageCount = 1;
        return;
    }
    page.icao = airport ? origin.ident : origin.aptIdent;
    fms.navDatabase().getAirportRunways(page.icao, page.depRunways);
    page.runwayPageCount = pageCount(page.depRunways.size(), kDepartureList.perPage);
}

void DeparturePages::selectDepartureRunway(std::size_t index) {
    DeparturePage& page = fms.departurePage;
    if (index >= page.depRunways.size()) {
        return;
    }
    page.depRwy = page.depRunways[index];
    page.sids.clear();
    fms.navDatabase().getSids(page.icao, page.depRwy, page.sids);
    if (page.sids.empty()) {
        fms.setPage(cdu_page::kProcedure, 1);
        return;
    }
    page.sidPageCount = pageCount(page.sids.size(), kDepartureList.perPage);
    fms.setPage(cdu_page::kSids, 1);
}

void DeparturePages::selectSid(std::size_t index) {
    DeparturePage& page = fms.departurePage;
    if (index >= page.sids.size()) {
        return;
    }
    page.sid = page.sids[index];
    page.sidTransitions.clear();
    fms.navDatabase().getSidEnrouteTransitions(page.icao, page.sid, page.sidTransitions);
    if (page.sidTransitions.empty()) {
        fms.setPage(cdu_page::kProcedure, 1);
        return;
    }
    page.transitionPageCount = pageCount(page.sidTransitions.size(), kDepartureList.perPage);
    fms.setPage(cdu_page::kDepartureTrans, 1);
}

void DeparturePages::selectSidTransition(std::size_t index) {
    DeparturePage& page = fms.departurePage;
    if (index >= page.sidTransitions.size()) {
        return;
    }
    page.sidTransition = page.sidTransitions[index];
    fms.setPage(cdu_page::kProcedure, 1);
}

std::string DeparturePages::procedureLine() const {
    const DeparturePage& page = fms.departurePage;
    std::string line = page.icao + " " + page.depRwy.ident;
    if (!page.sid.empty()) {
        line += " " + page.sid;
        if (!page.sidTransition.empty()) {
            line += "." + page.sidTransition;
        }
    }
    return line;
}

void DeparturePages::drawHeaderLine(const std::string& text) const {
    fms.screen.putText(2, 0, text, CduColour::Green, true, false);
}

void DeparturePages::drawRunwaysPage() const {
    const DeparturePage& page = fms.departurePage;
    CduScreen& screen = fms.screen;
    screen.drawTitle("DEPARTURE RUNWAYS");
    screen.drawPageNumber(page.runwaySubPage, page.runwayPageCount);
    drawHeaderLine(page.icao.empty() ? kNoAirport : page.icao);
    forEachShown(kDepartureList, page.runwaySubPage, page.depRunways.size(),
                 [&](std::size_t index, SlotPlace place) {
                     drawItem(screen, place, page.depRunways[index].runwayDesignator(), true);
                 });
    screen.drawRightPrompt("TAKEOFF", false, 7);
}

void DeparturePages::onRunwaysKey(int32_t key) {
    DeparturePage& page = fms.departurePage;
    if (key == kR4) {
        fms.setPage(cdu_page::kTakeoff, 1);
    } else if (!turnSubPage(key, page.runwaySubPage, page.runwayPageCount)) {
        if (const auto index =
                pickedIndex(kDepartureList, page.runwaySubPage, key, page.depRunways.size())) {
            selectDepartureRunway(*index);
        }
    }
}

void DeparturePages::drawSidsPage() const {
    const DeparturePage& page = fms.departurePage;
    CduScreen& screen = fms.screen;
    screen.drawTitle("SIDS");
    screen.drawPageNumber(page.sidSubPage, page.sidPageCount);
    drawHeaderLine(page.icao + " " + page.depRwy.ident);
    drawItems(screen, page.sidSubPage, page.sids);
    screen.drawRightPrompt("ACTIVATE", false, 7);
}

void DeparturePages::onSidsKey(int32_t key) {
    DeparturePage& page = fms.departurePage;
    if (key == kR4) {
        fms.activateDeparture();
    } else if (!turnSubPage(key, page.sidSubPage, page.sidPageCount)) {
        if (const auto index =
                pickedIndex(kDepartureList, page.sidSubPage, key, page.sids.size())) {
            selectSid(*index);
        }
    }
}

void DeparturePages::drawTransitionsPage() const {
    const DeparturePage& page = fms.departurePage;
    CduScreen& screen = fms.screen;
    screen.drawTitle("DEPARTURE TRANS");
    screen.drawPageNumber(page.transitionSubPage, page.transitionPageCount);
    drawHeaderLine(page.icao + " " + page.depRwy.ident + " " + page.sid);
    drawItems(screen, page.transitionSubPage, page.sidTransitions);
    screen.drawLeftPrompt("REVIEW", false, 7);
    screen.drawRightPrompt("ACTIVATE", false, 7);
}

void DeparturePages::onTransitionsKey(int32_t key) {
    DeparturePage& page = fms.departurePage;
    if (key == kL4) {
        review(cdu_page::kDepartureTrans, page.transitionSubPage);
    } else if (key == kR4) {
        fms.activateDeparture();
    } else if (!turnSubPage(key, page.transitionSubPage, page.transitionPageCount)) {
        if (const auto index = pickedIndex(kDepartureList, page.transitionSubPage, key,
                                           page.sidTransitions.size())) {
            selectSidTransition(*index);
        }
    }
}

void DeparturePages::drawProcedurePage() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("PROCEDURE");
    screen.drawPageNumber(1, 1);
    drawHeaderLine(procedureLine());
    screen.drawLeftPrompt("REVIEW", false, 7);
    screen.drawRightPrompt("ACTIVATE", false, 7);
}

void DeparturePages::onProcedureKey(int32_t key) {
    if (key == kL4) {
        review(cdu_page::kProcedure, 1);
    } else if (key == kR4) {
        fms.activateDeparture();
    }
}

void DeparturePages::review(int32_t returnPage, int32_t returnSubPage) {
    fms.departurePage.reviewReturnPage = returnPage;
    fms.departurePage.reviewReturnSubPage = returnSubPage;
    fms.buildDeparture(false);
}

} // namespace tavi
