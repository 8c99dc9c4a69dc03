#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavi {

class Fms;

// FLIGHT PLAN LIST: the stored flight plans four to a sub-page, or those between two airports
// after a search. A name typed on SHOW FPL opens the plan, or creates it, on the stored-plan
// page; a listed name comes into the scratch pad, or its plan is deleted with "*DELETE*".
class FlightPlanListPage {
public:
    explicit FlightPlanListPage(Fms& fms) : fms(fms) {}

    void enter();
    void draw();
    void onKey(int32_t key);

    enum class Opening { Created, Loaded, Failed };
    // Makes the named plan the stored plan shown: read from its file, or, for a name the
    // library lacks, a new plan (with the two airports of an "ORIG-DEST" name) whose file is
    // written at once. A file that does not read puts the name back and says so.
    Opening openNamedPlan(const std::string& name);
    // The plan name in the scratch pad, taken from it; nothing when the pad is empty, or when
    // the name is refused with "INVALID ENTRY" and left in the pad.
    std::optional<std::string> takePlanName();
    // Forgets the plan and deletes its file; the stored plan shown goes with it.
    void deleteStoredPlan(const std::string& name);

private:
    void selectListedPlan(int32_t index);
    void showNamedPlan();
    void search();
    // Lists the plans of the search text; false when the text is no ORIG or ORIG/DEST.
    bool findStoredPlans();
    std::string entryName(int32_t index) const;

    Fms& fms;
};

} // namespace tavi
