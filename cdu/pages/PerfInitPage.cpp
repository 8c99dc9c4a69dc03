#include "cdu/pages/PerfInitPage.h"

#include "airframe/FuelSystem.h"
#include "avionics/Adc.h"
#include "avionics/FlightDirector.h"
#include "avionics/Radio.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageBinding.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PerfPageText.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "fms/Fms.h"

#include <cmath>

namespace tavi {

using namespace navpages;
using namespace pagetext;
using namespace perfpages;

namespace {

constexpr const char* kAircraftType = "VOSK300X";
constexpr const char* kDashedSpeedAltitude = "\u2013\u2013\u2013/\u2013\u2013\u2013\u2013\u2013";
constexpr int32_t kDefaultTransAlt = 18000;
constexpr double kDeletedPassengerWeight = 170.0;
// A fuel entry this far from the gauges (lb) asks the crew to compare.
constexpr double kFuelCompareDifference = 1000.0;

void drawOrPrompt(CduScreen& screen, int32_t row) {
    screen.putTextRight(row, 23, "OR", CduColour::White, true, false);
    screen.drawRightPrompt("", false, row);
}

void putCyan(CduScreen& screen, int32_t row, int32_t column, const std::string& text) {
    screen.putText(row, column, text, CduColour::Cyan, true, false);
}

void putCyanRight(CduScreen& screen, int32_t row, const std::string& text) {
    screen.putTextRight(row, CduScreen::kColumns, text, CduColour::Cyan, true, false);
}

} // namespace

void PerfInitPage::registerPages() {
    Fms::CduPageEntry& page = fms.pages[kPerformanceInit];
    page.subPage = &fms.perfInit.subPage;
    bindPage(page, *this);
}

PerfInit& PerfInitPage::record() const {
    return fms.perfInit;
}

bool PerfInitPage::kilograms() const {
    return fms.fuelUseKg;
}

std::string PerfInitPage::weightText(double pounds) const {
    return FmsParser::formatWeight(pounds, kilograms(), false);
}

bool PerfInitPage::weightsComplete() const {
    return record().isComplete();
}

void PerfInitPage::draw() const {
    const PerfInit& perf = record();
    fms.screen.drawTitle("PERFORMANCE INIT");
    fms.screen.drawPageNumber(perf.subPage, perf.pageCount);
    if (weightsComplete() && perf.initialised) {
        fms.screen.drawRightPrompt("PERF DATA", false, 7);
    }
    switch (perf.subPage) {
    case 1:
        drawAircraftSubPage();
        break;
    case 2:
        drawScheduleSubPage();
        break;
    case 3:
        drawFuelSubPage();
        break;
    case 4:
        drawLimitsSubPage();
        break;
    case 5:
        drawWeightSubPage();
        break;
    default:
        break;
    }
}

void PerfInitPage::drawAircraftSubPage() const {
    CduScreen& screen = fms.screen;
    label(screen, 1, 2, "ACFT TYPE");
    labelEndingAt(screen, 1, 22, "TAIL #");
    screen.putText(2, 1, kAircraftType, CduColour::Green, true, false);
    const Aircraft* aircraft = fms.owner();
    const Radio* radio = aircraft ? aircraft->radio() : nullptr;
    if (radio) {
        screen.putTextRight(2, CduScreen::kColumns, radio->atcId, CduColour::Green, true, false);
    }
    label(screen, 3, 2, "DATA SOURCE");
    screen.putText(4, 1, "FULL PERF", CduColour::Green, true, false);
    screen.drawLeftPrompt("AIRCRAFT DB", false, 7);
}

void PerfInitPage::drawScheduleSubPage() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = record();
    label(screen, 1, 1, "CLIMB");
    if (perf.isManualClimb) {
        drawMachField(screen, perf.manualClimbIas, perf.manualClimbMach, 2, 0, true);
    } else {
        drawMachField(screen, perf.defaultClimbIas, perf.defaultClimbMach, 2, 0, true);
    }
    drawOrPrompt(screen, 2);
    label(screen, 3, 1, "CRUISE");
    static constexpr const char* kCruiseModes[] = {"LRC", "MAX END", "MAX SPD"};
    if (perf.cruizeMode >= 0 && perf.cruizeMode <= 2) {
        putCyan(screen, 4, 0, kCruiseModes[perf.cruizeMode]);
    } else if (perf.cruizeMode == 3) {
        drawMachField(screen, perf.cruiseTarget.ias, perf.cruiseTarget.mach, 4, 0, true);
    }
    drawOrPrompt(screen, 4);
    label(screen, 5, 1, "DESCENT");
    if (perf.descentMode == 1) {
        putCyan(screen, 6, 0, format("VMO/MMO/%3.1lf", perf.vmoMmoDescentAngle));
    } else if (perf.descentMode == 0 || perf.descentMode == 2) {
        drawSpeedMachAngleField(screen, perf.descentSpeed(Adc::vmo), perf.descentMach(Adc::mmo),
                                perf.descentAngle(), 6, 0, true);
    }
    drawOrPrompt(screen, 6);
    screen.drawLeftPrompt("DEP/APP SPD", false, 7);
}

void PerfInitPage::drawUnitTitle() const {
    std::string title = "PERFORMANCE INIT-";
    title.append(weightUnit(kilograms()));
    fms.screen.putText(0, 1, title, CduColour::White, true, false);
}

void PerfInitPage::drawFuelSubPage() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = record();
    const std::string unit = weightUnit(kilograms());
    drawUnitTitle();
    label(screen, 1, 1, "STEP INCREMENT");
    putCyan(screen, 2, 0, FmsParser::formatNoDecimals(perf.stepIncrement));
    label(screen, 3, 1, "FUEL RESERVE");
    if (perf.fuelReserveType == 0) {
        putCyan(screen, 4, 0, "NBAA");
    } else {
        const bool byWeight = perf.fuelReserveType == 1;
        const std::string value =
            byWeight ? weightText(perf.fuelReserveWeight) : format("%1.0lf", perf.fuelReserveTime);
        putCyan(screen, 4, 0, value);
        label(screen, 4, static_cast<int32_t>(value.size()) + 1, byWeight ? unit : "MIN");
    }
    drawOrPrompt(screen, 4);
    label(screen, 5, 1, "TO/LDG FUEL");
    const std::string fuel = weightText(perf.toFuel) + "/" + weightText(perf.landFuel);
    putCyan(screen, 6, 0, fuel);
    label(screen, 6, static_cast<int32_t>(fuel.size()) + 1, unit);
}

void PerfInitPage::drawLimitsSubPage() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = record();
    const FmsParser& parser = fms.parser;
    label(screen, 1, 1, "TRANS ALT");
    labelEndingAt(screen, 1, 22, "SPD/ALT LIM");
    putCyan(screen, 2, 0, parser.formatAltitude(perf.transAlt));
    putCyanRight(screen, 2,
                 perf.spdLim == 0 && perf.altLim == 0
                     ? std::string(kDashedSpeedAltitude)
                     : parser.formatSpeedAltitude(perf.spdLim, perf.altLim));
    label(screen, 3, 1, "INIT CRZ ALT");
    labelEndingAt(screen, 3, 22, "ISA DEV");
    if (perf.optimumRequested) {
        putCyan(screen, 4, 0, "OPTIMUM");
    } else {
        const std::string altitude = parser.formatAltitude(perf.initCrzAlt);
        putCyan(screen, 4, 0, altitude);
        if (perf.isOptimum) {
            screen.putText(4, static_cast<int32_t>(altitude.size()), " (OPTIMUM)", CduColour::Cyan,
                           false, false);
        }
    }
    putCyanRight(screen, 4, format("%+d\u00B0C", perf.crzIsaDev));
    label(screen, 5, 1, "CRZ WINDS");
    labelEndingAt(screen, 5, 22, "AT ALTITUDE");
    putCyan(screen, 6, 0, FmsParser::formatWindTrue(perf.crzWindDir, perf.crzWindStrength));
    putCyanRight(screen, 6, parser.formatAltitude(perf.crzWindAlt));
    screen.drawLeftPrompt("PERF PLAN", false, 7);
}

void PerfInitPage::drawWeightLine(int32_t row, double pounds, bool rounded) const {
    putCyan(fms.screen, row, 0,
            pounds < 0.0 ? std::string(kFiveDashes)
                         : FmsParser::formatWeight(pounds, kilograms(), rounded));
}

void PerfInitPage::drawWeightSubPage() const {
    CduScreen& screen = fms.screen;
    const PerfInit& perf = record();
    const bool kg = kilograms();
    drawUnitTitle();
    label(screen, 1, 1, "BOW");
    labelEndingAt(screen, 1, 22, std::string("PASS/@ ") + weightUnit(kg));
    drawWeightLine(2, perf.bow, false);
    putCyanRight(screen, 2,
                 perf.passengerCount < 0
                     ? "\u2013\u2013\u2013/" + weightText(perf.paxWeight)
                     : FmsParser::formatPassengers(perf.passengerCount, perf.paxWeight, kg));
    label(screen, 3, 1, "FUEL (GAUGE)");
    labelEndingAt(screen, 3, 22, "PASS WT");
    drawWeightLine(4, perf.fuelWeight, true);
    screen.putText(4, 6, "(     )", CduColour::Cyan, false, false);
    const Aircraft* aircraft = fms.owner();
    if (const FuelSystem* tanks = aircraft ? aircraft->fuelSystem() : nullptr) {
        screen.putText(4, 7, FmsParser::formatWeight(tanks->leftFuel + tanks->rightFuel, kg, true),
                       CduColour::Cyan, false, false);
    }
    putCyanRight(screen, 4,
                 perf.passengerCount < 0 ? std::string(kFiveDashes)
                                         : weightText(perf.passengerCount * perf.paxWeight));
    label(screen, 5, 1, "CARGO");
    labelEndingAt(screen, 5, 22, "GROSS WT");
    drawWeightLine(6, perf.cargoWeight, false);
    putCyanRight(screen, 6,
                 perf.isComplete() ? FmsParser::formatWeight(perf.grossWeight(), kg, true)
                                   : std::string(kFiveDashes));
    if (weightsComplete() && !perf.initialised) {
        screen.drawRightPrompt("CONFIRM INIT", true, 7);
    }
}

void PerfInitPage::onKey(int32_t key) {
    PerfInit& perf = record();
    if (turnSubPage(key, perf.subPage, perf.pageCount)) {
        return;
    }
    if (key == kR4 && perf.isComplete() && perf.initialised) {
        fms.setPage(kPerfData, 1);
        return;
    }
    switch (perf.subPage) {
    case 1:
        if (key == kL4) {
            fms.setPage(kMaintenance, 1);
        }
        break;
    case 2:
        onScheduleKey(key);
        break;
    case 3:
        onFuelKey(key);
        break;
    case 4:
        onLimitsKey(key);
        break;
    case 5:
        onWeightKey(key);
        break;
    default:
        break;
    }
}

void PerfInitPage::onScheduleKey(int32_t key) {
    switch (key) {
    case kL1:
        enterClimbSchedule();
        break;
    case kL2:
        enterCruiseSchedule();
        break;
    case kL3:
        enterDescentSchedule();
        break;
    case kL4:
        fms.setPage(kDepAppSpeed, 1);
        break;
    case kR1:
        fms.setPage(kClimbModes, 1);
        break;
    case kR2:
        fms.setPage(kCruiseModes, 1);
        break;
    case kR3:
        fms.setPage(kDescentModes, 1);
        break;
    default:
        break;
    }
}

void PerfInitPage::enterClimbSchedule() {
    PerfInit& perf = record();
    handleEntry(
        fms,
        [&] {
            fms.setScratchpad(
                perf.isManualClimb
                    ? FmsParser::formatSpeedMach(perf.manualClimbIas, perf.manualClimbMach)
                    : FmsParser::formatSpeedMach(perf.defaultClimbIas, perf.defaultClimbMach));
        },
        [&] { perf.isManualClimb = false; },
        [&](std::string_view text) { return enterManualClimb(perf, text) ? kTaken : kRefused; });
}

void PerfInitPage::enterCruiseSchedule() {
    PerfInit& perf = record();
    handleEntry(
        fms,
        [&] {
            if (perf.cruizeMode == 3) {
                fms.setScratchpad(
                    FmsParser::formatSpeedMach(perf.cruiseTarget.ias, perf.cruiseTarget.mach));
            }
        },
        [&] { perf.cruizeMode = 0; },
        [&](std::string_view text) {
            if (!parseCruiseSchedule(text, perf.manualCruiseIas, perf.manualCruiseMach)) {
                return kRefused;
            }
            perf.cruizeMode = 3;
            return kTaken;
        });
}

void PerfInitPage::enterDescentSchedule() {
    PerfInit& perf = record();
    handleEntry(
        fms,
        [&] {
            fms.setScratchpad(perf.descentMode == 1
                                  ? format("//%3.1lf", perf.vmoMmoDescentAngle)
                                  : FmsParser::formatSpeedMachAngle(perf.descentSpeed(Adc::vmo),
                                                                    perf.descentMach(Adc::mmo),
                                                                    perf.descentAngle()));
        },
        [&] { perf.descentMode = 0; },
        [&](std::string_view text) {
            if (perf.descentMode != 1) {
                return enterManualDescent(perf, text) ? kTaken : kRefused;
            }
            int32_t speed = 0;
            double mach = 0.0;
            double angle = 0.0;
            if (!FmsParser::parseSpeedMachAngle(text, speed, mach, angle)) {
                return kRefused;
            }
            if (speed == 0 && mach == 0.0) {
                perf.vmoMmoDescentAngle = angle;
            } else {
                perf.manualDescentIas = speed != 0 ? speed : perf.manualDescentIas;
                perf.manualDescentMach = mach != 0.0 ? mach : perf.manualDescentMach;
                perf.manualDescentAngle = angle != 0.0 ? angle : perf.vmoMmoDescentAngle;
                perf.descentMode = 2;
            }
            return kTaken;
        });
}

void PerfInitPage::onFuelKey(int32_t key) {
    switch (key) {
    case kL2:
        enterFuelReserve();
        break;
    case kL3:
        enterTakeoffLandingFuel();
        break;
    case kR2:
        fms.setPage(kFuelReserve, 1);
        break;
    default:
        break;
    }
}

void PerfInitPage::enterFuelReserve() {
    PerfInit& perf = record();
    // Under the NBAA rule a typed reserve means nothing: it stays in the pad, unremarked.
    if (perf.fuelReserveType == 0 && !fms.scratchPad.text().empty() && !fms.isScratchpadDelete()) {
        return;
    }
    handleEntry(
        fms,
        [&] {
            if (perf.fuelReserveType == 1) {
                fms.setScratchpad(weightText(perf.fuelReserveWeight));
            } else if (perf.fuelReserveType != 0) {
                fms.setScratchpad(format("%1.0lf", perf.fuelReserveTime));
            }
        },
        [&] { perf.fuelReserveType = 0; },
        [&](std::string_view text) {
            int32_t value = 0;
            if (perf.fuelReserveType == 1) {
                if (!FmsParser::parseWeight(text, value)) {
                    return kRefused;
                }
                perf.fuelReserveWeight = poundsFromUnit(value, kilograms());
                return kTaken;
            }
            if (!FmsParser::parseIntegerTo600(text, value)) {
                return kRefused;
            }
            perf.fuelReserveTime = value;
            perf.fuelReserveType = 2;
            return kTaken;
        });
}

void PerfInitPage::enterTakeoffLandingFuel() {
    PerfInit& perf = record();
    handleEntry(
        fms, [&] { fms.setScratchpad(weightText(perf.toFuel) + "/" + weightText(perf.landFuel)); },
        [&] {
            perf.toFuel = perf.defaultToFuel;
            perf.landFuel = perf.defaultLandFuel;
        },
        [&](std::string_view text) {
            // The parts not typed keep their value as the page shows it.
            int32_t takeoff = FmsParser::weightInUnit(perf.toFuel, kilograms());
            int32_t landing = FmsParser::weightInUnit(perf.landFuel, kilograms());
            if (!FmsParser::parseWeightPair(text, takeoff, landing)) {
                return kRefused;
            }
            perf.toFuel = poundsFromUnit(takeoff, kilograms());
            perf.landFuel = poundsFromUnit(landing, kilograms());
            if (const Aircraft* aircraft = fms.owner()) {
                aircraft->writeIniInt("Fms.Perf", "toFuel",
                                      static_cast<int32_t>(std::trunc(perf.toFuel)));
            }
            return kTaken;
        });
}

void PerfInitPage::onLimitsKey(int32_t key) {
    PerfInit& perf = record();
    const FmsParser& parser = fms.parser;
    switch (key) {
    case kL1:
        handleEntry(
            fms, [&] { fms.setScratchpad(parser.formatAltitude(perf.transAlt)); },
            [&] { perf.transAlt = kDefaultTransAlt; },
            [&](std::string_view text) {
                return FmsParser::parseIntegerTo60000(text, perf.transAlt) ? kTaken : kRefused;
            });
        break;
    case kR1:
        handleEntry(
            fms, [&] { fms.setScratchpad(parser.formatSpeedAltitude(perf.spdLim, perf.altLim)); },
            [&] {
                perf.spdLim = 0;
                perf.altLim = 0;
            },
            [&](std::string_view text) {
                int32_t speed = perf.spdLim;
                int32_t altitude = perf.altLim;
                if (!FmsParser::parseSpeedAltitude(text, speed, altitude)) {
                    return kRefused;
                }
                perf.spdLim = speed;
                perf.altLim = altitude;
                return kTaken;
            });
        break;
    case kL2:
        enterInitialCruiseAltitude();
        break;
    case kR2:
        handleEntry(
            fms, [&] { fms.setScratchpad(format("%d", perf.crzIsaDev)); },
            [&] { perf.crzIsaDev = 0; },
            [&](std::string_view text) {
                return FmsParser::parseIsaDeviation(text, perf.crzIsaDev) ? kTaken : kRefused;
            });
        break;
    case kL3:
        handleEntry(
            fms,
            [&] {
                fms.setScratchpad(FmsParser::formatWindTrue(perf.crzWindDir, perf.crzWindStrength));
            },
            [&] {
                perf.crzWindDir = 0;
                perf.crzWindStrength = 0;
            },
            [&](std::string_view text) {
                int32_t direction = perf.crzWindDir;
                int32_t speed = perf.crzWindStrength;
                if (!FmsParser::parseWind(text, direction, speed)) {
                    return kRefused;
                }
                perf.crzWindDir = direction;
                perf.crzWindStrength = speed;
                return kTaken;
            });
        break;
    case kR3:
        handleEntry(
            fms, [&] { fms.setScratchpad(parser.formatAltitude(perf.crzWindAlt)); },
            [&] { perf.crzWindAlt = 0; },
            [&](std::string_view text) {
                return FmsParser::parseAltitude(text, perf.crzWindAlt) ? kTaken : kRefused;
            });
        break;
    case kL4:
        fms.setPage(kPerfPlan, 1);
        break;
    default:
        break;
    }
}

void PerfInitPage::enterInitialCruiseAltitude() {
    PerfInit& perf = record();
    handleEntry(
        fms,
        [&] {
            if (!perf.optimumRequested) {
                fms.setScratchpad(fms.parser.formatAltitude(perf.initCrzAlt));
            }
        },
        [&] {
            perf.optimumRequested = true;
            perf.isOptimum = false;
        },
        [&](std::string_view text) {
            int32_t altitude = 0;
            if (!FmsParser::parseAltitude(text, altitude)) {
                return kRefused;
            }
            const Aircraft* aircraft = fms.owner();
            const FlightDirector* director = aircraft ? aircraft->flightDirector() : nullptr;
            const char* refusal = perf.enterInitialCruiseAltitude(
                altitude, director ? director->altitudePreselect() : 0.0f);
            if (!refusal) {
                return kTaken;
            }
            return Refusal{refusal, refusal == PerfInit::kResetAltSel ? 1 : 0};
        });
}

void PerfInitPage::onWeightKey(int32_t key) {
    PerfInit& perf = record();
    const bool kg = kilograms();
    const auto weightLine = [&](double& field, PerfInit::Weight which) {
        handleEntry(
            fms,
            [&] {
                if (field >= 0.0) {
                    fms.setScratchpad(weightText(field));
                }
            },
            [&] {
                field = PerfInit::kNotEntered;
                perf.initialised = false;
            },
            [&](std::string_view text) {
                int32_t value = 0;
                if (!FmsParser::parseWeight(text, value) ||
                    perf.enterWeight(which, poundsFromUnit(value, kg))) {
                    return kRefused;
                }
                if (which == PerfInit::Weight::Fuel) {
                    compareFuelWithGauges();
                }
                return kTaken;
            });
    };
    switch (key) {
    case kL1:
        weightLine(perf.bow, PerfInit::Weight::Bow);
        break;
    case kL2:
        weightLine(perf.fuelWeight, PerfInit::Weight::Fuel);
        break;
    case kL3:
        weightLine(perf.cargoWeight, PerfInit::Weight::Cargo);
        break;
    case kR1:
        handleEntry(
            fms,
            [&] {
                if (perf.passengerCount >= 0) {
                    fms.setScratchpad(
                        FmsParser::formatPassengers(perf.passengerCount, perf.paxWeight, kg));
                }
            },
            [&] {
                perf.paxWeight = kDeletedPassengerWeight;
                perf.passengerCount = -1;
                perf.initialised = false;
            },
            [&](std::string_view text) {
                int32_t count = perf.passengerCount;
                int32_t weight = 0;
                if (!FmsParser::parsePassengers(text, count, weight)) {
                    return kRefused;
                }
                perf.passengerCount = count;
                if (weight != 0) {
                    perf.paxWeight = poundsFromUnit(weight, kg);
                }
                return kTaken;
            });
        break;
    case kR4:
        confirm();
        break;
    default:
        break;
    }
}

void PerfInitPage::compareFuelWithGauges() {
    const Aircraft* aircraft = fms.owner();
    const FuelSystem* tanks = aircraft ? aircraft->fuelSystem() : nullptr;
    const double gauges = tanks ? tanks->leftFuel + tanks->rightFuel : 0.0;
    if (std::fabs(record().fuelWeight - gauges) >= kFuelCompareDifference) {
        fms.showMessage("COMPARE FUEL QUANTITY", 1);
    }
}

void PerfInitPage::confirm() {
    PerfInit& perf = record();
    if (perf.isComplete() && !perf.initialised) {
        fms.updateFuelPredictions();
        fms.setPage(kPerfData, 1);
    }
}

} // namespace tavi
