#pragma once

#include "cdu/CduScreen.h"

#include <cstdint>
#include <string>

namespace tavi {

class FlightPlan;
class FlightPlanLeg;
class Fms;
class WaypointEntry;
class FlightPlanListPage;
class SimulatorPlanImport;
struct LegConstraints;

// ACTIVE FLT PLAN: the route flown, from the last fix passed onward, three lines to a sub-page,
// with each leg's course, distance, time and vertical constraints, and the bottom prompts that
// follow the flight phase. Without both ends of the plan it is the start page: origin,
// destination, the simulator's plan, a stored plan by name.
class ActiveFlightPlanPage {
public:
    ActiveFlightPlanPage(Fms& fms, WaypointEntry& entry, FlightPlanListPage& list,
                         SimulatorPlanImport& import)
        : fms(fms), entry(entry), list(list), import(import) {}

    void draw();
    void onKey(int32_t key);

private:
    void drawStartLayout();
    void drawLine(const FlightPlan& plan, int32_t line, int32_t row);
    void drawFromLine(const FlightPlan& plan, int32_t row);
    void drawDestinationLine(const FlightPlan& plan, int32_t row);
    void drawLegLine(const FlightPlan& plan, int32_t line, int32_t row);
    void drawLegLabel(const FlightPlan& plan, const FlightPlanLeg& leg, int32_t absoluteLine,
                      int32_t row);
    void drawLegVerticalLine(const FlightPlan& plan, int32_t row, const LegConstraints& k);
    void drawSpeedCommand(int32_t row);
    // The bottom left prompt and what its key does: the first that applies.
    enum class BottomLeft {
        None,
        Pattern,
        LeaveOrbit,
        ExitOrbit,
        ToggleHoldExit,
        ExitHold,
        Departure,
        MissedApproach,
        Arrival,
        ClearPlan,
    };
    BottomLeft bottomLeft(const FlightPlan& plan) const;
    void drawBottomPrompts(const FlightPlan& plan);

    void onNoFlightPlanKey(int32_t key);
    void startNewPlan(const std::string& origin);
    void recallOrCreateNamedPlan();
    void onActivePlanLeftKey();
    void directTo(FlightPlan& plan, const std::string& text);
    void deleteOnLeftKey(FlightPlan& plan);
    void enterOnLeftKey(FlightPlan& plan, const std::string& text);
    void onActivePlanRightKey();
    void constraintsChanged(FlightPlan& plan);
    void pressBottomLeft();
    void pressBottomRight();

    // Seconds to the active waypoint, and whether it is within a minute.
    bool withinAMinute() const;
    bool onGround() const;
    double distanceToDestination(const FlightPlan& plan) const;

    Fms& fms;
    WaypointEntry& entry;
    FlightPlanListPage& list;
    SimulatorPlanImport& import;
};

} // namespace tavi
