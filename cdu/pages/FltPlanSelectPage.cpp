#include "cdu/pages/FltPlanSelectPage.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/FlightPlanListPage.h"
#include "cdu/pages/PageText.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

namespace {} // namespace

void FltPlanSelectPage::draw() {
    CduScreen& s = fms.screen;
    s.drawTitle("FLT PLAN SELECT");
    s.drawPageNumber(1, 1);
    if (confirmPending) {
        s.putText(4, 3, "CONFIRM REPLACING", CduColour::White, true, false);
        s.putText(5, 2, "ACTIVE FLIGHT PLAN", CduColour::White, true, false);
        s.drawLeftPrompt("NO", false, 7);
        s.drawRightPrompt("YES", false, 7);
        return;
    }
    s.putText(1, 1, "FLT PLAN", CduColour::White, false, false);
    const std::string& name = selectedStoredPlan.name();
    s.putText(2, 0, name.empty() ? kTenDashes : name, CduColour::Amber, true, false);
    s.drawRightPrompt("", false, 2);
    s.putTextRight(2, 23, "ACTIVATE", CduColour::White, true, false);
    s.drawRightPrompt("", false, 4);
    s.putTextRight(4, 23, "INVERT/ACTIVATE", CduColour::White, true, false);
    s.drawLeftPrompt("FPL LIST", false, 7);
}

void FltPlanSelectPage::onKey(int32_t key) {
    if (confirmPending) {
        onConfirmKey(key);
    } else {
        onNormalKey(key);
    }
}

void FltPlanSelectPage::onNormalKey(int32_t key) {
    switch (key) {
    case 0:
        selectNamedPlan();
        break;
    case 3:
        fms.setPage(cdu_page::kFlightPlanList, 1);
        break;
    case 4:
        requestActivation(false);
        break;
    case 5:
        requestActivation(true);
        break;
    default:
        break;
    }
}

void FltPlanSelectPage::onConfirmKey(int32_t key) {
    if (key == 3) {
        confirmPending = false;
    } else if (key == 7) {
        const bool inverted = invertRequested;
        confirmPending = false;
        invertRequested = false;
        if (inverted) {
            invertAndActivateStoredPlan();
        } else {
            activateStoredPlan();
        }
    }
}

void FltPlanSelectPage::selectNamedPlan() {
    const std::optional<std::string> name = list.takePlanName();
    if (name && list.openNamedPlan(*name) == FlightPlanListPage::Opening::Created) {
        fms.setPage(cdu_page::kStoredPlan, 1);
    }
}

void FltPlanSelectPage::requestActivation(bool inverted) {
    if (selectedStoredPlan.name().empty()) {
        return;
    }
    if (!activeFlightPlan.hasOriginAndDestination()) {
        if (inverted) {
            invertAndActivateStoredPlan();
        } else {
            activateStoredPlan();
        }
        return;
    }
    invertRequested = inverted;
    confirmPending = true;
}

void FltPlanSelectPage::activateStoredPlan() {
    fms.purgeTemporaryWaypoints();
    activeFlightPlan = selectedStoredPlan;
    finishActivation();
}

void FltPlanSelectPage::invertAndActivateStoredPlan() {
    const FlightPlanContext& context = fms.planContext();
    const FlightPlan stored = selectedStoredPlan;
    fms.purgeTemporaryWaypoints();
    activeFlightPlan.clear(context);
    activeFlightPlan.setOrigin(stored.dest, context);
    activeFlightPlan.setDestination(stored.org, context);
    auto last = static_cast<int32_t>(stored.legCount()) - 1;
    const bool finalLegLeftOut = !stored.endsBeforeDestination() && last >= 0;
    if (finalLegLeftOut) {
        --last;
    }
    std::size_t inserted = 0;
    for (int32_t i = last; i >= 0; --i) {
        const FlightPlanLeg& leg = stored.legs[static_cast<std::size_t>(i)];
        if (leg.hasFix() && activeFlightPlan.insertWaypoint(leg.wpt, inserted, false, context)) {
            inserted = activeFlightPlan.legCount();
        }
    }
    if (finalLegLeftOut) {
        activeFlightPlan.insertWaypoint(activeFlightPlan.dest, activeFlightPlan.legCount(), false,
                                        context);
    }
    finishActivation();
}

void FltPlanSelectPage::finishActivation() {
    const FlightPlanContext& context = fms.planContext();
    alternateFlightPlan.setOrigin(activeFlightPlan.dest, context);
    selectedStoredPlan.clear(context);
    fms.perfInit.initialised = false;
    fms.setPage(cdu_page::kActiveFlightPlan, 1);
}

} // namespace tavi
