#pragma once

#include "FlightPlanTestSupport.h"
#include "fms/GeneratedPointNames.h"
#include "fms/ProcedureLegConverter.h"
#include "navdata/NavTestFixture.h"
#include "navdata/PilotPointStore.h"

// The navigation database of the test region with a pilot-waypoint store and a plan context,
// as the procedure expansions use them.
namespace tavi::test {

class ProcedureFixture : public NavDatabaseFixture {
protected:
    ProcedureFixture() : pilotPoints(magDev, [](std::string_view) {}) {
        connectToFixture();
        pilotPoints.loadFolder(root.path());
    }

    ProcedureEnvironment environment() { return {database, pilotPoints, context}; }

    Runway runway(int32_t id) const {
        Runway result;
        database.getRunwayInfo(id, result);
        return result;
    }

    PilotPointStore pilotPoints;
    FakeFlightPlanContext context;
    GeneratedPointNames names;
};

} // namespace tavi::test
