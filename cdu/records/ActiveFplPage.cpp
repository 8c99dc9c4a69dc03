#include "cdu/records/ActiveFplPage.h"

#include "fms/GlobalFlightPlans.h"

namespace tavi {

namespace {

constexpr int32_t kLinesPerSubPage = 3;

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

} // namespace tavi
