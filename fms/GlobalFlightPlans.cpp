#include "fms/GlobalFlightPlans.h"

namespace tavi {

FlightPlan activeFlightPlan;
FlightPlan missedApproachFlightPlan;
FlightPlan alternateFlightPlan;
FlightPlan selectedStoredPlan;

void resetGlobalFlightPlans() {
    activeFlightPlan = FlightPlan();
    missedApproachFlightPlan = FlightPlan();
    alternateFlightPlan = FlightPlan();
    selectedStoredPlan = FlightPlan();
}

} // namespace tavi
