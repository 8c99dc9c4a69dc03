#pragma once

#include <cstdint>

namespace tavi {

class FlightPlanListPage;
class Fms;

// FLT PLAN SELECT: makes the stored plan shown the active flight plan, as stored or flown the
// other way; with an active plan already in place it asks first.
class FltPlanSelectPage {
public:
    FltPlanSelectPage(Fms& fms, FlightPlanListPage& list) : fms(fms), list(list) {}

    void draw();
    void onKey(int32_t key);

    void activateStoredPlan();
    void invertAndActivateStoredPlan();

    // The page asks to confirm the replacement of the active plan, and for which activation.
    bool confirmPending = false;
    bool invertRequested = false;

private:
    void onNormalKey(int32_t key);
    void onConfirmKey(int32_t key);
    void requestActivation(bool inverted);
    void selectNamedPlan();
    // The new plan needs a new performance initialisation, and its alternate starts at its
    // destination.
    void finishActivation();

    Fms& fms;
    FlightPlanListPage& list;
};

} // namespace tavi
