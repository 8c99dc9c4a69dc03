#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class FlightPlan;
class FlightPlanListPage;
class Fms;
class WaypointEntry;

// The stored-plan page: the plan being edited under its name, origin with the planned ground
// speed, legs and destination three lines to a sub-page. Every line action writes the plan's
// file again, so the file always holds what the page shows.
class StoredPlanPage {
public:
    StoredPlanPage(Fms& fms, WaypointEntry& entry, FlightPlanListPage& list)
        : fms(fms), entry(entry), list(list) {}

    void draw();
    void onKey(int32_t key);

private:
    void drawOriginLine(const FlightPlan& plan, int32_t row);
    void drawDestinationLine(const FlightPlan& plan, int32_t row);
    void drawLegLine(const FlightPlan& plan, int32_t line, int32_t row);
    void onGroundSpeedKey();
    void onStoredPlanLeftKey();
    void onStoredPlanRightKey();
    void enterAirway(const std::string& airway, const std::string& exitFix);
    void save();

    Fms& fms;
    WaypointEntry& entry;
    FlightPlanListPage& list;
};

} // namespace tavi
