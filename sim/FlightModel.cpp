#include "sim/FlightModel.h"

#include "sim/Geodesy.h"
#include "sim/SimVariables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavi::sim {

namespace {

constexpr double kDegrees = 180.0 / kPi;
constexpr double kGravity = 9.80665;
constexpr double kKnotsPerMetreSecond = 1.943844492;
constexpr double kEarthRadius = 6371008.8;
constexpr double kFullBrake = 32767.0;

constexpr double kRollInertia = 1.2e6;
constexpr double kPitchInertia = 3.0e6;
constexpr double kYawInertia = 4.0e6;
// Each engine's thrust line lies this far beside the centre line (engine 1 on the left).
constexpr double kEngineArmMetres = 5.0;

constexpr double kLiftAtZeroAlpha = 0.25;
constexpr double kLiftSlope = 5.0;
constexpr double kStallDrop = 3.0;
constexpr double kZeroLiftDrag = 0.020;
constexpr double kInducedDrag = 0.045;
constexpr double kFullFlapDrag = 0.060;
constexpr double kGearDrag = 0.018;
constexpr double kSpoilerDrag = 0.050;
constexpr double kSpoiledLift = 0.35;
constexpr double kDragRiseMach = 0.78;
constexpr double kDragRise = 10.0;
constexpr double kSideForceSlope = -0.8;

constexpr double kPitchAtZeroAlpha = 0.05;
constexpr double kPitchStability = -1.2;
constexpr double kPitchDamping = -18.0;
constexpr double kElevatorPower = 0.30;
constexpr double kTrimPower = 0.20;
constexpr double kFlapPitch = -0.06;
constexpr double kDihedral = -0.08;
constexpr double kRollDamping = -0.45;
constexpr double kAileronPower = 0.015;
constexpr double kWeathercock = 0.12;
constexpr double kYawDamping = -0.5;
constexpr double kRudderPower = 0.08;
// Below this airspeed (m/s) the rate derivatives use it instead, so they stay bounded.
constexpr double kLowestRateSpeed = 20.0;

constexpr double kRollingFriction = 0.015;
constexpr double kBrakingFriction = 0.45;
constexpr double kMaxSteering = 55.0 / kDegrees;
constexpr double kWheelBase = 14.0;
constexpr double kMainGearArm = 0.5;
constexpr double kTailStrike = 12.0 / kDegrees;
constexpr double kStoppedSpeed = 0.05;
constexpr double kRadioAntennaMetres = 1.37;
constexpr int kAltitudeTargetToken = 109;
constexpr double kHoldClimbLimit = 1500.0;

// Lift added by the flaps and the stall angle, by flap angle.
struct FlapRow {
    double degrees;
    double lift;
    double stallDegrees;
};
constexpr std::array<FlapRow, 5> kFlapRows = {{
    {0.0, 0.0, 15.0},
    {9.0, 0.30, 16.0},
    {18.0, 0.50, 15.5},
    {22.0, 0.60, 15.5},
    {45.0, 1.00, 12.5},
}};

FlapRow flapRow(double degrees) {
    const double clamped = std::clamp(degrees, 0.0, kFlapRows.back().degrees);
    for (std::size_t i = 1; i < kFlapRows.size(); ++i) {
        const FlapRow& low = kFlapRows[i - 1];
        const FlapRow& high = kFlapRows[i];
        if (clamped <= high.degrees) {
            const double f = (clamped - low.degrees) / (high.degrees - low.degrees);
            return {clamped, low.lift + f * (high.lift - low.lift),
                    low.stallDegrees + f * (high.stallDegrees - low.stallDegrees)};
        }
    }
    return kFlapRows.back();
}

// The rotation from north-east-down axes into body axes.
struct Rotation {
    std::array<std::array<double, 3>, 3> m;

    Rotation(double heading, double pitch, double bank) {
        const double cp = std::cos(heading), sp = std::sin(heading);
        const double ct = std::cos(pitch), st = std::sin(pitch);
        const double cf = std::cos(bank), sf = std::sin(bank);
        m = {{{ct * cp, ct * sp, -st},
              {sf * st * cp - cf * sp, sf * st * sp + cf * cp, sf * ct},
              {cf * st * cp + sf * sp, cf * st * sp - sf * cp, cf * ct}}};
    }
    std::array<double, 3> toBody(const std::array<double, 3>& v) const {
        return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2],
                m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
                m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
    }
    std::array<double, 3> toEarth(const std::array<double, 3>& v) const {
        return {m[0][0] * v[0] + m[1][0] * v[1] + m[2][0] * v[2],
                m[0][1] * v[0] + m[1][1] * v[1] + m[2][1] * v[2],
                m[0][2] * v[0] + m[1][2] * v[1] + m[2][2] * v[2]};
    }
};

double wrap360(double degrees) {
    const double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0.0 ? wrapped + 360.0 : wrapped;
}

double wrapPi(double radians) {
    return std::remainder(radians, 2.0 * kPi);
}

} // namespace

FlightModel::FlightModel(Panel& panel, SimEngines& engines, Atmosphere& atmosphere,
                         Airfields& airfields, const MagneticVariation& variation)
    : panel(panel), engines(engines), atmosphere(atmosphere), airfields(airfields),
      variation(variation) {}

double FlightModel::mass() const {
    return kOperatingMassKg + engines.fuelWeightKg();
}

void FlightModel::place(const FlightState& state) {
    flight = state;
    groundFeet = airfields.groundElevation(flight.latitude, flight.longitude);
    if (flight.onGround) {
        flight.altitudeFeet = groundFeet;
        gearHandleDown = true;
        gearPosition = 1.0;
    }
    previousHeading = flight.heading;
    headingRate = 0.0;
    publish();
}

void FlightModel::placeOnRunway(const RunwayThreshold& threshold) {
    FlightState state;
    state.latitude = threshold.latitude;
    state.longitude = threshold.longitude;
    state.heading = threshold.trueHeading / kDegrees;
    state.onGround = true;
    place(state);
}

void FlightModel::placeInFlight(double latitude, double longitude, double altitudeFeet,
                                double headingDegrees, double knots) {
    gearHandleDown = false;
    gearPosition = 0.0;
    FlightState state;
    state.latitude = latitude;
    state.longitude = longitude;
    state.altitudeFeet = altitudeFeet;
    state.heading = headingDegrees / kDegrees;
    state.onGround = false;
    flight = state;
    trimFor(knots, altitudeFeet);
    place(flight);
}

void FlightModel::trimFor(double knots, double altitudeFeet) {
    const AirState air = atmosphere.at(altitudeFeet);
    machNumber = Atmosphere::machFromCalibrated(knots, air.staticPressurePsi);
    const double speed = machNumber * air.soundSpeedKnots / kKnotsPerMetreSecond;
    const double area = 0.5 * air.densityKgM3 * speed * speed * kWingArea;
    const Controls controls = readControls();
    const FlapRow flaps = flapRow(controls.flapDegrees);
    const double weight = mass() * kGravity;
    // Level flight: lift and the thrust's share carry the weight, thrust balances drag.
    double thrust = 0.0;
    flight.pitchRate = flight.rollRate = flight.yawRate = 0.0;
    for (int i = 0; i < 8; ++i) {
        alpha = ((weight - thrust * std::sin(alpha)) / area - kLiftAtZeroAlpha - flaps.lift) /
                kLiftSlope;
        thrust = area * coefficients(controls, speed, 0.0).drag / std::cos(alpha);
    }
    trimmedAlpha = alpha;
    const double moment =
        kPitchAtZeroAlpha + kPitchStability * trimmedAlpha + kFlapPitch * controls.flapFraction;
    const double trim = std::clamp(-moment / kTrimPower, -1.0, 1.0);
    panel.setToken(318, std::round(trim * kFullTravel));
    panel.setToken(317, 0.0);
    engines.setSteadyThrust(
        thrust, {air.staticPressurePsi / Atmosphere::kSeaLevelPsi,
                 Atmosphere::totalTemperature(air.temperatureCelsius, machNumber), machNumber});
    flight.pitch = trimmedAlpha;
    const double windFrom = air.windFromDegrees / kDegrees;
    const double windSpeed = air.windSpeedKnots / kKnotsPerMetreSecond;
    flight.velocityNorth = speed * std::cos(flight.heading) - windSpeed * std::cos(windFrom);
    flight.velocityEast = speed * std::sin(flight.heading) - windSpeed * std::sin(windFrom);
    flight.velocityDown = 0.0;
}

void FlightModel::setBrakes(double left, double right) {
    panel.setToken(320, std::round(std::clamp(left, 0.0, 1.0) * kFullBrake));
    panel.setToken(321, std::round(std::clamp(right, 0.0, 1.0) * kFullBrake));
}

FlightModel::Controls FlightModel::readControls() const {
    Controls controls;
    controls.elevator = std::clamp(panel.token(317) / kFullTravel, -1.0, 1.0);
    controls.aileron = std::clamp(panel.token(313) / kFullTravel, -1.0, 1.0);
    controls.rudder = std::clamp(panel.token(316) / kFullTravel, -1.0, 1.0);
    controls.trim = std::clamp(panel.token(318) / kFullTravel, -1.0, 1.0);
    controls.flapDegrees = panel.token(907);
    controls.flapFraction = std::clamp(controls.flapDegrees / kFlapRows.back().degrees, 0.0, 1.0);
    controls.spoilers = std::clamp(panel.token(326) / kFullTravel, 0.0, 1.0);
    controls.gear = gearPosition;
    const double toeBrakes = (panel.token(320) + panel.token(321)) / (2.0 * kFullBrake);
    controls.brake = std::clamp(std::max(toeBrakes, panel.token(323) / kFullBrake), 0.0, 1.0);
    return controls;
}

void FlightModel::advance(double seconds) {
    if (seconds <= 0.0) {
        return;
    }
    const Controls controls = readControls();
    const int steps = static_cast<int>(std::ceil(seconds / kStepSeconds));
    const double dt = seconds / steps;
    for (int i = 0; i < steps; ++i) {
        moveGear(dt);
        Controls held = controls;
        holdAltitude(held);
        step(dt, held);
    }
    headingRate = wrapPi(flight.heading - previousHeading) / seconds;
    previousHeading = flight.heading;
    publish();
}

void FlightModel::moveGear(double seconds) {
    if (flight.onGround) {
        gearPosition = 1.0;
        return;
    }
    const double target = gearHandleDown ? 1.0 : 0.0;
    const double change =
        std::clamp(target - gearPosition, -kGearRate * seconds, kGearRate * seconds);
    gearPosition += change;
}

void FlightModel::holdAltitude(Controls& controls) {
    if (flight.onGround || panel.token(kAutopilotMasterToken) == 0.0 ||
        panel.token(kAltitudeHoldToken) == 0.0) {
        return;
    }
    const bool metric = panel.token(kAltitudeUnitsToken) == kMetricAltitudes;
    const double target = panel.token(kAltitudeTargetToken) * (metric ? kFeetPerMetre : 1.0);
    const double climb = -flight.velocityDown * kFeetPerMetre * 60.0;
    const double wantedClimb =
        std::clamp(0.1 * 60.0 * (target - flight.altitudeFeet), -kHoldClimbLimit, kHoldClimbLimit);
    const double speedFeetPerMinute = std::max(trueSpeed, kLowestRateSpeed) * kFeetPerMetre * 60.0;
    const double wantedPath = std::asin(std::clamp(wantedClimb / speedFeetPerMinute, -0.3, 0.3));
    const double wantedPitch = alpha + wantedPath + 0.002 * (wantedClimb - climb) / kDegrees;
    const double elevator =
        0.15 * (wantedPitch - flight.pitch) * kDegrees - 0.3 * flight.pitchRate * kDegrees;
    controls.elevator = std::clamp(elevator, -1.0, 1.0);
    panel.setToken(317, std::round(controls.elevator * kFullTravel));
}

FlightModel::Coefficients FlightModel::coefficients(const Controls& controls, double speed,
                                                    double sideslip) const {
    const FlapRow flaps = flapRow(controls.flapDegrees);
    const double stall = flaps.stallDegrees / kDegrees;
    const double linear = kLiftAtZeroAlpha + flaps.lift + kLiftSlope * alpha;
    const double maximum = kLiftAtZeroAlpha + flaps.lift + kLiftSlope * stall;
    double lift = linear;
    if (alpha > stall) {
        lift = std::max(maximum - kStallDrop * (alpha - stall), 0.6 * maximum);
    } else if (alpha < -stall) {
        lift = kLiftAtZeroAlpha + flaps.lift - kLiftSlope * stall;
    }
    lift *= 1.0 - kSpoiledLift * controls.spoilers;
    const double dragRise =
        machNumber > kDragRiseMach ? kDragRise * std::pow(machNumber - kDragRiseMach, 2.0) : 0.0;
    Coefficients c;
    c.lift = lift;
    c.drag = kZeroLiftDrag + kInducedDrag * lift * lift + kFullFlapDrag * controls.flapFraction +
             kGearDrag * controls.gear + kSpoilerDrag * controls.spoilers + dragRise;
    c.side = kSideForceSlope * sideslip;
    const double rateSpeed = std::max(speed, kLowestRateSpeed);
    const double spanRate = kSpan / (2.0 * rateSpeed);
    const double chordRate = kChord / (2.0 * rateSpeed);
    c.roll = kDihedral * sideslip + kRollDamping * flight.rollRate * spanRate +
             kAileronPower * controls.aileron;
    c.pitch = kPitchAtZeroAlpha + kPitchStability * alpha +
              kPitchDamping * flight.pitchRate * chordRate + kElevatorPower * controls.elevator +
              kTrimPower * controls.trim + kFlapPitch * controls.flapFraction;
    c.yaw = kWeathercock * sideslip + kYawDamping * flight.yawRate * spanRate +
            kRudderPower * controls.rudder;
    return c;
}

FlightModel::Forces FlightModel::forces(const Controls& controls, double& groundElevationFeet) {
    const AirState air = atmosphere.at(flight.altitudeFeet);
    groundElevationFeet = airfields.groundElevation(flight.latitude, flight.longitude);
    const double windFrom = air.windFromDegrees / kDegrees;
    const double windSpeed = air.windSpeedKnots / kKnotsPerMetreSecond;
    const Rotation rotation(flight.heading, flight.pitch, flight.bank);
    const auto [u, v, w] = rotation.toBody({flight.velocityNorth + windSpeed * std::cos(windFrom),
                                            flight.velocityEast + windSpeed * std::sin(windFrom),
                                            flight.velocityDown});
    trueSpeed = std::sqrt(u * u + v * v + w * w);
    const bool moving = trueSpeed > 1.0;
    alpha = moving ? std::atan2(w, u) : 0.0;
    beta = moving ? std::asin(std::clamp(v / trueSpeed, -1.0, 1.0)) : 0.0;
    machNumber = trueSpeed * kKnotsPerMetreSecond / air.soundSpeedKnots;
    indicatedKnots = Atmosphere::calibratedAirspeed(machNumber, air.staticPressurePsi);

    const Coefficients c = coefficients(controls, trueSpeed, beta);
    const double dynamicPressure = 0.5 * air.densityKgM3 * trueSpeed * trueSpeed;
    const double area = dynamicPressure * kWingArea;
    const double lift = area * c.lift;
    const double drag = area * c.drag;
    Forces f;
    f.lift = lift;
    f.x = lift * std::sin(alpha) - drag * std::cos(alpha) + engines.thrust();
    f.y = area * c.side;
    f.z = -lift * std::cos(alpha) - drag * std::sin(alpha);
    f.l = area * kSpan * c.roll;
    f.m = area * kChord * c.pitch;
    f.n = area * kSpan * c.yaw + kEngineArmMetres * (engines.thrust(1) - engines.thrust(2));
    return f;
}

void FlightModel::step(double seconds, const Controls& controls) {
    double ground = 0.0;
    const Forces f = forces(controls, ground);
    groundFeet = ground;
    const double massKg = mass();
    normalLoad = -f.z / (massKg * kGravity);
    if (flight.onGround) {
        stepOnGround(seconds, f, massKg, controls);
    } else {
        stepAirborne(seconds, f, massKg);
    }
    flight.latitude += flight.velocityNorth * seconds / kEarthRadius * kDegrees;
    flight.longitude += flight.velocityEast * seconds /
                        (kEarthRadius * std::cos(flight.latitude / kDegrees)) * kDegrees;
    flight.longitude = std::remainder(flight.longitude, 360.0);
    if (!flight.onGround && flight.altitudeFeet <= groundFeet && flight.velocityDown >= 0.0) {
        // Touchdown: the wheels take the weight and the aircraft rolls along its heading.
        flight.onGround = true;
        flight.altitudeFeet = groundFeet;
        flight.velocityDown = 0.0;
        flight.bank = 0.0;
        flight.rollRate = 0.0;
        flight.yawRate = 0.0;
        const double along = flight.velocityNorth * std::cos(flight.heading) +
                             flight.velocityEast * std::sin(flight.heading);
        flight.velocityNorth = along * std::cos(flight.heading);
        flight.velocityEast = along * std::sin(flight.heading);
    }
}

void FlightModel::stepAirborne(double seconds, const Forces& f, double massKg) {
    const Rotation rotation(flight.heading, flight.pitch, flight.bank);
    const auto [fn, fe, fd] = rotation.toEarth({f.x, f.y, f.z});
    flight.velocityNorth += fn / massKg * seconds;
    flight.velocityEast += fe / massKg * seconds;
    flight.velocityDown += (fd / massKg + kGravity) * seconds;
    flight.rollRate += f.l / kRollInertia * seconds;
    flight.pitchRate += f.m / kPitchInertia * seconds;
    flight.yawRate += f.n / kYawInertia * seconds;

    const double sinBank = std::sin(flight.bank), cosBank = std::cos(flight.bank);
    const double turn = flight.pitchRate * sinBank + flight.yawRate * cosBank;
    flight.bank += (flight.rollRate + std::tan(flight.pitch) * turn) * seconds;
    flight.pitch += (flight.pitchRate * cosBank - flight.yawRate * sinBank) * seconds;
    flight.heading += turn / std::cos(flight.pitch) * seconds;
    flight.bank = wrapPi(flight.bank);
    flight.heading = std::fmod(flight.heading + 2.0 * kPi, 2.0 * kPi);
    flight.altitudeFeet -= flight.velocityDown * seconds * kFeetPerMetre;
}

void FlightModel::stepOnGround(double seconds, const Forces& f, double massKg,
                               const Controls& controls) {
    const Rotation rotation(flight.heading, flight.pitch, 0.0);
    const auto [fn, fe, fd] = rotation.toEarth({f.x, f.y, f.z});
    const double weightOnWheels = fd + massKg * kGravity;
    if (weightOnWheels < 0.0) {
        // Lift carries the aircraft: it leaves the ground.
        flight.onGround = false;
        stepAirborne(seconds, f, massKg);
        return;
    }
    const double cosHeading = std::cos(flight.heading), sinHeading = std::sin(flight.heading);
    double along = flight.velocityNorth * cosHeading + flight.velocityEast * sinHeading;
    const double push = fn * cosHeading + fe * sinHeading;
    const double friction = (kRollingFriction + kBrakingFriction * controls.brake) * weightOnWheels;
    if (std::fabs(along) < kStoppedSpeed && std::fabs(push) <= friction) {
        along = 0.0;
    } else {
        const double direction = std::fabs(along) < kStoppedSpeed ? (push > 0.0 ? 1.0 : -1.0)
                                                                  : (along > 0.0 ? 1.0 : -1.0);
        const double next = along + (push - direction * friction) / massKg * seconds;
        // Friction stops the wheels; it never turns them backwards.
        along = next * direction < 0.0 && std::fabs(push) <= friction ? 0.0 : next;
    }
    flight.yawRate = along * std::tan(controls.rudder * kMaxSteering) / kWheelBase;
    flight.heading = std::fmod(flight.heading + flight.yawRate * seconds + 2.0 * kPi, 2.0 * kPi);
    flight.velocityNorth = along * std::cos(flight.heading);
    flight.velocityEast = along * std::sin(flight.heading);
    flight.velocityDown = 0.0;
    flight.altitudeFeet = groundFeet;
    flight.bank = 0.0;
    flight.rollRate = 0.0;

    // Rotation about the main gear: the weight on the wheels holds the nose down.
    const double moment = f.m - weightOnWheels * kMainGearArm;
    flight.pitchRate += moment / kPitchInertia * seconds;
    flight.pitch += flight.pitchRate * seconds;
    if (flight.pitch <= 0.0) {
        flight.pitch = 0.0;
        flight.pitchRate = std::max(flight.pitchRate, 0.0);
        if (moment < 0.0) {
            flight.pitchRate = 0.0;
        }
    } else if (flight.pitch >= kTailStrike) {
        flight.pitch = kTailStrike;
        flight.pitchRate = std::min(flight.pitchRate, 0.0);
    }
}

void FlightModel::publish() {
    const AirState air = atmosphere.at(flight.altitudeFeet);
    const double magneticVariation = variation.at(flight.latitude, flight.longitude);
    publishAirData(air);
    publishAttitude(magneticVariation);
    publishPosition(magneticVariation, groundFeet);
    const int32_t gear = static_cast<int32_t>(std::lround(gearPosition * kFullTravel));
    for (const int token : {332, 333, 334}) {
        panel.setToken(token, gear);
    }
    panel.setVariable("TOTAL WEIGHT", 0, mass());
}

void FlightModel::publishAirData(const AirState& air) {
    const double settingHpa = panel.token(75);
    const double indicatedAltitude =
        air.pressureAltitudeFeet -
        Atmosphere::kSettingScale *
            (1.0 - std::pow(settingHpa / Atmosphere::kStandardHpa, Atmosphere::kSettingExponent));
    panel.setVariable("PRESSURE ALTITUDE", 0, air.pressureAltitudeFeet);
    panel.setVariable("INDICATED ALTITUDE", 0, indicatedAltitude);
    panel.setVariableInUnits("BAROMETER PRESSURE", "PSI", 0, air.staticPressurePsi);
    panel.setVariableInUnits("BAROMETER PRESSURE", "MBAR", 0, air.staticPressureHpa);
    panel.setVariable("AMBIENT TEMPERATURE", 0, air.temperatureCelsius);
    panel.setVariable("TOTAL AIR TEMPERATURE", 0,
                      Atmosphere::totalTemperature(air.temperatureCelsius, machNumber));
    panel.setVariable("AIRSPEED MACH", 0, machNumber);
    panel.setVariable("AIRSPEED TRUE", 0, trueSpeed * kKnotsPerMetreSecond);
    panel.setVariable("AIRSPEED INDICATED", 0, indicatedKnots);
    panel.setVariable("INCIDENCE ALPHA", 0, alpha * kDegrees);
    panel.setVariable("INCIDENCE BETA", 0, beta * kDegrees);
    panel.setVariable("G FORCE", 0, flight.onGround ? 1.0 : normalLoad);
    panel.setToken(343, air.windSpeedKnots);
    panel.setToken(344, air.windFromDegrees);
}

// The simulator's attitude: pitch positive nose down, bank positive left wing down, and body
// rates with the signs of those angles' changes.
void FlightModel::publishAttitude(double magneticVariation) {
    const double trueHeading = wrap360(flight.heading * kDegrees);
    const double magneticHeading = wrap360(trueHeading - magneticVariation);
    for (const int unit : {1, 2}) {
        panel.setVariable("ATTITUDE INDICATOR PITCH DEGREES", unit, -flight.pitch * kDegrees);
        panel.setVariable("ATTITUDE INDICATOR BANK DEGREES", unit, -flight.bank * kDegrees);
        panel.setVariable("PLANE HEADING DEGREES GYRO", unit, magneticHeading);
    }
    panel.setVariable("DELTA HEADING RATE", 0, headingRate * kDegrees);
    panel.setVariable("ROTATION VELOCITY BODY X", 0, -flight.pitchRate * kDegrees);
    panel.setVariable("ROTATION VELOCITY BODY Z", 0, -flight.rollRate * kDegrees);
    panel.setToken(86, trueHeading);
    panel.setToken(81, magneticHeading);
    panel.setToken(82, magneticVariation);
    // The standby compass card: the magnetic heading, without the compass's turning and
    // acceleration errors.
    panel.setToken(83, magneticHeading);
}

void FlightModel::publishPosition(double magneticVariation, double groundElevationFeet) {
    const double groundSpeed = std::hypot(flight.velocityNorth, flight.velocityEast);
    const double track =
        groundSpeed > 0.1
            ? wrap360(std::atan2(flight.velocityEast, flight.velocityNorth) * kDegrees)
            : wrap360(flight.heading * kDegrees);
    const double altitudeMetres = flight.altitudeFeet / kFeetPerMetre;
    const double groundMetres = groundElevationFeet / kFeetPerMetre;
    panel.setToken(60, flight.onGround ? 1.0 : 0.0);
    panel.setToken(71, flight.latitude * 40007000.0 / 360.0);
    panel.setToken(72, flight.longitude / 360.0 * 281474976710656.0);
    panel.setToken(73, altitudeMetres);
    panel.setToken(2, groundMetres * 256.0);
    panel.setToken(614, altitudeMetres - groundMetres + kRadioAntennaMetres);
    panel.setToken(65, -flight.velocityDown * 256.0);
    const double cosHeading = std::cos(flight.heading), sinHeading = std::sin(flight.heading);
    panel.setToken(551, flight.velocityNorth * cosHeading + flight.velocityEast * sinHeading);
    panel.setToken(552, -flight.velocityNorth * sinHeading + flight.velocityEast * cosHeading);
    panel.setVariable("GPS GROUND TRUE TRACK", 0, track);
    panel.setVariable("GPS GROUND MAGNETIC TRACK", 0, wrap360(track - magneticVariation));
    panel.setVariable("GROUND VELOCITY", 0, groundSpeed * kKnotsPerMetreSecond);
    panel.setVariable("GPS POSITION ALT", 0, altitudeMetres);
    panel.setVariable("PLANE LATITUDE", 0, flight.latitude);
    panel.setVariable("PLANE LONGITUDE", 0, flight.longitude);
    panel.setVariable("PLANE ALTITUDE", 0, flight.altitudeFeet);
}

} // namespace tavi::sim
