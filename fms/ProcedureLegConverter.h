#pragma once

#include "navdata/Runway.h"
#include "navdata/TerminalLeg.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavi {

class FlightPlan;
class FlightPlanContext;
class GeneratedPointNames;
class NavDatabase;
class PilotPoint;
class PilotPointStore;
class Waypoint;

// What the procedure expansions use of the FMS: the navigation database for the fixes and the
// procedures, the pilot-waypoint store for the points of an activated procedure, and the plan
// context for the magnetic variation and the plan edits.
struct ProcedureEnvironment {
    const NavDatabase& database;
    PilotPointStore& pilotPoints;
    const FlightPlanContext& context;
};

// One procedure being converted into a plan.
struct ProcedureJob {
    FlightPlan& plan;
    GeneratedPointNames& names;
    // The generated points go into the pilot-waypoint store.
    bool activate = false;
    // The procedure name every new leg is entered by.
    std::string via;
    // Flight phase of the altitude constraints.
    uint32_t phase = 0;
    // The arrival's rules: the missed-approach point ends at the runway below, approach legs
    // fly 150 kt and large vertical angles carry the fly-over flag.
    bool arrival = false;
    Runway arrivalRunway;
};

// What converting one record did.
struct ConversionResult {
    // The record's rule inserts a leg or a break; inserted tells whether the plan took it.
    bool insertingRule = false;
    bool inserted = false;
    // The completion ran: the record is now a leg's terminal leg.
    bool completed = false;
    // The record was a procedure turn, which also stands for the following record.
    bool skipNext = false;
};

// Turns the path terminators of procedure records into flight-plan legs: legs to database
// fixes, legs to generated points (altitude, DME, intercept, radial, distance and vectors
// points), holds and procedure turns on the leg before, and breaks. The plan must be locked
// while a procedure is converted, so that no insertion tidies or recalculates it.
class ProcedureLegConverter {
public:
    explicit ProcedureLegConverter(const ProcedureEnvironment& environment)
        : environment(environment) {}

    // Converts records[position] in front of leg index of the job's plan.
    ConversionResult convert(const std::vector<TerminalLeg>& records, std::size_t position,
                             std::size_t index, const ProcedureJob& job) const;
    // Appends the leg to the runway that ends an arrival: at the threshold elevation + 50 ft
    // at 150 kt; the runway becomes the plan's destination runway.
    void appendRunwayLeg(FlightPlan& plan, const Runway& runway, const std::string& via) const;

private:
    struct Step {
        const std::vector<TerminalLeg>& records;
        std::size_t position;
        std::size_t index;
        const ProcedureJob& job;
        // The record being converted; a rule may fill in what the database left out.
        TerminalLeg record;
    };

    ConversionResult fixRule(Step& step) const;
    ConversionResult altitudeRule(Step& step) const;
    ConversionResult dmeRule(Step& step) const;
    ConversionResult interceptRule(Step& step) const;
    ConversionResult radialRule(Step& step) const;
    ConversionResult distanceRule(Step& step) const;
    ConversionResult vectorsRule(Step& step) const;
    ConversionResult holdRule(Step& step) const;
    ConversionResult procedureTurnRule(Step& step) const;
    ConversionResult discontinuityRule(Step& step) const;

    // Inserts a generated point (stored first when activating) and completes the leg.
    ConversionResult insertPoint(Step& step, const PilotPoint& point) const;
    ConversionResult completeAt(Step& step, std::size_t legIndex, bool inserted) const;
    void complete(Step& step, std::size_t legIndex) const;
    void interceptFixUp(Step& step, std::size_t legIndex) const;
    void courseFromFixStart(Step& step) const;

    PilotPoint generatedPoint(const std::string& ident, int32_t ppType, double latitude,
                              double longitude) const;
    // The leg whose fix generated points start from; none for the origin or the aircraft.
    std::optional<std::size_t> baseLeg(Step& step) const;
    Waypoint base(Step& step) const;
    double baseAltitude(Step& step) const;
    double variationAt(double latitude, double longitude) const;

    ProcedureEnvironment environment;
};

} // namespace tavi
