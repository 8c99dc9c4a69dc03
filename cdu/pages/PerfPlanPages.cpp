#include "cdu/pages/PerfPlanPages.h"

#include "avionics/AirData.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PerfPageText.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using namespace navpages;
using namespace pagetext;
using namespace perfpages;

namespace {

constexpr int32_t kEntriesPerSubPage = 3;
constexpr uint32_t kWeatherRequestBase = 1000;
constexpr std::size_t kLastRequestedLeg = 999;
constexpr double kMetresPerFoot = 0.3048;

int32_t ceilDiv(int32_t value, int32_t divisor) {
    return (value + divisor - 1) / divisor;
}

// The entries of the active plan: FROM, the legs from the active one on, DEST.
int32_t planLineCount() {
    const FlightPlan& plan = activeFlightPlan;
    if (!plan.hasOriginAndDestination()) {
        return 2;
    }
    return static_cast<int32_t>(plan.legCount()) - static_cast<int32_t>(plan.activeLeg) + 2;
}

int32_t pageCountOf(const FlightPlan& plan, bool predicted) {
    if (!plan.isBeforeRouteEnd() || !predicted) {
        return 1;
    }
    return ceilDiv(static_cast<int32_t>(plan.legCount()) + 2, kEntriesPerSubPage);
}

void putFuelSlash(CduScreen& screen, int32_t row, const std::string& fuel) {
    screen.putTextRight(row, 12, fuel, CduColour::Cyan, false, false);
    screen.putText(row, 12, "/", CduColour::White, false, false);
}

} // namespace

void PerfPlanPages::registerPages() {
    bindPage(fms.pages[kPerfPlan], *this, &PerfPlanPages::drawPerfPlan,
             &PerfPlanPages::onPerfPlanKey);
    fms.pages[kPerfPlan].subPage = &perfPlanSubPage;
    Fms::CduPageEntry& windTempPage = fms.pages[kWindTemp];
    bindPage(windTempPage, *this, &PerfPlanPages::drawWindTemp, &PerfPlanPages::onWindTempKey);
    windTempPage.subPage = &windTemp.subPage;
    windTempPage.enter = [this] {
        enterWindTemp();
    };
}

int32_t PerfPlanPages::perfPlanPageCount() const {
    return pageCountOf(activeFlightPlan, fms.perfInit.initialised);
}

int32_t PerfPlanPages::altnPerfPlanPageCount() const {
    return pageCountOf(alternateFlightPlan, fms.perfInit.initialised);
}

int32_t PerfPlanPages::totalPerfPlanPageCount() const {
    if (!activeFlightPlan.isBeforeRouteEnd() || !fms.perfInit.initialised) {
        return 1;
    }
    return perfPlanPageCount() + altnPerfPlanPageCount();
}

void PerfPlanPages::drawPerfPlan() const {
    CduScreen& screen = fms.screen;
    const int32_t subPage = perfPlanSubPage;
    const int32_t total = totalPerfPlanPageCount();
    const bool predicted = fms.perfInit.initialised;
    if (subPage <= perfPlanPageCount()) {
        screen.drawTitle("PERF PLAN");
        screen.drawPageNumber(subPage, total);
        label(screen, 1, 8, "FUEL/ETE");
        if (!activeFlightPlan.isBeforeRouteEnd() || !predicted) {
            screen.putText(4, 5, kNotInitialized, CduColour::Green, true, false);
        } else {
            const int32_t lineCount = planLineCount();
            const int32_t first = kEntriesPerSubPage * (subPage - 1);
            for (int32_t entry = std::max(first, 0);
                 entry < first + kEntriesPerSubPage && entry < lineCount; ++entry) {
                drawPlanEntry(entry, lineCount);
            }
        }
    } else {
        screen.drawTitle("ALTN PERF PLAN");
        screen.drawPageNumber(subPage, total);
        label(screen, 1, 8, "FUEL/ETE");
        if (!alternateFlightPlan.isBeforeRouteEnd() || !predicted) {
            screen.putText(3, 4, "NO ALTERNATE FPL", CduColour::Green, true, false);
            screen.putText(4, 8, "ENTERED", CduColour::Green, true, false);
        }
    }
    screen.drawLeftPrompt("PERF INIT", false, 7);
    screen.drawRightPrompt("PERF DATA", false, 7);
}

void PerfPlanPages::drawPlanEntry(int32_t entry, int32_t lineCount) const {
    CduScreen& screen = fms.screen;
    const FlightPlan& plan = activeFlightPlan;
    const int32_t labelRow = 2 * (entry % kEntriesPerSubPage) + 1;
    const int32_t valueRow = labelRow + 1;
    if (entry == 0) {
        const std::size_t active = plan.activeLeg;
        Waypoint from = plan.fromWaypoint(active);
        if (from.ident == "SRC" && active > 0 && active - 1 < plan.legCount() &&
            plan.legs[active - 1].isFixLeg()) {
            from = plan.legs[active - 1].wpt;
        }
        label(screen, labelRow, 2, "FROM");
        screen.putText(valueRow, 1, from.ident, CduColour::Yellow, true, false);
        putFuelSlash(screen, valueRow,
                     FmsParser::formatThousands(fms.perfInit.fuelWeight, fms.fuelUseKg));
    } else if (entry == lineCount - 1) {
        labelEndingAt(screen, labelRow, 22, "DEST");
        screen.putTextRight(valueRow, CduScreen::kColumns, plan.dest.ident, CduColour::Green, true,
                            false);
    } else {
        if (entry == 1) {
            label(screen, labelRow, 2, "TO");
        }
        drawLegEntry(entry, valueRow);
    }
}

void PerfPlanPages::drawLegEntry(int32_t entry, int32_t valueRow) const {
    CduScreen& screen = fms.screen;
    const FlightPlan& plan = activeFlightPlan;
    const std::size_t index = plan.activeLeg + static_cast<std::size_t>(entry) - 1;
    if (index >= plan.legCount()) {
        return;
    }
    const FlightPlanLeg& leg = plan.legs[index];
    if (!leg.isFixLeg()) {
        screen.putText(valueRow, 0, "DISCONTINUITY", CduColour::Green, true, false);
        return;
    }
    putFuelSlash(screen, valueRow,
                 FmsParser::formatThousands(leg.tfd.fuelRemaining, fms.fuelUseKg));
    screen.putText(valueRow, 13, FmsParser::formatElapsedTime(leg.legTime), CduColour::Green, false,
                   false);
    screen.putText(valueRow, 1, leg.wpt.ident, entry == 1 ? CduColour::Magenta : CduColour::Green,
                   true, false);
    screen.drawRightPrompt("", false, valueRow);
    screen.putTextRight(valueRow, 23, "W/T", CduColour::White, true, false);
}

void PerfPlanPages::onPerfPlanKey(int32_t key) {
    if (turnSubPage(key, perfPlanSubPage, totalPerfPlanPageCount())) {
        return;
    }
    switch (key) {
    case kL4:
        fms.setPage(kPerformanceInit, 1);
        break;
    case kR4:
        fms.setPage(kPerfData, 1);
        break;
    case kR1:
    case kR2:
    case kR3: {
        // Each W/T prompt opens WIND/TEMP on the leg of its line.
        if (perfPlanSubPage > perfPlanPageCount() || !activeFlightPlan.isBeforeRouteEnd() ||
            !fms.perfInit.initialised) {
            break;
        }
        const int32_t entry = kEntriesPerSubPage * (perfPlanSubPage - 1) + (key - kR1);
        const std::size_t index = activeFlightPlan.activeLeg + static_cast<std::size_t>(entry) - 1;
        if (entry >= 1 && entry < planLineCount() - 1 && index < activeFlightPlan.legCount() &&
            activeFlightPlan.legs[index].isFixLeg()) {
            fms.setPage(kWindTemp, entry);
        }
        break;
    }
    default:
        break;
    }
}

FlightPlanLeg* PerfPlanPages::shownLeg() const {
    FlightPlan& plan = activeFlightPlan;
    if (windTemp.subPage < 1) {
        return nullptr;
    }
    const std::size_t index = plan.activeLeg + static_cast<std::size_t>(windTemp.subPage) - 1;
    return index < plan.legCount() ? &plan.legs[index] : nullptr;
}

void PerfPlanPages::enterWindTemp() {
    windTemp.pageCount = static_cast<int32_t>(activeFlightPlan.legCount()) -
                         static_cast<int32_t>(activeFlightPlan.activeLeg);
    loadWindTemp();
}

void PerfPlanPages::loadWindTemp() {
    if (const FlightPlanLeg* leg = shownLeg()) {
        windTemp.windDirection = leg->windDirection;
        windTemp.windSpeed = leg->windSpeed;
        windTemp.temperature = leg->temperature;
        windTemp.altitude = leg->temperatureAltitude;
    }
    windTemp.modified = false;
}

void PerfPlanPages::storeWindTemp() {
    if (FlightPlanLeg* leg = shownLeg()) {
        leg->windDirection = windTemp.windDirection;
        leg->windSpeed = windTemp.windSpeed;
        leg->temperature = windTemp.temperature;
        leg->temperatureAltitude = windTemp.altitude;
    }
    windTemp.modified = false;
}

void PerfPlanPages::drawWindTemp() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("WIND/TEMP");
    screen.drawPageNumber(windTemp.subPage, windTemp.pageCount);
    screen.drawRightPrompt("RETURN", false, 1);
    const FlightPlanLeg* leg = shownLeg();
    if (!leg) {
        return;
    }
    const bool modified = windTemp.modified;
    label(screen, 1, 1, "WAYPOINT");
    screen.putText(2, 0, leg->wpt.ident, CduColour::Green, true, false);
    label(screen, 3, 1, "ALTITUDE");
    labelEndingAt(screen, 3, 23, "WIND ");
    screen.putText(4, 0, fms.parser.formatAltitude(windTemp.altitude), CduColour::Cyan, true,
                   modified);
    const bool windEntered = windTemp.windDirection >= 0 || windTemp.windSpeed >= 0;
    screen.putTextRight(4, CduScreen::kColumns,
                        windEntered
                            ? FmsParser::formatWindTrue(windTemp.windDirection, windTemp.windSpeed)
                            : FmsParser::formatWindTrue(0, 0),
                        CduColour::Cyan, true, modified);
    screen.drawLeftPrompt("REQUEST", false, 5);
    labelEndingAt(screen, 5, 23, "TEMP ");
    screen.putTextRight(6, CduScreen::kColumns,
                        FmsParser::formatTemperature(static_cast<float>(windTemp.temperature)),
                        CduColour::Cyan, true, modified);
    if (modified) {
        screen.drawLeftPrompt("CLEAR", false, 7);
        screen.drawRightPrompt("ENTER", false, 7);
    }
}

void PerfPlanPages::onWindTempKey(int32_t key) {
    // RETURN leaves even when the plan has shrunk below the leg shown.
    if (key == kR1) {
        fms.setPage(kPerfPlan, perfPlanSubPage);
        return;
    }
    if (!shownLeg()) {
        return;
    }
    switch (key) {
    case kNext:
        turnWindTemp(1);
        break;
    case kPrev:
        turnWindTemp(-1);
        break;
    case kL3:
        requestWindTemperature();
        fms.setPage(kWindTemp, windTemp.subPage);
        loadWindTemp();
        break;
    case kL4:
        if (windTemp.modified) {
            loadWindTemp();
        }
        break;
    case kR4:
        if (windTemp.modified) {
            storeWindTemp();
        }
        break;
    case kL2:
    case kR2:
    case kR3:
        editWindTemp(key);
        break;
    default:
        break;
    }
}

void PerfPlanPages::turnWindTemp(int32_t step) {
    const FlightPlan& plan = activeFlightPlan;
    turnSubPage(step > 0 ? kNext : kPrev, windTemp.subPage, windTemp.pageCount);
    const auto active = static_cast<int32_t>(plan.activeLeg);
    const auto legCount = static_cast<int32_t>(plan.legCount());
    // The page count was set on entry; the plan may have shrunk since. No leg past its end is
    // shown: the page stays on the last leg.
    windTemp.subPage = std::clamp(windTemp.subPage, 1, std::max(legCount - active, 1));
    const auto isFix = [&](int32_t index) {
        return index >= 0 && index < legCount && plan.legs[static_cast<size_t>(index)].isFixLeg();
    };
    int32_t index = active + windTemp.subPage - 1;
    if (!isFix(index)) {
        for (int32_t i = index + step; i >= active && i < legCount; i += step) {
            if (isFix(i)) {
                windTemp.subPage = i - active + 1;
                break;
            }
        }
    }
    loadWindTemp();
}

void PerfPlanPages::editWindTemp(int32_t key) {
    const std::string entry = fms.scratchPad.text();
    if (entry.empty()) {
        return;
    }
    const bool remove = fms.isScratchpadDelete();
    bool taken = true;
    switch (key) {
    case kL2:
        if (remove) {
            windTemp.altitude = shownLeg()->vnav.altitude;
        } else {
            taken = FmsParser::parseAltitude(entry, windTemp.altitude);
        }
        break;
    case kR2:
        if (remove) {
            windTemp.windDirection = -1;
            windTemp.windSpeed = -1;
        } else {
            int32_t direction = windTemp.windDirection;
            int32_t speed = windTemp.windSpeed;
            taken = FmsParser::parseWind(entry, direction, speed);
            if (taken) {
                windTemp.windDirection = direction;
                windTemp.windSpeed = speed;
            }
        }
        break;
    default: {
        float celsius = isaTemperatureClamped(static_cast<float>(windTemp.altitude));
        taken = remove || FmsParser::parseTemperature(entry, celsius);
        if (taken) {
            windTemp.temperature = static_cast<int32_t>(std::trunc(celsius));
        }
        break;
    }
    }
    if (!taken) {
        fms.showMessage(kInvalidEntry, 0);
        return;
    }
    fms.takeScratchpad();
    windTemp.modified = true;
}

void PerfPlanPages::requestWindTemperature() const {
    const Aircraft* aircraft = fms.owner();
    if (!aircraft) {
        return;
    }
    const FlightPlan& plan = activeFlightPlan;
    for (std::size_t i = plan.activeLeg; i < plan.legCount() && i <= kLastRequestedLeg; ++i) {
        const FlightPlanLeg& leg = plan.legs[i];
        simConnectServices().weatherRequestInterpolatedObservation(
            aircraft->simConnect, kWeatherRequestBase + static_cast<uint32_t>(i),
            static_cast<float>(leg.wpt.latitude), static_cast<float>(leg.wpt.longitude),
            static_cast<float>(leg.vnav.altitude * kMetresPerFoot));
    }
}

} // namespace tavi
