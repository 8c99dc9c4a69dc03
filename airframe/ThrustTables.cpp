#include "airframe/ThrustTables.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tavi {

namespace {

using Axis = std::vector<float>;

Axis steps(float first, float last, float step) {
    Axis axis;
    for (float value = first; value <= last + step * 0.5f; value += step) {
        axis.push_back(value);
    }
    return axis;
}

Axis joined(std::initializer_list<Axis> parts) {
    Axis axis;
    for (const Axis& part : parts) {
        axis.insert(axis.end(), part.begin(), part.end());
    }
    return axis;
}

double temperatureRatio(double celsius) {
    return (celsius + 273.15) / 288.15;
}

// The standard atmosphere's temperature, limited to the stratosphere's.
double isaTemperature(double altitude) {
    return std::max(15.0 - 0.0019812 * altitude, -56.5);
}

// Takeoff thrust is flat-rated: a fixed corrected N1 up to the corner temperature, which falls
// with altitude, and less above it.
double takeoffSchedule(double temperature, double altitude) {
    const double corrected = altitude <= 10000.0 ? 86.5 + 1.14 * altitude / 1000.0
                                                 : 97.9 + 0.6 * (altitude - 10000.0) / 1000.0;
    const double corner = std::max(45.0 - 0.004 * altitude, -20.0);
    const double fallPerDegree = std::clamp(0.02 + 0.0214 * altitude / 1000.0, 0.02, 0.15);
    if (temperature <= corner) {
        return corrected * std::sqrt(temperatureRatio(temperature));
    }
    return corrected * std::sqrt(temperatureRatio(corner)) - fallPerDegree * (temperature - corner);
}

// Flight idle rises with altitude and with warmer air.
double idleSchedule(double isaDeviation, double altitude) {
    return 32.0 + 0.7 * altitude / 1000.0 + 0.08 * isaDeviation;
}

double idleScheduleOverSat(double sat, double altitude) {
    return idleSchedule(sat - isaTemperature(altitude), altitude);
}

// Continuous, climb and cruise thrust: flat-rated up to ISA + 15. The corrected N1 rises with
// altitude fast enough that the three ratings, each set to its own example point, keep
// continuous above climb above cruise at every altitude.
double climbSchedule(double isaDeviation, double altitude) {
    constexpr double kFlatRatedDeviation = 15.0;
    const double corrected = 88.0 + 0.6 * altitude / 1000.0;
    const double deviation = std::min(isaDeviation, kFlatRatedDeviation);
    const double n1 = corrected * std::sqrt(temperatureRatio(isaTemperature(altitude) + deviation));
    return n1 - 0.15 * std::max(isaDeviation - kFlatRatedDeviation, 0.0);
}

double climbScheduleOverSat(double sat, double altitude) {
    return climbSchedule(sat - isaTemperature(altitude), altitude);
}

// Tenths of a percent, as the tables are read.
float roundedN1(double n1) {
    return static_cast<float>(std::round(std::clamp(n1, 0.0, 110.0) * 10.0) / 10.0);
}

// Takeoff N1 at sea level, -54, -50, then by 5 to 50 degrees.
constexpr std::array<float, 22> kTakeoffSeaLevel = {
    75.5f, 76.1f, 77.0f, 77.8f, 78.7f, 79.5f, 80.3f, 81.1f, 81.9f, 82.7f, 83.5f,
    84.2f, 85.0f, 85.8f, 86.5f, 87.3f, 88.0f, 88.8f, 89.5f, 90.2f, 90.9f, 90.8f,
};

} // namespace

ThrustTables::ThrustTables() {
    const Axis takeoffTemperatures = joined({{-54.0f, -50.0f}, steps(-45.0f, 50.0f, 5.0f)});
    const Axis antiIceTemperatures = steps(-40.0f, 10.0f, 5.0f);
    const Axis altTakeoffTemperatures = joined({steps(-40.0f, 40.0f, 10.0f), {45.0f, 50.0f}});
    const Axis takeoffAltitudes = steps(-1000.0f, 37000.0f, 1000.0f);
    const Axis goAroundAltitudes = steps(-1000.0f, 10000.0f, 1000.0f);
    const Axis idleDeviations = joined({{-69.0f, -60.0f}, steps(-50.0f, 20.0f, 10.0f), {35.0f}});
    const Axis idleAltitudes =
        joined({{6000.0f, 9000.0f, 15000.0f}, steps(19000.0f, 37000.0f, 2000.0f)});
    const Axis antiIceSats = joined({{-54.0f, -50.0f}, steps(-45.0f, 10.0f, 5.0f)});
    const Axis evenAltitudes = joined({steps(0.0f, 36000.0f, 2000.0f), {37000.0f}});
    const Axis climbAltitudes = steps(3000.0f, 37000.0f, 2000.0f);
    const Axis deviations = steps(-70.0f, -20.0f, 10.0f);
    const Axis continuousDeviations =
        joined({deviations, {-5.0f, 0.0f, 5.0f, 10.0f, 20.0f, 35.0f}});
    const Axis climbDeviations = joined({deviations, {-5.0f, 0.0f, 5.0f, 10.0f, 20.0f, 25.0f}});
    const Axis cruiseDeviations =
        joined({steps(-65.0f, -15.0f, 10.0f), steps(-10.0f, 25.0f, 5.0f)});

    build(kTakeoff, takeoffTemperatures, takeoffAltitudes, takeoffSchedule, 15.0f, 0.0f, 86.5f);
    const std::size_t seaLevelRow = 2;
    for (std::size_t column = 0; column < kTakeoffSeaLevel.size(); ++column) {
        setCell(kTakeoff, column + 1, seaLevelRow, kTakeoffSeaLevel[column]);
    }
    build(kTakeoffAntiIce, antiIceTemperatures, takeoffAltitudes, takeoffSchedule, 0.0f, 0.0f,
          84.2f);
    build(kGoAround100, takeoffTemperatures, goAroundAltitudes, takeoffSchedule, 15.0f, 0.0f,
          86.5f);
    build(kGoAround150, takeoffTemperatures, goAroundAltitudes, takeoffSchedule, 15.0f, 0.0f,
          86.4f);
    build(kGoAround200, takeoffTemperatures, goAroundAltitudes, takeoffSchedule, 15.0f, 0.0f,
          86.2f);
    build(kGoAround100AntiIce, antiIceTemperatures, goAroundAltitudes, takeoffSchedule, 0.0f, 0.0f,
          84.2f);
    build(kGoAround150AntiIce, antiIceTemperatures, goAroundAltitudes, takeoffSchedule, 0.0f, 0.0f,
          84.1f);
    build(kGoAround200AntiIce, antiIceTemperatures, goAroundAltitudes, takeoffSchedule, 0.0f, 0.0f,
          83.9f);
    build(kAltTakeoff, altTakeoffTemperatures, takeoffAltitudes, takeoffSchedule, 20.0f, 0.0f,
          84.3f);
    build(kAltTakeoffAntiIce, antiIceTemperatures, takeoffAltitudes, takeoffSchedule, 0.0f, 0.0f,
          81.3f);
    build(kFlightIdle, idleDeviations, idleAltitudes, idleSchedule, 0.0f, 35000.0f, 57.0f);
    build(kFlightIdleAntiIce, antiIceSats, evenAltitudes, idleScheduleOverSat, -40.0f, 20000.0f,
          60.2f);
    build(kContinuous, continuousDeviations, climbAltitudes, climbSchedule, 0.0f, 11000.0f, 89.4f);
    build(kContinuousAntiIce100, antiIceTemperatures, evenAltitudes, climbScheduleOverSat, 0.0f,
          10000.0f, 86.9f);
    build(kContinuousAntiIce200, antiIceTemperatures, evenAltitudes, climbScheduleOverSat, 0.0f,
          10000.0f, 87.8f);
    build(kClimb, climbDeviations, climbAltitudes, climbSchedule, 0.0f, 25000.0f, 90.4f);
    build(kCruise, cruiseDeviations, climbAltitudes, climbSchedule, 0.0f, 35000.0f, 90.5f);

    // Each rating stays at or below the one above it in the order a crew expects: take-off,
    // go-around, maximum continuous, climb, cruise.
    for (Table goAround : {kGoAround100, kGoAround150, kGoAround200}) {
        limitBy(goAround, kTakeoff, false);
    }
    for (Table goAround : {kGoAround100AntiIce, kGoAround150AntiIce, kGoAround200AntiIce}) {
        limitBy(goAround, kTakeoffAntiIce, false);
    }
    for (Table ceiling : {kTakeoff, kGoAround100, kGoAround150, kGoAround200}) {
        limitBy(kContinuous, ceiling, true);
    }
    for (Table continuous : {kContinuousAntiIce100, kContinuousAntiIce200}) {
        for (Table ceiling :
             {kTakeoffAntiIce, kGoAround100AntiIce, kGoAround150AntiIce, kGoAround200AntiIce}) {
            limitBy(continuous, ceiling, false);
        }
    }
    limitBy(kClimb, kContinuous, false);
    limitBy(kCruise, kClimb, false);
}

// Lowers every cell to what the ceiling table reads at the same temperature and pressure
// altitude; on a different temperature grid, less a margin for the two grids' different
// interpolation. The first row and the first and last columns also serve the altitudes and
// temperatures beyond them, where lookups clamp. Where the ceiling's altitudes end (go-around
// above 10000 ft) it does not apply.
void ThrustTables::limitBy(Table table, Table ceiling, bool deviationOverTemperature) {
    constexpr float kInterpolationMargin = 0.6f;
    const Interpolator2D& own = tables[table];
    const Interpolator2D& upper = tables[ceiling];
    const auto columns = static_cast<std::size_t>(own.columns);
    const auto upperColumns = static_cast<std::size_t>(upper.columns);
    const bool sameTemperatures = !deviationOverTemperature && own.columns == upper.columns &&
                                  std::equal(own.table + 1, own.table + columns, upper.table + 1);
    const float margin = sameTemperatures ? 0.0f : kInterpolationMargin;
    std::vector<float> upperAltitudes;
    for (std::size_t row = 1; row < static_cast<std::size_t>(upper.rows); ++row) {
        upperAltitudes.push_back(upper.table[row * upperColumns]);
    }
    for (std::size_t row = 1; row < static_cast<std::size_t>(own.rows); ++row) {
        const float altitude = own.table[row * columns];
        if (altitude > upperAltitudes.back()) {
            continue;
        }
        std::vector<float> altitudes{altitude};
        if (row == 1) {
            std::copy_if(upperAltitudes.begin(), upperAltitudes.end(),
                         std::back_inserter(altitudes),
                         [altitude](float below) { return below < altitude; });
        }
        for (std::size_t column = 1; column < columns; ++column) {
            float& cell = values[table][row * columns + column];
            for (const float at : altitudes) {
                const float x =
                    own.table[column] +
                    (deviationOverTemperature ? static_cast<float>(isaTemperature(at)) : 0.0f);
                cell = std::min(cell, upper.lookup(x, at) - margin);
                for (std::size_t beyond = 1; beyond < upperColumns; ++beyond) {
                    const float upperX = upper.table[beyond];
                    if ((column == 1 && upperX < x) || (column + 1 == columns && upperX > x)) {
                        cell = std::min(cell, upper.lookup(upperX, at) - margin);
                    }
                }
            }
        }
    }
}

float ThrustTables::lookup(Table table, float x, float pressureAltitude) const {
    return tables[table].lookup(x, pressureAltitude);
}

void ThrustTables::build(Table table, const Axis& xAxis, const Axis& altitudes, Schedule schedule,
                         float x, float altitude, float n1) {
    const std::size_t columns = xAxis.size() + 1;
    const std::size_t rows = altitudes.size() + 1;
    Values& cells = values[table];
    cells.assign(rows * columns, 0.0f);
    std::copy(xAxis.begin(), xAxis.end(), cells.begin() + 1);
    for (std::size_t row = 1; row < rows; ++row) {
        cells[row * columns] = altitudes[row - 1];
    }
    tables[table].setTable(cells.data(), static_cast<int32_t>(rows), static_cast<int32_t>(columns));
    const double offset = n1 - schedule(x, altitude);
    for (std::size_t row = 1; row < rows; ++row) {
        for (std::size_t column = 1; column < columns; ++column) {
            setCell(table, column, row,
                    roundedN1(schedule(xAxis[column - 1], altitudes[row - 1]) + offset));
        }
    }
}

void ThrustTables::setCell(Table table, std::size_t column, std::size_t row, float n1) {
    values[table][row * static_cast<std::size_t>(tables[table].columns) + column] = n1;
}

} // namespace tavi
