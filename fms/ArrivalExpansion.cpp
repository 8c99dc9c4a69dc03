#include "fms/ArrivalExpansion.h"

#include "fms/FlightPlan.h"
#include "fms/GeneratedPointNames.h"
#include "navdata/Ils.h"
#include "navdata/NavDatabase.h"

namespace tavi {

namespace {

constexpr int32_t kReviewLinesPerPage = 3;
constexpr char kApproachTransitionVia[] = "APPR TRANS";
constexpr char kMissedApproachVia[] = "MISSED APPRCH";

bool hasStar(const ArrivalSelection& selection) {
    return !selection.starSel.empty();
}
bool hasApproach(const ArrivalSelection& selection) {
    return !selection.iapSel.empty();
}

std::string approachVia(const ArrivalSelection& selection, const Runway& runway) {
    return selection.iapSel + " " + runway.runwayDesignator();
}

std::string viaText(int32_t proc, const ArrivalSelection& selection, const Runway& runway) {
    switch (proc) {
    case kProcStar:
        return selection.starTransitionSel.empty()
                   ? selection.starSel
                   : selection.starSel + "." + selection.starTransitionSel;
    case kProcApproach:
        return approachVia(selection, runway);
    case kProcApproachTransition:
        return kApproachTransitionVia;
    case kProcMissedApproach:
        return kMissedApproachVia;
    default:
        return {};
    }
}

bool isApproachSection(int32_t proc) {
    return proc == kProcApproach || proc == kProcApproachTransition;
}

// A plan built for one expansion, locked so that nothing tidies or recalculates it.
FlightPlan workPlan() {
    FlightPlan plan;
    plan.locked = true;
    return plan;
}

// One tidy pass removes one repeated leg; the runway legs of the missed-approach point and the
// end of the approach need as many passes as there are copies.
void removeAllRedundantLegs(FlightPlan& plan, const FlightPlanContext& context) {
    for (std::size_t before = plan.legCount() + 1; plan.legCount() < before;) {
        before = plan.legCount();
        plan.removeRedundantLegs(context);
    }
}

} // namespace

ProcedureExpansionOutcome ArrivalExpansion::build(const ArrivalSelection& selection,
                                                  FlightPlan& target, FlightPlan& activePlan,
                                                  FlightPlan& missedApproachPlan,
                                                  GeneratedPointNames& names, bool activate) const {
    const FlightPlanContext& context = environment.context;
    std::vector<TerminalLeg> legs;
    if (!records(selection, legs)) {
        return {.refused = true};
    }
    FlightPlan work = workPlan();
    work.setOrigin(activePlan.org, context);
    work.setDestinationRunway(activePlan.destRwy, context);
    work.setDestination(activePlan.dest, context);
    const Runway runway = arrivalRunway(selection, activePlan);
    const std::size_t insertAt = activate ? removeReplacedLegs(selection, activePlan) : 0;

    std::vector<Waypoint> airports;
    environment.database.searchAirports(selection.icao, airports);
    if (airports.empty()) {
        return {};
    }
    work.setDestination(airports.front(), context);
    convertRecords(selection, legs, work, runway, names, activate);
    appendEnding(selection, work, runway);

    if (activate) {
        merge(target, work, insertAt);
        if (hasApproach(selection)) {
            buildMissedApproach(legs, target, missedApproachPlan, names);
        }
        return {true, kPageActiveFltPlan, 0};
    }
    const Waypoint origin = activePlan.org;
    const Waypoint destination = activePlan.dest;
    target.clear(context);
    target.setOrigin(origin, context);
    target.setDestination(destination, context);
    merge(target, work, 0);
    if (target.legCount() > 0 && target.legs.front().isDiscontinuity()) {
        target.deleteLeg(0, context);
    }
    const auto legCount = static_cast<int32_t>(work.legCount());
    return {true, kPageArrivalReview,
            (legCount + 2 + kReviewLinesPerPage - 1) / kReviewLinesPerPage};
}

void ArrivalExpansion::buildMissedApproach(const std::vector<TerminalLeg>& legs,
                                           const FlightPlan& activePlan,
                                           FlightPlan& missedApproachPlan,
                                           GeneratedPointNames& names) const {
    const FlightPlanContext& context = environment.context;
    const Runway runway = activePlan.destRwy;
    if (runway.id == 0) {
        missedApproachPlan.clear(context);
        return;
    }
    FlightPlan work = workPlan();
    work.setOriginRunway(runway, context);
    work.setDestinationRunway(runway, context);
    const ProcedureJob job{work, names, true, kMissedApproachVia, kPhaseClimb, true, runway};
    for (std::size_t position = 0; position < legs.size(); ++position) {
        if (legs[position].proc != kProcMissedApproach) {
            continue;
        }
        if (converter.convert(legs, position, work.legCount(), job).skipNext) {
            ++position;
        }
    }
    if (work.legCount() > 0 && work.legs.back().wpt.kind == WaypointKind::Runway) {
        work.legs.pop_back();
    }
    work.locked = false;
    missedApproachPlan = work;
    missedApproachPlan.removeRedundantLegs(context);
    missedApproachPlan.recalculate(context);
}

// The route-end runway stands in for a runway not chosen, both for the runway leg and as the
// destination runway.
Runway ArrivalExpansion::arrivalRunway(const ArrivalSelection& selection,
                                       const FlightPlan& activePlan) const {
    if (selection.selArrRwy.id != 0) {
        return selection.selArrRwy;
    }
    Runway runway;
    if (!activePlan.isBeforeRouteEnd() || activePlan.routeEndLeg >= activePlan.legCount()) {
        return runway;
    }
    const Waypoint& routeEnd = activePlan.legs[activePlan.routeEndLeg].wpt;
    if (routeEnd.kind != WaypointKind::Runway) {
        return runway;
    }
    if (activePlan.destRwy.id == routeEnd.id) {
        return activePlan.destRwy;
    }
    static_cast<Waypoint&>(runway) = routeEnd;
    return runway;
}

std::size_t ArrivalExpansion::removeReplacedLegs(const ArrivalSelection& selection,
                                                 FlightPlan& activePlan) const {
    const FlightPlanContext& context = environment.context;
    std::size_t at = activePlan.legCount();
    if (hasApproach(selection) || selection.selArrRwy.id != 0) {
        at = std::min(at, activePlan.removeApproachLegs(context));
    }
    if (hasStar(selection)) {
        at = std::min(at, activePlan.removeStarLegs(context));
    }
    return at;
}

bool ArrivalExpansion::records(const ArrivalSelection& selection,
                               std::vector<TerminalLeg>& legs) const {
    const bool withRunway = hasApproach(selection) || selection.selArrRwy.id != 0;
    return environment.database.getStarIapLegs(
        selection.icao, withRunway ? selection.selArrRwy : Runway(), selection.starSel,
        selection.starTransitionSel, selection.iapSel, selection.iapFullSel,
        selection.iapTransitionSel, legs);
}

// The STAR, a break, the approach transition and the approach up to the missed-approach point,
// which is followed by the runway.
void ArrivalExpansion::convertRecords(const ArrivalSelection& selection,
                                      const std::vector<TerminalLeg>& legs, FlightPlan& work,
                                      const Runway& runway, GeneratedPointNames& names,
                                      bool activate) const {
    int32_t completedProc = kProcRoute;
    for (std::size_t position = 0; position < legs.size(); ++position) {
        const int32_t proc = legs[position].proc;
        const std::string via = viaText(proc, selection, runway);
        const bool sectionStart = (completedProc == kProcRoute && proc == kProcStar) ||
                                  (isApproachSection(proc) && !isApproachSection(completedProc));
        if (sectionStart && work.insertDiscontinuity(work.legCount(), false, environment.context)) {
            work.legs.back().via = via;
            work.legs.back().trmLeg.proc = proc;
        }
        if (proc == kProcMissedApproach && completedProc != kProcMissedApproach) {
            converter.appendRunwayLeg(work, runway, approachVia(selection, runway));
            return;
        }
        const ProcedureJob job{work, names, activate, via, kPhaseDescent, true, runway};
        const ConversionResult result = converter.convert(legs, position, work.legCount(), job);
        if (result.completed) {
            completedProc = proc;
        }
        if (result.skipNext) {
            ++position;
        }
    }
}

// Without an approach the arrival ends at the runway after a break, or at the airport.
void ArrivalExpansion::appendEnding(const ArrivalSelection& selection, FlightPlan& work,
                                    const Runway& runway) const {
    if (hasApproach(selection)) {
        return;
    }
    const FlightPlanContext& context = environment.context;
    if (runway.id != 0) {
        if (work.insertDiscontinuity(work.legCount(), false, context)) {
            work.legs.back().trmLeg.proc = kProcApproach;
        }
        converter.appendRunwayLeg(work, runway, {});
        return;
    }
    std::vector<Waypoint> airports;
    environment.database.searchAirports(selection.icao, airports);
    if (!airports.empty()) {
        work.setDestination(airports.front(), context);
        work.insertWaypoint(airports.front(), work.legCount(), false, context);
    }
}

void ArrivalExpansion::merge(FlightPlan& target, const FlightPlan& work, std::size_t at) const {
    const FlightPlanContext& context = environment.context;
    target.setDestinationRunway(work.destRwy, context);
    target.setDestination(work.dest, context);
    at = std::min(at, target.legCount());
    target.legs.insert(target.legs.begin() + static_cast<std::ptrdiff_t>(at), work.legs.begin(),
                       work.legs.end());
    target.joinRouteToArrival(context);
    removeAllRedundantLegs(target, context);
    target.recalculate(context);
    setDestinationIls(target, work);
    target.setDestination(work.dest, context);
}

void ArrivalExpansion::setDestinationIls(FlightPlan& target, const FlightPlan& work) const {
    Ils ils;
    environment.database.getIlsInfoForRunway(work.destRwy.id, ils);
    target.destIls = ils;
}

} // namespace tavi
