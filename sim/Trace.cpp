#include "sim/Trace.h"

#include <cstdio>
#include <iterator>
#include <string>

namespace tavi::sim {

namespace {

constexpr double kFeetPerMetre = 3.2808399;
// Token 71 counts the latitude in units of 360 / 40007000 degree, token 72 the longitude in
// units of 360 / 2^48 degree; token 65 the vertical speed in 1/256 metre per second.
constexpr double kLatitudeUnitsPerDegree = 40007000.0 / 360.0;
constexpr double kLongitudeUnitsPerDegree = 281474976710656.0 / 360.0;
constexpr double kVerticalSpeedToFeetPerMinute = kFeetPerMetre * 60.0 / 256.0;

struct Column {
    const char* header;
    double (*read)(const Panel& panel);
};

const Column kColumns[] = {
    {"latitude_deg",
     [](const Panel& p) {
         return p.token(71) / kLatitudeUnitsPerDegree;
     }},
    {"longitude_deg",
     [](const Panel& p) {
         return p.token(72) / kLongitudeUnitsPerDegree;
     }},
    {"altitude_ft",
     [](const Panel& p) {
         return p.token(73) * kFeetPerMetre;
     }},
    {"radio_height_ft",
     [](const Panel& p) {
         return p.token(614) * kFeetPerMetre;
     }},
    {"on_ground",
     [](const Panel& p) {
         return p.token(60);
     }},
    {"ias_kt",
     [](const Panel& p) {
         return p.variable("AIRSPEED INDICATED");
     }},
    {"tas_kt",
     [](const Panel& p) {
         return p.variable("AIRSPEED TRUE");
     }},
    {"mach",
     [](const Panel& p) {
         return p.variable("AIRSPEED MACH");
     }},
    {"ground_speed_kt",
     [](const Panel& p) {
         return p.variable("GROUND VELOCITY");
     }},
    {"vertical_speed_fpm",
     [](const Panel& p) {
         return p.token(65) * kVerticalSpeedToFeetPerMinute;
     }},
    {"pitch_deg",
     [](const Panel& p) {
         return p.variable("ATTITUDE INDICATOR PITCH DEGREES", 1);
     }},
    {"bank_deg",
     [](const Panel& p) {
         return p.variable("ATTITUDE INDICATOR BANK DEGREES", 1);
     }},
    {"heading_true_deg",
     [](const Panel& p) {
         return p.token(86);
     }},
    {"track_true_deg",
     [](const Panel& p) {
         return p.variable("GPS GROUND TRUE TRACK");
     }},
    {"ap_master",
     [](const Panel& p) {
         return p.token(103);
     }},
    {"ap_altitude_hold",
     [](const Panel& p) {
         return p.token(108);
     }},
    {"ap_altitude_ft",
     [](const Panel& p) {
         return p.token(109);
     }},
    {"ap_vertical_speed_fpm",
     [](const Panel& p) {
         return p.token(120);
     }},
    {"ap_heading_deg",
     [](const Panel& p) {
         return p.token(855);
     }},
    {"ap_ias_kt",
     [](const Panel& p) {
         return p.token(116);
     }},
    {"elevator",
     [](const Panel& p) {
         return p.token(317);
     }},
    {"aileron",
     [](const Panel& p) {
         return p.token(313);
     }},
    {"elevator_trim",
     [](const Panel& p) {
         return p.token(318);
     }},
    {"fd_turn_knob",
     [](const Panel& p) {
         return p.namedVariable("TurnKnob");
     }},
};

} // namespace

Trace::Trace(std::ostream& out) : out(out) {}

void Trace::writeHeader() {
    out << "time_s";
    for (const Column& column : kColumns) {
        out << ',' << column.header;
    }
    out << '\n';
}

void Trace::writeRow(const Simulator& simulator, double seconds) {
    char cell[32];
    std::snprintf(cell, sizeof cell, "%.3f", seconds);
    out << cell;
    for (const Column& column : kColumns) {
        std::snprintf(cell, sizeof cell, ",%.9g", column.read(simulator.panel));
        out << cell;
    }
    out << '\n';
}

} // namespace tavi::sim
