#include "cdu/pages/ArrivalPages.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <algorithm>

namespace tavi {

using namespace navpages;
using namespace pagetext;
using namespace procedurelists;

namespace {

constexpr const char* kNone = "<<NONE>>";
constexpr const char* kChangeActivePlan = "CHANGE ACTIVE FPLN";

std::vector<std::string> designatorsOf(const std::vector<Runway>& runways) {
    std::vector<std::string> texts;
    for (const Runway& runway : runways) {
        texts.push_back(runway.runwayDesignator());
    }
    return texts;
}

std::vector<std::string> identsOf(const std::vector<Runway>& runways) {
    std::vector<std::string> idents;
    for (const Runway& runway : runways) {
        idents.push_back(runway.ident);
    }
    return idents;
}

} // namespace

void ArrivalPages::registerPages() {
    Fms::CduPageEntry& arrival = fms.pages[kArrival];
    arrival.draw = [this] {
        drawArrivalPage();
    };
    arrival.onKey = [this](int32_t key) {
        onArrivalKey(key);
    };
    arrival.enter = [this] {
        enterArrivalPage();
    };
    for (const int32_t id : {cdu_page::kArrivalRunway, cdu_page::kStar, cdu_page::kStarTrans,
                             cdu_page::kApproach, cdu_page::kApproachTrans}) {
        Fms::CduPageEntry& page = fms.pages[static_cast<std::size_t>(id)];
        page.draw = [this, id] {
            drawListPage(id);
        };
        page.onKey = [this, id](int32_t key) {
            onListKey(id, key);
        };
    }
}

void ArrivalPages::enterArrivalPage() {
    ArrivalPage& page = fms.arrivalPage;
    const Waypoint destination = activeFlightPlan.dest;
    page.fixNameCounters.fill(1);
    const bool airport = destination.kind == WaypointKind::Airport;
    if (!activeFlightPlan.hasOriginAndDestination() ||
        (!airport && destination.kind != WaypointKind::Runway)) {
        page.runwayPageCount = 1;
        page.reset(fms.planContext());
        return;
    }
    const std::string icao = airport ? destination.ident : destination.aptIdent;
    if (icao != page.icao) {
        page.reset(fms.planContext());
        page.icao = icao;
    }
    const NavDatabase& database = fms.navDatabase();
    page.arrRunways.clear();
    database.getAirportRunways(page.icao, page.arrRunways);
    page.runwayPageCount = pageCount(page.arrRunways.size(), kArrivalLongList.perPage);
    page.iaps.clear();
    page.iapsFull.clear();
    page.iapRunways.clear();
    database.getAirportIaps(page.icao, page.arrRunways, page.iaps, page.iapsFull, page.iapRunways);
    page.approachPageCount = pageCount(page.iaps.size(), kApproachList.perPage);
    page.stars.clear();
    database.getStars(page.icao, Runway(), page.stars);
    page.starPageCount = pageCount(page.stars.size(), kArrivalShortList.perPage);
}

bool ArrivalPages::somethingSelected() const {
    const ArrivalPage& page = fms.arrivalPage;
    return !page.starSel.empty() || !page.iapSel.empty() || !page.selArrRwy.ident.empty();
}

void ArrivalPages::drawArrivalPage() const {
    const ArrivalPage& page = fms.arrivalPage;
    CduScreen& screen = fms.screen;
    screen.drawTitle("ARRIVAL");
    screen.drawPageNumber(1, 1);
    screen.drawLeftPrompt("RUNWAY", false, 1);
    labelEndingAt(screen, 1, 22, "AIRPORT");
    screen.putText(2, 1, page.selArrRwy.ident, CduColour::Green, true, false);
    valueEndingAt(screen, 2, 23, page.icao.empty() ? kNoAirport : page.icao, CduColour::Green);
    const auto drawChoice = [&](int32_t row, const char* title, bool offered,
                                const std::string& line) {
        if (offered) {
            screen.drawLeftPrompt("", false, row);
        }
        label(screen, row, 1, title);
        screen.putText(row + 1, 1, offered ? line : kNone, CduColour::Green, true, false);
    };
    drawChoice(3, "APPROACH", !page.iaps.empty(),
               joinedProcedure(page.iapTransitionSel, page.iapSel));
    drawChoice(5, "STAR", !page.stars.empty(),
               joinedProcedure(page.starTransitionSel, page.starSel));
    if (somethingSelected()) {
        screen.drawLeftPrompt("REVIEW", false, 7);
        screen.drawRightPrompt("ACTIVATE", false, 7);
    } else {
        screen.drawRightPrompt("LANDING", false, 7);
    }
}

void ArrivalPages::clearApproachSelection() {
    ArrivalPage& page = fms.arrivalPage;
    page.iapSel.clear();
    page.iapFullSel.clear();
    page.iapTransitionSel.clear();
}

void ArrivalPages::onArrivalKey(int32_t key) {
    ArrivalPage& page = fms.arrivalPage;
    const bool deleting = fms.isScratchpadDelete();
    switch (key) {
    case kL1:
        if (deleting) {
            page.selArrRwy = Runway();
            clearApproachSelection();
            fms.takeScratchpad();
        } else {
            fms.setPage(cdu_page::kArrivalRunway, 1);
        }
        break;
    case kL2:
        if (deleting) {
            clearApproachSelection();
            fms.takeScratchpad();
        } else if (!page.iaps.empty()) {
            fms.setPage(cdu_page::kApproach, 1);
        }
        break;
    case kL3:
        if (deleting) {
            page.starSel.clear();
            page.starTransitionSel.clear();
            fms.takeScratchpad();
        } else if (!page.stars.empty()) {
            fms.setPage(cdu_page::kStar, 1);
        }
        break;
    case kL4:
        if (somethingSelected()) {
            fms.buildArrival(false);
        }
        break;
    case kR4:
        if (somethingSelected()) {
            fms.activateArrival();
        } else {
            fms.setPage(cdu_page::kLanding, 1);
        }
        break;
    default:
        break;
    }
}

ArrivalPages::ListView ArrivalPages::listView(int32_t id) const {
    ArrivalPage& page = fms.arrivalPage;
    switch (id) {
    case cdu_page::kArrivalRunway:
        return {" RUNWAY",
                kArrivalLongList,
                &page.runwaySubPage,
                page.runwayPageCount,
                designatorsOf(page.arrRunways),
                identsOf(page.arrRunways),
                page.arrRwy.ident,
                page.selArrRwy.ident,
                {},
                "APPROACH",
                !page.iaps.empty(),
                !page.iaps.empty(),
                cdu_page::kApproach,
                &ArrivalPages::selectArrivalRunway};
    case cdu_page::kStar:
        return {" STAR",
                kArrivalShortList,
                &page.starSubPage,
                page.starPageCount,
                page.stars,
                page.stars,
                page.star,
                page.starSel,
                {},
                "STAR TRANS",
                !page.starTransitions.empty(),
                !page.starSel.empty() && !page.starTransitions.empty(),
                cdu_page::kStarTrans,
                &ArrivalPages::selectStar};
    case cdu_page::kStarTrans:
        return {" STAR TRANS",
                kArrivalShortList,
                &page.starTransitionSubPage,
                page.starTransitionPageCount,
                page.starTransitions,
                page.starTransitions,
                page.starTransition,
                page.starTransitionSel,
                {},
                "RUNWAY",
                true,
                true,
                cdu_page::kArrivalRunway,
                &ArrivalPages::selectStarTransition};
    case cdu_page::kApproach:
        return {" APPROACH",
                kApproachList,
                &page.approachSubPage,
                page.approachPageCount,
                page.iaps,
                page.iapsFull,
                page.iapFull,
                page.iapFullSel,
                designatorsOf(page.iapRunways),
                "APP TRANS",
                !page.iapTransitions.empty(),
                !page.iapSel.empty() && !page.iapTransitions.empty(),
                cdu_page::kApproachTrans,
                &ArrivalPages::selectApproach};
    default:
        return {" APPROACH TRANS",
                kArrivalLongList,
                &page.approachTransitionSubPage,
                page.approachTransitionPageCount,
                page.iapTransitions,
                page.iapTransitions,
                page.iapTransition,
                page.iapTransitionSel,
                {},
                "STAR",
                !page.stars.empty(),
                !page.stars.empty(),
                cdu_page::kStar,
                &ArrivalPages::selectApproachTransition};
    }
}

void ArrivalPages::drawListPage(int32_t id) const {
    const ListView view = listView(id);
    CduScreen& screen = fms.screen;
    screen.drawTitle(fms.arrivalPage.icao + view.titleSuffix);
    screen.drawPageNumber(*view.subPage, view.pageCount);
    forEachShown(view.layout, *view.subPage, view.texts.size(),
                 [&](std::size_t index, SlotPlace place) { drawListItem(view, index, place); });
    if (view.leftPromptShown) {
        screen.drawLeftPrompt(view.leftPrompt, false, 7);
    }
    screen.drawRightPrompt("ARRIVAL", false, 7);
}

void ArrivalPages::drawListItem(const ListView& view, std::size_t index,
                                const SlotPlace& place) const {
    CduScreen& screen = fms.screen;
    const std::string& text = view.texts[index];
    drawItem(screen, place, text, false);
    const std::string& compared = view.compared[index];
    const char* marker = compared == view.active     ? "(ACT)"
                         : compared == view.selected ? "(SEL)"
                                                     : "";
    const int32_t width = textWidth(text);
    if (place.left) {
        screen.putText(place.row, width + 2, marker, CduColour::White, true, false);
    } else {
        screen.putTextRight(place.row, 22 - width, marker, CduColour::White, true, false);
    }
    if (!view.runways.empty()) {
        const std::string& runway = view.runways[index];
        if (place.left) {
            screen.putText(place.row + 1, 1, runway, CduColour::Green, true, false);
        } else {
            valueEndingAt(screen, place.row + 1, 22, runway, CduColour::Green);
        }
    }
}

void ArrivalPages::onListKey(int32_t id, int32_t key) {
    const ListView view = listView(id);
    if (key == kL4) {
        if (view.leftKeyActs) {
            fms.setPage(view.leftKeyPage, 1);
        }
    } else if (key == kR4) {
        fms.setPage(kArrival, 1);
    } else if (!turnSubPage(key, *view.subPage, view.pageCount)) {
        if (const auto index = pickedIndex(view.layout, *view.subPage, key, view.texts.size())) {
            (this->*view.select)(*index);
        }
    }
}

void ArrivalPages::showListOrArrival(int32_t id, bool hasItems) {
    fms.setPage(hasItems ? id : kArrival, 1);
}

void ArrivalPages::selectArrivalRunway(std::size_t index) {
    ArrivalPage& page = fms.arrivalPage;
    if (index >= page.arrRunways.size()) {
        return;
    }
    page.selArrRwy = page.arrRunways[index];
    warnArrivalChange();
    showListOrArrival(cdu_page::kApproach, !page.iaps.empty());
}

void ArrivalPages::selectApproach(std::size_t index) {
    ArrivalPage& page = fms.arrivalPage;
    if (index >= page.iaps.size() || index >= page.iapsFull.size() ||
        index >= page.iapRunways.size()) {
        return;
    }
    if (page.iaps[index] != page.iapSel) {
        page.iapSel = page.iaps[index];
        page.iapFullSel = page.iapsFull[index];
        page.iapTransitionSel.clear();
    }
    page.selArrRwy = page.iapRunways[index];
    warnArrivalChange();
    page.iapTransitions.clear();
    fms.navDatabase().getIapTransitions(page.icao, page.iapSel, page.iapFullSel,
                                        page.iapTransitions);
    page.approachTransitionPageCount =
        pageCount(page.iapTransitions.size(), kArrivalLongList.perPage);
    if (!page.iapTransitions.empty()) {
        fms.setPage(cdu_page::kApproachTrans, 1);
    } else {
        showListOrArrival(cdu_page::kStar, !page.stars.empty());
    }
}

void ArrivalPages::selectApproachTransition(std::size_t index) {
    ArrivalPage& page = fms.arrivalPage;
    if (index >= page.iapTransitions.size()) {
        return;
    }
    page.iapTransitionSel = page.iapTransitions[index];
    showListOrArrival(cdu_page::kStar, !page.stars.empty());
}

void ArrivalPages::selectStar(std::size_t index) {
    ArrivalPage& page = fms.arrivalPage;
    if (index >= page.stars.size()) {
        return;
    }
    if (page.stars[index] != page.starSel) {
        page.starSel = page.stars[index];
        page.starTransitionSel.clear();
    }
    const NavDatabase& database = fms.navDatabase();
    page.starTransitions.clear();
    database.getStarEnrouteTransitions(page.icao, page.starSel, page.starTransitions);
    page.starTransitionPageCount =
        pageCount(page.starTransitions.size(), kArrivalShortList.perPage);
    std::vector<std::string> names;
    database.getStarRunways(page.icao, page.starSel, names);
    std::sort(names.begin(), names.end());
    page.starRunways.clear();
    for (const std::string& name : names) {
        Runway runway;
        database.getRunwayInfoByIdent(page.icao, name, runway);
        if (runway.id != 0) {
            page.starRunways.push_back(runway);
        }
    }
    if (names.empty()) {
        database.getAirportRunways(page.icao, page.starRunways);
    }
    if (page.starRunways.size() == 1) {
        page.selArrRwy = page.starRunways.front();
    }
    warnArrivalChange();
    showListOrArrival(cdu_page::kStarTrans, !page.starTransitions.empty());
}

void ArrivalPages::selectStarTransition(std::size_t index) {
    ArrivalPage& page = fms.arrivalPage;
    if (index >= page.starTransitions.size()) {
        return;
    }
    page.starTransitionSel = page.starTransitions[index];
    fms.setPage(kArrival, 1);
}

void ArrivalPages::warnArrivalChange() {
    const ArrivalPage& page = fms.arrivalPage;
    const std::string& runway = page.selArrRwy.ident;
    if (runway.empty()) {
        return;
    }
    const auto approach = std::find(page.iapsFull.begin(), page.iapsFull.end(), page.iapFullSel);
    const auto approachIndex = static_cast<std::size_t>(approach - page.iapsFull.begin());
    const bool approachElsewhere = approach != page.iapsFull.end() &&
                                   approachIndex < page.iapRunways.size() &&
                                   page.iapRunways[approachIndex].ident != runway;
    const bool starElsewhere =
        !page.starSel.empty() && !page.starRunways.empty() &&
        std::none_of(page.starRunways.begin(), page.starRunways.end(),
                     [&](const Runway& served) { return served.ident == runway; });
    if (approachElsewhere || starElsewhere) {
        fms.showMessage(kChangeActivePlan, 0);
    }
}

} // namespace tavi
