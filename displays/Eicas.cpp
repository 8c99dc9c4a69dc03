#include "displays/Eicas.h"

#include "airframe/Electric.h"
#include "avionics/EicasDau.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/ModuleGraphics.h"
#include "displays/EicasPalette.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

using platform::gfx::PointF;
using platform::gfx::RectF;

constexpr int kEicasBus = 3;
constexpr float kEicasLoad = 10.0f;
constexpr uint32_t kAdvisoryBlinkMs = 5000;
constexpr double kMessageX = 243.0;
constexpr double kFirstMessageY = 14.0;
constexpr double kMessageAdvance = 14.0;
constexpr double kStatusY = 226.0;

} // namespace

Eicas::Eicas()
    : font16(privateFontCollection().face("Arial Narrow"), 16.0),
      font18(privateFontCollection().face("Arial Narrow"), 18.0) {
    buildStaticDrawing();
}

void Eicas::buildStaticDrawing() {
    frameLines = {{{243, 250}, {243, 370}}, {{20, 376}, {380, 376}}, {{200, 385}, {200, 470}}};

    for (const PointF centre : {PointF{71, 68}, PointF{179, 68}}) {
        scaleArcs.push_back({{centre.x - 36, centre.y - 36, 72, 72}, -20, 200});
        for (int angle = -20; angle <= 160; angle += 20) {
            const bool major = angle == 20 || angle == 60 || angle == 100 || angle == 140;
            scaleLines.push_back(
                {onCircle(centre, 36, angle), onCircle(centre, major ? 28 : 31, angle)});
        }
    }
    scaleBoxes = {{47, 38, 48, 22},   {155, 38, 48, 22},  {47, 114, 48, 22},
                  {155, 114, 48, 22}, {325, 312, 38, 22}, {325, 344, 38, 22}};
    const auto polyline = [this](std::initializer_list<PointF> points) {
        for (auto it = points.begin(); it + 1 != points.end(); ++it) {
            scaleLines.push_back({*it, *(it + 1)});
        }
    };
    // Brackets around "OIL", "VIB" and "LDG GEAR".
    polyline({{26, 268}, {26, 260}, {74, 260}});
    polyline({{154, 268}, {154, 260}, {106, 260}});
    polyline({{169, 268}, {169, 260}, {180, 260}});
    polyline({{229, 268}, {229, 260}, {218, 260}});
    polyline({{257, 268}, {257, 260}, {271, 260}});
    polyline({{370, 268}, {370, 260}, {356, 260}});
    // Yaw trim scale.
    polyline({{218, 453}, {218, 462}, {288, 462}, {288, 453}});
    polyline({{253, 462}, {253, 453}});
    polyline({{235.5, 462}, {235.5, 456}});
    polyline({{270.5, 462}, {270.5, 456}});
    // Pitch trim scale.
    polyline({{323, 401}, {314, 401}, {314, 465}, {323, 465}});
    polyline({{323, 433}, {314, 433}});
    polyline({{320, 417}, {314, 417}});
    polyline({{320, 449}, {314, 449}});
    // Roll trim scale.
    const PointF rollCentre{253, 446};
    scaleArcs.push_back({{208, 401, 90, 90}, -140, 100});
    polyline({{253, 401}, {253, 410}});
    for (const auto& [angle, inner] :
         {std::pair{-140.0, 36.0}, {-40.0, 36.0}, {-115.0, 39.0}, {-65.0, 39.0}}) {
        scaleLines.push_back({onCircle(rollCentre, inner, angle), onCircle(rollCentre, 45, angle)});
    }

    labels = {{"N1", {113, 39}},     {"ITT", {110, 115}},
              {"N2", {113, 184}},    {"%", {72, 184}},
              {"%", {200, 184}},     {"FF", {113, 204}},
              {"FQ", {113, 224}},    {"OIL", {75, 250}},
              {"VIB", {184, 250}},   {"PRESS", {25, 350}},
              {"TEMP", {103, 350}},  {"LP", {168, 350}},
              {"HP", {207, 350}},    {"LDG GEAR", {271, 250}},
              {"FLAPS", {262, 313}}, {"SPLRS", {262, 345}},
              {"PITCH", {323, 379}}, {"ROLL", {228, 379}},
              {"YAW", {232, 426}},   {"CAB ALT", {23, 384}},
              {"FT", {162, 382}},    {"CAB \xCE\x94P", {23, 404}},
              {"PSI", {162, 402}},   {"CAB RATE", {23, 424}},
              {"FPM", {162, 422}},   {"APU", {23, 446}}};
}

void Eicas::update(Aircraft& aircraftNow) {
    aircraft = &aircraftNow;
    ahrs = aircraftNow.ahrs();
    engine1 = aircraftNow.engine1();
    engine2 = aircraftNow.engine2();
    fuelSystem = aircraftNow.fuelSystem();
    mechanisation = aircraftNow.mechanisation();
    pressure = aircraftNow.pressure();
    electric = aircraftNow.electric();
    eicasDau = aircraftNow.eicasDau();
    fadec = aircraftNow.fadec();
    dataReady = true;
}

void Eicas::loadSettings(Aircraft& aircraftNow) {
    PanelElement::loadSettings(aircraftNow);
    fuelUseKg = aircraftNow.fuelUseKg();
    loadFrameRate(aircraftNow, "eicas");
}

void Eicas::addElectricLoad(Aircraft&, BusLoads& loads) {
    if (!unpowered) {
        loads[kEicasBus] += kEicasLoad;
    }
}

void Eicas::updatePower(Aircraft& aircraftNow) {
    const Electric* network = aircraftNow.electric();
    unpowered = !network || !network->isPowered(kEicasBus);
}

int Eicas::draw(platform::gfx::Surface& surface, int, int, bool blank) {
    if (!isFrameDue()) {
        return 0;
    }
    platform::gfx::Canvas canvas(surface);
    if (!dataReady || unpowered || blank || !aircraft) {
        canvas.clear(kOpaqueBlack);
        return canvas.status();
    }
    clearBackground(canvas, kWidth, kHeight);
    applyQuality(canvas);
    drawRatingLine(canvas);
    drawDials(canvas);
    drawEngineRows(canvas);
    drawOilAndVibration(canvas);
    drawStatic(canvas);
    drawGearAndTrims(canvas);
    drawCabinAndApu(canvas);
    drawMessageList(canvas);
    return canvas.status();
}

void Eicas::drawStatic(platform::gfx::Canvas& canvas) const {
    for (const Line& line : frameLines) {
        canvas.drawLine(eicas::kWhite2, line.from, line.to);
    }
    for (const Arc& arc : scaleArcs) {
        canvas.drawArc(eicas::kWhite15, arc.box, arc.start, arc.sweep);
    }
    for (const Line& line : scaleLines) {
        canvas.drawLine(eicas::kWhite15, line.from, line.to);
    }
    for (const RectF& box : scaleBoxes) {
        canvas.drawRectangle(eicas::kWhite15, box);
    }
    for (const Label& label : labels) {
        canvas.drawString(label.text, font18, kWhite, label.at);
    }
    // The 100 % mark of each N1 dial.
    canvas.drawLine(eicas::kRed2, {35, 68}, {43, 68});
    canvas.drawLine(eicas::kRed2, {143, 68}, {151, 68});
}

void Eicas::drawBox(platform::gfx::Canvas& canvas, platform::gfx::Argb colour,
                    const RectF& box) const {
    if (colour != 0) {
        canvas.drawRectangle({colour, 2.0}, box);
    }
}

void Eicas::drawPointer(platform::gfx::Canvas& canvas, platform::gfx::Argb colour, double x,
                        double y, bool left) const {
    // A value the sensors could not give has no place on its bar.
    if (!std::isfinite(y)) {
        return;
    }
    const double base = left ? x - 6 : x + 6;
    canvas.fillPolygon(colour, {{x, y}, {base, y - 6}, {base, y + 6}});
}

// Crew alerting message list.

std::string Eicas::messageStatusText(int32_t above, int32_t below) {
    return format("%d \xE2\x86\x91 MESSAGES \xE2\x86\x93 %d", above, below);
}

bool Eicas::isMessageVisible(const EicasMessage& message) const {
    if (message.acknowledged) {
        return true;
    }
    switch (message.level) {
    case kEicasWarning:
        return eicasDau->warningFlash;
    case kEicasCaution:
        return eicasDau->cautionFlash;
    case kEicasAdvisory: {
        const uint32_t age = aircraft->simTimeMs - message.time;
        if (age > kAdvisoryBlinkMs) {
            message.acknowledged = true;
            return true;
        }
        return age % 1000 < 500;
    }
    default:
        return false;
    }
}

void Eicas::drawMessageList(platform::gfx::Canvas& canvas) {
    const bool dauPowered = eicasDau && !eicasDau->unpowered;
    if (!dauPowered) {
        canvas.drawLine(eicas::kRed3, {243, 8}, {380, 246});
        canvas.drawLine(eicas::kRed3, {380, 8}, {243, 246});
    }
    canvas.drawLine(eicas::kWhite2, {243, 8}, {243, 246});
    canvas.drawLine(eicas::kWhite2, {243, 246}, {380, 246});
    if (!dauPowered) {
        return;
    }
    const auto count = static_cast<int32_t>(eicasDau->messages.size());
    if (count <= kMessageLines) {
        messageScroll = 0;
    } else if (messageScroll >= count - kMessageLines) {
        messageScroll = count - kMessageLines;
    }
    // The panel's scroll-down button never goes below 0; a negative value is treated alike.
    messageScroll = std::max(messageScroll, 0);
    double y = kFirstMessageY;
    int32_t index = 0;
    int32_t line = 0;
    for (const EicasMessage& message : eicasDau->messages) {
        if (line == kMessageLines) {
            break;
        }
        if (index++ < messageScroll) {
            continue;
        }
        if (isMessageVisible(message)) {
            const platform::gfx::Argb colour = message.level == kEicasWarning   ? kRed
                                               : message.level == kEicasCaution ? kYellow
                                                                                : kCyan;
            canvas.drawString(message.text, font16, colour, {kMessageX, y});
        }
        y += kMessageAdvance;
        ++line;
    }
    if (count <= kMessageLines) {
        canvas.drawString("END", font16, kWhite, {300, y});
        return;
    }
    drawMessageStatus(canvas, count);
}

void Eicas::drawMessageStatus(platform::gfx::Canvas& canvas, int32_t count) const {
    const int32_t below = std::max(count - messageScroll - kMessageLines, 0);
    double x =
        (130.0 - canvas.measureString(messageStatusText(messageScroll, below), font16).width) /
            2.0 +
        246.0;
    const std::string above = format("%d", messageScroll);
    canvas.drawString(above, font16, kYellow, {x, kStatusY});
    x += canvas.measureString(above, font16).width + 2.0;
    canvas.drawLine(eicas::kYellow2, {x, 228}, {x, 240});
    canvas.drawLine(eicas::kYellow2, {x, 228}, {x - 4, 232});
    canvas.drawLine(eicas::kYellow2, {x, 228}, {x + 4, 232});
    canvas.drawString(" MESSAGES ", font16, kYellow, {x + 2, kStatusY});
    x += canvas.measureString(" MESSAGES ", font16).width;
    canvas.drawLine(eicas::kYellow2, {x + 6, 228}, {x + 6, 240});
    canvas.drawLine(eicas::kYellow2, {x + 6, 240}, {x + 2, 236});
    canvas.drawLine(eicas::kYellow2, {x + 6, 240}, {x + 10, 236});
    canvas.drawString(format("%d", below), font16, kYellow, {x + 10, kStatusY});
}

} // namespace tavi
