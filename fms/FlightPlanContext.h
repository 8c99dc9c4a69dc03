#pragma once

#include <cstddef>
#include <cstdint>

namespace tavi {

class FlightPlan;

// What the flight-plan operations read of the FMS and of the systems around it. The FMS answers
// for itself; tests give fixed values. Every operation of a plan that may recalculate it takes
// one.
class FlightPlanContext {
public:
    virtual ~FlightPlanContext() = default;

    // The FMS present position of the position-init record, degrees.
    virtual double presentLatitude() const = 0;
    virtual double presentLongitude() const = 0;
    // The barometric altitude of the air data, ft.
    virtual float altitude() const = 0;
    // Degrees east at the place.
    virtual float magneticVariation(double latitude, double longitude) const = 0;
    // Milliseconds of unpaused simulation time.
    virtual uint32_t simTimeMs() const = 0;
    // The FMS airborne flag.
    virtual bool airborne() const = 0;
    // The active descent path angle of the performance initialisation, degrees.
    virtual double descentAngle() const = 0;
    // The performance initialisation is complete: the legs fly their own speeds.
    virtual bool performanceConfirmed() const = 0;
    // The flight director's turn for a course change (degrees) at a ground speed (kt) and
    // altitude (ft): the turn radius in nm, and in lead the distance before the fix at which
    // the turn starts.
    virtual double turnGeometry(double courseChange, double groundSpeed, double& lead,
                                double altitude) const = 0;
    // The speed (kt indicated) VNAV will command on leg index of the plan, once the performance
    // initialisation is complete; 0 when it cannot tell.
    virtual double legSpeedCommand(const FlightPlan& /*plan*/, std::size_t /*index*/) const {
        return 0.0;
    }
};

} // namespace tavi
