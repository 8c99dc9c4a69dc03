#include "displays/Rmu.h"

#include "airframe/Electric.h"
#include "avionics/Radio.h"
#include "core/Aircraft.h"
#include "core/ModuleGraphics.h"
#include "displays/RmuDrawing.h"
#include "platform/gfx/Surface.h"

#include <cstddef>

namespace tavi {

using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::Font;

namespace {

constexpr float kRmuLoad = 5.0f;
constexpr int kSide1Bus = 3;
constexpr int kSide2Bus = 4;

// The character that starts at byte i of a UTF-8 text.
std::size_t characterLength(std::string_view text, std::size_t i) {
    std::size_t length = 1;
    while (i + length < text.size() &&
           (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

int32_t characterCount(std::string_view text) {
    int32_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += characterLength(text, i)) {
        ++count;
    }
    return count;
}

} // namespace

Rmu::Rmu(int32_t side)
    : ownSide(side), controlledSide(side),
      font12(privateFontCollection().face("Arial Narrow"), 12.0),
      font14(privateFontCollection().face("Arial Narrow"), 14.0),
      font16(privateFontCollection().face("Arial Narrow"), 16.0),
      font18(privateFontCollection().face("Arial Narrow"), 18.0),
      frequencyFont(privateFontCollection().face("Arial"), 20.0) {
    variableIds.fill(-1);
}

void Rmu::update(Aircraft& plane) {
    aircraft = &plane;
    radio = plane.radio();
    ahrs = plane.ahrs();
    adc = plane.adc();
    engine1 = plane.engine1();
    engine2 = plane.engine2();
    fuelSystem = plane.fuelSystem();
    mechanisation = plane.mechanisation();
    if (RadioUnit* unit = controlledUnit()) {
        if (now() - plane.rmuLastKeyTime >= kIdleTimeoutMs &&
            unit->comCursor != RadioUnit::kCursorStandby) {
            resetCursor();
        }
        if (now() - navBackupKeyTime >= kIdleTimeoutMs &&
            unit->navBackupKnobMode != RadioUnit::kBackupKnobCourse) {
            unit->selectNavBackupKnob(RadioUnit::kBackupKnobCourse);
        }
    }
    registerNamedVariables();
    pollNamedVariables();
    dataReady = true;
}

void Rmu::loadSettings(Aircraft& plane) {
    PanelElement::loadSettings(plane);
    fuelUseKg = plane.fuelUseKg();
    loadFrameRate(plane, "rmu");
}

void Rmu::addElectricLoad(Aircraft& plane, BusLoads& loads) {
    const Electric* electric = plane.electric();
    const bool masterOn =
        electric && (ownSide == 1 ? electric->avionicsMaster1 : electric->avionicsMaster2);
    if (masterOn && !unpowered) {
        loads[ownSide == 1 ? kSide1Bus : kSide2Bus] += kRmuLoad;
    }
}

void Rmu::updatePower(Aircraft& plane) {
    const Electric* electric = plane.electric();
    const bool powered =
        electric && (ownSide == 1 ? electric->avionicsMaster1 && electric->isPowered(kSide1Bus)
                                  : electric->avionicsMaster2 && electric->isPowered(kSide2Bus));
    unpowered = !powered;
}

RadioUnit* Rmu::controlledUnit() const {
    if (!radio) {
        return nullptr;
    }
    return controlledSide == 2 ? &radio->unit2 : &radio->unit1;
}

uint32_t Rmu::now() const {
    return aircraft ? aircraft->timeMs() : 0;
}

void Rmu::resetCursor() {
    if (RadioUnit* unit = controlledUnit()) {
        unit->setComCursor(RadioUnit::kCursorStandby);
    }
    selectedMemoryLine = -1;
    memoryFirstLine = 0;
}

void Rmu::setPage(int32_t newPage) {
    resetCursor();
    page_ = newPage;
}

int Rmu::draw(platform::gfx::Surface& surface, int, int, bool blank) {
    if (!isFrameDue()) {
        return 0;
    }
    Canvas canvas(surface);
    if (!dataReady || unpowered || blank || !controlledUnit()) {
        canvas.clear(kOpaqueBlack);
        return canvas.status();
    }
    applyQuality(canvas);
    clearBackground(canvas, kWidth, kHeight);
    drawPage(canvas);
    if (dimMode) {
        drawDimPage(canvas);
    }
    canvas.resetTransform();
    canvas.resetClip();
    if (brightness < kNeutralBrightness && compositingMode == kCompositingSourceOver) {
        drawDimOverlay(canvas, kWidth, kHeight);
    }
    return canvas.status();
}

void Rmu::clearBackground(Canvas& canvas, float width, float height) {
    const uint32_t grey = brightness > kNeutralBrightness
                              ? static_cast<uint32_t>(brightness - kNeutralBrightness)
                              : 0;
    backgroundColor = kOpaqueBlack + grey * 0x010101u;
    canvas.fillRectangle(backgroundColor, {0.0, 0.0, width, height});
}

void Rmu::drawPage(Canvas& canvas) {
    switch (page_) {
    case kRadioPage:
        drawRadioPage(canvas);
        break;
    case kPageMenu:
        drawPageMenu(canvas);
        break;
    case kComMemoryPage:
        drawMemoryPage(canvas, false);
        break;
    case kNavMemoryPage:
        drawMemoryPage(canvas, true);
        break;
    case kAtcTcasControlPage:
        drawAtcTcasPage(canvas);
        break;
    case kSystemSelectPage:
        drawSystemSelectPage(canvas);
        break;
    case kMaintDataPage:
        drawMaintDataPage(canvas);
        break;
    case kRmuSetupPage:
        drawSetupPage(canvas);
        break;
    case kSoftwareVersionsPage:
        drawSoftwareVersionsPage(canvas);
        break;
    case kEngineBackupPage:
        drawEngineBackupPage(canvas);
        break;
    case kEngineBackup2Page:
        drawEngineBackup2Page(canvas);
        break;
    case kNavBackupPage:
        drawNavBackupPage(canvas);
        break;
    default:
        break;
    }
}

void Rmu::drawDimPage(Canvas& canvas) {
    canvas.fillRectangle(backgroundColor, {10.5, 160.5, 159.0, 52.0});
    canvas.drawRectangle(rmu::kWideMagentaPen, {10.5, 160.5, 159.0, 52.0});
    drawCentred(canvas, "TUNE TO DIM DISPLAY", font14, rmu::kMagenta, 10.0, 160.0, 163.0);
    const float fraction = static_cast<float>(brightness - minBrightness) /
                           static_cast<float>(maxBrightness - minBrightness);
    canvas.fillRectangle(rmu::kWhite, {30.0, 180.0, 120.0f * fraction, 15.0});
    canvas.drawRectangle(rmu::kGreenPen, {30.0, 180.0, 120.0, 15.0});
    drawCentred(canvas, "ANY KEY TO RETURN", font14, rmu::kYellow, 10.0, 160.0, 196.0);
}

// Texts.

Argb Rmu::titleColour() const {
    return controlledSide == ownSide ? rmu::kWhite : rmu::kMagenta;
}

void Rmu::drawText(Canvas& canvas, std::string_view text, const Font& font, Argb colour, double x,
                   double y) {
    canvas.drawString(text, font, colour, {x, y});
}

void Rmu::drawCentred(Canvas& canvas, std::string_view text, const Font& font, Argb colour,
                      double left, double span, double y) {
    const double width = canvas.measureString(text, font).width;
    canvas.drawString(text, font, colour, {left + (span - width) / 2.0, y});
}

void Rmu::drawRightAligned(Canvas& canvas, std::string_view text, const Font& font, Argb colour,
                           double right, double y) {
    canvas.drawString(text, font, colour, {right - canvas.measureString(text, font).width, y});
}

void Rmu::drawAt(Canvas& canvas, std::string_view text, const Font& font, Argb colour,
                 const std::vector<double>& xs, double y) {
    std::size_t i = 0;
    for (double x : xs) {
        if (i >= text.size()) {
            return;
        }
        const std::size_t length = characterLength(text, i);
        canvas.drawString(text.substr(i, length), font, colour, {x, y});
        i += length;
    }
}

void Rmu::drawPitched(Canvas& canvas, std::string_view text, const Font& font, Argb colour,
                      double x, double pitch, double y, char marked, double shift) {
    for (std::size_t i = 0; i < text.size(); x += pitch) {
        const std::size_t length = characterLength(text, i);
        const double offset = marked != '\0' && text[i] == marked ? shift : 0.0;
        canvas.drawString(text.substr(i, length), font, colour, {x + offset, y});
        i += length;
    }
}

void Rmu::drawPitchedRight(Canvas& canvas, std::string_view text, const Font& font, Argb colour,
                           double right, double pitch, double y, char marked, double shift) {
    drawPitched(canvas, text, font, colour, right - pitch * characterCount(text), pitch, y, marked,
                shift);
}

void Rmu::drawTitle(Canvas& canvas, const std::string& title, double underlineFrom,
                    double underlineTo) {
    drawCentred(canvas, title, font14, titleColour(), 0.0, kWidth, 5.0);
    canvas.drawLine({titleColour() == rmu::kWhite ? rmu::kLineWhite : rmu::kMagenta, 2.0},
                    {underlineFrom, 20.0}, {underlineTo, 20.0});
}

void Rmu::drawReturnLabel(Canvas& canvas, double x) {
    drawText(canvas, "RETURN", font14, rmu::kGreen, x, 178.0);
    drawText(canvas, " TO", font14, rmu::kGreen, x + canvas.measureString("RETURN", font14).width,
             178.0);
    drawText(canvas, "RADIOS", font14, rmu::kGreen, x, 192.0);
}

void Rmu::drawMaintMenuLabel(Canvas& canvas) {
    drawPitched(canvas, "MAINT", font14, rmu::kGreen, 130.0, 9.0, 178.0, 'I', 2.0);
    drawPitched(canvas, "MENU", font14, rmu::kGreen, 139.0, 9.0, 192.0);
}

} // namespace tavi
