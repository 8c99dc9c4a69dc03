// Writes a default perf file from smooth models of a light twin jet at the reference weight:
// the FMS predicts with it from the first flight, and learning refines it.
#include "fms/FmsPerf.h"

#include <cmath>
#include <cstdio>

namespace {

using tavi::FmsPerf;

constexpr double kServiceCeiling = 45000.0;
constexpr double kTopRow = 37000.0;

// Feet a minute at full climb thrust, best near 250 kt.
double climbRate(double altitude, double speed) {
    const double offBest = (speed - 250.0) / 300.0;
    return 3500.0 * (1.0 - altitude / kServiceCeiling) * (1.0 - 0.5 * offBest * offBest);
}

// Seconds to climb through the 1000-ft band whose top is the altitude.
double climbBandTime(double altitude, double speed) {
    return 60000.0 / climbRate(altitude - 500.0, speed);
}

// Both engines at climb thrust, pounds an hour.
double climbFuelFlow(double altitude) {
    return 5000.0 * (1.0 - 0.5 * altitude / kTopRow);
}

// Pounds a minute in level flight: drag grows with the square of the speed, the engines burn
// less in thin air.
double cruiseFuelPerMinute(double altitude, double speed) {
    const double hourly =
        (1800.0 + 2600.0 * (1.0 - altitude / kTopRow)) * std::pow(speed / 250.0, 2.0);
    return hourly / 60.0;
}

// Pounds for a 1000-ft band near idle at about 2000 ft a minute.
double descentBandFuel(double altitude, double speed) {
    const double idleFlow = 600.0 + 400.0 * (1.0 - altitude / kTopRow);
    return idleFlow / 3600.0 * 30.0 * (speed / 250.0);
}

void fill(FmsPerf& perf) {
    for (int32_t row = 1; row < FmsPerf::kRows; ++row) {
        const double altitude = 1000.0 * row;
        for (int32_t column = 1; column < FmsPerf::kColumns; ++column) {
            const double speed = 100.0 + 10.0 * (column - 1);
            const double bandTime = climbBandTime(altitude, speed);
            perf.setCell(FmsPerf::ClimbTime, row, column, static_cast<float>(bandTime));
            perf.setCell(FmsPerf::ClimbFuel, row, column,
                         static_cast<float>(climbFuelFlow(altitude) / 3600.0 * bandTime));
            perf.setCell(FmsPerf::CruiseFuel, row, column,
                         static_cast<float>(cruiseFuelPerMinute(altitude, speed)));
            perf.setCell(FmsPerf::DescentFuel, row, column,
                         static_cast<float>(descentBandFuel(altitude, speed)));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.perf\n", argv[0]);
        return 2;
    }
    FmsPerf perf;
    fill(perf);
    perf.setPath(argv[1]);
    if (!perf.save()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
