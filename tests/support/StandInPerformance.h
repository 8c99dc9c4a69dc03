// Performance tables measured on the stand-in's flight model, so that the FMS predicts what the
// stand-in will fly: every cell is the steady flight of the stand-in at the cell's altitude and
// indicated airspeed, at the aircraft's present mass.
#pragma once

#include "fms/FmsPerf.h"
#include "sim/Simulator.h"

#include <algorithm>
#include <cmath>

namespace tavi::test {

struct StandInProfile {
    // The climb the crew flies in VS (feet a minute) and the descent path (degrees).
    double climbFeetPerMinute = 1500.0;
    double descentAngle = 3.0;
};

class StandInPerformance {
public:
    // Places the aircraft again and again: measure before the flight starts.
    static void measure(sim::Simulator& simulator, FmsPerf& perf, const StandInProfile& profile) {
        StandInPerformance measuring(simulator, profile);
        const float weight = static_cast<float>(simulator.flight.mass() / kKgPerPound);
        const float climbScale = std::sqrt(weight / FmsPerf::kReferenceWeight);
        const float cruiseScale = std::sqrt(climbScale);
        for (int32_t row = 1; row < FmsPerf::kRows; ++row) {
            for (int32_t column = 1; column < FmsPerf::kColumns; ++column) {
                const Cell cell = measuring.steadyFlight(1000.0 * row, 100.0 + 10.0 * (column - 1));
                perf.setCell(FmsPerf::ClimbFuel, row, column, cell.climbFuel / climbScale);
                perf.setCell(FmsPerf::ClimbTime, row, column, cell.climbTime / climbScale);
                perf.setCell(FmsPerf::CruiseFuel, row, column, cell.cruiseFuel / cruiseScale);
                perf.setCell(FmsPerf::DescentFuel, row, column, cell.descentFuel);
            }
        }
    }

private:
    static constexpr double kKgPerPound = 0.45359237;
    static constexpr double kGravity = 9.80665;
    static constexpr double kFeetPerMetre = 3.280839895;
    static constexpr double kMetresPerSecondPerKnot = 0.514444;
    static constexpr double kDegrees = 3.14159265358979323846 / 180.0;

    // Pounds and seconds for a band of 1000 ft, pounds for a minute of level flight.
    struct Cell {
        float climbFuel = 0.0f;
        float climbTime = 0.0f;
        float cruiseFuel = 0.0f;
        float descentFuel = 0.0f;
    };

    StandInPerformance(sim::Simulator& simulator, const StandInProfile& profile)
        : simulator(simulator), profile(profile) {}

    Cell steadyFlight(double altitude, double knots) {
        simulator.placeInFlight(0.0, 0.0, altitude, 0.0, knots);
        const double drag = simulator.engines.thrust();
        const double weight = simulator.flight.mass() * kGravity;
        const sim::AirState air = simulator.atmosphere.at(altitude);
        const double mach = sim::Atmosphere::machFromCalibrated(knots, air.staticPressurePsi);
        const double trueSpeed = mach * air.soundSpeedKnots * kMetresPerSecondPerKnot;
        const sim::EngineAir engineAir{
            air.staticPressurePsi / sim::Atmosphere::kSeaLevelPsi,
            sim::Atmosphere::totalTemperature(air.temperatureCelsius, mach), mach};
        Cell cell;
        cell.cruiseFuel = static_cast<float>(fuelFlow() / 60.0);

        const double climbRate = profile.climbFeetPerMinute / 60.0 / kFeetPerMetre;
        simulator.engines.setSteadyThrust(drag + weight * climbRate / trueSpeed, engineAir);
        const double climbBand = 1000.0 / profile.climbFeetPerMinute * 60.0;
        cell.climbTime = static_cast<float>(climbBand);
        cell.climbFuel = static_cast<float>(fuelFlow() * climbBand / 3600.0);

        const double slope = std::sin(profile.descentAngle * kDegrees);
        simulator.engines.setSteadyThrust(std::max(drag - weight * slope, 0.0), engineAir);
        const double descentBand = 1000.0 / kFeetPerMetre / (trueSpeed * slope);
        cell.descentFuel = static_cast<float>(fuelFlow() * descentBand / 3600.0);
        return cell;
    }
    // Both engines, pounds an hour.
    double fuelFlow() const {
        return simulator.panel.variable("TURB ENG FUEL FLOW PPH", 1) +
               simulator.panel.variable("TURB ENG FUEL FLOW PPH", 2);
    }

    sim::Simulator& simulator;
    const StandInProfile& profile;
};

} // namespace tavi::test
