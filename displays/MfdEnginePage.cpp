#include "airframe/Fadec.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "avionics/Ahrs.h"
#include "core/Format.h"
#include "displays/Mfd.h"
#include "displays/ScreenDrawing.h"

#include <array>

namespace tavi {

using platform::gfx::Canvas;
using platform::gfx::PointF;
using platform::gfx::RectF;

namespace {

constexpr float kLowOilQuarts = 5.5f;
constexpr std::array<PointF, 7> kExits = {
    {{215, 357}, {227, 357}, {235, 348}, {258, 348}, {282, 348}, {280, 366}, {328, 350}}};

} // namespace

// The aircraft seen from above, nose to the left, as the door synoptic draws it.
platform::gfx::Path Mfd::doorOutline() {
    const std::array<std::vector<PointF>, 6> parts = {{
        {{210, 360}, {213, 355}, {220, 351}, {320, 351}, {323, 346}, {337, 346}, {340, 348},
         {350, 351}, {360, 336}, {366, 336}, {361, 360}, {366, 384}, {360, 384}, {350, 369},
         {340, 372}, {337, 374}, {323, 374}, {320, 369}, {220, 369}, {213, 365}, {210, 360}},
        {{265, 351}, {300, 324}, {305, 324}, {305, 351}},
        {{265, 369}, {300, 396}, {305, 396}, {305, 369}},
        {{323, 346}, {320, 343}, {323, 340}, {337, 340}, {340, 343}, {337, 346}},
        {{323, 374}, {320, 377}, {323, 380}, {337, 380}, {340, 377}, {337, 374}},
        {{229, 367}, {223, 362}, {222, 360}, {223, 358}, {229, 353}},
    }};
    platform::gfx::Path outline;
    for (const std::vector<PointF>& part : parts) {
        outline.addLines(part);
    }
    return outline;
}

void Mfd::drawEnginePage(Canvas& canvas) {
    canvas.drawLine(penWhite15b, {198, 306}, {198, 404});
    drawPageHeading(canvas, "ENGINE", 108, 24, 192);
    canvas.drawString("T/O MODE:", font18, kWhite, {24, 320});
    canvas.drawString("REF TO TEMP:", font18, kWhite, {24, 338});
    canvas.drawString("REF A-ICE:", font18, kWhite, {24, 356});
    if (ahrs && ahrs->onGround && fadec) {
        drawTakeoffData(canvas);
    }
    canvas.drawLine(penWhite15b, {24, 381}, {192, 381});
    drawOilLevels(canvas);
    drawDoors(canvas);
}

void Mfd::drawTakeoffData(Canvas& canvas) {
    drawRightAligned(canvas,
                     "\xC2\xB0"
                     "C",
                     font18, kWhite, 190, 338);
    const bool resetRequested = fadec->resetRequest[0] && fadec->resetRequest[1];
    const bool accepted = fadec->takeoffTempAccepted[0] && fadec->takeoffTempAccepted[1];
    const Argb colour = resetRequested ? kWhite : accepted ? kCyan : kYellow;
    drawRightAligned(canvas, fadec->takeoffRatingText(), font18, colour, 190, 320);
    const bool dashes = resetRequested && fadec->takeoffDataStep == 0;
    drawRightAligned(canvas, dashes ? "- - -" : format("%d", fadec->takeoffTemperature), font18,
                     colour, 168, 338);
    drawRightAligned(canvas,
                     dashes                  ? "- - -"
                     : fadec->takeoffAntiIce ? "ON"
                                             : "OFF",
                     font18, colour, 168, 356);
    if (fadec->takeoffDataStep >= 1 && fadec->takeoffDataStep <= 3) {
        const double y = 324.0 + 18.0 * (fadec->takeoffDataStep - 1);
        canvas.fillPolygon(kWhite, {{194, y}, {194, y + 12}, {188, y + 6}});
    }
}

void Mfd::drawOilLevels(Canvas& canvas) {
    drawCentred(canvas, "OIL LVL", font18, kWhite, 108, 385);
    if (!engine1 || !engine2) {
        return;
    }
    const bool low1 = engine1->oilQuantity < kLowOilQuarts;
    const bool low2 = engine2->oilQuantity < kLowOilQuarts;
    drawRightAligned(canvas, wholeNumberText(engine1->oilQuantity), font18, low1 ? kYellow : kGreen,
                     46, 385);
    canvas.drawString("QT", font18, low1 ? kYellow : kWhite, {44, 385});
    drawRightAligned(canvas, "QT", font18, low2 ? kYellow : kWhite, 194, 385);
    drawRightAligned(canvas, wholeNumberText(engine2->oilQuantity), font18, low2 ? kYellow : kGreen,
                     168, 385);
    if (low1) {
        canvas.drawRectangle(penYellow2, {28, 385, 42, 20});
    }
    if (low2) {
        canvas.drawRectangle(penYellow2, {150, 385, 42, 20});
    }
}

void Mfd::drawDoors(Canvas& canvas) {
    drawPageHeading(canvas, "DOORS", 290, 204, 376);
    canvas.drawPath(penWhite15b, doorOutlinePath);
    for (const PointF& exit : kExits) {
        canvas.fillRectangle(kGreen, {exit.x, exit.y, 6, 6});
    }
    const bool mainOpen = mechanisation && mechanisation->exitOpen[0] > 0.0f;
    const bool baggageOpen = mechanisation && mechanisation->exitOpen[1] > 0.0f;
    canvas.fillRectangle(mainOpen ? kRed : kGreen, {235, 366, 6, 6});
    canvas.fillRectangle(baggageOpen ? kRed : kGreen, {324, 364, 6, 6});
    if (mainOpen || baggageOpen) {
        canvas.drawString("DOOR", font16, kRed, {214, 374});
        canvas.drawString("OPEN", font16, kRed, {214, 388});
        canvas.drawRectangle(penRed2, {214, 374, 44, 32});
    }
}

} // namespace tavi
