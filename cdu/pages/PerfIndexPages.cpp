#include "cdu/pages/PerfIndexPages.h"

#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PerfPageText.h"
#include "core/Format.h"
#include "fms/Fms.h"

namespace tavi {

using namespace navpages;
using namespace pagetext;
using namespace perfpages;

namespace {

void putValue(CduScreen& screen, int32_t row, const std::string& text) {
    screen.putText(row, 0, text, CduColour::Cyan, true, false);
}

} // namespace

void PerfIndexPages::registerPages() {
    bindPage(fms.pages[kPerfIndex], *this, &PerfIndexPages::drawPerfIndex,
             &PerfIndexPages::onPerfIndexKey);
    fms.pages[kPerfIndex].subPage = &subPage;
    bindPage(fms.pages[kDepAppSpeed], *this, &PerfIndexPages::drawDepAppSpeed,
             &PerfIndexPages::onDepAppSpeedKey);
    fms.pages[kDepAppSpeed].subPage = &fms.perfInit.depAppSubPage;
}

void PerfIndexPages::drawPerfIndex() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("PERF INDEX");
    screen.drawPageNumber(subPage, pageCount);
    if (subPage != 1) {
        screen.drawLeftPrompt("FUEL MGT", false, 1);
        return;
    }
    static constexpr const char* kPrompts[][2] = {{"PERF INIT", "PERF DATA"},
                                                  {"PERF PLAN", "TAKEOFF"},
                                                  {"CLIMB", "CRUISE"},
                                                  {"DESCENT", "LANDING"}};
    int32_t row = 1;
    for (const auto& [left, right] : kPrompts) {
        screen.drawLeftPrompt(left, false, row);
        screen.drawRightPrompt(right, false, row);
        row += 2;
    }
}

void PerfIndexPages::onPerfIndexKey(int32_t key) {
    if (turnSubPage(key, subPage, pageCount)) {
        return;
    }
    if (subPage != 1) {
        if (key == kL1) {
            fms.setPage(kFuelMgt, 1);
        }
        return;
    }
    static constexpr int32_t kTargets[] = {kPerformanceInit, kPerfPlan, kClimb,  kDescent,
                                           kPerfData,        kTakeoff,  kCruise, kLanding};
    if (key >= kL1 && key <= kR4) {
        fms.setPage(kTargets[key], 1);
    }
}

void PerfIndexPages::drawDepAppSpeed() const {
    const PerfInit& perf = fms.perfInit;
    fms.screen.drawPageNumber(perf.depAppSubPage, perf.depAppPageCount);
    fms.screen.drawRightPrompt("RETURN", false, 1);
    if (perf.depAppSubPage == 1) {
        drawDepartureSpeed();
    } else if (perf.depAppSubPage == 2) {
        drawApproachSpeed();
    }
}

void PerfIndexPages::drawDepartureSpeed() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    screen.drawTitle("DEPARTURE SPEED");
    label(screen, 1, 1, "SPEED LIMIT");
    putValue(screen, 2, format("%d", perf.depIas));
    label(screen, 3, 1, "AGL<\u2013\u2013\u2013\u2013\u2013LIMIT\u2013\u2013\u2013\u2013\u2013>NM");
    putValue(screen, 4, format("%d", perf.depAgl));
    valueEndingAt(screen, 4, 23, format("%3.1lf", perf.depDist), CduColour::Cyan);
}

void PerfIndexPages::drawApproachSpeed() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = fms.perfInit;
    screen.drawTitle("APPROACH SPEED");
    label(screen, 1, 1, "CLEAN");
    putValue(screen, 2, format("%d", perf.appIas));
    label(screen, 3, 1, "DIST TO DESTINATION");
    putValue(screen, 4, format("%3.1lf", perf.appDist));
    label(screen, 5, 1, "FIRST APP WPT");
    screen.putText(6, 0, perf.isFirstAppWpt ? "YES" : "NO", CduColour::Green, true, false);
    screen.putTextRight(6, 19, "OR", CduColour::White, true, false);
    screen.putTextRight(6, 23, perf.isFirstAppWpt ? "NO" : "YES", CduColour::Green, false, false);
    screen.drawRightPrompt("", false, 6);
}

void PerfIndexPages::onDepAppSpeedKey(int32_t key) {
    PerfInit& perf = fms.perfInit;
    if (turnSubPage(key, perf.depAppSubPage, perf.depAppPageCount)) {
        return;
    }
    if (key == kR1) {
        fms.setPage(kPerformanceInit, 2);
    } else if (perf.depAppSubPage == 1) {
        onDepartureSpeedKey(key);
    } else if (perf.depAppSubPage == 2) {
        onApproachSpeedKey(key);
    }
}

void PerfIndexPages::onDepartureSpeedKey(int32_t key) {
    PerfInit& perf = fms.perfInit;
    switch (key) {
    case kL1:
        handleValueEntry(
            fms, [&] { fms.setScratchpad(format("%d", perf.depIas)); },
            [&](std::string_view text) {
                return FmsParser::parseSpeed(text, perf.depIas) ? kTaken : kRefused;
            });
        break;
    case kL2:
        handleValueEntry(
            fms, [&] { fms.setScratchpad(format("%d", perf.depAgl)); },
            [&](std::string_view text) {
                return FmsParser::parseIntegerTo60000(text, perf.depAgl) ? kTaken : kRefused;
            });
        break;
    case kR2:
        handleValueEntry(
            fms, [&] { fms.setScratchpad(format("%3.1lf", perf.depDist)); },
            [&](std::string_view text) {
                return FmsParser::parseDecimal(text, perf.depDist) ? kTaken : kRefused;
            });
        break;
    default:
        break;
    }
}

void PerfIndexPages::onApproachSpeedKey(int32_t key) {
    PerfInit& perf = fms.perfInit;
    switch (key) {
    case kL1:
        handleValueEntry(
            fms, [&] { fms.setScratchpad(format("%d", perf.appIas)); },
            [&](std::string_view text) {
                return FmsParser::parseSpeed(text, perf.appIas) ? kTaken : kRefused;
            });
        break;
    case kL2:
        handleValueEntry(
            fms, [&] { fms.setScratchpad(format("%3.1lf", perf.appDist)); },
            [&](std::string_view text) {
                return FmsParser::parseDecimal(text, perf.appDist) ? kTaken : kRefused;
            });
        break;
    case kR3:
        perf.isFirstAppWpt = !perf.isFirstAppWpt;
        updatePredictions(fms);
        break;
    default:
        break;
    }
}

} // namespace tavi
