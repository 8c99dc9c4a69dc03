#pragma once

#include "core/Interpolator2D.h"

#include <array>
#include <cstddef>
#include <vector>

namespace tavi {

// The FADEC's N1 schedules: seventeen tables of N1 (%) over a temperature (the x axis: a
// temperature, the static air temperature or the ISA deviation, in degrees Celsius) and the
// pressure altitude (the y axis, feet). Lookups clamp both to the axes.
class ThrustTables {
public:
    enum Table : std::size_t {
        kTakeoff,
        kTakeoffAntiIce,
        kGoAround100,
        kGoAround150,
        kGoAround200,
        kGoAround100AntiIce,
        kGoAround150AntiIce,
        kGoAround200AntiIce,
        kAltTakeoff,
        kAltTakeoffAntiIce,
        kFlightIdle,
        kFlightIdleAntiIce,
        kContinuous,
        kContinuousAntiIce100,
        kContinuousAntiIce200,
        kClimb,
        kCruise,
        kTableCount,
    };

    ThrustTables();
    // The tables point into their own storage.
    ThrustTables(const ThrustTables&) = delete;
    ThrustTables& operator=(const ThrustTables&) = delete;

    float lookup(Table table, float x, float pressureAltitude) const;
    const Interpolator2D& table(Table table) const { return tables[table]; }

private:
    using Values = std::vector<float>;
    using Axis = std::vector<float>;
    // N1 of a family of tables, before the table's own calibration.
    using Schedule = double (*)(double x, double altitude);

    // Fills a table from its family's schedule, moved so that it reads `n1` at (x, altitude).
    void build(Table table, const Axis& xAxis, const Axis& altitudes, Schedule schedule, float x,
               float altitude, float n1);
    void setCell(Table table, std::size_t column, std::size_t row, float n1);
    // Keeps the table at or below the ceiling table; its x axis is the ISA deviation where the
    // ceiling's is the temperature.
    void limitBy(Table table, Table ceiling, bool deviationOverTemperature);

    std::array<Values, kTableCount> values;
    std::array<Interpolator2D, kTableCount> tables;
};

} // namespace tavi
