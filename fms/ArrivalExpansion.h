#pragma once

#include "fms/ProcedureExpansionOutcome.h"
#include "fms/ProcedureLegConverter.h"
#include "navdata/Runway.h"

#include <string>

namespace tavi {

// The arrival chosen on the arrival pages; a runway with database ID 0 and empty texts stand
// for nothing chosen.
struct ArrivalSelection {
    std::string icao;
    Runway selArrRwy;
    std::string starSel;
    std::string starTransitionSel;
    std::string iapSel;
    std::string iapFullSel;
    std::string iapTransitionSel;
};

// Turns a STAR with its transition and an approach with its transition into plan legs that end
// at the runway (or at the airport): into the active plan in place of its STAR and approach,
// or into the arrival page's preview plan that ARRIVAL REVIEW lists. Activating an approach
// also builds the missed approach into the missed-approach plan, which the go-around makes the
// active route.
class ArrivalExpansion {
public:
    explicit ArrivalExpansion(const ProcedureEnvironment& environment)
        : environment(environment), converter(environment) {}

    // With activate the target is the active plan, otherwise the preview plan. Points are named
    // from the counters given: the page's for a preview, the active plan's for an activation.
    // No page change when the airport is not in the database; refused, nothing changed, when
    // the database cannot give the procedures whole. The caller copies the selection into the
    // arrival page's active copies after an activation.
    ProcedureExpansionOutcome build(const ArrivalSelection& selection, FlightPlan& target,
                                    FlightPlan& activePlan, FlightPlan& missedApproachPlan,
                                    GeneratedPointNames& names, bool activate) const;

    // The missed approach among the procedure records, from the departure end of the active
    // plan's destination runway; an empty plan when that runway is not from the database.
    // Its points go into the pilot-waypoint store.
    void buildMissedApproach(const std::vector<TerminalLeg>& legs, const FlightPlan& activePlan,
                             FlightPlan& missedApproachPlan, GeneratedPointNames& names) const;

private:
    // The runway the arrival ends at: the selected one, or the runway that ends the active
    // route.
    Runway arrivalRunway(const ArrivalSelection& selection, const FlightPlan& activePlan) const;
    std::size_t removeReplacedLegs(const ArrivalSelection& selection, FlightPlan& activePlan) const;
    void convertRecords(const ArrivalSelection& selection, const std::vector<TerminalLeg>& legs,
                        FlightPlan& work, const Runway& runway, GeneratedPointNames& names,
                        bool activate) const;
    void appendEnding(const ArrivalSelection& selection, FlightPlan& work,
                      const Runway& runway) const;
    void merge(FlightPlan& target, const FlightPlan& work, std::size_t at) const;
    void setDestinationIls(FlightPlan& target, const FlightPlan& work) const;
    // The records of the selected procedures; false when the database cannot give them whole.
    bool records(const ArrivalSelection& selection, std::vector<TerminalLeg>& legs) const;

    ProcedureEnvironment environment;
    ProcedureLegConverter converter;
};

} // namespace tavi
