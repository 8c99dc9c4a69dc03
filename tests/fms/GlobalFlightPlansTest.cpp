#include "fms/GlobalFlightPlans.h"

#include "FlightPlanTestSupport.h"
#include "platform/heap/ModuleHeap.h"
#include "support/ModuleHarness.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

FlightPlan* const kGlobalPlans[] = {&activeFlightPlan, &missedApproachFlightPlan,
                                    &alternateFlightPlan, &selectedStoredPlan};

void expectFresh(const FlightPlan& plan) {
    EXPECT_EQ(plan.legCount(), 0u);
    EXPECT_EQ(plan.name(), "");
    EXPECT_EQ(plan.gspd, 300u);
    EXPECT_EQ(plan.activeLeg, 0u);
    EXPECT_FALSE(plan.hasOriginAndDestination());
}

TEST(GlobalFlightPlansTest, ModuleStopLeavesNoPlanOfTheFlightBehind) {
    ModuleHarness module;
    module.startModule();
    for (FlightPlan* plan : kGlobalPlans) {
        *plan = planFrom("P Q R");
        plan->setName("FLOWN");
        plan->gspd = 250;
        plan->activeLeg = 2;
    }
    module.deinit();
    EXPECT_FALSE(platform::moduleHeapExists());
    for (const FlightPlan* plan : kGlobalPlans) {
        expectFresh(*plan);
    }

    module.startModule();
    expectFresh(activeFlightPlan);
}

} // namespace
} // namespace tavi::test
