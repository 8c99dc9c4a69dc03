#include "cdu/pages/RunwayDataPages.h"

#include "avionics/Adc.h"
#include "avionics/AirData.h"
#include "avionics/Baro.h"
#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/WindComponents.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <cmath>

namespace tavi {

using namespace navpages;
using namespace pagetext;

namespace {

constexpr int32_t kPerfData = 27;
constexpr int32_t kClimb = 28;
constexpr int32_t kDescent = 30;

constexpr RunwayDataPages::Design kTakeoffDesign{"TAKEOFF", "PERF DATA", kPerfData, "CLIMB",
                                                 kClimb};
constexpr RunwayDataPages::Design kLandingDesign{"LANDING", "DESCENT", kDescent, "FLT PLAN",
                                                 kActiveFlightPlan};

constexpr float kStandardInHg = 29.92f;
constexpr float kKelvin = 273.15f;

bool hasRunway(const RunwayDataPage& page) {
    return !page.runway.ident.empty();
}

} // namespace

void RunwayDataPages::registerPages() {
    const auto hook = [this](int32_t id, RunwayDataPage& record, const Design& design) {
        Fms::CduPageEntry& page = fms.pages[static_cast<size_t>(id)];
        page.draw = [this, &record, &design] {
            draw(record, design);
        };
        page.onKey = [this, &record, &design](int32_t key) {
            onKey(record, design, key);
        };
    };
    hook(cdu_page::kTakeoff, fms.takeoffPage, kTakeoffDesign);
    hook(cdu_page::kLanding, fms.landingPage, kLandingDesign);
    fms.pages[cdu_page::kTakeoff].enter = [this] {
        enterTakeoffPage();
    };
    fms.pages[cdu_page::kLanding].enter = [this] {
        enterLandingPage();
    };
}

void RunwayDataPages::enterTakeoffPage() {
    const Waypoint& origin = activeFlightPlan.org;
    if (origin.kind == WaypointKind::Runway) {
        fms.navDatabase().getRunwayInfo(origin.id, fms.takeoffPage.runway);
    }
}

void RunwayDataPages::enterLandingPage() {
    if (activeFlightPlan.legs.empty()) {
        return;
    }
    const Waypoint& fix = activeFlightPlan.legs.back().wpt;
    if (fix.kind == WaypointKind::Runway) {
        fms.navDatabase().getRunwayInfo(fix.id, fms.landingPage.runway);
    }
}

void RunwayDataPages::draw(const RunwayDataPage& page, const Design& design) const {
    fms.screen.drawTitle(design.title);
    fms.screen.drawPageNumber(page.subPage, page.pageCount);
    if (page.subPage == 1) {
        drawRunwaySubPage(page);
    } else if (page.subPage == 2) {
        drawWindSubPage(page);
    }
    fms.screen.drawLeftPrompt(design.leftPrompt, false, 7);
    fms.screen.drawRightPrompt(design.rightPrompt, false, 7);
}

void RunwayDataPages::drawRunwaySubPage(const RunwayDataPage& page) const {
    CduScreen& screen = fms.screen;
    const bool runway = hasRunway(page);
    label(screen, 1, 1, "RUNWAY");
    labelEndingAt(screen, 1, 22, "LENGTH");
    screen.putText(2, 0,
                   runway ? page.runway.ident + " " + page.runway.aptIdent
                          : std::string("\u2013\u2013\u2013"),
                   CduColour::Green, true, false);
    screen.putTextRight(2, 24,
                        runway ? FmsParser::formatNoDecimals(page.runway.length)
                               : std::string("\u2013\u2013\u2013\u2013\u2013"),
                        CduColour::Green, true, false);
    label(screen, 3, 1, "OAT<\u2013\u2013\u2013SURFACE\u2013\u2013\u2013>WIND");
    screen.putText(4, 1, FmsParser::formatTemperatureCF(outsideAirTemperature(page)),
                   CduColour::Cyan, true, false);
    screen.putTextRight(4, 24,
                        page.windEntered
                            ? FmsParser::formatWindMagnetic(page.windDirection, page.windSpeed)
                            : std::string("\u2013\u2013\u2013\u00B0/\u2013\u2013\u2013"),
                        CduColour::Cyan, true, false);
    label(screen, 5, 1, "P ALT/B SET");
    labelEndingAt(screen, 5, 22, "ELEV");
    const std::string baro = baroText();
    const std::string altitude = runway ? FmsParser::formatNoDecimals(pressureAltitude(page))
                                        : std::string("\u2013\u2013\u2013\u2013");
    screen.putText(6, 0, altitude + "/" + baro, CduColour::Cyan, true, false);
    screen.putTextRight(6, 24,
                        runway ? FmsParser::formatNoDecimals(page.runway.elevation)
                               : std::string("\u2013\u2013\u2013\u2013"),
                        CduColour::Cyan, true, false);
}

void RunwayDataPages::drawWindSubPage(const RunwayDataPage& page) const {
    CduScreen& screen = fms.screen;
    const bool runway = hasRunway(page);
    const auto [along, across] =
        WindComponents::of(page.windDirection, page.windSpeed, page.runway.magneticHeading);
    label(screen, 1, 2, along > 0.0 ? "TAILWIND" : "HEADWIND");
    labelEndingAt(screen, 1, 21, "CROSSWIND");
    if (page.windEntered && runway) {
        screen.putText(2, 1, FmsParser::formatNoDecimals(std::fabs(along)), CduColour::Cyan, true,
                       false);
        screen.putTextRight(
            2, 23, format(across >= 0.0 ? "RIGHT %1.0lf" : "LEFT %1.0lf", std::fabs(across)),
            CduColour::Cyan, true, false);
    }
    label(screen, 3, 2, "DENSITY ALT");
    if (runway) {
        screen.putText(4, 1, FmsParser::formatNoDecimals(densityAltitude(page)), CduColour::Cyan,
                       true, false);
    }
}

void RunwayDataPages::onKey(RunwayDataPage& page, const Design& design, int32_t key) {
    if (turnSubPage(key, page.subPage, page.pageCount)) {
        return;
    }
    const bool entry = page.subPage == 1 && !fms.scratchPad.text().empty();
    switch (key) {
    case kL2:
        if (entry) {
            enterOat(page);
        }
        break;
    case kR2:
        if (entry) {
            enterSurfaceWind(page);
        }
        break;
    case kL4:
        fms.setPage(design.leftPage, 1);
        break;
    case kR4:
        fms.setPage(design.rightPage, 1);
        break;
    default:
        break;
    }
}

void RunwayDataPages::enterOat(RunwayDataPage& page) {
    float celsius = 0.0f;
    if (!FmsParser::parseTemperature(fms.scratchPad.text(), celsius)) {
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    fms.takeScratchpad();
    page.oat = celsius;
    page.oatFromSensor = false;
}

void RunwayDataPages::enterSurfaceWind(RunwayDataPage& page) {
    // The parser fills copies: a refused entry leaves the page's wind as it was.
    int32_t direction = page.windDirection;
    int32_t speed = page.windSpeed;
    if (!FmsParser::parseSurfaceWind(fms.scratchPad.text(), direction, speed)) {
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    fms.takeScratchpad();
    page.windDirection = direction;
    page.windSpeed = speed;
    page.windEntered = true;
}

const Baro* RunwayDataPages::baro() const {
    const Aircraft* aircraft = fms.owner();
    return aircraft ? aircraft->baro() : nullptr;
}

float RunwayDataPages::mainSettingInHg() const {
    return baro() ? baro()->mainSettingInHg : kStandardInHg;
}

std::string RunwayDataPages::baroText() const {
    if (fms.baroInInches || !baro()) {
        return FmsParser::formatBaroInches(mainSettingInHg());
    }
    return FmsParser::formatBaroHpa(baro()->mainSettingHpa);
}

float RunwayDataPages::outsideAirTemperature(const RunwayDataPage& page) const {
    const Aircraft* aircraft = fms.owner();
    const Adc* adc = aircraft ? aircraft->adc() : nullptr;
    if (page.oatFromSensor) {
        return adc ? adc->staticAirTemperature : page.oat;
    }
    return page.oat;
}

float RunwayDataPages::pressureAltitude(const RunwayDataPage& page) const {
    return static_cast<float>(page.runway.elevation) +
           145442.2f * (1.0f - std::pow(mainSettingInHg() / kStandardInHg, 0.190261f));
}

float RunwayDataPages::densityAltitude(const RunwayDataPage& page) const {
    const float runwayPressureAltitude = pressureAltitude(page);
    // The standard temperature of the runway's own pressure altitude: the air data's ISA
    // temperature is that of the aircraft's altitude, which would move the runway's density
    // altitude with every climb and descent.
    const float isa = isaTemperature(runwayPressureAltitude) + kKelvin;
    const float actual = outsideAirTemperature(page) + kKelvin;
    return runwayPressureAltitude + (isa / 0.0019812f) * (1.0f - std::pow(isa / actual, 0.234969f));
}

} // namespace tavi
