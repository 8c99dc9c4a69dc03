#pragma once

#include "cdu/pages/ActiveFlightPlanPage.h"
#include "cdu/pages/FlightPlanListPage.h"
#include "cdu/pages/FltPlanSelectPage.h"
#include "cdu/pages/SimulatorPlanImport.h"
#include "cdu/pages/StoredPlanPage.h"
#include "cdu/pages/WaypointEntry.h"

namespace tavi {

class Fms;

// The pages through which the pilot builds flight plans: ACTIVE FLT PLAN, FLIGHT PLAN LIST, the
// stored-plan page and FLT PLAN SELECT, with the waypoint entry and the simulator plan import
// they share.
struct FlightPlanPages {
    explicit FlightPlanPages(Fms& fms)
        : entry(fms), import(fms), list(fms), active(fms, entry, list, import),
          stored(fms, entry, list), select(fms, list) {}

    WaypointEntry entry;
    SimulatorPlanImport import;
    FlightPlanListPage list;
    ActiveFlightPlanPage active;
    StoredPlanPage stored;
    FltPlanSelectPage select;
};

} // namespace tavi
