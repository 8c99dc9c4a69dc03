#pragma once

#include "fms/LegConstraints.h"
#include "fms/LegPrediction.h"
#include "fms/OrbitPattern.h"
#include "fms/PathSegment.h"
#include "navdata/HoldingPattern.h"
#include "navdata/PilotPoint.h"
#include "navdata/ProcedureTurn.h"
#include "navdata/TerminalLeg.h"
#include "navdata/Waypoint.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class FlightPlanContext;
class Fs9Reader;
struct StateFile;

// How a leg's own start point was made.
inline constexpr int32_t kStartFromPreviousFix = 0;
inline constexpr int32_t kStartDirectTo = 1;
inline constexpr int32_t kStartIntercept = 2;

// Values of the leg's temperature, wind and altitude that mean "not entered".
inline constexpr int32_t kNoTemperature = -100;
inline constexpr int32_t kNoWind = -1;

// One leg of a flight plan: the path from the previous fix (or from a start point of its own) to
// the leg's fix, with the procedure leg it came from, its constraints, an optional hold, orbit or
// procedure turn, the path pieces LNAV flies and the predictions. Copied by value.
class FlightPlanLeg {
public:
    FlightPlanLeg() = default;
    virtual ~FlightPlanLeg() = default;
    FlightPlanLeg(const FlightPlanLeg&) = default;
    FlightPlanLeg& operator=(const FlightPlanLeg&) = default;

    TerminalLegType legType() const { return trmLeg.legType; }
    // The procedure kind of the leg (kProcRoute, kProcSid, ...).
    int32_t proc() const { return trmLeg.proc; }
    bool hasFix() const { return wpt.kind != WaypointKind::Plain; }
    bool hasOwnStart() const { return src.kind != WaypointKind::Plain; }

    // AF or RF.
    bool isArcLeg() const;
    // A route break: the flag, or a DS leg.
    bool isDiscontinuity() const;
    // HA, HF, HM, or a leg carrying an active hold.
    bool isHoldLeg() const;
    // PI, or a leg carrying an active procedure turn.
    bool isProcedureTurnLeg() const;
    // PI, or the leg to the point an active procedure turn reaches beyond its outbound leg: the
    // turn starts at the fix before it. The fix the turn is built on carries the turn too, and
    // its leg is not one of these.
    bool leadsToProcedureTurnPoint() const;
    // FM or VM, or a leg the pilot ends.
    bool isManualTermination() const;
    // A leg flown on a heading (VA, VD, VI, VM, VR).
    bool isHeadingLeg() const;
    // The leg ends at a fix the plan can sequence.
    bool isFixLeg() const;
    // The leg ends at a fix with a name of its own (not one in brackets).
    bool hasNamedFix() const;
    // Degrees magnetic, with the fix's variation.
    double magneticCourse() const;
    // The altitude (ft) the leg is flown at: its predicted or constrained crossing altitude,
    // else the present altitude given.
    double flownAltitude(double presentAltitude) const;
    // The speed (kt true) the leg's hold is flown at, as VNAV commands it there: the leg's speed
    // constraint, else the hold's own speed.
    double holdingTrueAirspeed(double presentAltitude) const;

    // Setting the flag makes the leg a DS leg without constraints; clearing it leaves the type.
    void setDiscontinuity(bool flag);
    // The tidy rules' test that two neighbouring legs end at the same fix.
    bool sameFixAs(const FlightPlanLeg& other) const;
    // Flies the leg on a true course from a start point far behind the fix ("INTC"), up to the
    // fix; the leg's distance becomes that from the fix to the present position.
    void setInterceptCourse(double trueCourse, const FlightPlanContext& context);

    // The leg's keys under the prefix ("<prefix>.data", "<prefix>.vnav", ...); the temperatures,
    // the path and the markers are not stored. False when any write failed.
    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix) const;
    // A missing key leaves its fields as they were; the texts are replaced by what is stored.
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& prefix);

    // Nautical miles.
    double distance = 0.0;
    // Seconds of the zulu day; -1 until the ETAs are computed.
    double eta = -1.0;
    // Degrees true.
    double course = 0.0;
    // Knots.
    double speed = 250.0;
    // Seconds.
    double legTime = 0.0;
    double reserved = -1.0;
    // Pounds burned while the leg was active.
    float fuelUsed = 0.0f;
    bool discontinuity = false;
    bool reservedFlag = false;
    // The leg ends between the top of climb and the top of descent.
    bool cruiseLeg = false;
    // The path piece LNAV is flying.
    uint32_t segmentIndex = 0;
    int32_t startKind = kStartFromPreviousFix;
    int32_t windDirection = kNoWind;
    int32_t windSpeed = kNoWind;
    bool manualTermination = false;
    LegConstraints vnav;
    // Airway or procedure the leg was entered by.
    std::string via;
    Waypoint wpt;
    // The leg's own start point; kind Plain when the leg starts at the previous fix.
    Waypoint src;
    OrbitPattern orbit;
    HoldingPattern holding;
    ProcedureTurn pcdrTurn;
    TerminalLeg trmLeg;
    LegPrediction tfd;
    // Degrees Celsius; kNoTemperature or below is not set.
    int32_t temperature = kNoTemperature;
    // Feet; negative is not set.
    int32_t temperatureAltitude = -1;
    std::vector<PathSegment> path;
    std::vector<PilotPoint> markers;
};

// Two waypoints of the same non-zero kind with equal idents and database IDs.
bool sameIdentity(const Waypoint& a, const Waypoint& b);

// The turn from one course to another in degrees, in single precision: the shorter way without
// a direction; with kTurnRight never negative, with kTurnLeft never positive.
float turnAngle(float fromCourse, float toCourse, int32_t direction);

} // namespace tavi
