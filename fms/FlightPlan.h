#pragma once

#include "fms/FlightPlanLeg.h"
#include "fms/OrbitPattern.h"
#include "navdata/Ils.h"
#include "navdata/ProcedureTurn.h"
#include "navdata/Runway.h"
#include "navdata/Waypoint.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class FlightPlanContext;
class Fs9Reader;
struct StateFile;

// Modes of findConstraintInRange.
inline constexpr int32_t kConstraintRangeClimb = 1;

// The answer of the altitude queries when no leg has such a constraint, ft.
inline constexpr int32_t kNoAltitudeConstraint = 100000;

// A route from an origin to a destination: the legs in order, the leg being flown and the totals
// the recalculation keeps. Copied by value. Every edit ends with a recalculation; while locked,
// neither the recalculation nor the tidy rules change anything. The operations that may
// recalculate read the FMS through a FlightPlanContext.
class FlightPlan {
public:
    FlightPlan() = default;
    virtual ~FlightPlan() = default;
    FlightPlan(const FlightPlan&) = default;
    FlightPlan& operator=(const FlightPlan&) = default;

    std::size_t legCount() const { return legs.size(); }
    const std::string& name() const { return planName; }
    void setName(const std::string& text) { planName = text; }

    bool hasOriginAndDestination() const;
    // A leg reaches the destination and the active leg is at or before it.
    bool isBeforeRouteEnd() const;
    // The legs do not take the aircraft to the destination: they stop short of it, or the
    // aircraft is past the route end.
    bool endsBeforeDestination() const;
    // The point leg index starts from: its own start point, the previous fix (the last fix
    // leg's when the previous leg is not one) or the origin; an empty waypoint past the legs.
    Waypoint fromWaypoint(std::size_t index) const;
    // Sets nextFixOffset to the first fix leg from activeLeg + offset on (an offset past the
    // last leg counts from the active leg); -1 for none or a negative offset.
    void findNextFixLeg(int32_t offset);

    // Bookkeeping of the recalculation and the sequencing.
    void findRouteEnd();
    void findDescentEnd();
    void updateTotals();
    void updateConstraints(const FlightPlanContext& context);
    // The active leg's fix has been passed: enters its hold, or records the crossing and moves
    // on to the next leg.
    void sequenceActiveLeg(const FlightPlanContext& context);

    // Feet of the first climb constraint after the leg that caps the climb (at or above lets it
    // go on; a window caps it at its top); kNoAltitudeConstraint when none.
    int32_t nextClimbConstraint(std::size_t index) const;
    // Feet of the nearest descent constraint before the leg (leg 0 is never looked at);
    // kNoAltitudeConstraint when none.
    int32_t previousDescentConstraint(std::size_t index) const;
    // The first constraint VNAV has to meet among the legs that end between the two distances
    // from the start of the plan; false when a leg ends beyond the to distance first.
    bool findConstraintInRange(double fromDistance, double toDistance, double& distanceToGo,
                               std::size_t& index, int32_t mode) const;
    // The first leg from the active one with an altitude that still constrains the aircraft at
    // the given altitude; the active index when none.
    std::size_t nextAltitudeConstraintLeg(float currentAltitude) const;
    // One past the last departure leg from the active leg on; the active index when none.
    std::size_t departureEnd() const;
    bool copyLastLeg(FlightPlanLeg& leg) const;
    // The origin, the destination or a fix is the pilot waypoint of that ident.
    bool containsWaypoint(const std::string& ident) const;

    // Edits.
    void setOrigin(const Waypoint& waypoint, const FlightPlanContext& context);
    void setDestination(const Waypoint& waypoint, const FlightPlanContext& context);
    // The origin becomes the runway's far end, where the take-off ends.
    void setOriginRunway(const Runway& runway, const FlightPlanContext& context);
    void setDestinationRunway(const Runway& runway, const FlightPlanContext& context);
    void setGroundSpeed(uint32_t knots, const FlightPlanContext& context);
    // Inserts a leg to the waypoint before leg index (index = legCount appends). A copy of the
    // fix further on makes the route go straight there instead; a copy next to the index refuses
    // the insertion. With withDiscontinuity a break follows a leg not appended at the end.
    bool insertWaypoint(const Waypoint& waypoint, std::size_t index, bool withDiscontinuity,
                        const FlightPlanContext& context);
    // Inserts the points of an airway as legs entered by via, followed by a break.
    bool insertWaypoints(std::size_t index, const std::string& via,
                         const std::vector<Waypoint>& points, const FlightPlanContext& context);
    bool insertDiscontinuity(std::size_t index, bool recalculateAfter,
                             const FlightPlanContext& context);
    // Flies from the present position straight to the target, which becomes the active leg.
    bool directTo(const Waypoint& target, const FlightPlanContext& context);
    bool deleteLeg(std::size_t index, const FlightPlanContext& context);
    // Removes the turn's point and the copy of the fix that activating a procedure turn on leg
    // fixIndex put behind it, when both are still there; their waypoints go to removed.
    void removeProcedureTurnLegs(std::size_t fixIndex, std::vector<Waypoint>& removed,
                                 const FlightPlanContext& context);
    // The tidy rules: a leg to the same fix as the next one, a detour back to the same place
    // over a leg without fix, and a break at the end go.
    void removeRedundantLegs(const FlightPlanContext& context);
    void removeDeparture(const FlightPlanContext& context);
    // Erase the STAR or the approach legs; the index where they were (legCount when none).
    // No recalculation.
    std::size_t removeStarLegs(const FlightPlanContext& context);
    std::size_t removeApproachLegs(const FlightPlanContext& context);
    // Remove the break and the repeated fix where a procedure meets the route. No
    // recalculation.
    void joinDepartureToRoute(const FlightPlanContext& context);
    void joinRouteToArrival(const FlightPlanContext& context);
    void clear(const FlightPlanContext& context);

    // Brings the legs, their paths and the totals up to date after a change.
    void recalculate(const FlightPlanContext& context);
    // The speed (kt true) leg index will be flown at, which its turns and time are built for:
    // VNAV's command once the performance is initialised, else the leg's speed constraint, else
    // the plan's ground speed within the procedures' limits.
    double flownSpeed(std::size_t index, const FlightPlanContext& context) const;
    // Lays the turns and holds out again once a leg ahead, or its hold, would be flown some
    // knots away from the speed its path was built for (the predictions moved its phase or
    // altitude). The legs and their distances stay: no new prediction is due.
    void followFlownSpeeds(const FlightPlanContext& context);
    // Appends a marker point with the name to the leg where the distance along the route (nm
    // from the origin, counting the legs that end at a fix) falls inside a fix leg.
    void placeMarker(double distance, const std::string& name);

    // The plan's keys under the prefix, then its legs under "<prefix>.legs.<index>". False when
    // any write failed.
    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) const;
    // Reads the plan back; its legs are replaced by the stored ones. Not recalculated. False,
    // the plan as it was, when the stored plan is not whole (its keys or a leg's missing, a leg
    // off the earth).
    bool load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix);

    // Knots, for the time of a plan without legs and for the legs before the performance
    // initialisation.
    uint32_t gspd = 300;
    uint32_t activeLeg = 0;
    // The leg that reaches the destination, or the last leg.
    uint32_t routeEndLeg = 0;
    uint32_t descentEndLeg = 0;
    // Nautical miles.
    double totalDistance = 0.0;
    double distanceFlown = 0.0;
    // Seconds from the active leg to the end of the route-end leg.
    double timeToGo = 0.0;
    // Pounds on board predicted at the end of the route: before take-off, and now.
    float takeoffEndFuel = 0.0f;
    float predictedEndFuel = 0.0f;
    // Pounds burned on the legs sequenced so far.
    float fuelUsed = 0.0f;
    uint32_t reserved = 0;
    bool recalculated = false;
    bool routeEndFound = false;
    // The legs stop short of the destination: the route ends at the last leg and goes on
    // direct from its fix to the destination.
    bool routeEndShort = false;
    bool descentEndFound = false;
    bool locked = false;
    int32_t nextFixOffset = -1;
    Waypoint org;
    Waypoint dest;
    Runway orgRwy;
    Runway destRwy;
    Ils destIls;
    // Taken over from the last sequenced leg.
    OrbitPattern orbit;
    ProcedureTurn pcdrTurn;
    std::vector<FlightPlanLeg> legs;

private:
    void loadKeys(const Fs9Reader& reader, const StateFile& file, const char* section,
                  const std::string& prefix);
    // Both keep activeLeg on the leg it names when legs before it come or go.
    void eraseLegs(std::size_t first, std::size_t last);
    void insertLegs(std::size_t at, const std::vector<FlightPlanLeg>& added);
    void insertLeg(std::size_t at, const FlightPlanLeg& leg);
    // The legs from the active leg on, or from the next one in the air.
    std::size_t arrivalSearchStart(const FlightPlanContext& context) const;
    bool isArrivalLeg(const FlightPlanLeg& leg) const;
    void recordCrossingAltitude(FlightPlanLeg& leg, const FlightPlanContext& context) const;
    void computeLeg(std::size_t index, const FlightPlanContext& context);
    double procedureLimitedSpeed(const FlightPlanLeg& leg, double speed, bool confirmed) const;
    bool flownSpeedsChanged(const FlightPlanContext& context) const;
    void layOutHold(std::size_t index, const FlightPlanContext& context);
    void updateLegTime(std::size_t index);
    // The point at a distance along the leg's path (or along the great circle to its fix).
    void pointAlongLeg(std::size_t index, double along, double& latitude, double& longitude) const;

    std::string planName;
};

} // namespace tavi
