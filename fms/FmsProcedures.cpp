// The FMS side of the departure and arrival pages: their choices expanded into plan legs.
#include "fms/ArrivalExpansion.h"
#include "fms/DepartureExpansion.h"
#include "fms/Fms.h"
#include "fms/GeneratedPointNames.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

namespace {

// A procedure the database cannot give whole is refused with this message.
constexpr char kProcedureNotInDatabase[] = "NOT IN DATA BASE";

} // namespace

void Fms::buildDeparture(bool activate) {
    if (!database) {
        return;
    }
    DeparturePage& page = departurePage;
    auto& counters = activate ? activeFplPage.fixNameCounters : page.fixNameCounters;
    GeneratedPointNames names = GeneratedPointNames::fromRecord(counters);
    const DepartureSelection selection{page.icao, page.depRwy, page.sid, page.sidTransition};
    FlightPlan& target = activate ? activeFlightPlan : page.fpl;
    const ProcedureExpansionOutcome outcome =
        DepartureExpansion({*database, pilotPointStore, context})
            .build(selection, target, activeFlightPlan, names, activate);
    names.toRecord(counters);
    showExpansionOutcome(outcome, page.reviewPageCount);
}

void Fms::buildArrival(bool activate) {
    if (!database) {
        return;
    }
    ArrivalPage& page = arrivalPage;
    auto& counters = activate ? activeFplPage.fixNameCounters : page.fixNameCounters;
    GeneratedPointNames names = GeneratedPointNames::fromRecord(counters);
    const ArrivalSelection selection{
        page.icao,   page.selArrRwy,  page.starSel,         page.starTransitionSel,
        page.iapSel, page.iapFullSel, page.iapTransitionSel};
    FlightPlan& target = activate ? activeFlightPlan : page.fpl;
    const ProcedureExpansionOutcome outcome =
        ArrivalExpansion({*database, pilotPointStore, context})
            .build(selection, target, activeFlightPlan, missedApproachFlightPlan, names, activate);
    names.toRecord(counters);
    if (activate && outcome.changePage) {
        page.arrRwy = page.selArrRwy;
        page.star = page.starSel;
        page.starTransition = page.starTransitionSel;
        page.iap = page.iapSel;
        page.iapFull = page.iapFullSel;
        page.iapTransition = page.iapTransitionSel;
    }
    showExpansionOutcome(outcome, page.reviewPageCount);
    if (!activate && outcome.changePage) {
        // The count follows the legs the preview kept once the merge tidied it, so ARRIVAL
        // REVIEW never pages into empty sub-pages.
        page.reviewPageCount = static_cast<int32_t>((page.fpl.legCount() + 2 + 2) / 3);
    }
}

void Fms::showExpansionOutcome(const ProcedureExpansionOutcome& outcome, int32_t& reviewPageCount) {
    if (outcome.refused) {
        showMessage(kProcedureNotInDatabase, 0);
    }
    if (!outcome.changePage) {
        return;
    }
    if (outcome.page != kActiveFlightPlanPage) {
        reviewPageCount = outcome.reviewPageCount;
    }
    setPage(outcome.page, 1);
}

} // namespace tavi
