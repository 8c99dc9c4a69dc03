#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class FlightPlan;
class FlightPlanLeg;
class Fms;

// SID REVIEW and ARRIVAL REVIEW: the preview plan that a departure or arrival REVIEW built,
// three items a sub-page (the header, for a SID the runway, the legs and "END OF PROCEDURE"),
// with CLEAR, RETURN and ACTIVATE.
class ProcedureReviewPages {
public:
    explicit ProcedureReviewPages(Fms& fms) : fms(fms) {}

    void registerPages();

private:
    void drawSidReviewPage() const;
    void onSidReviewKey(int32_t key);
    void drawArrivalReviewPage() const;
    void onArrivalReviewKey(int32_t key);
    // The legs and the end item of the preview; legs start at item firstLeg.
    void drawLegItems(const FlightPlan& plan, int32_t subPage, int32_t firstLeg,
                      bool arrival) const;
    void drawLeg(const FlightPlan& plan, std::size_t index, int32_t labelRow, bool arrival) const;
    void drawLegLabel(const FlightPlanLeg& leg, int32_t labelRow) const;
    std::string verticalField(const FlightPlanLeg& leg, bool arrival) const;
    void drawRunwayItem(const FlightPlan& plan, int32_t dataRow) const;

    Fms& fms;
};

} // namespace tavi
