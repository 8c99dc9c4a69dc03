#include "cdu/pages/NavIdentPages.h"

#include "avionics/Adc.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "fms/Fms.h"

namespace tavi {

using namespace navpages;

namespace {

constexpr int64_t kLastSecondOfDay = 86399;
constexpr size_t kDateLength = 7;
constexpr size_t kCycleNameLength = 10;

std::string cycleName(const std::string& value) {
    if (value.size() == 4) {
        return format("WORLD%c%c-%c%c", value[0], value[1], value[2], value[3]);
    }
    return "WORLD" + value;
}

} // namespace

void NavIdentPages::registerPages() {
    Fms::CduPageEntry& ident = fms.pages[kNavIdent];
    ident.draw = [this] {
        drawNavIdentPage();
    };
    ident.onKey = [this](int32_t key) {
        onNavIdentKey(key);
    };
    Fms::CduPageEntry& index = fms.pages[kNavIndex];
    index.draw = [this] {
        drawNavIndexPage();
    };
    index.onKey = [this](int32_t key) {
        onNavIndexKey(key);
    };
}

void NavIdentPages::loadCycle() {
    const auto log = [this](std::string_view line) {
        if (const Aircraft* aircraft = fms.owner()) {
            aircraft->log(line);
        }
    };
    log("Initing cycle");
    dataCycle.startTime = 0;
    dataCycle.endTime = 0;
    log("loading cycle start date");
    dataCycle.startText = fms.navDatabase().getConfigParam("CycleStartDate");
    log("loading cycle end date");
    dataCycle.endText = fms.navDatabase().getConfigParam("CycleEndDate");
    dataCycle.startTime = FmsParser::parseDate(dataCycle.startText, false);
    dataCycle.endTime = FmsParser::parseDate(dataCycle.endText, false) + kLastSecondOfDay;
    log("loading cycle name");
    dataCycle.name = cycleName(fms.navDatabase().getConfigParam("CycleName"));
    log("cycle inited");
    dataCycle.loaded = true;
}

std::string NavIdentPages::simulatorDate() {
    const int32_t year = simulatorNumber("(P:ZULU YEAR, number)");
    const int32_t month = simulatorNumber("(P:ZULU MONTH OF YEAR, number)");
    const int32_t day = simulatorNumber("(P:ZULU DAY OF MONTH, number)");
    return format("%02d%3s%02d", day, FmsParser::monthName(month).c_str(), year % 100);
}

void NavIdentPages::drawNavIdentPage() {
    if (!dataCycle.loaded) {
        loadCycle();
    }
    CduScreen& screen = fms.screen;
    const std::string date = simulatorDate();
    dataCycle.today = FmsParser::parseDate(date, false);
    const Adc* adc = fms.owner() ? fms.owner()->adc() : nullptr;
    const std::string time = FmsParser::formatClockTime(adc ? adc->zuluSeconds : 0.0);

    screen.drawTitle("NAV IDENT");
    screen.drawPageNumber(1, 1);
    screen.putText(1, 1, "DATE", CduColour::White, false, false);
    screen.putText(1, 11, "ACTIVE NDB", CduColour::White, false, false);
    screen.putText(2, 0, date, CduColour::Cyan, true, false);
    screen.putText(3, 1, "UTC", CduColour::White, false, false);
    screen.putText(4, 0, time, CduColour::Cyan, true, false);
    screen.putText(4, 4, "Z", CduColour::Cyan, false, false);
    screen.putText(5, 2, "SW", CduColour::White, false, false);
    screen.putText(6, 1, "NZ5.2", CduColour::Green, true, false);
    drawCycle(dataCycle.startTime <= dataCycle.today && dataCycle.today <= dataCycle.endTime);
    screen.drawLeftPrompt("MAINTENANCE", false, 7);
    screen.drawRightPrompt("POS INIT", !fms.position.initialised, 7);
}

void NavIdentPages::drawCycle(bool current) const {
    const std::string& start = dataCycle.startText;
    const std::string& end = dataCycle.endText;
    if (start.size() != kDateLength || end.size() != kDateLength ||
        dataCycle.name.size() != kCycleNameLength) {
        return;
    }
    CduScreen& screen = fms.screen;
    const CduColour colour = current ? CduColour::Green : CduColour::Red;
    screen.putText(2, 8, start.substr(0, 2), colour, false, false);
    screen.putText(2, 10, start.substr(2, 3), colour, true, false);
    screen.putText(2, 14, end.substr(0, 2), colour, false, false);
    screen.putText(2, 16, end.substr(2, 3) + "/", colour, true, false);
    screen.putText(2, 20, end.substr(5, 2), colour, true, false);
    screen.putText(5, 9, "NDB", CduColour::White, false, false);
    screen.putText(5, 13, "V2.00  4M", CduColour::Green, false, false);
    screen.putText(6, 11, dataCycle.name, CduColour::Green, true, false);
}

void NavIdentPages::drawNavIndexPage() const {
    struct Line {
        int32_t row;
        const char* left;
        const char* right;
    };
    static constexpr Line kFirst[] = {{1, "FPL LIST", "FPL SEL"},
                                      {3, "WPT LIST", "DATA BASE"},
                                      {5, "DEPARTURE", "ARRIVAL"},
                                      {7, "POS SENSORS", "TUNE"}};
    static constexpr Line kSecond[] = {
        {1, "LOAD FS FPL", "PATTERNS"}, {3, "IDENT", "MAINTENANCE"}, {5, "POS INIT", "FLT SUM"}};
    CduScreen& screen = fms.screen;
    screen.drawTitle("NAV INDEX");
    screen.drawPageNumber(fms.navIndexSubPage, 2);
    const auto draw = [&screen](const auto& lines) {
        for (const Line& line : lines) {
            screen.drawLeftPrompt(line.left, false, line.row);
            screen.drawRightPrompt(line.right, false, line.row);
        }
    };
    if (fms.navIndexSubPage == 1) {
        draw(kFirst);
    } else {
        draw(kSecond);
    }
}

void NavIdentPages::onNavIdentKey(int32_t key) {
    if (key == kL4) {
        fms.setPage(kMaintenance, 1);
    } else if (key == kR4) {
        fms.setPage(kPositionInit, 1);
    }
}

void NavIdentPages::onNavIndexKey(int32_t key) {
    if (key == kPrev || key == kNext) {
        fms.navIndexSubPage = fms.navIndexSubPage == 1 ? 2 : 1;
        return;
    }
    static constexpr int32_t kFirstTargets[] = {kFlightPlanList, kPilotWptList,  kDepartureRunways,
                                                kPosSensors,     kFltPlanSelect, kDataBaseWpt,
                                                kArrival,        kRadioTuning};
    static constexpr int32_t kNone = -1;
    static constexpr int32_t kSecondTargets[] = {kNone,     kNavIdent,    kPositionInit,  kNone,
                                                 kPatterns, kMaintenance, kFlightSummary, kNone};
    if (key < kL1 || key > kR4) {
        return;
    }
    if (fms.navIndexSubPage == 2 && key == kL1) {
        fms.flightPlanPages.import.importSimulatorFlightPlan();
        return;
    }
    const auto line = static_cast<size_t>(key);
    const int32_t target = fms.navIndexSubPage == 1 ? kFirstTargets[line] : kSecondTargets[line];
    if (target == kPatterns) {
        fms.patternPages.openPatterns();
    } else if (target != kNone) {
        fms.setPage(target, 1);
    }
}

} // namespace tavi
