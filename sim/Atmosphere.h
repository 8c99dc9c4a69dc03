#pragma once

#include <vector>

namespace tavi::sim {

// The wind at one altitude: where it blows from (degrees true) and its speed (knots).
struct WindLayer {
    double altitudeFeet = 0.0;
    double fromDegrees = 0.0;
    double speedKnots = 0.0;
};

// The air around the aircraft at one altitude, in the units the simulator publishes.
struct AirState {
    double pressureAltitudeFeet = 0.0;
    double staticPressurePsi = 0.0;
    double staticPressureHpa = 0.0;
    double temperatureCelsius = 0.0;
    double densityKgM3 = 0.0;
    double soundSpeedKnots = 0.0;
    double windFromDegrees = 0.0;
    double windSpeedKnots = 0.0;
};

// The simulator's weather: the standard atmosphere shifted by a temperature deviation and a
// sea-level pressure, and a wind that may change with altitude. Pressure altitude is taken
// from true altitude with the altimeter relation the instruments use, so an altimeter set to
// the sea-level pressure reads true altitude; the temperature deviation changes density and the
// speed of sound, not the pressure levels.
class Atmosphere {
public:
    static constexpr double kStandardHpa = 1013.25;
    static constexpr double kSeaLevelPsi = 14.69595;
    static constexpr double kTropopauseFeet = 36089.24;
    // The altimeter relation: a setting of p hPa moves the reading by
    // kSettingScale * (1 - (p / kStandardHpa)^kSettingExponent) feet.
    static constexpr double kSettingScale = 145442.2;
    static constexpr double kSettingExponent = 0.2045;

    void setSeaLevelPressure(double hectopascals) { seaLevelHpa = hectopascals; }
    void setTemperatureDeviation(double celsius) { deviation = celsius; }
    // One wind at every altitude.
    void setWind(double fromDegrees, double speedKnots);
    // Winds by altitude, interpolated between the layers and held beyond the first and last.
    void setWindLayers(std::vector<WindLayer> layers);

    double seaLevelPressure() const { return seaLevelHpa; }
    double temperatureDeviation() const { return deviation; }
    AirState at(double trueAltitudeFeet) const;

    // The standard atmosphere: static pressure (psi) at a pressure altitude (feet) and back.
    static double pressureAtPressureAltitude(double feet);
    static double pressureAltitudeAtPressure(double psi);
    // Calibrated airspeed (knots) from the Mach number at a static pressure (psi).
    static double calibratedAirspeed(double mach, double staticPsi);
    // The Mach number that gives a calibrated airspeed (knots) at a static pressure (psi).
    static double machFromCalibrated(double knots, double staticPsi);
    // Total air temperature (Celsius) at a static temperature and Mach number.
    static double totalTemperature(double staticCelsius, double mach);

private:
    WindLayer windAt(double trueAltitudeFeet) const;

    double seaLevelHpa = kStandardHpa;
    double deviation = 0.0;
    std::vector<WindLayer> winds;
};

} // namespace tavi::sim
