#include "displays/Pfd.h"
#include "displays/ScreenDrawing.h"

#include <cmath>
#include <numbers>

namespace tavi {

using platform::gfx::Path;
using platform::gfx::PointF;

namespace {

constexpr double kVsiHiddenX = -40.0;

// A point at a radius along a direction given clockwise from straight up.
PointF fromTop(double radius, double degrees) {
    return {radius * std::sin(radians(degrees)), -radius * std::cos(radians(degrees))};
}

// A point at a radius, the angle measured upwards from the 9 o'clock direction.
PointF fromLeft(double radius, double degreesUp) {
    return {-radius * std::cos(radians(degreesUp)), -radius * std::sin(radians(degreesUp))};
}

// An arc of a circle about the origin as a polyline, angles clockwise from +x.
std::vector<PointF> arcPoints(double radius, double startDegrees, double sweepDegrees) {
    constexpr int kSteps = 48;
    std::vector<PointF> points;
    for (int i = 0; i <= kSteps; ++i) {
        const double angle = radians(startDegrees + sweepDegrees * i / kSteps);
        points.push_back({radius * std::cos(angle), radius * std::sin(angle)});
    }
    return points;
}

PointF mirrored(PointF point) {
    return {-point.x, point.y};
}

Path circle(PointF centre, double diameter) {
    Path path;
    path.addEllipse({centre.x - diameter / 2.0, centre.y - diameter / 2.0, diameter, diameter});
    return path;
}

// Radial lines every 5 degrees: long at the multiples of 10.
Path cardTicks(double longInner, double shortInner, double outer) {
    Path ticks;
    for (int degrees = 0; degrees < 360; degrees += 5) {
        const double inner = degrees % 10 == 0 ? longInner : shortInner;
        ticks.addLine(fromTop(inner, degrees), fromTop(outer, degrees));
    }
    return ticks;
}

Path bugShape(double base) {
    Path bug;
    bug.addPolygon({{0, base},
                    {-5, base - 5},
                    {-10, base - 5},
                    {-10, base},
                    {10, base},
                    {10, base - 5},
                    {5, base - 5}});
    return bug;
}

} // namespace

void Pfd::buildShapes() {
    buildAdiShapes();
    buildHsiShapes();
    buildVerticalSpeedShapes();
    buildTapeShapes();
}

void Pfd::buildAdiShapes() {
    shapes.adiOutline.addLines(arcPoints(95, -150, 120));
    shapes.adiOutline.addLines(arcPoints(95, 30, 120));
    shapes.adiOutline.addLine({-82, -50}, {-82, 47});
    shapes.adiOutline.addLine({81.5, -50}, {81.5, 47.5});

    shapes.rollPointer.addPolygon({{-4.62, -8}, {0, 0}, {4.62, -8}});
    shapes.rollScale.addPolygon({{0, -95}, {-8, -107}, {8, -107}});
    for (const double degrees : {10.0, 20.0, 30.0, 60.0}) {
        const double outer = degrees == 30.0 ? 107.0 : 102.0;
        for (const double sign : {-1.0, 1.0}) {
            shapes.rollScale.addLine(fromTop(81, sign * degrees), fromTop(outer, sign * degrees));
        }
    }
    const Path mark = shapes.rollPointer.transformed(0.9, 0.0, {-1, -95});
    shapes.rollScale.append(mark.transformed(1.0, -45.0, {}));
    shapes.rollScale.append(mark.transformed(1.0, 45.0, {}));

    for (const double tip : {-176.0, -252.0, 138.0, 195.0, 252.0}) {
        const double base = tip < 0.0 ? tip - 28.0 : tip + 28.0;
        shapes.chevrons.addLines({{-25, base}, {0, tip}, {25, base}});
    }

    const std::vector<PointF> wing = {{-46, -2.5}, {-15, -2.5}, {-15, 9.5},
                                      {-20, 9.5},  {-20, 2.5},  {-46, 2.5}};
    std::vector<PointF> otherWing;
    for (const PointF& point : wing) {
        otherWing.push_back(mirrored(point));
    }
    Path crossBars;
    crossBars.addPolygon(wing);
    crossBars.addPolygon(otherWing);
    crossBars.addRectangle({-3, -3, 6, 6});
    shapes.crossBarSymbol = crossBars.transformed(1.32, 0.0, {});

    shapes.vBarSymbol.addPolygon(
        {{0, 0}, {56, 21}, {15, 21}, {13, 15}, {-13, 15}, {-15, 21}, {-56, 21}});
    shapes.vBarSymbol.addLine({0, 8}, {0, 0});
    shapes.vBarSymbol.addLine({0, 8}, {-56, 21});
    shapes.vBarSymbol.addLine({0, 8}, {56, 21});
    shapes.vBarSymbol.addRectangle({-80, -2.5, 10, 5});
    shapes.vBarSymbol.addRectangle({70, -2.5, 10, 5});
    shapes.vBarWedges.addPolygon({{0, 0}, {64, 14}, {66, 27}, {59, 22.125}});
    shapes.vBarWedges.addPolygon({{0, 0}, {-64, 14}, {-66, 27}, {-59, 22.125}});

    shapes.pitchLimit.addLine({-12, 0}, {-45, 0});
    shapes.pitchLimit.addLine({12, 0}, {45, 0});
    for (const double x : {45.0, 41.0, 37.0, 33.0}) {
        shapes.pitchLimit.addLine({-x, 0}, {-x - 2, -8});
        shapes.pitchLimit.addLine({x, 0}, {x + 2, -8});
    }

    for (const double y : {-44.0, -22.5, 22.5, 44.0}) {
        shapes.deviationScale.append(circle({0, y}, 6));
    }
    shapes.deviationScale.addLine({-6, 0}, {6, 0});
    shapes.deviationPointer.addPolygon({{-3, 0}, {8, -6}, {8, 6}});
}

void Pfd::buildHsiShapes() {
    shapes.roseTicks = cardTicks(68, 74, 80);
    shapes.roseFixedMarks = shapes.rollPointer.transformed(1.5, 0.0, {0, -80});
    for (int degrees = 45; degrees < 360; degrees += 45) {
        shapes.roseFixedMarks.addLine(fromTop(83, degrees), fromTop(92, degrees));
    }
    shapes.roseTrack.addPolygon({{0, -80}, {4, -88}, {-4, -88}});
    shapes.hsiAircraft.addPolygon({{0, -10.8},
                                   {2.4, -3.6},
                                   {8.4, 1.2},
                                   {8.4, 3.6},
                                   {2.4, 1.2},
                                   {2.4, 6},
                                   {3.6, 6},
                                   {3.6, 8.4},
                                   {-3.6, 8.4},
                                   {-3.6, 6},
                                   {-2.4, 6},
                                   {-2.4, 1.2},
                                   {-8.4, 3.6},
                                   {-8.4, 1.2},
                                   {-2.4, -3.6}});
    shapes.roseBug = bugShape(-80);
    for (const double x : {-34.0, -17.0, 17.0, 34.0}) {
        shapes.deviationDots.append(circle({x, 0}, 6));
    }
    shapes.roseCourse.addPolygon({{0, -32.5}, {1.5, -30}, {1.5, -44}, {-1.5, -44}, {-1.5, -30}});
    shapes.roseCourse.addPolygon({{0, 30}, {1.5, 32.5}, {1.5, 51}, {-1.5, 51}, {-1.5, 32.5}});
    shapes.roseCourse.addPolygon({{0, -51}, {6, -44}, {-6, -44}});
    shapes.roseCourse.addLine({0, -40}, {0, -70});
    shapes.roseCourse.addLine({0, 40}, {0, 70});
    shapes.roseBearing1.addRectangle({-1, 20, 2, 54});
    shapes.roseBearing1.addRectangle({-1, -74, 2, 42});
    shapes.roseBearing2.addLine({-6, -20}, {-6, -38});
    shapes.roseBearing2.addLine({6, -20}, {6, -38});
    shapes.roseBearing2.addPolygon({{-6, -38}, {0, -44}, {6, -38}, {0, -32}});
    shapes.roseBearing2.addLine({0, -44}, {0, -74});
    shapes.roseBearing2.addLines({{-6, 20}, {-6, 38}, {6, 38}, {6, 20}});
    shapes.roseBearing2.addLine({0, 38}, {0, 74});
    shapes.roseDeviationBar.addPolygon(
        {{0, -32.5}, {1.5, -30}, {1.5, 30}, {0, 27.5}, {-1.5, 30}, {-1.5, -30}});

    shapes.arcTicks = cardTicks(117, 123, 133);
    shapes.arcReadoutBox.addLines(
        {{-15, -157}, {-15, -141}, {-6, -141}, {0, -133}, {6, -141}, {15, -141}, {15, -157}});
    shapes.arcBug = bugShape(-133);
    shapes.arcTrack.addPolygon({{0, -133}, {4, -141}, {-4, -141}});
    shapes.arcBearing1.addRectangle({-1, -131, 2, 51});
    shapes.arcBearing1.addRectangle({-1, 68, 2, 63});
    shapes.arcBearing2.addLine({-6, -68}, {-6, -87});
    shapes.arcBearing2.addLine({6, -68}, {6, -87});
    shapes.arcBearing2.addPolygon({{-6, -87}, {0, -93}, {6, -87}, {0, -81}});
    shapes.arcBearing2.addLine({0, -93}, {0, -131});
    shapes.arcBearing2.addLines({{-6, 68}, {-6, 87}, {6, 87}, {6, 68}});
    shapes.arcBearing2.addLine({0, 87}, {0, 131});
    shapes.arcCourse.addPolygon({{0, -100}, {6, -88}, {-6, -88}});
    shapes.arcCourse.addPolygon({{-2.5, -88}, {2.5, -88}, {2.5, -30}, {0, -35}, {-2.5, -30}});
    shapes.arcCourse.addPolygon({{0, 30}, {2.5, 35}, {2.5, 100}, {-2.5, 100}, {-2.5, 35}});
    shapes.arcDeviationBar.addPolygon(
        {{0, -35}, {2.5, -30}, {2.5, 35}, {0, 30}, {-2.5, 35}, {-2.5, -30}});
}

void Pfd::buildVerticalSpeedShapes() {
    // Nothing of the scale is shown within 40 units right of its centre's left (the strip the
    // HSI and the altitude tape keep), so the circle is only the arc left of it and the ticks
    // are cut to their rings: major ticks 78..90, minor ones 84..90.
    const double hidden = std::acos(kVsiHiddenX / 90.0) * 180.0 / std::numbers::pi;
    shapes.vsiCircle.addLines(arcPoints(90, hidden, 360.0 - 2.0 * hidden));
    shapes.vsiCircle.addLine({-96, 0}, {-84, 0});
    for (const double degrees : {18.0, 34.0, 50.0}) {
        shapes.vsiMajorTicks.addLine(fromLeft(78, degrees), fromLeft(90, degrees));
        shapes.vsiMajorTicks.addLine(fromLeft(78, -degrees), fromLeft(90, -degrees));
    }
    for (const double degrees : {9.0, 26.0, 42.0}) {
        shapes.vsiMinorTicks.addLine(fromLeft(84, degrees), fromLeft(90, degrees));
        shapes.vsiMinorTicks.addLine(fromLeft(84, -degrees), fromLeft(90, -degrees));
    }
    shapes.vsiNeedle.addPolygon({{-88, 0}, {-81, 4}, {-81, -4}});
    shapes.vsiBug.addPolygon(
        {{-90, 0}, {-85, 5}, {-85, 8}, {-90, 8}, {-90, -8}, {-85, -8}, {-85, -5}});
}

void Pfd::buildTapeShapes() {
    shapes.speedTargetFrame.addLines({{23, 35}, {69, 35}, {69, 8}});
    shapes.windArrow.addLine({0, -8}, {0, 8});
    shapes.windArrow.addLine({0, -8}, {-6, -2});
    shapes.windArrow.addLine({0, -8}, {6, -2});
    shapes.speedBox.addPolygon({{21, 136},
                                {44, 136},
                                {44, 125},
                                {60, 125},
                                {60, 142},
                                {69, 147},
                                {60, 152},
                                {60, 169},
                                {44, 169},
                                {44, 158},
                                {21, 158}});
    shapes.speedBox.addLine({69, 147}, {77, 147});
    shapes.speedBug.addPolygon({{0, 0}, {-5, -5}, {-5, -10}, {3, -10}, {3, 10}, {-5, 10}, {-5, 5}});
    shapes.altitudeBox.addPolygon({{316, 147},
                                   {331, 135},
                                   {358, 135},
                                   {358, 127},
                                   {378, 127},
                                   {378, 167},
                                   {358, 167},
                                   {358, 159},
                                   {331, 159}});
    shapes.altitudeBox.addLine({307, 147}, {315, 147});
    shapes.altitudeBug.addPolygon(
        {{0, 0}, {5, 5}, {5, 10}, {-3, 10}, {-3, -10}, {5, -10}, {5, -5}});
}

} // namespace tavi
