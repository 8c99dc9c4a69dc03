#include "cdu/records/ActiveFplPage.h"

#include "core/Format.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

namespace {

constexpr std::array<const char*, 6> kFamilyPrefixes = {"*LL", "*PBD", "*RR",
                                                        "*PD", "*INT", "*ALT"};
constexpr int32_t kCounterStep = 2;

} // namespace

int32_t ActiveFplPage::activeLineCount() {
    if (!activeFlightPlan.hasOriginAndDestination()) {
        return 2;
    }
    return static_cast<int32_t>(activeFlightPlan.legCount()) -
           static_cast<int32_t>(activeFlightPlan.activeLeg) + 2;
}

int32_t ActiveFplPage::activePageCount() {
    if (!activeFlightPlan.hasOriginAndDestination()) {
        return 1;
    }
    return (activeLineCount() + kLinesPerSubPage - 1) / kLinesPerSubPage;
}

int32_t ActiveFplPage::shownPlan() const {
    if (!activeFlightPlan.hasOriginAndDestination() || subPage <= activePageCount()) {
        return kActivePlan;
    }
    return kAlternatePlan;
}

FlightPlan& ActiveFplPage::planAt(int32_t shown) {
    switch (shown) {
    case kMissedApproachPlan:
        return missedApproachFlightPlan;
    case kAlternatePlan:
        return alternateFlightPlan;
    default:
        return activeFlightPlan;
    }
}

std::string ActiveFplPage::nextPointName(PointFamily family) {
    const auto index = static_cast<std::size_t>(family);
    int32_t& counter = fixNameCounters[index];
    std::string name = format("%s%02d", kFamilyPrefixes[index], counter);
    counter += kCounterStep;
    return name;
}

void ActiveFplPage::clearPlans(const FlightPlanContext& context) {
    activeFlightPlan.clear(context);
    missedApproachFlightPlan.clear(context);
    alternateFlightPlan.clear(context);
    fixNameCounters.fill(1);
}

} // namespace tavi
