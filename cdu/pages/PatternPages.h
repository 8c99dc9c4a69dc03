#pragma once

#include "navdata/HoldingPattern.h"

#include <cstdint>
#include <string>

namespace tavi {

class FlightPlan;
class FlightPlanLeg;
class Fms;

// PATTERNS and HOLDING PATTERN. PATTERNS puts a pattern keyword into the scratch pad for the
// ACTIVE FLT PLAN line it is pressed on; HOLDING PATTERN edits a copy of the hold of that
// line's leg (on the line of the fix last passed, a hold at the present position) and writes it
// back on CLEAR or ACTIVATE. The other pattern pages share the selected line and the page to
// return to.
class PatternPages {
public:
    explicit PatternPages(Fms& fms) : fms(fms) {}

    void registerPages();

    // From ACTIVE FLT PLAN or NAV INDEX: PATTERNS, returning to ACTIVE FLT PLAN's first
    // sub-page.
    void openPatterns();
    // The page a pattern page leaves to.
    void showReturnPage();
    // LNAV moved on to the next leg: a pattern page whose leg has just been passed gives way to
    // ACTIVE FLT PLAN.
    void followSequencing();

    // The plan ACTIVE FLT PLAN shows, and the leg of its selected line: the temporary leg on
    // the line of the fix last passed, and beyond the plan's legs.
    static FlightPlan& selectedPlan(const Fms& fms);
    static FlightPlanLeg& selectedLeg(Fms& fms);
    static bool onFromLine(const Fms& fms);
    // The selected line names a leg of the plan, not the FROM line (the present position's
    // hold builds on a point of its own) nor one past the legs.
    static bool designatesLeg(const Fms& fms);

    struct ReturnPage {
        int32_t page = 0;
        int32_t subPage = 0;
    };
    ReturnPage patternReturnPage;
    // The hold HOLDING PATTERN edits.
    HoldingPattern editedHold;

private:
    void drawPatternsPage() const;
    void onPatternsKey(int32_t key);
    void drawHoldingPatternPage() const;
    void onHoldingPatternKey(int32_t key);
    // An entry of the hold: the pad's text read by the entry's rule; false refuses it.
    template <class Apply>
    void enterHoldValue(Apply apply);
    void setInboundCourse(double course);
    void clearHold();
    void activateHold();
    void activatePresentPositionHold();
    // Knots the hold converts between its leg time and leg distance with.
    double holdSpeed() const;

    Fms& fms;
};

} // namespace tavi
