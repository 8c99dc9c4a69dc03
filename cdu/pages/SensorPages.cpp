#include "cdu/pages/SensorPages.h"

#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Gps.h"
#include "avionics/Radio.h"
#include "avionics/RadioUnit.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "fms/Fms.h"

#include <cmath>

namespace tavi {

using namespace navpages;

namespace {

constexpr double kFeetPerMetre = 3.2808399200439453;
constexpr double kRadiansPerDegree = 0.017453292519943295;

void putLabel(CduScreen& screen, int32_t row, int32_t column, std::string_view text) {
    screen.putText(row, column, text, CduColour::White, false, false);
}

void putValue(CduScreen& screen, int32_t row, int32_t column, std::string_view text, bool large) {
    screen.putText(row, column, text, CduColour::Green, large, false);
}

const char* onOff(bool on) {
    return on ? "ON" : "OFF";
}

// A signed component as its letter and absolute value.
std::string component(char positive, char negative, double value, const char* number) {
    return format("%c", value >= 0.0 ? positive : negative) + format(number, std::fabs(value));
}

} // namespace

void SensorPages::registerPages() {
    const auto add = [this](int32_t page, void (SensorPages::*draw)() const,
                            void (SensorPages::*onKey)(int32_t), int32_t* subPage) {
        Fms::CduPageEntry& entry = fms.pages[static_cast<size_t>(page)];
        entry.draw = [this, draw] {
            (this->*draw)();
        };
        entry.onKey = [this, onKey](int32_t key) {
            (this->*onKey)(key);
        };
        entry.subPage = subPage;
    };
    add(kMaintenance, &SensorPages::drawMaintenancePage, &SensorPages::onMaintenanceKey,
        &maintenancePage.subPage);
    add(kPosSensors, &SensorPages::drawPosSensorsPage, &SensorPages::onPosSensorsKey, nullptr);
    add(kGpsStatus, &SensorPages::drawGpsStatusPage, &SensorPages::onGpsStatusKey,
        &gpsStatusPage.subPage);
    add(kVorDme, &SensorPages::drawVorDmePage, &SensorPages::onVorDmeKey, &vorDmePage.subPage);
    add(kFmsSetup, &SensorPages::drawFmsSetupPage, &SensorPages::onFmsSetupKey, nullptr);
    add(kFlightConfig, &SensorPages::drawFlightConfigPage, &SensorPages::onFlightConfigKey,
        &flightConfigPage.subPage);
}

const Gps* SensorPages::gps() const {
    return fms.owner() ? fms.owner()->gps() : nullptr;
}

bool SensorPages::gpsPowered() const {
    const Gps* sensor = gps();
    return sensor && !sensor->unpowered;
}

const RadioUnit* SensorPages::radioUnit(int32_t side) const {
    const Radio* radio = fms.owner() ? fms.owner()->radio() : nullptr;
    if (!radio) {
        return nullptr;
    }
    return side == 1 ? &radio->unit1 : &radio->unit2;
}

// MAINTENANCE

void SensorPages::drawMaintenancePage() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("MAINTENANCE");
    screen.drawPageNumber(maintenancePage.subPage, maintenancePage.pageCount);
    switch (maintenancePage.subPage) {
    case 1:
        putLabel(screen, 1, 2, "ACTIVE OP MODE");
        putValue(screen, 2, 1, "SINGLE", true);
        putLabel(screen, 3, 2, "SELECTED OP MODE");
        putValue(screen, 4, 1, "SINGLE", true);
        screen.drawRightPrompt("NAV IDENT", false, 7);
        break;
    case 2:
        drawFailedSensors();
        break;
    case 3: {
        const bool selectedMag = fms.heading.isSelectedMag;
        putLabel(screen, 1, 2, "ACTIVE HDG MODE");
        putValue(screen, 2, 1, fms.heading.activeMag ? "MAG" : "TRUE", true);
        putLabel(screen, 3, 2, "SELECTED HDG MODE");
        putValue(screen, 4, 1, selectedMag ? "MAG" : "TRUE", true);
        screen.putText(4, 16, "OR", CduColour::White, true, false);
        screen.putTextRight(4, 23, selectedMag ? "TRUE" : "MAG", CduColour::Green, false, false);
        screen.drawRightPrompt("", false, 4);
        break;
    }
    default:
        break;
    }
}

void SensorPages::drawFailedSensors() const {
    CduScreen& screen = fms.screen;
    putLabel(screen, 1, 5, "FAILED SENSORS");
    screen.drawLeftPrompt("SETUP", false, 7);
    const Aircraft* aircraft = fms.owner();
    const Adc* adc = aircraft ? aircraft->adc() : nullptr;
    const auto failed = [&screen](bool condition, int32_t row, int32_t column, const char* name) {
        if (condition) {
            putLabel(screen, row, column, name);
        }
    };
    failed(!gpsPowered(), 2, 1, "GPS 1");
    failed(adc && !adc->isAirspeedValid(0), 4, 1, "ADC 1");
    failed(adc && !adc->isAirspeedValid(1), 5, 1, "ADC 2");
    for (int32_t side = 1; side <= 2; ++side) {
        const RadioUnit* unit = radioUnit(side);
        const bool dmeOff = !unit || unit->unpowered[RadioUnit::kDmeUnpowered];
        const bool vorOff = !unit || unit->unpowered[RadioUnit::kNavUnpowered];
        failed(dmeOff, 1 + side, 13, side == 1 ? "DME 1" : "DME 2");
        failed(vorOff, 3 + side, 13, side == 1 ? "VOR 1" : "VOR 2");
    }
}

void SensorPages::onMaintenanceKey(int32_t key) {
    if (turnSubPage(key, maintenancePage.subPage, maintenancePage.pageCount)) {
        return;
    }
    if (key == kL4 && maintenancePage.subPage == 2) {
        fms.setPage(kFmsSetup, 1);
    } else if (key == kR2 && maintenancePage.subPage == 3) {
        toggleHeadingReference();
    } else if (key == kR4 && maintenancePage.subPage == 1) {
        fms.setPage(kNavIdent, 1);
    }
}

// Selecting TRUE takes effect at once; MAG only outside the polar bands, where the FMS's polar
// logic switches back once the aircraft is clear of them.
void SensorPages::toggleHeadingReference() {
    Fms::HeadingReference& heading = fms.heading;
    heading.isSelectedMag = !heading.isSelectedMag;
    if (!heading.isSelectedMag) {
        heading.activeMag = false;
        return;
    }
    const double latitude = fms.position.latitude;
    if ((latitude > 0.0 && latitude < kMagneticNorthLimit) ||
        (latitude < 0.0 && latitude > kMagneticSouthLimit)) {
        heading.activeMag = true;
    }
}

// POS SENSORS

void SensorPages::drawPosSensorsPage() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("POS SENSORS");
    screen.drawPageNumber(1, 1);
    putLabel(screen, 1, 0, "FMS POS");
    putValue(screen, 2, 3, FmsParser::formatLatLon(fms.position.latitude, fms.position.longitude),
             true);
    if (gpsPowered()) {
        putLabel(screen, 3, 0, "GPS 1");
        putValue(screen, 4, 3, FmsParser::formatLatLon(gps()->latitude, gps()->longitude), true);
        screen.drawRightPrompt("STATUS", false, 3);
    }
    screen.drawLeftPrompt("VOR/DME", false, 7);
    screen.drawRightPrompt("POS INIT", !fms.position.initialised, 7);
}

void SensorPages::onPosSensorsKey(int32_t key) {
    if (key == kL4) {
        fms.setPage(kVorDme, 1);
    } else if (key == kR2 && gpsPowered()) {
        fms.setPage(kGpsStatus, 1);
    } else if (key == kR4) {
        fms.setPage(kPositionInit, 1);
    }
}

// GPS 1 STATUS

void SensorPages::drawGpsStatusPage() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("GPS 1 STATUS");
    screen.drawPageNumber(gpsStatusPage.subPage, gpsStatusPage.pageCount);
    screen.drawLeftPrompt("POS SENSORS", false, 7);
    if (gpsStatusPage.subPage == 1) {
        drawGpsPosition();
    } else if (gpsStatusPage.subPage == 2) {
        drawGpsQuality();
    }
}

void SensorPages::drawGpsPosition() const {
    CduScreen& screen = fms.screen;
    const Gps* sensor = gps();
    putLabel(screen, 1, 6, "GPS POSITION");
    if (sensor) {
        putValue(screen, 2, 3, FmsParser::formatLatLon(sensor->latitude, sensor->longitude), true);
    }
    putLabel(screen, 3, 1, "GRD SPD=");
    screen.putTextRight(3, 23, "GPS ALT", CduColour::White, false, false);
    putLabel(screen, 5, 4, "MILES FR FMS POS");
    screen.putText(6, 14, "TOTAL", CduColour::White, true, false);
    if (!gpsPowered()) {
        return;
    }
    const double speed = sensor->groundSpeed;
    putValue(screen, 3, 9, format("%1.0f", speed), false);
    screen.putTextRight(4, 23, format("%1.0f", sensor->gpsAltitude * kFeetPerMetre),
                        CduColour::Cyan, true, false);
    const Ahrs* ahrs = fms.owner()->ahrs();
    const double heading = (ahrs ? ahrs->unit1.heading : 0.0f) * kRadiansPerDegree;
    const auto speedComponent = [&screen](int32_t column, const std::string& text) {
        putValue(screen, 4, column, text, true);
        putLabel(screen, 4, column + static_cast<int32_t>(text.size()), "KT");
    };
    speedComponent(1, component('N', 'S', speed * std::cos(heading), "%1.0f"));
    speedComponent(8, component('E', 'W', speed * std::sin(heading), "%1.0f"));
    const double bearing = fms.position.offsetBearing * kRadiansPerDegree;
    const double north = -(std::cos(bearing) * fms.position.offsetDistance);
    const double east = -(std::sin(bearing) * fms.position.offsetDistance);
    putValue(screen, 6, 1, component('N', 'S', north, "%3.1f"), true);
    putValue(screen, 6, 7, component('E', 'W', east, "%3.1f"), true);
    putValue(screen, 6, 20, format("%3.1f", std::hypot(north, east)), true);
}

void SensorPages::drawGpsQuality() const {
    CduScreen& screen = fms.screen;
    const Adc* adc = fms.owner() ? fms.owner()->adc() : nullptr;
    const auto zulu = static_cast<int32_t>(adc ? adc->zuluSeconds : 0.0);
    const int32_t year = simulatorNumber("(P:ZULU YEAR, number)");
    const int32_t month = simulatorNumber("(P:ZULU MONTH OF YEAR, number)");
    const int32_t day = simulatorNumber("(P:ZULU DAY OF MONTH, number)");
    putLabel(screen, 1, 1, "FOM =");
    putLabel(screen, 2, 1, "HDOP=");
    putLabel(screen, 3, 1, "VDOP=");
    putLabel(screen, 2, 14, "UTC");
    screen.putText(2, 19, format("%02d%02d", zulu / 3600, zulu % 3600 / 60), CduColour::Cyan, false,
                   false);
    putLabel(screen, 3, 11, "DATE");
    screen.putText(3, 16,
                   format("%02d%3s%02d", day, FmsParser::monthName(month).c_str(), year % 100),
                   CduColour::Cyan, false, false);
    putLabel(screen, 4, 1, "MODE=");
    putValue(screen, 4, 7, gpsPowered() ? "NAVIGATION" : "FAILED", false);
    putLabel(screen, 5, 1, "SATELLITES TRACKED =");
    putLabel(screen, 6, 1, "SATELLITES IN VIEW =");
    if (!gpsPowered()) {
        return;
    }
    putValue(screen, 1, 7, "0.05", false);
    putLabel(screen, 1, 11, "NM");
    putValue(screen, 2, 7, "2", false);
    putValue(screen, 3, 7, "R", false);
    putValue(screen, 5, 22, "5", false);
    putValue(screen, 6, 22, "7", false);
}

void SensorPages::onGpsStatusKey(int32_t key) {
    if (!turnSubPage(key, gpsStatusPage.subPage, gpsStatusPage.pageCount) && key == kL4) {
        fms.setPage(kPosSensors, 1);
    }
}

// VOR/DME

void SensorPages::drawVorDmePage() const {
    CduScreen& screen = fms.screen;
    const int32_t side = vorDmePage.subPage == 1 ? 1 : 2;
    screen.drawTitle(format("VOR/DME %d", vorDmePage.subPage));
    screen.drawPageNumber(vorDmePage.subPage, vorDmePage.pageCount);
    putLabel(screen, 1, 14, "BRG");
    putLabel(screen, 1, 19, "DIST");
    screen.drawLeftPrompt("POS SENSORS", false, 7);
    screen.drawRightPrompt("POS INIT", !fms.position.initialised, 7);
    const RadioUnit* unit = radioUnit(side);
    if (!unit) {
        return;
    }
    const bool dmePowered = !unit->unpowered[RadioUnit::kDmeUnpowered];
    const bool vorPowered = !unit->unpowered[RadioUnit::kNavUnpowered];
    if (!dmePowered && !vorPowered) {
        return;
    }
    if (unit->hasNav || unit->glideSlopeFlag || unit->hasDme) {
        putValue(screen, 2, 2, unit->identText, true);
        putValue(screen, 2, 6, unit->navActiveText.substr(0, 8), true);
    }
    if (unit->hasNav && vorPowered) {
        double bearing = unit->stationBearing;
        while (bearing < 0.0) {
            bearing += 360.0;
        }
        bearing = std::fmod(bearing, 360.0);
        const bool north = bearing < 0.5 || bearing >= 359.5;
        putValue(screen, 2, 14, north ? std::string("360") : format("%03.0f", bearing), true);
    }
    const double distance = unit->dmeDistance;
    if (unit->hasDme && distance > 0.0 && dmePowered) {
        screen.putTextRight(2, 23, format(distance < 99.95 ? "%-3.1f" : "%-3.0f", distance),
                            CduColour::Green, true, false);
    }
}

void SensorPages::onVorDmeKey(int32_t key) {
    if (turnSubPage(key, vorDmePage.subPage, vorDmePage.pageCount)) {
        return;
    }
    if (key == kL4) {
        fms.setPage(kPosSensors, 1);
    } else if (key == kR4) {
        fms.setPage(kPositionInit, 1);
    }
}

// FMS SETUP and FLIGHT CONFIG

void SensorPages::drawFmsSetupPage() const {
    fms.screen.drawTitle("FMS SETUP");
    fms.screen.drawPageNumber(1, 1);
    fms.screen.drawRightPrompt("CONFIG\u2013\u2013>FLIGHT", false, 1);
}

void SensorPages::onFmsSetupKey(int32_t key) {
    if (key == kR1) {
        fms.setPage(kFlightConfig, 1);
    }
}

void SensorPages::drawOption(int32_t row, bool on) const {
    CduScreen& screen = fms.screen;
    putValue(screen, row, 1, onOff(on), true);
    screen.putText(row, 17, "OR", CduColour::White, true, false);
    screen.putTextRight(row, 23, onOff(!on), CduColour::Green, false, false);
    screen.drawRightPrompt("", false, row);
}

void SensorPages::drawFlightConfigPage() const {
    CduScreen& screen = fms.screen;
    const Fms::FlightConfig& config = fms.flightConfig;
    screen.drawTitle("FLIGHT CONFIG");
    screen.drawPageNumber(flightConfigPage.subPage, flightConfigPage.pageCount);
    screen.drawLeftPrompt("SETUP", false, 7);
    if (flightConfigPage.subPage == 1) {
        putLabel(screen, 1, 1, "BANK ANGLE");
        putValue(screen, 2, 0, format("%d\u00B0", flightConfigPage.bankAngle), true);
        putValue(screen, 2, 5, "(0-15)", false);
        putLabel(screen, 3, 2, "FPL AUTO PAGE");
        drawOption(4, config.isFpAutoPage);
        putLabel(screen, 5, 2, "ORG/DEST DISPLAY");
        putValue(screen, 6, 1, "OFF", true);
    } else if (flightConfigPage.subPage == 2) {
        putLabel(screen, 1, 2, "SPECIAL MISSION");
        drawOption(2, config.isSpecialMission);
        putLabel(screen, 3, 2, "GEN BUS #2 CONFIG");
        putValue(screen, 4, 1, "STANDARD", true);
        putLabel(screen, 5, 2, "SMART PERF LEARNING");
        drawOption(6, config.isSmartPerfLearning);
    }
}

void SensorPages::onFlightConfigKey(int32_t key) {
    if (turnSubPage(key, flightConfigPage.subPage, flightConfigPage.pageCount)) {
        return;
    }
    Fms::FlightConfig& config = fms.flightConfig;
    const int32_t subPage = flightConfigPage.subPage;
    if (key == kL1 && subPage == 1) {
        enterBankAngle();
    } else if (key == kL4) {
        fms.setPage(kFmsSetup, 1);
    } else if (key == kR1 && subPage == 2) {
        config.isSpecialMission = !config.isSpecialMission;
    } else if (key == kR2 && subPage == 1) {
        config.isFpAutoPage = !config.isFpAutoPage;
    } else if (key == kR3 && subPage == 2) {
        config.isSmartPerfLearning = !config.isSmartPerfLearning;
    }
}

void SensorPages::enterBankAngle() {
    if (fms.scratchPad.text().empty()) {
        fms.setScratchpad(format("%d", flightConfigPage.bankAngle));
        return;
    }
    int32_t angle = 0;
    if (FmsParser::parseBankAngle(fms.scratchPad.text(), angle)) {
        flightConfigPage.bankAngle = angle;
        fms.takeScratchpad();
    } else {
        fms.showMessage("INVALID ENTRY", 0);
    }
}

} // namespace tavi
