// The CDU page engine: the page table, page changes, the drawing of the screen, the routing of
// the keys and the automatic page turn of the flight-plan pages.
#include "cdu/pages/PerfPages.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <algorithm>

namespace tavi {

namespace {

// Pages whose sub-page lives in a record of their own.
constexpr int32_t kDbWptPage = 4;
constexpr int32_t kWptSelectPage = 5;
constexpr int32_t kNavTuneListPage = 12;
constexpr int32_t kFlightPlanListPage = 15;
constexpr int32_t kFltPlanSelectPage = 18;
constexpr int32_t kDepartureRunwaysPage = 38;
constexpr int32_t kSidsPage = 39;
constexpr int32_t kDepartureTransPage = 40;
constexpr int32_t kSidReviewPage = 42;
constexpr int32_t kArrivalRunwayPage = 44;
constexpr int32_t kStarPage = 45;
constexpr int32_t kStarTransPage = 46;
constexpr int32_t kApproachPage = 47;
constexpr int32_t kApproachTransPage = 48;
constexpr int32_t kArrivalReviewPage = 49;
constexpr int32_t kTakeoffPage = 50;
constexpr int32_t kLandingPage = 51;

bool isPageId(int32_t page) {
    return page >= 0 && page < Fms::kPageCount;
}

} // namespace

void Fms::fillPageTable() {
    const std::pair<int32_t, int32_t*> subPages[] = {
        {kNavIndexPage, &navIndexSubPage},
        {kDbWptPage, &dbWptPage.subPage},
        {kWptSelectPage, &wptSelectPage.subPage},
        {kNavTuneListPage, &radTunePage.navListSide},
        {kFlightPlanListPage, &fplListPage.subPage},
        {kStoredPlanPage, &storedFplPage.subPage},
        {kActiveFlightPlanPage, &activeFplPage.subPage},
        {kDepartureRunwaysPage, &departurePage.runwaySubPage},
        {kSidsPage, &departurePage.sidSubPage},
        {kDepartureTransPage, &departurePage.transitionSubPage},
        {kSidReviewPage, &departurePage.reviewSubPage},
        {kArrivalRunwayPage, &arrivalPage.runwaySubPage},
        {kStarPage, &arrivalPage.starSubPage},
        {kStarTransPage, &arrivalPage.starTransitionSubPage},
        {kApproachPage, &arrivalPage.approachSubPage},
        {kApproachTransPage, &arrivalPage.approachTransitionSubPage},
        {kArrivalReviewPage, &arrivalPage.reviewSubPage},
        {kTakeoffPage, &takeoffPage.subPage},
        {kLandingPage, &landingPage.subPage},
    };
    for (const auto& [page, subPage] : subPages) {
        pages[static_cast<std::size_t>(page)].subPage = subPage;
    }
    pages[kNavIndexPage].enter = [this] {
        enterNavIndexPage();
    };
    pages[kActiveFlightPlanPage].enter = [this] {
        enterActiveFlightPlanPage();
    };
    navIdentPages.registerPages();
    posInitPage.registerPages();
    waypointPages.registerPages();
    sensorPages.registerPages();
    radioTuningPages.registerPages();
    progressPage.registerPages();
    runwayDataPages.registerPages();
    airDataPage.registerPages();
    flightSummaryPage.registerPages();
    departurePages.registerPages();
    arrivalPages.registerPages();
    procedureReviewPages.registerPages();
    patternPages.registerPages();
    orbitPages.registerPages();
    radialPages.registerPages();
    perfPages = std::make_unique<PerfPages>(*this);
    perfPages->registerPages();
    registerFlightPlanPages();
}

void Fms::registerFlightPlanPages() {
    FlightPlanPages& fpl = flightPlanPages;
    CduPageEntry& list = pages[kFlightPlanListPage];
    list.draw = [&fpl] {
        fpl.list.draw();
    };
    list.onKey = [&fpl](int32_t key) {
        fpl.list.onKey(key);
    };
    list.enter = [&fpl] {
        fpl.list.enter();
    };
    pages[kStoredPlanPage].draw = [&fpl] {
        fpl.stored.draw();
    };
    pages[kStoredPlanPage].onKey = [&fpl](int32_t key) {
        fpl.stored.onKey(key);
    };
    pages[kActiveFlightPlanPage].draw = [&fpl] {
        fpl.active.draw();
    };
    pages[kActiveFlightPlanPage].onKey = [&fpl](int32_t key) {
        fpl.active.onKey(key);
    };
    pages[kFltPlanSelectPage].draw = [&fpl] {
        fpl.select.draw();
    };
    pages[kFltPlanSelectPage].onKey = [&fpl](int32_t key) {
        fpl.select.onKey(key);
    };
}

void Fms::setPage(int32_t page, int32_t subPage) {
    if (page >= 1 && isPageId(page)) {
        const CduPageEntry& entry = pages[static_cast<std::size_t>(page)];
        // WIND/TEMP's entry action works on the sub-page it is shown with.
        const bool subPageFirst = page == kWindTempPage;
        if (subPageFirst && entry.subPage) {
            *entry.subPage = subPage;
        }
        if (entry.enter) {
            entry.enter();
        }
        if (!subPageFirst && entry.subPage) {
            *entry.subPage = subPage;
        }
    }
    currentPage = page;
}

void Fms::enterNavIndexPage() {
    if (!position.initialised) {
        showMessage("NO PRESENT POSITION", 0);
    }
}

void Fms::enterActiveFlightPlanPage() {
    enterNavIndexPage();
    if (activeFplPage.pageTurnRequested) {
        activeFplPage.pageTurnTime = now;
    }
}

void Fms::drawPage() {
    screen.clear();
    drawScratchpadLine();
    if (isPageId(currentPage)) {
        if (const auto& draw = pages[static_cast<std::size_t>(currentPage)].draw) {
            draw();
        }
    }
}

void Fms::pressKey(int32_t cduKey) {
    if (!powered) {
        return;
    }
    switch (cduKey) {
    case kDirKey:
        pressDirKey();
        return;
    case kProgKey:
        setPage(kProgressPage, 1);
        return;
    case kPerfKey:
        setPage(kPerfIndexPage, 1);
        return;
    case kNavKey:
        setPage(kNavIndexPage, 1);
        return;
    case kFplKey:
        activeFplPage.dirMode = false;
        setPage(kActiveFlightPlanPage, 1);
        return;
    case kClrKey:
        if (hasMessage()) {
            messages.removeFront();
            scratchPad.endEditMode();
        } else {
            scratchPad.pressClr();
        }
        return;
    case kDelKey:
        if (scratchPad.pressDel()) {
            passKeyToPage(cduKey);
        }
        return;
    case kPrevKey:
        if (scratchPad.pressPrev(hasMessage())) {
            passKeyToPage(cduKey);
        }
        return;
    case kNextKey:
        if (scratchPad.pressNext()) {
            passKeyToPage(cduKey);
        }
        return;
    default:
        passKeyToPage(cduKey);
    }
}

void Fms::pressDirKey() {
    if (currentPage == kActiveFlightPlanPage) {
        activeFplPage.dirMode = !activeFplPage.dirMode;
        if (activeFplPage.dirMode) {
            setPage(kActiveFlightPlanPage, 1);
        }
    } else {
        activeFplPage.dirMode = true;
        setPage(kActiveFlightPlanPage, 1);
    }
    if (!activeFlightPlan.hasOriginAndDestination()) {
        activeFplPage.dirMode = false;
    }
}

void Fms::passKeyToPage(int32_t cduKey) {
    if (isPageId(currentPage)) {
        if (const auto& onKey = pages[static_cast<std::size_t>(currentPage)].onKey) {
            onKey(cduKey);
        }
    }
}

void Fms::updateFplAutoPage() {
    if (storedFplPage.pageTurnRequested && currentPage == kStoredPlanPage &&
        now - storedFplPage.pageTurnTime >= kPageTurnDelayMs) {
        // The turn goes to the requested sub-page, never past the plan's last one: taking the
        // larger of the two would throw the pilot onto the last sub-page, or beyond the plan,
        // after an insertion anywhere else.
        setPage(kStoredPlanPage,
                std::min(storedFplPage.pageTurnTarget, StoredFplPage::pageCount()));
        storedFplPage.pageTurnRequested = false;
    } else if (activeFplPage.pageTurnRequested && currentPage == kActiveFlightPlanPage &&
               now - activeFplPage.pageTurnTime >= kPageTurnDelayMs) {
        setPage(kActiveFlightPlanPage,
                std::min(activeFplPage.pageTurnTarget, ActiveFplPage::pageCount()));
        activeFplPage.pageTurnRequested = false;
    }
}

} // namespace tavi
