#pragma once

#include "fms/PathSegment.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace tavi {

class FlightPlan;
class FlightPlanContext;
class FlightPlanLeg;
class Waypoint;

// Builds the path every leg of a plan flies: straight pieces of at most 20 nm (100 nm along the
// rhumb line of an intercept), the arcs of AF and RF legs, and fly-by turns between legs whose
// course changes by more than 5 and less than 150 degrees.
class LegPathBuilder {
public:
    LegPathBuilder(FlightPlan& plan, const FlightPlanContext& context);

    void build();

    // A position, degrees.
    struct LatLon {
        double latitude = 0.0;
        double longitude = 0.0;
    };

private:
    // A fly-by turn between two legs: its arc split where it passes the fix between them. A turn
    // begun late may lie wholly before or wholly after the fix.
    struct Turn {
        bool failed = false;
        bool hasArc = false;
        double lead = 0.0;
        PathSegment beforeFix;
        PathSegment afterFix;
        bool hasBeforeFix = true;
        bool hasAfterFix = true;
        LatLon start;
        LatLon end;
    };
    // The course change (degrees, right positive), radius and lead (nm) of a fly-by turn.
    struct TurnShape {
        double change = 0.0;
        double radius = 0.0;
        double lead = 0.0;
    };

    bool noTurnOutOf(std::size_t k) const;
    // False when the leg's turn out was dropped, so that the next leg starts at the fix.
    bool buildLeg(std::size_t k, bool noTurnIn, bool noTurnOut);
    void buildRhumbLeg(FlightPlanLeg& leg);
    Turn flyByTurn(std::size_t a, std::size_t b) const;
    // The turn from leg a onto leg b (not an arc leg); none without an arc to fly.
    std::optional<TurnShape> turnShape(std::size_t a, std::size_t b) const;
    // The turn out of leg k begun where the leg's room allows, at `startAlong` nm from its start.
    Turn lateTurn(std::size_t k, const TurnShape& shape, double startAlong, const Turn& in) const;
    Turn turnOntoArc(const FlightPlanLeg& inbound, const FlightPlanLeg& arcLeg,
                     double inboundCourse, double inboundLength) const;
    // The turn's arc from its start to its end round its centre, split abeam the fix.
    static void splitTurn(Turn& turn, const LatLon& start, const LatLon& split, const LatLon& end,
                          const LatLon& centre, double radius, bool right);
    const Waypoint& legStart(std::size_t k) const;
    void appendArcAroundNavaid(FlightPlanLeg& leg, double aLatitude, double aLongitude,
                               double eLatitude, double eLongitude) const;

    FlightPlan& plan;
    const FlightPlanContext& context;
    std::vector<FlightPlanLeg>& legs;
    // The turn out of the last leg built, which the next leg turns in by.
    std::optional<Turn> carriedTurn;
};

// Appends straight pieces from A to E of at most maxLength nm each, along the great circle or
// the rhumb line.
void appendStraightPieces(std::vector<PathSegment>& path, double aLatitude, double aLongitude,
                          double eLatitude, double eLongitude, double maxLength, bool rhumbLine);

} // namespace tavi
