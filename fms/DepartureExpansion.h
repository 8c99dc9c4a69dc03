#pragma once

#include "fms/ProcedureExpansionOutcome.h"
#include "fms/ProcedureLegConverter.h"
#include "navdata/Runway.h"

#include <string>

namespace tavi {

// The departure chosen on the departure pages.
struct DepartureSelection {
    std::string icao;
    Runway depRwy;
    std::string sid;
    // May be empty.
    std::string sidTransition;
};

// Turns a departure runway, a SID and its transition into plan legs: into the active plan in
// place of its old SID, in front of the rest of the route, or into the departure page's preview
// plan that SID REVIEW lists.
class DepartureExpansion {
public:
    explicit DepartureExpansion(const ProcedureEnvironment& environment)
        : environment(environment), converter(environment) {}

    // With activate the target is the active plan, otherwise the preview plan, which takes the
    // active plan's destination. Points are named from the counters given: the page's for a
    // preview, the active plan's for an activation.
    ProcedureExpansionOutcome build(const DepartureSelection& selection, FlightPlan& target,
                                    const FlightPlan& activePlan, GeneratedPointNames& names,
                                    bool activate) const;

private:
    ProcedureEnvironment environment;
    ProcedureLegConverter converter;
};

} // namespace tavi
