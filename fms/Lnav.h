#pragma once

#include "fms/FlightPlan.h"
#include "fms/LnavState.h"

#include <cstdint>
#include <string>

namespace tavi {

class FlightPlanContext;
struct PathSegment;

// The aircraft as LNAV sees it this frame, filled by the FMS from the systems it reads.
struct LnavInputs {
    // The FMS present position, degrees.
    double latitude = 0.0;
    double longitude = 0.0;
    // GPS track (degrees true) and ground speed (kt).
    float trueTrack = 0.0f;
    float groundSpeed = 0.0f;
    // AHRS heading and magnetic variation, degrees.
    float heading = 0.0f;
    float magneticVariation = 0.0f;
    // Air-data altitude, ft.
    float altitude = 0.0f;
    // The FMS airborne flag.
    bool airborne = false;
    // The navigation database is connected and the CDU powered.
    bool navigationReady = false;
    // VNAV has started the descent: a sequenced leg keeps its planned altitude.
    bool descentStarted = false;
};

// What LNAV asks of the FMS and the flight director around it.
class LnavHost {
public:
    virtual ~LnavHost() = default;
    virtual void showMessage(const std::string& text, int priority) = 0;
    // The flight director's active lateral mode is LNAV.
    virtual bool lnavEngaged() const = 0;
    virtual void cancelLateralMode() = 0;
    // The plan has moved on past the fix: the FMS books the fuel at the fix, turns its pattern
    // pages and drops a temporary pilot point no plan uses any more.
    virtual void legSequenced(const Waypoint& passed) = 0;
    virtual void updateLegEtas() = 0;
    // The altimeter-setting reminder at the transition altitude, while there is a route to fly.
    virtual void checkBaroSet() = 0;
};

// The TO/GA press as the FMS passes it on.
struct TogaInputs {
    bool onGround = false;
    // The flight director's vertical mode is TO/GA.
    bool verticalModeToGa = false;
    float groundSpeed = 0.0f;
    double gpsLatitude = 0.0;
    double gpsLongitude = 0.0;
    bool positionInitialised = false;
    // The flight director's preselected altitude, ft.
    float preselectedAltitude = 0.0f;
};

enum class TogaAction {
    None,
    // The present position moves to the origin runway.
    TakeoffPositionUpdate,
    // The missed approach has become the active route.
    GoAround,
};

struct TogaOutcome {
    TogaAction action = TogaAction::None;
    // The runway position, and where the GPS position lies seen from it.
    double latitude = 0.0;
    double longitude = 0.0;
    double offsetBearing = 0.0;
    double offsetDistance = 0.0;
    // Feet; the new cruise altitude after a go-around.
    int32_t missedApproachAltitude = 0;
};

// Lateral navigation: steers the active leg of a plan, sequences it when done and keeps the
// result in the LNAV record.
class Lnav {
public:
    // Once a frame.
    void update(FlightPlan& plan, const LnavInputs& inputs, const FlightPlanContext& context,
                LnavHost& host);
    // Moves the plan on to its next leg; nothing on the ground, far off the path or past the
    // last leg.
    void sequenceToNextLeg(FlightPlan& plan, const LnavInputs& inputs,
                           const FlightPlanContext& context, LnavHost& host);
    // On the runway before the roll, the position update to the origin runway; in the air on an
    // approach, the go-around onto the missed approach.
    TogaOutcome activateMissedApproach(FlightPlan& active, FlightPlan& missed,
                                       const TogaInputs& inputs, const FlightPlanContext& context);

    LnavState state;
};

} // namespace tavi
