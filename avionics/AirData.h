#pragma once

namespace tavi {

// Air-data conversions of the standard atmosphere. Speeds in knots, altitudes in pressure feet,
// temperatures in degrees Celsius.

// Static pressure over sea-level pressure at a pressure altitude, in both layers of the
// atmosphere.
double pressureRatioAtAltitude(double feet);
// Calibrated airspeed and Mach number at a static pressure ratio; each inverts the other.
double casFromMachAtPressureRatio(double mach, double pressureRatio);
double machFromCasAtPressureRatio(double cas, double pressureRatio);

// Altitudes below 0 are taken as 0.
double casFromMachAtAltitude(double mach, double feet);
// At the static air temperature.
double trueAirspeedFromMach(double mach, double staticAirTemperature);
// In the standard atmosphere at the altitude; altitudes below 0 are taken as 0.
double trueAirspeedFromCas(double cas, double feet);
float isaTemperature(float feet);
// Altitudes at or below 0 are taken as 0.
float isaTemperatureClamped(float feet);

} // namespace tavi
