#include "cdu/pages/FuelPages.h"

#include "avionics/Adc.h"
#include "avionics/Gps.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PerfPageText.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "fms/Fms.h"

#include <cmath>
#include <string>

namespace tavi {

using namespace navpages;
using namespace pagetext;
using namespace perfpages;

namespace {

constexpr int32_t kNbaa = 0;
constexpr int32_t kReserveWeight = 1;
constexpr int32_t kReserveTime = 2;

void putActive(CduScreen& screen, int32_t row, int32_t column) {
    screen.putText(row, column, "(ACT)", CduColour::White, true, false);
}

void putSmallCyanEndingAt(CduScreen& screen, int32_t row, int32_t lastColumn,
                          const std::string& text) {
    screen.putTextRight(row, lastColumn + 1, text, CduColour::Cyan, false, false);
}

} // namespace

void FuelPages::registerPages() {
    bindPage(fms.pages[kFuelReserve], *this, &FuelPages::drawFuelReserve,
             &FuelPages::onFuelReserveKey);
    bindPage(fms.pages[kFuelMgt], *this, &FuelPages::drawFuelMgt, &FuelPages::onFuelMgtKey);
    fms.pages[kFuelMgt].subPage = &fms.fuelMgt.subPage;
}

bool FuelPages::kilograms() const {
    return fms.fuelUseKg;
}

void FuelPages::drawFuelReserve() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    const char* unit = weightUnit(kilograms());
    screen.drawTitle("FUEL RESERVE");
    screen.drawPageNumber(1, 1);
    screen.drawRightPrompt("RETURN", false, 1);
    screen.drawLeftPrompt("", false, 2);
    screen.putText(2, 1, "NBAA", CduColour::Cyan, perf.fuelReserveType == kNbaa, false);
    if (perf.fuelReserveType == kNbaa) {
        putActive(screen, 2, 6);
    }
    if (perf.fuelReserveWeight < 0.0) {
        screen.putText(4, 0, kFiveDashes, CduColour::Cyan, false, false);
        label(screen, 4, 6, unit);
    } else {
        const std::string weight =
            FmsParser::formatWeight(perf.fuelReserveWeight, kilograms(), false);
        const auto n = static_cast<int32_t>(weight.size());
        screen.putText(4, 0, weight, CduColour::Cyan, perf.fuelReserveType == kReserveWeight,
                       false);
        label(screen, 4, n + 1, unit);
        if (perf.fuelReserveType == kReserveWeight) {
            putActive(screen, 4, n + 4);
        }
    }
    labelEndingAt(screen, 4, 22, "AT DEST");
    labelEndingAt(screen, 5, 22, "OR ALTN IF");
    if (perf.fuelReserveTime < 0.0) {
        screen.putText(6, 0, "\u2013\u2013\u2013", CduColour::Cyan, false, false);
        label(screen, 6, 4, "MIN");
    } else {
        const std::string minutes = format("%1.0lf", perf.fuelReserveTime);
        const auto m = static_cast<int32_t>(minutes.size());
        screen.putText(6, 0, minutes, CduColour::Cyan, perf.fuelReserveType == kReserveTime, false);
        label(screen, 6, m + 1, "MIN");
        if (perf.fuelReserveType == kReserveTime) {
            putActive(screen, 6, m + 5);
        }
    }
    labelEndingAt(screen, 6, 22, "ENTERED");
}

void FuelPages::selectReserve(int32_t type) {
    fms.perfInit.fuelReserveType = type;
    updatePredictions(fms);
    fms.setPage(kPerformanceInit, 3);
}

void FuelPages::onFuelReserveKey(int32_t key) {
    PerfInit& perf = fms.perfInit;
    const std::string entry = fms.scratchPad.text();
    switch (key) {
    case kL1:
        selectReserve(kNbaa);
        break;
    case kL2:
    case kL3: {
        const bool byWeight = key == kL2;
        if (entry.empty()) {
            // A rule whose value was never entered cannot be chosen.
            if ((byWeight ? perf.fuelReserveWeight : perf.fuelReserveTime) >= 0.0) {
                selectReserve(byWeight ? kReserveWeight : kReserveTime);
            }
            break;
        }
        int32_t value = 0;
        if (!(byWeight ? FmsParser::parseWeight(entry, value)
                       : FmsParser::parseIntegerTo600(entry, value))) {
            fms.showMessage(kInvalidEntry, 0);
            break;
        }
        if (byWeight) {
            perf.fuelReserveWeight = poundsFromUnit(value, kilograms());
        } else {
            perf.fuelReserveTime = value;
        }
        fms.takeScratchpad();
        selectReserve(byWeight ? kReserveWeight : kReserveTime);
        break;
    }
    case kR1:
        fms.setPage(kPerformanceInit, 3);
        break;
    default:
        break;
    }
}

float FuelPages::totalFlow() const {
    const FuelMgtPage& record = fms.fuelMgt;
    return record.fuelFlow[0] + record.fuelFlow[1] + record.fuelFlow[2];
}

void FuelPages::drawFuelMgt() const {
    const FuelMgtPage& record = fms.fuelMgt;
    CduScreen& screen = fms.screen;
    screen.drawTitle(kilograms() ? "FUEL MGT-KG" : "FUEL MGT-LB");
    screen.drawPageNumber(record.subPage, record.pageCount);
    if (record.subPage == 1) {
        drawFlowSubPage();
    } else {
        drawEngineSubPage();
    }
    screen.drawLeftPrompt("PERF INIT", false, 7);
    screen.drawRightPrompt("PERF DATA", false, 7);
}

void FuelPages::drawFlowSubPage() const {
    CduScreen& screen = fms.screen;
    const bool kg = kilograms();
    const double fuel = fms.perfInit.fuelWeight;
    const Aircraft* aircraft = fms.owner();
    const Gps* gps = aircraft ? aircraft->gps() : nullptr;
    const Adc* adc = aircraft ? aircraft->adc() : nullptr;
    const float groundSpeed = gps ? gps->groundSpeed : 0.0f;
    const float trueAirspeed = adc ? adc->trueAirspeed : 0.0f;
    const float flow = totalFlow();
    label(screen, 1, 1, "FUEL");
    labelEndingAt(screen, 1, 22, "FUEL FLOW");
    screen.putText(2, 0,
                   fuel < 0.0 ? std::string(kFiveDashes) : FmsParser::formatWeight(fuel, kg, true),
                   CduColour::Cyan, true, false);
    valueEndingAt(screen, 2, 23, FmsParser::formatWeight(flow, kg, true), CduColour::Cyan);
    label(screen, 3, 2, "GRD<\u2013\u2013\u2013SPEED\u2013\u2013\u2013>TRUE");
    screen.putText(4, 1, FmsParser::formatInteger(static_cast<int32_t>(groundSpeed)),
                   CduColour::Cyan, true, false);
    valueEndingAt(screen, 4, 22, FmsParser::formatInteger(static_cast<int32_t>(trueAirspeed)),
                  CduColour::Cyan);
    label(screen, 5, 2, "GRD<\u2013\u2013\u2013SP RNG\u2013\u2013\u2013>AIR");
    screen.putText(6, 1, FmsParser::formatFuelMileage(flow, groundSpeed, kg), CduColour::Cyan, true,
                   false);
    valueEndingAt(screen, 6, 22, FmsParser::formatFuelMileage(flow, trueAirspeed, kg),
                  CduColour::Cyan);
}

void FuelPages::drawEngineSubPage() const {
    CduScreen& screen = fms.screen;
    const FuelMgtPage& record = fms.fuelMgt;
    const bool kg = kilograms();
    label(screen, 1, 1, "ENG");
    label(screen, 1, 7, "FLOW<\u2013FUEL\u2013>USED");
    static constexpr const char* kSources[] = {"1", "2", "APU"};
    static constexpr int32_t kColumns[] = {2, 2, 1};
    for (size_t i = 0; i < 3; ++i) {
        const auto row = static_cast<int32_t>(i) + 2;
        screen.putText(row, kColumns[i], kSources[i], CduColour::Cyan, false, false);
        putSmallCyanEndingAt(screen, row, 10,
                             FmsParser::formatWeight(record.fuelFlow[i], kg, false));
        putSmallCyanEndingAt(screen, row, 22,
                             FmsParser::formatWeight(record.fuelUsed[i], kg, false));
    }
    screen.putText(5, 1, "TOT", CduColour::Cyan, false, false);
    putSmallCyanEndingAt(screen, 5, 10, FmsParser::formatWeight(totalFlow(), kg, false));
    putSmallCyanEndingAt(screen, 5, 22, FmsParser::formatWeight(record.totalFuelUsed(), kg, false));
}

void FuelPages::onFuelMgtKey(int32_t key) {
    FuelMgtPage& record = fms.fuelMgt;
    if (turnSubPage(key, record.subPage, record.pageCount)) {
        return;
    }
    if (key == kL4) {
        fms.setPage(kPerformanceInit, 1);
    } else if (key == kR4) {
        fms.setPage(kPerfData, 1);
    }
}

} // namespace tavi
