#include "sim/Atmosphere.h"

#include "sim/Panel.h"

#include <gtest/gtest.h>

namespace tavi::sim {
namespace {

TEST(AtmosphereTest, StandardDayAtSeaLevelAndTheTropopause) {
    const Atmosphere atmosphere;
    const AirState sea = atmosphere.at(0.0);
    EXPECT_NEAR(sea.staticPressurePsi, 14.69595, 1e-9);
    EXPECT_NEAR(sea.staticPressureHpa, 1013.25, 0.01);
    EXPECT_NEAR(sea.temperatureCelsius, 15.0, 1e-9);
    EXPECT_NEAR(sea.densityKgM3, 1.225, 0.001);
    EXPECT_NEAR(sea.soundSpeedKnots, 661.48, 0.05);
    const AirState high = atmosphere.at(40000.0);
    EXPECT_NEAR(high.temperatureCelsius, -56.5, 0.01);
    EXPECT_NEAR(high.staticPressureHpa, 187.5, 0.5);
}

// An altimeter set to the sea-level pressure reads true altitude with the instruments'
// setting relation, and the pressure altitude moves by 27-30 ft per hectopascal.
TEST(AtmosphereTest, SeaLevelPressureShiftsThePressureAltitude) {
    Atmosphere atmosphere;
    atmosphere.setSeaLevelPressure(1023.25);
    const AirState air = atmosphere.at(2000.0);
    EXPECT_NEAR(air.pressureAltitudeFeet, 2000.0 - 285.0, 20.0);
    EXPECT_NEAR(Atmosphere::pressureAltitudeAtPressure(air.staticPressurePsi),
                air.pressureAltitudeFeet, 1e-6);
    atmosphere.setTemperatureDeviation(10.0);
    EXPECT_NEAR(atmosphere.at(2000.0).temperatureCelsius, air.temperatureCelsius + 10.0, 1e-9);
}

TEST(AtmosphereTest, CalibratedAirspeedAndMachInvertEachOther) {
    for (const double feet : {0.0, 10000.0, 30000.0, 41000.0}) {
        const double psi = Atmosphere::pressureAtPressureAltitude(feet);
        for (const double mach : {0.2, 0.5, 0.8}) {
            const double cas = Atmosphere::calibratedAirspeed(mach, psi);
            EXPECT_NEAR(Atmosphere::machFromCalibrated(cas, psi), mach, 1e-9);
        }
    }
    EXPECT_NEAR(Atmosphere::calibratedAirspeed(0.3, Atmosphere::kSeaLevelPsi), 0.3 * 661.4786,
                1e-6);
    EXPECT_NEAR(Atmosphere::totalTemperature(-50.0, 0.8), (223.15 * 1.128) - 273.15, 1e-9);
}

TEST(AtmosphereTest, WindLayersInterpolateAcrossNorth) {
    Atmosphere atmosphere;
    atmosphere.setWindLayers({{10000.0, 10.0, 40.0}, {0.0, 350.0, 10.0}});
    EXPECT_NEAR(atmosphere.at(-100.0).windFromDegrees, 350.0, 1e-9);
    EXPECT_NEAR(atmosphere.at(5000.0).windFromDegrees, 0.0, 1e-9);
    EXPECT_NEAR(atmosphere.at(5000.0).windSpeedKnots, 25.0, 1e-9);
    EXPECT_NEAR(atmosphere.at(20000.0).windSpeedKnots, 40.0, 1e-9);
    atmosphere.setWind(270.0, 15.0);
    EXPECT_EQ(atmosphere.at(30000.0).windFromDegrees, 270.0);
}

TEST(AtmosphereTest, PanelGivesAVariableInEachOfItsUnits) {
    Panel panel;
    panel.setVariable("BAROMETER PRESSURE", 0, 1.0);
    panel.setVariableInUnits("BAROMETER PRESSURE", "MBAR", 0, 1013.25);
    const int32_t variable = panel.aircraftVariableId("BAROMETER PRESSURE");
    EXPECT_EQ(panel.readAircraftVariable(variable, panel.unitsId("mbar"), 0), 1013.25);
    EXPECT_EQ(panel.readAircraftVariable(variable, panel.unitsId("PSI"), 0), 1.0);
}

} // namespace
} // namespace tavi::sim
