#include "cdu/pages/PerfModePages.h"

#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PerfPageText.h"
#include "core/Format.h"
#include "fms/Fms.h"

#include <string>

namespace tavi {

using namespace navpages;
using namespace pagetext;
using namespace perfpages;

namespace {

constexpr int32_t kManualCruise = 3;
constexpr int32_t kMaxEndurance = 1;
constexpr int32_t kMaxSpeed = 2;
constexpr int32_t kDescentVmoMmo = 1;
constexpr int32_t kDescentManual = 2;

void putMode(CduScreen& screen, int32_t row, int32_t column, std::string_view text, bool active) {
    screen.putText(row, column, text, CduColour::Cyan, active, false);
}

} // namespace

void PerfModePages::registerPages() {
    bindPage(fms.pages[kClimbModes], *this, &PerfModePages::drawClimbModes,
             &PerfModePages::onClimbModesKey);
    bindPage(fms.pages[kCruiseModes], *this, &PerfModePages::drawCruiseModes,
             &PerfModePages::onCruiseModesKey);
    bindPage(fms.pages[kDescentModes], *this, &PerfModePages::drawDescentModes,
             &PerfModePages::onDescentModesKey);
    // RETURN (R1) leaves every mode page for the schedules without re-running the predictions.
    for (const int32_t id : {kClimbModes, kCruiseModes, kDescentModes}) {
        auto& onKey = fms.pages[static_cast<size_t>(id)].onKey;
        onKey = [this, pageKey = onKey](int32_t key) {
            if (key == kR1) {
                fms.setPage(kPerformanceInit, 2);
            } else {
                pageKey(key);
            }
        };
    }
}

void PerfModePages::drawFrame(const char* title) const {
    CduScreen& screen = fms.screen;
    screen.drawTitle(title);
    screen.drawPageNumber(1, 1);
    screen.drawRightPrompt("RETURN", false, 1);
    label(screen, 1, 1, "MANUAL");
}

void PerfModePages::drawActive(int32_t row, int32_t column) const {
    fms.screen.putText(row, column, "(ACT)", CduColour::White, true, false);
}

void PerfModePages::drawClimbModes() const {
    const PerfInit& perf = fms.perfInit;
    CduScreen& screen = fms.screen;
    drawFrame("CLIMB MODES");
    drawMachField(screen, perf.manualClimbIas, perf.manualClimbMach, 2, 0, perf.isManualClimb);
    screen.drawLeftPrompt("", false, 4);
    drawMachField(screen, perf.defaultClimbIas, perf.defaultClimbMach, 4, 1, !perf.isManualClimb);
    drawActive(perf.isManualClimb ? 2 : 4, 10);
}

void PerfModePages::drawCruiseModes() const {
    const PerfInit& perf = fms.perfInit;
    CduScreen& screen = fms.screen;
    const int32_t mode = perf.cruizeMode;
    drawFrame("CRUISE MODES");
    drawMachField(screen, perf.manualCruiseIas, perf.manualCruiseMach, 2, 0, mode == kManualCruise);
    if (mode == kManualCruise) {
        const std::string manual = machFieldText(perf.manualCruiseIas, perf.manualCruiseMach);
        drawActive(2, static_cast<int32_t>(manual.size()) + 1);
    }
    screen.drawLeftPrompt("", false, 4);
    putMode(screen, 4, 1, "LRC", mode == 0);
    screen.drawRightPrompt("", false, 4);
    screen.putTextRight(4, 23, "MAX END", CduColour::Cyan, mode == kMaxEndurance, false);
    screen.drawLeftPrompt("", false, 6);
    putMode(screen, 6, 1, "MAX SPD", mode == kMaxSpeed);
    if (mode == 0) {
        drawActive(4, 5);
    } else if (mode == kMaxEndurance) {
        screen.putTextRight(4, 15, "(ACT)", CduColour::White, true, false);
    } else if (mode == kMaxSpeed) {
        drawActive(6, 9);
    }
}

void PerfModePages::drawDescentModes() const {
    const PerfInit& perf = fms.perfInit;
    CduScreen& screen = fms.screen;
    const int32_t mode = perf.descentMode;
    drawFrame("DESCENT MODES");
    drawSpeedMachAngleField(screen, perf.manualDescentIas, perf.manualDescentMach,
                            perf.manualDescentAngle, 2, 0, mode == kDescentManual);
    screen.drawLeftPrompt("", false, 4);
    drawSpeedMachAngleField(screen, perf.defaultDescentIas, perf.defaultDescentMach,
                            perf.defaultDescentAngle, 4, 1, mode == 0);
    screen.drawLeftPrompt("", false, 6);
    label(screen, 6, 1, "VMO/MMO/");
    putMode(screen, 6, 9, format("%3.1lf\u00B0", perf.vmoMmoDescentAngle), mode == kDescentVmoMmo);
    if (mode == kDescentManual) {
        drawActive(2, 13);
    } else if (mode == 0) {
        drawActive(4, 15);
    } else if (mode == kDescentVmoMmo) {
        drawActive(6, 14);
    }
}

void PerfModePages::onLine(const std::function<void()>& select,
                           const std::function<void()>& restore,
                           const std::function<bool(std::string_view)>& accept) {
    const std::string entry = fms.scratchPad.text();
    if (entry.empty()) {
        select();
    } else if (restore && fms.isScratchpadDelete()) {
        restore();
        fms.takeScratchpad();
    } else if (accept(entry)) {
        fms.takeScratchpad();
    } else {
        fms.showMessage(kInvalidEntry, 0);
        return;
    }
    returnToInit();
}

void PerfModePages::selectAndReturn(const std::function<void()>& select) {
    select();
    returnToInit();
}

void PerfModePages::returnToInit() {
    updatePredictions(fms);
    fms.setPage(kPerformanceInit, 2);
}

void PerfModePages::onClimbModesKey(int32_t key) {
    PerfInit& perf = fms.perfInit;
    switch (key) {
    case kL1:
        onLine([&] { perf.isManualClimb = true; },
               [&] {
                   perf.manualClimbIas = perf.defaultClimbIas;
                   perf.manualClimbMach = perf.defaultClimbMach;
                   perf.isManualClimb = false;
               },
               [&](std::string_view text) { return enterManualClimb(perf, text); });
        break;
    case kL2:
        selectAndReturn([&] { perf.isManualClimb = false; });
        break;
    default:
        break;
    }
}

void PerfModePages::onCruiseModesKey(int32_t key) {
    PerfInit& perf = fms.perfInit;
    switch (key) {
    case kL1:
        onLine([&] { perf.cruizeMode = kManualCruise; },
               [&] {
                   perf.cruizeMode = 0;
                   perf.manualCruiseIas = perf.defaultCruiseIas;
                   perf.manualCruiseMach = perf.defaultCruiseMach;
               },
               [&](std::string_view text) {
                   if (!parseCruiseSchedule(text, perf.manualCruiseIas, perf.manualCruiseMach)) {
                       return false;
                   }
                   perf.cruizeMode = kManualCruise;
                   return true;
               });
        break;
    case kL2:
        selectAndReturn([&] { perf.cruizeMode = 0; });
        break;
    case kL3:
        selectAndReturn([&] { perf.cruizeMode = kMaxSpeed; });
        break;
    case kR2:
        selectAndReturn([&] { perf.cruizeMode = kMaxEndurance; });
        break;
    default:
        break;
    }
}

void PerfModePages::onDescentModesKey(int32_t key) {
    PerfInit& perf = fms.perfInit;
    switch (key) {
    case kL1:
        onLine([&] { perf.descentMode = kDescentManual; },
               [&] {
                   perf.manualDescentIas = perf.defaultDescentIas;
                   perf.manualDescentMach = perf.defaultDescentMach;
                   perf.manualDescentAngle = perf.defaultDescentAngle;
                   perf.descentMode = 0;
               },
               [&](std::string_view text) { return enterManualDescent(perf, text); });
        break;
    case kL2:
        selectAndReturn([&] { perf.descentMode = 0; });
        break;
    case kL3:
        onLine([&] { perf.descentMode = kDescentVmoMmo; }, nullptr,
               [&](std::string_view text) {
                   int32_t speed = 0;
                   double mach = 0.0;
                   double angle = 0.0;
                   if (!FmsParser::parseSpeedMachAngle(text, speed, mach, angle) || speed != 0 ||
                       mach != 0.0) {
                       return false;
                   }
                   perf.vmoMmoDescentAngle = angle;
                   perf.descentMode = kDescentVmoMmo;
                   return true;
               });
        break;
    default:
        break;
    }
}

} // namespace tavi
