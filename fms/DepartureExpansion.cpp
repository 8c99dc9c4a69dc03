#include "fms/DepartureExpansion.h"

#include "fms/FlightPlan.h"
#include "navdata/NavDatabase.h"

namespace tavi {

namespace {

constexpr int32_t kDepartureReviewLinesPerPage = 3;

std::string viaText(const DepartureSelection& selection) {
    return selection.sidTransition.empty() ? selection.sid
                                           : selection.sid + "." + selection.sidTransition;
}

} // namespace

ProcedureExpansionOutcome DepartureExpansion::build(const DepartureSelection& selection,
                                                    FlightPlan& target,
                                                    const FlightPlan& activePlan,
                                                    GeneratedPointNames& names,
                                                    bool activate) const {
    const FlightPlanContext& context = environment.context;
    std::vector<TerminalLeg> records;
    if (!environment.database.getSidLegs(selection.icao, selection.depRwy, selection.sid,
                                         selection.sidTransition, records)) {
        return {.refused = true};
    }
    target.locked = true;
    if (activate) {
        target.setOriginRunway(selection.depRwy, context);
        target.removeDeparture(context);
    } else {
        const Waypoint destination = activePlan.dest;
        target.clear(context);
        target.setOriginRunway(selection.depRwy, context);
        target.setDestination(destination, context);
    }
    const ProcedureJob job{target,      names, activate, viaText(selection),
                           kPhaseClimb, false, Runway()};
    bool lastAdded = false;
    for (std::size_t position = 0; position < records.size(); ++position) {
        const ConversionResult result =
            converter.convert(records, position, target.departureEnd(), job);
        if (result.insertingRule) {
            lastAdded = result.inserted;
        }
        if (result.skipNext) {
            ++position;
        }
    }
    if (lastAdded) {
        const std::size_t end = target.departureEnd();
        if (target.insertDiscontinuity(end, true, context)) {
            target.legs[end].trmLeg.proc = kProcSid;
        }
    }
    target.joinDepartureToRoute(context);
    target.locked = false;
    target.recalculate(context);
    if (activate) {
        return {true, kPageActiveFltPlan, 0};
    }
    if (target.legCount() > 0 && target.legs.back().isDiscontinuity()) {
        target.deleteLeg(target.legCount() - 1, context);
    }
    const auto legCount = static_cast<int32_t>(target.legCount());
    return {true, kPageSidReview,
            (legCount + 3 + kDepartureReviewLinesPerPage - 1) / kDepartureReviewLinesPerPage};
}

} // namespace tavi
