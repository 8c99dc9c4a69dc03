#pragma once

#include <cstdint>

namespace tavi {

// CDU pages an expansion turns to.
inline constexpr int32_t kPageActiveFltPlan = 17;
inline constexpr int32_t kPageSidReview = 42;
inline constexpr int32_t kPageArrivalReview = 49;

// The page a departure or arrival expansion asks the CDU to show (sub-page 1), and for a
// preview the number of pages of its REVIEW list.
struct ProcedureExpansionOutcome {
    bool changePage = false;
    int32_t page = 0;
    int32_t reviewPageCount = 0;
    // The database could not give the procedure whole: no plan was changed.
    bool refused = false;
};

} // namespace tavi
