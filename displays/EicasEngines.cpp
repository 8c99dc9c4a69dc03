// The engine blocks of the EICAS: thrust rating line, N1 and ITT dials, the N2, fuel flow and
// fuel quantity rows, and the oil and vibration bars.
#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "core/Format.h"
#include "core/Units.h"
#include "displays/Eicas.h"
#include "displays/EicasPalette.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavi {

namespace {

using platform::gfx::PointF;
using platform::gfx::RectF;

const platform::gfx::Pen kNeedlePen{Eicas::kGreen, 2.5};
const platform::gfx::Pen kReferencePen{Eicas::kCyan, 2.0};

// Where each engine's parts sit; engine 2's dials are 108 units right of engine 1's.
struct EngineLayout {
    double dx;
    std::array<double, 5> n1Characters;
    std::array<double, 4> ittCharacters;
    PointF reverser;
    PointF channel;
    double ignitionX;
    double rowRight;
    RectF lowFuelBox;
};

constexpr std::array<EngineLayout, 2> kLayouts = {{
    {0, {47, 56, 65, 76, 83}, {53, 62, 71, 80}, {10, 33}, {16, 69}, 14, 70, {30, 226, 38, 17}},
    {108,
     {155, 164, 173, 184, 191},
     {161, 170, 179, 188},
     {205, 33},
     {221, 69},
     209,
     198,
     {158, 226, 38, 17}},
}};

void drawCharacters(platform::gfx::Canvas& canvas, const std::string& text,
                    const platform::gfx::Font& font, platform::gfx::Argb colour, const double* xs,
                    std::size_t count, double y) {
    for (std::size_t i = 0; i < count && i < text.size(); ++i) {
        canvas.drawString(text.substr(i, 1), font, colour, {xs[i], y});
    }
}

// A value the engine's sensors could not give is shown as if its FADEC had no power, never as a
// number made from it.
bool shows(const JetEngine* engine, float value) {
    return Eicas::isValid(engine) && std::isfinite(value);
}

bool ittCautionShown(const Fadec* fadec) {
    return fadec && fadec->thrustRating != kTakeoffRating &&
           fadec->thrustRating != kAltTakeoffRating;
}

} // namespace

bool Eicas::isValid(const JetEngine* engine) {
    return engine && (engine->channelAPowered || engine->channelBPowered);
}

float Eicas::n1NeedleAngle(float n1Percent) {
    return 2.0f * std::min(std::min(n1Percent, 120.0f), 110.0f) - 20.0f;
}

float Eicas::ittNeedleAngle(float itt) {
    return std::max(itt * kIttScale - 20.0f, -20.0f);
}

Eicas::Reading Eicas::n1Reading(const JetEngine* engine) {
    if (!engine || !shows(engine, engine->n1Percent)) {
        return {"---.-", kYellow};
    }
    const float n1 = std::min(engine->n1Percent, 120.0f);
    return {format("%5.1f", n1), n1 >= 100.0f ? kRed : kGreen};
}

Eicas::Reading Eicas::ittReading(const JetEngine* engine) {
    if (!engine || !shows(engine, engine->itt)) {
        return {"----", kYellow};
    }
    return {format("%4d", static_cast<int>(engine->itt)), kGreen};
}

Eicas::Reading Eicas::n2Reading(const JetEngine* engine) {
    if (!engine || !shows(engine, engine->n2Percent)) {
        return {"- - -.-", kYellow};
    }
    const float n2 = std::min(engine->n2Percent, 120.0f);
    return {format("%2.1f", n2), n2 >= 102.5f ? kRed : kGreen};
}

Eicas::Reading Eicas::fuelFlowReading(const JetEngine* engine) const {
    if (!engine || !shows(engine, engine->fuelFlow)) {
        return {"- - - -", kYellow};
    }
    const float flow = fuelUseKg ? engine->fuelFlow * kKilogramsPerPound : engine->fuelFlow;
    return {format("%d", static_cast<int>(std::floor(flow * 0.1 + 0.5) * 10.0)), kGreen};
}

Eicas::Reading Eicas::fuelQuantityReading(float pounds) const {
    if (!std::isfinite(pounds)) {
        return {"- - - -", kYellow};
    }
    const float quantity = fuelUseKg ? pounds * kKilogramsPerPound : pounds;
    const std::array<float, 4>& limits = fuelSystem->displayLimits[0];
    const float yellowLimit = fuelUseKg ? limits[2] : limits[0];
    const float redLimit = fuelUseKg ? limits[3] : limits[1];
    const std::string text = format("%d", static_cast<int>(quantity) / 10 * 10);
    if (quantity < redLimit) {
        return {text, kRed, kRed};
    }
    if (quantity <= yellowLimit) {
        return {text, kYellow, kYellow};
    }
    return {text, kGreen};
}

Eicas::Reading Eicas::oilPressureReading(float psi, float ownN2Percent) {
    if (!std::isfinite(psi)) {
        return {"- - -", kYellow};
    }
    const float p = std::min(psi, 200.0f);
    const std::string text = p < 0.0f ? "- - -" : format("%d", static_cast<int>(p));
    if (p < 34.0f || p >= 155.0f) {
        return {text, kRed, kRed};
    }
    if ((p < 50.0f && ownN2Percent >= 88.0f) || p >= 95.0f) {
        return {text, kYellow, kYellow};
    }
    return {text, kGreen};
}

float Eicas::oilPressureY(float psi) {
    const float p = std::min(psi, 200.0f);
    if (p < 34.0f) {
        return 320.0f - p / 34.0f * 6.0f;
    }
    if (p < 50.0f) {
        return 314.0f - (p - 34.0f) * 0.0625f * 6.0f;
    }
    if (p < 95.0f) {
        return 308.0f - (p - 50.0f) / 45.0f * 22.0f;
    }
    if (p < 155.0f) {
        return 286.0f - (p - 95.0f) / 60.0f * 6.0f;
    }
    return 280.0f - (p - 155.0f) / 45.0f * 6.0f;
}

Eicas::Reading Eicas::oilTemperatureReading(float celsius) {
    if (!std::isfinite(celsius)) {
        return {"- - -", kYellow};
    }
    const float t = std::min(celsius, 150.0f);
    const std::string text = format("%d", static_cast<int>(t));
    if (t < 21.0f) {
        return {text, kYellow, kYellow};
    }
    if (t > 126.0f) {
        return {text, kRed, kRed};
    }
    return {text, kGreen};
}

float Eicas::oilTemperatureY(float celsius) {
    const float t = std::min(celsius, 150.0f);
    float y = 0.0f;
    if (t < 21.0f) {
        y = 320.0f - 9.0f * t / 21.0f;
    } else if (t < 126.0f) {
        y = 311.0f - (t - 21.0f) / 105.0f * 28.0f;
    } else {
        y = 283.0f - 9.0f * (t - 126.0f) / 24.0f;
    }
    return std::min(y, 320.0f);
}

void Eicas::drawRatingLine(platform::gfx::Canvas& canvas) const {
    if (!isValid(engine1) && !isValid(engine2)) {
        drawCentred(canvas, "- - - - - -     - - - - - -", font16, kYellow, 125, 12);
        return;
    }
    if (!fadec) {
        return;
    }
    drawCentred(canvas, fadec->thrustRatingText(), font16, kCyan, 125, 12);
    if (fadec->reserveArmed[0] && fadec->reserveArmed[1]) {
        drawCentred(canvas, "ATTCS", font16, kGreen, 125, 26);
    }
    const std::string rating = format("%2.1f", fadec->ratingN1);
    if (engine1 && engine1->combustion) {
        canvas.drawString(rating, font16, kCyan, {30, 12});
    }
    if (engine2 && engine2->combustion) {
        canvas.drawString(rating, font16, kCyan, {186, 12});
    }
}

void Eicas::drawDials(platform::gfx::Canvas& canvas) const {
    const std::array<const JetEngine*, 2> engines = {engine1, engine2};
    std::vector<Line> n1Needles;
    canvas.resetTransform();
    canvas.translate(0, 6);
    for (std::size_t e = 0; e < engines.size(); ++e) {
        const JetEngine* engine = engines[e];
        const EngineLayout& at = kLayouts[e];
        const PointF pivot{71 + at.dx, 64};
        const double needle = engine ? n1NeedleAngle(engine->n1Percent) : -20.0;
        n1Needles.push_back({pivot, rotatedAbout(PointF{106 + at.dx, 64}, pivot, needle)});

        const Reading n1 = n1Reading(engine);
        drawCharacters(canvas, n1.text, font18, n1.colour, at.n1Characters.data(),
                       at.n1Characters.size(), 33);
        const bool reverser =
            fadec && (e == 0 ? fadec->reverser1Deployed() : fadec->reverser2Deployed());
        if (reverser) {
            canvas.drawString("REV", font16, kGreen, at.reverser);
        }
        if (!isValid(engine)) {
            continue;
        }
        canvas.drawString(engine->activeChannel != 0 ? "B" : "A", font16, kGreen, at.channel);
        if (!fadec) {
            continue;
        }
        const PointF centre{71 + at.dx, 62};
        const double target = 2.0 * std::min(fadec->commandedN1[e], 110.0f) - 20.0;
        if (std::isfinite(target)) {
            canvas.fillPolygon(
                kGreen, rotatedAbout({{107 + at.dx, 62}, {113 + at.dx, 58}, {113 + at.dx, 66}},
                                     centre, target));
        }
        if (engine->combustion && std::isfinite(fadec->ratingN1)) {
            const double reference = 2.0 * std::min(fadec->ratingN1, 100.0f) - 20.0;
            canvas.drawLine(kReferencePen, rotatedAbout(PointF{107 + at.dx, 62}, centre, reference),
                            rotatedAbout(PointF{115 + at.dx, 62}, centre, reference));
            canvas.drawLine(kReferencePen, rotatedAbout(PointF{115 + at.dx, 58}, centre, reference),
                            rotatedAbout(PointF{115 + at.dx, 66}, centre, reference));
        }
    }
    drawIttSection(canvas, n1Needles);
    canvas.resetTransform();
}

void Eicas::drawIttSection(platform::gfx::Canvas& canvas,
                           const std::vector<Line>& n1Needles) const {
    const std::array<const JetEngine*, 2> engines = {engine1, engine2};
    canvas.resetTransform();
    canvas.translate(0, 4);
    const bool caution = ittCautionShown(fadec);
    for (std::size_t e = 0; e < engines.size(); ++e) {
        const JetEngine* engine = engines[e];
        const EngineLayout& at = kLayouts[e];
        const float limit = fadec ? fadec->ittLimit[e] : 948.0f;
        const double sweep = limit * kIttScale;
        const RectF box{35 + at.dx, 104, 72, 72};
        const PointF centre{71 + at.dx, 142};
        const PointF redFrom{35 + at.dx, 140};
        const PointF redTo{43 + at.dx, 140};
        canvas.drawArc(eicas::kWhite15, box, -20, sweep);
        if (caution) {
            canvas.drawArc(eicas::kYellow2, box, (limit - 70.0f) * kIttScale - 20.0,
                           70.0 * kIttScale);
        }
        canvas.drawLine(eicas::kRed2, rotatedAbout(redFrom, centre, sweep - 200.0),
                        rotatedAbout(redTo, centre, sweep - 200.0));
        if (caution) {
            const double start = (limit - 70.0f) * kIttScale - 200.0;
            canvas.drawLine(eicas::kYellow2, rotatedAbout(redFrom, centre, start),
                            rotatedAbout(redTo, centre, start));
        }
        // A value that is not a number has no needle, as its readout has no digits.
        if (shows(engine, engine ? engine->n1Percent : 0.0f)) {
            canvas.drawLine(kNeedlePen, n1Needles[e].from, n1Needles[e].to);
        }
        if (shows(engine, engine ? engine->itt : 0.0f)) {
            canvas.drawLine(
                kNeedlePen, centre,
                rotatedAbout(PointF{106 + at.dx, 142}, centre, ittNeedleAngle(engine->itt)));
        }
        const Reading itt = ittReading(engine);
        drawCharacters(canvas, itt.text, font18, itt.colour, at.ittCharacters.data(),
                       at.ittCharacters.size(), 111);
        if (!engine) {
            continue;
        }
        if (engine->ignitionOn) {
            canvas.drawString("IGN", font16, kGreen, {at.ignitionX, 99});
        }
        if (engine->ignitorA) {
            canvas.drawString("A", font16, kGreen, {at.ignitionX, 113});
        }
        if (engine->ignitorB) {
            canvas.drawString("B", font16, kGreen, {at.ignitionX + 12, 113});
        }
    }
}

void Eicas::drawEngineRows(platform::gfx::Canvas& canvas) const {
    const std::array<const JetEngine*, 2> engines = {engine1, engine2};
    for (std::size_t e = 0; e < engines.size(); ++e) {
        const EngineLayout& at = kLayouts[e];
        const Reading n2 = n2Reading(engines[e]);
        drawRightAligned(canvas, n2.text, font18, n2.colour, at.rowRight, 184);
        const Reading flow = fuelFlowReading(engines[e]);
        drawRightAligned(canvas, flow.text, font18, flow.colour, at.rowRight, 204);
        canvas.drawString(fuelUseKg ? "KPH" : "PPH", font18, kWhite, {at.rowRight + 2, 204});
        canvas.drawString(fuelUseKg ? "KG" : "LB", font18, kWhite, {at.rowRight + 2, 224});
        if (!fuelSystem) {
            continue;
        }
        const Reading quantity =
            fuelQuantityReading(e == 0 ? fuelSystem->leftFuel : fuelSystem->rightFuel);
        drawBox(canvas, quantity.box, at.lowFuelBox);
        drawRightAligned(canvas, quantity.text, font18, quantity.colour, at.rowRight, 224);
    }
}

void Eicas::drawOilAndVibration(platform::gfx::Canvas& canvas) const {
    const std::array<const JetEngine*, 2> engines = {engine1, engine2};
    canvas.fillRectangle(kGreen, {50, 274, 6, 46});
    canvas.fillRectangle(kRed, {50, 274, 6, 6});
    canvas.fillRectangle(kYellow, {50, 280, 6, 6});
    canvas.drawLine(eicas::kWhite15, {51, 286}, {55, 286});
    const bool highN2 =
        (engine1 && engine1->n2Percent >= 88.0f) || (engine2 && engine2->n2Percent >= 88.0f);
    if (highN2) {
        canvas.fillRectangle(kYellow, {50, 308, 6, 6});
        canvas.fillRectangle(kRed, {50, 314, 6, 6});
        canvas.drawLine(eicas::kWhite15, {51, 308}, {55, 308});
    } else {
        canvas.fillRectangle(kRed, {50, 314, 6, 6});
        canvas.drawLine(eicas::kWhite15, {51, 314}, {55, 314});
    }
    canvas.fillRectangle(kGreen, {120, 274, 6, 46});
    canvas.fillRectangle(kRed, {120, 274, 6, 9});
    canvas.fillRectangle(kYellow, {120, 311, 6, 9});
    canvas.drawLine(eicas::kWhite15, {121, 283}, {125, 283});
    canvas.drawLine(eicas::kWhite15, {121, 311}, {125, 311});
    for (std::size_t e = 0; e < engines.size(); ++e) {
        const JetEngine* engine = engines[e];
        if (!engine) {
            continue;
        }
        const bool left = e == 0;
        const Reading oil = oilPressureReading(engine->oilPressure, engine->n2Percent);
        drawPointer(canvas, oil.colour, left ? 50 : 56, oilPressureY(engine->oilPressure), left);
        drawBox(canvas, oil.box, left ? RectF{20, 325, 30, 22} : RectF{56, 325, 30, 22});
        const Reading temperature = oilTemperatureReading(engine->oilTemperature);
        drawPointer(canvas, temperature.colour, left ? 120 : 126,
                    oilTemperatureY(engine->oilTemperature), left);
        drawBox(canvas, temperature.box, left ? RectF{90, 325, 30, 22} : RectF{126, 325, 30, 22});
        if (left) {
            canvas.drawString(oil.text, font18, oil.colour, {20, 326});
            canvas.drawString(temperature.text, font18, temperature.colour, {90, 326});
        } else {
            drawRightAligned(canvas, oil.text, font18, oil.colour, 88, 326);
            drawRightAligned(canvas, temperature.text, font18, temperature.colour, 158, 326);
        }
    }
    drawVibration(canvas);
}

void Eicas::drawVibration(platform::gfx::Canvas& canvas) const {
    const std::array<const JetEngine*, 2> engines = {engine1, engine2};
    canvas.fillRectangle(kYellow, {177, 274, 6, 20});
    canvas.fillRectangle(kGreen, {177, 292, 6, 54});
    canvas.fillRectangle(kYellow, {217, 274, 6, 37});
    canvas.fillRectangle(kGreen, {217, 310, 6, 36});
    if (fadec && fadec->bus2Powered) {
        for (std::size_t e = 0; e < engines.size(); ++e) {
            if (!engines[e]) {
                continue;
            }
            const bool left = e == 0;
            const float v = std::min(engines[e]->vibration, 5.0f);
            const double y = 346.0 - v * 14.4;
            drawPointer(canvas, v > 3.75f ? kYellow : kGreen, left ? 177 : 183, y, left);
            drawPointer(canvas, v > 2.5f ? kYellow : kGreen, left ? 217 : 223, y, left);
        }
    }
    for (int i = 0; i <= 5; ++i) {
        const double y = 274.0 + 72.0 * i / 5.0;
        canvas.drawLine(eicas::kWhite15, {177, y}, {183, y});
        canvas.drawLine(eicas::kWhite15, {217, y}, {223, y});
    }
}

} // namespace tavi
