#pragma once

#include "navdata/PilotPoint.h"
#include "navdata/Waypoint.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavi {

class Fms;

// The sub-page of PILOT WPT LIST: seven pilot waypoints to a sub-page.
struct PilotWptListPage {
    int32_t subPage = 1;
    int32_t pageCount = 1;
};

// A page and its sub-page, where WAYPOINTS SELECT or PILOT WAYPOINT go on.
struct PageTarget {
    int32_t page = 0;
    int32_t subPage = 1;
};

// The pages that look up and define waypoints: PILOT WPT LIST, DATA BASE WPT, PILOT WAYPOINT
// (a new point as latitude/longitude, place/bearing/distance or two place/bearing radials,
// stored in the pilot-waypoint store) and WAYPOINTS SELECT, where the pilot picks one of the
// database points an ident names. Their records are the FMS's page records.
class WaypointPages {
public:
    static constexpr int32_t kListPageSize = 7;
    static constexpr int32_t kSelectPageSize = 3;
    // A bearing from a place beyond these latitudes must be true.
    static constexpr double kMagneticNorthLimit = 73.0;
    static constexpr double kMagneticSouthLimit = -60.0;

    explicit WaypointPages(Fms& fms) : fms(fms) {}

    void registerPages();

    void drawPilotWptListPage() const;
    void drawDataBaseWptPage() const;
    void drawPilotWaypointPage() const;
    void drawWaypointsSelectPage() const;
    void onPilotWptListKey(int32_t key);
    void onDbWptKey(int32_t key);
    void onPilotWaypointKey(int32_t key);
    void onWptSelectKey(int32_t key);
    void selectWaypointCandidate(int32_t index);

    // WAYPOINTS SELECT with the candidates of the entry: a choice goes to the target, RETURN
    // to the return page.
    void selectFrom(const std::string& entry, const std::vector<Waypoint>& candidates,
                    PageTarget target, PageTarget back);
    // PILOT WAYPOINT to define a new point of that ident, returning to the page.
    void definePilotWaypoint(const std::string& ident, int32_t returnPage);
    // DATA BASE WPT shows the point with the database record of its kind.
    void setDbWaypoint(const Waypoint& waypoint);

    // The pilot waypoints in ident order.
    const PilotPoint* pilotWaypointAt(int32_t index) const;
    int32_t pilotWaypointPageCount() const;
    static bool needsTrueBearing(const Waypoint& place, bool bearingTrue);

    PilotWptListPage listPage;

private:
    void tryDeletePilotWaypoint(int32_t index);
    // The ident typed on PILOT WPT LIST or PILOT WAYPOINT: a database point, a pilot waypoint
    // or a new one.
    void lookUpIdent(bool fromPilotWaypoint);
    void defineLatLon();
    void definePlaceBearing();
    void completePbd(const Waypoint& place);
    void completePbpb();
    // The point goes into the store, the page shows it as stored and the flight-plan entry that
    // asked for it takes it.
    void storePoint(const PilotPoint& point);
    void refuseDefinition(const std::string& message, int32_t priority);
    void pilotWaypointReturn();
    void selectForDefinition(const Waypoint& chosen);
    void selectForStoredPlan(const Waypoint& chosen);
    void selectForActivePlan(const Waypoint& chosen);
    // An entry on the last line of a flight-plan listing, the last of its sub-page, turns the
    // page when automatic page turning is on.
    bool turnsPageAfter(int32_t line, int32_t firstLine, int32_t lineCount) const;
    // DATA BASE WPT for the one point the entry names, or WAYPOINTS SELECT for several;
    // answers whether the database knows the entry.
    bool showDatabasePoint(const std::string& entry, PageTarget back);
    // Database points only, or with a fix of the active plan and the pilot waypoints.
    std::vector<Waypoint> findCandidates(const std::string& ident, bool withPlanAndPilot) const;

    void drawAirport() const;
    void drawIls() const;
    void drawNavaid() const;
    std::string navaidFrequencyText() const;

    Fms& fms;
};

} // namespace tavi
