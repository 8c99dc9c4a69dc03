#pragma once

#include "fms/FlightPlan.h"

namespace tavi {

// The module-wide plans: the plan being flown, the missed approach the go-around turns into the
// active route, the route to the alternate, and the stored plan the CDU shows.
extern FlightPlan activeFlightPlan;
extern FlightPlan missedApproachFlightPlan;
extern FlightPlan alternateFlightPlan;
extern FlightPlan selectedStoredPlan;

// Gives every module-wide plan back its state at module start; the module's stop runs it before
// the module heap goes, so that nothing of a stopped module survives into the next start.
void resetGlobalFlightPlans();

} // namespace tavi
