#pragma once

#include "cdu/FmsParser.h"
#include "navdata/PilotPoint.h"
#include "navdata/Waypoint.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class FlightPlan;
class FlightPlanContext;
class Fs9Reader;
struct StateFile;

// The families of points the FMS names itself, each numbered by a counter of its own.
enum class PointFamily : int32_t {
    LatLon = 0,
    PlaceBearingDistance = 1,
    RadialIntersection = 2,
    PlaceDistance = 3,
    Intercept = 4,
    Altitude = 5,
};

// The record behind ACTIVE FLT PLAN: the sub-page shown, the line last selected, the direct-to
// mode, the automatic page turn, the counters that name temporary points and a place/bearing
// definition that waits for WAYPOINTS SELECT. The plans it shows are the module-wide flight
// plans.
class ActiveFplPage {
public:
    static constexpr int32_t kLinesPerSubPage = 3;
    // Which plan a sub-page shows.
    static constexpr int32_t kActivePlan = 0;
    static constexpr int32_t kMissedApproachPlan = 1;
    static constexpr int32_t kAlternatePlan = 2;

    // 2 lines (origin and destination) without a plan; else the legs from the active one on
    // and the two end lines.
    static int32_t activeLineCount();
    // 1 without a plan; else the active lines three to a sub-page.
    static int32_t activePageCount();
    // The missed approach and the alternate get no sub-pages of their own.
    static int32_t pageCount() { return activePageCount(); }
    // The active plan on its sub-pages, the alternate on a sub-page beyond them.
    int32_t shownPlan() const;
    static FlightPlan& planAt(int32_t shown);
    // A sub-page past the count, left by a plan that shrank under it (a leg sequenced, legs
    // deleted), becomes the last one: its line keys would otherwise reach past the legs.
    void keepSubPageInRange();

    // The next name of the family ("*LL01", "*LL03", ...).
    std::string nextPointName(PointFamily family);
    // Empties the three plans; the names start again at 01.
    void clearPlans(const FlightPlanContext& context);

    // The 88-byte block of the leading fields under "<key>.data", then the active, missed
    // approach and alternate plans under "<key>.fpl.0" to "<key>.fpl.2".
    void save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    // False when a plan was not whole in the file and stays as it was.
    bool load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    int32_t subPage = 1;
    int32_t selectedLine = 0;
    int32_t pageTurnTarget = 1;
    bool destinationPending = false;
    bool originPending = false;
    bool pageTurnRequested = false;
    uint32_t pageTurnTime = 0;
    std::array<int32_t, 6> fixNameCounters{1, 1, 1, 1, 1, 1};
    // A place/bearing/distance (kind 2) or two-radial (kind 3) definition: what was typed, the
    // places still to be chosen and those already resolved.
    WaypointDefinition definition;
    int32_t definitionKind = 0;
    bool place1Pending = false;
    bool place2Pending = false;
    bool definitionPending = false;
    bool dirMode = false;
    PilotPoint point;
    Waypoint place1;
    Waypoint place2;
    std::string definitionEntry;
    std::vector<Waypoint> place1Candidates;
    std::vector<Waypoint> place2Candidates;
};

} // namespace tavi
