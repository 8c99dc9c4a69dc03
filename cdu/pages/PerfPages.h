#pragma once

#include "cdu/pages/FlightPhasePages.h"
#include "cdu/pages/FuelPages.h"
#include "cdu/pages/PerfDataPage.h"
#include "cdu/pages/PerfIndexPages.h"
#include "cdu/pages/PerfInitPage.h"
#include "cdu/pages/PerfModePages.h"
#include "cdu/pages/PerfPlanPages.h"

namespace tavi {

class Fms;

// The performance pages behind the PERF key, each family with its renderer and keys.
class PerfPages {
public:
    explicit PerfPages(Fms& fms)
        : index(fms), init(fms), modes(fms), fuel(fms), plan(fms), data(fms), phases(fms) {}

    void registerPages() {
        index.registerPages();
        init.registerPages();
        modes.registerPages();
        fuel.registerPages();
        plan.registerPages();
        data.registerPages();
        phases.registerPages();
    }

    PerfIndexPages index;
    PerfInitPage init;
    PerfModePages modes;
    FuelPages fuel;
    PerfPlanPages plan;
    PerfDataPage data;
    FlightPhasePages phases;
};

} // namespace tavi
