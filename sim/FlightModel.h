#pragma once

#include "sim/Airfields.h"
#include "sim/Atmosphere.h"
#include "sim/MagneticVariation.h"
#include "sim/Panel.h"
#include "sim/SimEngines.h"

namespace tavi::sim {

// The aircraft's position, velocity and attitude. Angles in radians with the usual flight
// mechanics signs (pitch nose-up, bank right wing down, heading true, clockwise); velocities in
// metres per second, north, east and down; body rates in radians per second.
struct FlightState {
    double latitude = 0.0;
    double longitude = 0.0;
    double altitudeFeet = 0.0;
    double velocityNorth = 0.0;
    double velocityEast = 0.0;
    double velocityDown = 0.0;
    double pitch = 0.0;
    double bank = 0.0;
    double heading = 0.0;
    double rollRate = 0.0;
    double pitchRate = 0.0;
    double yawRate = 0.0;
    bool onGround = true;
};

// The simulator's flight model: a rigid aircraft with six degrees of freedom over a flat,
// non-rotating earth, for a twin-engine jet of the 40-50 t class. Inputs are the control
// surfaces, trim, flaps, spoilers, gear and brakes as the simulator's tokens hold them, and the
// engines' thrust; outputs are every token and aircraft variable of the flight that gauges read.
// On the ground the aircraft rolls on its wheels (rolling and braking friction, nose-wheel
// steering from the rudder, rotation about the main gear) until lift carries it.
//
// Figures (plausible textbook values for the class, no product's data):
// - operating mass without fuel 36,000 kg; wing area 92.5 m2, span 28.7 m, chord 3.5 m
// - lift: CL = 0.25 + 5.0 / rad x alpha, plus 0.30/0.50/0.60/1.00 at flaps 9/18/22/45; the
//   stall angle 15 deg clean, 16 at flaps 9, 15.5 at 18-22, 12.5 at 45, lift falling beyond it
// - drag polar: CD = 0.020 + 0.045 CL^2, plus up to 0.060 for full flaps, 0.018 for the gear,
//   0.050 for full spoilers (which also spoil 0.35 of CL); Mach drag rise beyond 0.78
// - pitch: Cm = 0.05 - 1.2 alpha - 18 q c / 2V + 0.30 elevator + 0.20 trim - 0.06 flap
//   fraction, Iyy 3.0e6 kg m2: short period about 1.1 rad/s with 0.5 damping at 250 kt
// - roll: Cl = -0.08 beta - 0.45 p b / 2V + 0.015 aileron, Ixx 1.2e6 kg m2: about 17 deg/s at
//   full aileron and 250 kt with a 0.9 s time constant
// - yaw: Cn = 0.12 beta - 0.5 r b / 2V + 0.08 rudder, Izz 4.0e6 kg m2; side force -0.8 beta;
//   the engines' thrust lines 5 m either side of the centre line, so that unequal thrust yaws
//   the aircraft towards the weaker engine (full rudder holds one engine out from 120 kt)
// - the simulator's altitude hold (its autopilot master and altitude hold on): vertical speed
//   0.1 /s x altitude error within 1,500 fpm flown as a flight path, plus 0.002 deg of pitch per
//   fpm of vertical speed error,
//   elevator 0.15 per degree of pitch error and 0.3 per deg/s of pitch rate
// - ground: rolling friction 0.015, braking friction 0.45 at full brake, nose-wheel steering
//   up to 55 deg over a 14 m wheel base, main gear 0.5 m behind the centre of gravity, tail
//   strike at 12 deg
class FlightModel {
public:
    static constexpr double kOperatingMassKg = 36000.0;
    static constexpr double kWingArea = 92.5;
    static constexpr double kSpan = 28.7;
    static constexpr double kChord = 3.5;
    // A time step of the equations: longer frames are integrated in steps this long.
    static constexpr double kStepSeconds = 0.01;
    // Gear position (0 up .. 1 down) changes at this rate per second.
    static constexpr double kGearRate = 1.0 / 8.0;

    FlightModel(Panel& panel, SimEngines& engines, Atmosphere& atmosphere, Airfields& airfields,
                const MagneticVariation& variation);

    const FlightState& state() const { return flight; }
    // Places the aircraft; the outputs follow at once.
    void place(const FlightState& state);
    // Stopped on the runway's threshold, lined up with it.
    void placeOnRunway(const RunwayThreshold& threshold);
    // Wings level in steady flight at the altitude (feet) and indicated airspeed (knots),
    // trimmed, the gear and flaps up.
    void placeInFlight(double latitude, double longitude, double altitudeFeet,
                       double headingDegrees, double indicatedKnots);

    void setGearHandle(bool down) { gearHandleDown = down; }
    bool gearHandle() const { return gearHandleDown; }
    // Toe brakes, 0..1 each.
    void setBrakes(double left, double right);

    void advance(double seconds);

    // The aircraft's mass (kg) with the fuel in its tanks.
    double mass() const;
    double angleOfAttackDegrees() const { return alpha * 180.0 / 3.14159265358979323846; }
    double indicatedAirspeedKnots() const { return indicatedKnots; }
    // Pitch angle at which the aircraft holds level flight at the state's speed, radians, and
    // the trim (-1..1) that holds it there with the elevator neutral.
    double trimPitch() const { return trimmedAlpha; }
    double loadFactor() const { return normalLoad; }

private:
    struct Controls {
        double elevator = 0.0;
        double aileron = 0.0;
        double rudder = 0.0;
        double trim = 0.0;
        double flapFraction = 0.0;
        double flapDegrees = 0.0;
        double spoilers = 0.0;
        double gear = 1.0;
        double brake = 0.0;
    };
    struct Coefficients {
        double lift = 0.0;
        double drag = 0.0;
        double side = 0.0;
        double roll = 0.0;
        double pitch = 0.0;
        double yaw = 0.0;
    };
    struct Forces {
        // Body axes: forward, right, down (newtons), and roll, pitch, yaw moments (N m).
        double x = 0.0;
        double y = 0.0;
        double z = 0.0;
        double l = 0.0;
        double m = 0.0;
        double n = 0.0;
        double lift = 0.0;
    };

    Controls readControls() const;
    void step(double seconds, const Controls& controls);
    Forces forces(const Controls& controls, double& groundElevationFeet);
    Coefficients coefficients(const Controls& controls, double speed, double beta) const;
    void stepAirborne(double seconds, const Forces& f, double massKg);
    void stepOnGround(double seconds, const Forces& f, double massKg, const Controls& controls);
    void moveGear(double seconds);
    // The simulator's own autopilot: with its master and altitude hold on it flies the
    // elevator to the altitude it was given, as a simulator's built-in autopilot does.
    void holdAltitude(Controls& controls);
    void trimFor(double indicatedKnots, double altitudeFeet);
    void publish();
    void publishAirData(const AirState& air);
    void publishAttitude(double magneticVariation);
    void publishPosition(double magneticVariation, double groundElevationFeet);

    Panel& panel;
    SimEngines& engines;
    Atmosphere& atmosphere;
    Airfields& airfields;
    const MagneticVariation& variation;
    FlightState flight;
    bool gearHandleDown = true;
    double gearPosition = 1.0;
    double alpha = 0.0;
    double beta = 0.0;
    double trueSpeed = 0.0;
    double indicatedKnots = 0.0;
    double machNumber = 0.0;
    double normalLoad = 1.0;
    double trimmedAlpha = 0.0;
    double groundFeet = 0.0;
    double previousHeading = 0.0;
    double headingRate = 0.0;
};

} // namespace tavi::sim
