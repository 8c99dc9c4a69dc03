#pragma once

#include <cstdint>

namespace tavi {

// The record behind ACTIVE FLT PLAN: the sub-page shown, the line last selected, the direct-to
// mode and the automatic page turn. The plans it shows are the module-wide flight plans.
class ActiveFplPage {
public:
    // 2 lines (origin and destination) without a plan; else the legs from the active one on
    // and the two end lines.
    static int32_t activeLineCount();
    // 1 without a plan; else the active lines three to a sub-page.
    static int32_t activePageCount();
    static int32_t pageCount() { return activePageCount(); }

    int32_t subPage = 1;
    int32_t selectedLine = 0;
    int32_t pageTurnTarget = 1;
    bool destinationPending = false;
    bool originPending = false;
    bool pageTurnRequested = false;
    uint32_t pageTurnTime = 0;
    bool dirMode = false;
};

} // namespace tavi
