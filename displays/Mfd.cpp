#include "displays/Mfd.h"

#include "airframe/Electric.h"
#include "avionics/Ahrs.h"
#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "core/ModuleGraphics.h"
#include "core/RequestVariable.h"
#include "displays/ScreenDrawing.h"
#include "fms/Fms.h"
#include "platform/gfx/Surface.h"
#include "platform/panel/PanelServices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavi {

using platform::gfx::Canvas;
using platform::gfx::PointF;

namespace {

constexpr float kMfdLoad = 10.0f;
constexpr double kRefetchDegrees = 0.2;
constexpr double kMinFetchRadius = 30.0;
constexpr double kMaxFetchRadius = 600.0;

// '#' stands for the side's digit.
constexpr std::array<const char*, Mfd::kVariableCount> kVariableNames = {
    "Mfd#Button1Click", "Mfd#Button2Click", "Mfd#Button3Click", "Mfd#Button4Click",
    "Mfd#Button5Click", "Mfd#Button6Click", "Mfd#KnobDecClick", "Mfd#KnobIncClick"};

std::vector<PointF> scaled(std::vector<PointF> points, double factor, PointF offset) {
    for (PointF& point : points) {
        point = {point.x * factor + offset.x, point.y * factor + offset.y};
    }
    return points;
}

} // namespace

Mfd::Mfd(int side)
    : side(side), font14(privateFontCollection().face("Arial Narrow"), 14.0),
      font16(privateFontCollection().face("Arial Narrow"), 16.0),
      font18(privateFontCollection().face("Arial Narrow"), 18.0),
      font20(privateFontCollection().face("Arial Narrow"), 20.0),
      font22(privateFontCollection().face("Arial Narrow"), 22.0) {
    buildShapes();
}

void Mfd::buildShapes() {
    windArrowPath.addLine({0, -8}, {0, 8});
    windArrowPath.addLine({0, -8}, {-6, -2});
    windArrowPath.addLine({0, -8}, {6, -2});

    trackPointerPath.addPolygon(scaled({{0, 0}, {4.62, -8}, {-4.62, -8}}, 1.3, {0, -162}));
    headingBoxPath.addLines(scaled(
        {{-15, -24}, {-15, -8}, {-6, -8}, {0, 0}, {6, -8}, {15, -8}, {15, -24}}, 1.3, {0, -162}));
    headingBugPath.addPolygon(scaled(
        {{0, 0}, {-5, -5}, {-10, -5}, {-10, 0}, {10, 0}, {10, -5}, {5, -5}}, 1.3, {0, -162}));
    aircraftSymbolPath.addPolygon(scaled({{0, -9},
                                          {2, -3},
                                          {7, 1},
                                          {7, 3},
                                          {2, 1},
                                          {2, 5},
                                          {3, 5},
                                          {3, 7},
                                          {-3, 7},
                                          {-3, 5},
                                          {-2, 5},
                                          {-2, 1},
                                          {-7, 3},
                                          {-7, 1},
                                          {-2, -3}},
                                         1.56, {0, 0}));

    const PointF centre{0, 0};
    for (int a = 0; a < 360; a += 10) {
        compassTickPath.addLine(onCircle(centre, 146, a), onCircle(centre, 162, a));
        compassTickPath.addLine(onCircle(centre, 152, a + 5), onCircle(centre, 162, a + 5));
    }
    // The figures are glyph outlines made once, so that turning the rose renders no glyphs.
    platform::gfx::Surface scratch(1, 1);
    Canvas canvas(scratch);
    constexpr std::array<double, 12> kLabelX = {-9, -8,  -8,  -8,  -12, -12,
                                                -8, -12, -12, -11, -12, -12};
    for (int i = 0; i < 12; ++i) {
        const int a = i * 30;
        const std::string text =
            a % 90 == 0 ? std::string(1, "NESW"[a / 90]) : format("%d", a / 10);
        const double height = canvas.measureString(text, font20).height;
        const platform::gfx::Path label = canvas.textOutline(
            text, font20, {kLabelX[static_cast<std::size_t>(i)], -144 + (20 - height) / 2});
        compassLabelPath[static_cast<std::size_t>(i)] = label.transformed(1.0, a, {0, 0});
    }

    mapSectorRegion = {{0, 0}, {-393, -200}, {393, -200}};
    // The disc of radius 125 above the centre, squared off below it and cut at y 85.
    for (int a = 180; a <= 360; a += 5) {
        mapClipRegion.push_back(onCircle(centre, 125, a));
    }
    mapClipRegion.push_back({125, 85});
    mapClipRegion.push_back({-125, 85});
}

std::string Mfd::variableName(int index, int side) {
    if (index < 0 || index >= kVariableCount) {
        return {};
    }
    std::string name = kVariableNames[static_cast<std::size_t>(index)];
    name[name.find('#')] = static_cast<char>('0' + side);
    return name;
}

int32_t Mfd::range() const {
    return kRanges[static_cast<std::size_t>(std::clamp(rangeIndex, 0, 8))];
}

void Mfd::update(Aircraft& aircraft) {
    ahrs = aircraft.ahrs();
    adc = aircraft.adc();
    flightDirector = aircraft.flightDirector();
    radio = aircraft.radio();
    mechanisation = aircraft.mechanisation();
    hydraulic1 = aircraft.hydraulic1();
    hydraulic2 = aircraft.hydraulic2();
    engine1 = aircraft.engine1();
    engine2 = aircraft.engine2();
    fuelSystem = aircraft.fuelSystem();
    pneumatic = aircraft.pneumatic();
    electric = aircraft.electric();
    fadec = aircraft.fadec();
    tcas = aircraft.tcas();
    fms = aircraft.fms();
    gps = aircraft.gps();
    popUpTcasPage();
    refreshNearbyData();
    registerVariables();
    pollVariables();
    dataReady = true;
}

void Mfd::popUpTcasPage() {
    const bool advisory = tcas && (!tcas->taSet.empty() || !tcas->raSet.empty());
    if (lowerPage != kTcasPage && advisory) {
        savedLowerPage = lowerPage;
        lowerPage = kTcasPage;
        tcasPoppedUp = true;
    } else if (lowerPage == kTcasPage && !advisory && tcasPoppedUp) {
        lowerPage = savedLowerPage;
        tcasPoppedUp = false;
    }
}

void Mfd::refreshNearbyData() {
    if (!fms) {
        return;
    }
    const double latitude = fms->position.latitude;
    const double longitude = fms->position.longitude;
    const bool due = std::fabs(fetchPosition[0] - latitude) > kRefetchDegrees ||
                     std::fabs(fetchPosition[1] - longitude) > kRefetchDegrees || !nearbyDataLoaded;
    if (!due) {
        return;
    }
    const double radius =
        std::clamp(static_cast<double>(range()), kMinFetchRadius, kMaxFetchRadius);
    NavDatabase* database = fms->navDatabaseIfMade();
    // A database that is not open answers nothing and would log its failure twice a frame, so
    // the lists are emptied without asking it until it opens.
    if (!database || !database->isConnected()) {
        nearbyAirports.fill(Airport());
        nearbyNavaids.fill(Navaid());
    } else {
        database->getClosest4Airports(latitude, longitude, radius, nearbyAirports);
        database->getClosest8Navaids(latitude, longitude, radius, nearbyNavaids);
        ++nearbyFetches;
        nearbyDataLoaded = true;
    }
    fetchPosition = {latitude, longitude};
}

void Mfd::registerVariables() {
    if (variablesRegistered) {
        return;
    }
    platform::PanelServices& panel = panelServices();
    for (int i = 0; i < kVariableCount; ++i) {
        buttonVariables[static_cast<std::size_t>(i)] =
            panel.registerNamedVariable(variableName(i, side).c_str());
    }
    variablesRegistered = true;
}

void Mfd::pollVariables() {
    for (int i = 0; i < kVariableCount; ++i) {
        const double value = takeRequestValue(buttonVariables[static_cast<std::size_t>(i)]);
        if (value == 0.0) {
            continue;
        }
        const bool large = value == 2.0;
        if (i == 6) {
            onButton(large ? kKnobLargeDown : kKnobSmallDown);
        } else if (i == 7) {
            onButton(large ? kKnobLargeUp : kKnobSmallUp);
        } else {
            onButton(i);
        }
    }
}

void Mfd::loadSettings(Aircraft& aircraft) {
    PanelElement::loadSettings(aircraft);
    fuelUseKg = aircraft.fuelUseKg();
    loadFrameRate(aircraft, "mfd");
}

void Mfd::addElectricLoad(Aircraft& aircraft, BusLoads& loads) {
    const Electric* network = aircraft.electric();
    if (unpowered || !network) {
        return;
    }
    if (side == 1 && network->avionicsMaster2) {
        loads[2] += kMfdLoad;
    } else if (side == 2 && network->avionicsMaster1) {
        loads[1] += kMfdLoad;
    }
}

void Mfd::updatePower(Aircraft& aircraft) {
    const Electric* network = aircraft.electric();
    const bool powered = network && (side == 1 ? network->isPowered(2) && network->avionicsMaster2
                                               : network->isPowered(1) && network->avionicsMaster1);
    unpowered = !powered;
}

int Mfd::draw(platform::gfx::Surface& surface, int, int, bool blank) {
    if (!isFrameDue()) {
        return 0;
    }
    Canvas canvas(surface);
    if (!dataReady || unpowered || blank) {
        canvas.clear(kOpaqueBlack);
        return canvas.status();
    }
    clearBackground(canvas, kWidth, kHeight);
    applyQuality(canvas);
    drawDataFields(canvas);
    if (planMode) {
        drawPlanView(canvas);
    } else {
        drawMapView(canvas);
    }
    canvas.resetTransform();
    canvas.resetClip();
    drawCrossTrack(canvas);
    drawLowerPage(canvas);
    drawMenuBar(canvas);
    canvas.resetTransform();
    canvas.resetClip();
    return canvas.status();
}

void Mfd::drawLowerPage(Canvas& canvas) {
    switch (lowerPage) {
    case kEnginePage:
        drawEnginePage(canvas);
        break;
    case kHydraulicPage:
        drawHydraulicPage(canvas);
        break;
    case kFuelPage:
        drawFuelPage(canvas);
        break;
    case kEnvironmentPage:
        drawEnvironmentPage(canvas);
        break;
    case kElectricalPage:
        drawElectricalPage(canvas);
        break;
    case kTcasPage:
        drawTcasPage(canvas);
        break;
    default:
        break;
    }
}

Mfd::HeadingState Mfd::headingState() const {
    if (!ahrs) {
        return {};
    }
    const AhrsUnit& unit = ahrs->unit1;
    const bool lost = (side == 1 ? unit.headingSide1 : unit.headingSide2).invalid;
    return {lost ? (side == 1 ? unit.frozenHeading1 : unit.frozenHeading2) : unit.heading, lost};
}

const RadioUnit* Mfd::navUnit() const {
    if (!radio) {
        return nullptr;
    }
    return side == 1 ? &radio->unit1 : &radio->unit2;
}

std::string Mfd::wholeNumberText(float value) {
    return std::isfinite(value) ? format("%1.0f", static_cast<double>(value)) : kNoValue;
}

void Mfd::drawPageHeading(Canvas& canvas, std::string_view title, double centre, double x0,
                          double x1) {
    const double width = canvas.measureString(title, font18).width;
    canvas.drawString(title, font18, kWhite, {centre - width / 2.0, 302});
    drawPolyline(canvas, penWhite15b, {{x0, 318}, {x0, 312}, {centre - width / 2.0 - 4, 312}});
    drawPolyline(canvas, penWhite15b, {{centre + width / 2.0 + 4, 312}, {x1, 312}, {x1, 318}});
}

void Mfd::drawReading(Canvas& canvas, const Reading& reading, const Font& font, double right,
                      double y, const platform::gfx::RectF& box) {
    drawRightAligned(canvas, reading.text, font, reading.colour, right, y);
    if (reading.box != 0) {
        canvas.drawRectangle({reading.box, 2.0}, box);
    }
}

} // namespace tavi
