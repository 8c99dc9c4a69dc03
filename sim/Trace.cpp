#include "sim/Trace.h"

#include "sim/Geodesy.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace tavi::sim {

namespace {

// Token 65 gives the vertical speed in 1/256 metre per second.
constexpr double kVerticalSpeedToFeetPerMinute = kFeetPerMetre * 60.0 / 256.0;

struct Column {
    const char* header;
    ScenarioValue value;
    double scale = 1.0;
};

ScenarioValue token(int32_t id) {
    return {ScenarioValue::Kind::Token, id, {}, 0, {}, {}};
}

ScenarioValue variable(const char* name, int32_t index = 0) {
    return {ScenarioValue::Kind::Variable, 0, name, index, {}, {}};
}

const Column kTraceColumns[] = {
    {"latitude_deg", token(71), 1.0 / kLatitudeUnitsPerDegree},
    {"longitude_deg", token(72), 1.0 / kLongitudeUnitsPerDegree},
    {"altitude_ft", token(73), kFeetPerMetre},
    {"radio_height_ft", token(614), kFeetPerMetre},
    {"on_ground", token(60)},
    {"ias_kt", variable("AIRSPEED INDICATED")},
    {"tas_kt", variable("AIRSPEED TRUE")},
    {"mach", variable("AIRSPEED MACH")},
    {"ground_speed_kt", variable("GROUND VELOCITY")},
    {"vertical_speed_fpm", token(65), kVerticalSpeedToFeetPerMinute},
    {"pitch_deg", variable("ATTITUDE INDICATOR PITCH DEGREES", 1)},
    {"bank_deg", variable("ATTITUDE INDICATOR BANK DEGREES", 1)},
    {"heading_true_deg", token(86)},
    {"track_true_deg", variable("GPS GROUND TRUE TRACK")},
    {"ap_master", token(103)},
    {"ap_altitude_hold", token(108)},
    {"ap_altitude_ft", token(109)},
    {"ap_vertical_speed_fpm", token(120)},
    {"ap_heading_deg", token(855)},
    {"ap_ias_kt", token(116)},
    {"elevator", token(317)},
    {"aileron", token(313)},
    {"elevator_trim", token(318)},
    {"fd_turn_knob", {ScenarioValue::Kind::Named, 0, "TurnKnob", 0, {}, {}}},
};

double cellOf(const Column& column, const Panel& panel, const RouteTracker& route) {
    return column.value.read(panel, route) * column.scale;
}

} // namespace

Trace::Trace(std::ostream& out, std::vector<TraceColumn> extraColumns, bool withRoute)
    : out(out), extraColumns(std::move(extraColumns)), withRoute(withRoute) {}

void Trace::writeHeader() {
    out << "time_s";
    for (const Column& column : kTraceColumns) {
        out << ',' << column.header;
    }
    if (withRoute) {
        out << ",route_leg,cross_track_nm";
    }
    for (const TraceColumn& column : extraColumns) {
        out << ',' << column.header;
    }
    out << '\n';
}

void Trace::writeCell(double value) {
    char cell[32];
    std::snprintf(cell, sizeof cell, ",%.9g", value);
    out << cell;
}

void Trace::writeRow(const Simulator& simulator, const RouteTracker& route, double seconds) {
    char cell[32];
    std::snprintf(cell, sizeof cell, "%.3f", seconds);
    out << cell;
    const Panel& panel = simulator.panel;
    for (const Column& column : kTraceColumns) {
        writeCell(cellOf(column, panel, route));
    }
    if (withRoute) {
        writeCell(static_cast<double>(route.leg()));
        writeCell(route.crossTrack());
    }
    for (const TraceColumn& column : extraColumns) {
        writeCell(column.value.read(panel, route));
    }
    out << '\n';
}

} // namespace tavi::sim
