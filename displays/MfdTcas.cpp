#include "avionics/Ahrs.h"
#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "core/Format.h"
#include "displays/Mfd.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tavi {

using platform::gfx::Canvas;
using platform::gfx::PointF;
using platform::gfx::RectF;

namespace {

constexpr PointF kTrafficCentre{200, 360};
constexpr RectF kWindow{70, 230, 260, 180};
constexpr double kRangeRadius = 120.0;
constexpr int32_t kArrowRate = 600;

struct ThreatInk {
    Mfd::Pen pen;
    Mfd::Argb colour;
};

ThreatInk threatInk(int32_t level) {
    switch (level) {
    case kTcasTrafficAdvisory:
        return {Mfd::penYellow15, Mfd::kYellow};
    case kTcasResolutionAdvisory:
        return {Mfd::penRed15, Mfd::kRed};
    default:
        return {Mfd::penCyan15, Mfd::kCyan};
    }
}

} // namespace

std::string Mfd::tcasTag(int32_t relativeAltitude, int32_t flightLevel, bool flightLevelTag) {
    if (flightLevelTag) {
        return format("FL%03d", flightLevel);
    }
    const int32_t magnitude = std::abs(relativeAltitude);
    if (magnitude > 99) {
        return "??";
    }
    return format("%c%02d", relativeAltitude >= 0 ? '+' : '-', magnitude);
}

void Mfd::drawTcasPage(Canvas& canvas) {
    canvas.resetTransform();
    canvas.fillRectangle(kBlack, kWindow);
    const RadioUnit* unit = navUnit();
    if (tcas && unit) {
        drawTcasStatus(canvas);
        canvas.translate(kTrafficCentre.x, kTrafficCentre.y);
        canvas.save();
        canvas.scale(0.8, 0.8);
        canvas.drawPath(penWhite15, aircraftSymbolPath);
        canvas.restore();
        const int32_t range = std::max(unit->tcasRange, 1);
        const double s = kRangeRadius / range;
        if (range <= 12) {
            for (int a = 0; a < 360; a += 30) {
                const PointF dot = onCircle({0, 0}, 2 * s, a);
                const double diameter = a % 90 == 0 ? 6.0 : 4.0;
                canvas.drawEllipse(
                    a % 90 == 0 ? penWhite15b : penWhite15,
                    {dot.x - diameter / 2, dot.y - diameter / 2, diameter, diameter});
            }
        }
        canvas.drawArc(penWhite15b, {-kRangeRadius, -kRangeRadius, 240, 240}, -150, 120);
        canvas.drawString(format("%d", range), font16, kWhite, {100, -58});
        if (range > 12) {
            canvas.drawArc(penWhite15b, {-60, -60, 120, 120}, -150, 120);
        }
        canvas.resetClip();
        canvas.clipEllipse({-kRangeRadius, -kRangeRadius, 2 * kRangeRadius, 2 * kRangeRadius});
        canvas.clipRectangle({-kRangeRadius, -kRangeRadius, 2 * kRangeRadius, kRangeRadius + 48});
        drawIntruders(canvas, s, range);
    }
    canvas.resetClip();
    canvas.resetTransform();
    canvas.drawRectangle(penWhite15b, kWindow);
}

void Mfd::drawTcasStatus(Canvas& canvas) {
    if (tcas->unpowered) {
        canvas.drawString("TCAS FAIL", font16, kYellow, {72, 231});
    } else {
        const char* status = tcas->standby ? "TCAS OFF" : tcas->taOnly ? "TA ONLY" : "TCAS";
        canvas.drawString(status, font16, kWhite, {72, 231});
    }
    const RadioUnit& unit = *navUnit();
    if (unit.tcasAltitudeBand == RadioUnit::kBandBelow) {
        canvas.drawString("BLW", font16, kWhite, {72, 247});
    } else if (unit.tcasAltitudeBand == RadioUnit::kBandAbove) {
        canvas.drawString("ABV", font16, kWhite, {72, 247});
    }
    if (unit.timedSelect) {
        canvas.drawString("FL", font16, kWhite, {72, 263});
    }
}

void Mfd::drawIntruders(Canvas& canvas, double pixelsPerNm, int32_t range) {
    const RadioUnit& unit = *navUnit();
    const double heading = ahrs ? ahrs->unit1.token86Value : 0.0;
    const double sinH = std::sin(-heading * std::numbers::pi / 180.0);
    const double cosH = std::cos(-heading * std::numbers::pi / 180.0);
    int32_t bandLow = -27;
    int32_t bandHigh = 27;
    if (unit.tcasAltitudeBand == RadioUnit::kBandBelow) {
        bandLow = -70;
    } else if (unit.tcasAltitudeBand == RadioUnit::kBandAbove) {
        bandHigh = 70;
    }
    const bool advisory = !tcas->taSet.empty() || !tcas->raSet.empty();
    const bool flightLevelTag = unit.timedSelect;
    // The count comes from the traffic scan; the table never holds more than its slots.
    const std::size_t count = std::min<std::size_t>(tcas->trafficCount, tcas->traffic.size());
    for (std::size_t i = count; i-- > 0;) {
        const TcasTraffic& target = tcas->traffic[i];
        const int32_t level = target.threatLevel;
        if (target.ignored || (level == kTcasOtherTraffic && advisory)) {
            continue;
        }
        const double x0 = pixelsPerNm * target.east;
        const double y0 = -pixelsPerNm * target.north;
        PointF p{x0 * cosH - y0 * sinH, x0 * sinH + y0 * cosH};
        const bool beyond = target.range > range;
        if (level >= kTcasTrafficAdvisory && beyond) {
            const double pull = range / target.range;
            p = {p.x * pull, p.y * pull};
        }
        const int32_t relative = target.relativeAltitudeHundreds;
        if (level == kTcasOtherTraffic && (relative < bandLow || relative > bandHigh || beyond)) {
            continue;
        }
        if (level == kTcasProximate && beyond) {
            continue;
        }
        const ThreatInk ink = threatInk(level);
        switch (level) {
        case kTcasTrafficAdvisory:
            canvas.fillEllipse(ink.colour, {p.x - 6, p.y - 6, 12, 12});
            canvas.drawEllipse(ink.pen, {p.x - 6, p.y - 6, 12, 12});
            break;
        case kTcasResolutionAdvisory:
            canvas.fillRectangle(ink.colour, {p.x - 6, p.y - 6, 12, 12});
            canvas.drawRectangle(ink.pen, {p.x - 6, p.y - 6, 12, 12});
            break;
        default: {
            const std::vector<PointF> diamond{
                {p.x - 6, p.y}, {p.x, p.y - 6}, {p.x + 6, p.y}, {p.x, p.y + 6}};
            if (level == kTcasProximate) {
                canvas.fillPolygon(ink.colour, diamond);
            }
            canvas.drawPolygon(ink.pen, diamond);
            break;
        }
        }
        const std::string tag = tcasTag(relative, target.altitudeHundreds, flightLevelTag);
        if (flightLevelTag) {
            canvas.drawString(tag, font14, ink.colour, {p.x - 16, p.y - 18});
            continue;
        }
        canvas.drawString(tag, font14, ink.colour,
                          {p.x - (tag == "??" ? 8 : 12), relative >= 0 ? p.y - 20 : p.y + 6});
        if (std::fabs(target.verticalSpeed) >= kArrowRate) {
            const double tip = target.verticalSpeed >= 0 ? -5 : 5;
            canvas.drawLine(ink.pen, {p.x + 10, p.y - 5}, {p.x + 10, p.y + 5});
            canvas.drawLine(ink.pen, {p.x + 10, p.y + tip}, {p.x + 13, p.y + tip * 0.4});
            canvas.drawLine(ink.pen, {p.x + 10, p.y + tip}, {p.x + 7, p.y + tip * 0.4});
        }
    }
}

} // namespace tavi
