// The radio, memory, menu, maintenance and fuel backup pages of the radio management unit.
#include "airframe/FuelSystem.h"
#include "airframe/Mechanisation.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Radio.h"
#include "avionics/Transponder.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Units.h"
#include "displays/Rmu.h"
#include "displays/RmuDrawing.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::RectF;

namespace {

// Frequencies on the radio page: seven characters, or six with the point wider apart.
const std::vector<double> kComWideX = {13, 24, 35, 49, 57, 68};
const std::vector<double> kComNarrowX = {13, 23, 33, 44, 49, 59, 69};
const std::vector<double> kNavX = {93, 104, 115, 129, 137, 148};
const std::vector<double> kCodeX = {28, 39, 50, 61};
const std::vector<double> kAdfX = {93, 104, 115, 126, 140, 148};

// Cursor boxes of the radio page by cursor value 1..3.
const std::vector<RectF> kComCursorBoxes = {{14, 44, 72, 20}, {14, 66, 72, 15}, {14, 21, 72, 20}};
const std::vector<RectF> kNavCursorBoxes = {{94, 44, 72, 20}, {94, 66, 72, 15}, {94, 21, 72, 20}};
const std::vector<RectF> kTransponderCursorBoxes = {{14, 99, 72, 20}, {14, 120, 72, 15}};
const std::vector<RectF> kAdfCursorBoxes = {{94, 99, 72, 20}, {94, 121, 72, 15}};
const std::vector<RectF> kTcasCursorBoxes = {{14, 164, 72, 20}, {14, 188, 72, 20}};

void drawCursorBox(Canvas& canvas, const std::vector<RectF>& boxes, int32_t cursor) {
    if (cursor >= 1 && cursor <= static_cast<int32_t>(boxes.size())) {
        canvas.drawRectangle(rmu::kCursorPen, boxes[static_cast<std::size_t>(cursor - 1)]);
    }
}

std::string memoryLabel(bool fromMemory, int32_t index) {
    const int32_t number = index + 1;
    if (fromMemory) {
        return number < 10 ? format("MEMORY-%3d", number) : format("MEMORY-%2d", number);
    }
    return number < 10 ? format("TEMP-%3d", number) : format("TEMP-%2d", number);
}

std::string transponderModeText(int32_t mode, int32_t side) {
    switch (mode) {
    case kTransponderStandby:
        return "STANDBY";
    case kTransponderAtcOn:
        return format("%d ATC ON", side);
    case kTransponderAtcAltitude:
        return format("%d ATC ALT", side);
    case kTransponderTaOnly:
        return format("%d TA ONLY", side);
    case kTransponderTaRa:
        return format("%d TA/RA", side);
    default:
        return {};
    }
}

const char* adfModeText(int32_t mode) {
    static constexpr const char* kModes[] = {"ANT", "ADF", "BFO", "VOICE"};
    return mode >= 0 && mode < 4 ? kModes[mode] : "";
}

const char* altitudeBandText(int32_t band) {
    static constexpr const char* kBands[] = {"BELOW", "NORMAL", "ABOVE"};
    return band >= 0 && band < 3 ? kBands[band] : "";
}

std::string_view firstCharacters(std::string_view text, std::size_t count) {
    return text.substr(0, std::min(count, text.size()));
}

// Whole tens of a quantity, as the backup pages show fuel.
std::string tens(float value) {
    return format("%d", rmu::truncated(value) / 10 * 10);
}

struct SoftwareVersion {
    const char* name;
    const char* partNumber;
    double y;
    bool dotted;
};

constexpr SoftwareVersion kSoftwareVersions[] = {
    {"COM UNIT", "7024295-102", 26, false},  {"COM     ", "7022928-101", 38, true},
    {"ATC PGM1", "7517419-105", 50, false},  {"ATC PGM2", "7517418-103", 62, false},
    {"NAV UNIT", "7510233-105", 82, false},  {"NAV     ", "7510203-109", 94, true},
    {"DME PGM1", "7510228-111", 106, false}, {"DME PGM2", "7510243-105", 118, false},
    {"ADF     ", "7510163-110", 130, true},  {"RMU PGM1", "7025035-103", 150, false},
    {"RMU PGM2", "7019886-102", 162, false},
};
constexpr uint32_t kVersionRowMs = 300;

} // namespace

// The radio page.

void Rmu::drawRadioFrame(Canvas& canvas, const RadioUnit& unit) {
    canvas.drawRectangle(rmu::kGreenPen, {10, 10, 160, 203});
    canvas.drawLine(rmu::kGreenPen, {90, 10}, {90, 213});
    canvas.drawLine(rmu::kGreenPen, {10, 90}, {170, 90});
    canvas.drawLine(rmu::kGreenPen, {10, 155}, {170, 155});
    const Argb labels = titleColour();
    const auto label = [&](const std::string& text, std::size_t characters, RectF cut, double x,
                           double y, Argb colour) {
        canvas.fillRectangle(backgroundColor, cut);
        drawText(canvas, firstCharacters(text, characters), font12, colour, x, y);
    };
    label(format("COM %d", controlledSide), 5, {16, 8, 34, 5}, 16, 6, labels);
    if (unit.sqActive) {
        label("SQ", 2, {65, 8, 16, 5}, 65, 6, rmu::kWhite);
    }
    label(format("NAV %d", controlledSide), 5, {96, 8, 32, 5}, 96, 6, labels);
    label("ATC/TCAS", 8, {16, 88, 54, 5}, 16, 86, labels);
    const bool replying = TransponderMode != kTransponderStandby;
    canvas.fillRectangle(backgroundColor, {80, 85, 6, 10});
    canvas.drawRectangle(replying ? rmu::kCursorPen : rmu::kGreenPen, {80, 85, 6, 10});
    if (replying && (now() / 1000) % 2 == 1) {
        canvas.fillRectangle(rmu::kYellow, {82, 87, 2, 6});
    }
    if (radio->identActive) {
        label("ID", 2, {67, 88, 11, 4}, 67, 85, rmu::kYellow);
    }
    label(format("ADF %d", controlledSide), 5, {96, 88, 32, 5}, 96, 86, labels);
    const std::string tcas = format("TCAS DSPY %d", controlledSide);
    label(tcas, tcas.size(), {16, 153, 70, 5}, 16, 151, labels);
}

void Rmu::drawRadioPage(Canvas& canvas) {
    const RadioUnit& unit = *controlledUnit();
    drawRadioFrame(canvas, unit);
    drawComAndNav(canvas, unit);
    drawTransponderAndAdf(canvas, unit);
    drawTcasDisplay(canvas, unit);
}

void Rmu::drawComAndNav(Canvas& canvas, const RadioUnit& unit) {
    drawFrequencyField(canvas,
                       {unit.comActiveText, unit.comStandbyText, unit.comStandby, unit.comCursor,
                        unit.comStandbyFromMemory, unit.comMemoryIndex},
                       unit.comWideBandwidth ? kComWideX : kComNarrowX, 13, kComCursorBoxes);
    drawFrequencyField(canvas,
                       {unit.navActiveText, unit.navStandbyText, unit.navStandby, unit.navCursor,
                        unit.navStandbyFromMemory, unit.navMemoryIndex},
                       kNavX, 93, kNavCursorBoxes);
}

void Rmu::drawFrequencyField(Canvas& canvas, const FrequencyField& field,
                             const std::vector<double>& xs, double left,
                             const std::vector<RectF>& cursorBoxes) {
    drawAt(canvas, field.activeText, frequencyFont, rmu::kWhite, xs, 20);
    if (field.cursor != RadioUnit::kCursorActive) {
        if (field.standby != 0) {
            drawAt(canvas, field.standbyText, frequencyFont, rmu::kCyan, xs, 43);
        }
        drawText(canvas, memoryLabel(field.fromMemory, field.memoryIndex), font14, rmu::kCyan,
                 field.fromMemory ? left : left + 10, 66);
    }
    drawCursorBox(canvas, cursorBoxes, field.cursor);
}

void Rmu::drawTransponderAndAdf(Canvas& canvas, const RadioUnit& unit) {
    drawAt(canvas, unit.transponderText, frequencyFont, rmu::kWhite, kCodeX, 98);
    drawCentred(canvas, transponderModeText(TransponderMode, radio->transponderSide), font14,
                rmu::kYellowGreen, 10, 80, 120);
    if (unit.flightIdEnabled) {
        drawCentred(canvas, radio->flightNumber, font14, rmu::kWhite, 10, 80, 136);
    }
    drawCursorBox(canvas, kTransponderCursorBoxes, unit.transponderCursor);
    drawAt(canvas, unit.adfActiveText, frequencyFont, rmu::kWhite, kAdfX, 98);
    drawCentred(canvas, adfModeText(unit.adfMode), font14, rmu::kYellowGreen, 90, 80, 120);
    drawCursorBox(canvas, kAdfCursorBoxes, unit.adfCursor);
}

void Rmu::drawTcasDisplay(Canvas& canvas, const RadioUnit& unit) {
    drawText(canvas, "RANGE:", font12, rmu::kCyan, 14, 168);
    drawRightAligned(canvas, format("%d", unit.tcasRange), font18, rmu::kGreen, 88, 163);
    drawCentred(canvas, altitudeBandText(unit.tcasAltitudeBand), font18, rmu::kGreen, 10, 80, 187);
    drawCursorBox(canvas, kTcasCursorBoxes, unit.otherCursor);
}

// The COM and NAV memory pages.

void Rmu::drawMemoryPage(Canvas& canvas, bool nav) {
    const RadioUnit& unit = *controlledUnit();
    canvas.drawRectangle(rmu::kGreenPen, {10, 10, 160, 203});
    canvas.fillRectangle(backgroundColor, {16, 8, 34, 4});
    drawText(canvas, firstCharacters(format(nav ? "NAV %d" : "COM %d", controlledSide), 5), font12,
             titleColour(), 16, 5);
    if (!nav && unit.sqActive) {
        canvas.fillRectangle(backgroundColor, {65, 8, 16, 4});
        drawText(canvas, "SQ", font12, rmu::kWhite, 65, 5);
    }
    drawText(canvas, "MORE", font14, rmu::kGreen, 14, 158);
    drawReturnLabel(canvas, 14);
    drawRightAligned(canvas, "INSERT", font14, rmu::kGreen, 167, 158);
    drawRightAligned(canvas, "DELETE", font14, rmu::kGreen, 167, 184);
    drawAt(canvas, nav ? unit.navActiveText : unit.comActiveText, frequencyFont, rmu::kWhite,
           kComWideX, 18);
    if (nav) {
        drawText(canvas, "FMS", font14, rmu::kMagenta, 120, 13);
        drawRightAligned(canvas, unit.navAutoTuning ? "ENABLED" : "DISABLED", font14, rmu::kGreen,
                         170, 26);
    }
    canvas.drawLine(rmu::kGreenPen, {10, 46}, {170, 46});
    const double memoriesWidth = canvas.measureString("MEMORIES", font14).width;
    canvas.fillRectangle(backgroundColor,
                         {(kWidth - memoriesWidth) / 2 - 2, 44, memoriesWidth + 4, 4});
    drawText(canvas, "MEMORIES", font14, rmu::kGreen, (kWidth - memoriesWidth) / 2, 39);

    const auto& memories = nav ? unit.navMemories : unit.comMemories;
    const auto& texts = nav ? unit.navMemoryTexts : unit.comMemoryTexts;
    for (int32_t line = 0; line < RadioUnit::kMemoryPageSize; ++line) {
        const auto memory = static_cast<std::size_t>(memoryFirstLine + line);
        const double y = 56 + 32 * (line % 3);
        const double numberRight = line < 3 ? 30 : 110;
        drawRightAligned(canvas, format("%d", static_cast<int32_t>(memory) + 1), font14,
                         rmu::kGreen, numberRight, y + 4);
        if (memory < memories.size() && memories[memory] != 0) {
            const double x = numberRight;
            drawAt(canvas, texts[memory], font18, rmu::kCyan,
                   {x, x + 8.5, x + 17, x + 27.5, x + 34, x + 42.5}, y);
        }
    }
    if (selectedMemoryLine != -1) {
        const int32_t n = selectedMemoryLine % RadioUnit::kMemoryPageSize;
        canvas.drawRectangle(rmu::kCursorPen, {n < 3 ? 13.0 : 93.0, 56.0 + 32 * (n % 3), 74, 20});
    }
}

// The page menu, ATC/TCAS control and system select pages.

void Rmu::drawPageMenu(Canvas& canvas) {
    drawTitle(canvas, format("SYSTEM %d PAGE MENU", controlledSide), 22, 158);
    drawPitched(canvas, "COM", font14, rmu::kGreen, 4, 8, 30);
    drawText(canvas, " MEMORY", font14, rmu::kGreen, 30, 30);
    drawPitched(canvas, "NAV", font14, rmu::kGreen, 4, 8, 56);
    drawText(canvas, " MEMORY", font14, rmu::kGreen, 30, 56);
    drawRightAligned(canvas, "NAVIGATION", font14, rmu::kGreen, 177, 56);
    drawRightAligned(canvas, "ENGINE", font14, rmu::kGreen, 177, 94);
    drawText(canvas, "ATC/TCAS", font14, rmu::kGreen, 4, 158);
    drawReturnLabel(canvas, 4);
    const double selectWidth = canvas.measureString("SELECT", font14).width;
    drawText(canvas, "SELECT", font14, rmu::kGreen, 177 - selectWidth, 158);
    drawText(canvas, "SYS", font14, rmu::kGreen, 177 - selectWidth * 10 / 6 + 2, 158);
    if (ahrs && ahrs->onGround) {
        drawRightAligned(canvas, "MAINTENANCE", font14, rmu::kGreen, 177, 184);
    }
}

void Rmu::drawAtcTcasPage(Canvas& canvas) {
    const RadioUnit& unit = *controlledUnit();
    drawTitle(canvas, "ATC/TCAS CONTROL", 28, 152);
    drawText(canvas, "INTRUDER ALTITUDE:", font14, rmu::kCyan, 4, 30);
    drawText(canvas, unit.timedSelect ? "FL" : "REL", font14,
             unit.timedSelect ? rmu::kCyan : rmu::kGreen, 138, 30);
    drawText(canvas, "TA DISPLAY:", font14, rmu::kCyan, 4, 56);
    drawText(canvas, unit.taDisplayManual ? "MANUAL" : "AUTO", font14, rmu::kGreen, 86, 56);
    drawText(canvas, "FLIGHT ID:", font14, rmu::kCyan, 4, 94);
    drawPitched(canvas, radio->flightNumber, font14, rmu::kWhite, 74, 8, 94);
    drawText(canvas, format("ATC ALTITUDE %d", controlledSide), font14, rmu::kWhite, 4, 158);
    if (adc) {
        float altitude = std::isfinite(adc->pressureAltitude) ? adc->pressureAltitude : 0.0f;
        // No negative zero just below sea level.
        if (altitude > -0.5f && altitude < 0.0f) {
            altitude = 0.0f;
        }
        drawText(canvas, format("%6.0f", altitude), font14, rmu::kWhite, 120, 158);
    }
    drawReturnLabel(canvas, 4);
}

void Rmu::drawSystemSelectPage(Canvas& canvas) {
    drawTitle(canvas, "SYSTEM SELECT", 40, 140);
    const auto bandwidth = [&](const RadioUnit& unit, const char* name, double y) {
        drawText(canvas, name, font14, rmu::kCyan, 69, y - 12);
        drawText(canvas, "BNDWD:", font14, rmu::kCyan, 60, y);
        drawPitched(canvas, unit.comWideBandwidth ? "  WIDE" : "NARROW", font14, rmu::kGreen, 118,
                    9, y, 'I', 4);
    };
    bandwidth(radio->unit1, "COM1", 94);
    bandwidth(radio->unit2, "COM2", 120);
    drawReturnLabel(canvas, 4);
}

// The maintenance pages.

void Rmu::drawMaintDataPage(Canvas& canvas) {
    drawTitle(canvas, format("MAINT DATA SYSTEM %d", controlledSide), 22, 158);
    drawCentred(canvas, "STRAPS", font14, rmu::kGreen, 0, kWidth, 30);
    drawCentred(canvas, "SOFTWARE VERSIONS", font14, rmu::kGreen, 0, kWidth, 56);
    drawCentred(canvas, "MAINTENANCE LOG", font14, rmu::kGreen, 0, kWidth, 94);
    drawCentred(canvas, "RMU SETUP", font14, rmu::kGreen, 0, kWidth, 120);
    drawReturnLabel(canvas, 4);
}

void Rmu::drawSetupPage(Canvas& canvas) {
    const RadioUnit& unit = *controlledUnit();
    drawTitle(canvas, format("RMU SETUP SYSTEM %d", controlledSide), 23, 157);
    const auto setting = [&](const char* label, bool enabled, double y) {
        drawText(canvas, label, font14, rmu::kGreen, 4, y);
        drawPitched(canvas, enabled ? " ENABLED" : "DISABLED", font14, rmu::kWhite,
                    canvas.measureString(label, font14).width + 2, 8, y, 'I', 3);
    };
    setting("MLS DISPLAY-", unit.mlsDisplayEnabled, 30);
    setting("ATC FLIGHT ID-", unit.flightIdEnabled, 56);
    setting("TCAS DISPLAY-", unit.tcasDisplayEnabled, 94);
    setting("TCAS RNG 80/120-", unit.extendedTcasRange, 120);
    setting("AUTO BRIGHT-", unit.autoBrightEnabled, 158);
    drawReturnLabel(canvas, 4);
    drawMaintMenuLabel(canvas);
}

void Rmu::drawSoftwareVersionsPage(Canvas& canvas) {
    drawTitle(canvas, format("SOFTWARE VERSIONS SYS %d", controlledSide), 4, 176);
    const uint32_t shown = now() - versionsEntryTime;
    uint32_t from = kVersionRowMs;
    for (const SoftwareVersion& row : kSoftwareVersions) {
        if (shown < from) {
            break;
        }
        drawPitched(canvas, row.name, font14, rmu::kWhite, 4, 8, row.y, 'I', 3);
        if (row.dotted) {
            drawAt(canvas, ".....", font14, rmu::kWhite, {38, 44, 50, 56, 62}, row.y);
        }
        drawPitched(canvas, row.partNumber, font14, rmu::kYellow, 74, 8, row.y, '-', 2);
        from += kVersionRowMs;
    }
    drawReturnLabel(canvas, 4);
    drawMaintMenuLabel(canvas);
}

// The fuel, flap and gear backup page.

void Rmu::drawEngineBackup2Page(Canvas& canvas) {
    drawCentred(canvas, fuelUseKg ? "FQ  KG" : "FQ  LBS", font14, rmu::kWhite, 0, kWidth, 10);
    if (fuelSystem) {
        const auto& limits = fuelSystem->displayLimits[0];
        const float amberLimit = fuelUseKg ? limits[2] : limits[0];
        const float redLimit = fuelUseKg ? limits[3] : limits[1];
        const auto tank = [&](float pounds, bool right) {
            const float quantity = fuelUseKg ? pounds * kKilogramsPerPound : pounds;
            Argb colour = rmu::kGreen;
            if (quantity < redLimit) {
                colour = rmu::kRed;
                canvas.drawRectangle(rmu::kRedPen, {right ? 130.0 : 14.0, 10, 36, 15});
            } else if (quantity <= amberLimit) {
                colour = rmu::kAmber;
                canvas.drawRectangle(rmu::kAmberPen, {right ? 130.0 : 14.0, 10, 36, 15});
            }
            const std::string value = tens(quantity);
            if (right) {
                drawPitchedRight(canvas, value, font14, colour, 162, 7, 10);
            } else {
                drawPitched(canvas, value, font14, colour, 16, 7, 10);
            }
        };
        tank(fuelSystem->leftFuel, false);
        tank(fuelSystem->rightFuel, true);
    }
    drawCentred(canvas, "FLAP", font14, rmu::kWhite, 0, kWidth, 30);
    if (mechanisation) {
        const float flaps = mechanisation->flapAngle;
        const bool detent =
            flaps == 0.0f || flaps == 9.0f || flaps == 18.0f || flaps == 22.0f || flaps == 45.0f;
        drawPitchedRight(canvas, detent ? format("%d", rmu::truncated(flaps)) : "--", font14,
                         rmu::kGreen, 162, 7, 30);
        if (rmu::gearDownAndLocked(mechanisation->gearPositions)) {
            drawText(canvas, "LG  DOWN  LOCKED", font14, rmu::kGreen, 16, 64);
        }
    }
    drawText(canvas, "MORE", font14, rmu::kGreen, 4, 184);
}

} // namespace tavi
